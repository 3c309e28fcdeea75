"""Drawing helpers shared by the Tintorix bitmap tools.

Everything is drawn straight in palette indices (numpy uint8 arrays), so
keys and paint stamps are exact by construction and nothing is ever
quantised by accident.  All randomness goes through seeded generators.
"""
import os
import struct

import numpy as np
from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")
COND = os.path.join(FONT_DIR, "DejaVuSansCondensed-Bold.ttf")

# ---------------------------------------------------------------- palette

SYSTEM_LOW = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128),
              (128, 0, 128), (0, 128, 128), (192, 192, 192), (192, 220, 192),
              (166, 202, 240)]
SYSTEM_HIGH = [(255, 251, 240), (160, 160, 164), (128, 128, 128), (255, 0, 0),
               (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
               (0, 255, 255), (255, 255, 255)]

PAL = [None] * 256
RAMPS = {}


def _lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def _shades(n, mid, rgb, dark, light):
    """n shades from dark to light; entry `mid` is exactly rgb."""
    out = []
    for k in range(n):
        if k < mid:
            out.append(_lerp(rgb, dark, (mid - k) / (mid + 0.6)))
        elif k == mid:
            out.append(rgb)
        else:
            out.append(_lerp(rgb, light, (k - mid) / (n - 1 - mid + 0.5)))
    return out


def _ramp(name, first, n, mid, rgb, dark, light):
    idx = list(range(first, first + n))
    PAL[first:first + n] = _shades(n, mid, rgb, dark, light)
    RAMPS[name] = (idx, mid)


def _list(name, first, colours, mid):
    idx = list(range(first, first + len(colours)))
    for i, c in zip(idx, colours):
        PAL[i] = c
    RAMPS[name] = (idx, mid)


for i, c in enumerate(SYSTEM_LOW):
    PAL[i] = c
for i, c in enumerate(SYSTEM_HIGH):
    PAL[246 + i] = c

_list("grey", 10, [(28, 20, 38), (46, 38, 60), (66, 60, 82), (90, 86, 106),
                   (116, 114, 132), (144, 142, 158), (174, 174, 186),
                   (204, 204, 214)], 4)
# The four paint colours sit at fixed indices; their ramps shade the painters.
_ramp("blue", 18, 11, 5, (46, 112, 235), (14, 18, 70), (236, 244, 255))
_ramp("neutral", 29, 12, 6, (140, 138, 144), (22, 22, 26), (246, 246, 244))
_list("skin", 41, [(92, 44, 34), (138, 70, 50), (180, 100, 70), (214, 132, 96),
                   (236, 162, 122), (248, 186, 146), (252, 206, 170),
                   (255, 222, 194), (255, 236, 218), (240, 120, 130),
                   (250, 150, 160), (200, 80, 100)], 6)
_list("gold", 53, [(104, 56, 8), (158, 96, 18), (206, 142, 26), (240, 188, 38),
                   (255, 222, 78), (255, 240, 150), (255, 250, 212)], 3)
_ramp("green", 60, 11, 5, (62, 190, 70), (10, 44, 20), (232, 255, 226))
_ramp("paper", 71, 14, 10, (246, 238, 218), (120, 104, 84), (255, 254, 250))
_ramp("wood", 85, 12, 6, (170, 104, 52), (40, 20, 12), (246, 214, 168))
_ramp("metal", 97, 10, 5, (150, 164, 184), (30, 36, 52), (240, 244, 252))
_ramp("ice", 107, 10, 5, (140, 214, 240), (20, 64, 110), (240, 252, 255))
_ramp("sky", 117, 14, 8, (110, 180, 245), (16, 26, 86), (226, 242, 255))
_ramp("red", 131, 12, 6, (228, 44, 48), (56, 6, 14), (255, 214, 208))
_ramp("purple", 143, 12, 6, (150, 78, 214), (34, 10, 60), (242, 226, 255))
_ramp("teal", 155, 12, 6, (32, 186, 170), (6, 48, 52), (214, 255, 244))
_ramp("yellow", 167, 12, 6, (255, 218, 36), (92, 64, 4), (255, 252, 220))
_ramp("brown", 179, 8, 4, (122, 70, 40), (34, 16, 10), (214, 170, 128))
_ramp("pink", 187, 11, 5, (240, 88, 168), (70, 10, 46), (255, 236, 246))
_ramp("orange", 198, 11, 5, (250, 140, 30), (80, 30, 6), (255, 240, 214))
_ramp("lime", 209, 12, 6, (150, 220, 40), (30, 60, 4), (240, 255, 210))
_ramp("cream", 221, 12, 7, (244, 222, 170), (112, 76, 36), (255, 250, 236))
_ramp("slate", 233, 13, 6, (92, 104, 150), (16, 18, 40), (236, 240, 252))

assert all(c is not None for c in PAL), [i for i, c in enumerate(PAL) if c is None]
assert PAL[192] == (240, 88, 168) and PAL[23] == (46, 112, 235)
assert PAL[203] == (250, 140, 30) and PAL[65] == (62, 190, 70)
# Only index 255 may be pure white, so a lookup of white finds 255.
assert [i for i, c in enumerate(PAL) if c == (255, 255, 255)] == [255]

PAINT = [192, 23, 203, 65]              # players 1..4
PLAYER_RAMP = ["pink", "blue", "orange", "green"]

# The colour table of bitmap 253, which the game shows instead of the others' for players who tell colours
# apart poorly: three player ramps are rebuilt around paint colours that stay at least 40 apart (CIE76)
# under protanopia, deuteranopia and tritanopia (Machado 2009, full severity) as well as normal vision,
# and still read on the paper of the field. Blue needs no change. Every other entry is the shared one.
TELL_APART = {"pink": ((237, 66, 148), (70, 10, 46), (255, 236, 246)),
              "orange": ((141, 82, 0), (42, 20, 2), (250, 228, 192)),
              "green": ((121, 251, 131), (12, 66, 24), (236, 255, 238))}
TELL_APART_PAL = list(PAL)
for _name, (_rgb, _dark, _light) in TELL_APART.items():
    _idx, _mid = RAMPS[_name]
    TELL_APART_PAL[_idx[0]:_idx[-1] + 1] = _shades(len(_idx), _mid, _rgb, _dark, _light)
KEY = 253          # magenta: the transparent colour of most sprites
FONT_KEY = 249     # pure red behind the glyphs of the two fonts
OUT = 10           # outline colour
WHITE = 255
BLACK = 0


def R(name, k=None):
    """Index of shade k (relative to the ramp's main shade) or the list."""
    idx, mid = RAMPS[name]
    if k is None:
        return idx
    return idx[max(0, min(len(idx) - 1, mid + k))]


def pal_bytes(table=None):
    out = bytearray()
    for r, g, b in table or PAL:
        out += bytes((b, g, r, 0))
    return bytes(out)


def bmp_bytes(arr, table=None):
    """8 bpp bottom-up BMP, full colour table (the shared one unless given), pixels at offset 1078."""
    h, w = arr.shape
    pitch = (w + 3) & ~3
    rows = bytearray()
    pad = bytes(pitch - w)
    for y in range(h - 1, -1, -1):
        rows += arr[y].astype(np.uint8).tobytes() + pad
    offset = 14 + 40 + 1024
    head = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(rows),
                       2835, 2835, 256, 0)
    return head + info + pal_bytes(table) + bytes(rows)


def read_bmp(path):
    """Returns (array of indices, list of colour table rgb) from our BMPs."""
    data = open(path, "rb").read()
    w, h = struct.unpack_from("<ii", data, 18)
    pitch = (w + 3) & ~3
    table = [(data[54 + 4 * i + 2], data[54 + 4 * i + 1], data[54 + 4 * i])
             for i in range(256)]
    px = np.frombuffer(data, np.uint8, pitch * abs(h), 1078)
    arr = px.reshape(abs(h), pitch)[::-1, :w].copy()
    return arr, table


def to_rgb(arr, key=None, checker=True):
    lut = np.array(PAL, np.uint8)
    rgb = lut[arr]
    if key is not None and checker:
        h, w = arr.shape
        yy, xx = np.mgrid[0:h, 0:w]
        chk = (((yy // 4) + (xx // 4)) % 2).astype(bool)
        bg = np.where(chk[..., None], np.uint8(200), np.uint8(150))
        rgb = np.where((arr == key)[..., None], bg, rgb)
    return rgb

# ---------------------------------------------------------------- masks


def grid(h, w):
    yy, xx = np.mgrid[0:h, 0:w]
    return xx + 0.5, yy + 0.5


def ell(h, w, cx, cy, rx, ry, rot=0.0):
    x, y = grid(h, w)
    dx, dy = x - cx, y - cy
    if rot:
        c, s = np.cos(rot), np.sin(rot)
        dx, dy = dx * c + dy * s, -dx * s + dy * c
    return (dx / max(rx, 0.01)) ** 2 + (dy / max(ry, 0.01)) ** 2 <= 1.0


def cap(h, w, x1, y1, x2, y2, r):
    """Capsule: all pixels within r of the segment."""
    x, y = grid(h, w)
    vx, vy = x2 - x1, y2 - y1
    ll = vx * vx + vy * vy
    t = np.clip(((x - x1) * vx + (y - y1) * vy) / ll if ll else 0 * x, 0, 1)
    dx, dy = x - (x1 + t * vx), y - (y1 + t * vy)
    return dx * dx + dy * dy <= r * r


def poly(h, w, pts):
    im = Image.new("L", (w, h), 0)
    ImageDraw.Draw(im).polygon([(float(a), float(b)) for a, b in pts], fill=1)
    return np.array(im).astype(bool)


def rect(h, w, x0, y0, x1, y1):
    m = np.zeros((h, w), bool)
    m[max(0, int(y0)):max(0, int(y1)), max(0, int(x0)):max(0, int(x1))] = True
    return m


def shift(m, dx, dy):
    out = np.zeros_like(m)
    h, w = m.shape
    ys0, ys1 = max(0, -dy), min(h, h - dy)
    xs0, xs1 = max(0, -dx), min(w, w - dx)
    if ys1 > ys0 and xs1 > xs0:
        out[ys0 + dy:ys1 + dy, xs0 + dx:xs1 + dx] = m[ys0:ys1, xs0:xs1]
    return out


def dilate(m, r=1, square=False):
    out = m.copy()
    for dy in range(-r, r + 1):
        for dx in range(-r, r + 1):
            if (dx or dy) and (square or dx * dx + dy * dy <= r * r + r * 0.5):
                out |= shift(m, dx, dy)
    return out


def erode(m, r=1):
    return ~dilate(~m, r)


BAYER4 = np.array([[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9],
                   [15, 7, 13, 5]]) / 16.0 + 1 / 32.0


def bayer(h, w):
    return np.tile(BAYER4, (h // 4 + 1, w // 4 + 1))[:h, :w]

# ---------------------------------------------------------------- canvas


class Pic:
    def __init__(self, w, h, bg=KEY):
        self.w, self.h = w, h
        self.a = np.full((h, w), bg, np.uint8)

    # masks in this picture's size
    def ell(self, *a, **k):
        return ell(self.h, self.w, *a, **k)

    def cap(self, *a):
        return cap(self.h, self.w, *a)

    def poly(self, pts):
        return poly(self.h, self.w, pts)

    def rect(self, *a):
        return rect(self.h, self.w, *a)

    def fill(self, m, idx):
        self.a[m] = idx

    def shade(self, m, ramp, ow=1, out=OUT, tones=(-2, 0, 2), light=(-0.55, -0.8),
              hi=0.42, lo=-0.3, box=None):
        """Outlined part with three tones, lit from the top left."""
        if not m.any():
            return
        if ow:
            self.a[dilate(m, ow) & ~m] = out
        ys, xs = np.nonzero(m)
        if box is None:
            x0, x1, y0, y1 = xs.min(), xs.max() + 1, ys.min(), ys.max() + 1
        else:
            x0, y0, x1, y1 = box
        cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
        rx, ry = max(1, (x1 - x0) / 2), max(1, (y1 - y0) / 2)
        u = (xs + 0.5 - cx) / rx
        v = (ys + 0.5 - cy) / ry
        lv = u * light[0] + v * light[1]
        vals = np.where(lv > hi, R(ramp, tones[2]),
                        np.where(lv < lo, R(ramp, tones[0]), R(ramp, tones[1])))
        self.a[ys, xs] = vals

    def outline_only(self, m, ow=1, out=OUT):
        self.a[dilate(m, ow) & ~m] = out

    def paste(self, other, x, y, key=KEY):
        src = other.a if isinstance(other, Pic) else other
        h, w = src.shape
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(self.w, x + w), min(self.h, y + h)
        if x1 <= x0 or y1 <= y0:
            return
        s = src[y0 - y:y1 - y, x0 - x:x1 - x]
        d = self.a[y0:y1, x0:x1]
        if key is None:
            d[:] = s
        else:
            d[s != key] = s[s != key]

# ---------------------------------------------------------------- lettering

_font_cache = {}


def font(path, size):
    k = (path, size)
    if k not in _font_cache:
        _font_cache[k] = ImageFont.truetype(path, size)
    return _font_cache[k]


def _render(text, path=BOLD, size=160):
    f = font(path, size)
    l, t, r, b = f.getbbox(text)
    im = Image.new("L", (r - l + 8, b - t + 8), 0)
    ImageDraw.Draw(im).text((4 - l, 4 - t), text, font=f, fill=255)
    return im


def text_mask(text, w, h, path=BOLD, min_aspect=0.62):
    """Binary mask of text fitted to at most w x h (crisp, no smoothing)."""
    im = _render(text, path)
    bb = im.getbbox()
    im = im.crop(bb)
    iw, ih = im.size
    th = h
    tw = iw * th / ih
    if tw > w:
        if w / tw >= min_aspect:
            tw = w
        else:
            th = max(3, int(h * (w / tw) / min_aspect))
            tw = w
    tw, th = max(1, int(round(tw))), max(1, int(round(th)))
    sm = im.resize((tw, th), Image.LANCZOS)
    return np.array(sm) >= 118


def place(mask, W, H, ax=0.5, ay=0.5, dx=0, dy=0):
    out = np.zeros((H, W), bool)
    h, w = mask.shape
    x = int(round((W - w) * ax)) + dx
    y = int(round((H - h) * ay)) + dy
    x0, y0 = max(0, x), max(0, y)
    x1, y1 = min(W, x + w), min(H, y + h)
    out[y0:y1, x0:x1] = mask[y0 - y:y1 - y, x0 - x:x1 - x]
    return out


def grad_fill(pic, m, ramp_idx, y0=None, y1=None):
    """Vertical gradient over the rows of m through the given index list."""
    ys, xs = np.nonzero(m)
    if len(ys) == 0:
        return
    a = ys.min() if y0 is None else y0
    b = ys.max() + 1 if y1 is None else y1
    t = np.clip((ys + 0.5 - a) / max(1, b - a), 0, 0.9999)
    pic.a[ys, xs] = np.array(ramp_idx, np.uint8)[(t * len(ramp_idx)).astype(int)]


def lettering(pic, text, colours, box=None, ow=2, out=OUT, shadow=1,
              path=BOLD, ax=0.5, ay=0.5, min_aspect=0.62, shine=True):
    """Outlined, gradient-filled text fitted into box (x, y, w, h)."""
    if box is None:
        box = (0, 0, pic.w, pic.h)
    bx, by, bw, bh = box
    m = text_mask(text, bw - 2 * ow - shadow, bh - 2 * ow - shadow, path, min_aspect)
    full = np.zeros((pic.h, pic.w), bool)
    sub = place(m, bw - shadow, bh - shadow, ax, ay)
    full[by:by + bh - shadow, bx:bx + bw - shadow] = sub
    ring = dilate(full, ow)
    if shadow:
        sh = shift(ring, shadow, shadow) & ~ring
        pic.a[sh] = out
    pic.a[ring & ~full] = out
    grad_fill(pic, full, colours)
    if shine:
        # a thin light line on the top edge of each stroke
        top = full & ~shift(full, 0, 1)
        pic.a[top & full] = colours[0]
    return full

def gradients():
    """The lettering gradients, listed top to bottom."""
    g = {}
    g["gold"] = [R("yellow", 5), R("yellow", 3), R("yellow", 1), R("yellow", 0),
                 R("gold", 0), R("orange", 0), R("orange", -1)]
    g["sky"] = [WHITE, R("sky", 4), R("sky", 2), R("sky", 0), R("sky", -2), R("sky", -3)]
    g["white_blue"] = [WHITE, WHITE, R("blue", 4), R("blue", 2), R("blue", 0), R("blue", -1)]
    g["white_orange"] = [WHITE, WHITE, R("orange", 4), R("orange", 2), R("orange", 0), R("orange", -1)]
    g["green"] = [R("lime", 5), R("green", 3), R("green", 1), R("green", 0), R("green", -1), R("green", -2)]
    g["red"] = [R("red", 5), R("red", 3), R("red", 1), R("red", 0), R("red", -1), R("red", -2)]
    g["silver"] = [WHITE, R("metal", 4), R("metal", 2), R("metal", 0), R("metal", -1), R("metal", -2)]
    g["grey"] = [R("neutral", 5), R("neutral", 3), R("neutral", 1), R("neutral", 0), R("neutral", -1)]
    for p, rn in enumerate(PLAYER_RAMP):
        g["p%d" % p] = [R(rn, 5), R(rn, 3), R(rn, 1), R(rn, 0), R(rn, -1), R(rn, -2)]
        g["pw%d" % p] = [WHITE, R(rn, 4), R(rn, 2), R(rn, 0), R(rn, -1), R(rn, -2)]
    return g


G = gradients()
