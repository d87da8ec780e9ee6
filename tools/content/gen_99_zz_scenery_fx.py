"""The map effects of the living background: the campfire "Fire" (a level's fire object, which burns
until the level ends) and "SunShine", the burst of warm light where an obstacle of the seasons is
cleared (a destroyed totem, a mended statue, the opened cage). Entered in the effects catalogue
data/fx/pyroeffects.ini; like gen_99_zz_map_effects_fx.py it runs after gen_80_fx.py, which writes
the catalogue. The sounds of a fire that catches and dies ("FireStart", "FireDying") are made with
the scenery's other sounds by gen_51_scenery_art.py. The effects reuse the demo's particle pictures."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fx_catalogue import add_effects  # noqa: E402

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))
data = os.path.join(target, "data")

# Emitters without a duration: the fire burns until it is stopped.
FIRE = """; Campfire: flickering flames over the logs, a few embers jumping up and a thin smoke drifting off.
; It burns until it is stopped. Place it at the foot of the flames. Format: docs/particles.md.
[effect]
version = 1
title = Campfire

[emitter flames]
sprite = pics/puff.png
blend = additive
rate = 42
maxParticles = 90
life = 0.45 0.8
speed = 22 42
direction = -90
spread = 22
area = 22 6
isRound = 1
gravity = 0 -40
drag = 0.6
angle = 0 360
spin = -90 90
sizeVariation = 0.3
size = 0 16, 0.4 13, 1 3
color = 0 #FFF2B8, 0.3 #FFB040, 0.7 #E05010, 1 #601000
alpha = 0 0, 0.1 0.9, 0.6 0.6, 1 0

[emitter embers]
sprite = pics/glint.png
blend = additive
rate = 4
maxParticles = 12
life = 0.8 1.6
speed = 30 60
direction = -90
spread = 40
area = 16 4
gravity = 0 -10
drag = 0.3
size = 0 4, 1 2
color = 0 #FFE080, 1 #FF6020
alpha = 0 1, 0.8 0.8, 1 0

[emitter smoke]
sprite = pics/puff.png
blend = alpha
rate = 3
maxParticles = 12
life = 2 3
speed = 15 25
direction = -90
spread = 15
area = 10 4
gravity = 6 -4
drag = 0.3
angle = 0 360
size = 0 10, 1 40
color = 0 #504840, 1 #A09C98
alpha = 0 0, 0.3 0.3, 1 0
"""

# Short emitters: the burst ends by itself, and its map object with it.
SUNSHINE = """; Sunshine: a burst of warm light and rising motes where a spell is broken. It ends by itself in
; about two seconds. Place it at the object's anchor. Format: docs/particles.md.
[effect]
version = 1
title = Sunshine

[emitter glow]
sprite = pics/glint.png
blend = additive
burst = 16
rate = 20
duration = 0.6
maxParticles = 40
life = 0.8 1.4
speed = 20 60
direction = -90
spread = 360
area = 30 30
isRound = 1
drag = 1
angle = 0 90
spin = -40 40
sizeVariation = 0.3
size = 0 6, 0.3 30, 1 8
color = 0 #FFFFFF, 0.5 #FFF0A0, 1 #FFC040
alpha = 0 0, 0.2 1, 1 0

[emitter motes]
blend = additive
burst = 24
rate = 25
duration = 0.8
maxParticles = 60
life = 1 1.8
speed = 10 30
direction = -90
spread = 120
area = 60 30
isRound = 1
gravity = 0 -20
size = 0 3, 1 5
color = 0 #FFFBE0, 1 #FFD060
alpha = 0 0, 0.2 0.8, 1 0
"""

add_effects(data, {"campfire.pfx": FIRE, "sunshine.pfx": SUNSHINE},
            {"Fire": ("campfire.pfx",), "SunShine": ("sunshine.pfx", "offsetY=-30")})
print("scenery effects: Fire and SunShine in data/fx/pyroeffects.ini")
