#!/usr/bin/env python3
"""Writes the demo's widget screen: data/translation.ini, data/menu/demo.ini and its pictures.

The screen shows one of each standard widget on a wooden board over a meadow: a capped push
button, a switch with arrows, a slider made of a track, a fill and a thumb, and a text field. Two
small boards beside it hold a list of flowers that scrolls (a table inside a scroll window), glowing
buttons that open the effects gallery and the comic page, and a tip that types itself; a glowing sun
turns in the sky. Every picture is painted here at four times its size and scaled down, so the edges
are smooth and the result is the same on every run. The texts are English and live in the
translation document (other generators keep their own sections there); the screen definition names
only their keys.
"""
import math
import os
import random
import sys

from PIL import Image, ImageDraw, ImageFilter

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))
data = os.path.join(target, "data")
pics = os.path.join(data, "menu", "demo")
os.makedirs(pics, exist_ok=True)
S = 4  # supersampling factor


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(text)


def save(img, name):
    img.save(os.path.join(pics, name), optimize=True)


def smooth(size, paint):
    big = Image.new("RGBA", (size[0] * S, size[1] * S), (0, 0, 0, 0))
    paint(ImageDraw.Draw(big), big)
    return big.resize(size, Image.LANCZOS)


def shade(colour, f):
    return tuple(max(0, min(255, int(c * f))) for c in colour[:3]) + tuple(colour[3:])


def gradient_fill(img, box, top, bottom, radius):
    """A vertical gradient from `top` to `bottom` inside a rounded box."""
    x0, y0, x1, y1 = box
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    for y in range(int(y0), int(y1) + 1):
        t = (y - y0) / max(1, y1 - y0)
        c = tuple(int(a + (b - a) * t) for a, b in zip(top, bottom)) + (255,)
        d.line([(x0, y), (x1, y)], fill=c)
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(box, radius=radius, fill=255)
    img.paste(layer, (0, 0), mask)


# ---- Background: sky, far hills and a meadow ------------------------------------------------------
def overlay(img, paint):
    """Paints translucent strokes on a layer of their own and blends it in (drawing them straight
    onto the picture would replace its alpha and leave see-through streaks)."""
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    paint(ImageDraw.Draw(layer))
    img.alpha_composite(layer)


def background():
    rng = random.Random(7070)
    W, H = 1024, 768
    img = Image.new("RGB", (W, H))
    d = ImageDraw.Draw(img)
    for y in range(H):
        t = y / H
        if t < 0.55:
            u = t / 0.55
            c = (int(120 + 80 * u), int(175 + 50 * u), int(225 + 15 * u))
        else:
            u = (t - 0.55) / 0.45
            c = (int(95 - 40 * u), int(160 - 50 * u), int(70 - 30 * u))
        d.line([(0, y), (W, y)], fill=c)
    for k, (base, amp, col) in enumerate([(400, 40, (110, 160, 110)), (440, 30, (90, 150, 80))]):
        pts = [(0, H)]
        for x in range(0, W + 16, 16):
            pts.append((x, base - amp * (0.5 + 0.5 * math.sin(x / (140 + 60 * k) + k * 2.1))))
        pts.append((W, H))
        d.polygon(pts, fill=col)
    for _ in range(9):  # clouds
        cx, cy = rng.randrange(0, W), rng.randrange(40, 260)
        for _ in range(6):
            r = rng.randrange(18, 42)
            ox, oy = rng.randrange(-60, 60), rng.randrange(-12, 12)
            d.ellipse([cx + ox - r, cy + oy - r * 0.6, cx + ox + r, cy + oy + r * 0.6], fill=(245, 248, 252))
    for _ in range(3500):  # grass blades
        x, y = rng.randrange(W), rng.randrange(470, H)
        h = rng.randrange(5, 16) * (0.5 + (y - 470) / (H - 470))
        g = rng.randrange(100, 190)
        d.line([(x, y), (x + rng.randrange(-3, 4), y - h)], fill=(40, g, 45))
    for _ in range(160):  # flowers
        x, y = rng.randrange(W), rng.randrange(500, H)
        c = rng.choice([(250, 240, 120), (250, 250, 250), (235, 140, 170), (170, 150, 240)])
        d.ellipse([x - 2, y - 2, x + 2, y + 2], fill=c)
    img = img.filter(ImageFilter.SMOOTH)
    img.save(os.path.join(pics, "back.jpg"), quality=88)


# ---- The board the widgets sit on -------------------------------------------------------------------
def board(size, name="board.png"):
    rng = random.Random(4242)
    W, H = size

    def paint(d, img):
        m = 10 * S
        d.rounded_rectangle([m + 8 * S, m + 10 * S, W * S - m + 8 * S, H * S - m + 10 * S], radius=28 * S,
                            fill=(20, 30, 10, 90))
        box = [m, m, W * S - m, H * S - m]
        d.rounded_rectangle(box, radius=28 * S, fill=(66, 42, 22, 255))
        inner = [box[0] + 9 * S, box[1] + 9 * S, box[2] - 9 * S, box[3] - 9 * S]
        gradient_fill(img, inner, (138, 94, 56), (104, 68, 38), 22 * S)

        # Grain strokes up to 200 pixels long, or a third of a narrower board.
        longest = min(200, W // 3)

        def grain(g):
            for _ in range(140 * W // 640 if W < 640 else 140):
                y = rng.randrange(inner[1] + 6 * S, inner[3] - 6 * S)
                x = rng.randrange(inner[0] + 8 * S, inner[2] - longest * S)
                g.line([(x, y), (x + rng.randrange(longest * 2 // 5, longest) * S, y + rng.randrange(-2, 3) * S)],
                       fill=(84, 54, 30, 80), width=S)

        overlay(img, grain)
        d = ImageDraw.Draw(img)
        for cx, cy in [(box[0] + 22 * S, box[1] + 22 * S), (box[2] - 22 * S, box[1] + 22 * S),
                       (box[0] + 22 * S, box[3] - 22 * S), (box[2] - 22 * S, box[3] - 22 * S)]:
            d.ellipse([cx - 5 * S, cy - 5 * S, cx + 5 * S, cy + 5 * S], fill=(70, 66, 70, 255))
            d.ellipse([cx - 3 * S, cy - 4 * S, cx + 1 * S, cy], fill=(150, 150, 160, 255))

    save(smooth(size, paint), name)


# ---- Push button: left cap, middle tile and right cap for each state --------------------------------
BUTTON = {"ignore": ((150, 150, 140), 1.0), "normal": ((70, 150, 60), 1.0),
          "active": ((100, 185, 75), 1.0), "press": ((55, 120, 45), 0.9)}
BH, CAP, TILE = 48, 24, 16


def button_strip(colour, pressed):
    """A whole button 2 x CAP + TILE wide; the caps and the tile are cut from it."""
    W = 2 * CAP + TILE
    dy = 2 * S if pressed else 0

    def paint(d, img):
        d.rounded_rectangle([0, 4 * S, W * S - 1, BH * S - 1], radius=20 * S, fill=(30, 50, 25, 110))
        body = [0, dy, W * S - 1, BH * S - 5 * S + dy]
        d.rounded_rectangle(body, radius=20 * S, fill=shade(colour, 0.55) + (255,))
        inner = [2 * S, dy + 2 * S, W * S - 1 - 2 * S, BH * S - 7 * S + dy]
        top = shade(colour, 0.85 if pressed else 1.25)
        gradient_fill(img, inner, top[:3], shade(colour, 0.8)[:3], 18 * S)
        overlay(img, lambda g: g.rounded_rectangle([8 * S, dy + 5 * S, W * S - 8 * S, dy + 16 * S], radius=8 * S,
                                                   fill=(255, 255, 255, 40 if pressed else 70)))

    return smooth((W, BH), paint)


def buttons():
    for state, (colour, _) in BUTTON.items():
        strip = button_strip(colour, state == "press")
        save(strip.crop((0, 0, CAP, BH)), f"btn_left_{state}.png")
        save(strip.crop((CAP, 0, CAP + TILE, BH)), f"btn_mid_{state}.png")
        save(strip.crop((CAP + TILE, 0, 2 * CAP + TILE, BH)), f"btn_right_{state}.png")


# ---- Switch: a slot with two arrow buttons ----------------------------------------------------------
SW_W, SW_H, ARROW = 300, 44, 40


def switch_pictures():
    for state, f in [("ignore", 0.8), ("normal", 1.0), ("active", 1.08), ("press", 0.95)]:
        def slot(d, img, f=f):
            d.rounded_rectangle([ARROW * S - 6 * S, 2 * S, (SW_W - ARROW) * S + 6 * S, SW_H * S - 2 * S],
                                radius=10 * S, fill=(180, 140, 95, 255))
            gradient_fill(img, [ARROW * S - 3 * S, 5 * S, (SW_W - ARROW) * S + 3 * S, SW_H * S - 5 * S],
                          shade((72, 48, 26), f)[:3], shade((52, 34, 18), f)[:3], 8 * S)

        save(smooth((SW_W, SW_H), slot), f"switch_{state}.png")
    for side in ("left", "right"):
        for state, colour in [("ignore", (150, 150, 140)), ("normal", (214, 150, 50)),
                              ("active", (240, 180, 70)), ("press", (180, 120, 40))]:
            def arrow(d, img, colour=colour, side=side, state=state):
                dy = 2 * S if state == "press" else 0
                d.ellipse([2 * S, 2 * S + dy, (ARROW - 2) * S, (SW_H - 4) * S + dy], fill=shade(colour, 0.55) + (255,))
                d.ellipse([4 * S, 4 * S + dy, (ARROW - 4) * S, (SW_H - 6) * S + dy], fill=colour + (255,))
                cx, cy = ARROW * S / 2, (SW_H - 4) * S / 2 + dy
                k = -1 if side == "left" else 1
                pts = [(cx + k * 8 * S, cy), (cx - k * 5 * S, cy - 9 * S), (cx - k * 5 * S, cy + 9 * S)]
                d.polygon(pts, fill=(255, 250, 235, 255))

            save(smooth((ARROW, SW_H), arrow), f"arrow_{side}_{state}.png")


# ---- Slider: empty track, filled track, thumb -------------------------------------------------------
TR_W, TR_H, THUMB_W, THUMB_H = 300, 16, 28, 36


def slider_pictures():
    def track(d, img):
        d.rounded_rectangle([0, 0, TR_W * S - 1, TR_H * S - 1], radius=8 * S, fill=(180, 140, 95, 255))
        d.rounded_rectangle([2 * S, 3 * S, TR_W * S - 2 * S, TR_H * S - 2 * S], radius=6 * S, fill=(50, 32, 18, 255))

    def fill(d, img):
        d.rounded_rectangle([0, 0, TR_W * S - 1, TR_H * S - 1], radius=8 * S, fill=(40, 90, 30, 255))
        gradient_fill(img, [2 * S, 2 * S, TR_W * S - 2 * S, TR_H * S - 2 * S], (150, 215, 90), (70, 150, 50), 6 * S)

    save(smooth((TR_W, TR_H), track), "track.png")
    save(smooth((TR_W, TR_H), fill), "fill.png")
    for state, colour in [("ignore", (170, 170, 160)), ("normal", (236, 226, 200)),
                          ("active", (255, 246, 215)), ("press", (215, 200, 165))]:
        def thumb(d, img, colour=colour):
            d.rounded_rectangle([2 * S, 4 * S, (THUMB_W - 1) * S, THUMB_H * S - 1], radius=9 * S, fill=(20, 20, 10, 90))
            d.rounded_rectangle([0, 0, (THUMB_W - 3) * S, (THUMB_H - 4) * S], radius=9 * S,
                                fill=shade(colour, 0.6) + (255,))
            gradient_fill(img, [2 * S, 2 * S, (THUMB_W - 5) * S, (THUMB_H - 6) * S], colour, shade(colour, 0.85)[:3],
                          7 * S)
            d = ImageDraw.Draw(img)
            for gx in (9, 13, 17):
                d.line([(gx * S, 10 * S), (gx * S, (THUMB_H - 14) * S)], fill=shade(colour, 0.6) + (255,), width=S)

        save(smooth((THUMB_W, THUMB_H), thumb), f"thumb_{state}.png")


# ---- Text field -----------------------------------------------------------------------------------
def field_pictures():
    for state, edge in [("ignore", (140, 140, 130)), ("normal", (180, 140, 95)),
                        ("active", (230, 170, 60)), ("press", (230, 170, 60))]:
        def paint(d, img, edge=edge):
            d.rounded_rectangle([0, 0, SW_W * S - 1, SW_H * S - 1], radius=9 * S, fill=edge + (255,))
            gradient_fill(img, [3 * S, 3 * S, SW_W * S - 3 * S, SW_H * S - 3 * S], (44, 30, 16), (66, 46, 26), 7 * S)

        save(smooth((SW_W, SW_H), paint), f"field_{state}.png")


# ---- Side boards: list rows, the glow of a hovered button, the sun ---------------------------------
ROW_W, ROW_H = 140, 30


def row_pictures():
    for name, alpha in (("row_a.png", 70), ("row_b.png", 30)):
        def paint(d, img, alpha=alpha):
            d.rounded_rectangle([0, 0, ROW_W * S - 1, (ROW_H - 2) * S], radius=7 * S, fill=(255, 240, 200, alpha))

        save(smooth((ROW_W, ROW_H - 2), paint), name)


GLOW_W, GLOW_H = 216, 96


def glow_picture():
    """A soft warm halo, brightest in the middle, that a hovered button adds to the screen."""
    img = Image.new("RGBA", (GLOW_W, GLOW_H), (0, 0, 0, 0))
    px = img.load()
    for y in range(GLOW_H):
        for x in range(GLOW_W):
            dx = (x - GLOW_W / 2) / (GLOW_W / 2)
            dy = (y - GLOW_H / 2) / (GLOW_H / 2)
            a = max(0.0, 1.0 - math.sqrt(dx * dx * 0.8 + dy * dy * 1.2)) ** 0.7
            px[x, y] = (255, 214, 110, int(255 * a))
    save(img, "glow.png")


SUN = 160


def sun_picture():
    """Rays around a bright disc; the window turns it and lets it breathe."""
    def paint(d, img):
        c = SUN * S / 2
        for k in range(16):
            a, w = k * math.pi / 8, 0.09
            pts = [(c + math.cos(a - w) * 30 * S, c + math.sin(a - w) * 30 * S),
                   (c + math.cos(a) * (SUN / 2 - 4) * S, c + math.sin(a) * (SUN / 2 - 4) * S),
                   (c + math.cos(a + w) * 30 * S, c + math.sin(a + w) * 30 * S)]
            d.polygon(pts, fill=(255, 236, 150, 150))
        for r, alpha in ((34, 90), (28, 200), (24, 255)):
            d.ellipse([c - r * S, c - r * S, c + r * S, c + r * S], fill=(255, 244, 190, alpha))

    save(smooth((SUN, SUN), paint), "sun.png")


background()
BOARD = (640, 560)
board(BOARD)
PANEL = (184, 338)
board(PANEL, "panel.png")
row_pictures()
glow_picture()
sun_picture()
buttons()
switch_pictures()
slider_pictures()
field_pictures()

P = "data/menu/demo/"
BX, BY = (1024 - BOARD[0]) // 2, 110
CX = 512
LX, RX, PY = 4, 1024 - 4 - PANEL[0], 416
FLOWERS = ["Buttercup", "Daisy", "Clover", "Cornflower", "Poppy", "Bluebell", "Cowslip", "Foxglove",
           "Harebell", "Meadowsweet", "Oxeye daisy", "Ragged robin", "Red campion", "Self-heal",
           "Sorrel", "Vetch", "Yarrow", "Knapweed", "Scabious", "Lady's bedstraw", "Yellow rattle",
           "Bird's-foot trefoil", "Meadow cranesbill", "Wild carrot"]
OWN_SECTIONS = {"game", "startup", "demo", "demo messages", "demo more", "flowers"}


def translation(own):
    """Writes this generator's sections of the translation document and keeps every other section
    (other generators add theirs), so running it alone loses nothing."""
    path = os.path.join(data, "translation.ini")
    kept, keep = [], False
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            for line in f.read().splitlines():
                t = line.strip()
                if t.startswith("[") and t.endswith("]"):
                    keep = t[1:-1].strip().lower() not in OWN_SECTIONS
                if keep:
                    kept.append(line)
    while kept and not kept[-1].strip():
        kept.pop()
    write(path, own + ("\n" + "\n".join(kept) + "\n" if kept else ""))


translation("""\
; Every text the player reads, by key. Sections only group the keys for translators: a lookup takes
; the first key of its name in the whole file.
[game]
#LEVEL=Level
#BONUS_LEVEL=Bonus level
#MODE=mode
#GAMEMODE_Normal=Relaxed
#GAMEMODE_Multiclick=Busy
#GAMEMODE_NoTime=Untimed

[startup]
#PRESS_ANY_KEY=Press any key to continue
#LOADING=Getting the meadow ready...

[demo]
#DEMO_TITLE=Meadowmark
#DEMO_HINT=Point at a control, then click, drag or type.
#DEMO_PLAY=Play
#DEMO_SOUND_ON=Sound: on
#DEMO_SOUND_SOFT=Sound: soft
#DEMO_SOUND_OFF=Sound: off
#DEMO_VOLUME=Volume
#DEMO_NAME=Your name (Enter to greet)
#DEMO_STATUS=Nothing chosen yet.

[demo messages]
; %s and %d are filled in by the game.
#DEMO_PLAYED=The meadow is waiting for you!
#DEMO_VOLUME_IS=Volume: %d%%
#DEMO_HELLO=Hello, %s!
#DEMO_NO_NAME=Type a name first.

[demo more]
#DEMO_FLOWERS=Meadow flowers
#DEMO_MORE=More to see
#DEMO_FIREWORKS=Fireworks
#DEMO_COMIC=A comic
#DEMO_TIP=Flick the flower list: it glides on, slows down and springs back at its ends.

[flowers]
""" + "".join(f"#FLOWER_{i + 1}={n}\n" for i, n in enumerate(FLOWERS)))

def glow_button(name, y, caption):
    keys = [f"[{name}]", "type=glowButton", f"x={RX + 22}", f"y={y}", f"xs={ROW_W}", f"ys={BH}",
            f"name={caption}", "yalign=0", "select=3", "stage=1"]
    keys += [f"{state}={P}btn_mid_{state}.png" for state in BUTTON]
    keys += [f"{side}{state}={P}btn_{side}_{state}.png" for side in ("left", "right") for state in BUTTON]
    keys += ["sndNormalActive=click", "sndActivePress=confirm", f"Highlight={P}glow.png",
             f"hlX={(ROW_W - GLOW_W) // 2}", f"hlY={(BH - 4 - GLOW_H) // 2}"]
    return "\n".join(keys) + "\n"


def side_boards():
    rows = "".join(f"""
[Flower{i + 1}]
type=text
xs={ROW_W}
ys={ROW_H - 2}
ignore={P}{"row_a" if i % 2 == 0 else "row_b"}.png
name=#FLOWER_{i + 1}
""" for i in range(len(FLOWERS)))
    return f"""
; ---- The sun and the two side boards ----
[Sun]
type=rotatingGlow
x=846
y=-8
ignore={P}sun.png
isClockWise=1
glowPeriod=40000
fadePeriod=6000
fadeAmpl=420
a=255

[LeftPanel]
type=sprite
x={LX}
y={PY}
ignore={P}panel.png

[FlowersTitle]
type=colorText
x={LX}
y={PY + 20}
xs={PANEL[0]}
ys=26
name=#DEMO_FLOWERS
r=255
g=214
b=90

; The list: a scroll window holding a table and its rows. The rows "Flower1", "Flower2"... are made
; inside the scroll window in turn (placed relative to it) and the table stacks them.
[Flowers]
type=scrollWnd
x={LX + 22}
y={PY + 56}
xs={ROW_W}
ys={ROW_H * 8}
stage=1

[FlowerTable]
type=table
stepY={ROW_H}
rows=100
{rows}
[RightPanel]
type=sprite
x={RX}
y={PY}
ignore={P}panel.png

[MoreTitle]
type=colorText
x={RX}
y={PY + 20}
xs={PANEL[0]}
ys=26
name=#DEMO_MORE
r=255
g=214
b=90

{glow_button("Fireworks", PY + 58, "#DEMO_FIREWORKS")}
{glow_button("Comic", PY + 120, "#DEMO_COMIC")}
; Types itself when the screen opens, and again a while after it has finished.
[Tip]
type=typingText
x={RX + 22}
y={PY + 186}
xs={ROW_W}
ys=130
yalign=-1
name=#DEMO_TIP
period=45
timeout=4000
"""


write(os.path.join(data, "menu", "demo.ini"), f"""\
; The widget demo screen. Each section is one window, created in the order the screen names them;
; "stage=1" makes a window take the mouse. Move windows with the typed word uiedit: click one to
; mark it, drag it or use the arrow keys, F2 writes its place back here.
[Main]
normal={P}back.jpg
font=data/fonts/sans16.png

[Board]
type=sprite
x={BX}
y={BY}
ignore={P}board.png

[Title]
type=text
x={BX}
y={BY + 30}
xs={BOARD[0]}
ys=40
name=#DEMO_TITLE
select=2
font=data/fonts/sans26b.png

[Hint]
type=text
x={BX + 40}
y={BY + 78}
xs={BOARD[0] - 80}
ys=24
name=#DEMO_HINT

[Play]
type=ieButton
x={CX - 110}
y={BY + 120}
xs=220
ys={BH}
name=#DEMO_PLAY
yalign=0
select=3
stage=1
ignore={P}btn_mid_ignore.png
normal={P}btn_mid_normal.png
active={P}btn_mid_active.png
press={P}btn_mid_press.png
leftignore={P}btn_left_ignore.png
leftnormal={P}btn_left_normal.png
leftactive={P}btn_left_active.png
leftpress={P}btn_left_press.png
rightignore={P}btn_right_ignore.png
rightnormal={P}btn_right_normal.png
rightactive={P}btn_right_active.png
rightpress={P}btn_right_press.png
sndNormalActive=click
sndActivePress=confirm

[Sound]
type=switchselect
x={CX - SW_W // 2}
y={BY + 196}
xs={SW_W}
ys={SW_H}
stage=1
ignore={P}switch_ignore.png
normal={P}switch_normal.png
active={P}switch_active.png
press={P}switch_press.png
sndActivePress=click
0=SoundOn
1=SoundSoft
2=SoundOff

[left]
normal={P}arrow_left_normal.png
active={P}arrow_left_active.png
press={P}arrow_left_press.png
ignore={P}arrow_left_ignore.png

[right]
normal={P}arrow_right_normal.png
active={P}arrow_right_active.png
press={P}arrow_right_press.png
ignore={P}arrow_right_ignore.png

[SoundOn]
name=#DEMO_SOUND_ON
select=3
yalign=0

[SoundSoft]
name=#DEMO_SOUND_SOFT
select=3
yalign=0

[SoundOff]
name=#DEMO_SOUND_OFF
select=3
yalign=0

[VolumeLabel]
type=text
x={CX - TR_W // 2}
y={BY + 262}
xs={TR_W}
ys=24
xalign=-1
name=#DEMO_VOLUME

[Volume]
type=progress2
x={CX - TR_W // 2}
y={BY + 290}
xs={TR_W}
ys={THUMB_H}
stage=1
sndActivePress=click
0=Track
1=Fill
2=Thumb

[Track]
y={(THUMB_H - 4 - TR_H) // 2}
xs={TR_W}
ys={TR_H}
ignore={P}track.png
normal={P}track.png
active={P}track.png
press={P}track.png

[Fill]
y={(THUMB_H - 4 - TR_H) // 2}
xs={TR_W}
ys={TR_H}
ignore={P}fill.png
normal={P}fill.png
active={P}fill.png
press={P}fill.png

[Thumb]
x=-{THUMB_W // 2 - 1}
ignore={P}thumb_ignore.png
normal={P}thumb_normal.png
active={P}thumb_active.png
press={P}thumb_press.png

[NameLabel]
type=text
x={CX - SW_W // 2}
y={BY + 350}
xs={SW_W}
ys=24
xalign=-1
name=#DEMO_NAME

[Name]
type=ieEdit
x={CX - SW_W // 2}
y={BY + 378}
xs={SW_W}
ys={SW_H}
name=
select=3
strsize=24
stage=1
CursorR=255
CursorG=214
CursorB=90
ignore={P}field_ignore.png
normal={P}field_normal.png
active={P}field_active.png
press={P}field_press.png

[Status]
type=text
x={BX + 40}
y={BY + 450}
xs={BOARD[0] - 80}
ys=60
select=1
name=#DEMO_STATUS
""" + side_boards())
print("ui: data/translation.ini, data/menu/demo.ini and its pictures")
