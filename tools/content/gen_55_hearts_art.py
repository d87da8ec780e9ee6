#!/usr/bin/env python3
"""Writes what the key quest and the hearts show and sound like.

- data/anims/hearts/: the cave (closed behind its boulder, then open and dark), the chest (closed,
  its lid rising, open with the heart glowing inside, empty), a heart lying in the grass, the heart
  frozen in ice and free of it, and the magic cage in its seven steps (glowing, the claws falling,
  plain, breaking, open, the heart rising out, empty);
- data/fx/: the particle effects "Heart", "HeartBats", "WitchBatsExplosion", "IceHeart",
  "IceHeart_blow", "HeartFreezing", "CageMagicSparkle", "CageMagicExplosion", "GateGlow",
  "CaveKeyFound" and "HeartInBag" (over a worker carrying a heart home), with their small
  pictures (a heart, a bat, an ice shard);
- data/snd/: the sounds "ChestOpening", "BatsFly", "WitchLaugh", "EvilClawsFall" and
  "CageDestroy", and the cue sets of data/obstacles/sounds.ini: "Cave1" to "Cave3" (searching,
  something found, the key), "ChestHeart" (the lid, a knock at the order) and "IceHeart"
  (chipping, the ice bursting, freezing over);
- the story dialogs 39 (the chest reached without its key) and 42 (the cage hacked at while its
  magic holds) in data/menu/ingameDialogs.ini;
- the names of the quest objects and the dialogs' texts in data/translation.ini and
  data/translation_ru.ini, and its block of animations.xml.
Pictures are centred on their object's anchor and supersampled; sounds are synthesised from fixed
seeds, so every run writes the same bytes.
"""
import math
import os
import random
import sys

from PIL import Image, ImageDraw, ImageFilter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sound_synth as synth  # noqa: E402
from catalogue_block import animation_line, write_block  # noqa: E402
from fx_catalogue import add_effects  # noqa: E402
from level_common import data_dir, merge_sections, own_section_last, write  # noqa: E402
from supersample import SS, canvas, mix, s, shrink, strip  # noqa: E402

data = data_dir(sys.argv, "anims/hearts", "fx/pics", "snd", "obstacles")

INK = (58, 34, 30, 255)
anims = []


def save(img, rel):
    img.save(os.path.join(data, rel), optimize=True)
    return "data/" + rel


def animation(aid, img, name, period, frames, loop=True):
    path = save(img, f"anims/hearts/{name}.png")
    anims.append(animation_line(aid, path, period, frames, loop=loop))


def heart_points(cx, cy, size, steps=80):
    """The outline of a heart of about `size` pixels, its point down, centred on (cx, cy)."""
    pts = []
    for i in range(steps):
        t = 2 * math.pi * i / steps
        x = 16 * math.sin(t) ** 3
        y = -(13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t))
        pts.append((cx + x * size / 34, cy + y * size / 34))
    return pts


def flat(points):
    return [c for p in points for c in p]


def over(img, paint):
    """Paints translucent shapes on a layer of their own and lays it over the picture, so they
    tint what lies below instead of replacing it."""
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    paint(ImageDraw.Draw(layer))
    img.alpha_composite(layer)


def paint_heart(d, img, cx, cy, size, glow=0.0, pale=0.0):
    """A glossy red heart with a dark outline, a darker lower half and a white gleam, in a soft
    pink glow when `glow` is above 0."""
    base = mix((214, 36, 64), (170, 200, 235), pale)
    dark = mix((150, 16, 40), (110, 140, 190), pale)
    if glow > 0:
        halo = Image.new("RGBA", img.size, (0, 0, 0, 0))
        ImageDraw.Draw(halo).polygon(s(*flat(heart_points(cx, cy, size * (1 + 0.35 * glow)))),
                                     fill=(255, 130, 165, int(150 * glow)))
        img.alpha_composite(halo.filter(ImageFilter.GaussianBlur(4 * SS)))
    d.polygon(s(*flat(heart_points(cx, cy + 1, size))), fill=dark + (255,), outline=INK, width=SS)
    d.polygon(s(*flat(heart_points(cx - 0.8, cy - 1.2, size * 0.86))), fill=base + (255,))
    d.ellipse(s(cx - size * 0.33, cy - size * 0.3, cx - size * 0.12, cy - size * 0.12), fill=(255, 235, 240, 230))
    d.ellipse(s(cx + size * 0.1, cy - size * 0.28, cx + size * 0.18, cy - size * 0.2), fill=(255, 235, 240, 160))


def shadow(d, cx, cy, w, h, a=70):
    d.ellipse(s(cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2), fill=(0, 0, 0, a))


# ---- The cave ------------------------------------------------------------------------------

CAVE_W, CAVE_H = 150, 120


def cave_rock(d, rng):
    shadow(d, 75, 104, 140, 22)
    d.polygon(s(8, 104, 16, 62, 38, 30, 70, 16, 104, 22, 130, 46, 144, 80, 142, 104),
              fill=(128, 118, 104, 255), outline=INK, width=SS)
    d.polygon(s(38, 30, 70, 16, 104, 22, 118, 36, 80, 34, 52, 42), fill=(160, 150, 134, 255))
    for _ in range(14):
        x, y = rng.uniform(20, 130), rng.uniform(40, 96)
        d.line(s(x, y, x + rng.uniform(-10, 10), y + rng.uniform(3, 8)), fill=(96, 86, 76, 255), width=SS)
    # Moss along the top and grass at the foot.
    for _ in range(22):
        x = rng.uniform(30, 120)
        y = 24 + abs(x - 72) * 0.35 + rng.uniform(-2, 3)
        d.ellipse(s(x - 5, y - 3, x + 5, y + 3), fill=(84, 132, 60, 255))
    for _ in range(30):
        x = rng.uniform(8, 142)
        d.line(s(x, 106, x + rng.uniform(-3, 3), 96 + rng.uniform(-2, 2)), fill=(70, 130, 50, 255), width=SS)


def cave_mouth(d, glow):
    d.chord(s(46, 52, 104, 128), 180, 360, fill=(34, 26, 24, 255), outline=INK, width=SS)
    d.rectangle(s(46, 89, 104, 104), fill=(34, 26, 24, 255))
    if glow:
        d.chord(s(56, 66, 94, 120), 180, 360, fill=(70, 52, 36, 255))


def cave(closed):
    img, d = canvas(CAVE_W, CAVE_H)
    rng = random.Random(55)
    cave_rock(d, rng)
    cave_mouth(d, not closed)
    if closed:
        # A round boulder rolled into the mouth, with a few pebbles.
        d.ellipse(s(44, 56, 106, 108), fill=(112, 104, 96, 255), outline=INK, width=SS)
        d.ellipse(s(52, 62, 86, 84), fill=(146, 138, 126, 255))
        d.line(s(70, 80, 88, 92), fill=(84, 78, 70, 255), width=SS)
        for x, y in ((40, 100), (110, 102), (102, 96)):
            d.ellipse(s(x - 4, y - 3, x + 4, y + 3), fill=(120, 112, 100, 255), outline=INK, width=SS // 2)
    else:
        # The boulder lies to the side.
        d.ellipse(s(104, 80, 140, 108), fill=(112, 104, 96, 255), outline=INK, width=SS)
        d.ellipse(s(110, 84, 128, 96), fill=(146, 138, 126, 255))
    return shrink(img, CAVE_W, CAVE_H)


animation("heart_cave_closed", cave(True), "cave_closed", 1000, 1, loop=False)
animation("heart_cave_open", cave(False), "cave_open", 1000, 1, loop=False)

# ---- The chest -----------------------------------------------------------------------------

CH_W, CH_H = 100, 100
WOOD, WOOD_DARK, GOLD = (150, 96, 52, 255), (108, 66, 36, 255), (236, 190, 70, 255)


def chest_body(d):
    shadow(d, 50, 88, 86, 14)
    d.rounded_rectangle(s(14, 52, 86, 88), radius=2 * SS, fill=WOOD, outline=INK, width=SS)
    for y in (62, 72, 82):
        d.line(s(16, y, 84, y), fill=WOOD_DARK, width=SS // 2)
    for x in (22, 78):
        d.rectangle(s(x - 3, 52, x + 3, 88), fill=GOLD, outline=INK, width=SS // 2)


def chest_closed_lid(d):
    d.chord(s(14, 38, 86, 66), 180, 360, fill=(170, 112, 62, 255), outline=INK, width=SS)
    d.rectangle(s(14, 51, 86, 53), fill=INK)
    for x in (22, 78):
        d.rectangle(s(x - 3, 39, x + 3, 52), fill=GOLD, outline=INK, width=SS // 2)
    d.rectangle(s(45, 48, 55, 60), fill=GOLD, outline=INK, width=SS // 2)
    d.ellipse(s(48, 52, 52, 56), fill=INK)


def chest_open_lid(d, angle):
    """The lid swung up behind the chest by `angle` degrees, its inside showing."""
    rise = 30 * math.sin(math.radians(angle))
    d.polygon(s(14, 52, 86, 52, 88, 52 - rise, 12, 52 - rise), fill=(118, 74, 40, 255), outline=INK)
    d.line(s(13, 52 - rise, 87, 52 - rise), fill=GOLD, width=2 * SS)


def chest_frame(angle, heart, glow):
    def paint(d, img, k):
        a = angle(k)
        if a < 5:
            chest_body(d)
            chest_closed_lid(d)
            return
        chest_open_lid(d, a)
        d.rectangle(s(16, 48, 84, 56), fill=(52, 30, 18, 255))
        if heart:
            paint_heart(d, img, 50, 50 - heart(k), 22, glow=glow(k))
        chest_body(d)
    return paint


animation("heart_chest_closed", strip(1, CH_W, CH_H, chest_frame(lambda k: 0, None, lambda k: 0)),
          "chest_closed", 1000, 1, loop=False)
animation("heart_chest_opening",
          strip(6, CH_W, CH_H, chest_frame(lambda k: 18 * k, lambda k: k * 2.5, lambda k: k / 5)),
          "chest_opening", 1500, 6, loop=False)
animation("heart_chest_open",
          strip(4, CH_W, CH_H, chest_frame(lambda k: 90, lambda k: 12 + 2 * math.sin(k * math.pi / 2),
                                           lambda k: 0.7 + 0.3 * math.sin(k * math.pi / 2))),
          "chest_open", 1000, 4)
animation("heart_chest_empty", strip(1, CH_W, CH_H, chest_frame(lambda k: 90, None, lambda k: 0)),
          "chest_empty", 1000, 1, loop=False)

# ---- Hearts in the grass, in ice ------------------------------------------------------------


def lying(d, img, k):
    beat = 1.0 + 0.08 * math.sin(k * 2 * math.pi / 6)
    shadow(d, 32, 54, 36, 8)
    rng = random.Random(7)
    for _ in range(16):
        x = rng.uniform(12, 52)
        d.line(s(x, 56, x + rng.uniform(-3, 3), 48 + rng.uniform(-2, 2)), fill=(74, 138, 54, 255), width=SS)
    paint_heart(d, img, 32, 34, 30 * beat, glow=0.5 + 0.5 * math.sin(k * 2 * math.pi / 6))


animation("heart_lying", strip(6, 64, 64, lying), "heart_lying", 1200, 6)


def ice_block(d, img, rng, alpha=200):
    shadow(d, 40, 84, 64, 12)
    over(img, lambda d: ice_shape(d, rng, alpha))


def ice_shape(d, rng, alpha):
    d.polygon(s(10, 84, 8, 40, 22, 14, 52, 8, 72, 24, 74, 66, 64, 86), fill=(190, 225, 250, alpha),
              outline=(70, 110, 150, 255), width=SS)
    d.polygon(s(22, 14, 52, 8, 72, 24, 46, 26), fill=(235, 248, 255, 210))
    for _ in range(6):
        x, y = rng.uniform(18, 64), rng.uniform(30, 78)
        d.line(s(x, y, x + rng.uniform(-8, 8), y + rng.uniform(-10, 10)), fill=(250, 255, 255, 200), width=SS)


def ice_frozen(d, img, k):
    paint_heart(d, img, 40, 50, 30, pale=0.55)
    ice_block(d, img, random.Random(3), 170)
    gx = 20 + k * 12
    d.line(s(gx, 20, gx + 10, 40), fill=(255, 255, 255, 180), width=2 * SS)


def ice_free(d, img, k):
    rng = random.Random(5)
    shadow(d, 40, 84, 56, 10)
    for _ in range(9):
        x, y = rng.uniform(12, 68), rng.uniform(74, 86)
        d.polygon(s(x, y, x + 5, y - 6, x + 9, y + 1), fill=(200, 232, 252, 230), outline=(70, 110, 150, 255))
    beat = 1.0 + 0.06 * math.sin(k * 2 * math.pi / 4)
    paint_heart(d, img, 40, 54, 32 * beat, glow=0.6)


animation("heart_ice_frozen", strip(4, 80, 96, ice_frozen), "ice_frozen", 1600, 4)
animation("heart_ice_free", strip(4, 80, 96, ice_free), "ice_free", 1000, 4)

# ---- The magic cage -------------------------------------------------------------------------

CG_W, CG_H = 110, 130


def cage_bars(d, img, broken=0.0, glow=0.0):
    """A round-topped iron cage on a stone base; `broken` 0 to 1 bends and drops its bars."""
    shadow(d, 55, 118, 96, 14)
    d.rounded_rectangle(s(14, 104, 96, 120), radius=3 * SS, fill=(120, 112, 104, 255), outline=INK, width=SS)
    if glow:
        halo = Image.new("RGBA", img.size, (0, 0, 0, 0))
        ImageDraw.Draw(halo).ellipse(s(10, 16, 100, 112), outline=(190, 90, 255, int(200 * glow)), width=6 * SS)
        img.alpha_composite(halo.filter(ImageFilter.GaussianBlur(3 * SS)))
    bars = [20 + i * 10 for i in range(8)]
    for i, x in enumerate(bars):
        lean = broken * (1 if i % 2 else -1) * (8 + 3 * i)
        fall = broken * (20 + 6 * (i % 3))
        top = 30 + abs(x - 55) * 0.5 + fall
        colour = mix((70, 66, 74), (150, 70, 200), glow) + (255,)
        d.line(s(x, 104, x + lean, top), fill=colour, width=3 * SS)
    if broken < 0.3:
        d.arc(s(18, 20, 92, 80), 180, 360, fill=mix((70, 66, 74), (150, 70, 200), glow) + (255,), width=3 * SS)
        d.line(s(18, 60, 92, 60), fill=(70, 66, 74, 255), width=2 * SS)


def cage_frame(kind):
    def paint(d, img, k):
        if kind == "magic":
            paint_heart(d, img, 55, 78, 30, glow=0.3)
            cage_bars(d, img, glow=0.6 + 0.4 * math.sin(k * math.pi / 2))
        elif kind == "claws":
            paint_heart(d, img, 55, 78, 30, glow=0.3)
            cage_bars(d, img, glow=max(0.0, 1 - k / 5))
            for i in range(3):
                y = -10 + k * 22 + i * 8
                x = 30 + i * 25
                d.polygon(s(x, y, x + 6, y + 18, x + 12, y), fill=(110, 40, 150, 230), outline=INK)
        elif kind == "plain":
            paint_heart(d, img, 55, 78, 30, glow=0.2)
            cage_bars(d, img)
        elif kind == "break":
            paint_heart(d, img, 55, 78, 30, glow=0.2 + k / 10)
            cage_bars(d, img, broken=k / 5)
        elif kind in ("open", "empty"):
            rng = random.Random(11)
            for _ in range(7):
                x = rng.uniform(16, 94)
                d.line(s(x, 112, x + rng.uniform(-18, 18), 112 - rng.uniform(2, 6)), fill=(70, 66, 74, 255),
                       width=3 * SS)
            d.rounded_rectangle(s(14, 104, 96, 120), radius=3 * SS, fill=(120, 112, 104, 255), outline=INK, width=SS)
            if kind == "open":
                paint_heart(d, img, 55, 78 - 3 * math.sin(k * math.pi / 2), 32, glow=0.8)
    return paint


animation("heart_cage_magic", strip(4, CG_W, CG_H, cage_frame("magic")), "cage_magic", 1200, 4)
animation("heart_cage_claws", strip(6, CG_W, CG_H, cage_frame("claws")), "cage_claws", 1200, 6, loop=False)
animation("heart_cage_plain", strip(1, CG_W, CG_H, cage_frame("plain")), "cage_plain", 1000, 1, loop=False)
animation("heart_cage_break", strip(6, CG_W, CG_H, cage_frame("break")), "cage_break", 1200, 6, loop=False)
animation("heart_cage_open", strip(4, CG_W, CG_H, cage_frame("open")), "cage_open", 1000, 4)
animation("heart_cage_empty", strip(1, CG_W, CG_H, cage_frame("empty")), "cage_empty", 1000, 1, loop=False)

write_block(data, "hearts", anims)

# ---- Particle pictures and effects ----------------------------------------------------------


def particle_heart():
    img, d = canvas(32, 32)
    d.polygon(s(*flat(heart_points(16, 17, 26))), fill=(255, 255, 255, 255))
    return shrink(img.filter(ImageFilter.GaussianBlur(SS * 0.6)), 32, 32)


def particle_bat():
    img, d = canvas(32, 20)
    d.polygon(s(16, 8, 10, 2, 6, 6, 0, 4, 4, 12, 9, 10, 13, 16, 16, 13, 19, 16, 23, 10, 28, 12, 32, 4, 26, 6, 22, 2),
              fill=(255, 255, 255, 255))
    d.ellipse(s(13, 6, 19, 14), fill=(255, 255, 255, 255))
    return shrink(img, 32, 20)


def particle_shard():
    img, d = canvas(16, 24)
    d.polygon(s(8, 0, 14, 10, 9, 24, 2, 12), fill=(255, 255, 255, 255))
    d.line(s(8, 2, 8, 20), fill=(255, 255, 255, 140), width=SS)
    return shrink(img, 16, 24)


particle_heart().save(os.path.join(data, "fx", "pics", "heart.png"), optimize=True)
particle_bat().save(os.path.join(data, "fx", "pics", "bat.png"), optimize=True)
particle_shard().save(os.path.join(data, "fx", "pics", "ice_shard.png"), optimize=True)

# Effects spawned without a lifetime end by themselves (a duration), or their map object would stay.
EFFECTS = {
    "heart_glow.pfx": """; Heart: small pink hearts rising softly from a spot, over a warm glow.
[effect]
version = 1
title = Heart

[emitter hearts]
sprite = pics/heart.png
blend = alpha
rate = 3
maxParticles = 12
life = 1.4 2
speed = 10 22
direction = -90
spread = 50
area = 24 8
gravity = 0 -6
angle = -15 15
sizeVariation = 0.3
size = 0 4, 0.3 12, 1 8
color = 0 #FF7090, 1 #FFB0C8
alpha = 0 0, 0.2 0.9, 1 0

[emitter glow]
blend = additive
rate = 6
maxParticles = 20
life = 0.8 1.2
speed = 2 6
spread = 360
area = 20 14
isRound = 1
size = 0 18, 1 28
color = 0 #FF8098, 1 #FFC0D0
alpha = 0 0, 0.3 0.35, 1 0
""",
    "heart_bats.pfx": """; HeartBats: a swarm of dark bats fluttering round the heart they carry.
[effect]
version = 1
title = Heart bats

[emitter bats]
sprite = pics/bat.png
blend = alpha
rate = 14
maxParticles = 40
life = 0.5 0.9
speed = 40 90
direction = -90
spread = 360
area = 30 20
isRound = 1
isAttached = 1
spin = -200 200
sizeVariation = 0.3
size = 0 10, 0.5 16, 1 12
color = 0 #302038, 1 #503060
alpha = 0 0, 0.15 1, 0.8 0.9, 1 0
""",
    "witch_bats.pfx": """; WitchBatsExplosion: bats bursting out in every direction and flying off.
[effect]
version = 1
title = Witch bats explosion

[emitter bats]
sprite = pics/bat.png
burst = 30
rate = 0
duration = 0.3
maxParticles = 40
life = 1.2 1.8
speed = 80 160
spread = 360
area = 20 20
gravity = 0 -30
drag = 0.4
spin = -120 120
sizeVariation = 0.3
size = 0 8, 0.3 18, 1 14
color = 0 #201828, 1 #402848
alpha = 0 1, 0.7 0.9, 1 0

[emitter smoke]
sprite = pics/puff.png
burst = 8
duration = 0.2
life = 0.8 1.2
speed = 10 30
spread = 360
area = 16 16
size = 0 20, 1 60
color = 0 #504060, 1 #807090
alpha = 0 0.6, 1 0
""",
    "ice_heart.pfx": """; IceHeart: cold glints and a faint frost haze round the frozen heart.
[effect]
version = 1
title = Ice heart

[emitter glints]
sprite = pics/glint.png
blend = additive
rate = 5
maxParticles = 16
life = 0.6 1
area = 50 60
isRound = 1
angle = 0 90
spin = -40 40
size = 0 2, 0.4 16, 1 0
color = 0 #FFFFFF, 1 #A0D8FF
alpha = 0 0, 0.3 1, 1 0

[emitter frost]
sprite = pics/puff.png
rate = 2
maxParticles = 8
life = 2 3
speed = 4 10
direction = -90
spread = 40
area = 40 10
size = 0 20, 1 50
color = 0 #E0F4FF, 1 #FFFFFF
alpha = 0 0, 0.3 0.3, 1 0
""",
    "ice_blow.pfx": """; IceHeart_blow: the ice bursting into shards that tumble down.
[effect]
version = 1
title = Ice heart blow

[emitter shards]
sprite = pics/ice_shard.png
burst = 22
duration = 0.1
maxParticles = 30
life = 0.8 1.3
speed = 90 170
direction = -90
spread = 200
area = 30 40
gravity = 0 320
angle = 0 360
spin = -300 300
sizeVariation = 0.4
size = 0 14
color = 0 #E8F8FF, 1 #A0D0F0
alpha = 0 1, 0.8 1, 1 0

[emitter mist]
sprite = pics/puff.png
burst = 6
duration = 0.1
life = 0.7 1
speed = 10 30
spread = 360
area = 30 30
size = 0 30, 1 70
color = 0 #FFFFFF
alpha = 0 0.5, 1 0
""",
    "heart_freezing.pfx": """; HeartFreezing: a ring of frost swirling in onto the heart.
[effect]
version = 1
title = Heart freezing

[emitter swirl]
sprite = pics/glint.png
blend = additive
rate = 40
duration = 0.8
maxParticles = 40
life = 0.5 0.8
speed = 40 70
spread = 360
area = 70 70
isRound = 1
drag = 1.5
spin = 90 180
size = 0 14, 1 2
color = 0 #FFFFFF, 1 #80C8FF
alpha = 0 0, 0.2 1, 1 0
""",
    "cage_sparkle.pfx": """; CageMagicSparkle: a purple star trailing sparks as it flies.
[effect]
version = 1
title = Cage magic sparkle

[emitter star]
sprite = pics/glint.png
blend = additive
rate = 12
maxParticles = 12
life = 0.15 0.25
isAttached = 1
spin = 200 300
size = 0 30, 1 36
color = 0 #FFFFFF, 1 #D080FF
alpha = 0 1, 1 0.6

[emitter trail]
blend = additive
rate = 60
maxParticles = 80
life = 0.4 0.8
speed = 4 14
spread = 360
area = 6 6
gravity = 0 20
size = 0 6, 1 1
color = 0 #E0A0FF, 1 #8020C0
alpha = 0 1, 1 0
""",
    "cage_explosion.pfx": """; CageMagicExplosion: a burst of violet light and sparks.
[effect]
version = 1
title = Cage magic explosion

[emitter flash]
blend = additive
burst = 6
duration = 0.1
life = 0.3 0.5
area = 20 20
size = 0 40, 1 120
color = 0 #F0C0FF, 1 #9030E0
alpha = 0 0.9, 1 0

[emitter sparks]
sprite = pics/glint.png
blend = additive
burst = 40
duration = 0.1
maxParticles = 50
life = 0.6 1.1
speed = 80 200
spread = 360
drag = 1.2
gravity = 0 60
spin = -200 200
size = 0 16, 1 2
color = 0 #FFFFFF, 0.4 #E090FF, 1 #6010A0
alpha = 0 1, 1 0
""",
    "gate_glow.pfx": """; GateGlow: a warm golden glow breathing in the cave's mouth.
[effect]
version = 1
title = Gate glow

[emitter glow]
blend = additive
rate = 8
duration = 1.6
maxParticles = 20
life = 0.8 1.2
speed = 2 8
spread = 360
area = 30 20
isRound = 1
size = 0 24, 0.5 44, 1 30
color = 0 #FFE080, 1 #FFA030
alpha = 0 0, 0.3 0.5, 1 0

[emitter glints]
sprite = pics/glint.png
blend = additive
rate = 6
duration = 1.6
maxParticles = 12
life = 0.5 0.9
area = 36 24
isRound = 1
spin = -60 60
size = 0 2, 0.4 18, 1 0
color = 0 #FFFFFF, 1 #FFD060
alpha = 0 0, 0.3 1, 1 0
""",
    "cave_found.pfx": """; CaveKeyFound: dust puffing out of the cave's mouth as the search turns something up.
[effect]
version = 1
title = Cave dust

[emitter dust]
sprite = pics/puff.png
burst = 10
rate = 6
duration = 0.6
maxParticles = 24
life = 0.9 1.5
speed = 20 50
direction = -90
spread = 120
area = 40 12
gravity = 0 -10
drag = 0.6
angle = 0 360
size = 0 16, 1 48
color = 0 #A89880, 1 #D8CCB8
alpha = 0 0, 0.2 0.6, 1 0
""",
    "heart_bag.pfx": """; HeartInBag: a small heart bobbing over the bag of a worker carrying a heart home. Runs until the
; worker hands it in.
[effect]
version = 1
title = Heart in bag

[emitter heart]
sprite = pics/heart.png
blend = alpha
rate = 2
maxParticles = 4
life = 0.9 1.1
speed = 3 6
direction = -90
spread = 20
size = 0 6, 0.4 12, 1 9
color = 0 #FF5078, 1 #FF90B0
alpha = 0 0, 0.25 1, 1 0
""",
}
add_effects(data, EFFECTS, {
    "Heart": ("heart_glow.pfx", "offsetY=-10"),
    "HeartBats": ("heart_bats.pfx", "offsetY=-10"),
    "WitchBatsExplosion": ("witch_bats.pfx", "offsetY=-20"),
    "IceHeart": ("ice_heart.pfx", "offsetY=-40"),
    "IceHeart_blow": ("ice_blow.pfx", "offsetY=-40"),
    "HeartFreezing": ("heart_freezing.pfx", "offsetY=-40"),
    "CageMagicSparkle": ("cage_sparkle.pfx",),
    "CageMagicExplosion": ("cage_explosion.pfx", "offsetY=-50"),
    "GateGlow": ("gate_glow.pfx", "offsetY=-20"),
    "CaveKeyFound": ("cave_found.pfx", "offsetY=-20"),
    "HeartInBag": ("heart_bag.pfx", "offsetY=-30"),
})

# ---- Sounds ---------------------------------------------------------------------------------

RATE = 22050
rng = random.Random(55)


def write_wav(rel, samples):
    synth.write_wav(os.path.join(data, rel), samples, RATE, quantise=int)


def chime(freqs, dur, amp=0.35, decay=3.5):
    n = int(dur * RATE)
    return [amp * sum(math.sin(2 * math.pi * f * i / RATE) / (j + 1) for j, f in enumerate(freqs)) *
            math.exp(-decay * i / n * 3) * min(1.0, i / 80) for i in range(n)]


def creak(dur, amp=0.5):
    """A wooden creak: a buzzing low tone whose pitch wanders, rough with noise."""
    n = int(dur * RATE)
    out, ph, low = [], 0.0, 0.0
    for i in range(n):
        t = i / n
        f = 120 + 60 * math.sin(t * 7) + 40 * t
        ph += 2 * math.pi * f / RATE
        low += 0.1 * (rng.uniform(-1, 1) - low)
        buzz = (ph % (2 * math.pi)) / math.pi - 1
        out.append(amp * min(1.0, t / 0.05) * min(1.0, (1 - t) / 0.2) * (0.6 * buzz + 3 * low) * 0.5)
    return out


def flutter(dur, amp=0.5, rate=22):
    """Wings: bursts of soft noise at a flapping rate."""
    n = int(dur * RATE)
    out, low = [], 0.0
    for i in range(n):
        t = i / RATE
        low += 0.25 * (rng.uniform(-1, 1) - low)
        flap = max(0.0, math.sin(2 * math.pi * (rate + 3 * math.sin(t * 5)) * t)) ** 3
        out.append(amp * flap * low * 2.5 * min(1.0, i / 500) * min(1.0, (n - i) / 2000))
    return out


def whoosh(dur, amp=0.5, f0=900, f1=120):
    n = int(dur * RATE)
    out, low, ph = [], 0.0, 0.0
    for i in range(n):
        t = i / n
        low += (0.05 + 0.3 * (1 - t)) * (rng.uniform(-1, 1) - low)
        ph += 2 * math.pi * (f0 + (f1 - f0) * t) / RATE
        out.append(amp * math.sin(math.pi * t) * (low * 1.6 + 0.25 * math.sin(ph)))
    return out


def crash(dur, amp=0.6):
    n = int(dur * RATE)
    return [amp * rng.uniform(-1, 1) * math.exp(-6 * i / n) * (0.6 + 0.4 * math.sin(i * 0.07)) for i in range(n)]


def tick_chips(dur, amp=0.5, count=6):
    out = [0.0] * int(dur * RATE)
    for k in range(count):
        start = int((k + rng.uniform(0.1, 0.6)) * len(out) / count)
        f = rng.uniform(2200, 3400)
        for i in range(min(1500, len(out) - start)):
            out[start + i] += amp * math.sin(2 * math.pi * f * i / RATE) * math.exp(-i / 180)
    return out


def mixed(*parts):
    n = max(len(p) for p in parts)
    return [sum(p[i] for p in parts if i < len(p)) for i in range(n)]


def cackle(count=7, amp=0.5):
    """A witch's laugh: short nasal syllables falling in pitch, each with a rasp of noise."""
    out = []
    for k in range(count):
        n = int(0.11 * RATE)
        f0 = 620 - 35 * k
        ph, low = 0.0, 0.0
        for i in range(n):
            t = i / n
            ph += 2 * math.pi * f0 * (1.1 - 0.2 * t) / RATE
            low += 0.4 * (rng.uniform(-1, 1) - low)
            buzz = (ph % (2 * math.pi)) / math.pi - 1
            out.append(amp * math.sin(math.pi * t) * (0.7 * buzz + 0.3 * math.sin(3 * ph) + 0.8 * low))
        out += [0.0] * int(0.045 * RATE)
    return out


write_wav("snd/witch_laugh.wav", cackle())
write_wav("snd/chest_opening.wav", mixed(creak(0.9), [0.0] * int(0.6 * RATE) + chime([880, 1320, 1760], 0.9)))
write_wav("snd/bats_fly.wav", flutter(1.4))
write_wav("snd/claws_fall.wav", whoosh(0.8, 0.6, 1200, 200) + crash(0.25, 0.4))
write_wav("snd/cage_destroy.wav", mixed(crash(0.7), [0.0] * int(0.2 * RATE) + chime([660, 990, 1320], 1.0, 0.3)))
write_wav("obstacles/cave_search.wav", mixed(crash(0.15, 0.3), [0.0] * 3000 + crash(0.15, 0.25),
                                              [0.0] * 7000 + crash(0.2, 0.3)))
write_wav("obstacles/cave_found.wav", chime([523, 784], 0.6, 0.25))
write_wav("obstacles/cave_key.wav", chime([1568, 2093, 2637], 0.5, 0.3, 5))
write_wav("obstacles/chest_knock.wav", mixed(crash(0.06, 0.5), [0.0] * 3300 + crash(0.06, 0.5)))
write_wav("obstacles/ice_chip.wav", tick_chips(0.9))
write_wav("obstacles/ice_burst.wav", mixed(crash(0.5, 0.5), tick_chips(0.6, 0.4, 10)))
write_wav("obstacles/ice_freeze.wav", mixed(whoosh(0.9, 0.3, 3000, 1500), chime([1975, 2960], 0.9, 0.15)))

merge_sections(os.path.join(data, "snd", "sounds.ini"), {
    "ChestOpening": ["name=data/snd/chest_opening.wav", "maxvolume=0.9"],
    "BatsFly": ["name=data/snd/bats_fly.wav", "maxvolume=0.8"],
    "EvilClawsFall": ["name=data/snd/claws_fall.wav", "maxvolume=0.9"],
    "CageDestroy": ["name=data/snd/cage_destroy.wav", "maxvolume=0.9"],
    "WitchLaugh": ["name=data/snd/witch_laugh.wav", "maxvolume=0.8"],
})
cave_cues = ["sound0=data/obstacles/cave_search.wav", "phase0=0", "period0=0.3", "isRepeat0=1", "isCycle0=1",
             "sound1=data/obstacles/cave_found.wav", "sound2=data/obstacles/cave_key.wav"]
merge_sections(os.path.join(data, "obstacles", "sounds.ini"), {
    "Cave1": cave_cues,
    "Cave2": cave_cues,
    "Cave3": cave_cues,
    "ChestHeart": ["sound0=data/obstacles/cave_key.wav", "sound1=data/obstacles/chest_knock.wav"],
    "IceHeart": ["sound0=data/obstacles/ice_chip.wav", "sound1=data/obstacles/ice_burst.wav",
                 "sound2=data/obstacles/ice_freeze.wav"],
})

# ---- Story dialogs -------------------------------------------------------------------------
# The game view tells a story when the chest is reached without its key (39) and when the magic
# cage is hacked at while its magic holds (42): the foreman alone, in the single box.


def typing_text(key):
    return ["type=typingText", "x=18", "y=32", "xs=464", "ys=72", f"name={key}", "xalign=-1", "select=2",
            "period=28", "timeout=400", "font=data/fonts/sans16.png"]


foreman = ["double=0", "effect=0", "name1=#STORY_NAME_FOREMAN", "avatar1=data/interface/endscreens/foreman.png"]
merge_sections(os.path.join(data, "menu", "ingameDialogs.ini"), {
    "dialog39": foreman,
    "text1_39": typing_text("#STORY_TEXT1_39"),
    "dialog42": foreman,
    "text1_42": typing_text("#STORY_TEXT1_42"),
})

# ---- Names ----------------------------------------------------------------------------------

TEXTS = """[hearts]
#HEART_CAVE=Cave
#HEART_CHEST=Chest with a heart
#HEART_BATS=Heart carried by bats
#HEART_CAGE=Heart in a magic cage
#HEART_ICE=Frozen heart
#HEART_JUMPING=Heart
#STORY_TEXT1_39=Locked fast! The key must lie in one of the caves: search them first.
#STORY_TEXT1_42=The witch's magic holds the cage. Take her evil stones away and it will break.
"""
TEXTS_RU = """[hearts]
#HEART_CAVE=Пещера
#HEART_CHEST=Сундук с сердцем
#HEART_BATS=Сердце у летучих мышей
#HEART_CAGE=Сердце в волшебной клетке
#HEART_ICE=Замёрзшее сердце
#HEART_JUMPING=Сердце
#STORY_TEXT1_39=Заперто! Ключ где-то в пещерах: сначала обыщите их.
#STORY_TEXT1_42=Клетку держат чары ведьмы. Уберите её злые камни, и клетка сломается.
"""
own_section_last(os.path.join(data, "translation.ini"), "hearts", TEXTS, write)
own_section_last(os.path.join(data, "translation_ru.ini"), "hearts", TEXTS_RU, write)
print("hearts: data/anims/hearts, the hearts' effects in data/fx, their sounds and cues, dialogs 39 and 42, names "
      "in both languages")
