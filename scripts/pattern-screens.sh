#!/usr/bin/env bash
# Takes the screenshots of the guidance patterns with the real program under Xvfb and gpssim
# driving a bent field: scripts/pattern-screens.sh [BUILD] ->
# docs/screens/<size>-pattern-{heading,curve-recording,curve}.png. Needs xvfb, xdotool and xwd.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
out=$top/docs/screens
mkdir -p "$out"
# A display number no other server uses (Xvfb picks it and writes it to the file).
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    kill $xvfb 2>/dev/null || true
    rm -f "$build/sulcovane.conf" "$build/Settings.dat" "$build/work.journal" "$displayfile"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -s "$displayfile" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$displayfile")
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work

run() {  # W H PATTERN
    local W=$1 H=$2 pattern=$3 k=1
    [ "$W" -ge 480 ] && k=2
    local hw=$((W / 2))
    shot() { sleep "${2:-0.6}"; xwd -root -silent | "$top/scripts/xwd2png.py" "$W" "$H" "$out/${W}x${H}-pattern-$1.png"; }
    # The prompt blinks, drawn on every other frame: shots are taken until one holds its first
    # line (the day palette's blue text in the top rows, above the panel).
    prompt_shot() {
        local file="$out/${W}x${H}-pattern-$1.png"
        for _ in $(seq 20); do
            xwd -root -silent | "$top/scripts/xwd2png.py" "$W" "$H" "$file"
            python3 - "$file" $((16 * k)) <<'PY' && return 0
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
width, height = struct.unpack(">II", data[16:24])
body, i = b"", 8
while i < len(data):
    (size,), kind = struct.unpack(">I", data[i:i + 4]), data[i + 4:i + 8]
    if kind == b"IDAT":
        body += data[i + 8:i + 8 + size]
    i += 12 + size
raw = zlib.decompress(body)
line = 1 + 3 * width
top = raw[:int(sys.argv[2]) * line]
blue = any(top[y * line + 1 + 3 * x:y * line + 4 + 3 * x] == b"\0\0\xff"
           for y in range(int(sys.argv[2])) for x in range(width))
sys.exit(0 if blue else 1)
PY
            sleep 0.1
        done
        echo "pattern-screens: no frame with the prompt for $1" >&2
        return 1
    }
    tap() { xdotool mousemove "$1" "$2" click 1; }
    start_y() { echo $(((20 + 60 * $1) * k + 20 * k)); }
    # No settings and no journal of the pass before: its resume question would take the taps.
    rm -f "$build/Settings.dat" "$build/work.journal"
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
        prompt_shot curve-recording
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
