#!/usr/bin/env bash
# Checks the resources built into the engine: icon group 100 with 16, 32 and 48 pixel images
# (the icon the shell shows), the version information ("Kelvara Setup") and the manifest
# (common controls 6.0.0.0, highestAvailable, supported releases, system DPI awareness).
#
# Usage: resources_check.sh <kelvara.exe> [expected version, e.g. 0.1.0.0]
# Exits 0 when every check holds; otherwise prints each failed check and exits non-zero.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 <kelvara.exe> [expected version A.B.C.D]" >&2
    exit 2
fi
exe=$1
if [ ! -f "$exe" ]; then
    echo "resources_check: $exe: no such file" >&2
    exit 2
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

args=(check-engine "$exe")
if [ $# -eq 2 ]; then
    args+=(--version "$2")
fi
exec python3 "$here/../rig/pe_resources.py" "${args[@]}"
