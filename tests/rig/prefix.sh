#!/usr/bin/env bash
# Wine prefixes for tests: one clean template per build directory, a private copy per test.
#   prefix.sh template <build-dir> <arch>        make the template once (locked); print its path
#   prefix.sh clone <build-dir> <arch> <dest>    give <dest> its own copy of the template
#   prefix.sh release <dest>                     stop its Wine server, drop the copy
#   prefix.sh release-all <build-dir>            release every copy the build's tests made
# A copy is an overlay on the template where the machine allows (root, overlayfs): instant and
# small. Elsewhere it is a full copy.
set -euo pipefail
rig=$(cd "$(dirname "$0")" && pwd)
source "$rig/wine-env.sh"

template_path() { echo "$1/wine/template-$2"; }
# Bumped whenever the template's making changes, so that older templates are made anew.
TEMPLATE_VERSION=4

make_template() {
    local build=$1 arch=$2 tpl
    tpl=$(template_path "$build" "$arch")
    mkdir -p "$build/wine"
    exec 9>"$tpl.lock"
    flock 9
    if [ "$(cat "$tpl/.complete" 2>/dev/null)" != "$TEMPLATE_VERSION" ]; then
        rm -rf "$tpl"
        wine_env "$arch"
        echo "prefix: making a clean $WINEARCH template in $tpl (once per build directory)" >&2
        WINEPREFIX="$tpl" "$WINE" wineboot -i >/dev/null 2>&1 || true
        # Windows that Wine leaves to a window manager wait about 2 s for one when they close, and
        # the test display has none: every message box would cost that.
        WINEPREFIX="$tpl" "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
            >/dev/null 2>&1
        # Wine draws the caption buttons with the Marlett font, which it does not find in its own
        # font folder: without it they show as the letters "0 1 r" in every screenshot.
        local marlett
        for marlett in /usr/share/wine/fonts/marlett.ttf /usr/lib/wine/fonts/marlett.ttf; do
            [ -f "$marlett" ] || continue
            cp "$marlett" "$tpl/drive_c/windows/Fonts/marlett.ttf"
            WINEPREFIX="$tpl" "$WINE" reg add \
                'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
                /v 'Marlett (TrueType)' /d marlett.ttf /f >/dev/null 2>&1
            break
        done
        WINEPREFIX="$tpl" wineserver -w
        # The user's shell folders (Desktop, Documents, ...) are links to the host's home folder:
        # a test that puts a shortcut on the desktop would put it there. Real folders instead.
        local link
        for link in "$tpl"/drive_c/users/*/*; do
            if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
        done
        [ -f "$tpl/system.reg" ] || { echo "prefix: wineboot made no prefix in $tpl" >&2; exit 1; }
        echo "$TEMPLATE_VERSION" >"$tpl/.complete"
    fi
    flock -u 9
    echo "$tpl"
}

clone() {
    local build=$1 arch=$2 dest=$3 tpl
    tpl=$(make_template "$build" "$arch")
    release "$dest" 2>/dev/null || true
    rm -rf "$dest" "$dest.ovl"
    mkdir -p "$dest" "$dest.ovl/upper" "$dest.ovl/work"
    if [ "$(id -u)" -eq 0 ] &&
        mount -t overlay overlay -o "lowerdir=$tpl,upperdir=$dest.ovl/upper,workdir=$dest.ovl/work" "$dest" 2>/dev/null; then
        :
    else
        rm -rf "$dest" "$dest.ovl"
        cp -a "$tpl" "$dest"
    fi
}

release() {
    local dest=$1 tries
    [ -d "$dest" ] || return 0
    WINEPREFIX="$dest" wineserver -k 2>/dev/null || true
    WINEPREFIX="$dest" wineserver -w 2>/dev/null || true
    # Wine's last processes may hold the copy for a moment after their server is gone; a copy
    # can also be mounted more than once. Unmount until nothing is mounted there.
    for tries in 1 2 3 4 5 6 7 8 9 10; do
        mountpoint -q "$dest" || break
        umount "$dest" 2>/dev/null || { sleep 0.5; [ "$tries" -lt 10 ] || umount -l "$dest"; }
    done
    if mountpoint -q "$dest"; then
        echo "prefix: $dest is still mounted; left in place" >&2
        return 1
    fi
    rm -rf "$dest" "$dest.ovl"
}

release_all() {
    local copies=$1/wine
    [ -d "$copies" ] || return 0
    for dest in "$copies"/unit-* "$copies"/e2e/*; do
        case "$dest" in *.lock | *.ovl | *"*"*) continue ;; esac
        [ -d "$dest" ] && release "$dest"
    done
    return 0
}

case "${1:-}" in
    template) make_template "$2" "$3" ;;
    clone) clone "$2" "$3" "$4" ;;
    release) release "$2" ;;
    release-all) release_all "$2" ;;
    *) echo "usage: prefix.sh template|clone|release ..." >&2; exit 2 ;;
esac
