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
