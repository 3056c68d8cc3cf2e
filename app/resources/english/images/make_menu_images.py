#!/usr/bin/python3
"""Draws the stack context menu's item pictures as 16 x 16 24-bit BMP files (MENU_*.bmp).

Each picture has a magenta ground, its bottom-left pixel, which the menu draws transparent.
The section popupBitmaps of GUI_STACK_FRAME.xml names them per item. Run it again after
changing a picture; the BMP files are committed.
"""
import math
import os

from make_images import write_bmp

KEY = (255, 0, 255)
INK = (32, 56, 110)
RED = (200, 40, 40)
GREEN = (30, 140, 60)
GREY = (120, 120, 120)
WHITE = (255, 255, 255)
YELLOW = (230, 180, 20)


def blank():
    return [[KEY for _ in range(16)] for _ in range(16)]


def put(p, x, y, c):
    if 0 <= x < 16 and 0 <= y < 16:
        p[y][x] = c


def line(p, x0, y0, x1, y1, c):
    n = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(n + 1):
        put(p, round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)


def rect(p, x0, y0, x1, y1, c, fill=None):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            edge = x in (x0, x1) or y in (y0, y1)
            if edge:
                put(p, x, y, c)
            elif fill:
                put(p, x, y, fill)


def circle(p, cx, cy, r, c, fill=None):
    for y in range(16):
        for x in range(16):
            d = math.hypot(x - cx, y - cy)
            if abs(d - r) < 0.6:
                put(p, x, y, c)
            elif fill and d < r:
                put(p, x, y, fill)


def zoom(plus=True):
    p = blank()
    circle(p, 6, 6, 4.5, INK, WHITE)
    line(p, 9, 9, 14, 14, INK)
    line(p, 10, 9, 15, 14, INK)
    if plus:
        line(p, 4, 6, 8, 6, INK)
        line(p, 6, 4, 6, 8, INK)
    return p


def fit():
    p = blank()
    for x0, y0, dx, dy in ((1, 1, 1, 1), (14, 1, -1, 1), (1, 14, 1, -1), (14, 14, -1, -1)):
        line(p, x0, y0, x0 + 4 * dx, y0, INK)
        line(p, x0, y0, x0, y0 + 4 * dy, INK)
    rect(p, 5, 5, 10, 10, GREY, WHITE)
    return p


def pan():
    p = blank()
    line(p, 8, 1, 8, 14, INK)
    line(p, 1, 8, 14, 8, INK)
    for (ax, ay, bx, by) in ((8, 1, 5, 4), (8, 1, 11, 4), (8, 14, 5, 11), (8, 14, 11, 11),
                             (1, 8, 4, 5), (1, 8, 4, 11), (14, 8, 11, 5), (14, 8, 11, 11)):
        line(p, ax, ay, bx, by, INK)
    return p


def voi():
    p = blank()
    for y in range(16):
        for x in range(16):
            if math.hypot(x - 7.5, y - 7.5) < 6.5:
                put(p, x, y, (20, 20, 20) if x < 8 else WHITE)
    circle(p, 7.5, 7.5, 6.5, INK)
    return p


def lens():
    p = zoom(False)
    circle(p, 6, 6, 2, RED)
    return p


def shape_circle():
    p = blank()
    circle(p, 7.5, 7.5, 6, INK, WHITE)
    return p


def shape_rect():
    p = blank()
    rect(p, 2, 3, 13, 12, INK, WHITE)
    return p


def sizes():
    p = blank()
    rect(p, 1, 1, 14, 14, INK)
    rect(p, 4, 4, 11, 11, INK)
    rect(p, 7, 7, 8, 8, RED, RED)
    return p


def optimized():
    p = blank()
    line(p, 2, 8, 6, 12, GREEN)
    line(p, 6, 12, 13, 3, GREEN)
    line(p, 2, 9, 6, 13, GREEN)
    line(p, 6, 13, 13, 4, GREEN)
    return p


def ruler():
    p = blank()
    line(p, 1, 13, 14, 2, INK)
    for t in range(0, 14, 3):
        put(p, 1 + t, 13 - round(t * 11 / 13) - 1, RED)
    return p


def angle(two_lines=False):
    p = blank()
    line(p, 2, 13, 14, 13, INK)
    line(p, 2, 13, 11, 2, INK)
    if two_lines:
        line(p, 8, 15, 15, 6, INK)
    circle(p, 2, 13, 5, RED)
    for y in range(16):
        for x in range(16):
            if p[y][x] == RED and (x < 2 or y > 13 or y < 13 - (x - 2) * 11 / 9):
                p[y][x] = KEY
    return p


def ellipse():
    p = blank()
    for y in range(16):
        for x in range(16):
            d = ((x - 7.5) / 6.5) ** 2 + ((y - 7.5) / 4.5) ** 2
            if abs(d - 1) < 0.18:
                put(p, x, y, INK)
    return p


def polygon():
    p = blank()
    pts = [(2, 12), (5, 2), (13, 4), (11, 13)]
    for a, b in zip(pts, pts[1:] + pts[:1]):
        line(p, a[0], a[1], b[0], b[1], INK)
    return p


def text():
    p = blank()
    line(p, 3, 2, 12, 2, INK)
    line(p, 3, 3, 12, 3, INK)
    line(p, 7, 2, 7, 13, INK)
    line(p, 8, 2, 8, 13, INK)
    return p


def arrow():
    p = blank()
    line(p, 2, 13, 13, 2, INK)
    line(p, 13, 2, 8, 2, INK)
    line(p, 13, 2, 13, 7, INK)
    return p


def density():
    p = blank()
    circle(p, 7.5, 7.5, 5, INK)
    put(p, 7, 7, RED); put(p, 8, 7, RED); put(p, 7, 8, RED); put(p, 8, 8, RED)
    return p


def callout():
    p = blank()
    rect(p, 5, 1, 14, 8, INK, WHITE)
    line(p, 7, 8, 2, 14, INK)
    return p


def calibrate():
    p = ruler()
    line(p, 1, 2, 5, 2, RED)
    line(p, 1, 2, 1, 6, RED)
    return p


def edit():
    p = blank()
    line(p, 3, 12, 12, 3, INK)
    line(p, 4, 13, 13, 4, INK)
    line(p, 2, 14, 3, 12, RED)
    return p


def erase(all_=False):
    p = blank()
    line(p, 3, 3, 12, 12, RED)
    line(p, 12, 3, 3, 12, RED)
    line(p, 4, 3, 13, 12, RED)
    line(p, 13, 3, 4, 12, RED)
    if all_:
        rect(p, 0, 0, 15, 15, INK)
    return p


def hide():
    p = blank()
    for x in range(2, 14):
        dy = round(4 * math.sin(math.pi * (x - 2) / 11))
        put(p, x, 8 - dy, INK)
        put(p, x, 8 + dy, INK)
    circle(p, 7.5, 8, 2, INK, INK)
    line(p, 2, 14, 14, 2, RED)
    return p


def stats(kind):
    p = blank()
    line(p, 3, 2, 12, 2, INK)
    line(p, 3, 2, 8, 8, INK)
    line(p, 8, 8, 3, 13, INK)
    line(p, 3, 13, 12, 13, INK)
    if kind == "clear":
        line(p, 10, 6, 15, 11, RED)
        line(p, 15, 6, 10, 11, RED)
    elif kind == "all":
        line(p, 10, 9, 12, 11, GREEN)
        line(p, 12, 11, 15, 6, GREEN)
    return p


def edge():
    p = blank()
    for y in range(2, 14):
        for x in range(2, 14):
            put(p, x, y, (40, 40, 40) if x + y < 16 else (210, 210, 210))
    line(p, 2, 13, 13, 2, WHITE)
    return p


def inverse():
    p = blank()
    rect(p, 1, 1, 14, 14, INK)
    for y in range(2, 14):
        for x in range(2, 14):
            put(p, x, y, (20, 20, 20) if x < 8 else WHITE)
    circle(p, 7.5, 7.5, 3, GREY)
    return p


def palette():
    p = blank()
    colours = [(0, 0, 160), (0, 120, 255), (0, 200, 120), (240, 220, 0), (255, 120, 0), (220, 0, 0)]
    for y in range(3, 13):
        for x in range(1, 15):
            put(p, x, y, colours[min((x - 1) * 6 // 14, 5)])
    rect(p, 0, 2, 15, 13, INK)
    return p


def link():
    p = blank()
    rect(p, 1, 5, 8, 10, INK)
    rect(p, 7, 5, 14, 10, INK)
    line(p, 5, 7, 10, 7, INK)
    line(p, 5, 8, 10, 8, INK)
    return p


def stack():
    p = blank()
    for i in range(3):
        rect(p, 1 + 2 * i, 5 - 2 * i, 10 + 2 * i, 14 - 2 * i, INK, WHITE)
    return p


def mpr():
    p = blank()
    rect(p, 1, 5, 10, 14, INK, WHITE)
    line(p, 1, 5, 5, 1, INK)
    line(p, 10, 5, 14, 1, INK)
    line(p, 5, 1, 14, 1, INK)
    line(p, 14, 1, 14, 10, INK)
    line(p, 10, 14, 14, 10, INK)
    line(p, 1, 9, 10, 9, RED)
    return p


def rotate(left):
    p = blank()
    for a in range(30, 330, 6):
        r = math.radians(a)
        put(p, round(8 + 5.5 * math.cos(r)), round(8 - 5.5 * math.sin(r)), INK)
    if left:
        line(p, 12, 4, 12, 0, RED); line(p, 12, 4, 16, 4, RED)
        p = [row[::-1] for row in p]
    else:
        line(p, 12, 4, 12, 0, RED); line(p, 12, 4, 16, 4, RED)
    return p


def flip(horizontal):
    p = blank()
    if horizontal:
        line(p, 8, 1, 8, 14, GREY)
        line(p, 1, 8, 6, 3, INK); line(p, 1, 8, 6, 13, INK); line(p, 6, 3, 6, 13, INK)
        line(p, 14, 8, 10, 3, INK); line(p, 14, 8, 10, 13, INK); line(p, 10, 3, 10, 13, INK)
    else:
        line(p, 1, 8, 14, 8, GREY)
        line(p, 8, 1, 3, 6, INK); line(p, 8, 1, 13, 6, INK); line(p, 3, 6, 13, 6, INK)
        line(p, 8, 14, 3, 10, INK); line(p, 8, 14, 13, 10, INK); line(p, 3, 10, 13, 10, INK)
    return p


def lock(release=False):
    p = blank()
    rect(p, 3, 7, 12, 14, INK, YELLOW)
    circle(p, 7.5, 6, 3.5, INK)
    for y in range(6, 16):
        for x in range(16):
            if p[y][x] == INK and 7 < y < 8 and not (3 <= x <= 12):
                p[y][x] = KEY
    if release:
        line(p, 1, 15, 15, 1, RED)
    return p


def mark(release=False):
    p = blank()
    line(p, 3, 1, 3, 14, INK)
    rect(p, 4, 1, 12, 7, RED, RED)
    if release:
        line(p, 8, 9, 14, 15, INK); line(p, 14, 9, 8, 15, INK)
    return p


def printer():
    p = blank()
    rect(p, 4, 1, 11, 5, INK, WHITE)
    rect(p, 1, 5, 14, 11, INK, GREY)
    rect(p, 4, 9, 11, 14, INK, WHITE)
    return p


def plus_page():
    p = blank()
    rect(p, 2, 1, 11, 14, INK, WHITE)
    line(p, 9, 11, 15, 11, GREEN); line(p, 12, 8, 12, 14, GREEN)
    return p


def key(remove=False):
    p = blank()
    circle(p, 4.5, 7.5, 3, YELLOW, YELLOW)
    line(p, 7, 7, 14, 7, YELLOW); line(p, 7, 8, 14, 8, YELLOW)
    line(p, 12, 8, 12, 11, YELLOW); line(p, 14, 8, 14, 10, YELLOW)
    if remove:
        line(p, 1, 14, 14, 1, RED)
    return p


def lossy(lossless=False):
    p = blank()
    for y in range(2, 14):
        for x in range(2, 14):
            shade = 60 + 15 * ((x // (1 if lossless else 4)) + (y // (1 if lossless else 4)) % 2) % 160
            put(p, x, y, (shade, shade, shade))
    rect(p, 1, 1, 14, 14, INK)
    return p


def matrix():
    p = blank()
    for i in (1, 5, 10, 14):
        line(p, i, 1, i, 14, INK)
        line(p, 1, i, 14, i, INK)
    return p


def tools():
    p = blank()
    line(p, 3, 13, 10, 6, INK); line(p, 4, 13, 11, 6, INK)
    circle(p, 11.5, 4.5, 3, INK)
    return p


def states():
    p = blank()
    rect(p, 1, 4, 10, 13, INK, WHITE)
    rect(p, 5, 1, 14, 10, INK, (180, 210, 250))
    return p


def series():
    p = blank()
    rect(p, 1, 2, 14, 13, INK, (40, 40, 40))
    for x in (3, 7, 11):
        rect(p, x, 5, x + 2, 10, WHITE, WHITE)
    return p


def percent(n):
    p = zoom(False)
    bars = {50: 1, 100: 2, 150: 3, 200: 4, 300: 5, 400: 6, 500: 7, 1000: 8}[n]
    for i in range(bars):
        put(p, 15, 15 - i, RED)
        put(p, 14, 15 - i, RED)
    return p


PICTURES = {
    "MENU_ZOOM": zoom(), "MENU_FIT": fit(), "MENU_PAN": pan(), "MENU_VOI": voi(), "MENU_LENS": lens(),
    "MENU_CIRCLE": shape_circle(), "MENU_RECTANGLE": shape_rect(), "MENU_SIZE": sizes(),
    "MENU_OPTIMIZED": optimized(), "MENU_DISTANCE": ruler(), "MENU_ANGLE": angle(),
    "MENU_ANGLE2": angle(True), "MENU_ELLIPSE": ellipse(), "MENU_POLYGON": polygon(), "MENU_TEXT": text(),
    "MENU_ARROW": arrow(), "MENU_DENSITY": density(), "MENU_CALLOUT": callout(),
    "MENU_CALIBRATE": calibrate(), "MENU_EDIT": edit(), "MENU_ERASE": erase(), "MENU_ERASEALL": erase(True),
    "MENU_HIDE": hide(), "MENU_STATS": stats(""), "MENU_STATSCLEAR": stats("clear"),
    "MENU_STATSALL": stats("all"), "MENU_EDGE": edge(), "MENU_INVERSE": inverse(), "MENU_PALETTE": palette(),
    "MENU_LINK": link(), "MENU_STACK": stack(), "MENU_MPR": mpr(), "MENU_ROTLEFT": rotate(True),
    "MENU_ROTRIGHT": rotate(False), "MENU_FLIPH": flip(True), "MENU_FLIPV": flip(False), "MENU_LOCK": lock(),
    "MENU_UNLOCK": lock(True), "MENU_MARK": mark(), "MENU_UNMARK": mark(True), "MENU_PRINT": printer(),
    "MENU_ADDPAGE": plus_page(), "MENU_KEY": key(), "MENU_KEYREMOVE": key(True), "MENU_LOSSY": lossy(),
    "MENU_LOSSLESS": lossy(True), "MENU_MATRIX": matrix(), "MENU_TOOLS": tools(), "MENU_STATES": states(),
    "MENU_SERIES": series(),
}
for n in (50, 100, 150, 200, 300, 400, 500, 1000):
    PICTURES["MENU_ZOOM%d" % n] = percent(n)

if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, pixels in PICTURES.items():
        # The bottom-left pixel is the transparent colour: keep it the ground.
        pixels[15][0] = KEY
        write_bmp(os.path.join(here, name + ".bmp"), pixels)
    print("\n".join(sorted(PICTURES)))
