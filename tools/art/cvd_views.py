#!/usr/bin/python3
"""Shows a screenshot as people with each kind of dichromacy see it, and how far apart the four paint
colours of a colour table stay.

/usr/bin/python3 tools/art/cvd_views.py SHOT.png OUT.png   normal, protanopia, deuteranopia and
                                                           tritanopia side by side, 2 x 2
/usr/bin/python3 tools/art/cvd_views.py --table N          the paint colours of bitmap N's colour
                                                           table: their smallest CIE76 difference
                                                           under each view

The simulation is Machado, Oliveira and Fernandes (2009) at full severity, applied to linear RGB.
"""
import itertools
import os
import sys

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artlib import PAINT, read_bmp  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))

VIEWS = {
    "normal": np.eye(3),
    "protanopia": np.array([[0.152286, 1.052583, -0.204868], [0.114503, 0.786281, 0.099216],
                            [-0.003882, -0.048116, 1.051998]]),
    "deuteranopia": np.array([[0.367322, 0.860646, -0.227968], [0.280085, 0.672501, 0.047413],
                              [-0.011820, 0.042940, 0.968881]]),
    "tritanopia": np.array([[1.255528, -0.076749, -0.178779], [-0.078411, 0.930809, 0.147602],
                            [0.004733, 0.691367, 0.303900]]),
}


def linear(rgb):
    c = np.asarray(rgb, float) / 255.0
    return np.where(c <= 0.04045, c / 12.92, ((c + 0.055) / 1.055) ** 2.4)


def encoded(lin):
    c = np.clip(lin, 0.0, 1.0)
    return np.where(c <= 0.0031308, c * 12.92, 1.055 * c ** (1 / 2.4) - 0.055) * 255.0


def lab(lin):
    xyz = lin @ np.array([[0.4124, 0.3576, 0.1805], [0.2126, 0.7152, 0.0722],
                          [0.0193, 0.1192, 0.9505]]).T / np.array([0.95047, 1.0, 1.08883])
    f = np.where(xyz > (6 / 29) ** 3, np.cbrt(xyz), xyz / (3 * (6 / 29) ** 2) + 4 / 29)
    return np.stack([116 * f[..., 1] - 16, 500 * (f[..., 0] - f[..., 1]),
                     200 * (f[..., 1] - f[..., 2])], -1)


def seen(rgb, view):
    return np.clip(linear(rgb) @ VIEWS[view].T, 0.0, 1.0)


def table_report(n):
    _, table = read_bmp(os.path.join(ROOT, "assets", "bitmaps", "%03d.bmp" % n))
    colours = [table[i] for i in PAINT]
    print("bitmap %d, players 1 to 4: %s" % (n, colours))
    for view in VIEWS:
        points = lab(seen(colours, view))
        pairs = {(a + 1, b + 1): np.linalg.norm(points[a] - points[b])
                 for a, b in itertools.combinations(range(4), 2)}
        worst = min(pairs, key=pairs.get)
        print("  %-12s smallest difference %5.1f (players %d and %d)" % ((view, pairs[worst]) + worst))


def views(shot, out):
    rgb = np.array(Image.open(shot).convert("RGB"))
    tiles = [encoded(seen(rgb, view)).round().astype(np.uint8) for view in VIEWS]
    grid = np.vstack([np.hstack(tiles[0:2]), np.hstack(tiles[2:4])])
    Image.fromarray(grid).save(out)


def main(argv):
    if len(argv) == 2 and argv[0] == "--table":
        table_report(int(argv[1]))
    elif len(argv) == 2:
        views(argv[0], argv[1])
    else:
        print(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
