#!/usr/bin/env bash
# Checks the resources built into the engine: icon group 100 with 16, 32 and 48 pixel images
# (the icon the shell shows), the version information ("Kelvara Setup") and the manifest
# (common controls 6.0.0.0, asInvoker, supported releases, system DPI awareness).
#
# The Unicode edition's manifest also declares UTF-8 as the process's code page; the classic
# edition's declares none.
#
# Usage: resources_check.sh <kelvara.exe> [expected version, e.g. 0.1.0.0 [classic|unicode]]
# Exits 0 when every check holds; otherwise prints each failed check and exits non-zero.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 3 ]; then
    echo "usage: $0 <kelvara.exe> [expected version A.B.C.D [classic|unicode]]" >&2
    exit 2
fi
exe=$1
if [ ! -f "$exe" ]; then
    echo "resources_check: $exe: no such file" >&2
    exit 2
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

args=(check-engine "$exe")
if [ $# -ge 2 ]; then
    args+=(--version "$2")
fi
if [ $# -eq 3 ]; then
    args+=(--edition "$3")
fi
exec python3 "$here/../rig/pe_resources.py" "${args[@]}"
