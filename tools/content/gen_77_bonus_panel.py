#!/usr/bin/env python3
"""Writes the bonus panel of the in-game interface and everything it shows.

- data/interface/bonuses.ini: the panel "BonusInterface" (a wooden plank at the bottom of the
  screen), its "Bar" (a groove that fills with golden light as the bonus energy grows; "fill" is
  the full bar), "ActiveBonus" (the buttons' radius) and one section per bonus naming its three
  animations: "anim0" the badge, "anim1" the progress ring (12 frames, full on the last) and
  "anim2" the round frame behind them.
- data/interface/bonushints.ini: the hint above a button ("Main", a parchment; "Text") and one
  section per bonus whose "name" is its text.
- the badges in data/interface/bonuses/: a worker, a winged boot, a green arrow going round over
  a bonus place, an hourglass, a gear and a basket of berries; their block of the animation
  catalogue.
- the effects "BonusAvailable" (sparkles that ring a button when its bonus can be fired) and
  "BonusEnd" (a burst as an active bonus runs out) in data/fx/, the sound "BonusActivate" (a
  rising three-note chime), and the hint texts in English and Russian.
"""
import math
import os
import random
import sys

from PIL import Image, ImageDraw, ImageFilter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sound_synth as synth  # noqa: E402
from catalogue_block import animation_line, write_block  # noqa: E402
from fx_catalogue import add_effects  # noqa: E402
from level_common import data_dir, merge_sections, own_section_last, write  # noqa: E402
from supersample import SS, P, blank, circle, gradient_layer, mix, shrink, soft_shadow, strip  # noqa: E402

data = data_dir(sys.argv, "interface/bonuses", "fx", "snd")
folder = os.path.join(data, "interface", "bonuses")

BADGE = 56        # every button picture is BADGE x BADGE; the frame's size is the button's size
C = BADGE / 2
RING_FRAMES = 12
OUTLINE = (52, 34, 20, 255)

# The panel on the screen: a plank centred at the bottom, the bar inside it.
PANEL = dict(x=282, y=694, w=460, h=70)
BAR = dict(x=PANEL["x"] + 14, y=PANEL["y"] + 25, w=PANEL["w"] - 28, h=22)
HINT = dict(w=250, h=66)

BONUSES = [
    # name, badge colours (light, dark), hint title and line in English, then in Russian
    ("Worker", (250, 176, 92), (196, 104, 40), "Extra worker", "One more pair of hands for a while",
     "Ещё работник", "Лишние руки на время"),
    ("Speed", (130, 196, 246), (52, 112, 190), "Quick feet", "Everyone walks half again as fast",
     "Быстрые ноги", "Все ходят в полтора раза быстрее"),
    ("Respawn_bonus_places", (150, 214, 110), (64, 140, 54), "Fresh finds",
     "Every picnic spot fills up again at once", "Новые находки", "Все поляны сразу наполняются снова"),
    ("TimeStop", (196, 184, 250), (104, 86, 190), "Time stands still", "The clock waits while you work",
     "Время стоит", "Часы ждут, пока вы работаете"),
    ("FastGen", (252, 214, 100), (200, 140, 30), "Busy workshops", "Buildings make twice as much",
     "Мастерские спешат", "Постройки дают вдвое больше"),
    ("More_Resources", (248, 150, 150), (190, 60, 70), "Full baskets", "Each delivery brings one more",
     "Полные корзины", "Каждая доставка приносит на одну больше"),
]


def rel(name):
    return "data/interface/bonuses/" + name


# ---- Badges ----------------------------------------------------------------------------------


def disc(light, dark):
    """A domed disc of the bonus's colour: light from the top left, a darker rim, a soft shine."""
    img = blank(BADGE, BADGE)
    r = 20.5
    shade = Image.new("RGBA", img.size, (0, 0, 0, 0))
    sd = ImageDraw.Draw(shade)
    for i in range(40, 0, -1):  # radial gradient, dark rim to light centre above the middle
        t = i / 40
        rr = r * t
        col = mix(light, dark, t ** 1.6)
        cx, cy = C - 3 * (1 - t), C - 4 * (1 - t)
        circle(sd, cx, cy, rr, fill=col + (255,))
    mask = Image.new("L", img.size, 0)
    circle(ImageDraw.Draw(mask), C, C, r, fill=255)
    img.paste(shade, (0, 0), mask)
    d = ImageDraw.Draw(img)
    circle(d, C, C, r, outline=mix(dark, (0, 0, 0), 0.35) + (255,), width=SS)
    return img


def shine(img):
    """A curved glint on the dome's upper left, over the icon."""
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    ImageDraw.Draw(layer).ellipse([(C - 15) * SS, (C - 18) * SS, (C + 6) * SS, (C - 6) * SS],
                                  fill=(255, 255, 255, 70))
    layer = layer.filter(ImageFilter.GaussianBlur(SS))
    mask = Image.new("L", img.size, 0)
    circle(ImageDraw.Draw(mask), C, C, 20, fill=255)
    clipped = Image.new("RGBA", img.size, (0, 0, 0, 0))
    clipped.paste(layer, (0, 0), mask)
    img.alpha_composite(clipped)


def icon_worker(d):
    # Overalls, arms, a round face and a straw hat.
    d.rounded_rectangle(P((C - 8, C + 1), (C + 8, C + 16)), radius=4 * SS, fill=(60, 96, 176, 255),
                        outline=OUTLINE, width=SS)
    d.rectangle(P((C - 4, C - 1), (C + 4, C + 6)), fill=(60, 96, 176, 255), outline=OUTLINE, width=SS)
    for side in (-1, 1):
        d.line(P((C + side * 8, C + 3), (C + side * 12, C + 11)), fill=OUTLINE, width=5 * SS)
        d.line(P((C + side * 8, C + 3), (C + side * 12, C + 11)), fill=(60, 96, 176, 255), width=3 * SS)
        circle(d, C + side * 12, C + 11, 2, fill=(240, 196, 156, 255), outline=OUTLINE, width=SS)
        circle(d, C + side * 5, C + 4, 1, fill=(250, 220, 90, 255))
    circle(d, C, C - 6, 6.5, fill=(240, 196, 156, 255), outline=OUTLINE, width=SS)
    circle(d, C - 2.2, C - 6.5, 0.9, fill=OUTLINE)
    circle(d, C + 2.2, C - 6.5, 0.9, fill=OUTLINE)
    d.arc(P((C - 2.5, C - 5.5), (C + 2.5, C - 2)), 20, 160, fill=OUTLINE, width=SS)
    d.ellipse(P((C - 12, C - 12), (C + 12, C - 7)), fill=(236, 204, 96, 255), outline=OUTLINE, width=SS)
    d.rounded_rectangle(P((C - 6, C - 18), (C + 6, C - 9)), radius=3 * SS, fill=(246, 216, 110, 255),
                        outline=OUTLINE, width=SS)
    d.line(P((C - 6, C - 11), (C + 6, C - 11)), fill=(200, 60, 50, 255), width=2 * SS)


def icon_boot(d):
    # A brown boot running to the right, with a white wing at the heel and speed lines behind.
    boot = P((C - 6, C - 14), (C + 3, C - 14), (C + 3, C + 2), (C + 14, C + 6), (C + 15, C + 12),
             (C - 8, C + 12), (C - 8, C + 4))
    d.polygon(boot, fill=(150, 92, 48, 255), outline=OUTLINE)
    d.line(boot + [boot[0]], fill=OUTLINE, width=SS)
    d.line(P((C - 8, C + 9), (C + 15, C + 9)), fill=(96, 56, 28, 255), width=2 * SS)
    d.line(P((C - 6, C - 10), (C + 3, C - 10)), fill=(196, 140, 80, 255), width=SS)
    for i in range(3):  # the wing's feathers
        y = C - 8 + i * 4
        d.polygon(P((C - 7, y), (C - 18 + i * 2, y - 5), (C - 16 + i * 2, y + 2)), fill=(255, 255, 255, 255),
                  outline=(140, 150, 170, 255))
    for i, y in enumerate((C + 2, C + 7, C + 12)):
        d.line(P((C - 19 + i * 2, y), (C - 12 + i * 2, y)), fill=(255, 255, 255, 200), width=SS)


def icon_respawn(d):
    # A picnic spot (an earthen ring with a little basket) under a green arrow going round.
    d.ellipse(P((C - 13, C + 5), (C + 13, C + 15)), fill=(140, 100, 60, 255), outline=OUTLINE, width=SS)
    d.ellipse(P((C - 9, C + 7), (C + 9, C + 13)), fill=(176, 200, 100, 255))
    d.pieslice(P((C - 5, C + 2), (C + 5, C + 12)), 0, 180, fill=(196, 140, 70, 255), outline=OUTLINE, width=SS)
    circle(d, C - 2, C + 6, 1.6, fill=(220, 40, 50, 255))
    circle(d, C + 2, C + 6, 1.6, fill=(220, 40, 50, 255))
    # The arrow: a thick arc three quarters round, clockwise, ending in a head along its way.
    cx, cy, r = C, C - 6, 9.5
    angles = [math.radians(150 + 250 * i / 40) for i in range(41)]
    arc = [(cx + r * math.cos(a), cy + r * math.sin(a)) for a in angles]
    d.line(P(*arc), fill=OUTLINE, width=7 * SS, joint="curve")
    d.line(P(*arc), fill=(255, 236, 120, 255), width=4 * SS, joint="curve")
    a = angles[-1]
    ex, ey = arc[-1]
    tx, ty = -math.sin(a), math.cos(a)
    nx, ny = math.cos(a), math.sin(a)
    head = [(ex + tx * 7, ey + ty * 7), (ex + nx * 6, ey + ny * 6), (ex - nx * 6, ey - ny * 6)]
    d.polygon(P(*head), fill=(255, 236, 120, 255), outline=OUTLINE)
    d.line(P(*head, head[0]), fill=OUTLINE, width=SS)


def icon_hourglass(d):
    wood, sand, glass = (140, 88, 44, 255), (240, 200, 110, 255), (230, 240, 255, 200)
    d.polygon(P((C - 9, C - 13), (C + 9, C - 13), (C + 1.5, C), (C + 9, C + 13), (C - 9, C + 13), (C - 1.5, C)),
              fill=glass, outline=OUTLINE)
    d.polygon(P((C - 5, C - 8), (C + 5, C - 8), (C + 1, C - 2), (C - 1, C - 2)), fill=sand)
    d.polygon(P((C - 7, C + 12), (C + 7, C + 12), (C, C + 5)), fill=sand)
    d.line(P((C, C - 2), (C, C + 8)), fill=sand, width=SS)
    for y in (C - 16, C + 13):
        d.rounded_rectangle(P((C - 12, y), (C + 12, y + 3)), radius=SS, fill=wood, outline=OUTLINE, width=SS)
    for x in (C - 10, C + 9):
        d.line(P((x, C - 13), (x, C + 13)), fill=wood, width=2 * SS)


def icon_gear(d):
    teeth, r_out, r_in = 9, 15.5, 11.5
    pts = []
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4)
        r = r_out if i % 4 in (1, 2) else r_in
        pts.append((C + r * math.cos(a), C + r * math.sin(a)))
    d.polygon(P(*pts), fill=(176, 180, 190, 255), outline=OUTLINE)
    d.line(P(*pts) + P(pts[0]), fill=OUTLINE, width=SS)
    circle(d, C, C, 7.5, fill=(206, 210, 220, 255), outline=(110, 112, 120, 255), width=SS)
    circle(d, C, C, 3.5, fill=(70, 72, 80, 255), outline=OUTLINE, width=SS)
    d.arc(P((C - 10, C - 10), (C + 10, C + 10)), 200, 290, fill=(255, 255, 255, 160), width=SS)


def icon_basket(d):
    d.arc(P((C - 11, C - 15), (C + 11, C + 7)), 180, 360, fill=OUTLINE, width=4 * SS)
    d.arc(P((C - 11, C - 15), (C + 11, C + 7)), 182, 358, fill=(196, 140, 70, 255), width=2 * SS)
    for x, y in ((-6, -2), (0, -4), (6, -2), (-3, -6), (3, -6)):
        circle(d, C + x, C + y, 3.2, fill=(214, 36, 56, 255), outline=(120, 20, 30, 255), width=SS)
        circle(d, C + x - 1, C + y - 1, 0.8, fill=(255, 200, 200, 255))
    d.pieslice(P((C - 14, C - 12), (C + 14, C + 14)), 0, 180, fill=(186, 128, 62, 255), outline=OUTLINE, width=SS)
    for i in range(1, 4):  # the weave
        y = C + 1 + i * 3
        half = math.sqrt(max(0.0, 13 ** 2 - (y - C - 1) ** 2))
        d.line(P((C - half, y), (C + half, y)), fill=(130, 84, 36, 255), width=SS)
    for x in range(-9, 10, 4):
        d.line(P((C + x, C + 2), (C + x * 0.8, C + 12)), fill=(130, 84, 36, 255), width=SS)
    d.line(P((C - 14, C + 1), (C + 14, C + 1)), fill=OUTLINE, width=2 * SS)


ICONS = {"Worker": icon_worker, "Speed": icon_boot, "Respawn_bonus_places": icon_respawn,
         "TimeStop": icon_hourglass, "FastGen": icon_gear, "More_Resources": icon_basket}


def badge(name, light, dark):
    img = disc(light, dark)
    ICONS[name](ImageDraw.Draw(img))
    shine(img)
    return shrink(img, BADGE, BADGE)


def frame():
    """The round frame behind the badge: a soft shadow and a dark wooden ring with a bright edge."""
    img = blank(BADGE, BADGE)
    shadow = Image.new("RGBA", img.size, (0, 0, 0, 0))
    circle(ImageDraw.Draw(shadow), C + 1.5, C + 2.5, 26, fill=(10, 20, 0, 120))
    img.alpha_composite(shadow.filter(ImageFilter.GaussianBlur(2 * SS)))
    d = ImageDraw.Draw(img)
    circle(d, C, C, 25.5, fill=(88, 56, 30, 255), outline=(40, 24, 12, 255), width=SS)
    circle(d, C, C, 23.5, outline=(150, 104, 62, 255), width=SS)
    d.arc([(C - 24) * SS, (C - 24) * SS, (C + 24) * SS, (C + 24) * SS], 200, 320, fill=(214, 170, 110, 255),
          width=SS)
    return shrink(img, BADGE, BADGE)


def ring_strip():
    """The progress ring, RING_FRAMES frames stacked top to bottom: a golden arc from the top,
    clockwise, one twelfth more in each frame; the last is the whole ring, which also shows while
    the bonus can be fired."""
    def paint(d, img, k):
        sweep = 360 * (k + 1) / RING_FRAMES
        box = [(C - 23.5) * SS, (C - 23.5) * SS, (C + 23.5) * SS, (C + 23.5) * SS]
        glow = Image.new("RGBA", img.size, (0, 0, 0, 0))
        ImageDraw.Draw(glow).arc(box, -90, -90 + sweep, fill=(255, 220, 90, 150), width=6 * SS)
        img.alpha_composite(glow.filter(ImageFilter.GaussianBlur(1.5 * SS)))
        d.arc(box, -90, -90 + sweep, fill=(246, 196, 50, 255), width=3 * SS)
        d.arc(box, -90, -90 + sweep, fill=(255, 246, 190, 255), width=SS)

    return strip(RING_FRAMES, BADGE, BADGE, paint)


# ---- Panel, bar and hint ----------------------------------------------------------------------


def plank(w, h, seed):
    """A warm wooden plank with grain, a dark rounded rim and a nail at each end."""
    rng = random.Random(seed)
    img = blank(w, h)
    W, H = w * SS, h * SS
    d = ImageDraw.Draw(img)
    soft_shadow(img, 12, (10, 20, 0, 110))
    body, bd = gradient_layer(img.size, (188, 136, 82), (132, 88, 48))
    for _ in range(26):
        y = rng.uniform(6 * SS, H - 8 * SS)
        x0 = rng.uniform(0, W * 0.7)
        bd.line([(x0, y), (x0 + rng.uniform(0.15, 0.35) * W, y + rng.uniform(-2, 2) * SS)],
                fill=(112, 72, 38, 110), width=SS)
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, W - 3 * SS, H - 4 * SS], radius=12 * SS, fill=255)
    img.paste(body, (0, 0), mask)
    d.rounded_rectangle([SS, SS, W - 4 * SS, H - 5 * SS], radius=11 * SS, outline=(70, 44, 22, 255), width=2 * SS)
    d.line([(12 * SS, 4 * SS), (W - 16 * SS, 4 * SS)], fill=(226, 184, 130, 255), width=SS)
    for x in (9, w - 13):
        circle(d, x, h / 2 - 1, 2.2, fill=(80, 76, 70, 255), outline=(40, 36, 30, 255), width=SS)
        circle(d, x - 0.6, h / 2 - 1.6, 0.6, fill=(210, 206, 200, 255))
    return shrink(img, w, h)


def groove(w, h, full):
    """The bar: an empty dark groove, or (full) the same groove brimming with golden-green light."""
    img = blank(w, h)
    W, H = w * SS, h * SS
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([0, 0, W - 1, H - 1], radius=H // 2, fill=(52, 32, 16, 255))
    inner = [2 * SS, 2 * SS, W - 2 * SS, H - 2 * SS]
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    ld = ImageDraw.Draw(layer)
    for y in range(inner[1], inner[3]):
        t = (y - inner[1]) / max(1, inner[3] - inner[1])
        if full:
            col = mix((255, 240, 150), (120, 190, 40), min(1.0, t * 1.3))
        else:
            col = mix((40, 24, 12), (86, 58, 34), t)
        ld.line([(inner[0], y), (inner[2], y)], fill=col + (255,))
    if full:  # a glossy streak and a few bubbles of light
        ld.rounded_rectangle([inner[0] + 4 * SS, inner[1] + 2 * SS, inner[2] - 4 * SS, inner[1] + 6 * SS],
                             radius=2 * SS, fill=(255, 255, 230, 120))
        rng = random.Random(77)
        for _ in range(w // 12):
            x, y = rng.uniform(inner[0] + 6 * SS, inner[2] - 6 * SS), rng.uniform(inner[1] + 8 * SS, inner[3] - 3 * SS)
            r = rng.uniform(0.6, 1.4) * SS
            ld.ellipse([x - r, y - r, x + r, y + r], fill=(255, 255, 210, 150))
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(inner, radius=(H - 4 * SS) // 2, fill=255)
    img.paste(layer, (0, 0), mask)
    d.rounded_rectangle([0, 0, W - 1, H - 1], radius=H // 2, outline=(30, 18, 8, 255), width=SS)
    return shrink(img, w, h)


def hint_sheet(w, h):
    """The hint: parchment on a thin wooden edge, with a little point under it towards the button."""
    img = blank(w, h)
    W, H = w * SS, h * SS
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([0, 0, W - 1, H - 1], radius=8 * SS, fill=(96, 62, 32, 235))
    rng = random.Random(78)
    sheet = Image.new("RGBA", img.size, (0, 0, 0, 0))
    sd = ImageDraw.Draw(sheet)
    for y in range(H):
        sd.line([(0, y), (W, y)], fill=mix((248, 236, 204), (230, 210, 168), y / H) + (255,))
    for _ in range(w * h // 10):
        x, y = rng.uniform(0, W), rng.uniform(0, H)
        sd.point((x, y), fill=(210, 184, 136, 255))
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle([3 * SS, 3 * SS, W - 3 * SS, H - 3 * SS], radius=6 * SS, fill=255)
    img.paste(sheet, (0, 0), mask)
    return shrink(img, w, h)


# ---- Write the pictures -----------------------------------------------------------------------

frame().save(os.path.join(folder, "frame.png"), optimize=True)
ring_strip().save(os.path.join(folder, "ring.png"), optimize=True)
for name, light, dark, *_ in BONUSES:
    badge(name, light, dark).save(os.path.join(folder, f"badge_{name.lower()}.png"), optimize=True)
plank(PANEL["w"], PANEL["h"], 771).save(os.path.join(folder, "panel.png"), optimize=True)
groove(BAR["w"], BAR["h"], False).save(os.path.join(folder, "bar.png"), optimize=True)
groove(BAR["w"], BAR["h"], True).save(os.path.join(folder, "bar_fill.png"), optimize=True)
hint_sheet(HINT["w"], HINT["h"]).save(os.path.join(folder, "hint.png"), optimize=True)

write_block(data, "bonus panel", [
    animation_line("bonus_frame", rel("frame.png"), 1000, 1, group="always"),
    animation_line("bonus_ring", rel("ring.png"), 1200, RING_FRAMES, group="always"),
] + [animation_line(f"bonus_{name}", rel(f"badge_{name.lower()}.png"), 1000, 1, group="always")
     for name, *_ in BONUSES])

# ---- Window definitions -----------------------------------------------------------------------

sections = "".join(f"""
[{name}]
anim0=bonus_{name}
anim1=bonus_ring
anim2=bonus_frame
""" for name, *_ in BONUSES)
write(os.path.join(data, "interface", "bonuses.ini"), f"""\
; The bonus panel over a level (gen_77_bonus_panel.py): a plank ("normal") at the bottom of the
; screen with the energy bar; the level's bonus buttons stand on the bar where their cost is reached.
[BonusInterface]
x={PANEL["x"]}
y={PANEL["y"]}
xs={PANEL["w"]}
ys={PANEL["h"]}
normal={rel("panel.png")}

; The groove and the same groove full ("fill"), drawn as far as the energy goes. The bar takes no
; input, so it stays in its first state and shows the "ignore" picture.
[Bar]
type=sprite
x={BAR["x"]}
y={BAR["y"]}
xs={BAR["w"]}
ys={BAR["h"]}
ignore={rel("bar.png")}
fill={rel("bar_fill.png")}

; Every button: clicked within this radius of its centre (moved 5 pixels down).
[ActiveBonus]
radius=24
{sections}""")

hint_sections = "".join(f"\n[{name}]\nname=#BONUS_HINT_{name}\n" for name, *_ in BONUSES)
write(os.path.join(data, "interface", "bonushints.ini"), f"""\
; The hint over a bonus button (gen_77_bonus_panel.py): "name" of the bonus's section shows in
; "Text".
[Main]
x=0
y=0
xs={HINT["w"]}
ys={HINT["h"]}
normal={rel("hint.png")}

[Text]
type=text
x=10
y=8
xs={HINT["w"] - 20}
ys={HINT["h"] - 16}
xalign=0
yalign=0
select=0
font=data/fonts/sans16.png
{hint_sections}""")

# ---- Effects and sound ------------------------------------------------------------------------

AVAILABLE = """\
; A bonus can be fired: golden sparkles burst out round its button and drift up. Stops by itself.
; Format: docs/particles.md.
[effect]
version = 1
title = Bonus available

[emitter sparkles]
sprite = pics/glint.png
blend = additive
burst = 26
rate = 12
duration = 0.6
maxParticles = 60
life = 0.6 1.1
speed = 30 60
direction = -90
spread = 360
area = 44 44
isRound = 1
gravity = 0 -40
drag = 1.2
angle = 0 90
spin = -90 90
sizeVariation = 0.3
size = 0 4, 0.3 14, 1 2
color = 0 #FFFFFF, 0.4 #FFE890, 1 #FFB030
alpha = 0 0, 0.15 1, 0.7 0.7, 1 0
"""
END = """\
; An active bonus has run out: a quick ring of pale sparks flies off its button. Stops by itself.
; Format: docs/particles.md.
[effect]
version = 1
title = Bonus end

[emitter burst]
sprite = pics/glint.png
blend = additive
burst = 30
duration = 0.1
maxParticles = 40
life = 0.4 0.7
speed = 90 140
direction = 0
spread = 360
drag = 2
angle = 0 90
sizeVariation = 0.2
size = 0 12, 1 3
color = 0 #FFFFFF, 0.5 #C8E4FF, 1 #80A8FF
alpha = 0 1, 0.6 0.7, 1 0
"""
add_effects(data, {"bonus_available.pfx": AVAILABLE, "bonus_end.pfx": END},
            {"BonusAvailable": ("bonus_available.pfx",), "BonusEnd": ("bonus_end.pfx",)})

RATE = 22050


def chime():
    """Three bell-like notes rising (C6, E6, G6), each a sine with a soft overtone and a long fade."""
    notes = [(1046.5, 0.0), (1318.5, 0.09), (1568.0, 0.18)]
    n = int(0.8 * RATE)
    out = [0.0] * n
    for f, start in notes:
        s0 = int(start * RATE)
        for i in range(n - s0):
            t = i / RATE
            env = min(1.0, t / 0.004) * math.exp(-t / 0.22)
            out[s0 + i] += env * (math.sin(2 * math.pi * f * t) + 0.35 * math.sin(2 * math.pi * 2.76 * f * t))
    peak = max(abs(s) for s in out)
    return [0.6 * s / peak for s in out]


synth.write_wav(os.path.join(data, "snd", "bonus_activate.wav"), chime(), RATE, quantise=int)
merge_sections(os.path.join(data, "snd", "sounds.ini"), {
    "BonusActivate": ["name=data/snd/bonus_activate.wav", "maxvolume=0.9"],
})

# ---- Texts -------------------------------------------------------------------------------------

en = "[bonuses]\n; The bonus buttons' hints (gen_77_bonus_panel.py): a title and a line.\n" + "".join(
    f"#BONUS_HINT_{name}={title}<>{line}\n" for name, _, _, title, line, _, _ in BONUSES)
ru = "[bonuses]\n; The bonus buttons' hints (gen_77_bonus_panel.py): a title and a line.\n" + "".join(
    f"#BONUS_HINT_{name}={title}<>{line}\n" for name, _, _, _, _, title, line in BONUSES)
own_section_last(os.path.join(data, "translation.ini"), "bonuses", en, write)
own_section_last(os.path.join(data, "translation_ru.ini"), "bonuses", ru, write)
print("bonus panel: data/interface/bonuses.ini, bonushints.ini, data/interface/bonuses/, effects BonusAvailable and"
      " BonusEnd, sound BonusActivate, texts #BONUS_HINT_*")
