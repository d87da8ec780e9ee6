#!/usr/bin/env python3
"""Writes the base of the demo game folder: game.ini, data/test.ini and the full-screen border.

The border fills the side bars when the 4:3 picture is shown on a wider screen: a meadow fence of
weathered boards, drawn procedurally so the result is the same on every run.
"""
import os
import re
import random
import sys

from PIL import Image, ImageDraw, ImageFilter

target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo")
data = os.path.join(target, "data")
os.makedirs(os.path.join(data, "interface"), exist_ok=True)


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(text)


write(os.path.join(target, "game.ini"), """\
; Settings shipped with the game. A player's own choices are kept in profgame.ini in the user
; folder and win over these.
[main]
; window title, and the user folder name when "path" is empty
name=Meadowmark
path=Meadowmark
; client size of the window and its position (-1 centres it)
xs=1024
ys=768
x=-1
y=-1
; bit 0: start in full screen
FullScreen=0
AlwaysActive=0
; a pack archive holding the data folder (empty: loose files)
pack=
; the language of the texts: en, or ru for data/translation_ru.ini (a player's profgame.ini may
; say otherwise)
language=en
promo=0
crash=0

[engine]
ShowFPS=0
""")

def switch_names():
    """The test switches' keys in data/test.ini's order, read from the header the game declares them
    in, so the list lives in one place."""
    header = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "game", "core", "test_switches.h")
    with open(header, encoding="utf-8") as f:
        text = f.read()
    block = text[text.index("kTestSwitchKeys"):]
    block = block[block.index("{") + 1:block.index("};")]
    found = re.findall(r'"([^"]+)"', block)
    if not found:
        sys.exit(f"{header}: no switch keys in kTestSwitchKeys")
    return found


names = switch_names()
write(os.path.join(data, "test.ini"),
      "; Developer switches: set one to 1 to turn it on. All are off in a shipped game.\n[main]\n" +
      "".join(f"{n}=0\n" for n in names))

# The border: vertical fence boards over a dusk meadow.
rng = random.Random(20261209)
W, H = 448, 768
img = Image.new("RGB", (W, H))
px = img.load()
for y in range(H):
    t = y / H
    sky = (int(70 + 60 * t), int(110 + 70 * t), int(60 + 20 * t))
    for x in range(W):
        px[x, y] = sky
draw = ImageDraw.Draw(img)
for _ in range(2500):
    x, y = rng.randrange(W), rng.randrange(H // 3, H)
    h = rng.randrange(6, 22)
    g = rng.randrange(90, 170)
    draw.line([(x, y), (x + rng.randrange(-3, 4), y - h)], fill=(30, g, 40), width=1)
board_w = 56
for i, x0 in enumerate(range(0, W, board_w + 8)):
    base = (rng.randrange(120, 150), rng.randrange(85, 105), rng.randrange(50, 65))
    top = 40 + rng.randrange(0, 30)
    draw.rectangle([x0, top, x0 + board_w, H], fill=base)
    draw.polygon([(x0, top), (x0 + board_w // 2, top - 24), (x0 + board_w, top)], fill=base)
    for _ in range(40):  # grain
        gx = x0 + rng.randrange(3, board_w - 3)
        gy = rng.randrange(top, H - 40)
        shade = tuple(max(0, c - rng.randrange(15, 35)) for c in base)
        draw.line([(gx, gy), (gx + rng.randrange(-1, 2), gy + rng.randrange(20, 60))], fill=shade)
    for ny in (top + 60, H - 160):  # nails
        draw.ellipse([x0 + board_w // 2 - 3, ny - 3, x0 + board_w // 2 + 3, ny + 3], fill=(60, 60, 65))
for ry in (180, H - 220):  # rails
    draw.rectangle([0, ry, W, ry + 34], fill=(105, 72, 42))
    draw.line([(0, ry), (W, ry)], fill=(150, 110, 70), width=2)
img = img.filter(ImageFilter.SMOOTH)
img.save(os.path.join(data, "interface", "board_outborder.jpg"), quality=88)
print("base: game.ini, data/test.ini, data/interface/board_outborder.jpg")
