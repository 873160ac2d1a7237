#!/usr/bin/env bash
# Makes the demo's folders, as scripts/run.sh runs them: a range folder with
# competition 1 on lanes 1-10 served by COM1 and the range's own program 101,
# and beside it, in display/, the display's folder showing it.
#
#   scripts/demo-folder.sh BUILD DEMO   BUILD: a build folder with bvtool and
#                                       the language files; DEMO: made anew
set -euo pipefail
BUILD=$1
DEMO=$2
BVTOOL=$BUILD/tools/bvtool/bvtool

# --- The demo range folder: competition 1 on lanes 1-10, served by COM1 ---
rm -rf "$DEMO"
mkdir -p "$DEMO/BV"
cp "$BUILD/lang/BVRange.bvt" "$DEMO/"
# The settings go into one bvtool batch, run once the folder is described.
SETUP=$DEMO/setup.bvtool
echo "comp create '$DEMO' 1 1-10" >"$SETUP"
cfg() { printf 'cfg set' >>"$SETUP"; printf " '%s'" "$@" >>"$SETUP"; echo >>"$SETUP"; }
cfg "$DEMO/BVLeder.bvc" 1 1 680 1     # the competition the range works on
cfg "$DEMO/BVLeder.bvc" 1 1 15 0      # results program: the system's own
cfg "$DEMO/BVLeder.bvc" 1 1 570 'BV'  # exchange folder .\BV\ of the range folder
# Program 101, the range's own first program (organisation Private numbers
# its programs from 101 on, in Program2.BVC): two series of ten shots.
cfg "$DEMO/Program2.BVC" 29 1 530 1  # one program slot used
cfg "$DEMO/Program2.BVC" 29 1 500 'Demo 2x10'
cfg "$DEMO/Program2.BVC" 29 1 531 2
cfg "$DEMO/Program2.BVC" 25 1 2 10
cfg "$DEMO/Program2.BVC" 25 1 3 10
cfg "$DEMO/Comp1/Comp.BVC" 2 1 16 0  # organisation Private
cfg "$DEMO/Comp1/Comp.BVC" 2 1 15 101
cfg "$DEMO/Comp1/Comp.BVC" 2 1 710 1
# Default options, with the results sent after every shot.
cfg "$DEMO/Comp1/Comp.BVC" 2 1 1 011011110000010100000000000000
cfg "$DEMO/Comp1/Comp.BVC" 2 1 20 'Serie ferdig'

# --- The display's folder beside it: event 1 is the range folder ---
DISPLAY_DIR=$DEMO/display
mkdir -p "$DISPLAY_DIR"
cp "$BUILD/lang/BVView.bvt" "$DISPLAY_DIR/"
cfg "$DISPLAY_DIR/BVVis.bvc" 3 1 530 1       # one event
cfg "$DISPLAY_DIR/BVVis.bvc" 3 1 640 1
cfg "$DISPLAY_DIR/BVVis.bvc" 3 1 500 'Demo range'
cfg "$DISPLAY_DIR/BVVis.bvc" 3 1 570 '..'    # its range folder
# Two picture slots, both in use and placed in the profile.
cfg "$DISPLAY_DIR/BVVis.bvc" 31 1 530 2
for b in 1 2; do
    cfg "$DISPLAY_DIR/BVVis.bvc" 31 "$b" 680 1
    cfg "$DISPLAY_DIR/BVVis.bvc" 31 1 "$b" 1
done
# Picture 1: ten faces with header, clock and places; picture 2: a list row per lane.
for b in 1 2; do
    pict="$DISPLAY_DIR/Pict$b.bvc"
    cfg "$pict" 31 1 500 "$([ $b = 1 ] && echo Targets || echo Results)"
    cfg "$pict" 31 1 530 10
    cfg "$pict" 31 1 6 1
    [ $b = 1 ] && cfg "$pict" 31 1 9 1
    for lane in $(seq 10); do
        cfg "$pict" 503 1 "$lane" "$lane"
        cfg "$pict" 502 1 "$lane" 1
        cfg "$pict" 500 "$lane" 640 "$([ $b = 1 ] && echo 0 || echo 2)"
    done
done
# Profile 1 shows both, 10 s each; the select dialog starts it by itself.
cfg "$DISPLAY_DIR/Profil.bvc" 31 1 530 1
cfg "$DISPLAY_DIR/Profil.bvc" 31 1 500 'Demo'
cfg "$DISPLAY_DIR/Profil.bvc" 31 1 531 2
for place in 1 2; do
    cfg "$DISPLAY_DIR/Profil.bvc" 500 1 $place $place
    cfg "$DISPLAY_DIR/Profil.bvc" 501 1 $place 10
done
cfg "$DISPLAY_DIR/Profil.bvc" 502 1 1 1   # it shows event 1

"$BVTOOL" batch "$SETUP" >/dev/null
rm "$SETUP"
