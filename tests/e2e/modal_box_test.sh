#!/usr/bin/env bash
# End to end: while the "Game Over!" box is open, the main window of the real
# quillory.exe takes no part. A click on the board, a click on the menu bar's
# "Game" and a click where its "New game" would be change nothing: the box
# stays in front and the finished game stays on the board. Once the box is
# closed, F9 starts a game that moves.
# Usage: modal_box_test.sh QUILLORY_EXE WINEPREFIX OUTPUT_DIR
source "$(dirname "$0")/e2e_lib.sh"

# Pixels that differ between the same rectangle of two full screenshots.
differing() {  # first second width height left top
    local geometry="${3}x${4}+${5}+${6}"
    convert "$out/$1.png" -crop "$geometry" +repage "$work/first.png"
    convert "$out/$2.png" -crop "$geometry" +repage "$work/second.png"
    compare -metric AE "$work/first.png" "$work/second.png" null: 2>&1 || true
}

start_game
border=$(( (WIDTH - client_width) / 2 ))
client_x=$(( X + border ))
client_y=$(( Y + HEIGHT - border - client_height ))
# Any other window titled "Quillory" is not the box: the box is the new one.
titled() { xdotool search --onlyvisible --name '^Quillory$' 2>/dev/null | sort || true; }
new_box() { box=$(comm -13 <(echo "$before_box") <(titled) | head -1); [[ -n "$box" ]]; }
before_box=$(titled)

press F9
board_until started 5 "no snake after F9" has_snake
# Up, Left, Down: the head turns round into the body. Score 0 with no score
# file earns no row, so the plain box is shown.
press Up Left Down
wait_until 5 "no Game Over! box" new_box
wait_until 5 "the box was not painted" window_painted "$box"
eval "$(xdotool getwindowgeometry --shell "$box" | sed 's/^/B_/')"
echo "e2e: box $box at $B_X,$B_Y size ${B_WIDTH}x$B_HEIGHT"
shoot box-open
analyse box-open
[[ -n "$(body_of box-open)" ]] || fail "the finished game's snake is not on the board"

# A click on the board, away from the box.
board_x=$(( client_x + board_left + 25 )) board_y=$(( client_y + 15 ))
(( board_x < B_X || board_y < B_Y )) || fail "the box covers the board's corner"
xdotool mousemove "$board_x" "$board_y" click 1
sleep 0.5   # time for the main window to come forward, were it to
shoot after-board-click
changed=$(differing box-open after-board-click "$B_WIDTH" "$B_HEIGHT" "$B_X" "$B_Y")
echo "e2e: after the click on the board, $changed pixels of the box changed"
(( changed < 20 )) || fail "the click on the main window covered the box ($changed pixels)"

# The menu bar's "Game", then where its first item, New game, would open.
menu_y=$(( client_y - 10 ))
xdotool mousemove $(( client_x + 16 )) "$menu_y" click 1
sleep 0.5   # time for the menu to open, were it to
shoot after-menu-click
changed=$(differing box-open after-menu-click 160 120 "$client_x" "$client_y")
echo "e2e: below the menu bar, $changed pixels changed after the click on Game"
(( changed < 20 )) || fail "the Game menu opened while the box is open ($changed pixels)"
xdotool mousemove $(( client_x + 40 )) $(( client_y + 10 )) click 1
sleep 0.5   # time for a new game to start, were it to
shoot after-new-game
analyse after-new-game
[[ "$(body_of after-new-game)" == "$(body_of box-open)" ]] ||
    fail "the board changed while the box is open"
new_box || fail "the box is gone"
changed=$(differing box-open after-new-game "$WIDTH" "$HEIGHT" "$X" "$Y")
echo "e2e: after all three clicks, $changed pixels of the main window and the box changed"
(( changed < 20 )) || fail "the main window or the box changed ($changed pixels)"

# The box answered, the game is the player's again.
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
wait_until 10 "Enter did not close the box" eval '! new_box'
xdotool windowfocus --sync "$wid" 2>/dev/null || true
press F9
board_until new-game 5 "F9 did not put a new game's snake in row 10" at_start
board_until new-game-later 5 "the new game does not move" moved_since new-game

echo "e2e: PASS (screenshots in $out)"
