#!/usr/bin/env bash
# Runs a Windows program under Wine, with the loader that fits its bitness
# (tools/wine-loader.sh) and the build tree's own prefix, or its lane's
# (tools/wine-lane.sh), held while the program runs.
# Usage: wine-run.sh PREFIX PROGRAM.exe [ARGS...]
# Used as the cross-compiling emulator, so ctest runs every .exe through it.
set -euo pipefail
prefix=$1
shift
. "$(dirname "$0")/wine-lane.sh"
prefix=${lane_prefix:-$prefix}
if [[ -z "${DISPLAY:-}" ]]; then
    echo "wine-run: no X display (DISPLAY is empty); run the tests through tools/with-xvfb.sh" >&2
    exit 2
fi
. "$(dirname "$0")/wine-loader.sh"
loader=$(wine_loader "$1")
export WINEPREFIX="$prefix" WINEDEBUG=-all
mkdir -p "$prefix"
lock=$(prefix_lock "$prefix")
held=()
[[ "${QUILLORY_HELD_PREFIX:-}" == "$lock" ]] || held=(flock -o "$lock")
export QUILLORY_HELD_PREFIX=$lock
# Every test process has a time limit; a hung program must not hang the suite.
exec "${held[@]}" timeout --kill-after=5 "${QUILLORY_WINE_TIMEOUT:-240}" "$loader" "$@"
