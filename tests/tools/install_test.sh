#!/usr/bin/env bash
# kelvara-build as a packager installs it: `cmake --install` lays out the builder, its
# documents and (from the Windows build tree, when there is one) the engine's two editions; the
# installed builder finds the edition a project needs without --stub, beside itself or in
# PREFIX/share/kelvara.
#   install_test.sh <build-dir> <source-dir>
set -uo pipefail
build=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

prefix=$work/prefix
if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
    fail "cmake --install"; sed 's/^/    /' "$work/install.log" | tail -5
fi
[ -x "$prefix/bin/kelvara-build" ] || fail "no bin/kelvara-build"
[ -f "$prefix/share/doc/kelvara/project-format.md" ] || fail "no project-format.md"
engine=$(grep -E '^KELVARA_ENGINE_STUB:' "$build/CMakeCache.txt" | cut -d= -f2-)
if [ -f "$engine" ]; then
    cmp -s "$engine" "$prefix/share/kelvara/kelvara.exe" || fail "the engine is not installed"
fi
unicode=$(grep -E '^KELVARA_UNICODE_STUB:' "$build/CMakeCache.txt" | cut -d= -f2-)
[ -n "$unicode" ] || fail "no KELVARA_UNICODE_STUB in the build's cache"
if [ -f "$unicode" ]; then
    cmp -s "$unicode" "$prefix/share/kelvara/kelvara-unicode.exe" ||
        fail "the Unicode edition is not installed"
fi

# The lookup, with a stand-in engine (an MS-DOS header is all the builder needs): in
# PREFIX/share/kelvara, and beside the builder, which wins.
stub=$work/stub.exe
{ printf 'MZ'; head -c 4094 /dev/zero; } >"$stub"
mkdir -p "$work/layout/bin" "$work/layout/share/kelvara"
cp "$prefix/bin/kelvara-build" "$work/layout/bin/"
cp "$stub" "$work/layout/share/kelvara/kelvara.exe"
example=$source/examples/hello/project.toml
if ! (cd "$work" && "$work/layout/bin/kelvara-build" "$example" -o "$work/a.exe" -q) 2>"$work/err"; then
    fail "no --stub: the engine in share/kelvara is not found"; sed 's/^/    /' "$work/err" | head -3
fi
# The builder fills in the header fields of the first 64 bytes; the rest is the engine's.
same_engine() { cmp -s -i 64 -n 4032 "$1" "$2"; }
same_engine "$stub" "$work/a.exe" || fail "the image does not begin with the installed engine"
{ printf 'MZ'; head -c 62 /dev/zero; head -c 4032 /dev/zero | tr '\0' '\1'; } \
    >"$work/layout/bin/kelvara.exe"
"$work/layout/bin/kelvara-build" "$example" -o "$work/b.exe" -q 2>"$work/err" ||
    fail "no --stub: the engine beside the builder is not found"
same_engine "$work/layout/bin/kelvara.exe" "$work/b.exe" ||
    fail "the engine beside the builder does not win"

# A project with encoding = "utf-8" takes the Unicode edition, found the same way; the classic
# one beside the builder does not serve it.
element='<activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8</activeCodePage>'
unicode_stub() {  # unicode_stub <fill byte>: a stand-in Unicode edition
    printf 'MZ'; head -c 62 /dev/zero; printf '%s' "$element"
    head -c $((4032 - ${#element})) /dev/zero | tr '\0' "$1"
}
unicode_stub '\3' >"$work/layout/share/kelvara/kelvara-unicode.exe"
mkdir -p "$work/greek"
printf '[product]\nname = "\316\232\316\261\317\206\316\255\317\202"\nencoding = "utf-8"\n' \
    >"$work/greek/project.toml"
"$work/layout/bin/kelvara-build" "$work/greek/project.toml" -o "$work/u.exe" -q 2>"$work/err" ||
    { fail "no --stub: the Unicode edition in share/kelvara is not found"; sed 's/^/    /' "$work/err" | head -3; }
same_engine "$work/layout/share/kelvara/kelvara-unicode.exe" "$work/u.exe" ||
    fail "a UTF-8 project's image does not begin with the Unicode edition"
unicode_stub '\4' >"$work/layout/bin/kelvara-unicode.exe"
"$work/layout/bin/kelvara-build" "$work/greek/project.toml" -o "$work/v.exe" -q 2>"$work/err" ||
    fail "no --stub: the Unicode edition beside the builder is not found"
same_engine "$work/layout/bin/kelvara-unicode.exe" "$work/v.exe" ||
    fail "the Unicode edition beside the builder does not win"

rm "$work/layout/bin/kelvara.exe" "$work/layout/share/kelvara/kelvara.exe"
if "$work/layout/bin/kelvara-build" "$example" -o "$work/c.exe" -q 2>"$work/err"; then
    fail "no engine anywhere, and yet a build"
fi
grep -q "layout/bin/kelvara.exe" "$work/err" || fail "the error does not name where it looked: $(cat "$work/err")"
rm "$work/layout/bin/kelvara-unicode.exe" "$work/layout/share/kelvara/kelvara-unicode.exe"
if "$work/layout/bin/kelvara-build" "$work/greek/project.toml" -o "$work/w.exe" -q 2>"$work/err"; then
    fail "no Unicode edition anywhere, and yet a build"
fi
grep -q "layout/bin/kelvara-unicode.exe" "$work/err" ||
    fail "the error does not name where it looked for the Unicode edition: $(cat "$work/err")"

[ "$failures" -eq 0 ] && echo "install: all checks passed"
exit $((failures > 0))
