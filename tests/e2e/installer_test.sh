#!/usr/bin/env bash
# End to end: the download that installs. In a scratch copy of the prefix the
# installer runs silently for the current user; the program, its uninstaller,
# the Start-menu shortcut and the uninstall entry are there. The game started
# the way the shortcut starts it ends a game and saves "scores.dat" in the
# per-user folder the shortcut names, not beside the program. A silent
# uninstall removes the program, the shortcut and the entry, and keeps the
# scores, and a second one removes the scores folder once it is empty.
# While the game runs, installing and uninstalling are refused. Installed into
# another folder and then again without one, the game is there alone; /RUN
# starts it in the scores folder, as the finish page does.
# The zip holds the same game and README.
# Usage: installer_test.sh SETUP_EXE WINEPREFIX OUTPUT_DIR ZIP
set -euo pipefail
setup=$1
shared_prefix=$2
out=$3
zip=$4

scratch=$(mktemp -d)
prefix=$scratch/prefix
# The game's path is only known once installed; e2e_lib wants one now.
exe=$setup
source "$(dirname "$0")/e2e_lib.sh"
# The copy's wineserver is started by this script; it ends with it.
trap 'cleanup; WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
copy_prefix "$shared_prefix" "$prefix"

user_dir=$(echo "$prefix"/drive_c/users/*/AppData)
[[ -d "$user_dir" ]] || fail "no user profile in the prefix"
program_dir=$user_dir/Local/Programs/Quillory
custom_dir=$prefix/drive_c/Games/Quillory
shortcut="$user_dir/Roaming/Microsoft/Windows/Start Menu/Programs/Quillory.lnk"
scores_dir=$user_dir/Roaming/Quillory
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillory'
wine_in_prefix() { WINEPREFIX="$prefix" WINEDEBUG=-all timeout 90 "$@"; }
windows_path() { local p=${1#"$prefix/drive_c/"}; printf 'C:\\%s' "${p//\//\\}"; }
reg_value() { wine_in_prefix /usr/lib/wine/wine64 reg query "$key" /v "$1" | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z]* *//p"; }
# 2 is NSIS's "aborted by the script".
refused() { local s=0; wine_in_prefix "$wine" "${@:2}" || s=$?; (( s == 2 )) || fail "the $1 ended with $s, not 2 (refused)"; }
# The game is in that folder and nowhere else: files, the entry's folder, the shortcut's target.
installed_only_in() {  # folder
    local f
    for f in quillory.exe README.txt uninstall.exe; do [[ -f "$1/$f" ]] || fail "no $f in $1"; done
    for f in "$user_dir/Local/Programs/Quillory" "$custom_dir"; do [[ "$f" == "$1" || ! -e "$f" ]] || fail "a second copy in $f"; done
    [[ "$(reg_value InstallLocation)" == "$(windows_path "$1")" ]] || fail "the entry names $(reg_value InstallLocation)"
    strings -a "$shortcut" | grep -qxF "$(windows_path "$1")\\quillory.exe" || fail "the shortcut does not start $1"
}

wine_in_prefix "$(wine_loader "$setup")" "$setup" /S || fail "the silent install failed"
WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w
for f in quillory.exe README.txt uninstall.exe; do
    [[ -f "$program_dir/$f" ]] || fail "$f was not installed in $program_dir"
done
unpacked=$scratch/zip
mkdir "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip") || fail "$zip does not unpack"
[[ "$(LC_ALL=C ls "$unpacked")" == "$(printf 'README.txt\nquillory.exe')" ]] || fail "the zip holds $(ls "$unpacked")"
for f in quillory.exe README.txt; do
    cmp -s "$unpacked/$f" "$program_dir/$f" || fail "the zip's $f differs from the installed one"
done
grep -q $'\r$' "$unpacked/README.txt" || fail "the README has no Windows line ends"
[[ -f "$shortcut" ]] || fail "no Start-menu shortcut"
wine_in_prefix /usr/lib/wine/wine64 reg query "$key" /v UninstallString | tr -d '\r' |
    grep -q 'uninstall.exe' || fail "no uninstall entry"
sizes=$(stat -c %s "$program_dir"/{quillory.exe,README.txt,uninstall.exe} | paste -sd+)
(( $(reg_value EstimatedSize) == (sizes) / 1024 )) || fail "EstimatedSize $(reg_value EstimatedSize), not ($sizes) / 1024"

[[ -d "$scores_dir" ]] || fail "the installer made no per-user folder $scores_dir"
for _ in $(seq 1 10); do printf '\x00%.0s' $(seq 1 24); printf '\xff\xff\xff\xff'; done > "$scores_dir/scores.dat"

# Started through the shortcut, as the Start menu does: its "Start in" is the
# working folder.
# start hands the link to the shell and returns; the game is found by its path.
wine_in_prefix /usr/lib/wine/wine64 start /unix "$shortcut" || fail "the shortcut did not start"
for _ in $(seq 1 100); do
    game_pid=$(pgrep -n -f 'Programs.Quillory.quillory\.exe' || true)
    [[ -n "$game_pid" ]] && break
    sleep 0.2
done
[[ -n "$game_pid" ]] || fail "the shortcut started no quillory.exe"
wid=$(wait_for_window '^Quillory 1\.0 \[Brindlework\]$' 150)
eval "$(xdotool getwindowgeometry --shell "$wid")"
xdotool windowfocus --sync "$wid" 2>/dev/null || true
# The uninstaller runs in place (_?=) to give its status. Nothing changes.
refused install "$setup" /S
refused uninstall "$program_dir/uninstall.exe" /S "_?=$(windows_path "$program_dir")"
cmp -s "$unpacked/quillory.exe" "$program_dir/quillory.exe" || fail "a refused run changed quillory.exe"
installed_only_in "$program_dir"
# A new game turned round into its own body at once scores 0; a table of ten
# empty rows at -1 points makes that row 1.
press F9
press Up Left Down
dialog=$(wait_for_window '^Game Over!$' 100)
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool type --delay 40 Installed
xdotool key Return
wait_for_window '^Top Scores$' 50 > /dev/null
shoot installed-game
(( $(od -An -t d4 -j 24 -N 4 "$scores_dir/scores.dat" || echo -1) >= 0 )) ||
    fail "no result saved in the shortcut's folder $scores_dir"
[[ -f "$program_dir/scores.dat" ]] && fail "scores.dat was written beside the program"
grep -q -a 'Installed (level 7)' "$scores_dir/scores.dat" || fail "the entered name is not in scores.dat"
scores_bytes=$(od -An -tx1 "$scores_dir/scores.dat")
kill "$game_pid" 2>/dev/null || true
WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
game_pid=

wine_in_prefix "$wine" "$setup" /S "/D=$(windows_path "$custom_dir")" || fail "the install into $custom_dir failed"
installed_only_in "$custom_dir"
wine_in_prefix "$wine" "$setup" /S /RUN || fail "the upgrade failed"
installed_only_in "$custom_dir"
game_pid=$(pgrep -n -f 'Games.Quillory.quillory\.exe') || fail "/RUN started no game"
wait_for_window '^Quillory 1\.0 \[Brindlework\]$' 150 > /dev/null
[[ "$(readlink "/proc/$game_pid/cwd")" == "$scores_dir" ]] || fail "/RUN started the game in $(readlink "/proc/$game_pid/cwd")"
WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
game_pid= program_dir=$custom_dir

# The uninstaller copies itself away and runs from there: wait for its work.
wine_in_prefix "$(wine_loader "$program_dir/uninstall.exe")" "$program_dir/uninstall.exe" /S ||
    fail "the silent uninstall failed"
for _ in $(seq 1 100); do
    [[ -e "$program_dir" || -e "$shortcut" ]] || break
    sleep 0.2
done
WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w
[[ -e "$program_dir" ]] && fail "the program folder is still there: $(ls "$program_dir")"
[[ -e "$shortcut" ]] && fail "the shortcut is still there"
wine_in_prefix /usr/lib/wine/wine64 reg query "$key" >/dev/null 2>&1 && fail "the uninstall entry is still there"
[[ "$(od -An -tx1 "$scores_dir/scores.dat")" == "$scores_bytes" ]] || fail "the uninstall touched scores.dat"
rm "$scores_dir/scores.dat" "$scores_dir/replays.dat"  # the player's, kept beside each other
wine_in_prefix "$wine" "$setup" /S && wine_in_prefix "$wine" "$user_dir/Local/Programs/Quillory/uninstall.exe" /S \
    "_?=$(windows_path "$user_dir/Local/Programs/Quillory")" || fail "the second install or uninstall failed"
[[ -e "$scores_dir" ]] && fail "the empty scores folder is left"
echo "e2e: PASS (screenshots in $out)"
