#!/usr/bin/env python3
"""Writes level 1 of the demo into <target>/data/maps/1/ and the global data/balance.ini.

The level is authored as text and pictures: map.ini (one section per map object), grid.png (the
path-grid mask: obstacle areas painted black over the 1024 x 768 map), balance.ini and task.ini.
map.bin is then built from them by the map compiler, taken from $MAPC or the newest build*/mapc.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import meadow_art as art  # noqa: E402
from catalogue_block import animation_line, write_block  # noqa: E402
from level_common import (  # noqa: E402
    BONUSES, BONUS_ICONS, ICONS, OBSTACLE_ICONS, barn, berry_garden, compile_map, level_folders, meadow,
    save_grid, worker_start, write, write_map_ini)

target, data, level = level_folders(sys.argv, 1)


# Objects: (name, keys). The barn is where the workers live; a river cuts the meadow in two and
# the broken bridge is the only crossing (5 Food to mend); on the far bank a broken berry garden
# (10 Food to mend, then 2 Food every minute tick of 10 s) and a basket of 10 berries wait. On the
# barn's side a cottage waits to be built on its marked-out site and a granary can be upgraded
# twice. "cursor" picks the pointer's shape over an object: 1 build, 2 gather, 3 repair, 4 upgrade.
# The bridge and the garden carry the tags the game's tutorial tips of level 1 look for ("Food4":
# the first thing to click, "Totem11": what the way over the river opens), so the tips point at them.
objects = [
    meadow(1),
    barn(560),
    ("Cottage", dict(type="building", subType="Cottage", x=370, y=690, layer=1, boundY=-48, boundXS=56,
                     boundYS=52, supportsAmount=1, supportX=0, supportY=26, isObstacle=1, obstacleY=-6,
                     obstacleXS=46, obstacleYS=10, anim0="cottage", anim6="cottage_broken", anim7="cottage_site",
                     anim8="cottage_scaffold", currentAnimation=7, workerType="Worker", Person_Build_Time=4000,
                     Person_Build_Time_Food=10, Person_Build_Time_Ore=5, Person_Repair_Time=3000,
                     Person_Repair_Time_Food=3, name="#BUILDING_COTTAGE", cursor=1, isBreak=1, state=1,
                     childScript=ICONS)),
    ("Granary", dict(type="building", subType="Granary", x=210, y=240, layer=1, boundY=-58, boundXS=48,
                     boundYS=62, supportsAmount=1, supportX=0, supportY=24, isObstacle=1, obstacleY=-6,
                     obstacleXS=40, obstacleYS=10, anim0="granary_level0", anim1="granary_level1",
                     anim2="granary_level2", anim6="granary_broken", anim8="cottage_scaffold", workerType="Worker",
                     Person_Uprade_Time=4000, Person_Uprade_Time_Food=5, Person_Uprade2_Time=5000,
                     Person_Uprade2_Time_Food=10, Person_Uprade2_Time_Ore=3, Person_Repair_Time=3000,
                     Person_Repair_Time_Food=3, name="#BUILDING_GRANARY", cursor=4, isBreak=1, state=0,
                     upgradeLevel=0, upgradeLevelMax=2, upgradeTabletDeltaY=-160, childScript=ICONS)),
    worker_start(610),
    ("Food4", dict(type="brokenPath", subType="bridge", x=520, y=430, layer=2, boundXS=60, boundYS=30,
                    supportsAmount=2, supportX=-70, supportY=0, support1X=70, support1Y=0, isObstacle=1,
                    obstacleXS=45, obstacleYS=25, anim0="bridge_repair", name="#OBJECT_BROKEN_BRIDGE",
                    workerType="Worker", Person_Repair_Time=5000, Person_Repair_Time_Food=5, cursor=3, isBroken=1,
                    isDrawAfterRepair=1, isConvex=1, childScript=OBSTACLE_ICONS)),
    berry_garden("Totem11", 790, 330, 4, 2),
    ("FoodBasket", dict(type="bonus", subType="food", x=860, y=560, layer=2, boundY=-12, boundXS=22, boundYS=20,
                        supportsAmount=1, supportX=0, supportY=22, anim0="bonus_food", name="#OBJECT_BONUS_FOOD",
                        workerType="Worker", Person_Get_Resource_Time=1500, cursor=2, resource="Food",
                        resourceValue=10, childScript=BONUS_ICONS)),
    ("Oak1", dict(type="simple", subType="tree", x=90, y=300, layer=3, objectScale=1.2, anim0="oak_sway")),
    ("Oak2", dict(type="simple", subType="tree", x=640, y=650, layer=3, anim0="oak_sway", animDelta0x=-4)),
    ("Birch", dict(type="simple", subType="tree", x=960, y=200, layer=3, objectScale=0.8, anim0="birch_sway")),
    ("Pond", dict(type="simple", subType="reflection", x=330, y=300, layer=-20, anim0="pond_shimmer", Alpha=110,
                  Angle=0.2)),
    ("Robin", dict(type="creature", subType="simple", x=120, y=270, layer=4, anim0="robin_idle",
                   anim1="robin_hop", anim2="robin_sing", anim3="robin_flutter", idlePeriodMin=3000,
                   idlePeriodMax=8000, actionPeriodMin=800, actionPeriodMax=1500, flipX=0, scale=1,
                   sound="robin")),
    ("Butterfly", dict(type="creature", subType="butterfly", x=700, y=520, layer=5, anim0="butterfly_fly",
                       arealXS=120, arealYS=80, idlePeriodMin=500, idlePeriodMax=2000, actionPeriodMin=1500,
                       actionPeriodMax=4000, activityFactor=60, flipX=0, scale=1, speed=35)),
    ("RiverGlint", dict(type="fx", subType="mapeffect", x=520, y=470, layer=-5, effectname="river_glint",
                        DeleteOutsideFog=0, startOnEffect=0)),
]

write_map_ini(level, "The meadow", 1, objects,
              ["; Level 1, \"The meadow\": objects of the map. Each section is one object; the section name is",
               "; its tag. Rebuild map.bin with tools/content/gen_40_level1.py (or mapc build) after editing."])

# The path-grid mask over the 1024 x 768 map: white is open ground, black blocks the static grid.
river = [(470, 130), (500, 220), (490, 320), (520, 430), (545, 540), (530, 650), (560, 767)]


def river_and_crossing(d):
    d.line(river, fill=0, width=46)
    d.rectangle([470, 405, 570, 455], fill=255)  # the crossing: blocked by the bridge object until repaired


# The pond, the oak's trunk and two more trunks.
save_grid(level, ponds=[[270, 260, 390, 340], [70, 280, 110, 320], [620, 635, 660, 665], [945, 190, 975, 212]],
          paint=river_and_crossing)

# The painted map and the scenery pictures; the dirt paths lead from the barn door to the bridge,
# the cottage and the granary, and on the far bank to the garden and the basket.
paths = [[(205, 598), (300, 520), (445, 432)], [(215, 605), (300, 680), (370, 716)],
         [(205, 598), (250, 470), (232, 340), (210, 266)],
         [(592, 432), (690, 392), (790, 362)], [(620, 440), (760, 560), (860, 582)]]
anims_dir = os.path.join(data, "anims", "level1")
os.makedirs(anims_dir, exist_ok=True)


def picture(img, name, **save):
    img.save(os.path.join(anims_dir, name), **save)
    return "data/anims/level1/" + name


catalogue = [
    animation_line("level1_meadow", picture(art.paint_background(river, 46, (270, 260, 390, 340), paths),
                                            "meadow.jpg", quality=88), 1000, 1, loop=False),
    animation_line("oak_sway", picture(art.tree_strip("oak"), "oak.png", optimize=True), 3200, 4),
    animation_line("birch_sway", picture(art.tree_strip("birch"), "birch.png", optimize=True), 2800, 4),
    animation_line("pond_shimmer", picture(art.glint_strip(), "glints.png", optimize=True), 1800, 6),
    animation_line("robin_idle", picture(art.robin_strip("idle", 2), "robin_idle.png", optimize=True), 1200, 2),
    animation_line("robin_hop", picture(art.robin_strip("hop", 4), "robin_hop.png", optimize=True), 400, 4),
    animation_line("robin_sing", picture(art.robin_strip("sing", 4), "robin_sing.png", optimize=True), 600, 4),
    animation_line("robin_flutter", picture(art.robin_strip("flutter", 4), "robin_flutter.png", optimize=True), 300,
                   4),
    animation_line("butterfly_fly", picture(art.butterfly_strip(), "butterfly.png", optimize=True), 300, 4),
]
write_block(data, "level 1", catalogue)

write(os.path.join(level, "balance.ini"), """\
; Balance of level 1: times in milliseconds.
[Main]
tLevelTime=240000
tGoldTime=90000
tSilverTime=150000
iEpisode=1
tScoreBonusPeriodMin=2000
tScoreBonusPeriodMax=6000
bIsFog=0
iWorkersSkin=0
MinuteTime=10000

[Resources]
Worker=1
Food=20
Ore=5
Gold=0

[ResourcesMax]
Worker=3
Food=40
Ore=30
Gold=30

[ResourceHarvest]
Worker=0
Food=5
Ore=3
Gold=0

""" + BONUSES)

write(os.path.join(level, "task.ini"), """\
; Goals of level 1, checked and shown in "order".
[RepairBridge]
order=1
type=repair
objectTag=Food4
objectsName=#TASK_BRIDGE

[RepairGarden]
order=2
type=repair
objectTag=Totem11
objectsName=#TASK_GARDEN
isHidden=1
appearTask=RepairBridge

[GatherFood]
order=3
type=collectResource
resource=Food
resourceValue=25
""")

write(os.path.join(data, "balance.ini"), """\
; Balance shared by every level.
[Worker]
; base walking speed of persons, pixels per millisecond
vel=0.09
""")

compile_map(target, 1, "gen_40_level1")
print("level 1: data/maps/1/map.ini, grid.png, balance.ini, task.ini, map.bin; data/balance.ini; data/anims/level1;"
      " its block of data/animations.xml")
