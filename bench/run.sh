#!/usr/bin/env bash
# Benchmarks, each a ratio against a baseline measured in the same run, medians of several rounds.
#   bench/run.sh [verify|builder|install|scale|size]
# verify:  checksum verification plus script inflation of a 200 MB image by the engine (under
#          Wine), against zlib's adler32 over the same bytes in memory.
# builder: kelvara-build on a 200 MB mixed payload (about 1,500 files) with two threads against
#          one thread, alternating, in new output files.
# install: silent install of the same payload packaged by kelvara-build (`image.exe S` under
#          Wine) against `tar -xzf` of it and against two installers of it made by the Debian
#          nsis package (SetCompressor zlib, not solid; SetCompressor /SOLID lzma), alternating,
#          into new folders, five rounds: the medians of engine/tar (target <= 1.0),
#          engine/peer-zlib (target <= 0.55) and engine/peer-lzma; the fixed cost, a tiny payload
#          by the engine and the zlib peer alternated, five each (engine/peer, target <= 1.0);
#          and the engine's peak memory (resident, private, file-backed) for that payload, for
#          one big file and for the tiny payload (bench/install_bench.py says how).
# scale:   silent install of a 3.5 GiB image, mostly stored data (`image.exe S /DIR=...` under
#          Wine) against `tar -xf` of the same files, three alternating rounds into new folders
#          (fewer when time or disk run short, as it says); the engine's peak private, file-backed
#          and resident memory, the largest view of the image it maps and the most of it mapped
#          at once (targets: file-backed and largest view <= 64 MiB, private about as for the
#          200 MB payload, measured alongside). A failed install is reported with its exit code
#          and message; the payload (about 3.7 GiB), its tar and the image are made in the work
#          folder and deleted at the end (bench/scale_bench.py says how). Needs about 35 GiB free.
# size:    image size and silent install of two payloads, Wine's own PE binaries (the
#          i386-windows folder of the wine32 package, about 550 MiB) and the mixed one, by the
#          engine with zlib and with LZMA2 blocks, the nsis package's zlib and /SOLID lzma
#          installers, and tar -xzf / tar -xJf of the same files, three alternating rounds into
#          new folders; the engine's peak private memory, and the image and memory that blocks
#          of 8 and 32 MiB give (64 is the default). Where the peers cannot run (no 32-bit code
#          here), their 32-bit installers are still made, for the image sizes. Ends with `median image engine-new/peer-lzma: X` (target
#          <= 1.0) and `median install engine-new/tar-gz: Y` (target <= 1.0); images are made
#          once and kept in the work folder while their inputs stay the same
#          (bench/size_bench.py says how).
# KELVARA_BENCH_BUILD and KELVARA_BENCH_HOST name other build folders for the engine and the
# host tools (defaults: build/<preset> and build/host).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if tests/rig/runs-32bit-code.sh; then preset=windows arch=i686; else preset=windows64 arch=x86_64; fi
build=${KELVARA_BENCH_BUILD:-build/$preset}
host=${KELVARA_BENCH_HOST:-build/host}
build=$(realpath -m "$build") host=$(realpath -m "$host")
cmake --preset "$preset" -B "$build" >/dev/null
cmake --build "$build" --target kelvara verify_bench >/dev/null
work=$build/bench
mkdir -p "$work"
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), engine build $arch"

build_host_tools() {
    cmake --preset host -B "$host" >/dev/null
    cmake --build "$host" --target kelvara-build >/dev/null
}

# The 200 MB mixed payload (about 1,500 files), made once; prints its folder.
mixed_payload() {
    local payload=$work/payload
    if [ ! -d "$payload" ]; then
        rm -rf "$payload.partial"
        python3 bench/make_payload.py "$payload.partial" 200 1500
        mv "$payload.partial" "$payload"
    fi
    echo "$payload"
}

bench_verify() {
    python3 - "$build/kelvara.exe" "$work/image-200mb.exe" <<'PY'
import random, sys
sys.path.insert(0, 'tests/rig')
from raw_image import raw_setup_image
stub = open(sys.argv[1], 'rb').read()
payload = random.Random(20261207).randbytes(200 << 20)   # deterministic, incompressible
open(sys.argv[2], 'wb').write(raw_setup_image(stub, file_area=payload))
PY
    prefix=$work/prefix
    tests/rig/prefix.sh clone "$build" "$arch" "$prefix"
    trap 'tests/rig/prefix.sh release "$prefix"' RETURN
    source tests/rig/wine-env.sh
    wine_env "$arch"
    WINEPREFIX=$prefix "$WINE" "$build/bench/verify_bench.exe" "$work/image-200mb.exe" 7
}

bench_builder() {
    build_host_tools
    local payload
    payload=$(mixed_payload)
    cat >"$work/bench.toml" <<TOML
[product]
name = "Benchmark"

[[files]]
source = "payload"
target = "%InstallPath%"
TOML
    local ratios=() round one two
    for round in 1 2 3 4 5; do
        one=$( { /usr/bin/time -f %e "$host/kelvara-build" "$work/bench.toml" -q --threads 1 \
                   --stub "$build/kelvara.exe" -o "$work/one-$round.exe"; } 2>&1 | tail -1)
        two=$( { /usr/bin/time -f %e "$host/kelvara-build" "$work/bench.toml" -q --threads 2 \
                   --stub "$build/kelvara.exe" -o "$work/two-$round.exe"; } 2>&1 | tail -1)
        cmp -s "$work/one-$round.exe" "$work/two-$round.exe" || echo "builder: outputs differ!"
        ratios+=("$(echo "$one / $two" | bc -l)")
        printf 'round %d: one thread %.2f s, two threads %.2f s, speed-up %.2f\n' "$round" "$one" "$two" "${ratios[-1]}"
    done
    printf '%s\n' "${ratios[@]}" | sort -n | awk '{a[NR]=$1} END {printf "median speed-up with two threads: %.2f (target >= 1.7)\n", a[int((NR+1)/2)]}'
    rm -f "$work"/one-*.exe "$work"/two-*.exe
}

# Runs `python3 SCRIPT ARGS...` in a display with a fresh copy of the Wine prefix (its server kept
# running while timing), giving it --work, --builder, --stub, --prefix and --wine.
with_prefix() {
    local prefix=$work/install-prefix rc=0
    tests/rig/prefix.sh clone "$build" "$arch" "$prefix"
    trap 'tests/rig/prefix.sh release "$prefix"' EXIT
    source tests/rig/wine-env.sh
    wine_env "$arch"
    export WINEPREFIX=$prefix
    wineserver -p   # kept running while timing; stopped when the prefix is released
    tests/rig/with-display.sh python3 "$@" --work "$work" --builder "$host/kelvara-build" \
        --stub "$build/kelvara.exe" --prefix "$prefix" --wine "$WINE" || rc=$?
    tests/rig/prefix.sh release "$prefix"
    trap - EXIT
    return $rc
}

# The peers: installers made by Debian's nsis package, for the engine's processor. Installs the
# package when missing and prints the nsis Target for this engine build.
nsis_peer_target() {
    if ! command -v makensis >/dev/null; then
        scripts/install-deps.sh nsis >/dev/null || echo "$1: installing nsis failed" >&2
    fi
    if [ "$arch" = i686 ]; then echo x86-unicode; else echo amd64-unicode; fi
}

bench_install() {
    build_host_tools
    local payload peer_target
    payload=$(mixed_payload)
    peer_target=$(nsis_peer_target install)
    with_prefix bench/install_bench.py --payload "$payload" --peer-target "$peer_target"
}

bench_scale() {
    build_host_tools
    local payload
    payload=$(mixed_payload)
    # xwininfo tells a silent run waiting at a message box from one that is working.
    if ! command -v xwininfo >/dev/null; then
        scripts/install-deps.sh x11-utils >/dev/null || echo "scale: installing x11-utils failed" >&2
    fi
    with_prefix bench/scale_bench.py --payload "$payload"
}

bench_size() {
    build_host_tools
    local payload peer_target
    payload=$(mixed_payload)
    peer_target=$(nsis_peer_target size)
    with_prefix bench/size_bench.py --payload "$payload" --peer-target "$peer_target"
}

case "${1:-verify}" in
    verify) bench_verify ;;
    builder) bench_builder ;;
    install) bench_install ;;
    scale) bench_scale ;;
    size) bench_size ;;
    *) echo "usage: bench/run.sh [verify|builder|install|scale|size]" >&2; exit 2 ;;
esac
