#!/usr/bin/python3
"""Draws the chooser's, the info tool bar's and the About window's pictures as 24-bit BMP files.

ABOUT (400 x 120): the About window's picture.

MC_FREEMATRIX (24 x 24): the title picture of the free-matrix chooser, a 3 x 3 grid with one
chosen cell. FREEMATRIX and LOSSYMODE (112 x 28): four 28 x 28 button glyphs each (up,
disabled, down, hot). The bottom-left pixel of each picture is its transparent colour.
Run it again after changing a picture; the BMP files are committed.
"""
import os
import struct

GROUND = (0x60, 0x4A, 0x3A)  # R, G, B of the tool bar's ground


def write_bmp(path, pixels):
    height = len(pixels)
    width = len(pixels[0])
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for r, g, b in pixels[y]:
            line += bytes((b, g, r))
        line += bytes(row - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def canvas(w, h, colour=GROUND):
    return [[colour for _ in range(w)] for _ in range(h)]


def rect(p, x0, y0, x1, y1, colour):
    for y in range(y0, y1):
        for x in range(x0, x1):
            p[y][x] = colour


def grid_glyph(p, ox, colour, chosen):
    # 3 x 3 cells of 6 pixels with 2-pixel gaps, centred in 28 x 28.
    for r in range(3):
        for c in range(3):
            x = ox + 4 + c * 7
            y = 4 + r * 7
            rect(p, x, y, x + 6, y + 6, chosen if (r, c) == (1, 2) else colour)


def lossy_glyph(p, ox, colour, accent):
    # A picture frame with a staircase inside: the image compressed in steps.
    rect(p, ox + 4, 5, ox + 24, 7, colour)
    rect(p, ox + 4, 21, ox + 24, 23, colour)
    rect(p, ox + 4, 5, ox + 6, 23, colour)
    rect(p, ox + 22, 5, ox + 24, 23, colour)
    for i in range(4):
        rect(p, ox + 8 + i * 3, 18 - i * 3, ox + 11 + i * 3, 20, accent)


STATES = [  # up, disabled, down, hot
    ((0xE0, 0xE0, 0xE0), (0x70, 0xC0, 0xFF)),
    ((0x90, 0x90, 0x90), (0x90, 0x90, 0x90)),
    ((0xFF, 0xFF, 0xFF), (0xFF, 0xC0, 0x40)),
    ((0xFF, 0xFF, 0xFF), (0x90, 0xD8, 0xFF)),
]


def about_picture():
    # 400 x 120: a dark blue ground darkening to the right, an axial slice (a grey disc with
    # two lighter lobes and a bright spine) on the left and a stack of three frames on the right.
    w, h = 400, 120
    p = [[(int(0x2B - 0x14 * x / w), int(0x3A - 0x18 * x / w), int(0x4F - 0x1C * x / w)) for x in range(w)] for _ in range(h)]
    cx, cy = 70, 60
    for y in range(h):
        for x in range(w):
            dx, dy = x - cx, y - cy
            if (dx / 44.0) ** 2 + (dy / 38.0) ** 2 <= 1.0:
                p[y][x] = (0x70, 0x70, 0x70)
            for lx in (-18, 18):
                if ((dx - lx) / 13.0) ** 2 + ((dy + 4) / 20.0) ** 2 <= 1.0:
                    p[y][x] = (0x28, 0x28, 0x28)
            if dx * dx + (dy - 24) ** 2 <= 36:
                p[y][x] = (0xF0, 0xF0, 0xF0)
    for i in range(3):
        x0, y0 = 250 + i * 18, 24 + i * 12
        rect(p, x0, y0, x0 + 90, y0 + 60, (0x48, 0x5E, 0x7A))
        rect(p, x0 + 2, y0 + 2, x0 + 88, y0 + 58, (0x10, 0x14, 0x1A))
    rect(p, 0, h - 4, w, h, (0xF0, 0xA0, 0x30))
    return p


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    title = canvas(24, 24, (0, 0, 0))
    for r in range(3):
        for c in range(3):
            x, y = 2 + c * 7, 2 + r * 7
            rect(title, x, y, x + 6, y + 6, (0x70, 0xC0, 0xFF) if (r, c) == (1, 2) else (0xC8, 0xC8, 0xC8))
    write_bmp(os.path.join(here, "MC_FREEMATRIX.bmp"), title)
    free = canvas(112, 28)
    lossy = canvas(112, 28)
    for i, (colour, accent) in enumerate(STATES):
        grid_glyph(free, i * 28, colour, accent)
        lossy_glyph(lossy, i * 28, colour, accent)
    write_bmp(os.path.join(here, "FREEMATRIX.bmp"), free)
    write_bmp(os.path.join(here, "LOSSYMODE.bmp"), lossy)
    write_bmp(os.path.join(here, "ABOUT.bmp"), about_picture())


if __name__ == "__main__":
    main()
