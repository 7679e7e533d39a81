#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and nothing when
# they are all present already (then it prints nothing at all). libx11-dev is
# for the start-up benchmark's stopwatch, which watches the X server; nsis
# makes the installer players download, zip the zip (one that leaves out the
# owner and the access times, which CMake's own keeps). `bootstrap.sh run`
# installs only what building and running the 64-bit game needs (`make run`).
#
# It changes the machine only after saying what it is about to do: the
# packages to install, each downgrade with both versions, the i386
# architecture, the qemu-user registration with binfmt_misc. When a person
# runs it (standard input a terminal, CI not set) it then asks once; a script
# or a build machine gets the same lines, and it goes ahead. apt's plan is
# worked out from package lists read into a scratch folder, so that nothing
# changes before the answer, and the install uses those same lists.
#
# 32-bit Wine (wine32:i386) runs the 32-bit game beside wine64. Its libraries
# are Multi-Arch: same, so each one's amd64 and i386 versions must be equal,
# and the archive's indexes for the two architectures are not always in step
# (an i386 index that failed to download, an amd64 one with newer security
# updates). Left to itself, apt then "solves" the install by removing wine64.
# So a plan that removes anything is never taken, and where the two
# architectures disagree both are installed at one version that both indexes
# have.
#
# QUILLORY_BOOTSTRAP_FAKE=DIR runs it against a pretend machine (the tests):
# DIR/bin first on PATH (dpkg, apt-get...), and DIR as the root of the Wine
# loaders and of binfmt_misc.
# Usage: bootstrap.sh [run]
set -euo pipefail

root=${QUILLORY_BOOTSTRAP_FAKE:-}
[[ -z "$root" ]] || PATH=$root/bin:$PATH
run_packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine64 fonts-wine)
mode=${1:-all}
case "$mode" in
    run) packages=("${run_packages[@]}") loaders=("$root/usr/lib/wine/wine64") ;;
    all) packages=("${run_packages[@]}" g++ g++-mingw-w64-i686-posix wine32:i386 xvfb xdotool
                   x11-apps imagemagick googletest libgtest-dev libbenchmark-dev libx11-dev nsis zip)
         loaders=("$root/usr/lib/wine/wine64" "$root/usr/lib/wine/wine") ;;
    *) echo "bootstrap: usage: bootstrap.sh [run]" >&2; exit 2 ;;
esac

installed() { [[ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" == "install ok installed" ]]; }
say() { echo "bootstrap: $*"; }
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
plan=()     # what is about to change, one line each
pins=()

# Some kernels are built with their 32-bit support off (dmesg says "32-bit
# emulation disabled"; it takes ia32_emulation=on at boot). There qemu-user
# runs 32-bit Wine instead, registered with binfmt_misc so that every i386
# program (the loader and the programs it starts) goes through it.
misc=$root/proc/sys/fs/binfmt_misc
i386_runs() { "$root/usr/lib/wine/wine" --version >/dev/null 2>&1; }
qemu_why="32-bit Wine runs through it, several times slower"
qemu_step="install qemu-user-static and register it with binfmt_misc for every i386 program on this machine"
qemu=no
if [[ $mode == all ]]; then
    if [[ " ${missing[*]} " == *" wine32:i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        plan+=("add the i386 architecture to dpkg (dpkg --add-architecture i386): wine32 is an i386 package")
    fi
    if [[ -x "$root/usr/lib/wine/wine" ]]; then
        if ! i386_runs && [[ ! -e $misc/qemu-i386 ]]; then
            qemu=yes
            plan+=("$qemu_step: this kernel runs no 32-bit code, and $qemu_why")
            installed qemu-user-static || missing+=(qemu-user-static)
        fi
    else
        qemu=maybe   # said after the install it depends on
    fi
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch"   # apt fetches as its own user
# The archive as apt sees it for the plan and the install: fresh lists of both
# architectures in the scratch folder; the machine's own are left alone.
archive=(-o Dir::State::Lists="$scratch/lists" -o Dir::Cache="$scratch/cache" -o APT::Architectures::=amd64)
[[ $mode == run ]] || archive+=(-o APT::Architectures::=i386)
# The release the machine runs (bookworm): its own suite wins over the update
# suites, for both architectures alike.
suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
apt_args=(--no-install-recommends --allow-downgrades)
[[ -n "$suite" ]] && apt_args+=(-t "$suite")

# The newest version of a package that both architectures' indexes offer.
versions() { apt-cache "${archive[@]}" madison "$1" | awk -F' [|] ' '{print $2}' | sort -u; }
common_version() { comm -12 <(versions "$1:amd64") <(versions "$1:i386") | sort -V | tail -n 1; }

# apt's plan for the missing packages, with pins where the two architectures
# disagree, into $answer; false when no plan installs them without removing.
find_plan() {
    local round rc removed suspects name current version added
    for round in $(seq 1 12); do
        rc=0
        answer=$(apt-get install -s "${archive[@]}" "${apt_args[@]}" "${missing[@]}" "${pins[@]}" 2>&1) || rc=$?
        removed=$(grep '^Remv ' <<<"$answer" | awk '{print $2}' || true)
        [[ $rc -eq 0 && -z "$removed" ]] && return 0
        # The packages the plan removes, or names as not installable, are the
        # suspects: those that exist for both architectures get one version.
        suspects=$( { printf '%s\n' $removed
                      grep -oE '(Depends|PreDepends): [^ ]+' <<<"$answer" | awk '{print $2}'
                      grep -oE '^ [^ ]+ :' <<<"$answer" | awk '{print $1}'; } | sed 's/:.*//' | sort -u)
        added=0
        for name in $suspects; do
            [[ " ${pins[*]-} " == *" $name:amd64="* ]] && continue
            installed "$name:amd64" && versions "$name:i386" | grep -q . || continue
            current=$(dpkg-query -W -f='${Version}' "$name:amd64")
            version=$(common_version "$name")
            # Only where the installed amd64 version has no i386 twin.
            [[ -n "$version" ]] && ! versions "$name:i386" | grep -qxF "$current" || continue
            pins+=("$name:amd64=$version" "$name:i386=$version")
            added=1
        done
        [[ $added -eq 1 ]] || return 1
    done
    return 1
}

if [[ ${#missing[@]} -gt 0 ]]; then
    say "missing: ${missing[*]}; reading the archive's package lists for apt's plan"
    mkdir -p "$scratch/lists/partial" "$scratch/cache/archives/partial"
    # A mirror caught mid-sync fails one index now and then; a second try often
    # gets it. What still fails is left to the version matching.
    for attempt in 1 2 3; do
        apt-get update -qq "${archive[@]}" -o Debug::NoLocking=1 >/dev/null 2>&1 && break
        [[ $attempt -lt 3 ]] && sleep 5
    done
    if ! find_plan; then
        say "apt found no plan that installs ${missing[*]} without removing packages;" >&2
        say "its last answer was:" >&2
        grep -E '^(Remv|E:| )' <<<"$answer" | head -n 30 >&2
        exit 1
    fi
    plan+=("install ${missing[*]} ($(grep -c '^Inst ' <<<"$answer" || true) packages in all, with what they need)")
    # "Inst name [installed] (new ...)": a downgrade where new is the older.
    while read -r name old new; do
        dpkg --compare-versions "$new" lt "$old" &&
            plan+=("downgrade $name from $old to $new, a version that both architectures' lists have")
    done < <(sed -nE 's/^Inst ([^ ]+) \[([^]]+)\] \(([^ ]+) .*/\1 \2 \3/p' <<<"$answer")
fi
[[ $qemu != maybe ]] ||
    plan+=("then, if this kernel runs no 32-bit code (seen once wine32 is in), $qemu_step: $qemu_why")

if [[ ${#plan[@]} -gt 0 ]]; then
    for line in "${plan[@]}"; do say "will $line"; done
    if [[ -t 0 && -z "${CI:-}" ]]; then
        read -r -p "bootstrap: go ahead? [y/N] " reply || reply=
        if [[ ! "${reply,,}" =~ ^(y|yes)$ ]]; then
            say "stopped: nothing was changed; the build needs these (answer y, or install them yourself)" >&2
            exit 1
        fi
    fi
fi

if [[ ${#missing[@]} -gt 0 ]]; then
    [[ " ${missing[*]} " != *" wine32:i386 "* ]] || dpkg --print-foreign-architectures | grep -qx i386 ||
        $sudo dpkg --add-architecture i386
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${archive[@]}" "${apt_args[@]}" \
        "${missing[@]}" "${pins[@]}"
fi

for loader in "${loaders[@]}"; do
    [[ -x "$loader" ]] && continue
    say "the Wine loader $loader is missing (wine64 gives /usr/lib/wine/wine64, wine32:i386" \
        "gives /usr/lib/wine/wine); install it and run this again" >&2
    exit 1
done
if [[ $qemu == maybe ]] && ! i386_runs && [[ ! -e $misc/qemu-i386 ]]; then
    say "this kernel runs no 32-bit code, so, as said: $qemu_step"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${archive[@]}" --no-install-recommends \
        qemu-user-static
    qemu=yes
fi
if [[ $qemu == yes ]]; then
    [[ -e $misc/register ]] || $sudo mount -t binfmt_misc binfmt_misc "$misc"
    # i386 ELF executables and shared objects; F: the interpreter is opened
    # now, so it is found from any mount namespace later.
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
        $sudo tee "$misc/register" >/dev/null
    say "registered qemu-i386 with binfmt_misc"
fi
if [[ $mode == all ]] && ! i386_runs; then
    say "32-bit Wine (/usr/lib/wine/wine) does not run, not even through qemu-user" >&2
    exit 1
fi
[[ ${#plan[@]} -eq 0 ]] || say "done"
