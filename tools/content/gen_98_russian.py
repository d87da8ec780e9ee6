#!/usr/bin/env python3
"""Writes the Russian texts of the sections whose English generators came before the game had a
second language (the game's words, start-up, objects, their hints and the campaign's objects) into
data/translation_ru.ini, one section each, with the same keys as data/translation.ini (keys another
generator already translates are left to it). A key missing here shows in English, so a new
English text never goes blank."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from level_common import own_section_last, target_dir, write  # noqa: E402

SECTIONS = {
    "game": {
        "#LEVEL": "Уровень",
        "#BONUS_LEVEL": "Бонусный уровень",
    },
    "startup": {
        "#PRESS_ANY_KEY": "Нажмите любую клавишу",
        "#LOADING": "Луг просыпается...",
    },
    "objects": {
        "#PERSON_WORKER": "Работник",
        "#BUILDING_BARN": "Амбар",
        "#BUILDING_COTTAGE": "Домик",
        "#BUILDING_GRANARY": "Житница",
        "#OBJECT_BRIDGE": "Старый мост",
        "#OBJECT_BERRY_BUSH": "Ягодный куст",
        "#OBJECT_ORE_ROCK": "Рудная скала",
    },
    "object hints": {
        "#OBJECT_HINT_SPEND": "Стоит:",
        "#OBJECT_HINT_GET": "Даёт:",
        "#OBJECT_HINT_WILLGET": "Будет давать:",
        "#OBJECT_HINT_REPAIR": "Починка:",
        "#OBJECT_HINT_BUILD": "Стройка:",
        "#OBJECT_HINT_UPGRADE": "Улучшение:",
        "#OBJECT_HINT_BUILDING": "Строится...",
        "#OBJECT_HINT_UPGRADING": "Улучшается...",
        "#OBJECT_HINT_BROKEN": "Сломано",
        "#OBJECT_HINT_NOTBUILD": "Ещё не построено",
        "#OBJECT_HINT_HARVEST": "Сбор...",
        "#OBJECT_HINT_CANT_HARVERST": "Собирать пока нечего",
        "#OBJECT_HINT_MINE": "Осталось в шахте:",
        "#OBJECT_HINT_STOCK": "Запас:",
        "#OBJECT_HINT_NOTENOUGHWORKERS": "Нужно больше работников",
        "#OBJECT_HINT_NOPATH": "Туда не пройти",
        "#OBJECT_HINT_NOFREEWORKER": "Все работники заняты",
        "#OBJECT_HINT_WARRIORISBUSY": "Воин занят",
        "#OBJECT_HINT_EXORCISTISBUSY": "Заклинатель занят",
        "#OBJECT_HINT_YOUNEEDWARRIORHUT": "Нужна хижина воина",
        "#OBJECT_HINT_YOUNEEDEXORCISTHUT": "Нужна хижина заклинателя",
        "#OBJECT_HINT_CANT_UPGRADE": "Не хватает припасов на улучшение",
    },
    "campaign objects": {
        "#PERSON_WARRIOR": "Воин",
        "#OBJECT_BROKEN_BRIDGE": "Сломанный мост",
        "#BUILDING_GARDEN": "Ягодный сад",
        "#BUILDING_ORE_PIT": "Рудник",
        "#BUILDING_GOLD_MINE": "Золотая шахта",
        "#BUILDING_WARRIOR_HUT": "Хижина воина",
        "#OBJECT_STONE": "Валун",
        "#OBJECT_DRY_TREE": "Сухое дерево",
        "#OBJECT_BONUS_FOOD": "Корзина ягод",
        "#OBJECT_BONUS_GOLD": "Золотые монеты",
        "#OBJECT_BONUS_PLACE": "Полянка для пикника",
        "#OBJECT_MONEY_CHANGER": "Меняла",
        "#OBJECT_BOAR": "Колючий кабан",
    },
}

target = target_dir(sys.argv)
path = os.path.join(target, "data", "translation_ru.ini")
for section, texts in SECTIONS.items():
    body = "".join(f"{k}={v}\n" for k, v in texts.items())
    own_section_last(path, section, f"[{section}]\n{body}", write)
print("russian: the older sections of data/translation_ru.ini")
