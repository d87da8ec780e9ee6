#!/usr/bin/env python3
"""Writes the achievements and the notice that announces them.

- data/interface/achievements.ini: "Main" (the text shown for a secret achievement) and the 58
  sections "ach0" to "ach57", each with its text, the value to reach, whether it is listed before
  it is earned, and its medal picture ("icon").
- data/interface/achievementsInterface.ini: the notice ("Main"), its pad ("Achieve", a parchment
  ribbon that slides up at the bottom left of the screen), the medal's place on it ("Icon"), the
  heading ("Title") and the achievement's text ("Message").
- the pad and 58 medals in data/interface/achievements/: a round medal per achievement with a
  picture of what it is for; the groups of three that count the same deed are bronze, silver and
  gold, the single ones blue, the secret ones violet.
- the sound "AchievementGet" (a short bright fanfare) and the texts in English and Russian.
"""
import math
import os
import sys

from PIL import Image, ImageDraw, ImageFilter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sound_synth as synth  # noqa: E402
from demo_widgets import SANS16, section, text  # noqa: E402
from level_common import data_dir, merge_sections, own_section_last, write  # noqa: E402
from supersample import SS, P, blank, circle, gradient_layer, mix, shrink, soft_shadow  # noqa: E402

data = data_dir(sys.argv, "interface/achievements", "snd")
folder = os.path.join(data, "interface", "achievements")

MEDAL = 64     # every medal is MEDAL x MEDAL
C = MEDAL / 2
PAD = dict(x=16, w=392, h=88)
ICON = dict(x=14, y=12, w=64, h=64)

BRONZE = ((236, 176, 120), (150, 86, 40))
SILVER = ((240, 242, 248), (130, 136, 150))
GOLD = ((255, 228, 120), (190, 130, 20))
BLUE = ((170, 210, 255), (50, 96, 180))
VIOLET = ((214, 180, 250), (104, 64, 170))

# index: (picture, value to reach, listed before earned, English, Russian). The indices are the
# game's: the events it counts decide which deed each one follows.
A = {
    0: ("flag", 1, 1, "Start your first level", "Начните первый уровень"),
    1: ("barn", 1, 1, "Improve the barn", "Улучшите амбар"),
    2: ("barn", 5, 1, "Improve the barn 5 times", "Улучшите амбар 5 раз"),
    3: ("barn", 15, 1, "Improve the barn 15 times", "Улучшите амбар 15 раз"),
    4: ("house", 1, 1, "Raise or mend a building", "Постройте или почините здание"),
    5: ("house", 10, 1, "Raise or mend 10 buildings", "Постройте или почините 10 зданий"),
    6: ("house", 40, 1, "Raise or mend 40 buildings", "Постройте или почините 40 зданий"),
    7: ("arrow", 1, 1, "Upgrade a building", "Улучшите здание"),
    8: ("arrow", 10, 1, "Upgrade 10 buildings", "Улучшите 10 зданий"),
    9: ("arrow", 30, 1, "Upgrade 30 buildings", "Улучшите 30 зданий"),
    10: ("bridge", 1, 1, "Mend a bridge", "Почините мост"),
    11: ("bridge", 5, 1, "Mend 5 bridges", "Почините 5 мостов"),
    12: ("bridge", 15, 1, "Mend 15 bridges", "Почините 15 мостов"),
    13: ("road", 1, 1, "Mend a cracked road", "Заделайте трещину на дороге"),
    14: ("road", 10, 1, "Mend 10 cracked roads", "Заделайте 10 трещин на дорогах"),
    15: ("road", 30, 1, "Mend 30 cracked roads", "Заделайте 30 трещин на дорогах"),
    16: ("ore", 100, 1, "Gather 100 ore", "Добудьте 100 руды"),
    17: ("ore", 1000, 1, "Gather 1000 ore", "Добудьте 1000 руды"),
    18: ("ore", 5000, 1, "Gather 5000 ore", "Добудьте 5000 руды"),
    19: ("food", 100, 1, "Gather 100 food", "Соберите 100 еды"),
    20: ("food", 1000, 1, "Gather 1000 food", "Соберите 1000 еды"),
    21: ("food", 5000, 1, "Gather 5000 food", "Соберите 5000 еды"),
    22: ("coin", 100, 1, "Gather 100 gold", "Соберите 100 золота"),
    23: ("coin", 1000, 1, "Gather 1000 gold", "Соберите 1000 золота"),
    24: ("coin", 5000, 1, "Gather 5000 gold", "Соберите 5000 золота"),
    25: ("pick", 20, 1, "Dig 20 goods out of mines", "Добудьте в шахтах 20 ресурсов"),
    26: ("pick", 200, 1, "Dig 200 goods out of mines", "Добудьте в шахтах 200 ресурсов"),
    27: ("pick", 1000, 1, "Dig 1000 goods out of mines", "Добудьте в шахтах 1000 ресурсов"),
    28: ("basket", 20, 1, "Pick 20 goods from picnic spots", "Соберите на полянах 20 ресурсов"),
    29: ("basket", 200, 1, "Pick 200 goods from picnic spots", "Соберите на полянах 200 ресурсов"),
    30: ("basket", 1000, 1, "Pick 1000 goods from picnic spots", "Соберите на полянах 1000 ресурсов"),
    31: ("paw", 1, 1, "Drive a wolf away", "Прогоните волка"),
    32: ("flower", 1, 0, "Drive an evil flower away", "Прогоните злой цветок"),
    33: ("web", 1, 0, "Drive a spider away", "Прогоните паука"),
    34: ("bone", 1, 0, "Drive a skeleton away", "Прогоните скелета"),
    35: ("ghost", 1, 0, "Drive a ghost away", "Прогоните призрака"),
    36: ("skull", 1, 0, "Drive the necromancer away", "Прогоните некроманта"),
    37: ("snow", 1, 0, "Drive a yeti away", "Прогоните йети"),
    38: ("bolt", 1, 1, "Use a bonus", "Используйте бонус"),
    39: ("bolt", 10, 1, "Use 10 bonuses", "Используйте 10 бонусов"),
    40: ("bolt", 40, 1, "Use 40 bonuses", "Используйте 40 бонусов"),
    41: ("trade", 1, 1, "Trade with the money changer", "Обменяйте ресурсы у менялы"),
    42: ("trade", 10, 1, "Trade with the money changer 10 times", "Обменяйте ресурсы у менялы 10 раз"),
    43: ("trade", 30, 1, "Trade with the money changer 30 times", "Обменяйте ресурсы у менялы 30 раз"),
    44: ("hat", 1, 0, "See the witch fly away", "Проводите улетающую ведьму"),
    45: ("hand", 1000, 1, "Click on the meadow 1000 times", "Щёлкните по лугу 1000 раз"),
    46: ("tree", 20, 0, "See 20 trees change in the fog", "Увидьте, как 20 деревьев меняются в тумане"),
    47: ("star", 1, 1, "Score 3000 points in a level", "Наберите 3000 очков за уровень"),
    48: ("star", 1, 1, "Score 5000 points in a level", "Наберите 5000 очков за уровень"),
    49: ("star", 1, 1, "Score 10000 points in a level", "Наберите 10000 очков за уровень"),
    50: ("boot", 100000, 1, "Let your workers walk 100000 steps", "Пусть работники пройдут 100000 шагов"),
    51: ("hourglass", 1, 0, "Leave the meadow alone for half a minute", "Оставьте луг в покое на полминуты"),
    52: ("clock", 1, 0, "Run out of time", "Не успейте до конца времени"),
    53: ("full", 1, 1, "Fill every store to the top", "Заполните все склады до верха"),
    54: ("scroll", 1, 0, "Click an achievement notice", "Щёлкните по сообщению о достижении"),
    55: ("helmet", 10, 0, "Tease 10 little creatures", "Подразните 10 маленьких существ"),
    56: ("hammer", 1, 0, "Poke the creature with the hammer", "Потревожьте существо с молотком"),
    57: ("bell", 1, 0, "Forget your bonuses for three minutes", "Забудьте о бонусах на три минуты"),
}
assert sorted(A) == list(range(58))
# The groups of three that the same deed feeds, by their first index.
GROUPS = {1, 4, 7, 10, 13, 16, 19, 22, 25, 28, 38, 41}


def metal(i):
    for first in GROUPS:
        if first <= i < first + 3:
            return (BRONZE, SILVER, GOLD)[i - first]
    if i in (47, 48, 49):
        return (BRONZE, SILVER, GOLD)[i - 47]
    return BLUE if A[i][2] else VIOLET


def rel(name):
    return "data/interface/achievements/" + name


def box(d, x0, y0, x1, y1, **kw):
    d.rectangle([x0 * SS, y0 * SS, x1 * SS, y1 * SS], **kw)


def line(d, pts, col, w):
    d.line(P(*pts), fill=col, width=int(w * SS), joint="curve")


INK = (52, 34, 20, 255)
WHITE = (255, 255, 255, 255)

# ---- Pictures on the medals (drawn in medal pixels around the centre) ---------------------------


def g_flag(d):
    line(d, [(24, 46), (24, 16)], INK, 3)
    d.polygon(P((25, 16), (44, 21), (25, 28)), fill=(220, 60, 50, 255), outline=INK)


def g_barn(d):
    d.polygon(P((16, 30), (32, 18), (48, 30)), fill=(190, 50, 40, 255), outline=INK)
    box(d, 19, 30, 45, 46, fill=(200, 64, 48, 255), outline=INK)
    box(d, 28, 35, 36, 46, fill=(250, 236, 210, 255), outline=INK)
    line(d, [(28, 35), (36, 46)], INK, 1)
    line(d, [(36, 35), (28, 46)], INK, 1)


def g_house(d):
    d.polygon(P((17, 31), (32, 18), (47, 31)), fill=(140, 84, 50, 255), outline=INK)
    box(d, 20, 31, 44, 46, fill=(236, 210, 160, 255), outline=INK)
    box(d, 29, 37, 35, 46, fill=(120, 76, 40, 255), outline=INK)


def g_arrow(d):
    d.polygon(P((32, 14), (47, 31), (38, 31), (38, 48), (26, 48), (26, 31), (17, 31)),
              fill=(90, 190, 80, 255), outline=INK)


def g_bridge(d):
    d.chord([14 * SS, 24 * SS, 50 * SS, 56 * SS], 180, 360, fill=(150, 104, 60, 255), outline=INK)
    box(d, 12, 36, 52, 40, fill=(120, 80, 44, 255), outline=INK)
    d.rectangle([18 * SS, 42 * SS, 46 * SS, 48 * SS], fill=(90, 150, 220, 255))


def g_road(d):
    d.polygon(P((24, 14), (40, 14), (50, 50), (14, 50)), fill=(200, 180, 140, 255), outline=INK)
    line(d, [(31, 16), (34, 24), (28, 32), (35, 40), (31, 48)], INK, 2)


def g_ore(d):
    d.polygon(P((16, 44), (22, 24), (34, 16), (46, 26), (48, 44)), fill=(140, 140, 160, 255), outline=INK)
    for cx, cy in ((28, 30), (38, 36), (30, 40)):
        circle(d, cx, cy, 2.5, fill=(90, 200, 230, 255))


def g_food(d):
    circle(d, 32, 35, 13, fill=(220, 50, 50, 255), outline=INK, width=SS)
    line(d, [(32, 22), (34, 15)], INK, 2)
    d.ellipse(P((34, 14), (44, 20)), fill=(80, 170, 60, 255))


def g_coin(d):
    circle(d, 32, 32, 15, fill=(250, 206, 60, 255), outline=INK, width=SS)
    circle(d, 32, 32, 10, outline=(190, 140, 20, 255), width=SS)


def g_pick(d):
    line(d, [(20, 46), (42, 20)], (130, 84, 44, 255), 4)
    d.arc([14 * SS, 12 * SS, 50 * SS, 36 * SS], 200, 340, fill=(120, 120, 130, 255), width=4 * SS)


def g_basket(d):
    d.arc([18 * SS, 14 * SS, 46 * SS, 44 * SS], 180, 360, fill=INK, width=3 * SS)
    d.polygon(P((14, 30), (50, 30), (45, 48), (19, 48)), fill=(200, 150, 80, 255), outline=INK)
    for cx in (24, 32, 40):
        circle(d, cx, 28, 4, fill=(200, 40, 70, 255))


def g_paw(d):
    circle(d, 32, 38, 8, fill=INK)
    for cx, cy in ((21, 28), (28, 21), (36, 21), (43, 28)):
        circle(d, cx, cy, 4, fill=INK)


def g_flower(d):
    for k in range(6):
        a = k * math.pi / 3
        circle(d, 32 + 9 * math.cos(a), 30 + 9 * math.sin(a), 6, fill=(150, 40, 160, 255), outline=INK)
    circle(d, 32, 30, 5, fill=(250, 220, 60, 255), outline=INK)
    line(d, [(32, 40), (32, 50)], (60, 130, 50, 255), 3)


def g_web(d):
    for k in range(8):
        a = k * math.pi / 4
        line(d, [(32, 32), (32 + 17 * math.cos(a), 32 + 17 * math.sin(a))], INK, 1.2)
    for r in (6, 11, 16):
        d.regular_polygon((32 * SS, 32 * SS, r * SS), 8, outline=INK)


def g_bone(d):
    line(d, [(20, 44), (44, 20)], (245, 240, 225, 255), 6)
    for cx, cy in ((17, 42), (22, 47), (42, 17), (47, 22)):
        circle(d, cx, cy, 4, fill=(245, 240, 225, 255))


def g_ghost(d):
    d.pieslice([18 * SS, 14 * SS, 46 * SS, 42 * SS], 180, 360, fill=WHITE)
    d.polygon(P((18, 28), (46, 28), (46, 48), (41, 44), (36, 48), (32, 44), (28, 48), (23, 44), (18, 48)),
              fill=WHITE)
    circle(d, 27, 26, 2.5, fill=INK)
    circle(d, 37, 26, 2.5, fill=INK)


def g_skull(d):
    circle(d, 32, 28, 13, fill=(236, 232, 220, 255), outline=INK, width=SS)
    box(d, 25, 36, 39, 46, fill=(236, 232, 220, 255), outline=INK)
    circle(d, 27, 28, 3.5, fill=INK)
    circle(d, 37, 28, 3.5, fill=INK)


def g_snow(d):
    for k in range(3):
        a = k * math.pi / 3
        line(d, [(32 - 16 * math.cos(a), 32 - 16 * math.sin(a)), (32 + 16 * math.cos(a), 32 + 16 * math.sin(a))],
             WHITE, 3)
    circle(d, 32, 32, 4, fill=(160, 210, 250, 255))


def g_bolt(d):
    d.polygon(P((36, 12), (20, 36), (31, 36), (26, 52), (44, 26), (33, 26)), fill=(255, 230, 60, 255), outline=INK)


def g_trade(d):
    d.polygon(P((16, 24), (40, 24), (40, 18), (50, 27), (40, 36), (40, 30), (16, 30)), fill=(250, 210, 60, 255),
              outline=INK)
    d.polygon(P((48, 38), (24, 38), (24, 32), (14, 41), (24, 50), (24, 44), (48, 44)), fill=(150, 150, 170, 255),
              outline=INK)


def g_hat(d):
    d.polygon(P((32, 10), (42, 40), (22, 40)), fill=(60, 40, 90, 255), outline=INK)
    d.ellipse(P((12, 38), (52, 46)), fill=(60, 40, 90, 255), outline=INK)
    box(d, 24, 34, 40, 38, fill=(230, 190, 60, 255))


def g_hand(d):
    box(d, 27, 14, 33, 36, fill=(250, 214, 180, 255), outline=INK)
    d.rounded_rectangle([22 * SS, 30 * SS, 44 * SS, 50 * SS], radius=5 * SS, fill=(250, 214, 180, 255), outline=INK)
    for x in (34, 39):
        line(d, [(x, 30), (x, 36)], INK, 1)


def g_tree(d):
    box(d, 29, 36, 35, 50, fill=(120, 80, 40, 255), outline=INK)
    circle(d, 32, 28, 14, fill=(70, 160, 70, 255), outline=INK, width=SS)


def g_star(d):
    pts = []
    for k in range(10):
        a = -math.pi / 2 + k * math.pi / 5
        r = 17 if k % 2 == 0 else 7
        pts.append((32 + r * math.cos(a), 33 + r * math.sin(a)))
    d.polygon(P(*pts), fill=(255, 220, 60, 255), outline=INK)


def g_boot(d):
    d.polygon(P((22, 14), (34, 14), (34, 36), (48, 40), (48, 48), (20, 48)), fill=(130, 80, 44, 255), outline=INK)
    line(d, [(20, 44), (48, 44)], INK, 1.5)


def g_hourglass(d):
    box(d, 18, 13, 46, 17, fill=(130, 84, 44, 255))
    box(d, 18, 47, 46, 51, fill=(130, 84, 44, 255))
    d.polygon(P((22, 17), (42, 17), (34, 32), (42, 47), (22, 47), (30, 32)), fill=(220, 236, 250, 255), outline=INK)
    d.polygon(P((26, 45), (38, 45), (32, 37)), fill=(230, 190, 100, 255))


def g_clock(d):
    circle(d, 32, 32, 16, fill=WHITE, outline=INK, width=SS)
    line(d, [(32, 32), (32, 21)], INK, 2)
    line(d, [(32, 32), (40, 36)], INK, 2)


def g_full(d):
    for k, col in enumerate(((200, 60, 40), (150, 150, 170), (250, 210, 40))):
        x = 17 + k * 11
        box(d, x, 16, x + 8, 48, fill=(60, 40, 24, 255), outline=INK)
        box(d, x + 1, 18, x + 7, 47, fill=col + (255,))


def g_scroll(d):
    box(d, 18, 20, 46, 44, fill=(250, 236, 200, 255), outline=INK)
    for y in (27, 32, 37):
        line(d, [(22, y), (42, y)], INK, 1)
    circle(d, 18, 20, 3, fill=(220, 190, 140, 255), outline=INK)
    circle(d, 46, 44, 3, fill=(220, 190, 140, 255), outline=INK)


def g_helmet(d):
    d.pieslice([16 * SS, 18 * SS, 48 * SS, 50 * SS], 180, 360, fill=(170, 170, 185, 255), outline=INK)
    box(d, 14, 33, 50, 37, fill=(140, 140, 155, 255), outline=INK)
    line(d, [(32, 18), (32, 33)], INK, 1.5)


def g_hammer(d):
    line(d, [(24, 48), (38, 26)], (130, 84, 44, 255), 4)
    d.polygon(P((28, 20), (44, 14), (48, 24), (34, 30)), fill=(140, 140, 155, 255), outline=INK)


def g_bell(d):
    d.polygon(P((20, 42), (24, 24), (32, 16), (40, 24), (44, 42)), fill=(250, 206, 60, 255), outline=INK)
    box(d, 18, 42, 46, 45, fill=(220, 170, 40, 255), outline=INK)
    circle(d, 32, 48, 3, fill=INK)


GLYPHS = {name[2:]: fn for name, fn in globals().items() if name.startswith("g_")}


def medal(i):
    """A domed disc in the achievement's metal with a ribboned rim and its picture."""
    light, dark = metal(i)
    img = blank(MEDAL, MEDAL)
    r = 29
    shade = Image.new("RGBA", img.size, (0, 0, 0, 0))
    sd = ImageDraw.Draw(shade)
    for k in range(40, 0, -1):
        t = k / 40
        cx, cy = C - 4 * (1 - t), C - 5 * (1 - t)
        circle(sd, cx, cy, r * t, fill=mix(light, dark, t ** 1.5) + (255,))
    mask = Image.new("L", img.size, 0)
    circle(ImageDraw.Draw(mask), C, C, r, fill=255)
    img.paste(shade, (0, 0), mask)
    d = ImageDraw.Draw(img)
    circle(d, C, C, r, outline=mix(dark, (0, 0, 0), 0.4) + (255,), width=2 * SS)
    circle(d, C, C, r - 4, outline=mix(light, (255, 255, 255), 0.5) + (160,), width=SS)
    GLYPHS[A[i][0]](d)
    glint = Image.new("RGBA", img.size, (0, 0, 0, 0))
    ImageDraw.Draw(glint).ellipse([(C - 20) * SS, (C - 24) * SS, (C + 6) * SS, (C - 10) * SS],
                                  fill=(255, 255, 255, 60))
    img.alpha_composite(glint.filter(ImageFilter.GaussianBlur(2 * SS)))
    return shrink(img, MEDAL, MEDAL)


def pad(w, h):
    """A parchment ribbon with a golden edge and a soft shadow, the medal's seat on its left."""
    img = blank(w, h)
    W, H = w * SS, h * SS
    soft_shadow(img, 14, (20, 10, 0, 120))
    body, _ = gradient_layer(img.size, (252, 240, 206), (230, 204, 150))
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, W - 4 * SS, H - 5 * SS], radius=14 * SS, fill=255)
    img.paste(body, (0, 0), mask)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([SS, SS, W - 5 * SS, H - 6 * SS], radius=13 * SS, outline=(176, 124, 30, 255), width=3 * SS)
    d.rounded_rectangle([5 * SS, 5 * SS, W - 9 * SS, H - 10 * SS], radius=10 * SS, outline=(220, 176, 80, 200),
                        width=SS)
    cx, cy = ICON["x"] + ICON["w"] / 2, ICON["y"] + ICON["h"] / 2
    circle(d, cx, cy, ICON["w"] / 2 + 2, fill=(200, 168, 110, 255))
    return shrink(img, w, h)


for i in range(58):
    medal(i).save(os.path.join(folder, f"ach{i:02d}.png"), optimize=True)
pad(PAD["w"], PAD["h"]).save(os.path.join(folder, "pad.png"), optimize=True)

# ---- Definitions -------------------------------------------------------------------------------

sections = "".join(f"""
[ach{i}]
text=#ACH_{i}
valueToAchieve={A[i][1]}
visible={A[i][2]}
icon={rel(f"ach{i:02d}.png")}
""" for i in range(58))
write(os.path.join(data, "interface", "achievements.ini"), f"""\
; The achievements (gen_78_achievements.py). The game counts each from the events of play; the
; number of a section decides which deed it follows. "visible" lists it in the book before it is
; earned; otherwise "HiddenAchText" stands in for its text until then.
[Main]
HiddenAchText=#ACH_HIDDEN
{sections}""")

text_x = ICON["x"] + ICON["w"] + 12
text_w = PAD["w"] - text_x - 14
notice_text = dict(xalign=-1, yalign=-1, select=1, font=SANS16)
write(os.path.join(data, "interface", "achievementsInterface.ini"), "\n".join([
    """\
; The notice of an earned achievement (gen_78_achievements.py): the pad "Achieve" slides up from
; the bottom of the screen at its "x", stays a while and slides away; the achievement's medal
; sits in "Icon" and its text in "Message".
""" + section("Main", x=0, y=0),
    section("Achieve", x=PAD["x"], y=768, xs=PAD["w"], ys=PAD["h"], normal=rel("pad.png")),
    section("Icon", x=ICON["x"], y=ICON["y"], xs=ICON["w"], ys=ICON["h"]),
    text("Title", text_x, 12, text_w, 22, name="#ACH_NOTICE_TITLE", **notice_text),
    text("Message", text_x, 36, text_w, 40, **notice_text)]))

# ---- Sound -------------------------------------------------------------------------------------

RATE = 22050


def fanfare():
    """Four quick brassy notes rising to a held fifth (G5 C6 E6 G6), each a few soft harmonics."""
    notes = [(783.99, 0.0, 0.10), (1046.5, 0.09, 0.10), (1318.5, 0.18, 0.10), (1568.0, 0.27, 0.55)]
    n = int(0.95 * RATE)
    out = [0.0] * n
    for f, start, length in notes:
        s0 = int(start * RATE)
        for k in range(min(n - s0, int((length + 0.25) * RATE))):
            t = k / RATE
            env = min(1.0, t / 0.01) * (1.0 if t < length else math.exp(-(t - length) / 0.08))
            env *= math.exp(-t / 0.9)
            v = sum(a * math.sin(2 * math.pi * f * h * t) for h, a in ((1, 1.0), (2, 0.45), (3, 0.25), (4, 0.1)))
            out[s0 + k] += env * v
    peak = max(abs(s) for s in out)
    return [0.6 * s / peak for s in out]


synth.write_wav(os.path.join(data, "snd", "achievement_get.wav"), fanfare(), RATE, quantise=int)
merge_sections(os.path.join(data, "snd", "sounds.ini"), {
    "AchievementGet": ["name=data/snd/achievement_get.wav", "maxvolume=0.9"],
})

# ---- Texts -------------------------------------------------------------------------------------

note = "; Achievements (gen_78_achievements.py): the notice's heading, the secret one's text, then each.\n"
en = ("[achievements]\n" + note + "#ACH_NOTICE_TITLE=Achievement!\n#ACH_HIDDEN=A secret achievement\n" +
      "".join(f"#ACH_{i}={A[i][3]}\n" for i in range(58)))
ru = ("[achievements]\n" + note + "#ACH_NOTICE_TITLE=Достижение!\n#ACH_HIDDEN=Секретное достижение\n" +
      "".join(f"#ACH_{i}={A[i][4]}\n" for i in range(58)))
own_section_last(os.path.join(data, "translation.ini"), "achievements", en, write)
own_section_last(os.path.join(data, "translation_ru.ini"), "achievements", ru, write)
print("achievements: data/interface/achievements.ini, achievementsInterface.ini, data/interface/achievements/,"
      " sound AchievementGet, texts #ACH_*")
