#!/usr/bin/env python3
"""The effect a building's trumpets play after it is built, upgraded or repaired: two short blasts
of golden notes, to the left and to the right (data/fx/trumpet_blast.pfx), entered as
"UpgradeTrumpets" in the effects catalogue data/fx/pyroeffects.ini. It runs after gen_80_fx.py,
which writes the catalogue, and reuses the demo's glint picture."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from level_common import merge_sections, write  # noqa: E402

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))
data = os.path.join(target, "data")

BLAST = """; Trumpet blast: two short sprays of golden notes, up to the left and up to the right, as if two
; trumpets sounded over a building just built, upgraded or repaired. It stops by itself after
; about a second. Place it at the building's anchor. Format: docs/particles.md.
[effect]
version = 1
title = Trumpet blast
"""
for side, direction in (("left", -130), ("right", -50)):
    BLAST += f"""
[emitter {side}]
sprite = pics/glint.png
blend = additive
burst = 10
rate = 24
duration = 0.7
maxParticles = 50
life = 0.5 1.0
speed = 120 200
direction = {direction}
spread = 24
area = 16 10
gravity = 0 90
drag = 0.7
angle = 0 90
spin = -120 120
sizeVariation = 0.3
size = 0 8, 0.3 24, 1 6
color = 0 #FFFFFF, 0.4 #FFE07A, 1 #FFA030
alpha = 0 0, 0.1 1, 0.7 0.9, 1 0
"""
write(os.path.join(data, "fx", "trumpet_blast.pfx"), BLAST)
merge_sections(os.path.join(data, "fx", "pyroeffects.ini"), {
    "UpgradeTrumpets": ["name=data/fx/trumpet_blast.pfx", "offsetY=-70"],
})
print("trumpets: UpgradeTrumpets in data/fx/pyroeffects.ini, data/fx/trumpet_blast.pfx")
