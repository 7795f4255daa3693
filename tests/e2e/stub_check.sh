#!/usr/bin/env bash
# Checks the built stub for what its build promises: every setup image carries it, so it stays
# within 204 KiB (128 KiB until it learnt to keep what it loads and writes out of other users'
# reach, to check its writes and to report its actions; 144 KiB until it learnt to install for
# one user, to ask for administrator rights only when the work needs them and to let the person
# choose; 152 KiB until it learnt to decode LZMA2 blocks on two threads; 160 KiB until it learnt
# to offer components and tasks, on their own pages and the command line; 176 KiB until it
# learnt to find, close and start again the programs that hold the files it replaces; 192 KiB
# until it learnt to refuse a downgrade, to show a passive run's progress and to speak the
# installation's language in the uninstaller); it starts at its own entry point, without the C runtime's start-up code; and it has no SSE code, which would need a
# stack aligned to more than the 4 bytes that 32-bit Windows guarantees and the build keeps.
#   stub_check.sh <kelvara.exe> <objdump> [largest size in bytes]
set -uo pipefail
exe=$1 objdump=$2 largest=${3:-208896}
status=0
size=$(stat -c %s "$exe") || { echo "FAIL: cannot read $exe"; exit 1; }
if [ "$size" -gt "$largest" ]; then
    echo "FAIL: $exe is $size bytes, more than $largest"
    status=1
else
    echo "size: $size bytes (at most $largest)"
fi
imports=$("$objdump" -p "$exe") || { echo "FAIL: $objdump cannot read $exe"; exit 1; }
startup=$(grep -oE '\b(__getmainargs|__wgetmainargs|_initterm|__set_app_type|_cexit|_amsg_exit|__p__acmdln|_onexit)\b' <<<"$imports" | sort -u)
if [ -n "$startup" ]; then
    echo "FAIL: $exe imports the C runtime's start-up functions: $(echo $startup)"
    status=1
fi
code=$("$objdump" -d -j .text "$exe") || { echo "FAIL: $objdump cannot disassemble $exe"; exit 1; }
instructions=$(grep -cE '^ +[0-9a-f]+:' <<<"$code")
if [ "$instructions" -lt 1000 ]; then
    echo "FAIL: only $instructions instructions disassembled from $exe"
    status=1
fi
sse=$(grep -E '%xmm[0-9]' <<<"$code" | head -5)
if [ -n "$sse" ]; then
    echo "FAIL: $exe has SSE code, which needs a stack aligned to 16 bytes:"
    echo "$sse"
    status=1
fi
[ $status -eq 0 ] && echo "stub: own entry point, no SSE code in $instructions instructions"
exit $status
