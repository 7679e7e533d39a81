#!/usr/bin/env bash
# Starts the game under Wine on the current display.
# Usage: run-game.sh BUILD_DIR
#        run-game.sh --check-display   (only says whether there is a display)
set -euo pipefail
if [[ -z "${DISPLAY:-}" ]]; then
    echo "run: no X display: DISPLAY is not set. Run it from a desktop session, or under Xvfb (tools/with-xvfb.sh make run)." >&2
    exit 1
fi
[[ "${1:-}" == --check-display ]] && exit 0
build=$1
exe="$build/src/game/quillory.exe"
if [[ ! -f "$exe" ]]; then
    echo "run: $exe is missing; build it first (make run builds it)" >&2
    exit 1
fi
tools/wine-prefix.sh "$build/wine" init
cd "$build"   # "scores.dat" lives in the working directory
WINEPREFIX="$build/wine" WINEDEBUG=-all exec /usr/lib/wine/wine64 "$exe"
