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
# One wineserver and one set of system services (the desktop, rpcss...) for
# the whole suite, started before the first test by a helper that shows
# nothing. Left to the tests, the services are started by whichever program
# comes first and hold its output open: ctest then waits for them to end,
# 3 s after the last program on its own, never with a server kept up.
trap '"$top/tools/wine-prefix.sh" "$prefix" stop' EXIT
WINEPREFIX=$prefix /usr/lib/wine/wineserver -p
echo "== $preset: Windows-side and end-to-end tests under $( [[ $preset == win32 ]] && echo 32-bit || echo 64-bit ) Wine"
status=0
(cd "$top" && tools/with-xvfb.sh bash -c '
    tools/wine-run.sh "$1" "$2" "no window has this title" Static </dev/null >/dev/null 2>&1 || true
    exec ctest --preset "$3" --output-on-failure' \
    warm-up "$prefix" "build/$preset/tests/e2e/window_texts.exe" "$preset") || status=$?
exit $status
