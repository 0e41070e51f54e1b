#!/usr/bin/env bash
# Takes the README's screenshots of the real program under Xvfb, driven by taps, with gpssim as
# its receiver: scripts/screenshots.sh [BUILD] -> docs/screens/<size>[-night]-<screen>.png;
# scripts/screenshots.sh BUILD long-work takes the long work zoomed out at 1280 x 800;
# scripts/screenshots.sh BUILD fields the farm book's field choice, a field's boundary and
# headland and its earlier work, at 480 x 640 and 1280 x 800;
# scripts/screenshots.sh BUILD sections the section bar of eight sections, passes 0.75
# implement widths apart, at 480 x 640 and 1280 x 800.
# Needs xvfb, xdotool and x11-apps (xwd); the pictures are cropped and written by python3.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
out=$top/docs/screens
mkdir -p "$out"
# A display number no other server uses (Xvfb picks it and writes it to the file).
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1920x1280x24 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
program=
trap 'kill $xvfb 2>/dev/null || true; [ -n "$program" ] && kill "$program" 2>/dev/null || true; rm -f "$displayfile"' EXIT
for _ in $(seq 50); do [ -s "$displayfile" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$displayfile")
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work

# The root window's top-left W x H as a PNG (xwd's ZPixmap, little-endian BGR(X)).
crop() {  # W H FILE
    xwd -root -silent | python3 -c '
import struct, sys, zlib
w, h, path = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
d = sys.stdin.buffer.read()
header_size = struct.unpack(">I", d[0:4])[0]
fields = struct.unpack(">25I", d[:100])
width, bpl, ncolors = fields[4], fields[12], fields[19]
step = fields[11] // 8  # 24 or 32 bits a pixel; lines padded to bpl bytes
if step not in (3, 4):
    sys.exit("xwd: %d bits a pixel" % fields[11])
pixels = d[header_size + 12 * ncolors:]
rows = []
for y in range(h):
    line = pixels[y * bpl:y * bpl + step * w]
    rgb = bytearray(3 * w)
    rgb[0::3], rgb[1::3], rgb[2::3] = line[2::step], line[1::step], line[0::step]
    rows.append(b"\0" + bytes(rgb))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
open(path, "wb").write(png)
' "$1" "$2" "$3"
}

# Whether the screen's pixel at X Y is grey (its three channels alike, between 96 and 176).
grey_at() {  # X Y
    xwd -root -silent | python3 -c '
import struct, sys
x, y = int(sys.argv[1]), int(sys.argv[2])
d = sys.stdin.buffer.read()
fields = struct.unpack(">25I", d[:100])
bpl, step, ncolors = fields[12], fields[11] // 8, fields[19]
at = fields[0] + 12 * ncolors + y * bpl + step * x
b, g, r = d[at], d[at + 1], d[at + 2]
sys.exit(0 if max(r, g, b) - min(r, g, b) < 16 and 96 <= r <= 176 else 1)
' "$1" "$2"
}

run() {  # W H PALETTE: one pass through the screens at that size in that palette
    local W=$1 H=$2 palette=$3
    # The layout's scale and its places, as the program computes them.
    local k scaled=1 landscape=0
    case "${W}x${H}" in 240x320 | 320x240 | 480x640 | 640x480) scaled=0 ;; esac
    [ "$W" -gt "$H" ] && landscape=1
    if [ $scaled = 0 ]; then k=$((W >= 480 ? 2 : 1)); elif [ $landscape = 1 ]; then
        k=$(((W / 320) < (H / 240) ? W / 320 : H / 240))
    else k=$(((W / 240) < (H / 320) ? W / 240 : H / 320)); fi
    [ "$k" -lt 1 ] && k=1
    local hw=$((W / 2)) hh=$((H / 2)) S=$((48 * k))
    local startx ab_y free_y finish_x finish_y view_x view_y
    if [ $landscape = 1 ]; then
        local x0=0 y0=0
        [ $scaled = 1 ] && x0=$((hw - 160 * k)) && y0=$((hh - 120 * k))
        startx=$((x0 + 80 * k)); free_y=$((y0 + 40 * k)); ab_y=$((y0 + 100 * k))
        finish_x=$((S / 2)); finish_y=$((H - S / 2)); view_x=$((S / 2)); view_y=$((H - 3 * S / 2))
    else
        local y0=0
        [ $scaled = 1 ] && y0=$((hh - 160 * k))
        startx=$hw; free_y=$((y0 + 40 * k)); ab_y=$((y0 + 100 * k))
        local row=$((hw - 5 * S / 2))
        finish_x=$((row + S / 2)); finish_y=$((H - S / 2)); view_x=$((row + 5 * S / 2)); view_y=$finish_y
    fi
    local yes_y=$((hh - 50 * k + 38 * k)) no_y=$((hh + 30 * k + 38 * k))
    local name="${W}x${H}"
    [ "$palette" = night ] && name="${name}-night"
    shot() { sleep "${2:-0.6}"; crop "$W" "$H" "$out/$name-$1.png"; }
    tap() { xdotool mousemove "$1" "$2" click 1; }
    # A fresh start: no settings, and no work journal of the pass before, whose resume question
    # would take the taps meant for the start screen.
    rm -f "$build/Settings.dat" "$build/work.journal" "$build/farm.gpkg"
    printf '[screen]\npalette=%s\n' "$palette" >"$build/sulcovane.conf"
    "$build/sulcomain" --simulate --size "${W}x${H}" >/dev/null 2>&1 &
    program=$!
    sleep 4
    shot start 0
    # The wait takes its fix on its third poll, a second apart: the picture is taken between.
    tap "$startx" "$ab_y"; sleep 1; shot gps-wait 0; sleep 7
    tap "$hw" "$hh"; sleep 6
    # The handheld screens show A set and the prompt for B (it blinks: every other frame).
    [ $scaled = 0 ] && [ "$palette" = day ] && shot ab-point-a 0
    tap "$hw" "$hh"; sleep 12; shot guidance 0
    if [ "$palette" = day ]; then
        tap "$view_x" "$view_y"; shot guidance-north-up 2
        tap "$view_x" "$view_y"; sleep 1
        tap "$finish_x" "$finish_y"; shot confirm-finish 1
        tap "$hw" "$yes_y"; sleep 1; tap "$hw" "$no_y"; sleep 1
    fi
    kill -TERM "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    program=
    sleep 1
}

longwork() {  # W H PALETTE: a long free work driven fast by gpssim, then zoomed out
    local W=$1 H=$2 palette=$3 k
    k=$(((W / 320) < (H / 240) ? W / 320 : H / 240))
    local hw=$((W / 2)) hh=$((H / 2)) S=$((48 * k))
    local x0=$((hw - 160 * k)) y0=$((hh - 120 * k))
    local name="${W}x${H}"
    [ "$palette" = night ] && name="${name}-night"
    rm -f "$build/Settings.dat" "$build/work.journal"
    printf '[screen]\npalette=%s\n' "$palette" >"$build/sulcovane.conf"
    "$build/gpssim" --link "$work/gps" --rate 10 --speed 216 --length 100 --spacing 12 \
        >/dev/null 2>&1 &
    local sim=$!
    sleep 1
    "$build/sulcomain" --gps-device "$work/gps" --size "${W}x${H}" >/dev/null 2>&1 &
    program=$!
    sleep 4
    xdotool mousemove $((x0 + 80 * k)) $((y0 + 40 * k)) click 1
    # About forty passes of 100 m, 12 m apart.
    sleep 60
    # Taps far enough apart not to be taken for double clicks.
    for _ in $(seq 40); do xdotool mousemove $((W - S / 2)) $((H - S / 2)) click 1; sleep 0.6; done
    sleep 2
    crop "$W" "$H" "$out/$name-long-work.png"
    kill "$sim" 2>/dev/null || true
    kill -TERM "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    program=
    sleep 1
}

# A field around gpssim's passes and one far away, as the farm's software would export them.
fieldsfile() {  # FILE
    python3 - "$1" <<'PY'
import json, math, sys
lat0, lon0 = 48.1173, 11.5167
m_lat = 1 / 111320.0
m_lon = m_lat / math.cos(math.radians(lat0))
def box(w, s, e, n):
    return [[[lon0 + x * m_lon, lat0 + y * m_lat] for x, y in
             ((w, s), (e, s), (e, n), (w + 40, n), (w, n - 40), (w, s))]]
features = [{"type": "Feature", "properties": {"name": name},
             "geometry": {"type": "Polygon", "coordinates": box(*c)}}
            for name, c in (("Long Acre", (-20, -25, 110, 125)), ("Mill Field", (900, 0, 1200, 300)))]
json.dump({"type": "FeatureCollection", "features": features}, open(sys.argv[1], "w"))
PY
}

fields() {  # W H: the choice, a work in the field, then the next work over the earlier one
    local W=$1 H=$2 k
    if [ "$W" -gt "$H" ]; then k=$(((W / 320) < (H / 240) ? W / 320 : H / 240)); else k=2; fi
    local hw=$((W / 2)) hh=$((H / 2)) S=$((48 * k)) startx free_y finish_x finish_y zoom_x zoom_y
    if [ "$W" -gt "$H" ]; then
        startx=$((hw - 80 * k)); free_y=$((hh - 80 * k))
        finish_x=$((S / 2)); finish_y=$((H - S / 2)); zoom_x=$((W - S / 2)); zoom_y=$((H - S / 2))
    else
        startx=$hw; free_y=$((40 * k))
        finish_x=$((hw - 2 * S)); finish_y=$((H - S / 2)); zoom_x=$((hw + S)); zoom_y=$finish_y
    fi
    local font=16
    [ "$k" -ge 3 ] && font=24
    [ "$k" -ge 4 ] && font=32
    local rowh=$((2 * font)) yes_y=$((hh - 50 * k + 38 * k)) no_y=$((hh + 30 * k + 38 * k))
    [ $rowh -lt $((20 * k)) ] && rowh=$((20 * k))
    local name="${W}x${H}"
    rm -f "$build/Settings.dat" "$build/work.journal" "$build/farm.gpkg"
    printf '[screen]\npalette=day\n' >"$build/sulcovane.conf"
    fieldsfile "$work/fields.geojson"
    "$build/sulcomain" --import-fields "$work/fields.geojson" >/dev/null
    "$build/gpssim" --link "$work/gps" --rate 10 --speed 36 --length 100 --spacing 12 \
        >/dev/null 2>&1 &
    local sim=$!
    sleep 1
    "$build/sulcomain" --gps-device "$work/gps" --size "${W}x${H}" >/dev/null 2>&1 &
    program=$!
    sleep 4
    xdotool mousemove "$startx" "$free_y" click 1
    sleep 2
    crop "$W" "$H" "$out/$name-field-choice.png"
    xdotool mousemove "$hw" $((rowh + rowh / 2)) click 1
    sleep 40
    for _ in $(seq 16); do xdotool mousemove "$zoom_x" "$zoom_y" click 1; sleep 0.6; done
    sleep 2
    crop "$W" "$H" "$out/$name-field-work.png"
    # Finished and saved into the book; the next work in the field shows it dimmed.
    xdotool mousemove "$finish_x" "$finish_y" click 1; sleep 1
    xdotool mousemove "$hw" "$yes_y" click 1; sleep 1
    xdotool mousemove "$hw" "$yes_y" click 1; sleep 4
    xdotool mousemove "$startx" "$free_y" click 1; sleep 2
    xdotool mousemove "$hw" $((rowh + rowh / 2)) click 1; sleep 1
    crop "$W" "$H" "$out/$name-field-continue.png"
    xdotool mousemove "$hw" "$no_y" click 1
    sleep 12
    for _ in $(seq 8); do xdotool mousemove "$zoom_x" "$zoom_y" click 1; sleep 0.6; done
    sleep 2
    crop "$W" "$H" "$out/$name-field-earlier.png"
    kill "$sim" 2>/dev/null || true
    kill -TERM "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    program=
    sleep 1
}

sections() {  # W H: eight sections, the second pass partly over the first, section 3 forced
    local W=$1 H=$2 k scaled=1
    case "${W}x${H}" in 480x640 | 640x480) scaled=0 ;; esac
    if [ $scaled = 0 ]; then k=2; elif [ "$W" -gt "$H" ]; then
        k=$(((W / 320) < (H / 240) ? W / 320 : H / 240))
    else k=$(((W / 240) < (H / 320) ? W / 240 : H / 320)); fi
    local hw=$((W / 2)) hh=$((H / 2)) S=$((48 * k)) m=$((2 * k)) font=16
    [ "$k" -ge 3 ] && font=24
    [ "$k" -ge 4 ] && font=32
    local cell=$((font / 2 + 1)) startx free_y zoom_x zoom_y left right
    if [ "$W" -gt "$H" ]; then
        startx=$((hw - 80 * k)); free_y=$((hh - 80 * k))
        zoom_x=$((W - S / 2)); zoom_y=$((H - S / 2))
        left=$((S + m)); right=$((W - S - m))
    else
        startx=$hw; free_y=$((40 * k))
        [ $scaled = 1 ] && free_y=$((hh - 160 * k + 40 * k))
        zoom_x=$((hw - 5 * S / 2 + 7 * S / 2)); zoom_y=$((H - S / 2))
        left=$((hw - 5 * S / 2 + m)); right=$((hw - 5 * S / 2 + 5 * S - m))
    fi
    # The bar as the program places it (app/SectionBar.cpp): above the finish-boundary
    # button's place, the master at its left, the eight boxes sharing the rest.
    local bottom=$((H * 3 / 4 - font - m))
    local bar_y=$((bottom - 11 * k))
    local boxes_left=$((left + k + 8 * cell + 3 * m)) boxes_right=$((right - k))
    local box3_x=$((boxes_left + 5 * (boxes_right - boxes_left) / 16))
    local box1_x=$((boxes_left + (boxes_right - boxes_left) / 16))
    local box8_x=$((boxes_left + 15 * (boxes_right - boxes_left) / 16))
    local name="${W}x${H}"
    rm -f "$build/Settings.dat" "$build/work.journal" "$build/farm.gpkg"
    printf '[screen]\npalette=day\n[sections]\ncount=8\n' >"$build/sulcovane.conf"
    # Passes 9 m apart for the 12 m implement: a quarter of each over the one before.
    "$build/gpssim" --link "$work/gps" --rate 10 --speed 36 --length 100 --spacing 9 \
        >/dev/null 2>&1 &
    local sim=$!
    sleep 1
    "$build/sulcomain" --gps-device "$work/gps" --size "${W}x${H}" >/dev/null 2>&1 &
    program=$!
    sleep 4
    xdotool mousemove "$startx" "$free_y" click 1
    sleep 3
    for _ in $(seq 4); do xdotool mousemove "$zoom_x" "$zoom_y" click 1; sleep 0.6; done
    # Section 3 forced off on the first pass; the picture on the second, a few seconds after
    # its outer section has gone off over the first pass's ground.
    xdotool mousemove "$box3_x" "$bar_y" click 1
    sleep 8
    for _ in $(seq 60); do
        grey_at "$box1_x" "$bar_y" || grey_at "$box8_x" "$bar_y" && break
        sleep 0.5
    done
    sleep 4
    crop "$W" "$H" "$out/$name-sections.png"
    kill "$sim" 2>/dev/null || true
    kill -TERM "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    program=
    sleep 1
}

if [ "${2:-}" = sections ]; then
    sections 480 640
    sections 1280 800
    rm -f "$build/sulcovane.conf" "$build/Settings.dat" "$build/work.journal" "$build/farm.gpkg"
    rm -rf "$work"
    echo "screenshots in $out"
    exit 0
fi

if [ "${2:-}" = fields ]; then
    fields 480 640
    fields 1280 800
    rm -f "$build/sulcovane.conf" "$build/Settings.dat" "$build/work.journal" "$build/farm.gpkg"
    rm -rf "$work"
    echo "screenshots in $out"
    exit 0
fi

if [ "${2:-}" = long-work ]; then
    for palette in day night; do longwork 1280 800 $palette; done
    rm -f "$build/sulcovane.conf" "$build/Settings.dat" "$build/work.journal"
    rm -rf "$work"
    echo "screenshots in $out"
    exit 0
fi

sizes=("${@:2}")
[ ${#sizes[@]} -eq 0 ] && sizes=(800x480 1024x600 1280x800 800x1280 1920x1080)
for size in "${sizes[@]}"; do
    for palette in day night; do run "${size%x*}" "${size#*x}" $palette; done
done
rm -f "$build/sulcovane.conf" "$build/Settings.dat" "$build/work.journal"
rm -rf "$work"
echo "screenshots in $out"
