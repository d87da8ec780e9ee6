#!/usr/bin/env python3
"""Writes the level map: data/menu/UILevelMenu.ini with a painted map for each of the three episodes
(a path winding through a spring meadow, an autumn wood, snowy hills), the round wooden level
buttons (data/interface/UILevelMenuButton.ini and UILevelMenuBonusButton.ini) with their number,
three star slots and a highlight, the result board over a button (data/menu/globalTotemInfo.ini),
the glows under the chosen button, each episode's weather (sun motes, falling leaves, snow) and the
texts in English and Russian. Everything is drawn here, the same on every run.
"""
import math
import os
import random
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

from demo_widgets import capped_button
from level_common import merge_sections, own_section_last, target_dir, write

target = target_dir(sys.argv)
data = os.path.join(target, "data")
pics = os.path.join(data, "menu", "levelmap")
fx = os.path.join(data, "fx")
os.makedirs(pics, exist_ok=True)
os.makedirs(os.path.join(data, "interface"), exist_ok=True)
os.makedirs(os.path.join(fx, "pics"), exist_ok=True)
W, H = 1024, 768
SS = 3  # supersampling of the small pictures
FONT_DIR = "/usr/share/fonts/truetype/dejavu"
BUTTON = 80  # the level button's square
REL = "data/menu/levelmap/"


def font(size, bold=True):
    return ImageFont.truetype(os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"), size)


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(len(a)))


def save_small(img, w, h, name):
    img.resize((w, h), Image.LANCZOS).save(os.path.join(pics, name))


# ---- Where the sixteen buttons stand: four rows, the path turning at each end ---------------------
def button_places():
    rows = [150, 290, 430, 570]
    cols = [120, 330, 540, 750]
    places = []
    for r, y in enumerate(rows):
        xs = cols if r % 2 == 0 else list(reversed(cols))
        for c, x in enumerate(xs):
            places.append((x + int(22 * math.sin(r * 1.7 + c)), y + int(18 * math.sin(c * 2.1 + r))))
    return places


PLACES = button_places()


def path_points():
    """The path through the button centres, with a bend outside the map at each row's end."""
    centres = [(x + BUTTON // 2, y + BUTTON // 2) for x, y in PLACES]
    pts = [(centres[0][0] - 120, centres[0][1] - 10)]
    for i, c in enumerate(centres):
        pts.append(c)
        if i % 4 == 3 and i < 15:
            nxt = centres[i + 1]
            side = 1 if (i // 4) % 2 == 0 else -1
            edge = c[0] + side * 90
            pts.append((edge, (c[1] * 2 + nxt[1]) // 3))
            pts.append((edge, (c[1] + nxt[1] * 2) // 3))
    pts.append((centres[-1][0] - 130, centres[-1][1] + 40))
    # Smooth the corners: a few passes of neighbour averaging on a densified line.
    dense = []
    for a, b in zip(pts, pts[1:]):
        for k in range(8):
            t = k / 8
            dense.append((a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t))
    dense.append(pts[-1])
    for _ in range(6):
        dense = [dense[0]] + [((p[0] + q[0] * 2 + r[0]) / 4, (p[1] + q[1] * 2 + r[1]) / 4)
                              for p, q, r in zip(dense, dense[1:], dense[2:])] + [dense[-1]]
    return dense


SEASONS = {
    1: dict(ground=(112, 168, 74), light=(150, 200, 96), dark=(80, 132, 56), path=(196, 166, 112),
            sky=((150, 200, 240), (214, 234, 248)), hills=((122, 164, 120), (86, 142, 64)),
            dots=[(250, 250, 240), (250, 220, 80), (230, 140, 190)], tree=(64, 120, 52), trunk=(104, 74, 44)),
    2: dict(ground=(160, 132, 66), light=(196, 160, 80), dark=(124, 96, 50), path=(170, 128, 84),
            sky=((216, 180, 130), (240, 220, 190)), hills=((170, 110, 60), (140, 84, 44)),
            dots=[(220, 90, 40), (240, 170, 40), (180, 60, 30)], tree=(206, 110, 40), trunk=(96, 64, 40)),
    3: dict(ground=(228, 236, 244), light=(246, 250, 255), dark=(190, 206, 224), path=(170, 180, 196),
            sky=((150, 176, 210), (208, 222, 240)), hills=((180, 196, 220), (150, 170, 200)),
            dots=[(255, 255, 255), (210, 226, 246)], tree=(52, 92, 76), trunk=(90, 70, 56)),
}


def tree(d, x, y, s, season):
    d.rectangle([x - 3 * s, y, x + 3 * s, y + 14 * s], fill=season["trunk"])
    if season is SEASONS[3]:
        for k in range(3):
            w = (22 - 6 * k) * s
            top = y - (10 + 14 * k) * s
            d.polygon([(x - w, top + 16 * s), (x + w, top + 16 * s), (x, top - 6 * s)], fill=season["tree"])
            d.polygon([(x - w * 0.6, top + 6 * s), (x + w * 0.6, top + 6 * s), (x, top - 6 * s)], fill=(240, 246, 252))
    else:
        for dx, dy, r in ((0, -16, 18), (-12, -6, 13), (12, -6, 13)):
            d.ellipse([x + (dx - r) * s, y + (dy - r) * s, x + (dx + r) * s, y + (dy + r) * s], fill=season["tree"])
        d.ellipse([x - 8 * s, y - 30 * s, x + 2 * s, y - 22 * s], fill=mix(season["tree"], (255, 255, 255), 0.25))


def paint_map(n):
    s = SEASONS[n]
    rng = random.Random(40 + n)
    img = Image.new("RGB", (W, H), s["ground"])
    d = ImageDraw.Draw(img)
    for _ in range(1100):
        x, y = rng.uniform(0, W), rng.uniform(90, H)
        r = rng.uniform(10, 44)
        d.ellipse([x - r, y - r * 0.6, x + r, y + r * 0.6], fill=mix(s["ground"], rng.choice((s["light"], s["dark"])), rng.uniform(0.2, 0.6)))
    img = img.filter(ImageFilter.GaussianBlur(7))
    d = ImageDraw.Draw(img)
    # Sky and hills at the top, under the episode's banner.
    for y in range(0, 110):
        d.line([(0, y), (W, y)], fill=mix(s["sky"][0], s["sky"][1], y / 110))
    far = [(x, 78 + 14 * math.sin(x / 90 + n) + 8 * math.sin(x / 37)) for x in range(0, W + 1, 8)]
    d.polygon([(0, 130)] + far + [(W, 130)], fill=s["hills"][0])
    near = [(x, 108 + 10 * math.sin(x / 130 + 1 + n) + 5 * math.sin(x / 51)) for x in range(0, W + 1, 8)]
    d.polygon([(0, 140)] + near + [(W, 140)], fill=s["hills"][1])
    img = img.filter(ImageFilter.SMOOTH)
    # The path: soft edges, a darker rim, little stones.
    line = path_points()
    mask = Image.new("L", (W, H), 0)
    md = ImageDraw.Draw(mask)
    md.line(line, fill=255, width=34, joint="curve")
    mask = mask.filter(ImageFilter.GaussianBlur(4))
    rim = Image.new("L", (W, H), 0)
    ImageDraw.Draw(rim).line(line, fill=255, width=42, joint="curve")
    rim = rim.filter(ImageFilter.GaussianBlur(5))
    img = Image.composite(Image.new("RGB", (W, H), mix(s["path"], (0, 0, 0), 0.25)), img, rim)
    img = Image.composite(Image.new("RGB", (W, H), s["path"]), img, mask)
    d = ImageDraw.Draw(img)
    for _ in range(420):
        x, y = line[rng.randrange(len(line))]
        x += rng.uniform(-14, 14)
        y += rng.uniform(-14, 14)
        r = rng.uniform(1, 2.6)
        d.ellipse([x - r, y - r, x + r, y + r], fill=mix(s["path"], (90, 80, 70), rng.uniform(0.2, 0.5)))
    # Grass tufts (or snow glints), flowers (or fallen leaves), off the path.
    for _ in range(1500):
        x, y = rng.uniform(10, W - 10), rng.uniform(140, H - 10)
        if mask.getpixel((int(x), int(y))) > 30 or rim.getpixel((int(x), int(y))) > 30:
            continue
        if rng.random() < 0.7:
            c = mix(s["ground"], s["dark"], rng.uniform(0.4, 0.9))
            d.line([(x, y), (x - 2, y - 5)], fill=c)
            d.line([(x, y), (x + 2, y - 5)], fill=c)
        else:
            r = rng.uniform(1.2, 2.4)
            d.ellipse([x - r, y - r, x + r, y + r], fill=rng.choice(s["dots"]))
    # Trees where the buttons are not.
    big = Image.new("RGBA", (W * 2, H * 2), (0, 0, 0, 0))
    bd = ImageDraw.Draw(big)
    spots = []
    while len(spots) < 16:
        x, y = rng.uniform(40, W - 40), rng.uniform(150, 640)
        if any(abs(x - (px + 40)) < 90 and abs(y - (py + 40)) < 90 for px, py in PLACES):
            continue
        if mask.getpixel((int(x), int(y))) > 0 or any(abs(x - a) < 50 and abs(y - b) < 50 for a, b in spots):
            continue
        spots.append((x, y))
    for x, y in sorted(spots, key=lambda p: p[1]):
        bd.ellipse([2 * x - 40, 2 * y + 20, 2 * x + 40, 2 * y + 36], fill=(0, 0, 0, 50))
        tree(bd, 2 * x, 2 * y, 2, s)
    big = big.resize((W, H), Image.LANCZOS)
    img.paste(big, (0, 0), big)
    # A wooden bar along the bottom for the buttons that lead off the map.
    d = ImageDraw.Draw(img)
    d.rectangle([0, 680, W, H], fill=(110, 74, 42))
    for y in range(684, H, 14):
        d.line([(0, y), (W, y)], fill=(92, 60, 34))
    d.line([(0, 680), (W, 680)], fill=(70, 44, 24), width=3)
    img.save(os.path.join(pics, f"map{n}.jpg"), quality=88)


def disc(kind, state):
    """The level button: a round wooden totem top with three star slots; `kind` "bonus" has a golden
    rim and a flower instead of a number. States: locked (grey), normal, hover, pressed."""
    n = BUTTON * SS
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    wood = {"ignore": (128, 122, 114), "normal": (170, 114, 62), "active": (196, 138, 78), "press": (146, 96, 52)}[state]
    rim = (226, 184, 60) if kind == "bonus" and state != "ignore" else mix(wood, (0, 0, 0), 0.4)
    m = 3 * SS
    d.ellipse([m, m + 2 * SS, n - m, n - m + 2 * SS], fill=(0, 0, 0, 90))
    d.ellipse([m, m, n - m, n - m], fill=rim)
    d.ellipse([m + 5 * SS, m + 5 * SS, n - m - 5 * SS, n - m - 5 * SS], fill=wood)
    for k in range(1, 5):  # the year rings of the log's end
        r = (n / 2 - m - 5 * SS) * k / 5
        c = n / 2
        d.ellipse([c - r, c - r * 0.96, c + r, c + r * 0.96], outline=mix(wood, (0, 0, 0), 0.18), width=SS)
    # Three star slots along the bottom.
    for i in range(3):
        cx, cy = (22 + 18 * i) * SS, 60 * SS
        d.ellipse([cx - 8 * SS, cy - 8 * SS, cx + 8 * SS, cy + 8 * SS], fill=mix(wood, (0, 0, 0), 0.35))
    if kind == "bonus":
        c, cy = n / 2, 30 * SS
        for i in range(6):
            a = 2 * math.pi * i / 6
            px, py = c + math.cos(a) * 9 * SS, cy + math.sin(a) * 9 * SS
            d.ellipse([px - 6 * SS, py - 6 * SS, px + 6 * SS, py + 6 * SS], fill=(250, 214, 90) if state != "ignore" else (190, 186, 178))
        d.ellipse([c - 5 * SS, cy - 5 * SS, c + 5 * SS, cy + 5 * SS], fill=(200, 100, 40) if state != "ignore" else (150, 146, 140))
    if state == "ignore":  # a little padlock on the side
        x, y = 60 * SS, 10 * SS
        d.arc([x, y, x + 12 * SS, y + 14 * SS], 180, 360, fill=(80, 76, 72), width=2 * SS)
        d.rectangle([x - 2 * SS, y + 7 * SS, x + 14 * SS, y + 19 * SS], fill=(90, 86, 80))
    return img


def star(size):
    n = size * SS
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    c = n / 2
    pts = []
    for i in range(10):
        r = c * (0.95 if i % 2 == 0 else 0.42)
        a = -math.pi / 2 + math.pi * i / 5
        pts.append((c + math.cos(a) * r, c + math.sin(a) * r))
    d.polygon(pts, fill=(255, 206, 50), outline=(170, 110, 20))
    d.polygon([(x * 0.6 + c * 0.4, y * 0.6 + c * 0.36) for x, y in pts], fill=(255, 236, 140))
    return img


def soft_glow(size, colour, inner=0.0, ring=False):
    n = size * SS
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    a = Image.new("L", (n, n), 0)
    d = ImageDraw.Draw(a)
    c = n / 2
    if ring:
        d.ellipse([c * 0.3, c * 0.3, n - c * 0.3, n - c * 0.3], outline=200, width=int(6 * SS))
        a = a.filter(ImageFilter.GaussianBlur(3 * SS))
    else:
        for k in range(40, 0, -1):
            r = c * k / 40
            d.ellipse([c - r, c - r, c + r, c + r], fill=int(230 * (1 - k / 40) ** 1.5 + inner))
    img.paste(Image.new("RGBA", (n, n), colour + (255,)), (0, 0), a)
    return img


def board(w, h, colour=(236, 216, 170)):
    """A parchment board with a wooden rim."""
    img = Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    r = 14 * SS
    d.rounded_rectangle([SS * 2, SS * 4, w * SS - 1, h * SS - 1], r, fill=(0, 0, 0, 80))
    d.rounded_rectangle([0, 0, w * SS - SS * 3, h * SS - SS * 4], r, fill=(120, 80, 44))
    d.rounded_rectangle([5 * SS, 5 * SS, w * SS - 8 * SS, h * SS - 9 * SS], r - 4 * SS, fill=colour)
    return img.resize((w, h), Image.LANCZOS)


def leaf_sprite(colour, size=(28, 40)):
    w, h = size[0] * SS, size[1] * SS
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.ellipse([0, 0, w - 1, h - 1], fill=colour)
    d.line([(w / 2, 2 * SS), (w / 2, h - 2 * SS)], fill=mix(colour, (0, 0, 0), 0.35), width=SS)
    return img.resize(size, Image.LANCZOS)


def decorations():
    """Small things that belong to one episode: butterflies and flowers in spring, leaf heaps in autumn."""
    rng = random.Random(7)
    for i, wing in enumerate(((250, 220, 80), (240, 150, 200), (150, 200, 250)), start=1):
        n = 36 * SS
        img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
        d = ImageDraw.Draw(img)
        for sx in (-1, 1):
            d.ellipse([n / 2 + sx * 2 * SS - (15 * SS if sx < 0 else 0), 4 * SS, n / 2 + sx * 2 * SS + (15 * SS if sx > 0 else 0), 20 * SS], fill=wing)
            d.ellipse([n / 2 + sx * 2 * SS - (11 * SS if sx < 0 else 0), 18 * SS, n / 2 + sx * 2 * SS + (11 * SS if sx > 0 else 0), 30 * SS], fill=mix(wing, (255, 255, 255), 0.3))
        d.line([(n / 2, 6 * SS), (n / 2, 30 * SS)], fill=(60, 40, 30), width=2 * SS)
        save_small(img, 36, 36, f"spring{i}.png")
    for i in range(1, 4):
        img = Image.new("RGBA", (90 * SS, 40 * SS), (0, 0, 0, 0))
        for _ in range(26):
            lf = leaf_sprite(rng.choice([(214, 96, 40), (236, 170, 50), (170, 60, 30)]), (14, 20)).resize((14 * SS, 20 * SS))
            lf = lf.rotate(rng.uniform(0, 360), expand=True)
            img.paste(lf, (int(rng.uniform(0, 70) * SS), int(rng.uniform(8, 22) * SS)), lf)
        save_small(img, 90, 40, f"autumn{i}.png")


def nav_pictures():
    """The banner that carries each episode's name."""
    img = Image.new("RGBA", (420 * SS, 64 * SS), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.polygon([(0, 14 * SS), (40 * SS, 14 * SS), (40 * SS, 58 * SS), (20 * SS, 46 * SS)], fill=(120, 40, 30))
    d.polygon([(420 * SS, 14 * SS), (380 * SS, 14 * SS), (380 * SS, 58 * SS), (400 * SS, 46 * SS)], fill=(120, 40, 30))
    d.rounded_rectangle([24 * SS, 2 * SS, 396 * SS, 52 * SS], 10 * SS, fill=(176, 58, 40), outline=(110, 34, 24), width=2 * SS)
    d.line([(36 * SS, 9 * SS), (384 * SS, 9 * SS)], fill=(214, 110, 80), width=SS)
    save_small(img, 420, 64, "banner.png")


for n in (1, 2, 3):
    paint_map(n)
for state in ("ignore", "normal", "active", "press"):
    save_small(disc("level", state), BUTTON, BUTTON, f"button_{state}.png")
    save_small(disc("bonus", state), BUTTON, BUTTON, f"bonus_{state}.png")
save_small(star(22), 22, 22, "star.png")
save_small(soft_glow(BUTTON, (255, 255, 255)), BUTTON, BUTTON, "highlight.png")
save_small(soft_glow(124, (255, 226, 120)), 124, 124, "glow.png")
save_small(soft_glow(124, (255, 246, 200), ring=True), 124, 124, "glow_ring.png")
board(230, 112).save(os.path.join(pics, "info.png"))
decorations()
nav_pictures()

# ---- Weather of each episode (particle effects) ------------------------------------------------
save = lambda img, name: img.save(os.path.join(fx, "pics", name))
save(leaf_sprite((255, 255, 255), (20, 28)), "leaf.png")
write(os.path.join(fx, "levelmap_motes.pfx"), """; Sun motes over the spring meadow of the level map: warm specks that drift up and glow.
[effect]
version = 1
title = Level map sun motes

[emitter motes]
blend = additive
rate = 14
maxParticles = 120
life = 5 8
speed = 4 12
direction = -90
spread = 120
area = 1000 600
gravity = 2 -3
sizeVariation = 0.5
size = 0 4, 0.5 10, 1 4
color = 0 #FFF4C0, 1 #FFD070
alpha = 0 0, 0.3 0.6, 0.7 0.5, 1 0
""")
write(os.path.join(fx, "levelmap_leaves.pfx"), """; Autumn leaves falling over the level map, turning as they drift with the wind.
[effect]
version = 1
title = Level map leaves

[emitter leaves]
sprite = pics/leaf.png
blend = alpha
rate = 5
maxParticles = 60
life = 9 13
speed = 20 40
direction = 100
spread = 40
area = 1100 10
gravity = 6 8
drag = 0.3
angle = 0 360
spin = -90 90
sizeVariation = 0.3
size = 16
color = 0 #E06A28, 0.5 #F0A830, 1 #B84A20
alpha = 0 0, 0.05 1, 0.9 1, 1 0
""")
write(os.path.join(fx, "levelmap_snow.pfx"), """; Snow over the winter hills of the level map: soft flakes drifting down.
[effect]
version = 1
title = Level map snow

[emitter flakes]
blend = alpha
rate = 40
maxParticles = 500
life = 10 14
speed = 30 55
direction = 95
spread = 20
area = 1100 10
gravity = 2 3
sizeVariation = 0.5
size = 6
color = #FFFFFF
alpha = 0 0, 0.05 0.9, 0.9 0.9, 1 0
""")
merge_sections(os.path.join(fx, "pyroeffects.ini"), {
    "LevelMapMotes": ["name=data/fx/levelmap_motes.pfx"],
    "LevelMapLeaves": ["name=data/fx/levelmap_leaves.pfx"],
    "LevelMapSnow": ["name=data/fx/levelmap_snow.pfx"],
})


# ---- The definitions -------------------------------------------------------------------------
def sprite(name, x, y, picture, extra=()):
    lines = [f"[{name}]", "type=sprite", f"x={x}", f"y={y}", f"ignore={picture}", f"normal={picture}"]
    return "\n".join(lines + list(extra)) + "\n"


def arrow(name, x, y, side):
    lines = [f"[{name}]", "type=sprite", f"x={x}", f"y={y}", "stage=1", "sndActivePress=click"]
    lines += [f"{s}=data/menu/demo/arrow_{side}_{s}.png" for s in ("ignore", "normal", "active", "press")]
    return "\n".join(lines) + "\n"


def particle(name, effect):
    return f"[{name}]\ntype=particleWnd\nx=512\ny=-20\neffect={effect}\n"


menu = ["""; The level map. Each episode's windows ("mapN", its decorations, its level buttons and "episodeN")
; show together and cross-fade when "Prev" or "Next" changes the episode; "lvl1" to "lvl16" place the
; sixteen buttons of every episode (the buttons are defined in data/interface/UILevelMenuButton.ini
; and, for the bonus levels 16, 32 and 48, UILevelMenuBonusButton.ini). Made by
; tools/content/gen_94_level_map.py.
[Main]
font=data/fonts/sans16.png
"""]
for n in (1, 2, 3):
    menu.append(sprite(f"map{n}", 0, 0, f"{REL}map{n}.jpg"))
menu.append(arrow("Prev", 24, 694, "left"))
menu.append(arrow("Next", 1024 - 24 - 64, 694, "right"))
menu.append(capped_button("Menu", 300, 696, 180, 52, "click").replace("name=Menu", "name=#LEVELMAP_MENU"))
menu.append(capped_button("Play", 544, 696, 180, 52, "confirm").replace("name=Play", "name=#LEVELMAP_PLAY"))
menu.append(sprite("Glow1", 0, 0, f"{REL}glow.png"))
menu.append(sprite("Glow2", 0, 0, f"{REL}glow_ring.png"))
for i, (x, y) in enumerate(((440, 236), (900, 380), (90, 520)), start=1):
    menu.append(sprite(f"Leave{i}", x, y, f"{REL}spring{i}.png"))
for i, (x, y) in enumerate(((230, 380), (860, 240), (640, 640)), start=1):
    menu.append(sprite(f"LeaveAutumn{i}", x, y, f"{REL}autumn{i}.png"))
menu.append("; The weather of each episode, playing while it is shown.\n")
menu.append(particle("Beames", "LevelMapMotes").replace("y=-20", "y=400"))
menu.append(particle("Leaves", "LevelMapLeaves"))
menu.append(particle("Snow", "LevelMapSnow"))
for n in (1, 2, 3):
    menu.append(sprite(f"episode{n}", 302, 14, f"{REL}banner.png",
                       [f"name=#LEVELMAP_EPISODE{n}", "font=data/fonts/sans26b.png", "ys=52", "select=1"]))
for i, (x, y) in enumerate(PLACES, start=1):
    menu.append(f"[lvl{i}]\nx={x}\ny={y}\n")
write(os.path.join(data, "menu", "UILevelMenu.ini"), "\n".join(menu))


def button_doc(kind):
    base = "button" if kind == "level" else "bonus"
    doc = [f"""; A {'bonus ' if kind == 'bonus' else ''}level's button on the level map: the number ("Level"), three stars over the
; slots painted on the button, and the button itself. "Highlight" is added over it while the mouse is
; on it (at "hlX", "hlY"); the glows under the chosen button stand at "glowX", "glowY". Made by
; tools/content/gen_94_level_map.py.
[Main]
xs={BUTTON}
ys={BUTTON}
""", f"[Level]\ntype=text\nx=0\ny=14\nxs={BUTTON}\nys=34\nfont=data/fonts/sans26b.png\nselect=0\n"]
    for i, name in enumerate(("Star1", "Star2", "Star3")):
        doc.append(sprite(name, 11 + 18 * i, 49, f"{REL}star.png"))
    doc.append("\n".join([
        "[Button]", "type=sprite", "x=0", "y=0", f"xs={BUTTON}", f"ys={BUTTON}", "stage=1",
        f"ignore={REL}{base}_ignore.png", f"normal={REL}{base}_normal.png",
        f"active={REL}{base}_active.png", f"press={REL}{base}_press.png",
        "sndNormalActive=", "sndActivePress=click",
        f"Highlight={REL}highlight.png", "hlX=0", "hlY=0", "glowX=-22", "glowY=-22"]) + "\n")
    return "\n".join(doc)


write(os.path.join(data, "interface", "UILevelMenuButton.ini"), button_doc("level"))
write(os.path.join(data, "interface", "UILevelMenuBonusButton.ini"), button_doc("bonus"))

write(os.path.join(data, "menu", "globalTotemInfo.ini"), f"""; The board over the level button under the mouse: the level's name, its best time and best score.
; The texts are placed from the board's corner; "Frame" is the board itself and gives its size.
; Made by tools/content/gen_94_level_map.py.
[Main]
x=0
y=0
font=data/fonts/sans16.png

[LevelName]
type=text
x=12
y=12
xs=200
ys=26
yalign=-1
name=
font=data/fonts/sans26b.png
select=1

[Time]
type=text
x=18
y=52
xs=110
ys=20
xalign=-1
name=#LEVELMAP_TIME
select=2

[TimeNum]
type=text
x=130
y=52
xs=80
ys=20
xalign=1
select=2

[Scores]
type=text
x=18
y=76
xs=110
ys=20
xalign=-1
name=#LEVELMAP_SCORE
select=2

[ScoresNum]
type=text
x=130
y=76
xs=80
ys=20
xalign=1
select=2

[Frame]
type=sprite
x=0
y=0
ignore={REL}info.png
normal={REL}info.png
""")

TEXTS = {
    "#LEVELMAP_EPISODE1": ("Spring Meadow", "Весенний луг"),
    "#LEVELMAP_EPISODE2": ("Autumn Wood", "Осенний лес"),
    "#LEVELMAP_EPISODE3": ("Winter Hills", "Зимние холмы"),
    "#LEVELMAP_PLAY": ("Play", "Играть"),
    "#LEVELMAP_MENU": ("Menu", "Меню"),
    "#LEVELMAP_TIME": ("Best time", "Время"),
    "#LEVELMAP_SCORE": ("Best score", "Очки"),
}
for path, lang in ((os.path.join(data, "translation.ini"), 0), (os.path.join(data, "translation_ru.ini"), 1)):
    body = "[levelMap]\n; The level map's texts (gen_94_level_map.py).\n" + "".join(f"{k}={v[lang]}\n" for k, v in TEXTS.items())
    own_section_last(path, "levelMap", body, write)
