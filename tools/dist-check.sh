#!/usr/bin/env bash
# Two builds of one commit give the same download: this checkout's dist
# (build/win32/dist) against a second checkout's of the same commit, at
# another path, configured afresh and built later, holding the working
# tree's changes too. The game, the zip, the setup program and SHA256SUMS
# must be equal byte for byte, SHA256SUMS must check, and neither path may
# be in the game. Usage: dist-check.sh (after the win32 build)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
first=$top/build/win32/dist
clone=$top/build/dist-check/second-checkout
second=$clone/build/win32/dist
fail() { echo "dist-check: FAIL: $*" >&2; exit 1; }

rm -rf "$clone"
git clone -q --shared --no-checkout "$top" "$clone"
git -C "$clone" checkout -q "$(git -C "$top" rev-parse HEAD)"
(cd "$top" && git ls-files -z -co --exclude-standard | xargs -0 -r tar -cf - --) | tar -xf - -C "$clone"
(cd "$top" && git ls-files -z --deleted) | (cd "$clone" && xargs -0 -r rm -f --)
(cd "$clone" && cmake --preset win32 -DQUILLORY_TESTS=OFF && cmake --build --preset win32 --target dist) \
    >"$clone.log" 2>&1 || { cat "$clone.log"; fail "the second checkout did not build"; }

cd "$first"
for f in quillory.exe ./*.zip ./*-setup.exe SHA256SUMS; do
    sha256sum "$first/${f#./}" "$second/${f#./}" | sed 's/^/dist-check: /'
    cmp -s "$f" "$second/$f" || fail "${f#./} differs"
done
sha256sum --quiet -c SHA256SUMS || fail "SHA256SUMS does not match the files"
for encoding in s l; do
    strings -a -e$encoding quillory.exe | grep -F -e "$top" -e "$clone" && fail "quillory.exe holds a checkout's path"
done
echo "dist-check: PASS (the same bytes from $top and $clone)"
