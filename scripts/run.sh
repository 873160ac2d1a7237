#!/usr/bin/env bash
# Builds the system and starts its main job: the range control BVLeder on a
# demo range folder, with bvsim playing ten target units on the serial line
# of the range's channel 1. A shooter script fires on the ten lanes; the shots
# travel over the simulated bus into BVLeder, onto the cards in the range
# folder and into the exchange folder. The display BVVis shows the range on
# its audience screen: a profile of ten faces with the shooting clock and a
# list of the ten lanes, started by its select dialog's countdown. Ctrl+C
# ends the demo.
#
#   BV_DEMO=folder     where the demo range folder is made (build/demo)
#   BV_DEMO_SHOTS=n    shots per lane (20: two series of ten)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-release.sh

BUILD=$PWD/build/release
DEMO=${BV_DEMO:-$PWD/build/demo}
SHOTS=${BV_DEMO_SHOTS:-20}
BVTOOL=$BUILD/tools/bvtool/bvtool
BVSIM=$BUILD/tools/bvsim/bvsim
BVLEDER=$BUILD/range/BVLeder
BVVIS=$BUILD/display/BVVis

# --- The demo range folder: competition 1 on lanes 1-10, served by COM1 ---
rm -rf "$DEMO"
mkdir -p "$DEMO/BV"
cp "$BUILD/lang/BVRange.bvt" "$DEMO/"
"$BVTOOL" comp create "$DEMO" 1 1-10
cfg() { "$BVTOOL" cfg set "$@" >/dev/null; }
cfg "$DEMO/BVLeder.bvc" 1 1 680 1     # the competition the range works on
cfg "$DEMO/BVLeder.bvc" 1 1 15 0      # results program: the system's own
cfg "$DEMO/BVLeder.bvc" 1 1 570 'BV'  # exchange folder .\BV\ of the range folder
# Program 1: two series of ten shots.
cfg "$DEMO/Program.BVC" 29 1 500 'Demo 2x10'
cfg "$DEMO/Program.BVC" 29 1 531 2
cfg "$DEMO/Program.BVC" 25 1 2 10
cfg "$DEMO/Program.BVC" 25 1 3 10
cfg "$DEMO/Comp1/Comp.BVC" 2 1 15 1
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

# --- The simulated target units, left set to competition 1 and relay 1 ---
pids=()
cleanup() {
    trap - EXIT INT TERM
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    echo
    echo "Demo ended. The range folder stays in $DEMO:"
    "$BVTOOL" cards "$DEMO" 1 || true
    # A stop ends the script too, not only its programs.
    exit 0
}
trap cleanup EXIT INT TERM

"$BVSIM" --link "$DEMO/COM1" --units 1-10 --comp 1 --relay 1 --control "$DEMO/bvsim.ctl" >"$DEMO/bvsim.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    grep -q '^ready' "$DEMO/bvsim.log" 2>/dev/null && break
    sleep 0.1
done
grep -q '^ready' "$DEMO/bvsim.log" || { echo "bvsim did not start:"; cat "$DEMO/bvsim.log"; exit 1; }

# --- The range control ---
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    export QT_QPA_PLATFORM=offscreen
    echo "No display: BVLeder runs on Qt's offscreen platform (no window is shown)."
fi
# A first start asks for the language; the demo speaks English unless one
# was chosen before.
PROFILE="${XDG_CONFIG_HOME:-$HOME/.config}/Brevandi/BVLeder.ini"
if [ -z "$("$BVTOOL" ini get "$PROFILE" Context Language 2>/dev/null)" ]; then
    mkdir -p "$(dirname "$PROFILE")"
    "$BVTOOL" ini set "$PROFILE" Context Language EN >/dev/null
fi
(cd "$DEMO" && BV_COM1="$DEMO/COM1" exec "$BVLEDER") >"$DEMO/BVLeder.out" 2>&1 &
pids+=($!)

# --- The display: its select dialog counts down, then the pictures full screen ---
(cd "$DISPLAY_DIR" && exec "$BVVIS") >"$DEMO/BVVis.out" 2>&1 &
pids+=($!)

cat <<TXT

BVLeder runs on $DEMO with ten simulated target units on COM1.
Watch the shots arrive:
  tail -f $DEMO/bvsim.log            each shot as BVLeder acknowledges it ('ack LANE ...')
  $BVTOOL cards $DEMO 1              the cards and their shot counts
  $BVTOOL shots $DEMO 1 1 LANE       the shots of one lane's card
  ls $DEMO/BV                        results for the results program (H1R001LL.txt)
  $DEMO/BVLog.txt                    BVLeder's log (errors only by default)
BVVis shows the range from $DISPLAY_DIR: ten faces with the clock, then the list.
  $BVVIS --render 1 1 faces.png --folder $DISPLAY_DIR --report   the faces as a PNG file
Ctrl+C ends the demo.

TXT

# --- The shooters: a shot every half second on a random lane ---
declare -a fired
for lane in $(seq 10); do fired[$lane]=0; done
sleep 2
total=0
while [ "$total" -lt $((SHOTS * 10)) ]; do
    lane=$((RANDOM % 10 + 1))
    n=$((fired[lane] + 1))
    [ "$n" -le "$SHOTS" ] || continue
    fired[$lane]=$n
    total=$((total + 1))
    series=$(((n - 1) / 10 + 1))
    x=$((RANDOM % 300000 - 150000))
    y=$((RANDOM % 300000 - 150000))
    value=$("$BVTOOL" score 0 "$((x / 1000))" "$((y / 1000))")
    echo "shot $lane $n $value $x $y $series" >"$DEMO/bvsim.ctl"
    sleep 0.5
done
echo "Every lane has fired its $SHOTS shots; BVLeder keeps running until Ctrl+C."
wait "${pids[1]}"
