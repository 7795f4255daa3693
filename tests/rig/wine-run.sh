#!/usr/bin/env bash
# ctest's emulator for the Windows builds: runs one test program under Wine.
#   wine-run.sh <build-dir> <arch> <program> [args...]
# Unit test programs share one prefix per build directory (a copy of the clean template); they
# need a Windows, not a pristine one. A machine that cannot run 32-bit code skips the i686 build's
# programs with exit code 77 (ctest shows them as skipped); its x86_64 build runs them.
set -uo pipefail
rig=$(cd "$(dirname "$0")" && pwd)
build=$1 arch=$2
shift 2
source "$rig/wine-env.sh"
wine_env "$arch" || exit 1

if [ "$WINEARCH" = win32 ] && ! "$rig/runs-32bit-code.sh"; then
    echo "SKIPPED: this machine cannot execute 32-bit code; the x86_64 build runs this test"
    exit 77
fi

export WINEPREFIX="$build/wine/unit-$arch"
# The lock's folder first: without it the lock cannot be taken, and two test programs starting
# together would both make the prefix.
mkdir -p "$build/wine" || exit 1
(
    exec 8>"$WINEPREFIX.lock" || exit 1
    flock 8 || exit 1
    # Made anew when the template was (its making changed): a copy of the old one is no copy.
    template=$("$rig/prefix.sh" template "$build" "$arch") || exit 1
    if [ "$(cat "$WINEPREFIX/.ready" 2>/dev/null)" != "$(cat "$template/.complete")" ]; then
        "$rig/prefix.sh" clone "$build" "$arch" "$WINEPREFIX" || exit 1
        # The first program of a prefix brings it up (services, drive links); started here,
        # alone and without pipes, it cannot race the test programs that start next.
        "$WINE" cmd /c exit </dev/null >/dev/null 2>&1 8>&-
        cp "$template/.complete" "$WINEPREFIX/.ready"
    fi
) || exit 1

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a "$WINE" "$@"
fi
exec "$WINE" "$@"
