#!/usr/bin/env python3
"""Writes the demo's animation catalogue, data/animations.xml, and the frame strips it names.

Each strip holds its frames stacked top to bottom in one PNG with transparency: a windmill whose
sails turn, a bird that flaps, a flag in the wind (all in the start-up group "always") and a
sparkle drawn additively, loaded only when first asked for. Drawn procedurally with a fixed
supersampling, so every run gives the same pixels.
"""
import math
import os
import re
import sys

from PIL import Image, ImageDraw

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", ".."))
if len(sys.argv) <= 1:
    target = os.path.join(target, "demo")
data = os.path.join(target, "data")
anim_dir = os.path.join(data, "anims")
os.makedirs(anim_dir, exist_ok=True)

SS = 4  # supersampling: draw large, shrink once, for smooth edges


def strip(name, w, h, frames, draw_frame):
    """Draws `frames` frames of w x h with draw_frame(draw, k, scale) and stacks them."""
    out = Image.new("RGBA", (w, h * frames), (0, 0, 0, 0))
    for k in range(frames):
        big = Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))
        draw_frame(ImageDraw.Draw(big), k, SS)
        out.paste(big.resize((w, h), Image.LANCZOS), (0, k * h))
    out.save(os.path.join(anim_dir, name), optimize=True)


def rotate(cx, cy, pts, a):
    c, s = math.cos(a), math.sin(a)
    return [(cx + x * c - y * s, cy + x * s + y * c) for x, y in pts]


def windmill(d, k, s):
    # Tower: a tapered stone body with a door and a wooden cap; the sails turn 90 degrees a cycle.
    d.polygon([(30 * s, 112 * s), (66 * s, 112 * s), (58 * s, 44 * s), (38 * s, 44 * s)], fill=(214, 200, 170, 255),
              outline=(120, 100, 80, 255))
    for row in range(52, 112, 10):
        d.line([(36 * s, row * s), (60 * s, row * s)], fill=(190, 174, 146, 255), width=s)
    d.rectangle([43 * s, 94 * s, 53 * s, 112 * s], fill=(110, 70, 40, 255))
    d.polygon([(34 * s, 46 * s), (62 * s, 46 * s), (48 * s, 32 * s)], fill=(150, 60, 40, 255))
    cx, cy = 48 * s, 42 * s
    base = k * (math.pi / 2) / 8
    for i in range(4):
        a = base + i * math.pi / 2
        arm = rotate(cx, cy, [(-1.5 * s, 0), (1.5 * s, 0), (1.5 * s, -38 * s), (-1.5 * s, -38 * s)], a)
        d.polygon(arm, fill=(90, 60, 35, 255))
        sail = rotate(cx, cy, [(2 * s, -8 * s), (11 * s, -8 * s), (11 * s, -37 * s), (2 * s, -37 * s)], a)
        d.polygon(sail, fill=(240, 236, 224, 255), outline=(120, 100, 80, 255))
    d.ellipse([cx - 4 * s, cy - 4 * s, cx + 4 * s, cy + 4 * s], fill=(70, 50, 30, 255))


def bird(d, k, s):
    # A small dark bird seen from the side; the wings swing through one beat over the frames.
    lift = math.sin(k / 6 * 2 * math.pi)
    body = [(8 * s, 14 * s), (26 * s, 12 * s), (32 * s, 14 * s), (26 * s, 17 * s), (12 * s, 17 * s)]
    d.polygon(body, fill=(50, 50, 60, 255))
    d.polygon([(32 * s, 13 * s), (36 * s, 14.5 * s), (32 * s, 15.5 * s)], fill=(230, 170, 40, 255))
    tip_y = 14 - 11 * lift
    d.polygon([(14 * s, 14 * s), (24 * s, 14 * s), (16 * s, tip_y * s), (10 * s, (tip_y + 2) * s)],
              fill=(70, 70, 84, 255))
    d.polygon([(2 * s, 13 * s), (9 * s, 14.5 * s), (2 * s, 17 * s)], fill=(50, 50, 60, 255))


def flag(d, k, s):
    # A red pennant on a pole, its cloth waving as a travelling sine.
    d.rectangle([3 * s, 2 * s, 5 * s, 62 * s], fill=(110, 80, 50, 255))
    top, bottom = [], []
    for i in range(0, 41):
        x = 5 + i
        y = math.sin(i / 40 * 2.5 * math.pi - k / 8 * 2 * math.pi) * 3 * (i / 40)
        half = 9 * (1 - i / 48)
        top.append(((x) * s, (14 + y - half) * s))
        bottom.append(((x) * s, (14 + y + half) * s))
    d.polygon(top + bottom[::-1], fill=(200, 40, 40, 255))


def sparkle(d, k, s):
    # A four-pointed star that grows and fades; drawn for additive blending (dark = no light).
    t = k / 5
    r = (4 + 10 * t) * s
    glow = int(255 * (1 - t * 0.8))
    c = 16 * s
    d.polygon([(c, c - r), (c + r * 0.2, c), (c, c + r), (c - r * 0.2, c)], fill=(glow, glow, int(glow * 0.7), 255))
    d.polygon([(c - r, c), (c, c - r * 0.2), (c + r, c), (c, c + r * 0.2)], fill=(glow, glow, int(glow * 0.7), 255))


def cursor(d, k, s):
    # The mouse pointer: an arrow whose tip is at (7, 0), the cursor's hot spot, with a leaf at its
    # tail that sways gently.
    tip = (7 * s, 0.5 * s)
    arrow = [tip, (7 * s, 22 * s), (12 * s, 17.5 * s), (15.5 * s, 25 * s), (19 * s, 23.5 * s),
             (15.5 * s, 16 * s), (22 * s, 16 * s)]
    d.polygon(arrow, fill=(40, 30, 20, 255))
    inner = [(8.6 * s, 4 * s), (8.6 * s, 18.5 * s), (12.4 * s, 15 * s), (16 * s, 22.2 * s), (17.2 * s, 21.6 * s),
             (13.6 * s, 14.6 * s), (18.3 * s, 14.6 * s)]
    d.polygon(inner, fill=(250, 246, 225, 255))
    sway = math.sin(k / 6 * 2 * math.pi) * 0.35
    leaf = rotate(21 * s, 26 * s, [(0, 0), (5 * s, -3 * s), (9 * s, 0), (5 * s, 3 * s)], -0.6 + sway)
    d.polygon(leaf, fill=(90, 170, 70, 255))


strip("windmill.png", 96, 120, 8, windmill)
strip("cursor.png", 32, 32, 6, cursor)
strip("bird.png", 40, 28, 6, bird)
strip("flag.png", 48, 64, 8, flag)
strip("sparkle.png", 32, 32, 6, sparkle)

catalogue = """<?xml version="1.0" encoding="utf-8"?>
<!-- Named animations: a sprite picture with its frames stacked top to bottom, how long one cycle
     lasts in milliseconds and how it plays. The group "always" is loaded at start-up; others are
     loaded when first asked for. -->
<Animations>
  <Animation id="Cursor_Normal" group="always" path="data/anims/cursor.png" period="1200" frames="6" isLoop="1" isNoCenter="1"/>
  <Animation id="windmill_sails" group="always" path="data/anims/windmill.png" period="1600" frames="8" isLoop="1"/>
  <Animation id="bird_fly" group="always" path="data/anims/bird.png" period="600" frames="6" isLoop="1"/>
  <Animation id="bird_fly_left" group="always" path="data/anims/bird.png" period="600" frames="6" isLoop="1" isFlipX="1"/>
  <Animation id="flag_wave" group="always" path="data/anims/flag.png" period="1200" frames="8" isLoop="1" isNoCenter="1"/>
  <Animation id="sparkle" path="data/anims/sparkle.png" period="500" frames="6" isAdd="1" StickOnEnd="0"/>
</Animations>
"""
# Other generators add their own blocks ("<!-- begin: NAME -->" ... "<!-- end: NAME -->"); they are
# kept, whichever generator runs first.
path = os.path.join(data, "animations.xml")
if os.path.exists(path):
    with open(path, encoding="utf-8") as f:
        old = f.read().replace("\r\n", "\n")
    blocks = re.findall(r"  <!-- begin: [^>]*-->\n.*?  <!-- end: [^>]*-->\n", old, re.S)
    at = catalogue.rindex("</Animations>")
    catalogue = catalogue[:at] + "".join(blocks) + catalogue[at:]
with open(path, "w", encoding="utf-8", newline="\r\n") as f:
    f.write(catalogue)
