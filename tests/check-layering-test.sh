#!/usr/bin/env bash
# Shows that check-layering.sh finds what it is there to find: on a copy of
# the source tree, it passes as the tree stands, then each throwaway file of
# the table below is added alone and the check must fail or pass as listed.
set -u
src=${1:-$(dirname "$0")/..}
check="$src/tests/check-layering.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for d in platform foundation line range results display remote tools; do
    [ -d "$src/$d" ] && cp -r "$src/$d" "$tmp/"
done

bad=0
run() {  # expected (pass|fail), what [, the file a failure must name]
    local out got
    out=$("$check" "$tmp" 2>&1) && got=pass || got=fail
    if [ "$got" = fail ] && [ -n "${3:-}" ] && ! grep -q "^$3:" <<< "$out"; then
        echo "FAILED: $2: the check failed, but not on $3"; echo "$out"; bad=1
    elif [ "$got" != "$1" ]; then
        echo "FAILED: $2: the check should $1 but did $got"; echo "$out"; bad=1
    else
        echo "ok: $2${out:+ -> $(echo "$out" | head -1)}"
    fi
}

run pass "the tree as it stands"

# file | include line | expected
cases='
foundation/text/Throwaway.h|#include <QString>|fail
foundation/text/Throwaway.cpp|#  include <QtCore/qglobal.h>|fail
line/Throwaway.cpp|#include "platform/ui/Dialog.h"|fail
results/Throwaway.h|#include "platform/ui/draw/DrawSurface.h"|fail
display/Throwaway.h|#include "foundation/ui/grid/GridList.h"|fail
range/Throwaway.h|#include "range/ui/Screen.h"|fail
results/print/Throwaway.h|#include "platform/ui/draw/DrawSurface.h"|pass
results/print/Throwaway.h|#include "platform/ui/Dialog.h"|fail
results/print/Throwaway.h|#include "platform/ui/Prompter.h"|pass
results/data/Throwaway.h|#include "platform/ui/Prompter.h"|fail
results/data/Throwaway.h|#include "results/print/Report.h"|fail
results/ui/Throwaway.h|#include "results/print/Report.h"|pass
results/lists/Throwaway.h|#include "results/print/Report.h"|pass
results/lists/files/Throwaway.h|#include "platform/ui/draw/DrawSurface.h"|fail
results/print/Throwaway.h|#include "results/lists/DataList.h"|fail
results/values/Throwaway.h|#include "results/lists/DataList.h"|fail
results/ui/Throwaway.h|#include "results/lists/DataList.h"|pass
results/print/Throwaway.h|#include <QPainter>|fail
display/draw/Throwaway.h|#include "platform/ui/draw/BitmapDC.h"|pass
display/draw/Throwaway.h|#include "platform/ui/KitWindow.h"|fail
display/draw/Throwaway.h|#include <QImage>|fail
display/layout/Throwaway.h|#include "platform/ui/draw/DrawSurface.h"|fail
range/ui/Throwaway.h|#include <QWidget>|pass
line/ui/Throwaway.h|#include <QWidget>|pass
line/loader/Throwaway.h|#include "line/ui/BVSWLoad.h"|fail
foundation/ui/grid/Throwaway.h|#include "platform/ui/KitWindow.h"|pass
foundation/ui/grid/Throwaway.h|#include "line/LineMessage.h"|fail
platform/files/Throwaway.h|#include "foundation/files/BVFileEx.h"|fail
foundation/files/Throwaway.h|#include "line/LineMessage.h"|fail
line/Throwaway.h|#include "range/TickSchedule.h"|fail
results/Throwaway.h|#include "range/ShotMessage.h"|fail
remote/ui/Throwaway.h|#include "display/View.h"|fail
range/Throwaway.h|#include "line/LineMessage.h"|pass
tools/bvtool/Throwaway.cpp|#include "results/data/Competition.h"|pass
tools/bvtool/Throwaway.cpp|#include "range/ui/MainFrame.h"|fail
tools/bvtool/Throwaway.cpp|#include <QApplication>|pass
range/lanes/Throwaway.h|#include "range/run/RangeControl.h"|fail
range/base/Throwaway.h|#include "range/lanes/LaneCards.h"|fail
range/run/Throwaway.h|#include "range/lanes/LaneCards.h"|pass
results/values/Throwaway.h|#include "results/data/DataEvent.h"|fail
results/data/Throwaway.h|#include "results/values/CardItems.h"|pass
display/model/Throwaway.h|#include "display/draw/PicturePainter.h"|fail
display/draw/Throwaway.h|#include "display/model/DisplayModel.h"|pass
display/extra/Throwaway.h|#include "display/model/DisplayModel.h"|fail
remote/settings/Throwaway.h|#include "remote/print/CardPrint.h"|fail
'
while IFS='|' read -r file include expected; do
    [ -z "$file" ] && continue
    mkdir -p "$tmp/$(dirname "$file")"
    printf '#pragma once\n%s\n' "$include" > "$tmp/$file"
    run "$expected" "$file with $include" "$file"
    rm -f "$tmp/$file"
done <<< "$cases"


exit $bad
