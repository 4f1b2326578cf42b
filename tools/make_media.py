#!/usr/bin/python3
# make_media.py: renders every picture, font, tune and sound effect of Tavirel into media/.
#
# Everything is drawn or synthesised here from fixed seeds, so a rerun gives the same files.
# Fonts are rendered from DejaVu (fonts-dejavu-core). Needs python3-pil, python3-numpy and
# oggenc (vorbis-tools). Usage: tools/make_media.py [--only pictures|sound|icons]
# The desktop icons go to dist/icons/.
import argparse
import os
import subprocess
import sys
import tempfile
import wave

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MEDIA = os.path.join(ROOT, "media")
OUT = os.path.join(ROOT, "out")
FONT_DIR = "/usr/share/fonts/truetype/dejavu"

# ---------------------------------------------------------------------------------------------
# Small image helpers (float arrays in 0..1, shape (h, w, c))
# ---------------------------------------------------------------------------------------------


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)


def to_u8(a, rng=None):
    """Quantises 0..1 floats to bytes; with rng, adds triangular dither first."""
    a = np.asarray(a, dtype=np.float64) * 255.0
    if rng is not None:
        a = a + rng.random(a.shape) - rng.random(a.shape)
    return np.clip(np.rint(a), 0, 255).astype(np.uint8)


def value_noise(shape, cells, rng, octaves=4, persistence=0.5):
    """Smooth fractal noise in 0..1: random grids upsampled bicubically and summed."""
    h, w = shape
    total = np.zeros(shape)
    amp, norm = 1.0, 0.0
    for o in range(octaves):
        n = cells * (2 ** o)
        grid = rng.random((n + 3, n + 3)).astype(np.float32)
        img = Image.fromarray(grid, mode="F")
        big = img.resize((w * (n + 3) // n, h * (n + 3) // n), Image.BICUBIC)
        arr = np.asarray(big)[h // n: h // n + h, w // n: w // n + w]
        total += amp * arr
        norm += amp
        amp *= persistence
    total /= norm
    lo, hi = total.min(), total.max()
    return (total - lo) / (hi - lo + 1e-9)


def over(dst, rgb, alpha):
    """Alpha-composites a colour layer (rgb: (h,w,3) or a 3-tuple) onto an opaque float image."""
    alpha = np.clip(alpha, 0.0, 1.0)[..., None]
    rgb = np.asarray(rgb, dtype=np.float64)
    dst[..., :3] = dst[..., :3] * (1.0 - alpha) + rgb * alpha
    return dst


def hsl(h, s, l):
    """HSL (h in degrees) to an RGB triple in 0..1."""
    c = (1 - abs(2 * l - 1)) * s
    hp = (h % 360) / 60.0
    x = c * (1 - abs(hp % 2 - 1))
    r, g, b = [(c, x, 0), (x, c, 0), (0, c, x), (0, x, c), (x, 0, c), (c, 0, x)][int(hp) % 6]
    m = l - c / 2
    return np.array([r + m, g + m, b + m])


def grid_coords(h, w, scale=1):
    """Pixel-centre coordinates of an image that is supersampled `scale` times."""
    ys, xs = np.mgrid[0:h * scale, 0:w * scale].astype(np.float64)
    return (xs + 0.5) / scale, (ys + 0.5) / scale


def downsample(a, scale):
    h, w = a.shape[0] // scale, a.shape[1] // scale
    return a.reshape(h, scale, w, scale, *a.shape[2:]).mean(axis=(1, 3))


def save_jpeg(arr, name):
    Image.fromarray(to_u8(arr[..., :3])).save(os.path.join(MEDIA, name), quality=96,
                                              subsampling=0, optimize=True)


def save_png(arr_u8, name):
    Image.fromarray(arr_u8).save(os.path.join(MEDIA, name), optimize=True)


# ---------------------------------------------------------------------------------------------
# Blocks: klocki.jpg, 18 colours in 32 x 32 frames, rows of 8
# ---------------------------------------------------------------------------------------------

RIM = np.array([13, 12, 22]) / 255.0  # shared two-texel outer ring of every tile: filtering never shows

# Level L uses colours 2L-2 (deep, engraved ring) and 2L-1 (light, raised diamond).
BLOCK_COLOURS = [
    hsl(354, 0.78, 0.42), hsl(50, 0.95, 0.62),    # level 1: red / yellow
    hsl(218, 0.80, 0.44), hsl(32, 0.95, 0.66),    # level 2: blue / apricot
    hsl(278, 0.62, 0.42), hsl(88, 0.70, 0.62),    # level 3: violet / lime
    hsl(182, 0.85, 0.30), hsl(330, 0.85, 0.76),   # level 4: teal / pink
    hsl(140, 0.62, 0.30), hsl(198, 0.90, 0.70),   # level 5: forest / sky
    hsl(322, 0.72, 0.40), hsl(170, 0.70, 0.64),   # level 6: magenta / aqua
    hsl(244, 0.55, 0.44), hsl(42, 0.90, 0.58),    # level 7: indigo / gold
    hsl(18, 0.80, 0.38), hsl(262, 0.75, 0.80),    # level 8: rust / lavender
    hsl(300, 0.55, 0.36), hsl(150, 0.65, 0.72),   # bonus: plum / mint
]


def render_tile(colour, marked_kind, ss=8):
    """One 32 x 32 block, rendered `ss` times larger and averaged down for clean edges."""
    x, y = grid_coords(32, 32, ss)
    img = np.zeros(x.shape + (3,))
    img[:] = RIM
    # Rounded body inside the one-texel rim.
    cx, cy = np.clip(x, 5.0, 27.0), np.clip(y, 5.0, 27.0)
    corner = np.hypot(x - cx, y - cy)
    body = 1.0 - smoothstep(2.6, 3.0, corner)
    inner = np.minimum(np.minimum(x - 2.0, 30.0 - x), np.minimum(y - 2.0, 30.0 - y))
    base = np.asarray(colour)
    light = base + (1.0 - base) * 0.55
    dark = base * 0.45
    # Face: gentle vertical gradient with a soft top-left sheen.
    t = (y - 1.0) / 30.0
    face = base[None, None, :] * (1.08 - 0.22 * t)[..., None]
    sheen = np.exp(-(((x - 11.0) / 10.0) ** 2 + ((y - 8.0) / 6.0) ** 2)) * 0.28
    face = face + (1.0 - face) * sheen[..., None]
    # Bevel: lit from the top left.
    bevel = 1.0 - smoothstep(2.4, 3.4, inner)
    lit = (x + y) < 32.0
    edge = np.where(lit[..., None], light, dark)
    face = face * (1 - bevel[..., None]) + edge * bevel[..., None]
    # Mark: the deep colour of a level has an engraved ring, the light one a raised diamond.
    mx, my = x - 16.0, y - 16.0
    if marked_kind == 0:
        r = np.hypot(mx, my)
        ring = smoothstep(4.4, 5.2, r) * (1 - smoothstep(7.4, 8.2, r))
        lower = smoothstep(-1.0, 1.0, my + mx * 0.3)
        shade = dark * 0.9 * (1 - lower[..., None]) + (base * 0.62) * lower[..., None]
        face = face * (1 - ring[..., None]) + shade * ring[..., None]
        # Thin highlight on the ring's lower edge makes it read as cut in.
        glint = smoothstep(7.6, 8.2, r) * (1 - smoothstep(8.2, 9.0, r)) * smoothstep(0.0, 4.0, my)
        face = face + (light - face) * (glint * 0.8)[..., None]
    else:
        d = np.abs(mx) + np.abs(my)
        dia = 1.0 - smoothstep(7.6, 8.4, d)
        upper = (mx + my) < 0
        top = np.where(upper[..., None], light * 1.02, base * 0.80)
        facet = 1.0 - smoothstep(3.6, 4.4, d)
        inside = base + (1.0 - base) * 0.22
        mark = top * (1 - facet[..., None]) + inside * facet[..., None]
        outline = smoothstep(7.6, 8.4, d) * (1 - smoothstep(8.4, 9.4, d))
        face = face * (1 - dia[..., None]) + mark * dia[..., None]
        face = face * (1 - outline[..., None] * 0.55) + dark * outline[..., None] * 0.55
    img = img * (1 - body[..., None]) + np.clip(face, 0, 1) * body[..., None]
    out = downsample(img, ss)
    out[:2, :] = RIM
    out[-2:, :] = RIM
    out[:, :2] = RIM
    out[:, -2:] = RIM
    return np.clip(out, 0, 1)


def make_blocks():
    sheet = np.zeros((256, 256, 3))
    sheet[:] = RIM
    tiles = []
    for n, colour in enumerate(BLOCK_COLOURS):
        tile = render_tile(colour, n % 2)
        tiles.append(tile)
        r, c = divmod(n, 8)
        sheet[r * 32:(r + 1) * 32, c * 32:(c + 1) * 32] = tile
    save_jpeg(sheet, "klocki.jpg")
    return tiles


# ---------------------------------------------------------------------------------------------
# Explosion: wybuch.png, 31 frames of 64 x 64 in rows of 8
# ---------------------------------------------------------------------------------------------

FIRE_RAMP = [  # heat -> colour
    (0.00, (0.35, 0.05, 0.02)),
    (0.25, (0.80, 0.18, 0.03)),
    (0.50, (1.00, 0.50, 0.08)),
    (0.75, (1.00, 0.85, 0.35)),
    (1.00, (1.00, 1.00, 0.92)),
]


def fire_colour(heat):
    heat = np.clip(heat, 0, 1)
    xs = [p for p, _ in FIRE_RAMP]
    return np.stack([np.interp(heat, xs, [c[i] for _, c in FIRE_RAMP]) for i in range(3)], -1)


def make_explosion():
    rng = np.random.default_rng(3003)
    frames = 31
    sheet = np.zeros((512, 512, 4))
    ss = 2
    x, y = grid_coords(64, 64, ss)
    dx, dy = x - 32.0, y - 32.0
    r = np.hypot(dx, dy)
    ang = np.arctan2(dy, dx)
    # Turbulence: a noise field that is sampled ever further outward as the blast grows.
    noise = value_noise((256, 256), 6, rng, octaves=4)
    tongues = rng.random(12)
    sparks = [(rng.uniform(0, 2 * np.pi), rng.uniform(0.9, 1.9), rng.uniform(10, 20),
               rng.uniform(0.6, 1.2)) for _ in range(22)]
    edge = 1.0 - smoothstep(25.0, 30.5, r)
    for t in range(frames):
        p = t / 30.0
        img = np.zeros(x.shape + (3,))
        alpha = np.zeros(x.shape)
        # Flame tongues: the fireball's radius wobbles with the angle.
        k = np.arange(12)[:, None, None]
        wobble = (np.cos(ang[None] * (k % 5 + 3) + tongues[:, None, None] * 6.28) *
                  (0.05 + 0.02 * (k % 3))).sum(0) / 3.0
        radius = 6.0 + 21.0 * (1.0 - np.exp(-t / 5.0))
        rr = r / (radius * (1.0 + wobble))
        ni = ((dy * (1.1 - 0.4 * p) + 128 + t * 3) % 256).astype(int)
        nj = ((dx * (1.1 - 0.4 * p) + 128 + t * 2) % 256).astype(int)
        turb = noise[ni, nj]
        billow = smoothstep(0.2, 0.8, turb)
        intensity = np.exp(-t / 9.0)
        # The centre burns out first: heat moves into an expanding shell of billows.
        shell = np.exp(-((rr - 0.55 * smoothstep(0.1, 0.7, p)) / (0.55 - 0.2 * p)) ** 2)
        heat = shell * (0.55 + 0.8 * billow) * (0.3 + 0.95 * intensity)
        heat = np.clip(heat + 0.45 * intensity * (1.0 - smoothstep(0.0, 0.45, rr)), 0, 1.2)
        fire_a = smoothstep(0.05, 0.3, heat) * (1.0 - smoothstep(0.75, 1.05, rr - 0.25 * billow))
        fire_a *= np.clip((1.0 - p) * 2.2, 0, 1)
        # Smoke: a dusky ring that rises as the fire burns out.
        smoke_r = radius * (0.9 + 0.25 * p)
        smoke = np.exp(-((r - smoke_r) / (4.0 + 7.0 * p)) ** 2) * smoothstep(0.1, 0.35, p)
        smoke *= (0.25 + 0.75 * billow) * 0.8
        smoke_col = np.array([0.22, 0.19, 0.20]) + 0.15 * turb[..., None]
        img = over(img, smoke_col, smoke)
        alpha = smoke + alpha * (1 - smoke)
        fire_rgb = fire_colour(heat)
        img = over(img, fire_rgb, fire_a)
        alpha = fire_a + alpha * (1 - fire_a)
        # Shock ring in the first frames.
        if t < 9:
            ring_r = 6.0 + t * 3.0
            ring = np.exp(-((r - ring_r) / 1.6) ** 2) * (1.0 - t / 9.0) * 0.8
            img = over(img, (1.0, 0.95, 0.8), ring)
            alpha = ring + alpha * (1 - ring)
        # Sparks: bright streaks flying out and dimming.
        for a0, speed, life, size in sparks:
            if t >= life:
                continue
            dist = min(28.0, 4.0 + speed * t * (1.25 - 0.02 * t))
            sx, sy = np.cos(a0) * dist, np.sin(a0) * dist
            tx, ty = np.cos(a0) * (dist - 3.0), np.sin(a0) * (dist - 3.0)
            # Distance to the short segment behind the spark.
            vx, vy = sx - tx, sy - ty
            u = np.clip(((dx - tx) * vx + (dy - ty) * vy) / (vx * vx + vy * vy + 1e-9), 0, 1)
            d = np.hypot(dx - (tx + u * vx), dy - (ty + u * vy))
            fade = (1.0 - t / life) ** 1.2
            spark = np.exp(-(d / size) ** 2) * fade * (0.5 + 0.5 * u)
            img = over(img, (1.0, 0.9, 0.55), spark)
            alpha = spark + alpha * (1 - spark)
        # Un-premultiply, fade the whole frame out, and average down premultiplied.
        rgb = np.where(alpha[..., None] > 1e-4, img / np.maximum(alpha, 1e-4)[..., None], 0.0)
        alpha = alpha * edge * np.clip((30 - t) / 10.0, 0, 1)
        a_ds = downsample(alpha, ss)
        pre = downsample(rgb * alpha[..., None], ss)
        warm = fire_colour(np.full(a_ds.shape, 0.3))
        # Keep a warm colour where alpha is low, so filtering never pulls in black.
        rgb_ds = np.where(a_ds[..., None] > 1e-3, pre / np.maximum(a_ds, 1e-3)[..., None], warm)
        frame = np.concatenate([np.clip(rgb_ds, 0, 1), a_ds[..., None]], -1)
        frame[0, :, 3] = frame[-1, :, 3] = 0
        frame[:, 0, 3] = frame[:, -1, 3] = 0
        if t == 30:
            frame[..., 3] = 0
        row, col = divmod(t, 8)
        sheet[row * 64:(row + 1) * 64, col * 64:(col + 1) * 64] = frame
    # The unused frames stay transparent but carry a warm colour, like the frames' edges.
    unused = sheet[..., 3] == 0
    sheet[unused, :3] = fire_colour(np.array(0.3))
    save_png(to_u8(sheet), "wybuch.png")
    return sheet


# ---------------------------------------------------------------------------------------------
# Glow: posw.png, a dithered round light
# ---------------------------------------------------------------------------------------------


def make_glow():
    rng = np.random.default_rng(4004)
    size = 512
    x, y = grid_coords(size, size)
    s = np.hypot(x - size / 2, y - size / 2) / (size / 2 * 0.94)
    a = np.clip(1.0 - s * s, 0, 1) ** 2.2 * 0.82 + np.exp(-(s / 0.28) ** 2) * 0.18
    a[s >= 1.0] = 0.0
    alpha = to_u8(a, rng)
    alpha[s >= 1.0] = 0
    rgba = np.zeros((size, size, 4), np.uint8)
    rgba[..., 0:3] = 255
    rgba[..., 3] = alpha
    save_png(rgba, "posw.png")
    return rgba


# ---------------------------------------------------------------------------------------------
# Bitmap fonts: one row of glyph cells as tall as the image, cell width == advance
# ---------------------------------------------------------------------------------------------

FONT_SS = 4  # glyphs are drawn four times larger, outlined there, then averaged down


def render_font(ttf, size, chars, height, name, top_tint=1.0, bottom_tint=0.84, tabular=""):
    """Writes name.png and name.txt; returns (image array, list of (char, left, advance))."""
    ss = FONT_SS
    font = ImageFont.truetype(os.path.join(FONT_DIR, ttf), size * ss)
    boxes = {}
    for ch in chars:  # ink boxes relative to the pen on the baseline
        probe = Image.new("L", (size * ss * 4, size * ss * 4), 0)
        ImageDraw.Draw(probe).text((size * ss, size * ss * 3), ch, font=font, fill=255,
                                   anchor="ls")
        l, t, r, b = probe.getbbox()
        boxes[ch] = (l - size * ss, t - size * ss * 3, r - size * ss, b - size * ss * 3)
    ink_top = min(b[1] for b in boxes.values()) / ss
    ink_bottom = max(b[3] for b in boxes.values()) / ss
    pad_top, pad_bottom = 2.0, 3.0  # outline above, outline and shadow below
    need = ink_bottom - ink_top + pad_top + pad_bottom
    if need > height:
        raise SystemExit(f"{name}: glyphs need {need:.1f} px, image is {height}")
    baseline = round(pad_top + (height - need) / 2 - ink_top)
    cells, x = [], 0
    for ch in chars:
        l, _, r, _ = (v / ss for v in boxes[ch])
        adv = font.getlength(ch) / ss
        # Pen offset inside the cell and cell width: room for the outline (1 px), the shadow
        # (1 px right) and one clear column on each side, at least the glyph's own advance.
        pen = max(0.0, 2.0 - l)
        width = int(np.ceil(max(pen + adv - 1.0, pen + r + 3.0)))
        cells.append([ch, 0, width, pen])
    # Digits share one width, so numbers do not jitter as they count.
    same = [c for c in cells if c[0] in tabular]
    if same:
        widest = max(c[2] for c in same)
        for c in same:
            c[3] += (widest - c[2]) / 2.0
            c[2] = widest
    for c in cells:
        c[1] = x
        x += c[2]
    total = x
    if total > 4096:
        raise SystemExit(f"{name}: {total} px wide")
    mask = Image.new("L", (total * ss, height * ss), 0)
    draw = ImageDraw.Draw(mask)
    for ch, left, width, pen in cells:
        draw.text(((left + pen) * ss, baseline * ss), ch, font=font, fill=255, anchor="ls")
    m = np.asarray(mask, dtype=np.float64) / 255.0
    outline_img = mask.filter(ImageFilter.MaxFilter(2 * ss + 1))
    outline = np.asarray(outline_img, dtype=np.float64) / 255.0
    shadow = np.roll(np.roll(outline, ss, axis=1), ss, axis=0)
    # Each cell keeps its own pixels: nothing may spill into the neighbouring glyph.
    col_of = np.zeros(total * ss, int)
    for i, (_, left, width, _) in enumerate(cells):
        col_of[left * ss:(left + width) * ss] = i
    owner = np.asarray(col_of)
    shadow_owner = np.roll(owner, ss)
    shadow = np.where((shadow_owner == owner)[None, :], shadow, 0.0)
    fill = m
    ys = (np.arange(height * ss) + 0.5) / ss
    grad = np.interp(ys, [baseline + ink_top, baseline], [top_tint, bottom_tint])
    dark = np.array([0.04, 0.03, 0.08])
    pre = np.zeros(m.shape + (3,))
    a = np.zeros(m.shape)
    for layer_a, rgb in ((shadow * 0.55, dark), (outline * 0.92, dark), (fill, None)):
        colour = dark if rgb is not None else np.stack([grad, grad, grad * 1.0], -1)[:, None, :]
        pre = pre * (1 - layer_a[..., None]) + colour * layer_a[..., None]
        a = a * (1 - layer_a) + layer_a
    a_ds = downsample(a, ss)
    pre_ds = downsample(pre, ss)
    rgb = np.where(a_ds[..., None] > 1e-3, pre_ds / np.maximum(a_ds, 1e-3)[..., None], dark)
    img = np.concatenate([np.clip(rgb, 0, 1), a_ds[..., None]], -1)
    for _, left, width, _ in cells:  # first and last column of each cell stay clear
        img[:, left, 3] = 0
        img[:, left + width - 1, 3] = 0
    save_png(to_u8(img), name + ".png")
    with open(os.path.join(MEDIA, name + ".txt"), "w") as f:
        f.write(f"glyph count\n{len(cells)}\n")
        f.write("glyph characters\n")
        for i in range(0, len(cells), 16):
            f.write(" ".join(c[0] for c in cells[i:i + 16]) + "\n")
        f.write("glyph advances\n")
        for i in range(0, len(cells), 16):
            f.write(" ".join(str(c[2]) for c in cells[i:i + 16]) + "\n")
        f.write("glyph rectangles\n")
        for _, left, width, _ in cells:
            f.write(f"{left} 0 {width} {height}\n")
    return img, [(c[0], c[1], c[2]) for c in cells]


def make_fonts():
    large = render_font("DejaVuSansCondensed-Bold.ttf", 27,
                        [chr(c) for c in range(33, 127)], 36, "bobcat36")
    small = render_font("DejaVuSans-Bold.ttf", 24, list("0123456789-+:./%"), 30, "font1",
                        top_tint=1.0, bottom_tint=0.9, tabular="0123456789")
    with open(os.path.join(MEDIA, "FONTS.txt"), "w") as f:
        f.write("Fonts of Tavirel\n\n"
                "bobcat36.png is rendered from DejaVu Sans Condensed Bold, font1.png from\n"
                "DejaVu Sans Bold (Debian package fonts-dejavu-core), by tools/make_media.py.\n"
                "DejaVu fonts are free: Bitstream Vera Fonts licence (a permissive free licence)\n"
                "with the DejaVu changes in the public domain; see\n"
                "/usr/share/doc/fonts-dejavu-core/copyright.\n")
    return large, small


# ---------------------------------------------------------------------------------------------
# Backgrounds: back.jpg (play screen) and intro.jpg (menus, title)
# ---------------------------------------------------------------------------------------------


def title_layer(text, ttf, size, glow_rgb=(0.85, 0.30, 0.75)):
    """The game's name as artwork: gold letters, dark outline, soft glow. Returns RGBA floats."""
    ss = 2
    font = ImageFont.truetype(os.path.join(FONT_DIR, ttf), size * ss)
    l, t, r, b = font.getbbox(text, anchor="ls")
    margin = int(size * 0.5) * ss
    w, h = r - l + 2 * margin, b - t + 2 * margin
    w, h = w + w % ss, h + h % ss
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).text((margin - l, margin - t), text, font=font, fill=255, anchor="ls")
    m = np.asarray(mask, dtype=np.float64) / 255.0
    out_r = max(3, size // 22) * ss
    outline = np.asarray(mask.filter(ImageFilter.MaxFilter(2 * out_r + 1)), dtype=np.float64) / 255
    glow = np.asarray(Image.fromarray(to_u8(outline)).filter(
        ImageFilter.GaussianBlur(size * 0.16 * ss)), dtype=np.float64) / 255.0
    shadow = np.roll(np.roll(np.asarray(Image.fromarray(to_u8(outline)).filter(
        ImageFilter.GaussianBlur(size * 0.04 * ss)), dtype=np.float64) / 255.0,
        int(size * 0.05 * ss), 0), int(size * 0.04 * ss), 1)
    ys = np.arange(h)[:, None].astype(np.float64)
    top, bottom = margin, h - margin
    v = np.clip((ys - top) / (bottom - top), 0, 1)
    gold = np.stack([np.interp(v, [0, 0.45, 0.5, 1], c) for c in
                     ([1.00, 1.00, 0.98, 0.90], [0.97, 0.80, 0.62, 0.38],
                      [0.78, 0.42, 0.22, 0.16])], -1)
    gold = np.broadcast_to(gold, (h, w, 3))
    # A thin light line inside the top of each letter: bevel made from the mask's own slope.
    edge = np.clip(m - np.roll(m, 2 * ss, 0), 0, 1)
    gold = gold + (1 - gold) * edge[..., None] * 0.6
    pre = np.zeros((h, w, 3))
    a = np.zeros((h, w))
    for la, col in ((glow * 0.75, np.array(glow_rgb)), (shadow * 0.8, np.zeros(3)),
                    (outline, np.array([0.10, 0.04, 0.12])), (m, gold)):
        pre = pre * (1 - la[..., None]) + col * la[..., None]
        a = a * (1 - la) + la
    pre, a = downsample(pre, ss), downsample(a, ss)
    return pre, a, margin // ss


def paste(dst, pre, a, x, y):
    """Composites a premultiplied layer onto an opaque image with its top-left at (x, y)."""
    h, w = a.shape
    y0, x0 = max(0, y), max(0, x)
    y1, x1 = min(dst.shape[0], y + h), min(dst.shape[1], x + w)
    sub_pre = pre[y0 - y:y1 - y, x0 - x:x1 - x]
    sub_a = a[y0 - y:y1 - y, x0 - x:x1 - x]
    dst[y0:y1, x0:x1, :3] = dst[y0:y1, x0:x1, :3] * (1 - sub_a[..., None]) + sub_pre


def rounded_box(x, y, x0, y0, x1, y1, radius):
    """Signed distance (negative inside) to a rounded rectangle."""
    cx = np.clip(x, x0 + radius, x1 - radius)
    cy = np.clip(y, y0 + radius, y1 - radius)
    d = np.hypot(x - cx, y - cy) - radius
    inside = (x > x0 + radius) & (x < x1 - radius) & (y > y0 + radius) & (y < y1 - radius)
    di = -np.minimum(np.minimum(x - x0, x1 - x), np.minimum(y - y0, y1 - y))
    return np.where(inside, di, d)


def bevel_frame(img, x, y, outer, inner, radius, base, rng=None):
    """A raised metal frame between two rounded rectangles (x0, y0, x1, y1)."""
    d_out = rounded_box(x, y, *outer, radius)
    d_in = rounded_box(x, y, *inner, max(1.0, radius - (inner[0] - outer[0])))
    band = (1 - smoothstep(-0.5, 0.5, d_out)) * smoothstep(-0.5, 0.5, d_in)
    width = inner[0] - outer[0]
    pos = np.clip(-d_out / width, 0, 1)  # 0 at the outer edge, 1 at the inner edge
    # Light from the top left: faces turned up/left are bright, down/right dark.
    cx, cy = (outer[0] + outer[2]) / 2, (outer[1] + outer[3]) / 2
    facing = np.where(np.abs(y - cy) * (outer[2] - outer[0]) > np.abs(x - cx) * (outer[3] - outer[1]),
                      np.sign(cy - y), np.sign(cx - x))
    ridge = np.sin(pos * np.pi)
    shade = 0.75 + 0.35 * facing * (1 - 2 * pos) * 0.8 + 0.25 * ridge
    col = np.asarray(base)[None, None, :] * shade[..., None]
    over(img, np.clip(col, 0, 1), band)
    # Thin bright line on the outer edge and a dark line where the frame meets the inside.
    over(img, (0.75, 0.78, 0.95), np.exp(-(d_out + 0.8) ** 2 / 0.5) * 0.35)
    over(img, (0.0, 0.0, 0.02), np.exp(-(d_in - 0.8) ** 2 / 0.6) * 0.8)


def sky(h, w, rng, top, bottom, neb_a, neb_b, strength):
    x, y = grid_coords(h, w)
    img = np.zeros((h, w, 3))
    v = (y / h)[..., None]
    img[:] = np.asarray(top) * (1 - v) + np.asarray(bottom) * v
    n1 = value_noise((h, w), 3, rng, octaves=5, persistence=0.55)
    n2 = value_noise((h, w), 4, rng, octaves=5, persistence=0.5)
    img += np.asarray(neb_a) * (smoothstep(0.45, 1.0, n1) * strength)[..., None]
    img += np.asarray(neb_b) * (smoothstep(0.5, 1.0, n2) * strength)[..., None]
    return img, x, y


def stars(img, rng, count, avoid=None):
    h, w = img.shape[:2]
    for _ in range(count):
        sx, sy = rng.uniform(0, w), rng.uniform(0, h)
        if avoid is not None and avoid(sx, sy):
            continue
        b = rng.uniform(0.15, 0.6) ** 1.6
        r = rng.uniform(0.5, 1.1)
        tint = np.array([0.85, 0.9, 1.0]) if rng.random() < 0.7 else np.array([1.0, 0.85, 0.8])
        x0, x1 = int(max(0, sx - 4)), int(min(w, sx + 5))
        y0, y1 = int(max(0, sy - 4)), int(min(h, sy + 5))
        yy, xx = np.mgrid[y0:y1, x0:x1] + 0.5
        d = np.hypot(xx - sx, yy - sy)
        img[y0:y1, x0:x1] += tint * (b * np.exp(-(d / r) ** 2))[..., None]


def tile_image(tiles, n, size):
    t = Image.fromarray(to_u8(tiles[n]))
    if size != 32:
        t = t.resize((size, size), Image.LANCZOS)
    return np.asarray(t, dtype=np.float64) / 255.0


def make_back(tiles):
    rng = np.random.default_rng(1001)
    img, x, y = sky(600, 800, rng, (0.06, 0.06, 0.15), (0.04, 0.04, 0.10),
                    (0.10, 0.04, 0.16), (0.02, 0.08, 0.12), 0.55)
    stars(img, rng, 140)
    # Header: a soft band of light behind where the caption goes.
    band = np.exp(-((y - 48) / 34.0) ** 2) * np.exp(-((x - 400) / 330.0) ** 2)
    img += np.array([0.10, 0.06, 0.18]) * band[..., None]
    # Board well: dark, quiet, with a faint cell grid.
    bx0, by0, bx1, by1 = 18, 102, 658, 582
    well = (x > bx0) & (x < bx1) & (y > by0) & (y < by1)
    vy = (y - by0) / (by1 - by0)
    well_col = np.stack([0.035 + 0.02 * vy, 0.040 + 0.02 * vy, 0.095 + 0.03 * vy], -1)
    neb = value_noise((600, 800), 2, rng, octaves=3)
    well_col += (np.array([0.02, 0.015, 0.04]) * (neb - 0.5)[..., None])
    img = np.where(well[..., None], well_col, img)
    gx = (x - bx0) % 32.0
    gy = (y - by0) % 32.0
    line = np.maximum(np.exp(-((gx - 0.5) ** 2) / 0.25), np.exp(-((gy - 0.5) ** 2) / 0.25))
    dots = np.exp(-((np.minimum(gx, 32 - gx)) ** 2 + (np.minimum(gy, 32 - gy)) ** 2) / 2.0)
    over(img, (0.16, 0.18, 0.34), (line * 0.35 + dots * 0.4) * well)
    # Inner shadow along the top and left inside edges of the well.
    inner = np.exp(-np.maximum(0, y - by0) / 10.0) * 0.5 + np.exp(-np.maximum(0, x - bx0) / 10.0) * 0.35
    over(img, (0, 0, 0.02), np.clip(inner, 0, 0.6) * well)
    # Side panel: runs from the board's frame off the right edge, so long words have room.
    px0, py0, px1, py1 = 652, 64, 820, 594
    inner = (px0 + 7, py0 + 7, px1 - 7, py1 - 7)
    d_panel = rounded_box(x, y, *inner, 6)
    panel = 1 - smoothstep(-0.5, 0.5, d_panel)
    pv = (y - py0) / (py1 - py0)
    panel_col = np.stack([0.07 + 0.02 * pv, 0.07 + 0.02 * pv, 0.16 + 0.03 * pv], -1)
    over(img, panel_col, panel)
    bevel_frame(img, x, y, (px0, py0, px1, py1), inner, 9, (0.36, 0.40, 0.62))
    bevel_frame(img, x, y, (8, 92, 668, 592), (bx0, by0, bx1, by1), 8, (0.36, 0.40, 0.62))
    for vy0 in (125, 225, 325, 425, 555):
        d = rounded_box(x, y, 671, vy0 - 2, 793, vy0 + 31, 5)
        slot = 1 - smoothstep(-0.5, 0.5, d)
        over(img, (0.02, 0.02, 0.06), slot * 0.75)
        over(img, (0.45, 0.48, 0.75), np.exp(-((d + 0.3) ** 2) / 0.3) * (y > vy0 + 14) * 0.35)
    for sy in (170, 270, 370, 470):
        sep = np.exp(-((y - sy) ** 2) / 0.6) * (1 - smoothstep(40, 52, np.abs(x - 732)))
        over(img, (0.40, 0.44, 0.70), sep * 0.45)
    # Small name plate at the top left, clear of the centred game-over caption.
    pre, a, margin = title_layer("Tavirel", "DejaVuSerif-Bold.ttf", 40)
    paste(img, pre * 0.95, a * 0.95, 22 - margin, 22 - margin)
    save_jpeg(np.clip(img, 0, 1), "back.jpg")
    return np.clip(img, 0, 1)


def make_intro(tiles):
    rng = np.random.default_rng(2002)
    img, x, y = sky(600, 800, rng, (0.03, 0.03, 0.10), (0.11, 0.05, 0.18),
                    (0.16, 0.05, 0.22), (0.03, 0.12, 0.18), 0.75)
    # Keep the text area calm: a gentle darkening behind the menu and the pages.
    calm = np.exp(-(((x - 400) / 300.0) ** 2 + ((y - 230) / 230.0) ** 2))
    img *= (1 - 0.45 * calm)[..., None]
    stars(img, rng, 420, avoid=lambda sx, sy: abs(sx - 400) < 160 and 50 < sy < 420 and
          rng.random() < 0.7)
    # Faint blocks drifting down the side margins, each with a short light trail.
    drift = [(34, 60, 0), (70, 210, 3), (28, 330, 5), (742, 110, 6), (712, 260, 9),
             (750, 380, 12), (66, 420, 14), (726, 20, 17)]
    for i, (tx, ty, n) in enumerate(drift):
        t = tile_image(tiles, n, 32)
        trail = np.exp(-np.maximum(0, ty - y) / 40.0) * (y < ty) * \
            (1 - smoothstep(14, 16, np.abs(x - tx - 16)))
        over(img, np.asarray(BLOCK_COLOURS[n]) * 0.8, trail * 0.18)
        sub = img[ty:ty + 32, tx:tx + 32, :3]
        sub[:] = sub * 0.55 + t * 0.45
    # A little stack of blocks in the lower right, with a finished 2 x 2 square glowing.
    stack = [(0, 0, 2), (1, 0, 3), (2, 0, 2), (3, 0, 5), (4, 0, 4),
             (1, 1, 0), (2, 1, 0), (3, 1, 5), (4, 1, 4),
             (1, 2, 0), (2, 2, 0), (4, 2, 1),
             (4, 3, 7)]
    size, sx0, sy0 = 36, 612, 600 - 36
    glow = np.exp(-(((x - (sx0 + 2 * size)) / 60.0) ** 2 + ((y - (sy0 - 0.5 * size)) / 50.0) ** 2))
    img += np.array([0.35, 0.12, 0.10]) * glow[..., None] * 0.6
    for c, r, n in stack:
        t = tile_image(tiles, n, size)
        px, py = sx0 + c * size, sy0 - r * size
        img[py:py + size, px:px + size, :3] = t
    hx, hy = sx0 + size, sy0 - 2 * size
    d = rounded_box(x, y, hx, hy, hx + 2 * size, hy + 2 * size, 3)
    over(img, (1.0, 0.9, 0.6), np.exp(-(d ** 2) / 3.0) * 0.8)
    # The title, lower left, beside the version line.
    pre, a, margin = title_layer("Tavirel", "DejaVuSerif-Bold.ttf", 100)
    paste(img, pre, a, 26 - margin, 462 - margin)
    save_jpeg(np.clip(img, 0, 1), "intro.jpg")
    return np.clip(img, 0, 1)


# ---------------------------------------------------------------------------------------------
# Sound: a small synthesiser (additive and FM voices, drums, circular reverb)
# ---------------------------------------------------------------------------------------------

SR = 44100
NOTE_NAMES = {"C": 0, "C#": 1, "D": 2, "D#": 3, "E": 4, "F": 5, "F#": 6, "G": 7, "G#": 8,
              "A": 9, "A#": 10, "B": 11}


def midi(name):
    if isinstance(name, (int, np.integer)):
        return int(name)
    return NOTE_NAMES[name[:-1]] + 12 * (int(name[-1]) + 1)


def freq(m):
    return 440.0 * 2.0 ** ((midi(m) - 69) / 12.0)


def envelope(n, attack, release_at, release, decay=None):
    """Linear attack, optional exponential decay (time constant), smooth release at the end."""
    t = np.arange(n) / SR
    env = np.clip(t / max(attack, 1e-4), 0, 1)
    if decay:
        env = env * np.exp(-np.maximum(t - attack, 0) / decay)
    rel = np.clip((t - release_at) / max(release, 1e-4), 0, 1)
    return env * (0.5 + 0.5 * np.cos(np.pi * rel))


def additive(f, n, partials, rng=None, vibrato=0.0, vib_rate=5.0, detune=0.0):
    """Sum of sine partials: each (ratio, amplitude, decay time or None)."""
    t = np.arange(n) / SR
    phase_mod = vibrato * np.sin(2 * np.pi * vib_rate * t) * np.clip(t / 0.4, 0, 1)
    out = np.zeros(n)
    for ratio, amp, dec in partials:
        fk = f * ratio * (1.0 + detune)
        if fk >= SR * 0.45:
            continue
        ph = 0.0 if rng is None else rng.uniform(0, 2 * np.pi)
        w = np.sin(2 * np.pi * fk * t + ph + phase_mod * ratio * fk / max(f, 1) * 0.02)
        out += amp * (w if dec is None else w * np.exp(-t / dec))
    return out


def voice_pad(f, dur, rng):
    n = int((dur + 1.8) * SR)
    out = np.zeros(n)
    for det in (-0.004, 0.0, 0.0045):
        parts = [(k, (1.0 / k) * np.exp(-k / 5.0), None) for k in range(1, 14)]
        out += additive(f, n, parts, rng, detune=det)
    # Slow swell of the upper partials gives the pad some motion.
    return out * envelope(n, 0.6, dur, 1.6) * 0.22


def voice_epiano(f, dur, vel=1.0):
    n = int((dur + 1.2) * SR)
    t = np.arange(n) / SR
    index = 1.3 * np.exp(-t / 0.35) + 0.15
    tone = np.sin(2 * np.pi * f * t + index * np.sin(2 * np.pi * f * t))
    tine = 0.12 * np.sin(2 * np.pi * f * 7.0 * t) * np.exp(-t / 0.05)
    env = envelope(n, 0.003, dur, 0.9, decay=1.1)
    return (tone + tine) * env * 0.35 * vel


def voice_bell(f, dur, vel=1.0, rng=None):
    n = int((dur + 2.4) * SR)
    parts = [(1.0, 1.0, 1.8), (2.0, 0.45, 1.0), (2.76, 0.35, 0.7), (4.07, 0.18, 0.45),
             (5.43, 0.12, 0.3), (8.9, 0.05, 0.15)]
    return additive(f, n, parts, rng) * envelope(n, 0.002, dur + 0.6, 1.8) * 0.3 * vel


def voice_pluck(f, dur, vel=1.0, bright=1.0):
    n = int((dur + 0.6) * SR)
    parts = [(k, (1.0 / k) * (1.0 if k % 2 else 0.7), 0.9 / (1 + 0.5 * k * bright))
             for k in range(1, 16)]
    return additive(f, n, parts) * envelope(n, 0.002, dur, 0.3) * 0.45 * vel


def voice_lead(f, dur, vel=1.0):
    """Soft square-ish lead with delayed vibrato."""
    n = int((dur + 0.35) * SR)
    parts = [(k, (1.0 / k) * np.exp(-k / 7.0), None) for k in range(1, 12, 2)]
    parts += [(k, 0.15 / k, None) for k in range(2, 9, 2)]
    return additive(f, n, parts, vibrato=18.0, vib_rate=5.2) * \
        envelope(n, 0.02, dur, 0.25) * 0.32 * vel


def voice_brass(f, dur, vel=1.0, wah=None):
    """Brassy tone: brightness grows with the attack; `wah` (array 0..1) can close it again."""
    n = int((dur + 0.25) * SR)
    t = np.arange(n) / SR
    bright = np.clip(t / 0.08, 0, 1) * 0.8 + 0.2
    if wah is not None:
        bright = bright * np.interp(t, np.linspace(0, dur + 0.25, len(wah)), wah)
    vib = 0.006 * np.sin(2 * np.pi * 5.5 * t) * np.clip((t - 0.15) / 0.3, 0, 1)
    phase = 2 * np.pi * f * np.cumsum(1 + vib) / SR
    out = np.zeros(n)
    for k in range(1, 18):
        if f * k > SR * 0.45:
            break
        out += np.sin(k * phase) / k * np.clip(bright * 9.0 - k + 1, 0, 1)
    return out * envelope(n, 0.03, dur, 0.2) * 0.35 * vel


def voice_bass(f, dur, vel=1.0):
    n = int((dur + 0.15) * SR)
    parts = [(1, 1.0, None), (2, 0.35, 0.4), (3, 0.12, 0.25), (4, 0.05, 0.15)]
    return additive(f, n, parts) * envelope(n, 0.006, dur, 0.1, decay=1.6) * 0.55 * vel


def filtered_noise(n, rng, lo, hi):
    """White noise band-limited to lo..hi Hz in the frequency domain."""
    spectrum = np.fft.rfft(rng.standard_normal(n))
    fr = np.fft.rfftfreq(n, 1 / SR)
    shape = smoothstep(lo * 0.7, lo, fr) * (1 - smoothstep(hi, hi * 1.4, fr))
    out = np.fft.irfft(spectrum * shape, n)
    return out / (np.abs(out).max() + 1e-9)


def drum_kick(vel=1.0):
    n = int(0.45 * SR)
    t = np.arange(n) / SR
    f = 48 + 85 * np.exp(-t / 0.035)
    body = np.sin(2 * np.pi * np.cumsum(f) / SR) * np.exp(-t / 0.16)
    click = np.exp(-t / 0.004) * 0.4
    return (body + click) * 0.9 * vel


def drum_snare(rng, vel=1.0):
    n = int(0.3 * SR)
    t = np.arange(n) / SR
    noise = filtered_noise(n, rng, 1200, 9000) * np.exp(-t / 0.075)
    tone = np.sin(2 * np.pi * 190 * t) * np.exp(-t / 0.05)
    return (noise * 0.6 + tone * 0.45) * vel * 0.8


def drum_hat(rng, vel=1.0, open_=False):
    n = int((0.35 if open_ else 0.08) * SR)
    t = np.arange(n) / SR
    return filtered_noise(n, rng, 6500, 15000) * np.exp(-t / (0.12 if open_ else 0.018)) * \
        vel * 0.3


def pan_gains(p):
    """Constant-power pan, p from -1 (left) to 1 (right)."""
    a = (p + 1) * np.pi / 4
    return np.cos(a), np.sin(a)


class Loop:
    """A stereo buffer that wraps around: whatever runs past the end continues at the start."""

    def __init__(self, seconds):
        self.n = int(round(seconds * SR))
        self.buf = np.zeros((2, self.n))

    def add(self, sig, at_seconds, pan=0.0, gain=1.0):
        start = int(round(at_seconds * SR)) % self.n
        gl, gr = pan_gains(pan)
        pos = 0
        while pos < len(sig):
            i = (start + pos) % self.n
            take = min(len(sig) - pos, self.n - i)
            self.buf[0, i:i + take] += sig[pos:pos + take] * gl * gain
            self.buf[1, i:i + take] += sig[pos:pos + take] * gr * gain
            pos += take


def reverb_ir(seconds, rt60, rng, predelay=0.02, damp=6000.0):
    n = int(seconds * SR)
    t = np.arange(n) / SR
    irs = []
    for _ in range(2):
        noise = rng.standard_normal(n) * np.exp(-6.9 * t / rt60)
        noise[: int(predelay * SR)] = 0
        # Darken the tail: later parts lose more highs (two bands mixed over time).
        spectrum = np.fft.rfft(noise)
        fr = np.fft.rfftfreq(n, 1 / SR)
        dark = np.fft.irfft(spectrum / (1 + (fr / 1500.0) ** 2), n)
        bright = np.fft.irfft(spectrum / (1 + (fr / damp) ** 2), n)
        mix = np.exp(-t / (rt60 * 0.25))
        ir = bright * mix + dark * (1 - mix)
        for k in range(6):  # a few early reflections
            d = int((predelay + 0.007 * (k + 1) + rng.uniform(0, 0.01)) * SR)
            ir[d] += rng.uniform(0.2, 0.5) * (-1) ** k
        irs.append(ir / np.sqrt(np.sum(ir ** 2)))
    return irs


def circular_reverb(buf, irs, wet):
    """Convolution on the loop's circle, so the tail of the end rings into the start."""
    n = buf.shape[1]
    out = np.empty_like(buf)
    for ch in range(2):
        ir = np.zeros(n)
        ir[: len(irs[ch])] = irs[ch][:n]
        out[ch] = np.fft.irfft(np.fft.rfft(buf[ch]) * np.fft.rfft(ir), n)
    return buf * (1 - wet * 0.4) + out * wet


def linear_reverb(buf, irs, wet):
    n = buf.shape[1] + len(irs[0])
    out = np.zeros((2, n))
    for ch in range(2):
        out[ch] = np.fft.irfft(np.fft.rfft(buf[ch], n) * np.fft.rfft(irs[ch], n), n)
    dry = np.zeros((2, n))
    dry[:, : buf.shape[1]] = buf
    return dry * (1 - wet * 0.4) + out * wet


def limit(x, ceiling_db):
    """Brick-wall peak limiter with a 3 ms look-ahead and smooth gain changes."""
    thr = 10 ** (ceiling_db / 20)
    peak = np.abs(x).max(axis=0)
    need = np.minimum(1.0, thr / np.maximum(peak, 1e-9))
    w = int(0.003 * SR)
    padded = np.concatenate([np.ones(w), need, np.ones(w)])
    view = np.lib.stride_tricks.sliding_window_view(padded, 2 * w + 1)
    g = view.min(axis=1)
    kernel = np.hanning(2 * w + 1)
    kernel /= kernel.sum()
    g = np.convolve(np.concatenate([np.ones(w), g, np.ones(w)]), kernel, mode="valid")
    g = np.minimum(g, need)
    return x * g


def loudness_db(x):
    """Mean power of the 50 ms blocks within 20 dB of the loudest block (a gated loudness)."""
    m = x.mean(axis=0) if x.ndim == 2 else x
    b = int(0.05 * SR)
    blocks = m[: len(m) // b * b].reshape(-1, b) if len(m) >= b else m[None, :]
    power = (blocks ** 2).mean(axis=1) + 1e-12
    gate = power > power.max() / 100.0
    return 10 * np.log10(power[gate].mean())


def master(x, loud_db, ceiling_db=-2.0):
    x = x - x.mean(axis=1, keepdims=True)
    for _ in range(3):
        x = x * 10 ** ((loud_db - loudness_db(x)) / 20)
        x = limit(x, ceiling_db)
    return x * min(1.0, 10 ** (ceiling_db / 20) / np.abs(x).max())


def fade_edges(x, fade_in=0.002, fade_out=0.05):
    n = x.shape[1]
    a, b = int(fade_in * SR), int(fade_out * SR)
    x[:, :a] *= np.linspace(0, 1, a)
    x[:, n - b:] *= np.linspace(1, 0, b) ** 2
    return x


def write_ogg(x, name, quality):
    pcm = (np.clip(x, -1, 1).T * 32767).round().astype("<i2")
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "a.wav")
        with wave.open(wav, "wb") as w:
            w.setnchannels(2)
            w.setsampwidth(2)
            w.setframerate(SR)
            w.writeframes(pcm.tobytes())
        subprocess.run(["oggenc", "-Q", "-q", str(quality), "--serial", "1", "-o",
                        os.path.join(MEDIA, name), wav], check=True)


# ---------------------------------------------------------------------------------------------
# Music: m2.ogg (menus, calm) and m1.ogg (play, lively); both loop seamlessly
# ---------------------------------------------------------------------------------------------

MENU_CHORDS = ["Dmaj7", "Bm7", "Gmaj7", "Asus4", "Dmaj7", "Bm7", "Em7", "A7sus4",
               "Gmaj7", "F#m7", "Em7", "Dmaj7", "Gmaj7", "A", "Bm7", "Asus4"]
PLAY_CHORDS = (["Am", "F", "C", "G", "Am", "F", "Dm", "E"] * 2 +
               ["F", "G", "Em", "Am", "F", "G", "E", "E"] +
               ["Am", "F", "C", "G", "Am", "F", "Dm", "E"])
VOICINGS = {  # chord tones in the middle register, lowest first
    "Dmaj7": [62, 66, 69, 73], "Bm7": [59, 62, 66, 69], "Gmaj7": [59, 62, 66, 67],
    "Asus4": [57, 62, 64, 69], "Em7": [59, 62, 64, 67], "A7sus4": [57, 62, 64, 67],
    "F#m7": [61, 64, 66, 69], "A": [57, 61, 64, 69],
    "Am": [57, 60, 64, 69], "F": [57, 60, 65, 69], "C": [55, 60, 64, 67], "G": [55, 59, 62, 67],
    "Dm": [57, 62, 65, 69], "E": [56, 59, 64, 68], "Em": [55, 59, 64, 67],
}
ROOTS = {"D": 38, "B": 47, "G": 43, "A": 45, "E": 40, "F#": 42, "F": 41, "C": 36}


def root_of(chord):
    return ROOTS[chord[:2]] if chord[:2] in ROOTS else ROOTS[chord[0]]


MENU_MELODY = {  # bar -> [(beat, length in beats, note)]
    4: [(0, 1, "F#5"), (1, 1, "A5"), (2, 2, "E5")],
    5: [(0, 1.5, "D5"), (1.5, 0.5, "E5"), (2, 2, "F#5")],
    6: [(0, 1, "G5"), (1, 1, "F#5"), (2, 1, "E5"), (3, 1, "B4")],
    7: [(0, 3, "E5"), (3, 1, "A4")],
    8: [(0, 2, "B5"), (2, 1, "A5"), (3, 1, "F#5")],
    9: [(0, 2, "A5"), (2, 2, "E5")],
    10: [(0, 1, "G5"), (1, 1, "B5"), (2, 2, "D6")],
    11: [(0, 3, "F#5"), (3, 1, "A5")],
    12: [(0, 2, "B5"), (2, 2, "D6")],
    13: [(0, 2, "C#6"), (2, 2, "E6")],
    14: [(0, 2, "D6"), (2, 1, "B5"), (3, 1, "F#5")],
    15: [(0, 4, "E5")],
}

PLAY_THEME = [
    [(0, 1.5, "E5"), (1.5, 0.5, "D5"), (2, 1, "C5"), (3, 1, "A4")],
    [(0, 1.5, "C5"), (1.5, 0.5, "D5"), (2, 1, "C5"), (3, 0.5, "A4"), (3.5, 0.5, "G4")],
    [(0, 1, "G4"), (1, 1, "C5"), (2, 1.5, "E5"), (3.5, 0.5, "D5")],
    [(0, 2, "D5"), (2, 1, "B4"), (3, 1, "G4")],
    [(0, 1.5, "A4"), (1.5, 0.5, "C5"), (2, 1, "E5"), (3, 1, "A5")],
    [(0, 1.5, "G5"), (1.5, 0.5, "F5"), (2, 1, "E5"), (3, 1, "C5")],
    [(0, 1, "D5"), (1, 1, "F5"), (2, 1, "E5"), (3, 1, "D5")],
    [(0, 3, "E5"), (3, 0.5, "D5"), (3.5, 0.5, "B4")],
]
PLAY_BRIDGE = [
    [(0, 2, "A5"), (2, 2, "C6")], [(0, 2, "B5"), (2, 1, "G5"), (3, 1, "D5")],
    [(0, 2, "E5"), (2, 2, "G5")], [(0, 3, "A5"), (3, 1, "E5")],
    [(0, 2, "F5"), (2, 2, "A5")], [(0, 2, "G5"), (2, 1, "B5"), (3, 1, "D6")],
    [(0, 4, "B5")], [(0, 2, "G#5"), (2, 2, "E5")],
]


def make_menu_music():
    rng = np.random.default_rng(5005)
    bpm = 76
    beat = 60.0 / bpm
    bars = len(MENU_CHORDS)
    song = Loop(bars * 4 * beat)
    arp = [0, 1, 2, 3, 4, 3, 2, 1]
    for b, chord in enumerate(MENU_CHORDS):
        t0 = b * 4 * beat
        tones = VOICINGS[chord]
        for m in tones:
            song.add(voice_pad(freq(m), 4 * beat, rng), t0, pan=rng.uniform(-0.5, 0.5), gain=0.5)
        # Gentle electric-piano arpeggio in eighths, up an octave on the top note.
        ext = tones + [tones[0] + 12]
        for i, k in enumerate(arp):
            vel = 0.75 if i % 2 else 0.95
            vel *= rng.uniform(0.9, 1.05)
            song.add(voice_epiano(freq(ext[k] + 12), beat * 0.5, vel), t0 + i * beat * 0.5,
                     pan=-0.45 + 0.9 * (k / 4.0), gain=0.55)
        root = root_of(chord)
        song.add(voice_bass(freq(root), beat * 2.6), t0, gain=0.75)
        song.add(voice_bass(freq(root + (7 if b % 2 else 12)), beat * 1.3), t0 + 3 * beat,
                 gain=0.55)
        for st, ln, note in MENU_MELODY.get(b, []):
            song.add(voice_bell(freq(note), ln * beat, 0.9, rng), t0 + st * beat,
                     pan=0.15, gain=0.6)
    irs = reverb_ir(3.5, 2.6, rng)
    song.buf = circular_reverb(song.buf, irs, 0.45)
    return song.buf


def make_play_music():
    rng = np.random.default_rng(6006)
    bpm = 112
    beat = 60.0 / bpm
    bars = len(PLAY_CHORDS)
    song = Loop(bars * 4 * beat)
    drums = Loop(bars * 4 * beat)
    arp = [0, 2, 1, 3, 2, 1, 3, 2]
    for b, chord in enumerate(PLAY_CHORDS):
        t0 = b * 4 * beat
        section = b // 8  # 0 intro/verse, 1 theme, 2 bridge, 3 theme again
        tones = VOICINGS[chord]
        for m in tones[:3]:
            song.add(voice_pad(freq(m), 4 * beat, rng), t0, pan=rng.uniform(-0.6, 0.6),
                     gain=0.35 if section != 2 else 0.55)
        for i, k in enumerate(arp):
            if section == 2 and i % 2:
                continue
            vel = (1.0 if i % 2 == 0 else 0.7) * rng.uniform(0.9, 1.05)
            song.add(voice_pluck(freq(tones[k % 4] + 12), beat * 0.45, vel),
                     t0 + i * beat * 0.5, pan=0.35 if i % 2 else -0.35, gain=0.45)
        root = root_of(chord)
        if section == 2:
            song.add(voice_bass(freq(root), beat * 3.8), t0, gain=0.8)
        else:
            for i in range(8):  # eighth-note bass with an octave lift on the off-beats
                note = root + (12 if i in (3, 7) else 0)
                song.add(voice_bass(freq(note), beat * 0.42, 1.0 if i % 2 == 0 else 0.8),
                         t0 + i * beat * 0.5, gain=0.7)
        melody = None
        if section in (1, 3):
            melody = PLAY_THEME[b % 8]
        elif section == 2:
            melody = PLAY_BRIDGE[b % 8]
        for st, ln, note in melody or []:
            if section == 2:
                song.add(voice_bell(freq(note), ln * beat, 0.9, rng), t0 + st * beat,
                         pan=0.1, gain=0.75)
            else:
                song.add(voice_lead(freq(note), ln * beat * 0.95), t0 + st * beat,
                         pan=-0.05, gain=0.55)
                if section == 3:  # the return of the theme gets a bell an octave up
                    song.add(voice_bell(freq(midi(note) + 12), ln * beat, 0.5, rng),
                             t0 + st * beat, pan=0.3, gain=0.35)
        # Drums: light in the first bars, none but hats in the bridge.
        for i in range(8):
            t = t0 + i * beat * 0.5
            swing = 0.02 * beat if i % 2 else 0.0
            hv = (0.7 if i % 2 == 0 else 0.45) * rng.uniform(0.85, 1.1)
            open_ = (i == 7 and b % 2 == 1 and section != 2)
            drums.add(drum_hat(rng, hv, open_), t + swing, pan=0.3, gain=0.9)
        if section != 2:
            for kb in (0, 1.5, 2):
                if kb == 1.5 and section == 0 and b < 4:
                    continue
                drums.add(drum_kick(1.0 if kb == 0 else 0.8), t0 + kb * beat, gain=0.85)
            if not (section == 0 and b < 4):
                for sb in (1, 3):
                    drums.add(drum_snare(rng, 0.9), t0 + sb * beat, pan=-0.1, gain=0.7)
        elif b % 8 == 7:  # a little fill leading back into the theme
            for k in range(4):
                drums.add(drum_snare(rng, 0.35 + 0.15 * k), t0 + (2 + k * 0.5) * beat,
                          pan=-0.1, gain=0.7)
    irs = reverb_ir(2.5, 1.5, rng)
    mix = circular_reverb(song.buf, irs, 0.32)
    mix += circular_reverb(drums.buf, irs, 0.12)
    return mix


# ---------------------------------------------------------------------------------------------
# Effects
# ---------------------------------------------------------------------------------------------


def fx_buffer(seconds):
    return np.zeros((2, int(seconds * SR)))


def fx_add(buf, sig, at, pan=0.0, gain=1.0):
    i = int(at * SR)
    gl, gr = pan_gains(pan)
    take = min(len(sig), buf.shape[1] - i)
    buf[0, i:i + take] += sig[:take] * gl * gain
    buf[1, i:i + take] += sig[:take] * gr * gain


def fx_explosion(rng):
    buf = fx_buffer(1.4)
    n = buf.shape[1]
    t = np.arange(n) / SR
    f = 30 + 70 * np.exp(-t / 0.12)
    boom = np.sin(2 * np.pi * np.cumsum(f) / SR) * np.exp(-t / 0.35) * smoothstep(0, 0.004, t)
    for ch, pan in ((0, -0.5), (1, 0.5)):
        noise = rng.standard_normal(n)
        # Low-pass that closes over time: blend a bright and a dark version of the noise.
        bright = np.fft.irfft(np.fft.rfft(noise) / (1 + (np.fft.rfftfreq(n, 1 / SR) / 5000) ** 2), n)
        dark = np.fft.irfft(np.fft.rfft(noise) / (1 + (np.fft.rfftfreq(n, 1 / SR) / 400) ** 2), n)
        dark *= np.abs(bright).max() / np.abs(dark).max()
        mix = np.exp(-t / 0.12)
        body = (bright * mix + dark * (1 - mix)) * np.exp(-t / 0.38) * smoothstep(0, 0.003, t)
        crackle = np.zeros(n)
        for _ in range(40):
            at = rng.exponential(0.18)
            if at < 1.1:
                i = int(at * SR)
                ln = int(0.004 * SR)
                crackle[i:i + ln] += rng.standard_normal(min(ln, n - i)) * np.exp(-at / 0.3)
        fx_add(buf, body * 0.6 + crackle * 0.25, 0, pan)
    fx_add(buf, boom, 0, 0, 0.9)
    return fade_edges(linear_reverb(buf, reverb_ir(0.6, 0.5, rng), 0.2)[:, :int(1.45 * SR)])


def fx_nextlevel(rng):
    buf = fx_buffer(1.2)
    notes = ["C5", "E5", "G5", "C6"]
    for i, n in enumerate(notes):
        fx_add(buf, voice_pluck(freq(n), 0.12, 1.0, bright=0.6), i * 0.085, -0.4 + 0.27 * i, 0.7)
        fx_add(buf, voice_bell(freq(n), 0.1, 0.7, rng), i * 0.085, 0.4 - 0.27 * i, 0.6)
    for n, p in (("C5", -0.3), ("E5", 0.0), ("G5", 0.3), ("C6", 0.1)):
        fx_add(buf, voice_bell(freq(n), 0.4, 0.7, rng), 0.36, p, 0.55)
        fx_add(buf, voice_epiano(freq(n), 0.5, 0.6), 0.36, -p, 0.5)
    fx_add(buf, voice_bell(freq("G6"), 0.3, 0.4, rng), 0.45, 0.5, 0.4)
    out = linear_reverb(buf, reverb_ir(1.0, 0.8, rng), 0.3)[:, :int(1.7 * SR)]
    return fade_edges(out, fade_out=0.3)


def fx_drop(rng):
    buf = fx_buffer(0.4)
    n = buf.shape[1]
    t = np.arange(n) / SR
    whoosh = filtered_noise(n, rng, 500, 4000) * np.exp(-((t - 0.05) / 0.035) ** 2) * 0.35
    f = 55 + 110 * np.exp(-t / 0.03)
    thud = np.sin(2 * np.pi * np.cumsum(f) / SR) * np.exp(-np.maximum(t - 0.07, 0) / 0.07) * \
        (t > 0.07)
    thud *= smoothstep(0.07, 0.074, t)
    knock = filtered_noise(n, rng, 800, 3000) * np.exp(-np.maximum(t - 0.07, 0) / 0.012) * \
        (t > 0.07) * 0.5
    fx_add(buf, whoosh, 0, -0.2)
    fx_add(buf, thud + knock, 0, 0)
    return fade_edges(buf, fade_out=0.05)


def fx_square(rng):
    buf = fx_buffer(0.8)
    fx_add(buf, voice_bell(freq("E6"), 0.1, 1.0, rng), 0.0, -0.3, 0.8)
    fx_add(buf, voice_bell(freq("B6"), 0.2, 1.0, rng), 0.07, 0.3, 0.8)
    fx_add(buf, voice_pluck(freq("E6"), 0.05, 0.5, bright=0.3), 0.0, 0, 0.4)
    out = linear_reverb(buf, reverb_ir(0.6, 0.5, rng), 0.25)[:, :int(0.95 * SR)]
    return fade_edges(out, fade_out=0.25)


def fx_fanfare(rng):
    buf = fx_buffer(2.0)
    line = [("G4", 0.0, 0.11), ("C5", 0.13, 0.11), ("E5", 0.26, 0.11), ("G5", 0.40, 0.25),
            ("E5", 0.68, 0.11), ("G5", 0.82, 0.7)]
    for n, at, ln in line:
        fx_add(buf, voice_brass(freq(n), ln, 1.0), at, -0.15, 0.7)
        fx_add(buf, voice_brass(freq(midi(n) - 12), ln, 0.6), at, 0.2, 0.45)
    for n, p in (("C4", -0.4), ("E4", 0.4), ("G4", 0.0)):
        fx_add(buf, voice_brass(freq(n), 0.7, 0.55), 0.82, p, 0.5)
    fx_add(buf, drum_kick(0.8), 0.82, 0, 0.6)
    fx_add(buf, drum_hat(rng, 0.8, True), 0.82, 0.3, 0.5)
    out = linear_reverb(buf, reverb_ir(1.2, 1.0, rng), 0.25)[:, :int(1.95 * SR)]
    return fade_edges(out, fade_out=0.35)


def fx_badscore(rng):
    buf = fx_buffer(2.0)
    steps = [("G3", 0.0, 0.28), ("F#3", 0.36, 0.28), ("F3", 0.72, 0.28), ("E3", 1.08, 0.62)]
    for i, (n, at, ln) in enumerate(steps):
        wah = np.array([0.35, 1.0, 0.8, 0.4]) if i < 3 else np.array([0.3, 1.0, 0.9, 0.6, 0.9,
                                                                        0.6, 0.8, 0.3])
        fx_add(buf, voice_brass(freq(n), ln, 1.0, wah=wah), at, 0.0, 0.8)
    out = linear_reverb(buf, reverb_ir(0.8, 0.6, rng), 0.18)[:, :int(1.9 * SR)]
    return fade_edges(out, fade_out=0.3)


def make_sounds():
    rng = np.random.default_rng(7007)
    effects = [("explosion.ogg", fx_explosion), ("nextlevel.ogg", fx_nextlevel),
               ("spadanie.ogg", fx_drop), ("ulozone.ogg", fx_square),
               ("greatscore.ogg", fx_fanfare), ("badscore.ogg", fx_badscore)]
    for name, fn in effects:
        write_ogg(master(fn(rng), -17.0, -3.0), name, 5)
    write_ogg(master(make_menu_music(), -19.0, -3.0), "m2.ogg", 3)
    write_ogg(master(make_play_music(), -18.0, -3.0), "m1.ogg", 3)



# ---------------------------------------------------------------------------------------------
# Contact sheet for review: out/contact-sheet.png
# ---------------------------------------------------------------------------------------------


def checker(h, w, step=8):
    yy, xx = np.mgrid[0:h, 0:w]
    c = ((xx // step + yy // step) % 2).astype(np.float64)
    return np.stack([0.35 + 0.1 * c] * 3, -1)


def on_checker(rgba):
    base = checker(*rgba.shape[:2])
    a = rgba[..., 3:4]
    return base * (1 - a) + rgba[..., :3] * a


def draw_font_text(canvas, font_img, glyphs, text, x, y, scale=1, spacing=0):
    """Draws text the way the game does: glyph rectangle stretched to advance x image height."""
    table = {c: (left, adv) for c, left, adv in glyphs}
    h = font_img.shape[0]
    for ch in text:
        if ch not in table:
            x += 16 * scale
            continue
        left, adv = table[ch]
        cell = font_img[:, left:left + adv]
        if scale != 1:
            cell = np.asarray(Image.fromarray(to_u8(cell)).resize((adv * scale, h * scale),
                                                                   Image.BILINEAR)) / 255.0
        ch_h, ch_w = cell.shape[:2]
        sub = canvas[y:y + ch_h, x:x + ch_w]
        a = cell[..., 3:4]
        sub[:] = sub * (1 - a) + cell[..., :3] * a
        x += ch_w + spacing
    return x


def make_contact(back, intro, tiles, explosion, glow, large, small):
    os.makedirs(OUT, exist_ok=True)
    W, H = 1640, 1900
    sheet = np.zeros((H, W, 3))
    sheet[:] = (0.18, 0.18, 0.2)
    sheet[20:620, 20:820] = back
    sheet[20:620, 820 + 0:820 + 800] = intro
    # Block pairs: each level's two colours side by side, at 2x and at 70 % over the well.
    y0 = 650
    for lvl in range(9):
        for k in range(2):
            t = tile_image(tiles, 2 * lvl + k, 64)
            px = 20 + lvl * 180 + k * 66
            sheet[y0:y0 + 64, px:px + 64] = t
            well = np.array([0.045, 0.05, 0.11])
            sheet[y0 + 70:y0 + 134, px:px + 64] = well * 0.3 + t * 0.7
            grey = (t @ np.array([0.299, 0.587, 0.114]))[..., None]
            sheet[y0 + 140:y0 + 204, px:px + 64] = grey
    # Explosion sheet and glow over a checkerboard.
    sheet[880:1392, 20:532] = on_checker(explosion)
    g = glow.astype(np.float64) / 255.0
    sheet[880:1392, 560:1072] = on_checker(g)
    glow_dark = np.zeros((512, 512, 3))
    glow_dark[:] = (0.04, 0.05, 0.11)
    glow_dark += g[..., :3] * g[..., 3:4] * np.array([0.2, 0.3, 0.0]) * 0.6
    sheet[880:1392, 1100:1612] = np.clip(glow_dark, 0, 1)
    # Both fonts: every glyph, then sample words over light and dark ground.
    large_img, large_glyphs = large
    small_img, small_glyphs = small
    chars = "".join(c for c, _, _ in large_glyphs)
    sheet[1410:1560, 20:1620] = (0.55, 0.6, 0.7)
    sheet[1560:1880, 20:1620] = (0.05, 0.05, 0.12)
    draw_font_text(sheet, large_img, large_glyphs, chars[:47], 30, 1420, spacing=4)
    draw_font_text(sheet, large_img, large_glyphs, chars[47:], 30, 1470, spacing=4)
    draw_font_text(sheet, small_img, small_glyphs, "".join(c for c, _, _ in small_glyphs),
                   30, 1520, spacing=4)
    draw_font_text(sheet, large_img, large_glyphs, "new game  options  high score  credits",
                   30, 1580)
    draw_font_text(sheet, large_img, large_glyphs, "score level time left explode", 30, 1630)
    draw_font_text(sheet, small_img, small_glyphs, "1234567890 -42", 30, 1680)
    draw_font_text(sheet, large_img, large_glyphs, "Tavirel!", 30, 1730, scale=2)
    Image.fromarray(to_u8(np.clip(sheet, 0, 1))).save(os.path.join(OUT, "contact-sheet.png"))


# ---------------------------------------------------------------------------------------------
# Desktop icon: dist/icons/<size>/tavirel.png, a 2 x 2 block of the first level's colours
# ---------------------------------------------------------------------------------------------

DIST = os.path.join(ROOT, "dist")


def render_icon(size):
    """A falling 2 x 2 block on a dark rounded tile, drawn 4 times larger and scaled down."""
    ss = 4
    big = size * ss
    x, y = grid_coords(big, big)
    u, v = x / big, y / big
    # Rounded square backdrop with a soft night-sky gradient.
    cx, cy = np.clip(u, 0.16, 0.84), np.clip(v, 0.16, 0.84)
    corner = np.hypot(u - cx, v - cy)
    alpha = 1.0 - smoothstep(0.135, 0.145, corner)
    img = np.zeros((big, big, 3))
    img[:] = np.array([0.05, 0.05, 0.13])
    img += np.array([0.20, 0.10, 0.32])[None, None, :] * (1.0 - v)[..., None] * 0.9
    glow = np.exp(-(((u - 0.5) / 0.33) ** 2 + ((v - 0.5) / 0.33) ** 2))
    img += np.array([0.20, 0.30, 0.0])[None, None, :] * glow[..., None] * 0.6
    # The block: four tiles, red and yellow crossed, as a new block often comes.
    cell = int(big * 0.34)
    left = (big - 2 * cell) // 2
    for dx, dy in [(0, 0), (1, 0), (1, 1), (0, 1)]:
        colour = (dx + dy) % 2
        tile = Image.fromarray(to_u8(render_tile(BLOCK_COLOURS[colour], colour))).resize(
            (cell, cell), Image.LANCZOS)
        t = np.asarray(tile, dtype=np.float64) / 255.0
        y0, x0 = left + dy * cell, left + dx * cell
        img[y0:y0 + cell, x0:x0 + cell] = t
    rgba = np.concatenate([np.clip(img, 0, 1), alpha[..., None]], axis=2)
    return downsample(rgba, ss)


def make_icons():
    for size in (48, 128):
        folder = os.path.join(DIST, "icons", str(size))
        os.makedirs(folder, exist_ok=True)
        Image.fromarray(to_u8(render_icon(size))).save(os.path.join(folder, "tavirel.png"),
                                                       optimize=True)


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--only", choices=["pictures", "sound", "icons"], help="make only one kind")
    args = ap.parse_args()
    os.makedirs(MEDIA, exist_ok=True)
    if args.only in (None, "pictures"):
        tiles = make_blocks()
        explosion = make_explosion()
        glow = make_glow()
        large, small = make_fonts()
        back = make_back(tiles)
        intro = make_intro(tiles)
        make_contact(back, intro, tiles, explosion, glow, large, small)
        print("pictures and fonts written")
    if args.only in (None, "pictures", "icons"):
        make_icons()
        print("icons written")
    if args.only in (None, "sound"):
        make_sounds()
        print("music and effects written")


if __name__ == "__main__":
    main()
