#!/usr/bin/env bash
# End to end: a game that ends in the snake's own body enters its result in a
# score file whose rows all hold negative points. The name is typed into the
# input dialog; the saved bytes must hold it in row 1, with the points the
# score panel showed, and the old rows 1 to 9 moved down whole. The
# screenshots are read as a player sees them: the typed name in the input
# dialog, the new entry above the nine old rows in the top scores dialog, the
# about window's picture; they stay in the output folder. A second copy of the
# game, started first in the same folder and covered by the one played, reads
# the same file and plays afterwards: both results end in the file. Where a
# small tmpfs can be mounted, a third copy meets a full disk at its save.
# The status bar's record panel shows row 1's points after its label: none
# for the negative rows, 4321 for a table that holds them (a copy started
# first, in a folder of its own), and after the game the points it entered.
# Usage: scores_test.sh QUILLORY_EXE WINEPREFIX OUTPUT_DIR WINDOW_TEXTS_EXE
texts_exe=$4
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

# The rightmost dark column of the record panel (client x), and how many dark
# pixels lie right of the column given.
record_ink() {  # name [column]
    pixels "$out/$1-window.png" | awk -v cw="$client_width" \
        -v ch="$client_height" -v from="${2:-999}" '
        /^[0-9]/ {
            split($1, xy, "[,:]"); gsub(/[()]/, "", $2); pix[xy[1] "," xy[2]] = $2
            if (xy[1] + 1 > W) W = xy[1] + 1
            if (xy[2] + 1 > H) H = xy[2] + 1
        }
        END {
            ox = int((W - cw) / 2); oy = H - ox - ch; last = -1; n = 0
            for (y = oy + 206; y < oy + 221; y++) for (x = ox + 144; x < ox + 232; x++) {
                split(pix[x "," y], c, ",")
                if (c[1] >= 70 || c[2] >= 70 || c[3] >= 70) continue
                if (x - ox > last) last = x - ox
                if (x - ox > from) n++
            }
            print last, n
        }'
}
mkdir "$work/best"
{ row "Best (level 9)" 4321 32; for _ in 2 3 4 5 6 7 8 9 10; do row "" 0 0; done; } \
    > "$work/best/scores.dat"
# A shot once the record panel shows anything: the label and the points are
# one text, painted together, but the window may show before its status bar.
record_painted() { local end; shoot "$1"; read -r end _ < <(record_ink "$1"); (( end >= 0 )); }
start_game "$work/best"
wait_until 10 "the record panel was not painted" record_painted record-best
exit_through_menu

start_game
other=$wid other_pid=$game_pid
start_game
# A plain "Game Over!" box would be titled Quillory, as no window on screen is
# (the application windows stay hidden). The copies' two main windows show
# that a search that finds nothing cannot pass for "no box".
count_titled() { { xdotool search --onlyvisible --name "$1" 2>/dev/null || true; } | wc -l; }
(( $(count_titled '^Quillory 1\.0') == 2 )) || fail "the two copies' main windows are not found"
titled=$(count_titled '^Quillory$')
(( titled == 0 )) || fail "$titled windows titled Quillory before the game"
wait_until 10 "the record panel was not painted" record_painted no-game
read -r label_end _ < <(record_ink no-game)
read -r best_end best_ink < <(record_ink record-best "$label_end")
echo "e2e: record panel ink ends at client x $label_end for negative rows, $best_end for 4321 ($best_ink dark pixels after the label)"
(( label_end > 150 )) || fail "the record panel shows no label"
(( best_end >= label_end + 16 && best_ink >= 16 )) || fail "the record 4321 does not show after the label"
# The played copy's score panel: the other one's holds no number before its game.
score_panel() { window_texts 'Quillory 1.0 [Brindlework]' msctls_statusbar32 | grep -E ' [0-9]+$'; }
# Paused before the first tick can move the snake: the score panel reads 0.
press F9 F10
board_until paused 5 "F10 did not pause the new game" label_shown
[[ "$(score_panel)" == " Score : 0" ]] || fail "the score panel reads '$(score_panel)' at the start"
press F10
board_until running 5 "F10 did not resume the game" moved_since paused
window_shown '^Game Over!$' && fail "a game over before any turn"
# Up, Left, Down before the snake has gone far: the queue applies one turn a
# tick, so the head turns round and runs into the body.
press Up Left Down
dialog=$(wait_for_window '^Game Over!$' 30)
kill -0 "$game_pid" || fail "the game ended instead of asking"
titled=$(count_titled '^Quillory$')
(( titled == 0 )) || fail "$titled windows titled Quillory: a plain Game Over! box although row 1 was earned"

xdotool windowfocus --sync "$dialog" 2>/dev/null || true
wait_until 5 "the name dialog was not painted" window_painted "$dialog"
shoot_window input-empty "$dialog"
xdotool type --delay 40 "$typed"
name_in() { shoot_window input-dialog "$dialog"; (( $(dark_pixels "$out/input-dialog-window.png") - $(dark_pixels "$out/input-empty-window.png") >= 4 * ${#typed} )); }
wait_until 5 "the typed name does not show in the input dialog" name_in
# The typed name in the edit field: the dialog's caption, prompt and caret are
# dark in both pictures; eleven letters add at least four dark pixels each.
empty_dark=$(dark_pixels "$out/input-empty-window.png")
typed_dark=$(dark_pixels "$out/input-dialog-window.png")
echo "e2e: input dialog dark pixels: $empty_dark empty, $typed_dark with the name"
(( typed_dark - empty_dark >= 4 * ${#typed} )) || fail "the typed name does not show in the input dialog"
xdotool key Return

scores=$(wait_for_window '^Top Scores$' 30)
sleep 0.5
shoot_window top-scores "$scores"
window_shown '^Game Over!$' && fail "the input dialog is still open"

# The name column of the top scores dialog, row by row (13 pixels from client
# y 32, client x 32 to 137): where its text ends. Row 1 holds the long new
# name, rows 2 to 10 the old rows 1 to 9, "Old row n" each.
readonly scores_client_width=235 scores_client_height=256
read -r -a name_ends < <(pixels "$out/top-scores-window.png" | awk \
    -v cw="$scores_client_width" -v ch="$scores_client_height" '
    /^[0-9]/ {
        split($1, xy, "[,:]"); gsub(/[()]/, "", $2); pix[xy[1] "," xy[2]] = $2
        if (xy[1] + 1 > W) W = xy[1] + 1
        if (xy[2] + 1 > H) H = xy[2] + 1
    }
    END {
        ox = int((W - cw) / 2); oy = H - ox - ch
        split(pix[(ox + 2) "," (oy + 28)], face, ",")
        for (r = 0; r < 10; r++) {
            end = -1
            for (y = oy + 32 + 13 * r; y < oy + 45 + 13 * r; y++) for (x = ox + 32; x < ox + 137; x++) {
                split(pix[x "," y], c, ",")
                d = (c[1] - face[1])^2 + (c[2] - face[2])^2 + (c[3] - face[3])^2
                if (d > 1600 && x - ox > end) end = x - ox
            }
            printf "%d ", end
        }
        print ""
    }')
echo "e2e: top scores names end at client x ${name_ends[*]}"
(( ${#name_ends[@]} == 10 )) || fail "the top scores picture was not read"
for (( r = 1; r < 10; r++ )); do
    (( name_ends[r] > 32 )) || fail "row $(( r + 1 )) of the top scores shows no name"
    (( name_ends[r] - name_ends[1] <= 3 && name_ends[1] - name_ends[r] <= 3 )) ||
        fail "row $(( r + 1 )) does not look like an old row (ends at ${name_ends[r]}, row 2 at ${name_ends[1]})"
done
(( name_ends[0] >= name_ends[1] + 30 )) ||
    fail "row 1 does not show the new, longer name (ends at ${name_ends[0]}, row 2 at ${name_ends[1]})"

# The saved file: 280 bytes, row 1 the new result, rows 2 to 10 the old 1 to 9.
[[ $(stat -c %s "$work/scores.dat") == 280 ]] || fail "the saved file is not 280 bytes"
new=$(hex "$work/scores.dat")
expected_name=$(printf '%02x' "${#stored}")$(printf '%s' "$stored" | od -An -v -tx1 | tr -d ' \n')
[[ "${new:0:42}" == "$expected_name" ]] ||
    fail "row 1's name: $(printf '%s' "${new:0:42}") instead of $expected_name"
[[ "${new:42:6}" == "${old:42:6}" ]] || fail "row 1's padding bytes changed"
points=$(od -An -t d4 -j 24 -N 4 "$work/scores.dat" | tr -d ' ')
[[ "${new:56}" == "${old:0:504}" ]] || fail "the old rows 1 to 9 did not move down whole"
echo "e2e: row 1 is \"$stored\" with $points points; the old rows moved down"

# Closing the dialog gives the main window back; the game stays over.
# Under an emulated 32-bit Wine the dialog may take its focus late: the key is
# sent again (to the dialog, focused anew) while it stays open, for 10 s.
for (( tries = 0; tries < 5; tries++ )); do
    xdotool windowfocus --sync "$scores" 2>/dev/null || true
    xdotool key Escape
    for _ in $(seq 1 20); do window_shown '^Top Scores$' || break 2; sleep 0.1; done
done
window_shown '^Top Scores$' && fail "Esc did not close the top scores dialog"
# The board keeps the last picture of the game: the snake where it crashed.
crashed() { (( $(sed -n 's/.*body_count=\([0-9]*\).*/\1/p' "$out/$1.txt") >= 4 )); }
board_until after-scores 5 "the finished game's snake is gone from the board" crashed

# No meal before the crash: 0 points saved, and the record, which followed
# the entry, shows nothing after its label for them.
(( points == 0 )) || fail "row 1 holds $points points for a game that ate nothing"
read -r after_end after_ink < <(record_ink after-scores "$label_end")
(( after_end <= label_end + 1 )) || fail "the record shows something for 0 points"

# The About command: a top-level item of the menu bar without an access key,
# reached with the keyboard (Alt selects "Game", then two steps right).
xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool key --delay 150 alt Right Right Return
about=$(wait_for_window '^About$' 30)
about_painted() { shoot_window about "$about"; (( $(colour_count "$out/about-window.png") >= 500 )); }
wait_until 10 "the about window does not show its picture" about_painted
main_shown() { xdotool search --onlyvisible --name '^Quillory 1\.0' 2>/dev/null | grep -qx "$wid"; }
main_shown && fail "the main window stays visible beside the about window"
# Moved by the player and closed: the main window comes back where the about
# window was put. The move goes through the window's own Move command (Alt+Space,
# M, arrows, Enter): an X-side move (xdotool windowmove) of a window on a display
# with no window manager never reaches Wine's idea of where the window is.
position() { xdotool getwindowgeometry --shell "$1" | grep -E '^[XY]=' | tr '\n' ' '; }
opened_at=$(position "$about")
xdotool windowfocus --sync "$about" 2>/dev/null || true
xdotool key --delay 200 alt+space m Left Left Left Left Return
about_at=$(position "$about")
[[ "$about_at" != "$opened_at" ]] || fail "the about window did not move from $opened_at"
xdotool key alt+F4
wait_until 10 "the main window did not come back after the about window" main_shown
main_at=$(position "$wid")
[[ "$main_at" == "$about_at" ]] || fail "the main window came back at $main_at, not at the about window's $about_at"
window_shown '^About$' && fail "the about window is still open"
[[ $(hex "$work/scores.dat") == "$new" ]] || fail "the file changed after the entry"

# A new game in window $wid that runs into its body at once, and the name typed.
end_game_as() {  # name
    press F9 Up Left Down   # one turn at once, two queued for the next ticks
    xdotool windowfocus --sync "$(wait_for_window '^Game Over!$' 30)" 2>/dev/null || true
    xdotool type --delay 40 "$1"
    xdotool key Return
}
# The second copy still holds the table it read at start-up. Its result joins
# the first one's: both names above the old rows 1 to 8.
xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool key alt+F4
wait_for_exit "the first copy did not end"
wid=$other game_pid=$other_pid
xdotool mousemove $(( X + WIDTH / 2 )) $(( Y + 8 )) click 1   # its caption: activated
end_game_as Bob
wait_for_window '^Top Scores$' 30 > /dev/null
grep -aq "$stored" "$work/scores.dat" && grep -aq 'Bob (level 7)' "$work/scores.dat" ||
    fail "the second copy's save lost a result"
[[ $(hex "$work/scores.dat" | cut -c 113-) == "${old:0:448}" ]] || fail "rows 3 to 10 are not the old rows 1 to 8"

if mount_small_tmpfs "$work/full" 16k; then
    cp "$work/scores.dat" "$work/full/"
    head -c 12288 /dev/zero > "$work/full/filler" 2>/dev/null || true   # the disk is full
    start_game "$work/full"
    titled_ids() { xdotool search --onlyvisible --name '^Quillory$' 2>/dev/null | sort; }
    before_box=$(titled_ids) scores_shown=$(count_titled '^Top Scores$')
    end_game_as Cy
    for _ in $(seq 1 20); do box=$(window_texts Quillory Static | grep . || true); [[ -n "$box" ]] && break; done
    shoot disk-full
    [[ "$box" == "Disk full." ]] || fail "the save on a full disk says '$box', not \"Disk full.\""
    # Once the box is answered, the failed save shows no top scores dialog.
    xdotool windowfocus --sync "$(comm -13 <(echo "$before_box") <(titled_ids) | head -1)" 2>/dev/null || true
    xdotool key Return
    wait_until 10 "the box did not close" eval '[[ "$(titled_ids)" == "$before_box" ]]'
    sleep 1   # time for a top scores dialog to show, were it to
    (( $(count_titled '^Top Scores$') == scores_shown )) || fail "the top scores dialog followed a failed save"
    cmp -s "$work/scores.dat" "$work/full/scores.dat" || fail "the old file changed"
    [[ $(ls "$work/full") == $'filler\nscores.dat' ]] || fail "left beside the file: $(ls "$work/full")"
else
    skipped="; SKIPPED: the save on a full disk (no tmpfs can be mounted here)"
    echo "e2e: SKIPPED: the save on a full disk: no tmpfs can be mounted here"
fi
echo "e2e: PASS${skipped:-} (screenshots in $out)"
