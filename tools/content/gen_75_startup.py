#!/usr/bin/env python3
"""Writes the start-up screens: two logo pages (data/logo/logo.ini) and the application loading
screen (data/menu/applicationLoading.ini) with its progress bar and frame.

Page one is a still title card that fades in from black and out again; page two is a short video
of a sprout growing into a flower, played from numbered frame pictures. The loading screen reuses
the demo meadow as its background. Everything is drawn here, the same on every run.
"""
import math
import os
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))
data = os.path.join(target, "data")
logo = os.path.join(data, "logo")
loading = os.path.join(data, "menu", "loading")
os.makedirs(logo, exist_ok=True)
os.makedirs(loading, exist_ok=True)
W, H = 1024, 768
FONT_DIR = "/usr/share/fonts/truetype/dejavu"


def font(size, bold=True):
    return ImageFont.truetype(os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"), size)


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(text)


def vertical_gradient(size, top, bottom):
    img = Image.new("RGB", size)
    d = ImageDraw.Draw(img)
    for y in range(size[1]):
        t = y / max(1, size[1] - 1)
        d.line([(0, y), (size[0], y)], fill=tuple(int(a + (b - a) * t) for a, b in zip(top, bottom)))
    return img


def centred_text(d, y, text, f, fill, shadow=None):
    w = d.textlength(text, font=f)
    if shadow:
        d.text(((W - w) / 2 + 3, y + 3), text, font=f, fill=shadow)
    d.text(((W - w) / 2, y), text, font=f, fill=fill)


def flower(d, cx, cy, r, petals=8, colour=(250, 220, 90), centre=(170, 90, 30)):
    for i in range(petals):
        a = 2 * math.pi * i / petals
        px, py = cx + math.cos(a) * r, cy + math.sin(a) * r
        d.ellipse([px - r * 0.6, py - r * 0.6, px + r * 0.6, py + r * 0.6], fill=colour)
    d.ellipse([cx - r * 0.55, cy - r * 0.55, cx + r * 0.55, cy + r * 0.55], fill=centre)


# ---- Page one: the title card --------------------------------------------------------------------
card = vertical_gradient((W, H), (18, 46, 30), (6, 18, 10))
d = ImageDraw.Draw(card)
for i, (x, y, r) in enumerate([(180, 560, 26), (840, 600, 22), (300, 660, 16), (720, 680, 18), (520, 700, 14)]):
    d.line([(x, y + r), (x, H)], fill=(60, 120, 50), width=5)
    flower(d, x, y, r, colour=[(250, 220, 90), (240, 150, 170), (200, 210, 255)][i % 3])
centred_text(d, 250, "MEADOWMARK", font(96), (236, 226, 170), shadow=(0, 0, 0))
centred_text(d, 370, "a little game about a big meadow", font(30, bold=False), (190, 210, 180))
card.filter(ImageFilter.SMOOTH).save(os.path.join(logo, "title.jpg"), quality=90)

# ---- Page two: a sprout grows into a flower (8 frames) ------------------------------------------
FRAMES = 8
for f in range(1, FRAMES + 1):
    t = f / FRAMES
    img = vertical_gradient((W, H), (150, 200, 240), (235, 245, 225))
    d = ImageDraw.Draw(img)
    d.rectangle([0, 600, W, H], fill=(96, 150, 70))
    d.ellipse([-200, 560, W + 200, 700], fill=(110, 170, 80))
    stem_top = 600 - 330 * t
    d.line([(512, 610), (512, stem_top)], fill=(50, 120, 40), width=10)
    if t > 0.3:
        leaf = 60 * min(1.0, (t - 0.3) / 0.4)
        d.ellipse([512 - leaf * 1.6, 520 - leaf * 0.4, 512, 520 + leaf * 0.4], fill=(70, 150, 60))
        d.ellipse([512, 470 - leaf * 0.4, 512 + leaf * 1.6, 470 + leaf * 0.4], fill=(70, 150, 60))
    if t > 0.6:
        flower(d, 512, stem_top, 70 * (t - 0.5) / 0.5, petals=10, colour=(250, 210, 80))
    centred_text(d, 110, "Grown with care", font(44), (60, 90, 50))
    img.save(os.path.join(logo, "grow%d.jpg" % f), quality=88)

write(os.path.join(logo, "logo.ini"), """\
; Start-up logo pages, shown in file order. "name" is the picture; with "lenght" above 1 it is a
; format whose number is the frame (1 to lenght), played over "video_time" milliseconds. Times are
; in milliseconds: the page fades in over "unhide_time", starts fading out at "hide_start" and
; ends at "show_time". Any key skips the logos.
[Title]
name=data/logo/title.jpg
show_time=2600
unhide_time=700
hide_start=2000

[Grow]
name=data/logo/grow%d.jpg
lenght=8
video_time=1600
show_time=2800
unhide_time=300
hide_start=2300
bg_r=235
bg_g=245
bg_b=225
""")

# ---- Loading screen ------------------------------------------------------------------------------
BAR_W, BAR_H = 600, 24


def rounded(size, radius, fill, outline=None, width=0):
    S = 4
    big = Image.new("RGBA", (size[0] * S, size[1] * S), (0, 0, 0, 0))
    ImageDraw.Draw(big).rounded_rectangle([0, 0, size[0] * S - 1, size[1] * S - 1], radius=radius * S, fill=fill,
                                          outline=outline, width=width * S)
    return big.resize(size, Image.LANCZOS)


rounded((BAR_W, BAR_H), 11, (60, 44, 28, 230)).save(os.path.join(loading, "bar_track.png"))
fill = rounded((BAR_W, BAR_H), 11, (120, 200, 80, 255))
glow = Image.new("RGBA", fill.size, (0, 0, 0, 0))
ImageDraw.Draw(glow).rectangle([0, 3, BAR_W, BAR_H // 2 - 1], fill=(255, 255, 255, 70))
fill = Image.alpha_composite(fill, Image.composite(glow, Image.new("RGBA", fill.size), fill.split()[3]))
fill.save(os.path.join(loading, "bar_fill.png"))
# The frame around the bar: wood with a see-through middle, drawn over the bar.
FRAME_W, FRAME_H = BAR_W + 40, BAR_H + 40
frame = rounded((FRAME_W, FRAME_H), 18, (140, 96, 52, 255), outline=(80, 52, 26, 255), width=3)
hole = Image.new("L", frame.size, 0)
ImageDraw.Draw(hole).rounded_rectangle([20, 20, 20 + BAR_W - 1, 20 + BAR_H - 1], radius=11, fill=255)
frame.putalpha(Image.composite(Image.new("L", frame.size, 0), frame.split()[3], hole))
frame.save(os.path.join(loading, "board.png"))

write(os.path.join(data, "menu", "applicationLoading.ini"), """\
; The loading screen shown while the game starts: the bar moves as each start-up stage runs, then
; "PressAnyKey" appears and the screen waits for the player.
[Main]
normal=data/menu/demo/back.jpg
font=data/fonts/sans16.png

[PressAnyKey]
type=text
x=212
y=560
xs=600
ys=30
name=#PRESS_ANY_KEY
font=data/fonts/sans26b.png
select=2

[Bar]
type=progress
x=212
y=470
xs=600
ys=24
0=BarTrack
1=BarFill

[BarTrack]
xs=600
ys=24
ignore=data/menu/loading/bar_track.png
normal=data/menu/loading/bar_track.png
active=data/menu/loading/bar_track.png
press=data/menu/loading/bar_track.png

[BarFill]
xs=600
ys=24
ignore=data/menu/loading/bar_fill.png
normal=data/menu/loading/bar_fill.png
active=data/menu/loading/bar_fill.png
press=data/menu/loading/bar_fill.png

[board]
type=sprite
x=192
y=450
ignore=data/menu/loading/board.png
normal=data/menu/loading/board.png

[Back]
type=text
x=212
y=420
xs=600
ys=30
name=#LOADING
""")
print("startup: data/logo/logo.ini, data/menu/applicationLoading.ini and their pictures")
