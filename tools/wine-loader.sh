#!/usr/bin/env bash
# Prints the Wine loader that runs a Windows program: /usr/lib/wine/wine for a
# 32-bit (i386) executable, /usr/lib/wine/wine64 for a 64-bit one, read from
# the machine field of the file's PE header. Source it for wine_loader, or run
# it with the executable's path.
# Usage: wine-loader.sh PROGRAM.exe
# Where the kernel runs no 32-bit code, qemu-user runs 32-bit Wine (see
# bootstrap.sh). By default its guest sees 4 GB, and Wine, reserving the upper
# 2 GB that a program without /LARGEADDRESSAWARE must not get, probes them
# 64 KB at a time: a minute per start. Limited to the 2 GB such a program
# sees, it starts in a second. Only qemu reads this; native runs ignore it.
export QEMU_RESERVED_VA=0x7fff0000

wine_loader() {
    local exe=$1 offset machine=
    [[ -r "$exe" ]] || { echo "wine-loader: cannot read $exe" >&2; return 2; }
    # "MZ", then e_lfanew at 0x3c points at "PE\0\0"; the machine follows it.
    if [[ "$(head -c 2 "$exe")" == MZ ]]; then
        offset=$(od -An -t u4 -j 60 -N 4 "$exe" | tr -d ' ')
        machine=$(od -An -t x2 -j $((offset + 4)) -N 2 "$exe" 2>/dev/null | tr -d ' ')
    fi
    case "$machine" in
        014c) echo /usr/lib/wine/wine ;;
        8664) echo /usr/lib/wine/wine64 ;;
        *) echo "wine-loader: $exe is no i386 or x86-64 Windows program (machine '$machine')" >&2
           return 2 ;;
    esac
}
if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
    set -euo pipefail
    wine_loader "$1"
fi
