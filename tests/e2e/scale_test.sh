#!/usr/bin/env bash
# End to end: the game on a screen of 144 dpi (LogPixels 144 in a scratch copy
# of the prefix; the build tree's own prefix is left as it is). The board's
# cells measure 15 pixels from one to the next in a screen capture, and the
# status bar shows all four panels' texts whole at its scaled height. Started
# beside a library of the test's own named "shcore.dll" and "dwmapi.dll", the
# game never loads it.
# Usage: scale_test.sh QUILLORY_EXE WINEPREFIX OUTPUT_DIR PLANTED_LIBRARY
set -euo pipefail
shared_prefix=$2
out=$3

scale_dir=$(mktemp -d)
prefix=$scale_dir/prefix
mkdir "$scale_dir/game"
exe=$scale_dir/game/$(basename "$1")
cp "$1" "$exe"
for name in shcore dwmapi; do cp "$4" "$scale_dir/game/$name.dll"; done
source "$(dirname "$0")/e2e_lib.sh"
# The copy's wineserver is started by this script; it ends with it.
trap 'cleanup; WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$scale_dir"' EXIT
copy_prefix "$shared_prefix" "$prefix"
# LogPixels 144 written into the copy's registry file (no wineserver runs on
# it yet, and a Wine start for `reg add` would cost seconds); the window's
# size below shows whether the game saw it.
awk '{ print } /^\[Control Panel\\\\Desktop\] / { section = 1; next }
     section && !/^#/ { if (!done) print "\"LogPixels\"=dword:00000090"; done = 1 }
     /^$/ { section = 0 }' "$shared_prefix/user.reg" > "$prefix/user.reg"
[[ $(grep -c '^"LogPixels"=dword:00000090$' "$prefix/user.reg") == 1 ]] ||
    fail "LogPixels 144 could not be set in the scratch prefix"

readonly pitch=15 status_height=29   # 10 and 19 at 96 dpi

# Whether the board of a shot's window picture (below the caption and menu
# bar, above the status bar: their texts are dark too) holds more than that many black
# pixels, or the window more than that many red ones: the board's cells are
# not where analyse looks at this scale.
dark_pixels_in_board() {
    (( $(pixels "$out/$2-window.png" | awk -v H="$HEIGHT" '/^[0-9]/ {
        split($1, xy, "[,:]"); gsub(/[()]/, "", $2); split($2, c, ",")
        if (xy[2] > 60 && xy[2] < H - 60 && c[1] < 70 && c[2] < 70 && c[3] < 70) n++
    } END { print n + 0 }') > $1 ))
}
red_pixels_in_window() {
    (( $(pixels "$out/$2-window.png" | awk '/^[0-9]/ { gsub(/[()]/, "", $2);
        split($2, c, ","); if (c[1] > 170 && c[2] < 90 && c[3] < 90) n++ } END { print n + 0 }') > $1 ))
}

# Starts of the runs of black pixels along row $2 of picture $1, from x $3 on.
black_run_starts() {
    pixels "$1" -crop "${WIDTH}x1+0+$2" +repage | awk -v from="$3" '
        /^[0-9]/ {
            split($1, xy, "[,:]"); gsub(/[()]/, "", $2); split($2, c, ",")
            black = c[1] < 70 && c[2] < 70 && c[3] < 70
            if (xy[1] >= from && black && !was) printf "%d ", xy[1]
            was = black
        }'
}

# Rows (top and bottom) with dark pixels in the column range [$2, $3) of the
# bottom $4 rows of picture $1: "top bottom", in window rows.
dark_rows() {
    pixels "$1" | awk -v x0="$2" -v x1="$3" -v y0=$(( HEIGHT - $4 )) '
        /^[0-9]/ {
            split($1, xy, "[,:]"); gsub(/[()]/, "", $2); split($2, c, ",")
            if (xy[1] >= x0 && xy[1] < x1 && xy[2] >= y0 && c[1] < 70 && c[2] < 70 && c[3] < 70) {
                if (top == "" || xy[2] < top) top = xy[2]
                if (xy[2] > bottom) bottom = xy[2]
            }
        }
        END { print (top == "" ? -1 : top), (bottom == "" ? -1 : bottom) }'
}

# A library beside the game first, as Windows takes it (Wine would take its own):
export WINEDLLOVERRIDES="shcore,dwmapi=n,b"
start_game
(( WIDTH > 474 && HEIGHT > 336 )) || fail "the window (${WIDTH}x$HEIGHT) is smaller than its client area at 144 dpi (474x336)"
shoot start
press F9
wait_until 5 "no snake after F9" shot_passes running dark_pixels_in_board 100
press F10
wait_until 5 "no Paused... label after F10" shot_passes paused red_pixels_in_window 300

# The snake's row: the window row with the most black pixels in its upper half.
row=$(pixels "$out/running-window.png" | awk -v H="$HEIGHT" '
    /^[0-9]/ {
        split($1, xy, "[,:]"); gsub(/[()]/, "", $2); split($2, c, ",")
        if (xy[2] > 60 && xy[2] < H - 60 && c[1] < 70 && c[2] < 70 && c[3] < 70) n[xy[2]]++
    }
    END { for (y in n) if (n[y] > best) { best = n[y]; row = y }; print row + 0 }')
starts=($(black_run_starts "$out/running-window.png" "$row" 8))
echo "e2e: snake row $row, segments start at ${starts[*]}"
(( ${#starts[@]} >= 4 )) || fail "fewer than four snake segments in row $row"
matches=0
for (( i = 1; i < ${#starts[@]}; i++ )); do
    gap=$(( starts[i] - starts[i - 1] ))
    (( gap == pitch )) && matches=$(( matches + 1 ))
    (( gap % pitch == 0 )) || fail "segments $gap pixels apart: not a multiple of the $pitch-pixel pitch"
done
(( matches >= 3 )) || fail "only $matches neighbouring segments $pitch pixels apart"

# The status bar: every panel's text below the board, whole inside the window,
# as tall as the scaled font makes it.
third=$(( WIDTH / 4 ))
for panel in 0 3; do
    read -r top bottom < <(dark_rows "$out/paused-window.png" $(( panel * third + 4 )) \
        $(( (panel + 1) * third - 4 )) $(( status_height + 6 )))
    echo "e2e: status panel $panel text rows $top..$bottom of $HEIGHT"
    (( top > 0 )) || fail "no text in status panel $panel"
    (( bottom - top + 1 >= 10 )) || fail "status panel $panel text only $(( bottom - top + 1 )) rows high"
    (( bottom < HEIGHT - 3 )) || fail "status panel $panel text reaches the window's edge"
done

# The flat menu at the same scale: the selected entry's navy frame is as
# tall as the scaled entry (23 pixels at 96 dpi, 34 or 35 at 144).
# The tallest run of navy pixels down a column of the shot's window picture.
navy_run() {
    pixels "$out/$1-window.png" | awk '
        /^[0-9]/ {
            split($1, xy, "[,:]"); gsub(/[()]/, "", $2); split($2, c, ",")
            x = xy[1]; y = xy[2]
            if (c[1] < 40 && c[2] < 40 && c[3] > 90 && c[3] < 170) {
                run[x] = (last[x] == y - 1 ? run[x] : 0) + 1; last[x] = y
                if (run[x] > best) best = run[x]
            }
        }
        END { print best + 0 }'
}
frame_in_proportion() { shoot "$1"; (( $(navy_run "$1") >= 31 )); }
press alt+g
wait_until 5 "the menu entries are not in proportion (no navy frame of 31 pixels)" \
    frame_in_proportion menu
echo "e2e: the selected menu entry's frame is $(navy_run menu) pixels high"
press Escape Escape
wait_until 5 "Escape did not close the menu" popup_closed

exit_through_menu
[[ ! -e "$work/planted_library_loaded" ]] || fail "the game loaded a library planted beside it"

echo "e2e: PASS (screenshots in $out)"
