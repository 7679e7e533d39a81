#!/usr/bin/env bash
# End to end: a game that enters the table is watched again from the table.
# The game runs straight along row 10 for a while, then turns into its own
# body; its name is typed, and "replays.dat" appears beside the 280 bytes of
# "scores.dat". Top Scores, Watch..., row 1: the board shows the game from its
# start (the snake straight in row 10), moves on, and ends on the very board
# the game ended on, where it stays; watching asks for no name and leaves both
# files as they were; its score panel ends on the points row 1 holds.
# Screenshots stay in the output folder.
# Usage: replay_test.sh QUILLORY_EXE WINEPREFIX OUTPUT_DIR WINDOW_TEXTS_EXE
texts_exe=$4
source "$(dirname "$0")/e2e_lib.sh"

# Ten empty rows of negative points: any result earns the first row.
for _ in $(seq 1 10); do printf '\x00%.0s' $(seq 1 24); printf '\xff\xff\xff\xff'; done > "$work/scores.dat"

# The snake before its first turn: at least five cells, all in row 10.
straight() {
    local cell
    has_snake "$1" || return 1
    for cell in $(body_of "$1"); do [[ "${cell#*,}" == 10 ]] || return 1; done
}
# What a player sees of the board (the snake, food, bonus, red label), not where it was read.
board_of() { sed 's/origin=[^ ]* //' "$out/$1.txt"; }
same_board_as_game_over() { [[ "$(board_of "$1")" == "$(board_of game-over)" ]]; }
moved_straight() { straight "$1" && moved_since replay-start "$1"; }
# Focuses the dialog of that title, or fails.
focus_dialog() { local id; id=$(wait_for_window "$1" 100); xdotool windowfocus --sync "$id" 2>/dev/null || true; echo "$id"; }

start_game
press F9
board_until game-start 5 "F9 did not show the snake in row 10" straight
sleep 4   # some forty ticks straight on: the replay's start lasts as long
press_real Up Left Down
focus_dialog '^Game Over!$' > /dev/null
xdotool type --delay 30 "Ada"
xdotool key Return
scores=$(focus_dialog '^Top Scores$')
[[ -s "$work/replays.dat" ]] || fail "no replays.dat beside scores.dat after the entry"
[[ $(stat -c %s "$work/scores.dat") == 280 ]] || fail "scores.dat is $(stat -c %s "$work/scores.dat") bytes, not 280"
cp "$work/scores.dat" "$work/replays.dat" "$out/"

# The finished game's board, uncovered once the dialog is closed.
xdotool key --window "$scores" Escape
wait_until 10 "Esc did not close the top scores" window_gone '^Top Scores$'
board_until game-over 5 "the finished game's snake is not on the board" has_snake
straight game-over && fail "the game did not end turned into its body"

# The table again (F12), Watch... (Alt+W) and row 1 of its menu ("&1").
press F12
scores=$(focus_dialog '^Top Scores$')
shoot_window top-scores "$scores"
xdotool key alt+w
wait_until 10 "Alt+W opened no menu of games to watch" popup_open
shoot watch-menu
xdotool key 1
wait_until 10 "picking row 1 did not close the top scores" window_gone '^Top Scores$'
board_until replay-start 10 "the replay does not show the game from its start" straight
board_until replay-middle 10 "the replay's snake does not move on" moved_straight
press F7   # twice as fast to the end
board_until replay-end 30 "the replay did not end on the board the game ended on" same_board_as_game_over
sleep 1   # some twenty ticks: an ended replay stays on its last board
window_shown '^Game Over!$' && fail "the replay asked for a name"
shoot replay-after
analyse replay-after
same_board_as_game_over replay-after || fail "the replay's last board did not stay"
points=$(od -An -t d4 -j 24 -N 4 "$work/scores.dat" | tr -d ' ')
shown=$(window_texts 'Quillory 1.0 [Brindlework]' msctls_statusbar32)
echo "e2e: row 1 holds $points points; the replay ended showing '$shown'"
[[ "$shown" == " Score : $points" ]] || fail "the replay ended on '$shown', not the $points points of row 1"
cmp -s "$work/scores.dat" "$out/scores.dat" || fail "watching changed scores.dat"
cmp -s "$work/replays.dat" "$out/replays.dat" || fail "watching changed replays.dat"
echo "e2e: PASS (screenshots in $out)"
