#!/usr/bin/env bash
# Benchmarks, each a ratio against a baseline measured in the same run, medians of several rounds.
#   bench/run.sh [verify]
# verify: checksum verification plus script inflation of a 200 MB image by the engine (under
#         Wine), against zlib's adler32 over the same bytes in memory.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if tests/rig/runs-32bit-code.sh; then preset=windows arch=i686; else preset=windows64 arch=x86_64; fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target kelvara verify_bench >/dev/null
build=build/$preset
work=$build/bench
mkdir -p "$work"
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), engine build $arch"

bench_verify() {
    python3 - "$build/kelvara.exe" "$work/image-200mb.exe" <<'PY'
import random, sys
sys.path.insert(0, 'tests/rig')
from raw_image import raw_setup_image
stub = open(sys.argv[1], 'rb').read()
payload = random.Random(20261207).randbytes(200 << 20)   # deterministic, incompressible
open(sys.argv[2], 'wb').write(raw_setup_image(stub, file_area=payload))
PY
    prefix=$(pwd)/$work/prefix
    tests/rig/prefix.sh clone "$(pwd)/$build" "$arch" "$prefix"
    trap 'tests/rig/prefix.sh release "$prefix"' RETURN
    source tests/rig/wine-env.sh
    wine_env "$arch"
    WINEPREFIX=$prefix "$WINE" "$build/bench/verify_bench.exe" "$work/image-200mb.exe" 7
}

case "${1:-verify}" in
    verify) bench_verify ;;
    *) echo "usage: bench/run.sh [verify]" >&2; exit 2 ;;
esac
