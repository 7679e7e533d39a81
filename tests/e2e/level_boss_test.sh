#!/usr/bin/env bash
# End to end: the level dialog and boss mode of the real quillory.exe under
# Wine on the current (virtual) display. F11 opens "Level 7"; pointing at bar 5
# lights it; a click on bar 3 makes it "Level 3"; after OK and F9 the snake
# runs at the level-3 pace. Del hides the window and puts the icon in a
# notification area (on a display without a system tray, Wine's own "Wine
# System Tray" window); a click on it, or a second start, brings the window back, paused.
# Usage: level_boss_test.sh QUILLORY_EXE WINEPREFIX OUTPUT_DIR
source "$(dirname "$0")/e2e_lib.sh"

readonly level_client_width=152 level_client_height=121
readonly main_name='^Quillory 1\.0 \[Brindlework\]$' tray_name='^Wine System Tray$'

dark() { local IFS=,; set -- $1; (( $1 < 70 && $2 < 70 && $3 < 70 )); }
# F11, then keys by the server's keyboard (see press_real) once the dialog is painted: sooner, they are lost.
f11_keys() { press_real F11; dlg=$(wait_for_window "$1"); wait_until 5 "no $1" window_painted "$dlg"; xdotool key "${@:2}"; }
# The head of a snake that has only gone right in row 10 of an analysed
# picture: the body cell whose right neighbour is free (columns count from 1
# and the board wraps after 30); -1 for none.
head_column() {
    local cells=" $(body_of "$1") " cell column
    for cell in $cells; do
        [[ "${cell#*,}" == 10 ]] || continue
        column=${cell%,*}
        [[ "$cells" == *" $(( column % 30 + 1 )),10 "* ]] || { echo "$column"; return; }
    done
    echo -1
}

start_game
[[ -z "$(visible_window "$tray_name")" ]] || fail "a tray icon is shown before boss mode"

# ---- the level dialog (the pointer out of its way, so no bar is lit by chance)
xdotool mousemove 1000 700
f11_keys '^Level 7$' 5 Escape   # the keyboard first: the digit's level is the one F11 shows next
wait_until 5 "Esc did not close the level dialog" window_gone '^Level [57]$'
f11_keys '^Level 5$' 7 Return
wait_until 5 "Enter did not close the level dialog" window_gone '^Level [57]$'
press_real F11
dlg=$(wait_for_window '^Level 7$')
wait_until 5 "the level dialog was not painted" window_painted "$dlg"
eval "$(xdotool getwindowgeometry --shell "$dlg" | sed 's/^/D_/')"
# Wine draws the frame inside the X window: the client sits at the bottom,
# with equal borders left, right and below.
border=$(( (D_WIDTH - level_client_width) / 2 ))
cx=$(( D_X + border ))
cy=$(( D_Y + D_HEIGHT - border - level_client_height ))
echo "e2e: level dialog $dlg at $D_X,$D_Y size ${D_WIDTH}x$D_HEIGHT, client at $cx,$cy"
bar_x() { echo $(( cx + 8 + 16 * ($1 - 1) + 4 )); }
bar_y() { echo $(( cy + 80 - 8 * $1 + 4 * $1 )); }   # the middle of bar n

shoot_rect level-rest "$D_WIDTH" "$D_HEIGHT" "$D_X" "$D_Y"
rest5=$(pixel_at level-rest "$(bar_x 5)" "$(bar_y 5)")
dark "$(pixel_at level-rest "$(bar_x 7)" "$(bar_y 7)")" || fail "bar 7 is not black at level 7"
dark "$(pixel_at level-rest "$(bar_x 8)" "$(bar_y 8)")" && fail "bar 8 is black at level 7"
dark "$rest5" || fail "bar 5 is not black at level 7 ($rest5)"

bar_lit() {
    shoot_rect level-hot "$D_WIDTH" "$D_HEIGHT" "$D_X" "$D_Y"
    [[ "$(pixel_at level-hot "$(bar_x 5)" "$(bar_y 5)")" != "$rest5" ]]
}
xdotool mousemove "$(bar_x 5)" "$(bar_y 5)"
wait_until 5 "bar 5 does not light up under the pointer" bar_lit
echo "e2e: bar 5 at rest $rest5, under the pointer $(pixel_at level-hot "$(bar_x 5)" "$(bar_y 5)")"

caption_is() { [[ "$(xdotool getwindowname "$dlg")" == "$1" ]]; }
xdotool mousemove "$(bar_x 3)" "$(bar_y 3)" click 1
wait_until 5 "after a click on bar 3 the caption is not Level 3" caption_is "Level 3"
at_level_3() {
    shoot_rect level-3 "$D_WIDTH" "$D_HEIGHT" "$D_X" "$D_Y"
    dark "$(pixel_at level-3 "$(bar_x 3)" "$(bar_y 3)")" &&
        ! dark "$(pixel_at level-3 "$(bar_x 4)" "$(bar_y 4)")"
}
xdotool mousemove 1000 700   # bar 3 goes out of hot
wait_until 5 "the bars do not show level 3 (bar 3 black, bar 4 not)" at_level_3

xdotool mousemove $(( cx + 39 + 37 )) $(( cy + 88 + 12 )) click 1
wait_until 5 "OK did not close the level dialog" window_gone '^Level 3$'

# ---- the level-3 pace: 195 ms a cell (level 7 would be 95)
press F9
board_until pace0 5 "no snake after F9" has_snake
t1=$(date +%s%N)
shoot pace1
t2=$(date +%s%N)
sleep 1.6   # the span the pace is measured over
t3=$(date +%s%N)
shoot pace2
t4=$(date +%s%N)
analyse pace1 >/dev/null
analyse pace2 >/dev/null
h1=$(head_column pace1)
h2=$(head_column pace2)
# Columns counted the way the snake goes: across the right edge it comes back
# at column 0, which the 1.6 s (about eight cells) cannot go round twice.
cells=$(( (h2 - h1 + 30) % 30 ))
(( h1 > 0 && h2 > 0 && cells > 0 )) || fail "the snake's head was not followed (columns $h1, $h2)"
elapsed=$(( ( (t3 + t4) - (t1 + t2) ) / 2000000 ))
(( elapsed < 25 * 150 )) || fail "the two pictures lie $elapsed ms apart: too far to follow the head"
per_cell=$(( elapsed / cells ))
echo "e2e: head from column $h1 to $h2 in $elapsed ms: $per_cell ms a cell"
(( per_cell >= 150 && per_cell <= 260 )) || fail "not the level-3 pace: $per_cell ms a cell"

# ---- boss mode (Del hides the window while the key is down: see press_real)
press_real Delete
wait_until 5 "Del did not hide the main window" window_gone "$main_name"
wait_until 5 "no notification area shows an icon in boss mode" window_shown "$tray_name"
tray=$(visible_window "$tray_name")
eval "$(xdotool getwindowgeometry --shell "$tray" | sed 's/^/T_/')"
import -window root "$out/tray-full.png"
# The icon: the green of its picture, below the tray's caption bar.
read -r ix iy count < <(pixels "$out/tray-full.png" -crop "${T_WIDTH}x${T_HEIGHT}+$T_X+$T_Y" +repage |
    awk -v top=$(( T_HEIGHT / 2 )) '
    /^[0-9]/ {
        split($1, xy, "[,:]"); gsub(/[()]/, "", $2); split($2, c, ",")
        if (xy[2] >= top && c[2] > 120 && c[2] > c[1] + 40 && c[2] > c[3] + 40) { sx += xy[1]; sy += xy[2]; n++ }
    }
    END { if (n) printf "%d %d %d\n", sx / n, sy / n, n; else print "0 0 0" }')
(( count > 10 )) || fail "the icon is not in the tray window"
ix=$(( T_X + ix )); iy=$(( T_Y + iy ))
echo "e2e: tray window $tray at $T_X,$T_Y size ${T_WIDTH}x$T_HEIGHT, icon at $ix,$iy"
xdotool mousemove "$ix" "$iy"
sleep 1.5   # long enough for the tip
shoot_rect tray 320 100 0 0

xdotool click 1
wait_until 5 "the click on the icon did not bring the window back" window_shown "$main_name"
wait_until 5 "the icon stayed after the click" window_gone "$tray_name"
xdotool mousemove 1000 700   # the pointer off the board
board_until back 5 "the red Paused... label is not shown after boss mode" label_shown
sleep 0.6   # some three ticks at level 3: a paused snake stays where it is
shoot back-later
analyse back-later >/dev/null
same_snake back back-later "the snake moved after boss mode before Pause"

press F10
board_until resumed 5 "Pause did not resume the game" moved_since back
label_gone resumed || fail "Pause did not take the label away"

press_real Delete   # and starting again brings the copy in boss mode back; the start ends
wait_until 5 "Del did not hide the main window again" window_gone "$main_name"
(cd "$work" && WINEPREFIX="$prefix" WINEDEBUG=-all timeout 20 "$wine" "$exe") || fail "a second start did not end ($?)"
[[ "$(wait_for_window "$main_name")" == "$wid" ]] || fail "starting again did not bring the copy back"
echo "e2e: PASS (screenshots in $out)"
