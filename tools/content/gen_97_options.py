#!/usr/bin/env python3
"""Writes the options dialog (data/menu/options.ini) and the pause menu over a level
(data/menu/gameMenu.ini) with its "Menu" button in data/interface/main.ini, their pictures under
data/menu/options/, the pause menu's questions "Restart" and "Abort" in data/menu/dialog.ini
("Exit" too when no other generator has written it) and their texts in English and Russian. Beside
"Menu" stands "BookButton", a round medallion with an open book that opens the achievements book
over the level, with the hint "BookHint" shown while it is pointed at.

The options are a wooden board under a hanging sign: two sliders on parchment strips (music and
sound) and four check boxes (tips, full screen, animated cursor, voices), then OK and Cancel. The
pause menu darkens the level and shows a board of four buttons under a carved leaf. Every picture
is painted at four times its size and scaled down, the same on every run.
"""
import os
import random
import sys

from PIL import Image, ImageDraw

from demo_widgets import capped_button, captioned_button, label_text as text
from level_common import merge_sections, write
from menu_paint import OPTIONS_WOOD, gradient, hanging_sign, overlay, planked_board, supersampled

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))
data = os.path.join(target, "data")
menu = os.path.join(data, "menu")
pics = os.path.join(menu, "options")
os.makedirs(pics, exist_ok=True)
S = 4  # supersampling factor
PIC = "data/menu/options/"


def smooth(size, paint):
    return supersampled(size, paint, S)


def save(img, name):
    img.save(os.path.join(pics, name), optimize=True)


def paint_board(d, img, w, h, rng, offset=(0, 0)):
    """A planked board with a dark rim, grain and four nails inside (offset, offset + w x h)."""
    planked_board(d, img, w, h, rng, S, offset, OPTIONS_WOOD)


def board(size, seed):
    return smooth(size, lambda d, img: paint_board(d, img, size[0], size[1], random.Random(seed)))


def strip(size, seed):
    """A pale parchment strip for one option's row."""
    rng = random.Random(seed)
    w, h = size

    def paint(d, img):
        d.rounded_rectangle([0, 0, w * S - 1, h * S - 1], radius=12 * S, fill=(150, 118, 70, 255))
        gradient(img, [3 * S, 3 * S, w * S - 3 * S, h * S - 3 * S], (244, 230, 194), (224, 204, 158), 10 * S)

        def specks(g):
            for _ in range(60):
                x, y = rng.randrange(6 * S, w * S - 6 * S), rng.randrange(5 * S, h * S - 5 * S)
                r = rng.randrange(1, 3) * S
                g.ellipse([x - r, y - r, x + r, y + r], fill=(170, 130, 70, 26))

        overlay(img, specks)

    return smooth(size, paint)


# A check box: a sunken wooden square that lights when pointed at; the tick is the switch's option 1.
BOX = 36
BOX_STATES = {"ignore": (120, 110, 100), "normal": (92, 60, 32), "active": (150, 104, 46), "press": (70, 44, 22)}


def check_box(rim):
    def paint(d, img):
        d.rounded_rectangle([0, 0, BOX * S - 1, BOX * S - 1], radius=8 * S, fill=rim + (255,))
        gradient(img, [4 * S, 4 * S, (BOX - 4) * S, (BOX - 4) * S], (250, 240, 212), (222, 204, 164), 5 * S)

    return smooth((BOX, BOX), paint)


def tick():
    def paint(d, img):
        pts = [(8 * S, 19 * S), (15 * S, 27 * S), (29 * S, 8 * S)]
        d.line(pts, fill=(40, 90, 20, 255), width=7 * S, joint="curve")
        d.line(pts, fill=(110, 190, 60, 255), width=4 * S, joint="curve")

    return smooth((BOX, BOX), paint)


def leaf(size):
    """The pause menu's carved ornament: two leaves on a round wooden medallion."""
    w, h = size

    def paint(d, img):
        d.ellipse([2 * S, 4 * S, w * S - 2 * S, h * S - 2 * S], fill=(20, 30, 10, 90))
        d.ellipse([0, 0, w * S - 4 * S, h * S - 6 * S], fill=(66, 42, 22, 255))
        gradient(img, [5 * S, 5 * S, w * S - 9 * S, h * S - 11 * S], (160, 112, 66), (112, 72, 40), (w // 2) * S)
        d = ImageDraw.Draw(img)
        cx, cy = (w - 4) * S // 2, (h - 6) * S // 2
        for k in (-1, 1):
            d.ellipse([cx - 9 * S + k * 9 * S, cy - 18 * S, cx + 9 * S + k * 9 * S, cy + 12 * S],
                      fill=(92, 160, 60, 255), outline=(40, 80, 24, 255), width=2 * S)
            d.line([(cx + k * 9 * S, cy - 14 * S), (cx + k * 4 * S, cy + 14 * S)], fill=(40, 80, 24, 255), width=2 * S)
        d.line([(cx, cy + 4 * S), (cx, cy + 20 * S)], fill=(70, 46, 20, 255), width=3 * S)

    return smooth(size, paint)


def veil_with_board(board_box, seed):
    """The whole screen darkened, with the pause board painted in its place."""
    bx, by, bw, bh = board_box
    rng = random.Random(seed)
    img = Image.new("RGBA", (1024, 768), (12, 16, 8, 130))
    part = Image.new("RGBA", (bw * S, bh * S), (0, 0, 0, 0))
    paint_board(ImageDraw.Draw(part), part, bw, bh, rng)
    img.alpha_composite(part.resize((bw, bh), Image.LANCZOS), (bx, by))
    return img


def sprite(name, x, y, xs, ys, picture, extra=()):
    # A decoration stays in the ignore state (the pointer passes over it), so its picture is that state's.
    lines = [f"[{name}]", "type=sprite", f"x={x}", f"y={y}", f"xs={xs}", f"ys={ys}", f"ignore={PIC}{picture}", *extra]
    return "\n".join(lines) + "\n"


def slider(name, x, y):
    """A slider from the demo's track, fill and thumb pictures; its parts are sections of its own,
    placed relative to it."""
    def part(section, pos, pictures):
        return f"[{section}]\n" + pos + "".join(f"{s}=data/menu/demo/{p}\n" for s, p in pictures)

    states = ("ignore", "normal", "active", "press")
    return "\n".join([
        f"[{name}]\ntype=progress2\nx={x}\ny={y}\nxs=300\nys=36\nstage=1\nsndActivePress=click\n"
        f"0={name}Track\n1={name}Fill\n2={name}Thumb\n",
        part(f"{name}Track", "y=8\nxs=300\nys=16\n", [(s, "track.png") for s in states]),
        part(f"{name}Fill", "y=8\nxs=300\nys=16\n", [(s, "fill.png") for s in states]),
        part(f"{name}Thumb", "x=-13\n", [(s, f"thumb_{s}.png") for s in states])])


def check(name, x, y):
    """A two-option switch: option 0 an empty box, option 1 the box ticked."""
    lines = [f"[{name}]", "type=switch", f"x={x}", f"y={y}", f"xs={BOX}", f"ys={BOX}", "stage=1",
             *[f"{s}={PIC}box_{s}.png" for s in BOX_STATES], "sndActivePress=click",
             "0=CheckOff", "1=CheckOn"]
    return "\n".join(lines) + "\n"


# The book button: a round wooden medallion, lighter when pointed at and sunk when pressed, with a
# green open book on it; "ignore" is greyed.
BOOK_SIZE = 56
BOOK_STATES = {"ignore": ((150, 144, 136), (118, 112, 104), (200, 196, 188)),
               "normal": ((168, 118, 66), (118, 76, 40), (244, 232, 200)),
               "active": ((206, 154, 86), (150, 100, 52), (255, 246, 214)),
               "press": ((132, 88, 46), (96, 60, 30), (226, 212, 176))}


def book_medallion(top, bottom, paper, pressed):
    n = BOOK_SIZE

    def paint(d, img):
        d.ellipse([2 * S, 4 * S, n * S - 1, n * S - 1], fill=(20, 30, 10, 110))
        d.ellipse([0, 0, (n - 3) * S, (n - 3) * S], fill=(66, 42, 22, 255))
        gradient(img, [4 * S, 4 * S, (n - 7) * S, (n - 7) * S], top, bottom, (n // 2) * S)
        d = ImageDraw.Draw(img)
        cx, cy = (n - 3) * S // 2, (n - 3) * S // 2 + (S if pressed else 0)
        cover = (46, 104, 40, 255)
        # The covers, a little wider than the pages, then the two pages bowing up from the spine.
        d.polygon([(cx - 19 * S, cy - 9 * S), (cx, cy - 5 * S), (cx + 19 * S, cy - 9 * S),
                   (cx + 19 * S, cy + 12 * S), (cx, cy + 15 * S), (cx - 19 * S, cy + 12 * S)], fill=cover)
        for k in (-1, 1):
            d.polygon([(cx, cy - 7 * S), (cx + k * 8 * S, cy - 12 * S), (cx + k * 17 * S, cy - 11 * S),
                       (cx + k * 17 * S, cy + 9 * S), (cx + k * 8 * S, cy + 8 * S), (cx, cy + 12 * S)],
                      fill=paper + (255,), outline=(90, 70, 40, 255))
            for i in range(4):
                y = cy - 6 * S + i * 4 * S
                d.line([(cx + k * 4 * S, y + S), (cx + k * 14 * S, y)], fill=(120, 100, 70, 200), width=S)
        d.line([(cx, cy - 7 * S), (cx, cy + 12 * S)], fill=(90, 70, 40, 255), width=2 * S)
        # The ribbon marker down from the spine.
        d.polygon([(cx + 2 * S, cy + 11 * S), (cx + 6 * S, cy + 11 * S), (cx + 6 * S, cy + 19 * S),
                   (cx + 4 * S, cy + 16 * S), (cx + 2 * S, cy + 19 * S)], fill=(190, 40, 40, 255))

    return smooth((n, n), paint)


BOOK_HINT = (744, 662, 220, 40)

# ---- Pictures -------------------------------------------------------------------------------------
FRAME = (262, 110, 500, 560)
SIGN = (392, 66, 240, 84)
PAD_W, PAD_H = 400, 50
ROW_W, ROW_H = 400, 44

save(board(FRAME[2:], 9701), "board.png")
save(hanging_sign(SIGN[2:], S), "sign.png")
save(strip((PAD_W, PAD_H), 9702), "pad.png")
save(strip((ROW_W, ROW_H), 9703), "row.png")
for state, rim in BOX_STATES.items():
    save(check_box(rim), f"box_{state}.png")
save(tick(), "tick.png")

PAUSE = (332, 178, 360, 400)
save(veil_with_board(PAUSE, 9704), "pause_back.png")
save(leaf((84, 84)), "leaf.png")

QW, QH = 440, 210
QX, QY = (1024 - QW) // 2, (768 - QH) // 2
save(board((QW, QH), 9705), "question.png")
for state, (top, bottom, paper) in BOOK_STATES.items():
    save(book_medallion(top, bottom, paper, state == "press"), f"book_{state}.png")
save(strip(BOOK_HINT[2:], 9706), "book_hint.png")

# ---- The options dialog ---------------------------------------------------------------------------
X0 = FRAME[0] + (FRAME[2] - PAD_W) // 2  # left edge of the rows
SLIDER_X = X0 + (PAD_W - 300) // 2
options = ["""\
; The options of the current player. The sliders set the music and sound volumes at once (near an
; end they snap to it; up from silence the music comes back at 0.7 and the sound at full); the
; boxes switch the tips, full screen, the animated cursor and the voices. OK (or Enter) keeps the
; changes in the player's profile, Cancel (or Escape) puts everything back. The dialog covers the
; screen, so its children's places are screen places; they are drawn in the order listed.
[Main]
x=0
y=0
xs=1024
ys=768
font=data/fonts/sans16.png
; how dark the screen behind the dialog becomes, and how long its fades take
bgAlpha=150
fadeTime=250
""",
           sprite("Frame", *FRAME, "board.png"),
           sprite("Sign", *SIGN, "sign.png"),
           text("Options", SIGN[0], SIGN[1] + 16, SIGN[2], SIGN[3] - 16, "#OPTIONS_TITLE", 2, "data/fonts/sans26b.png"),
           captioned_button("OptionsOk", 302, 596, 190, "#OPTIONS_OK", "confirm"),
           captioned_button("OptionsCancel", 532, 596, 190, "#OPTIONS_CANCEL", "click")]
y = 176
for name, key in (("Music", "#OPTIONS_MUSIC"), ("Sound", "#OPTIONS_SOUND")):
    options += [text(f"{name}Str", X0 + 8, y, PAD_W - 16, 26, key, 2, extra=("xalign=-1",)),
                sprite(f"{name}Pad", X0, y + 28, PAD_W, PAD_H, "pad.png"),
                slider(name, SLIDER_X, y + 28 + (PAD_H - 36) // 2)]
    y += 96
y += 8
for name, key in (("Tips", "#OPTIONS_TIPS"), ("Fullscreen", "#OPTIONS_FULLSCREEN"),
                  ("Cursor", "#OPTIONS_CURSOR"), ("Voices", "#OPTIONS_VOICES")):
    options += [sprite(f"{name}Box", X0, y, ROW_W, ROW_H, "row.png"),
                check(name, X0 + 10, y + (ROW_H - BOX) // 2),
                text(f"{name}Str", X0 + BOX + 24, y + 2, ROW_W - BOX - 34, ROW_H - 4, key, 0,
                     extra=("xalign=-1",))]
    y += ROW_H + 8
options.append(f"""\
[CheckOff]
; nothing in the box

[CheckOn]
ignore={PIC}tick.png
normal={PIC}tick.png
active={PIC}tick.png
press={PIC}tick.png
""")
write(os.path.join(menu, "options.ini"), "\n".join(options))

# ---- The pause menu -------------------------------------------------------------------------------
BX, BW = PAUSE[0] + (PAUSE[2] - 260) // 2, 260
game_menu = ["""\
; The menu over a level in play; the level stands still while it is shown. Continue (or Escape)
; goes back to the level; Restart and Exit ask first; Options opens the options. A plain window
; draws its children from the last to the first: "Back" (the darkened screen with the board) lies
; at the bottom, "Continue" on top. Places are screen places.
[Main]
x=0
y=0
xs=1024
ys=768
font=data/fonts/sans16.png
"""]
for i, (name, key, sound) in enumerate((("Continue", "#GAMEMENU_CONTINUE", "confirm"),
                                        ("Restart", "#GAMEMENU_RESTART", "click"),
                                        ("Options", "#GAMEMENU_OPTIONS", "click"),
                                        ("Exit", "#GAMEMENU_EXIT", "click"))):
    game_menu.append(captioned_button(name, BX, PAUSE[1] + 106 + i * 64, BW, key, sound))
game_menu += [sprite("Sign", 470, PAUSE[1] - 44, 84, 84, "leaf.png"),
              text("lblPause", PAUSE[0], PAUSE[1] + 48, PAUSE[2], 44, "#GAMEMENU_PAUSE", 2, "data/fonts/sans26b.png"),
              sprite("Back", 0, 0, 1024, 768, "pause_back.png")]
write(os.path.join(menu, "gameMenu.ini"), "\n".join(game_menu))


# The button over a level that opens the pause menu: a section of the interface's own definition.
menu_button = capped_button("Menu", 890, 712, 124, 48, "click").replace(
    "name=Menu\n", "name=#GAMEMENU_MENU\nfont=data/fonts/sans16.png\n")
# The book's button just left of "Menu", clear of the bonus panel (x 282 to 742) below the level,
# and its hint above the two.
book_button = ["type=sprite", "x=826", "y=708", f"xs={BOOK_SIZE}", f"ys={BOOK_SIZE}", "stage=1",
               *[f"{state}={PIC}book_{state}.png" for state in BOOK_STATES], "sndActivePress=click"]
book_hint = ["type=sprite", *[f"{k}={v}" for k, v in zip(("x", "y", "xs", "ys"), BOOK_HINT)],
             f"ignore={PIC}book_hint.png", "name=#GAMEMENU_BOOK_HINT", "font=data/fonts/sans16.png",
             "select=0", "xalign=0", "yalign=0", "isIgnore=1"]
merge_sections(os.path.join(data, "interface", "main.ini"),
               {"Menu": menu_button.splitlines()[1:], "BookButton": book_button, "BookHint": book_hint})


# ---- The pause menu's questions (data/menu/dialog.ini) --------------------------------------------
def question(name, text_key):
    # The dialog's own window covers the screen, so its darkening does too; the board is its
    # picture, centred, and the children's places are screen places.
    own = ["type=sprite", "x=0", "y=0", "xs=1024", "ys=768", f"normal={PIC}question.png", f"xsSpr={QW}",
           f"ysSpr={QH}", "xalignSpr=0", "yalignSpr=0", "font=data/fonts/sans16.png", "bgAlpha=90", "fadeTime=200"]
    sections = {name: own,
                f"{name}.Text": ["type=text", f"x={QX + 30}", f"y={QY + 30}", f"xs={QW - 60}", "ys=90",
                                 f"name={text_key}", "select=0", "yalign=0"]}
    bw, gap = 150, 30
    left = QX + (QW - (2 * bw + gap)) // 2
    for i, (child, key, sound) in enumerate((("DialogYes", "#GAMEMENU_YES", "confirm"),
                                             ("DialogNo", "#GAMEMENU_NO", "click"))):
        body = capped_button(child, left + i * (bw + gap), QY + QH - 76, bw, 48, sound).splitlines()[1:]
        sections[f"{name}.{child}"] = [line if not line.startswith("name=") else f"name={key}" for line in body]
    return sections


dialog_path = os.path.join(menu, "dialog.ini")
have = set()
if os.path.exists(dialog_path):
    with open(dialog_path, encoding="utf-8") as f:
        have = {line.strip()[1:-1].lower() for line in f if line.strip().startswith("[")}
questions = {}
questions.update(question("Restart", "#GAMEMENU_RESTART_ASK"))
questions.update(question("Abort", "#GAMEMENU_ABORT_ASK"))
# "Exit" belongs to the main menu's generator, which asks the same question about the game; only a
# demo without it gets this one.
if "exit" not in have:
    questions.update(question("Exit", "#GAMEMENU_EXIT_ASK"))
merge_sections(dialog_path, questions,
               header="; The questions and messages of the menus: a section per dialog, named by the caller,\n"
                      "; and its children as sections \"Dialog.Child\" placed relative to it.")

# ---- Texts ----------------------------------------------------------------------------------------
TEXTS = [
    ("OPTIONS_TITLE", "Options", "Настройки"),
    ("OPTIONS_MUSIC", "Music", "Музыка"),
    ("OPTIONS_SOUND", "Sound", "Звуки"),
    ("OPTIONS_TIPS", "Show tips", "Подсказки"),
    ("OPTIONS_FULLSCREEN", "Full screen", "Во весь экран"),
    ("OPTIONS_CURSOR", "Animated cursor", "Анимированный курсор"),
    ("OPTIONS_VOICES", "Voices", "Голоса"),
    ("OPTIONS_OK", "OK", "OK"),
    ("OPTIONS_CANCEL", "Cancel", "Отмена"),
    ("GAMEMENU_MENU", "Menu", "Меню"),
    ("GAMEMENU_BOOK_HINT", "Book of achievements", "Книга достижений"),
    ("GAMEMENU_PAUSE", "Pause", "Пауза"),
    ("GAMEMENU_CONTINUE", "Continue", "Продолжить"),
    ("GAMEMENU_RESTART", "Restart", "Начать заново"),
    ("GAMEMENU_OPTIONS", "Options", "Настройки"),
    ("GAMEMENU_EXIT", "Leave the level", "Выйти с уровня"),
    ("GAMEMENU_YES", "Yes", "Да"),
    ("GAMEMENU_NO", "No", "Нет"),
    ("GAMEMENU_RESTART_ASK", "Start this level again from the beginning?", "Начать этот уровень сначала?"),
    ("GAMEMENU_ABORT_ASK", "Give up this level and go back to the map?", "Бросить уровень и вернуться к карте?"),
    ("GAMEMENU_EXIT_ASK", "Do you really want to leave?", "Вы действительно хотите выйти?"),
]
# In place when the section is there already (appended otherwise), so running this generator on its
# own leaves the order of the other generators' sections alone.
for file, column in (("translation.ini", 1), ("translation_ru.ini", 2)):
    merge_sections(os.path.join(data, file), {"options": [f"#{t[0]}={t[column]}" for t in TEXTS]})
