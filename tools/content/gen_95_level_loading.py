#!/usr/bin/env python3
"""Writes the level loading screen (data/menu/levelLoading.ini) and its hints
(data/menu/LoadingHints/hints.ini, hint1.ini .. hint6.ini), their pictures under
data/menu/levelLoading/ and data/menu/LoadingHints/, and their texts in English and Russian.

The screen is a wooden board on the meadow: the level's name on a hanging sign, a parchment with
a tip and its small picture, a row of dark shield slots that the lit shields cover one by one as
the level loads, and a little framed picture of the level's season (one per episode). Every
picture is painted at four times its size and scaled down, the same on every run.
"""
import math
import os
import random
import sys

from PIL import Image, ImageDraw, ImageFilter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from building_art import cottage  # noqa: E402
from campaign_art import gold_bonus  # noqa: E402
from level_common import own_section_last, write  # noqa: E402
from menu_paint import supersampled  # noqa: E402
from meadow_art import bush  # noqa: E402

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))
data = os.path.join(target, "data")
menu = os.path.join(data, "menu")
pics = os.path.join(menu, "levelLoading")
hints = os.path.join(menu, "LoadingHints")
os.makedirs(pics, exist_ok=True)
os.makedirs(hints, exist_ok=True)
W, H = 1024, 768
S = 4  # supersampling factor

# The layout, shared by the pictures and the definitions.
BOARD = (152, 70, 872, 700)           # the wooden board
PAPER = (232, 226, 792, 470)          # the parchment the hint stands on
SHIELDS, SHIELD_W, SHIELD_H, PITCH = 8, 48, 56, 66
SHIELD_X = (W - ((SHIELDS - 1) * PITCH + SHIELD_W)) // 2
SHIELD_Y = 500
EPISODE = (432, 586, 160, 96)         # x, y, width, height of the season picture



def smooth(size, paint):
    return supersampled(size, paint, S)


def scaled(box):
    return [v * S for v in box]


# ---- Background: the meadow, the board, the sign and the parchment ------------------------------
def background():
    rng = random.Random(9501)
    img = Image.new("RGB", (W, H))
    d = ImageDraw.Draw(img)
    for y in range(H):
        t = y / (H - 1)
        if y < 300:
            c = tuple(int(a + (b - a) * (y / 300)) for a, b in zip((142, 196, 236), (214, 234, 226)))
        else:
            c = tuple(int(a + (b - a) * ((y - 300) / 468)) for a, b in zip((126, 182, 84), (76, 132, 56)))
        d.line([(0, y), (W, y)], fill=c)
    d.ellipse([-300, 250, 600, 420], fill=(112, 170, 76))
    d.ellipse([400, 260, 1400, 440], fill=(104, 162, 70))
    for _ in range(900):
        x, y = rng.randrange(W), rng.randrange(330, H)
        d.line([(x, y), (x + rng.randrange(-3, 4), y - rng.randrange(5, 12))], fill=(60, 118, 44), width=1)
    for _ in range(60):
        x, y = rng.randrange(W), rng.randrange(360, H)
        d.ellipse([x - 3, y - 3, x + 3, y + 3], fill=rng.choice([(250, 226, 90), (240, 160, 180), (250, 250, 250)]))
    img = img.filter(ImageFilter.SMOOTH)
    board = smooth((W, H), paint_board)
    img.paste(board, (0, 0), board)
    return img


def paint_board(d, img):
    rng = random.Random(9502)
    x0, y0, x1, y1 = scaled(BOARD)
    d.rounded_rectangle([x0 + 8 * S, y0 + 10 * S, x1 + 8 * S, y1 + 10 * S], radius=28 * S, fill=(20, 30, 10, 100))
    d.rounded_rectangle([x0, y0, x1, y1], radius=28 * S, fill=(70, 44, 22, 255))
    inner = [x0 + 10 * S, y0 + 10 * S, x1 - 10 * S, y1 - 10 * S]
    d.rounded_rectangle(inner, radius=20 * S, fill=(136, 92, 52, 255))
    # Planks, their seams and the grain.
    for k in range(1, 6):
        y = inner[1] + (inner[3] - inner[1]) * k // 6
        d.line([(inner[0], y), (inner[2], y)], fill=(92, 60, 32, 255), width=2 * S)
    for _ in range(160):
        y = rng.randrange(inner[1] + 4 * S, inner[3] - 4 * S)
        x = rng.randrange(inner[0] + 6 * S, inner[2] - 80 * S)
        d.line([(x, y), (x + rng.randrange(30, 90) * S, y + rng.randrange(-2, 3) * S)], fill=(108, 72, 40, 255),
               width=S)
    for cx, cy in [(x0 + 24 * S, y0 + 24 * S), (x1 - 24 * S, y0 + 24 * S), (x0 + 24 * S, y1 - 24 * S),
                   (x1 - 24 * S, y1 - 24 * S)]:
        d.ellipse([cx - 6 * S, cy - 6 * S, cx + 6 * S, cy + 6 * S], fill=(74, 70, 74, 255))
        d.ellipse([cx - 3 * S, cy - 4 * S, cx, cy - S], fill=(150, 150, 156, 255))
    # The sign that carries the level's name.
    sx0, sy0, sx1, sy1 = 312 * S, 96 * S, 712 * S, 168 * S
    d.rounded_rectangle([sx0 + 5 * S, sy0 + 6 * S, sx1 + 5 * S, sy1 + 6 * S], radius=16 * S, fill=(40, 24, 10, 120))
    d.rounded_rectangle([sx0, sy0, sx1, sy1], radius=16 * S, fill=(92, 58, 28, 255))
    d.rounded_rectangle([sx0 + 6 * S, sy0 + 6 * S, sx1 - 6 * S, sy1 - 6 * S], radius=12 * S, fill=(176, 124, 70, 255))
    # The parchment of the hint, with curled ends.
    px0, py0, px1, py1 = scaled(PAPER)
    d.rounded_rectangle([px0 + 6 * S, py0 + 8 * S, px1 + 6 * S, py1 + 8 * S], radius=10 * S, fill=(40, 24, 10, 110))
    d.rounded_rectangle([px0, py0, px1, py1], radius=10 * S, fill=(240, 226, 184, 255))
    for _ in range(220):
        x, y = rng.randrange(px0 + 10 * S, px1 - 10 * S), rng.randrange(py0 + 10 * S, py1 - 10 * S)
        r = rng.randrange(2, 9) * S
        d.ellipse([x - r, y - r, x + r, y + r], fill=(230, 212, 166, 255))
    for x in (px0, px1):
        d.rounded_rectangle([x - 12 * S, py0 - 6 * S, x + 12 * S, py1 + 6 * S], radius=12 * S, fill=(214, 194, 146, 255),
                            outline=(150, 120, 80, 255), width=2 * S)
    # The dark slots the shields light up in.
    for i in range(SHIELDS):
        x, y = (SHIELD_X + i * PITCH) * S, SHIELD_Y * S
        shield_shape(d, x, y, SHIELD_W * S, SHIELD_H * S, (56, 36, 18, 255), (40, 24, 10, 255))
    # The frame of the season picture.
    ex, ey, ew, eh = EPISODE
    d.rounded_rectangle([(ex - 8) * S, (ey - 8) * S, (ex + ew + 8) * S, (ey + eh + 8) * S], radius=8 * S,
                        fill=(84, 54, 26, 255))


def shield_shape(d, x, y, w, h, fill, outline):
    pts = [(x, y), (x + w, y), (x + w, y + h * 0.55), (x + w / 2, y + h), (x, y + h * 0.55)]
    d.polygon(pts, fill=fill, outline=outline)
    d.line(pts + [pts[0]], fill=outline, width=2 * S)


def lit_shield():
    def paint(d, img):
        w, h = SHIELD_W * S, SHIELD_H * S
        shield_shape(d, 2 * S, 2 * S, w - 4 * S, h - 4 * S, (232, 178, 52, 255), (120, 70, 20, 255))
        # A green band and a white flower on it.
        d.polygon([(2 * S, 18 * S), (w - 2 * S, 18 * S), (w - 2 * S, 28 * S), (2 * S, 28 * S)], fill=(70, 140, 60, 255))
        cx, cy, r = w / 2, 23 * S, 5 * S
        for k in range(6):
            a = k * math.pi / 3
            px, py = cx + math.cos(a) * r, cy + math.sin(a) * r
            d.ellipse([px - 3 * S, py - 3 * S, px + 3 * S, py + 3 * S], fill=(252, 252, 244, 255))
        d.ellipse([cx - 3 * S, cy - 3 * S, cx + 3 * S, cy + 3 * S], fill=(240, 190, 40, 255))
        d.polygon([(7 * S, 6 * S), (w / 2, 6 * S), (w / 2 - 6 * S, 14 * S), (7 * S, 14 * S)], fill=(255, 230, 150, 160))

    return smooth((SHIELD_W, SHIELD_H), paint)


# ---- The seasons of the three episodes -----------------------------------------------------------
def season(kind):
    rng = random.Random(9510 + kind)
    ew, eh = EPISODE[2], EPISODE[3]
    sky = [((150, 206, 240), (220, 240, 230)), ((236, 196, 140), (246, 226, 190)), ((176, 196, 220), (232, 238, 246))][kind]
    land = [(104, 166, 70), (170, 132, 58), (236, 240, 246)][kind]
    img = Image.new("RGB", (ew * S, eh * S))
    d = ImageDraw.Draw(img)
    for y in range(eh * S):
        t = y / (eh * S)
        d.line([(0, y), (ew * S, y)], fill=tuple(int(a + (b - a) * t) for a, b in zip(*sky)))
    d.ellipse([-40 * S, 56 * S, 120 * S, 130 * S], fill=land)
    d.ellipse([60 * S, 62 * S, 220 * S, 140 * S], fill=tuple(max(0, c - 18) for c in land))
    crowns = [(60, 150, 50), (214, 120, 40), (250, 250, 255)][kind]
    for x in (36, 112):
        d.rectangle([(x - 3) * S, 44 * S, (x + 3) * S, 72 * S], fill=(110, 74, 40))
        d.ellipse([(x - 20) * S, 16 * S, (x + 20) * S, 52 * S], fill=crowns, outline=(90, 90, 90) if kind == 2 else None)
    if kind == 0:
        d.ellipse([118 * S, 8 * S, 146 * S, 36 * S], fill=(252, 226, 90))
    for _ in range(18 if kind else 0):
        x, y = rng.randrange(ew * S), rng.randrange(eh * S)
        if kind == 1:
            d.ellipse([x - 3 * S, y - 2 * S, x + 3 * S, y + 2 * S], fill=rng.choice([(200, 90, 30), (230, 170, 40)]))
        else:
            d.ellipse([x - 2 * S, y - 2 * S, x + 2 * S, y + 2 * S], fill=(255, 255, 255))
    return img.resize((ew, eh), Image.LANCZOS)


# ---- Hint pictures -------------------------------------------------------------------------------
def fit(img, size=96):
    k = min(size / img.width, size / img.height)
    img = img.resize((max(1, round(img.width * k)), max(1, round(img.height * k))), Image.LANCZOS)
    out = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    out.paste(img, ((size - img.width) // 2, (size - img.height) // 2), img)
    return out


def star_picture(count):
    def paint(d, img):
        for i in range(count):
            cx = (96 / (count + 1) * (i + 1)) * S
            cy = (48 + (0 if i == count // 2 or count == 1 else 8)) * S
            r = (30 if count == 1 else 18) * S
            pts = []
            for k in range(10):
                a = -math.pi / 2 + k * math.pi / 5
                rr = r if k % 2 == 0 else r * 0.45
                pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
            d.polygon(pts, fill=(250, 204, 60, 255), outline=(150, 100, 20, 255))
            d.line(pts + [pts[0]], fill=(150, 100, 20, 255), width=2 * S)

    return smooth((96, 96), paint)


def refused_picture():
    base = fit(bush(), 96)

    def paint(d, img):
        for a, b in (((26, 20), (70, 64)), ((70, 20), (26, 64))):
            d.line([(a[0] * S, a[1] * S), (b[0] * S, b[1] * S)], fill=(120, 10, 10, 255), width=14 * S)
            d.line([(a[0] * S, a[1] * S), (b[0] * S, b[1] * S)], fill=(226, 40, 36, 255), width=9 * S)

    cross = smooth((96, 96), paint)
    base.alpha_composite(cross)
    return base


def upgrade_picture():
    base = fit(cottage(), 96)

    def paint(d, img):
        d.polygon([(78 * S, 6 * S), (94 * S, 26 * S), (85 * S, 26 * S), (85 * S, 44 * S), (71 * S, 44 * S), (71 * S, 26 * S),
                   (62 * S, 26 * S)], fill=(90, 190, 60, 255), outline=(30, 90, 20, 255))

    base.alpha_composite(smooth((96, 96), paint))
    return base


def clock_picture():
    def paint(d, img):
        cx, cy, r = 48 * S, 50 * S, 38 * S
        d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(250, 244, 220, 255), outline=(110, 70, 30, 255), width=5 * S)
        for k in range(12):
            a = k * math.pi / 6
            d.line([(cx + math.cos(a) * r * 0.78, cy + math.sin(a) * r * 0.78), (cx + math.cos(a) * r * 0.9,
                    cy + math.sin(a) * r * 0.9)], fill=(110, 70, 30, 255), width=2 * S)
        d.line([(cx, cy), (cx, cy - r * 0.7)], fill=(60, 40, 20, 255), width=4 * S)
        d.line([(cx, cy), (cx + r * 0.45, cy + r * 0.2)], fill=(60, 40, 20, 255), width=4 * S)
        d.pieslice([cx - r * 0.6, cy - r * 0.6, cx + r * 0.6, cy + r * 0.6], -90, 30, fill=(250, 204, 60, 150))

    return smooth((96, 96), paint)


def frame_picture():
    """The hint's frame: a carved border with an open middle, standing over the hint."""
    fw, fh = PAPER[2] - PAPER[0] + 20, PAPER[3] - PAPER[1] + 20

    def paint(d, img):
        d.rounded_rectangle([2 * S, 2 * S, (fw - 2) * S, (fh - 2) * S], radius=14 * S, outline=(92, 58, 28, 255),
                            width=9 * S)
        d.rounded_rectangle([10 * S, 10 * S, (fw - 10) * S, (fh - 10) * S], radius=9 * S, outline=(196, 150, 90, 255),
                            width=2 * S)

    return smooth((fw, fh), paint)


HINTS = [
    # picture, English, Russian
    (lambda: fit(bush()), "Click a bush, a stone or a building site: a worker walks out of the barn and does the work.",
     "Щёлкните по кусту, камню или стройплощадке: работник выйдет из амбара и сделает дело."),
    (lambda: fit(gold_bonus()), "Food, Ore and Gold pay for the work. The boards at the top show what you have.",
     "Еда, руда и золото оплачивают работу. Доски наверху показывают, сколько их у вас."),
    (lambda: star_picture(3), "Meet the goals before the gold time for three stars, before the silver time for two.",
     "Выполните задания до золотого времени, и вы получите три звезды, до серебряного — две."),
    (refused_picture, "A red cross over an object means: not enough resources, no way there, or every worker is busy.",
     "Красный крест над предметом значит: не хватает ресурсов, туда нет пути или все работники заняты."),
    (upgrade_picture, "Click a finished building again to upgrade it: it works faster and holds more.",
     "Щёлкните по готовому зданию ещё раз, чтобы улучшить его: оно будет работать быстрее."),
    (clock_picture, "The clock starts with your first click, so look around the map first and make a plan.",
     "Часы идут с первого щелчка: сначала осмотрите карту и составьте план."),
]


def main():
    background().save(os.path.join(pics, "back.jpg"), quality=90)
    lit_shield().save(os.path.join(pics, "shield.png"), optimize=True)
    for k in range(3):
        season(k).save(os.path.join(pics, f"episode{k + 1}.jpg"), quality=92)
    frame_picture().save(os.path.join(hints, "frame.png"), optimize=True)
    for i, (picture, _, _) in enumerate(HINTS, 1):
        picture().save(os.path.join(hints, f"hint{i}.png"), optimize=True)

    ex, ey, ew, eh = EPISODE
    episodes = "".join(
        f"\n[episode{k}]\ntype=sprite\nx={ex}\ny={ey}\nxs={ew}\nys={eh}\n"
        f"normal=data/menu/levelLoading/episode{k}.jpg\nignore=data/menu/levelLoading/episode{k}.jpg\n" for k in (1, 2, 3))
    write(os.path.join(menu, "levelLoading.ini"), f"""; The level loading screen: the level's name on the sign, the hint (data/menu/LoadingHints/),
; the shields that light up one by one as the level loads, and the picture of the level's season.
[Main]
normal=data/menu/levelLoading/back.jpg
font=data/fonts/sans16.png

[Level]
type=text
x=322
y=114
xs=380
ys=40
name=#LOADING_LEVEL
font=data/fonts/sans26b.png
select=1

[ShieldTable]
cols={SHIELDS}
deltaX={PITCH}
x={SHIELD_X}
y={SHIELD_Y}

[shield]
type=sprite
xs={SHIELD_W}
ys={SHIELD_H}
normal=data/menu/levelLoading/shield.png
ignore=data/menu/levelLoading/shield.png
{episodes}""")

    fx, fy = PAPER[0] - 10, PAPER[1] - 10
    write(os.path.join(hints, "hints.ini"), f"""; The hints of the level loading screen: how many there are, and the frame every hint stands in.
; Each hint<n>.ini holds the windows of one hint, placed from the frame's top left corner.
[Main]
hintsMax={len(HINTS)}

[Frame]
type=sprite
x={fx}
y={fy}
xs={PAPER[2] - PAPER[0] + 20}
ys={PAPER[3] - PAPER[1] + 20}
normal=data/menu/LoadingHints/frame.png
ignore=data/menu/LoadingHints/frame.png
""")
    for i in range(1, len(HINTS) + 1):
        write(os.path.join(hints, f"hint{i}.ini"), f"""; Loading hint {i}: a title, the tip and its picture.
[Main]

[Title]
type=text
x=30
y=26
xs=520
ys=30
name=#LOADING_HINT_TITLE
font=data/fonts/sans26b.png
select=1

[Picture]
type=sprite
x=40
y=100
xs=96
ys=96
normal=data/menu/LoadingHints/hint{i}.png
ignore=data/menu/LoadingHints/hint{i}.png

[Text]
type=text
x=160
y=90
xs=380
ys=130
xalign=-1
name=#LOADING_HINT_{i}
font=data/fonts/sans16.png
select=2
""")

    texts = [("LOADING_LEVEL", "Loading", "Загрузка:"), ("LOADING_HINT_TITLE", "Did you know?", "А вы знали?")]
    texts += [(f"LOADING_HINT_{i}", en, ru) for i, (_, en, ru) in enumerate(HINTS, 1)]
    for file, column in (("translation.ini", 1), ("translation_ru.ini", 2)):
        own_section_last(os.path.join(data, file), "levelLoading",
                         "[levelLoading]\n" + "".join(f"#{t[0]}={t[column]}\n" for t in texts), write)
    print("level loading: data/menu/levelLoading.ini, data/menu/LoadingHints/hints.ini and hint1..6.ini, texts EN + RU")


main()
