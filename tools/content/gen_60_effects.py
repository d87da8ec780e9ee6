#!/usr/bin/env python3
"""Writes the demo's particle effects into <target>/data/fx/: effect files (our own text format,
described in docs/particles.md) and the small pictures their emitters draw.

- sparkles.pfx: golden four-pointed glints and fine dust rising around a spot, added to the light.
- chimney_smoke.pfx: soft grey puffs rising from a chimney, growing and drifting with the wind,
  with now and then an ember.

The pictures are white (the effect files colour them) and drawn procedurally with a fixed seed,
so every run writes the same bytes.
"""
import math
import os
import random
import sys

from PIL import Image, ImageFilter

here = os.path.dirname(os.path.abspath(__file__))
target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "demo"))
fx = os.path.join(target, "data", "fx")
os.makedirs(os.path.join(fx, "pics"), exist_ok=True)


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(text)


def save(img, name):
    # No time stamps or other chunks that would change between runs.
    img.save(os.path.join(fx, "pics", name), optimize=True)


def glint(size=32):
    """A four-pointed star: two thin crossed rays over a small round glow."""
    img = Image.new("RGBA", (size, size), (255, 255, 255, 0))
    px = img.load()
    c = (size - 1) / 2
    for y in range(size):
        for x in range(size):
            dx, dy = (x - c) / c, (y - c) / c
            r = math.hypot(dx, dy)
            glow = max(0.0, 1 - r / 0.45) ** 2
            # Rays: bright along the axes, thinning and fading towards their tips.
            ray_h = max(0.0, 1 - abs(dy) / (0.09 * (1 - abs(dx)) + 1e-6)) * max(0.0, 1 - abs(dx))
            ray_v = max(0.0, 1 - abs(dx) / (0.09 * (1 - abs(dy)) + 1e-6)) * max(0.0, 1 - abs(dy))
            a = min(1.0, glow + ray_h ** 1.5 + ray_v ** 1.5)
            px[x, y] = (255, 255, 255, int(a * 255 + 0.5))
    return img


def puff(size=64, seed=6006):
    """A soft cloud: overlapping blurred blobs with a round fall-off, a little lumpy inside."""
    rng = random.Random(seed)
    alpha = Image.new("L", (size, size), 0)
    ap = alpha.load()
    c = (size - 1) / 2
    blobs = [(c + rng.uniform(-9, 9), c + rng.uniform(-9, 9), rng.uniform(10, 17)) for _ in range(7)]
    for y in range(size):
        for x in range(size):
            v = 0.0
            for bx, by, br in blobs:
                d = math.hypot(x - bx, y - by) / br
                if d < 1:
                    v += (1 - d * d) ** 2 * 0.55
            edge = max(0.0, 1 - math.hypot(x - c, y - c) / (c + 0.5))
            v = min(1.0, v) * min(1.0, edge * 2.2)
            ap[x, y] = int(v * 235 + 0.5)
    alpha = alpha.filter(ImageFilter.GaussianBlur(1.6))
    img = Image.new("RGBA", (size, size), (255, 255, 255, 0))
    # A lighter top and a darker underside read as a lit cloud once the curve colours it.
    shade = Image.new("L", (size, size))
    sp = shade.load()
    for y in range(size):
        for x in range(size):
            sp[x, y] = int(255 - 55 * (y / (size - 1)))
    img = Image.merge("RGBA", (shade, shade, shade, alpha))
    return img


save(glint(), "glint.png")
save(puff(), "puff.png")

write(os.path.join(fx, "sparkles.pfx"), """\
; Sparkles: golden glints that flash and turn around a spot, over a haze of fine rising dust.
; Place the effect on what should shine (a bonus, a finished building). Format: docs/particles.md.
[effect]
version = 1
title = Sparkles

[emitter glints]
sprite = pics/glint.png
blend = additive
rate = 18
maxParticles = 60
life = 0.6 1.2
speed = 6 26
direction = -90
spread = 360
area = 56 40
isRound = 1
gravity = 0 -12
drag = 0.8
angle = 0 90
spin = -60 60
sizeVariation = 0.35
size = 0 4, 0.25 34, 0.5 18, 1 0
color = 0 #FFFFFF, 0.35 #FFE9A0, 1 #FF9A30
alpha = 0 0, 0.15 1, 0.7 0.9, 1 0

[emitter dust]
blend = additive
rate = 30
maxParticles = 120
life = 1.2 2.4
speed = 8 22
direction = -90
spread = 50
area = 70 24
isRound = 1
gravity = 0 -6
sizeVariation = 0.5
size = 0 3, 1 6
color = 0 #FFF6C0, 1 #FFB050
alpha = 0 0, 0.2 0.55, 1 0
""")

write(os.path.join(fx, "chimney_smoke.pfx"), """\
; Chimney smoke: grey puffs that rise, grow and drift off with the wind, and now and then an
; ember that jumps out and falls back. Place the effect at the chimney's top. Format: docs/particles.md.
[effect]
version = 1
title = Chimney smoke

[emitter smoke]
sprite = pics/puff.png
blend = alpha
rate = 6
maxParticles = 50
life = 4 5.5
speed = 30 45
direction = -90
spread = 18
area = 6 2
gravity = 12 -6
drag = 0.25
angle = 0 360
spin = -25 25
sizeVariation = 0.2
size = 0 14, 0.4 50, 1 96
color = 0 #5A5550, 0.3 #8C8884, 1 #C8C8CC
alpha = 0 0, 0.12 0.8, 0.6 0.45, 1 0

[emitter embers]
blend = additive
rate = 1.5
maxParticles = 12
life = 0.7 1.3
speed = 30 60
direction = -95
spread = 40
area = 4 1
gravity = 10 70
size = 0 5, 1 2
color = 0 #FFF0A0, 0.4 #FF9030, 1 #C02000
alpha = 0 1, 0.7 0.9, 1 0
""")
