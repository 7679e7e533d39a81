#!/usr/bin/env bash
# The lane a test runs in, when tools/win-suite.sh runs a suite in lanes: each
# lane is a display and a Wine prefix of its own, and ctest hands every test
# one of them (its resource "lanes", CTEST_RESOURCE_GROUP_0_LANES="id:N,...").
# Sourced by whatever starts Windows programs for a test: sets DISPLAY and
# lane_prefix, the prefix to use instead of the build tree's; outside lanes
# it changes nothing and leaves lane_prefix empty.
lane_prefix=
if [[ "${CTEST_RESOURCE_GROUP_0_LANES:-}" =~ ^id:([0-9]+), ]]; then
    lane_display=QUILLORY_LANE_${BASH_REMATCH[1]}_DISPLAY
    lane_prefix=QUILLORY_LANE_${BASH_REMATCH[1]}_PREFIX
    if [[ -z "${!lane_display:-}" || -z "${!lane_prefix:-}" ]]; then
        echo "wine-lane: lane ${BASH_REMATCH[1]} has no display or prefix (run the suite through tools/win-suite.sh)" >&2
        exit 2
    fi
    export DISPLAY=${!lane_display}
    lane_prefix=${!lane_prefix}
fi

# A test holds its prefix while it runs, and the next one waits: two programs
# in one prefix share its wineserver and disturb each other, and where ctest
# hands out no lanes (run by hand, -j2) every test has the same prefix and
# the same display. The lock is flock(1) on PREFIX.lock beside the prefix,
# kept by a flock process of its own (-o), so that nothing the test starts
# (a wineserver, Wine's services) holds it after the test.
prefix_lock() { echo "${1%/}.lock"; }

# Holds the prefix until the calling script ends, or until it stops the
# holder ($prefix_holder, by its PID); returns once the prefix is held, so
# take it before anything is shown. Nested calls for one prefix hold it once.
hold_prefix() {  # prefix
    local lock said= fd
    lock=$(prefix_lock "$1")
    [[ "${QUILLORY_HELD_PREFIX:-}" == "$lock" ]] && return 0
    # The holder says when it has the lock, then waits for this script's end
    # (tail's output is not the pipe: tail ends when its reader goes away).
    exec {fd}< <(flock -o "$lock" sh -c 'echo "held $$"; exec tail --pid="$1" -f /dev/null >/dev/null' \
                     hold-prefix "$$" </dev/null 2>&1)
    read -r -u "$fd" said || true
    exec {fd}<&-
    [[ "$said" =~ ^held\ ([0-9]+)$ ]] || { echo "wine-lane: cannot lock $lock: $said" >&2; exit 2; }
    prefix_holder=${BASH_REMATCH[1]}
    export QUILLORY_HELD_PREFIX=$lock
}
