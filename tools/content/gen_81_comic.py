#!/usr/bin/env python3
"""Writes the demo's keyframe comic page into <target>/data/:

- data/comic/page.kft: the page's keyframe animation in the readable text form of kfc
  (docs/keyframe.md), the file to edit;
- data/comic/page.kf: the same animation as the binary file the game plays (what
  `kfc build page.kft page.kf` writes; a test checks that the two agree byte for byte);
- data/comic/*.png and page.jpg: the pictures, painted here;
- data/menu/comic.ini: the page's window definition;
- the "Comics" section of data/translation.ini with the caption (replaced when present).

The page: a sun rises over the meadow and its rays (a child of the sun, added to the screen) turn;
a bee with beating wings flies in with a chime (a sound key), then sways over the flower for ever
(a loop marker); the caption fades in. Everything is painted with fixed numbers, so every run
writes the same bytes.
"""
import math
import os
import sys

from PIL import Image, ImageDraw, ImageFilter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from demo_widgets import capped_button  # noqa: E402
from kf_pack import HOLD, SMOOTH, fkey, obj, vkey, write_animation  # noqa: E402
from level_common import data_dir, own_section_last, write  # noqa: E402
from menu_paint import supersampled  # noqa: E402

data = data_dir(sys.argv, "comic")
comic = os.path.join(data, "comic")
S = 4  # supersampling factor


def smooth(size, paint):
    return supersampled(size, paint, S)


# ---- pictures ------------------------------------------------------------------------------------

def page():
    w, h = 1024, 768
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        for x in range(w):
            if y < 520:
                t = y / 520
                px[x, y] = (int(120 + 100 * t), int(180 + 50 * t), int(235 - 10 * t))
            else:
                t = (y - 520) / 248
                wave = 6 * math.sin(x / 37.0) + 4 * math.sin(x / 11.0 + y / 9.0)
                g = int(150 - 40 * t + wave)
                px[x, y] = (int(70 - 20 * t), g, int(50 - 10 * t))
    d = ImageDraw.Draw(img)
    # The flower the bee visits.
    d.line([(560, 700), (575, 470)], fill=(40, 110, 40), width=7)
    for i in range(8):
        a = i * math.pi / 4
        cx, cy = 575 + 26 * math.cos(a), 450 + 26 * math.sin(a)
        d.ellipse([cx - 20, cy - 20, cx + 20, cy + 20], fill=(250, 240, 245))
    d.ellipse([555, 430, 595, 470], fill=(240, 190, 40))
    img.save(os.path.join(comic, "page.jpg"), quality=90)


def sun():
    def paint(d, big):
        r = 60 * S
        c = 64 * S
        for i in range(r, 0, -S):
            t = i / r
            d.ellipse([c - i, c - i, c + i, c + i], fill=(255, int(250 - 60 * t), int(120 - 100 * t), 255))
    smooth((128, 128), paint).save(os.path.join(comic, "sun.png"), optimize=True)


def rays():
    # Twelve soft rays: a turn of a twelfth looks the same, so the loop can wrap the angle.
    def paint(d, big):
        c = 128 * S
        for i in range(12):
            a = i * math.pi / 6
            tip = (c + 124 * S * math.cos(a), c + 124 * S * math.sin(a))
            l = (c + 40 * S * math.cos(a - 0.12), c + 40 * S * math.sin(a - 0.12))
            r = (c + 40 * S * math.cos(a + 0.12), c + 40 * S * math.sin(a + 0.12))
            d.polygon([l, tip, r], fill=(255, 200, 60, 255))
    img = smooth((256, 256), paint).filter(ImageFilter.GaussianBlur(2))
    img.save(os.path.join(comic, "rays.png"), optimize=True)


def bee():
    # Two frames stacked: wings up, wings down.
    frames = []
    for up in (True, False):
        def paint(d, big, up=up):
            k = S
            wy = 4 if up else 22
            d.ellipse([22 * k, wy * k, 38 * k, (wy + 16) * k], fill=(220, 235, 255, 200))
            d.ellipse([34 * k, wy * k, 50 * k, (wy + 16) * k], fill=(220, 235, 255, 200))
            d.ellipse([8 * k, 18 * k, 56 * k, 42 * k], fill=(245, 190, 30, 255))
            for sx in (22, 32, 42):
                d.rectangle([sx * k, 18 * k, (sx + 5) * k, 42 * k], fill=(40, 30, 20, 255))
            d.ellipse([48 * k, 22 * k, 62 * k, 36 * k], fill=(40, 30, 20, 255))
        frames.append(smooth((64, 48), paint))
    strip = Image.new("RGBA", (64, 96))
    strip.paste(frames[0], (0, 0))
    strip.paste(frames[1], (0, 48))
    strip.save(os.path.join(comic, "bee.png"), optimize=True)


# ---- the animation ---------------------------------------------------------------------------------

TURN = round(math.pi / 2, 4)  # three twelfths of a turn per loop: the rays look the same after it

rays_obj = obj("Rays", blend=0, picture="data/comic/rays.png",
               size=[vkey(0, 256, 256)],
               scale=[fkey(0, 0.6), fkey(1.5, 1.2, SMOOTH)],
               rotation=[fkey(0, 0), fkey(2, TURN / 3), fkey(5, TURN * 4 / 3)],
               alpha=[fkey(0, 0), fkey(1.2, 0.8, SMOOTH)])
sun_obj = obj("Sun", picture="data/comic/sun.png",
              position=[vkey(0, 180, 520), vkey(1.5, 180, 170, SMOOTH)],
              size=[vkey(0, 128, 128)],
              children=[rays_obj])
# The bee flies in (a chime as it lands), then sways out and back between 2 s and 5 s for ever:
# equal ends with tangents pointing away and back make the loop seamless.
bee_obj = obj("Bee", picture="data/comic/bee.png", frames=2,
              position=[vkey(0, -80, 300), vkey(1.5, 560, 410, SMOOTH, sound="coin"),
                        vkey(2, 560, 410, HOLD, marker=2),
                        vkey(5, 560, 410, (2, 1, -400, 1, 400), (2, 1, 200, 1, -200))],
              size=[vkey(0, 64, 48)],
              rotation=[fkey(0, 0.2), fkey(1.5, 0, SMOOTH)],
              phase=[fkey(0, 0), fkey(5, 60)])
caption_obj = obj("Caption", text="#COMIC_CAPTION", font="data/fonts/sans26b.png", box=(760, 90),
                  position=[vkey(0, 512, 630)],
                  alpha=[fkey(0, 0), fkey(0.6, 0), fkey(1.8, 1, SMOOTH)])
OBJECTS = [sun_obj, bee_obj, caption_obj]


def animation():
    write_animation(os.path.join(comic, "page"), OBJECTS)


# ---- the page and its caption -----------------------------------------------------------------------

MENU = """; The keyframe comic page. [Main] is the page (its picture the background) and lists the windows to
; create under the keys 1, 2, ... in order. The "newAnim" window plays data/comic/page.kf at its
; place; Escape or the Back button returns.
[Main]
normal=data/comic/page.jpg
font=data/fonts/sans16.png
1=Comic
2=Title
3=Back

[Comic]
type=newAnim
x=0
y=0
xs=1024
ys=768
anim=data/comic/page.kf

[Title]
type=text
x=0
y=20
xs=1024
ys=40
name=#COMIC_TITLE
select=2
font=data/fonts/sans26b.png

""" + capped_button("Back", 402, 700, 220, 48, "click", yalign=0)

COMICS = """[Comics]
; Texts of the keyframe comics (their objects name these keys).
#COMIC_TITLE=A keyframe comic
#COMIC_CAPTION=The bee has found the sunniest flower of the whole meadow.
"""


def translation():
    # The translation document is written by the widget generator; the comics keep their own
    # section in it, replaced on every run.
    own_section_last(os.path.join(data, "translation.ini"), "comics", COMICS, write)


page()
sun()
rays()
bee()
animation()
write(os.path.join(data, "menu", "comic.ini"), MENU)
translation()
print("comic: data/comic/page.kf (+ .kft), its pictures, data/menu/comic.ini, [Comics] of data/translation.ini")
