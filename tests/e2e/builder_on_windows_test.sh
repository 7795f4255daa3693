#!/usr/bin/env bash
# kelvara-build.exe, the builder for packagers on Windows, run under Wine: it makes the same
# bytes as the host builder from the same project (file times capped by SOURCE_DATE_EPOCH, since
# the two systems report modification times with different precision), and keeps its exit codes.
#   builder_on_windows_test.sh <build-dir> <arch> <kelvara-build.exe> <stub> <host kelvara-build> <source-dir>
set -uo pipefail
build=$1 arch=$2 builder_exe=$3 stub=$4 host_builder=$5 source=$6
rig=$(cd "$(dirname "$0")/../rig" && pwd)
if [ ! -x "$host_builder" ]; then
    echo "no host builder at $host_builder: build the host-asan preset first (scripts/build.sh)" >&2
    exit 1
fi
source "$rig/wine-env.sh"
wine_env "$arch"
prefix=$(cd "$build" && pwd)/wine/e2e/builder-on-windows-$$
"$rig/prefix.sh" clone "$(cd "$build" && pwd)" "$arch" "$prefix" || exit 1
trap '"$rig/prefix.sh" release "$prefix"' EXIT
export WINEPREFIX=$prefix SOURCE_DATE_EPOCH=1700000000
work=$prefix/drive_c/work
mkdir -p "$work"
cp -r "$source/examples/hello" "$work/hello"
cp "$stub" "$work/kelvara.exe"
cp "$builder_exe" "$work/kelvara-build.exe"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$WINE" 'C:\work\kelvara-build.exe' 'C:\work\hello\project.toml' -q -o 'C:\work\hello-setup.exe' \
    </dev/null >"$work/out.txt" 2>&1
rc=$?
[ $rc -eq 0 ] || fail "the example did not build on Windows (exit $rc): $(head -3 "$work/out.txt")"
"$host_builder" "$work/hello/project.toml" --stub "$stub" -q -o "$work/host-setup.exe" || fail "host build"
cmp -s "$work/hello-setup.exe" "$work/host-setup.exe" || fail "the Windows and host builds differ"

printf '[product]\nname = "Bad"\n\n[[files]]\nsource = "."\ntarget = "x"\noverwrite = "newest"\n' \
    >"$work/bad.toml"
"$WINE" 'C:\work\kelvara-build.exe' 'C:\work\bad.toml' -o 'C:\work\bad.exe' </dev/null \
    >"$work/bad.txt" 2>&1
rc=$?
[ $rc -eq 2 ] || fail "a bad project gave exit $rc, expected 2"
grep -q 'bad.toml:7: .*newest' "$work/bad.txt" || fail "no file:line message: $(cat "$work/bad.txt")"

[ $failures -eq 0 ] && echo "builder on Windows: all checks passed"
exit $((failures > 0))
