"""Pictures of level 1, "The meadow": the painted background and its scenery objects.

The background is painted from the same shapes the level's path grid is made of (hills, river,
pond, hedges), so what looks like water or hill is what blocks the workers. Scenery pictures
(bridge, berry bushes, ore rock, trees, pond glints, the robin and the butterfly) are centred on
their object's anchor. Fixed seeds: every run gives the same pixels.
"""
import math
import random

from PIL import Image, ImageDraw, ImageFilter

GRASS = (112, 170, 74)
DIRT = (198, 170, 118)
WATER = (74, 140, 200)
BANK = (150, 128, 86)


def _mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def paint_background(river, river_width, pond, paths, size=(1024, 768)):
    """The meadow: sky and hills at the top, grass, dirt paths, the river, the pond and hedges."""
    w, h = size
    rng = random.Random(1)
    img = Image.new("RGB", size, GRASS)
    d = ImageDraw.Draw(img)
    # Grass: soft patches of lighter and darker green, then blurred together.
    for _ in range(900):
        x, y = rng.uniform(0, w), rng.uniform(100, h)
        r = rng.uniform(8, 40)
        c = _mix(GRASS, (150, 196, 90) if rng.random() < 0.5 else (86, 140, 60), rng.uniform(0.2, 0.6))
        d.ellipse([x - r, y - r * 0.6, x + r, y + r * 0.6], fill=c)
    img = img.filter(ImageFilter.GaussianBlur(6))
    d = ImageDraw.Draw(img)
    # Dirt paths with soft edges.
    layer = Image.new("L", size, 0)
    ld = ImageDraw.Draw(layer)
    for path in paths:
        ld.line(path, fill=255, width=18, joint="curve")
        for x, y in path:
            ld.ellipse([x - 9, y - 9, x + 9, y + 9], fill=255)
    layer = layer.filter(ImageFilter.GaussianBlur(3))
    img = Image.composite(Image.new("RGB", size, DIRT), img, layer)
    d = ImageDraw.Draw(img)
    # Grass tufts and little flowers.
    for _ in range(1400):
        x, y = rng.uniform(20, w - 20), rng.uniform(135, h - 20)
        if layer.getpixel((int(x), int(y))) > 40:
            continue
        if rng.random() < 0.75:
            c = _mix(GRASS, (60, 110, 40), rng.uniform(0.3, 0.7))
            d.line([(x, y), (x - 2, y - 5)], fill=c, width=1)
            d.line([(x, y), (x + 2, y - 5)], fill=c, width=1)
        else:
            c = rng.choice([(250, 250, 240), (250, 220, 80), (230, 140, 190)])
            d.ellipse([x - 1.5, y - 1.5, x + 1.5, y + 1.5], fill=c)
    # The river: banks, water and a lighter current down the middle.
    d.line(river, fill=BANK, width=river_width + 14, joint="curve")
    for x, y in river:
        r = (river_width + 14) / 2
        d.ellipse([x - r, y - r, x + r, y + r], fill=BANK)
    d.line(river, fill=WATER, width=river_width, joint="curve")
    for x, y in river:
        r = river_width / 2
        d.ellipse([x - r, y - r, x + r, y + r], fill=WATER)
    d.line(river, fill=(110, 170, 220), width=river_width // 4, joint="curve")
    # The pond.
    x0, y0, x1, y1 = pond
    d.ellipse([x0 - 6, y0 - 5, x1 + 6, y1 + 5], fill=BANK)
    d.ellipse(pond, fill=WATER)
    d.ellipse([x0 + 18, y0 + 12, x1 - 30, y1 - 22], fill=(96, 160, 214))
    # Sky and hills along the top (blocked ground).
    for y in range(0, 90):
        d.line([(0, y), (w, y)], fill=_mix((150, 200, 240), (214, 234, 248), y / 90))
    far = [(0, 70)] + [(x, 62 + 14 * math.sin(x / 90) + 8 * math.sin(x / 37)) for x in range(0, w + 1, 8)] + [(w, 70)]
    d.polygon(far + [(w, 140), (0, 140)], fill=(120, 160, 120))
    near = [(x, 104 + 12 * math.sin(x / 130 + 1) + 6 * math.sin(x / 51)) for x in range(0, w + 1, 8)]
    d.polygon(near + [(w, 140), (0, 140)], fill=(84, 142, 64))
    d.line(near, fill=(70, 120, 52), width=2)
    img = img.filter(ImageFilter.SMOOTH)
    d = ImageDraw.Draw(img)
    # Hedges along the sides and the bottom (blocked ground).
    for box in ((0, 120, 22, h), (w - 22, 120, w, h), (0, h - 22, w, h)):
        d.rectangle(box, fill=(58, 104, 46))
    for _ in range(260):
        side = rng.choice(("l", "r", "b"))
        if side == "b":
            x, y = rng.uniform(0, w), rng.uniform(h - 26, h)
        else:
            x = rng.uniform(0, 26) if side == "l" else rng.uniform(w - 26, w)
            y = rng.uniform(120, h)
        r = rng.uniform(5, 11)
        d.ellipse([x - r, y - r, x + r, y + r], fill=_mix((58, 104, 46), (90, 140, 64), rng.random()))
    return img


SS = 3


def _canvas(w, h):
    img = Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))
    return img, ImageDraw.Draw(img)


def _shrink(img, w, h):
    return img.resize((w, h), Image.LANCZOS)


def _s(*v):
    return [x * SS for x in v]


INK = (60, 40, 28, 255)


def bridge(fixed):
    """A plank bridge across the river, 150 x 64, drawn with its deck level with the anchor."""
    w, h = 150, 64
    img, d = _canvas(w, h)
    rng = random.Random(3)
    for i in range(17):
        x = 10 + i * 7.8
        if not fixed and i in (6, 7, 9, 10, 11):
            continue
        drop = 0 if fixed or i not in (5, 8, 12) else 3
        shade = rng.randint(-14, 14)
        d.rectangle(_s(x, 20 + drop, x + 6.8, 44 + drop), fill=(170 + shade, 122 + shade, 70 + shade, 255),
                    outline=INK, width=SS)
    rail = (120, 80, 46, 255)
    if fixed:
        for y in (18, 44):
            d.line(_s(6, y, 144, y), fill=rail, width=3 * SS)
        for x in (8, 40, 75, 110, 142):
            d.line(_s(x, 12, x, 18), fill=rail, width=3 * SS)
            d.line(_s(x, 44, x, 50), fill=rail, width=3 * SS)
    else:
        d.line(_s(6, 18, 50, 18), fill=rail, width=3 * SS)
        d.line(_s(86, 16, 144, 18), fill=rail, width=3 * SS)
        d.line(_s(6, 44, 44, 46), fill=rail, width=3 * SS)
        d.line(_s(100, 50, 144, 44), fill=rail, width=3 * SS)
        for x in (8, 40, 110, 142):
            d.line(_s(x, 12, x, 18), fill=rail, width=3 * SS)
    return _shrink(img, w, h)


def bush():
    """A round berry bush, 72 x 64, its foot a little below the anchor."""
    w, h = 72, 64
    img, d = _canvas(w, h)
    rng = random.Random(4)
    d.ellipse(_s(10, 44, 62, 56), fill=(0, 0, 0, 60))
    for _ in range(26):
        x, y, r = rng.uniform(18, 54), rng.uniform(16, 44), rng.uniform(8, 13)
        c = rng.choice([(62, 124, 50), (76, 142, 58), (54, 108, 44)])
        d.ellipse(_s(x - r, y - r, x + r, y + r), fill=c + (255,))
    for _ in range(16):
        x, y = rng.uniform(16, 56), rng.uniform(14, 46)
        d.ellipse(_s(x - 2.4, y - 2.4, x + 2.4, y + 2.4), fill=(210, 36, 70, 255), outline=(120, 20, 40, 255),
                  width=SS)
        d.ellipse(_s(x - 1.2, y - 1.6, x - 0.2, y - 0.6), fill=(255, 200, 210, 255))
    return _shrink(img, w, h)


def rock():
    """A grey boulder with orange ore veins, 100 x 80."""
    w, h = 100, 80
    img, d = _canvas(w, h)
    d.ellipse(_s(10, 54, 90, 70), fill=(0, 0, 0, 60))
    d.polygon(_s(12, 60, 20, 30, 42, 16, 70, 20, 88, 40, 90, 62), fill=(140, 138, 134, 255), outline=INK)
    d.polygon(_s(42, 16, 70, 20, 88, 40, 60, 36), fill=(170, 168, 162, 255))
    rng = random.Random(6)
    for _ in range(12):
        x, y = rng.uniform(24, 80), rng.uniform(28, 58)
        d.polygon(_s(x, y, x + 4, y - 2, x + 6, y + 2, x + 1, y + 4), fill=(230, 140, 50, 255), outline=(120, 60, 20, 255))
    return _shrink(img, w, h)


def tree_strip(kind, frames=4):
    """An oak or a birch whose crown sways; the trunk's foot is on the anchor (the picture's
    centre)."""
    w, hh = (120, 150) if kind == "oak" else (80, 150)
    h = hh * 2
    out = Image.new("RGBA", (w, h * frames), (0, 0, 0, 0))
    for k in range(frames):
        img, d = _canvas(w, h)
        sway = math.sin(k / frames * 2 * math.pi) * 2.5
        cx, base = w / 2, hh
        d.ellipse(_s(cx - 30, base - 6, cx + 30, base + 6), fill=(0, 0, 0, 60))
        if kind == "oak":
            d.polygon(_s(cx - 8, base, cx + 8, base, cx + 5, base - 60, cx - 5, base - 60), fill=(110, 76, 46, 255),
                      outline=INK)
            rng = random.Random(8)
            for _ in range(30):
                x, y, r = rng.uniform(-40, 40), rng.uniform(-135, -60), rng.uniform(14, 22)
                c = rng.choice([(58, 118, 48), (70, 134, 56), (50, 100, 42)])
                dx = sway * (1 - (y + 135) / 80)
                d.ellipse(_s(cx + x + dx - r, base + y - r, cx + x + dx + r, base + y + r), fill=c + (255,))
        else:
            d.polygon(_s(cx - 4, base, cx + 4, base, cx + 2 + sway * 0.3, base - 90, cx - 2 + sway * 0.3, base - 90),
                      fill=(236, 232, 222, 255), outline=INK)
            for y in range(10, 90, 12):
                d.line(_s(cx - 3, base - y, cx, base - y), fill=(40, 40, 40, 255), width=SS)
            rng = random.Random(9)
            for _ in range(24):
                x, y, r = rng.uniform(-22, 22), rng.uniform(-140, -70), rng.uniform(9, 15)
                c = rng.choice([(120, 170, 60), (140, 186, 70), (100, 150, 52)])
                dx = sway * (1 - (y + 140) / 80)
                d.ellipse(_s(cx + x + dx - r, base + y - r, cx + x + dx + r, base + y + r), fill=c + (255,))
        out.paste(_shrink(img, w, h), (0, k * h))
    return out


def glint_strip(frames=6, w=120, h=80):
    """Light glinting on the pond's water."""
    out = Image.new("RGBA", (w, h * frames), (0, 0, 0, 0))
    rng = random.Random(10)
    spots = [(rng.uniform(15, w - 15), rng.uniform(15, h - 15), rng.uniform(0, 2 * math.pi)) for _ in range(14)]
    for k in range(frames):
        img, d = _canvas(w, h)
        for x, y, ph in spots:
            a = int(200 * max(0.0, math.sin(ph + k / frames * 2 * math.pi)))
            d.line(_s(x - 5, y, x + 5, y), fill=(255, 255, 255, a), width=2 * SS)
        out.paste(_shrink(img, w, h), (0, k * h))
    return out


def robin_strip(mode, frames):
    """The robin, 24 x 24: sitting, hopping, singing or fluttering."""
    w = h = 24
    out = Image.new("RGBA", (w, h * frames), (0, 0, 0, 0))
    for k in range(frames):
        img, d = _canvas(w, h)
        t = k / frames
        lift = 4 * math.sin(t * math.pi) if mode == "hop" else 0
        by = 14 - lift
        d.ellipse(_s(6, by - 5, 18, by + 5), fill=(120, 96, 70, 255), outline=INK, width=SS)
        d.ellipse(_s(12, by - 3, 18, by + 4), fill=(230, 110, 50, 255))
        d.ellipse(_s(13, by - 10, 21, by - 2), fill=(120, 96, 70, 255), outline=INK, width=SS)
        d.ellipse(_s(17, by - 7.5, 18.6, by - 5.9), fill=(20, 20, 20, 255))
        beak_open = mode == "sing" and k % 2 == 1
        d.polygon(_s(20.5, by - 6.5, 24, by - 5.5 - (1.5 if beak_open else 0), 20.5, by - 5), fill=(60, 50, 40, 255))
        if beak_open:
            d.polygon(_s(20.5, by - 5, 24, by - 3.5, 20.5, by - 4.6), fill=(60, 50, 40, 255))
        d.polygon(_s(6, by - 2, 1, by - 5, 2, by), fill=(100, 80, 60, 255))
        if mode == "flutter":
            up = math.sin(t * 2 * math.pi * 2) * 5
            d.polygon(_s(8, by - 2, 14, by - 2, 10, by - 6 - up), fill=(100, 80, 60, 255))
        if lift < 1:
            d.line(_s(11, by + 5, 11, 21), fill=(60, 50, 40, 255), width=SS)
            d.line(_s(14, by + 5, 14, 21), fill=(60, 50, 40, 255), width=SS)
        out.paste(_shrink(img, w, h), (0, k * h))
    return out


def butterfly_strip(frames=4):
    w = h = 20
    out = Image.new("RGBA", (w, h * frames), (0, 0, 0, 0))
    for k in range(frames):
        img, d = _canvas(w, h)
        open_ = abs(math.cos(k / frames * math.pi))
        span = 1 + 8 * open_
        for sgn in (-1, 1):
            d.ellipse(_s(10 + sgn * span - 4, 4, 10 + sgn * span + 4, 11), fill=(250, 200, 60, 255), outline=INK,
                      width=SS)
            d.ellipse(_s(10 + sgn * span * 0.8 - 3, 10, 10 + sgn * span * 0.8 + 3, 16), fill=(240, 150, 50, 255),
                      outline=INK, width=SS)
        d.line(_s(10, 5, 10, 16), fill=INK, width=2 * SS)
        out.paste(_shrink(img, w, h), (0, k * h))
    return out
