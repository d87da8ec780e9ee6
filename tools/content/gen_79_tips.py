#!/usr/bin/env python3
"""Writes the tips over a level (data/tips/tips.ini), their pictures under data/tips/, and their texts:
the "tips" section of data/translation.ini and of data/translation_ru.ini (replaced when present).

A tip is a parchment card with a text, an OK button and a box to tick for no more tips. The document
holds the card's widgets once ("Tips", "TipsBox", "TipsStr", "OK", "Back" and the fourteen "Text"
sections) and one "Tip" section per tip: where the card goes, whether the tip waits for a click on
its object instead of OK, and the arrow of the tips that point at a fixed place. Tips about an
object of the map take the arrow's place from the object itself. The demo's tutorial runs on levels
1 and 2 (the bridge, the berry garden, the barn, the bonus bar, the ore pit); the objects the tips
look for carry the tags the game's tip table names (see gen_40_level1.py and gen_41_level2.py).
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from demo_widgets import all_states, captioned_button, label_text, screen_main, section, sprite  # noqa: E402
from level_common import data_dir, own_section_last, write  # noqa: E402
from menu_paint import gradient, overlay, supersampled  # noqa: E402

data = data_dir(sys.argv, "tips")
tips_dir = os.path.join(data, "tips")
S = 4  # supersampling factor
PIC = "data/tips/"

# The card: its place when a tip gives none, and its size.
CARD_X, CARD_Y, CARD_W, CARD_H = 332, 270, 360, 176
BOX = 30  # the check box


def save(img, name):
    img.save(os.path.join(tips_dir, name), optimize=True)


def card():
    """A parchment card with a wooden rim and a soft shadow."""
    w, h = CARD_W, CARD_H

    def paint(d, img):
        d.rounded_rectangle([4 * S, 6 * S, w * S - 1, h * S - 1], radius=16 * S, fill=(20, 14, 6, 90))
        d.rounded_rectangle([0, 0, w * S - 5 * S, h * S - 7 * S], radius=16 * S, fill=(104, 68, 36, 255))
        gradient(img, [5 * S, 5 * S, w * S - 10 * S, h * S - 12 * S], (250, 240, 212), (230, 212, 170), 12 * S)

        def specks(g):
            for i in range(70):
                x = (i * 97 % (w - 30) + 15) * S
                y = (i * 53 % (h - 30) + 12) * S
                r = (1 + i % 3) * S
                g.ellipse([x - r, y - r, x + r, y + r], fill=(170, 130, 70, 22))

        overlay(img, specks)

    return supersampled((w, h), paint, S)


BOX_RIMS = {"ignore": (120, 110, 100), "normal": (92, 60, 32), "active": (160, 112, 50), "press": (70, 44, 22)}


def check_box(rim):
    def paint(d, img):
        d.rounded_rectangle([0, 0, BOX * S - 1, BOX * S - 1], radius=7 * S, fill=rim + (255,))
        gradient(img, [4 * S, 4 * S, (BOX - 4) * S, (BOX - 4) * S], (252, 244, 220), (226, 208, 168), 4 * S)

    return supersampled((BOX, BOX), paint, S)


def tick():
    def paint(d, img):
        pts = [(7 * S, 16 * S), (13 * S, 23 * S), (25 * S, 7 * S)]
        d.line(pts, fill=(120, 30, 20, 255), width=6 * S, joint="curve")
        d.line(pts, fill=(200, 70, 40, 255), width=3 * S, joint="curve")

    return supersampled((BOX, BOX), paint, S)


save(card(), "card.png")
for state, rim in BOX_RIMS.items():
    save(check_box(rim), f"box_{state}.png")
save(tick(), "tick.png")

# ---- The tips -------------------------------------------------------------------------------------
# (English, Russian) per tip, in tip order; the card's text window wraps them.
TEXTS = [
    ("Your workers live in the barn. A river cuts the meadow in two: click the broken bridge and a "
     "worker will mend it.",
     "Ваши работники живут в амбаре. Луг разрезан рекой надвое: щёлкните по сломанному мосту, и "
     "работник его починит."),
    ("The way is open! Mend the berry garden on the far bank: once whole it fills your store with "
     "food again and again.",
     "Путь открыт! Почините ягодный сад на том берегу: целый, он снова и снова пополняет запас еды."),
    ("The barn is your workers' home. Every order takes a worker from it; when the work is done he "
     "comes back for the next one.",
     "Амбар — дом ваших работников. На каждое дело уходит работник; закончив, он возвращается за "
     "следующим."),
    ("A bonus is ready! Click its button on the bar below and your workers run faster for a while.",
     "Бонус готов! Щёлкните по его кнопке на полосе внизу, и работники на время побегут быстрее."),
    ("Beyond the stones lies the site of an ore pit. Build it: once it stands it digs ore all by itself.",
     "За камнями — место для рудной ямы. Постройте её: готовая, она сама добывает руду."),
    ("The ore pit is digging! Upgrade it when you have the ore: a bigger pit digs more at a time.",
     "Рудная яма работает! Улучшите её, когда хватит руды: большая яма добывает больше."),
    ("You have the food the bridge needs. Click the bridge to send a worker!",
     "Еды на мост хватает. Щёлкните по мосту, чтобы послать работника!"),
    ("The place gives its bonus again after a while: come back for more.",
     "Это место снова даст бонус через некоторое время: возвращайтесь за ним."),
    ("Mend the food generator: it feeds your workers for the rest of the level.",
     "Почините источник еды: он будет кормить работников до конца уровня."),
    ("Upgrade the barn and one more worker moves in.",
     "Улучшите амбар, и в нём поселится ещё один работник."),
    ("The warrior hut sends a warrior against the beasts that block your way.",
     "Хижина воина посылает воина против зверей, что загораживают путь."),
    ("A mine holds a lot of ore: send your workers to dig it.",
     "В шахте много руды: пошлите работников её добывать."),
    ("This store is full! Whatever comes in now is lost: spend it, or build a bigger store.",
     "Хранилище полно! Всё, что придёт теперь, пропадёт: потратьте запас или постройте хранилище "
     "побольше."),
    ("The gold time is over. Finish the level within the silver time to earn two stars.",
     "Золотое время вышло. Пройдите уровень за серебряное время, чтобы получить две звезды."),
]

# Per tip: the card's top-left corner, whether it waits for a click on its object (the card then
# has no OK), and a fixed arrow (x, y, degrees) for tips that point at a place of the screen. The
# arrow's picture points left; 0 degrees puts it right of the place, 90 above, 180 left, 270 below.
# The cards keep clear of the boards over the map (resources and time at the top, goals at the top
# right, bonuses at the bottom) and of what their tip asks the player to click.
TIPS = [
    dict(x=60, y=196),                                # the bridge of level 1 (arrow from the bridge)
    dict(x=300, y=500),                               # its berry garden
    dict(x=300, y=150, arrow=(310, 580, 0)),          # level 2: the barn
    dict(x=332, y=440, arrow=(512, 652, 90)),         # the bonus bar
    dict(x=60, y=150),                                # the ore pit's site
    dict(x=60, y=150, arrow=(680, 300, 180)),         # the ore pit built
    dict(x=60, y=150, click=True),                    # the bridge of level 2, to be clicked
    dict(x=332, y=150),                               # a bonus place (arrow from the place)
    dict(x=332, y=150),                               # a food generator
    dict(x=332, y=150),                               # the barn
    dict(x=332, y=150),                               # the warrior hut
    dict(x=332, y=150),                               # the mine
    # The full store: under the Food slot of the resource board; the game moves the arrow 110
    # pixels right for Ore and 220 for Gold.
    dict(x=60, y=130, arrow=(173, 88, 270)),
    # The gold time: the game adds the gold pin's place on the time bar, so the arrow stands left
    # of the time board, level with the bar.
    dict(x=360, y=110, arrow=(-160, -6, 180)),
]
assert len(TEXTS) == len(TIPS) == 14


def tip_section(n, t):
    lines = [f"[Tip{n + 1}]"]
    if t.get("click"):
        lines.append("MustClickOnObject=1")
    lines += [f"x={t['x']}", f"y={t['y']}"]
    if "arrow" in t:
        ax, ay, angle = t["arrow"]
        lines += ["isArrow=1", f"arrowX={ax}", f"arrowY={ay}", f"angle={angle}"]
    return "\n".join(lines) + "\n"


X0, Y0 = CARD_X, CARD_Y
ROW_Y = Y0 + CARD_H - 58  # the row of the check box and OK
doc = [f"""\
; The tips over a level: a card with a text, OK, and a box to tick for no more tips. The game makes
; the widgets in the order "Tips", "TipsBox", "TipsStr", "OK", "Text" + the tip's number, "Back";
; the last made is drawn first, so "Back" (the card) lies under the rest. Places are screen places
; of the card at {X0}, {Y0}; a tip's "x" and "y" move the whole card there.
""" + screen_main(),
       sprite("Back", X0, Y0, CARD_W, CARD_H, PIC + "card.png"),
       # The switch: option 0 (an empty box) keeps the tips, option 1 (ticked) turns them off.
       section("Tips", type="switch", x=X0 + 22, y=ROW_Y + 9, xs=BOX, ys=BOX, stage=1,
               **{s: f"{PIC}box_{s}.png" for s in BOX_RIMS}, sndActivePress="click",
               **{"0": "TipsKeep", "1": "TipsNoMore"}),
       "[TipsKeep]\n; nothing in the box\n",
       section("TipsNoMore", **all_states(PIC + "tick.png")),
       # What lies under the switch and its label: nothing of its own on the card.
       section("TipsBox", type="sprite", x=X0 + 16, y=ROW_Y + 3, xs=176, ys=42),
       label_text("TipsStr", X0 + 22 + BOX + 8, ROW_Y + 15, 140, 24, "#TIPS_NO_MORE", 2),
       captioned_button("OK", X0 + CARD_W - 150, ROW_Y + 2, 120, "#TIPS_OK", "confirm")]
for n in range(len(TEXTS)):
    doc.append(label_text(f"Text{n + 1}", X0 + 24, Y0 + 18, CARD_W - 52, CARD_H - 84, f"#TIP_{n + 1}", 2,
                          extra=("xalign=-1",)))
for n, t in enumerate(TIPS):
    doc.append(tip_section(n, t))
write(os.path.join(tips_dir, "tips.ini"), "\n".join(doc))


def translation(column, comment, ok, no_more):
    lines = ["[tips]", comment, f"#TIPS_OK={ok}", f"#TIPS_NO_MORE={no_more}"]
    lines += [f"#TIP_{n + 1}={texts[column]}" for n, texts in enumerate(TEXTS)]
    return "\n".join(lines) + "\n"


own_section_last(os.path.join(data, "translation.ini"), "tips",
                 translation(0, "; The tips over a level.", "OK", "No more tips"), write)
own_section_last(os.path.join(data, "translation_ru.ini"), "tips",
                 translation(1, "; Подсказки на уровне.", "OK", "Без подсказок"), write)
print("tips: data/tips/tips.ini and its pictures; [tips] of data/translation.ini and data/translation_ru.ini")
