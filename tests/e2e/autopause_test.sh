#!/usr/bin/env bash
# End to end: a running game pauses when the player turns to another program.
# Another X client's window takes the input focus; the game shows "Paused..."
# and the snake stands still, also once the game's window is active again,
# until F10 resumes it.
# Usage: autopause_test.sh QUILLORY_EXE WINEPREFIX OUTPUT_DIR
source "$(dirname "$0")/e2e_lib.sh"

start_game
press F9
board_until running 5 "no snake after F9" has_snake
board_until running-later 5 "the new game does not move" moved_since running
label_gone running-later || fail "the running game shows the pause label"

# Another program, beside the game's window, gets the focus.
start_helper timeout 60 xlogo -geometry 160x120+700+500
other=$(wait_for_window '^xlogo$')
xdotool windowfocus --sync "$other" 2>/dev/null || xdotool windowfocus "$other"
board_until away 5 "no Paused... label after another program took the focus" label_shown
sleep 0.5   # some five ticks: a paused snake stays where it is
shoot away-later
analyse away-later
same_snake away away-later "the snake moved while the player looked away"

# Back in the game by a click on its status bar: still paused, until F10.
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 8)) click 1
xdotool windowfocus --sync "$wid" 2>/dev/null || true
sleep 0.5   # some five ticks again
shoot back
analyse back
label_shown back || fail "coming back resumed the game"
same_snake away back "the snake moved after coming back"
press F10
board_until resumed 5 "F10 did not resume the game" moved_since back
label_gone resumed || fail "F10 did not take the label away"

exit_through_menu

echo "e2e: PASS (screenshots in $out)"
