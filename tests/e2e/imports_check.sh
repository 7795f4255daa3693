#!/usr/bin/env bash
# Checks that a built engine is what we ship: a GUI program that imports system DLLs only (no
# compiler runtime DLL), so a setup image runs on a bare Windows, and of those only the ones the
# system keeps in its known-DLL list: the loader looks for any other one beside the program
# before the program starts, where whoever can write to a Downloads folder can put one.
#   imports_check.sh <kelvara.exe> <objdump>
set -uo pipefail
exe=$1 objdump=$2
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comdlg32|msvcrt|shlwapi)\.dll$'
dump=$("$objdump" -p "$exe") || { echo "FAIL: $objdump cannot read $exe"; exit 1; }
status=0
grep -q 'Subsystem.*(Windows GUI)' <<<"$dump" || { echo "FAIL: $exe is not a GUI program"; status=1; }
dlls=$(grep 'DLL Name:' <<<"$dump" | awk '{print tolower($3)}')
[ -n "$dlls" ] || { echo "FAIL: no imports found in $exe"; status=1; }
for dll in $dlls; do
    if [[ ! $dll =~ $allowed ]]; then
        echo "FAIL: $exe imports $dll, which is not a known DLL of the system (load it at run time)"
        status=1
    fi
done
[ $status -eq 0 ] && echo "imports: $(echo $dlls | tr '\n' ' ')"
exit $status
