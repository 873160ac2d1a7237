#!/usr/bin/env bash
# Builds the system and starts its main job: the range control BVLeder on a
# demo range folder, with bvsim playing ten target units on the serial line
# of the range's channel 1. A shooter script fires on the ten lanes; the shots
# travel over the simulated bus into BVLeder, onto the cards in the range
# folder and into the exchange folder. The display BVVis shows the range
# beside it: a profile of ten faces with the shooting clock and a list of the
# ten lanes, started by its select dialog's countdown. Ctrl+C ends the demo.
#
#   BV_DEMO=folder        where the demo range folder is made (build/demo)
#   BV_DEMO_SHOTS=n       shots per lane (20: two series of ten)
#   BV_DEMO_PACE=seconds  between two shots (0.5)
#   BV_DEMO_SEED=n        the shooters' draws start from n: the same shots
#                         every time
#   BV_BUILD=folder       run the programs of this build; nothing is built
#   BV_DEMO_PROGRAMS=...  the programs started ("BVLeder BVVis"); a test that
#                         runs the range control itself leaves it out
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${BV_BUILD:-}" ]; then
    scripts/build-release.sh
    BUILD=$PWD/build/release
else
    BUILD=$(cd "$BV_BUILD" && pwd)
fi

DEMO=${BV_DEMO:-$PWD/build/demo}
SHOTS=${BV_DEMO_SHOTS:-20}
PACE=${BV_DEMO_PACE:-0.5}
PROGRAMS=${BV_DEMO_PROGRAMS-BVLeder BVVis}
BVTOOL=$BUILD/tools/bvtool/bvtool
BVSIM=$BUILD/tools/bvsim/bvsim
BVLEDER=$BUILD/range/BVLeder
BVVIS=$BUILD/display/BVVis
starts() { case " $PROGRAMS " in *" $1 "*) return 0 ;; *) return 1 ;; esac; }

# --- The demo range folder and the display's folder beside it ---
scripts/demo-folder.sh "$BUILD" "$DEMO"
DISPLAY_DIR=$DEMO/display

# --- The simulated target units, left set to competition 1 and relay 1 ---
pids=()
leder=
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

"$BVSIM" --link "$DEMO/COM1" --units 1-10 --comp 1 --relay 1 --program 10,10 --control "$DEMO/bvsim.ctl" \
    >"$DEMO/bvsim.log" 2>&1 &
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
CONFIG="${XDG_CONFIG_HOME:-$HOME/.config}/Brevandi"
mkdir -p "$CONFIG"
profile() { "$BVTOOL" ini get "$CONFIG/$1.ini" "$2" "$3" 2>/dev/null || true; }
if [ -z "$(profile BVLeder Context Language)" ]; then
    "$BVTOOL" ini set "$CONFIG/BVLeder.ini" Context Language EN >/dev/null
fi
# Both windows on one screen, the range control on the left, the display on
# the right, unless they were placed before.
if [ -n "${DISPLAY:-}" ]; then
    SCREEN=$( (xdpyinfo 2>/dev/null || true) | sed -n 's/.*dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p')
    read -r SW SH <<<"${SCREEN:-1280 800}"
    place() {  # PROGRAM X0 Y0 X1 Y1
        local program=$1 key
        shift
        [ -z "$(profile "$program" Context WindowX0)" ] || return 0
        for key in WindowX0 WindowY0 WindowX1 WindowY1; do
            "$BVTOOL" ini set "$CONFIG/$program.ini" Context $key "$1" >/dev/null
            shift
        done
    }
fi
if starts BVLeder; then
    [ -z "${DISPLAY:-}" ] || place BVLeder 1 1 $((SW * 11 / 20)) $((SH - 40))
    (cd "$DEMO" && BV_COM1="$DEMO/COM1" exec "$BVLEDER") >"$DEMO/BVLeder.out" 2>&1 &
    pids+=($!)
    leder=$!
fi

# --- The display: its select dialog counts down, then the pictures show ---
if starts BVVis; then
    [ -z "${DISPLAY:-}" ] || place BVVis $((SW * 11 / 20 + 8)) 1 $((SW - 8)) $((SH * 3 / 4))
    (cd "$DISPLAY_DIR" && exec "$BVVIS" --window) >"$DEMO/BVVis.out" 2>&1 &
    pids+=($!)
fi

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
# Shots fall as shooters place them: most near the centre, fewer further out,
# one in eight wide of the group. Four draws added make the bell; a spread of
# 80 mm on the 300 m face (rings 75 mm apart) puts most shots in the 8, 9 and
# 10 rings, the wide ones three times as far out.
# The draws stay in this shell (a subshell draws anew), so that a seed gives
# the same shots every time.
aim() {  # sets AIM, micrometres from the centre
    local bell=$((RANDOM + RANDOM + RANDOM + RANDOM - 65534))
    if [ $((RANDOM % 8)) -eq 0 ]; then AIM=$((bell * 127 / 10)); else AIM=$((bell * 127 / 30)); fi
}
millimetres() {  # micrometres as millimetres with three decimals
    local v=$1 sign=
    if [ "$v" -lt 0 ]; then sign=-; v=$((-v)); fi
    printf '%s%d.%03d' "$sign" $((v / 1000)) $((v % 1000))
}
[ -z "${BV_DEMO_SEED:-}" ] || RANDOM=$BV_DEMO_SEED
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
    aim
    x=$AIM
    aim
    y=$AIM
    value=$("$BVTOOL" score 0 "$(millimetres "$x")" "$(millimetres "$y")")
    # No series: each unit shoots in its own, the one the range control gave it.
    echo "shot $lane $n $value $x $y" >"$DEMO/bvsim.ctl"
    sleep "$PACE"
done
echo "Every lane has fired its $SHOTS shots; the demo keeps running until Ctrl+C."
# Closing BVLeder's window ends the demo too.
wait ${leder:-}
