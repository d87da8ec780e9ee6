"""The map effects the demo's levels and object families name: a river glint on levels 1 and 2, a
short puff of light where a bonus comes back or a creature shows itself, the dust and glow of work
on bonuses and creatures, and the trail of a worker running under the speed bonus. Entered in the
effects catalogue data/fx/pyroeffects.ini; it runs after gen_80_fx.py, which writes the catalogue,
and reuses the demo's glint picture and effects."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fx_catalogue import add_effects  # noqa: E402

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))
data = os.path.join(target, "data")

# A spawned effect without a lifetime must end by itself, or its map object would stay for good.
PUFF = """; Map puff: one soft ring of pale light that rises and fades in about a second. It stops by
; itself. Place it at the object's anchor. Format: docs/particles.md.
[effect]
version = 1
title = Map puff

[emitter ring]
sprite = pics/glint.png
blend = additive
burst = 14
rate = 10
duration = 0.4
maxParticles = 40
life = 0.5 0.9
speed = 30 70
direction = -90
spread = 180
area = 20 8
gravity = 0 -30
drag = 0.8
angle = 0 90
spin = -60 60
sizeVariation = 0.3
size = 0 6, 0.3 16, 1 4
color = 0 #FFFFFF, 0.5 #FFF2C0, 1 #FFD080
alpha = 0 0, 0.15 0.9, 0.7 0.6, 1 0
"""

# The trail of a worker walking fast under the speed bonus: little puffs of dust kicked up at his
# heels and a few golden sparks, for as long as he runs (the person stops it).
TRAIL = """; Running trail: dust kicked up at a running worker's heels, with a few golden sparks. Runs until
; stopped. Placed at the worker's feet. Format: docs/particles.md.
[effect]
version = 1
title = Running trail

[emitter dust]
sprite = pics/puff.png
blend = alpha
rate = 16
maxParticles = 30
life = 0.35 0.6
speed = 6 18
direction = -90
spread = 70
area = 10 3
gravity = 0 12
drag = 0.7
angle = 0 360
spin = -40 40
sizeVariation = 0.3
size = 0 4, 0.4 10, 1 14
color = 0 #C8B48C, 1 #E6DCC8
alpha = 0 0, 0.2 0.55, 1 0

[emitter sparks]
sprite = pics/glint.png
blend = additive
rate = 6
maxParticles = 12
life = 0.3 0.5
speed = 10 30
direction = -90
spread = 60
area = 8 10
size = 0 6, 1 2
color = 0 #FFF2C0, 1 #FFC040
alpha = 0 0.9, 1 0
"""
add_effects(data, {"map_puff.pfx": PUFF, "running_trail.pfx": TRAIL}, {
    "river_glint": ("sparkles.pfx",),
    "BonusRespawn": ("map_puff.pfx", "offsetY=-10"),
    "WolvesAppear": ("map_puff.pfx", "offsetY=-20"),
    "ObstacleDust": ("repair_dust_small.pfx",),
    "ResourceCollecting": ("respawn_glow.pfx", "offsetY=-10"),
    "WarriorAttack": ("repair_dust_small.pfx",),
    "ExorcistSpell": ("respawn_glow.pfx", "offsetY=-20"),
    "RunningTrail": ("running_trail.pfx",),
})
print("map effects: river_glint, BonusRespawn, WolvesAppear, the work effects and the RunningTrail in data/fx/pyroeffects.ini")
