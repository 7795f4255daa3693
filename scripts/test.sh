#!/usr/bin/env bash
# Runs every test: installs what is missing, checks the sources' format, builds, then runs the host tests (under the
# sanitizers, and as a 32-bit program), the fuzz harnesses briefly, and the Windows tests under
# Wine on a private display.
# On a machine that cannot execute 32-bit code, the 32-bit engine gets its static checks (imports,
# resources, size, entry point, stack alignment) and the Wine tests run on the same sources built
# for x86_64.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
scripts/build.sh
jobs=$(nproc)
# The Wine prefixes the tests made are overlays: unmount them when the run ends.
# A copy that cannot be released is reported, but does not change the tests' verdict.
trap 'for b in build/windows build/windows64; do tests/rig/prefix.sh release-all "$b" || true; done' EXIT
run_ctest() { ctest --preset "$@" -j "$jobs"; }
# ctest keeps only the first kilobyte of a passed test's output in its log, where the skips are
# looked for; the Wine tests keep all of it. The kill matrix (every moment of an interrupted
# install, some minutes long) is left out: its sample runs, and `ctest -L kill-matrix` runs it.
wine_ctest() {
    tests/rig/with-display.sh ctest --preset "$1" -j "$jobs" --test-output-size-passed 10000000 \
        -LE kill-matrix
}
# Cases that skip themselves do so only where the platform cannot run them, and say why; they
# are listed at the end, so that a skip is never mistaken for a pass.
skipped=()
note_skips() {
    local log=build/$1/Testing/Temporary/LastTest.log
    [ -f "$log" ] || return 0
    mapfile -t -O ${#skipped[@]} skipped < <({
        grep -hE '^SKIPPED: ' "$log"          # the unit tests' own line (brief mode prints none)
        grep -hE '\.\.\. skipped ' "$log"   # unittest
    } | sort -u)
}
run_ctest host-asan
# The portable core's tests also as a static 32-bit x86 program, where sizes and pointers are as
# wide as the engine's: natively where this machine runs 32-bit code, under qemu-i386 where it
# does not (tests/rig/run-32bit.sh decides; KELVARA_RUN_32BIT=qemu forces the emulator).
cmake --preset host32 >/dev/null
cmake --build --preset host32 -j "$jobs"
run_ctest host32
# Every fuzz harness over its seeds and kept crash inputs, then a short run of its own.
fuzz/run.sh 10
if tests/rig/runs-32bit-code.sh; then
    wine_ctest windows
    note_skips windows
else
    echo "test: this machine cannot execute 32-bit code: static checks of the 32-bit engine," \
        "Wine tests on its x86_64 build"
    run_ctest windows -L static
    wine_ctest windows64
    note_skips windows64
fi
if [ ${#skipped[@]} -gt 0 ]; then
    echo "test: cases this platform cannot run, skipped (their output says why):"
    printf '  %s\n' "${skipped[@]}"
fi
