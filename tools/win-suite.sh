#!/usr/bin/env bash
# Runs one Windows build's suite (the Windows-side and end-to-end tests) under
# Wine, in one lane or more. A lane is a private display and a Wine prefix of
# its own: the build tree's prefix for the first, fresh copies of it for the
# others. In lanes ctest runs a test in each at once, the longest first, and
# hands every test its lane (ctest's resource "lanes", read by
# tools/wine-lane.sh). The prefixes are made ready first and their
# wineservers stopped afterwards, whatever the tests did. A failing test's
# output is printed (and so kept in suite.log).
# Usage: win-suite.sh PRESET [LANES]   (win64 or win32; one lane by default)
set -euo pipefail
preset=$1
lanes=${2:-1}
[[ "$lanes" =~ ^[1-9]$ ]] || { echo "win-suite: LANES is 1 to 9, not '$lanes'" >&2; exit 2; }
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build/$preset
"$top/tools/wine-prefix.sh" "$build/wine" init
prefixes=("$build/wine")
for (( lane = 1; lane < lanes; lane++ )); do
    rm -rf "$build/wine-lane$lane"
    "$top/tools/wine-prefix.sh" "$build/wine" copy "$build/wine-lane$lane"
    prefixes+=("$build/wine-lane$lane")
done
for (( lane = 0; lane < lanes; lane++ )); do
    export "QUILLORY_LANE_${lane}_PREFIX=${prefixes[lane]}"
done
stop_servers() {
    local prefix
    for prefix in "${prefixes[@]}"; do "$top/tools/wine-prefix.sh" "$prefix" stop; done
}
trap stop_servers EXIT

# One wineserver and one set of system services (the desktop, rpcss...) per
# lane for the whole suite, started before the first test by a helper that
# shows nothing. Left to the tests, the services are started by whichever
# program comes first and hold its output open: ctest then waits for them to
# end, 3 s after the last program on its own, never with a server kept up.
# Each lane's display is started inside the one before it (tools/with-xvfb.sh),
# the tests inside the last.
lane_up() {  # lane: its display is $DISPLAY
    local lane=$1 prefix_var=QUILLORY_LANE_$1_PREFIX
    export "QUILLORY_LANE_${lane}_DISPLAY=$DISPLAY"
    WINEPREFIX=${!prefix_var} /usr/lib/wine/wineserver -p
    tools/wine-run.sh "${!prefix_var}" "build/$preset/tests/e2e/window_texts.exe" \
        "no window has this title" Static </dev/null >/dev/null 2>&1 || true
    if (( lane + 1 < lanes )); then
        exec tools/with-xvfb.sh bash -c 'lane_up "$1"' lane-up $(( lane + 1 ))
    elif (( lanes == 1 )); then
        exec ctest --preset "$preset" --output-on-failure
    else
        exec ctest --preset "$preset" --output-on-failure -j "$lanes" \
            --resource-spec-file "$lanes_file"
    fi
}
export -f lane_up
lanes_file=$build/lanes.json
export preset lanes lanes_file
{
    printf '{"version": {"major": 1, "minor": 0}, "local": [{"lanes": ['
    for (( lane = 0; lane < lanes; lane++ )); do
        printf '%s{"id": "%d", "slots": 1}' "$( (( lane )) && echo ', ')" "$lane"
    done
    printf ']}]}\n'
} > "$lanes_file"
echo "== $preset: Windows-side and end-to-end tests under $( [[ $preset == win32 ]] && echo 32-bit || echo 64-bit ) Wine, $lanes lane$( (( lanes > 1 )) && echo s)"
status=0
(cd "$top" && tools/with-xvfb.sh bash -c 'lane_up 0') || status=$?
exit $status
