"""Builds the screen fonts from Debian's Terminus Bold 8 x 16 console font: 256 glyphs of 16
row bytes, most significant bit leftmost, in the order of a DOS code page, with the glyphs
raised to the top of the cell (capitals in rows 0 to 9) the way the text routines expect.
The larger layouts' fonts come from Terminus Bold 12 x 24 and 16 x 32 in the same two orders:
256 glyphs of height rows of 2 bytes each, as Terminus places them in their cells."""

import gzip
import sys

SOURCE = "/usr/share/consolefonts/Uni2-TerminusBold16.psf.gz"
LICENCE_SOURCE = "/usr/share/doc/console-setup-linux/copyright.fonts.gz"
LICENCE_NOTE = """The screen fonts 155.bin (code page 437) and 866.bin (code page 866) are
Modified Versions of Terminus Font (Bold, 8 x 16, as shipped by Debian's console-setup-linux):
the glyphs are rearranged into the code page orders and raised to the top of the character
cell. The fonts 155-24.bin, 866-24.bin, 155-32.bin and 866-32.bin are Modified Versions of
Terminus Font Bold 12 x 24 and 16 x 32 from the same package, rearranged into the same two
code page orders. As the licence below requires, they do not carry the Reserved Font Name.

"""

# The picture characters that DOS code pages show for the control bytes 1..31 and 127.
CONTROL_PICTURES = ("\0☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼", "⌂")

# How far Terminus sits below the top of its cell: its capitals start in row 2.
RAISE = 2
# Rows above the baseline (row 11 in Terminus); glyphs are only squeezed within these.
ABOVE_BASELINE = 12


LARGE_SOURCES = {24: "/usr/share/consolefonts/Uni2-TerminusBold24x12.psf.gz",
                 32: "/usr/share/consolefonts/Uni2-TerminusBold32x16.psf.gz"}


def unicode_table(table, glyphs):
    """The first glyph of each character in a PSF1 (16-bit) unicode table."""
    by_char = {}
    pos, glyph = 0, 0
    while glyph < len(glyphs) and pos + 1 < len(table):
        in_sequence = False
        while True:
            code = table[pos] | (table[pos + 1] << 8)
            pos += 2
            if code == 0xFFFF:
                break
            if code == 0xFFFE:
                in_sequence = True
            elif not in_sequence:
                by_char.setdefault(chr(code), glyphs[glyph])
        glyph += 1
    return by_char


def load_psf2(path, width, height):
    """A PSF2 font's glyphs by character (its UTF-8 unicode table)."""
    import struct
    data = gzip.open(path).read()
    magic, _, header, flags, count, size, rows, cols = struct.unpack("<8I", data[:32])
    if magic != 0x864AB572 or (rows, cols) != (height, width) or not flags & 1:
        raise SystemExit(f"{path}: not a {width} x {height} PSF2 font with a unicode table")
    glyphs = [data[header + i * size:header + (i + 1) * size] for i in range(count)]
    by_char = {}
    pos = header + count * size
    for glyph in range(count):
        end = data.index(b"\xff", pos)
        entry = data[pos:end]
        pos = end + 1
        single = entry.split(b"\xfe")[0].decode("utf-8")
        for ch in single:
            by_char.setdefault(ch, glyphs[glyph])
    return by_char


# Stand-ins of the same meaning for picture characters the larger Terminus sizes lack: the
# steering pointers of the cross-track readout above all.
LARGE_STAND_INS = {"►": "▶", "◄": "◀"}


def build_large_font(codepage, by_char, height):
    blank = bytes(2 * height)
    out = bytearray()
    for byte in range(256):
        if byte == 0 or byte == 32:
            out += blank
            continue
        if 1 <= byte < 32:
            ch = CONTROL_PICTURES[0][byte]
        elif byte == 127:
            ch = CONTROL_PICTURES[1]
        else:
            ch = bytes([byte]).decode(codepage)
        out += by_char.get(ch) or by_char.get(LARGE_STAND_INS.get(ch, "")) or blank
    assert len(out) == 256 * 2 * height
    return bytes(out)


def load_psf(path):
    data = gzip.open(path).read()
    if data[:2] != b"\x36\x04":
        raise SystemExit(f"{path}: not a PSF1 font")
    mode, height = data[2], data[3]
    if height != 16:
        raise SystemExit(f"{path}: glyphs are {height} rows high, not 16")
    count = 512 if mode & 1 else 256
    glyphs = [data[4 + i * 16:4 + (i + 1) * 16] for i in range(count)]
    table = data[4 + count * 16:]
    by_char = {}
    pos, glyph = 0, 0
    while glyph < count and pos + 1 < len(table):
        in_sequence = False
        while True:
            code = table[pos] | (table[pos + 1] << 8)
            pos += 2
            if code == 0xFFFF:
                break
            if code == 0xFFFE:
                in_sequence = True
            elif not in_sequence:
                by_char.setdefault(chr(code), glyphs[glyph])
        glyph += 1
    return by_char


def synthesized(ch):
    """Block characters the source lacks."""
    rows = {
        "▀": [0xFF] * 8 + [0] * 8,
        "▄": [0] * 8 + [0xFF] * 8,
        "▌": [0xF0] * 16,
        "▐": [0x0F] * 16,
        "▓": [0xEE, 0xBB] * 8,
    }.get(ch)
    return bytes(rows) if rows else None


def fills_cell(ch):
    # Lines and blocks must meet the neighbouring cells, so they keep the full height.
    return 0x2500 <= ord(ch) <= 0x259F


def raise_glyph(rows):
    """Moves a glyph up by RAISE rows. Accented capitals already reach the top: they lose
    blank rows between accent and letter first, then rows repeating the row above, so
    nothing is cut off and the baseline still moves up with the rest."""
    rows = list(rows)
    free = 0
    while free < len(rows) and rows[free] == 0:
        free += 1
    if free >= RAISE:
        return bytes(rows[RAISE:] + [0] * RAISE)
    rows = rows[free:] + [0] * free
    needed = RAISE - free
    top_ink = 0
    limit = ABOVE_BASELINE - free
    for _ in range(needed):
        candidates = [r for r in range(top_ink + 1, limit) if rows[r] == 0
                      and any(rows[:r]) and any(rows[r + 1:limit])]
        if not candidates:
            candidates = [r for r in range(top_ink + 1, limit) if rows[r] == rows[r - 1]]
        if not candidates:
            candidates = [limit - 1]
        middle = (top_ink + limit) / 2
        victim = min(candidates, key=lambda r: abs(r - middle))
        del rows[victim]
        rows.append(0)
        limit -= 1
    return bytes(rows)


def build_font(codepage, by_char):
    out = bytearray()
    for byte in range(256):
        if byte == 0 or byte == 32:
            out += bytes(16)
            continue
        if 1 <= byte < 32:
            ch = CONTROL_PICTURES[0][byte]
        elif byte == 127:
            ch = CONTROL_PICTURES[1]
        else:
            ch = bytes([byte]).decode(codepage)
        glyph = by_char.get(ch) or synthesized(ch)
        if glyph is None:
            # A few picture characters of the control range have no Terminus form; the
            # program's texts never use them.
            if byte >= 32:
                    print(f"{codepage}: no glyph for byte {byte:#04x} ({ch!r}); left blank",
                      file=sys.stderr)
            out += bytes(16)
            continue
        out += glyph if fills_cell(ch) else raise_glyph(glyph)
    assert len(out) == 4096
    return bytes(out)


def licence_text():
    """The Terminus part of Debian's font copyright file: from its licence line to the end
    of the licence's disclaimer."""
    lines = gzip.open(LICENCE_SOURCE, "rt", encoding="utf-8").read().splitlines()
    start = next(i for i, l in enumerate(lines) if l.startswith("Terminus Font is licensed"))
    end = next(i for i in range(start, len(lines)) if "OTHER DEALINGS IN THE FONT" in lines[i])
    return LICENCE_NOTE + "\n".join(lines[start:end + 1]) + "\n"


def build(fonts_dir):
    with open(f"{fonts_dir}/LICENSE-Terminus.txt", "w", encoding="utf-8") as f:
        f.write(licence_text())
    by_char = load_psf(SOURCE)
    with open(f"{fonts_dir}/155.bin", "wb") as f:
        f.write(build_font("cp437", by_char))
    with open(f"{fonts_dir}/866.bin", "wb") as f:
        f.write(build_font("cp866", by_char))
    for height, path in LARGE_SOURCES.items():
        large = load_psf2(path, height // 2, height)
        for page, name in (("cp437", "155"), ("cp866", "866")):
            with open(f"{fonts_dir}/{name}-{height}.bin", "wb") as f:
                f.write(build_large_font(page, large, height))


if __name__ == "__main__":
    build(sys.argv[1])
