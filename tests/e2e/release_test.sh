#!/usr/bin/env bash
# End to end: the executable players download, exactly as `make dist` ships
# it (the 32-bit build, optimised and stripped), under 32-bit Wine. It opens
# its window, a new game moves the snake, the Game menu opens in the flat
# style (the navy selection frame around its first entry), and its Exit
# command ends the program cleanly.
# Usage: release_test.sh QUILLORY_EXE WINEPREFIX OUTPUT_DIR
set -euo pipefail
exe=$1
prefix=$2
out=$3
source "$(dirname "$0")/e2e_lib.sh"

[[ "$wine" == /usr/lib/wine/wine ]] || fail "$exe is not the 32-bit game"

start_game
press F9
sleep 0.3
shoot first
analyse first
sleep 0.6
shoot later
analyse later
first=$(sed -n 's/.*body=\(.*\)$/\1/p' "$out/first.txt")
later=$(sed -n 's/.*body=\(.*\)$/\1/p' "$out/later.txt")
[[ -n "$first" ]] || fail "no snake after F9"
[[ "$first" != "$later" ]] || fail "the snake did not move"

press alt+g
popup=
for _ in $(seq 1 30); do
    for w in $(xdotool search --onlyvisible --name '^$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        (( WIDTH < 1024 && WIDTH > 20 && HEIGHT > 20 )) && { popup="$X $Y $WIDTH $HEIGHT"; break 2; }
    done
    sleep 0.1
done
[[ -n "$popup" ]] || fail "alt+g opened no Game menu"
read -r px py pw ph <<< "$popup"
sleep 0.4
import -window root "$out/menu.png"
navy=$(convert "$out/menu.png" -crop "${pw}x30+$px+$py" +repage -depth 8 txt:- |
       awk 'index($0, "(0,0,128)") { n++ } END { print n + 0 }')
(( navy > 2 * pw )) || fail "the Game menu is not flat ($navy navy pixels around its first entry)"

xdotool key x
wait_for_exit "Exit did not end the program"
echo "e2e: PASS (screenshots in $out)"
