#!/usr/bin/python3
"""Renders the bitmaps at 2x with their numbers, key shown as a checkerboard.

/usr/bin/python3 tools/art/contact_sheet.py [OUTDIR] [NUMBERS...]
Writes OUTDIR/contact_N.png (default /tmp/tintorix_art), a few bitmaps
per page so every sheet can be looked at closely.
"""
import os
import sys

import numpy as np
from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artlib import read_bmp, font, BOLD  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
BMPDIR = os.path.join(ROOT, "assets", "bitmaps")
# drawn opaque by the game: no checkerboard for these
OPAQUE = {107, 200, 202, 211, 186, 187, 188, 189, 243, 236, 237, 238, 240, 241, 242, 227}


def render(n, scale=2):
    arr, table = read_bmp(os.path.join(BMPDIR, "%03d.bmp" % n))
    lut = np.array(table, np.uint8)
    rgb = lut[arr]
    if n not in OPAQUE:
        key = arr[0, 0]
        h, w = arr.shape
        yy, xx = np.mgrid[0:h, 0:w]
        chk = (((yy // 3) + (xx // 3)) % 2).astype(bool)
        bg = np.where(chk[..., None], np.uint8(205), np.uint8(160))
        rgb = np.where((arr == key)[..., None], bg, rgb)
    im = Image.fromarray(rgb, "RGB")
    return im.resize((im.width * scale, im.height * scale), Image.NEAREST)


def pages(nums, maxw=1400, maxh=1800, scale=2):
    """Shelf packing of the rendered bitmaps into pages."""
    out = []
    page, x, y, rowh = [], 8, 8, 0
    for n in nums:
        im = render(n, scale)
        if im.height > maxh - 40:
            im = render(n, 1)
        if x + im.width + 8 > maxw and page:
            x, y, rowh = 8, y + rowh + 30, 0
        if y + im.height + 30 > maxh and page:
            out.append(page)
            page, x, y, rowh = [], 8, 8, 0
        page.append((n, im, x, y))
        x += im.width + 12
        rowh = max(rowh, im.height)
    if page:
        out.append(page)
    return out


def main(argv):
    outdir = "/tmp/tintorix_art"
    nums = []
    for a in argv:
        if a.isdigit():
            nums.append(int(a))
        else:
            outdir = a
    if not nums:
        nums = sorted(int(f[:3]) for f in os.listdir(BMPDIR) if f.endswith(".bmp"))
    os.makedirs(outdir, exist_ok=True)
    f = font(BOLD, 14)
    for i, page in enumerate(pages(nums)):
        W = max(x + im.width for _, im, x, _ in page) + 8
        H = max(y + im.height for _, im, _, y in page) + 30
        sheet = Image.new("RGB", (W, H), (60, 60, 70))
        d = ImageDraw.Draw(sheet)
        for n, im, x, y in page:
            sheet.paste(im, (x, y + 18))
            d.text((x, y), str(n), font=f, fill=(255, 255, 120))
        path = os.path.join(outdir, "contact_%d.png" % i)
        sheet.save(path)
        print(path)


if __name__ == "__main__":
    main(sys.argv[1:])
