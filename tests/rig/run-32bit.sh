#!/usr/bin/env bash
# ctest's emulator for the host32 build: runs a static 32-bit x86 Linux program natively where
# this machine executes 32-bit code, and under qemu-i386 (Debian's qemu-user) where it does not.
#   run-32bit.sh <program> [args...]
# KELVARA_RUN_32BIT overrides the choice: "qemu" runs the program under qemu-i386 even here, so
# that a machine that runs 32-bit code can test the emulated path too; "native" runs it directly
# (on a machine that refuses 32-bit code, that shows the refusal); unset or "auto" asks
# tests/rig/runs-32bit-code.sh.
set -uo pipefail
rig=$(cd "$(dirname "$0")" && pwd)
way=${KELVARA_RUN_32BIT:-auto}
if [ "$way" = auto ]; then
    if "$rig/runs-32bit-code.sh"; then way=native; else way=qemu; fi
fi
case $way in
native) exec "$@" ;;
qemu)
    if ! command -v qemu-i386 >/dev/null; then
        echo "run-32bit: qemu-i386 is missing: run scripts/install-deps.sh" >&2
        exit 1
    fi
    exec qemu-i386 "$@"
    ;;
*)
    echo "run-32bit: KELVARA_RUN_32BIT must be auto, native or qemu, not '$way'" >&2
    exit 1
    ;;
esac
