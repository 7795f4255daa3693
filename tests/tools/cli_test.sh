#!/usr/bin/env bash
# kelvara-build as packagers call it: exit codes, messages that name the file and line, the
# example project, --dump, determinism, the classic images' bytes, the engine's two editions.
#   cli_test.sh <kelvara-build> <source-dir>
set -uo pipefail
builder=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check <description> <expected exit code> <command...>
    local description=$1 expected=$2
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    local code=$?
    if [ "$code" -ne "$expected" ]; then
        echo "FAIL: $description: exit $code, expected $expected"
        sed 's/^/    /' "$work/err" | head -5
        failures=$((failures + 1))
    fi
}
expect_text() {  # expect_text <description> <file> <extended regex>
    if ! grep -Eq "$3" "$2"; then
        echo "FAIL: $1: no line matching /$3/ in:"
        sed 's/^/    /' "$2" | head -5
        failures=$((failures + 1))
    fi
}

# A stand-in stub: an MS-DOS header is all the builder needs to append a package.
stub=$work/stub.exe
{ printf 'MZ'; head -c 4094 /dev/zero; } >"$stub"

check "--help" 0 "$builder" --help
expect_text "--help names the project argument" "$work/out" '[Pp][Rr][Oo][Jj][Ee][Cc][Tt]'
check "--version" 0 "$builder" --version
expect_text "--version prints a version" "$work/out" '[0-9]+\.[0-9]+\.[0-9]+'
check "an unknown option" 1 "$builder" --no-such-option
check "a -D without a value" 1 "$builder" "$source/examples/hello/project.toml" -D NOVALUE --stub "$stub"
check "a missing project file" 2 "$builder" "$work/missing.toml" --stub "$stub"
check "a missing stub" 2 "$builder" "$source/examples/hello/project.toml" --stub "$work/none.exe" -o "$work/x.exe"

cat >"$work/bad.toml" <<'TOML'
[product]
name = "Bad"

[[files]]
source = "."
target = "%InstallPath%"
overwrite = "newest"
TOML
check "an unknown overwrite mode" 2 "$builder" "$work/bad.toml" --stub "$stub" -o "$work/bad.exe"
expect_text "the error names file and line" "$work/err" "bad\.toml:7: .*newest"
[ ! -e "$work/bad.exe" ] || { echo "FAIL: a failed build left an image behind"; failures=$((failures + 1)); }

example=$source/examples/hello/project.toml
check "the example builds" 0 "$builder" "$example" --stub "$stub" -o "$work/a.exe" -q
check "the example builds again" 0 "$builder" "$example" --stub "$stub" -o "$work/b.exe" -q --threads 1
cmp -s "$work/a.exe" "$work/b.exe" || { echo "FAIL: two builds differ"; failures=$((failures + 1)); }
check "--dump of the example" 0 "$builder" --dump "$work/a.exe"
expect_text "--dump checks the checksum" "$work/out" '(checksum|Adler).*(ok|OK|matches|valid)'
expect_text "--dump lists a packaged file" "$work/out" 'hello\.cmd'
check "-D changes a variable" 0 "$builder" "$example" --stub "$stub" -o "$work/c.exe" -q -D "InstallPath=C:\\Other"
cmp -s "$work/a.exe" "$work/c.exe" && { echo "FAIL: -D made no difference"; failures=$((failures + 1)); }
printf '\x01' | dd of="$work/a.exe" bs=1 seek=5000 conv=notrunc 2>/dev/null
check "--dump of a damaged image" 2 "$builder" --dump "$work/a.exe"

# Windows-1252 images keep the bytes they have always had: a fixed project with texts, file
# names, shortcut, registry and INI entries, a -D value and a readme outside ASCII, built with the
# stand-in stub and a fixed SOURCE_DATE_EPOCH, against the digest the builder gave before the
# Unicode edition existed, and since every image carries the question about programs in use
# (setup message 16 and the programs-in-use page's texts: an engine before them never shows
# them, and they change nothing else). (The digest also depends on zlib's level-9 output, unchanged for
# years; a zlib that deflates differently shows up here first.)
classic_project() {  # classic_project <folder> [lines to put into [product]]
    local dir=$1 extra=${2:-}
    mkdir -p "$dir/payload/Données/sub"
    printf 'caf\xc3\xa9\n' >"$dir/payload/résumé.txt"
    printf 'gr\xc3\xbc\xc3\x9fe\n' >"$dir/payload/Données/sub/über.txt"
    printf 'plain\n' >"$dir/payload/plain.txt"
    printf 'Read me: caf\xc3\xa9, \xe2\x82\xac 5, Gr\xc3\xbc\xc3\x9fe.\r\nSecond line {braces} \\back.\n' \
        >"$dir/readme.txt"
    {
        printf '[product]\n%s' "$extra"
        cat <<'TOML'
name = "Café Crème"
short-name = "CafeCreme"
publisher = "Über Software"
version = "2.0 €"

[pages]
show = ["welcome", "readme", "destination", "ready", "installing", "finish"]
readme = "readme.txt"

[[texts]]
table = "welcome"
item = 1
text = "Willkommen, première fois"

[variables]
InstallPath = "<ProgramFiles>\\Café Crème"
Greeting = "Grüße"

[[files]]
source = "payload"
target = "%InstallPath%"

[[shortcuts]]
path = "<Programs>\\Café Crème\\Résumé.lnk"
target = "%InstallPath%\\résumé.txt"

[[registry]]
root = "HKCU"
key = "Software\\Café Crème"
name = "Größe"
type = "string"
value = "Crème brûlée"

[[ini]]
file = "%InstallPath%\\café.ini"
section = "Über"
key = "Schlüssel"
value = "Wert é"
TOML
    } >"$dir/project.toml"
}
classic_digest=d5104a9270cd7b42375b32deff250f4fc5d99158dd135ec9e2cfa7d257811e40
for variant in "without an encoding" "with encoding windows-1252"; do
    extra=
    [ "$variant" = "without an encoding" ] || extra=$'encoding = "windows-1252"\n'
    dir=$work/classic-${variant// /-}
    classic_project "$dir" "$extra"
    check "the classic project ($variant)" 0 env SOURCE_DATE_EPOCH=1700000000 "$builder" \
        "$dir/project.toml" --stub "$stub" -o "$dir/setup.exe" -q -D "Extra=naïve"
    digest=$(sha256sum "$dir/setup.exe" 2>/dev/null | cut -d' ' -f1)
    [ "$digest" = "$classic_digest" ] ||
        { echo "FAIL: the classic image ($variant) changed: $digest"; failures=$((failures + 1)); }
done

# The edition of the engine a project needs: its stub is told by the manifest's activeCodePage
# element, and a project whose encoding the stub does not read is refused before anything is
# written (the sign command, which writes the stub first, never runs).
unicode_stub=$work/kelvara-unicode.exe
{
    printf 'MZ'; head -c 2000 /dev/zero
    printf '<activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8</activeCodePage>'
    head -c 2000 /dev/zero
} >"$unicode_stub"
mkdir -p "$work/greek/files"
printf 'x\n' >"$work/greek/files/Ελληνικά.txt"
cat >"$work/greek/project.toml" <<'TOML'
[product]
name = "Καφές"
encoding = "utf-8"

[[files]]
source = "files"
TOML
check "a UTF-8 project on the classic stub" 2 "$builder" "$work/greek/project.toml" \
    --stub "$stub" -o "$work/greek/setup.exe" --sign "false {in}"
expect_text "the classic stub is refused" "$work/err" \
    "^kelvara-build: the stub '.*stub\.exe' is the classic edition, whose texts are Windows-1252; a project with encoding = \"utf-8\" needs the Unicode edition, kelvara-unicode\.exe$"
! grep -q signing "$work/err" || { echo "FAIL: the refused build ran the sign command"; failures=$((failures + 1)); }
check "a Windows-1252 project on the Unicode stub" 2 "$builder" "$dir/project.toml" \
    --stub "$unicode_stub" -o "$work/greek/classic.exe"
expect_text "the Unicode stub is refused" "$work/err" \
    "^kelvara-build: the stub '.*kelvara-unicode\.exe' is the Unicode edition, whose texts are UTF-8; a project with encoding = \"windows-1252\" needs the classic edition, kelvara\.exe$"
for refused in setup.exe setup.exe.stub.exe classic.exe; do
    [ ! -e "$work/greek/$refused" ] || { echo "FAIL: a refused build wrote $refused"; failures=$((failures + 1)); }
done
check "a UTF-8 project on the Unicode stub" 0 "$builder" "$work/greek/project.toml" \
    --stub "$unicode_stub" -o "$work/greek/setup.exe" -q
check "--dump of a Unicode image" 0 "$builder" --dump "$work/greek/setup.exe"
expect_text "--dump names the Unicode edition" "$work/out" '^edition: unicode \(texts in UTF-8\)$'
expect_text "--dump lists the Greek name" "$work/out" 'Ελληνικά\.txt'
check "--dump of a classic image" 0 "$builder" --dump "$dir/setup.exe"
expect_text "--dump names the classic edition" "$work/out" '^edition: classic \(texts in Windows-1252\)$'
# The classic edition's Windows-1252 texts and names reach the terminal in UTF-8.
expect_text "--dump shows a classic name in UTF-8" "$work/out" 'name="Café Crème"'
expect_text "--dump shows a classic file name in UTF-8" "$work/out" '^  résumé\.txt  '
! LC_ALL=C grep -q $'Caf\xe9' "$work/out" ||
    { echo "FAIL: --dump printed Windows-1252 bytes"; failures=$((failures + 1)); }
check "--help names both editions" 0 "$builder" --help
expect_text "--help names the Unicode edition" "$work/out" 'kelvara-unicode\.exe'

# The sign command's paths are words of their own: placeholders in a path are not replaced
# again, shell syntax in a path stays a name, and a path no quoting can hold is refused.
mkdir -p "$work/sign here"
out_name='setup{out}$(touch PWNED){in}.exe'
sign_command="sh -c 'printf \"[%s]\\n\" \"\$@\" >>\"$work/sign-words\"; cp \"\$1\" \"\$2\"' sign {in} {out}"
(cd "$work" && check "a sign command and an output path with shell syntax" 0 "$builder" "$example" \
    --stub "$stub" -o "$work/sign here/$out_name" -q --sign "$sign_command")
[ ! -e "$work/PWNED" ] && [ ! -e "$work/sign here/PWNED" ] ||
    { echo "FAIL: a path in the sign command ran as a command"; failures=$((failures + 1)); }
[ -s "$work/sign here/$out_name" ] ||
    { echo "FAIL: the signed image is not where -o says"; failures=$((failures + 1)); }
expected_words="[$work/sign here/$out_name.stub.exe]
[$work/sign here/$out_name.stub.exe.signed]
[$work/sign here/$out_name.unsigned]
[$work/sign here/$out_name.unsigned.signed]"
words=$(cat "$work/sign-words" 2>/dev/null)
[ "$words" = "$expected_words" ] ||
    { echo "FAIL: the sign command was given other words:"; echo "$words" | sed 's/^/    /';
      failures=$((failures + 1)); }
check "an output path with a quote" 2 "$builder" "$example" --stub "$stub" \
    -o "$work/sign here/it's.exe" -q --sign "$sign_command"
expect_text "the quote is named" "$work/err" "holds a quote, a line break or a percent sign"
[ ! -e "$work/sign here/it's.exe" ] ||
    { echo "FAIL: a refused sign command left an image"; failures=$((failures + 1)); }

# A failed sign command is told by its exit code, not by the wait status.
check "a sign command that fails" 2 "$builder" "$example" --stub "$stub" -o "$work/unsigned.exe" \
    -q --sign "sh -c 'exit 255' sign {in}"
expect_text "the sign command's exit code is told" "$work/err" \
    "^kelvara-build: signing the uninstaller: the sign command exited with code 255: "
! grep -q 65280 "$work/err" || { echo "FAIL: the wait status was shown"; failures=$((failures + 1)); }
[ ! -e "$work/unsigned.exe" ] || { echo "FAIL: a failed signing left an image"; failures=$((failures + 1)); }

# The example does nothing the builder warns of; mistakes it warns of are warnings with their
# file and line, which --warnings-as-errors turns into a failed build that writes nothing.
check "the example builds with --warnings-as-errors" 0 "$builder" "$example" --stub "$stub" \
    -o "$work/strict.exe" -q --warnings-as-errors
[ ! -s "$work/err" ] || { echo "FAIL: the example got messages:"; sed 's/^/    /' "$work/err"; failures=$((failures + 1)); }
mkdir -p "$work/mistakes/empty" "$work/mistakes/files"
printf 'x\n' >"$work/mistakes/files/app.txt"
cat >"$work/mistakes/mistakes.toml" <<'TOML'
[product]
name = "Mistakes"

[pages]
show = []

[[files]]
source = "empty"

[[files]]
source = "files"
target = "<ProgramFile>\\Mistakes"

[[files]]
source = "files"
target = "<programfile>\\mistakes"
TOML
check "a project with mistakes builds" 0 "$builder" "$work/mistakes/mistakes.toml" --stub "$stub" \
    -o "$work/mistakes/setup.exe" -q
for told in "mistakes\.toml:5: \[pages\] 'show' lists no page: .* \(warning\)$" \
    "mistakes\.toml:7: the source folder '.*empty' is empty: the \[\[files\]\] group installs nothing \(warning\)$" \
    "mistakes\.toml:10: \[\[files\]\] 'target' names the folder token <ProgramFile>, .* did you mean <ProgramFiles>\? \(warning\)$" \
    "mistakes\.toml:14: '<programfile>\\\\mistakes\\\\app\.txt' is installed by the \[\[files\]\] groups at lines 10 and 14: .* \(warning\)$"; do
    expect_text "a mistake is told" "$work/err" "$told"
done
rm -f "$work/mistakes/setup.exe"
check "--warnings-as-errors fails on them" 2 "$builder" "$work/mistakes/mistakes.toml" \
    --stub "$stub" -o "$work/mistakes/setup.exe" -q --warnings-as-errors
expect_text "the warning is an error" "$work/err" "mistakes\.toml:5: .* \(warning treated as error\)$"
[ ! -e "$work/mistakes/setup.exe" ] ||
    { echo "FAIL: a warning treated as an error left an image"; failures=$((failures + 1)); }

# TOML's own errors in plain words, with the line.
printf '[product]\nname = "Open\nversion = "1"\n' >"$work/open.toml"
check "a text left open" 2 "$builder" "$work/open.toml" --stub "$stub" -o "$work/open.exe"
expect_text "a text left open is told" "$work/err" \
    '^open\.toml:2: a text is not closed: a closing " is missing on this line$'

if [ "$failures" -eq 0 ]; then echo "cli: all checks passed"; exit 0; fi
echo "cli: $failures check(s) failed"
exit 1
