#!/usr/bin/env python3
"""Writes the main menu (data/menu/UIMainMenu.ini), the game-mode dialog (UIGameModeMenu.ini), the
game logo ornament (gameLogo.ini), the menu's questions "Exit" and "Url" in data/menu/dialog.ini,
the title animations in data/animations.xml, their pictures under data/menu/mainmenu/ and the
texts in English and Russian.

The menu is a painted meadow at the foot of wooded hills with a wooden board of buttons in the
middle, a hanging name sign over it, and a parchment plaque greeting the player in the corner.
Every picture is painted here (larger, then scaled down), the same on every run.
"""
import math
import os
import random
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

from catalogue_block import animation_line, write_block
from demo_widgets import capped_button
from level_common import merge_sections, own_section_last, write
from menu_paint import overlay, supersampled

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))
data = os.path.join(target, "data")
menu = os.path.join(data, "menu")
pics = os.path.join(menu, "mainmenu")
PIC = "data/menu/mainmenu/"
os.makedirs(pics, exist_ok=True)
S = 3  # supersampling factor
W, H = 1024, 768
FONT_DIR = "/usr/share/fonts/truetype/dejavu"
BIG = "data/fonts/sans26b.png"
SMALL = "data/fonts/sans16.png"


def ttf(size, bold=True):
    return ImageFont.truetype(os.path.join(FONT_DIR, "DejaVuSerif-Bold.ttf" if bold else "DejaVuSans.ttf"), size)



def save(img, name):
    if name.endswith(".jpg"):
        img.convert("RGB").save(os.path.join(pics, name), quality=88)
    else:
        img.save(os.path.join(pics, name), optimize=True)


def smooth(size, paint):
    return supersampled(size, paint, S)


def mix(a, b, t):
    return tuple(int(x + (y - x) * t) for x, y in zip(a, b))


def gradient(img, box, top, bottom, radius):
    x0, y0, x1, y1 = [int(v) for v in box]
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    for y in range(y0, y1 + 1):
        d.line([(x0, y), (x1, y)], fill=mix(top, bottom, (y - y0) / max(1, y1 - y0)) + (255,))
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(box, radius=radius, fill=255)
    img.paste(layer, (0, 0), mask)



# ---- The meadow behind the menu ------------------------------------------------------------------
def background():
    rng = random.Random(9201)
    img = Image.new("RGBA", (W, H))
    d = ImageDraw.Draw(img)
    for y in range(H):  # warm morning sky into the meadow
        t = y / H
        if t < 0.5:
            c = mix((118, 170, 222), (250, 222, 170), t / 0.5)
        else:
            c = mix((120, 170, 70), (60, 112, 40), (t - 0.5) / 0.5)
        d.line([(0, y), (W, y)], fill=c + (255,))

    def sun(g):
        for r, a in ((150, 30), (100, 50), (64, 110)):
            g.ellipse([820 - r, 150 - r, 820 + r, 150 + r], fill=(255, 240, 190, a))
        g.ellipse([790, 120, 850, 180], fill=(255, 246, 210, 255))

    overlay(img, sun)
    for k, (base, amp, col) in enumerate([(360, 50, (112, 150, 120)), (395, 38, (92, 146, 86)),
                                          (430, 26, (84, 150, 64))]):
        pts = [(0, H)]
        for x in range(0, W + 16, 16):
            pts.append((x, base - amp * (0.5 + 0.5 * math.sin(x / (130 + 50 * k) + k * 1.7))))
        pts.append((W, H))
        d.polygon(pts, fill=col + (255,))
    for _ in range(40):  # a wood along the far hills
        x = rng.randrange(-20, W + 20)
        y = 350 + rng.randrange(0, 70)
        r = rng.randrange(14, 28)
        g = rng.randrange(70, 110)
        d.ellipse([x - r, y - 2 * r, x + r, y], fill=(40, g, 44, 255))
        d.rectangle([x - 2, y - 4, x + 2, y + 6], fill=(70, 50, 30, 255))
    for _ in range(10):  # clouds
        cx, cy = rng.randrange(0, W), rng.randrange(30, 230)
        for _ in range(6):
            r = rng.randrange(16, 40)
            ox, oy = rng.randrange(-60, 60), rng.randrange(-10, 10)
            d.ellipse([cx + ox - r, cy + oy - r * 0.55, cx + ox + r, cy + oy + r * 0.55], fill=(252, 250, 244, 255))
    # a sandy path winding up from the front
    pts_l, pts_r = [], []
    for i in range(0, 21):
        t = i / 20
        y = H - t * (H - 440)
        x = 512 + 180 * math.sin(t * 3.0 + 0.4) * (1 - t * 0.6)
        half = 90 * (1 - t) + 6
        pts_l.append((x - half, y))
        pts_r.append((x + half, y))
    d.polygon(pts_l + pts_r[::-1], fill=(214, 186, 128, 255))
    for _ in range(4200):  # grass
        x, y = rng.randrange(W), rng.randrange(440, H)
        h = rng.randrange(5, 15) * (0.5 + (y - 440) / (H - 440))
        g = rng.randrange(110, 196)
        d.line([(x, y), (x + rng.randrange(-3, 4), y - h)], fill=(46, g, 44, 255))
    for _ in range(220):  # flowers
        x, y = rng.randrange(W), rng.randrange(470, H)
        c = rng.choice([(250, 236, 110), (250, 250, 250), (236, 140, 170), (176, 150, 240), (250, 170, 80)])
        r = rng.choice([2, 2, 3])
        d.ellipse([x - r, y - r, x + r, y + r], fill=c + (255,))
    return img.filter(ImageFilter.SMOOTH)


# ---- Wooden boards, parchment and the question board ---------------------------------------------
def board(size, seed, radius=24):
    rng = random.Random(seed)
    w, h = size

    def paint(d, img):
        m = 5 * S
        d.rounded_rectangle([m + 5 * S, m + 7 * S, w * S - m + 5 * S, h * S - m + 7 * S], radius=radius * S,
                            fill=(20, 30, 10, 110))
        box = [m, m, w * S - m, h * S - m]
        d.rounded_rectangle(box, radius=radius * S, fill=(70, 44, 22, 255))
        inner = [box[0] + 8 * S, box[1] + 8 * S, box[2] - 8 * S, box[3] - 8 * S]
        gradient(img, inner, (150, 104, 62), (110, 72, 40), (radius - 4) * S)

        def grain(g):
            y = inner[1] + 44 * S
            while y < inner[3] - 10 * S:
                g.line([(inner[0], y), (inner[2], y)], fill=(72, 46, 22, 150), width=2 * S)
                y += 44 * S
            longest = max(20, min(160, w // 3))
            for _ in range(80):
                gy = rng.randrange(int(inner[1]) + 6 * S, int(inner[3]) - 6 * S)
                gx = rng.randrange(int(inner[0]) + 8 * S, max(int(inner[0]) + 9 * S, int(inner[2]) - longest * S))
                g.line([(gx, gy), (gx + rng.randrange(longest * 2 // 5, longest) * S, gy + rng.randrange(-2, 3) * S)],
                       fill=(86, 56, 30, 70), width=S)

        overlay(img, grain)
        d = ImageDraw.Draw(img)
        for cx, cy in [(box[0] + 20 * S, box[1] + 20 * S), (box[2] - 20 * S, box[1] + 20 * S),
                       (box[0] + 20 * S, box[3] - 20 * S), (box[2] - 20 * S, box[3] - 20 * S)]:
            d.ellipse([cx - 5 * S, cy - 5 * S, cx + 5 * S, cy + 5 * S], fill=(70, 66, 70, 255))
            d.ellipse([cx - 3 * S, cy - 4 * S, cx + S, cy], fill=(160, 160, 170, 255))

    return smooth(size, paint)


def parchment(size, seed):
    rng = random.Random(seed)
    w, h = size

    def paint(d, img):
        d.rounded_rectangle([4 * S, 6 * S, w * S - 1, h * S - 1], radius=14 * S, fill=(30, 40, 10, 90))
        d.rounded_rectangle([0, 0, w * S - 5 * S, h * S - 7 * S], radius=14 * S, fill=(150, 118, 70, 255))
        gradient(img, [3 * S, 3 * S, w * S - 8 * S, h * S - 10 * S], (248, 236, 200), (228, 208, 162), 12 * S)

        def specks(g):
            for _ in range(120):
                x, y = rng.randrange(8 * S, w * S - 12 * S), rng.randrange(8 * S, h * S - 14 * S)
                r = rng.randrange(1, 3) * S
                g.ellipse([x - r, y - r, x + r, y + r], fill=(170, 130, 70, 28))

        overlay(img, specks)

    return smooth(size, paint)


# ---- The title: a hanging sign with the game's name ---------------------------------------------
TW, TH = 500, 170
TITLE = "Meadowmark"


def title_frame(alpha=1.0, drop=0, sway=0.0, shine=None):
    """One picture of the title sign: faded in by `alpha`, lowered by `drop` pixels, its leaves
    turned by `sway`, with a light glint crossing the letters at `shine` (0..1) when given."""
    img = Image.new("RGBA", (TW * S, TH * S), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    top = 20 + drop
    # the two ropes
    for x in (110, TW - 110):
        d.line([(x * S, 0), (x * S, (top + 14) * S)], fill=(96, 74, 44, 255), width=4 * S)
    sign = [30 * S, top * S, (TW - 30) * S, (top + 120) * S]
    d.rounded_rectangle([sign[0] + 6 * S, sign[1] + 8 * S, sign[2] + 6 * S, sign[3] + 8 * S], radius=30 * S,
                        fill=(20, 30, 10, 90))
    d.rounded_rectangle(sign, radius=30 * S, fill=(74, 46, 22, 255))
    gradient(img, [sign[0] + 8 * S, sign[1] + 8 * S, sign[2] - 8 * S, sign[3] - 8 * S], (164, 116, 68), (118, 78, 42),
             24 * S)
    d = ImageDraw.Draw(img)
    for x in (110, TW - 110):
        d.ellipse([(x - 6) * S, (top + 8) * S, (x + 6) * S, (top + 20) * S], fill=(200, 180, 90, 255))
    # leaves at the corners, turned by the sway
    for cx, cy, base in ((44, top + 14, -2.3), (TW - 44, top + 14, -0.8), (50, top + 108, 2.4), (TW - 50, top + 108, 0.7)):
        for k in range(3):
            ang = base + (k - 1) * 0.45 + sway * (1 if k % 2 else -1)
            lx, ly = cx + 26 * math.cos(ang), cy + 26 * math.sin(ang)
            nx, ny = -math.sin(ang) * 8, math.cos(ang) * 8
            leaf = [(cx * S, cy * S), ((cx + lx) / 2 * S + nx * S, (cy + ly) / 2 * S + ny * S), (lx * S, ly * S),
                    ((cx + lx) / 2 * S - nx * S, (cy + ly) / 2 * S - ny * S)]
            d.polygon(leaf, fill=(84 + 20 * k, 160 + 10 * k, 60, 255))
    f = ttf(52 * S)
    tw = d.textlength(TITLE, font=f)
    tx, ty = (TW * S - tw) / 2, (top + 28) * S
    d.text((tx + 3 * S, ty + 4 * S), TITLE, font=f, fill=(50, 30, 12, 200))
    d.text((tx, ty), TITLE, font=f, fill=(252, 214, 96, 255), stroke_width=2 * S, stroke_fill=(110, 66, 20, 255))
    if shine is not None:
        mask = Image.new("L", img.size, 0)
        ImageDraw.Draw(mask).text((tx, ty), TITLE, font=f, fill=255, stroke_width=2 * S)
        band = Image.new("L", img.size, 0)
        bd = ImageDraw.Draw(band)
        cx = tx - 60 * S + shine * (tw + 120 * S)
        for i in range(-30, 31):
            a = int(200 * (1 - abs(i) / 30))
            bd.line([(cx + i * S - 40 * S, ty + 80 * S), (cx + i * S + 40 * S, ty - 10 * S)], fill=a, width=S)
        light = Image.new("RGBA", img.size, (255, 255, 230, 0))
        light.putalpha(ImageChops.multiply(mask, band))
        img.alpha_composite(light)
    img = img.resize((TW, TH), Image.LANCZOS)
    if alpha < 1.0:
        a = img.getchannel("A").point(lambda v: int(v * alpha))
        img.putalpha(a)
    return img


def strip(frames, name):
    out = Image.new("RGBA", (TW, TH * len(frames)), (0, 0, 0, 0))
    for i, fr in enumerate(frames):
        out.paste(fr, (0, i * TH))
    save(out, name)


# ---- Pictures -----------------------------------------------------------------------------------
# The board of buttons and the greeting plaque are part of the painted background: the menu's
# windows stand on them.
BOARD_W, BOARD_H = 300, 430
BOARD_X, BOARD_Y = (W - BOARD_W) // 2, 214
PLAQUE_W, PLAQUE_H = 270, 160
back = background()
back.alpha_composite(board((BOARD_W, BOARD_H), 9201), (BOARD_X, BOARD_Y))
back.alpha_composite(parchment((PLAQUE_W, PLAQUE_H), 9202), (20, 18))
save(back, "back.jpg")
QW, QH = 440, 210
QX, QY = (W - QW) // 2, (H - QH) // 2
save(board((QW, QH), 9203), "question.png")
MW, MH = 600, 520
MX, MY = (W - MW) // 2, (H - MH) // 2
save(board((MW, MH), 9204), "mode_board.png")
save(parchment((MW - 80, 110), 9205), "mode_text.png")

strip([title_frame(alpha=(i + 1) / 8, drop=int(-40 * (1 - (i + 1) / 8) ** 2)) for i in range(8)], "title_in.png")
strip([title_frame(sway=0.12 * math.sin(i / 8 * 2 * math.pi)) for i in range(8)], "title_idle.png")
strip([title_frame(shine=i / 9) for i in range(10)], "title_shine.png")
title_frame().save(os.path.join(pics, "logo_front.png"), optimize=True)


def mode_pictures():
    """The check box, its tick with a soft glow, and the hover strip of a mode's row."""
    def box(d, img):
        d.rounded_rectangle([2 * S, 2 * S, 34 * S, 34 * S], radius=7 * S, fill=(96, 62, 30, 255))
        d.rounded_rectangle([5 * S, 5 * S, 31 * S, 31 * S], radius=5 * S, fill=(246, 234, 200, 255))

    save(smooth((36, 36), box), "box.png")

    def tick(d, img):
        for r, a in ((21, 50), (16, 80)):
            d.ellipse([(22 - r) * S, (22 - r) * S, (22 + r) * S, (22 + r) * S], fill=(255, 236, 140, a))
        d.line([(12 * S, 22 * S), (20 * S, 31 * S), (34 * S, 10 * S)], fill=(60, 140, 40, 255), width=6 * S,
               joint="curve")

    save(smooth((44, 44), tick), "tick.png")

    def row(d, img):
        d.rounded_rectangle([0, 0, 440 * S - 1, 44 * S - 1], radius=12 * S, fill=(255, 240, 190, 70))

    save(smooth((440, 44), row), "row_active.png")

    def glow(d, img):
        for r in range(40, 0, -4):
            a = int(120 * (1 - r / 40))
            d.ellipse([(40 - r) * S, (40 - r) * S, (40 + r) * S, (40 + r) * S], fill=(255, 240, 170, a))

    save(smooth((80, 80), glow), "glow.png")


mode_pictures()

# ---- Title animations ---------------------------------------------------------------------------
write_block(data, "main menu", [
    animation_line("menu_title_in", PIC + "title_in.png", 900, 8, loop=False, no_center=True, stick=True),
    animation_line("menu_title_idle", PIC + "title_idle.png", 2400, 8, no_center=True),
    animation_line("menu_title_shine", PIC + "title_shine.png", 1200, 10, no_center=True),
])

# ---- The main menu ------------------------------------------------------------------------------
def text(name, x, y, xs, ys, caption, select=0, font=None, xalign=None, hidden=False, yalign=0):
    lines = [f"[{name}]", "type=text", f"x={x}", f"y={y}", f"xs={xs}", f"ys={ys}"]
    if caption:
        lines.append(f"name={caption}")
    lines.append(f"select={select}")
    if xalign is not None:
        lines.append(f"xalign={xalign}")
    lines.append(f"yalign={yalign}")
    if font:
        lines.append(f"font={font}")
    if hidden:
        lines.append("isIgnore=1")
    return "\n".join(lines) + "\n"


def sprite(name, x, y, picture, xs=None, ys=None, hidden=False):
    lines = [f"[{name}]", "type=sprite", f"x={x}", f"y={y}"]
    if xs:
        lines += [f"xs={xs}", f"ys={ys}"]
    lines.append(f"ignore={picture}")
    if hidden:
        lines.append("isIgnore=1")
    return "\n".join(lines) + "\n"


def button(name, x, y, xs, ys, caption, sound="confirm", enabled=True):
    text_ = capped_button(name, x, y, xs, ys, sound, yalign=0).replace(f"name={name}\n", f"name={caption}\n")
    if not enabled:
        # Not yet in the game: shown greyed and deaf to the mouse.
        text_ = text_.replace("stage=1\n", "stage=0\n")
    return text_.replace("sndActivePress", "sndNormalActive=click\nsndActivePress")


BX, BW = BOARD_X + 40, BOARD_W - 80
main = [
    "; The main menu: a meadow, the game's name on a hanging sign, a board of buttons and a plaque\n"
    "; greeting the player. Written by tools/content/gen_92_main_menu.py.\n"
    "[Main]\n" f"normal={PIC}back.jpg\n" f"font={SMALL}\n",
    "[Title]\n; the sign comes down once, then sways and now and then catches the light\n"
    "anim0=menu_title_in\nanim1=menu_title_idle\nanim2=menu_title_shine\nactperiodMin=3000\nactperiodMax=7000\n"
    f"x={(W - TW) // 2}\ny=20\n",
    "[AirDust]\ntype=particleWnd\nx=512\ny=420\neffect=LevelMapMotes\n",
    text("Hello", 40, 34, 220, 24, "#MAINMENU_HELLO", select=0, xalign=-1),
    "[PlayerName]\ntype=ieButton\nx=40\ny=60\nxs=220\nys=34\nname=\nxalign=-1\nyalign=0\nselect=3\nstage=1\n"
    f"font={BIG}\nsndNormalActive=click\n",
    text("PlayerMode", 40, 96, 220, 22, "", select=1, xalign=-1, hidden=True),
    button("ChangePlayer", 40, 122, 130, 36, "#MAINMENU_CHANGE_PLAYER", sound="click"),
    text("ChangePlayerText", 176, 122, 90, 36, "#MAINMENU_NOT_YOU", select=0, xalign=-1),
    button("Play", BX, BOARD_Y + 40, BW, 58, "#MAINMENU_PLAY"),
    button("Mode", BX, BOARD_Y + 110, BW, 48, "#MAINMENU_MODE", sound="click"),
    button("Options", BX, BOARD_Y + 170, BW, 48, "#MAINMENU_OPTIONS", sound="click"),
    button("Scores", BX, BOARD_Y + 230, BW, 48, "#MAINMENU_SCORES", sound="click"),
    button("Achievements", BX, BOARD_Y + 290, BW, 48, "#MAINMENU_ACHIEVEMENTS", sound="click"),
    button("Exit", BX, BOARD_Y + 350, BW, 48, "#MAINMENU_EXIT", sound="click"),
    text("Version", 824, 740, 190, 20, "", xalign=1),
]
write(os.path.join(menu, "UIMainMenu.ini"), "\n".join(main))

# ---- The game-mode dialog -------------------------------------------------------------------------
MODES = [("Normal", "#GAMEMODE_Normal", "#MAINMENU_MODE_NORMAL_DESC"),
         ("Multiclick", "#GAMEMODE_Multiclick", "#MAINMENU_MODE_MULTICLICK_DESC"),
         ("NoTime", "#GAMEMODE_NoTime", "#MAINMENU_MODE_NOTIME_DESC")]
# The dialog covers the screen, so its darkening does too; the board stands in the middle and the
# children are placed relative to the screen's corner.
mode = [
    "; The game-mode dialog. Written by gen_92_main_menu.py.\n"
    f"[Main]\nx=0\ny=0\nxs={W}\nys={H}\nfont={SMALL}\nbgAlpha=130\nfadeTime=200\n",
    sprite("Frame", MX, MY, PIC + "mode_board.png"),
    sprite("Sign", MX + 40, MY + 326, PIC + "mode_text.png"),
    text("Title", MX, MY + 36, MW, 40, "#MAINMENU_MODE_TITLE", select=1, font=BIG),
    button("ModeOk", MX + 90, MY + 450, 190, 50, "#MAINMENU_OK"),
    button("ModeCancel", MX + MW - 280, MY + 450, 190, 50, "#MAINMENU_CANCEL", sound="click"),
    text("Description", MX + 60, MY + 336, MW - 120, 90, "", select=0),
]
for i, (key, caption, desc) in enumerate(MODES):
    y = MY + 110 + i * 68
    mode.append(f"[{key}]\ntype=sprite\nx={MX + 80}\ny={y}\nxs=440\nys=44\nstage=1\nactive={PIC}row_active.png\n"
                f"press={PIC}row_active.png\nsndNormalActive=click\ndescription={desc}\n")
    mode.append(sprite(key + "Box", MX + 96, y + 4, PIC + "box.png"))
    mode.append(text(key + "Str", MX + 150, y, 360, 44, caption, select=0, font=BIG, xalign=-1))
    mode.append(sprite(key + "frame", MX + 92, y, PIC + "tick.png", hidden=True))
write(os.path.join(menu, "UIGameModeMenu.ini"), "\n".join(mode))

# ---- The game logo ornament ---------------------------------------------------------------------
write(os.path.join(menu, "gameLogo.ini"),
      "; The game's name as an ornament (type gameLogo); parts relative to the logo.\n"
      f"[Glow1]\ntype=sprite\nx=60\ny=10\nignore={PIC}glow.png\n\n"
      f"[Glow2]\ntype=sprite\nx={TW - 140}\ny=70\nignore={PIC}glow.png\n\n"
      f"[Front]\ntype=sprite\nx=0\ny=0\nxs={TW}\nys={TH}\nignore={PIC}logo_front.png\n")

# ---- The questions of the menu (data/menu/dialog.ini) --------------------------------------------
def question(name, text_key, buttons):
    # The question covers the screen (so the darkening does) with its board in the middle.
    sections = {name: ["type=sprite", "x=0", "y=0", f"xs={W}", f"ys={H}", f"normal={PIC}question.png",
                       "xalignSpr=0", "yalignSpr=0", f"font={SMALL}", "bgAlpha=120", "fadeTime=200"],
                f"{name}.Text": ["type=text", f"x={QX + 30}", f"y={QY + 30}", f"xs={QW - 60}", "ys=90",
                                 f"name={text_key}", "select=0", "yalign=0"]}
    bw, gap = 150, 30
    left = (QW - (len(buttons) * bw + (len(buttons) - 1) * gap)) // 2
    for i, (child, key, sound) in enumerate(buttons):
        body = button(f"{name}.{child}", QX + left + i * (bw + gap), QY + 134, bw, 48, key, sound=sound)
        sections[f"{name}.{child}"] = body.strip().split("\n")[1:]
    return sections


questions = {}
questions.update(question("Exit", "#MAINMENU_EXIT_ASK",
                          [("DialogYes", "#MAINMENU_YES", "confirm"), ("DialogNo", "#MAINMENU_NO", "click")]))
questions.update(question("Url", "#MAINMENU_URL_ASK",
                          [("DialogYes", "#MAINMENU_YES", "confirm"), ("DialogNo", "#MAINMENU_NO", "click")]))
merge_sections(os.path.join(menu, "dialog.ini"), questions,
               header="; The questions and messages of the menus: a section per dialog, named by the caller,\n"
                      "; and its children as sections \"Dialog.Child\" placed relative to it.")

# ---- Texts ----------------------------------------------------------------------------------------
TEXTS = [
    ("MAINMENU_HELLO", "Hello,", "Здравствуйте,"),
    ("MAINMENU_NOT_YOU", "Not you?", "Не вы?"),
    ("MAINMENU_CHANGE_PLAYER", "Change", "Сменить"),
    ("MAINMENU_PLAY", "Play", "Играть"),
    ("MAINMENU_MODE", "Game mode", "Режим игры"),
    ("MAINMENU_OPTIONS", "Options", "Настройки"),
    ("MAINMENU_SCORES", "Scores", "Рекорды"),
    ("MAINMENU_ACHIEVEMENTS", "Achievements", "Достижения"),
    ("MAINMENU_EXIT", "Quit", "Выход"),
    ("MAINMENU_EXIT_ASK", "Are you sure you want to leave?", "Вы уверены, что хотите выйти?"),
    ("MAINMENU_URL_ASK", "Open the game's web page?", "Открыть страницу игры?"),
    ("MAINMENU_YES", "Yes", "Да"),
    ("MAINMENU_NO", "No", "Нет"),
    ("MAINMENU_OK", "OK", "OK"),
    ("MAINMENU_CANCEL", "Cancel", "Отмена"),
    ("MAINMENU_MODE_TITLE", "How would you like to play?", "Как вы хотите играть?"),
    ("MAINMENU_MODE_NORMAL_DESC", "The clock runs, but there is time enough: finish quickly for more stars.",
     "Время идёт, но его хватает: чем быстрее, тем больше звёзд."),
    ("MAINMENU_MODE_MULTICLICK_DESC", "Give many orders at once and keep every worker busy against the clock.",
     "Отдавайте много приказов сразу, и пусть все работники трудятся наперегонки со временем."),
    ("MAINMENU_MODE_NOTIME_DESC", "No clock at all: build the meadow at your own pace.",
     "Никаких часов: стройте луг в своём темпе."),
]
# The mode names and "mode" the game already has in English; the Russian file gets them here.
RU_ONLY = [("MODE", "режим"), ("GAMEMODE_Normal", "Спокойный"), ("GAMEMODE_Multiclick", "Быстрый"),
           ("GAMEMODE_NoTime", "Без времени")]
own_section_last(os.path.join(data, "translation.ini"), "main menu",
                 "[main menu]\n" + "".join(f"#{k}={en}\n" for k, en, _ in TEXTS), write)
own_section_last(os.path.join(data, "translation_ru.ini"), "main menu",
                 "[main menu]\n" + "".join(f"#{k}={ru}\n" for k, _, ru in TEXTS) +
                 "".join(f"#{k}={ru}\n" for k, ru in RU_ONLY), write)
