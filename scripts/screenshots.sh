#!/usr/bin/env bash
# Takes the README's screenshots of the real program under Xvfb, driven by taps, with gpssim as
# its receiver: scripts/screenshots.sh [BUILD] -> docs/screens/<size>-<screen>.png
# Needs xvfb, xdotool, x11-apps (xwd) and imagemagick.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
out=$top/docs/screens
mkdir -p "$out"
export DISPLAY=:77
Xvfb $DISPLAY -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; pkill -f "$build/sulcomain" || true' EXIT
sleep 1
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work

run() {  # W H: one pass through the screens at that size
    local W=$1 H=$2 k=1
    [ "$W" -ge 480 ] && k=2
    local hw=$((W / 2)) S=$((48 * k))
    shot() { sleep "${2:-0.6}"; xwd -root -silent | convert xwd:- -crop "${W}x${H}+0+0" +repage "$out/${W}x${H}-$1.png"; }
    tap() { xdotool mousemove "$1" "$2" click 1; }
    start_y() { echo $(((20 + 60 * $1) * k + 20 * k)); }  # row n of the start column, middle
    local yes_y=$((H / 2 - 50 * k + 38 * k)) no_y=$((H / 2 + 30 * k + 38 * k)) bar=$((H - S / 2))
    rm -f "$build/Settings.dat"
    "$build/sulcomain" --simulate --size "${W}x${H}" >/dev/null 2>&1 &
    sleep 4
    shot start 0
    tap "$hw" "$(start_y 1)"; shot gps-wait 1.2
    sleep 3; shot ab-prompt 0
    tap "$hw" $((H / 2)); sleep 6; shot ab-point-a 0
    tap "$hw" $((H / 2)); sleep 12; shot guidance 0
    tap $((2 * S + S / 2)) "$bar"; shot guidance-north-up 2
    tap $((2 * S + S / 2)) "$bar"; sleep 1
    tap "$hw" $((H / 2)); shot paused 1
    tap "$hw" $((H / 2)); sleep 1
    tap $((S / 2)) "$bar"; shot confirm-finish 1
    tap "$hw" "$yes_y"; shot confirm-save 1
    tap "$hw" "$no_y"; sleep 1
    tap "$hw" "$(start_y 0)"; sleep 12; shot free-work 0
    tap $((S / 2)) "$bar"; sleep 1; tap "$hw" "$yes_y"; sleep 1; tap "$hw" "$no_y"; sleep 1
    tap "$hw" "$(start_y 4)"; shot confirm-close 1
    tap "$hw" "$no_y"; sleep 1
    pkill -TERM -f "$build/sulcomain" || true
    sleep 2
}

run 480 640
run 240 320
rm -rf "$work"
echo "screenshots in $out"
