#!/usr/bin/env python3
"""Crops the top-left WxH of a 24/32-bit XWD screen dump (stdin) into a PNG: xwd2png.py W H OUT."""
import struct
import sys
import zlib


def main():
    width, height, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    data = sys.stdin.buffer.read()
    fields = struct.unpack(">25I", data[:100])
    header_size, bits_per_pixel, bytes_per_line = fields[0], fields[11], fields[12]
    byte_order, ncolors = fields[7], fields[19]
    red_mask, green_mask, blue_mask = fields[14], fields[15], fields[16]
    if bits_per_pixel not in (24, 32):
        sys.exit("xwd2png: only 24 or 32 bits a pixel, not %r" % (fields,))
    step = bits_per_pixel // 8
    pixels = data[header_size + 12 * ncolors:]
    fmt = "<I" if byte_order == 0 else ">I"

    def channel(value, mask):
        shift = (mask & -mask).bit_length() - 1
        return (value & mask) >> shift

    rows = []
    for y in range(height):
        row = bytearray([0])
        base = y * bytes_per_line
        for x in range(width):
            raw = pixels[base + step * x:base + step * x + step]
            if step == 3:
                raw = raw + b"\0" if byte_order == 0 else b"\0" + raw
            (v,) = struct.unpack(fmt, raw)
            row += bytes((channel(v, red_mask), channel(v, green_mask), channel(v, blue_mask)))
        rows.append(bytes(row))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
    with open(out, "wb") as f:
        f.write(png)


main()
