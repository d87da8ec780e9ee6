#!/usr/bin/env python3
"""Adds the particle effects the campaign's objects start to data/fx/ and their entries to the
effects catalogue data/fx/pyroeffects.ini (after gen_80_fx.py has written it, so it runs later):
the small repair dust of roads, stones and trees, the glow of a bonus place filling up again, the
dust of a gold or ore mine, and the smoke of a working ore pit.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from level_common import merge_sections, target_dir, write  # noqa: E402

target = target_dir(sys.argv)
fx = os.path.join(target, "data", "fx")
os.makedirs(fx, exist_ok=True)


def puffs(title, note, color0, color1, rate, area, size, rise=-10, life="0.8 1.4"):
    return f"""\
; {title}: {note} Format: docs/particles.md.
[effect]
version = 1
title = {title}

[emitter puffs]
sprite = pics/puff.png
blend = alpha
rate = {rate}
maxParticles = 40
life = {life}
speed = 8 22
direction = -90
spread = 110
area = {area}
gravity = 0 {rise}
drag = 0.6
angle = 0 360
spin = -30 30
sizeVariation = 0.3
size = 0 6, 0.4 {size}, 1 {size + 10}
color = 0 {color0}, 1 {color1}
alpha = 0 0, 0.15 0.6, 0.7 0.35, 1 0
"""


write(os.path.join(fx, "repair_dust_small.pfx"),
      puffs("Small repair dust", "pale puffs at the foot of a road, stone or tree being worked on.",
            "#C8B48C", "#E6DCC8", 6, "40 6", 20, rise=10))
write(os.path.join(fx, "mine_dust.pfx"),
      puffs("Mine dust", "grey dust blown out of a mine's mouth while a load is dug.", "#A09C94", "#D8D4CC", 8,
            "30 10", 24))
write(os.path.join(fx, "ore_smoke.pfx"),
      puffs("Ore pit smoke", "dark smoke rising slowly over a working ore pit.", "#5A5450", "#B4AEA8", 4, "10 4",
            26, rise=-20, life="1.6 2.6"))
write(os.path.join(fx, "respawn_glow.pfx"), """\
; Respawn glow: a few soft golden glints over a bonus place while its next pick-up grows; the
; place lights five of these one after another. Format: docs/particles.md.
[effect]
version = 1
title = Respawn glow

[emitter glints]
sprite = pics/glint.png
blend = additive
rate = 4
maxParticles = 12
life = 0.6 1.0
speed = 4 12
direction = -90
spread = 360
area = 30 12
isRound = 1
gravity = 0 -10
sizeVariation = 0.3
size = 0 2, 0.3 14, 1 0
color = 0 #FFFFFF, 1 #FFD060
alpha = 0 0, 0.2 0.8, 1 0
""")
merge_sections(os.path.join(fx, "pyroeffects.ini"), {
    "RepairDust_small": ["name=data/fx/repair_dust_small.pfx"],
    "ResourceRespawn": ["name=data/fx/respawn_glow.pfx", "offsetY=-10"],
    "GoldMineDust": ["name=data/fx/mine_dust.pfx", "offsetY=-10"],
    "OreMineDust": ["name=data/fx/mine_dust.pfx", "offsetY=-10"],
    "OreGeneratorSmoke": ["name=data/fx/ore_smoke.pfx", "offsetX=48", "offsetY=-70"],
})
print("campaign effects: data/fx/{repair_dust_small,mine_dust,ore_smoke,respawn_glow}.pfx and their entries in"
      " data/fx/pyroeffects.ini")
