#!/usr/bin/env bash
# End to end: two copies of the game in one working folder, each reading the
# score file at start-up and each ending a game that earns row 1 against what
# it read; afterwards the file holds both names. Then, where a small tmpfs can
# be mounted, a disk that is full at the save: the error box says so, the old
# file stays byte for byte and no temporary file is left.
# Usage: shared_scores_test.sh QUILLORY_EXE WINEPREFIX OUTPUT_DIR WINDOW_TEXTS_EXE
set -euo pipefail
exe=$1
prefix=$2
out=$3
texts_exe=$4
source "$(dirname "$0")/e2e_lib.sh"

# Ten rows without names at -1 point: any result takes row 1.
old_rows() { for _ in $(seq 10); do head -c 24 /dev/zero; printf '\xff\xff\xff\xff'; done; }

# A new game in window $wid that runs into its own body at once; the name typed.
end_game_as() {  # name
    xdotool windowfocus --sync "$wid" 2>/dev/null || true
    press F9
    sleep 0.3
    press Up Left Down
    local dialog
    dialog=$(wait_for_window '^Game Over!$' 30)
    xdotool windowfocus --sync "$dialog" 2>/dev/null || true
    sleep 0.3
    xdotool type --delay 40 "$1"
    xdotool key Return
}
close_top_scores() {
    local scores
    scores=$(wait_for_window '^Top Scores$' 30)
    xdotool windowfocus --sync "$scores" 2>/dev/null || true
    xdotool key Escape
    for _ in $(seq 1 30); do window_shown '^Top Scores$' || return 0; sleep 0.1; done
    fail "Esc did not close the top scores dialog"
}
titled_quillory() { { xdotool search --onlyvisible --name '^Quillory$' || true; } | wc -l; }

# Both copies read the file at start-up. The second, on top, plays first and
# is closed; the first, still holding the table it read, plays after it.
old_rows > "$work/scores.dat"
start_game
first=$wid first_pid=$game_pid
start_game
end_game_as Bob
close_top_scores
xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool key alt+F4
wait_for_exit "the second copy did not end"
wid=$first game_pid=$first_pid
xdotool mousemove $(( X + WIDTH / 2 )) $(( Y + 8 )) click 1   # the caption: activates it
end_game_as Ann
shoot_window two-copies "$(wait_for_window '^Top Scores$' 30)"
close_top_scores

[[ $(stat -c %s "$work/scores.dat") == 280 ]] || fail "the file is not 280 bytes"
for name in Ann Bob; do
    grep -aq "$name (level 7)" "$work/scores.dat" || fail "$name's result is not in the file"
done
[[ $(od -An -v -tx1 -j 56 "$work/scores.dat" | tr -d ' \n') == $(old_rows | head -c 224 | od -An -v -tx1 | tr -d ' \n') ]] ||
    fail "rows 3 to 10 are not the old rows 1 to 8"

full=$work/full
if ! mount_small_tmpfs "$full" 16k; then
    echo "e2e: no tmpfs can be mounted here: the full disk is left out"
    echo "e2e: PASS (screenshots in $out)"
    exit 0
fi
old_rows > "$full/scores.dat"
head -c 12288 /dev/zero > "$full/filler" 2>/dev/null || true   # the rest of the 16 KiB
before=$(od -An -v -tx1 "$full/scores.dat")
start_game "$full"
titled=$(titled_quillory)   # the application windows of the copies
end_game_as Cy
for _ in $(seq 1 100); do (( $(titled_quillory) > titled )) && break; sleep 0.1; done
sleep 0.5
shoot disk-full
box=$(window_texts Quillory Static | grep -v '^$' || true)
echo "e2e: the box says '$box'"
[[ "$box" == "Disk full." ]] || fail "no \"Disk full.\" box at the save on a full disk"
window_shown '^Top Scores$' && fail "the top scores dialog followed a failed save"
[[ $(od -An -v -tx1 "$full/scores.dat") == "$before" ]] || fail "the old file changed"
[[ ! -e "$full/scores.dat.tmp" && ! -e "$full/scores.dat.lock" ]] || fail "files left behind: $(ls "$full")"
echo "e2e: PASS (screenshots in $out)"
