#!/usr/bin/env bash
# End to end: a game that ends in the snake's own body enters its result in a
# score file whose rows all hold negative points. The name is typed into the
# input dialog; the saved bytes must hold it in row 1 with the old rows 1 to 9
# moved down whole. Screenshots of the input dialog, the top scores dialog and
# the about window stay in the output folder for a look.
# Usage: scores_test.sh QUILLORY_EXE WINEPREFIX OUTPUT_DIR
set -euo pipefail
exe=$1
prefix=$2
out=$3
source "$(dirname "$0")/e2e_lib.sh"

readonly typed=Christopher   # 11 letters: the suffix " (level 7)" is cut to 9 of its 10
readonly stored="Christopher (level 7"

# One 28-byte row: length, 20 name bytes (filler after the name), 3 padding
# bytes, points as a little-endian 32-bit integer.
row() {  # name points filler
    local name=$1 points=$2 filler=$3 bytes i
    bytes=$(printf '\\x%02x' "${#name}")
    for (( i = 0; i < 20; i++ )); do
        if (( i < ${#name} )); then
            bytes+=$(printf '\\x%02x' "'${name:i:1}")
        else
            bytes+=$(printf '\\x%02x' "$filler")
        fi
    done
    bytes+=$(printf '\\x%02x\\x%02x\\x%02x' "$filler" $(( filler + 1 )) $(( filler + 2 )))
    local value=$(( points & 0xFFFFFFFF ))
    for (( i = 0; i < 4; i++ )); do
        bytes+=$(printf '\\x%02x' $(( (value >> (8 * i)) & 0xFF )))
    done
    printf '%b' "$bytes"
}
hex() { od -An -v -tx1 "$@" | tr -d ' \n'; }

for n in 1 2 3 4 5 6 7 8 9 10; do
    row "Old row $n" $(( -1000 * n - n )) $(( 0x30 + 3 * n ))
done > "$work/scores.dat"
[[ $(stat -c %s "$work/scores.dat") == 280 ]] || fail "the prepared file is not 280 bytes"
old=$(hex "$work/scores.dat")

start_game
# The application's own window carries the title too; a "Game Over!" box would be one more.
count_titled() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }
plain_boxes=$(count_titled '^Quillory$')
press F9
sleep 0.3
window_shown '^Game Over!$' && fail "a game over before any turn"
# Up, Left, Down before the snake has gone far: the queue applies one turn a
# tick, so the head turns round and runs into the body.
press Up Left Down
dialog=$(wait_for_window '^Game Over!$' 30)
kill -0 "$game_pid" || fail "the game ended instead of asking"
(( $(count_titled '^Quillory$') == plain_boxes )) || fail "a plain Game Over! box although row 1 was earned"

xdotool windowfocus --sync "$dialog" 2>/dev/null || true
sleep 0.3
xdotool type --delay 40 "$typed"
sleep 0.3
shoot_window input-dialog "$dialog"
xdotool key Return

scores=$(wait_for_window '^Top Scores$' 30)
sleep 0.5
shoot_window top-scores "$scores"
window_shown '^Game Over!$' && fail "the input dialog is still open"

# The saved file: 280 bytes, row 1 the new result, rows 2 to 10 the old 1 to 9.
[[ $(stat -c %s "$work/scores.dat") == 280 ]] || fail "the saved file is not 280 bytes"
new=$(hex "$work/scores.dat")
expected_name=$(printf '%02x' "${#stored}")$(printf '%s' "$stored" | od -An -v -tx1 | tr -d ' \n')
[[ "${new:0:42}" == "$expected_name" ]] ||
    fail "row 1's name: $(printf '%s' "${new:0:42}") instead of $expected_name"
[[ "${new:42:6}" == "${old:42:6}" ]] || fail "row 1's padding bytes changed"
points=$(od -An -t d4 -j 24 -N 4 "$work/scores.dat" | tr -d ' ')
(( points >= 0 && points % 7 == 0 )) || fail "row 1 holds $points points"
[[ "${new:56}" == "${old:0:504}" ]] || fail "the old rows 1 to 9 did not move down whole"
echo "e2e: row 1 is \"$stored\" with $points points; the old rows moved down"

# Closing the dialog gives the main window back; the game stays over.
xdotool windowfocus --sync "$scores" 2>/dev/null || true
xdotool key Escape
for _ in $(seq 1 30); do window_shown '^Top Scores$' || break; sleep 0.1; done
window_shown '^Top Scores$' && fail "Esc did not close the top scores dialog"
# The board keeps the last picture of the game: the snake where it crashed.
sleep 0.3
shoot after-scores
analyse after-scores
body_count=$(sed -n 's/.*body_count=\([0-9]*\).*/\1/p' "$out/after-scores.txt")
(( body_count >= 4 )) || fail "the finished game's snake is gone from the board ($body_count cells)"

# The About command: a top-level item of the menu bar without an access key,
# reached with the keyboard (Alt selects "Game", then two steps right).
xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool key --delay 150 alt Right Right Return
about=$(wait_for_window '^About$' 30)
sleep 0.5
shoot_window about "$about"
window_shown '^Quillory 1\.0 \[Brindlework\]$' && fail "the main window stays visible beside the about window"
about_at=$(xdotool getwindowgeometry --shell "$about" | grep -E '^[XY]=' | tr '\n' ' ')
xdotool windowfocus --sync "$about" 2>/dev/null || true
xdotool key alt+F4
wait_for_window '^Quillory 1\.0 \[Brindlework\]$' 30 > /dev/null
main_at=$(xdotool getwindowgeometry --shell "$wid" | grep -E '^[XY]=' | tr '\n' ' ')
[[ "$main_at" == "$about_at" ]] || fail "the main window came back at $main_at, not at the about window's $about_at"
window_shown '^About$' && fail "the about window is still open"
[[ $(hex "$work/scores.dat") == "$new" ]] || fail "the file changed after the entry"

echo "e2e: PASS (screenshots in $out)"
