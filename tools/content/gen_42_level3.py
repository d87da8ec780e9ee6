#!/usr/bin/env python3
"""Writes level 3 of the demo, "The gold mine", into <target>/data/maps/3/.

A ridge of boulders crosses the meadow from side to side but for one gap, and a bramble boar
stands in it: only a warrior from the warrior hut drives it off, and the gold mine waits behind
it. On the barn's side a picnic spot gives a basket of berries again and again, another gives
gold once, and the money changer trades food for gold; gold pays for the barn's upgrade, which
houses one more worker. map.bin is built by the map compiler.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import campaign_art as cart  # noqa: E402
import meadow_art as art  # noqa: E402
from level_common import (  # noqa: E402
    BONUS_ICONS, ICONS, balance, barn, bonus_balance, compile_map, level_folders, meadow, save_grid,
    save_meadow, warrior_hut, worker_start, write, write_map_ini)

NUMBER = 3
target, data, level = level_folders(sys.argv, NUMBER)

RIDGE = [(20, 420, 700, 460), (760, 420, 1003, 460)]  # the gap: x 700 to 760


def place(tag, x, y, resource, amount, period, once):
    return (tag, dict(type="bonusPlace", subType="bonusPlace", x=x, y=y, layer=0, boundXS=30, boundYS=16,
                      supportsAmount=1, supportX=0, supportY=22, anim0="bonus_place", name="#OBJECT_BONUS_PLACE",
                      workerType="Worker", resource=resource, resourceValue=amount, period=period, isOnce=once,
                      childScript=BONUS_ICONS))


objects = [
    meadow(NUMBER),
    barn(600, Person_Uprade_Time=5000, Person_Uprade_Time_Food=15, Person_Uprade_Time_Gold=10, cursor=4, state=0,
         upgradeLevel=0, upgradeLevelMax=1, upgradeTabletDeltaY=-180),
    worker_start(650),
    warrior_hut(400, 680),
    place("FoodPlace", 330, 530, "Food", 5, 20000, 0),
    place("GoldPlace", 860, 650, "Gold", 10, 0, 1),
    ("MoneyChanger", dict(type="moneyChanger", subType="moneyChanger", x=620, y=620, layer=1, boundY=-40,
                          boundXS=50, boundYS=50, supportsAmount=1, supportX=0, supportY=30, isObstacle=1,
                          obstacleY=-14, obstacleXS=44, obstacleYS=16, anim0="merchant_idle", anim1="merchant_weigh",
                          anim2="merchant_count", name="#OBJECT_MONEY_CHANGER", workerType="Worker",
                          Person_Get_Resource_Time=3000, Person_Get_Resource_Time_Food=10, cursor=2,
                          resource="Gold", resourceValue=5, isOnlyOneExchange=0,
                          childScript=BONUS_ICONS)),
    ("Boar", dict(type="bonus", subType="creature", x=730, y=452, layer=2, boundY=-24, boundXS=40, boundYS=30,
                  supportsAmount=1, supportX=0, supportY=36, isObstacle=1, obstacleY=-12, obstacleXS=32,
                  obstacleYS=22, anim0="boar_snort", name="#OBJECT_BOAR", workerType="Warrior",
                  Person_Get_Resource_Time=3000, cursor=3, idlePeriodMin=2000, idlePeriodMax=5000,
                  actionPeriodMin=800, actionPeriodMax=1500, flipX=0, scale=1,
                  childScript=BONUS_ICONS)),
    ("GoldMine", dict(type="building", subType="cBuildingMine", x=820, y=270, layer=1, boundY=-40, boundXS=66,
                      boundYS=50, supportsAmount=2, supportX=-30, supportY=30, support1X=30, support1Y=30,
                      isObstacle=1, obstacleY=-20, obstacleXS=60, obstacleYS=22, anim0="goldmine",
                      anim1="goldmine_empty", workerType="Worker", Person_Get_Resource_Time=4000,
                      name="#BUILDING_GOLD_MINE", cursor=2, isBreak=0, state=0, upgradeLevel=0, upgradeLevelMax=0,
                      resource="Gold", resourceValue=5, resourceMax=20, childScript=ICONS)),
    ("Oak1", dict(type="simple", subType="tree", x=90, y=300, layer=3, objectScale=1.2, anim0="oak_sway")),
    ("Oak2", dict(type="simple", subType="tree", x=520, y=300, layer=3, anim0="oak_sway", animDelta0x=-4)),
    ("Birch", dict(type="simple", subType="tree", x=960, y=560, layer=3, objectScale=0.8, anim0="birch_sway")),
    ("Butterfly", dict(type="creature", subType="butterfly", x=300, y=380, layer=5, anim0="butterfly_fly",
                       arealXS=120, arealYS=80, idlePeriodMin=500, idlePeriodMax=2000, actionPeriodMin=1500,
                       actionPeriodMax=4000, activityFactor=60, flipX=0, scale=1, speed=35)),
]
write_map_ini(level, "The gold mine", NUMBER, objects)

pond = (260, 200, 380, 270)
save_grid(level, RIDGE, [pond], [(90, 300), (520, 300), (960, 560)], (20, 15))

paths = [[(205, 640), (280, 560), (330, 552)], [(205, 640), (300, 700), (400, 706)],
         [(205, 640), (420, 640), (620, 650)], [(620, 650), (760, 670), (860, 672)],
         [(620, 650), (700, 560), (730, 490), (730, 400), (800, 300)]]
# No river on this level: a dry bed far off-map keeps the painter's signature.
back = art.paint_background([(-200, 0), (-200, 768)], 10, pond, paths)
cart.paint_rocks(back, RIDGE, seed=32)
save_meadow(data, NUMBER, back)

write(os.path.join(level, "balance.ini"), balance(NUMBER, 300000, 100000, 170000,
                                                  dict(Worker=2, Food=30, Ore=0, Gold=0),
                                                  dict(Worker=4, Food=60, Ore=30, Gold=60),
                                                  # Busy workshops first, then full baskets, the stopped clock last.
                                                  bonuses=bonus_balance(60000, {"FastGen": (25000, 20000),
                                                                                "More_Resources": (35000, 20000),
                                                                                "TimeStop": (50000, 15000)})))
write(os.path.join(level, "task.ini"), """\
; Goals of level 3, checked and shown in "order".
[DriveBoar]
order=1
type=pick
objectTag=Boar
objectsName=#TASK_BOAR

[GatherGold]
order=2
type=collectResource
resource=Gold
resourceValue=30
""")
compile_map(target, NUMBER, "gen_42_level3")
print("level 3: data/maps/3/map.ini, grid.png, balance.ini, task.ini, map.bin; data/anims/level3; its block of"
      " data/animations.xml")
