#!/usr/bin/env python3
"""Draws the menus' picture strip: 104 pictures of 16 by 16 side by side on
the light grey that the image list treats as transparent, written as a
24-bit BMP (resources/bitmaps/menu_pictures.bmp).

Run once after changing a picture; its output is committed:
    python3 scripts/make-menu-pictures.py resources/bitmaps/menu_pictures.bmp
"""
import math
import struct
import sys

SIZE = 16
COUNT = 104
GREY = (192, 192, 192)  # the transparent colour

BLACK = (0, 0, 0)
DARK = (64, 64, 64)
MID = (128, 128, 128)
WHITE = (255, 255, 255)
PAPER = (255, 251, 230)
BLUE = (40, 80, 170)
LIGHT_BLUE = (90, 150, 230)
RED = (190, 30, 30)
GREEN = (30, 140, 40)
GOLD = (215, 165, 20)
BROWN = (140, 90, 30)
ORANGE = (230, 120, 20)


class Picture:
    def __init__(self):
        self.pixels = [[GREY] * SIZE for _ in range(SIZE)]

    def dot(self, x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.pixels[y][x] = colour

    def fill(self, left, top, right, bottom, colour):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.dot(x, y, colour)

    def frame(self, left, top, right, bottom, colour):
        self.line(left, top, right, top, colour)
        self.line(left, bottom, right, bottom, colour)
        self.line(left, top, left, bottom, colour)
        self.line(right, top, right, bottom, colour)

    def box(self, left, top, right, bottom, inside, edge):
        self.fill(left, top, right, bottom, inside)
        self.frame(left, top, right, bottom, edge)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.dot(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)

    def disc(self, cx, cy, radius, colour):
        for y in range(SIZE):
            for x in range(SIZE):
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius + 0.5:
                    self.dot(x, y, colour)


def note(p, ink=BLUE):
    p.box(3, 1, 12, 14, PAPER, DARK)
    for y in (4, 6, 8, 10):
        p.line(5, y, 10, y, ink)


def trash(p, body=MID):
    p.fill(6, 1, 9, 1, DARK)
    p.box(2, 2, 13, 3, body, DARK)
    p.box(3, 4, 12, 14, body, DARK)
    for x in (5, 8, 10):
        p.line(x, 6, x, 12, DARK)


def question(p):
    p.disc(7.5, 7.5, 7, BLUE)
    p.line(5, 4, 6, 3, WHITE)
    p.line(7, 3, 9, 3, WHITE)
    p.line(10, 4, 10, 6, WHITE)
    p.line(9, 7, 8, 8, WHITE)
    p.line(8, 9, 8, 10, WHITE)
    p.fill(7, 12, 8, 13, WHITE)


def check(p, colour=BLACK):
    p.line(3, 8, 6, 11, colour)
    p.line(3, 9, 6, 12, colour)
    p.line(6, 11, 12, 4, colour)
    p.line(6, 12, 12, 5, colour)


def gear(p, colour=MID):
    for k in range(8):
        angle = math.pi * k / 4
        x, y = 7.5 + 6 * math.cos(angle), 7.5 + 6 * math.sin(angle)
        p.fill(round(x - 1), round(y - 1), round(x), round(y), colour)
    p.disc(7.5, 7.5, 5, colour)
    p.disc(7.5, 7.5, 2, GREY)


def printer(p, body=MID):
    p.box(4, 1, 11, 6, WHITE, DARK)
    p.box(1, 6, 14, 11, body, DARK)
    p.dot(12, 8, GREEN)
    p.box(4, 10, 11, 14, WHITE, DARK)
    p.line(5, 12, 10, 12, DARK)


def bell(p, colour=GOLD):
    p.fill(7, 1, 8, 1, DARK)
    p.disc(7.5, 5.5, 3.5, colour)
    p.fill(4, 6, 11, 10, colour)
    p.fill(2, 11, 13, 12, colour)
    p.line(2, 12, 13, 12, BROWN)
    p.fill(7, 13, 8, 14, BROWN)


def envelope(p, paper=WHITE, edge=DARK):
    p.box(1, 3, 14, 12, paper, edge)
    p.line(1, 3, 7, 8, edge)
    p.line(14, 3, 8, 8, edge)


def pin(p, colour=RED):
    p.disc(7.5, 4, 3.5, colour)
    p.fill(5, 7, 10, 8, colour)
    p.line(7, 9, 7, 14, DARK)
    p.line(8, 9, 8, 13, DARK)


def disk(p, left, top, body=BLUE):
    p.box(left, top, left + 10, top + 10, body, DARK)
    p.fill(left + 2, top + 1, left + 7, top + 4, WHITE)
    p.fill(left + 3, top + 7, left + 7, top + 10, MID)


def undo(p, colour=GREEN):
    p.line(4, 5, 10, 5, colour)
    p.line(4, 6, 10, 6, colour)
    p.line(11, 6, 13, 8, colour)
    p.line(10, 6, 12, 8, colour)
    p.line(13, 9, 13, 11, colour)
    p.line(12, 9, 12, 12, colour)
    p.line(11, 12, 8, 12, colour)
    for i in range(4):
        p.line(4 - i, 5 - i + 1, 4 - i, 5 + i, colour)


def lock(p, open_=False, body=GOLD):
    left = 9 if open_ else 4
    p.frame(left, 1, left + 6, 7, DARK)
    p.fill(left + 1, 7, left + 5, 7, GREY)
    p.box(2, 7, 13, 14, body, BROWN)
    p.fill(7, 9, 8, 12, DARK)


def ring(p, cx, cy, colour):
    for y in range(SIZE):
        for x in range(SIZE):
            if 2.6 <= math.hypot(x - cx, (y - cy) / 0.7) <= 4.4:
                p.dot(x, y, colour)


def link(p, colour=MID):
    ring(p, 5, 7.5, colour)
    ring(p, 10, 7.5, DARK if colour == MID else BLUE)


def pages(p, ink=BLUE):
    p.box(1, 1, 9, 11, PAPER, DARK)
    p.box(6, 4, 14, 14, PAPER, DARK)
    for y in (7, 9, 11):
        p.line(8, y, 12, y, ink)


def folder(p, colour=GOLD):
    p.box(1, 2, 6, 4, colour, BROWN)
    p.box(1, 4, 14, 13, colour, BROWN)


def picture(p):
    p.box(1, 2, 14, 13, (170, 210, 250), DARK)
    p.disc(4.5, 5.5, 1.5, ORANGE)
    p.line(2, 12, 7, 7, GREEN)
    p.line(7, 7, 10, 10, GREEN)
    p.line(10, 10, 12, 8, GREEN)
    p.line(12, 8, 13, 9, GREEN)
    p.fill(3, 12, 12, 12, GREEN)


def neutral(p):
    p.box(5, 5, 10, 10, (208, 208, 208), MID)


def badge(p, colour, mark):
    p.disc(12, 12, 3.4, colour)
    if mark == 'check':
        p.line(10, 12, 11, 13, WHITE)
        p.line(11, 13, 14, 10, WHITE)
    elif mark == 'cross':
        p.line(10, 10, 14, 14, WHITE)
        p.line(14, 10, 10, 14, WHITE)


def greyed(p):
    for row in p.pixels:
        for x, colour in enumerate(row):
            if colour != GREY:
                level = (sum(colour) // 3 + 2 * 160) // 3
                row[x] = (level, level, level) if level != 192 else (190, 190, 190)


def envelope_with(mark, colour):
    def draw(p):
        envelope(p)
        badge(p, colour, mark)
    return draw


def envelope_at_alarm(p):
    envelope(p)
    p.disc(12, 11.5, 3, GOLD)
    p.fill(9, 13, 15, 14, GOLD)
    p.dot(12, 15, BROWN)


def unrestore_grey(p):
    undo(p)
    greyed(p)


# The pictures the program's menus and lists ask for by index.
PICTURES = {
    3: trash,
    10: lambda p: trash(p, (210, 120, 100)),
    15: question,
    16: check,
    22: gear,
    100: lambda p: gear(p, BLUE),
    25: printer,
    26: lambda p: printer(p, LIGHT_BLUE),
    27: bell,
    28: envelope,
    29: lambda p: envelope(p, PAPER, BLUE),
    30: pin,
    37: envelope_with('check', GREEN),
    38: envelope_with('cross', RED),
    78: envelope_at_alarm,
    42: lambda p: (disk(p, 1, 1), disk(p, 5, 5)),
    43: lambda p: disk(p, 2, 3),
    44: undo,
    45: unrestore_grey,
    47: lambda p: lock(p, True),
    48: lock,
    98: lambda p: lock(p, False, ORANGE),
    99: lambda p: lock(p, True, ORANGE),
    94: link,
    96: lambda p: link(p, BLUE),
    97: pages,
    101: folder,
    102: lambda p: folder(p, ORANGE),
    103: picture,
    0: note,
}


def strip_rows():
    pictures = []
    for index in range(COUNT):
        p = Picture()
        PICTURES.get(index, neutral)(p)
        pictures.append(p)
    # Bottom-up rows, each padded to four bytes (1664 * 3 already is).
    rows = []
    for y in reversed(range(SIZE)):
        row = bytearray()
        for p in pictures:
            for r, g, b in p.pixels[y]:
                row += bytes((b, g, r))
        rows.append(bytes(row))
    return b''.join(rows)


def write_bmp(path):
    pixels = strip_rows()
    width, height = SIZE * COUNT, SIZE
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, 'wb') as out:
        out.write(header + info + pixels)


if __name__ == '__main__':
    write_bmp(sys.argv[1] if len(sys.argv) > 1 else 'resources/bitmaps/menu_pictures.bmp')
