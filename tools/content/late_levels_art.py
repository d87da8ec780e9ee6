"""Pictures of the demo's levels 4 to 6: the grey wolf and the cave spider that stand in the way,
the quill lying in the grass, a fir tree and the small scenery of the later levels (a hearth, the
evil totem, a broken road).

Every picture is centred on its object's anchor (the middle of its ground line), drawn large and
shrunk once with fixed seeds, so every run gives the same pixels. Anything that moves has several
frames stacked top to bottom, as the catalogue cuts a strip.
"""
import math
import random

from building_art import INK, Canvas, ground, shade
from campaign_art import stack

FUR = (128, 126, 124, 255)
FUR_DARK = (92, 90, 92, 255)
FUR_LIGHT = (196, 192, 186, 255)


def wolf_strip(mode="idle", frames=6):
    """The grey wolf, 100 x 128, facing left: "idle" breathes and flicks its tail, "howl" lifts its
    muzzle and howls."""
    out = []
    for k in range(frames):
        t = k / frames
        c = Canvas(100, 64)
        ground(c, 40, 7)
        s = math.sin(t * 2 * math.pi)
        breath = 0.8 * s
        lift = (math.sin(t * math.pi) * 10) if mode == "howl" else 0
        # Tail, behind the body; it swings.
        tail = [(28, -22), (40, -24 + 4 * s), (46, -16 + 6 * s), (38, -14)]
        c.poly(tail, FUR_DARK, INK, 1)
        # Far legs, darker, then the body and the near legs.
        for lx in (-16, 18):
            c.line([(lx + 3, -14), (lx + 4, -1)], shade(FUR_DARK, 0.85), 4)
        c.ellipse(-24, -30 - breath, 34, -10, FUR, INK, 1.2)
        c.ellipse(-18, -22 - breath, 26, -12, FUR_LIGHT)  # the pale belly
        for lx in (-20, 14):
            c.line([(lx, -14), (lx - 1, 0)], FUR, 4)
            c.ellipse(lx - 4, -2, lx + 2, 1, FUR_DARK)
        # Neck and head; howling, the head rises and the muzzle points up.
        hx, hy = -28, -32 - lift
        c.poly([(-20, -28 - breath), (-14, -16), (hx + 6, hy + 12), (hx + 2, hy)], FUR, INK, 1)
        c.ellipse(hx - 10, hy - 10, hx + 10, hy + 8, FUR, INK, 1.2)
        if mode == "howl":
            c.poly([(hx - 6, hy - 6), (hx - 14, hy - 20), (hx - 4, hy - 14)], FUR, INK, 1)  # muzzle up
            c.ellipse(hx - 15, hy - 22, hx - 11, hy - 18, (30, 26, 26, 255))
        else:
            c.poly([(hx - 6, hy - 2), (hx - 22, hy + 2), (hx - 20, hy + 6), (hx - 4, hy + 6)], FUR, INK, 1)
            c.ellipse(hx - 24, hy + 1, hx - 19, hy + 5, (30, 26, 26, 255))  # the nose
        for ex in (-2, 5):  # the ears
            c.poly([(hx + ex - 3, hy - 7), (hx + ex, hy - 17), (hx + ex + 4, hy - 6)], FUR_DARK, INK, 1)
        c.ellipse(hx - 5, hy - 3, hx - 1, hy + 1, (250, 210, 60, 255))  # a yellow eye
        c.ellipse(hx - 4, hy - 2, hx - 2, hy, (20, 20, 20, 255))
        out.append(c.result())
    return stack(out)


def spider_strip(mode="idle", frames=6):
    """The cave spider, 88 x 96: a round black body with red markings on eight jointed legs, that
    sways on them ("idle") or rears up with its front legs raised ("rear")."""
    out = []
    body = (44, 38, 48, 255)
    for k in range(frames):
        t = k / frames
        c = Canvas(88, 48)
        ground(c, 36, 6)
        s = math.sin(t * 2 * math.pi)
        rear = math.sin(t * math.pi) * 8 if mode == "rear" else 0
        by = -16 + s * 1.2 - rear * 0.5
        for side in (-1, 1):
            for i in range(4):
                knee_x = side * (14 + i * 5)
                foot_x = side * (22 + i * 6)
                kick = 2 * math.sin(t * 2 * math.pi + i + (0 if side > 0 else math.pi))
                up = rear if (i == 0) else 0
                knee_y = by - 12 - i * 1.5 - up
                foot_y = -1 - up * 1.6 + (kick if i % 2 else 0)
                c.line([(side * 6, by), (knee_x, knee_y), (foot_x, foot_y)], shade(body, 0.9), 2.2)
        c.ellipse(-16, by - 14, 16, by + 10, body, INK, 1.2)  # abdomen
        c.poly([(-5, by - 8), (0, by - 2), (5, by - 8), (0, by + 2)], (200, 40, 40, 255))  # the mark
        c.ellipse(-9, by - 22, 9, by - 8, shade(body, 1.2), INK, 1)  # head
        for ex in (-4, -1.5, 1.5, 4):
            c.ellipse(ex - 1.3, by - 19, ex + 1.3, by - 16.4, (240, 60, 60, 255))
        out.append(c.result())
    return stack(out)


def quill_strip(frames=8):
    """The golden quill lying in the grass, 48 x 48, with a glint running along it."""
    out = []
    for k in range(frames):
        c = Canvas(48, 24)
        ground(c, 16, 4)
        ang = -0.5
        base = (-14, -4)
        tip = (base[0] + 34 * math.cos(ang), base[1] + 34 * math.sin(ang))
        # The vane: a long leaf shape either side of the shaft.
        n = 12
        left, right = [], []
        for i in range(n + 1):
            f = i / n
            x = base[0] + (tip[0] - base[0]) * f
            y = base[1] + (tip[1] - base[1]) * f
            wdt = 7 * math.sin(math.pi * min(1.0, f * 1.1)) if f > 0.15 else 0
            nx, ny = -math.sin(ang), math.cos(ang)
            left.append((x + nx * wdt, y + ny * wdt))
            right.append((x - nx * wdt * 0.8, y - ny * wdt * 0.8))
        c.poly(left + right[::-1], (250, 214, 90, 255), INK, 1)
        c.line([base, tip], (170, 110, 30, 255), 1.4)
        # Barbs.
        for i in range(3, n, 2):
            f = i / n
            x = base[0] + (tip[0] - base[0]) * f
            y = base[1] + (tip[1] - base[1]) * f
            c.line([(x, y), (x - 3, y + 5)], (210, 160, 50, 255), 0.8)
        g = k / frames
        gx = base[0] + (tip[0] - base[0]) * g
        gy = base[1] + (tip[1] - base[1]) * g
        c.ellipse(gx - 3, gy - 3, gx + 3, gy + 3, (255, 255, 230, 200))
        out.append(c.result())
    return stack(out)


def fir_strip(frames=4):
    """A dark fir, 90 x 280, swaying a little at the top."""
    out = []
    for k in range(frames):
        c = Canvas(90, 140)
        ground(c, 26, 6)
        sway = 2.5 * math.sin(k / frames * 2 * math.pi)
        c.rect(-5, -20, 5, 0, (104, 72, 44, 255), INK, 1)
        for i, (wdt, y0, y1) in enumerate(((40, -22, -58), (32, -48, -86), (24, -76, -110), (15, -100, -132))):
            top = sway * (i + 1) / 4
            green = (40 + i * 6, 96 + i * 8, 56 + i * 4, 255)
            c.poly([(-wdt, y0), (top, y1), (wdt, y0)], green, INK, 1)
            c.line([(-wdt * 0.6, y0 - 4), (top * 0.7, y1 + 10)], shade(green, 1.25), 1.2)
        out.append(c.result())
    return stack(out)


def log_fire_ring():
    """Stones in a ring with crossed logs: the campfire's hearth (the flames are an effect)."""
    c = Canvas(56, 20)
    ground(c, 24, 7)
    rng = random.Random(41)
    for i in range(10):
        a = i / 10 * 2 * math.pi
        x, y = 20 * math.cos(a), 7 * math.sin(a) - 3
        g = rng.randint(120, 160)
        c.ellipse(x - 4.5, y - 3.5, x + 4.5, y + 3.5, (g, g - 4, g - 10, 255), INK, 0.8)
    c.line([(-12, -2), (12, -8)], (120, 80, 46, 255), 4)
    c.line([(-12, -8), (12, -2)], (136, 92, 54, 255), 4)
    c.ellipse(-6, -9, 6, -2, (255, 150, 40, 200))
    return c.result()


def totem_strip(frames=6):
    """The evil totem, 64 x 192: a carved pole of three grim faces, its eyes glowing red and dimming
    in turn."""
    out = []
    wood = (122, 86, 60, 255)
    for k in range(frames):
        c = Canvas(64, 96)
        ground(c, 24, 7)
        glow = 0.5 + 0.5 * math.sin(k / frames * 2 * math.pi)
        c.rect(-14, -88, 14, 0, wood, INK, 1.2)
        for i, top in enumerate((-88, -60, -32)):
            face = shade(wood, 1.0 + 0.12 * (i % 2))
            c.rect(-16, top, 16, top + 26, face, INK, 1.2)
            eye = (255, int(60 + 120 * glow), 40, 255)
            for ex in (-7, 7):
                c.ellipse(ex - 4, top + 6, ex + 4, top + 12, (40, 20, 16, 255))
                c.ellipse(ex - 2.2, top + 7.5, ex + 2.2, top + 10.5, eye)
            c.line([(-8, top + 19), (-3, top + 16), (3, top + 16), (8, top + 19)], INK, 1.4)  # a frown
            for tx in (-5, 0, 5):
                c.poly([(tx - 1.5, top + 17), (tx, top + 21), (tx + 1.5, top + 17)], (236, 228, 200, 255))
        c.poly([(-22, -88), (0, -100), (22, -88)], (150, 40, 40, 255), INK, 1.2)  # the roof
        for sx in (-1, 1):
            c.poly([(sx * 16, -56), (sx * 28, -64), (sx * 28, -56), (sx * 16, -50)], shade(wood, 0.8), INK, 1)
        out.append(c.result())
    return stack(out)


def totem_broken():
    """The evil totem broken, 64 x 96: a splintered stump with its three carved faces toppled in the
    grass beside it, their eyes gone dark, and the red roof lying on its side."""
    c = Canvas(64, 96)
    ground(c, 26, 7)
    wood = (122, 86, 60, 255)
    c.poly([(-14, -22), (-8, -30), (-2, -24), (4, -31), (9, -25), (14, -28), (14, 0), (-14, 0)], wood, INK, 1.2)
    for i, (x, y) in enumerate(((-22, -6), (6, -4), (20, -12))):
        face = shade(wood, 0.92 + 0.1 * (i % 2))
        c.rect(x - 13, y - 8, x + 13, y + 8, face, INK, 1.1)
        for ex in (-5, 5):
            c.ellipse(x + ex - 3, y - 5, x + ex + 3, y - 1, (40, 20, 16, 255))
        c.line([(x - 6, y + 4), (x - 2, y + 2), (x + 2, y + 2), (x + 6, y + 4)], INK, 1.2)
    c.poly([(-30, -16), (-20, -30), (-12, -18)], (150, 40, 40, 255), INK, 1.1)
    return c.result()


def road_crack_strip():
    """A stretch of road across a gap in the rocks, 110 x 70: frame 0 mended with fresh planks,
    frame 1 broken, a dark rut full of rubble."""
    out = []
    rng = random.Random(44)
    for broken in (False, True):
        c = Canvas(110, 35)
        c.ellipse(-50, -24, 50, 24, (186, 158, 108, 255))
        if broken:
            c.poly([(-40, -6), (-20, -14), (0, -4), (22, -16), (44, -6), (30, 8), (6, 2), (-16, 12), (-38, 6)],
                   (70, 56, 42, 255), INK, 1.2)
            for _ in range(14):
                x, y = rng.uniform(-36, 36), rng.uniform(-8, 6)
                r = rng.uniform(2, 5)
                g = rng.randint(110, 160)
                c.ellipse(x - r, y - r * 0.7, x + r, y + r * 0.7, (g, g - 6, g - 14, 255), INK, 0.6)
        else:
            for i in range(7):
                x = -33 + i * 11
                c.rect(x - 5, -16, x + 5, 14, shade((176, 128, 76, 255), 0.9 + 0.05 * (i % 3)), INK, 0.8)
                c.ellipse(x - 1, -13, x + 1, -11, (60, 50, 40, 255))
        out.append(c.result())
    return stack(out)


def fly_dot(frames=2):
    """A midge over the pond, 6 x 12: a dark speck with a blur of wings that flicker (the flies
    object tints it with its colour)."""
    out = []
    for k in range(frames):
        c = Canvas(6, 3)
        c.ellipse(-1.2, -2.2, 1.2, -0.2, (255, 255, 255, 255))
        wing = (255, 255, 255, 110 if k == 0 else 60)
        c.ellipse(-2.8, -3.0 + k * 0.6, -0.4, -1.6, wing)
        c.ellipse(0.4, -3.0 + k * 0.6, 2.8, -1.6, wing)
        out.append(c.result())
    return stack(out)
