#!/usr/bin/env bash
# Configures and builds: the engine for 32-bit Windows (the product), its 64-bit twin when this
# machine cannot run 32-bit code (the tests run that one under Wine), and the host build of the
# portable code and tools under the sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
build() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1"
}
build windows
if ! tests/rig/runs-32bit-code.sh; then build windows64; fi
build host-asan
