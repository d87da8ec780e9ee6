#!/usr/bin/env python3
"""Pictures, effects, sounds and texts of the berry quest: the berry bush and its berries, four
mushrooms (cep, chanterelle, brown cap, red cap; each carried as the item "mushroom"), the red hood
girl (idle, glance, thanks, talk) and the drums (idle, tap, drumming start, drumming loop, final
hit). Effects "Berry" (the bush's sparkle), "HeadHit" (the drums' final hit), "MagicRain" (the
glittering rain that ripens the berries) and "BerryInBag" (over a worker carrying the berries
home); "Rain" only when the demo has none yet. Sound tracks in data/obstacles/sounds.ini: "BerryBush", "Mushroom" (the soundKey of bush
and mushrooms), "RedHood" and "Drums" (the object names of the red hood and the drums). Drawn
supersampled and synthesised from fixed seeds, so runs give the same bytes. Also story dialog 182
(told when the drums' rains have passed) in data/menu/ingameDialogs.ini."""
import math
import os
import random
import sys

from PIL import ImageFilter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sound_synth as synth  # noqa: E402
from catalogue_block import animation_line, write_block  # noqa: E402
from fx_catalogue import add_effects  # noqa: E402
from level_common import data_dir, merge_sections, own_section_last, write  # noqa: E402
from supersample import SS, canvas, mix, s, shrink, strip  # noqa: E402

data = data_dir(sys.argv, "anims/berryquest", "obstacles", "fx/pics")
anims_dir = os.path.join(data, "anims", "berryquest")

INK = (58, 36, 24, 255)


def shaded_ellipse(d, box, dark, light, outline=INK, steps=6, width=1):
    """An ellipse lit from the upper left: concentric fills from the dark rim to a light spot."""
    x0, y0, x1, y1 = box
    d.ellipse(s(x0, y0, x1, y1), fill=dark, outline=outline, width=width * SS)
    for i in range(1, steps):
        t = i / steps
        cx = x0 + (x1 - x0) * (0.5 - 0.18 * t)
        cy = y0 + (y1 - y0) * (0.5 - 0.22 * t)
        rx = (x1 - x0) / 2 * (1 - 0.8 * t)
        ry = (y1 - y0) / 2 * (1 - 0.8 * t)
        d.ellipse(s(cx - rx, cy - ry, cx + rx, cy + ry), fill=mix(dark, light, t))


def picture(img, name):
    img.save(os.path.join(anims_dir, name), optimize=True)
    return "data/anims/berryquest/" + name


# ---- Berry bush -------------------------------------------------------------------------------
BUSH_W, BUSH_H = 96, 76
LEAF_DARK, LEAF_LIGHT = (40, 92, 40, 255), (120, 176, 82, 255)


def bush_clumps():
    """Leafy clumps in three rows, back row first, so the front ones overlap the rest."""
    rng = random.Random(541)
    clumps = []
    for row, (cy, half, r, count) in enumerate(((30, 20, 13, 3), (43, 30, 14, 4), (56, 36, 14, 5))):
        for i in range(count):
            cx = 48 - half + 2 * half * i / (count - 1)
            clumps.append((cx + rng.uniform(-3, 3), cy + rng.uniform(-2, 2), r + rng.uniform(-1.5, 2.5)))
    return clumps


def paint_bush(d, img, k):
    sway = math.sin(k / 4 * 2 * math.pi) * 1.2
    d.ellipse(s(10, 62, 86, 75), fill=(30, 50, 20, 90))  # shadow on the grass
    d.polygon(s(42, 72, 54, 72, 50, 60, 46, 60), fill=(96, 66, 40, 255), outline=INK)
    for cx, cy, r in bush_clumps():
        lean = sway * (1 - cy / 76)
        shaded_ellipse(d, (cx - r + lean, cy - r * 0.85, cx + r + lean, cy + r * 0.85), LEAF_DARK, LEAF_LIGHT)
    rng = random.Random(542)
    for _ in range(26):  # leaf veins and highlights
        x, y = rng.uniform(20, 76), rng.uniform(22, 62)
        d.line(s(x, y, x + rng.uniform(-3, 3), y + rng.uniform(2, 4)), fill=(30, 70, 30, 200), width=SS)


def berry_points():
    rng = random.Random(543)
    pts = []
    while len(pts) < 16:
        x, y = rng.uniform(22, 74), rng.uniform(24, 62)
        if all((x - a) ** 2 + (y - b) ** 2 > 60 for a, b, _ in pts):
            pts.append((x, y, rng.random() < 0.35))
    return pts


def paint_berries(d, img, k):
    for i, (x, y, blue) in enumerate(berry_points()):
        dark, light = ((46, 40, 120, 255), (150, 140, 230, 255)) if blue else ((150, 20, 36, 255), (250, 110, 110, 255))
        for dx, dy in ((0, 0), (3.2, 1.4), (1.2, 3.2)):
            shaded_ellipse(d, (x + dx - 2.6, y + dy - 2.6, x + dx + 2.6, y + dy + 2.6), dark, light, steps=4)
        if (i + k) % 5 == 0:  # a glint wanders over the berries
            d.ellipse(s(x - 0.6, y - 1.6, x + 0.8, y - 0.2), fill=(255, 255, 255, 255))


# ---- Mushrooms ---------------------------------------------------------------------------------
MUSH_W, MUSH_H = 40, 44
MUSHROOMS = {
    "cep": dict(cap=((110, 62, 30, 255), (196, 130, 70, 255)), stem=((214, 196, 160, 255), (250, 240, 214, 255)),
                cap_w=30, cap_h=16, stem_w=14, dots=False, funnel=False),
    "chanterelle": dict(cap=((204, 128, 20, 255), (252, 200, 80, 255)), stem=((214, 140, 30, 255), (250, 196, 90, 255)),
                        cap_w=26, cap_h=12, stem_w=9, dots=False, funnel=True),
    "brown": dict(cap=((90, 60, 40, 255), (160, 120, 84, 255)), stem=((200, 190, 170, 255), (240, 236, 224, 255)),
                  cap_w=24, cap_h=14, stem_w=7, dots=False, funnel=False),
    "red": dict(cap=((150, 20, 20, 255), (240, 80, 60, 255)), stem=((220, 220, 206, 255), (255, 255, 246, 255)),
                cap_w=28, cap_h=15, stem_w=8, dots=True, funnel=False),
}


def mushroom_painter(kind):
    m = MUSHROOMS[kind]

    def paint(d, img, k):
        nod = [0, 0.6, 0, -0.6][k]
        cx, base = 20, 40
        d.ellipse(s(6, 37, 34, 43), fill=(30, 50, 20, 90))
        sw = m["stem_w"]
        top = base - 18
        d.rounded_rectangle(s(cx - sw / 2, top, cx + sw / 2, base), radius=3 * SS, fill=m["stem"][0], outline=INK,
                            width=SS)
        d.rectangle(s(cx - sw / 2 + 2, top + 2, cx - sw / 2 + 4, base - 3), fill=m["stem"][1])
        cw, ch = m["cap_w"], m["cap_h"]
        ccx = cx + nod
        if m["funnel"]:
            d.polygon(s(ccx - cw / 2, top - ch + 3, ccx + cw / 2, top - ch + 3, ccx + 3, top + 2, ccx - 3, top + 2),
                      fill=m["cap"][0], outline=INK)
            shaded_ellipse(d, (ccx - cw / 2, top - ch, ccx + cw / 2, top - ch + 7), m["cap"][0], m["cap"][1])
        else:
            # The dome is painted on a layer of its own, cut flat underneath, then laid over the stem.
            cap, cd = canvas(MUSH_W, MUSH_H)
            shaded_ellipse(cd, (ccx - cw / 2, top - ch, ccx + cw / 2, top + ch * 0.6), m["cap"][0], m["cap"][1])
            cd.rectangle(s(0, top + 1, MUSH_W, MUSH_H), fill=(0, 0, 0, 0))
            d.ellipse(s(ccx - cw / 2 + 1, top - 1.5, ccx + cw / 2 - 1, top + 2.5), fill=(236, 222, 190, 255),
                      outline=INK, width=SS)  # the gills under the cap
            img.alpha_composite(cap)
            d.line(s(ccx - cw / 2 + 0.5, top + 0.5, ccx + cw / 2 - 0.5, top + 0.5), fill=INK, width=SS)
        if m["dots"]:
            for dx, dy in ((-7, -8), (0, -11), (6, -7), (-2, -4), (9, -3), (-10, -3)):
                d.ellipse(s(ccx + dx - 1.6, top + dy - 1.2, ccx + dx + 1.6, top + dy + 1.2), fill=(250, 246, 230, 255))
        for gx in (-8, 0, 7):  # a few blades of grass in front
            d.line(s(cx + gx, base + 1, cx + gx + 2, base - 6), fill=(70, 130, 50, 255), width=SS)
    return paint


# ---- Red hood ------------------------------------------------------------------------------------
HOOD_W, HOOD_H = 56, 80
RED_DARK, RED_LIGHT = (140, 16, 24, 255), (230, 60, 60, 255)
SKIN = (248, 212, 180, 255)


def paint_girl(d, look=0.0, mouth=0.0, bow=0.0, wave_arm=0.0, blink=False):
    """The girl facing the viewer: a red hooded cape over a blue dress, a basket on her arm."""
    cx = 28
    d.ellipse(s(12, 74, 44, 79), fill=(30, 50, 20, 90))
    d.rectangle(s(21, 66, 25, 76), fill=(70, 50, 40, 255))  # legs
    d.rectangle(s(31, 66, 35, 76), fill=(70, 50, 40, 255))
    d.ellipse(s(18, 73, 26, 78), fill=(60, 36, 24, 255))
    d.ellipse(s(30, 73, 38, 78), fill=(60, 36, 24, 255))
    d.polygon(s(cx - 12, 44, cx + 12, 44, cx + 15, 68, cx - 15, 68), fill=(60, 90, 170, 255), outline=INK)
    d.line(s(cx - 14, 64, cx + 14, 64), fill=(240, 240, 240, 255), width=2 * SS)  # apron hem
    d.polygon(s(cx - 8, 44, cx + 8, 44, cx + 10, 64, cx - 10, 64), fill=(238, 236, 226, 255), outline=INK)
    head_y = 30 + bow * 4
    d.polygon(s(cx - 10, head_y + 4, cx + 10, head_y + 4, cx + 19, 66, cx - 19, 66), fill=RED_DARK, outline=INK)
    d.polygon(s(cx - 8, head_y + 8, cx - 2, head_y + 8, cx - 12, 62), fill=RED_LIGHT)
    # Arms: the left holds the basket, the right waves when she thanks.
    d.line(s(cx - 14, 48, cx - 18, 58), fill=RED_DARK, width=4 * SS)
    d.ellipse(s(cx - 20, 56, cx - 15, 61), fill=SKIN, outline=INK)
    d.arc(s(cx - 27, 50, cx - 11, 66), 200, 340, fill=(120, 80, 40, 255), width=2 * SS)
    d.rounded_rectangle(s(cx - 27, 58, cx - 11, 68), radius=2 * SS, fill=(170, 120, 60, 255), outline=INK, width=SS)
    for i in range(4):
        d.line(s(cx - 26 + i * 4, 59, cx - 25 + i * 4, 67), fill=(130, 90, 40, 255), width=SS)
    hand = (cx + 22, 36 - wave_arm * 6) if wave_arm > 0 else (cx + 17, 58)
    d.line(s(cx + 14, 48, hand[0], hand[1]), fill=RED_DARK, width=4 * SS)
    d.ellipse(s(hand[0] - 2.5, hand[1] - 2.5, hand[0] + 2.5, hand[1] + 2.5), fill=SKIN, outline=INK)
    # The hood and the face inside it.
    shaded_ellipse(d, (cx - 13, head_y - 13, cx + 13, head_y + 13), RED_DARK, RED_LIGHT)
    fx = cx + look * 2.5
    d.ellipse(s(fx - 9, head_y - 8, fx + 9, head_y + 10), fill=SKIN, outline=INK)
    d.chord(s(fx - 9, head_y - 10, fx + 9, head_y + 2), 180, 360, fill=(170, 90, 40, 255))  # fringe
    ey = head_y + 1
    for ex in (fx - 4, fx + 4):
        if blink or bow > 0.5:
            d.line(s(ex - 1.5, ey + 0.5, ex + 1.5, ey + 0.5), fill=INK, width=SS)
        else:
            d.ellipse(s(ex - 1.3 + look, ey - 1.5, ex + 1.3 + look, ey + 1.5), fill=(40, 30, 30, 255))
    d.ellipse(s(fx - 8, ey + 3, fx - 5, ey + 5), fill=(240, 150, 150, 255))
    d.ellipse(s(fx + 5, ey + 3, fx + 8, ey + 5), fill=(240, 150, 150, 255))
    if mouth > 0.1:
        d.ellipse(s(fx - 2, ey + 5, fx + 2, ey + 5 + 3 * mouth), fill=(150, 40, 50, 255))
    else:
        d.arc(s(fx - 2.5, ey + 3, fx + 2.5, ey + 7), 20, 160, fill=(150, 40, 50, 255), width=SS)


def hood_painter(slot, frames):
    def paint(d, img, k):
        t = k / frames
        if slot == "idle":
            paint_girl(d, blink=(k == frames - 1))
        elif slot == "glance":
            paint_girl(d, look=math.sin(t * 2 * math.pi))
        elif slot == "thanks":
            bow = max(0.0, math.sin(t * math.pi * 2)) if k < frames // 2 else 0.0
            paint_girl(d, bow=bow, wave_arm=0.0 if k < frames // 2 else 0.6 + 0.4 * math.sin(t * 4 * math.pi),
                       mouth=0.0)
        else:  # talk
            paint_girl(d, mouth=[0.0, 0.8, 0.3, 1.0][k % 4], look=0.3)
    return paint


# ---- Drums -----------------------------------------------------------------------------------------
DRUM_W, DRUM_H = 104, 84


def paint_drum(d, cx, base, w, h, hit):
    """A barrel drum with a laced skin; `hit` (0..1) makes its skin flash."""
    body_dark, body_light = (120, 60, 30, 255), (196, 120, 60, 255)
    d.rounded_rectangle(s(cx - w / 2, base - h, cx + w / 2, base), radius=4 * SS, fill=body_dark, outline=INK,
                        width=SS)
    d.rectangle(s(cx - w / 2 + 3, base - h + 3, cx - w / 2 + 8, base - 3), fill=body_light)
    for i in range(7):  # the lacing
        x = cx - w / 2 + 3 + i * (w - 6) / 6
        d.line(s(x, base - h + 4, x + (w - 6) / 12, base - 4), fill=(236, 220, 180, 255), width=SS)
    d.rectangle(s(cx - w / 2, base - 6, cx + w / 2, base - 3), fill=(90, 40, 20, 255))
    skin = mix((224, 200, 150, 255), (255, 250, 220, 255), hit)
    d.ellipse(s(cx - w / 2, base - h - 5, cx + w / 2, base - h + 5), fill=skin, outline=INK, width=SS)
    if hit > 0:
        d.ellipse(s(cx - w / 4, base - h - 2, cx + w / 4, base - h + 2), fill=(255, 255, 255, int(200 * hit)))


def drum_stick(d, x0, y0, angle):
    x1, y1 = x0 + math.cos(angle) * 24, y0 + math.sin(angle) * 24
    d.line(s(x0, y0, x1, y1), fill=(140, 96, 50, 255), width=3 * SS)
    d.ellipse(s(x1 - 3, y1 - 3, x1 + 3, y1 + 3), fill=(236, 220, 190, 255), outline=INK, width=SS)


def drums_painter(mode, frames):
    def paint(d, img, k):
        t = k / frames
        big_hit = small_hit = 0.0
        left_angle, right_angle = math.radians(200), math.radians(-20)
        if mode == "tap":
            small_hit = 1.0 if k == 1 else 0.4 if k == 2 else 0.0
            right_angle = math.radians(-20 + (40 if k == 1 else 0))
        elif mode == "start":
            swing = math.sin(t * 2 * math.pi)
            left_angle = math.radians(200 - 30 * swing)
            right_angle = math.radians(-20 + 30 * swing)
            big_hit = max(0.0, swing)
            small_hit = max(0.0, -swing)
        elif mode == "loop":
            big_hit = 1.0 if k % 2 == 0 else 0.0
            small_hit = 1.0 - big_hit
            left_angle = math.radians(230 if k % 2 == 0 else 180)
            right_angle = math.radians(-50 if k % 2 == 1 else 0)
        elif mode == "final":
            big_hit = [0.3, 1.0, 0.7, 0.3][k]
            left_angle = math.radians([170, 240, 230, 210][k])
            right_angle = math.radians([10, -60, -50, -30][k])
        d.ellipse(s(8, 74, 98, 83), fill=(30, 50, 20, 90))
        paint_drum(d, 38, 80, 42, 40, big_hit)
        paint_drum(d, 76, 80, 30, 28, small_hit)
        if mode != "idle":
            drum_stick(d, 30, 28, left_angle)
            drum_stick(d, 84, 40, right_angle)
        else:  # at rest, the sticks lie crossed on the big drum
            d.line(s(24, 38, 52, 44), fill=(140, 96, 50, 255), width=3 * SS)
            d.line(s(24, 44, 52, 38), fill=(140, 96, 50, 255), width=3 * SS)
        if big_hit > 0.8 and mode in ("loop", "final"):
            for a in range(0, 360, 45):  # lines of sound off the big drum
                r0, r1 = 24, 32 + 6 * big_hit
                x0, y0 = 38 + math.cos(math.radians(a)) * r0, 40 + math.sin(math.radians(a)) * r0 * 0.5
                x1, y1 = 38 + math.cos(math.radians(a)) * r1, 40 + math.sin(math.radians(a)) * r1 * 0.5
                if y1 < 44:
                    d.line(s(x0, y0, x1, y1), fill=(255, 240, 180, 220), width=SS)
    return paint


catalogue = [
    animation_line("berry_bush", picture(strip(4, BUSH_W, BUSH_H, paint_bush), "berry_bush.png"), 3200, 4),
    animation_line("berry_berries", picture(strip(5, BUSH_W, BUSH_H, paint_berries), "berry_berries.png"), 1500, 5),
]
for kind in MUSHROOMS:
    catalogue.append(animation_line(f"mushroom_{kind}",
                                    picture(strip(4, MUSH_W, MUSH_H, mushroom_painter(kind)), f"mushroom_{kind}.png"),
                                    2400, 4))
for slot, frames, period in (("idle", 4, 1600), ("glance", 6, 1200), ("thanks", 8, 2400), ("talk", 4, 1200)):
    catalogue.append(animation_line(f"redhood_{slot}",
                                    picture(strip(frames, HOOD_W, HOOD_H, hood_painter(slot, frames)),
                                            f"redhood_{slot}.png"), period, frames))
for mode, frames, period, loop in (("idle", 2, 1200, True), ("tap", 4, 600, True), ("start", 6, 1000, True),
                                   ("loop", 4, 800, True), ("final", 4, 700, False)):
    catalogue.append(animation_line(f"drums_{mode}",
                                    picture(strip(frames, DRUM_W, DRUM_H, drums_painter(mode, frames)),
                                            f"drums_{mode}.png"), period, frames, loop=loop, stick=not loop))
write_block(data, "berry quest", catalogue)


# ---- Particle effects -------------------------------------------------------------------------------
def drop_picture():
    """A glittering rain drop, 16 x 32: a soft white streak with a bright head."""
    img, d = canvas(16, 32)
    for i in range(10):
        t = i / 10
        a = int(40 + 200 * t)
        d.ellipse(s(8 - 1.5 - 2 * t, 2 + 26 * t - 3, 8 + 1.5 + 2 * t, 2 + 26 * t + 3), fill=(255, 255, 255, a))
    img = img.filter(ImageFilter.GaussianBlur(SS * 0.8))
    return shrink(img, 16, 32)


drop_picture().save(os.path.join(data, "fx", "pics", "magic_drop.png"), optimize=True)

EFFECTS = {
    "berry_sparkle.pfx": """; Berry sparkle: a few pink and golden glints twinkle over the bush while it has berries to
; pick. Runs until stopped. Place it at the bush's anchor.
[effect]
version = 1
title = Berry sparkle

[emitter glints]
sprite = pics/glint.png
blend = additive
rate = 5
maxParticles = 20
life = 0.7 1.3
speed = 4 12
direction = -90
spread = 90
area = 70 40
size = 0 2, 0.4 12, 1 2
color = 0 #FFD0E0, 0.5 #FFE9A0, 1 #FFFFFF
alpha = 0 0, 0.3 0.9, 1 0
""",
    "head_hit.pfx": """; Head hit: the drums' final beat, a ring of golden stars bursting off the drum skin. Stops by
; itself. Place it at the drums' anchor.
[effect]
version = 1
title = Head hit

[emitter stars]
sprite = pics/glint.png
blend = additive
burst = 22
rate = 0
duration = 0.2
maxParticles = 40
life = 0.4 0.8
speed = 80 170
direction = -90
spread = 220
drag = 1.5
gravity = 0 120
spin = -180 180
size = 0 6, 0.2 20, 1 4
color = 0 #FFFFFF, 0.4 #FFE080, 1 #FF9040
alpha = 0 1, 0.6 0.8, 1 0

[emitter ring]
blend = additive
burst = 1
rate = 0
duration = 0.1
life = 0.35 0.35
size = 0 20, 1 110
color = 0 #FFF4C0
alpha = 0 0.7, 1 0
""",
    "magic_rain.pfx": """; Magic rain: glittering drops of many colours fall from a little cloud of light onto the spot
; below it and burst into sparkles there. Runs until stopped; the drops fall about 170 pixels, so
; the catalogue lifts the emitter above the spot it is placed at.
[effect]
version = 1
title = Magic rain

[emitter drops]
sprite = pics/magic_drop.png
blend = additive
rate = 45
maxParticles = 120
life = 1.1 1.3
speed = 120 150
direction = 90
spread = 4
gravity = 0 20
area = 150 16
size = 0 10, 0.9 12, 1 6
color = 0 #B0E0FF, 0.5 #E0B0FF, 1 #FFD0F0
alpha = 0 0, 0.1 0.9, 0.9 0.8, 1 0

[emitter cloud]
sprite = pics/puff.png
blend = additive
rate = 6
maxParticles = 20
life = 1.5 2.5
speed = 2 8
spread = 360
area = 160 18
size = 0 30, 1 60
color = 0 #D8C8FF, 1 #FFFFFF
alpha = 0 0, 0.4 0.35, 1 0

[emitter splash]
sprite = pics/glint.png
blend = additive
delay = 1.1
rate = 25
maxParticles = 60
life = 0.3 0.6
speed = 20 50
direction = -90
spread = 140
area = 140 10
size = 0 4, 0.3 10, 1 2
color = 0 #FFFFFF, 1 #FFB0E0
alpha = 0 1, 1 0
""",
    "berry_bag.pfx": """; Berry in bag: a few red berries bob over the bag of a worker carrying the berries home. Runs
; until the worker hands them in. Placed at the worker's anchor; the catalogue lifts it over the bag.
[effect]
version = 1
title = Berry in bag

[emitter berries]
sprite = pics/glint.png
blend = alpha
rate = 4
maxParticles = 8
life = 0.6 0.9
speed = 2 6
direction = -90
spread = 40
area = 10 4
size = 0 5, 0.5 8, 1 5
color = 0 #C0203C, 1 #E04860
alpha = 0 0, 0.3 1, 1 0
""",
}
# The drums' rain over the whole map is the effect "Rain", the one a level's showers use, which the
# weather's generator (gen_86_weather_art.py) writes.
add_effects(data, EFFECTS, {
    "BerryInBag": ("berry_bag.pfx", "offsetY=-30"),
    "Berry": ("berry_sparkle.pfx", "offsetY=-8"),
    "HeadHit": ("head_hit.pfx", "offsetY=-36"),
    "MagicRain": ("magic_rain.pfx", "offsetY=-170"),
})

# ---- Sounds --------------------------------------------------------------------------------------------
RATE = 22050
rng = random.Random(54)


def write_wav(rel, samples):
    """Quieter when louder than 0.9 of full scale."""
    peak = max(1e-6, max(abs(v) for v in samples))
    gain = min(1.0, 0.9 / peak)
    synth.write_wav(os.path.join(data, rel), [v * gain for v in samples], RATE, quantise=int)


def silence(sec):
    return [0.0] * int(sec * RATE)


def mixed(base, add, at):
    start = int(at * RATE)
    if len(base) < start + len(add):
        base = base + [0.0] * (start + len(add) - len(base))
    for i, v in enumerate(add):
        base[start + i] += v
    return base


def drum_hit(freq, dur, amp, noise=0.3):
    """A hand drum: a pitch that drops quickly after the strike, a thump of noise, a fast decay."""
    n = int(dur * RATE)
    out, phase, low = [], 0.0, 0.0
    for i in range(n):
        t = i / RATE
        f = freq * (1 + 0.6 * math.exp(-t * 40))
        phase += 2 * math.pi * f / RATE
        low += 0.3 * (rng.uniform(-1, 1) - low)
        env = math.exp(-t * 9)
        out.append(amp * env * (math.sin(phase) + noise * low * math.exp(-t * 30) * 3))
    return out


def rustle(dur, amp, brightness=0.5):
    n = int(dur * RATE)
    out, low = [], 0.0
    for i in range(n):
        t = i / n
        low += brightness * (rng.uniform(-1, 1) - low)
        env = math.sin(math.pi * t) * (0.6 + 0.4 * math.sin(t * 37))
        out.append(amp * env * low)
    return out


def pluck(freq, amp):
    n = int(0.12 * RATE)
    return [amp * math.exp(-i / RATE * 40) * math.sin(2 * math.pi * freq * i / RATE) for i in range(n)]


def chime(notes, step, amp):
    out = []
    for k, f in enumerate(notes):
        n = int(0.7 * RATE)
        tone = [amp * math.exp(-i / RATE * 5) * (math.sin(2 * math.pi * f * i / RATE) +
                                                 0.3 * math.sin(4 * math.pi * f * i / RATE)) for i in range(n)]
        out = mixed(out, tone, k * step)
    return out


def hum(pattern, amp):
    """A girl's short sung syllables: a bright tone with a vowel-like buzz, each gliding a little."""
    out = []
    at = 0.0
    for f0, dur in pattern:
        n = int(dur * RATE)
        phase = 0.0
        syl = []
        for i in range(n):
            t = i / n
            f = f0 * (1 + 0.08 * math.sin(math.pi * t))
            phase += 2 * math.pi * f / RATE
            env = min(1.0, t / 0.1) * min(1.0, (1 - t) / 0.3)
            v = math.sin(phase) + 0.4 * math.sin(2 * phase) + 0.25 * math.sin(3 * phase) + 0.1 * math.sin(5 * phase)
            syl.append(amp * env * v / 1.75)
        out = mixed(out, syl, at)
        at += dur + 0.05
    return out


def thunder_and_rain(dur):
    n = int(dur * RATE)
    out, low, hiss = [], 0.0, 0.0
    for i in range(n):
        t = i / RATE
        low += 0.01 * (rng.uniform(-1, 1) - low)
        hiss += 0.7 * (rng.uniform(-1, 1) - hiss)
        rumble = low * 14 * math.exp(-max(0.0, t - 0.3) * 0.9) * min(1.0, t / 0.3)
        rain = hiss * 0.12 * min(1.0, t / 1.5) * min(1.0, (dur - t) / 1.0)
        out.append(rumble + rain)
    return out


pick = rustle(0.9, 0.5, 0.4)
for k, f in enumerate((880, 990, 760, 1040, 920)):
    pick = mixed(pick, pluck(f, 0.35), 0.1 + k * 0.15)
write_wav("obstacles/berry_pick.wav", pick)
write_wav("obstacles/mushroom_pick.wav", mixed(rustle(0.5, 0.4, 0.3), drum_hit(300, 0.15, 0.5, 0.9), 0.3))
write_wav("obstacles/redhood_talk.wav", hum([(520, 0.16), (600, 0.12), (560, 0.2), (660, 0.24)], 0.6))
write_wav("obstacles/redhood_thanks.wav",
          mixed(hum([(600, 0.2), (700, 0.18), (800, 0.36)], 0.5), chime([784, 988, 1175, 1568], 0.14, 0.25), 0.1))
roll = silence(0.05)
beat = 0.0
for bar in range(8):  # a four-beat rhythm that grows louder, then the final hit
    for k, (f, a) in enumerate(((110, 0.8), (180, 0.5), (180, 0.5), (110, 0.7))):
        roll = mixed(roll, drum_hit(f, 0.35, a * (0.6 + 0.05 * bar)), beat)
        beat += 0.18
roll = mixed(roll, drum_hit(90, 0.9, 1.0, 0.5), beat + 0.1)
write_wav("obstacles/drums_roll.wav", roll)
write_wav("obstacles/rain_thunder.wav", thunder_and_rain(5.0))

merge_sections(os.path.join(data, "obstacles", "sounds.ini"), {
    "BerryBush": ["sound0=data/obstacles/berry_pick.wav"],
    "Mushroom": ["sound0=data/obstacles/mushroom_pick.wav"],
    "RedHood": ["sound0=data/obstacles/redhood_talk.wav", "sound1=data/obstacles/redhood_thanks.wav"],
    "Drums": ["sound0=data/obstacles/drums_roll.wav", "sound1=data/obstacles/rain_thunder.wav"],
})

# ---- Story dialog ------------------------------------------------------------------------------------------
# When the drums' rains have passed the game view tells story 182: the foreman alone.
merge_sections(os.path.join(data, "menu", "ingameDialogs.ini"), {
    "dialog182": ["double=0", "effect=0", "name1=#STORY_NAME_FOREMAN",
                  "avatar1=data/interface/endscreens/foreman.png"],
    "text1_182": ["type=typingText", "x=18", "y=32", "xs=464", "ys=72", "name=#STORY_TEXT1_182", "xalign=-1",
                  "select=2", "period=28", "timeout=400", "font=data/fonts/sans16.png"],
})

# ---- Texts -------------------------------------------------------------------------------------------------
TEXTS = """[berry quest]
; The red hood's status over her hint, and the names of the quest's objects.
#REDHOOD_NEEDS_MUSHROOMS=Mushrooms still needed: %d
#REDHOOD_THANKS=Thank you! Look at the bush!
#OBJECT_BERRY_BUSH=Berry bush
#OBJECT_MUSHROOM=Mushroom
#OBJECT_REDHOOD=Red Hood
#OBJECT_DRUMS=Rain drums
#STORY_TEXT1_182=What a rain! The drums have done it: the berries on the bush are ripe now.
"""
TEXTS_RU = """[berry quest]
; Статус Красной Шапочки над подсказкой и названия предметов задания.
#REDHOOD_NEEDS_MUSHROOMS=Ещё нужно грибов: %d
#REDHOOD_THANKS=Спасибо! Посмотрите на куст!
#OBJECT_BERRY_BUSH=Ягодный куст
#OBJECT_MUSHROOM=Гриб
#OBJECT_REDHOOD=Красная Шапочка
#OBJECT_DRUMS=Барабаны дождя
#STORY_TEXT1_182=Вот это дождь! Барабаны помогли: ягоды на кусте созрели.
"""
own_section_last(os.path.join(data, "translation.ini"), "berry quest", TEXTS, write)
own_section_last(os.path.join(data, "translation_ru.ini"), "berry quest", TEXTS_RU, write)
print("berry quest: data/anims/berryquest/*.png, effects Berry, HeadHit, MagicRain, BerryInBag, sounds BerryBush, "
      "Mushroom, RedHood, Drums, dialog 182, texts [berry quest]")
