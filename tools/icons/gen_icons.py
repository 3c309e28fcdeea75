#!/usr/bin/python3
"""Draws the desktop icons into dist/icons/tintorix-N.png, each size at its own size.

Run from anywhere: /usr/bin/python3 tools/icons/gen_icons.py [DIR]
From 48 px up the painter and the four splashes are drawn at the icon's scale, with outlines that grow
with it; 16 and 32 px are pixel maps of the same picture with the details a small icon can hold.
The output is byte-for-byte the same on every run.
"""
import math
import os
import sys

import numpy as np
from PIL import Image

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "art"))
from artlib import PAL, PLAYER_RAMP, Pic, R, KEY, OUT, WHITE  # noqa: E402
from painter import Painter  # noqa: E402

SIZES = (16, 32, 48, 64, 128, 256)


def splashes(p, s, ow):
    """The four paint colours behind the painter: orange and green above, blue and pink below."""
    for j, rn in enumerate(PLAYER_RAMP):
        a = j * math.pi / 2 + math.pi / 4
        m = p.ell(32 * s + 19 * s * math.cos(a), 31 * s + 19 * s * math.sin(a), 11 * s, 11 * s)
        p.shade(m, rn, ow=ow, tones=(0, 1, 2))


def drawn(size):
    """The window icon's picture drawn at size (64 px gives the window icon itself)."""
    s = size / 64
    ow = max(1, int(round(s)))
    p = Pic(size, size)
    splashes(p, s, ow)
    k = 1.35 * s
    Painter(p, 32 * s - 19 * k, 62 * s - 40 * k, k, 0, ow=ow).walk(0)
    return p.a


# Pixel maps for the small sizes. '.' leaves the splashes showing; the other letters name colours below.
MAP32 = """
................................
................................
..............ooo.......ooo.....
.............opPo......oPpPo....
...........oooooooo...oPppPPo...
.........ooPppPPPPPoo.oPpPPqo...
........oPppPPPPPPPPqooPPPPqo...
.......oPpPPPPPPPPPPPqooPPqo....
.......oPPPPPPPPPPPPPqo.ommo....
......oqqqqqqqqqqqqqqqqqooo.....
......oooooooooooooooooooo......
.......osSSSSSSSSSSSSSko.ow.....
.......osSoWSSSSSoWSSSko.ow.....
.......osSEESSSSSEESSSko.ow.....
.......osSEESSSSSEESSSko.ow.....
.......osrSSSSSSSSSrSko..ow.....
.......okSSSSSEEESSSkko..ow.....
........okkSSSSSSSSkko...ow.....
.........ooooooooooooo..oow.....
.......ooPpWWWWWWWPPqoooSsSo....
......oPppPPPPPPPPPPPqooSSko....
.....oPpPPPPPPPPPPPPPPqookwo....
....ossoPPPPPPPPPPPPPPPqo.ow....
....oSsoPPPPPPPPPPPPPPPqo.ow....
....okkoPPPPPPPPPPPPPPqqo.ow....
.....ooqPPPPPPPPPPPPPqqqo.ow....
.......oqqPPPPPPPPPPqqqo..oo....
........ooqqqqqqqqqqqoo.........
........offfFoooooffffFo........
.......offFFFFo..offFFFFo.......
........oooooo....oooooo........
................................
"""

MAP16 = """
.oo.........ooo.
oaao.ooooo.oPpPo
oaaooPpPPPooPPPo
oaaoPpPPPPPoqPqo
.ooqqqqqqqqqomo.
...osSSSSSSo.w..
...osESSSESo.w..
...orESSSEro.w..
...okSSESSko.w..
..oooWWWWWoooSSo
obboPpPPPPPqoSko
obbSPPPPPPPqow..
.oooPPPPPPqqow..
....oqqqqqqoow..
....oFFooFFo.o..
.....oo..oo.....
"""


def colours():
    return {
        "o": OUT, "W": WHITE, "E": OUT,
        "P": R("pink", 0), "p": R("pink", 2), "q": R("pink", -2),
        "S": R("skin", 0), "s": R("skin", 1), "k": R("skin", -2), "r": R("skin", 4),
        "F": R("brown", 0), "a": R("orange", 1), "b": R("blue", 1), "f": R("brown", 2), "w": R("wood", 0), "m": R("metal", 1),
    }


def mapped(size, text):
    rows = text.strip("\n").split("\n")
    assert len(rows) == size and all(len(r) == size for r in rows), size
    p = Pic(size, size)
    if size >= 32:
        splashes(p, size / 64, 1)
    lut = colours()
    for y, row in enumerate(rows):
        for x, c in enumerate(row):
            if c != ".":
                p.a[y, x] = lut[c]
    return p.a


def icon(size):
    if size == 16:
        a = mapped(16, MAP16)
    elif size == 32:
        a = mapped(32, MAP32)
    else:
        a = drawn(size)
    rgba = np.zeros((size, size, 4), np.uint8)
    rgba[..., :3] = np.array(PAL, np.uint8)[a]
    rgba[..., 3] = np.where(a == KEY, 0, 255)
    return rgba


def main(argv):
    out = argv[0] if argv else os.path.join(ROOT, "dist", "icons")
    os.makedirs(out, exist_ok=True)
    for size in SIZES:
        Image.fromarray(icon(size), "RGBA").save(os.path.join(out, "tintorix-%d.png" % size), optimize=False)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
