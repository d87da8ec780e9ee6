#!/usr/bin/env python3
"""Writes the demo's picture stories, its score table and achievements book, and its two closing
screens into <target>/data/:

- data/menu/comics.ini: the story screen and its pages. The intro (pages 1 to 4) is told before
  level 1; the story after level 6 (pages 5 and 6) ends the game, which then closes with the
  credits, the witch's eyes and her laugh. [Main] says so ("introEndPage", "gameEndPage",
  "gameEndLevel"), [AfterLevel] which level's win opens which story.
- data/comic/story<N>.kf (+ .kft, the text form to edit): each page is a keyframe page, its
  painted background slowly moving with creatures and weather over it; data/comic/story/*.png and
  *.jpg are the pictures, painted here.
- data/snd/comics/*.wav and data/snd/comics.ini: every page's text read aloud by espeak-ng, in
  English and in Russian; the page's "sound" is a translation key, so each language hears its own.
- data/menu/menu_scores.ini, data/menu/achievements.ini (the book; the achievements themselves are
  data/interface/achievements.ini), data/menu/last2.ini and last.ini, with their pictures under
  data/menu/scores/, data/menu/book/ and data/menu/last/.
- the texts in sections "comics pages" of data/translation.ini and data/translation_ru.ini; the
  sounds "ShowQuest" (data/snd/sounds.ini) and "OnGameWin" (data/snd/music.ini) when missing.

Everything is painted from fixed numbers and seeds, so every run writes the same pictures.
"""
import math
import os
import random
import shutil
import subprocess
import sys
import tempfile

from PIL import Image, ImageDraw, ImageFilter, ImageFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from demo_widgets import (  # noqa: E402
    SANS16, SANS26B, all_states, captioned_button, label_text, screen_main, section, sprite, text)
from kf_pack import SMOOTH, fkey, obj, vkey, write_animation  # noqa: E402
from level_common import merge_sections, own_section_last, target_dir, write  # noqa: E402
from menu_paint import OPTIONS_WOOD, gradient, overlay, planked_board, supersampled  # noqa: E402

target = target_dir(sys.argv)
data = os.path.join(target, "data")
S = 4  # supersampling factor
PAGE_W, PAGE_H = 944, 560  # the painting inside the frame
PAGE_X, PAGE_Y = 40, 30
DEJAVU = "/usr/share/fonts/truetype/dejavu/"


def folder(*parts):
    path = os.path.join(data, *parts)
    os.makedirs(path, exist_ok=True)
    return path


story = folder("comic", "story")
sounds = folder("snd", "comics")
menu = folder("menu")
scores_pics = folder("menu", "scores")
book_pics = folder("menu", "book")
last_pics = folder("menu", "last")


def smooth(size, paint):
    return supersampled(size, paint, S)


# ---- The story ----------------------------------------------------------------------------------
# (English, Russian) for each page.
PAGES = {
    1: ("Long ago, Meadowmark was the sunniest meadow in the whole valley, and the bees sang all day.",
        "Давным-давно Медоумарк был самым солнечным лугом в долине, и пчёлы пели целый день."),
    2: ("Then the witch flew over the hills. Where her shadow fell, bridges broke and paths cracked.",
        "Но однажды над холмами пролетела ведьма. Где падала её тень, ломались мосты и трескались тропы."),
    3: ("One by one the villagers left. Only the old barn stayed, waiting for someone brave.",
        "Жители ушли один за другим. Остался только старый амбар — он ждал смельчака."),
    4: ("That someone is you! Send out the workers, mend the meadow and chase the witch away.",
        "Этот смельчак — ты! Отправляй работников, чини луг и прогони ведьму."),
    5: ("Bridge by bridge and field by field, the meadow grew green again. The bees came home.",
        "Мост за мостом, поле за полем луг снова зазеленел. Пчёлы вернулись домой."),
    6: ("The witch flew off beyond the hills, for now. Meadowmark thanks you, friend!",
        "Ведьма улетела за холмы — пока что. Медоумарк благодарит тебя, друг!"),
}
INTRO_END, GAME_END, LAST_LEVEL = 4, 6, 6
FIRST_PAGES, LAST_PAGES = {1, 5}, {4, 6}

CREDITS = (
    "Meadowmark<><>Thank you for playing!<><>Made with a small engine of its own<>"
    "Pictures painted by its content tools<>Voices: espeak-ng<><>See you on the meadow!",
    "Медоумарк<><>Спасибо за игру!<><>Сделано на собственном маленьком движке<>"
    "Картинки нарисованы его инструментами<>Голоса: espeak-ng<><>До встречи на лугу!",
)

TEXTS = [
    ("COMICS_PREV", "Back", "Назад"),
    ("COMICS_NEXT", "Next", "Дальше"),
    ("COMICS_SKIP", "Skip", "Пропустить"),
    ("COMICS_PLAY", "Play", "Играть"),
    ("COMICS_CREDITS",) + CREDITS,
    ("SCORES_TITLE", "High scores", "Рекорды"),
    ("SCORES_OK", "OK", "OK"),
    ("BOOK_TITLE", "Achievements", "Достижения"),
    ("BOOK_DESCRIPTION", "The latest first. Grey ones are still to come.",
     "Сначала последние. Серые ещё впереди."),
    ("BOOK_CLOSE", "Close", "Закрыть"),
]
for p, (en, ru) in PAGES.items():
    TEXTS.append(("COMICS_TEXT%d" % p, en, ru))
    TEXTS.append(("COMICS_VOICE%d" % p, "comics_voice%d_en" % p, "comics_voice%d_ru" % p))


# ---- Painting helpers ------------------------------------------------------------------------------

def vertical(img, box, stops):
    """Fills `box` of `img` with a gradient through the colour `stops` [(t, (r, g, b)), ...]."""
    d = ImageDraw.Draw(img)
    x0, y0, x1, y1 = box
    for y in range(y0, y1):
        t = (y - y0) / max(1, y1 - y0 - 1)
        for (ta, ca), (tb, cb) in zip(stops, stops[1:]):
            if ta <= t <= tb:
                u = (t - ta) / max(1e-6, tb - ta)
                d.line([(x0, y), (x1, y)], fill=tuple(int(a + (b - a) * u) for a, b in zip(ca, cb)))
                break


def hill(d, base, amp, period, phase, colour, w=PAGE_W, h=PAGE_H):
    pts = [(0, h)]
    for x in range(0, w + 8, 8):
        pts.append((x, base + amp * math.sin(x / period + phase) + amp * 0.4 * math.sin(x / (period * 0.37) + phase * 2)))
    pts.append((w, h))
    d.polygon(pts, fill=colour)


def flowers(d, rng, top, count, colours, w=PAGE_W, h=PAGE_H):
    for _ in range(count):
        x, y = rng.randrange(0, w), rng.randrange(top, h)
        r = 1 + (y - top) * 4 // max(1, h - top)
        d.ellipse([x - r, y - r, x + r, y + r], fill=rng.choice(colours))


def barn(d, x, y, s, wall, roof, door=(70, 40, 25)):
    """A barn with its ridge at (x, y), s pixels per unit."""
    d.polygon([(x - 60 * s, y + 40 * s), (x, y), (x + 60 * s, y + 40 * s)], fill=roof)
    d.rectangle([x - 50 * s, y + 40 * s, x + 50 * s, y + 110 * s], fill=wall)
    d.rectangle([x - 16 * s, y + 66 * s, x + 16 * s, y + 110 * s], fill=door)
    d.line([(x - 16 * s, y + 66 * s), (x + 16 * s, y + 110 * s)], fill=wall, width=max(1, int(3 * s)))
    d.line([(x + 16 * s, y + 66 * s), (x - 16 * s, y + 110 * s)], fill=wall, width=max(1, int(3 * s)))


def cottage(d, x, y, s, wall, roof):
    d.rectangle([x - 22 * s, y, x + 22 * s, y + 30 * s], fill=wall)
    d.polygon([(x - 28 * s, y + 2 * s), (x, y - 22 * s), (x + 28 * s, y + 2 * s)], fill=roof)
    d.rectangle([x - 6 * s, y + 12 * s, x + 6 * s, y + 30 * s], fill=(90, 60, 40))


def stars(d, rng, count, bottom, w=PAGE_W):
    for _ in range(count):
        x, y = rng.randrange(0, w), rng.randrange(0, bottom)
        b = rng.randrange(150, 255)
        r = rng.choice([1, 1, 1, 2])
        d.ellipse([x - r, y - r, x + r, y + r], fill=(b, b, min(255, b + 20)))


def bridge(d, x, y, broken):
    """A plank bridge over a stream at (x, y); broken: the middle planks are gone."""
    d.polygon([(x - 140, y + 30), (x + 140, y + 30), (x + 170, y + 90), (x - 170, y + 90)], fill=(60, 110, 160))
    for i in range(14):
        if broken and 5 <= i <= 8:
            continue
        px = x - 130 + i * 20
        d.rectangle([px, y + 10, px + 16, y + 26], fill=(140, 96, 56))
    d.line([(x - 134, y + 8), (x - 30 if broken else x + 134, y + 8)], fill=(96, 64, 36), width=4)
    if broken:
        d.line([(x + 40, y + 8), (x + 134, y + 8)], fill=(96, 64, 36), width=4)


def sky(bottom, stops):
    """A page's picture begun with its sky down to `bottom`; returns it and a pen on it."""
    img = Image.new("RGB", (PAGE_W, PAGE_H))
    vertical(img, (0, 0, PAGE_W, bottom), stops)
    return img, ImageDraw.Draw(img)


def ground(img, top, stops, amp, period, phase):
    """The meadow from `top` down to the page's foot, its edge a low hill of the meadow's first colour."""
    vertical(img, (0, top, PAGE_W, PAGE_H), stops)
    d = ImageDraw.Draw(img)
    hill(d, top, amp, period, phase, stops[0][1])
    return d


def save_jpg(img, name):
    img.save(os.path.join(story, name), quality=88)


def page_day():
    img, d = sky(330, [(0, (110, 175, 235)), (1, (205, 230, 245))])
    hill(d, 300, 18, 90, 0.3, (120, 170, 90))
    hill(d, 350, 14, 130, 1.7, (96, 156, 70))
    for x, y in ((200, 300), (270, 310), (640, 322)):
        cottage(d, x, y, 1.1, (236, 226, 200), (180, 70, 50))
    d = ground(img, 400, [(0, (104, 168, 72)), (1, (70, 130, 50))], 10, 70, 2.5)
    flowers(d, random.Random(11), 380, 420, [(250, 240, 120), (250, 250, 250), (240, 150, 190), (190, 160, 240)])
    save_jpg(img, "day.jpg")


def page_storm():
    img, d = sky(360, [(0, (40, 26, 60)), (0.7, (90, 60, 100)), (1, (120, 96, 120))])
    hill(d, 300, 20, 80, 0.9, (56, 60, 64))
    hill(d, 350, 12, 120, 2.2, (46, 70, 50))
    d = ground(img, 390, [(0, (50, 84, 46)), (1, (34, 60, 32))], 8, 60, 1.1)
    bridge(d, 620, 410, True)
    # The path, cracked.
    d.polygon([(120, PAGE_H), (200, 400), (240, 400), (260, PAGE_H)], fill=(150, 126, 90))
    rng = random.Random(7)
    for _ in range(6):
        x, y = rng.randrange(150, 240), rng.randrange(420, 540)
        d.line([(x, y), (x + rng.randrange(-20, 20), y + 14), (x + rng.randrange(-16, 16), y + 28)],
               fill=(70, 54, 40), width=3)
    flowers(d, random.Random(12), 400, 120, [(120, 110, 90), (90, 90, 100)])
    save_jpg(img, "storm.jpg")


def page_dusk():
    img, d = sky(380, [(0, (70, 60, 120)), (0.6, (220, 120, 90)), (1, (250, 190, 120))])
    hill(d, 330, 16, 100, 0.2, (90, 70, 80))
    d.ellipse([380, 300, 820, 640], fill=(112, 92, 70))  # the barn's hill
    d = ground(img, 400, [(0, (96, 100, 60)), (1, (60, 66, 40))], 8, 80, 2.9)
    barn(d, 600, 176, 1.2, (150, 60, 44), (90, 40, 30))
    # An empty cart on the road, the last one leaving.
    d.polygon([(120, PAGE_H), (560, 360), (610, 360), (300, PAGE_H)], fill=(160, 130, 90))
    d.rectangle([250, 440, 320, 470], fill=(110, 76, 44))
    for cx in (262, 308):
        d.ellipse([cx - 12, 462, cx + 12, 486], outline=(60, 40, 24), width=4)
    save_jpg(img, "dusk.jpg")


def page_dawn():
    img, d = sky(380, [(0, (120, 150, 210)), (0.7, (250, 190, 170)), (1, (255, 225, 160))])
    hill(d, 340, 14, 110, 0.6, (130, 150, 110))
    d.ellipse([150, 310, 710, 720], fill=(110, 160, 80))
    d = ground(img, 420, [(0, (100, 164, 70)), (1, (74, 132, 52))], 8, 70, 0.4)
    barn(d, 430, 176, 1.3, (190, 70, 50), (110, 50, 36))
    flowers(d, random.Random(13), 430, 220, [(250, 240, 120), (250, 250, 250), (240, 150, 190)])
    save_jpg(img, "dawn.jpg")


def page_green():
    img, d = sky(320, [(0, (90, 165, 240)), (1, (210, 235, 250))])
    hill(d, 290, 20, 90, 1.2, (110, 176, 84))
    for x, y in ((160, 292), (240, 300), (330, 290), (780, 302), (860, 296)):
        cottage(d, x, y, 1.0, (240, 232, 210), (190, 80, 50))
    d = ground(img, 370, [(0, (96, 176, 66)), (1, (60, 140, 46))], 10, 64, 0.8)
    bridge(d, 520, 390, False)
    flowers(d, random.Random(14), 360, 700, [(250, 240, 120), (250, 250, 250), (240, 150, 190), (190, 160, 240),
                                             (250, 170, 80)])
    save_jpg(img, "green.jpg")


def page_sunset():
    img, d = sky(360, [(0, (40, 40, 100)), (0.5, (200, 90, 90)), (1, (255, 170, 80))])
    stars(d, random.Random(15), 40, 120)
    d.ellipse([620, 240, 780, 400], fill=(255, 200, 110))
    hill(d, 320, 18, 110, 0.1, (70, 50, 70))
    d = ground(img, 380, [(0, (70, 80, 50)), (1, (40, 50, 30))], 10, 90, 2.0)
    for x, y in ((150, 366), (230, 376), (320, 370)):
        cottage(d, x, y, 1.0, (90, 70, 70), (60, 40, 44))
        d.rectangle([x - 4, y + 8, x + 4, y + 16], fill=(255, 220, 120))  # a window lit again
    save_jpg(img, "sunset.jpg")


def witch():
    def paint(d, img):
        k = S
        # Broom, cape, body and the pointed hat, in silhouette with a moonlit edge.
        d.line([(8 * k, 70 * k), (150 * k, 58 * k)], fill=(110, 80, 50, 255), width=5 * k)
        d.polygon([(140 * k, 50 * k), (178 * k, 44 * k), (178 * k, 76 * k), (140 * k, 68 * k)], fill=(170, 130, 70, 255))
        d.polygon([(60 * k, 62 * k), (120 * k, 62 * k), (150 * k, 30 * k), (98 * k, 26 * k)], fill=(60, 30, 80, 255))
        d.ellipse([70 * k, 14 * k, 96 * k, 40 * k], fill=(150, 190, 120, 255))
        d.polygon([(60 * k, 20 * k), (108 * k, 18 * k), (70 * k, -2 * k)], fill=(40, 20, 56, 255))
        d.ellipse([54 * k, 16 * k, 114 * k, 26 * k], fill=(40, 20, 56, 255))
        d.ellipse([76 * k, 22 * k, 80 * k, 26 * k], fill=(255, 230, 60, 255))
    smooth((180, 90), paint).save(os.path.join(story, "witch.png"), optimize=True)


def cloud():
    def paint(d, img):
        for cx, cy, r in ((70, 70, 50), (130, 55, 60), (200, 70, 52), (250, 80, 40), (150, 90, 50)):
            d.ellipse([(cx - r) * S, (cy - r) * S, (cx + r) * S, (cy + r) * S], fill=(50, 40, 66, 220))
    smooth((300, 130), paint).filter(ImageFilter.GaussianBlur(4)).save(os.path.join(story, "cloud.png"), optimize=True)


def leaf():
    def paint(d, img):
        d.ellipse([2 * S, 4 * S, 30 * S, 20 * S], fill=(220, 130, 40, 255))
        d.line([(4 * S, 12 * S), (28 * S, 12 * S)], fill=(150, 80, 30, 255), width=S)
    smooth((32, 24), paint).save(os.path.join(story, "leaf.png"), optimize=True)


def spark():
    def paint(d, img):
        c = 24 * S
        for r, a in ((22, 40), (14, 90), (7, 200), (3, 255)):
            d.ellipse([c - r * S, c - r * S, c + r * S, c + r * S], fill=(255, 240, 180, a))
        d.line([(c, 2 * S), (c, 46 * S)], fill=(255, 250, 220, 160), width=2 * S)
        d.line([(2 * S, c), (46 * S, c)], fill=(255, 250, 220, 160), width=2 * S)
    smooth((48, 48), paint).save(os.path.join(story, "spark.png"), optimize=True)


def flash():
    Image.new("RGBA", (64, 64), (235, 230, 255, 255)).save(os.path.join(story, "flash.png"), optimize=True)


# ---- The pages' animations ----------------------------------------------------------------------------

CX, CY = PAGE_W / 2, PAGE_H / 2
PIC = "data/comic/story/"


def background(name, zoom_to=1.05, seconds=8):
    return obj("Background", picture=PIC + name, position=[vkey(0, CX, CY)], size=[vkey(0, PAGE_W, PAGE_H)],
               scale=[fkey(0, 1.0), fkey(seconds, zoom_to, SMOOTH)])


def sun_with_rays(start, end, seconds):
    rays = obj("Rays", blend=0, picture="data/comic/rays.png", size=[vkey(0, 256, 256)],
               rotation=[fkey(0, 0), fkey(seconds, round(math.pi / 3, 4))],
               alpha=[fkey(0, 0), fkey(1.5, 0.7, SMOOTH)])
    return obj("Sun", picture="data/comic/sun.png", size=[vkey(0, 128, 128)],
               position=[vkey(0, *start), vkey(seconds, *end, SMOOTH)], children=[rays])


def bee(name, path, period, start=0.0, facing=1):
    """A bee flying through the points of `path` (the first and last equal), wings beating; `facing`
    -1 turns it to the left."""
    keys = [vkey(start + period * i / (len(path) - 1), x, y, SMOOTH) for i, (x, y) in enumerate(path)]
    return obj(name, picture="data/comic/bee.png", frames=2, size=[vkey(0, 48 * facing, 36)], position=keys,
               phase=[fkey(0, 0), fkey(start + period, 40 * period)])


def sparkles(points, seconds):
    out = []
    for i, (x, y, t) in enumerate(points):
        out.append(obj("Sparkle%d" % i, blend=0, picture=PIC + "spark.png", position=[vkey(0, x, y)],
                       size=[vkey(0, 48, 48)],
                       alpha=[fkey(0, 0), fkey(t, 0), fkey(t + 0.4, 1, SMOOTH), fkey(t + 1.2, 0, SMOOTH),
                              fkey(seconds, 0)],
                       scale=[fkey(t, 0.4), fkey(t + 0.4, 1.2, SMOOTH), fkey(t + 1.2, 0.6)]))
    return out


def animations():
    pages = {}
    pages[1] = [background("day.jpg"), sun_with_rays((800, 200), (800, 110), 8),
                bee("Bee", [(-60, 300), (300, 330), (520, 280), (700, 340), (520, 380), (300, 330)], 7),
                bee("Bee2", [(1000, 420), (760, 400), (600, 440), (760, 470), (1000, 420)], 8, 1.0, -1)]
    pages[2] = [background("storm.jpg", 1.03),
                obj("Cloud", picture=PIC + "cloud.png", size=[vkey(0, 300, 130)],
                    position=[vkey(0, 220, 90), vkey(4, 300, 96, SMOOTH), vkey(8, 220, 90, SMOOTH)]),
                obj("Cloud2", picture=PIC + "cloud.png", size=[vkey(0, -300, 130)],
                    position=[vkey(0, 760, 70), vkey(4, 690, 80, SMOOTH), vkey(8, 760, 70, SMOOTH)]),
                obj("Witch", picture=PIC + "witch.png", size=[vkey(0, -180, 90)],
                    position=[vkey(0, 1040, 140), vkey(2, 700, 190, SMOOTH), vkey(4, 380, 150, SMOOTH),
                              vkey(6, -120, 210, SMOOTH), vkey(8, -120, 210)],
                    rotation=[fkey(0, -0.1), fkey(3, 0.08, SMOOTH), fkey(6, -0.05, SMOOTH)]),
                obj("Flash", blend=0, picture=PIC + "flash.png", position=[vkey(0, CX, CY)],
                    size=[vkey(0, PAGE_W, PAGE_H)],
                    alpha=[fkey(0, 0), fkey(2.4, 0), fkey(2.45, 0.7), fkey(2.8, 0, SMOOTH), fkey(5.2, 0),
                           fkey(5.25, 0.5), fkey(5.6, 0, SMOOTH), fkey(8, 0)])]
    leaves = []
    rng = random.Random(21)
    for i in range(6):
        x0, t0 = rng.randrange(80, 860), rng.randrange(0, 30) / 10
        leaves.append(obj("Leaf%d" % i, picture=PIC + "leaf.png", size=[vkey(0, 32, 24)],
                          position=[vkey(0, x0, -30), vkey(t0, x0, -30), vkey(t0 + 2, x0 + 60, 200, SMOOTH),
                                    vkey(t0 + 4, x0 - 20, 420, SMOOTH), vkey(t0 + 5.5, x0 + 40, 600, SMOOTH)],
                          rotation=[fkey(0, 0), fkey(t0 + 5.5, rng.choice([-1, 1]) * 6.0)]))
    pages[3] = [background("dusk.jpg", 1.04, 9)] + leaves
    pages[4] = [background("dawn.jpg", 1.06), sun_with_rays((760, 420), (760, 120), 5)] + sparkles(
        [(300, 380, 1.5), (560, 360, 2.6), (420, 300, 3.8), (640, 420, 5.0)], 8)
    pages[5] = [background("green.jpg"), sun_with_rays((140, 110), (140, 90), 8),
                bee("Bee", [(200, 260), (420, 300), (640, 250), (420, 220), (200, 260)], 6),
                bee("Bee2", [(860, 330), (640, 380), (460, 340), (640, 300), (860, 330)], 7, 0.5, -1)]
    pages[6] = [background("sunset.jpg", 1.04),
                obj("Witch", picture=PIC + "witch.png", size=[vkey(0, 180, 90)],
                    position=[vkey(0, 260, 260), vkey(6, 860, 80, SMOOTH)],
                    scale=[fkey(0, 1.0), fkey(6, 0.15, SMOOTH)],
                    alpha=[fkey(0, 1), fkey(5, 1), fkey(6.5, 0, SMOOTH)])] + sparkles(
        [(200, 140, 2.0), (470, 90, 3.0), (330, 200, 4.0), (600, 150, 5.0), (260, 80, 6.0)], 8)
    for p, objects in pages.items():
        write_animation(os.path.join(data, "comic", "story%d" % p), objects,
                        "# Page %d of the demo's stories, written by tools/content/gen_89_comics.py" % p)


# ---- Voices ------------------------------------------------------------------------------------------

def voices():
    """Each page's text spoken by espeak-ng, made mono 16 kHz by sox."""
    if not (shutil.which("espeak-ng") and shutil.which("sox")):
        print("gen_89_comics: espeak-ng and sox are needed for the voices; the old ones are kept")
        return
    with tempfile.TemporaryDirectory() as tmp:
        for p, texts in PAGES.items():
            for lang, voice, speed, text in (("en", "en-gb", "150", texts[0]), ("ru", "ru", "145", texts[1])):
                raw = os.path.join(tmp, "raw.wav")
                subprocess.run(["espeak-ng", "-v", voice, "-s", speed, "-p", "55", "-w", raw, text], check=True)
                out = os.path.join(sounds, "voice%d_%s.wav" % (p, lang))
                subprocess.run(["sox", "-D", raw, "-r", "16000", "-c", "1", "-b", "16", out, "norm", "-3"], check=True)
    lines = ["; The voices of the demo's stories (tools/content/gen_89_comics.py): page N in English and",
             "; Russian; a page's \"sound\" is a translation key naming one of them.", "[main]", "maxvolume=1", ""]
    for p in PAGES:
        for lang in ("en", "ru"):
            lines += ["[comics_voice%d_%s]" % (p, lang), "name=data/snd/comics/voice%d_%s.wav" % (p, lang), ""]
    # The fanfare of the game's end, played three times during the credits.
    lines += ["[AllTasksCompleted]", "name=data/snd/comics/fanfare.wav", "maxvolume=0.8", ""]
    write(os.path.join(data, "snd", "comics.ini"), "\n".join(lines))


def tone_wav(path, notes, rate=22050):
    """A short chime: (frequency, start s, length s) notes with soft ends, 16-bit mono."""
    import struct
    import wave
    length = max(s + l for _, s, l in notes)
    frames = [0.0] * int(rate * length + 1)
    for f, s, l in notes:
        for i in range(int(rate * l)):
            t = i / rate
            env = min(1.0, t / 0.01) * math.exp(-3.0 * t / l)
            frames[int(rate * s) + i] += env * (math.sin(2 * math.pi * f * t) + 0.3 * math.sin(4 * math.pi * f * t))
    peak = max(1e-6, max(abs(v) for v in frames))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", int(v / peak * 20000)) for v in frames))


# ---- The story screen -----------------------------------------------------------------------------------

def frame_picture():
    """The wooden frame around the page, with the parchment band the text types on; the page shows
    through the hole."""
    w, h = 1024, 768

    def paint(d, img):
        planked_board(d, img, w, h, random.Random(31), S, (0, 0), OPTIONS_WOOD)
        mask = Image.new("L", img.size, 0)
        ImageDraw.Draw(mask).rounded_rectangle([PAGE_X * S, PAGE_Y * S, (PAGE_X + PAGE_W) * S, (PAGE_Y + PAGE_H) * S],
                                               radius=10 * S, fill=255)
        img.paste((0, 0, 0, 0), (0, 0), mask)
        d = ImageDraw.Draw(img)
        d.rounded_rectangle([(PAGE_X - 4) * S, (PAGE_Y - 4) * S, (PAGE_X + PAGE_W + 4) * S, (PAGE_Y + PAGE_H + 4) * S],
                            radius=12 * S, outline=(210, 170, 90, 255), width=3 * S)
        d.rounded_rectangle([60 * S, 600 * S, 964 * S, 694 * S], radius=14 * S, fill=(150, 118, 70, 255))
        gradient(img, [63 * S, 603 * S, 961 * S, 691 * S], (246, 234, 200), (226, 206, 160), 12 * S)

    smooth((w, h), paint).save(os.path.join(story, "frame.png"), optimize=True)


def eyes_picture():
    def paint(d, img):
        for cx in (130, 270):
            for r, a in ((60, 30), (40, 70), (24, 150)):
                d.ellipse([(cx - r) * S, (80 - r * 0.6) * S, (cx + r) * S, (80 + r * 0.6) * S], fill=(190, 255, 90, a))
            d.ellipse([(cx - 18) * S, 70 * S, (cx + 18) * S, 90 * S], fill=(250, 255, 200, 255))
            d.ellipse([(cx - 4) * S, 68 * S, (cx + 4) * S, 92 * S], fill=(20, 30, 10, 255))
    smooth((400, 160), paint).filter(ImageFilter.GaussianBlur(1)).save(os.path.join(story, "eyes.png"), optimize=True)


def comics_ini():
    doc = ["""; The stories between levels, written by tools/content/gen_89_comics.py. Page N is "TextN" (a
; text that types itself) over "BackN" (its picture: a keyframe page); "BackN" also says
; "first"/"last" for a story's ends and "sound" for its voice (a translation key, so each
; language hears its own). A page turns when its voice is done, or 2 s after its text; a click
; shows the whole text, the next turns; Escape ends the story. The intro's end starts the
; level, the game's end page closes with "Credits", "Title" and the witch's "Eyes".
""" + section("Main", font=SANS16, introPage=1, introEndPage=INTRO_END, gameEndPage=GAME_END,
              gameEndLevel=LAST_LEVEL),
           "; the first page of the story told after the level (the key) is won\n" +
           section("AfterLevel", **{str(LAST_LEVEL): 5}),
           sprite("Eyes", 312, 270, 400, 160, PIC + "eyes.png")]
    for name, x, w in (("Prev", 64, 150), ("Next", 810, 150), ("Skip", 437, 150), ("Play", 437, 150)):
        doc.append(captioned_button(name, x, 706, w, "#COMICS_" + name.upper(), "click"))
    doc.append(sprite("Back", 0, 0, 1024, 768, PIC + "frame.png"))
    for p in PAGES:
        doc.append(section("Text%d" % p, type="typingText", x=96, y=620, xs=832, ys=60, xalign=-1, yalign=-1,
                           name="#COMICS_TEXT%d" % p, font=SANS16, select=2, period=40, timeout=0))
        # voiceTime 0: the voice's own length and a second after it
        ends = {}
        if p in FIRST_PAGES:
            ends["first"] = 1
        if p in LAST_PAGES:
            ends["last"] = 1
        doc.append(section("Back%d" % p, type="newAnim", x=PAGE_X, y=PAGE_Y, xs=PAGE_W, ys=PAGE_H,
                           anim="data/comic/story%d.kf" % p, sound="#COMICS_VOICE%d" % p, voiceTime=0, **ends))
    doc += ["; the game's end: the credits roll up over the dark, under the menu's sign\n" +
            text("Credits", 212, 420, 600, 520, yalign=-1, font=SANS26B, name="#COMICS_CREDITS"),
            section("Title", anim0="menu_title_in", anim1="menu_title_idle", anim2="menu_title_shine",
                    actperiodMin=3000, actperiodMax=7000, x=262, y=20)]
    write(os.path.join(menu, "comics.ini"), "\n".join(doc))


# ---- The score table ------------------------------------------------------------------------------------

def parchment(size, seed, radius=14):
    rng = random.Random(seed)
    w, h = size

    def paint(d, img):
        d.rounded_rectangle([0, 0, w * S - 1, h * S - 1], radius=radius * S, fill=(150, 118, 70, 255))
        gradient(img, [3 * S, 3 * S, w * S - 3 * S, h * S - 3 * S], (246, 234, 200), (226, 206, 160), (radius - 2) * S)

        def specks(g):
            for _ in range(w * h // 600):
                x, y = rng.randrange(6 * S, w * S - 6 * S), rng.randrange(5 * S, h * S - 5 * S)
                r = rng.randrange(1, 3) * S
                g.ellipse([x - r, y - r, x + r, y + r], fill=(170, 130, 70, 24))

        overlay(img, specks)

    return smooth(size, paint)


def board(size, seed):
    return smooth(size, lambda d, img: planked_board(d, img, size[0], size[1], random.Random(seed), S, (0, 0),
                                                     OPTIONS_WOOD))


def night_back(name, title):
    """A meadow under the night sky with fireflies; `title` paints the game's name over it."""
    w, h = 1024, 768
    img = Image.new("RGB", (w, h))
    vertical(img, (0, 0, w, 520), [(0, (12, 14, 40)), (0.7, (40, 40, 90)), (1, (90, 70, 110))])
    d = ImageDraw.Draw(img)
    stars(d, random.Random(41), 160, 420, w)
    d.ellipse([820, 70, 900, 150], fill=(240, 236, 210))
    hill(d, 470, 20, 120, 0.5, (30, 40, 46), w, h)
    hill(d, 540, 14, 90, 2.1, (24, 44, 30), w, h)
    barn(d, 240, 420, 1.0, (60, 36, 34), (36, 24, 24))
    d.rectangle([232, 500, 248, 520], fill=(255, 210, 110))
    layer = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    g = ImageDraw.Draw(layer)
    rng = random.Random(42)
    for _ in range(60):
        x, y = rng.randrange(0, w), rng.randrange(520, h)
        for r, a in ((8, 40), (4, 120), (2, 255)):
            g.ellipse([x - r, y - r, x + r, y + r], fill=(230, 255, 120, a))
    img = Image.alpha_composite(img.convert("RGBA"), layer.filter(ImageFilter.GaussianBlur(1)))
    if title:
        font = ImageFont.truetype(DEJAVU + "DejaVuSerif-Bold.ttf", 96)
        d = ImageDraw.Draw(img)
        box = d.textbbox((0, 0), "Meadowmark", font=font)
        x = (w - (box[2] - box[0])) // 2
        d.text((x + 4, 244), "Meadowmark", font=font, fill=(20, 10, 0, 255))
        d.text((x, 240), "Meadowmark", font=font, fill=(250, 210, 90, 255))
    img.convert("RGB").save(os.path.join(last_pics if name.startswith("last") else scores_pics, name + ".jpg"),
                            quality=88)


SCORES = "\n".join([
    """; The high-score table (tools/content/gen_89_comics.py): eight rows, best first, entered with the
; player's total when it is opened. "PlayerScores" shows a row's name, "PlayerStr" its value;
; row r stands r x "deltaY" below the first. "Back" is shown only at the end of the game.
""" + screen_main(bgAlpha=150, fadeTime=250, deltaY=44, playerStrX=330, playerStrY=242, playerScoresX=574,
                  playerScoresY=242),
    section("PlayerScores", type="text", xs=240, ys=36, xalign=-1, select=2, font=SANS16),
    section("PlayerStr", type="text", xs=120, ys=36, xalign=1, select=2, font=SANS16),
    sprite("Sign", 462, 70, 100, 100, "data/menu/scores/cup.png"),
    text("Scores", 262, 176, 500, 40, name="#SCORES_TITLE", select=1, font=SANS26B),
    captioned_button("ScoresOk", 417, 628, 190, "#SCORES_OK", "click"),
    sprite("ScoresMat", 302, 226, 420, 384, "data/menu/scores/mat.png"),
    sprite("Frame", 262, 160, 500, 540, "data/menu/scores/board.png"),
    sprite("Back", 0, 0, 1024, 768, "data/menu/scores/back.jpg")])


def trophy():
    """The golden cup that crowns the score table."""
    def paint(d, img):
        k = S
        for side in (-1, 1):
            cx = 50 + side * 34
            d.ellipse([(cx - 14) * k, 22 * k, (cx + 14) * k, 52 * k], outline=(180, 120, 20, 255), width=5 * k)
        d.pieslice([16 * k, -20 * k, 84 * k, 64 * k], 0, 180, fill=(235, 180, 40, 255))
        d.rectangle([16 * k, 8 * k, 84 * k, 22 * k], fill=(235, 180, 40, 255))
        d.ellipse([16 * k, 2 * k, 84 * k, 14 * k], fill=(250, 215, 90, 255))
        d.rectangle([44 * k, 62 * k, 56 * k, 78 * k], fill=(200, 140, 30, 255))
        d.rounded_rectangle([26 * k, 78 * k, 74 * k, 94 * k], radius=4 * k, fill=(120, 80, 40, 255))
        d.polygon([(30 * k, 16 * k), (40 * k, 16 * k), (36 * k, 44 * k)], fill=(255, 240, 170, 200))
    return smooth((100, 100), paint)


def scores():
    board((500, 540), 51).save(os.path.join(scores_pics, "board.png"), optimize=True)
    trophy().save(os.path.join(scores_pics, "cup.png"), optimize=True)
    parchment((420, 384), 52).save(os.path.join(scores_pics, "mat.png"), optimize=True)
    night_back("back", False)
    write(os.path.join(menu, "menu_scores.ini"), SCORES)


# ---- The achievements book ------------------------------------------------------------------------------

def pad(earned):
    w, h = 556, 50

    def paint(d, img):
        top, bottom = ((250, 238, 196), (232, 212, 160)) if earned else ((214, 210, 200), (196, 192, 184))
        d.rounded_rectangle([2 * S, 3 * S, (w - 2) * S, (h - 3) * S], radius=10 * S,
                            fill=(150, 118, 70, 255) if earned else (140, 136, 128, 255))
        gradient(img, [4 * S, 5 * S, (w - 4) * S, (h - 5) * S], top, bottom, 8 * S)
        d = ImageDraw.Draw(img)
        c = (30 * S, 25 * S)
        if earned:
            d.ellipse([c[0] - 15 * S, c[1] - 15 * S, c[0] + 15 * S, c[1] + 15 * S], fill=(230, 170, 40, 255))
            d.ellipse([c[0] - 10 * S, c[1] - 10 * S, c[0] + 10 * S, c[1] + 10 * S], fill=(250, 210, 80, 255))
            d.line([(c[0] - 6 * S, c[1]), (c[0] - 1 * S, c[1] + 5 * S), (c[0] + 7 * S, c[1] - 6 * S)],
                   fill=(120, 70, 10, 255), width=3 * S)
        else:
            d.ellipse([c[0] - 13 * S, c[1] - 13 * S, c[0] + 13 * S, c[1] + 13 * S], outline=(150, 146, 138, 255),
                      width=3 * S)

    return smooth((w, h), paint)


def bar_pictures():
    """The list's vertical bar (track and thumb) and the progress bar (track and fill)."""
    def track(size, radius, colour):
        w, h = size
        return smooth(size, lambda d, img: d.rounded_rectangle([0, 0, w * S - 1, h * S - 1], radius=radius * S,
                                                                fill=colour))
    track((12, 400), 6, (110, 80, 50, 255)).save(os.path.join(book_pics, "scroll_track.png"), optimize=True)

    def thumb(d, img):
        d.rounded_rectangle([0, 0, 24 * S - 1, 40 * S - 1], radius=10 * S, fill=(90, 140, 50, 255))
        gradient(img, [3 * S, 3 * S, 21 * S, 37 * S], (150, 210, 90), (90, 150, 50), 8 * S)
    smooth((24, 40), thumb).save(os.path.join(book_pics, "scroll_thumb.png"), optimize=True)
    track((380, 16), 8, (110, 80, 50, 255)).save(os.path.join(book_pics, "progress_track.png"), optimize=True)

    def fill(d, img):
        gradient(img, [0, 0, 380 * S - 1, 16 * S - 1], (250, 210, 80), (220, 150, 30), 8 * S)
    smooth((380, 16), fill).save(os.path.join(book_pics, "progress_fill.png"), optimize=True)


def ship():
    """A little paper boat on the book's corner: the achievements sail on with the player."""
    def paint(d, img):
        k = S
        d.polygon([(6 * k, 60 * k), (114 * k, 60 * k), (96 * k, 82 * k), (24 * k, 82 * k)], fill=(240, 232, 210, 255))
        d.polygon([(60 * k, 6 * k), (60 * k, 58 * k), (18 * k, 58 * k)], fill=(250, 244, 228, 255))
        d.polygon([(64 * k, 14 * k), (64 * k, 58 * k), (100 * k, 58 * k)], fill=(226, 214, 186, 255))
        d.line([(62 * k, 4 * k), (62 * k, 62 * k)], fill=(120, 90, 60, 255), width=2 * k)
    smooth((120, 90), paint).save(os.path.join(book_pics, "ship.png"), optimize=True)


BOOK_PIC = "data/menu/book/"
BOOK = "\n".join([
    """; The achievements book (tools/content/gen_89_comics.py): every achievement of the player's game
; mode, the latest earned first, each an "AchText" on an "AchPad" (its normal picture for an earned
; one, its ignore picture for one still to come) inside "ScrollFrame"; the bar on the right scrolls
; the list, "ProgressBar" and "Count" tell how many are earned. The achievements themselves are
; data/interface/achievements.ini.
""" + screen_main(bgAlpha=160, fadeTime=250),
    section("ScrollFrame", type="scrollWnd", x=214, y=196, xs=556, ys=372),
    text("AchText", 62, 0, 480, 50, xalign=-1, select=2, font=SANS16),
    section("AchPad", type="sprite", x=0, y=0, xs=556, ys=50, normal=BOOK_PIC + "pad_earned.png",
            ignore=BOOK_PIC + "pad_todo.png"),
    captioned_button("AchClose", 417, 644, 190, "#BOOK_CLOSE", "click"),
    section("ScrollBar", type="progress2", x=786, y=196, xs=24, ys=372, vertical=1, stage=1,
            **{"0": "ScrollTrack", "1": "ScrollFill", "2": "ScrollThumb"}),
    section("ScrollTrack", x=6, xs=12, ys=372, ignore=BOOK_PIC + "scroll_track.png"),
    section("ScrollFill", x=6, xs=12, ys=372),
    section("ScrollThumb", xs=24, ys=40, **all_states(BOOK_PIC + "scroll_thumb.png")),
    sprite("ScrollBoard", 200, 186, 624, 392, BOOK_PIC + "list.png"),
    section("ProgressBar", type="progress", x=232, y=596, xs=380, ys=16,
            **{"0": "ProgressTrack", "1": "ProgressFill"}),
    section("ProgressTrack", xs=380, ys=16, ignore=BOOK_PIC + "progress_track.png"),
    section("ProgressFill", xs=380, ys=16, ignore=BOOK_PIC + "progress_fill.png"),
    sprite("ProgressBoard", 214, 586, 414, 36, BOOK_PIC + "strip.png"),
    text("Count", 640, 586, 170, 36, select=0, font=SANS26B),
    label_text("Description", 214, 156, 596, 30, "#BOOK_DESCRIPTION", 0),
    sprite("Ship", 700, 86, 120, 90, BOOK_PIC + "ship.png"),
    text("Title", 382, 76, 260, 70, name="#BOOK_TITLE", select=1, font=SANS26B),
    sprite("Frame", 162, 50, 700, 666, BOOK_PIC + "board.png")])


def book():
    board((700, 666), 61).save(os.path.join(book_pics, "board.png"), optimize=True)
    parchment((624, 392), 62).save(os.path.join(book_pics, "list.png"), optimize=True)
    parchment((414, 36), 63, 10).save(os.path.join(book_pics, "strip.png"), optimize=True)
    pad(True).save(os.path.join(book_pics, "pad_earned.png"), optimize=True)
    pad(False).save(os.path.join(book_pics, "pad_todo.png"), optimize=True)
    bar_pictures()
    ship()
    write(os.path.join(menu, "achievements.ini"), BOOK)


# ---- The closing screens -----------------------------------------------------------------------------------

def last_screens():
    night_back("last2", False)
    night_back("last", True)
    for name, pic in (("last2.ini", "last2.jpg"), ("last.ini", "last.jpg")):
        write(os.path.join(menu, name),
              "; A closing screen (tools/content/gen_89_comics.py): shown for five seconds or until a key\n"
              "; when the game is left; last2.ini comes first, then last.ini, then the program ends.\n" +
              section("Main") + "\n" + sprite("Back", 0, 0, 1024, 768, "data/menu/last/" + pic))


# ---- Texts and the sounds others play -------------------------------------------------------------------

def texts():
    for file, column in (("translation.ini", 1), ("translation_ru.ini", 2)):
        own_section_last(os.path.join(data, file), "comics pages",
                         "[comics pages]\n; The stories, score table and book (gen_89_comics.py).\n" +
                         "".join("#%s=%s\n" % (t[0], t[column]) for t in TEXTS), write)


def shared_sounds():
    tone_wav(os.path.join(sounds, "fanfare.wav"), [(523, 0, 0.5), (659, 0.12, 0.5), (784, 0.24, 0.6), (1047, 0.36, 0.9)])
    tone_wav(os.path.join(sounds, "show_quest.wav"), [(784, 0, 0.4), (988, 0.1, 0.6)])
    merge_sections(os.path.join(data, "snd", "sounds.ini"),
                   {"ShowQuest": ["; the score table at the end of the game (gen_89_comics.py)",
                                  "name=data/snd/comics/show_quest.wav"]})
    # music.ini keeps the line ends its own generator gave it: the section is only appended.
    music = os.path.join(data, "snd", "music.ini")
    have = open(music, encoding="utf-8", newline="").read() if os.path.exists(music) else ""
    if "[ongamewin]" not in have.lower():
        end = "\r\n" if "\r\n" in have else "\n"
        block = ["", "; the game is won: the last story's music (gen_89_comics.py)", "[OnGameWin]",
                 "music=data/snd/menu.ogg", ""]
        with open(music, "w", encoding="utf-8", newline="") as f:
            f.write(have.rstrip("\r\n") + end + end.join(block))


for paint in (page_day, page_storm, page_dusk, page_dawn, page_green, page_sunset, witch, cloud, leaf, spark, flash,
              frame_picture, eyes_picture):
    paint()
animations()
voices()
shared_sounds()
comics_ini()
scores()
book()
last_screens()
texts()
print("comics: data/menu/comics.ini, data/comic/story1-6.kf, voices, menu_scores.ini, achievements.ini, last*.ini")
