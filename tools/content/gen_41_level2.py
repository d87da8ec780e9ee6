#!/usr/bin/env python3
"""Writes level 2 of the demo, "The ore pit", into <target>/data/maps/2/.

A river splits the meadow; its broken bridge is the only crossing. Beyond it a ridge of boulders
closes the north of the far bank but for one gap, and three stones lie in that gap: the ore pit's
site waits behind them, to be built and upgraded twice. South of the bridge a hedge runs to the
right border; a dry tree stands in its only gap, and a basket of berries lies behind it. On the
barn's side a berry garden keeps the stock in food. map.bin is built by the map compiler.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import campaign_art as cart  # noqa: E402
import meadow_art as art  # noqa: E402
from level_common import (  # noqa: E402
    ICONS, OBSTACLE_ICONS, balance, barn, berry_garden, bonus_balance, compile_map, level_folders, meadow,
    save_grid, save_meadow, worker_start, write, write_map_ini)

NUMBER = 2
target, data, level = level_folders(sys.argv, NUMBER)

# The bridge and the ore pit carry the tags the game's tutorial tips of level 2 look for.
BRIDGE, ORE_PIT = "Bridge1_Top1", "OreGenerator1"
RIDGE = [(490, 420, 770, 460), (890, 420, 1003, 460)]  # the boulders' gap: x 770 to 890
HEDGE = [(490, 585, 850, 615), (900, 585, 1003, 615)]  # the hedge's gap: x 850 to 900


def stone(i, x):
    return (f"Stone{i}", dict(type="evilstone", subType="stone", x=x, y=452, layer=2, boundY=-22, boundXS=26,
                              boundYS=26, supportsAmount=1, supportX=0, supportY=34, isObstacle=1, obstacleY=-12,
                              obstacleXS=22, obstacleYS=22, anim0=f"stone{i}", name="#OBJECT_STONE",
                              workerType="Worker", Person_Repair_Time=3000, Person_Repair_Time_Food=3, cursor=3,
                              isBroken=1, childScript=OBSTACLE_ICONS))


objects = [
    meadow(NUMBER),
    barn(600),
    worker_start(650),
    berry_garden("Garden", 300, 400, 0, 3),
    (BRIDGE, dict(type="brokenPath", subType="bridge", x=515, y=520, layer=2, boundXS=60, boundYS=30,
                    supportsAmount=2, supportX=-70, supportY=0, support1X=70, support1Y=0, isObstacle=1,
                    obstacleXS=45, obstacleYS=25, anim0="bridge_repair", name="#OBJECT_BROKEN_BRIDGE",
                    workerType="Worker", Person_Repair_Time=5000, Person_Repair_Time_Food=5, cursor=3, isBroken=1,
                    isDrawAfterRepair=1, isConvex=1, childScript=OBSTACLE_ICONS)),
    stone(1, 792), stone(2, 830), stone(3, 868),
    (ORE_PIT, dict(type="building", subType="OreGenerator", x=800, y=300, layer=1, boundY=-30, boundXS=70,
                    boundYS=44, supportsAmount=2, supportX=-50, supportY=30, support1X=50, support1Y=30, isObstacle=1,
                    obstacleY=-10, obstacleXS=60, obstacleYS=16, anim0="orepit_level0", anim1="orepit_level1",
                    anim2="orepit_level2", anim7="cottage_site", anim8="cottage_scaffold", currentAnimation=7,
                    workerType="Worker", Person_Build_Time=5000, Person_Build_Time_Food=10, Person_Uprade_Time=5000,
                    Person_Uprade_Time_Food=10, Person_Uprade_Time_Ore=4, Person_Uprade2_Time=6000,
                    Person_Uprade2_Time_Food=15, Person_Uprade2_Time_Ore=8, name="#BUILDING_ORE_PIT", cursor=1,
                    isBreak=0, state=1, upgradeLevel=0, upgradeLevelMax=2, upgradeTabletDeltaY=-96,
                    resource="Ore", resourceValue=2, resourceValue1=3, resourceValue2=5, childScript=ICONS)),
    ("DryTree", dict(type="brokenPath", subType="dryTree", x=875, y=606, layer=3, boundY=-50, boundXS=45,
                     boundYS=60, supportsAmount=1, supportX=0, supportY=-36, isObstacle=1, obstacleY=-6,
                     obstacleXS=25, obstacleYS=18, anim0="dry_tree", name="#OBJECT_DRY_TREE", workerType="Worker",
                     Person_Repair_Time=4000, Person_Repair_Time_Food=5, cursor=3,
                     childScript=OBSTACLE_ICONS)),
    ("FoodBasket", dict(type="bonus", subType="food", x=900, y=690, layer=2, boundY=-12, boundXS=22, boundYS=20,
                        supportsAmount=1, supportX=0, supportY=-22, anim0="bonus_food", name="#OBJECT_BONUS_FOOD",
                        workerType="Worker", Person_Get_Resource_Time=1500, cursor=2, resource="Food",
                        resourceValue=10)),
    ("Oak1", dict(type="simple", subType="tree", x=90, y=320, layer=3, objectScale=1.2, anim0="oak_sway")),
    ("Oak2", dict(type="simple", subType="tree", x=400, y=700, layer=3, anim0="oak_sway", animDelta0x=-4)),
    ("Birch", dict(type="simple", subType="tree", x=660, y=250, layer=3, objectScale=0.8, anim0="birch_sway")),
    ("RiverGlint", dict(type="fx", subType="mapeffect", x=515, y=600, layer=-5, effectname="river_glint",
                        DeleteOutsideFog=0, startOnEffect=0)),
]
write_map_ini(level, "The ore pit", NUMBER, objects)

# The path-grid mask: white is open ground, black blocks the static grid.
river = [(500, 130), (520, 240), (505, 360), (515, 520), (540, 640), (530, 767)]
pond = (140, 200, 240, 260)


def river_and_crossing(d):
    d.line(river, fill=0, width=46)
    d.rectangle([465, 495, 565, 545], fill=255)  # the crossing: blocked by the bridge until mended


save_grid(level, RIDGE + HEDGE, [pond], [(90, 320), (400, 700), (660, 250)], (20, 15), river_and_crossing)

paths = [[(205, 640), (320, 560), (450, 522)], [(205, 640), (260, 520), (300, 440)],
         [(585, 522), (700, 500), (830, 490), (830, 400), (810, 340)], [(585, 530), (760, 560), (875, 570)],
         [(875, 640), (900, 700)]]
back = art.paint_background(river, 46, pond, paths)
cart.paint_rocks(back, RIDGE, seed=22)
cart.paint_hedges(back, HEDGE, seed=23)
save_meadow(data, NUMBER, back)

write(os.path.join(level, "balance.ini"), balance(NUMBER, 420000, 180000, 270000,
                                                  dict(Worker=2, Food=35, Ore=0, Gold=0),
                                                  dict(Worker=3, Food=60, Ore=40, Gold=30),
                                                  # Quick feet once the bar is half full: 20 s after the clock starts.
                                                  bonuses=bonus_balance(40000, {"Speed": (20000, 20000)})))
write(os.path.join(level, "task.ini"), f"""\
; Goals of level 2, checked and shown in "order".
[RepairBridge]
order=1
type=repair
objectTag={BRIDGE}
objectsName=#TASK_BRIDGE

[BuildOrePit]
order=2
type=build
objectTag={ORE_PIT}
building=OreGenerator
objectsName=#TASK_ORE_PIT

[GatherOre]
order=3
type=collectResource
resource=Ore
resourceValue=20
""")
compile_map(target, NUMBER, "gen_41_level2")
print("level 2: data/maps/2/map.ini, grid.png, balance.ini, task.ini, map.bin; data/anims/level2; its block of"
      " data/animations.xml")
