#!/usr/bin/python3
"""Draws every bitmap of Tintorix into assets/bitmaps/NNN.bmp.

Run from anywhere: /usr/bin/python3 tools/art/gen_bitmaps.py
The output is byte-for-byte the same on every run.
"""
import math
import os
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artlib import (Pic, R, G, KEY, FONT_KEY, OUT, WHITE, BLACK, PAINT,  # noqa: E402
                    PLAYER_RAMP, TELL_APART_PAL, BOLD, bmp_bytes, dilate, erode, shift,
                    lettering, text_mask, place, grad_fill, bayer, ell, cap)
from painter import Painter  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
OUTDIR = os.path.join(ROOT, "assets", "bitmaps")

SIZES = {
    102: (6, 6), 104: (14, 264), 105: (11, 684), 106: (11, 684), 107: (640, 448),
    109: (38, 160), 110: (32, 32), 111: (38, 160), 112: (32, 32), 113: (32, 32),
    114: (38, 160), 115: (38, 160), 116: (32, 32), 117: (15, 480), 118: (15, 480),
    119: (38, 40), 120: (32, 21), 121: (22, 22), 126: (38, 41), 127: (38, 41),
    128: (38, 41), 129: (38, 41), 131: (16, 32), 135: (17, 56), 136: (17, 56),
    137: (55, 29), 138: (120, 30), 139: (82, 30), 140: (185, 35), 141: (140, 140),
    143: (22, 408), 144: (172, 105), 145: (38, 164), 146: (50, 200), 148: (278, 51),
    149: (32, 38), 150: (231, 47), 151: (31, 35), 153: (422, 54), 155: (297, 195),
    156: (114, 582), 157: (44, 44), 158: (44, 264), 159: (38, 40), 160: (220, 220),
    161: (220, 220), 162: (220, 220), 163: (220, 220), 164: (40, 26), 165: (500, 332),
    166: (186, 445), 167: (204, 462), 168: (212, 244), 169: (212, 243), 170: (60, 780),
    171: (38, 160), 172: (46, 368), 173: (20, 180), 186: (640, 1216), 187: (640, 1216),
    188: (640, 1216), 189: (640, 1216), 190: (398, 297), 191: (354, 298),
    192: (260, 298), 193: (260, 298), 199: (374, 174), 200: (640, 238), 201: (374, 174),
    202: (640, 32), 203: (71, 29), 205: (128, 54), 206: (12, 216), 207: (16, 32),
    210: (63, 132), 211: (120, 480), 212: (100, 100), 213: (63, 132), 214: (259, 48),
    216: (60, 60), 217: (11, 204), 218: (16, 17), 219: (19, 48), 221: (471, 52),
    225: (50, 46), 226: (288, 17), 227: (320, 128), 229: (166, 29), 230: (191, 29),
    231: (110, 70), 232: (193, 35), 233: (23, 84), 234: (52, 1008), 235: (60, 74),
    236: (11, 75), 237: (11, 25), 238: (6, 25), 239: (11, 36), 240: (20, 75),
    241: (6, 25), 242: (20, 75), 243: (180, 25), 244: (24, 300), 245: (284, 46),
    246: (44, 44), 247: (44, 44), 248: (44, 44), 249: (44, 44), 250: (36, 252),
    252: (172, 35),
    # Ours, beyond the original set: the colour-blind colour table and the options screen.
    253: (6, 6), 254: (112, 29), 255: (230, 46), 256: (140, 140), 257: (200, 140), 258: (130, 25),
}

# player index -> the bitmap numbers of that player's resources
BODY = [109, 114, 115, 111]
BRUSH = [110, 116, 112, 113]
WIDE = [246, 247, 248, 249]
BLOT = [160, 161, 162, 163]
BOUNCE = [126, 127, 128, 129]

GEN = {}


def gen(*nums):
    def deco(fn):
        for n in nums:
            GEN[n] = fn
        return fn
    return deco


def sheet(cells):
    return np.vstack([c.a if isinstance(c, Pic) else c for c in cells])

# ------------------------------------------------------------ palette carrier


@gen(102, 253)
def palette_swatch(n):
    p = Pic(6, 6, OUT)
    p.a[0:3, 0:3] = PAINT[0]
    p.a[0:3, 3:6] = PAINT[1]
    p.a[3:6, 0:3] = PAINT[2]
    p.a[3:6, 3:6] = PAINT[3]
    return p.a

# ------------------------------------------------------------ glyph sheets


def glyph_cell(ch, cw, chh, colours, key, ow=1, shadow=0, path=BOLD, pad_top=0,
               ref="0123456789ABCDEFGHIJKLMNOPRSTUVWXYZ"):
    """One character in a cell, on the cell's common baseline."""
    p = Pic(cw, chh, key)
    if ch is None:
        return p
    avail_w = cw - 2 * ow - shadow
    avail_h = chh - 2 * ow - shadow - pad_top
    # the glyph alone, placed on the baseline of the reference line so
    # all cells of a sheet share one baseline and one height
    from PIL import Image, ImageDraw
    from artlib import font
    f = font(path, 160)
    l, t, r, b = f.getbbox(ref)
    canvas = Image.new("L", (400, 400), 0)
    ImageDraw.Draw(canvas).text((100, 100 - t), ch, font=f, fill=255)
    bb = canvas.getbbox()
    if bb is None:
        return p
    x0, x1 = bb[0], bb[2]
    y0, y1 = 100, 100 + (b - t)
    crop = canvas.crop((x0, y0, x1, max(y1, bb[3])))
    scale = avail_h / (b - t)
    gw = (x1 - x0) * scale
    gw = min(gw, avail_w)
    gh = crop.size[1] * scale
    sm = crop.resize((max(1, int(round(gw))), max(1, int(round(gh)))), Image.LANCZOS)
    m = np.array(sm) >= 118
    full = np.zeros((chh, cw), bool)
    x = ow + (avail_w - m.shape[1] + 1) // 2
    y = ow + pad_top
    hh = min(m.shape[0], chh - y)
    full[y:y + hh, x:x + m.shape[1]] = m[:hh]
    ring = dilate(full, ow)
    if shadow:
        p.a[shift(ring, shadow, shadow) & ~ring] = OUT
    p.a[ring & ~full] = OUT
    grad_fill(p, full, colours, ow + pad_top, ow + pad_top + avail_h)
    return p


def digit_sheet(cw, chh, extras, colours, key=KEY, ow=1, shadow=1):
    cells = []
    for d in "0123456789":
        cells.append(glyph_cell(d, cw, chh, colours, key, ow, shadow))
    for e in extras:
        if e == "black":
            c = Pic(cw, chh, key)
            c.a[:, :] = BLACK
            # keep the sheet's key in its very first pixel only through cell 0
            cells.append(c)
        else:
            cells.append(glyph_cell(e, cw, chh, colours, key, ow, shadow))
    return sheet(cells)


@gen(104)
def digits_rank_score(n):
    return digit_sheet(14, 22, ["-", "."], G["gold"])


@gen(143)
def digits_large(n):
    return digit_sheet(22, 34, ["-", "."], G["gold"], ow=2, shadow=1)


@gen(206)
def digits_timer(n):
    return digit_sheet(12, 18, [".", "-"], G["gold"], ow=1, shadow=0)


@gen(217)
def digits_small(n):
    return digit_sheet(11, 17, ["-", "."], G["gold"], ow=1, shadow=0)


@gen(234)
def digits_huge(n):
    return digit_sheet(52, 84, ["black", "black"], G["gold"], ow=3, shadow=2)


@gen(244)
def digits_rank(n):
    return digit_sheet(24, 25, ["black", "black"], G["sky"], ow=2, shadow=1)


FONT_CHARS = [chr(ord("A") + i) for i in range(26)] + list("0123456789") + ["-", "."]


@gen(105, 106)
def font_sheet(n):
    cols = G["white_blue"] if n == 106 else G["white_orange"]
    cells = [glyph_cell(c, 11, 18, cols, FONT_KEY, ow=1, shadow=0, pad_top=1) for c in FONT_CHARS]
    return sheet(cells)


# What the keys of European layouts carry beyond font 105's letters and digits, in the order of the
# sheet's cells: punctuation, Latin-1 signs, and the small accented letters, as the caps show them.
# gfx/ZAscii.cpp holds the same string.
KEY_CHARS = ("!\"#$%&'()*+,/:;<=>?@[\\]^_`{|}~\u00a1\u00a3\u00a4\u00a7\u00a8\u00aa\u00ab\u00b0\u00b2\u00b3"
             "\u00b4\u00b5\u00ba\u00bb\u00bd\u00bf"
             + "".join(chr(c) for c in range(0xC0, 0x180) if chr(c).islower()) + "\u0219\u021b")
SIZES[260] = SIZES[261] = (11, 18 * len(KEY_CHARS))


@gen(260, 261)
def key_glyph_sheet(n):
    # In font 105's colours (260) and font 106's (261); one baseline and one scale for the whole sheet, so
    # that accents and descenders fit every cell.
    cols = G["white_orange"] if n == 260 else G["white_blue"]
    cells = [glyph_cell(c, 11, 18, cols, FONT_KEY, ow=1, shadow=0, ref=KEY_CHARS) for c in KEY_CHARS]
    return sheet(cells)

# ------------------------------------------------------------ the field


@gen(107)
def field(n):
    W, H = 640, 448
    rng = np.random.default_rng(107)
    paper = [R("paper", k) for k in (-3, -2, -1, 0, 1, 2, 3)]       # 7 tones
    fibre = [R("cream", -1), R("cream", 1), R("slate", 5)]             # 3 tones
    table = [R("wood", -4), R("wood", -3), R("wood", -2)]             # 3 tones
    shade_ = [R("paper", -7), R("paper", -5)]                          # 2 tones
    fringe = [R("paper", 3) + 0 if False else R("cream", 4), R("paper", -4)]  # 2 tones
    yy, xx = np.mgrid[0:H, 0:W]
    # low-frequency mottling from a few seeded waves
    f = np.zeros((H, W))
    for i in range(6):
        a = rng.uniform(0, math.pi)
        fr = rng.uniform(0.008, 0.03)
        ph = rng.uniform(0, 6.28)
        f += np.sin((xx * math.cos(a) + yy * math.sin(a)) * fr + ph)
    f /= 6
    f += rng.normal(0, 0.18, (H, W))
    lvl = np.clip((f + 0.9) / 1.8 * 4 + bayer(H, W) * 0.9 - 0.45, 0, 3.999).astype(int)
    base = np.array([paper[3], paper[4], paper[5], paper[6]], np.uint8)
    a = base[lvl]
    # fibres: short seeded strokes in slightly darker or lighter shades
    p = Pic(W, H)
    p.a = a
    for i in range(900):
        x, y = rng.uniform(0, W), rng.uniform(0, H)
        ang = rng.uniform(0, math.pi)
        ln = rng.uniform(2, 7)
        c = [paper[1], paper[2], fibre[0], fibre[1], fibre[2]][i % 5]
        x2, y2 = x + ln * math.cos(ang), y + ln * math.sin(ang)
        for t in np.linspace(0, 1, int(ln) + 2):
            px, py = int(x + (x2 - x) * t), int(y + (y2 - y) * t)
            if 0 <= px < W and 0 <= py < H:
                p.a[py, px] = c
    for i in range(500):
        x, y = rng.integers(0, W), rng.integers(0, H)
        p.a[y, x] = paper[0]
    # torn frame: a jagged edge with a light fringe and a soft shadow
    def edge(nn, seed):
        r = np.random.default_rng(seed)
        v = np.zeros(nn)
        d = 7.0
        for i in range(nn):
            d += r.normal(0, 0.9)
            d = min(11, max(3, d))
            v[i] = d
        return v
    top, bot = edge(W, 1), edge(W, 2)
    lef, rig = edge(H, 3), edge(H, 4)
    inside = (yy >= top[xx]) & (yy < H - bot[xx]) & (xx >= lef[yy]) & (xx < W - rig[yy])
    fr = inside & ~erode(inside, 1)
    fr2 = inside & ~erode(inside, 2) & ~fr
    outside = ~inside
    wood_lvl = ((np.sin(yy * 0.9 + np.sin(xx * 0.05) * 3) + 1) * 1.5 + bayer(H, W)).astype(int) % 3
    p.a[outside] = np.array(table, np.uint8)[wood_lvl][outside]
    sh = outside & dilate(inside, 2) & ~shift(dilate(inside, 2), -2, -2)
    p.a[outside & dilate(inside, 1)] = shade_[1]
    p.a[sh & ~dilate(inside, 1)] = shade_[0]
    p.a[fr] = fringe[0]
    p.a[fr2 & (bayer(H, W) > 0.5)] = fringe[1]
    return p.a

# ------------------------------------------------------------ painters


@gen(109, 114, 115, 111)
def body_sheet(n):
    pl = BODY.index(n)
    cells = []
    for f in range(4):
        p = Pic(38, 40)
        Painter(p, 0, 0, 1, pl).walk(f)
        cells.append(p)
    return sheet(cells)


@gen(171)
def drained_sheet(n):
    cells = []
    for f in range(4):
        p = Pic(38, 40)
        Painter(p, 0, 0, 1, None, pale=True).drained(f)
        cells.append(p)
    return sheet(cells)


@gen(126, 127, 128, 129)
def bounce_img(n):
    pl = BOUNCE.index(n)
    p = Pic(38, 41)
    Painter(p, 0, 1, 1, pl).bounce()
    # two stars circling the head
    for cx, cy in ((7, 4), (30, 2)):
        star(p, cx, cy, 3.2, 1.3, "yellow", 0.3)
    return p.a


def star(p, cx, cy, ro, ri, ramp, rot=0.0, ow=1, npts=5):
    pts = []
    for i in range(npts * 2):
        a = rot + i * math.pi / npts - math.pi / 2
        r = ro if i % 2 == 0 else ri
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    m = p.poly(pts) | p.ell(cx, cy, ri * 0.9, ri * 0.9)
    p.shade(m, ramp, ow=ow, tones=(-1, 1, 3))
    return m


@gen(159)
def frozen(n):
    p = Pic(38, 40)
    Painter(p, 0, 0, 1, None).walk(0)
    inner = p.rect(1, 2, 37, 40)
    char = p.a != KEY
    # ice tint: body pixels become ice shades keeping their lightness
    lum = np.array([sum(c) for c in __import__("artlib").PAL])
    ice = np.array(R("ice"))
    sel = char & inner
    li = np.clip((lum[p.a[sel]] / 765.0) * 10, 0, 9).astype(int)
    p.a[sel] = ice[li]
    # block of ice around the painter, with a glassy dither
    blk = p.rect(1, 2, 37, 40)
    d = bayer(40, 38)
    glass = blk & ~char & (d > 0.45)
    p.a[glass] = R("ice", 2)
    p.a[blk & ~char & (d <= 0.45)] = R("ice", 4)
    p.outline_only(erode(blk, 1), 1, R("ice", -3))
    p.a[blk & ~erode(blk, 1)] = R("ice", -4)
    # highlights
    for i in range(6):
        p.a[5 + i, 4 + i // 2] = WHITE
        p.a[6 + i, 31 + i // 3] = R("ice", 4)
    p.a[3, 3:12] = WHITE
    return p.a


@gen(119)
def footprint(n):
    p = Pic(38, 40)
    p.a[16:38, 4:34] = 248
    return p.a


@gen(157)
def item_footprint(n):
    p = Pic(44, 44)
    p.a[19:42, 3:41] = 248
    return p.a


def shadow_ellipse(w, h):
    p = Pic(w, h)
    cx, cy = w / 2, h / 2
    core = p.ell(cx, cy, w / 2 - 3, h / 2 - 2.5)
    rim = p.ell(cx, cy, w / 2 - 0.5, h / 2 - 0.5)
    yy, xx = np.mgrid[0:h, 0:w]
    chk = (xx + yy) % 2 == 0
    p.a[rim & chk] = R("grey", -3)
    p.a[core & chk] = R("grey", -4)
    p.a[core & ~chk & p.ell(cx, cy, w / 2 - 6, h / 2 - 5)] = R("grey", -3)
    return p.a


@gen(120)
def shadow(n):
    return shadow_ellipse(32, 21)


@gen(164)
def item_shadow(n):
    return shadow_ellipse(40, 26)


@gen(121)
def bandage(n):
    p = Pic(22, 22)
    a = p.cap(4.5, 4.5, 17.5, 17.5, 3.2)
    b = p.cap(4.5, 17.5, 17.5, 4.5, 3.2)
    p.shade(a, "cream", tones=(-1, 1, 3))
    p.shade(b, "cream", tones=(-1, 1, 3))
    pad = p.ell(11, 11, 3.2, 3.2)
    p.shade(pad, "paper", tones=(-3, -1, 1))
    for x, y in ((7, 10), (10, 7), (14, 11), (11, 14)):
        p.a[y, x] = R("cream", -3)
    return p.a


# ------------------------------------------------------------ stamps

def disc_stamp(size, idx, r=None):
    p = Pic(size, size, WHITE)
    c = size / 2
    if r is None:
        r = size / 2 - 0.3
    p.a[p.ell(c, c, r, r)] = idx
    return p.a


@gen(110, 116, 112, 113)
def brush_stamp(n):
    # radius chosen for 812 painted pixels, the size the paint rules assume
    return disc_stamp(32, PAINT[BRUSH.index(n)], 16.08)


@gen(246, 247, 248, 249)
def wide_stamp(n):
    return disc_stamp(44, PAINT[WIDE.index(n)], 21.8)


@gen(160, 161, 162, 163)
def blot_stamp(n):
    pl = BLOT.index(n)
    rng = np.random.default_rng(1600 + pl)
    p = Pic(220, 220, WHITE)
    yy, xx = np.mgrid[0:220, 0:220]
    dx, dy = xx + 0.5 - 110, yy + 0.5 - 110
    ang = np.arctan2(dy, dx)
    dist = np.hypot(dx, dy)
    r = np.full_like(ang, 88.0)
    for k, amp in ((5, 5.0), (7, 4.0), (11, 3.0), (17, 2.0)):
        r += amp * np.sin(k * ang + rng.uniform(0, 6.28))
    m = dist <= r
    # splat arms with round ends
    for i in range(9):
        a = (i + rng.uniform(-0.3, 0.3)) * 2 * math.pi / 9
        l1 = rng.uniform(92, 104)
        m |= cap(220, 220, 110, 110, 110 + l1 * math.cos(a), 110 + l1 * math.sin(a), rng.uniform(4, 7))
        m |= ell(220, 220, 110 + (l1 + 2) * math.cos(a), 110 + (l1 + 2) * math.sin(a), 6.5, 6.5)
    for i in range(7):
        a = rng.uniform(0, 6.28)
        d = rng.uniform(100, 104)
        m |= ell(220, 220, 110 + d * math.cos(a), 110 + d * math.sin(a), 3.5, 3.5)
    p.a[m] = PAINT[pl]
    return p.a

# ------------------------------------------------------------ arrows, lamps


def arrow_sheet(bright):
    cells = []
    for k in range(32):
        p = Pic(15, 15)
        a = k * 2 * math.pi / 32
        ca, sa = math.cos(a), -math.sin(a)       # screen y grows downwards
        def T(x, y):
            return (7.5 + x * ca - y * sa, 7.5 + x * sa + y * ca)
        pts = [T(6.2, 0), T(0.5, -5.2), T(0.5, -2.2), T(-5.6, -2.2), T(-5.6, 2.2),
               T(0.5, 2.2), T(0.5, 5.2)]
        m = p.poly(pts)
        m = m & ~dilate(~p.rect(1, 1, 14, 14), 0)
        if bright:
            p.shade(m, "yellow", tones=(0, 3, 5), light=(-ca * 0.5, -sa * 0.5))
        else:
            p.shade(m, "gold", tones=(-2, -1, 0), out=R("grey", -4))
        cells.append(p)
    return sheet(cells)


@gen(117)
def arrows_bright(n):
    return arrow_sheet(True)


@gen(118)
def arrows_dim(n):
    return arrow_sheet(False)


def lamp(ramp, lit):
    p = Pic(16, 16)
    m = p.ell(8, 8, 6.6, 6.6)
    p.a[p.ell(8, 8, 7.9, 7.9)] = R("grey", -3)
    if lit:
        p.shade(m, ramp, tones=(0, 2, 4), ow=0)
        p.a[p.ell(6, 5.5, 2.2, 1.6)] = WHITE
    else:
        p.shade(m, ramp, tones=(-5, -4, -3), ow=0)
        p.a[p.ell(6, 5.5, 1.6, 1.1)] = R(ramp, -2)
    return p


@gen(131)
def lamp_yellow(n):
    return sheet([lamp("yellow", True), lamp("yellow", False)])


@gen(207)
def lamp_blue(n):
    return sheet([lamp("sky", True), lamp("sky", False)])


def marker(pointing_right, f):
    p = Pic(17, 28)
    off = f * 2 if pointing_right else -f * 2
    if pointing_right:
        pts = [(2 + off, 4), (14 + off, 14), (2 + off, 24)]
    else:
        pts = [(15 + off, 4), (3 + off, 14), (15 + off, 24)]
    m = p.poly(pts) & p.rect(1, 1, 16, 27)
    p.shade(m, "yellow", tones=(-2, 1, 4), ow=1)
    return p


@gen(135)
def marker_left(n):
    return sheet([marker(True, 0), marker(True, 1)])


@gen(136)
def marker_right(n):
    return sheet([marker(False, 0), marker(False, 1)])

# ------------------------------------------------------------ text pictures


def text_pic(w, h, text, colours, ow=2, shadow=1, key=KEY, **kw):
    p = Pic(w, h, key)
    lettering(p, text, colours, ow=ow, shadow=shadow, **kw)
    return p


def text_cells(w, h, texts, colours, ow=2, shadow=1, **kw):
    """One text per cell, all with the same letter height so they match."""
    path = kw.get("path", BOLD)
    hs = [text_mask(t, w - 2 * ow - shadow, h - 2 * ow - shadow, path).shape[0] for t in texts]
    th = min(hs) + 2 * ow + shadow
    cells = []
    for i, t in enumerate(texts):
        c = colours[i] if isinstance(colours[0], list) else colours
        p = Pic(w, h)
        lettering(p, t, c, box=(0, (h - th) // 2, w, th), ow=ow, shadow=shadow, **kw)
        cells.append(p)
    return sheet(cells)


TEXTS = {
    137: ("EXIT", "gold"), 139: ("START", "green"), 203: ("BACK", "red"),
    229: ("BATTLE MODE", "gold"), 230: ("RANKING MODE", "gold"),
    140: ("WIN MATCH", "sky"), 232: ("BATTLE TYPE", "sky"),
    148: ("WINNER!", "gold"), 150: ("PLAYER", "sky"), 153: ("DRAW GAME", "sky"),
    245: ("RANKING", "gold"), 221: ("POWER UP!", "gold"),
    138: ("TINTORIX", "silver"), 252: ("TINTORIX", "silver"),
    254: ("OPTIONS", "gold"), 255: ("OPTIONS", "gold"),
}


@gen(*TEXTS)
def plain_text(n):
    w, h = SIZES[n]
    t, g = TEXTS[n]
    ow = 2 if h >= 28 else 1
    if h >= 45:
        ow = 3
    return text_pic(w, h, t, G[g], ow=ow, shadow=2 if h >= 45 else 1).a


@gen(141)
def player_labels(n):
    return text_cells(140, 35, ["PLAYER %d" % (i + 1) for i in range(4)],
                      [G["pw%d" % i] for i in range(4)], ow=2)


@gen(144)
def control_labels(n):
    return text_cells(172, 35, ["HUMAN", "COMPUTER", "DISABLED"],
                      [G["gold"], G["sky"], G["grey"]], ow=2)


@gen(256)
def option_labels(n):
    return text_cells(140, 35, ["MUSIC", "EFFECTS", "SCREEN", "COLOURS"], G["sky"], ow=2)


@gen(257)
def option_values(n):
    return text_cells(200, 35, ["WINDOW", "FULL SCREEN", "ORIGINAL", "COLOUR BLIND"], G["gold"], ow=2)


@gen(231)
def battle_types(n):
    return text_cells(110, 35, ["SINGLE", "TEAM"], G["gold"], ow=2)


@gen(205)
def mode_labels(n):
    return text_cells(128, 18, ["SINGLE BATTLE", "TEAM BATTLE", "RANKING MODE"],
                      G["white_orange"], ow=1, shadow=0)


@gen(214)
def result_titles(n):
    return text_cells(259, 16, ["SINGLE BATTLE RESULTS", "TEAM BATTLE RESULTS",
                                "RANKING MODE RESULT"], G["white_blue"], ow=1, shadow=0)


@gen(226)
def caption(n):
    return text_pic(288, 17, "PAINT IT ALL YOUR COLOUR!", G["white_blue"],
                    ow=1, shadow=0).a


@gen(146)
def winner_digits(n):
    return text_cells(50, 50, ["1", "2", "3", "4"], [G["pw%d" % i] for i in range(4)],
                      ow=3, shadow=2)


@gen(225)
def ampersand(n):
    return text_pic(50, 46, "&", G["sky"], ow=3, shadow=2).a


@gen(216)
def versus(n):
    p = Pic(60, 60)
    star(p, 30, 30, 29, 20, "red", 0.0, ow=1, npts=10)
    lettering(p, "VS", G["gold"], box=(8, 16, 44, 28), ow=2, shadow=1)
    return p.a


@gen(151, 218, 235)
def percent(n):
    w, h = SIZES[n]
    ow = {151: 2, 218: 1, 235: 3}[n]
    sh = {151: 1, 218: 0, 235: 2}[n]
    return text_pic(w, h, "%", G["gold"], ow=ow, shadow=sh).a


@gen(233)
def decimal_point(n):
    # sits on the baseline of the huge digits
    p = Pic(23, 84)
    m = p.ell(11, 73, 6.5, 6.5)
    p.a[shift(dilate(m, 3), 2, 2)] = OUT
    p.a[dilate(m, 3)] = OUT
    grad_fill(p, m, G["gold"])
    return p.a


@gen(156)
def countdown(n):
    cells = []
    for d in "123":
        p = Pic(114, 194)
        lettering(p, d, G["gold"], ow=5, shadow=4)
        cells.append(p)
    return sheet(cells)


@gen(155)
def start_signal(n):
    p = Pic(297, 195)
    cx, cy = 148, 97
    pts = []
    for i in range(32):
        a = i * math.pi / 16
        r = (94 if i % 2 == 0 else 70) + (6 if i % 4 == 0 else 0)
        pts.append((cx + r * 1.5 * math.cos(a), cy + r * math.sin(a)))
    m = p.poly(pts) & p.rect(3, 3, 294, 192)
    p.a[dilate(m, 3) & p.rect(0, 0, 297, 195)] = OUT
    p.shade(m, "red", tones=(-1, 0, 2), ow=0)
    inner = erode(m, 10)
    p.shade(inner, "yellow", tones=(0, 1, 3), ow=2)
    lettering(p, "GO!", G["white_blue"], box=(50, 40, 197, 115), ow=4, shadow=3)
    return p.a


@gen(199, 201)
def logo(n):
    p = Pic(374, 174)
    text = "Tintorix"
    masks = []
    total = np.zeros((174, 374), bool)
    # letters laid out one by one so each can take its own colour
    # capital taller than the rest; strokes fattened afterwards for
    # round, chunky letters, so the squeeze that fits the word stays legible
    dil = 3
    heights = [104] + [86] * 7
    masks = [text_mask(ch, 400, hh, BOLD, 0.2) for ch, hh in zip(text, heights)]
    gap = 2 * dil - 1
    natural = sum(m.shape[1] for m in masks)
    squeeze = min(1.0, (354 - 2 * dil - gap * (len(text) - 1)) / natural)
    from PIL import Image as _I
    masks = [dilate(np.pad(np.array(_I.fromarray(m.astype(np.uint8) * 255).resize(
        (max(1, int(m.shape[1] * squeeze)), m.shape[0]), _I.LANCZOS)) >= 128, dil), dil)
        for m in masks]
    widths = [m.shape[1] for m in masks]
    gap = -1
    tot = sum(widths) + gap * (len(text) - 1)
    x = (374 - tot) // 2
    colour_of = [0, 1, 2, 3, 0, 1, 2, 3]
    letter_masks = []
    for i, m in enumerate(masks):
        full = np.zeros((174, 374), bool)
        y = 124 + dil - m.shape[0]
        full[y:y + m.shape[0], x:x + m.shape[1]] = m
        # paint drips from the lower edge of each letter
        rng = np.random.default_rng(199 + i)
        cols = np.nonzero(full[116:124].any(axis=0))[0]
        if len(cols):
            for j in range(2):
                cxp = int(rng.choice(cols))
                ln = rng.uniform(12, 36)
                full |= cap(174, 374, cxp + 0.5, 120, cxp + 0.5, 120 + ln, 3.6)
                full |= ell(174, 374, cxp + 0.5, 120 + ln + 1, 4.8, 5.2)
        letter_masks.append(full)
        total |= full
        x += m.shape[1] + gap
    if n == 201:
        sh = dilate(total, 5)
        p.a[sh] = R("grey", -4)
        return p.a
    ring = dilate(total, 5)
    p.a[ring] = OUT
    for i, m in enumerate(letter_masks):
        rn = PLAYER_RAMP[colour_of[i]]
        p.a[dilate(m, 2) & ~m] = WHITE
        grad_fill(p, m, [R(rn, 3), R(rn, 1), R(rn, 0), R(rn, 0), R(rn, -1), R(rn, -2)], 12, 124)
        top = m & ~shift(m, 0, 3)
        p.a[top & m & ~shift(m, 0, 1)] = R(rn, 5)
        hl = m & erode(m, 4) & ~shift(erode(m, 4), 3, 3)
        p.a[hl] = R(rn, 4)
    return p.a


# ------------------------------------------------------------ background


@gen(200)
def background(n):
    W, H = 640, 238
    yy, xx = np.mgrid[0:H, 0:W]
    # stripe period 34 divides 238, so the band tiles top to bottom
    s = ((xx + yy) % 34) < 17
    a = np.where(s, R("sky", 3), R("sky", 4)).astype(np.uint8)
    p = Pic(W, H)
    p.a = a
    rng = np.random.default_rng(200)
    for i in range(26):
        x = rng.uniform(10, 630)
        y = rng.uniform(0, H)
        r = rng.uniform(8, 20)
        ramp = PLAYER_RAMP[i % 4]
        arms = [rng.uniform(0, 6.28) for j in range(5)]
        # drawn a band above and below too, so splats crossing the edge wrap
        for oy in (-H, 0, H):
            m = p.ell(x, y + oy, r, r * 0.9)
            for a2 in arms:
                m |= p.ell(x + math.cos(a2) * r * 1.3, y + oy + math.sin(a2) * r * 1.2, r * 0.3, r * 0.3)
            p.a[m] = R(ramp, 4)
            p.a[m & p.ell(x - r * 0.3, y + oy - r * 0.3, r * 0.35, r * 0.3)] = R(ramp, 5)
    for i in range(40):
        x, y = rng.uniform(0, W), rng.uniform(0, H)
        for oy in (-H, 0, H):
            m = p.ell(x, y + oy, 1.6, 1.6)
            p.a[m] = WHITE
    return p.a

# ------------------------------------------------------------ items


def clock(p, ox, oy):
    for bx in (12, 32):
        p.shade(p.ell(ox + bx, oy + 9, 5, 4.5), "gold", tones=(-1, 1, 3))
    p.shade(p.cap(ox + 12, oy + 36, ox + 9, oy + 41, 1.5), "grey", tones=(-2, -1, 0))
    p.shade(p.cap(ox + 32, oy + 36, ox + 35, oy + 41, 1.5), "grey", tones=(-2, -1, 0))
    body = p.ell(ox + 22, oy + 25, 15, 15)
    p.shade(body, "red")
    face = p.ell(ox + 22, oy + 25, 11, 11)
    p.shade(face, "paper", tones=(-2, 0, 3))
    for i in range(12):
        a = i * math.pi / 6
        p.a[int(oy + 25 + 9 * math.sin(a)), int(ox + 22 + 9 * math.cos(a))] = OUT
    p.a[p.cap(ox + 22, oy + 25, ox + 22, oy + 18, 0.9)] = OUT
    p.a[p.cap(ox + 22, oy + 25, ox + 27, oy + 27, 0.9)] = OUT
    p.a[p.ell(ox + 22, oy + 25, 1.4, 1.4)] = R("red", 0)
    # a snowflake: this clock freezes everybody else
    fx, fy = ox + 39.5, oy + 15.5
    flake = p.ell(fx, fy, 1.0, 1.0)
    for i in range(3):
        a = i * math.pi / 3
        flake |= p.cap(fx - 3.4 * math.cos(a), fy - 3.4 * math.sin(a), fx + 3.4 * math.cos(a), fy + 3.4 * math.sin(a), 0.6)
    p.a[dilate(flake, 1) & ~flake & ~p.ell(ox + 22, oy + 25, 15.5, 15.5)] = R("ice", -3)
    p.a[flake] = R("ice", 4)


def shoe(p, ox, oy):
    for i, y in enumerate((28, 32)):
        p.a[p.cap(ox + 1 + i * 2, oy + y, ox + 8, oy + y, 0.8)] = R("sky", -1)
    sole = p.poly([(ox + 8, oy + 35), (ox + 41, oy + 35), (ox + 42, oy + 40), (ox + 8, oy + 40)])
    up = p.poly([(ox + 10, oy + 16), (ox + 22, oy + 16), (ox + 26, oy + 24), (ox + 38, oy + 28),
                 (ox + 42, oy + 34), (ox + 9, oy + 36)])
    p.shade(up | p.ell(ox + 36, oy + 31, 6, 5), "red")
    p.shade(sole, "neutral", tones=(3, 5, 5))
    p.shade(p.ell(ox + 16, oy + 15, 6, 2.5), "neutral", tones=(2, 4, 5))
    for i in range(3):
        p.a[p.cap(ox + 20 + i * 3, oy + 23 + i, ox + 24 + i * 3, oy + 21 + i, 0.7)] = WHITE
    # a little wing on the heel: this shoe makes you fast
    wing = (p.ell(ox + 8, oy + 14, 6.5, 2.3, -0.6) | p.ell(ox + 7, oy + 18.5, 6.5, 2.3, -0.35)
            | p.ell(ox + 7.5, oy + 22.5, 5.5, 2.1, -0.1))
    p.shade(wing, "neutral", tones=(3, 4, 5))
    p.a[p.cap(ox + 4, oy + 17.5, ox + 10, oy + 14.5, 0.45) | p.cap(ox + 3.5, oy + 21.5, ox + 10, oy + 19.5, 0.45)] = R("neutral", 2)


def missile(p, x1, y1, x2, y2, r, ramp="red"):
    """A cartoon rocket from its tail (x1, y1) to its nose (x2, y2)."""
    dx, dy = x2 - x1, y2 - y1
    n = math.hypot(dx, dy)
    ux, uy = dx / n, dy / n
    px, py = -uy, ux
    ang = math.atan2(uy, ux)
    cx, cy = (x1 + x2) / 2, (y1 + y2) / 2

    def at(t, s):          # t along the body from the tail, s across it
        return (x1 + ux * t + px * s, y1 + uy * t + py * s)
    # flame first, it sits behind the tail
    fl = p.ell(*at(-r * 0.9, 0), r * 1.1, r * 0.7, ang)
    p.shade(fl, "orange", tones=(0, 2, 4))
    p.a[p.ell(*at(-r * 0.7, 0), r * 0.55, r * 0.35, ang)] = R("yellow", 4)
    fins = p.poly([at(r * 2.2, r * 0.8), at(0, r * 2.0), at(-r * 0.2, r * 0.6),
                   at(-r * 0.2, -r * 0.6), at(0, -r * 2.0), at(r * 2.2, -r * 0.8)])
    p.shade(fins, ramp, tones=(-2, 0, 1))
    body = p.ell(cx, cy, n / 2, r, ang)
    p.shade(body, "neutral", tones=(2, 4, 5))
    nose = body & p.poly([at(n * 0.68, -r * 3), at(n * 1.2, -r * 3), at(n * 1.2, r * 3), at(n * 0.68, r * 3)])
    p.shade(nose, ramp, tones=(-1, 0, 2), ow=0)
    p.a[dilate(nose, 1) & body & ~nose] = OUT
    band = body & p.poly([at(n * 0.25, -r * 3), at(n * 0.34, -r * 3), at(n * 0.34, r * 3), at(n * 0.25, r * 3)])
    p.a[band] = R(ramp, -1)
    if r >= 5:
        win = p.ell(*at(n * 0.5, 0), r * 0.45, r * 0.45)
        p.shade(win, "sky", tones=(0, 2, 4))


def potion(p, ox, oy):
    neck = p.rect(ox + 18, oy + 9, ox + 26, oy + 20)
    p.shade(neck, "ice", tones=(1, 3, 4))
    cork = p.rect(ox + 17, oy + 4, ox + 27, oy + 10)
    p.shade(cork, "wood")
    bottle = p.ell(ox + 22, oy + 30, 13, 11.5)
    p.shade(bottle, "ice", tones=(1, 3, 4))
    liquid = bottle & p.rect(0, oy + 27, 999, 999)
    p.shade(liquid, "purple", ow=0)
    for bx, by, r in ((17, 33, 1.6), (24, 29, 1.2), (27, 35, 1.0), (21, 22, 1.3), (25, 16, 1.0)):
        p.a[p.ell(ox + bx, oy + by, r, r)] = R("purple", 4)
    p.a[p.cap(ox + 13, oy + 26, ox + 15, oy + 22, 0.8) & bottle] = WHITE
    # a sleepy swirl: drains the others
    p.a[p.ell(ox + 22, oy + 33, 3.2, 2.2) & ~p.ell(ox + 22, oy + 33, 2.0, 1.2)] = R("purple", -3)


def crossed_brushes(p, ox, oy):
    for (x1, y1, x2, y2, rn) in ((6, 40, 30, 14, "pink"), (38, 40, 14, 14, "sky")):
        d = Painter(p, ox, oy, 1, 0)
        d.ow = 1
        p.shade(p.cap(ox + x1, oy + y1, ox + x2, oy + y2, 2.0), "wood")
        ux, uy = (x2 - x1) / math.hypot(x2 - x1, y2 - y1), (y2 - y1) / math.hypot(x2 - x1, y2 - y1)
        p.shade(p.cap(ox + x2, oy + y2, ox + x2 + ux * 3, oy + y2 + uy * 3, 3.0), "metal")
        bx, by = x2 + ux * 9, y2 + uy * 9
        p.shade(p.ell(ox + bx, oy + by, 8, 5.5, math.atan2(uy, ux)), rn)
    star(p, ox + 22, oy + 8, 6, 2.5, "yellow")


@gen(158)
def items(n):
    cells = []
    for kind in range(6):
        p = Pic(44, 44)
        if kind == 0:
            clock(p, 0, 1)
        elif kind == 1:
            shoe(p, 0, 2)
        elif kind == 2:
            missile(p, 12, 36, 34, 12, 6.2)
        elif kind == 3:
            missile(p, 8, 38, 11, 17, 4.0, "red")
            missile(p, 33, 38, 31, 17, 4.0, "red")
            missile(p, 21, 33, 21, 6, 4.2, "red")
        elif kind == 4:
            potion(p, 0, 1)
        else:
            crossed_brushes(p, 0, 0)
        cells.append(p)
    return sheet(cells)

# ------------------------------------------------------------ effects


@gen(170)
def rings(n):
    cells = []
    for f in range(13):
        p = Pic(60, 60)
        t = f / 12
        for j, ramp in enumerate(("yellow", "sky", "pink")):
            r = 6 + (t * 26 - j * 5)
            if 2 < r < 29:
                m = p.ell(30, 30, r, r) & ~p.ell(30, 30, r - 2.2, r - 2.2)
                p.shade(m, ramp, tones=(1, 3, 5), ow=1)
        # spinning sparks
        for s in range(6):
            a = s * math.pi / 3 + f * 0.4
            rr = 6 + t * 22
            x, y = 30 + rr * math.cos(a), 30 + rr * math.sin(a)
            if 3 < x < 57 and 3 < y < 57:
                star(p, x, y, 3.0 * (1 - t * 0.5), 1.2, "yellow", a, npts=4)
        cells.append(p)
    return sheet(cells)


@gen(172)
def explosion(n):
    """A burst that flashes, puffs into a cloud ring and blows away."""
    cells = []
    rng = np.random.default_rng(172)
    puffs = [(i * 2 * math.pi / 7 + rng.uniform(-0.2, 0.2), rng.uniform(0.8, 1.1)) for i in range(7)]
    drops = [(rng.uniform(0, 6.28), rng.uniform(0.7, 1.0)) for _ in range(6)]
    for f in range(8):
        p = Pic(46, 46)
        inner = p.rect(1, 1, 45, 45)
        if f < 3:
            ro = [9, 15, 19][f]
            m = np.zeros((46, 46), bool)
            pts = []
            for i in range(16):
                a = i * math.pi / 8 + f * 0.2
                r = ro if i % 2 == 0 else ro * 0.55
                pts.append((23 + r * math.cos(a), 23 + r * math.sin(a)))
            m = p.poly(pts) & inner
            p.shade(m, "orange", tones=(-1, 0, 2))
            core = erode(m, 2 if f == 0 else 3)
            p.a[core] = R("yellow", 3)
            p.a[erode(core, 2)] = R("yellow", 5)
        else:
            t = (f - 3) / 4
            m = np.zeros((46, 46), bool)
            for a, d in puffs:
                rr = (12 + 8 * t) * d
                r = 7.5 - 4.5 * t
                m |= p.ell(23 + rr * math.cos(a), 23 + rr * math.sin(a), r, r)
            m &= inner
            if f >= 6:
                yy, xx = np.mgrid[0:46, 0:46]
                m &= bayer(46, 46) > (0.25 if f == 6 else 0.5)
            p.shade(m, "neutral", tones=(2, 4, 5) if f < 6 else (1, 3, 4),
                    ow=1 if f < 6 else 0)
        for a, d in drops:
            rr = (8 + 18 * (f + 1) / 8) * d
            x, y = 23 + rr * math.cos(a), 23 + rr * math.sin(a)
            if 3 < x < 43 and 3 < y < 43 and f < 7:
                p.shade(p.ell(x, y, 1.8, 1.8), "orange", tones=(0, 1, 3))
        cells.append(p)
    return sheet(cells)


@gen(173)
def sparkle(n):
    cells = []
    for f in range(9):
        p = Pic(20, 20)
        s = [0.35, 0.6, 0.85, 1.0, 0.9, 0.75, 0.55, 0.4, 0.25][f]
        star(p, 10, 10, 8.5 * s, 2.4 * s + 0.6, "yellow", f * 0.22, npts=4)
        if s > 0.5:
            p.a[10, 10] = WHITE
        cells.append(p)
    return sheet(cells)


@gen(250)
def wide_ring(n):
    cells = []
    for f in range(7):
        p = Pic(36, 36)
        r = 5 + f * 2.0
        th = 3.0 - f * 0.3
        m = p.ell(18, 18, r, r) & ~p.ell(18, 18, r - th, r - th)
        p.shade(m, "lime" if f % 2 == 0 else "yellow", tones=(1, 3, 5), ow=1)
        cells.append(p)
    return sheet(cells)

# ------------------------------------------------------------ menu pieces


@gen(145)
def brush_icons(n):
    cells = []
    for i in range(4):
        p = Pic(38, 41)
        rn = PLAYER_RAMP[i]
        p.shade(p.cap(6, 37, 19, 21, 2.4), "wood")
        p.shade(p.cap(19, 21, 22.5, 16.5, 3.6), "metal")
        m = p.ell(27, 11, 9.0, 6.2, -0.9)
        p.shade(m, rn)
        p.a[p.ell(29, 7.5, 2.5, 2.0) & m] = R(rn, 4)
        drip = p.cap(32.5, 15, 32.5, 21, 1.6) | p.ell(32.5, 21.5, 2, 2)
        p.shade(drip & ~m, rn, tones=(0, 0, 2))
        cells.append(p)
    return sheet(cells)


def keycap(p, x, y, w, h, label):
    m = p.rect(x, y, x + w, y + h) & ~(p.rect(x, y, x + 1, y + 1) | p.rect(x + w - 1, y, x + w, y + 1) |
                                       p.rect(x, y + h - 1, x + 1, y + h) | p.rect(x + w - 1, y + h - 1, x + w, y + h))
    p.outline_only(m, 1)
    p.a[m] = R("neutral", 4)
    p.a[m & p.rect(x, y + h - 3, x + w, y + h)] = R("neutral", 1)
    p.a[m & p.rect(x + w - 2, y, x + w, y + h)] = R("neutral", 2)
    if label in ("<", ">"):
        cx, cy = x + w / 2 - 1, y + h / 2 - 1.5
        s = -1 if label == "<" else 1
        tri = p.poly([(cx - 4 * s, cy - 5), (cx + 5 * s, cy), (cx - 4 * s, cy + 5)])
        p.a[tri] = OUT
    elif label:
        tm = text_mask(label, w - 8, h - 9, BOLD)
        full = np.zeros((p.h, p.w), bool)
        full[y + 2:y + h - 5, x + 2:x + w - 4] = place(tm, w - 6, h - 7)
        p.a[full] = OUT


def badge(plate, i):
    p = Pic(63, 33)
    m = p.rect(1, 1, 62, 32) & ~(p.rect(1, 1, 3, 3) | p.rect(60, 1, 62, 3) | p.rect(1, 30, 3, 32) | p.rect(60, 30, 62, 32))
    m |= p.ell(3, 3, 2, 2) | p.ell(60, 3, 2, 2) | p.ell(3, 30, 2, 2) | p.ell(60, 30, 2, 2)
    p.shade(m, plate, tones=(-1, 0, 2), hi=0.6, lo=-0.6)
    # Player 1's cursor keys are the same everywhere; the others' letters depend on the keyboard layout and
    # are drawn on the blank caps by the game.
    keys = ("<", ">") if i == 0 else ("", "")
    keycap(p, 5, 5, 25, 24, keys[0])
    keycap(p, 33, 5, 25, 24, keys[1])
    return p


@gen(210)
def badges_green(n):
    return sheet([badge("green", i) for i in range(4)])


@gen(213)
def badges_red(n):
    return sheet([badge("red", i) for i in range(4)])


@gen(211)
def portraits(n):
    cells = []
    for i in range(4):
        rn = PLAYER_RAMP[i]
        p = Pic(120, 120, R(rn, 3))
        yy, xx = np.mgrid[0:120, 0:120]
        a = np.arctan2(yy - 70, xx - 60)
        rays = (np.floor((a + math.pi) / (math.pi / 8)) % 2).astype(bool)
        p.a[rays] = R(rn, 4)
        d = Painter(p, 60 - 19 * 4.6, 70 - 18 * 4.6, 4.6, i, ow=3)
        d.body(0)
        d.arm(10.5, 25.5, 7.5, 30)
        d.head(0)
        d.cap(0)
        d.eyes(0)
        d.cheeks(0)
        d.mouth(0, "open")
        d.brush(30.8, 34, 33.0, 13.5, 3.2)
        d.hand(30.2, 28.0)
        p.a[0:3, :] = OUT
        p.a[-3:, :] = OUT
        p.a[:, 0:3] = OUT
        p.a[:, -3:] = OUT
        p.a[3, 3:-3] = R(rn, 5)
        p.a[3:-3, 3] = R(rn, 5)
        cells.append(p)
    return sheet(cells)


@gen(212)
def cross(n):
    p = Pic(100, 100)
    m = p.cap(16, 16, 84, 84, 10) | p.cap(16, 84, 84, 16, 10)
    p.shade(m, "red", ow=3)
    return p.a


@gen(149)
def trophy(n):
    p = Pic(32, 38)
    handles = (p.ell(6, 12, 5.5, 6) & ~p.ell(6, 12, 3, 3.5)) | (p.ell(26, 12, 5.5, 6) & ~p.ell(26, 12, 3, 3.5))
    p.shade(handles, "gold")
    cup = p.poly([(5, 3), (27, 3), (26, 14), (21, 22), (11, 22), (6, 14)]) | p.ell(16, 14, 10.5, 9) & p.rect(0, 3, 32, 24)
    p.shade(cup, "gold", tones=(-1, 1, 3))
    p.shade(p.rect(13, 22, 19, 28), "gold", tones=(-2, 0, 1))
    p.shade(p.rect(8, 28, 24, 31) | p.rect(6, 31, 26, 36), "wood", tones=(-2, -1, 1))
    p.a[p.rect(11, 32, 21, 34)] = R("gold", 1)
    star(p, 16, 11, 5, 2.1, "yellow", 0.0)
    return p.a


@gen(219)
def bracket(n):
    p = Pic(19, 48)
    pts = [(3, 4), (8, 4), (10, 8), (10, 19), (14, 24), (10, 29), (10, 40), (8, 44), (3, 44)]
    m = np.zeros((48, 19), bool)
    for (x1, y1), (x2, y2) in zip(pts, pts[1:]):
        m |= p.cap(x1, y1, x2, y2, 1.6)
    p.shade(m, "yellow", tones=(-1, 1, 3))
    return p.a

# ------------------------------------------------------------ round furniture


@gen(202)
def timer_bar(n):
    p = Pic(640, 32, R("slate", -3))
    p.a[:, :] = R("slate", -2)
    p.a[0, :] = R("slate", 2)
    p.a[1, :] = R("slate", 0)
    p.a[2:4, :] = R("slate", -1)
    p.a[-1, :] = OUT
    p.a[-2, :] = R("slate", -4)
    yy, xx = np.mgrid[0:32, 0:640]
    p.a[(yy > 3) & (yy < 29) & ((xx + yy) % 12 == 0)] = R("slate", -3)

    def well(x0, y0, x1, y1):
        p.a[y0 - 1:y1 + 1, x0 - 1:x1 + 1] = OUT
        p.a[y0:y1, x0:x1] = R("slate", -5)
        p.a[y1, x0 - 1:x1 + 1] = R("slate", 1)
        p.a[y0 - 1:y1 + 1, x1] = R("slate", 1)
    well(66, 7, 92, 27)        # round number, 2 cells of 12 x 18 at (67, 8)
    well(150, 7, 489, 26)      # twenty lamps from x 152, 17 apart
    well(505, 7, 637, 27)      # mode label at (507, 8)
    lettering(p, "ROUND", G["gold"], box=(4, 6, 60, 22), ow=1, shadow=1)
    lettering(p, "TIME", G["gold"], box=(97, 6, 50, 22), ow=1, shadow=1)
    return p.a


@gen(165)
def result_scroll(n):
    W, H = 500, 332
    p = Pic(W, H)
    paper = p.rect(14, 18, 486, 314)
    p.shade(paper, "cream", tones=(-1, 0, 1), hi=0.8, lo=-0.8)
    yy, xx = np.mgrid[0:H, 0:W]
    # faint ruled texture keeps the parchment from looking flat
    p.a[paper & (bayer(H, W) < 0.12)] = R("cream", -1)
    p.a[paper & (bayer(H, W) > 0.94)] = R("cream", 2)
    border = p.rect(24, 40, 476, 298) & ~p.rect(27, 43, 473, 295)
    p.a[border] = R("cream", -3)
    for y0 in (2, 302):
        rod = p.rect(6, y0 + 2, 494, y0 + 26)
        p.shade(rod, "wood", tones=(-2, 0, 2), light=(0, -1), hi=0.3, lo=-0.4)
        for cx in (6, 494):
            knob = p.ell(cx, y0 + 14, 6, 13)
            p.shade(knob, "gold", tones=(-1, 1, 3))
    # four little paint dabs in the corners, one per player
    for i, (cx, cy) in enumerate(((44, 286), (456, 286), (40, 52), (460, 52))):
        m = p.ell(cx, cy, 6, 5) | p.ell(cx + 6, cy + 3, 2.2, 2.2)
        p.shade(m, PLAYER_RAMP[i], ow=1)
    return p.a


@gen(243, 258)
def name_plate(n):
    p = Pic(SIZES[n][0], 25)
    for y in range(25):
        p.a[y, :] = [R("slate", 0), R("slate", -1), R("slate", -2)][min(2, y * 3 // 25)]
    p.a[0, :] = R("slate", 3)
    p.a[1, :] = R("slate", 1)
    p.a[-1, :] = OUT
    p.a[-2, :] = R("slate", -3)
    p.a[:, 0] = R("slate", 2)
    p.a[:, -1] = OUT
    p.a[2:-2, 1] = R("slate", 0)
    return p.a


def panel(w, h, left, right, fill_ramp="slate"):
    """A piece of the prompt box; every column of the middle piece is the
    same, so any number of them join without a seam."""
    p = Pic(w, h)
    bands = [R(fill_ramp, 0), R(fill_ramp, -1), R(fill_ramp, -2), R(fill_ramp, -3)]
    for y in range(h):
        p.a[y, :] = bands[min(3, y * 4 // h)]
    p.a[0:2, :] = OUT
    p.a[-2:, :] = OUT
    p.a[2, :] = R(fill_ramp, 4)
    p.a[3, :] = R(fill_ramp, 1)
    p.a[-3, :] = R(fill_ramp, -4)
    p.a[-4, :] = R(fill_ramp, -3)
    if left:
        p.a[:, 0:2] = OUT
        p.a[2:-2, 2] = R(fill_ramp, 4)
        p.a[3:-3, 3] = R(fill_ramp, 1)
    if right:
        p.a[:, -2:] = OUT
        p.a[2:-2, -3] = R(fill_ramp, -4)
        p.a[3:-3, -4] = R(fill_ramp, -3)
    return p.a


@gen(240)
def box_left(n):
    return panel(20, 75, True, False)


@gen(236)
def box_mid(n):
    return panel(11, 75, False, False)


@gen(242)
def box_right(n):
    return panel(20, 75, False, True)


def field_piece(w, left, right):
    p = Pic(w, 25)
    p.a[:, :] = R("slate", -5)
    p.a[0, :] = OUT
    p.a[1, :] = R("slate", -6)
    p.a[-1, :] = R("slate", 3)
    p.a[-2, :] = R("slate", -4)
    if left:
        p.a[:, 0] = OUT
        p.a[1:-1, 1] = R("slate", -6)
    if right:
        p.a[:, -1] = R("slate", 3)
        p.a[1:-1, -2] = R("slate", -4)
    return p.a


@gen(241)
def field_left(n):
    return field_piece(6, True, False)


@gen(237)
def field_mid(n):
    return field_piece(11, False, False)


@gen(238)
def field_right(n):
    return field_piece(6, False, True)


@gen(239)
def text_cursor(n):
    on = Pic(11, 18)
    # an underscore as tall as the glyphs' outline allows
    on.a[12:17, 1:10] = OUT
    on.a[13:16, 2:9] = R("sky", 2)
    on.a[13, 2:9] = WHITE
    return sheet([on, Pic(11, 18)])

# ------------------------------------------------------------ title painters


def tall_painter(w, h, player, pose):
    p = Pic(w, h)
    if pose == "tall":
        k = w / 40.0
        oy = h - 41 * k
        d = Painter(p, w / 2 - 19 * k, oy, k, player)
        d.feet()
        d.body()
        d.arm(10.5, 25.5, 6.5, 30)
        d.head()
        d.cap()
        d.eyes(0, "open", (0.2, 0.5))
        d.cheeks()
        d.mouth(0, "smile")
        # a brush as tall as a flag pole
        top = -oy / k + 3
        d.brush(31.5, 36, 31.5, top + 12, 5.5)
        d.hand(31.5, 27.5)
        d.hand(31.5, 22.0)
    else:
        k = min(w / 40.0, h / 47.0)
        oy = h - 41 * k
        d = Painter(p, w / 2 - 19 * k, oy, k, player)
        d.feet()
        d.body()
        d.brush(12, 29, 7, 6, 4.2)
        d.arm(10.5, 25.5, 11.5, 25.5)
        d.head()
        d.cap()
        d.eyes(0, "open", (-0.4, 0.5))
        d.cheeks()
        d.mouth(0, "open")
        d.arm(28, 25, 33, 29)
    return p.a


@gen(166)
def title_p1(n):
    return tall_painter(186, 445, 0, "tall")


@gen(167)
def title_p2(n):
    return tall_painter(204, 462, 1, "tall")


@gen(168)
def title_p3(n):
    return tall_painter(212, 244, 2, "short")


@gen(169)
def title_p4(n):
    return tall_painter(212, 243, 3, "short")


@gen(190, 191, 192, 193)
def winner_picture(n):
    i = n - 190
    w, h = SIZES[n]
    p = Pic(w, h)
    k = min(h / 46.0, w / 44.0)
    d = Painter(p, w / 2 - 19 * k, h - 41 * k, k, i)
    d.cheer()
    rng = np.random.default_rng(n)
    for j in range(10):
        x = rng.uniform(10, w - 10)
        y = rng.uniform(10, h * 0.5)
        if d.E(19, 20, 16, 20)[int(min(h - 1, y)), int(min(w - 1, x))]:
            continue
        star(p, x, y, rng.uniform(6, 11), rng.uniform(2.5, 4), ["yellow", PLAYER_RAMP[i], "sky"][j % 3],
             rng.uniform(0, 1), ow=2)
    return p.a


@gen(186, 187, 188, 189)
def victory(n):
    i = n - 186
    rn = PLAYER_RAMP[i]
    W, H = 640, 304
    yy, xx = np.mgrid[0:H, 0:W]
    ang = np.arctan2(yy - 152, xx - 320)
    cells = []
    rng = np.random.default_rng(n)
    conf = [(rng.uniform(0, W), rng.uniform(0, H), rng.uniform(3, 6), rng.integers(0, 6), rng.uniform(0, 6.28))
            for _ in range(70)]
    splats = [(rng.uniform(0, W), rng.uniform(0, H), rng.uniform(14, 30)) for _ in range(12)]
    rays = 16
    for f in range(4):
        p = Pic(W, H)
        rot = f * (2 * math.pi / rays) / 4 / 2
        s = (np.floor((ang + math.pi + rot) / (math.pi / rays)) % 2).astype(bool)
        p.a[:, :] = np.where(s, R(rn, 2), R(rn, 3))
        dist = np.hypot(xx - 320, (yy - 152) * 1.6)
        p.a[dist < 120] = R(rn, 4)
        p.a[(dist >= 120) & (dist < 124)] = R(rn, 3)
        for sx, sy, sr in splats:
            r = sr * (1 + 0.08 * math.sin(f * math.pi / 2))
            m = p.ell(sx, sy, r, r * 0.9)
            for a2 in range(5):
                aa = a2 * 1.3 + sx
                m |= p.ell(sx + math.cos(aa) * r * 1.4, sy + math.sin(aa) * r * 1.3, r * 0.28, r * 0.28)
            p.a[m] = R(rn, 0)
            p.a[m & p.ell(sx - r * 0.3, sy - r * 0.3, r * 0.35, r * 0.3)] = R(rn, 2)
        for cx, cy, sz, c, ph in conf:
            # confetti sways and tumbles through a 4-frame loop
            x = cx + 6 * math.sin(ph + f * math.pi / 2)
            y = cy + 5 * math.cos(ph + f * math.pi / 2)
            rot2 = ph + f * math.pi / 4
            colr = [R("yellow", 2), R("pink", 1), R("blue", 2), R("orange", 1), R("green", 2), WHITE][c]
            m = p.ell(x, y, sz, sz * abs(math.cos(rot2 * 2)) * 0.6 + 0.6, rot2)
            p.a[dilate(m, 1)] = OUT
            p.a[m] = colr
        p.a[0:2, :] = OUT
        p.a[-2:, :] = OUT
        cells.append(p)
    return sheet(cells)

# ------------------------------------------------------------ label logo


@gen(227)
def label_logo(n):
    p = Pic(320, 128, WHITE)
    # a paint drop emblem in the four colours
    cx, cy = 58, 64
    for j, rn in enumerate(PLAYER_RAMP):
        a = j * math.pi / 2 + math.pi / 4
        m = p.ell(cx + 17 * math.cos(a), cy + 17 * math.sin(a), 15, 15)
        p.shade(m, rn, ow=2)
    p.shade(p.ell(cx, cy, 10, 10), "neutral", tones=(3, 5, 5), ow=2)
    lettering(p, "KOVRA", G["p1"], box=(100, 24, 214, 50), ow=3, shadow=2)
    lettering(p, "GAMES", G["grey"], box=(100, 76, 214, 32), ow=2, shadow=1)
    return p.a

# ------------------------------------------------------------ window icon


def icon_splashes(p, s, ow):
    """The four paint colours behind the icon's painter: orange and green above, blue and pink below."""
    for j, rn in enumerate(PLAYER_RAMP):
        a = j * math.pi / 2 + math.pi / 4
        m = p.ell(32 * s + 19 * s * math.cos(a), 31 * s + 19 * s * math.sin(a), 11 * s, 11 * s)
        p.shade(m, rn, ow=ow, tones=(0, 1, 2))


def icon_picture(size):
    """The pink painter in front of a splash of all four colours, drawn at size x size in palette indices;
    outlines grow with the size. The desktop icons from 48 px up are this picture too."""
    s = size / 64
    ow = max(1, int(round(s)))
    p = Pic(size, size)
    icon_splashes(p, s, ow)
    k = 1.35 * s
    Painter(p, 32 * s - 19 * k, 62 * s - 40 * k, k, 0, ow=ow).walk(0)
    return p.a


def rgba_of(a):
    rgba = np.zeros(a.shape + (4,), np.uint8)
    rgba[..., :3] = np.array(__import__("artlib").PAL, np.uint8)[a]
    rgba[..., 3] = np.where(a == KEY, 0, 255)
    return rgba


def window_icon():
    """64x64 RGBA: the icon picture at its own size."""
    return rgba_of(icon_picture(64))


def write_icon():
    from PIL import Image
    d = os.path.join(ROOT, "assets", "icon")
    os.makedirs(d, exist_ok=True)
    im = Image.fromarray(window_icon(), "RGBA")
    im.save(os.path.join(d, "tintorix.png"), optimize=False)
    im.save(os.path.join(d, "tintorix.bmp"))

# ------------------------------------------------------------ writing


def build(n):
    arr = GEN[n](n)
    w, h = SIZES[n]
    assert arr.shape == (h, w), (n, arr.shape, (h, w))
    return arr.astype(np.uint8)


def main(argv):
    only = [int(a) for a in argv if a.isdigit()]
    os.makedirs(OUTDIR, exist_ok=True)
    missing = sorted(set(SIZES) - set(GEN))
    if missing:
        raise SystemExit("no drawing for %s" % missing)
    for n in sorted(SIZES):
        if only and n not in only:
            continue
        arr = build(n)
        with open(os.path.join(OUTDIR, "%03d.bmp" % n), "wb") as fh:
            fh.write(bmp_bytes(arr, TELL_APART_PAL if n == 253 else None))
    if not only:
        write_icon()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
