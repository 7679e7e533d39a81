#!/usr/bin/env bash
# End to end: the flat menus of the real quillory.exe under Wine. The Game,
# Options and About captions opened with the keyboard and with the mouse,
# entries hovered and selected; the screenshots are checked for the flat
# look's colours: the selection (227, 238, 250) framed in navy, the icon
# column gradient fading to (251, 253, 254), the popup frame and its shadow
# shaded from the system's button face (worked out by a helper), the selected
# bar caption's frame.
# Usage: menu_test.sh QUILLORY_EXE WINEPREFIX OUTPUT_DIR STYLE_COLOURS_EXE
source "$(dirname "$0")/e2e_lib.sh"
load_style_colours "$4"   # the system's button face, the popup frame and shadow

readonly select_fill=227,238,250 navy=0,0,128 far_gradient=251,253,254 icon=166,202,240
readonly frame=$menu_frame shadow=$menu_shadow

wait_for_popup() {
    wait_until 3 "no popup menu opened ($1)" popup_open
    popup_geometry
}
wait_for_no_popup() { wait_until 3 "the popup menu did not close ($1)" popup_closed; }

# A full-screen shot as NAME that shows every "x y=r,g,b" given; taken again
# until it does, for at most five seconds.
shot_shows() {
    local name=$1 want
    shift
    import -window root "$out/$name.png"
    for want in "$@"; do
        # shellcheck disable=SC2086
        [[ "$(pixel_at "$name" ${want%=*})" == "${want#*=}" ]] || return 1
    done
}
wait_for_shot() {  # name message want...
    wait_until 5 "$2" shot_shows "$1" "${@:3}"
}

expect_pixel() {  # shot x y colour what
    local got
    got=$(pixel_at "$1" "$2" "$3")
    [[ "$got" == "$4" ]] || fail "$5: ($2,$3) in $1 is $got, not $4"
}

# How many pixels of a colour lie in a rectangle of a screenshot.
count_colour() { colour_pixels "$out/$1.png" "$6" -crop "${4}x${5}+$2+$3" +repage; }  # shot x y w h colour

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
echo "e2e: Game popup at $gx,$gy ${gw}x$gh"
echo "e2e: button face $dialog, popup frame $frame, shadow $shadow"
expect_pixel start $((gx + 1)) $((gy - 4)) "$dialog" "the idle bar caption in MenuBarColor"
# Entries are 23 pixels high below a 3-pixel top margin; the far right of an
# entry shows the selection or the gradient.
first_y=$((gy + 3 + 11)) second_y=$((gy + 3 + 23 + 11)) right_x=$((gx + gw - 8))
wait_for_shot game-keys "the Game popup was not drawn framed with its first entry selected" \
    "$right_x $first_y=$select_fill" "$gx $((gy + gh / 2))=$frame"
check_popup_frame game-keys "$gx" "$gy" "$gw" "$gh"
expect_pixel game-keys "$right_x" "$first_y" "$select_fill" "the first entry is selected"
expect_pixel game-keys "$right_x" "$second_y" "$far_gradient" "the second entry is not"
(( $(count_colour game-keys "$gx" "$gy" "$gw" 30 "$navy") > 250 )) || fail "no navy selection frame"
# The selected bar caption: framed in navy, filled with the selection colour.
expect_pixel game-keys "$gx" $((gy - 6)) "$navy" "the caption's left frame"
(( $(count_colour game-keys "$gx" $((gy - 18)) 40 16 "$select_fill") > 200 )) || fail "the caption is not selected"

press Down
wait_for_shot game-down "Down did not move the selection to the second entry" \
    "$right_x $second_y=$select_fill" "$right_x $first_y=$far_gradient"

# ---- keyboard: Options.
press Escape Escape
wait_for_no_popup Escape
press alt+o
read -r ox oy ow oh <<< "$(wait_for_popup 'alt+o')"
(( ox > gx )) || fail "the Options popup is not right of the Game popup"
wait_for_shot options-keys "the Options popup was not drawn framed with Level selected" \
    "$((ox + ow - 8)) $((oy + 3 + 11))=$select_fill" "$ox $((oy + oh / 2))=$frame"
check_popup_frame options-keys "$ox" "$oy" "$ow" "$oh"
expect_pixel options-keys "$ox" $((oy - 6)) "$navy" "the Options caption's frame"

# ---- keyboard: About has no popup; two steps right from Game select it on the bar.
press Escape Escape
wait_for_no_popup Escape
# The navy pixels of the About caption's selection frame, in a new shot.
about_navy() { shoot "$1"; count_colour "$1" $((ox + 20)) $((oy - 20)) 120 18 "$navy"; }
about_selected() { (( $(about_navy "$1") > 40 )); }
about_idle() { (( $(about_navy "$1") == 0 )); }
press_real alt Right Right
wait_until 5 "two steps right did not select the About caption" about_selected about-keys
popup_closed || fail "About opened a popup"
press_real Escape
wait_until 5 "Escape did not leave the menu bar" about_idle about-idle

# ---- mouse: a click on Game opens it, a hovered entry is selected.
xdotool mousemove $((gx + 12)) $((gy - 8)) click 1
read -r mx my mw mh <<< "$(wait_for_popup 'a click on Game')"
[[ "$mx $my" == "$gx $gy" ]] || fail "the clicked Game popup opened at $mx,$my"
xdotool mousemove $((gx + 60)) "$second_y"
wait_for_shot game-mouse "the hovered entry is not the one selected" \
    "$right_x $second_y=$select_fill" "$right_x $first_y=$far_gradient"
check_popup_frame game-mouse "$gx" "$gy" "$gw" "$gh"

# Moving along the bar opens Options in its place.
options_open() { [[ "$(popup_geometry)" == "$ox "* ]]; }
xdotool mousemove $((ox + 12)) $((oy - 8))
wait_until 5 "moving to Options opened no popup in its place" options_open
xdotool mousemove $((ox + 40)) $((oy + 3 + 11))
wait_for_shot options-mouse "the hovered Level entry is not selected" \
    "$((ox + ow - 8)) $((oy + 3 + 11))=$select_fill" "$ox $((oy + oh / 2))=$frame"
check_popup_frame options-mouse "$ox" "$oy" "$ow" "$oh"
press_real Escape Escape
wait_for_no_popup Escape

# ---- mouse: About acts at once and shows the about window.
xdotool mousemove $((ox + 80)) $((oy - 8)) click 1
about=$(wait_for_window '^About$' 30)
xdotool windowfocus --sync "$about" 2>/dev/null || true
xdotool key alt+F4
wait_for_window '^Quillory 1\.0 \[Brindlework\]$' 30 > /dev/null

echo "e2e: PASS (screenshots in $out)"
