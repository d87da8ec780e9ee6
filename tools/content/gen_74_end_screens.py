#!/usr/bin/env python3
"""Writes the screens that end a level, the story window and the note over a waiting level.

- data/interface/statistics.ini and its pictures in data/interface/endscreens/: a wooden board
  with a parchment face, a glow behind the stars, the score mat, a wax seal, the star slots;
- data/interface/losescreen.ini with a painted witch, a cobweb corner and a parchment text frame;
- data/interface/message.ini: the blinking note shown while the clock waits for the first order;
- data/interface/main.ini, section "YouWin": the font of the win lettering;
- data/menu/ingameDialogs.ini: the story window's own windows (boxes, names, the Close button),
  the places of the boxes and level 3's texts and speakers' pictures (the dialog entry itself is
  written by gen_73_hints.py; its sections here are merged into that file);
- the "endScreens" sections of data/translation.ini and data/translation_ru.ini.
Every picture is painted at four times its size and scaled down, so the result is the same on
every run.
"""
import math
import os
import random
import sys

from PIL import Image, ImageDraw, ImageFilter
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from demo_widgets import capped_button  # noqa: E402
from level_common import merge_sections, own_section_last, write  # noqa: E402
from menu_paint import supersampled  # noqa: E402

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))
data = os.path.join(target, "data")
S = 4
PIC = "data/interface/endscreens/"



def smooth(size, paint):
    return supersampled(size, paint, S)


def save(img, name):
    path = os.path.join(data, "interface", "endscreens", name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, optimize=False)


def parchment_fill(img, box, radius, seed, base=(236, 218, 176)):
    """A parchment face: warm base, soft blotches, darker rim."""
    rng = random.Random(seed)
    x0, y0, x1, y1 = [int(v) for v in box]
    face = Image.new("RGBA", img.size, (0, 0, 0, 0))
    d = ImageDraw.Draw(face)
    d.rounded_rectangle(box, radius=radius, fill=base + (255,))
    spots = Image.new("RGBA", img.size, (0, 0, 0, 0))
    sd = ImageDraw.Draw(spots)
    for _ in range(40):
        r = rng.randrange(20, 90) * S
        cx, cy = rng.randrange(x0, x1), rng.randrange(y0, y1)
        tone = rng.choice([(214, 190, 140, 60), (248, 236, 204, 70)])
        sd.ellipse([cx - r, cy - r, cx + r, cy + r], fill=tone)
    spots = spots.filter(ImageFilter.GaussianBlur(12 * S))
    rim = Image.new("RGBA", img.size, (0, 0, 0, 0))
    rd = ImageDraw.Draw(rim)
    rd.rounded_rectangle(box, radius=radius, outline=(170, 130, 80, 150), width=10 * S)
    rim = rim.filter(ImageFilter.GaussianBlur(6 * S))
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(box, radius=radius, fill=255)
    layer = Image.alpha_composite(Image.alpha_composite(face, spots), rim)
    img.paste(layer, (0, 0), mask)


def wooden_frame(d, box, radius, seed):
    rng = random.Random(seed)
    d.rounded_rectangle([box[0] + 6 * S, box[1] + 8 * S, box[2] + 6 * S, box[3] + 8 * S], radius=radius,
                        fill=(20, 30, 10, 110))
    d.rounded_rectangle(box, radius=radius, fill=(74, 46, 24, 255))
    inner = [box[0] + 6 * S, box[1] + 6 * S, box[2] - 6 * S, box[3] - 6 * S]
    d.rounded_rectangle(inner, radius=radius - 4 * S, fill=(138, 92, 52, 255))
    for _ in range(70):
        y = rng.randrange(inner[1] + 3 * S, inner[3] - 3 * S)
        x = rng.randrange(inner[0] + 4 * S, inner[2] - 70 * S)
        d.line([(x, y), (x + rng.randrange(30, 90) * S, y + rng.randrange(-2, 3) * S)], fill=(104, 66, 36, 255),
               width=S)
    return inner


def nails(d, box, inset):
    for cx, cy in [(box[0] + inset, box[1] + inset), (box[2] - inset, box[1] + inset),
                   (box[0] + inset, box[3] - inset), (box[2] - inset, box[3] - inset)]:
        d.ellipse([cx - 5 * S, cy - 5 * S, cx + 5 * S, cy + 5 * S], fill=(64, 60, 64, 255))
        d.ellipse([cx - 2 * S, cy - 3 * S, cx + 1 * S, cy], fill=(150, 150, 160, 255))


def statistics_board(size):
    """The board: wood round a parchment face with a wooden header strip for the title."""
    W, H = size

    def paint(d, img):
        outer = [4 * S, 4 * S, W * S - 10 * S, H * S - 12 * S]
        inner = wooden_frame(d, outer, 28 * S, 7401)
        face = [inner[0] + 16 * S, inner[1] + 70 * S, inner[2] - 16 * S, inner[3] - 16 * S]
        parchment_fill(img, face, 18 * S, 7402)
        d = ImageDraw.Draw(img)
        nails(d, outer, 20 * S)

    return smooth(size, paint)


def glow(size):
    W, H = size
    img = Image.new("RGBA", (W * S, H * S), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    cx, cy = W * S / 2, H * S / 2
    for i in range(16):
        a0 = i * math.pi / 8
        pts = [(cx, cy), (cx + math.cos(a0 - 0.09) * W * S, cy + math.sin(a0 - 0.09) * H * S),
               (cx + math.cos(a0 + 0.09) * W * S, cy + math.sin(a0 + 0.09) * H * S)]
        d.polygon(pts, fill=(255, 236, 150, 110))
    mask = Image.new("L", img.size, 0)
    md = ImageDraw.Draw(mask)
    for r in range(40, 0, -1):
        v = int(255 * (1 - r / 40))
        md.ellipse([cx - r * W * S / 80, cy - r * H * S / 80, cx + r * W * S / 80, cy + r * H * S / 80], fill=v)
    img.putalpha(Image.composite(img.getchannel("A"), Image.new("L", img.size, 0), mask))
    img = img.filter(ImageFilter.GaussianBlur(3 * S))
    return img.resize(size, Image.LANCZOS)


def star_slot(size):
    def paint(d, img):
        W, H = size
        cx, cy, r = W * S / 2, H * S / 2, W * S / 2 - 3 * S
        pts = []
        for i in range(10):
            a = -math.pi / 2 + i * math.pi / 5
            rr = r if i % 2 == 0 else r * 0.45
            pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
        d.polygon(pts, fill=(150, 120, 80, 120))
        d.line(pts + [pts[0]], fill=(120, 90, 50, 200), width=2 * S)

    return smooth(size, paint)


def score_mat(size):
    def paint(d, img):
        W, H = size
        d.rounded_rectangle([2 * S, 2 * S, W * S - 2 * S, H * S - 2 * S], radius=14 * S, fill=(120, 84, 48, 60),
                            outline=(140, 100, 60, 200), width=2 * S)
        # The line above the total.
        y = H * S - 58 * S
        d.line([(24 * S, y), (W * S - 24 * S, y)], fill=(140, 100, 60, 220), width=2 * S)

    return smooth(size, paint)


def seal(size):
    def paint(d, img):
        W, H = size
        cx, cy = W * S / 2, H * S / 2 - 8 * S
        # Two ribbon tails, then the wax disc with a pressed star.
        d.polygon([(cx - 16 * S, cy), (cx - 26 * S, H * S - 2 * S), (cx - 14 * S, H * S - 12 * S),
                   (cx - 4 * S, H * S - 2 * S), (cx - 2 * S, cy)], fill=(40, 110, 60, 255))
        d.polygon([(cx + 16 * S, cy), (cx + 26 * S, H * S - 2 * S), (cx + 14 * S, H * S - 12 * S),
                   (cx + 4 * S, H * S - 2 * S), (cx + 2 * S, cy)], fill=(30, 90, 50, 255))
        r = 26 * S
        pts = []
        for i in range(24):
            a = i * math.pi / 12
            rr = r if i % 2 == 0 else r * 0.9
            pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
        d.polygon(pts, fill=(170, 30, 30, 255))
        d.ellipse([cx - 18 * S, cy - 18 * S, cx + 18 * S, cy + 18 * S], outline=(120, 15, 15, 255), width=2 * S)
        st = []
        for i in range(10):
            a = -math.pi / 2 + i * math.pi / 5
            rr = 12 * S if i % 2 == 0 else 5 * S
            st.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
        d.polygon(st, fill=(120, 15, 15, 255))

    return smooth(size, paint)


def lose_board(size):
    W, H = size

    def paint(d, img):
        outer = [4 * S, 4 * S, W * S - 10 * S, H * S - 12 * S]
        wooden_frame(d, outer, 28 * S, 7403)
        nails(d, outer, 20 * S)

    return smooth(size, paint)


def text_frame(size):
    W, H = size

    def paint(d, img):
        parchment_fill(img, [2 * S, 2 * S, W * S - 2 * S, H * S - 2 * S], 16 * S, 7404)

    return smooth(size, paint)


def witch(size):
    """The witch who takes the meadow when time runs out: green face, purple hat, a crooked grin."""
    W, H = size

    def paint(d, img):
        s = S
        cx = W * s / 2
        # Cloak.
        d.polygon([(cx - 70 * s, H * s - 4 * s), (cx - 30 * s, 150 * s), (cx + 30 * s, 150 * s),
                   (cx + 70 * s, H * s - 4 * s)], fill=(70, 40, 100, 255))
        # Hair.
        d.ellipse([cx - 52 * s, 84 * s, cx + 52 * s, 190 * s], fill=(40, 36, 40, 255))
        # Face.
        d.ellipse([cx - 36 * s, 88 * s, cx + 36 * s, 168 * s], fill=(150, 196, 110, 255))
        # Nose.
        d.polygon([(cx - 2 * s, 118 * s), (cx + 24 * s, 142 * s), (cx + 2 * s, 138 * s)], fill=(120, 170, 90, 255))
        d.ellipse([cx + 14 * s, 128 * s, cx + 20 * s, 134 * s], fill=(90, 70, 50, 255))
        # Eyes.
        for ex in (-16, 12):
            d.ellipse([cx + (ex - 8) * s, 108 * s, cx + (ex + 8) * s, 122 * s], fill=(255, 250, 220, 255))
            d.ellipse([cx + (ex - 3) * s, 111 * s, cx + (ex + 4) * s, 119 * s], fill=(200, 40, 40, 255))
            d.line([(cx + (ex - 9) * s, 104 * s), (cx + (ex + 8) * s, 108 * s)], fill=(30, 30, 30, 255), width=3 * s)
        # Grin.
        d.arc([cx - 20 * s, 130 * s, cx + 14 * s, 158 * s], 20, 160, fill=(70, 30, 30, 255), width=3 * s)
        # Hat: brim and cone bent to one side.
        d.ellipse([cx - 80 * s, 78 * s, cx + 80 * s, 104 * s], fill=(80, 36, 110, 255))
        d.polygon([(cx - 44 * s, 90 * s), (cx + 44 * s, 90 * s), (cx + 30 * s, 40 * s), (cx + 56 * s, 8 * s),
                   (cx + 6 * s, 30 * s)], fill=(96, 44, 130, 255))
        d.rectangle([cx - 42 * s, 78 * s, cx + 40 * s, 90 * s], fill=(230, 180, 40, 255))
        # A broom's head behind her shoulder.
        d.line([(cx + 50 * s, 160 * s), (cx + 96 * s, 60 * s)], fill=(120, 80, 40, 255), width=6 * s)
        d.polygon([(cx + 88 * s, 70 * s), (cx + 110 * s, 40 * s), (cx + 118 * s, 56 * s), (cx + 100 * s, 84 * s)],
                  fill=(200, 160, 70, 255))

    return smooth(size, paint)


def cobweb(size):
    W, H = size

    def paint(d, img):
        col = (235, 235, 240, 200)
        for i in range(6):
            a = i * (math.pi / 2) / 5
            d.line([(0, 0), (math.cos(a) * W * S, math.sin(a) * H * S)], fill=col, width=S)
        for r in range(1, 6):
            rr = r * W * S / 6
            pts = [(math.cos(i * (math.pi / 2) / 5) * rr, math.sin(i * (math.pi / 2) / 5) * rr) for i in range(6)]
            d.line(pts, fill=col, width=S)

    return smooth(size, paint)


def avatar(size, seed, hat, beard, coat):
    """A speaker's portrait in a wooden oval frame."""
    W, H = size

    def paint(d, img):
        s = S
        d.ellipse([2 * s, 2 * s, W * s - 2 * s, H * s - 2 * s], fill=(74, 46, 24, 255))
        d.ellipse([8 * s, 8 * s, W * s - 8 * s, H * s - 8 * s], fill=(186, 214, 232, 255))
        cx = W * s / 2
        mask = Image.new("L", img.size, 0)
        ImageDraw.Draw(mask).ellipse([8 * s, 8 * s, W * s - 8 * s, H * s - 8 * s], fill=255)
        fig = Image.new("RGBA", img.size, (0, 0, 0, 0))
        f = ImageDraw.Draw(fig)
        f.ellipse([cx - 56 * s, 96 * s, cx + 56 * s, 190 * s], fill=coat)
        f.ellipse([cx - 30 * s, 40 * s, cx + 30 * s, 104 * s], fill=(238, 196, 160, 255))
        for ex in (-12, 12):
            f.ellipse([cx + (ex - 4) * s, 64 * s, cx + (ex + 4) * s, 72 * s], fill=(50, 40, 30, 255))
        if beard:
            f.chord([cx - 28 * s, 60 * s, cx + 28 * s, 114 * s], 0, 180, fill=beard)
        f.arc([cx - 10 * s, 78 * s, cx + 10 * s, 90 * s], 20, 160, fill=(120, 50, 40, 255), width=2 * s)
        if hat == "cap":
            f.chord([cx - 34 * s, 26 * s, cx + 34 * s, 70 * s], 180, 360, fill=(200, 60, 40, 255))
            f.rectangle([cx - 40 * s, 46 * s, cx + 44 * s, 52 * s], fill=(170, 50, 30, 255))
        else:
            f.rectangle([cx - 26 * s, 14 * s, cx + 26 * s, 50 * s], fill=(90, 70, 50, 255))
            f.ellipse([cx - 44 * s, 42 * s, cx + 44 * s, 56 * s], fill=(100, 78, 56, 255))
        img.paste(fig, (0, 0), Image.composite(fig.getchannel("A"), Image.new("L", img.size, 0), mask))
        ImageDraw.Draw(img).ellipse([8 * s, 8 * s, W * s - 8 * s, H * s - 8 * s], outline=(140, 96, 56, 255),
                                    width=4 * s)

    return smooth(size, paint)


def story_box(size):
    W, H = size

    def paint(d, img):
        d.rounded_rectangle([4 * S, 6 * S, W * S - 2 * S, H * S - 2 * S], radius=16 * S, fill=(20, 30, 10, 90))
        parchment_fill(img, [2 * S, 2 * S, W * S - 6 * S, H * S - 8 * S], 16 * S, 7405)
        ImageDraw.Draw(img).rounded_rectangle([2 * S, 2 * S, W * S - 6 * S, H * S - 8 * S], radius=16 * S,
                                              outline=(110, 72, 40, 255), width=3 * S)

    return smooth(size, paint)


def note_ribbon(size):
    W, H = size

    def paint(d, img):
        d.polygon([(0, 10 * S), (30 * S, 10 * S), (30 * S, H * S - 4 * S), (0, H * S - 4 * S), (14 * S, H * S / 2 + 3 * S)],
                  fill=(120, 40, 30, 255))
        d.polygon([(W * S, 10 * S), (W * S - 30 * S, 10 * S), (W * S - 30 * S, H * S - 4 * S), (W * S, H * S - 4 * S),
                   (W * S - 14 * S, H * S / 2 + 3 * S)], fill=(120, 40, 30, 255))
        d.rounded_rectangle([18 * S, 2 * S, W * S - 18 * S, H * S - 12 * S], radius=8 * S, fill=(176, 56, 40, 255),
                            outline=(110, 30, 20, 255), width=2 * S)

    return smooth(size, paint)


def button(name, caption, x, y, xs=200, ys=52, sound="click"):
    # The window's section is its command; its caption is the translated text.
    return capped_button(name, x, y, xs, ys, sound).replace(f"name={name}\n", f"name={caption}\n", 1)


def text(section, x, y, xs, ys, caption, font, select, xalign=0, extra=""):
    return (f"[{section}]\ntype=text\nx={x}\ny={y}\nxs={xs}\nys={ys}\nname={caption}\nxalign={xalign}\n"
            f"select={select}\nfont={font}\n{extra}")


def sprite(section, x, y, picture):
    # A decoration: it stays in the ignore state (the mouse never picks it), so its picture is the
    # ignore state's.
    return f"[{section}]\ntype=sprite\nx={x}\ny={y}\nignore={picture}\n"


SMALL = "data/fonts/sans16.png"
BIG = "data/fonts/sans26b.png"

# The statistics board stands at (232, 50), 560 x 620.
BX, BY, BW, BH = 232, 50, 560, 620
ROWS = [("LevelScore", "#STATISTICS_LEVEL", 318), ("ResourcesScore", "#STATISTICS_RESOURCES", 352),
        ("TimeScore", "#STATISTICS_TIME", 386), ("TotalScore", "#STATISTICS_TOTAL", 444)]


def statistics_ini():
    parts = [f"""; The board shown after a won level. Its windows are made in the order the program names them;
; [Stars] places the star row and the point the stars fly in from.
[Main]
x={BX}
y={BY}
xs={BW}
ys={BH}
font={SMALL}

[Stars]
sprite={PIC}star.png
startX=512
startY=420
x=512
y=214
deltaX=84

""",
             sprite("Back", BX, BY, PIC + "statistics_board.png") + "\n",
             sprite("WinAnim", 362, 134, PIC + "glow.png") + "\n",
             sprite("ScoresMat", 292, 300, PIC + "score_mat.png") + "\n",
             text("Title", BX, BY + 22, BW, 40, "#STATISTICS_TITLE", BIG, 1) + "\n",
             sprite("Sign", 676, 136, PIC + "seal.png") + "\n",
             text("LevelName", BX, 136, BW, 24, "#LEVEL", SMALL, 2) + "\n",
             text("PlayerName", BX, 256, BW, 24, "", SMALL, 2) + "\n"]
    for name, caption, y in ROWS:
        parts.append(text(name, 316, y, 220, 26, caption, SMALL, 2, -1) + "\n")
        parts.append(text(name + "Num", 536, y, 170, 26, "0", SMALL if name != "TotalScore" else BIG,
                          2 if name != "TotalScore" else 1, 1) + "\n")
    parts.append(button("StatisticsOK", "#STATISTICS_OK", 296, 590, sound="confirm") + "\n")
    parts.append(button("StatisticsRestart", "#STATISTICS_RESTART", 528, 590))
    return "".join(parts)


# The lose board stands at (212, 150), 600 x 440.
LX, LY, LW, LH = 212, 150, 600, 440


def losescreen_ini():
    return "".join([
        f"""; The board shown after a lost level: the witch, one of three phrases with the player's name,
; and the buttons to leave or to try again.
[Main]
x={LX}
y={LY}
xs={LW}
ys={LH}
font={SMALL}

""",
        sprite("Frame", LX, LY, PIC + "lose_board.png") + "\n",
        sprite("Witch", LX + 24, LY + 40, PIC + "witch.png") + "\n",
        sprite("Corner", LX + 18, LY + 18, PIC + "cobweb.png") + "\n",
        sprite("textFrame", LX + 250, LY + 60, PIC + "lose_text.png") + "\n",
        text("text", LX + 270, LY + 80, 290, 200, "", SMALL, 2, 0, "yalign=0\n") + "\n",
        text("name", LX + 250, LY + 26, 330, 30, "", BIG, 1) + "\n",
        button("StatisticsOK", "#STATISTICS_OK", LX + 90, LY + 350, sound="confirm") + "\n",
        button("StatisticsRestart", "#STATISTICS_RESTART", LX + 310, LY + 350)])


MESSAGE_INI = f"""; The note that blinks over a level while its clock waits for the first order.
[Main]
x=332
y=140
xs=360
ys=56
normal={PIC}note.png

[Message]
type=text
x=350
y=146
xs=324
ys=34
name=#INTERFACE_MESSAGE
xalign=0
yalign=0
select=0
font={SMALL}
"""

# Story window: boxes 500 x 118, speakers' pictures 124 x 150. Everything stands between the
# letterbox's bars (100 pixels at the top and at the bottom), so a story told during a cut-scene
# can be read and closed.
STORY = {
    "Main": ["; The story window: it covers the screen so clicks stay off the map while a story is told.",
             "x=0", "y=0", "xs=1024", "ys=768", f"font={SMALL}"],
    "double": ["x1=150", "y1=348", "x2=374", "y2=476", "avatarx1=18", "avatary1=332", "avatarx2=882",
               "avatary2=460", "buttonx=444", "buttony=612"],
    "single": ["x=262", "y=450", "avatarx=130", "avatary=434", "buttonx=444", "buttony=600"],
    "box1": ["type=sprite", "x=150", "y=348", f"ignore={PIC}story_box.png"],
    "box2": ["type=sprite", "x=374", "y=476", f"ignore={PIC}story_box.png"],
    "name1": ["type=text", "x=18", "y=8", "xs=460", "ys=22", "name=", "xalign=-1", "select=1", f"font={SMALL}"],
    "name2": ["type=text", "x=18", "y=8", "xs=460", "ys=22", "name=", "xalign=-1", "select=1", f"font={SMALL}"],
    "Close": capped_button("Close", 444, 612, 136, 44, "click").replace("name=Close\n", "name=#STORY_CLOSE\n", 1)
             .strip().split("\n")[1:],
    "text1_3": ["type=typingText", "x=18", "y=32", "xs=464", "ys=72", "name=#STORY_TEXT1_3", "xalign=-1",
                "select=2", "period=28", "timeout=400", f"font={SMALL}"],
    "text2_3": ["type=typingText", "x=18", "y=32", "xs=464", "ys=72", "name=#STORY_TEXT2_3", "xalign=-1",
                "select=2", "period=28", "timeout=400", f"font={SMALL}"],
    "dialog3": ["double=1", "effect=1", "effectTimeout=600", "name1=#STORY_NAME_PROSPECTOR",
                "name2=#STORY_NAME_FOREMAN", f"avatar1={PIC}prospector.png", f"avatar2={PIC}foreman.png",
                "text2timeout=1500"],
}

TEXTS_EN = """[endScreens]
; The end screens, the story window and the note over a waiting level (gen_74_end_screens.py).
#INTERFACE_YOUWIN=Well done!
#INTERFACE_MESSAGE=Click on the meadow to begin!
#STATISTICS_TITLE=Level complete!
#STATISTICS_OK=Go on
#STATISTICS_RESTART=Play again
#STORY_CLOSE=Close
"""

TEXTS_RU = """[endScreens]
; Экраны конца уровня, окно истории и подсказка перед началом (gen_74_end_screens.py).
#INTERFACE_YOUWIN=Отлично!
#INTERFACE_MESSAGE=Щёлкните по лугу, чтобы начать!
#STATISTICS_TITLE=Уровень пройден!
#STATISTICS_OK=Дальше
#STATISTICS_RESTART=Ещё раз
#STORY_CLOSE=Закрыть
#INTERFACE_LOSE_PHRASE1=Время вышло, %s. Луг подождёт тебя.
#INTERFACE_LOSE_PHRASE2=Не в этот раз, %s! Попробуй снова и поспеши.
#INTERFACE_LOSE_PHRASE3=Совсем чуть-чуть, %s. Ещё попытка?
#STATISTICS_LEVEL=Уровень
#STATISTICS_RESOURCES=Запасы
#STATISTICS_TIME=Время
#STATISTICS_TOTAL=Итого
#STORY_NAME_PROSPECTOR=Старатель
#STORY_NAME_FOREMAN=Бригадир
#STORY_TEXT1_3=За хребтом есть золото, но в единственном проходе засел колючий кабан!
#STORY_TEXT2_3=Тогда пошлите воина из хижины прогнать его, и рудник будет наш.
"""


def main():
    save(statistics_board((BW, BH)), "statistics_board.png")
    save(glow((300, 160)), "glow.png")
    save(score_mat((440, 190)), "score_mat.png")
    save(seal((72, 96)), "seal.png")
    save(star_slot((64, 64)), "star_slot.png")
    save(lose_board((LW, LH)), "lose_board.png")
    save(text_frame((330, 240)), "lose_text.png")
    save(witch((220, 290)), "witch.png")
    save(cobweb((90, 90)), "cobweb.png")
    save(avatar((124, 150), 1, "cap", None, (110, 80, 50, 255)), "prospector.png")
    save(avatar((124, 150), 2, "hat", (150, 110, 70, 255), (60, 90, 140, 255)), "foreman.png")
    save(story_box((500, 118)), "story_box.png")
    save(note_ribbon((360, 56)), "note.png")
    write(os.path.join(data, "interface", "statistics.ini"), statistics_ini())
    write(os.path.join(data, "interface", "losescreen.ini"), losescreen_ini())
    write(os.path.join(data, "interface", "message.ini"), MESSAGE_INI)
    merge_sections(os.path.join(data, "interface", "main.ini"),
                   {"YouWin": ["Font=" + BIG, "scale=2"]},
                   header="; The in-game interface's own settings.")
    merge_sections(os.path.join(data, "menu", "ingameDialogs.ini"), STORY)
    own_section_last(os.path.join(data, "translation.ini"), "endScreens", TEXTS_EN, write)
    own_section_last(os.path.join(data, "translation_ru.ini"), "endScreens", TEXTS_RU, write)
    print("end screens: data/interface/{statistics,losescreen,message,main}.ini, data/interface/endscreens/*, "
          "the story window in data/menu/ingameDialogs.ini, [endScreens] of both translations")


main()
