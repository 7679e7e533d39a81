#!/usr/bin/env bash
# End to end: the real quillory.exe under Wine on the current (virtual)
# display. F9 must show the snake in row 10 and one food cell; F10 the red
# "Paused..." label. Screenshots stay in the output folder for a look.
# Usage: play_test.sh QUILLORY_EXE WINEPREFIX OUTPUT_DIR
set -euo pipefail
exe=$1
prefix=$2
out=$3
source "$(dirname "$0")/e2e_lib.sh"

start_game
shoot start
analyse start
grep -q "body_count=0 food=0" "$out/start.txt" || fail "the board is not blank before the first game"

press F9
sleep 0.4
shoot newgame
analyse newgame
body_count=$(sed -n 's/.*body_count=\([0-9]*\).*/\1/p' "$out/newgame.txt")
food=$(sed -n 's/.* food=\([0-9]*\).*/\1/p' "$out/newgame.txt")
cells=$(sed -n 's/.*body=\(.*\)$/\1/p' "$out/newgame.txt")
(( body_count >= 5 && body_count <= 6 )) || fail "expected the 5-cell snake, found $body_count body cells"
[[ "$food" == 1 ]] || fail "expected exactly one food cell, found $food"
for cell in $cells; do
    [[ "${cell#*,}" == 10 ]] || fail "a body cell outside row 10: $cell"
done

press F10
sleep 0.4
shoot paused
analyse paused
red=$(sed -n 's/.*label_red=\([0-9]*\).*/\1/p' "$out/paused.txt")
(( red > 150 )) || fail "the red Paused... label is not shown ($red red pixels)"
sleep 0.5
shoot paused-later
analyse paused-later
[[ "$(sed -n 's/.*body=\(.*\)$/\1/p' "$out/paused-later.txt")" == "$(sed -n 's/.*body=\(.*\)$/\1/p' "$out/paused.txt")" ]] ||
    fail "the snake moved while paused"

# Game > Exit ends the program at once, cleanly.
press alt+g
sleep 0.5
shoot menu
xdotool key x
wait_for_exit "Exit did not end the program"

echo "e2e: PASS (screenshots in $out)"
