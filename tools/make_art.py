#!/usr/bin/env python3
"""Draws Quillory's pictures: the about picture and the program icon.

    python3 tools/make_art.py

writes res/about.png (300 x 250, 8-bit RGB), res/quillory.ico (16, 32 and
48 pixels, 32-bit with alpha) and res/wizard.bmp (164 x 314, 24-bit: the
setup program's welcome and finish pages), plus PNG previews in
/tmp/art-preview/.
Everything is drawn here by code, standard library only, and the output is
the same on every run: there is no randomness, only a fixed integer hash.
"""

import math
import os
import struct
import sys
import zlib
from array import array

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES_DIR = os.path.join(ROOT, "res")
PREVIEW_DIR = "/tmp/art-preview"

ABOUT_W, ABOUT_H = 300, 250
WIZARD_W, WIZARD_H = 164, 314
ICON_SIZES = (16, 32, 48)
SEED = 1997  # the noise of the background; change it and the scales move

# Light comes from the upper left, a little towards the viewer.
_L = (-0.45, -0.62, 0.64)
_n = math.sqrt(sum(c * c for c in _L))
LIGHT = tuple(c / _n for c in _L)
_h = (LIGHT[0], LIGHT[1], LIGHT[2] + 1.0)
_n = math.sqrt(sum(c * c for c in _h))
HALFWAY = tuple(c / _n for c in _h)


# ---------------------------------------------------------------- helpers


def clamp(x, lo=0.0, hi=1.0):
    return lo if x < lo else hi if x > hi else x


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c0, c1, t):
    return (lerp(c0[0], c1[0], t), lerp(c0[1], c1[1], t), lerp(c0[2], c1[2], t))


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


def rgb(hexcode):
    """'#rrggbb' to a float triple."""
    v = int(hexcode.lstrip("#"), 16)
    return ((v >> 16) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0)


def gradient(stops, t):
    """Piecewise linear colour ramp over [(pos, colour), ...]."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0))
    return stops[-1][1]


def hash01(ix, iy, seed=SEED):
    """Integer hash of a lattice point to [0, 1); stable across Pythons."""
    h = (ix * 374761393 + iy * 668265263 + seed * 2246822519) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    h ^= h >> 16
    return h / 4294967296.0


def value_noise(x, y, seed=SEED):
    ix, iy = math.floor(x), math.floor(y)
    fx, fy = x - ix, y - iy
    fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    a = hash01(ix, iy, seed)
    b = hash01(ix + 1, iy, seed)
    c = hash01(ix, iy + 1, seed)
    d = hash01(ix + 1, iy + 1, seed)
    return lerp(lerp(a, b, fx), lerp(c, d, fx), fy)


def tube_light(base, nx, ny, ambient=0.38, diffuse=0.78, shine=0.5, power=22):
    """Shades a colour for a surface normal (nx, ny, up out of the picture)."""
    nz = math.sqrt(max(0.0, 1.0 - nx * nx - ny * ny))
    d = max(0.0, nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2])
    s = max(0.0, nx * HALFWAY[0] + ny * HALFWAY[1] + nz * HALFWAY[2]) ** power
    k = ambient + diffuse * d
    return (base[0] * k + shine * s, base[1] * k + shine * s, base[2] * k + shine * s)


# ---------------------------------------------------------------- rasters


class Canvas:
    """Premultiplied RGBA floats, one pixel per entry."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        n = w * h
        self.r = [0.0] * n
        self.g = [0.0] * n
        self.b = [0.0] * n
        self.a = [0.0] * n

    def put(self, x, y, colour, alpha=1.0):
        """Paints one pixel over what is there (used by the pixel font)."""
        if 0 <= x < self.w and 0 <= y < self.h:
            i = y * self.w + x
            k = 1.0 - alpha
            self.r[i] = colour[0] * alpha + self.r[i] * k
            self.g[i] = colour[1] * alpha + self.g[i] * k
            self.b[i] = colour[2] * alpha + self.b[i] * k
            self.a[i] = alpha + self.a[i] * k

    def draw(self, layer, dx=0, dy=0, opacity=1.0):
        """Composites a layer over the canvas (Porter-Duff over)."""
        for ly in range(layer.h):
            y = layer.y0 + ly + dy
            if not 0 <= y < self.h:
                continue
            for lx in range(layer.w):
                x = layer.x0 + lx + dx
                if not 0 <= x < self.w:
                    continue
                j = ly * layer.w + lx
                a = layer.a[j] * opacity
                if a <= 0.0:
                    continue
                i = y * self.w + x
                k = 1.0 - a
                self.r[i] = layer.r[j] * opacity + self.r[i] * k
                self.g[i] = layer.g[j] * opacity + self.g[i] * k
                self.b[i] = layer.b[j] * opacity + self.b[i] * k
                self.a[i] = a + self.a[i] * k

    def rgba8(self, x, y):
        """Straight (non-premultiplied) 8-bit RGBA of one pixel."""
        i = y * self.w + x
        a = self.a[i]
        if a <= 0.0:
            return (0, 0, 0, 0)
        q = lambda c: int(clamp(c / a) * 255.0 + 0.5)
        return (q(self.r[i]), q(self.g[i]), q(self.b[i]), int(clamp(a) * 255.0 + 0.5))


class Layer(Canvas):
    """A canvas that sits at (x0, y0) of a bigger picture."""

    def __init__(self, x0, y0, w, h):
        super().__init__(w, h)
        self.x0, self.y0 = x0, y0


class Field:
    """Supersampled signed distance field over a rectangle of the picture.

    Shapes are unions of tapered capsules and free-form distance functions;
    every sample remembers what it is nearest to (a tag, a position t along
    the stroke and the offset u, v from the stroke's spine in radii) so the
    shader can light it as a rounded tube.  Samples inside count towards the
    pixel's coverage: that is the anti-aliasing.
    """

    BIG = 1e9

    def __init__(self, x0, y0, w, h, ss):
        self.x0, self.y0, self.w, self.h, self.ss = x0, y0, w, h, ss
        self.sw, self.sh = w * ss, h * ss
        n = self.sw * self.sh
        self.d = array("d", [self.BIG]) * n
        self.t = array("d", [0.0]) * n
        self.u = array("d", [0.0]) * n
        self.v = array("d", [0.0]) * n
        self.tag = array("b", [0]) * n

    def _span(self, lo, hi, origin, count):
        s = self.ss
        i0 = max(0, math.ceil((lo - origin) * s - 0.5))
        i1 = min(count - 1, math.floor((hi - origin) * s - 0.5))
        return i0, i1

    def capsule(self, ax, ay, bx, by, ra, rb, ta=0.0, tb=0.0, tag=0):
        """A segment whose radius runs from ra at a to rb at b."""
        rm = max(ra, rb)
        i0, i1 = self._span(min(ax, bx) - rm, max(ax, bx) + rm, self.x0, self.sw)
        j0, j1 = self._span(min(ay, by) - rm, max(ay, by) + rm, self.y0, self.sh)
        ex, ey = bx - ax, by - ay
        ee = ex * ex + ey * ey or 1e-12
        inv = 1.0 / self.ss
        D, T, U, V, G = self.d, self.t, self.u, self.v, self.tag
        for j in range(j0, j1 + 1):
            py = self.y0 + (j + 0.5) * inv
            row = j * self.sw
            for i in range(i0, i1 + 1):
                px = self.x0 + (i + 0.5) * inv
                h = ((px - ax) * ex + (py - ay) * ey) / ee
                h = 0.0 if h < 0.0 else 1.0 if h > 1.0 else h
                qx, qy = px - (ax + ex * h), py - (ay + ey * h)
                r = ra + (rb - ra) * h
                dist = math.sqrt(qx * qx + qy * qy) - r
                k = row + i
                if dist < D[k]:
                    D[k] = dist
                    T[k] = ta + (tb - ta) * h
                    U[k] = qx / r
                    V[k] = qy / r
                    G[k] = tag

    def polyline(self, pts, radius, t0=0.0, t1=1.0, tag=0):
        """A stroke through pts; radius is a number or a function of t."""
        rf = radius if callable(radius) else (lambda t: radius)
        n = len(pts) - 1
        if n == 0:
            x, y = pts[0]
            self.capsule(x, y, x, y, rf(t0), rf(t0), t0, t0, tag)
            return
        for k in range(n):
            ta, tb = lerp(t0, t1, k / n), lerp(t0, t1, (k + 1) / n)
            (ax, ay), (bx, by) = pts[k], pts[k + 1]
            self.capsule(ax, ay, bx, by, rf(ta), rf(tb), ta, tb, tag)

    def shape(self, bbox, sdf, tag=0):
        """A free-form shape: sdf(x, y) is its signed distance (< 0 inside)."""
        i0, i1 = self._span(bbox[0], bbox[2], self.x0, self.sw)
        j0, j1 = self._span(bbox[1], bbox[3], self.y0, self.sh)
        inv = 1.0 / self.ss
        for j in range(j0, j1 + 1):
            py = self.y0 + (j + 0.5) * inv
            for i in range(i0, i1 + 1):
                px = self.x0 + (i + 0.5) * inv
                dist = sdf(px, py)
                k = j * self.sw + i
                if dist < self.d[k]:
                    self.d[k] = dist
                    self.tag[k] = tag

    def render(self, shade, grow=0.0):
        """Resolves the field into a layer; shade(x, y, sample) -> rgb[a].

        grow widens every shape by that many pixels (outlines, shadows).
        """
        ss, inv = self.ss, 1.0 / self.ss
        layer = Layer(self.x0, self.y0, self.w, self.h)
        norm = 1.0 / (ss * ss)
        for y in range(self.h):
            for x in range(self.w):
                r = g = b = a = 0.0
                for j in range(y * ss, y * ss + ss):
                    row = j * self.sw
                    py = self.y0 + (j + 0.5) * inv
                    for i in range(x * ss, x * ss + ss):
                        k = row + i
                        if self.d[k] >= grow:
                            continue
                        c = shade(self.x0 + (i + 0.5) * inv, py, self, k)
                        ca = c[3] if len(c) > 3 else 1.0
                        r += c[0] * ca
                        g += c[1] * ca
                        b += c[2] * ca
                        a += ca
                if a > 0.0:
                    p = y * self.w + x
                    layer.r[p], layer.g[p] = r * norm, g * norm
                    layer.b[p], layer.a[p] = b * norm, a * norm
        return layer


def box_blur(values, w, h, radius, passes=3):
    """Three box passes each way: close enough to a gaussian."""
    buf = list(values)
    for _ in range(passes):
        for horizontal in (True, False):
            out = [0.0] * (w * h)
            n_lines, n_along = (h, w) if horizontal else (w, h)
            for line in range(n_lines):
                idx = [(line * w + p) if horizontal else (p * w + line) for p in range(n_along)]
                acc = 0.0
                win = 2 * radius + 1
                vals = [buf[i] for i in idx]
                pre = [0.0]
                for v in vals:
                    pre.append(pre[-1] + v)
                for p in range(n_along):
                    lo, hi = max(0, p - radius), min(n_along, p + radius + 1)
                    acc = pre[hi] - pre[lo]
                    out[idx[p]] = acc / win
            buf = out
    return buf


def shadow_of(layer, radius, colour, margin=None):
    """A soft shadow layer shaped like the layer's coverage."""
    m = margin if margin is not None else radius * 3
    w, h = layer.w + 2 * m, layer.h + 2 * m
    alpha = [0.0] * (w * h)
    for y in range(layer.h):
        for x in range(layer.w):
            alpha[(y + m) * w + x + m] = layer.a[y * layer.w + x]
    alpha = box_blur(alpha, w, h, radius)
    out = Layer(layer.x0 - m, layer.y0 - m, w, h)
    for i, a in enumerate(alpha):
        out.r[i], out.g[i], out.b[i], out.a[i] = colour[0] * a, colour[1] * a, colour[2] * a, a
    return out


# ---------------------------------------------------------------- title font
# A rounded monoline display face of our own, drawn as strokes: units are the
# x-height, y grows downwards, the baseline is y = 0.


def arc(cx, cy, rx, ry, a0, a1, steps=24):
    """Points on an elliptic arc; angles in degrees, 90 is straight down."""
    return [
        (cx + rx * math.cos(math.radians(lerp(a0, a1, k / steps))),
         cy + ry * math.sin(math.radians(lerp(a0, a1, k / steps))))
        for k in range(steps + 1)
    ]


def title_glyphs():
    """Strokes and advance width of each letter of the title."""
    return {
        "Q": ([arc(0.70, -0.73, 0.68, 0.76, 0, 360, 48),
               [(0.66, -0.30), (0.86, -0.10), (1.10, 0.06), (1.34, 0.12), (1.56, 0.06)]], 1.52),
        "u": ([[(0.0, -1.0), (0.0, -0.44)] + arc(0.40, -0.44, 0.40, 0.44, 180, 0)[1:],
               [(0.80, -1.0), (0.80, 0.0)]], 0.80),
        "i": ([[(0.0, -1.0), (0.0, 0.0)], [(0.0, -1.42)]], 0.0),
        "l": ([[(0.0, -1.52), (0.0, -0.26)] + arc(0.26, -0.26, 0.26, 0.26, 180, 90, 10)[1:]], 0.24),
        "o": ([arc(0.46, -0.50, 0.46, 0.52, 0, 360, 40)], 0.92),
        "r": ([[(0.0, -1.0), (0.0, 0.0)], arc(0.52, -0.42, 0.52, 0.58, 180, 280, 16)], 0.60),
        "y": ([[(0.0, -1.0), (0.0, -0.44)] + arc(0.40, -0.44, 0.40, 0.44, 180, 0)[1:],
               [(0.80, -1.0), (0.80, 0.10)] + arc(0.40, 0.10, 0.40, 0.36, 0, 140, 16)[1:]], 0.80),
    }


def layout_title(text, xh, gap, centre_x, baseline):
    """Places the strokes of text in picture pixels, centred on centre_x."""
    glyphs = title_glyphs()
    pen, placed = 0.0, []
    for ch in text:
        strokes, adv = glyphs[ch]
        placed.append([[(pen + x, y) for x, y in s] for s in strokes])
        pen += adv + gap
    width = pen - gap
    x0 = centre_x - width * xh / 2.0
    return [[[(x0 + x * xh, baseline + y * xh) for x, y in s] for s in g] for g in placed]


# ---------------------------------------------------------------- pixel font
# A small proportional pixel face of our own: 7 rows above the baseline,
# 2 below for descenders.

PIXEL_FONT = {
    " ": ["...", "...", "...", "...", "...", "...", "..."],
    ".": [".", ".", ".", ".", ".", ".", "#"],
    ":": [".", ".", "#", ".", ".", ".", "#"],
    "-": ["...", "...", "...", "...", "###", "...", "..."],
    "&": [".##..", "#..#.", "#.#..", ".#...", "#.#.#", "#..#.", ".##.#"],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": [".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "d": ["....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "g": [".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."],
    "h": ["#....", "#....", "####.", "#...#", "#...#", "#...#", "#...#"],
    "i": [".#.", "...", "##.", ".#.", ".#.", ".#.", "###"],
    "k": ["#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#"],
    "l": ["##.", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "m": [".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"],
    "n": [".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#"],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "p": [".....", ".....", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."],
    "r": ["....", "....", "#.##", "##..", "#...", "#...", "#..."],
    "s": [".....", ".....", ".####", "#....", ".###.", "....#", "####."],
    "t": [".#..", ".#..", "####", ".#..", ".#..", ".#..", "..##"],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#...#", ".####"],
    "w": [".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
    "y": [".....", ".....", "#...#", "#...#", "#...#", "#...#", ".####", "....#", ".###."],
}


def text_width(text):
    return sum(len(PIXEL_FONT[ch][0]) + 1 for ch in text) - 1


def draw_text(canvas, x, y, text, colour, shadow=(0.0, 0.0, 0.0), shadow_alpha=0.75):
    """Pixel text with its top at y; a one-pixel drop shadow keeps it legible."""
    for ch in text:
        if ch not in PIXEL_FONT:
            raise KeyError("pixel font has no glyph for %r" % ch)
    for dx, dy, col, alpha in ((1, 1, shadow, shadow_alpha), (0, 0, colour, 1.0)):
        pen = x
        for ch in text:
            rows = PIXEL_FONT[ch]
            for ry, row in enumerate(rows):
                for rx, bit in enumerate(row):
                    if bit == "#":
                        canvas.put(pen + rx + dx, y + ry + dy, col, alpha)
            pen += len(rows[0]) + 1


def draw_text_runs(canvas, y, runs):
    """A centred line made of (text, colour) runs."""
    total = text_width("".join(t for t, _ in runs))
    x = (canvas.w - total) // 2
    for text, colour in runs:
        draw_text(canvas, x, y, text, colour)
        x += text_width(text) + 1


# ---------------------------------------------------------------- about: background


def scale_pattern(x, y, sx, sy):
    """Overlapping snake-skin scales: (distance from the scale's centre in
    radii, vertical position within it) of the scale on top at (x, y)."""
    jy = math.floor(y / sy)
    radius = sx * 0.62
    best = None
    for j in (jy + 2, jy + 1, jy):  # lower rows overlap upper ones
        off = (sx * 0.5) if j & 1 else 0.0
        i = math.floor((x - off) / sx + 0.5)
        for ii in (i - 1, i, i + 1):
            cx, cy = ii * sx + off, j * sy
            d = math.hypot(x - cx, y - cy) / radius
            if d < 1.0 and y <= cy + 0.15 * radius:
                best = (d, (y - (cy - radius)) / radius)
                break
        if best:
            return best
    return (1.0, 1.0)


def draw_background(canvas):
    """Deep teal with a faint snake-skin pattern, cloudy noise and a vignette."""
    top, bottom = rgb("#123f3b"), rgb("#07201f")
    w, h = canvas.w, canvas.h
    for y in range(h):
        for x in range(w):
            base = mix(top, bottom, y / (h - 1))
            # scales, gently embossed: darker rims, lit tops
            d, v = scale_pattern(x + 0.5, y + 0.5, 13.0, 7.0)
            emboss = 1.0 + 0.10 * (1.0 - v) * (1.0 - d) - 0.16 * smoothstep(0.72, 1.0, d)
            # clouds and a whisper of grain, from the fixed hash
            cloud = value_noise(x / 38.0, y / 38.0) * 0.6 + value_noise(x / 13.0, y / 13.0, SEED + 7) * 0.4
            grain = hash01(x, y, SEED + 11) - 0.5
            k = emboss * (0.82 + 0.36 * cloud) + 0.035 * grain
            # vignette: darker towards the corners
            nx, ny = (x - w / 2) / (w / 2), (y - h * 0.45) / (h / 2)
            k *= 1.0 - 0.45 * smoothstep(0.35, 1.5, nx * nx + ny * ny)
            i = y * w + x
            canvas.r[i], canvas.g[i], canvas.b[i] = base[0] * k, base[1] * k, base[2] * k
            canvas.a[i] = 1.0


def draw_glow(canvas, cx, cy, radius, colour, strength):
    """Adds a soft round glow (light spilling on the skin)."""
    for y in range(max(0, int(cy - radius)), min(canvas.h, int(cy + radius) + 1)):
        for x in range(max(0, int(cx - radius)), min(canvas.w, int(cx + radius) + 1)):
            d = math.hypot(x + 0.5 - cx, (y + 0.5 - cy) * 1.4) / radius
            if d < 1.0:
                k = strength * (1.0 - d) ** 2
                i = y * canvas.w + x
                canvas.r[i] += colour[0] * k
                canvas.g[i] += colour[1] * k
                canvas.b[i] += colour[2] * k


# ---------------------------------------------------------------- about: snake

SS = 4  # samples per pixel edge for the shapes


def snake_path():
    """Centre line of the about snake, tail to head, about every 2.5 px."""
    pts = []
    x_tail, x_head = 26.0, 214.0
    steps = 120
    for k in range(steps + 1):
        t = k / steps
        x = lerp(x_tail, x_head, t)
        # the wave calms down near the head so it looks where it is going
        amp = 21.0 * math.sin(math.pi * min(1.0, 0.25 + t * 0.95)) + 2.0
        y = 139.0 + amp * math.sin(t * math.tau * 1.55 + 0.5) - 8.0 * t
        pts.append((x, y))
    return pts


def snake_radius(t):
    return 1.2 + 9.0 * smoothstep(0.0, 0.55, t) - 2.6 * smoothstep(0.84, 1.0, t)


class SnakeHead:
    """Where the head sits and which way it looks."""

    def __init__(self, pts):
        (ax, ay), (bx, by) = pts[-4], pts[-1]
        n = math.hypot(bx - ax, by - ay)
        self.dx, self.dy = (bx - ax) / n, (by - ay) / n
        self.cx, self.cy = bx + self.dx * 6.0, by + self.dy * 6.0
        self.half_len, self.half_wid = 13.5, 10.0

    def local(self, x, y):
        """(along, across) in pixels relative to the head's centre."""
        qx, qy = x - self.cx, y - self.cy
        return qx * self.dx + qy * self.dy, -qx * self.dy + qy * self.dx

    def world(self, a, b):
        return (self.cx + a * self.dx - b * self.dy, self.cy + a * self.dy + b * self.dx)

    def ellipse(self, a, b):
        # a wedge-shaped head: wide behind the eyes, rounder at the snout
        wid = self.half_wid * (1.0 - 0.22 * smoothstep(-2.0, 12.0, a))
        return math.sqrt((a / self.half_len) ** 2 + (b / wid) ** 2), wid

    def sdf(self, x, y):
        a, b = self.local(x, y)
        e, wid = self.ellipse(a, b)
        return (e - 1.0) * min(self.half_len, wid)


SKIN = [(0.0, rgb("#2f5a1c")), (0.45, rgb("#4f9a2a")), (1.0, rgb("#78c23a"))]
MARK = rgb("#1d3a12")
MARK_EDGE = rgb("#d7c95a")
BELLY = rgb("#c9d46a")


def skin_colour(along, across, t, marks=True):
    """Body colour at arc length `along` (px) and `across` (-1..1)."""
    base = gradient(SKIN, t)
    # diamonds down the back, edged in yellow
    phase = along / 14.0
    fr = phase - math.floor(phase)
    dia = abs(fr - 0.5) * 2.0 + abs(across) * 1.7
    fade = smoothstep(0.03, 0.25, t) if marks else 0.0
    if dia < 0.78:
        base = mix(base, MARK, 0.8 * fade)
    elif dia < 0.98:
        base = mix(base, MARK_EDGE, 0.45 * fade)
    # paler flanks
    base = mix(base, BELLY, 0.55 * smoothstep(0.72, 1.0, abs(across)))
    # small scales: a hex lattice in body coordinates, rims a touch darker
    sy = across * 4.0
    row = math.floor(sy / 0.85)
    sx = along / 2.4 + (0.5 if row & 1 else 0.0)
    fx = sx - math.floor(sx) - 0.5
    fy = sy / 0.85 - row - 0.5
    rim = smoothstep(0.25, 0.5, max(abs(fx), abs(fy) * 0.9))
    k = 1.0 - 0.18 * rim
    return (base[0] * k, base[1] * k, base[2] * k)


def wizard_snake_path():
    """The setup picture's snake: the same calming wave, down the picture."""
    pts = []
    steps = 120
    for k in range(steps + 1):
        t = k / steps
        amp = 24.0 * math.sin(math.pi * min(1.0, 0.25 + t * 0.95)) + 2.0
        pts.append((80.0 - amp * math.sin(t * math.tau * 1.55 + 0.5) + 4.0 * t, lerp(86.0, 226.0, t)))
    return pts


def draw_snake(canvas, pts, box):
    """The snake along pts, tail to head; box (x, y, w, h) holds its body."""
    lengths = [0.0]
    for (ax, ay), (bx, by) in zip(pts, pts[1:]):
        lengths.append(lengths[-1] + math.hypot(bx - ax, by - ay))
    total = lengths[-1]
    head = SnakeHead(pts)

    field = Field(*box, SS)
    n = len(pts) - 1
    for k in range(n):
        (ax, ay), (bx, by) = pts[k], pts[k + 1]
        ta, tb = k / n, (k + 1) / n
        field.capsule(ax, ay, bx, by, snake_radius(ta), snake_radius(tb), ta, tb, tag=0)
    hx0, hy0 = head.cx - 16, head.cy - 16
    field.shape((hx0, hy0, hx0 + 32, hy0 + 32), head.sdf, tag=1)

    def shade(x, y, f, k):
        if f.tag[k] == 1:
            a, b = head.local(x, y)
            e, wid = head.ellipse(a, b)
            base = skin_colour(total + a, b / wid * 0.9, 1.0, marks=False)
            # head top: a darker cap between the eyes
            cap = math.hypot((a + 1.0) / 8.0, b / 4.2)
            if cap < 1.0:
                base = mix(base, MARK, 0.55 * (1.0 - cap * cap))
            # normal of a flattened ellipsoid, turned back into the picture
            la, lb = a / head.half_len * 0.8, b / wid * 0.95
            nx = la * head.dx - lb * head.dy
            ny = la * head.dy + lb * head.dx
            return tube_light(base, nx * 0.92, ny * 0.92, shine=0.45)
        t = f.t[k]
        u, v = f.u[k], f.v[k]
        # which side of the spine: the sign of the offset against the direction
        seg = min(n - 1, int(t * n))
        (ax, ay), (bx, by) = pts[seg], pts[seg + 1]
        dl = math.hypot(bx - ax, by - ay) or 1.0
        across = (-(u * (by - ay)) + v * (bx - ax)) / dl
        base = skin_colour(t * total, across, t)
        return tube_light(base, u * 0.95, v * 0.95)

    body = field.render(shade)
    canvas.draw(shadow_of(body, 3, (0.0, 0.02, 0.02)), 3, 5, 0.75)
    canvas.draw(body)
    draw_eyes(canvas, head)
    draw_tongue(canvas, head)
    return head


def draw_eyes(canvas, head):
    """Amber eyes with a round pupil and a glint, one each side of the head."""
    field = Field(int(head.cx) - 16, int(head.cy) - 16, 32, 32, 6)
    eyes = [head.world(2.5, side * 6.4) for side in (-1, 1)]
    for ex, ey in eyes:
        field.capsule(ex, ey, ex, ey, 2.9, 2.9)

    def shade(x, y, f, k):
        ex, ey = min(eyes, key=lambda e: math.hypot(x - e[0], y - e[1]))
        dx, dy = x - ex, y - ey
        r = math.hypot(dx, dy)
        if r > 2.3:
            return rgb("#10200c")  # eyelid rim
        # pupil looks forward, glint towards the light
        px, py = head.dx * 0.5, head.dy * 0.5
        if math.hypot(dx - px, dy - py) < 1.15:
            col = (0.02, 0.02, 0.02)
        else:
            col = mix(rgb("#ffe27a"), rgb("#d07a12"), r / 2.3)
        if math.hypot(dx + 0.8, dy + 0.8) < 0.6:
            col = (1.0, 1.0, 0.95)
        return col

    canvas.draw(field.render(shade))


def draw_tongue(canvas, head):
    """A forked red tongue flicking towards the food."""
    field = Field(int(head.cx) - 32, int(head.cy) - 32, 64, 64, 6)
    base = head.world(head.half_len - 1.0, 0.0)
    fork = head.world(head.half_len + 7.0, 0.3)
    tips = [head.world(head.half_len + 11.0, -2.6), head.world(head.half_len + 11.5, 2.2)]
    field.capsule(base[0], base[1], fork[0], fork[1], 0.9, 0.75)
    for tx, ty in tips:
        field.capsule(fork[0], fork[1], tx, ty, 0.7, 0.4)
    tongue = field.render(lambda x, y, f, k: tube_light(rgb("#d6283c"), f.u[k], f.v[k], shine=0.3))
    canvas.draw(tongue)


def draw_apple(canvas, cx, cy, r):
    """The food: a glossy red apple with a stem and a leaf."""
    field = Field(int(cx - r - 6), int(cy - r - 8), int(2 * r + 14), int(2 * r + 14), SS)

    def apple_sdf(x, y):
        dx, dy = x - cx, y - cy
        # two overlapping lobes give the apple its shoulders and top dimple
        d1 = math.hypot(dx + r * 0.32, dy * 1.05) - r * 0.78
        d2 = math.hypot(dx - r * 0.32, dy * 1.05) - r * 0.78
        k = r * 0.35
        h = clamp(0.5 + 0.5 * (d2 - d1) / k)
        return lerp(d2, d1, h) - k * h * (1.0 - h)

    field.shape((cx - r * 1.3, cy - r * 1.3, cx + r * 1.3, cy + r * 1.3), apple_sdf, tag=0)
    field.polyline([(cx, cy - r * 0.6), (cx + 0.6, cy - r - 1.5), (cx + 1.6, cy - r - 3.5)], 0.75, tag=1)
    leaf = lambda x, y: leaf_sdf(x, y, cx + 2.5, cy - r - 2.2, 4.2, 1.9, -0.5)
    field.shape((cx - 4, cy - r - 9, cx + 10, cy - r + 3), leaf, tag=2)

    def shade(x, y, f, k):
        tag = f.tag[k]
        if tag == 1:
            return tube_light(rgb("#6b4322"), f.u[k], f.v[k], shine=0.1)
        if tag == 2:
            return tube_light(rgb("#5cb52e"), 0.0, 0.0, shine=0.0)
        nx, ny = (x - cx) / (r * 1.1), (y - cy) / (r * 1.1)
        base = mix(rgb("#ff4a3a"), rgb("#9a0f18"), clamp(0.5 + 0.5 * (nx + ny)))
        return tube_light(base, nx, ny, ambient=0.45, shine=0.9, power=30)

    apple = field.render(shade)
    canvas.draw(shadow_of(apple, 2, (0.0, 0.0, 0.0)), 2, 4, 0.7)
    canvas.draw(apple)


def leaf_sdf(x, y, cx, cy, half_len, half_wid, angle):
    c, s = math.cos(angle), math.sin(angle)
    a, b = (x - cx) * c + (y - cy) * s, -(x - cx) * s + (y - cy) * c
    wid = half_wid * math.sqrt(max(0.0, 1.0 - (a / half_len) ** 2))
    return max(abs(a) - half_len, abs(b) - wid)


# ---------------------------------------------------------------- about: title and texts

GOLD_TOP, GOLD_MID, GOLD_LOW = rgb("#fff4c4"), rgb("#f4c850"), rgb("#c77a1c")


def draw_title(canvas, xh=27.0, stroke=3.2, baseline=60.0):
    """'Quillory' in rounded gold letters with a dark rim and a soft shadow."""
    glyphs = layout_title("Quillory", xh, 0.40, canvas.w / 2.0, baseline)
    field = Field(8, int(baseline - 2 * xh), canvas.w - 16, round(xh * 2.8), SS)
    for g in glyphs:
        for s in g:
            field.polyline(s, stroke * (1.3 if len(s) == 1 else 1.0))
    top, bottom = baseline - 1.52 * xh, baseline + 0.5 * xh

    def fill(x, y, f, k):
        v = (y - top) / (bottom - top)
        base = gradient([(0.0, GOLD_TOP), (0.45, GOLD_MID), (1.0, GOLD_LOW)], v)
        return tube_light(base, f.u[k] * 0.9, f.v[k] * 0.9, ambient=0.55, diffuse=0.6, shine=0.6)

    rim = field.render(lambda x, y, f, k: rgb("#1a1206"), grow=1.8)
    canvas.draw(shadow_of(rim, 3, (0.0, 0.0, 0.0)), 2, 4, 0.85)
    canvas.draw(rim)
    canvas.draw(field.render(fill))


def draw_panel(canvas, x0, y0, x1, y1, radius):
    """A dark glassy rounded panel behind the credits."""
    field = Field(x0 - 1, y0 - 1, x1 - x0 + 2, y1 - y0 + 2, SS)

    def sdf(x, y):
        qx = abs(x - (x0 + x1) / 2) - ((x1 - x0) / 2 - radius)
        qy = abs(y - (y0 + y1) / 2) - ((y1 - y0) / 2 - radius)
        out = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return out + min(max(qx, qy), 0.0) - radius

    field.shape((x0, y0, x1, y1), sdf)

    def shade(x, y, f, k):
        d = sdf(x, y)
        if d > -1.0:  # hairline rim, brighter on top
            return mix(rgb("#8fd0b4"), rgb("#2c6c5a"), (y - y0) / (y1 - y0)) + (0.55,)
        return mix(rgb("#04100f"), rgb("#020807"), (y - y0) / (y1 - y0)) + (0.62,)

    canvas.draw(field.render(shade))


def draw_credits(canvas):
    cream, mint, gold, dim = rgb("#f4ecd0"), rgb("#9fd8bf"), rgb("#f4c850"), rgb("#7fa79a")
    draw_text_runs(canvas, 82, [("Version 1.0", mint)])
    draw_panel(canvas, 22, 190, 278, 242, 7)
    draw_text_runs(canvas, 196, [("A Brindlework game", cream)])
    draw_text_runs(canvas, 209, [("Programming & art: the Quillory team", mint)])
    draw_text_runs(canvas, 226, [("Arrows", gold), (" steer - ", dim), ("F9", gold),
                                 (" new game - ", dim), ("F10", gold), (" pause", dim)])


def make_about():
    canvas = Canvas(ABOUT_W, ABOUT_H)
    draw_background(canvas)
    draw_glow(canvas, 150, 40, 150, rgb("#3a8a6a"), 0.22)
    apple_x, apple_y = 264.0, 120.0
    draw_glow(canvas, apple_x, apple_y, 34, rgb("#ff6a2a"), 0.30)
    draw_snake(canvas, snake_path(), (10, 94, 240, 86))
    draw_apple(canvas, apple_x, apple_y, 9.0)
    draw_title(canvas)
    draw_credits(canvas)
    return canvas


def make_wizard():
    """The setup program's side picture: the title, the snake heading down to
    its apple, the maker's line."""
    canvas = Canvas(WIZARD_W, WIZARD_H)
    draw_background(canvas)
    draw_glow(canvas, 82, 36, 110, rgb("#3a8a6a"), 0.22)
    apple_x, apple_y = 86.0, 272.0
    draw_glow(canvas, apple_x, apple_y, 34, rgb("#ff6a2a"), 0.30)
    draw_snake(canvas, wizard_snake_path(), (20, 72, 124, 170))
    draw_apple(canvas, apple_x, apple_y, 9.0)
    draw_title(canvas, 17.0, 2.2, 44.0)
    draw_text_runs(canvas, 56, [("Version 1.0", rgb("#9fd8bf"))])
    draw_text_runs(canvas, 298, [("A Brindlework game", rgb("#f4ecd0"))])
    return canvas


# ---------------------------------------------------------------- icon
# An ouroboros Q: a green snake coiled into a ring, its tail running out at
# the lower right as the letter's stroke, its head about to bite it.  Drawn
# in units of the icon's size so every size is drawn, not scaled.


def icon_path(size):
    """Centre line (tail to head) in pixels, the body radius and the ring."""
    s = float(size)
    small = size <= 16
    cx, cy, ring = 0.42 * s, 0.41 * s, 0.27 * s
    on_ring = lambda a: (cx + ring * math.cos(math.radians(a)), cy + ring * math.sin(math.radians(a)))
    pts = []
    # round the ring clockwise from the thin tail tip...
    a0, a1 = 70.0, 375.0
    for k in range(60):
        pts.append(on_ring(lerp(a0, a1, k / 60)))
    # ...then out through the lower right as the stroke of the Q
    p0 = on_ring(a1)
    tang = (-math.sin(math.radians(a1)), math.cos(math.radians(a1)))
    p3 = (0.70 * s, 0.70 * s)
    out = (math.sqrt(0.5), math.sqrt(0.5))
    k0, k1 = 0.10 * s, 0.08 * s
    p1 = (p0[0] + tang[0] * k0, p0[1] + tang[1] * k0)
    p2 = (p3[0] - out[0] * k1, p3[1] - out[1] * k1)
    for k in range(17):
        t = k / 16
        u = 1.0 - t
        pts.append(tuple(u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c + t * t * t * d
                         for a, b, c, d in zip(p0, p1, p2, p3)))
    body = (0.115 if small else 0.095) * s
    return pts, body, (cx, cy, ring)


def render_icon(size):
    small = size <= 16
    ss = 8 if size <= 16 else 6 if size <= 32 else 4
    s = float(size)
    canvas = Canvas(size, size)

    # the tile: a rounded dark teal square with a lit top edge
    tile = Field(0, 0, size, size, ss)
    rad = 0.2 * s

    def tile_sdf(x, y):
        q = s / 2.0 - rad - (0.0 if small else 0.5)
        qx, qy = abs(x - s / 2) - q, abs(y - s / 2) - q
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - rad

    tile.shape((0, 0, s, s), tile_sdf)
    rim_w = max(1.0, s / 32.0)

    def tile_shade(x, y, f, k):
        v = y / s
        base = mix(rgb("#1f5a50"), rgb("#0a2624"), v)
        if tile_sdf(x, y) > -rim_w and not small:
            base = mix(rgb("#5fae95"), rgb("#061a18"), v)
        return base

    canvas.draw(tile.render(tile_shade))

    # the snake
    pts, body, (cx, cy, ring) = icon_path(size)
    n = len(pts) - 1
    radius = lambda t: body * (0.3 + 0.7 * smoothstep(0.0, 0.3, t))
    snake = Field(0, 0, size, size, ss)
    snake.polyline(pts, radius)
    (ax, ay), (bx, by) = pts[-3], pts[-1]
    dl = math.hypot(bx - ax, by - ay)
    hdx, hdy = (bx - ax) / dl, (by - ay) / dl
    hl, hw = body * 1.75, body * 1.45
    hcx, hcy = bx + hdx * hl * 0.55, by + hdy * hl * 0.55

    def head_sdf(x, y):
        qx, qy = x - hcx, y - hcy
        a, b = qx * hdx + qy * hdy, -qx * hdy + qy * hdx
        return (math.hypot(a / hl, b / hw) - 1.0) * hw

    snake.shape((hcx - hl - 1, hcy - hl - 1, hcx + hl + 1, hcy + hl + 1), head_sdf, tag=1)

    def snake_shade(x, y, f, k):
        if f.tag[k] == 1:
            qx, qy = x - hcx, y - hcy
            base = rgb("#8fd84a")
            return tube_light(base, qx / hl * 0.8, qy / hl * 0.8, shine=0.5)
        t = f.t[k]
        base = gradient([(0.0, rgb("#3f8a24")), (1.0, rgb("#7ccc3e"))], t)
        if not small:  # a row of dark diamonds down the back
            phase = t * n / 6.0
            fr = phase - math.floor(phase)
            dia = abs(fr - 0.5) * 2.0 + math.hypot(f.u[k], f.v[k]) * 1.1
            if dia < 0.6 and t > 0.12:
                base = mix(base, rgb("#1f4a12"), 0.7)
        return tube_light(base, f.u[k] * 0.9, f.v[k] * 0.9, shine=0.45)

    outline = snake.render(lambda x, y, f, k: rgb("#04110e"), grow=max(0.6, s / 40.0))
    canvas.draw(outline)
    canvas.draw(snake.render(snake_shade))

    # the eye, on the outer side of the head
    eye = Field(0, 0, size, size, ss)
    side = -1.0  # the upper right side of the head, away from the ring
    ex = hcx - hdy * side * hw * 0.4 + hdx * hl * 0.12
    ey = hcy + hdx * side * hw * 0.4 + hdy * hl * 0.12
    er = max(0.95, body * 0.42)
    eye.capsule(ex, ey, ex, ey, er, er)

    def eye_shade(x, y, f, k):
        if not small and math.hypot(x - ex + er * 0.35, y - ey + er * 0.35) < er * 0.38:
            return (1.0, 1.0, 0.95)
        return (0.04, 0.04, 0.03)

    canvas.draw(eye.render(eye_shade))

    # the food in the middle of the coil
    food = Field(0, 0, size, size, ss)
    fr_ = (0.085 if small else 0.075) * s
    food.capsule(cx, cy, cx, cy, fr_, fr_)

    def food_shade(x, y, f, k):
        return tube_light(rgb("#ff3b30"), f.u[k], f.v[k], ambient=0.5, shine=0.7, power=16)

    canvas.draw(food.render(food_shade))
    return canvas


# ---------------------------------------------------------------- file writers


def png_rgb(canvas):
    """An opaque 8-bit RGB PNG as small as zlib makes it: each row takes the
    filter whose output bytes are nearest zero (the usual rule of thumb)."""
    w, h = canvas.w, canvas.h
    rows = []
    for y in range(h):
        row = bytearray()
        for x in range(w):
            row += bytes(canvas.rgba8(x, y)[:3])
        rows.append(bytes(row))
    raw = bytearray()
    prior = bytes(w * 3)
    for row in rows:
        best = None
        for kind in range(5):
            out = bytearray((kind,))
            for i, v in enumerate(row):
                a = row[i - 3] if i >= 3 else 0
                b = prior[i]
                c = prior[i - 3] if i >= 3 else 0
                if kind == 0:
                    p = 0
                elif kind == 1:
                    p = a
                elif kind == 2:
                    p = b
                elif kind == 3:
                    p = (a + b) // 2
                else:
                    e = a + b - c
                    pa, pb, pc = abs(e - a), abs(e - b), abs(e - c)
                    p = a if pa <= pb and pa <= pc else b if pb <= pc else c
                out.append((v - p) & 255)
            cost = sum(min(v, 256 - v) for v in out[1:])
            if best is None or cost < best[0]:
                best = (cost, out)
        raw += best[1]
        prior = row
    ihdr = struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr)
            + png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + png_chunk(b"IEND", b""))


def png_chunk(tag, data):
    body = tag + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def ico_image(canvas):
    """One icon image: BITMAPINFOHEADER (double height), BGRA rows bottom-up,
    then the 1-bit AND mask for systems that ignore the alpha channel."""
    w, h = canvas.w, canvas.h
    xor, mask = bytearray(), bytearray()
    mask_stride = ((w + 31) // 32) * 4
    for y in range(h - 1, -1, -1):
        bits = bytearray(mask_stride)
        for x in range(w):
            r, g, b, a = canvas.rgba8(x, y)
            if a < 128:
                bits[x >> 3] |= 0x80 >> (x & 7)
            if a == 0:
                r = g = b = 0
            xor += bytes((b, g, r, a))
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def ico_file(canvases):
    images = [ico_image(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, img in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    return out + b"".join(images)


def png(canvas, scale=1, backdrop=None):
    """An RGBA PNG, optionally enlarged and laid over a backdrop colour."""
    raw = bytearray()
    for y in range(canvas.h * scale):
        raw.append(0)
        for x in range(canvas.w * scale):
            r, g, b, a = canvas.rgba8(x // scale, y // scale)
            if backdrop is not None:
                k = a / 255.0
                r, g, b = (int(round(c * k + bc * (1 - k))) for c, bc in zip((r, g, b), backdrop))
                a = 255
            raw += bytes((r, g, b, a))

    ihdr = struct.pack(">IIBBBBB", canvas.w * scale, canvas.h * scale, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr)
            + png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + png_chunk(b"IEND", b""))


def bmp_rgb(canvas):
    """A 24-bit bottom-up BMP with no colour table, rows padded to 4 bytes."""
    w, h = canvas.w, canvas.h
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b, _ = canvas.rgba8(x, y)
            row += bytes((b, g, r))
        pixels += row + bytes(stride - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + bytes(pixels)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (path, len(data)))


def main():
    about = make_about()
    icons = [render_icon(s) for s in ICON_SIZES]
    wizard = make_wizard()
    write(os.path.join(RES_DIR, "about.png"), png_rgb(about))
    write(os.path.join(RES_DIR, "quillory.ico"), ico_file(icons))
    write(os.path.join(RES_DIR, "wizard.bmp"), bmp_rgb(wizard))

    write(os.path.join(PREVIEW_DIR, "about.png"), png(about))
    write(os.path.join(PREVIEW_DIR, "wizard.png"), png(wizard))
    for c in icons:
        write(os.path.join(PREVIEW_DIR, "icon%d.png" % c.w), png(c))
    write(os.path.join(PREVIEW_DIR, "icon16x8.png"), png(icons[0], 8))
    # how the small icon looks on a light and on a dark task bar
    write(os.path.join(PREVIEW_DIR, "icon16x8-light.png"), png(icons[0], 8, (235, 235, 235)))
    write(os.path.join(PREVIEW_DIR, "icon32x4-dark.png"), png(icons[1], 4, (30, 30, 36)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
