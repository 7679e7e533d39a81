#!/usr/bin/env bash
# Start-up under Wine: launch to the main window's X map, for the game and for
# the reference window, interleaved, on the display we are given (run it
# under tools/with-xvfb.sh: a private one), with a warm wineserver. Prints
# every run, both medians and their ratio. Figures only: it never fails on a
# slow run, only when a program does not start at all.
# Usage: startup_bench.sh MAP_TIMER PREFIX GAME.exe REFERENCE.exe [RUNS]
set -euo pipefail
# Sixteen runs each by default: launch times under Wine fall into two bands
# some 40 ms apart (for both programs alike), and the medians of eight runs
# could land in different bands, moving the ratio by 0.1 from run to run.
timer=$1 prefix=$2 game=$3 reference=$4 runs=${5:-16}
export WINEPREFIX="$prefix" WINEDEBUG=-all
wine=/usr/lib/wine/wine64

# The game reads "scores.dat" from its working directory at start-up: give it
# one, as a player who has played before has.
work=$(mktemp -d)
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
head -c 280 /dev/zero > "$work/scores.dat"
cd "$work"

# A wineserver that stays between the runs, and one launch of each that is
# not counted, so that no run pays for the first start.
/usr/lib/wine/wineserver -p
"$timer" "Quillory 1.0 [Brindlework]" 60 "$wine" "$game" >/dev/null
"$timer" "Quillory start-up reference" 60 "$wine" "$reference" >/dev/null

game_times=() reference_times=()
for run in $(seq 1 "$runs"); do
    g=$("$timer" "Quillory 1.0 [Brindlework]" 30 "$wine" "$game")
    r=$("$timer" "Quillory start-up reference" 30 "$wine" "$reference")
    game_times+=("$g") reference_times+=("$r")
    printf 'run %d: quillory %.3f s, reference %.3f s\n' "$run" "$g" "$r"
done

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
g=$(median "${game_times[@]}")
r=$(median "${reference_times[@]}")
printf 'median of %d runs, launch to main window mapped (warm wineserver):\n' "$runs"
printf '  reference window  %.3f s\n  quillory.exe      %.3f s\n  ratio             %.2f\n' \
    "$r" "$g" "$(awk -v g="$g" -v r="$r" 'BEGIN {print g / r}')"
