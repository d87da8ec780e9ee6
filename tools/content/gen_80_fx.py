#!/usr/bin/env python3
"""Writes the effects catalogue and the effects gallery into <target>/data/:

- data/fx/pyroeffects.ini: the catalogue of named effects (each names an effect file, a start delay
  and offsets), including the demo's sparkles and chimney smoke;
- data/fx/effects.ini: the end-of-level fireworks (section "fireWorks");
- data/fx/firework.pfx: a rocket that climbs on a spark trail and bursts into a golden shower;
- data/fx/task_flare.pfx: the small flare that flies to the task panel;
- data/fx/comet.pfx: a blue-white comet with a long tail (the gallery's curved flight);
- data/fx/rising_wave.pfx: green sparks that rise on a fading wave;
- data/menu/fx_gallery.ini and data/menu/fx/sky.jpg: the gallery screen on a night sky.

Everything is drawn procedurally with a fixed seed, so every run writes the same bytes.
"""
import math
import os
import random
import sys

from PIL import Image

from demo_widgets import capped_button
from level_common import write_keeping_others  # noqa: E402

here = os.path.dirname(os.path.abspath(__file__))
target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "demo"))
fx = os.path.join(target, "data", "fx")
menu = os.path.join(target, "data", "menu")
os.makedirs(fx, exist_ok=True)
os.makedirs(os.path.join(menu, "fx"), exist_ok=True)


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(text.lstrip("\n"))


CATALOGUE = """
; The effects catalogue: every section but "main" names one effect. "name" is its particle effect
; file (docs/particles.md), "startTimeout" the milliseconds before it shows, "offsetX"/"offsetY"
; move every emitter and "offsetX1"/"offsetY1", "offsetX2"/... move emitter 1, 2, ... alone.
; Flights on a fading wave also read "amplitude" (pixels) and "frequency" (half-waves per flight).
[main]

[FireWork]
name=data/fx/firework.pfx

[TaskFlare]
name=data/fx/task_flare.pfx

[GalleryComet]
name=data/fx/comet.pfx

[RisingWave]
name=data/fx/rising_wave.pfx
amplitude=70
frequency=3

[Sparkles]
name=data/fx/sparkles.pfx

[ChimneySmoke]
name=data/fx/chimney_smoke.pfx
offsetY=-4
offsetX2=2

; A building's work dust and the burst of a building finished or upgraded by the player (their
; files are written with the buildings, tools/content/gen_45_persons_buildings.py).
[RepairDust_big]
name=data/fx/repair_dust.pfx

[WorkerJoy]
name=data/fx/worker_joy.pfx
offsetY=-50
"""

EFFECTS = """
; The end-of-level fireworks: rockets rise from a band at the bottom to a band at the top,
; "boundX"/"boundY" pixels from the screen's edges, one every "delay" seconds; "rocketsCount"
; rockets make a round and "iterationsCount" rounds make the show.
[fireWorks]
boundX=120
boundY=60
rocketsCount=5
iterationsCount=2
delay=0.7
"""

FIREWORK = """
; A firework rocket: a short spark trail while it climbs (it reaches its target at 1.2 s, half its
; flight), then a burst of golden stars and white glitter that fall and fade.
[effect]
version=1
title=Firework rocket

[emitter trail]
blend=additive
rate=70
duration=1.2
maxParticles=120
life=0.3 0.6
speed=5 25
direction=90
spread=60
gravity=0 30
size=0 7, 1 2
color=0 #FFF4C0, 0.5 #FFB040, 1 #C03010
alpha=0 1, 1 0

[emitter stars]
sprite=pics/glint.png
blend=additive
burst=90
rate=0
delay=1.2
maxParticles=90
life=1.0 1.6
speed=90 190
spread=360
isRound=1
gravity=0 55
drag=0.9
angle=0 90
spin=-120 120
sizeVariation=0.3
size=0 30, 0.3 22, 1 6
color=0 #FFFFFF, 0.2 #FFE070, 0.7 #FF7030, 1 #A02060
alpha=0 1, 0.75 0.9, 1 0

[emitter glitter]
blend=additive
burst=60
rate=0
delay=1.25
maxParticles=60
life=1.2 2.0
speed=40 120
spread=360
gravity=0 35
drag=1.2
size=0 4, 1 2
color=0 #FFFFFF, 1 #C0E0FF
alpha=0 1, 0.5 0.3, 0.6 1, 0.7 0.2, 0.8 1, 1 0
"""

TASK_FLARE = """
; The flare that flies from a place on the map to the task panel: a bright head and a short tail.
[effect]
version=1
title=Task flare

[emitter head]
sprite=pics/glint.png
blend=additive
rate=30
maxParticles=20
life=0.15 0.25
size=24
spin=-200 200
color=0 #FFFFFF, 1 #FFE080
alpha=0 1, 1 0

[emitter tail]
blend=additive
rate=90
maxParticles=120
life=0.4 0.7
speed=0 10
spread=360
size=0 10, 1 2
color=0 #FFF0B0, 1 #FF8020
alpha=0 0.9, 1 0
"""

COMET = """
; A comet: a blue-white head on a long tail of cooling dust.
[effect]
version=1
title=Comet

[emitter head]
sprite=pics/glint.png
blend=additive
rate=40
maxParticles=30
life=0.2 0.3
size=30
spin=-90 90
color=0 #FFFFFF, 1 #B0D8FF
alpha=0 1, 1 0

[emitter tail]
blend=additive
rate=160
maxParticles=400
life=0.8 1.4
speed=0 14
spread=360
area=6 6
isRound=1
gravity=0 8
size=0 14, 1 3
color=0 #E0F0FF, 0.4 #60A0FF, 1 #3030A0
alpha=0 0.9, 1 0
"""

RISING_WAVE = """
; Green sparks rising on a wave that dies away (a flight of one second).
[effect]
version=1
title=Rising wave

[emitter sparks]
blend=additive
rate=160
maxParticles=240
life=0.5 0.9
speed=5 30
spread=360
gravity=0 -20
size=0 16, 1 4
color=0 #F0FFE0, 0.4 #80FF90, 1 #10A060
alpha=0 1, 1 0

[emitter glints]
sprite=pics/glint.png
blend=additive
rate=12
maxParticles=20
life=0.3 0.5
angle=0 90
size=0 10, 0.4 28, 1 0
color=#E0FFE8
"""

GALLERY = """
; The effects gallery: a fireworks show, a comet on a curved flight and sparks rising on a fading
; wave, over a night sky. [Main] lists the windows to create under the keys 1, 2, ... in order; the
; show ("fxGallery") reads its effects and the comet's path ("pathN" = control x y, anchor x y).
; Escape or the Back button returns.
[Main]
normal=data/menu/fx/sky.jpg
font=data/fonts/sans16.png
1=Show
2=Title
3=Hint
4=Back

[Show]
type=fxGallery
x=0
y=0
xs=1024
ys=768
fireWorks=data/fx/effects.ini
flight=GalleryComet
flightDuration=3200
flightPause=700
path0=0 0 -40 610
path1=200 420 330 600
path2=480 780 620 610
path3=800 430 1070 560
wave=RisingWave
wavePeriod=1700

[Title]
type=text
x=0
y=20
xs=1024
ys=40
name=Effects gallery
select=2
font=data/fonts/sans26b.png

[Hint]
type=text
x=0
y=62
xs=1024
ys=24
name=Fireworks, a comet on a curved flight and sparks on a rising wave

""" + capped_button("Back", 402, 700, 220, 48, "click", yalign=0)


def sky(w=1024, h=768, seed=8080):
    """A night sky: deep blue at the top to violet at the horizon, stars, a dark hill line."""
    rng = random.Random(seed)
    img = Image.new("RGB", (w, h))
    px = img.load()
    top, bottom = (8, 10, 34), (52, 30, 70)
    hill = [h - 120 + 30 * math.sin(x / 170.0) + 14 * math.sin(x / 53.0 + 1.3) for x in range(w)]
    for y in range(h):
        f = y / (h - 1)
        row = tuple(int(top[i] + (bottom[i] - top[i]) * f ** 1.4) for i in range(3))
        for x in range(w):
            px[x, y] = (10, 14, 22) if y > hill[x] else row
    for _ in range(260):
        x, y = rng.randrange(w), rng.randrange(int(h * 0.75))
        if y > hill[x] - 4:
            continue
        b = rng.randint(120, 255)
        px[x, y] = (b, b, min(255, b + 20))
        if b > 225 and 0 < x < w - 1 and 0 < y < h - 1:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                q = px[x + dx, y + dy]
                px[x + dx, y + dy] = tuple(min(255, c + b // 3) for c in q)
    return img


# Written whole, keeping the entries other generators have put in it (whichever ran first).
write_keeping_others(os.path.join(fx, "pyroeffects.ini"), CATALOGUE)
write(os.path.join(fx, "effects.ini"), EFFECTS)
write(os.path.join(fx, "firework.pfx"), FIREWORK)
write(os.path.join(fx, "task_flare.pfx"), TASK_FLARE)
write(os.path.join(fx, "comet.pfx"), COMET)
write(os.path.join(fx, "rising_wave.pfx"), RISING_WAVE)
write(os.path.join(menu, "fx_gallery.ini"), GALLERY)
sky().save(os.path.join(menu, "fx", "sky.jpg"), quality=88, optimize=True)
