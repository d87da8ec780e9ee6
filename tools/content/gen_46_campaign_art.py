#!/usr/bin/env python3
"""Writes what the campaign's levels 1 to 3 show beyond the first buildings.

- data/anims/campaign/: the repairable bridge (whole and broken frames of one strip), the berry
  garden (food generator) and the ore pit (ore generator) per upgrade level and broken, stones,
  the dry tree, the food and gold pick-ups and their place, the money changer, the gold mine and
  its harvest circle, the bramble boar, the warrior hut, and the warrior in every state;
- the animation scripts of the garden and the ore pit (what a working generator plays);
- data/obstacles/icons.ini and data/bonus/icons.ini (the hover children of obstacles and
  pick-ups), data/bonus/bonuses.ini (the pick-ups a bonus place makes);
- its entries in data/buildings/{buildings,sounds,icons}.ini, data/obstacles/sounds.ini,
  data/person/{persons,sounds}.ini and data/translation.ini, and its block of animations.xml.
Run after gen_45_persons_buildings.py (make_demo.py runs the generators in name order).
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import building_art as bart  # noqa: E402
import campaign_art as art  # noqa: E402
import meadow_art  # noqa: E402
import worker_figure as wf  # noqa: E402
from catalogue_block import animation_line, write_block  # noqa: E402
from level_common import merge_sections, target_dir, write  # noqa: E402

target = target_dir(sys.argv)
data = os.path.join(target, "data")
for sub in ("anims/campaign", "anims/warrior", "obstacles", "bonus", "buildings", "person"):
    os.makedirs(os.path.join(data, sub), exist_ok=True)

anims = []


def save(img, rel):
    img.save(os.path.join(data, rel), optimize=True)
    return "data/" + rel


def animation(aid, path, period, frames, group=None, **flags):
    anims.append(animation_line(aid, path, period, frames, group, **flags))


def still(aid, img, name):
    animation(aid, save(img, f"anims/campaign/{name}.png"), 1000, 1, loop=False)


# ---- Pictures ------------------------------------------------------------------------------------
anims.append("  <!-- The campaign's objects: each picture is centred on its object's anchor. -->")
# The bridge: frame 0 mended, frame 1 broken (the repair fades one into the other).
animation("bridge_repair", save(art.stack([meadow_art.bridge(True), meadow_art.bridge(False)]),
                                "anims/campaign/bridge_repair.png"), 1000, 2, loop=False)
for level in range(3):
    still(f"garden_level{level}", art.garden(level), f"garden{level}")
    still(f"orepit_level{level}", art.ore_pit(level), f"orepit{level}")
still("garden_broken", art.garden(0, broken=True), "garden_broken")
animation("garden_produce", save(art.berry_pop_strip(), "anims/campaign/garden_produce.png"), 1500, 6)
animation("orepit_sparks", save(art.ore_glow_strip(), "anims/campaign/orepit_sparks.png"), 900, 6)
for i in range(3):
    still(f"stone{i + 1}", art.stone(70 + i), f"stone{i + 1}")
still("dry_tree", art.dry_tree(), "dry_tree")
still("bonus_food", art.food_bonus(), "bonus_food")
still("bonus_gold", art.gold_bonus(), "bonus_gold")
still("bonus_place", art.bonus_place(), "bonus_place")
# The pictures a bonus place shows of what it will give, by resource name.
anims.append('  <Animation id="Food" path="data/anims/campaign/bonus_food.png" period="1000" frames="1"/>')
anims.append('  <Animation id="Gold" path="data/anims/campaign/bonus_gold.png" period="1000" frames="1"/>')
animation("merchant_idle", save(art.merchant_strip("idle", 4), "anims/campaign/merchant_idle.png"), 1600, 4)
animation("merchant_weigh", save(art.merchant_strip("weigh", 6), "anims/campaign/merchant_weigh.png"), 1200, 6,
          loop=False)
animation("merchant_count", save(art.merchant_strip("count", 6), "anims/campaign/merchant_count.png"), 900, 6,
          loop=False)
still("goldmine", art.gold_mine(), "goldmine")
still("goldmine_empty", art.gold_mine(exhausted=True), "goldmine_empty")
still("Mine_Gold", art.gold_bonus().resize((22, 18)), "mine_gold")
still("CircleBoard", art.circle("board"), "circle_board")
still("CircleBoardEmpty", art.circle("empty"), "circle_empty")
still("CircleBar", art.circle("bar"), "circle_bar")
animation("boar_snort", save(art.creature_strip(), "anims/campaign/boar.png"), 1000, 4)
still("warrior_hut", art.warrior_hut(), "warrior_hut")

# ---- The warrior: the worker's figure in mail and an iron helmet, a club in his hand ----------
WARRIOR_COLOURS = dict(SHIRT=(128, 134, 146, 255), SHIRT_DARK=(92, 98, 110, 255), DENIM=(70, 96, 56, 255),
                       DENIM_DARK=(50, 70, 40, 255), STRAW=(150, 156, 166, 255), STRAW_DARK=(104, 110, 120, 255),
                       BAND=(170, 40, 40, 255), WOOD=(96, 64, 36, 255), IRON=(70, 50, 34, 255))
saved = {k: getattr(wf, k) for k in WARRIOR_COLOURS}
for k, v in WARRIOR_COLOURS.items():
    setattr(wf, k, v)
anims.append("  <!-- The warrior: warrior_<state>_<facing> as the worker's; his swing drives creatures off. -->")
try:
    for state, (_, frames, period, loop) in wf.STATES.items():
        for d in range(5):
            path = save(wf.strip(state, d), f"anims/warrior/{state}_{d}.png")
            animation(f"warrior_{state}_{d}", path, period, frames, "skin1", loop=loop)
        for d, src in wf.MIRROR.items():
            animation(f"warrior_{state}_{d}", f"data/anims/warrior/{state}_{src}.png", period, frames, "skin1",
                      loop=loop, flip=True)
finally:
    for k, v in saved.items():
        setattr(wf, k, v)

# The warrior's table: what the worker does he does too; his fight (axe, chop, pick) is the swing.
SWING = {"axe": "build", "chop": "build", "pick": "repair"}
PERSON_STATES = ["stay", "move", "moveWithBag", "happy", "happy2", "repair", "build", "gather", "axe", "pick",
                 "greetings", "chop", "stay2", "trade", "giveheart", "trade2"]
keys = ["type=person", "subType=Warrior", "layer=1", "name=#PERSON_WARRIOR", "workerType=Warrior",
        "GatherSoundKey=WorkerGather"]
for state in PERSON_STATES:
    drawn = SWING.get(state, state)
    for d in range(8):
        keys.append(f"{state}_anim{d}=" + (f"warrior_{drawn}_{d}" if drawn in wf.STATES else "null"))
merge_sections(os.path.join(data, "person", "persons.ini"), {"Warrior1": keys})
merge_sections(os.path.join(data, "person", "sounds.ini"), {
    "Warrior": ["name=data/person/worker_voice.wav", "maxvolume=0.9", "minfreq=0.8", "maxfreq=0.8",
                "sound0=data/person/worker_voice.wav"]})

# ---- Generators, mine and hut: scripts, sounds and icons ----------------------------------------
write(os.path.join(data, "buildings", "garden_anim.ini"), """\
; The berry garden: berries hop up while it produces (one channel per upgrade level), dust while
; it is worked on, joy when it is mended or upgraded.
[Idle]
period=1500
isCycle=1
1=Produce

[Produce]
anim=garden_produce
y=-34
layer=2
isCycle=1

[Idle1]
period=1500
isCycle=1
1=Produce

[Action11]
period=1500
1=Produce

[Action12]
period=1500
1=Produce

[Idle2]
period=1500
isCycle=1
1=Produce2

[Produce2]
anim=garden_produce
x=-26
y=-30
layer=2
isCycle=1

[Action21]
period=1500
1=Produce2

[Action22]
period=1500
1=Produce2

[Idle3]
period=1500
isCycle=1
1=Produce3

[Produce3]
anim=garden_produce
x=26
y=-28
layer=2
isCycle=1

[Action31]
period=1500
1=Produce3

[Action32]
period=1500
1=Produce3

""" + bart.DUST + "\n" + bart.JOY.format(fx=-30, fy=-60, sy=-30))
write(os.path.join(data, "buildings", "orepit_anim.ini"), """\
; The ore pit: sparks over the pit while it produces (more of them by level), joy when done.
[Idle]
period=900
isCycle=1
1=Sparks

[Sparks]
anim=orepit_sparks
x=-4
y=-24
layer=2
isCycle=1

[WorkerOperation]
period=900
isCycle=1
1=Sparks

[WorkerOperation2]
period=900
isCycle=1
1=Sparks2

[Sparks2]
anim=orepit_sparks
x=48
y=-10
layer=2
isCycle=1

[WorkerOperation3]
period=900
isCycle=1
1=Sparks3

[Sparks3]
anim=orepit_sparks
x=48
y=-50
layer=2
isCycle=1

""" + bart.JOY.format(fx=-40, fy=-80, sy=-40))
write(os.path.join(data, "buildings", "hut_anim.ini"), """\
; The warrior hut and the gold mine: dust while worked on, joy when done.
""" + bart.DUST + "\n" + bart.JOY.format(fx=-30, fy=-100, sy=-50))
merge_sections(os.path.join(data, "buildings", "buildings.ini"), {
    "FoodGenerator": ["animScript=data/buildings/garden_anim.ini"],
    "OreGenerator": ["animScript=data/buildings/orepit_anim.ini"],
    "WarriorHut": ["animScript=data/buildings/hut_anim.ini"],
    "cBuildingMine": ["animScript=data/buildings/hut_anim.ini"],
})
TRACK = ["sound0=data/buildings/hammering.wav", "phase0=0", "period0=0.25", "isRepeat0=1", "absoluteTime0=0",
         "isCycle0=1"]
merge_sections(os.path.join(data, "buildings", "sounds.ini"), {
    "WarriorHut": TRACK, "cBuildingMine": TRACK,
    # The mine's sound set: its third sound plays when a person arrives to dig.
    "GoldMine": ["sound0=data/buildings/hammering.wav", "sound1=data/buildings/hammering.wav",
                 "sound2=data/person/gather.wav", "name=data/person/gather.wav"],
})
icon_sections = {}
for sub, top, side in (("WarriorHut", -96, 56), ("cBuildingMine", -90, 60)):
    icon_sections.update(bart.building_icons(sub, top, side))
merge_sections(os.path.join(data, "buildings", "icons.ini"), icon_sections)


# ---- Obstacles and pick-ups: hover children, work sounds, the pick-ups' definitions -------------
def hover_children(subs):
    """Per subtype: the hover hint text and the bobbing arrow over the object's top."""
    text = []
    for sub, top in subs:
        text.append(f"""[{sub}]
isList=1
1={sub}_hint
2={sub}_focusMarker

[{sub}_hint]
type=icon
subType=hint
y={top}
layer=30

[{sub}_focusMarker]
type=icon
subType=focusMarker
y={top - 12}
layer=19
anim0=focus_marker
""")
    return "\n".join(text)


write(os.path.join(data, "obstacles", "icons.ini"), "; Children of obstacles by subtype: the hover hint and the"
      " arrow over them.\n" + hover_children((("bridge", -40), ("roadcrack", -30), ("stone", -50),
                                              ("dryTree", -110))))
write(os.path.join(data, "bonus", "icons.ini"), "; Children of pick-ups, bonus places, creatures and the money"
      " changer by subtype.\n" + hover_children((("food", -36), ("gold", -30), ("bonusPlace", -30),
                                                 ("creature", -60), ("moneyChanger", -100))))
work = ["sound0=data/buildings/hammering.wav", "phase0=0", "period0=0.25", "isRepeat0=1", "absoluteTime0=0",
        "isCycle0=1"]
merge_sections(os.path.join(data, "obstacles", "sounds.ini"),
               {"bridge": work, "roadcrack": work, "stone": work, "dryTree": work})
write(os.path.join(data, "bonus", "bonuses.ini"), """\
; The pick-ups a bonus place makes, by resource name. The place sets the amount and puts the pick-up
; on its own spot; the persons carry it home to the stock.
[Food]
type=bonus
subType=food
layer=2
boundY=-12
boundXS=22
boundYS=20
supportsAmount=1
supportX=0
supportY=18
workerType=Worker
Person_Get_Resource_Time=1500
name=#OBJECT_BONUS_FOOD
cursor=2
anim0=bonus_food
resource=Food
resourceValue=5
isSmoothAppear=1
childScript=data/bonus/icons.ini

[Gold]
type=bonus
subType=gold
layer=2
boundY=-10
boundXS=22
boundYS=18
supportsAmount=1
supportX=0
supportY=18
workerType=Worker
Person_Get_Resource_Time=1500
name=#OBJECT_BONUS_GOLD
cursor=2
anim0=bonus_gold
resource=Gold
resourceValue=10
isSmoothAppear=1
childScript=data/bonus/icons.ini
""")

# ---- Texts -----------------------------------------------------------------------------------------
TEXTS = {
    "#PERSON_WARRIOR": "Warrior",
    "#OBJECT_BROKEN_BRIDGE": "Broken bridge",
    "#BUILDING_GARDEN": "Berry garden",
    "#BUILDING_ORE_PIT": "Ore pit",
    "#BUILDING_GOLD_MINE": "Gold mine",
    "#BUILDING_WARRIOR_HUT": "Warrior hut",
    "#OBJECT_STONE": "Boulder",
    "#OBJECT_DRY_TREE": "Dry tree",
    "#OBJECT_BONUS_FOOD": "Basket of berries",
    "#OBJECT_BONUS_GOLD": "Gold coins",
    "#OBJECT_BONUS_PLACE": "Picnic spot",
    "#OBJECT_MONEY_CHANGER": "Money changer",
    "#OBJECT_BOAR": "Bramble boar",
    "#TASK_BRIDGE": "Mend the bridge",
    "#TASK_GARDEN": "Mend the berry garden",
    "#TASK_ORE_PIT": "Build the ore pit",
    "#TASK_BOAR": "Drive the boar away",
    "#TASK_BARN": "Upgrade the barn",
}
merge_sections(os.path.join(data, "translation.ini"), {"campaign objects": [f"{k}={v}" for k, v in TEXTS.items()]})

write_block(data, "campaign", anims)
print("campaign: data/anims/{campaign,warrior}, generator and hut scripts, obstacle and pick-up children,"
      " data/bonus/bonuses.ini, the warrior's table, their catalogue block and texts")
