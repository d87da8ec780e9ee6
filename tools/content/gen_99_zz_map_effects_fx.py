"""The map effects the demo's levels and object families name: a river glint on levels 1 and 2, a
short puff of light where a bonus comes back or a creature shows itself, and the dust and glow of
work on bonuses and creatures. Entered in the effects catalogue data/fx/pyroeffects.ini; it runs
after gen_80_fx.py, which writes the catalogue, and reuses the demo's glint picture and effects."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from level_common import merge_sections, write  # noqa: E402

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
write(os.path.join(data, "fx", "map_puff.pfx"), PUFF)
merge_sections(os.path.join(data, "fx", "pyroeffects.ini"), {
    "river_glint": ["name=data/fx/sparkles.pfx"],
    "BonusRespawn": ["name=data/fx/map_puff.pfx", "offsetY=-10"],
    "WolvesAppear": ["name=data/fx/map_puff.pfx", "offsetY=-20"],
    "ObstacleDust": ["name=data/fx/repair_dust_small.pfx"],
    "ResourceCollecting": ["name=data/fx/respawn_glow.pfx", "offsetY=-10"],
    "WarriorAttack": ["name=data/fx/repair_dust_small.pfx"],
    "ExorcistSpell": ["name=data/fx/respawn_glow.pfx", "offsetY=-20"],
})
print("map effects: river_glint, BonusRespawn, WolvesAppear and the work effects in data/fx/pyroeffects.ini")
