#!/usr/bin/env python3
"""Enters what levels 4 to 6 need in documents other generators write whole: the cues of their
creatures in data/obstacles/sounds.ini (a creature's section is named after the object), the
quill's glint, which nobody else makes, and their story dialogs in data/menu/ingameDialogs.ini
with the dialogs' texts. It runs after those generators (make_demo.py runs them in name order);
the sound files themselves come from the level generators.

Level 4 tells its story when the golden quill is found; level 6 opens with one."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from level_common import merge_sections, own_section_last, target_dir, write  # noqa: E402

target = target_dir(sys.argv)
data = os.path.join(target, "data")

merge_sections(os.path.join(data, "obstacles", "sounds.ini"), {
    # Cue 0 when the warrior is sent, cues 1 and 2 when the creature shows itself.
    "Wolf": ["sound0=data/obstacles/wolf_growl.wav",
             "sound1=data/obstacles/wolf_howl.wav",
             "sound2=data/obstacles/wolf_growl2.wav"],
    "Spider": ["sound0=data/obstacles/spider_hiss.wav",
               "sound1=data/obstacles/spider_click.wav",
               "sound2=data/obstacles/spider_hiss2.wav"],
})

# The glint over the quill lying in the grass and the one that follows it in a worker's bag (level
# 4's campfire is the scenery's, the rain of level 5 and of level 6's drums the weather's). An
# effect another generator already names keeps its own entry.
effects_ini = os.path.join(data, "fx", "pyroeffects.ini")
with open(effects_ini, encoding="utf-8") as f:
    named = {line.strip()[1:-1].lower() for line in f if line.strip().startswith("[")}
wanted = {"Quill": ["name=data/fx/sparkles.pfx", "offsetY=-12"],
          "QuillInBag": ["name=data/fx/sparkles.pfx", "offsetY=-30"]}
merge_sections(effects_ini, {k: v for k, v in wanted.items() if k.lower() not in named})


def typing(section, key):
    return [f"{section}", "type=typingText", "x=18", "y=32", "xs=464", "ys=72", f"name={key}", "xalign=-1",
            "select=2", "period=28", "timeout=400", "font=data/fonts/sans16.png"]


dialogs = {
    # Level 4: the foreman alone, when the quill has been picked up.
    "dialog4": ["double=0", "effect=0", "name1=#STORY_NAME_FOREMAN",
                "avatar1=data/interface/endscreens/foreman.png"],
    # Level 6: the prospector and the foreman before the level starts.
    "dialog6": ["double=1", "effect=1", "effectTimeout=600", "name1=#STORY_NAME_FOREMAN",
                "name2=#STORY_NAME_PROSPECTOR", "avatar1=data/interface/endscreens/foreman.png",
                "avatar2=data/interface/endscreens/prospector.png", "text2timeout=1500"],
}
for name, key in (("text1_4", "#STORY_TEXT1_4"), ("text1_6", "#STORY_TEXT1_6"), ("text2_6", "#STORY_TEXT2_6")):
    dialogs[name] = typing(name, key)[1:]
merge_sections(os.path.join(data, "menu", "ingameDialogs.ini"), dialogs)

TEXTS = """[late stories]
#STORY_TEXT1_4=A golden quill! Carry it home to the barn before the day is out.
#STORY_TEXT1_6=The red hood has lost four mushrooms in the grass, and the old chest in the glade is locked.
#STORY_TEXT2_6=Bring her the mushrooms and beat the drums for rain, and her berries will grow. The chest's key is in a cave.
"""
TEXTS_RU = """[late stories]
#STORY_TEXT1_4=Золотое перо! Отнесите его домой, в амбар, пока не стемнело.
#STORY_TEXT1_6=Красная шапочка потеряла в траве четыре гриба, а старый сундук на поляне заперт.
#STORY_TEXT2_6=Отнесите ей грибы и ударьте в барабаны, позовите дождь, и её ягоды вырастут. Ключ от сундука в пещере.
"""
own_section_last(os.path.join(data, "translation.ini"), "late stories", TEXTS, write)
own_section_last(os.path.join(data, "translation_ru.ini"), "late stories", TEXTS_RU, write)
print("late levels: the creatures' cues in data/obstacles/sounds.ini, dialogs 4 and 6 in"
      " data/menu/ingameDialogs.ini, [late stories] of both translations")
