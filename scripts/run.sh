#!/usr/bin/env bash
# The main job: builds everything, then runs the engine under Wine, in a fresh prefix on a
# private display, as a newcomer would, and shows what it did (a screenshot of the screen).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh

if tests/rig/runs-32bit-code.sh; then
    build=build/windows arch=i686
else
    echo "run: this machine cannot execute 32-bit code; running the engine's x86_64 build"
    build=build/windows64 arch=x86_64
fi
out=$build/run
mkdir -p "$out"
prefix=$(pwd)/$out/prefix
tests/rig/prefix.sh clone "$(pwd)/$build" "$arch" "$prefix"
trap 'tests/rig/prefix.sh release "$prefix"' EXIT

# A bare engine carries no package: it starts as an uninstaller and, with no install log beside
# it, ends quietly. Installing an example setup image comes with kelvara-build.
run_engine() {
    source tests/rig/wine-env.sh
    wine_env "$arch"
    export WINEPREFIX=$prefix
    cp "$build/kelvara.exe" "$prefix/drive_c/kelvara.exe"
    set +e
    timeout 60 "$WINE" 'C:\kelvara.exe'
    rc=$?
    set -e
    import -window root "$out/screen.png" 2>/dev/null || true
    echo "run: kelvara.exe ended with exit code $rc; the screen afterwards: $out/screen.png"
}
export -f run_engine
export build arch prefix out
tests/rig/with-display.sh bash -c run_engine
