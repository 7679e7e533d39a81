#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and nothing when
# they are all present already (then it prints nothing at all). libx11-dev is
# for the start-up benchmark's stopwatch, which watches the X server; nsis
# makes the installer players download, zip the zip (one that leaves out the
# owner and the access times, which CMake's own keeps).
#
# 32-bit Wine (wine32:i386) runs the 32-bit game beside wine64. Its libraries
# are Multi-Arch: same, so each one's amd64 and i386 versions must be equal,
# and the archive's indexes for the two architectures are not always in step
# (an i386 index that failed to download, an amd64 one with newer security
# updates). Left to itself, apt then "solves" the install by removing wine64.
# So apt is asked for a plan first, a plan that removes anything is never
# taken, and where the two architectures disagree both are installed at one
# version that both indexes have.
set -euo pipefail

packages=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
          wine64 wine32:i386 xvfb xdotool x11-apps imagemagick googletest libgtest-dev
          libbenchmark-dev fonts-wine libx11-dev nsis zip)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

check_loaders() {
    local absent=()
    for loader in /usr/lib/wine/wine64 /usr/lib/wine/wine; do
        [[ -x "$loader" ]] || absent+=("$loader")
    done
    if [[ ${#absent[@]} -gt 0 ]]; then
        echo "bootstrap: the Wine loaders ${absent[*]} are missing (wine64 gives" \
             "/usr/lib/wine/wine64, wine32:i386 gives /usr/lib/wine/wine); install them" \
             "and run this again" >&2
        exit 1
    fi
}

# Some kernels are built with their 32-bit support off (dmesg says "32-bit
# emulation disabled"; it takes ia32_emulation=on at boot). There qemu-user
# runs 32-bit Wine instead, registered with binfmt_misc so that every i386
# program (the loader and the programs it starts) goes through it.
i386_runs() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
ensure_i386_runs() {
    i386_runs && return 0
    local sudo=""
    [[ $(id -u) -eq 0 ]] || sudo="sudo"
    echo "bootstrap: this kernel runs no 32-bit code; 32-bit Wine goes through qemu-user"
    if ! dpkg-query -W -f='${Status}' qemu-user-static 2>/dev/null | grep -q 'install ok installed'; then
        $sudo apt-get install -y -qq --no-install-recommends qemu-user-static >/dev/null
    fi
    local misc=/proc/sys/fs/binfmt_misc
    [[ -e $misc/register ]] || $sudo mount -t binfmt_misc binfmt_misc "$misc"
    if [[ ! -e $misc/qemu-i386 ]]; then
        # i386 ELF executables and shared objects; F: the interpreter is opened
        # now, so it is found from any mount namespace later.
        printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
            $sudo tee $misc/register >/dev/null
    fi
    i386_runs || { echo "bootstrap: 32-bit Wine (/usr/lib/wine/wine) does not run, not even through qemu-user" >&2; exit 1; }
}

if [[ ${#missing[@]} -eq 0 ]]; then
    check_loaders
    ensure_i386_runs
    exit 0
fi

echo "bootstrap: installing ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
# A mirror caught mid-sync fails one index now and then; a second try often
# gets it. What still fails is left to the version matching below.
for attempt in 1 2 3; do
    $sudo apt-get update -qq >/dev/null 2>&1 && break
    [[ $attempt -lt 3 ]] && sleep 5
done

# The release the machine runs (bookworm): its own suite wins over the update
# suites, for both architectures alike.
suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
apt_args=(--no-install-recommends --allow-downgrades)
[[ -n "$suite" ]] && apt_args+=(-t "$suite")

# The newest version of a package that both architectures' indexes offer.
common_version() {
    local name=$1
    comm -12 <(apt-cache madison "$name:amd64" | awk -F' [|] ' '{print $2}' | sort -u) \
             <(apt-cache madison "$name:i386" | awk -F' [|] ' '{print $2}' | sort -u) |
        sort -V | tail -n 1
}

pins=()
plan=""
for round in $(seq 1 12); do
    rc=0
    plan=$(apt-get install -s "${apt_args[@]}" "${missing[@]}" "${pins[@]}" 2>&1) || rc=$?
    removed=$(grep '^Remv ' <<<"$plan" | awk '{print $2}' || true)
    if [[ $rc -eq 0 && -z "$removed" ]]; then
        $sudo apt-get install -y -qq "${apt_args[@]}" "${missing[@]}" "${pins[@]}" >/dev/null
        check_loaders
        ensure_i386_runs
        echo "bootstrap: done"
        exit 0
    fi
    # The packages the plan removes, or names as not installable, are the
    # suspects: those that exist for both architectures get one version.
    suspects=$( { printf '%s\n' $removed
                  grep -oE '(Depends|PreDepends): [^ ]+' <<<"$plan" | awk '{print $2}'
                  grep -oE '^ [^ ]+ :' <<<"$plan" | awk '{print $1}'; } |
                sed 's/:.*//' | sort -u)
    added=0
    for name in $suspects; do
        [[ " ${pins[*]-} " == *" $name:amd64="* ]] && continue
        dpkg-query -W -f='${Status}' "$name:amd64" 2>/dev/null | grep -q 'install ok installed' || continue
        apt-cache madison "$name:i386" | grep -q . || continue
        installed=$(dpkg-query -W -f='${Version}' "$name:amd64")
        version=$(common_version "$name")
        [[ -n "$version" ]] || continue
        # Only where the installed amd64 version has no i386 twin.
        if apt-cache madison "$name:i386" | awk -F' [|] ' '{print $2}' | grep -qxF "$installed"; then
            continue
        fi
        pins+=("$name:amd64=$version" "$name:i386=$version")
        added=1
    done
    [[ $added -eq 1 ]] || break
done

echo "bootstrap: apt found no plan that installs ${missing[*]} without removing packages;" >&2
echo "bootstrap: its last answer was:" >&2
grep -E '^(Remv|E:| )' <<<"$plan" | head -n 30 >&2
exit 1
