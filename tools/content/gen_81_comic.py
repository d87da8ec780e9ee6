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
import struct
import sys

from PIL import Image, ImageDraw, ImageFilter

from demo_widgets import capped_button
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from level_common import own_section_last  # noqa: E402

here = os.path.dirname(os.path.abspath(__file__))
target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "demo"))
data = os.path.join(target, "data")
comic = os.path.join(data, "comic")
os.makedirs(comic, exist_ok=True)
os.makedirs(os.path.join(data, "menu"), exist_ok=True)
S = 4  # supersampling factor


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(text.lstrip("\n"))


def smooth(size, paint):
    big = Image.new("RGBA", (size[0] * S, size[1] * S), (0, 0, 0, 0))
    paint(ImageDraw.Draw(big), big)
    return big.resize(size, Image.LANCZOS)


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
# Objects as dictionaries; keys as tuples. Numbers are written with few digits, so the text form
# and the binary file hold exactly the same float values.

LINEAR, HOLD, SMOOTH = (0, 1, 0, 1, 0), (1, 1, 0, 1, 0), (2, 1, 0, 1, 0)


def obj(name, **kw):
    o = dict(name=name, blend=1, values=(0, 0), picture="", frames=1, mask="", text="", textBlend=1,
             box=(10, 10), font="", align=(0, 0), children=[], position=[], size=[], scale=[], alpha=[],
             rotation=[], phase=[], colour=[])
    o.update(kw)
    return o


def fkey(t, v, ease=LINEAR, marker=0, sound=""):
    return dict(t=t, v=(v,), ease=(ease,), marker=marker, sound=sound)


def vkey(t, x, y, ease=LINEAR, easeY=None, marker=0, sound=""):
    return dict(t=t, v=(x, y), ease=(ease, easeY or ease), marker=marker, sound=sound)


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
TRACKS = ["position", "size", "scale", "alpha", "rotation", "phase", "colour"]
VECTOR = {"position", "size"}


def num(v):
    s = ("%.4f" % v).rstrip("0").rstrip(".")
    return "0" if s in ("", "-0") else s


def quote(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


def ease_text(e):
    names = {LINEAR: "linear", HOLD: "hold", SMOOTH: "smooth"}
    if e in names:
        return names[e]
    return "(" + " ".join([str(e[0])] + [num(x) for x in e[1:]]) + ")"


def key_text(k, vector):
    out = "key " + " ".join(num(x) for x in (k["t"],) + k["v"])
    ex, ey = k["ease"][0], k["ease"][-1]
    if vector and ex != ey:
        out += " easeX " + ease_text(ex) + " easeY " + ease_text(ey)
    elif ex != LINEAR:
        out += " ease " + ease_text(ex)
    if k["marker"]:
        out += " marker %d" % k["marker"]
    if k["sound"]:
        out += " sound " + quote(k["sound"])
    return out


def obj_text(o, depth):
    pad, ind = "  " * depth, "  " * (depth + 1)
    lines = [pad + "object " + quote(o["name"]) + " {",
             ind + "blend %d" % o["blend"],
             ind + "values %d %d" % o["values"],
             ind + "picture " + quote(o["picture"]),
             ind + "frames %d" % o["frames"],
             ind + "mask " + quote(o["mask"]),
             ind + "text " + quote(o["text"]),
             ind + "textBlend %d" % o["textBlend"],
             ind + "box %s %s" % (num(o["box"][0]), num(o["box"][1])),
             ind + "font " + quote(o["font"]),
             ind + "align %d %d" % o["align"]]
    for c in o["children"]:
        lines += obj_text(c, depth + 1)
    for t in TRACKS:
        if o[t]:
            lines.append(ind + t + " {")
            lines += [ind + "  " + key_text(k, t in VECTOR) for k in o[t]]
            lines.append(ind + "}")
    lines.append(pad + "}")
    return lines


def pack_text(s):
    b = s.encode("utf-8")
    return struct.pack("<i", len(b)) + b


def pack_filter(e):
    return struct.pack("<iffff", e[0], float(num(e[1])), float(num(e[2])), float(num(e[3])), float(num(e[4])))


def pack_key(k, vector):
    out = struct.pack("<if", k["marker"], float(num(k["t"])))
    out += b"".join(struct.pack("<f", float(num(v))) for v in k["v"])
    out += b"".join(pack_filter(e) for e in (k["ease"] if vector else k["ease"][:1]))
    return out + pack_text(k["sound"])


def pack_obj(o):
    out = struct.pack("<iii", o["blend"], *o["values"]) + pack_text(o["name"]) + pack_text(o["picture"])
    out += struct.pack("<i", o["frames"]) + pack_text(o["mask"]) + pack_text(o["text"])
    out += struct.pack("<iff", o["textBlend"], float(num(o["box"][0])), float(num(o["box"][1])))
    out += pack_text(o["font"]) + struct.pack("<ii", *o["align"])
    out += struct.pack("<i", len(o["children"])) + b"".join(pack_obj(c) for c in o["children"])
    for t in TRACKS:
        assert t != "colour" or not o[t], "colour keys are not used by the page"
        out += struct.pack("<i", len(o[t])) + b"".join(pack_key(k, t in VECTOR) for k in o[t])
    return out


def animation():
    text = ["# Keyframe animation in the text form of kfc (docs/keyframe.md)"]
    for o in OBJECTS:
        text += obj_text(o, 0)
    # The text form is kept with Unix line ends so it matches what kfc prints.
    with open(os.path.join(comic, "page.kft"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(text) + "\n")
    with open(os.path.join(comic, "page.kf"), "wb") as f:
        f.write(struct.pack("<i", len(OBJECTS)) + b"".join(pack_obj(o) for o in OBJECTS))


# ---- the page and its caption -----------------------------------------------------------------------

MENU = """
; The keyframe comic page. [Main] is the page (its picture the background) and lists the windows to
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
