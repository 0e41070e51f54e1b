"""Small raster helpers for the resource generator: rendering SVG to pixels, colour keys
reduced to the 5-6-5 screen format, and writers for 24-bit BMP and GIF files."""

import struct
import subprocess
import zlib


def decode_png_rgba(png):
    """The pixels of an 8-bit RGB or RGBA, non-interlaced PNG (what rsvg-convert writes) as
    RGBA bytes."""
    if png[:8] != b"\x89PNG\r\n\x1a\n":
        raise RuntimeError("not a PNG")
    pos, data, width, channels = 8, b"", 0, 4
    while pos < len(png):
        length, kind = struct.unpack(">I4s", png[pos:pos + 8])
        body = png[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (2, 6) or interlace != 0:
                raise RuntimeError("not an 8-bit RGB(A) non-interlaced PNG")
            channels = 4 if colour == 6 else 3
        elif kind == b"IDAT":
            data += body
        pos += 12 + length
    raw = zlib.decompress(data)
    stride = width * channels
    out = bytearray()
    previous = bytearray(stride)
    for row in range(len(raw) // (stride + 1)):
        kind = raw[row * (stride + 1)]
        line = bytearray(raw[row * (stride + 1) + 1:(row + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                pred = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                line[i] = (line[i] + pred) & 0xFF
        if channels == 4:
            out += line
        else:
            for i in range(0, stride, 3):
                out += line[i:i + 3] + b"\xff"
        previous = line
    return bytes(out)


def render_svg(svg, width, height):
    """Renders SVG text to a list of (r, g, b, a) tuples of width x height pixels."""
    png = subprocess.run(["rsvg-convert", "-w", str(width), "-h", str(height), "-f", "png"],
                         input=svg.encode("utf-8"), capture_output=True, check=True).stdout
    raw = decode_png_rgba(png)
    if len(raw) != width * height * 4:
        raise RuntimeError("unexpected raster size")
    return [tuple(raw[i:i + 4]) for i in range(0, len(raw), 4)]


def to565(rgb):
    r, g, b = rgb
    return ((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3)


def flatten(rgba, key=None, matte=(0, 0, 0), threshold=128):
    """Turns rendered pixels into opaque RGB pixels.

    With a key, every pixel less than half covered becomes exactly the key colour and every
    other pixel is blended over the matte (the colour of the shape's outer edge), so soft edges
    fade into the edge colour and never into the key. A drawn pixel that would reduce to the
    key's 5-6-5 value is nudged away from it, so only the key area turns transparent."""
    out = []
    key565 = to565(key) if key is not None else None
    for r, g, b, a in rgba:
        if key is not None and a < threshold:
            out.append(key)
            continue
        # rsvg output is not premultiplied after ImageMagick's conversion.
        px = tuple((c * a + m * (255 - a) + 127) // 255 for c, m in zip((r, g, b), matte))
        if key565 is not None and to565(px) == key565:
            px = nudge(px, key)
        out.append(px)
    return out


def nudge(px, key):
    r, g, b = px
    if key == (255, 255, 255):
        return (min(r, 0xF0), min(g, 0xF0), min(b, 0xF0))
    if key == (0, 0, 0):
        return (max(r, 0x10), max(g, 0x10), max(b, 0x10))
    # Magenta: lift green out of the lowest 5-6-5 step.
    return (r, max(g, 0x10), b)


def write_bmp(path, width, height, pixels):
    """24-bit uncompressed bottom-up Windows bitmap."""
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixels[y * width + x]
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        body += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + body)


def median_cut(counts, limit):
    """Reduces a colour histogram to at most limit colours; returns colour -> palette colour."""

    def box_of(items):
        total = sum(n for _, n in items)
        best_score, best_axis = 0, 0
        if len(items) > 1:
            for axis in range(3):
                lo = min(c[axis] for c, _ in items)
                hi = max(c[axis] for c, _ in items)
                score = (hi - lo) * total ** 0.5
                if score > best_score:
                    best_score, best_axis = score, axis
        return items, best_score, best_axis

    boxes = [box_of(list(counts.items()))]
    while len(boxes) < limit:
        best = max(range(len(boxes)), key=lambda i: boxes[i][1])
        items, score, axis = boxes[best]
        if score <= 0:
            break
        boxes.pop(best)
        items = sorted(items, key=lambda c: c[0][axis])
        total = sum(n for _, n in items)
        acc, cut = 0, 1
        for j, (_, n) in enumerate(items):
            acc += n
            if acc * 2 >= total:
                cut = max(1, min(len(items) - 1, j + 1))
                break
        boxes += [box_of(items[:cut]), box_of(items[cut:])]
    mapping = {}
    for items, _, _ in boxes:
        total = sum(n for _, n in items)
        mean = tuple((sum(c[k] * n for c, n in items) + total // 2) // total for k in range(3))
        for c, _ in items:
            mapping[c] = mean
    return mapping


def quantize(pixels, key=None):
    """Palette of at most 256 colours; the key colour, if present, keeps its own exact entry
    and no other colour is merged into it."""
    counts = {}
    for p in pixels:
        if p != key:
            counts[p] = counts.get(p, 0) + 1
    room = 255 if key is not None else 256
    if len(counts) <= room:
        mapping = {c: c for c in counts}
    else:
        mapping = median_cut(counts, room)
        key565 = to565(key) if key is not None else None
        for c, m in mapping.items():
            if key565 is not None and to565(m) == key565:
                mapping[c] = nudge(m, key)
    palette = sorted(set(mapping.values()))
    if key is not None:
        palette = [key] + [c for c in palette if c != key]
    index = {c: i for i, c in enumerate(palette)}
    indices = bytes(index[key] if p == key else index[mapping[p]] for p in pixels)
    return palette, indices


def lzw_encode(indices, min_code_size):
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bit_buffer, bit_count = 0, 0

    def emit(code, size):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += size
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    size = min_code_size + 1
    table = {(i,): i for i in range(clear)}
    next_code = end + 1
    emit(clear, size)
    current = ()
    for value in indices:
        candidate = current + (value,)
        if candidate in table:
            current = candidate
            continue
        emit(table[current], size)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear, size)
            table = {(i,): i for i in range(clear)}
            next_code = end + 1
            size = min_code_size + 1
        current = (value,)
    if current:
        emit(table[current], size)
    emit(end, size)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def write_gif(path, width, height, pixels, key=None):
    """Plain GIF89a without a transparency extension: the key stays an ordinary colour, so
    the decoder hands it on unchanged and the screen code keys it out."""
    palette, indices = quantize(pixels, key)
    bits = max(1, (len(palette) - 1).bit_length())
    table_size = 1 << bits
    palette = palette + [(0, 0, 0)] * (table_size - len(palette))
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, 0x80 | ((bits - 1) << 4) | (bits - 1), 0, 0)
    for c in palette:
        data += bytes(c)
    data += struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0)
    min_code_size = max(2, bits)
    data.append(min_code_size)
    stream = lzw_encode(indices, min_code_size)
    for i in range(0, len(stream), 255):
        chunk = stream[i:i + 255]
        data.append(len(chunk))
        data += chunk
    data += b"\x00\x3B"
    with open(path, "wb") as f:
        f.write(data)
