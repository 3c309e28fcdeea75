#!/usr/bin/python3
"""Composes every screen of the game from the bitmaps, the way the game
places them, so the art can be judged in context.

/usr/bin/python3 tools/art/previews.py [OUTDIR]   (default /tmp/tintorix_art/screens)
"""
import math
import os
import sys

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artlib import read_bmp, PAL  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
BMPDIR = os.path.join(ROOT, "assets", "bitmaps")
_cache = {}


def bmp(n):
    if n not in _cache:
        _cache[n] = read_bmp(os.path.join(BMPDIR, "%03d.bmp" % n))[0]
    return _cache[n]


class Screen:
    def __init__(self, fill=0):
        self.a = np.full((480, 640), fill, np.uint8)

    def cell(self, n, cells=1, frame=0):
        a = bmp(n)
        ch = a.shape[0] // cells
        return a[frame * ch:(frame + 1) * ch]

    def size(self, n, cells=1):
        c = self.cell(n, cells)
        return c.shape[1], c.shape[0]

    def draw(self, n, x, y, cells=1, frame=0, keyed=True, dest=None):
        src = self.cell(n, cells, frame)
        key = bmp(n)[0, 0]
        dst = self.a if dest is None else dest
        x, y = int(x), int(y)
        h, w = src.shape
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(dst.shape[1], x + w), min(dst.shape[0], y + h)
        if x1 <= x0 or y1 <= y0:
            return
        s = src[y0 - y:y1 - y, x0 - x:x1 - x]
        d = dst[y0:y1, x0:x1]
        if keyed:
            d[s != key] = s[s != key]
        else:
            d[:] = s

    def centre(self, n, cx, cy, cells=1, frame=0, keyed=True):
        w, h = self.size(n, cells)
        self.draw(n, cx - w // 2, cy - h // 2, cells, frame, keyed)

    def number(self, n, x, y, value, width, zero_fill):
        cw = bmp(n).shape[1]
        txt = str(value)
        cur = x
        if width > len(txt):
            for _ in range(width - len(txt)):
                if zero_fill:
                    self.draw(n, cur, y, 12, 0)
                cur += cw
        for i, ch in enumerate(txt):
            if len(txt) - i <= width:
                self.draw(n, cur, y, 12, int(ch))
                cur += cw
        return cur

    def string(self, x, y, text, n=106):
        for i, ch in enumerate(text.upper()):
            if "A" <= ch <= "Z":
                c = ord(ch) - 65
            elif "0" <= ch <= "9":
                c = ord(ch) - 22
            elif ch == "-":
                c = 36
            elif ch == ".":
                c = 37
            else:
                continue
            self.draw(n, x + 11 * i, y, 38, c)
        return x + 11 * len(text)

    def background(self, counter=0):
        for i in range(3):
            self.draw(200, 0, 238 * i - (counter % 238), keyed=False)

    def markers(self, n_entry, x, y, cells=1):
        w, h = self.size(n_entry, cells)
        cy = y + h // 2
        self.centre(135, x - 12, cy, 2, 0)
        self.centre(136, x + w + 11, cy, 2, 0)

    def save(self, path):
        Image.fromarray(np.array(PAL, np.uint8)[self.a], "RGB").save(path)
        print(path)


def title(out):
    s = Screen()
    s.background(40)
    for n, (x, y) in zip((166, 167, 168, 169), ((7, 25), (433, 8), (342, 229), (86, 229))):
        s.draw(n, x, y)
    s.centre(201, 314, 96)
    s.centre(199, 310, 92)
    s.centre(226, 320, 190)
    for i, n in enumerate((229, 230, 137)):
        s.centre(n, 320, 330 + 38 * i)
    w, h = s.size(229)
    s.markers(229, 320 - w // 2, 330 - h // 2)
    s.save(os.path.join(out, "title.png"))


def logo(out):
    s = Screen(255)
    s.centre(227, 320, 240, keyed=False)
    s.save(os.path.join(out, "logo.png"))


def menu(out, single=True, controls=(0, 1, 1, 2), cursor=6):
    s = Screen()
    s.background(100)
    xs = [41, 187, 333, 479]
    if not single:
        xs = [41, 167, 353, 479]
    for i in range(4):
        s.draw(211, xs[i], 13, 4, i, keyed=False)
        s.draw(210 if controls[i] == 0 else 213, xs[i] + 120 - 63 - 2, 15, 4, i)
        if controls[i] == 2:
            s.centre(212, xs[i] + 60, 73)
    if not single:
        s.centre(216, 320, 73)
    x0 = 121
    s.draw(143, 202, 146, 12, 2)
    s.draw(140, 252, 146)
    s.draw(232, 155, 188)
    s.draw(231, 376, 188, 2, 0 if single else 1)
    items = {0: (143, 202, 146, 12), 1: (231, 376, 188, 2)}
    for i, y in enumerate((230, 272, 314, 356)):
        s.draw(145, x0, y - 4, 4, i)
        s.draw(141, 179, y, 4, i)
        s.draw(144, 347, y, 3, min(controls[i], 2))
        items[2 + i] = (144, 347, y, 3)
    s.draw(139, 279, 402)
    s.draw(203, 284, 440)
    items[6] = (139, 279, 402, 1)
    items[7] = (203, 284, 440, 1)
    n, x, y, c = items[cursor]
    s.markers(n, x, y, c)
    s.save(os.path.join(out, "menu_%s.png" % ("single" if single else "team")))


def paint_field(seed=5):
    """Field with some paint trails, as after half a round."""
    field = bmp(107).copy()
    rng = np.random.default_rng(seed)
    for pl, brush in enumerate((110, 116, 112, 113)):
        b = bmp(brush)
        x, y = rng.uniform(100, 540), rng.uniform(100, 350)
        a = rng.uniform(0, 6.28)
        for step in range(180):
            a += rng.normal(0, 0.12)
            x = min(600, max(20, x + 4 * math.cos(a)))
            y = min(420, max(20, y - 4 * math.sin(a)))
            xi, yi = int(x) - 16, int(y) - 16
            region = field[max(5, yi):min(443, yi + 32), max(5, xi):min(635, xi + 32)]
            sub = b[max(5, yi) - yi:max(5, yi) - yi + region.shape[0], max(5, xi) - xi:max(5, xi) - xi + region.shape[1]]
            region[sub != 255] = sub[sub != 255]
    blot = bmp(161)
    region = field[150:370, 380:600]
    region[blot != 255] = blot[blot != 255]
    return field


def round_screen(out, mode=0):
    s = Screen()
    s.a[:448] = paint_field()
    pos = [(200, 150, 96), (420, 130, 32), (250, 320, 160), (470, 330, 224)]
    for i, (x, y, d) in enumerate(pos):
        s.centre(120, x + 19, y + 20 + 15)
    s.centre(164, 122 + 22, 262 + 22 + 16)
    sprites = [(y + 40, "p", i) for i, (x, y, d) in enumerate(pos)] + [(262 + 44, "item", 3)]
    for bottom, kind, i in sorted(sprites):
        if kind == "item":
            s.draw(158, 122, 262, 6, 3)
            continue
        x, y, d = pos[i]
        s.draw((109, 114, 115, 111)[i], x, y, 4, i % 4)
        ax = x + 19 + math.cos(d * math.pi / 128) * 20
        ay = y + 20 - math.sin(d * math.pi / 128) * 20
        s.centre(117, round(ax), round(ay), 32, int(round(d / 8)) % 32)
    s.centre(170, 500, 60, 13, 6)
    s.centre(172, 300, 400, 8, 3)
    s.centre(173, 330, 100, 9, 4)
    timer(s, mode, 7)
    s.centre(155, 320, 224)
    s.save(os.path.join(out, "round_%d.png" % mode))
    s2 = Screen()
    s2.a[:448] = paint_field(9)
    timer(s2, mode, 12)
    s2.centre(156, 320, 224, 3, 1)
    s2.save(os.path.join(out, "countdown.png"))
    s3 = Screen()
    s3.a[:448] = paint_field(11)
    timer(s3, mode, 3)
    s3.centre(211, 320, 188, 4, 2, keyed=False)
    s3.centre(221, 320, 274)
    s3.save(os.path.join(out, "item_taken.png"))


def timer(s, mode, elapsed):
    s.draw(202, 0, 448, keyed=False)
    for i in range(20):
        lamp = 207 if i in (5, 10, 15) else 131
        s.draw(lamp, 152 + 17 * i, 457, 2, 0 if i < 20 - elapsed else 1)
    s.number(206, 67, 456, 3, 2, True)
    s.draw(205, 507, 456, 3, mode)


def board(out, mode):
    s = Screen()
    s.a[:448] = paint_field(3)
    timer(s, mode, 20)
    x, y = 70, 59
    s.draw(165, x, y)
    w = s.size(165)[0]
    tw, th = s.size(214, 3)
    s.draw(214, x + w // 2 - tw // 2, y + 51, 3, mode)
    scores = [31, 27, 19, 12]
    wins = [2, 1, 0, 1]
    tr_w = s.size(149)[0]
    if mode == 0:
        for i in range(4):
            ry = y + 77 + 48 * i
            cx = x + 79
            s.draw(145, cx, ry - 4, 4, i)
            lx = cx + 38 + 8
            s.draw(141, lx, ry, 4, i)
            nx = lx + 140 + 10
            s.number(143, nx, ry, scores[i], 2, False)
            s.draw(151, nx + 2 * 22 + 2, ry - 1)
            for t in range(wins[i] + (1 if i == 0 else 0)):
                s.draw(149, cx + 276 + t * (tr_w // 2), ry - 3)
    elif mode == 1:
        bx, by = x + 80, y + 77
        for i, off in enumerate((0, 44, 100, 144)):
            ry = by + off
            s.draw(141, bx, ry, 4, i)
            s.number(217, bx + 140 + 6, ry + 9, scores[i], 2, False)
            s.draw(218, bx + 140 + 6 + 2 * 11 + 1, ry + 9)
        for t, off in enumerate((22, 122)):
            ty = by + off
            tx = bx + 140 + 48
            s.draw(219, tx, ty - 7)
            total = scores[2 * t] + scores[2 * t + 1]
            s.number(143, tx + 22, ty, total, 2, False)
            s.draw(218, tx + 22 + 2 * 22 + 2, ty + 16)
            for k in range(wins[2 * t]):
                s.draw(149, bx + 277 + k * (tr_w // 2), ty - 3)
    else:
        shown = 635
        cx = s.number(234, x + 130, y + 124, shown // 10, 2, False)
        s.draw(233, cx, y + 124)
        s.number(234, cx + 23, y + 124, shown % 10, 1, False)
        s.draw(235, x + 130 + 23 + 3 * 52 + 4, y + 133)
    s.save(os.path.join(out, "board_%d.png" % mode))
    if mode == 0:
        s.centre(153, 320, 224)
        s.save(os.path.join(out, "board_draw.png"))


def winner(out, team=False, w=0):
    s = Screen()
    s.background(60)
    s.centre(186 + w, 320, 240, 4, 1, keyed=False)
    pics = {0: (190, 280, 241), 1: (191, 360, 241), 2: (192, 340, 240), 3: (193, 340, 240)}
    if team:
        if w == 0:
            s.centre(190, 420, 241)
            s.centre(191, 210, 241)
        else:
            s.centre(193, 230, 240)
            s.centre(192, 420, 240)
    else:
        n, cx, cy = pics[w]
        s.centre(n, cx, cy)
    s.centre(148, 320, 45)
    lw, lh = s.size(150)
    cx = 245 if team else 295
    lx, ly = cx - lw // 2, 432 - lh // 2
    s.draw(150, lx, ly)
    s.draw(146, lx + lw, ly - 3, 4, w)
    if team:
        ax = lx + lw + 50
        s.draw(225, ax, ly + 1)
        s.draw(146, ax + 50, ly - 3, 4, w + 1)
    s.save(os.path.join(out, "winner_%s%d.png" % ("team" if team else "single", w)))


def ranking(out):
    s = Screen()
    s.background(10)
    s.centre(245, 320, 42)
    y = 84
    names = ["PAINTMASTER", "KOVRA GAMES", "ABCDEFGHIJKLMNO", "WWWWWWWWWWWWWWW"] + ["KOVRA GAMES"] * 6
    for i in range(10):
        sc = 500 - 50 * i
        x = s.number(244, 146, y, i + 1, 2, False) + 10
        s.draw(243, x, y, keyed=False)
        s.string(x + 8, y + 4, names[i])
        sx, sy = x + 180 + 10, y + 2
        sx = s.number(104, sx, sy, sc // 10, 2, False)
        s.draw(104, sx, sy, 12, 11)
        sx += 14
        sx = s.number(104, sx, sy, sc % 10, 1, False)
        s.draw(218, sx + 2, y + 5)
        y += 30
    s.centre(139, 320, 416)
    s.centre(203, 320, 454)
    w, h = s.size(139)
    s.markers(139, 320 - w // 2, 416 - h // 2)
    s.save(os.path.join(out, "ranking.png"))


def name_entry(out):
    s = Screen()
    prompt = "Enter Your Name  "
    x, y = 206, 202
    s.draw(240, x, y, keyed=False)
    X = x + 20
    for i in range(len(prompt)):
        s.draw(236, X + 11 * i, y, keyed=False)
    s.draw(242, X + 11 * len(prompt), y, keyed=False)
    s.draw(241, X, y + 37, keyed=False)
    for i in range(16):
        s.draw(237, X + 6 + 11 * i, y + 37, keyed=False)
    s.draw(238, X + 6 + 11 * 16, y + 37, keyed=False)
    s.string(X, y + 14, prompt)
    ex = s.string(X + 6, y + 41, "PAINTER")
    s.draw(239, ex, y + 41, 2, 0)
    s.save(os.path.join(out, "name_entry.png"))


def main(argv):
    out = argv[0] if argv else "/tmp/tintorix_art/screens"
    os.makedirs(out, exist_ok=True)
    logo(out)
    title(out)
    menu(out, True)
    menu(out, False, (0, 0, 2, 1), 3)
    round_screen(out, 0)
    for m in range(3):
        board(out, m)
    winner(out, False, 0)
    winner(out, False, 1)
    winner(out, True, 2)
    ranking(out)
    name_entry(out)


if __name__ == "__main__":
    main(sys.argv[1:])
