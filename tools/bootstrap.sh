#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and nothing when
# they are all present already (then it prints nothing at all). libx11-dev is
# for the start-up benchmark's stopwatch, which watches the X server.
set -euo pipefail

packages=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
          wine64 xvfb xdotool x11-apps imagemagick googletest libgtest-dev
          libbenchmark-dev fonts-wine libx11-dev)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "bootstrap: installing ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "bootstrap: done"
