#!/usr/bin/env bash
# End to end: the flat menus of the real quillory.exe under Wine. The Game,
# Options and About captions opened with the keyboard and with the mouse,
# entries hovered and selected; the screenshots are checked for the flat
# look's colours: the selection (227, 238, 250) framed in navy, the icon
# column gradient fading to (251, 253, 254), the popup frame and its shadow
# shaded from the system's button face (worked out by a helper), the selected
# bar caption's frame.
# Usage: menu_test.sh QUILLORY_EXE WINEPREFIX OUTPUT_DIR STYLE_COLOURS_EXE
set -euo pipefail
exe=$1
prefix=$2
out=$3
source "$(dirname "$0")/e2e_lib.sh"
load_style_colours "$4"   # the system's button face, the popup frame and shadow

readonly select_fill=227,238,250 navy=0,0,128 far_gradient=251,253,254 icon=166,202,240
readonly frame=$menu_frame shadow=$menu_shadow

# The geometry of the open popup menu (a visible window without a name that
# is not the screen): "x y width height", or nothing.
popup_geometry() {
    local w X Y WIDTH HEIGHT SCREEN WINDOW
    for w in $(xdotool search --onlyvisible --name '^$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        (( WIDTH < 1024 && WIDTH > 20 && HEIGHT > 20 )) && { echo "$X $Y $WIDTH $HEIGHT"; return 0; }
    done
}

wait_for_popup() {
    local g=
    for _ in $(seq 1 30); do
        g=$(popup_geometry)
        [[ -n "$g" ]] && { echo "$g"; return 0; }
        sleep 0.1
    done
    fail "no popup menu opened ($1)"
}

wait_for_no_popup() {
    for _ in $(seq 1 30); do
        [[ -z "$(popup_geometry)" ]] && return 0
        sleep 0.1
    done
    fail "the popup menu did not close ($1)"
}

expect_pixel() {  # shot x y colour what
    local got
    got=$(pixel_at "$1" "$2" "$3")
    [[ "$got" == "$4" ]] || fail "$5: ($2,$3) in $1 is $got, not $4"
}

# How many pixels of a colour lie in a rectangle of a screenshot.
count_colour() {  # shot x y width height colour
    convert "$out/$1.png" -crop "${4}x${5}+$2+$3" +repage -depth 8 txt:- |
        awk -v c="($6)" 'index($0, c) { n++ } END { print n + 0 }'
}

# The popup's frame, shadow, notches and columns.
check_popup_frame() {  # shot x y width height
    local shot=$1 px=$2 py=$3 pw=$4 ph=$5
    expect_pixel "$shot" "$px" $((py + ph / 2)) "$frame" "left frame"
    expect_pixel "$shot" $((px + pw / 2)) "$py" "$frame" "top frame"
    expect_pixel "$shot" $((px + pw - 3)) $((py + ph / 2)) "$frame" "right frame"
    expect_pixel "$shot" $((px + pw / 2)) $((py + ph - 3)) "$frame" "bottom frame"
    expect_pixel "$shot" $((px + 1)) $((py + ph / 2)) "$icon" "icon colour inside the left frame"
    expect_pixel "$shot" $((px + 2)) $((py + ph / 2)) "$icon" "icon colour inside the left frame"
    expect_pixel "$shot" $((px + pw - 1)) $((py + ph / 2)) "$shadow" "right shadow"
    expect_pixel "$shot" $((px + pw - 2)) $((py + 2)) "$shadow" "right shadow's top"
    expect_pixel "$shot" $((px + pw / 2)) $((py + ph - 1)) "$shadow" "bottom shadow"
    [[ "$(pixel_at "$shot" $((px + pw - 1)) "$py")" != "$shadow" ]] || fail "no notch at the top right"
    [[ "$(pixel_at "$shot" "$px" $((py + ph - 1)))" != "$shadow" ]] || fail "no notch at the bottom left"
    expect_pixel "$shot" $((px + pw - 6)) $((py + ph / 2)) "$far_gradient" "the gradient's far end"
}

start_game
shoot start

# ---- keyboard: Alt+G opens Game with its first entry selected.
press alt+g
read -r gx gy gw gh <<< "$(wait_for_popup 'alt+g')"
sleep 0.5
shoot game-keys
echo "e2e: Game popup at $gx,$gy ${gw}x$gh"
echo "e2e: button face $dialog, popup frame $frame, shadow $shadow"
expect_pixel start $((gx + 1)) $((gy - 4)) "$dialog" "the idle bar caption in MenuBarColor"
check_popup_frame game-keys "$gx" "$gy" "$gw" "$gh"
# Entries are 23 pixels high below a 3-pixel top margin; the far right of an
# entry shows the selection or the gradient.
first_y=$((gy + 3 + 11)) second_y=$((gy + 3 + 23 + 11)) right_x=$((gx + gw - 8))
expect_pixel game-keys "$right_x" "$first_y" "$select_fill" "the first entry is selected"
expect_pixel game-keys "$right_x" "$second_y" "$far_gradient" "the second entry is not"
(( $(count_colour game-keys "$gx" "$gy" "$gw" 30 "$navy") > 250 )) || fail "no navy selection frame"
# The selected bar caption: framed in navy, filled with the selection colour.
expect_pixel game-keys "$gx" $((gy - 6)) "$navy" "the caption's left frame"
(( $(count_colour game-keys "$gx" $((gy - 18)) 40 16 "$select_fill") > 200 )) || fail "the caption is not selected"

press Down
sleep 0.4
shoot game-down
expect_pixel game-down "$right_x" "$first_y" "$far_gradient" "Down leaves the first entry"
expect_pixel game-down "$right_x" "$second_y" "$select_fill" "Down selects the second entry"

# ---- keyboard: Options.
press Escape Escape
wait_for_no_popup Escape
press alt+o
read -r ox oy ow oh <<< "$(wait_for_popup 'alt+o')"
sleep 0.5
shoot options-keys
(( ox > gx )) || fail "the Options popup is not right of the Game popup"
check_popup_frame options-keys "$ox" "$oy" "$ow" "$oh"
expect_pixel options-keys $((ox + ow - 8)) $((oy + 3 + 11)) "$select_fill" "Level is selected"
expect_pixel options-keys "$ox" $((oy - 6)) "$navy" "the Options caption's frame"

# ---- keyboard: About has no popup; two steps right from Game select it on the bar.
press Escape Escape
wait_for_no_popup Escape
press_real alt Right Right
sleep 0.6
shoot about-keys
[[ -z "$(popup_geometry)" ]] || fail "About opened a popup"
about_navy=$(count_colour about-keys $((ox + 20)) $((oy - 20)) 120 18 "$navy")
(( about_navy > 40 )) || fail "the About caption is not selected ($about_navy navy pixels)"
press_real Escape
sleep 0.3

# ---- mouse: a click on Game opens it, a hovered entry is selected.
xdotool mousemove $((gx + 12)) $((gy - 8)) click 1
read -r mx my mw mh <<< "$(wait_for_popup 'a click on Game')"
[[ "$mx $my" == "$gx $gy" ]] || fail "the clicked Game popup opened at $mx,$my"
sleep 0.3
xdotool mousemove $((gx + 60)) "$second_y"
sleep 0.5
shoot game-mouse
check_popup_frame game-mouse "$gx" "$gy" "$gw" "$gh"
expect_pixel game-mouse "$right_x" "$second_y" "$select_fill" "the hovered entry is selected"
expect_pixel game-mouse "$right_x" "$first_y" "$far_gradient" "the first entry is not"

# Moving along the bar opens Options in its place.
xdotool mousemove $((ox + 12)) $((oy - 8))
sleep 0.6
read -r px py pw ph <<< "$(wait_for_popup 'moving to Options')"
[[ "$px" == "$ox" ]] || fail "moving to Options opened a popup at $px"
xdotool mousemove $((ox + 40)) $((oy + 3 + 11))
sleep 0.5
shoot options-mouse
check_popup_frame options-mouse "$ox" "$oy" "$ow" "$oh"
expect_pixel options-mouse $((ox + ow - 8)) $((oy + 3 + 11)) "$select_fill" "the hovered Level entry"
press_real Escape Escape
wait_for_no_popup Escape

# ---- mouse: About acts at once and shows the about window.
xdotool mousemove $((ox + 80)) $((oy - 8))
sleep 0.5
shoot about-hover
xdotool click 1
about=$(wait_for_window '^About$' 30)
xdotool windowfocus --sync "$about" 2>/dev/null || true
xdotool key alt+F4
wait_for_window '^Quillory 1\.0 \[Brindlework\]$' 30 > /dev/null

echo "e2e: PASS (screenshots in $out)"
