#!/usr/bin/env bash
# Exit 0 when this machine can execute 32-bit x86 code (and so 32-bit Wine), 1 otherwise.
# Some virtual machines run 64-bit code only: there the engine's tests run on its x86_64 build
# under 64-bit Wine instead (see README).
for loader in /lib/ld-linux.so.2 /usr/lib/wine/wineserver32; do
    if [ -x "$loader" ]; then
        "$loader" --version >/dev/null 2>&1
        rc=$?
        # 126: the kernel refused the format; anything else means the code ran.
        [ $rc -ne 126 ] && exit 0
        exit 1
    fi
done
exit 1
