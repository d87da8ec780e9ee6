#!/usr/bin/env python3
"""Writes level 4 of the demo, "The wolf wood", into <target>/data/maps/4/.

A thicket runs down the meadow from the hills to the bottom hedge, open in two places only: a grey
wolf lies in the upper gap and a cave spider in the lower one, and a hedge splits the far side in
two. The warrior hut stands from the start, so its warrior can drive both off. Behind the wolf a
golden quill lies in the grass, to be carried home to the barn; behind the spider a basket of
berries fills the store. A hedgehog wanders near the pond (its pictures are the scenery's), two
butterflies flutter, a campfire burns by the hut and firs sway on the far side. map.bin is built by
the map compiler.

The calls of the wolf and the spider are synthesised here; their cues (sections named after the
objects in data/obstacles/sounds.ini) and the story told when the quill is found are entered by
gen_99_zz_late_levels.py, after the generators that write those files.
"""
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import campaign_art as cart  # noqa: E402
import late_levels_art as late  # noqa: E402
import meadow_art as art  # noqa: E402
import sound_synth as synth  # noqa: E402
from catalogue_block import animation_line, write_block  # noqa: E402
from level_common import (  # noqa: E402
    BONUS_ICONS, balance, barn, bonus_balance, compile_map, level_folders, level_texts, meadow, save_grid,
    save_meadow, warrior_hut, worker_start, write, write_map_ini)

NUMBER = 4
target, data, level = level_folders(sys.argv, NUMBER)
anims_dir = os.path.join(data, "anims", "level4")
os.makedirs(anims_dir, exist_ok=True)

# The thicket: x 560 to 610, open at y 290..350 (the wolf) and 560..620 (the spider); the hedge on
# the far side keeps the two halves apart.
THICKET = [(560, 130, 610, 290), (560, 350, 610, 560), (560, 620, 610, 747), (610, 445, 1003, 480)]
POND = (270, 200, 410, 290)


def creature(tag, sub, x, y, anims, name, flip=0):
    """A creature in a gap of the thicket: only the warrior drives it off; it stands on its gap and
    the warrior fights it from the barn's side."""
    keys = dict(type="bonus", subType=sub, x=x, y=y, layer=2, boundY=-22, boundXS=44, boundYS=30, supportsAmount=1,
                supportX=-56, supportY=-4, isObstacle=1, obstacleY=-15, obstacleXS=28, obstacleYS=34)
    keys.update({f"anim{i}": a for i, a in enumerate(anims)})
    keys.update(name=name, workerType="Warrior", Person_Get_Resource_Time=3000, cursor=3, idlePeriodMin=2500,
                idlePeriodMax=6000, actionPeriodMin=900, actionPeriodMax=1600, flipX=flip, scale=1,
                childScript=BONUS_ICONS)
    return (tag, keys)


objects = [
    meadow(NUMBER),
    barn(600),
    worker_start(650),
    warrior_hut(400, 690),
    ("Hearth", dict(type="simple", subType="hearth", x=110, y=700, layer=0, anim0="level4_hearth")),
    ("Campfire", dict(type="fx", subType="mapeffect", x=110, y=692, layer=2, effectname="Fire",
                      DeleteOutsideFog=0, startOnEffect=0)),
    creature("Wolf", "wolf", 588, 335, ["wolf_idle", "wolf_howl"], "#OBJECT_WOLF"),
    creature("Spider", "spider", 588, 605, ["spider_idle", "spider_rear"], "#OBJECT_SPIDER"),
    ("Quill", dict(type="bonus", subType="quill", x=840, y=300, layer=2, boundY=-10, boundXS=26, boundYS=20,
                   supportsAmount=1, supportX=0, supportY=24, anim0="quill_glint", name="#OBJECT_QUILL",
                   workerType="Worker", Person_Get_Resource_Time=1500, cursor=2, childScript=BONUS_ICONS)),
    ("FoodBasket", dict(type="bonus", subType="food", x=840, y=640, layer=2, boundY=-12, boundXS=22, boundYS=20,
                        supportsAmount=1, supportX=0, supportY=22, anim0="bonus_food", name="#OBJECT_BONUS_FOOD",
                        workerType="Worker", Person_Get_Resource_Time=1500, cursor=2, resource="Food",
                        resourceValue=15, childScript=BONUS_ICONS)),
    ("FoodPlace", dict(type="bonusPlace", subType="bonusPlace", x=330, y=480, layer=0, boundXS=30, boundYS=16,
                       supportsAmount=1, supportX=0, supportY=22, anim0="bonus_place", name="#OBJECT_BONUS_PLACE",
                       workerType="Worker", resource="Food", resourceValue=5, period=20000, isOnce=0,
                       childScript=BONUS_ICONS)),
    ("Pond", dict(type="simple", subType="reflection", x=340, y=245, layer=-20, anim0="pond_shimmer", Alpha=120,
                  Angle=0.15)),
    ("Hedgehog", dict(type="creature", subType="moving", x=240, y=380, layer=3, anim0="hog_stand",
                      anim1="hog_sniff", anim2="hog_walk_up", anim3="hog_walk_upright", anim4="hog_walk_right",
                      anim5="hog_walk_downright", anim6="hog_walk_down", arealXS=80, arealYS=40, idlePeriodMin=1500,
                      idlePeriodMax=4000, actionPeriodMin=1200, actionPeriodMax=2400, activityFactor=4, flipX=0,
                      scale=1, speed=22)),
    ("Butterfly1", dict(type="creature", subType="butterfly", x=420, y=420, layer=5, anim0="butterfly_blue_fly",
                        arealXS=110, arealYS=70, idlePeriodMin=500, idlePeriodMax=2000, actionPeriodMin=1500,
                        actionPeriodMax=4000, activityFactor=60, flipX=0, scale=1, speed=35)),
    ("Butterfly2", dict(type="creature", subType="butterfly", x=780, y=590, layer=5, anim0="butterfly_white_fly",
                        arealXS=120, arealYS=60, idlePeriodMin=500, idlePeriodMax=2000, actionPeriodMin=1500,
                        actionPeriodMax=4000, activityFactor=60, flipX=0, scale=0.8, speed=30)),
    ("Robin", dict(type="creature", subType="simple", x=110, y=305, layer=4, anim0="robin_idle",
                   anim1="robin_hop", anim2="robin_sing", anim3="robin_flutter", idlePeriodMin=3000,
                   idlePeriodMax=8000, actionPeriodMin=800, actionPeriodMax=1500, flipX=0, scale=1,
                   sound="robin")),
    ("Oak", dict(type="simple", subType="tree", x=90, y=320, layer=3, objectScale=1.2, anim0="oak_sway")),
    ("Birch", dict(type="simple", subType="tree", x=480, y=220, layer=3, objectScale=0.9, anim0="birch_sway")),
    ("Fir1", dict(type="simple", subType="tree", x=700, y=250, layer=3, anim0="fir_sway")),
    ("Fir2", dict(type="simple", subType="tree", x=960, y=360, layer=3, objectScale=0.85, anim0="fir_sway")),
    ("Fir3", dict(type="simple", subType="tree", x=960, y=700, layer=3, objectScale=0.9, anim0="fir_sway")),
]
write_map_ini(level, "The wolf wood", NUMBER, objects)

# The path grid: the thicket and the hedge, the pond and the tree trunks block the way.
save_grid(level, THICKET, [POND, [88, 688, 132, 712]],  # the pond and the hearth
          [(90, 320), (480, 220), (700, 250), (960, 360), (960, 700)])

paths = [[(205, 640), (300, 560), (420, 420), (530, 332)], [(205, 640), (320, 690), (400, 716)],
         [(205, 640), (400, 640), (530, 602)], [(640, 330), (740, 310), (840, 324)],
         [(640, 600), (740, 640), (840, 662)], [(230, 600), (320, 500)]]
# No river here: a dry bed far off the map keeps the painter's signature.
back = art.paint_background([(-200, 0), (-200, 768)], 10, POND, paths)
cart.paint_hedges(back, THICKET, seed=43)
save_meadow(data, NUMBER, back)


def picture(img, name):
    img.save(os.path.join(anims_dir, name), optimize=True)
    return "data/anims/level4/" + name


write_block(data, "level 4 art", [
    animation_line("wolf_idle", picture(late.wolf_strip("idle"), "wolf_idle.png"), 1800, 6),
    animation_line("wolf_howl", picture(late.wolf_strip("howl"), "wolf_howl.png"), 1200, 6, loop=False),
    animation_line("spider_idle", picture(late.spider_strip("idle"), "spider_idle.png"), 1400, 6),
    animation_line("spider_rear", picture(late.spider_strip("rear"), "spider_rear.png"), 1000, 6, loop=False),
    animation_line("quill_glint", picture(late.quill_strip(), "quill.png"), 1600, 8),
    animation_line("fir_sway", picture(late.fir_strip(), "fir.png"), 3600, 4),
    animation_line("level4_hearth", picture(late.log_fire_ring(), "hearth.png"), 1000, 1, loop=False),
])

# The calls: the wolf growls when the warrior comes and howls when it shows itself; the spider
# hisses and clicks.
RATE = 22050
rng = random.Random(43)


def write_wav(rel, samples):
    synth.write_wav(os.path.join(data, rel), samples, RATE, quantise=int)


def growl(duration, pitch, amp):
    n = int(duration * RATE)
    out, phase, noise = [], 0.0, 0.0
    for i in range(n):
        t = i / n
        phase += 2 * math.pi * pitch * (1 + 0.08 * math.sin(t * 40)) / RATE
        noise += 0.1 * (rng.uniform(-1, 1) - noise)
        env = min(1.0, t / 0.1) * min(1.0, (1 - t) / 0.2)
        out.append(amp * env * (0.45 * (math.sin(phase) + 0.6 * math.sin(2 * phase)) + 2.5 * noise))
    return out


def howl(duration, amp):
    n = int(duration * RATE)
    out, phase = [], 0.0
    for i in range(n):
        t = i / n
        f = 320 + 260 * math.sin(min(1.0, t * 1.6) * math.pi / 2) - 120 * max(0.0, t - 0.7) / 0.3
        phase += 2 * math.pi * f * (1 + 0.01 * math.sin(i / RATE * 2 * math.pi * 5)) / RATE
        env = min(1.0, t / 0.15) * min(1.0, (1 - t) / 0.3)
        out.append(amp * env * (math.sin(phase) + 0.2 * math.sin(2 * phase)) / 1.2)
    return out


def hiss(duration, amp):
    n = int(duration * RATE)
    out, prev = [], 0.0
    for i in range(n):
        t = i / n
        x = rng.uniform(-1, 1)
        out.append(amp * min(1.0, t / 0.05) * (1 - t) * (x - prev))  # high-passed noise
        prev = x
    return out


def clicks(count, amp):
    out = []
    for _ in range(count):
        out += [amp * (1 - i / 60) * (1 if i % 6 < 3 else -1) for i in range(60)] + [0.0] * int(0.07 * RATE)
    return out


os.makedirs(os.path.join(data, "obstacles"), exist_ok=True)
write_wav("obstacles/wolf_growl.wav", growl(0.7, 90, 0.7))
write_wav("obstacles/wolf_howl.wav", howl(1.4, 0.6))
write_wav("obstacles/wolf_growl2.wav", growl(0.4, 110, 0.6))
write_wav("obstacles/spider_hiss.wav", hiss(0.5, 0.6))
write_wav("obstacles/spider_click.wav", clicks(5, 0.5))
write_wav("obstacles/spider_hiss2.wav", hiss(0.3, 0.5) + clicks(2, 0.4))

write(os.path.join(level, "balance.ini"), balance(NUMBER, 240000, 80000, 140000,
                                                  dict(Worker=2, Food=25, Ore=0, Gold=0),
                                                  dict(Worker=4, Food=60, Ore=30, Gold=30),
                                                  # Quicker feet for the long ways round the thicket.
                                                  bonuses=bonus_balance(40000, {"Speed": (30000, 20000)})))
write(os.path.join(level, "task.ini"), """\
; Goals of level 4, checked and shown in "order". The quill's goal shows once the wolf is gone.
[DriveWolf]
order=1
type=pick
objectTag=Wolf
objectsName=#TASK_WOLF

[DriveSpider]
order=2
type=pick
objectTag=Spider
objectsName=#TASK_SPIDER

[BringQuill]
order=3
type=PickaQuill
objectsName=#TASK_QUILL
isHidden=1
appearTag=Wolf

[GatherFood]
order=4
type=collectResource
resource=Food
resourceValue=40
""")

TEXTS = """\
#OBJECT_WOLF=Grey wolf
#OBJECT_SPIDER=Cave spider
#OBJECT_QUILL=Golden quill
#TASK_WOLF=Drive the wolf away
#TASK_SPIDER=Drive the spider away
#TASK_QUILL=Bring the golden quill home
"""
TEXTS_RU = """\
#OBJECT_WOLF=Серый волк
#OBJECT_SPIDER=Пещерный паук
#OBJECT_QUILL=Золотое перо
#TASK_WOLF=Прогоните волка
#TASK_SPIDER=Прогоните паука
#TASK_QUILL=Принесите домой золотое перо
"""
level_texts(data, NUMBER, TEXTS, TEXTS_RU)

compile_map(target, NUMBER, "gen_43_level4")
print("level 4: data/maps/4/map.ini, grid.png, balance.ini, task.ini, map.bin; data/anims/level4;"
      " data/obstacles/wolf_*.wav, spider_*.wav; its blocks of data/animations.xml and the translations")
