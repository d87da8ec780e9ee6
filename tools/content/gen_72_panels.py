#!/usr/bin/env python3
"""Writes the in-game boards: data/interface/panels.ini, their pictures in data/interface/panels/,
and the texts of the goals in data/translation.ini and data/translation_ru.ini.

The level is framed by three wooden boards drawn over the map: the resource board along the top
left (workers, Food, Ore and Gold against their maxima, each on a parchment pocket with its icon),
the time board in the top right corner (the level clock, a bar of the time left with a gold and a
silver pin where those times run out, and the stars a win would earn now), and the goal board
below it, a parchment between wooden rims that grows by one strip for every goal shown, a red dot
for a goal still open and a green one for a goal met. Each section gives a board's place and size
on the 1024 x 768 screen and its pictures; the font is an entry of the sprite library
(data/fonts/fonts.ini).
"""
import os
import random
import sys

from PIL import Image, ImageDraw, ImageFilter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from level_common import own_section_last, target_dir, write  # noqa: E402

target = target_dir(sys.argv)
data = os.path.join(target, "data")
folder = os.path.join(data, "interface")
pictures = os.path.join(folder, "panels")
os.makedirs(pictures, exist_ok=True)

SCREEN_W = 1024
MARGIN = 8
RES_W, RES_H = 440, 40
TIME_W, TIME_H = 208, 76
GOAL_W = 280
RIM = 6          # the goal board's wooden rim above and below its rows
ROW = 24         # one goal row: one "BoardMiddle" strip
BAR = (10, 34, 188, 12)  # the time bar inside its board: x, y, width, height
SS = 3           # pictures are painted this many times larger and shrunk, for smooth edges

WOOD_DARK = (92, 58, 30)
WOOD = (146, 98, 54)
WOOD_LIGHT = (186, 134, 80)
PARCHMENT = (241, 226, 188)
PARCHMENT_EDGE = (204, 176, 124)
INK = (72, 46, 22)


def rel(name):
    return "data/interface/panels/" + name


def save(img, name):
    img.save(os.path.join(pictures, name), optimize=True)
    return rel(name)


def big(w, h):
    return Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))


def small(img, w, h):
    return img.resize((w, h), Image.LANCZOS)


def _mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def wood(w, h, seed, radius=6, rim=True):
    """A plank of warm wood: lighter at the top, grain running along it, a dark rounded edge."""
    rng = random.Random(seed)
    W, H = w * SS, h * SS
    img = big(w, h)
    d = ImageDraw.Draw(img)
    for y in range(H):
        t = y / max(1, H - 1)
        d.line([(0, y), (W, y)], fill=_mix(WOOD_LIGHT, WOOD, min(1.0, t * 1.6)) + (255,))
    for _ in range(max(4, h // 3)):
        y = rng.uniform(0, H)
        pts = [(x, y + 2.5 * SS * ((x * 0.011 + rng.random() * 0.2) % 1 - 0.5)) for x in range(0, W + 24, 24)]
        d.line(pts, fill=_mix(WOOD, WOOD_DARK, rng.uniform(0.25, 0.6)) + (255,), width=SS)
    for _ in range(max(1, w // 140)):  # knots
        cx, cy = rng.uniform(0.1, 0.9) * W, rng.uniform(0.3, 0.7) * H
        r = rng.uniform(2, 3.5) * SS
        d.ellipse([cx - 2 * r, cy - r, cx + 2 * r, cy + r], outline=WOOD_DARK + (255,), width=SS)
    mask = Image.new("L", (W, H), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, W - 1, H - 1], radius * SS, fill=255)
    img.putalpha(mask)
    if rim:
        d = ImageDraw.Draw(img)
        d.rounded_rectangle([SS, SS, W - 1 - SS, H - 1 - SS], radius * SS, outline=WOOD_DARK + (255,), width=2 * SS)
        d.line([(radius * SS, 3 * SS), (W - radius * SS, 3 * SS)], fill=_mix(WOOD_LIGHT, (255, 236, 200), 0.4) + (255,),
               width=SS)
    return img


def parchment(w, h, seed, radius=4):
    """A sheet of parchment with speckles and a browned edge, as a picture of w x h (painted big)."""
    rng = random.Random(seed)
    W, H = w * SS, h * SS
    img = Image.new("RGBA", (W, H), PARCHMENT + (255,))
    d = ImageDraw.Draw(img)
    for _ in range(w * h // 12):
        x, y = rng.uniform(0, W), rng.uniform(0, H)
        d.point((x, y), fill=_mix(PARCHMENT, PARCHMENT_EDGE, rng.uniform(0.3, 0.9)) + (255,))
    edge = Image.new("L", (W, H), 0)
    ImageDraw.Draw(edge).rounded_rectangle([2 * SS, 2 * SS, W - 2 * SS, H - 2 * SS], radius * SS, fill=255)
    edge = edge.filter(ImageFilter.GaussianBlur(2 * SS))
    brown = Image.new("RGBA", (W, H), PARCHMENT_EDGE + (255,))
    img = Image.composite(img, brown, edge)
    mask = Image.new("L", (W, H), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, W - 1, H - 1], radius * SS, fill=255)
    img.putalpha(mask)
    return img


def nail(d, x, y):
    r = 2 * SS
    d.ellipse([x - r, y - r, x + r, y + r], fill=(70, 66, 60, 255), outline=(40, 36, 30, 255))
    d.point((x - SS // 2, y - SS // 2), fill=(200, 196, 190, 255))


# ---- The resource board: four parchment pockets on one plank ---------------------------------
SLOT = RES_W // 4
POCKET = (34, 5, SLOT - 40, RES_H - 10)  # inside a slot: x, y, width, height (the number's place)
board = wood(RES_W, RES_H, 11)
d = ImageDraw.Draw(board)
for i in range(4):
    px, py, pw, ph = POCKET
    sheet = parchment(pw, ph, 20 + i)
    board.alpha_composite(sheet, ((i * SLOT + px) * SS, py * SS))
    if i:
        x = i * SLOT * SS
        d.line([(x, 4 * SS), (x, (RES_H - 4) * SS)], fill=WOOD_DARK + (255,), width=2 * SS)
for x in (6, RES_W - 6):
    nail(d, x * SS, RES_H // 2 * SS)
resource_board = save(small(board, RES_W, RES_H), "resource_board.png")

ICON = 28


def icon_worker():
    img = big(ICON, ICON)
    d = ImageDraw.Draw(img)
    s = SS
    d.ellipse([9 * s, 17 * s, 19 * s, 27 * s], fill=(70, 110, 170, 255), outline=INK + (255,), width=s)  # coat
    d.rectangle([9 * s, 22 * s, 19 * s, 27 * s], fill=(70, 110, 170, 255))
    d.ellipse([9 * s, 6 * s, 19 * s, 16 * s], fill=(240, 196, 150, 255), outline=INK + (255,), width=s)  # face
    d.pieslice([7 * s, 2 * s, 21 * s, 14 * s], 180, 360, fill=(190, 150, 60, 255), outline=INK + (255,), width=s)
    d.rectangle([5 * s, 8 * s, 23 * s, 9 * s], fill=(190, 150, 60, 255))  # straw hat's brim
    return img


def icon_food():
    img = big(ICON, ICON)
    d = ImageDraw.Draw(img)
    s = SS
    d.polygon([(14 * s, 3 * s), (24 * s, 6 * s), (16 * s, 10 * s)], fill=(70, 150, 60, 255))  # leaf
    for cx, cy in ((9, 15), (18, 14), (13, 21), (21, 21), (7, 22)):
        d.ellipse([(cx - 5) * s, (cy - 5) * s, (cx + 5) * s, (cy + 5) * s], fill=(196, 36, 48, 255),
                  outline=(110, 16, 24, 255), width=s)
        d.ellipse([(cx - 3) * s, (cy - 3) * s, (cx - 1) * s, (cy - 1) * s], fill=(255, 190, 190, 255))
    return img


def icon_ore():
    img = big(ICON, ICON)
    d = ImageDraw.Draw(img)
    s = SS
    rock = [(4 * s, 20 * s), (8 * s, 9 * s), (16 * s, 5 * s), (24 * s, 11 * s), (25 * s, 22 * s), (14 * s, 26 * s)]
    d.polygon(rock, fill=(120, 124, 140, 255), outline=(50, 52, 64, 255))
    d.polygon([(8 * s, 9 * s), (16 * s, 5 * s), (15 * s, 14 * s)], fill=(168, 172, 188, 255))
    d.polygon([(15 * s, 14 * s), (24 * s, 11 * s), (25 * s, 22 * s)], fill=(92, 96, 112, 255))
    for x, y in ((11, 17), (19, 18), (14, 21)):  # glints of metal
        d.ellipse([(x - 1) * s, (y - 1) * s, (x + 1) * s, (y + 1) * s], fill=(220, 140, 90, 255))
    return img


def icon_gold():
    img = big(ICON, ICON)
    d = ImageDraw.Draw(img)
    s = SS
    for i, (cx, cy) in enumerate(((10, 21), (18, 21), (14, 15), (14, 9))):
        d.ellipse([(cx - 7) * s, (cy - 4) * s, (cx + 7) * s, (cy + 4) * s], fill=(232, 184, 40, 255),
                  outline=(140, 96, 10, 255), width=s)
        d.ellipse([(cx - 4) * s, (cy - 2) * s, (cx + 4) * s, (cy + 2) * s], outline=(255, 228, 120, 255), width=s)
    return img


icons = [save(small(f(), ICON, ICON), n) for f, n in ((icon_worker, "icon_worker.png"), (icon_food, "icon_food.png"),
                                                     (icon_ore, "icon_ore.png"), (icon_gold, "icon_gold.png"))]

# ---- The goal board: rims of wood round parchment strips, one strip per goal -------------------
SIDE = 8


def goal_rim(seed, top):
    img = wood(GOAL_W, RIM * 2, seed, radius=5)
    # The half that meets the strips is cut straight; the other keeps its rounded corners.
    img = img.crop((0, 0, GOAL_W * SS, RIM * SS)) if top else img.crop((0, RIM * SS, GOAL_W * SS, 2 * RIM * SS))
    return small(img, GOAL_W, RIM)


def goal_middle():
    img = wood(GOAL_W, ROW, 31, radius=0, rim=False)
    d = ImageDraw.Draw(img)
    img.alpha_composite(parchment(GOAL_W - 2 * SIDE, ROW, 32, radius=0), (SIDE * SS, 0))
    d.line([(SS, 0), (SS, ROW * SS)], fill=WOOD_DARK + (255,), width=2 * SS)
    d.line([(GOAL_W * SS - 2 * SS, 0), (GOAL_W * SS - 2 * SS, ROW * SS)], fill=WOOD_DARK + (255,), width=2 * SS)
    # A faint rule under each goal, as on a written list.
    d.line([((SIDE + 6) * SS, (ROW - 1) * SS), ((GOAL_W - SIDE - 6) * SS, (ROW - 1) * SS)],
           fill=PARCHMENT_EDGE + (255,), width=SS)
    return small(img, GOAL_W, ROW)


task_top = save(goal_rim(33, True), "task_top.png")
task_middle = save(goal_middle(), "task_middle.png")
task_bottom = save(goal_rim(34, False), "task_bottom.png")

DOT = 16


def dot(colour, tick):
    img = big(DOT, DOT)
    d = ImageDraw.Draw(img)
    s = SS
    d.ellipse([1 * s, 1 * s, 15 * s, 15 * s], fill=WOOD_DARK + (255,))
    if colour:
        d.ellipse([3 * s, 3 * s, 13 * s, 13 * s], fill=colour + (255,))
        d.ellipse([5 * s, 4 * s, 8 * s, 7 * s], fill=(255, 255, 255, 170))
    else:
        d.ellipse([3 * s, 3 * s, 13 * s, 13 * s], fill=(120, 84, 50, 255))
    if tick:
        d.line([(4 * s, 8 * s), (7 * s, 11 * s), (13 * s, 3 * s)], fill=(255, 255, 240, 255), width=2 * s)
    return small(img, DOT, DOT)


dot_red = save(dot((206, 40, 36), False), "dot_red.png")
dot_green = save(dot((50, 160, 50), True), "dot_green.png")
dot_empty = save(dot(None, False), "dot_empty.png")

# ---- The time board: a plank with a parchment face, the bar, its pins and the stars ------------
tboard = wood(TIME_W, TIME_H, 41)
tboard.alpha_composite(parchment(TIME_W - 12, TIME_H - 12, 42), (6 * SS, 6 * SS))
d = ImageDraw.Draw(tboard)
for x, y in ((4, 4), (TIME_W - 4, 4), (4, TIME_H - 4), (TIME_W - 4, TIME_H - 4)):
    nail(d, x * SS, y * SS)
time_board = save(small(tboard, TIME_W, TIME_H), "time_board.png")

bx, by, bw, bh = BAR
track = big(bw, bh)
d = ImageDraw.Draw(track)
d.rounded_rectangle([0, 0, bw * SS - 1, bh * SS - 1], bh * SS // 2, fill=(96, 66, 40, 255), outline=INK + (255,),
                    width=SS)
time_bar = save(small(track, bw, bh), "time_bar.png")
fill = big(bw, bh)
d = ImageDraw.Draw(fill)
for y in range(bh * SS):  # a green, lighter at the top, as a glass tube
    t = y / (bh * SS)
    d.line([(0, y), (bw * SS, y)], fill=_mix((150, 210, 110), (60, 130, 50), t) + (255,))
fmask = Image.new("L", (bw * SS, bh * SS), 0)
ImageDraw.Draw(fmask).rounded_rectangle([SS, SS, bw * SS - 1 - SS, bh * SS - 1 - SS], bh * SS // 2, fill=255)
fill.putalpha(fmask)
time_fill = save(small(fill, bw, bh), "time_fill.png")

PIN_W, PIN_H = 10, 22


def pin(colour, edge):
    img = big(PIN_W, PIN_H)
    d = ImageDraw.Draw(img)
    s = SS
    d.line([(5 * s, 6 * s), (5 * s, 21 * s)], fill=INK + (255,), width=2 * s)
    d.ellipse([0, 0, 10 * s - 1, 10 * s - 1], fill=colour + (255,), outline=edge + (255,), width=s)
    d.ellipse([2 * s, 2 * s, 5 * s, 5 * s], fill=(255, 255, 255, 200))
    return small(img, PIN_W, PIN_H)


mark_gold = save(pin((240, 196, 40), (140, 96, 10)), "mark_gold.png")
mark_silver = save(pin((214, 218, 228), (110, 114, 128)), "mark_silver.png")

STAR = 16


def star(lit):
    import math
    img = big(STAR, STAR)
    d = ImageDraw.Draw(img)
    c = STAR * SS / 2
    pts = []
    for k in range(10):
        r = (7.5 if k % 2 == 0 else 3.2) * SS
        a = -math.pi / 2 + k * math.pi / 5
        pts.append((c + r * math.cos(a), c + 0.5 * SS + r * math.sin(a)))
    d.polygon(pts, fill=((250, 204, 40) if lit else (150, 120, 90)) + (255,),
              outline=((150, 100, 10) if lit else (96, 70, 46)) + (255,))
    return small(img, STAR, STAR)


star_on = save(star(True), "star_on.png")
star_off = save(star(False), "star_off.png")

# ---- The layout file ---------------------------------------------------------------------------
boards = [
    ("Main", {"Font": "TextFont"}),
    ("ResourceInterface", {"x": MARGIN, "y": 6, "width": RES_W, "height": RES_H, "Board": resource_board,
                           "Worker": icons[0], "Food": icons[1], "Ore": icons[2], "Gold": icons[3],
                           "imageX": 4, "numberX": POCKET[0] + 6}),
    ("TimeInterface", {"x": SCREEN_W - MARGIN - TIME_W, "y": 6, "width": TIME_W, "height": TIME_H,
                       "Board": time_board, "Bar": time_bar, "BarFill": time_fill, "MarkGold": mark_gold,
                       "MarkSilver": mark_silver, "StarOn": star_on, "StarOff": star_off,
                       "barX": bx, "barY": by, "barWidth": bw, "barHeight": bh}),
    # The height is the empty board's; a strip of ROW pixels for each goal shown makes it grow.
    ("TaskInterface", {"x": SCREEN_W - MARGIN - GOAL_W, "y": 6 + TIME_H + 8, "width": GOAL_W, "height": 36,
                       "BoardTop": task_top, "BoardMiddle": task_middle, "BoardBottom": task_bottom,
                       "DotRed": dot_red, "DotGreen": dot_green, "DotEmpty": dot_empty}),
]

lines = ["; The boards over a level in play: place, size and pictures of each (generated by gen_72_panels.py)."]
for name, keys in boards:
    lines.append("")
    lines.append("[%s]" % name)
    lines.extend("%s=%s" % (k, v) for k, v in keys.items())
with open(os.path.join(folder, "panels.ini"), "w", encoding="utf-8", newline="\r\n") as f:
    f.write("\n".join(lines) + "\n")

# ---- The goals' texts ---------------------------------------------------------------------------
# A goal row shows "#TASK_" + the goal's name when that has a text, else its objects' name, else its
# kind's phrase ("#TASK_TYPE_" + the type in capitals: "%d" the amount, "%s" the resource).
GOALS = [
    ("#TASK_TYPE_COLLECTRESOURCE", "Hold %d %s", "%s в запасе: %d"),
    ("#TASK_TYPE_REPAIR", "Mend what is broken", "Почините сломанное"),
    ("#TASK_TYPE_DESTROY", "Destroy the totems", "Разрушьте тотемы"),
    ("#TASK_TYPE_REMOVE", "Clear the way", "Расчистите путь"),
    ("#TASK_TYPE_BUILD", "Put up the buildings", "Постройте здания"),
    ("#TASK_TYPE_PICK", "Gather what lies about", "Соберите находки"),
    ("#TASK_TYPE_SAVEWOLF", "Save the wolf", "Спасите волка"),
    ("#TASK_TYPE_FEEDWOLF", "Feed the wolf", "Накормите волка"),
    ("#TASK_TYPE_SUMMERDAUGHTER", "Free Summer's daughter", "Освободите дочь Лета"),
    ("#TASK_TYPE_AUTUMNDAUGHTER", "Free Autumn's daughter", "Освободите дочь Осени"),
    ("#TASK_TYPE_WINTERDAUGHTER", "Free Winter's daughter", "Освободите дочь Зимы"),
    ("#TASK_TYPE_PICKAQUILL", "Find the quill", "Найдите перо"),
    ("#TASK_TYPE_PICKAHEART", "Find the heart", "Найдите сердце"),
    ("#TASK_TYPE_PICKBERRIES", "Pick %d baskets of berries", "Соберите корзины ягод: %d"),
    ("#TIME_GOLD", "Gold", "Золото"),
    ("#TIME_SILVER", "Silver", "Серебро"),
    ("#BONUS_NAME_Worker", "Workers", "Работники"),
    ("#BONUS_NAME_Food", "Food", "Еда"),
    ("#BONUS_NAME_Ore", "Ore", "Руда"),
    ("#BONUS_NAME_Gold", "Gold", "Золото"),
]
# The Russian names of the demo levels' goal objects (their English texts are the campaign's).
GOALS_RU_ONLY = [
    ("#TASK_BRIDGE", "Почините мост"),
    ("#TASK_GARDEN", "Почините ягодный сад"),
    ("#TASK_ORE_PIT", "Постройте рудник"),
    ("#TASK_BOAR", "Прогоните кабана"),
    ("#TASK_BARN", "Улучшите амбар"),
]
en = "[goals]\n; The goal rows' texts (gen_72_panels.py).\n" + "".join(f"{k}={e}\n" for k, e, _ in GOALS)
ru = ("[goals]\n; The goal rows' texts (gen_72_panels.py).\n" + "".join(f"{k}={r}\n" for k, _, r in GOALS) +
      "".join(f"{k}={r}\n" for k, r in GOALS_RU_ONLY))
own_section_last(os.path.join(data, "translation.ini"), "goals", en, write)
own_section_last(os.path.join(data, "translation_ru.ini"), "goals", ru, write)
print("panels: data/interface/panels.ini and panels/*.png; the [goals] texts of translation.ini and translation_ru.ini")
