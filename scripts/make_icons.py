#!/usr/bin/env python3
"""Draws Vantor's icons and writes them as .ico files (32-bit BGRA, 16x16 to 48x48).

The artwork: a rounded speech bubble with a check mark, on a blue disc for the program and
the tray's start-up icon, green when the watcher runs and grey with a bar when it is
disabled. Plain python3, no libraries: run it again to regenerate resources/*.ico.
"""
import math
import os
import struct
import sys

THEMES = {
    "vantor.ico": ((33, 99, 186), (255, 255, 255), False),
    "tray_main.ico": ((33, 99, 186), (255, 255, 255), False),
    "tray_enabled.ico": ((34, 139, 60), (255, 255, 255), False),
    "tray_disabled.ico": ((120, 120, 120), (235, 235, 235), True),
}


def coverage(size, inside, samples=4):
    """Anti-aliased coverage of a shape given as inside(x, y) in unit coordinates."""
    grid = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    y = (py + (sy + 0.5) / samples) / size
                    hits += 1 if inside(x, y) else 0
            row.append(hits / (samples * samples))
        grid.append(row)
    return grid


def near_segment(x, y, ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy)) <= width / 2


def disc(x, y):
    return math.hypot(x - 0.5, y - 0.5) <= 0.48


def bubble(x, y):
    # A rounded rectangle with a small tail at the lower left.
    left, top, right, bottom, r = 0.2, 0.24, 0.8, 0.66, 0.1
    cx = min(max(x, left + r), right - r)
    cy = min(max(y, top + r), bottom - r)
    body = math.hypot(x - cx, y - cy) <= r and left <= x <= right and top <= y <= bottom
    tail = 0.28 <= x <= 0.44 and bottom - 0.01 <= y <= 0.8 and (x - 0.28) <= (0.8 - y) * 1.2
    return body or tail


def check(x, y):
    return near_segment(x, y, 0.33, 0.45, 0.45, 0.56, 0.09) or near_segment(
        x, y, 0.45, 0.56, 0.68, 0.33, 0.09)


def bar(x, y):
    return near_segment(x, y, 0.2, 0.82, 0.82, 0.2, 0.1)


def render(size, back, fore, disabled):
    shapes = [coverage(size, disc), coverage(size, bubble), coverage(size, check)]
    if disabled:
        shapes.append(coverage(size, bar))
    pixels = []
    for py in range(size):
        for px in range(size):
            a = shapes[0][py][px]
            r, g, b = back
            bub = shapes[1][py][px]
            r, g, b = (r + (fore[0] - r) * bub, g + (fore[1] - g) * bub, b + (fore[2] - b) * bub)
            chk = shapes[2][py][px] * bub
            r, g, b = (r + (back[0] - r) * chk, g + (back[1] - g) * chk, b + (back[2] - b) * chk)
            if disabled:
                br = shapes[3][py][px]
                r, g, b = (r + (200 - r) * br, g + (30 - g) * br, b + (30 - b) * br)
                a = max(a, br)
            pixels.append((int(r), int(g), int(b), int(round(a * 255))))
    return pixels


def ico_image(size, pixels):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for py in reversed(range(size)):  # bottom-up
        row = b"".join(struct.pack("BBBB", b, g, r, a)
                       for (r, g, b, a) in pixels[py * size:(py + 1) * size])
        rows.append(row)
    mask_row = b"\x00" * (((size + 31) // 32) * 4)
    return header + b"".join(rows) + mask_row * size


# The sizes a window or the notification area asks for at 100 %, 125 %, 150 % and 200 %.
SIZES = (16, 20, 24, 32, 40, 48)


def write_ico(path, theme):
    images = [ico_image(s, render(s, *theme)) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    for name, theme in THEMES.items():
        write_ico(os.path.join(folder, name), theme)


if __name__ == "__main__":
    main()
