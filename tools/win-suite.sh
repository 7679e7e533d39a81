#!/usr/bin/env bash
# Runs one Windows build's suite (the Windows-side and end-to-end tests) under
# Wine on a private display: the build tree's prefix is made ready first and
# its wineserver stopped afterwards, whatever the tests did.
# Usage: win-suite.sh PRESET   (win64 or win32)
set -euo pipefail
preset=$1
top=$(cd "$(dirname "$0")/.." && pwd)
prefix=$top/build/$preset/wine
"$top/tools/wine-prefix.sh" "$prefix" init
echo "== $preset: Windows-side and end-to-end tests under $( [[ $preset == win32 ]] && echo 32-bit || echo 64-bit ) Wine"
status=0
(cd "$top" && tools/with-xvfb.sh ctest --preset "$preset") || status=$?
"$top/tools/wine-prefix.sh" "$prefix" stop
exit $status
