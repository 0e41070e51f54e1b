"""Draws every picture of the program from SVG described here, in every layout: the normal
layout at its own size, the wide layout from the same drawing at twice the size and the larger
layouts at 3, 4 and 5 times (named <normal id>-<scale>), so they always match. Colour-keyed pictures get their transparent area in the exact key colour."""

import math
import os
import random
import subprocess

import raster

MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

# One palette for every control: a dark slate face with a light rim, white pictograms with an
# amber accent. Read against the light field colours of the work screen and the dark start screen.
FACE_TOP = "#33444F"
FACE_BOTTOM = "#1C262D"
RIM = "#E6ECEF"
INK = "#FFFFFF"
ACCENT = "#FFB300"
LABEL_FONT = "DejaVu Sans"

GREEN_TOP, GREEN_BOTTOM = "#3DB25A", "#1D7A36"
RED_TOP, RED_BOTTOM = "#EF4B45", "#B3201C"
BLUE_TOP, BLUE_BOTTOM = "#2F8FE6", "#175FB0"


def svg(width, height, body):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">{body}</svg>')


def frame(width, height, radius, top=FACE_TOP, bottom=FACE_BOTTOM, rim=RIM):
    """A button face: one pixel of key margin, a two-pixel rim and a faint top-lit gradient."""
    return (f'<defs><linearGradient id="face" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/>'
            f'</linearGradient></defs>'
            f'<rect x="2" y="2" width="{width - 4}" height="{height - 4}" rx="{radius}" '
            f'fill="url(#face)" stroke="{rim}" stroke-width="2"/>')


def place(icon, x, y, size):
    """Puts an icon drawn on a 24-unit grid into a square of the given size at (x, y)."""
    return f'<g transform="translate({x} {y}) scale({size / 24})">{icon}</g>'


def label(text, x, y, size, anchor="start", color=INK):
    return (f'<text x="{x}" y="{y}" font-family="{LABEL_FONT}" font-weight="bold" '
            f'font-size="{size}" fill="{color}" text-anchor="{anchor}">{text}</text>')


def stroke(d, width, color=INK, cap="round"):
    return (f'<path d="{d}" fill="none" stroke="{color}" stroke-width="{width}" '
            f'stroke-linecap="{cap}" stroke-linejoin="round"/>')


# Pictograms on a 24 x 24 grid.

def icon_magnifier(plus):
    bar = stroke("M7 10H13", 2.6, ACCENT)
    if plus:
        bar += stroke("M10 7V13", 2.6, ACCENT)
    return (f'<circle cx="10" cy="10" r="7" fill="none" stroke="{INK}" stroke-width="2.6"/>'
            + stroke("M15.3 15.3L21.5 21.5", 3.6) + bar)


def gear_path(cx, cy, outer, inner, hole, teeth):
    points = []
    for i in range(teeth * 4):
        angle = 2 * math.pi * (i - 0.5) / (teeth * 4)
        radius = outer if (i % 4) in (1, 2) else inner
        points.append((cx + radius * math.sin(angle), cy - radius * math.cos(angle)))
    d = "M" + "L".join(f"{x:.2f} {y:.2f}" for x, y in points) + "Z"
    d += (f"M{cx + hole} {cy}A{hole} {hole} 0 1 0 {cx - hole} {cy}"
          f"A{hole} {hole} 0 1 0 {cx + hole} {cy}Z")
    return d


def icon_gear(color=INK):
    return f'<path d="{gear_path(12, 12, 11, 8, 3.6, 8)}" fill="{color}" fill-rule="evenodd"/>'


def icon_flag():
    cells = ""
    size = 3.5
    for row in range(3):
        for col in range(4):
            if (row + col) % 2 == 0:
                cells += (f'<rect x="{7 + col * size}" y="{3 + row * size}" width="{size}" '
                          f'height="{size}" fill="{INK}"/>')
    return (f'<rect x="7" y="3" width="14" height="10.5" fill="{FACE_BOTTOM}" stroke="{INK}" '
            f'stroke-width="1.2"/>' + cells + stroke("M5 2.5V22", 2.6))


def icon_compass():
    needle = (f'<path d="M12 3.5L15.2 12H8.8Z" fill="#FF5247"/>'
              f'<path d="M12 20.5L15.2 12H8.8Z" fill="{INK}"/>')
    ring = f'<circle cx="12" cy="12" r="10.3" fill="none" stroke="{INK}" stroke-width="2"/>'
    north = f'<path d="M12 -1.2L14.6 2.6H9.4Z" fill="{ACCENT}"/>'
    return ring + needle + north


def icon_free_path():
    path = stroke("M6 21.5C6 15 16.5 16 16.5 10V3.5", 2.8)
    head = stroke("M12.3 7.2L16.5 3L20.7 7.2", 2.8)
    dot = f'<circle cx="6" cy="21" r="2.6" fill="{ACCENT}"/>'
    return path + head + dot


def icon_ab_line():
    sides = (stroke("M4 3V21", 2, INK, "butt").replace('/>', ' stroke-dasharray="3 2.5"/>')
             + stroke("M20 3V21", 2, INK, "butt").replace('/>', ' stroke-dasharray="3 2.5"/>'))
    middle = stroke("M12 4.5V19.5", 2.8, ACCENT)
    ends = (f'<circle cx="12" cy="20" r="3" fill="{ACCENT}"/>'
            f'<circle cx="12" cy="4" r="3" fill="{FACE_TOP}" stroke="{ACCENT}" stroke-width="2"/>')
    return sides + middle + ends


def icon_review():
    arc = stroke("M20.5 12A8.5 8.5 0 1 1 16.8 5", 2.6)
    head = f'<path d="M14.2 1.6L21 3.2L17.2 9Z" fill="{INK}"/>'
    play = f'<path d="M9.6 7.8L16.2 12L9.6 16.2Z" fill="{ACCENT}"/>'
    return arc + head + play


def icon_power():
    return (stroke("M7.2 5.8A8.6 8.6 0 1 0 16.8 5.8", 2.8, "#FF6A5C")
            + stroke("M12 2V11.5", 2.8, "#FF6A5C"))


def icon_check():
    return stroke("M3.5 12.5L9.5 18.5L20.5 5.5", 3.6)


def icon_cross():
    return stroke("M5 5L19 19M19 5L5 19", 3.6)


def icon_satellite():
    body = f'<rect x="9" y="9" width="6" height="6" rx="1" fill="{INK}" transform="rotate(45 12 12)"/>'
    wings = (f'<rect x="1.5" y="10" width="6" height="4" fill="{ACCENT}" transform="rotate(45 12 12)"/>'
             f'<rect x="16.5" y="10" width="6" height="4" fill="{ACCENT}" transform="rotate(45 12 12)"/>')
    waves = stroke("M3 15A6 6 0 0 0 9 21", 1.8) + stroke("M2.5 19.5A2.2 2.2 0 0 0 4.5 21.5", 1.8)
    return body + wings + waves


# The pictures, each drawn at its normal-layout size.

def work_button(icon, scale=32):
    inner = place(icon, (48 - scale) / 2, (48 - scale) / 2, scale)
    return svg(48, 48, frame(48, 48, 8) + inner)


def start_button(icon, text):
    body = frame(140, 40, 8) + place(icon, 8, 7, 26) + label(text, 42, 25, 13.5)
    return svg(140, 40, body)


def big_button(icon, text, top, bottom, size=24):
    body = (frame(160, 76, 12, top, bottom) + place(icon, 18, 20, 36)
            + label(text, 104, 46, size, "middle"))
    return svg(160, 76, body)


def arrow(pointing_left):
    points = "13.5 6.5 6 13.5 13.5 20.5" if pointing_left else "6.5 6.5 14 13.5 6.5 20.5"
    body = (f'<rect x="1" y="1" width="18" height="25" rx="3" fill="{FACE_BOTTOM}"/>'
            f'<polyline points="{points}" fill="none" stroke="{ACCENT}" stroke-width="4" '
            f'stroke-linecap="round" stroke-linejoin="round"/>')
    return svg(20, 27, body)


def background():
    """The start and message screens: a calm dusk sky above a field whose furrows run to the
    horizon, the guide line in amber down the middle. No detail where the texts go."""
    w, h, horizon = 240, 320, 150
    vx = 120
    lines = ""
    for k in range(-9, 10):
        x = vx + k * 36
        colour = ACCENT if k == 0 else "#7FB046"
        width = 2.2 if k == 0 else 1.4
        opacity = 0.9 if k == 0 else 0.55
        lines += (f'<line x1="{vx + k * 1.2}" y1="{horizon}" x2="{x}" y2="{h}" stroke="{colour}" '
                  f'stroke-width="{width}" stroke-opacity="{opacity}"/>')
    body = (
        '<defs>'
        '<linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="#10222C"/><stop offset="0.7" stop-color="#1F4050"/>'
        '<stop offset="1" stop-color="#3D6470"/></linearGradient>'
        '<linearGradient id="field" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="#2A4A22"/><stop offset="1" stop-color="#3F7A2C"/>'
        '</linearGradient>'
        '<radialGradient id="glow" cx="0.5" cy="1" r="0.6">'
        '<stop offset="0" stop-color="#F0B860" stop-opacity="0.55"/>'
        '<stop offset="1" stop-color="#F0B860" stop-opacity="0"/></radialGradient>'
        '</defs>'
        f'<rect width="{w}" height="{horizon}" fill="url(#sky)"/>'
        f'<rect y="{horizon - 60}" width="{w}" height="60" fill="url(#glow)"/>'
        f'<rect y="{horizon}" width="{w}" height="{h - horizon}" fill="url(#field)"/>'
        + lines)
    return svg(w, h, body)


def vehicle():
    """A tractor seen from above, nose up, drawn at 200 pixels per metre: 2.5 m across the
    rear tyres, the middle of the rear axle at the middle of the bottom edge."""
    tyre = "#22282C"
    lug = "#4A5358"
    body_colour = "#1F63B8"
    body_light = "#3E86D8"
    outline = "#12161A"

    def tyre_rect(x, y, w, h):
        clip = f"tyre{x}_{y}"
        lugs = ""
        step = 28
        for i in range(int(h // step) + 1):
            ly = y + 10 + i * step
            if ly > y + h - 8:
                break
            lugs += (f'<path d="M{x + 10} {ly + 10}L{x + w / 2} {ly}L{x + w - 10} {ly + 10}" '
                     f'fill="none" stroke="{lug}" stroke-width="9" stroke-linecap="round"/>')
        shape = f'x="{x}" y="{y}" width="{w}" height="{h}" rx="26"'
        return (f'<clipPath id="{clip}"><rect {shape}/></clipPath>'
                f'<rect {shape} fill="{tyre}"/><g clip-path="url(#{clip})">{lugs}</g>'
                f'<rect {shape} fill="none" stroke="{outline}" stroke-width="6"/>')

    body = (
        # Rear tyres, cut at the axle by the bottom edge.
        tyre_rect(3, 545, 114, 360) + tyre_rect(383, 545, 114, 360)
        # Front tyres.
        + tyre_rect(46, 95, 80, 220) + tyre_rect(374, 95, 80, 220)
        # Front axle.
        + f'<rect x="120" y="192" width="260" height="24" fill="#3A4248" stroke="{outline}" stroke-width="4"/>'
        # Front ballast and bonnet.
        + f'<rect x="178" y="8" width="144" height="48" rx="10" fill="#3A4248" stroke="{outline}" stroke-width="6"/>'
        + f'<path d="M170 470V90Q170 46 250 46Q330 46 330 90V470Z" fill="{body_colour}" stroke="{outline}" stroke-width="6"/>'
        + f'<path d="M236 70H264V440H236Z" fill="{body_light}"/>'
        + f'<rect x="186" y="64" width="18" height="10" rx="3" fill="#FFE082"/>'
        + f'<rect x="296" y="64" width="18" height="10" rx="3" fill="#FFE082"/>'
        # Exhaust.
        + f'<circle cx="304" cy="400" r="14" fill="#2A2F33" stroke="{outline}" stroke-width="5"/>'
        # Rear fenders.
        + f'<path d="M96 720V560Q96 530 126 530H150V720Z" fill="{body_colour}" stroke="{outline}" stroke-width="6"/>'
        + f'<path d="M404 720V560Q404 530 374 530H350V720Z" fill="{body_colour}" stroke="{outline}" stroke-width="6"/>'
        # Cab: glass rim and white roof.
        + f'<rect x="118" y="455" width="264" height="262" rx="22" fill="#2B3A44" stroke="{outline}" stroke-width="6"/>'
        + f'<rect x="134" y="470" width="232" height="232" rx="16" fill="#ECF0F2" stroke="#9AA6AD" stroke-width="4"/>'
        + f'<rect x="160" y="500" width="180" height="20" rx="8" fill="{body_colour}"/>'
        # Mirrors.
        + f'<rect x="92" y="470" width="28" height="14" rx="5" fill="#2B3A44" stroke="{outline}" stroke-width="4"/>'
        + f'<rect x="380" y="470" width="28" height="14" rx="5" fill="#2B3A44" stroke="{outline}" stroke-width="4"/>'
    )
    return svg(500, 720, body)


def icon():
    """The program's icon: a field in perspective with the amber guide line and its neighbours."""
    body = (
        '<defs><linearGradient id="bg" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="#1F4050"/><stop offset="1" stop-color="#10222C"/>'
        '</linearGradient><clipPath id="round"><rect width="128" height="128" rx="24"/></clipPath>'
        '</defs>'
        '<g clip-path="url(#round)">'
        '<rect width="128" height="128" fill="url(#bg)"/>'
        '<path d="M44 40H84L128 128H0Z" fill="#4C8C30"/>'
        + stroke("M52 40L20 128", 4, "#E6ECEF", "butt")
        + stroke("M76 40L108 128", 4, "#E6ECEF", "butt")
        + stroke("M64 40V128", 7, ACCENT, "butt")
        + '<rect x="52" y="86" width="24" height="30" rx="5" fill="#1F63B8" stroke="#12161A" stroke-width="2"/>'
        '<rect x="56" y="100" width="16" height="12" rx="2" fill="#ECF0F2"/>'
        '<rect x="46" y="102" width="8" height="18" rx="2" fill="#22282C"/>'
        '<rect x="74" y="102" width="8" height="18" rx="2" fill="#22282C"/>'
        '</g>'
        '<rect x="1.5" y="1.5" width="125" height="125" rx="23" fill="none" stroke="#E6ECEF" stroke-width="3"/>')
    return svg(128, 128, body)


def field_texture(size=64):
    """A tileable patch of mown crop: periodic value noise over a light green, light enough
    that the default blue texts and the black track edges stay readable on it."""
    rng = random.Random(133)
    cells = 8
    lattice = [[rng.uniform(-1, 1) for _ in range(cells)] for _ in range(cells)]
    pixels = []
    for y in range(size):
        for x in range(size):
            fx, fy = x * cells / size, y * cells / size
            x0, y0 = int(fx), int(fy)
            tx, ty = fx - x0, fy - y0
            tx, ty = tx * tx * (3 - 2 * tx), ty * ty * (3 - 2 * ty)
            a = lattice[y0 % cells][x0 % cells]
            b = lattice[y0 % cells][(x0 + 1) % cells]
            c = lattice[(y0 + 1) % cells][x0 % cells]
            d = lattice[(y0 + 1) % cells][(x0 + 1) % cells]
            smooth = (a * (1 - tx) + b * tx) * (1 - ty) + (c * (1 - tx) + d * tx) * ty
            grain = rng.uniform(-1, 1)
            # Faint rows every 8 pixels, as left by a drill.
            row = -0.6 if x % 8 in (0, 1) else 0.0
            shade = 9 * smooth + 5 * grain + 6 * row
            pixels.append(tuple(max(0, min(255, int(round(base + shade * k))))
                                for base, k in ((0x9C, 1.0), (0xC4, 1.0), (0x5C, 0.6))))
    return pixels


def render(source, width, height, scale, key=None, matte=(0, 0, 0)):
    rgba = raster.render_svg(source, width * scale, height * scale)
    return raster.flatten(rgba, key, matte)


def hex_rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


# The layout scales above the doubled one (the layout's k), each with its own pictures.
LARGE_SCALES = (3, 4, 5)


def build(top, only_large=False):
    gif_dir = os.path.join(top, "GIF")
    bmp_dir = os.path.join(top, "BITMAP")
    icon_dir = os.path.join(top, "ICON")
    for d in (gif_dir, bmp_dir, icon_dir):
        os.makedirs(d, exist_ok=True)

    rim = hex_rgb(RIM)
    # (normal id, wide id, drawing, size, key, matte, file kind)
    pictures = [
        (134, 139, work_button(icon_magnifier(True)), (48, 48), BLACK, rim, "bmp"),
        (135, 140, work_button(icon_magnifier(False)), (48, 48), BLACK, rim, "bmp"),
        (136, 141, work_button(icon_gear(), 30), (48, 48), BLACK, rim, "bmp"),
        (142, 143, work_button(icon_flag(), 30), (48, 48), BLACK, rim, "bmp"),
        (161, 162, work_button(icon_compass(), 30), (48, 48), MAGENTA, rim, "gif"),
        (174, 179, start_button(icon_free_path(), "FREE WORK"), (140, 40), MAGENTA, rim, "gif"),
        (175, 180, start_button(icon_ab_line(), "A-B LINE"), (140, 40), MAGENTA, rim, "gif"),
        (178, 183, start_button(icon_review(), "REVIEW"), (140, 40), MAGENTA, rim, "gif"),
        (190, 191, start_button(icon_gear(ACCENT), "SETTINGS"), (140, 40), MAGENTA, rim, "gif"),
        (177, 182, start_button(icon_power(), "EXIT"), (140, 40), MAGENTA, rim, "gif"),
        (164, 184, big_button(icon_check(), "YES", GREEN_TOP, GREEN_BOTTOM, 28), (160, 76), MAGENTA, rim, "gif"),
        (163, 185, big_button(icon_cross(), "NO", RED_TOP, RED_BOTTOM, 28), (160, 76), MAGENTA, rim, "gif"),
        (170, 187, big_button(icon_satellite(), "SETUP", BLUE_TOP, BLUE_BOTTOM, 20), (160, 76), MAGENTA, rim, "gif"),
        (169, 186, big_button(icon_cross(), "CANCEL", FACE_TOP, FACE_BOTTOM, 20), (160, 76), MAGENTA, rim, "gif"),
        (145, 189, arrow(False), (20, 27), WHITE, hex_rgb(FACE_BOTTOM), "bmp"),
        (144, 188, arrow(True), (20, 27), WHITE, hex_rgb(FACE_BOTTOM), "bmp"),
        (156, 166, background(), (240, 320), None, (0, 0, 0), "gif"),
    ]
    for normal, wide, drawing, (w, h), key, matte, kind in pictures:
        sizes = [] if only_large else [(normal, 1), (wide, 2)]
        sizes += [(f"{normal}-{k}", k) for k in LARGE_SCALES]
        for ident, scale in sizes:
            pixels = render(drawing, w, h, scale, key, matte)
            if kind == "gif":
                raster.write_gif(os.path.join(gif_dir, f"{ident}.gif"), w * scale, h * scale,
                                 pixels, key)
            else:
                raster.write_bmp(os.path.join(bmp_dir, f"{ident}.bmp"), w * scale, h * scale,
                                 pixels)

    if only_large:
        return
    pixels = render(vehicle(), 500, 720, 1, MAGENTA, hex_rgb("#12161A"))
    raster.write_gif(os.path.join(gif_dir, "157.gif"), 500, 720, pixels, MAGENTA)

    raster.write_bmp(os.path.join(bmp_dir, "133.bmp"), 64, 64, field_texture())

    subprocess.run(["rsvg-convert", "-w", "128", "-h", "128", "-f", "png", "-o",
                    os.path.join(icon_dir, "101.png")], input=icon().encode("utf-8"), check=True)


if __name__ == "__main__":
    import sys
    build(sys.argv[1], only_large="--only-large" in sys.argv[2:])
