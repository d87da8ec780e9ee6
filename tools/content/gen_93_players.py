#!/usr/bin/env python3
"""Writes the two player dialogs of the main menu: the players list (data/menu/players.ini) and the
name entry (data/menu/playerName.ini), their pictures under data/menu/players/, the three player
questions of data/menu/dialog.ini ("DeletePlayer", "YouCantDelete", "YouCantCreate") and their
texts in English and Russian.

The look follows the demo menus: a wooden board, a parchment mat for the list of names, a small
hanging sign for the title and the demo's rounded green buttons. Every picture is painted at four
times its size and scaled down, the same on every run.
"""
import os
import random
import sys

from demo_widgets import capped_button, captioned_button, label_text as text, screen_main, section, sprite
from level_common import merge_sections, own_section_last, write
from menu_paint import gradient, hanging_sign, overlay, planked_board, supersampled

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))
data = os.path.join(target, "data")
menu = os.path.join(data, "menu")
pics = os.path.join(menu, "players")
os.makedirs(pics, exist_ok=True)
S = 4  # supersampling factor


def smooth(size, paint):
    return supersampled(size, paint, S)


def save(img, name):
    img.save(os.path.join(pics, name), optimize=True)


def board(size, seed):
    """A planked wooden board with a dark rim, grain and four nails."""
    rng = random.Random(seed)
    return smooth(size, lambda d, img: planked_board(d, img, size[0], size[1], rng, S))


def parchment(size, seed):
    """A pale parchment panel with a soft darker edge and a few speckles."""
    rng = random.Random(seed)
    w, h = size

    def paint(d, img):
        box = [0, 0, w * S - 1, h * S - 1]
        d.rounded_rectangle(box, radius=16 * S, fill=(150, 118, 70, 255))
        gradient(img, [3 * S, 3 * S, w * S - 3 * S, h * S - 3 * S], (246, 232, 196), (226, 206, 160), 13 * S)

        def specks(g):
            for _ in range(160):
                x, y = rng.randrange(8 * S, w * S - 8 * S), rng.randrange(8 * S, h * S - 8 * S)
                r = rng.randrange(1, 3) * S
                g.ellipse([x - r, y - r, x + r, y + r], fill=(170, 130, 70, 28))

        overlay(img, specks)

    return smooth(size, paint)


# A name slot of the list: a dark wooden slot in the parchment (the names are light, so their
# tint shows) that lights when pointed at and sinks when pressed.
ROW_W, ROW_H = 340, 38
ROWS = {"ignore": ((255, 255, 255, 0), 0), "normal": ((84, 54, 28, 190), 0),
        "active": ((112, 74, 38, 230), 0), "press": ((206, 176, 124, 240), 2)}


def row(fill, sink):
    def paint(d, img):
        d.rounded_rectangle([2 * S, (2 + sink) * S, ROW_W * S - 2 * S, (ROW_H - 2 + sink) * S], radius=10 * S,
                            fill=fill, outline=(196, 150, 90, 255) if fill[3] else None,
                            width=S)

    return smooth((ROW_W, ROW_H), paint)


def pad(size):
    """The sunken frame round the name field."""
    w, h = size

    def paint(d, img):
        d.rounded_rectangle([0, 0, w * S - 1, h * S - 1], radius=14 * S, fill=(60, 38, 20, 255))
        gradient(img, [4 * S, 4 * S, w * S - 4 * S, h * S - 4 * S], (226, 206, 160), (196, 170, 120), 10 * S)

    return smooth(size, paint)


FRAME = (272, 70, 480, 620)   # x, y, width, height of the players board
MAT = (322, 176, 380, 354)
SIGN = (392, 40, 240, 84)
BACK = (232, 214, 560, 330)   # the name board
PAD = (332, 318, 360, 64)

save(board(FRAME[2:], 9301), "board.png")
save(parchment(MAT[2:], 9302), "mat.png")
save(hanging_sign(SIGN[2:], S), "sign.png")
save(board(BACK[2:], 9303), "name_board.png")
save(pad(PAD[2:]), "pad.png")
for state, (fill, sink) in ROWS.items():
    save(row(fill, sink), f"row_{state}.png")


PIC = "data/menu/players/"


# ---- The players list ---------------------------------------------------------------------------
players = ["""\
; The players dialog: up to eight names on a parchment mat. A click on a name marks it; "Choose"
; makes it the current player, "New" opens the name entry, "Delete" asks before removing the
; marked player (never the current one) and "Cancel" or Escape closes without a change. The
; windows are drawn in the order of their sections.
""" + screen_main() + """\
; how dark the screen behind the dialog becomes, and how long its fades take
bgAlpha=150
fadeTime=250
""",
           sprite("Frame", *FRAME, PIC + "board.png"),
           sprite("PlayersMat", *MAT, PIC + "mat.png"),
           sprite("Sign", *SIGN, PIC + "sign.png"),
           text("Players", SIGN[0], SIGN[1] + 16, SIGN[2], SIGN[3] - 16, "#PLAYERS_TITLE", 2,
                "data/fonts/sans26b.png")]
for i in range(8):
    players.append(section(f"Player{i + 1}", type="sprite", x=MAT[0] + 20, y=MAT[1] + 10 + i * 42, xs=ROW_W,
                           ys=ROW_H, name="", select=3, stage=1, yalign=0,
                           **{s: f"{PIC}row_{s}.png" for s in ROWS}, sndActivePress="click"))
players += [captioned_button("Create", 322, 548, 180, "#PLAYERS_CREATE", "click"),
            captioned_button("Delete", 522, 548, 180, "#PLAYERS_DELETE", "click"),
            captioned_button("SelectPlayer", 322, 606, 180, "#PLAYERS_SELECT", "confirm"),
            captioned_button("Cancel", 522, 606, 180, "#PLAYERS_CANCEL", "click")]
write(os.path.join(menu, "players.ini"), "\n".join(players))

# ---- The name entry -----------------------------------------------------------------------------
OK_X, CANCEL_X, BTN_W = 332, 522, 170
name = ["""\
; The name entry. OK stays hidden while the field is empty or holds a name already taken (then the
; warning shows); without OK, Cancel moves by "deltaX" to the middle. At the first start there is
; no Cancel and OK stands in the middle of the screen. Enter is OK, Escape is Cancel.
""" + screen_main(bgAlpha=150, fadeTime=250),
        sprite("Back", *BACK, PIC + "name_board.png"),
        text("Str", BACK[0], BACK[1] + 30, BACK[2], 60, "#PLAYERNAME_TITLE", 2, "data/fonts/sans26b.png"),
        sprite("EnterPad", *PAD, PIC + "pad.png"),
        """\
[EditPlayer]
type=ieEdit
x=362
y=328
xs=300
ys=44
name=
; at most eight letters (one place is the cursor's)
strsize=9
select=3
stage=1
ignore=data/menu/demo/field_ignore.png
normal=data/menu/demo/field_normal.png
active=data/menu/demo/field_active.png
press=data/menu/demo/field_press.png
CursorR=250
CursorG=220
CursorB=120
font=data/fonts/sans26b.png
""",
        text("Warning", BACK[0] + 20, 388, BACK[2] - 40, 40, "#PLAYERNAME_TAKEN", 1, extra=("isIgnore=1",)),
        captioned_button("EditPlayerOK", OK_X, 446, BTN_W, "#PLAYERNAME_OK", "confirm"),
        captioned_button("EditPlayerCancel", CANCEL_X, 446, BTN_W, "#PLAYERNAME_CANCEL", "click").replace(
            "type=ieButton\n", f"type=ieButton\n; without OK it stands in the middle\ndeltaX={(1024 - BTN_W) // 2 - CANCEL_X}\n")]
write(os.path.join(menu, "playerName.ini"), "\n".join(name))

# ---- The questions and messages of the players dialog (data/menu/dialog.ini) --------------------
# Each is a small board of its own over the darkened screen.
QW, QH = 440, 210
QX, QY = (1024 - QW) // 2, (768 - QH) // 2
save(board((QW, QH), 9304), "question.png")


def question(name, text_key, buttons):
    # The dialog's own window covers the screen, so its darkening does too; the board is its
    # picture, centred. The children's places count from the window's corner, the screen's.
    own = ["type=sprite", "x=0", "y=0", "xs=1024", "ys=768", "normal=data/menu/players/question.png",
           f"xsSpr={QW}", f"ysSpr={QH}", "xalignSpr=0", "yalignSpr=0", "font=data/fonts/sans16.png",
           "bgAlpha=90", "fadeTime=200"]
    sections = {name: own,
                f"{name}.Text": ["type=text", f"x={QX + 30}", f"y={QY + 30}", f"xs={QW - 60}", "ys=90",
                                 f"name={text_key}", "select=0", "yalign=0"]}
    bw = 150
    gap = 30
    left = QX + (QW - (len(buttons) * bw + (len(buttons) - 1) * gap)) // 2
    for i, (child, key, sound) in enumerate(buttons):
        body = capped_button(child, left + i * (bw + gap), QY + QH - 76, bw, 48, sound).splitlines()[1:]
        sections[f"{name}.{child}"] = [line if not line.startswith("name=") else f"name={key}" for line in body]
    return sections


questions = {}
questions.update(question("DeletePlayer", "#PLAYERS_DELETE_ASK",
                          [("DialogYes", "#PLAYERS_YES", "confirm"), ("DialogNo", "#PLAYERS_NO", "click")]))
questions.update(question("YouCantDelete", "#PLAYERS_CANT_DELETE", [("WarningOk", "#PLAYERS_OK", "click")]))
questions.update(question("YouCantCreate", "#PLAYERS_CANT_CREATE", [("WarningOk", "#PLAYERS_OK", "click")]))
merge_sections(os.path.join(menu, "dialog.ini"), questions,
               header="; The questions and messages of the menus: a section per dialog, named by the caller,\n"
                      "; and its children as sections \"Dialog.Child\" placed relative to it.")

# ---- Texts ---------------------------------------------------------------------------------------
TEXTS = [
    ("PLAYERS_TITLE", "Players", "Игроки"),
    ("PLAYERS_CREATE", "New", "Новый"),
    ("PLAYERS_DELETE", "Delete", "Удалить"),
    ("PLAYERS_SELECT", "Choose", "Выбрать"),
    ("PLAYERS_CANCEL", "Cancel", "Отмена"),
    ("PLAYERS_DELETE_ASK", "Delete this player and all of their progress?",
     "Удалить этого игрока и все его успехи?"),
    ("PLAYERS_CANT_DELETE", "The current player cannot be deleted. Choose another player first.",
     "Нельзя удалить текущего игрока. Сначала выберите другого."),
    ("PLAYERS_CANT_CREATE", "There is room for eight players. Delete one to make room.",
     "Места только для восьми игроков. Удалите одного, чтобы освободить место."),
    ("PLAYERS_YES", "Yes", "Да"),
    ("PLAYERS_NO", "No", "Нет"),
    ("PLAYERS_OK", "OK", "OK"),
    ("PLAYERNAME_TITLE", "What is your name?", "Как вас зовут?"),
    ("PLAYERNAME_TAKEN", "A player of that name exists already.", "Игрок с таким именем уже есть."),
    ("PLAYERNAME_OK", "OK", "OK"),
    ("PLAYERNAME_CANCEL", "Cancel", "Отмена"),
]
for file, column in (("translation.ini", 1), ("translation_ru.ini", 2)):
    own_section_last(os.path.join(data, file), "players",
                     "[players]\n" + "".join(f"#{t[0]}={t[column]}\n" for t in TEXTS), write)
