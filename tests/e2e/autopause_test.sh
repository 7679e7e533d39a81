#!/usr/bin/env bash
# End to end: a running game pauses when the player turns to another program.
# Another X client's window takes the input focus; the game shows "Paused..."
# and the snake stands still, also once the game's window is active again,
# until F10 resumes it.
# Usage: autopause_test.sh QUILLORY_EXE WINEPREFIX OUTPUT_DIR
set -euo pipefail
exe=$1
prefix=$2
out=$3
source "$(dirname "$0")/e2e_lib.sh"

body_of() { sed -n 's/.*body=\(.*\)$/\1/p' "$out/$1.txt"; }
red_of() { sed -n 's/.*label_red=\([0-9]*\).*/\1/p' "$out/$1.txt"; }

start_game
press F9
sleep 0.3
shoot running
analyse running
sleep 0.6
shoot running-later
analyse running-later
[[ "$(body_of running)" != "$(body_of running-later)" ]] || fail "the new game does not move"
(( $(red_of running-later) < 50 )) || fail "the running game shows the pause label"

# Another program, beside the game's window, gets the focus.
start_helper timeout 60 xlogo -geometry 160x120+700+500
other=
for _ in $(seq 1 50); do
    other=$(visible_window '^xlogo$')
    [[ -n "$other" ]] && break
    sleep 0.1
done
[[ -n "$other" ]] || fail "the other program's window did not appear"
xdotool windowfocus --sync "$other" 2>/dev/null || xdotool windowfocus "$other"
sleep 0.6
shoot away
analyse away
(( $(red_of away) > 150 )) || fail "no Paused... label after another program took the focus ($(red_of away) red pixels)"
sleep 0.6
shoot away-later
analyse away-later
[[ "$(body_of away)" == "$(body_of away-later)" ]] || fail "the snake moved while the player looked away"

# Back in the game by a click on its status bar: still paused, until F10.
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 8)) click 1
xdotool windowfocus --sync "$wid" 2>/dev/null || true
sleep 0.6
shoot back
analyse back
(( $(red_of back) > 150 )) || fail "coming back resumed the game"
[[ "$(body_of back)" == "$(body_of away)" ]] || fail "the snake moved after coming back"
press F10
sleep 0.6
shoot resumed
analyse resumed
(( $(red_of resumed) < 50 )) || fail "F10 did not take the label away"
[[ "$(body_of resumed)" != "$(body_of back)" ]] || fail "F10 did not resume the game"

press alt+g
sleep 0.5
xdotool key x
wait_for_exit "Exit did not end the program"

echo "e2e: PASS (screenshots in $out)"
