"""The painter character, drawn at any scale from one 38 x 40 design."""
import math

from artlib import R, OUT, WHITE, PLAYER_RAMP, dilate


class Painter:
    """Draws one painter onto pic; design units are pixels of a 38x40 cell."""

    def __init__(self, pic, ox, oy, k, player, ow=None, pale=False):
        self.p = pic
        self.ox, self.oy, self.k = ox, oy, k
        self.ramp = PLAYER_RAMP[player] if player is not None else "neutral"
        self.ow = ow if ow is not None else max(1, int(round(k * 0.85)))
        self.pale = pale

    # design -> pixels
    def E(self, cx, cy, rx, ry, rot=0.0):
        k = self.k
        return self.p.ell(self.ox + cx * k, self.oy + cy * k, rx * k, ry * k, rot)

    def C(self, x1, y1, x2, y2, r):
        k = self.k
        return self.p.cap(self.ox + x1 * k, self.oy + y1 * k,
                          self.ox + x2 * k, self.oy + y2 * k, r * k)

    def P(self, pts):
        k = self.k
        return self.p.poly([(self.ox + x * k, self.oy + y * k) for x, y in pts])

    def part(self, m, ramp, **kw):
        kw.setdefault("ow", self.ow)
        self.p.shade(m, ramp, **kw)

    def skin(self):
        return "paper" if self.pale else "skin"

    def dot(self, m, idx):
        self.p.fill(m, idx)

    # ------------------------------------------------------------ pieces
    def feet(self, lift_l=0.0, lift_r=0.0, dx_l=0.0, dx_r=0.0):
        self.part(self.E(13.5 + dx_l, 37.6 - lift_l, 4.2, 2.3), "brown")
        self.part(self.E(24.5 + dx_r, 37.6 - lift_r, 4.2, 2.3), "brown")

    def body(self, dy=0.0, squash=1.0):
        ramp = "metal" if self.pale else self.ramp
        m = self.E(19, 29.5 + dy, 10.2 * squash, 8.6 / squash)
        self.part(m, ramp)
        # white collar and a pocket give the overalls some shape
        if self.k >= 2:
            self.part(self.E(19, 22.6 + dy, 5.5, 1.8) & m, "neutral", tones=(3, 5, 5),
                      ow=max(1, self.ow // 2))
            self.part(self.P([(16, 29 + dy), (22, 29 + dy), (21.5, 33 + dy), (16.5, 33 + dy)]),
                      ramp, tones=(-2, -1, -1), ow=max(1, self.ow // 2))
        return m

    def head(self, dy=0.0, tilt=0.0):
        tones = (-3, -1, 1) if self.pale else (-2, 0, 2)
        self.part(self.E(19, 14.5 + dy, 11, 9.6, tilt), self.skin(), tones=tones)

    def cap(self, dy=0.0, tilt=0.0, droop=False):
        ramp = "neutral" if self.pale else self.ramp
        k = self.k
        dome = self.E(19, 11.2 + dy, 11.2, 7.8, tilt)
        cut = self.p.poly([(self.ox - 5 * k, self.oy + (12.4 + dy - 7 * tilt) * k),
                           (self.ox + 45 * k, self.oy + (12.4 + dy + 9 * tilt) * k),
                           (self.ox + 45 * k, self.oy - 30 * k), (self.ox - 5 * k, self.oy - 30 * k)])
        self.part(dome & cut, ramp)
        by = 12.1 + dy + (1.5 if droop else 0)
        self.part(self.E(21.5, by, 12.2, 1.8, tilt), ramp, tones=(-2, -1, 1))
        self.part(self.E(19 - 3 * tilt * 10, 3.7 + dy, 1.7, 1.3), ramp, tones=(0, 2, 4))

    def eyes(self, dy=0.0, style="open", look=(0.4, 0.7)):
        o = self.ow
        eo = max(1, o * 2 // 3)
        for ex in (14.8, 23.2):
            if style == "open":
                w = self.E(ex, 17.0 + dy, 2.45, 3.1)
                self.p.a[dilate(w, eo) & ~w] = OUT
                self.dot(w, WHITE)
                self.dot(self.E(ex + look[0], 17.0 + dy + look[1], 1.45, 2.1) & w, OUT)
                self.dot(self.E(ex - 0.3, 16.1 + dy, 0.55, 0.7) | self.E(ex - 0.3, 16.1 + dy, 0.5, 0.5), WHITE)
            elif style == "happy":
                arc = self.C(ex - 2.2, 17.2 + dy, ex - 1, 15.4 + dy, 0.5) | self.C(ex - 1, 15.4 + dy, ex + 1, 15.4 + dy, 0.5) | self.C(ex + 1, 15.4 + dy, ex + 2.2, 17.2 + dy, 0.5)
                self.dot(arc, OUT)
            elif style == "tired":
                # half-shut eyes: a lid drooping at the outer corner over a small pupil
                cy = 17.4 + dy
                side = -1 if ex < 19 else 1
                lid = (self.C(ex + side * 2.3, cy + 0.8, ex, cy - 0.3, 0.5)
                       | self.C(ex, cy - 0.3, ex - side * 2.3, cy - 0.3, 0.5))
                self.dot(lid, OUT)
                self.dot(self.E(ex, cy + 1.0, 1.0, 0.8), OUT)
            elif style == "dizzy":
                # knocked silly: crossed-out eyes read at any size
                cy = 16.6 + dy
                w = self.E(ex, cy, 2.45, 3.0)
                self.p.a[dilate(w, eo) & ~w] = OUT
                self.dot(w, WHITE)
                m = self.C(ex - 1.6, cy - 1.6, ex + 1.6, cy + 1.6, 0.5) | self.C(ex - 1.6, cy + 1.6, ex + 1.6, cy - 1.6, 0.5)
                self.dot(m, OUT)

    def cheeks(self, dy=0.0):
        blush = R("skin", 4) if not self.pale else R("ice", 1)
        self.dot(self.E(11.0, 20.4 + dy, 1.7, 1.0), blush)
        self.dot(self.E(27.0, 20.4 + dy, 1.7, 1.0), blush)

    def mouth(self, dy=0.0, style="smile"):
        if style == "smile":
            m = self.C(17.6, 21.8 + dy, 19, 22.5 + dy, 0.5) | self.C(19, 22.5 + dy, 20.4, 21.8 + dy, 0.5)
            self.dot(m, OUT)
        elif style == "open":
            m = self.E(19, 21.6 + dy, 2.4, 1.9) & self.p.rect(0, self.oy + (21.0 + dy) * self.k, 9999, 9999)
            self.p.a[dilate(m, 1) & ~m] = OUT
            self.dot(m, R("red", -2))
            self.dot(self.E(19, 23.0 + dy, 1.4, 0.8) & m, R("red", 2))
        elif style == "o":
            m = self.E(19, 22 + dy, 1.2, 1.4)
            self.p.a[dilate(m, 1) & ~m] = OUT
            self.dot(m, R("red", -3))
        elif style == "frown":
            m = self.C(17.4, 23.0 + dy, 19, 22.2 + dy, 0.5) | self.C(19, 22.2 + dy, 20.6, 23.0 + dy, 0.5)
            self.dot(m, OUT)

    def arm(self, x1, y1, x2, y2):
        ramp = "metal" if self.pale else self.ramp
        self.part(self.C(x1, y1, x2, y2, 2.0), ramp)
        self.part(self.E(x2, y2, 2.2, 2.2), self.skin())

    def brush(self, x1, y1, x2, y2, tip_r=3.4, droop=False):
        """Handle from (x1, y1) to the ferrule at (x2, y2); bristles beyond."""
        ramp = "neutral" if self.pale else self.ramp
        dx, dy = x2 - x1, y2 - y1
        n = math.hypot(dx, dy)
        ux, uy = dx / n, dy / n
        self.part(self.C(x1, y1, x2, y2, 1.25), "wood")
        fx, fy = x2 + ux * 1.6, y2 + uy * 1.6
        self.part(self.C(x2, y2, fx, fy, 2.1), "metal")
        bx, by = fx + ux * (tip_r + 1.0), fy + uy * (tip_r + 1.0)
        ang = math.atan2(uy, ux)
        self.part(self.E(bx, by, tip_r * 1.35, tip_r, ang), ramp)
        if not self.pale:
            # a fresh blob of paint at the tip
            tx, ty = bx + ux * tip_r * 0.9, by + uy * tip_r * 0.9
            self.dot(self.E(tx, ty, tip_r * 0.55, tip_r * 0.55), R(ramp, 0))
            self.dot(self.E(bx - uy * tip_r * 0.4 - ux, by + ux * tip_r * 0.4 - uy, 0.7, 0.7), R(ramp, 3))

    def hand(self, x, y):
        self.part(self.E(x, y, 2.3, 2.3), self.skin())

    # ------------------------------------------------------------ poses
    def walk(self, f):
        bob = [0, -1, 0, -1][f % 4]
        ll = [0, 1.6, 0, 0][f % 4]
        lr = [0, 0, 0, 1.6][f % 4]
        sway = [0, 0.9, 0, -0.9][f % 4]
        self.feet(ll, lr)
        self.body(bob)
        self.arm(10.5, 25.5 + bob, 7.0 - sway * 0.5, 30.5 + bob)
        self.head(bob)
        self.cap(bob)
        self.eyes(bob)
        self.cheeks(bob)
        self.mouth(bob)
        self.brush(30.8, 34 + bob, 33.0 + sway, 13.5 + bob, 3.2)
        self.hand(30.2, 28.0 + bob)

    def drained(self, f):
        bob = [0, 1, 0, 1][f % 4]
        ll = [0, 1.0, 0, 0][f % 4]
        lr = [0, 0, 0, 1.0][f % 4]
        self.feet(ll, lr)
        self.body(1.2 + bob, 1.05)
        self.arm(10.5, 27 + bob, 8.5, 33 + bob)
        self.head(2.0 + bob)
        self.cap(2.0 + bob, droop=True)
        self.eyes(2.0 + bob, "tired")
        self.mouth(2.0 + bob, "frown")
        # a drooping brush, bristles to the floor
        self.brush(29.0, 27 + bob, 30.2, 31.0, 2.3)
        self.hand(29.0, 29.5 + bob)
        # sweat drop
        self.part(self.E(30.5, 9 + bob, 1.4, 2.0), "ice", tones=(0, 2, 4))

    def bounce(self):
        self.feet(1.5, 3.0, -1, 1)
        self.body(0.5)
        self.arm(10, 26, 5.5, 22)
        self.brush(28.5, 33, 32.5, 18.5, 2.8)
        self.hand(29.5, 29)
        self.head(1.0, 0.05)
        self.cap(0.5, 0.05)
        self.eyes(1.0, "dizzy")
        self.mouth(1.0, "o")

    def cheer(self, f=0):
        self.feet(0, 0)
        self.body(0)
        self.arm(10.5, 25, 4.5, 16)
        self.head(0)
        self.cap(0)
        self.eyes(0, "happy")
        self.cheeks(0)
        self.mouth(0, "open")
        self.brush(31.5, 23, 34.5, 9.5, 3.4)
        self.arm(27.5, 25, 32.5, 17.5)
