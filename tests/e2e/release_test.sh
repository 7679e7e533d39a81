#!/usr/bin/env bash
# End to end: the executable players download, exactly as `make dist` ships
# it (the 32-bit build, optimised and stripped), under 32-bit Wine. It opens
# its window, a new game moves the snake, the Game menu opens in the flat
# style (the navy selection frame around its first entry), and its Exit
# command ends the program cleanly.
# Usage: release_test.sh QUILLORY_EXE WINEPREFIX OUTPUT_DIR
source "$(dirname "$0")/e2e_lib.sh"

[[ "$wine" == /usr/lib/wine/wine ]] || fail "$exe is not the 32-bit game"

start_game
press F9
board_until first 5 "no snake after F9" has_snake
board_until later 5 "the snake did not move" moved_since first

# The Game menu: the navy selection frame around its first entry.
navy_around_first() {
    import -window root "$out/menu.png"
    navy=$(colour_pixels "$out/menu.png" 0,0,128 -crop "${pw}x30+$px+$py" +repage)
    (( navy > 2 * pw ))
}
press alt+g
wait_until 5 "alt+g opened no Game menu" popup_open
read -r px py pw ph <<< "$(popup_geometry)"
wait_until 5 "the Game menu is not flat (no navy frame around its first entry)" navy_around_first

xdotool key x
wait_for_exit "Exit did not end the program"
echo "e2e: PASS (screenshots in $out)"
