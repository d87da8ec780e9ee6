#!/usr/bin/env python3
"""Writes the texts of the messages that rise over the map when something is repaired, built,
upgraded, cleared, produced or found: the "flying messages" section of data/translation.ini and
of data/translation_ru.ini (replaced when present, so running it again changes nothing)."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from level_common import own_section_last, target_dir, write  # noqa: E402

data = os.path.join(target_dir(sys.argv), "data")

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
print("flying messages: [flying messages] of data/translation.ini and data/translation_ru.ini")
