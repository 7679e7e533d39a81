#!/usr/bin/env bash
# The bootstrap (its path the argument) on a pretend machine with wine64 only,
# with a terminal (script(1), the answer typed) or without: one fake command
# stands for dpkg, dpkg-query, apt-get, apt-cache and id, and notes each call.
set -euo pipefail
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
cat > "$fake/command" <<'EOF'
#!/bin/bash
root=${0%/bin/*} && echo "${0##*/} $*" >> "$root/log"
case "${0##*/} $1" in
    "dpkg-query -W") grep -qx -- "${@: -1}" "$root/installed" && echo "install ok installed" ;;
    "dpkg --compare-versions") exec /usr/bin/dpkg "$@" ;;
    "apt-get install") [[ " $* " != *" -s "* ]] && cp "$root/wine" "$root/usr/lib/wine/" || cat "$root/plan" ;;
    "id -u") echo 0 ;;   # root, so no sudo, whoever runs the test
esac
exit 0
EOF
# mode | apt's plan | answer on a terminal (- none) | output shows | log shows | log lacks
cases=(
"all|Inst wine32 (8.0 Debian [i386])|n|go ahead\? \[y/N\] .*stopped: nothing was changed|apt-get update|add-arch|install -y"
"all|Inst wine32 (8.0 Debian [i386])|-|will add the i386 architecture.*will install .*wine32:i386.*done|add-architecture i386.*install -y|-"
"all|Inst libz [1.3-2] (1.3-1 Debian [amd64])|-|will downgrade libz from 1.3-2 to 1.3-1|install -y|-"
"run|Inst cmake (3.25 Debian [amd64])|-|will install cmake ninja-build g\+\+-mingw-w64-x86-64-posix fonts-wine \(|install -y|wine32|i386|nsis"
)
failures=0
for row in "${cases[@]}"; do
    IFS='|' read -r mode plan answer shows logged absent <<<"$row"
    rm -rf "${fake:?}"/{bin,usr} && mkdir -p "$fake/bin" "$fake/usr/lib/wine" && : > "$fake/log"
    for c in dpkg dpkg-query apt-get apt-cache id; do ln -s ../command "$fake/bin/$c"; done
    printf '#!/bin/sh\n' > "$fake/wine" && chmod +x "$fake/command" "$fake/wine"   # its kernel runs i386 code
    cp "$fake/wine" "$fake/usr/lib/wine/wine64" && echo wine64 > "$fake/installed" && echo "$plan" > "$fake/plan"
    status=0
    if [[ $answer == - ]]; then
        output=$(QUILLORY_BOOTSTRAP_FAKE=$fake bash "$1" "$mode" </dev/null 2>&1) || status=$?
    else
        output=$(echo "$answer" | script -qec "QUILLORY_BOOTSTRAP_FAKE=$fake CI= bash $1 $mode" /dev/null 2>&1) || status=$?
    fi
    log=$(tr '\n' ' ' <"$fake/log")
    [[ $(tr '\r\n' '  ' <<<"$output") =~ $shows && $log =~ $logged && ($absent == - || ! $log =~ $absent) &&
       ($answer == - && $status == 0 || $answer != - && $status != 0) ]] ||
        { echo "FAIL: $row"$'\n'"exit status $status: $output"$'\n'"log: $log"; failures=$((failures + 1)); }
done
echo "bootstrap_test: $(( ${#cases[@]} - failures )) passed, $failures failed"
(( failures == 0 ))
