#!/usr/bin/env python3
"""Writes level 6 of the demo, "The red hood", into <target>/data/maps/6/.

A glade at the edge of the wood, told of in a story before the clock starts. The red hood has
lost four mushrooms in the grass: each one found and brought to her, and once she has all four she
thanks the workers and a berry bush springs up beside her. The old drums by the stream call the
rain when a worker beats them, and the rain ripens the bush's berries, to be picked and carried
home. Two caves lie in the rocks; the key is in the one searched last, and brought home it opens
the chest across the glade, which holds a heart. map.bin is built by the map compiler.

The classes and pictures of the quest objects (the mushrooms, the red hood, the drums, the bush,
the caves and the chest) come with their own generators; this one only places them.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import campaign_art as cart  # noqa: E402
import meadow_art as art  # noqa: E402
from level_common import (  # noqa: E402
    BONUS_ICONS, OBSTACLE_ICONS, balance, barn, bonus_balance, compile_map, level_folders, level_texts,
    meadow, save_grid, save_meadow, worker_start, write, write_map_ini)

NUMBER = 6
target, data, level = level_folders(sys.argv, NUMBER)

# Rocks round the two caves' mouths (blocked ground behind them) and the stream by the drums.
ROCKS = [(40, 200, 200, 250), (800, 140, 990, 200)]
STREAM = [(640, 130), (660, 260), (700, 330), (690, 400)]
POND = (620, 390, 760, 450)


# A picture is drawn centred on its object's anchor: each click box (boundY, boundXS/YS) is laid
# over the picture as it stands on the map, so a click on what the player sees takes.
def mushroom(n, x, y, anim):
    return (f"Mushroom{n}", dict(type="berry", subType="mushroom", x=x, y=y, layer=1, boundY=3, boundXS=22,
                                 boundYS=22, supportsAmount=1, supportX=0, supportY=22, anim0=anim,
                                 name="#OBJECT_MUSHROOM", workerType="Worker", Person_Get_Resource_Time=2000,
                                 soundKey="Mushroom", cursor=4, childScript=BONUS_ICONS))


def cave(n, x, y):
    return (f"Cave{n}", dict(type="heart", subType="cave", x=x, y=y, layer=1, boundY=5, boundXS=66, boundYS=50,
                             supportsAmount=2, supportX=0, supportY=40, support1X=0, support1Y=10, isObstacle=1,
                             obstacleXS=40, obstacleYS=20, anim0="heart_cave_closed", anim1="heart_cave_open",
                             name="#HEART_CAVE", workerType="Worker", Person_Repair_Time=5000,
                             Person_Get_Resource_Time=2000, effect="CaveKeyFound", flashX=0, flashY=0, cursor=4,
                             childScript=BONUS_ICONS))


objects = [
    meadow(NUMBER),
    barn(630),
    worker_start(680),
    ("RedHood", dict(type="berry", subType="redhood", x=460, y=360, layer=1, boundY=8, boundXS=30, boundYS=36,
                     supportsAmount=1, supportX=30, supportY=20, anim0="redhood_idle", anim1="redhood_glance",
                     anim2="redhood_thanks", anim3="redhood_talk", name="#OBJECT_REDHOOD", workerType="Worker",
                     childScript=BONUS_ICONS)),
    mushroom(1, 330, 300, "mushroom_cep"),
    mushroom(2, 560, 230, "mushroom_chanterelle"),
    mushroom(3, 870, 470, "mushroom_brown"),
    mushroom(4, 650, 575, "mushroom_red"),
    ("Drums", dict(type="drums", subType="drums", x=800, y=330, layer=1, boundY=17, boundXS=50, boundYS=30,
                   supportsAmount=1, supportX=-58, supportY=12, isObstacle=1, obstacleXS=40, obstacleYS=16,
                   anim0="drums_idle", anim1="drums_tap", anim2="drums_start", anim3="drums_loop",
                   anim4="drums_final", name="#OBJECT_DRUMS", workerType="Worker", Person_Repair_Time=3000,
                   Person_Repair_Time_Food=10, cursor=4, childScript=OBSTACLE_ICONS)),
    ("BerryBush", dict(type="berry", subType="berry", x=560, y=520, layer=1, boundY=7, boundXS=50, boundYS=34,
                       supportsAmount=1, supportX=0, supportY=34, isObstacle=1, obstacleXS=40, obstacleYS=16,
                       anim0="berry_bush", anim1="berry_berries", name="#OBJECT_BERRY_BUSH", workerType="Worker",
                       Person_Get_Resource_Time=3000, bushAppear=1, berriesAppear=1, soundKey="BerryBush",
                       cursor=4, childScript=BONUS_ICONS)),
    cave(1, 120, 290),
    cave(2, 900, 240),
    ("ChestHeart", dict(type="heart", subType="ChestHeart", x=860, y=660, layer=1, boundY=16, boundXS=45,
                        boundYS=32, supportsAmount=1, supportX=0, supportY=35, isObstacle=1, obstacleXS=30,
                        obstacleYS=15, anim0="heart_chest_closed", anim1="heart_chest_opening",
                        anim2="heart_chest_open", anim3="heart_chest_empty", name="#HEART_CHEST",
                        workerType="Worker", soundKey="ChestHeart", Person_Repair_Time=500,
                        Person_Get_Resource_Time=3000, cursor=4, childScript=BONUS_ICONS)),
    ("Pond", dict(type="simple", subType="reflection", x=690, y=420, layer=-20, anim0="pond_shimmer", Alpha=110,
                  Angle=0.2)),
    ("Oak1", dict(type="simple", subType="tree", x=300, y=460, layer=3, objectScale=1.1, anim0="oak_sway")),
    ("Birch", dict(type="simple", subType="tree", x=980, y=380, layer=3, objectScale=0.8, anim0="birch_sway")),
    ("Fir1", dict(type="simple", subType="tree", x=50, y=430, layer=3, anim0="fir_sway")),
    ("Fir2", dict(type="simple", subType="tree", x=985, y=610, layer=3, objectScale=0.85, anim0="fir_sway")),
    ("Robin", dict(type="creature", subType="simple", x=330, y=440, layer=4, anim0="robin_idle",
                   anim1="robin_hop", anim2="robin_sing", anim3="robin_flutter", idlePeriodMin=3000,
                   idlePeriodMax=8000, actionPeriodMin=800, actionPeriodMax=1500, flipX=0, scale=1,
                   sound="robin")),
    ("Hedgehog", dict(type="creature", subType="moving", x=640, y=640, layer=3, anim0="hog_stand",
                      anim1="hog_sniff", anim2="hog_walk_up", anim3="hog_walk_upright", anim4="hog_walk_right",
                      anim5="hog_walk_downright", anim6="hog_walk_down", arealXS=70, arealYS=40, idlePeriodMin=1500,
                      idlePeriodMax=4000, actionPeriodMin=1200, actionPeriodMax=2400, activityFactor=4, flipX=0,
                      scale=1, speed=22)),
    ("Butterfly1", dict(type="creature", subType="butterfly", x=420, y=520, layer=5, anim0="butterfly_fly",
                        arealXS=120, arealYS=70, idlePeriodMin=500, idlePeriodMax=2000, actionPeriodMin=1500,
                        actionPeriodMax=4000, activityFactor=60, flipX=0, scale=1, speed=35)),
    ("Butterfly2", dict(type="creature", subType="butterfly", x=760, y=560, layer=5, anim0="butterfly_fly",
                        arealXS=100, arealYS=60, idlePeriodMin=500, idlePeriodMax=2000, actionPeriodMin=1500,
                        actionPeriodMax=4000, activityFactor=60, flipX=0, scale=0.8, speed=30)),
]
write_map_ini(level, "The red hood", NUMBER, objects)

save_grid(level, ROCKS, [POND], [(300, 460), (980, 380), (50, 430), (985, 610)],
          paint=lambda d: d.line(STREAM, fill=0, width=20))

paths = [[(205, 670), (330, 560), (460, 400)], [(205, 670), (420, 700), (620, 680), (860, 700)],
         [(460, 400), (560, 260)], [(460, 400), (560, 560)], [(560, 560), (760, 360)],
         [(330, 560), (150, 340)], [(620, 680), (880, 520), (900, 290)]]
back = art.paint_background(STREAM, 20, POND, paths)
cart.paint_rocks(back, ROCKS, seed=46)
save_meadow(data, NUMBER, back)

write(os.path.join(level, "balance.ini"), balance(NUMBER, 240000, 70000, 120000,
                                                  dict(Worker=3, Food=30, Ore=0, Gold=0),
                                                  dict(Worker=4, Food=60, Ore=30, Gold=30),
                                                  # Many errands at once: a helping hand and quick feet.
                                                  bonuses=bonus_balance(60000, {"Worker": (45000, 30000),
                                                                                "Speed": (30000, 20000)})))
write(os.path.join(level, "task.ini"), """\
; Goals of level 6, checked and shown in "order".
[PickBerries]
order=1
type=PickBerries
objectsMax=1
objectsName=#TASK_BERRIES

[BringHeart]
order=2
type=PickaHeart
objectsName=#TASK_CHEST_HEART
""")

TEXTS = """\
#TASK_BERRIES=Bring the berries home
#TASK_CHEST_HEART=Bring the chest's heart home
"""
TEXTS_RU = """\
#TASK_BERRIES=Принесите ягоды домой
#TASK_CHEST_HEART=Принесите сердце из сундука
"""
level_texts(data, NUMBER, TEXTS, TEXTS_RU)

compile_map(target, NUMBER, "gen_44_level6")
print("level 6: data/maps/6/map.ini, grid.png, balance.ini, task.ini, map.bin; its block of data/animations.xml"
      " and the translations")
