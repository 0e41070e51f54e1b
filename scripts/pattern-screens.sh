#!/usr/bin/env bash
# Takes the screenshots of the guidance patterns with the real program under Xvfb and gpssim
# driving a bent field: scripts/pattern-screens.sh [BUILD] ->
# docs/screens/<size>-pattern-{heading,curve-recording,curve}.png. Needs xvfb, xdotool and xwd.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
out=$top/docs/screens
mkdir -p "$out"
export DISPLAY=:78
Xvfb $DISPLAY -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    kill $xvfb 2>/dev/null || true
    rm -f "$build/sulcovane.conf"
}
trap cleanup EXIT
sleep 1
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work

run() {  # W H PATTERN
    local W=$1 H=$2 pattern=$3 k=1
    [ "$W" -ge 480 ] && k=2
    local hw=$((W / 2))
    shot() { sleep "${2:-0.6}"; xwd -root -silent | "$top/scripts/xwd2png.py" "$W" "$H" "$out/${W}x${H}-pattern-$1.png"; }
    tap() { xdotool mousemove "$1" "$2" click 1; }
    start_y() { echo $(((20 + 60 * $1) * k + 20 * k)); }
    rm -f "$build/Settings.dat"
    printf '[guidance]\npattern=%s\n' "$pattern" >"$build/sulcovane.conf"
    [ "$pattern" = heading ] && printf 'heading=30\n' >>"$build/sulcovane.conf"
    "$build/gpssim" --rate 5 --length 150 --spacing 12 --speed 12 --bend 60 >"$work/dev" &
    local sim=$!
    pids+=($sim)
    sleep 1
    "$build/sulcomain" --size "${W}x${H}" --gps-device "$(head -1 "$work/dev")" >/dev/null 2>&1 &
    local prog=$!
    pids+=($prog)
    sleep 4
    tap "$hw" "$(start_y 1)"
    sleep 5
    tap "$hw" $((H / 2))  # A
    if [ "$pattern" = curve ]; then
        sleep 14
        shot curve-recording 0
        tap "$hw" $((H / 2))  # B
        sleep 55              # round the headland and well onto the next arc
        shot curve 0
    else
        sleep 8
        shot heading 0
    fi
    kill -TERM $prog 2>/dev/null || true
    kill $sim 2>/dev/null || true
    wait $prog 2>/dev/null || true
    sleep 1
}

for size in "480 640" "240 320"; do
    run $size heading
    run $size curve
done
rm -rf "$work"
echo "screenshots in $out"
