#!/usr/bin/python3
"""Checks the committed bitmaps against the rules the game relies on.

/usr/bin/python3 tools/art/check_bitmaps.py [BITMAP_DIR]
Prints every fault found and exits with 1 if there was any.
"""
import os
import re
import struct
import sys

import numpy as np

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen_bitmaps import SIZES, BRUSH, WIDE, BLOT, KEY_CHARS  # noqa: E402
from artlib import RAMPS, PLAYER_RAMP  # noqa: E402

SYSTEM = {0: (0, 0, 0), 1: (128, 0, 0), 2: (0, 128, 0), 3: (128, 128, 0), 4: (0, 0, 128),
          5: (128, 0, 128), 6: (0, 128, 128), 7: (192, 192, 192), 8: (192, 220, 192),
          9: (166, 202, 240), 246: (255, 251, 240), 247: (160, 160, 164), 248: (128, 128, 128),
          249: (255, 0, 0), 250: (0, 255, 0), 251: (255, 255, 0), 252: (0, 0, 255),
          253: (255, 0, 255), 254: (0, 255, 255), 255: (255, 255, 255)}
PAINT = [192, 23, 203, 65]
# drawn without a colour key: their corner pixel is part of the picture
OPAQUE = {107, 200, 202, 211, 186, 187, 188, 189, 243, 236, 237, 238, 240, 241, 242, 227, 102, 253, 258}
# The colour-blind table: the shared one but for the four players' ramps.
OWN_TABLE = 253
PLAYER_ENTRIES = {i for name in PLAYER_RAMP for i in RAMPS[name][0]}
# sheets cut into cells: number -> (cell height, cell count)
CELLS = {104: (22, 12), 105: (18, 38), 106: (18, 38), 109: (40, 4), 111: (40, 4), 114: (40, 4),
         115: (40, 4), 117: (15, 32), 118: (15, 32), 131: (16, 2), 207: (16, 2), 135: (28, 2),
         136: (28, 2), 141: (35, 4), 143: (34, 12), 144: (35, 3), 145: (41, 4), 146: (50, 4),
         156: (194, 3), 158: (44, 6), 170: (60, 13), 171: (40, 4), 172: (46, 8), 173: (20, 9),
         186: (304, 4), 187: (304, 4), 188: (304, 4), 189: (304, 4), 205: (18, 3), 206: (18, 12),
         210: (33, 4), 211: (120, 4), 213: (33, 4), 214: (16, 3), 217: (17, 12), 231: (35, 2),
         234: (84, 12), 239: (18, 2), 244: (25, 12), 250: (36, 7), 256: (35, 4), 257: (35, 4),
         260: (18, len(KEY_CHARS)), 261: (18, len(KEY_CHARS))}
FONTS = (105, 106, 260, 261)


class Checker:
    def __init__(self, folder):
        self.folder = folder
        self.faults = []
        self.images = {}
        self.table = None

    def fault(self, n, msg):
        self.faults.append("%s: %s" % (n, msg))

    def load(self, n):
        path = os.path.join(self.folder, "%03d.bmp" % n)
        if not os.path.exists(path):
            self.fault(n, "missing")
            return None
        data = open(path, "rb").read()
        if data[:2] != b"BM" or len(data) < 1078:
            self.fault(n, "not a BMP file")
            return None
        size, _, _, off = struct.unpack_from("<IHHI", data, 2)
        hs, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", data, 14)
        if size != len(data):
            self.fault(n, "file size field %d, file has %d bytes" % (size, len(data)))
        if (hs, planes, bpp, comp, off) != (40, 1, 8, 0, 1078):
            self.fault(n, "header %r is not 8 bpp uncompressed with pixels at 1078"
                       % ((hs, planes, bpp, comp, off),))
        if (w, h) != SIZES[n]:
            self.fault(n, "size %dx%d, wanted %dx%d" % ((w, h) + SIZES[n]))
        if h <= 0:
            self.fault(n, "height must be positive (bottom-up)")
            return None
        pitch = (w + 3) & ~3
        if len(data) != 1078 + pitch * h:
            self.fault(n, "pixel data is %d bytes, wanted %d" % (len(data) - 1078, pitch * h))
            return None
        table = data[54:1078]
        if n == OWN_TABLE:
            self.own_table = table
        elif self.table is None:
            self.table = table
        elif table != self.table:
            self.fault(n, "colour table differs from the others")
        arr = np.frombuffer(data, np.uint8, pitch * h, 1078).reshape(h, pitch)[::-1, :w]
        return arr

    def rgb(self, i):
        t = self.table
        return (t[4 * i + 2], t[4 * i + 1], t[4 * i])

    def run(self):
        for n in sorted(SIZES):
            a = self.load(n)
            if a is not None:
                self.images[n] = a
        extra = sorted(f for f in os.listdir(self.folder)
                       if f.endswith(".bmp") and int(f[:3]) not in SIZES)
        for f in extra:
            self.fault(f, "not a bitmap of the game")
        if self.table is not None:
            self.check_palette()
            own = getattr(self, "own_table", None)
            if own is not None:
                for i in range(256):
                    if i not in PLAYER_ENTRIES and own[4 * i:4 * i + 4] != self.table[4 * i:4 * i + 4]:
                        self.fault(OWN_TABLE, "entry %d differs from the shared table" % i)
        for n, a in self.images.items():
            self.check_one(n, a)
        self.check_key_chars()
        return self.faults

    def check_key_chars(self):
        # The game finds a key's glyph by its place in the string it holds: the sheet must follow it.
        source = open(os.path.join(ROOT, "gfx", "ZAscii.cpp"), encoding="utf-8").read()
        literal = source.split("kKeyChars =", 1)[-1].split('";', 1)[0] + '"'
        parts = re.findall(r'"((?:[^"\\]|\\.)*)"', literal)
        chars = re.sub(r"\\(.)", r"\1", "".join(parts))
        if chars != KEY_CHARS:
            self.fault("260 and 261", "cells differ from gfx/ZAscii.cpp's kKeyChars")

    def check_palette(self):
        for i, c in SYSTEM.items():
            if self.rgb(i) != c:
                self.fault("palette", "entry %d is %r, wanted %r" % (i, self.rgb(i), c))
        whites = [i for i in range(256) if self.rgb(i) == (255, 255, 255)]
        if whites != [255]:
            self.fault("palette", "white must be index 255 only, found %r" % whites)
        cols = [self.rgb(i) for i in PAINT]
        if len(set(cols)) != 4:
            self.fault("palette", "paint colours are not distinct")

    def check_one(self, n, a):
        key = int(a[0, 0])
        if n in FONTS and key != 249:
            self.fault(n, "font background must be 249, is %d" % key)
        if n in CELLS:
            ch, count = CELLS[n]
            if ch * count != a.shape[0]:
                self.fault(n, "height %d is not %d cells of %d" % (a.shape[0], count, ch))
            elif n not in OPAQUE:
                for c in range(count):
                    cell = a[c * ch:(c + 1) * ch]
                    blank = (cell == key).all()
                    if blank and not (n == 239 and c == 1):
                        self.fault(n, "cell %d is empty" % c)
                    if n == 239 and c == 1 and not blank:
                        self.fault(n, "the cursor's second cell must be empty")
        if n not in OPAQUE and n not in (234, 244):
            if (a == key).all():
                self.fault(n, "picture is all key colour")
            # every row and column of the outer border should be mostly key
            # so pictures do not run into their neighbours on screen
        for pl, (b, wb, bl) in enumerate(zip(BRUSH, WIDE, BLOT)):
            for m in (b, wb, bl):
                if m in self.images:
                    self.check_stamp(m, self.images[m], PAINT[pl])
        if n in (234, 244):
            ch = CELLS[n][0]
            for c in (10, 11):
                if not (a[c * ch:(c + 1) * ch] == 0).all():
                    self.fault(n, "cell %d must be solid black" % c)
            if key == 0:
                self.fault(n, "key must not be black: cells 10 and 11 would vanish")
        if n == 200:
            # the title band is drawn three times one above the other
            diffs = [(a[y] != a[(y + 1) % a.shape[0]]).sum() for y in range(a.shape[0])]
            usual = float(np.median(diffs))
            if diffs[-1] > 2 * usual + 8:
                self.fault(n, "does not tile: the wrap row differs in %d pixels (usually %d)"
                           % (diffs[-1], usual))
        if n == 119:
            self.check_mask(n, a, 4, 33, 16, 37)
        if n == 157:
            self.check_mask(n, a, 3, 40, 19, 41)
        if n == 107:
            used = set(np.unique(a).tolist())
            if len(used) != 17:
                self.fault(n, "uses %d indices, wanted 17" % len(used))
            bad = used & set(PAINT)
            if bad:
                self.fault(n, "holds paint colours %r" % sorted(bad))
        stamps = set(BRUSH + WIDE + BLOT)
        if n not in OPAQUE and n not in stamps and n not in FONTS and key != 253:
            # a drawing that reaches the corner would turn its own colour transparent
            self.fault(n, "top-left pixel is %d, not the sprite key 253" % key)

    def check_stamp(self, n, a, paint):
        if getattr(self, "_stamped", None) is None:
            self._stamped = set()
        if n in self._stamped:
            return
        self._stamped.add(n)
        used = set(np.unique(a).tolist())
        if used != {paint, 255}:
            self.fault(n, "stamp holds %r, wanted exactly {%d, 255}" % (sorted(used), paint))
        h, w = a.shape
        if a[h // 2, w // 2] != paint:
            self.fault(n, "centre pixel is not the paint index")
        if a[0, 0] != 255:
            self.fault(n, "key (top-left) must be 255")
        # a disc: every paint row is one run, and it is symmetric about the centre
        rows = (a == paint)
        for y in range(h):
            xs = np.nonzero(rows[y])[0]
            if len(xs) and n in BRUSH + WIDE and xs[-1] - xs[0] + 1 != len(xs):
                self.fault(n, "row %d is not one solid run" % y)
                break
        if n in BRUSH:
            cnt = int(rows.sum())
            if abs(cnt - 812) > 12:
                self.fault(n, "brush paints %d pixels, about 812 expected" % cnt)

    def check_mask(self, n, a, x0, x1, y0, y1):
        key = a[0, 0]
        inside = np.zeros(a.shape, bool)
        inside[y0:y1 + 1, x0:x1 + 1] = True
        if (a[inside] == key).any():
            self.fault(n, "mask has holes inside x %d..%d, y %d..%d" % (x0, x1, y0, y1))
        if (a[~inside] != key).any():
            self.fault(n, "mask is opaque outside x %d..%d, y %d..%d" % (x0, x1, y0, y1))


def main(argv):
    folder = argv[0] if argv else os.path.join(ROOT, "assets", "bitmaps")
    faults = Checker(folder).run()
    for f in faults:
        print("FAULT", f)
    print("%d bitmaps checked, %d faults" % (len(SIZES), len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
