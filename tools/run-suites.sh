#!/usr/bin/env bash
# Runs test suites at the same time: `native` (ctest --preset native) and the
# Windows builds' `win64` and `win32` (tools/win-suite.sh). They share
# nothing (each Windows suite has its own prefix and its own display), and
# the Wine suites spend much of their time waiting on windows and timers. Each
# suite's output goes to build/SUITE/suite.log and is printed whole, ending
# with its ctest summary, as soon as that suite ends; every suite runs to its
# end, and the run fails if any of them failed. One suite alone prints as it goes.
# A Windows suite may run in lanes (tools/win-suite.sh): win32:2 runs it in two.
# Usage: run-suites.sh SUITE[:LANES]...
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

run_suite() {  # suite[:lanes]
    case "$1" in
        native) (cd "$top" && ctest --preset native) ;;
        win64 | win32) "$top/tools/win-suite.sh" "$1" ;;
        win64:* | win32:*) "$top/tools/win-suite.sh" "${1%%:*}" "${1#*:}" ;;
        *) echo "run-suites: no suite named $1" >&2; return 2 ;;
    esac
}

if (( $# == 1 )); then
    run_suite "$1"
    exit
fi

declare -A suite_of   # pid -> suite
for run in "$@"; do
    suite=${run%%:*}
    log=$top/build/$suite/suite.log
    mkdir -p "$(dirname "$log")"
    echo "== $suite: started (output in ${log#"$top"/} until it ends)"
    run_suite "$run" >"$log" 2>&1 &
    suite_of[$!]=$suite
done

status=0
while (( ${#suite_of[@]} > 0 )); do
    rc=0
    wait -n -p ended "${!suite_of[@]}" || rc=$?
    suite=${suite_of[$ended]}
    unset "suite_of[$ended]"
    cat "$top/build/$suite/suite.log"
    if (( rc == 0 )); then
        echo "== $suite: passed"
    else
        echo "== $suite: FAILED (status $rc)"
        status=1
    fi
done
exit $status
