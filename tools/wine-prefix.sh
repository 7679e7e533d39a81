#!/usr/bin/env bash
# Creates the build tree's Wine prefix once, so that the first test does not
# pay (and time out on) the prefix's set-up; stops its wineserver with "stop";
# "copy" makes a scratch copy of it (no wineserver may run on the copy yet).
# Usage: wine-prefix.sh PREFIX [init|stop|copy TO]
set -euo pipefail
prefix=$(realpath -m "$1")   # Wine takes only an absolute one
action=${2:-init}
export WINEPREFIX="$prefix" WINEDEBUG=-all
. "$(dirname "$0")/wine-loader.sh"   # the settings 32-bit Wine needs
case "$action" in
    init)
        if [[ ! -f "$prefix/system.reg" ]]; then
            mkdir -p "$prefix"
            echo "wine-prefix: creating $prefix (takes a few seconds, once)"
            timeout 180 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
        fi
        # A prefix made while 32-bit Wine could not run has no 32-bit system
        # files; the 32-bit programs would find no kernel32.dll. (Without
        # 32-bit Wine, as `make run` installs it, there are none to add.)
        if [[ -x /usr/lib/wine/wine && ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]]; then
            echo "wine-prefix: adding the 32-bit system files to $prefix"
            timeout 300 /usr/lib/wine/wine64 wineboot -u >/dev/null 2>&1 || true
        fi
        if [[ "${QUILLORY_WINE_UNMANAGED:-1}" == 1 && ! -f "$prefix/.unmanaged" ]]; then
            # The test displays run no window manager; a managed window then
            # waits two seconds for every hide and destroy that no one answers.
            timeout 60 /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' \
                /v Managed /d N /f >/dev/null 2>&1 && touch "$prefix/.unmanaged"
        fi
        # Wine's own faces (Marlett for the caption buttons, Tahoma, MS Sans
        # Serif) are installed where this Wine does not look for them; the
        # prefix's Fonts folder is always searched.
        fonts="$prefix/drive_c/windows/Fonts"
        if [[ -d /usr/share/wine/fonts && -d "$fonts" ]]; then
            cp -n /usr/share/wine/fonts/*.ttf "$fonts"/ 2>/dev/null || true
        fi
        /usr/lib/wine/wineserver -w || true ;;
    stop)
        /usr/lib/wine/wineserver -k 2>/dev/null || true ;;
    copy)
        # The system's DLL folders (nine tenths of the prefix's 1.3 GB, never
        # written once it is made) are hard links, the rest real copies.
        to=$3
        mkdir -p "$to"
        tar -C "$prefix" --exclude=./drive_c/windows/system32 --exclude=./drive_c/windows/syswow64 \
            -cf - . | tar -C "$to" -xf -
        cp -al "$prefix/drive_c/windows/system32" "$prefix/drive_c/windows/syswow64" \
            "$to/drive_c/windows/" ;;
    *)
        echo "wine-prefix: no action named $action" >&2
        exit 2 ;;
esac
