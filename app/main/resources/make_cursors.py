#!/usr/bin/python3
"""Draws the program's tool cursors (.cur files, 32 x 32, 32 bits) and its file icon (.ico).

Run once; the files are committed. Each cursor is a white-outlined black pointer with a small
mark of its tool in the lower right, so the cursors tell the tools apart."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
N = 32


def blank():
    return [[(0, 0, 0, 0)] * N for _ in range(N)]


def put(img, x, y, c):
    if 0 <= x < N and 0 <= y < N:
        img[y][x] = c


BLACK, WHITE = (0, 0, 0, 255), (255, 255, 255, 255)


def thick(img, x, y, c):
    for dx in (-1, 0, 1):
        for dy in (-1, 0, 1):
            put(img, x + dx, y + dy, WHITE)
    put(img, x, y, c)


def line(img, x0, y0, x1, y1, c=BLACK, outline=True):
    steps = max(abs(x1 - x0), abs(y1 - y0), 1)
    pts = [(round(x0 + (x1 - x0) * t / steps), round(y0 + (y1 - y0) * t / steps)) for t in range(steps + 1)]
    if outline:
        for x, y in pts:
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    if img[y + dy if 0 <= y + dy < N else y][x + dx if 0 <= x + dx < N else x] != c:
                        put(img, x + dx, y + dy, WHITE)
    for x, y in pts:
        put(img, x, y, c)


def pointer(img):
    # A small arrow with its hot spot at (0, 0).
    shape = [(0, 0), (0, 11), (3, 8), (5, 12), (7, 11), (5, 7), (9, 7)]
    for i in range(len(shape)):
        line(img, *shape[i], *shape[(i + 1) % len(shape)])
    for y in range(1, 10):
        for x in range(1, y):
            if img[y][x][3] == 0 and x < 9 - (y > 7) * 3:
                put(img, x, y, BLACK)


def rect(img, x0, y0, x1, y1):
    line(img, x0, y0, x1, y0); line(img, x1, y0, x1, y1); line(img, x1, y1, x0, y1); line(img, x0, y1, x0, y0)


def ellipse(img, cx, cy, rx, ry, steps=48):
    pts = [(round(cx + rx * math.cos(2 * math.pi * i / steps)), round(cy + ry * math.sin(2 * math.pi * i / steps)))
           for i in range(steps)]
    for i in range(steps):
        line(img, *pts[i], *pts[(i + 1) % steps])


def cross(img, cx, cy, r):
    line(img, cx - r, cy, cx + r, cy); line(img, cx, cy - r, cx, cy + r)


def marks(kind, down):
    img = blank()
    pointer(img)
    if kind == 'rectangle': rect(img, 14, 16, 28, 27)
    elif kind == 'ellipse': ellipse(img, 21, 22, 8, 6)
    elif kind == 'angle_lines': line(img, 13, 28, 29, 20); line(img, 13, 20, 29, 28)
    elif kind == 'angle': line(img, 14, 28, 29, 28); line(img, 14, 28, 26, 15)
    elif kind == 'distance': line(img, 13, 28, 29, 16); put(img, 13, 28, BLACK); put(img, 29, 16, BLACK)
    elif kind == 'measure': cross(img, 21, 22, 6)
    elif kind == 'magnifier': ellipse(img, 19, 19, 6, 6); line(img, 23, 23, 29, 29)
    elif kind == 'navigator': line(img, 21, 14, 21, 30); line(img, 17, 18, 21, 14); line(img, 25, 18, 21, 14); line(img, 17, 26, 21, 30); line(img, 25, 26, 21, 30)
    elif kind == 'pan': cross(img, 21, 22, 8); line(img, 18, 17, 21, 14); line(img, 24, 17, 21, 14); line(img, 18, 27, 21, 30); line(img, 24, 27, 21, 30)
    elif kind == 'voi':
        rect(img, 14, 16, 28, 28)
        for y in range(17, 28):
            for x in range(15, 15 + (y - 16)):
                put(img, x, y, BLACK)
    elif kind == 'zoom': ellipse(img, 20, 21, 7, 7); cross(img, 20, 21, 3)
    elif kind == 'mpr': rect(img, 14, 16, 28, 28); line(img, 14, 22, 28, 22)
    elif kind == 'mpr_position': rect(img, 14, 16, 28, 28); cross(img, 21, 22, 4)
    elif kind == 'mpr_thickness': line(img, 14, 19, 28, 19); line(img, 14, 25, 28, 25)
    elif kind == 'mpr_anix': line(img, 14, 28, 28, 16); ellipse(img, 21, 22, 4, 4)
    elif kind == 'move': cross(img, 21, 22, 7); rect(img, 18, 19, 24, 25)
    elif kind == 'blending': ellipse(img, 18, 22, 5, 5); ellipse(img, 24, 22, 5, 5)
    elif kind == 'arrow': line(img, 14, 28, 28, 16); line(img, 28, 16, 22, 16); line(img, 28, 16, 28, 22)
    elif kind == 'text': line(img, 15, 16, 27, 16); line(img, 21, 16, 21, 29)
    elif kind == 'callout': rect(img, 17, 15, 29, 23); line(img, 13, 29, 19, 23)
    elif kind == 'density': ellipse(img, 21, 22, 6, 6); put(img, 21, 22, BLACK)
    elif kind == 'polygon': line(img, 14, 26, 19, 15); line(img, 19, 15, 28, 19); line(img, 28, 19, 25, 29); line(img, 25, 29, 14, 26)
    elif kind == 'triangulation': line(img, 14, 28, 21, 15); line(img, 21, 15, 28, 28); line(img, 28, 28, 14, 28)
    elif kind == 'edge': rect(img, 14, 16, 28, 28); line(img, 14, 16, 28, 28)
    if down:
        for y in range(29, 32):
            for x in range(10, 13):
                put(img, x, y, BLACK)
    return img


def dib(img):
    rows = b''.join(bytes((b, g, r, a)) for row in reversed(img) for (r, g, b, a) in row)
    mask = b'\x00' * (4 * N)  # AND mask, all opaque where alpha says so
    header = struct.pack('<IiiHHIIiiII', 40, N, 2 * N, 1, 32, 0, len(rows) + len(mask), 0, 0, 0, 0)
    return header + rows + mask


def write(path, img, kind, hotx=0, hoty=0):
    data = dib(img)
    head = struct.pack('<HHH', 0, kind, 1)
    entry = struct.pack('<BBBBHHII', N, N, 0, 0, hotx if kind == 2 else 1, hoty if kind == 2 else 32, len(data), 22)
    with open(path, 'wb') as f:
        f.write(head + entry + data)


CURSORS = {
    'MEASUREMENT_RECTANGLE': ('rectangle', False), 'MEASUREMENT_ELLIPSE': ('ellipse', False),
    'MEASUREMENT_ANGLE_BETWEEN_LINES': ('angle_lines', False), 'MEASUREMENT_ANGLE': ('angle', False),
    'MEASUREMENT_DISTANCE': ('distance', False), 'MEASUREMENT_UP': ('measure', False),
    'MAGNIFIER_DOWN': ('magnifier', True), 'MAGNIFIER_UP': ('magnifier', False),
    'NAVIGATOR_DOWN': ('navigator', True), 'NAVIGATOR_UP': ('navigator', False),
    'PAN_DOWN': ('pan', True), 'PAN_UP': ('pan', False), 'VOI_DOWN': ('voi', True), 'VOI_UP': ('voi', False),
    'ZOOM_DOWN': ('zoom', True), 'ZOOM_UP': ('zoom', False), 'MPR_UP': ('mpr', False),
    'MPR_POSITION_UP': ('mpr_position', False), 'MPR_POSITION_DOWN': ('mpr_position', True),
    'MPR_THICKNESS_UP': ('mpr_thickness', False), 'MPR_THICKNESS_DOWN': ('mpr_thickness', True),
    'MPR_ANIX_UP': ('mpr_anix', False), 'MPR_ANIX_DOWN': ('mpr_anix', True),
    'MEASUREMENT_MOVE_UP': ('move', False), 'MEASUREMENT_MOVE_DOWN': ('move', True),
    'BLENDING_UP': ('blending', False), 'BLENDING_DOWN': ('blending', True),
    'MEASUREMENT_ARROW': ('arrow', False), 'MEASUREMENT_TEXT': ('text', False),
    'MEASUREMENT_CALLOUT': ('callout', False), 'MEASUREMENT_DENSITY': ('density', False),
    'MEASUREMENT_POLYGON': ('polygon', False), 'TRIANGULATION_UP': ('triangulation', False),
    'TRIANGULATION_DOWN': ('triangulation', True), 'EDGE_ENHANCEMENT_DOWN': ('edge', True),
    'EDGE_ENHANCEMENT_UP': ('edge', False),
}
# Cursors the program itself carries by their own names; the others by their "_DEF" names.
OWN_NAMES = {'MEASUREMENT_ARROW', 'MEASUREMENT_TEXT', 'MEASUREMENT_CALLOUT', 'MEASUREMENT_DENSITY'}
NOT_CARRIED = {'MEASUREMENT_POLYGON', 'TRIANGULATION_UP', 'TRIANGULATION_DOWN', 'EDGE_ENHANCEMENT_DOWN',
               'EDGE_ENHANCEMENT_UP'}


def main():
    folder = os.path.join(HERE, 'cursors')
    os.makedirs(folder, exist_ok=True)
    manifest = ['# The program\'s own resources: the tool cursors with their fallback names and the file icon.']
    for name, (kind, down) in CURSORS.items():
        write(os.path.join(folder, name.lower() + '.cur'), marks(kind, down), 2)
        if name in NOT_CARRIED:
            continue
        resource = 'CURSOR_' + name + ('' if name in OWN_NAMES else '_DEF')
        manifest.append(f'CURSOR {resource} cursors/{name.lower()}.cur')
    icon = blank()
    for y in range(2, 30):
        for x in range(2, 30):
            edge = x in (2, 29) or y in (2, 29)
            icon[y][x] = (43, 58, 79, 255) if not edge else (200, 200, 200, 255)
    for y in range(8, 24):  # a "V" in white
        for dx in (0, 1, 2):
            put(icon, 8 + (y - 8) // 2 + dx, y, WHITE)
            put(icon, 23 - (y - 8) // 2 + dx - 2, y, WHITE)
    write(os.path.join(HERE, 'vistrel.ico'), icon, 1)
    manifest.append('ICON MAINICON vistrel.ico')
    with open(os.path.join(HERE, 'Vistrel.exe.txt'), 'w') as f:
        f.write('\n'.join(manifest) + '\n')


if __name__ == '__main__':
    main()
