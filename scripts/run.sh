#!/usr/bin/env bash
# The main job: builds the engine, the builder and the rig's UI driver (nothing else), builds
# the example product into a setup image with kelvara-build and shows what is inside it; then,
# under Wine on a private display, installs it through the wizard as a person clicks it (a
# picture of every page) in one fresh, throwaway prefix, and silently, as a deployment script
# would, in another; shows what happened (exit codes, the installed files, the install log, the
# shortcuts, INI entry and registry values) and uninstalls it as a user would.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

if tests/rig/runs-32bit-code.sh; then
    preset=windows arch=i686
else
    echo "run: this machine cannot execute 32-bit code; running the engine's x86_64 build"
    preset=windows64 arch=x86_64
fi
build=build/$preset
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target kelvara ui_driver
cmake --preset host >/dev/null
cmake --build --preset host --target kelvara-build
out=$build/run
mkdir -p "$out"
prefix=$(pwd)/$out/prefix
tests/rig/prefix.sh clone "$(pwd)/$build" "$arch" "$prefix"
trap 'tests/rig/prefix.sh release "$prefix"' EXIT

image=$out/hello-setup.exe
build/host/kelvara-build examples/hello/project.toml --stub "$build/kelvara.exe" -o "$image"
echo "run: $image holds:"
build/host/kelvara-build --dump "$image" >"$out/dump.txt"
# No pipe into head: under pipefail, sed killed by SIGPIPE when head has had enough would end
# the script.
sed -n '1,24s/^/    /p' "$out/dump.txt"
echo "    ... (the whole listing: $out/dump.txt)"

run_wizard() {
    python3 scripts/run_wizard.py "$(pwd)/$build" "$arch" "$image" \
        "$build/tests/rig/ui_driver.exe" "$(pwd)/$out/wizard"
}

run_engine() {
    source tests/rig/wine-env.sh
    wine_env "$arch"
    export WINEPREFIX=$prefix
    cp "$image" "$prefix/drive_c/hello-setup.exe"
    echo "run: and now silently, in a fresh prefix: hello-setup.exe S"
    set +e
    timeout 120 "$WINE" 'C:\hello-setup.exe' S 2>"$out/wine.log"
    rc=$?
    set -e
    import -window root "$out/screen.png" 2>/dev/null || true
    echo "run: hello-setup.exe S ended with exit code $rc (0: installed; see README, Exit codes)"
    local installed="$prefix/drive_c/Program Files/Hello World"
    echo "run: installed into C:\\Program Files\\Hello World:"
    (cd "$installed" && find . -mindepth 1 | sort | while read -r f; do
        name=${f#./}
        name=${name//\//\\}
        if [ -d "$f" ]; then echo "    $name\\"; else echo "    $name  $(stat -c %s "$f") bytes"; fi
    done)
    echo "run: the install log (uninstall.log):"
    sed 's/^/    /' "$installed/uninstall.log"
    echo "run: shortcuts:"
    find "$prefix/drive_c" -name '*.lnk' -path '*Hello World*' | sed "s#^$prefix/drive_c/#    C:/#"
    echo "run: the INI entry (hello.ini):"
    sed 's/^/    /' "$installed/hello.ini"
    local key
    for key in 'HKLM\Software\Hello World' 'HKCU\Software\Hello World' 'HKCR\.hello' \
        'HKCR\HelloWorld.Greeting' 'HKCR\HelloWorld.Greeting\shell\open\command' \
        'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\HelloWorld'; do
        echo "run: registry $key:"
        "$WINE" reg query "$key" 2>/dev/null | tr -d '\r' | grep -v '^$' | sed 's/^/    /' ||
            echo "    (missing)"
    done
    echo "run: the screen afterwards: $out/screen.png"

    # The uninstaller as a user runs it: Yes to its question, then OK to its closing message.
    echo "run: uninstalling: C:\\Program Files\\Hello World\\uninstall.exe (Yes, then OK)"
    mkdir -p "$prefix/drive_c/rig"
    cp "$build/tests/rig/ui_driver.exe" "$prefix/drive_c/rig/ui_driver.exe"
    # Into a file, not a pipe: Wine's services that start meanwhile would hold a pipe open.
    "$WINE" 'C:\rig\ui_driver.exe' --timeout 120 --follow --press Yes --press OK -- \
        'C:\Program Files\Hello World\uninstall.exe' </dev/null >"$out/uninstall.txt" \
        2>>"$out/wine.log" || true
    tr -d '\r' <"$out/uninstall.txt" | sed -n 's/^window class="[^"]*" caption="\([^"]*\)" text="\([^"]*\)".*/    "\1": \2/p'
    echo "run: after the uninstall:"
    if [ -e "$installed" ]; then echo "    C:\\Program Files\\Hello World is still there"; else
        echo "    C:\\Program Files\\Hello World is gone"; fi
    local left
    left=$(find "$prefix/drive_c" -name '*.lnk' -path '*Hello World*' | wc -l)
    echo "    shortcuts of Hello World left: $left"
    for key in 'HKLM\Software\Hello World' 'HKCU\Software\Hello World' 'HKCR\.hello' \
        'HKCR\HelloWorld.Greeting' \
        'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\HelloWorld'; do
        if "$WINE" reg query "$key" >/dev/null 2>&1; then echo "    registry $key: still there"
        else echo "    registry $key: gone"; fi
    done
}
export -f run_wizard run_engine
export build arch prefix out image
tests/rig/with-display.sh bash -c 'run_wizard && run_engine'
