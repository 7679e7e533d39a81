#!/usr/bin/env bash
# End to end: the game's dialogs in the flat style. The level dialog, the top
# scores dialog, the "Confirm" question and the name dialog of a game over
# are captured as a player sees them, at rest and with the mouse over a
# button: flat faces in the style's colours (worked out from this system's
# scheme by a helper), a lighter face under the mouse or with the focus, the
# edit's one-pixel frame. The name typed into the styled dialog is in the
# score file afterwards. The screenshots stay in the output folder.
# Usage: dialogs_style_test.sh QUILLORY_EXE WINEPREFIX OUTPUT_DIR STYLE_COLOURS_EXE
colours_exe=$4
source "$(dirname "$0")/e2e_lib.sh"

load_style_colours "$colours_exe"
[[ "$button_hot" != "$dialog" ]] || fail "the hot face cannot be told from the dialog"
echo "e2e: button $button, hot $button_hot, dialog $dialog, edit focus $edit_focus"

# "count left top right bottom" of the pixels of one colour in a picture.
colour_box() {  # picture r,g,b [options...]
    local picture=$1 colour=$2
    shift 2
    pixels "$picture" "$@" | awk -v want="$colour" '
        /^[0-9]/ {
            split($1, xy, "[,:]"); gsub(/[()]/, "", $2); split($2, c, ",")
            if (c[1] "," c[2] "," c[3] != want) next
            n++; x = xy[1]; y = xy[2]
            if (n == 1 || x < l) l = x; if (n == 1 || y < t) t = y
            if (n == 1 || x > r) r = x; if (n == 1 || y > b) b = y
        }
        END { printf "%d %d %d %d %d\n", n, l + 0, t + 0, r + 0, b + 0 }'
}
# A new shot of the window as NAME holds at least that many pixels of the colour.
shot_holds() {  # name window-id colour pixels
    shoot_window "$1" "$2"
    (( $(colour_pixels "$out/$1-window.png" "$3") >= $4 ))
}

# A flat button face is at least this many pixels (75 x 25 less caption and edges).
readonly face_pixels=1000

# Moves the pointer to the centre of the box found in a window picture.
point_at_box() {  # window-id "n l t r b"
    local X Y WIDTH HEIGHT SCREEN WINDOW n l t r b
    eval "$(xdotool getwindowgeometry --shell "$1")"
    read -r n l t r b <<< "$2"
    xdotool mousemove $(( X + (l + r) / 2 )) $(( Y + (t + b) / 2 ))
}

# Ten empty rows of negative points, so that the game over asks for a name.
for _ in $(seq 1 10); do printf '\x00%.0s' $(seq 1 24); printf '\xff\xff\xff\xff'; done > "$work/scores.dat"
[[ $(stat -c %s "$work/scores.dat") == 280 ]] || fail "the prepared file is not 280 bytes"

start_game
xdotool mousemove 5 5

# The level dialog: its only button has the focus, so it shows the lighter face.
press F11
level=$(wait_for_window '^Level [1-9]$')
wait_until 5 "the level dialog's OK button is not flat" \
    shot_holds level "$level" "$button_hot" "$face_pixels"
n=$(colour_pixels "$out/level-window.png" "$button_hot")
echo "e2e: level dialog: $n pixels of the focused flat face"
(( n >= face_pixels )) || fail "the level dialog's OK button is not flat ($n pixels)"
box=$(colour_box "$out/level-window.png" "$button_hot")
point_at_box "$level" "$box"
xdotool click 1
wait_until 5 "OK did not close the level dialog" window_gone '^Level [1-9]$'

# The top scores dialog: OK has the focus, "Clear !" rests in the style's colour.
press F12
scores=$(wait_for_window '^Top Scores$')
wait_until 5 "the Clear ! button is not flat" shot_holds scores "$scores" "$button" "$face_pixels"
# Read above the disabled "&Watch..." button (client y 217 of 256, below
# OK and "Clear !", which end at 209): it rests in the same colour.
read -r width height < <(identify -format '%w %h\n' "$out/scores-window.png")
above_watch=(-gravity south -chop "0x$(( (width - 235) / 2 + 256 - 213 ))")
box=$(colour_box "$out/scores-window.png" "$button" "${above_watch[@]}")
n=${box%% *}
echo "e2e: top scores: $n pixels of the resting flat face ($box)"
(( n >= face_pixels )) || fail "the Clear ! button is not flat ($n pixels)"
(( $(colour_pixels "$out/scores-window.png" "$button_hot") >= face_pixels )) ||
    fail "the focused OK button is not lighter"
clear_lit() {
    shoot_window scores-hover "$scores"
    (( $(colour_pixels "$out/scores-hover-window.png" "$button" "${above_watch[@]}") < face_pixels / 4 ))
}
point_at_box "$scores" "$box"
wait_until 5 "Clear ! does not light up under the mouse" clear_lit
n_rest=$(colour_pixels "$out/scores-hover-window.png" "$button" "${above_watch[@]}")
n_hot=$(colour_pixels "$out/scores-hover-window.png" "$button_hot")
echo "e2e: top scores, mouse over Clear !: $n_rest resting, $n_hot lighter pixels"
(( n_rest < face_pixels / 4 && n_hot >= 2 * face_pixels )) || fail "Clear ! does not light up under the mouse"
xdotool mousemove 5 5
press_real Escape
wait_until 5 "Esc did not close the top scores dialog" window_gone '^Top Scores$'

# The "Confirm" question of a new game during a game: "&No" rests flat.
press_real F10   # the top scores command left the game paused; none is running anyway
press_real F9 F9
confirm=$(wait_for_window '^Confirm$')
wait_until 5 "the No button of the question is not flat" \
    shot_holds confirm "$confirm" "$button" "$face_pixels"
box=$(colour_box "$out/confirm-window.png" "$button")
n=${box%% *}
hot=$(colour_pixels "$out/confirm-window.png" "$button_hot")   # the focused button
echo "e2e: confirm: $n pixels of the resting flat face, $hot lighter"
(( n >= face_pixels )) || fail "the No button of the question is not flat"
# Under the mouse No leaves its resting face for the lighter one, on top of
# the focused button's.
no_lit() {
    shoot_window confirm-hover "$confirm"
    n_rest=$(colour_pixels "$out/confirm-hover-window.png" "$button")
    n_hot=$(colour_pixels "$out/confirm-hover-window.png" "$button_hot")
    (( n_rest < face_pixels / 4 && n_hot >= hot + face_pixels ))
}
point_at_box "$confirm" "$box"
wait_until 5 "No does not take the lighter face under the mouse" no_lit
echo "e2e: confirm, mouse over No: $n_rest resting, $n_hot lighter pixels"
xdotool click 1   # No: the game goes on
wait_until 5 "No did not close the question" window_gone '^Confirm$'
xdotool mousemove 5 5

# A game over: the name dialog is flat, its edit framed; what is typed is kept.
press_real Up Left Down
name=$(wait_for_window '^Game Over!$' 40)
xdotool windowfocus --sync "$name" 2>/dev/null || true
wait_until 5 "the edit has no one-pixel frame" shot_holds name "$name" "$edit_focus" 300
# Under an emulated 32-bit Wine the buttons may be painted after the edit.
wait_until 5 "OK and Cancel of the name dialog are not flat" \
    shot_holds name "$name" "$button" $(( 2 * face_pixels ))
n=$(colour_pixels "$out/name-window.png" "$button")
frame=$(colour_pixels "$out/name-window.png" "$edit_focus")
echo "e2e: name dialog: $n pixels of flat faces, $frame of the focused edit's frame"
(( n >= 2 * face_pixels )) || fail "OK and Cancel of the name dialog are not flat"
(( frame >= 300 )) || fail "the edit has no one-pixel frame ($frame pixels)"
xdotool type --delay 30 "Flat Player"
press_real Return
scores=$(wait_for_window '^Top Scores$' 40)
wait_until 5 "the top scores dialog was not painted" window_painted "$scores"
shoot_window scores-after "$scores"
[[ -f "$work/scores.dat" ]] || fail "no score file"
head -c 21 "$work/scores.dat" | tail -c 20 | grep -q "Flat Player (level 7" ||
    fail "the typed name is not in the score file: $(head -c 21 "$work/scores.dat" | od -c | head -2)"
echo "e2e: the score file holds the name typed into the styled dialog"
