#!/usr/bin/env bash
# Checks the shape of the code on every include of every source file of the
# layers and tools:
#
#   platform <- foundation <- line <- range | results | display | remote
#   tools    <- platform, foundation, line, and the programs' logic
#
# 1. Each layer includes only from its own and the lower layers: no program
#    includes another program's code. The support tools (bvtool's results
#    commands) may use a program's logic folders, never its ui folder.
# 2. Logic folders hold no widgets. A folder named ui, and everything below
#    it, is a widget folder (platform/ui/**, foundation/ui/**, line/ui/**, range/ui/**,
#    results/ui/**, ...); every other folder is a logic folder, and a file
#    there includes no Qt header (<Q...>, <qt...>) and nothing from a ui
#    folder (platform/ui/, foundation/ui/, range/ui/, ...).
#    Two exceptions: results/print (and below), where the results program lays
#    out and prints its lists, and display/draw (and below), where the display
#    draws its pictures, may include the kit's drawing and print headers
#    (platform/ui/draw/); results/print also its prompter
#    (platform/ui/Prompter.h, no Qt). Nothing else of the kit, nor Qt itself.
# 3. BVRes's core (every folder of results/ but print, lists and ui) stays
#    free of drawing: it does not include results/print. The list object and
#    its producers (results/lists) stand on the report engine; only they and
#    the screens include it, and only the screens include results/lists.
#    Tools are command-line programs that print and may use the kit; rule 2
#    does not apply to them.
# 4. Inside each program the folders stack in the order of the table below,
#    lowest first: a file includes from its own folder and the folders listed
#    before it, never from one after it. A folder the table does not list is
#    a fault too, so that a new folder takes its place in the order.
# Tests, benchmarks and fuzzers are not checked: they reach into what they test.
#
# Usage: check-layering.sh [root]; prints each fault and fails when there is one.
set -u
root=${1:-$(dirname "$0")/..}
cd "$root" || exit 2

folders="platform foundation line range results display remote tools"

fail=0
existing=$(for d in $folders; do [ -d "$d" ] && echo "$d"; done)
# shellcheck disable=SC2086
grep -rnE --include='*.h' --include='*.cpp' \
    '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' $existing 2>/dev/null |
awk '
BEGIN {
    rank["platform"] = 0; rank["foundation"] = 1; rank["line"] = 2
    rank["range"] = 3; rank["results"] = 3; rank["display"] = 3; rank["remote"] = 3
    rank["tools"] = 3
    # The folders of each program, lowest first.
    stack["range"] = "base exchange lanes shots print views dialogs setup scorecard run ui"
    stack["results"] = "backup values data events registers exchange print lists ui"
    stack["display"] = "settings model config layout nettcast draw loop ui"
    stack["remote"] = "settings names print ui"
    for (p in stack) {
        n = split(stack[p], f, " ")
        for (i = 1; i <= n; ++i) level[p "/" f[i]] = i
    }
    bad = 0
}
# May a file of layer from include a file of layer to?
function allowed(from, to) {
    if (!(to in rank) || from == to) return 1
    if (rank[to] < 3) return rank[to] <= rank[from]
    if (from == "tools") return path !~ /(^|\/)ui\//
    return 0  # a program: only from itself
}
{
    file = $0; sub(/:.*/, "", file)
    rest = substr($0, length(file) + 2); line = rest; sub(/:.*/, "", line)
    text = substr(rest, length(line) + 2)
    if (!match(text, /[<"][^>"]*[>"]/)) next
    target = substr(text, RSTART, RLENGTH)
    path = substr(target, 2, RLENGTH - 2)
    from = file; sub(/\/.*/, "", from)
    to = path; sub(/\/.*/, "", to)
    where = file ":" line ": "
    if (substr(target, 1, 1) == "\"" && index(path, "/") && !allowed(from, to)) {
        if (from == "tools") why = "tools include a ui folder of a program"
        else if (rank[to] == 3 && rank[from] == 3) why = from " includes another program"
        else why = from " includes a higher layer"
        print where why ": " text; bad = 1
    }
    if (file ~ /^results\// && file !~ /^results\/(print|lists|ui)\// && path ~ /^results\/print\//) {
        print where "the results core includes its printing: " text; bad = 1
    }
    if (file ~ /^results\// && file !~ /^results\/(lists|ui)\// && path ~ /^results\/lists\//) {
        print where "the results core or its printing includes the lists: " text; bad = 1
    }
    if (from in stack && to == from && substr(target, 1, 1) == "\"") {
        fromFolder = file; sub(/^[^\/]*\//, "", fromFolder)
        toFolder = path; sub(/^[^\/]*\//, "", toFolder)
        if (fromFolder ~ /\// && toFolder ~ /\//) {
            sub(/\/.*/, "", fromFolder); sub(/\/.*/, "", toFolder)
            if (!((from "/" fromFolder) in level)) {
                print where from "/" fromFolder " has no place in the folder order of its program"; bad = 1
            } else if (!((from "/" toFolder) in level)) {
                print where from "/" toFolder " has no place in the folder order of its program: " text; bad = 1
            } else if (level[from "/" toFolder] > level[from "/" fromFolder]) {
                print where from "/" fromFolder " includes " from "/" toFolder ", above it: " text; bad = 1
            }
        } else if (fromFolder ~ /\//) {
            print where from "/" fromFolder " includes a file outside the folders of its program: " text; bad = 1
        }
    }
    if (from == "tools" || file ~ /(^|\/)ui\//) next
    qt = substr(target, 1, 1) == "<" && path ~ /^(Q|qt)/
    widgets = path ~ /(^|\/)ui\//
    if (file ~ /^results\/print\// && (path ~ /^platform\/ui\/draw\// || path == "platform/ui/Prompter.h")) widgets = 0
    if (file ~ /^display\/draw\// && path ~ /^platform\/ui\/draw\//) widgets = 0
    if (qt) { print where "a logic folder includes Qt: " text; bad = 1 }
    else if (widgets) { print where "a logic folder includes a ui folder: " text; bad = 1 }
}
END { exit bad }
' || fail=1
exit $fail
