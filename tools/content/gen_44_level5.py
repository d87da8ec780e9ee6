#!/usr/bin/env python3
"""Writes level 5 of the demo, "The misty hollow", into <target>/data/maps/5/.

Mist lies over the hollow: only the corner round the barn is clear. The berry garden by the barn,
mended, feeds the store and lifts the mist off the hills above it, where a basket of berries, a
pond with a frog and its flies wait. A ridge of rocks runs down the middle, crossed by one road
whose broken stretch must be mended; that opens the mist over the far side, where an evil totem
stands and the ore pit's site is marked. The pit, built, gives the ore that breaking the totem takes
and opens the mist over the hills behind it, where a heart lies hidden: it leaps out onto the grass
once its spot is clear. The heart's goal shows once the totem is down. When every area is open the
rest of the mist fades. Trees stand grey and dead under the mist and leaf out as it leaves them;
showers of rain cross the hollow now and then.

Besides the usual level files it writes the fog: the starting opacities (fog.png, given to the map
compiler), and the grey copy of the background the fog is drawn with (backgray.jpg with its alpha
in _backgray.png). map.bin is built by the map compiler.
"""
import os
import sys

from PIL import Image, ImageDraw, ImageEnhance, ImageFilter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import campaign_art as cart  # noqa: E402
import late_levels_art as late  # noqa: E402
import meadow_art as art  # noqa: E402
from catalogue_block import animation_line, write_block  # noqa: E402
from level_common import (  # noqa: E402
    BONUS_ICONS, ICONS, OBSTACLE_ICONS, balance, barn, berry_garden, bonus_balance, compile_map,
    level_folders, level_texts, meadow, save_grid, save_meadow, worker_start, write, write_map_ini)

NUMBER = 5
target, data, level = level_folders(sys.argv, NUMBER)
anims_dir = os.path.join(data, "anims", "level5")
os.makedirs(anims_dir, exist_ok=True)

# The ridge: x 450 to 500, open at y 520..600 where the road crosses it.
RIDGE = [(450, 130, 500, 520), (450, 600, 500, 747)]
POND = (200, 250, 330, 310)
ROAD = (475, 560)
TREES = [("Pine1", "pine", 80, 330, 1.0), ("Apple1", "apple", 390, 250, 0.9), ("Willow1", "willow", 345, 330, 0.8),
         ("Pine2", "pine", 610, 250, 0.9), ("Apple2", "apple", 930, 560, 1.0), ("Pine3", "pine", 960, 700, 0.85),
         ("Willow2", "willow", 760, 330, 0.9)]


def tree(tag, kind, x, y, scale):
    """A tree of the scenery: dead and grey under the mist, it leafs out once the mist leaves it."""
    leaves = {"pine": (58, 120, 70), "apple": (96, 168, 70), "willow": (120, 170, 84)}[kind]
    return (tag, dict(type="simple", subType="tree", x=x, y=y, layer=3, objectScale=scale, anim0=f"tree_{kind}_crown",
                      anim1=f"tree_{kind}_trunk", LeavesLiveR=leaves[0], LeavesLiveG=leaves[1], LeavesLiveB=leaves[2],
                      LeavesDeadR=138, LeavesDeadG=130, LeavesDeadB=112, TrunkLiveR=124, TrunkLiveG=88,
                      TrunkLiveB=56, TrunkDeadR=104, TrunkDeadG=98, TrunkDeadB=92, RandomSeed=x + y, RandomMax=12,
                      ScaleRandomSeed=x, ScaleRandomMax=0.08, ampl=2.0, period=4200 + x, phase=y / 100,
                      scale=1, DeleteOutsideFog=0))


objects = [
    meadow(NUMBER),
    barn(630),
    worker_start(680),
    # Mended, the berry garden feeds the barn again and the mist lifts off the hills above it.
    berry_garden("Garden", 330, 470, 4, 3, 4000, fog=dict(isFogArea=1, fogAreaDeltaX=-60, fogAreaDeltaY=-230,
                                                          fogAreaRadius=330, fogAreaRadius2=210)),
    # Mended, the stretch leaves the map and the mist over the middle of the far side opens.
    ("Road", dict(type="brokenPath", subType="roadcrack", x=ROAD[0], y=ROAD[1], layer=0, boundXS=56, boundYS=30,
                  supportsAmount=2, supportX=-66, supportY=0, support1X=66, support1Y=0, isObstacle=1,
                  obstacleXS=30, obstacleYS=42, isFogArea=1, fogAreaDeltaX=215, fogAreaDeltaY=-40,
                  fogAreaRadius=270, fogAreaRadius2=250, anim0="road_crack", name="#OBJECT_ROAD_CRACK",
                  workerType="Worker", Person_Repair_Time=4000, Person_Repair_Time_Food=10, cursor=3, isBroken=1,
                  isDrawAfterRepair=0, childScript=OBSTACLE_ICONS)),
    # Built on its marked site, the ore pit gives the ore the totem's breaking takes, and the mist
    # lifts off the hills behind it, where the heart lies.
    ("OrePit", dict(type="building", subType="OreGenerator", x=640, y=665, layer=1, boundY=-30, boundXS=70,
                    boundYS=44, supportsAmount=2, supportX=-50, supportY=30, support1X=50, support1Y=30, isObstacle=1,
                    obstacleY=-10, obstacleXS=60, obstacleYS=16, isFogArea=1, fogAreaDeltaX=230, fogAreaDeltaY=-390,
                    fogAreaRadius=280, fogAreaRadius2=250, anim0="orepit_level0", anim1="orepit_level1",
                    anim2="orepit_level2", anim7="cottage_site", anim8="cottage_scaffold", currentAnimation=7,
                    workerType="Worker", Person_Build_Time=4000, Person_Build_Time_Food=10, Person_Uprade_Time=5000,
                    Person_Uprade_Time_Food=10, Person_Uprade_Time_Ore=3, name="#BUILDING_ORE_PIT", cursor=1,
                    isBreak=0, state=1, upgradeLevel=0, upgradeLevelMax=1, upgradeTabletDeltaY=-96,
                    resource="Ore", resourceValue=3, resourceValue1=5, childScript=ICONS)),
    ("Totem", dict(type="totem", subType="totem", x=720, y=470, layer=2, boundY=-50, boundXS=24, boundYS=56,
                   supportsAmount=1, supportX=0, supportY=30, isObstacle=1, obstacleY=-4, obstacleXS=16,
                   obstacleYS=10, anim0="totem_evil", anim1="totem_broken", name="#OBJECT_TOTEM", workerType="Worker",
                   Person_Repair_Time=4000, Person_Repair_Time_Food=5, Person_Repair_Time_Ore=6, cursor=3, state=0,
                   wells=0, AnimFrameShift=0, flipX=0, childScript=OBSTACLE_ICONS)),
    # Under the mist it waits unseen; once its spot is clear it leaps out onto the grass.
    ("Heart", dict(type="heart", subType="JumpingHeart", x=900, y=250, layer=3, boundY=8, boundXS=25, boundYS=22,
                   supportsAmount=1, supportY=30, anim0="heart_lying", name="#HEART_JUMPING", workerType="Worker",
                   Person_Get_Resource_Time=1500, targetPosX=840, targetPosY=400, childScript=BONUS_ICONS)),
    ("FoodBasket", dict(type="bonus", subType="food", x=150, y=250, layer=2, boundY=-12, boundXS=22, boundYS=20,
                        supportsAmount=1, supportX=0, supportY=22, anim0="bonus_food", name="#OBJECT_BONUS_FOOD",
                        workerType="Worker", Person_Get_Resource_Time=1500, cursor=2, resource="Food",
                        resourceValue=15, childScript=BONUS_ICONS)),
    ("Rain", dict(type="fx", subType="rain", x=0, y=0, layer=80, period=14000, startPeriodMin=12000,
                  startPeriodMax=25000, fadePeriod=0.2, darkOpacity=60)),
    ("PondFlies", dict(type="fx", subType="flies", x=265, y=268, layer=60, boundXS=44, boundYS=20, amount=12, r=30,
                       g=28, b=24, a=230, anim0="pond_fly")),
    ("Pond", dict(type="simple", subType="reflection", x=265, y=292, layer=-20, anim0="reflection_willow", Alpha=150,
                  Angle=0)),
] + [tree(*t) for t in TREES] + [
    ("Butterfly", dict(type="creature", subType="butterfly", x=300, y=650, layer=5, anim0="butterfly_white_fly",
                       arealXS=100, arealYS=60, idlePeriodMin=500, idlePeriodMax=2000, actionPeriodMin=1500,
                       actionPeriodMax=4000, activityFactor=60, flipX=0, scale=1, speed=35)),
    ("Frog", dict(type="creature", subType="simple", x=232, y=318, layer=4, anim0="frog_idle", anim1="frog_croak",
                  anim2="frog_blink", anim3="frog_jump", anim4="frog_duck", idlePeriodMin=3000, idlePeriodMax=7000,
                  actionPeriodMin=900, actionPeriodMax=1500, flipX=0, scale=1, sound="frog_croak")),
]
write_map_ini(level, "The misty hollow", NUMBER, objects)

save_grid(level, RIDGE, [POND], [(x, y) for _, _, x, y, _ in TREES], (14, 10))

# The starting mist: clear round the barn, thick everywhere else, with a soft edge. One pixel per
# fog vertex (10 map pixels); white is full fog.
fog = Image.new("L", (104, 79), 255)
fd = ImageDraw.Draw(fog)
fd.ellipse([-22, 44, 42, 102], fill=0)
fog = fog.filter(ImageFilter.GaussianBlur(2.5))
fog.save(os.path.join(level, "fog.png"), optimize=True)

paths = [[(205, 670), (330, 600), (420, 565), (560, 560), (640, 540), (720, 500)],
         [(205, 670), (300, 560), (330, 510)], [(300, 520), (240, 400), (160, 280)],
         [(560, 560), (600, 640), (640, 690)], [(720, 500), (800, 440), (840, 420)],
         [(840, 420), (900, 300)], [(640, 690), (820, 700), (960, 660)]]
back = art.paint_background([(-200, 0), (-200, 768)], 10, POND, paths)
cart.paint_rocks(back, RIDGE, seed=45)
# A damp, dusky hollow: a little darker and bluer than the open meadows.
back = ImageEnhance.Brightness(ImageEnhance.Color(back).enhance(0.8)).enhance(0.9)
save_meadow(data, NUMBER, back)
# The grey copy the mist is drawn with: the same map, pale and colourless, nearly opaque.
grey = ImageEnhance.Brightness(ImageEnhance.Color(back).enhance(0.0)).enhance(1.35).filter(ImageFilter.GaussianBlur(2))
grey.save(os.path.join(level, "backgray.jpg"), quality=85)
Image.new("L", (1024, 768), 235).save(os.path.join(level, "_backgray.png"), optimize=True)


def picture(img, name):
    img.save(os.path.join(anims_dir, name), optimize=True)
    return "data/anims/level5/" + name


write_block(data, "level 5 art", [
    animation_line("pond_fly", picture(late.fly_dot(), "fly.png"), 200, 2),
    animation_line("totem_evil", picture(late.totem_strip(), "totem.png"), 1500, 6),
    animation_line("totem_broken", picture(late.totem_broken(), "totem_broken.png"), 1000, 1),
    animation_line("road_crack", picture(late.road_crack_strip(), "road_crack.png"), 1000, 2, loop=False),
])

text = balance(NUMBER, 270000, 95000, 160000, dict(Worker=3, Food=30, Ore=0, Gold=0),
               dict(Worker=4, Food=60, Ore=30, Gold=30),
               # A stopped clock for the long walks, and a helping hand once the bar is full.
               bonuses=bonus_balance(60000, {"TimeStop": (45000, 12000), "Worker": (60000, 30000)}))
write(os.path.join(level, "balance.ini"), text.replace("bIsFog=0", "bIsFog=1"))
write(os.path.join(level, "task.ini"), """\
; Goals of level 5, checked and shown in "order". The heart's goal shows once the totem is down.
[RepairRoad]
order=1
type=repair
objectTag=Road
objectsName=#TASK_ROAD

[BuildOrePit]
order=2
type=build
objectTag=OrePit
building=OreGenerator
objectsName=#TASK_ORE_PIT_5

[DestroyTotem]
order=3
type=destroy
objectTag=Totem
objectsName=#TASK_TOTEM

[BringHeart]
order=4
type=PickaHeart
objectsName=#TASK_HEART
isHidden=1
appearTag=Totem
""")

TEXTS = """\
#OBJECT_ROAD_CRACK=Broken road
#OBJECT_TOTEM=Evil totem
#TASK_ROAD=Mend the road
#TASK_ORE_PIT_5=Build the ore pit in the mist
#TASK_TOTEM=Destroy the totem
#TASK_HEART=Bring the heart home
"""
TEXTS_RU = """\
#OBJECT_ROAD_CRACK=Разбитая дорога
#OBJECT_TOTEM=Злой тотем
#TASK_ROAD=Почините дорогу
#TASK_ORE_PIT_5=Постройте рудник в тумане
#TASK_TOTEM=Разрушьте тотем
#TASK_HEART=Принесите сердце домой
"""
level_texts(data, NUMBER, TEXTS, TEXTS_RU)

compile_map(target, NUMBER, "gen_44_level5", fog=True)
print("level 5: data/maps/5/map.ini, grid.png, fog.png, backgray.jpg, _backgray.png, balance.ini, task.ini,"
      " map.bin; data/anims/level5; its blocks of data/animations.xml and the translations")
