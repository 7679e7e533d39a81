#!/usr/bin/env bash
# Two builds of one commit give the same download. The checkout's own dist
# (build/win32/dist) is set against that of a second checkout of the same
# commit at another path, configured afresh and built later, with the
# working tree's changes copied over so that it holds the same source: the
# game, the zip, the setup program and SHA256SUMS must be equal byte for
# byte, SHA256SUMS must check, and no checkout's path may be in the game.
# Usage: dist-check.sh   (after the win32 build's dist target)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
first=$top/build/win32/dist
clone=$top/build/dist-check/second-checkout
fail() { echo "dist-check: FAIL: $*" >&2; exit 1; }
[[ -f "$first/SHA256SUMS" ]] || fail "no $first/SHA256SUMS: build the win32 dist first"

rm -rf "$clone"
git clone -q --shared --no-checkout "$top" "$clone"
git -C "$clone" checkout -q "$(git -C "$top" rev-parse HEAD)"
(cd "$top" && git ls-files -z --cached --others --exclude-standard | xargs -0 -r tar -cf - --) |
    tar -xf - -C "$clone"
(cd "$top" && git ls-files -z --deleted) | (cd "$clone" && xargs -0 -r rm -f --)

log=$top/build/dist-check/build.log
if ! (cd "$clone" && cmake --preset win32 -DQUILLORY_TESTS=OFF &&
      cmake --build --preset win32 --target dist) >"$log" 2>&1; then
    cat "$log"
    fail "the second checkout did not build"
fi
second=$clone/build/win32/dist

status=0
for f in $(cd "$first" && ls quillory.exe ./*.zip ./*-setup.exe SHA256SUMS); do
    f=${f#./}
    echo "dist-check: $(sha256sum "$first/$f")"
    echo "dist-check: $(sha256sum "$second/$f")"
    cmp -s "$first/$f" "$second/$f" || { echo "dist-check: FAIL: $f differs" >&2; status=1; }
done
(cd "$first" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files"
for path in "$top" "$clone"; do
    if strings -a "$first/quillory.exe" | grep -qF "$path" ||
       strings -a -el "$first/quillory.exe" | grep -qF "$path"; then
        echo "dist-check: FAIL: quillory.exe holds the path $path" >&2
        status=1
    fi
done
(( status == 0 )) && echo "dist-check: PASS (the same bytes from $top and $clone)"
exit $status
