#!/usr/bin/env bash
# tools/bootstrap.sh on a pretend machine (QUILLORY_BOOTSTRAP_FAKE): fake dpkg,
# dpkg-query and apt-get that answer from files and note every call. Each
# case runs it with a terminal (script(1), its answer typed) or without one.
# Usage: bootstrap_test.sh BOOTSTRAP
set -euo pipefail
bootstrap=$1
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
failures=0

# A fresh machine (wine64 only, a kernel that runs i386 code) or one without
# 32-bit support (wine32 installed); the plan apt answers. The fake apt
# installs the 32-bit loader, which runs once qemu is registered.
make_machine() {  # fresh|no-ia32 plan-lines
    rm -rf "${fake:?}"/* && mkdir -p "$fake/bin" "$fake/usr/lib/wine" "$fake/proc/sys/fs/binfmt_misc"
    [[ $1 == fresh ]] && echo ia32 > "$fake/proc/sys/fs/binfmt_misc/register" ||
        : > "$fake/proc/sys/fs/binfmt_misc/register"
    printf 'wine64 8.0\n' > "$fake/installed"
    printf '#!/bin/sh\n' > "$fake/usr/lib/wine/wine64"
    printf '#!/bin/sh\ntest -s "%s/proc/sys/fs/binfmt_misc/register"\n' "$fake" > "$fake/wine"
    chmod +x "$fake/wine" "$fake/usr/lib/wine/wine64"
    [[ $1 == fresh ]] || { echo "wine32:i386 8.0" >> "$fake/installed"; cp "$fake/wine" "$fake/usr/lib/wine/"; }
    printf '%s\n' "$2" > "$fake/plan"
    cat > "$fake/bin/dpkg-query" <<EOF
#!/bin/bash
line=\$(grep "^\${@: -1} " "$fake/installed") || exit 1
[[ "\$*" == *Status* ]] && echo "install ok installed" || echo "\${line#* }"
EOF
    cat > "$fake/bin/dpkg" <<EOF
#!/bin/bash
echo "dpkg \$*" >> "$fake/log"
[[ \$1 == --compare-versions ]] && exec /usr/bin/dpkg "\$@"
exit 0
EOF
    cat > "$fake/bin/apt-get" <<EOF
#!/bin/bash
echo "apt-get \$*" >> "$fake/log"
[[ " \$* " != *" -s "* ]] || cat "$fake/plan"
[[ " \$* " != *" wine32:i386 "* || " \$* " != *" -y "* ]] || cp "$fake/wine" "$fake/usr/lib/wine/"
EOF
    printf '#!/bin/sh\n' > "$fake/bin/apt-cache"
    printf '#!/bin/sh\necho 0\n' > "$fake/bin/id"   # root: no sudo, whoever runs the test
    chmod +x "$fake"/bin/*
}

# name | machine | apt's plan | mode | answer typed on a terminal (- none)
#      | output must show | the fake's log must show | nor this
cases=(
"a no on a terminal changes nothing|fresh|Inst wine32 (8.0 Debian [i386])|all|n
|go ahead\? \[y/N\] .*stopped: nothing was changed|apt-get update|add-architecture|install -y"
"without a terminal it goes ahead and prints the plan|fresh|Inst wine32 (8.0 Debian [i386])|all|-
|will add the i386 architecture.*will install .*wine32:i386.*done|add-architecture i386.*install -y|go ahead"
"a downgrade shows both versions|fresh|Inst libz [1.3-2] (1.3-1 Debian [amd64])|all|-
|will downgrade libz from 1.3-2 to 1.3-1|install -y|-"
"the binfmt registration says why|no-ia32|Inst qemu-user-static (7.2 Debian [amd64])|all|-
|register it with binfmt_misc.*runs no 32-bit code.*registered qemu-i386|install -y.*qemu-user-static|-"
"make run installs the 64-bit game's needs only|fresh|Inst cmake (3.25 Debian [amd64])|run|-
|will install cmake ninja-build g\+\+-mingw-w64-x86-64-posix fonts-wine \(|install -y|wine32|i386|nsis"
)
for row in "${cases[@]}"; do
    IFS='|' read -r name machine plan mode answer shows logged absent <<<"${row//$'\n'/}"
    make_machine "$machine" "$plan"
    status=0
    if [[ $answer == - ]]; then
        output=$(QUILLORY_BOOTSTRAP_FAKE=$fake bash "$bootstrap" "$mode" </dev/null 2>&1) || status=$?
    else
        output=$(printf '%s\n' "$answer" | script -qec \
            "QUILLORY_BOOTSTRAP_FAKE=$fake CI= bash $bootstrap $mode" /dev/null 2>&1) || status=$?
    fi
    log=$(tr '\n' ' ' < "$fake/log" 2>/dev/null || true)
    problem=
    [[ $(tr '\n\r' '  ' <<<"$output") =~ $shows ]] || problem="output lacks /$shows/"
    [[ $log =~ $logged ]] || problem+=" log lacks /$logged/"
    [[ $absent == - || ! $log =~ $absent ]] || problem+=" log has /$absent/"
    [[ ($answer == - && $status == 0) || ($answer != - && $status != 0) ]] || problem+=" exit status $status"
    if [[ -n $problem ]]; then
        echo "FAIL: $name:$problem"$'\n'"$output"$'\n'"log: $log"
        failures=$((failures + 1))
    fi
done
echo "bootstrap_test: $(( ${#cases[@]} - failures )) passed, $failures failed"
(( failures == 0 ))
