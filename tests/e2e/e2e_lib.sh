#!/usr/bin/env bash
# Shared by the end-to-end scripts: start the real quillory.exe under Wine in a
# scratch working folder, find its main window, take screenshots and read the
# board off them. Sourced with the script's arguments: QUILLORY_EXE WINEPREFIX
# OUTPUT_DIR, unless the script set exe, prefix or out itself.
# Every script stops only what it started: the game's process, by its PID.
set -euo pipefail
exe=${exe:-$1} prefix=${prefix:-$2} out=${out:-$3}

readonly client_width=316 client_height=223
readonly board_left=10   # band edge 2 + first cell 8, in client pixels

fail() { echo "e2e: FAIL: $*" >&2; exit 1; }

. "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-loader.sh"
# In a suite run in lanes the game runs in its lane's prefix, unless the
# script made a prefix of its own (a copy of its lane's, $shared_prefix).
# Held from here on, before anything is shown (tools/wine-lane.sh).
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-lane.sh"
[[ -n "${shared_prefix:-}" ]] || prefix=${lane_prefix:-$prefix}
[[ -z "${shared_prefix:-}" ]] || shared_prefix=${lane_prefix:-$shared_prefix}
hold_prefix "${shared_prefix:-$prefix}"
# The loader that runs the game: 32-bit Wine for the 32-bit build.
wine=$(wine_loader "$exe") || exit 2

[[ -n "${DISPLAY:-}" ]] || { echo "e2e: no DISPLAY; run through tools/with-xvfb.sh" >&2; exit 2; }
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.txt
work=$(mktemp -d)   # the game's working folder: its score file must not land in the tree
game_pid=
earlier_pids=() earlier_wids=()   # copies of the game started before the last one
helper_pids=()   # other programs a script started (start_helper), stopped after the game
mounts=()        # file systems a script mounted (mount_small_tmpfs), unmounted last
cleanup() {
    local pid
    for pid in "${earlier_pids[@]}" "$game_pid"; do
        [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null || continue
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 1 5); do kill -0 "$pid" 2>/dev/null && sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
    done
    for pid in "${helper_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    local dir
    for dir in "${mounts[@]}"; do umount -l "$dir" 2>/dev/null || true; done
    rm -rf "$work"
    [[ -z "${prefix_holder:-}" ]] || kill "$prefix_holder" 2>/dev/null || true   # frees the prefix
}
trap cleanup EXIT

# A scratch copy of a prefix for a script that changes it. No wineserver may
# run on the copy yet.
copy_prefix() {  # from to
    "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-prefix.sh" "$1" copy "$2"
}

# Starts the game in $work or the folder given (put a scores.dat there first if
# the test needs one) and waits for its main window: sets wid, X, Y, WIDTH,
# HEIGHT. A copy started before goes on running, its pid and window kept in
# earlier_pids and earlier_wids.
start_game() {
    if [[ -n "$game_pid" ]]; then earlier_pids+=("$game_pid"); earlier_wids+=("$wid"); fi
    (cd "${1:-$work}" && WINEPREFIX="$prefix" WINEDEBUG=-all exec timeout 90 "$wine" "$exe") &
    game_pid=$!
    wid=
    for _ in $(seq 1 150); do
        wid=$(xdotool search --name '^Quillory 1\.0 \[Brindlework\]$' 2>/dev/null |
              grep -vxF -f <(printf '%s\n' none "${earlier_wids[@]}") | head -1 || true)
        [[ -n "$wid" ]] && break
        kill -0 "$game_pid" 2>/dev/null || fail "quillory.exe ended before showing its window"
        sleep 0.2
    done
    [[ -n "$wid" ]] || fail "the main window did not appear"
    wait_until 10 "the main window was not painted" window_painted "$wid"
    eval "$(xdotool getwindowgeometry --shell "$wid")"   # X Y WIDTH HEIGHT of the whole window
    echo "e2e: window $wid at $X,$Y size ${WIDTH}x$HEIGHT"
    xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowactivate "$wid" 2>/dev/null || true
}

# Sets the style's colours ("name=r,g,b" lines of the style_colours helper,
# worked out from this system's scheme) as shell variables.
load_style_colours() {  # helper-exe
    eval "$(WINEPREFIX="$prefix" WINEDEBUG=-all timeout 60 "$(wine_loader "$1")" "$1" | tr -d '\r')"
    [[ -n "${dialog:-}" && -n "${menu_frame:-}" ]] || fail "no style colours from $1"
}

# Runs the command (its arguments follow) every tenth of a second until it
# succeeds; fails with the message after that many seconds, or at once
# should the game end meanwhile.
wait_until() {  # seconds message command...
    local limit=$1 what=$2 start=$SECONDS
    shift 2
    until "$@"; do
        [[ -z "$game_pid" ]] || kill -0 "$game_pid" 2>/dev/null || fail "quillory.exe ended: $what"
        (( SECONDS - start < limit )) || fail "$what (after $limit s)"
        sleep 0.1
    done
}

# True once a window shows more than its background: mapped and painted.
window_painted() {  # window-id
    import -window "$1" "$work/painted.png" 2>/dev/null && (( $(colour_count "$work/painted.png") > 2 ))
}

# Takes the main window's picture as NAME and reads the board off it until
# the check passes (a command, given NAME as its last argument); fails with
# the message after that many seconds. Prints what was read.
board_until() {  # name seconds message check...
    local name=$1
    shift
    wait_until "$1" "$2" shot_passes "$name" "${@:3}"
    cat "$out/$name.txt"
}
shot_passes() { shoot "$1"; analyse "$1" >/dev/null; "${@:2}" "$1"; }

# What analyse read off a picture, and checks on it.
body_of() { sed -n 's/.*body=\(.*\)$/\1/p' "$out/$1.txt"; }
red_of() { sed -n 's/.*label_red=\([0-9]*\).*/\1/p' "$out/$1.txt"; }
has_snake() { (( $(sed -n 's/.*body_count=\([0-9]*\).*/\1/p' "$out/$1.txt") >= 5 )); }
# The snake where a new game puts it: five cells (six while a tick is drawn), all in row 10.
at_start() {
    local n cell
    n=$(sed -n 's/.*body_count=\([0-9]*\).*/\1/p' "$out/$1.txt")
    (( n >= 5 && n <= 6 )) || return 1
    for cell in $(body_of "$1"); do [[ "${cell#*,}" == 10 ]] || return 1; done
}
label_shown() { (( $(red_of "$1") > 150 )); }
label_gone() { (( $(red_of "$1") < 50 )); }
moved_since() { [[ -n "$(body_of "$2")" && "$(body_of "$2")" != "$(body_of "$1")" ]]; }
# Fails unless both pictures show the same snake: an empty reading is no snake.
same_snake() {  # first second message
    [[ -n "$(body_of "$1")" ]] || fail "no snake read off $1"
    [[ "$(body_of "$2")" == "$(body_of "$1")" ]] || fail "$3"
}

# The geometry of the open popup menu (a visible window without a name that
# is not the screen): "x y width height", or nothing.
popup_geometry() {
    local w X Y WIDTH HEIGHT SCREEN WINDOW
    for w in $(xdotool search --onlyvisible --name '^$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        (( WIDTH < 1024 && WIDTH > 20 && HEIGHT > 20 )) && { echo "$X $Y $WIDTH $HEIGHT"; return 0; }
    done
}
popup_open() { [[ -n "$(popup_geometry)" ]]; }
popup_closed() { [[ -z "$(popup_geometry)" ]]; }

# Game > Exit from the keyboard: the menu opens, "x" ends the program.
exit_through_menu() {
    press alt+g
    wait_until 5 "alt+g opened no Game menu" popup_open
    xdotool key x
    wait_for_exit "Exit did not end the program"
}

# Presses keys in the game's main window.
press() { xdotool key --window "$wid" "$@" 2>/dev/null || xdotool key "$@"; }

# Waits until the game's process has ended (at most ~10 s); fails otherwise.
wait_for_exit() {
    for _ in $(seq 1 100); do
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$game_pid" 2>/dev/null && fail "${1:-the program did not end}"
    local status=0
    wait "$game_pid" || status=$?
    game_pid=
    (( status == 0 )) || fail "the program ended with status $status"
}

shoot() {  # name: full screen and the window alone
    import -window root "$out/$1.png"
    convert "$out/$1.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$out/$1-window.png"
}

# Classifies the 600 cells of the window picture by the colour at their centre.
# The frame's size is not known exactly: the client origin is searched near
# its estimate; of the offsets that put the most body and food symbols on cell
# centres, the middle one is taken.
analyse() {
    pixels "$out/$1-window.png" | awk -v W="$WIDTH" -v H="$HEIGHT" \
        -v cw="$client_width" -v ch="$client_height" -v bl="$board_left" '
        function kind(px, py,   v, rgb) {
            v = pix[px "," py]
            if (v == "") return "."
            split(v, rgb, ",")
            if (rgb[1] < 70 && rgb[2] < 70 && rgb[3] < 70) return "B"
            if (rgb[3] > 170 && rgb[1] < 90 && rgb[2] < 90) return "F"
            if (rgb[1] > 170 && rgb[2] < 90 && rgb[3] < 90) return "R"
            return "."
        }
        /^[0-9]/ {
            split($1, xy, "[,:]")
            gsub(/[()]/, "", $2)
            pix[xy[1] "," xy[2]] = $2
        }
        END {
            border = int((W - cw) / 2)
            bestScore = -1
            for (dy = -4; dy <= 4; dy++) for (dx = -4; dx <= 4; dx++) {
                ox = border + dx; oy = H - border - ch + dy; score = 0
                for (r = 0; r < 20; r++) for (col = 0; col < 30; col++) {
                    k = kind(ox + bl + 10 * col + 4, oy + 10 * r + 4)
                    if (k == "B" || k == "F") score++
                }
                if (score > bestScore) { bestScore = score; sx = 0; sy = 0; n = 0 }
                if (score == bestScore) { sx += ox; sy += oy; n++ }
            }
            bx = int(sx / n + 0.5); by = int(sy / n + 0.5)
            body = ""; food = 0; bonus = 0; bodyCount = 0
            for (r = 0; r < 20; r++) for (col = 0; col < 30; col++) {
                k = kind(bx + bl + 10 * col + 4, by + 10 * r + 4)
                if (k == "B") { body = body " " (col + 1) "," (r + 1); bodyCount++ }
                if (k == "F") food++
                if (k == "R") bonus++
            }
            red = 0
            for (y = by + 84; y < by + 124; y++) for (x = bx + 60; x < bx + 260; x++)
                if (kind(x, y) == "R") red++
            printf "origin=%d,%d body_count=%d food=%d bonus=%d label_red=%d body=%s\n", \
                bx, by, bodyCount, food, bonus, red, body
        }' > "$out/$1.txt"
    cat "$out/$1.txt"
}

# Prints the id of the first visible window whose title matches the regular
# expression, waiting up to $2 tenths of a second (default 50); fails after.
wait_for_window() {
    local found=
    for _ in $(seq 1 "${2:-50}"); do
        found=$(visible_window "$1")
        [[ -n "$found" ]] && { echo "$found"; return 0; }
        kill -0 "$game_pid" 2>/dev/null || fail "quillory.exe ended while waiting for '$1'"
        sleep 0.1
    done
    fail "no visible window '$1'"
}

# True while a visible window's title matches the regular expression.
window_shown() { [[ -n "$(visible_window "$1")" ]]; }
window_gone() { [[ -z "$(visible_window "$1")" ]]; }

shoot_window() {  # name window-id: full screen and that window alone
    import -window root "$out/$1.png"
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$2")"
    convert "$out/$1.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$out/$1-window.png"
}

# Starts a program in the background for the rest of the script (a time limit
# is the caller's): cleanup stops it by its PID.
start_helper() {
    "$@" &
    helper_pids+=($!)
}

# The id of the visible top-level window whose name matches the pattern, or
# nothing.
visible_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true; }

# Presses keys through the X server's own keyboard, the window focused first.
# Unlike press (events sent to the window), the server then knows the key went
# up again, even when the window vanishes between press and release.
press_real() {
    xdotool windowfocus --sync "$wid" 2>/dev/null || true
    xdotool key "$@"
}

# Screenshot of a screen rectangle: name width height left top.
shoot_rect() {
    import -window root "$out/$1.png"
    convert "$out/$1.png" -crop "${2}x${3}+$4+$5" +repage "$out/$1-crop.png"
}

# The pixels of a picture (convert's options, a crop say, may follow it) as
# "x,y: (r,g,b)" lines, row by row: the layout of ImageMagick's txt: format,
# which took half a second for a window's picture, five times this.
# Anything but a P3 header (width, height, 255) and that many pixels fails the
# whole script, even from a pipeline or $(...): a count must not pass on nothing.
pixels() {  # picture [options...]
    convert "$@" -depth 8 -compress none ppm:- | awk -v picture="$1" '
        { for (i = 1; i <= NF; i++) {
            if (n < 4) { head[n++] = $i; continue }   # P3, width, height, 255
            c[k++] = $i
            if (k == 3) { printf "%d,%d: (%d,%d,%d)\n", p % head[1], int(p / head[1]), c[0], c[1], c[2]; p++; k = 0 }
        } }
        END {
            if (head[0] == "P3" && head[3] == 255 && head[1] * head[2] > 0 && p == head[1] * head[2] && !k) exit
            printf "e2e: FAIL: pixels of %s: header \"%s %s %s %s\", %d pixels\n", picture, head[0],
                head[1], head[2], head[3], p > "/dev/stderr"
            exit 1
        }' && return 0
    kill -s TERM "$$"
    exit 1
}

# How many pixels of a picture (convert's options may follow) have the colour.
colour_pixels() {  # picture r,g,b [options...]
    local picture=$1 colour=$2
    shift 2
    pixels "$picture" "$@" | awk -v c="($colour)" 'index($0, c) { n++ } END { print n + 0 }'
}

# How many pixels of a picture are dark (each channel below 70): text and
# black symbols on the light faces of the dialogs.
dark_pixels() {  # picture
    pixels "$1" | awk '
        /^[0-9]/ { gsub(/[()]/, "", $2); split($2, c, ","); if (c[1] < 70 && c[2] < 70 && c[3] < 70) n++ }
        END { print n + 0 }'
}

# The number of different colours in a picture.
colour_count() { identify -format '%k' "$1"; }

# The colour at a screen point of the last full screenshot: "r,g,b".
pixel_at() {  # name x y
    convert "$out/$1.png" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# Mounts a tmpfs of the given size on a new folder: false where mounting is not
# allowed. Unmounted by cleanup.
mount_small_tmpfs() {  # folder size
    mkdir -p "$1"
    mount -t tmpfs -o "size=$2" quillory-e2e "$1" 2>/dev/null || return 1
    mounts+=("$1")
}

# The texts of the child windows of a class in the top-level windows of a
# title, one a line, read by a helper program inside Wine.
window_texts() {  # title class
    WINEPREFIX="$prefix" WINEDEBUG=-all timeout 60 "$wine" "$texts_exe" "$1" "$2" | tr -d '\r'
}
