#!/usr/bin/python3
"""Breaks copies of the bitmaps one rule at a time and makes sure the
checker notices each break.  /usr/bin/python3 tools/art/test_check_bitmaps.py
"""
import os
import shutil
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_bitmaps import Checker, ROOT  # noqa: E402

SRC = os.path.join(ROOT, "assets", "bitmaps")


def pixel_offset(data, x, y):
    w, h = struct.unpack_from("<ii", data, 18)
    pitch = (w + 3) & ~3
    return 1078 + (h - 1 - y) * pitch + x


class CheckerCatchesFaults(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        for f in os.listdir(SRC):
            shutil.copy(os.path.join(SRC, f), self.dir)

    def tearDown(self):
        shutil.rmtree(self.dir)

    def edit(self, n, fn):
        path = os.path.join(self.dir, "%03d.bmp" % n)
        data = bytearray(open(path, "rb").read())
        fn(data)
        open(path, "wb").write(bytes(data))

    def faults_about(self, n):
        return [f for f in Checker(self.dir).run() if f.startswith("%s:" % n)]

    def test_committed_bitmaps_pass(self):
        self.assertEqual(Checker(self.dir).run(), [])

    def test_paint_colour_in_field(self):
        self.edit(107, lambda d: d.__setitem__(pixel_offset(d, 300, 200), 192))
        self.assertTrue(self.faults_about(107))

    def test_field_with_an_extra_index(self):
        def one_more(d):
            used = set(d[1078:])
            spare = next(i for i in range(10, 246) if i not in used and i not in (192, 23, 203, 65))
            d[pixel_offset(d, 320, 220)] = spare
        self.edit(107, one_more)
        self.assertTrue(self.faults_about(107))

    def test_footprint_opaque_outside_its_rectangle(self):
        self.edit(119, lambda d: d.__setitem__(pixel_offset(d, 3, 20), 248))
        self.assertTrue(self.faults_about(119))

    def test_footprint_hole(self):
        self.edit(157, lambda d: d.__setitem__(pixel_offset(d, 40, 41), d[pixel_offset(d, 0, 0)]))
        self.assertTrue(self.faults_about(157))

    def test_third_index_in_a_brush(self):
        self.edit(116, lambda d: d.__setitem__(pixel_offset(d, 16, 10), 24))
        self.assertTrue(self.faults_about(116))

    def test_blot_centre_not_paint(self):
        self.edit(162, lambda d: d.__setitem__(pixel_offset(d, 110, 110), 255))
        self.assertTrue(self.faults_about(162))

    def test_font_key(self):
        self.edit(105, lambda d: d.__setitem__(pixel_offset(d, 0, 0), 253))
        self.assertTrue(self.faults_about(105))

    def test_colour_table_differs(self):
        self.edit(140, lambda d: d.__setitem__(54 + 4 * 100, (d[54 + 4 * 100] + 1) % 256))
        self.assertTrue(self.faults_about(140))

    def test_wrong_size(self):
        self.edit(202, lambda d: struct.pack_into("<i", d, 18, 639))
        self.assertTrue(self.faults_about(202))

    def test_sprite_drawn_into_its_corner(self):
        self.edit(149, lambda d: d.__setitem__(pixel_offset(d, 0, 0), 10))
        self.assertTrue(self.faults_about(149))

    def test_digit_cell_not_black(self):
        self.edit(234, lambda d: d.__setitem__(pixel_offset(d, 20, 84 * 10 + 40), 7))
        self.assertTrue(self.faults_about(234))

    def test_background_seam(self):
        def paint_top_rows(d):
            for y in range(0, 3):
                for x in range(0, 640, 2):
                    d[pixel_offset(d, x, y)] = 10
        self.edit(200, paint_top_rows)
        self.assertTrue(self.faults_about(200))

    def test_missing_file(self):
        os.remove(os.path.join(self.dir, "250.bmp"))
        self.assertTrue(self.faults_about(250))

    def test_empty_cell(self):
        def blank_second_frame(d):
            key = d[pixel_offset(d, 0, 0)]
            for y in range(60, 120):
                for x in range(60):
                    d[pixel_offset(d, x, y)] = key
        self.edit(170, blank_second_frame)
        self.assertTrue(self.faults_about(170))

if __name__ == "__main__":
    unittest.main()
