#!/usr/bin/env bash
# Each layer may include only from the layers below it:
#   platform <- foundation <- line <- range | results | display | remote
# and no program includes another program's code. The core of platform and
# foundation stays free of Qt; only their ui/ folders may use it.
set -u
root=${1:-$(dirname "$0")/..}
cd "$root" || exit 2
fail=0

check() {  # folder, pattern of includes it must not have, reason
    local hits
    hits=$(grep -rnE --include='*.h' --include='*.cpp' "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($2)" "$1" 2>/dev/null)
    if [ -n "$hits" ]; then
        echo "$3:"; echo "$hits"; fail=1
    fi
}

programs='range/|results/|display/|remote/'
check platform   "foundation/|line/|$programs" "platform includes a higher layer"
check foundation "line/|$programs" "foundation includes a higher layer"
check line       "$programs" "line includes a program"
for p in range results display remote; do
    others=$(echo "range results display remote" | tr ' ' '\n' | grep -v "^$p$" | sed 's|$|/|' | paste -sd'|')
    check "$p" "$others" "$p includes another program"
done
for core in platform foundation; do
    hits=$(grep -rlE --include='*.h' --include='*.cpp' '#[[:space:]]*include[[:space:]]*<Q' "$core" 2>/dev/null | grep -v "^$core/ui/")
    if [ -n "$hits" ]; then echo "$core core uses Qt:"; echo "$hits"; fail=1; fi
done
# BVRes below its screens has no Qt and no window kit; its printed lists may
# draw with platform/ui/draw and nothing else of it.
for dir in results/*/; do
    [ -d "$dir" ] || continue
    [ "$dir" = results/ui/ ] && continue
    hits=$(grep -rlE --include='*.h' --include='*.cpp' '#[[:space:]]*include[[:space:]]*<Q' "$dir" 2>/dev/null)
    if [ -n "$hits" ]; then echo "$dir uses Qt:"; echo "$hits"; fail=1; fi
    if [ "$dir" = results/print/ ]; then
        check "$dir" "foundation/ui/|platform/ui/[^d]|platform/ui/d[^r]" "$dir uses the window kit beyond drawing"
    else
        check "$dir" "foundation/ui/|platform/ui/" "$dir uses the window kit"
    fi
done
exit $fail
