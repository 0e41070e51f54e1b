#!/usr/bin/env python3
# Writes the hand-made seeds of fuzz_journal_resume: works whose lines lie far from where the
# vehicle is, or far outside their own plane. Run from the repository's top folder; the
# records are those of journal/JournalFormat.h.
import math
import struct


def crc32c(data, crc=0):
    crc ^= 0xFFFFFFFF
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ (0x82F63B78 if crc & 1 else 0)
    return crc ^ 0xFFFFFFFF


def header():
    head = b"SULCJRNL" + struct.pack("<HH", 1, 0)
    return head + struct.pack("<I", crc32c(head))


def record(kind, payload):
    body = struct.pack("<HB", len(payload), kind) + payload
    return struct.pack("<I", crc32c(body)) + body


def start():
    return record(1, struct.pack("<BHH", 2, 1200, 600))  # an AB work, 12 m


def origin(lon=8.55, lat=47.37):
    return record(2, struct.pack("<ddiB", lon, lat, int((lon + 180) // 6) + 1, 1))


def strips(n=20):
    out = b""
    for i in range(n):
        out += record(9, struct.pack("<dddddd", -60.0, 15.0 * i, 60.0, 15.0 * i, 15.0 * i,
                                     1800.0 * i))
    return out


def point_a(x, y):
    return record(6, struct.pack("<dd", x, y))


def point_b(x, y, spacing=120.0):
    return record(7, struct.pack("<ddd", x, y, spacing))


def curve(points):
    out = b""
    for at in range(0, len(points), 4000):
        out += record(10, b"".join(struct.pack("<dd", x, y) for x, y in points[at:at + 4000]))
    return out


def curved_work(dx, dy):
    path = [(dx + 40.0 * math.sin(i / 600.0), dy + 10.0 * i) for i in range(4002)]
    return (header() + start() + origin() + strips() + point_a(*path[0]) + curve(path) +
            point_b(*path[-1]))


seeds = {
    # The curve 12 000 km out in its own plane: no work of the program, the trusted part ends.
    "curve-12000km-out": curved_work(1.2e8, 0.0),
    # The curve 300 km east, inside the plane: resumed, and too far from the vehicle.
    "curve-300km-east": curved_work(3.0e6, 0.0),
    # A straight line 40 km north of the vehicle.
    "straight-40km-north": header() + start() + origin() + strips() + point_a(0.0, 4.0e5) +
    point_b(1000.0, 4.0e5),
    # A straight line through the field, then a view whose zoom no button makes.
    "straight-then-bad-zoom": header() + start() + origin() + strips() + point_a(0.0, 0.0) +
    point_b(0.0, 1000.0) + record(8, struct.pack("<fB", 1e30, 0)),
}
for name, data in seeds.items():
    with open("tests/fuzz/corpus/journal_resume/" + name, "wb") as f:
        f.write(data)
