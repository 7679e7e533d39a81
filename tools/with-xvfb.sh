#!/usr/bin/env bash
# Runs a command with DISPLAY set to a private Xvfb server, started on a free
# display number and stopped (by its PID) when the command ends.
set -euo pipefail
display=
for n in $(seq 91 160); do
    if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then display=$n; break; fi
done
[[ -n "$display" ]] || { echo "with-xvfb: no free display number" >&2; exit 2; }

Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() { kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT

for _ in $(seq 1 100); do
    [[ -e /tmp/.X11-unix/X$display ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "with-xvfb: Xvfb did not start" >&2; exit 2; }
    sleep 0.1
done
export DISPLAY=":$display"
set +e
"$@"
rc=$?
exit $rc
