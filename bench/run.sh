#!/usr/bin/env bash
# Benchmarks, each a ratio against a baseline measured in the same run, medians of several rounds.
#   bench/run.sh [verify|builder]
# verify:  checksum verification plus script inflation of a 200 MB image by the engine (under
#          Wine), against zlib's adler32 over the same bytes in memory.
# builder: kelvara-build on a 200 MB mixed payload (about 1,500 files) with two threads against
#          one thread, alternating, in new output files.
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

bench_builder() {
    cmake --preset host >/dev/null
    cmake --build --preset host --target kelvara-build >/dev/null
    local payload=$work/payload
    [ -d "$payload" ] || python3 bench/make_payload.py "$payload" 200 1500
    cat >"$work/bench.toml" <<TOML
[product]
name = "Benchmark"

[[files]]
source = "payload"
target = "%InstallPath%"
TOML
    local ratios=() round one two
    for round in 1 2 3 4 5; do
        one=$( { /usr/bin/time -f %e build/host/kelvara-build "$work/bench.toml" -q --threads 1 \
                   --stub "$build/kelvara.exe" -o "$work/one-$round.exe"; } 2>&1 | tail -1)
        two=$( { /usr/bin/time -f %e build/host/kelvara-build "$work/bench.toml" -q --threads 2 \
                   --stub "$build/kelvara.exe" -o "$work/two-$round.exe"; } 2>&1 | tail -1)
        cmp -s "$work/one-$round.exe" "$work/two-$round.exe" || echo "builder: outputs differ!"
        ratios+=("$(echo "$one / $two" | bc -l)")
        printf 'round %d: one thread %.2f s, two threads %.2f s, speed-up %.2f\n' "$round" "$one" "$two" "${ratios[-1]}"
    done
    printf '%s\n' "${ratios[@]}" | sort -n | awk '{a[NR]=$1} END {printf "median speed-up with two threads: %.2f (target >= 1.7)\n", a[int((NR+1)/2)]}'
    rm -f "$work"/one-*.exe "$work"/two-*.exe
}

case "${1:-verify}" in
    verify) bench_verify ;;
    builder) bench_builder ;;
    *) echo "usage: bench/run.sh [verify|builder]" >&2; exit 2 ;;
esac
