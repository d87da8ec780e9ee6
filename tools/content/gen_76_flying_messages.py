#!/usr/bin/env python3
"""Writes the texts of the messages that rise over the map when something is repaired, built,
upgraded, cleared, produced or found: the "flying messages" section of data/translation.ini and
of data/translation_ru.ini (replaced when present, so running it again changes nothing); and the
small pictures shown beside "+" and an amount, "Worker_Flying", "Food_Flying", "Ore_Flying" and
"Gold_Flying" (data/anims/flying/), made from the resource board's icons (gen_72_panels.py, which
runs first) with a dark rim so they read over any part of the map."""
import os
import sys

from PIL import Image, ImageFilter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from catalogue_block import animation_line, write_block  # noqa: E402
from level_common import own_section_last, target_dir, write  # noqa: E402

data = os.path.join(target_dir(sys.argv), "data")

# ---- Pictures beside the amounts --------------------------------------------------------------
FLYING = 22  # pixels: about the height of the message's text
pictures_rel = "data/anims/flying"
pictures = os.path.join(data, "anims", "flying")
os.makedirs(pictures, exist_ok=True)
lines = []
for resource in ("Worker", "Food", "Ore", "Gold"):
    icon_path = os.path.join(data, "interface", "panels", f"icon_{resource.lower()}.png")
    if not os.path.exists(icon_path):
        sys.exit(f"flying messages: {icon_path} is missing; run gen_72_panels.py first")
    icon = Image.open(icon_path).convert("RGBA").resize((FLYING - 2, FLYING - 2), Image.LANCZOS)
    out = Image.new("RGBA", (FLYING, FLYING), (0, 0, 0, 0))
    rim = Image.new("RGBA", (FLYING, FLYING), (0, 0, 0, 0))
    rim.paste((30, 20, 10, 200), (1, 1), icon.split()[3])
    out.alpha_composite(rim.filter(ImageFilter.MaxFilter(3)).filter(ImageFilter.GaussianBlur(0.6)))
    out.alpha_composite(icon, (1, 1))
    name = f"flying_{resource.lower()}.png"
    out.save(os.path.join(pictures, name), optimize=True)
    lines.append(animation_line(f"{resource}_Flying", f"{pictures_rel}/{name}", 1000, 1, loop=False))
write_block(data, "flying messages", lines)

# Short: a message rises over the spot for three seconds, so it must read at a glance.
TEXTS = """[flying messages]
; Texts rising over the map where something happened.
#FLYING_MESSAGE_TOTEM_DESTROYED=Totem destroyed!
#FLYING_MESSAGE_TOTEM_REMOVED=Cleared away!
#FLYING_MESSAGE_OBJECT_REPAIRED=Repaired!
#FLYING_MESSAGE_OBJECT_UPGRADED=Upgraded!
#FLYING_MESSAGE_OBJECT_BUILD=Built!
#FLYING_MESSAGE_PLUS=Harvest!
#FLYING_MESSAGE_KEY_FOUND=A key!
#FLYING_MESSAGE_CAVE_EMPTY=Nothing here
"""

TEXTS_RU = """[flying messages]
; Тексты, всплывающие над картой там, где что-то произошло.
#FLYING_MESSAGE_TOTEM_DESTROYED=Тотем разрушен!
#FLYING_MESSAGE_TOTEM_REMOVED=Расчищено!
#FLYING_MESSAGE_OBJECT_REPAIRED=Починено!
#FLYING_MESSAGE_OBJECT_UPGRADED=Улучшено!
#FLYING_MESSAGE_OBJECT_BUILD=Построено!
#FLYING_MESSAGE_PLUS=Урожай!
#FLYING_MESSAGE_KEY_FOUND=Ключ!
#FLYING_MESSAGE_CAVE_EMPTY=Здесь пусто
"""

own_section_last(os.path.join(data, "translation.ini"), "flying messages", TEXTS, write)
own_section_last(os.path.join(data, "translation_ru.ini"), "flying messages", TEXTS_RU, write)
print("flying messages: [flying messages] of data/translation.ini and data/translation_ru.ini, "
      "<Resource>_Flying in data/anims/flying/")
