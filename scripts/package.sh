#!/usr/bin/env bash
# The release archive for packagers on Windows: kelvara-build.exe with both editions of the engine
# beside it (where it finds them without --stub), the README and the project file format, zipped:
#   build/release/kelvara-VERSION-windows.zip
# Builds the windows preset first (scripts/install-deps.sh installs what that needs).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null
cmake --build --preset windows --target kelvara kelvara-unicode kelvara-build
version=$(sed -n 's/^project(kelvara VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=kelvara-$version-windows
stage=build/release/$name
rm -rf "$stage" "build/release/$name.zip"
cmake --install build/windows --prefix "$stage" >/dev/null
(cd build/release && cmake -E tar cf "$name.zip" --format=zip "$name")
echo "package: build/release/$name.zip"
(cd build/release && cmake -E tar tf "$name.zip")
