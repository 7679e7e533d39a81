#!/usr/bin/env bash
# Runs a command with DISPLAY set to a private Xvfb server and stops the server
# (by its PID) when the command ends. Xvfb picks a free display number itself
# and reports it (-displayfd): two runs started together cannot take the same one.
set -euo pipefail
fifo=$(mktemp -u /tmp/with-xvfb.XXXXXX)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() { kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; rm -f "$fifo"; }
trap cleanup EXIT

display=
read -r -t 20 display <"$fifo" || true
[[ "$display" =~ ^[0-9]+$ ]] || { echo "with-xvfb: Xvfb did not start" >&2; exit 2; }
export DISPLAY=":$display"
set +e
"$@"
rc=$?
exit $rc
