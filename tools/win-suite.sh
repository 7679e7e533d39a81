#!/usr/bin/env bash
# Runs one Windows build's suite (the Windows-side and end-to-end tests) under
# Wine on a private display: the build tree's prefix is made ready first and
# its wineserver stopped afterwards, whatever the tests did. A failing test's
# output is printed (and so kept in suite.log).
# Usage: win-suite.sh PRESET   (win64 or win32)
set -euo pipefail
preset=$1
top=$(cd "$(dirname "$0")/.." && pwd)
prefix=$top/build/$preset/wine
"$top/tools/wine-prefix.sh" "$prefix" init
# One wineserver (and its system services) for the whole suite: on its own it
# ends 3 s after the last program, and each later start (the e2e scripts
# start the game and their helpers with pauses between) pays for it again.
trap '"$top/tools/wine-prefix.sh" "$prefix" stop' EXIT
WINEPREFIX=$prefix /usr/lib/wine/wineserver -p
echo "== $preset: Windows-side and end-to-end tests under $( [[ $preset == win32 ]] && echo 32-bit || echo 64-bit ) Wine"
status=0
(cd "$top" && tools/with-xvfb.sh ctest --preset "$preset" --output-on-failure) || status=$?
exit $status
