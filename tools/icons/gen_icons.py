#!/usr/bin/python3
"""Draws the desktop icons into dist/icons/tintorix-N.png, each size at its own size.

Run from anywhere: /usr/bin/python3 tools/icons/gen_icons.py [DIR]
From 48 px up the window icon's picture is drawn at the icon's scale (64 px is the window icon itself);
16 and 32 px are pixel maps of the same picture with the details a small icon can hold.
The output is byte-for-byte the same on every run.
"""
import os
import sys

from PIL import Image

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "art"))
from artlib import Pic, R, OUT, WHITE  # noqa: E402
from gen_bitmaps import icon_picture, icon_splashes, rgba_of  # noqa: E402

SIZES = (16, 32, 48, 64, 128, 256)


# Pixel maps for the small sizes. '.' leaves the splashes showing (at 16 px the map holds its own two);
# the other letters name colours below.
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
        "F": R("brown", 0), "f": R("brown", 2), "w": R("wood", 0), "m": R("metal", 1),
        "a": R("orange", 1), "b": R("blue", 1),
    }


def mapped(size, text):
    rows = text.strip("\n").split("\n")
    assert len(rows) == size and all(len(r) == size for r in rows), size
    p = Pic(size, size)
    if size >= 32:
        icon_splashes(p, size / 64, 1)
    lut = colours()
    for y, row in enumerate(rows):
        for x, c in enumerate(row):
            if c != ".":
                p.a[y, x] = lut[c]
    return p.a


def icon(size):
    if size == 16:
        return rgba_of(mapped(16, MAP16))
    if size == 32:
        return rgba_of(mapped(32, MAP32))
    return rgba_of(icon_picture(size))


def main(argv):
    out = argv[0] if argv else os.path.join(ROOT, "dist", "icons")
    os.makedirs(out, exist_ok=True)
    for size in SIZES:
        Image.fromarray(icon(size), "RGBA").save(os.path.join(out, "tintorix-%d.png" % size), optimize=False)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
