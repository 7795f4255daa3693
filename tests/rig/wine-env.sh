# Sourced by the rig: picks the Wine loader and prefix kind for a build of the engine.
# Usage: wine_env <arch>   (arch: i686 or x86_64, the engine build's processor)
# Sets WINE, WINEARCH, WINEDEBUG and WINEDLLOVERRIDES; never touches WINEPREFIX.
wine_env() {
    export WINEDEBUG=-all
    # No Mono or Gecko installers: a prefix that asks for them would block on a dialog. No menu
    # entries on the host for the shortcuts the tests make.
    export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
    case "$1" in
        i686 | x86)
            export WINEARCH=win32
            WINE=wine
            ;;
        x86_64 | AMD64)
            export WINEARCH=win64
            export WINELOADER=/usr/lib/wine/wine64
            WINE=/usr/lib/wine/wine64
            ;;
        *)
            echo "wine-env: unknown processor '$1'" >&2
            return 1
            ;;
    esac
    export WINE
}
