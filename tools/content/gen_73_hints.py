#!/usr/bin/env python3
"""Writes the pictures and texts of the object hints and of the screens that end a level.

- data/hint/hintResources.ini: the hint window's line distances and row positions, and its
  pictures data/hint/frame.png (a parchment board), arrow.png (the pointing arrow),
  bar.png, bar_full.png and bar_green.png (the work progress bar: frame, red and green fill),
  res_worker.png, res_food.png, res_ore.png and res_gold.png (the resources of the rows),
  tablet.png (the upgrade tablet) and trumpets.png (two crossed trumpets);
- the "hints" block of data/animations.xml: the arrow, the bar's three pictures, the tablet;
- data/interface/endscreens/: the statistics board, the lose board and the star, painted as
  wooden boards like the demo menu's;
- data/menu/ingameDialogs.ini: the story dialog of level 3 (two speakers) and the box places;
- the "Hints" section of data/translation.ini and the "hints" section of
  data/translation_ru.ini (replaced when present).
Every picture is painted at four times its size and scaled down, so the result is the same on
every run.
"""
import math
import os
import random
import sys

from PIL import Image, ImageDraw
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from level_common import own_section_last, write, write_keeping_others  # noqa: E402
from menu_paint import supersampled  # noqa: E402
from catalogue_block import animation_line, write_block  # noqa: E402

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))
data = os.path.join(target, "data")
S = 4



def smooth(size, paint):
    return supersampled(size, paint, S)


def save(img, *parts):
    path = os.path.join(data, *parts)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, optimize=False)


def wood(size, seed):
    rng = random.Random(seed)
    W, H = size

    def paint(d, img):
        m = 6 * S
        box = [m, m, W * S - m, H * S - m]
        d.rounded_rectangle([box[0] + 5 * S, box[1] + 6 * S, box[2] + 5 * S, box[3] + 6 * S], radius=20 * S,
                            fill=(20, 30, 10, 90))
        d.rounded_rectangle(box, radius=20 * S, fill=(66, 42, 22, 255))
        inner = [box[0] + 7 * S, box[1] + 7 * S, box[2] - 7 * S, box[3] - 7 * S]
        d.rounded_rectangle(inner, radius=14 * S, fill=(128, 86, 50, 255))
        for _ in range(max(20, W * H // 2500)):
            y = rng.randrange(inner[1] + 4 * S, inner[3] - 4 * S)
            x = rng.randrange(inner[0] + 6 * S, max(inner[0] + 7 * S, inner[2] - 60 * S))
            d.line([(x, y), (x + rng.randrange(20, 60) * S, y + rng.randrange(-2, 3) * S)], fill=(96, 62, 34, 255),
                   width=S)
        for cx, cy in [(box[0] + 16 * S, box[1] + 16 * S), (box[2] - 16 * S, box[1] + 16 * S),
                       (box[0] + 16 * S, box[3] - 16 * S), (box[2] - 16 * S, box[3] - 16 * S)]:
            d.ellipse([cx - 4 * S, cy - 4 * S, cx + 4 * S, cy + 4 * S], fill=(70, 66, 70, 255))

    return smooth(size, paint)


def parchment(size, seed):
    rng = random.Random(seed)
    W, H = size

    def paint(d, img):
        m = 3 * S
        box = [m, m, W * S - m, H * S - m]
        d.rounded_rectangle([box[0] + 3 * S, box[1] + 4 * S, box[2] + 3 * S, box[3] + 4 * S], radius=12 * S,
                            fill=(30, 20, 10, 80))
        d.rounded_rectangle(box, radius=12 * S, fill=(120, 78, 40, 255))
        inner = [box[0] + 4 * S, box[1] + 4 * S, box[2] - 4 * S, box[3] - 4 * S]
        d.rounded_rectangle(inner, radius=9 * S, fill=(238, 220, 178, 250))
        for _ in range(40):
            x = rng.randrange(inner[0] + 4 * S, inner[2] - 4 * S)
            y = rng.randrange(inner[1] + 4 * S, inner[3] - 4 * S)
            r = rng.randrange(1, 4) * S
            d.ellipse([x - r, y - r, x + r, y + r], fill=(222, 198, 152, 90))

    return smooth(size, paint)


def resource_icon(kind):
    def paint(d, img):
        W = H = 20 * S
        if kind == "worker":
            d.ellipse([7 * S, 2 * S, 13 * S, 8 * S], fill=(236, 196, 150, 255), outline=(90, 60, 30, 255), width=S)
            d.rounded_rectangle([5 * S, 8 * S, 15 * S, 18 * S], radius=3 * S, fill=(70, 110, 180, 255),
                                outline=(30, 50, 90, 255), width=S)
        elif kind == "food":
            d.ellipse([3 * S, 5 * S, 17 * S, 19 * S], fill=(210, 50, 40, 255), outline=(110, 20, 10, 255), width=S)
            d.line([(10 * S, 6 * S), (12 * S, 1 * S)], fill=(90, 60, 20, 255), width=2 * S)
            d.ellipse([12 * S, 1 * S, 17 * S, 5 * S], fill=(80, 160, 60, 255))
        elif kind == "ore":
            d.polygon([(2 * S, 16 * S), (6 * S, 5 * S), (13 * S, 3 * S), (18 * S, 10 * S), (15 * S, 18 * S)],
                      fill=(140, 140, 156, 255), outline=(60, 60, 70, 255))
            d.line([(6 * S, 5 * S), (11 * S, 11 * S), (18 * S, 10 * S)], fill=(190, 190, 205, 255), width=S)
        else:
            d.ellipse([2 * S, 2 * S, 18 * S, 18 * S], fill=(250, 204, 50, 255), outline=(150, 100, 10, 255),
                      width=2 * S)
            d.ellipse([7 * S, 6 * S, 13 * S, 14 * S], outline=(200, 150, 20, 255), width=S)

    return smooth((20, 20), paint)


def tablet(size):
    def paint(d, img):
        W, H = size
        d.polygon([(W * S / 2, 2 * S), (W * S - 3 * S, H * S / 3), (W * S - 6 * S, H * S - 3 * S),
                   (6 * S, H * S - 3 * S), (3 * S, H * S / 3)], fill=(176, 150, 110, 255), outline=(80, 60, 30, 255))
        d.polygon([(W * S / 2, 6 * S), (W * S - 8 * S, H * S / 3 + S), (W * S - 10 * S, H * S - 7 * S),
                   (10 * S, H * S - 7 * S), (8 * S, H * S / 3 + S)], fill=(226, 208, 168, 255))

    return smooth(size, paint)


def trumpets(size, frames):
    W, H = size
    sheet = Image.new("RGBA", (W, H * frames), (0, 0, 0, 0))
    for f in range(frames):
        lift = 2 * math.sin(2 * math.pi * f / frames)

        def paint(d, img, lift=lift):
            for side in (-1, 1):
                cx = W * S / 2
                bx, by = cx + side * 26 * S, (14 - lift) * S
                d.line([(cx - side * 4 * S, (H - 6) * S), (bx, by + 8 * S)], fill=(220, 170, 40, 255), width=4 * S)
                d.polygon([(bx, by + 8 * S), (bx + side * 8 * S, by), (bx + side * 12 * S, by + 14 * S)],
                          fill=(250, 204, 60, 255), outline=(150, 100, 20, 255))

        sheet.paste(smooth(size, paint), (0, H * f))
    return sheet


def star(size):
    def paint(d, img):
        W, H = size
        cx, cy, r = W * S / 2, H * S / 2, W * S / 2 - 2 * S
        pts = []
        for i in range(10):
            a = -math.pi / 2 + i * math.pi / 5
            rr = r if i % 2 == 0 else r * 0.45
            pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
        d.polygon(pts, fill=(250, 204, 60, 255), outline=(150, 100, 20, 255))
        d.line(pts + [pts[0]], fill=(150, 100, 20, 255), width=2 * S)

    return smooth(size, paint)


def arrow(size):
    def paint(d, img):
        W, H = size
        # Points to the left: the tip at x = 0, so drawn right of a point it points back at it.
        d.polygon([(2 * S, H * S / 2), (W * S / 2, 2 * S), (W * S / 2, H * S / 3), (W * S - 2 * S, H * S / 3),
                   (W * S - 2 * S, H * S * 2 / 3), (W * S / 2, H * S * 2 / 3), (W * S / 2, H * S - 2 * S)],
                  fill=(240, 200, 40, 255), outline=(110, 60, 10, 255))

    return smooth(size, paint)


def bar(size, fill):
    def paint(d, img):
        W, H = size
        if fill is None:
            d.rounded_rectangle([0, 0, W * S - 1, H * S - 1], radius=5 * S, fill=(40, 28, 16, 230),
                                outline=(200, 170, 110, 255), width=2 * S)
        else:
            d.rounded_rectangle([2 * S, 2 * S, W * S - 2 * S, H * S - 2 * S], radius=4 * S, fill=fill)

    return smooth(size, paint)


HINT_LAYOUT = """; The hint window over objects: line distances and the x of its rows.
[Hint]
distanceFromUpperEdgeToName=10
distanceFromNameToStatus=4
distanceFromStatusToRest=6
width=200
font=TextFont
frame=data/hint/frame.png

; The hint over the upgrade tablet.
[UpgradeHint]
distanceFromUpperEdgeToName=10
distanceFromNameToStatus=4
distanceFromStatusToRest=6
width=180
font=TextFont
frame=data/hint/frame.png

[Tablet]
font=TextFont

[Spend]
x=0

[ShortFall]
x=0
sizeIncrease=12
text=#OBJECT_HINT_SHORTFALL

[Get]
x=0

[WillGet]
x=0

[ResourcesBox]
x=0
"""

DIALOGS = """; Story dialogs during play: one section per dialog, and the places of the boxes.
[double]
x1=120
y1=520
x2=380
y2=600
avatarx1=20
avatary1=480
avatarx2=860
avatary2=560
buttonx=820
buttony=700

[single]
x=200
y=560
avatarx=40
avatary=520
buttonx=820
buttony=700

; Level 3: the prospector and the foreman talk about the boar in the ridge's gap.
[dialog3]
double=1
effect=1
effectTimeout=600
name1=#STORY_NAME_PROSPECTOR
name2=#STORY_NAME_FOREMAN
avatar1=data/interface/endscreens/star.png
avatar2=data/interface/endscreens/star.png
text2timeout=1500
"""

TEXTS = """[Hints]
; Texts of the object hints, the end screens and the story dialogs (the other hint texts are
; in [object hints]).
#OBJECT_HINT_SHORTFALL=Missing:
#INTERFACE_LOSE_PHRASE1=Time is up, %s. The meadow will wait for you.
#INTERFACE_LOSE_PHRASE2=Not this time, %s! Try again and be quicker.
#INTERFACE_LOSE_PHRASE3=So close, %s. One more go?
#STATISTICS_LEVEL=Level
#STATISTICS_RESOURCES=Resources
#STATISTICS_TIME=Time
#STATISTICS_TOTAL=Total
#STORY_NAME_PROSPECTOR=The prospector
#STORY_NAME_FOREMAN=The foreman
#STORY_TEXT1_3=There is gold behind the ridge, but a bramble boar sits in the only gap!
#STORY_TEXT2_3=Then send the warrior from his hut to drive it off, and the mine is ours.
"""


TEXTS_RU = """[hints]
; The hint texts of the hint window itself (the objects' hint texts are in [object hints]).
#OBJECT_HINT_SHORTFALL=Не хватает:
"""


def translation():
    # The translation document is written by the widget generator; the hints keep their own
    # section in it, replaced on every run.
    own_section_last(os.path.join(data, "translation.ini"), "hints", TEXTS, write)
    own_section_last(os.path.join(data, "translation_ru.ini"), "hints", TEXTS_RU, write)


def catalogue():
    # The arrow bobs by itself in code; the bar's pictures are single frames drawn whole or cut.
    write_block(data, "hints", [
        animation_line("ObjectHint_Arrow", "data/hint/arrow.png", 1000, 1, group="always"),
        animation_line("OperationBar", "data/hint/bar.png", 1000, 1, group="always"),
        animation_line("OperationBar_Full", "data/hint/bar_full.png", 1000, 1, group="always"),
        animation_line("OperationBarGreen_Full", "data/hint/bar_green.png", 1000, 1, group="always"),
        animation_line("upgrade_tablet", "data/hint/tablet.png", 1000, 1, group="always"),
        animation_line("hint_trumpets", "data/hint/trumpets.png", 600, 6),
    ])


save(parchment((220, 120), 7301), "hint", "frame.png")
for kind in ("worker", "food", "ore", "gold"):
    save(resource_icon(kind), "hint", "res_%s.png" % kind)
save(tablet((40, 44)), "hint", "tablet.png")
save(trumpets((72, 40), 6), "hint", "trumpets.png")
save(arrow((64, 40)), "hint", "arrow.png")
save(bar((96, 16), None), "hint", "bar.png")
save(bar((96, 16), (200, 60, 40, 255)), "hint", "bar_full.png")
save(bar((96, 16), (90, 190, 60, 255)), "hint", "bar_green.png")
save(wood((560, 460), 7302), "interface", "endscreens", "statistics.png")
save(wood((520, 300), 7303), "interface", "endscreens", "lose.png")
save(star((64, 64)), "interface", "endscreens", "star.png")
write(os.path.join(data, "hint", "hintResources.ini"), HINT_LAYOUT)
write_keeping_others(os.path.join(data, "menu", "ingameDialogs.ini"), DIALOGS)
translation()
catalogue()
print("hints: data/hint/*, data/interface/endscreens/*, data/menu/ingameDialogs.ini, [Hints] of data/translation.ini, [hints] of translation_ru.ini, the 'hints' catalogue block")
