#!/usr/bin/env python3
"""Pictures and sounds of the living background (the scenery of level 4 and after):

- a frog on a stone (creature/simple): frog_idle, frog_croak, frog_blink, frog_jump, frog_duck,
  and its call "frog_croak";
- a hedgehog (creature/moving): hog_stand, hog_sniff and its walks (hog_walk_*) up, up-right, right,
  down-right and down (the pictures face right; the game mirrors them for leftward ways);
- two butterflies (creature/butterfly): butterfly_blue_fly, butterfly_white_fly;
- three trees (simple/tree), crown and trunk apart: tree_apple_*, tree_willow_*, tree_pine_*. They
  are painted in light greys so the colour keys of the map tint them; their frames grow from bare
  to full, so a tree coming out of the fog leafs out. The foot of the trunk is the picture's
  centre, as for the trees of levels 1 to 3;
- a willow mirrored in a pond (simple/reflection): reflection_willow, rippling;
- the robin's song ("robin"), which the robin of levels 1 to 3 names;
- the sounds of a fire that catches and dies ("FireStart", "FireDying"), which map effects play
  (their effects are entered in the catalogue by gen_99_zz_scenery_fx.py).

Everything is drawn supersampled from fixed seeds: every run gives the same bytes.
"""
import math
import os
import random
import sys

from PIL import Image, ImageFilter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sound_synth as synth  # noqa: E402
from campaign_art import stack  # noqa: E402
from catalogue_block import animation_line, write_block  # noqa: E402
from level_common import merge_sections, target_dir  # noqa: E402
from supersample import SS, canvas, s, shrink  # noqa: E402

INK = (52, 38, 30, 255)
target = target_dir(sys.argv)
data = os.path.join(target, "data")
rel_dir = "data/anims/scenery"
out_dir = os.path.join(target, rel_dir)
os.makedirs(out_dir, exist_ok=True)
os.makedirs(os.path.join(data, "snd"), exist_ok=True)


def frame(w, h, paint):
    """One frame w x h: paint(d, s) draws with s() scaling coordinates to the big canvas."""
    img, d = canvas(w, h)
    paint(d, s)
    return shrink(img, w, h)


lines = []


def save(aid, frames, period, loop=True, stick=False):
    name = aid + ".png"
    stack(frames).save(os.path.join(out_dir, name), optimize=True)
    lines.append(animation_line(aid, f"{rel_dir}/{name}", period, len(frames), loop=loop, stick=stick))


def ellipse(d, s, cx, cy, rx, ry, fill, outline=INK, width=1.2):
    d.ellipse(s(cx - rx, cy - ry, cx + rx, cy + ry), fill=fill, outline=outline,
              width=max(1, int(width * SS)) if outline else 0)


# ---- The frog on its stone (48 x 44, the anchor at the picture's centre) ---------------------------

FROG = (104, 168, 64, 255)
FROG_DARK = (70, 128, 44, 255)
BELLY = (214, 226, 150, 255)
STONE = (150, 146, 138, 255)


def frog(lift=0.0, squash=0.0, sac=0.0, blink=0.0, mouth=False, legs_out=0.0):
    """The frog seen from the side facing right, sitting on a stone. lift raises it off the stone,
    squash flattens it, sac inflates its throat, blink closes its eye (0 to 1)."""
    def paint(d, s):
        # The stone with a soft shade and a highlight.
        ellipse(d, s, 24, 36, 20, 7, STONE)
        ellipse(d, s, 20, 34, 10, 3, (182, 178, 170, 255), outline=None)
        if lift > 0:  # its shadow on the stone (opaque: the canvas does not blend)
            ellipse(d, s, 25, 35, 10 - lift * 0.3, 2.5, (124, 120, 114, 255), outline=None)
        by = 26 - lift + squash * 3
        bh = 9 - squash * 3
        # Back legs: folded, or stretched out while it jumps.
        if legs_out > 0:
            d.line(s(14, by + 2, 6 - legs_out * 3, by + 8 + legs_out * 2), fill=FROG_DARK, width=3 * SS)
        else:
            ellipse(d, s, 15, by + 4, 7, 5, FROG_DARK)
        # Body and belly.
        ellipse(d, s, 24, by, 13, bh, FROG)
        ellipse(d, s, 27, by + bh * 0.45, 8, bh * 0.45, BELLY, outline=None)
        # Throat sac.
        if sac > 0:
            ellipse(d, s, 33, by + 5, 3 + sac * 5, 2 + sac * 4, (236, 230, 170, 255))
        # Head, spots, eye.
        ellipse(d, s, 33, by - 4 + squash, 8, 6 - squash, FROG)
        for sx, sy in ((18, by - 4), (23, by - 6), (20, by + 1)):
            ellipse(d, s, sx, sy, 1.6, 1.2, FROG_DARK, outline=None)
        ey = by - 9 + squash * 2
        ellipse(d, s, 34, ey, 3.4, 3.4, FROG)
        if blink < 0.9:
            ellipse(d, s, 34.6, ey - blink, 2.0, 2.0 * (1 - blink), (250, 240, 120, 255), outline=None)
            ellipse(d, s, 35, ey - blink, 1.0, 1.2 * (1 - blink), (20, 20, 20, 255), outline=None)
        else:
            d.line(s(31.5, ey, 36.5, ey), fill=INK, width=SS)
        d.line(s(36, by - 1 + squash, 41, by - 2 + squash), fill=INK, width=SS)
        if mouth:
            d.line(s(36, by + squash, 40, by + 1 + squash), fill=(150, 60, 60, 255), width=SS)
        # Front leg.
        if lift < 4:
            d.line(s(30, by + bh - 2, 31, 33), fill=FROG_DARK, width=2 * SS)
    return frame(48, 44, paint)


save("frog_idle", [frog(squash=0.0), frog(squash=0.25)], 1400)
save("frog_croak", [frog(sac=0.3, mouth=True), frog(sac=1.0, mouth=True), frog(sac=0.6, mouth=True),
                    frog(sac=1.0, mouth=True), frog(sac=0.2)], 900, loop=False)
save("frog_blink", [frog(blink=0.5), frog(blink=1.0), frog(blink=0.5), frog()], 500, loop=False)
save("frog_jump", [frog(squash=0.6), frog(lift=5, legs_out=0.5), frog(lift=11, legs_out=1.0),
                   frog(lift=13, legs_out=1.0), frog(lift=8, legs_out=0.6), frog(lift=2), frog(squash=0.5)],
     700, loop=False)
save("frog_duck", [frog(squash=0.4), frog(squash=0.9, blink=0.6), frog(squash=1.0, blink=1.0),
                   frog(squash=0.9, blink=1.0), frog(squash=0.4, blink=0.4)], 900, loop=False)

# ---- The hedgehog (44 x 34, the anchor at the centre) -----------------------------------------------

SPINE = (118, 92, 70, 255)
SPINE_TIP = (220, 206, 180, 255)
FACE = (206, 170, 128, 255)


def hedgehog_side(step=0.0, nose=0.0, tilt=0.0):
    """Side view facing right; step (0..1) moves the legs, nose lifts the snout, tilt turns the
    body up (negative) or down (positive) for the diagonal walks."""
    rng = random.Random(51)

    def paint(d, s):
        ellipse(d, s, 22, 29, 15, 3, (0, 0, 0, 50), outline=None)
        legs = (math.sin(step * 2 * math.pi), math.sin(step * 2 * math.pi + math.pi))
        for i, lx in enumerate((14, 28)):
            off = legs[i] * 2.5
            d.line(s(lx, 23, lx + off, 28), fill=(90, 66, 50, 255), width=2 * SS)
        cy = 18 + tilt * 1.5
        ellipse(d, s, 20, cy, 14, 9, SPINE)
        for _ in range(34):
            a = rng.uniform(math.pi * 0.95, math.pi * 2.05)
            r = rng.uniform(6, 12)
            x0, y0 = 20 + math.cos(a) * r * 0.6, cy + math.sin(a) * r * 0.45
            x1, y1 = 20 + math.cos(a) * (r + 4), cy + math.sin(a) * (r * 0.75 + 3)
            d.line(s(x0, y0, x1, y1), fill=SPINE_TIP, width=SS)
        hy = cy + 3 - nose * 2 + tilt * 2
        d.polygon(s(30, hy - 5, 40, hy + 1 - nose, 30, hy + 5), fill=FACE, outline=INK)
        ellipse(d, s, 40.5, hy + 1 - nose, 1.5, 1.3, (30, 24, 20, 255), outline=None)
        ellipse(d, s, 33.5, hy - 1.5, 1.1, 1.1, (20, 20, 20, 255), outline=None)
        ellipse(d, s, 31, hy - 5, 1.6, 1.6, FACE)
    return frame(44, 34, paint)


def hedgehog_front(step=0.0, back=False):
    """Walking towards the viewer (down) or away (up, back=True)."""
    rng = random.Random(52)

    def paint(d, s):
        ellipse(d, s, 22, 29, 11, 3, (0, 0, 0, 50), outline=None)
        for i, lx in enumerate((16, 28)):
            off = math.sin(step * 2 * math.pi + i * math.pi) * 1.5
            d.line(s(lx, 22, lx, 27 + off), fill=(90, 66, 50, 255), width=2 * SS)
        ellipse(d, s, 22, 17, 12, 10, SPINE)
        for _ in range(30):
            a = rng.uniform(0, 2 * math.pi)
            r = rng.uniform(5, 9)
            d.line(s(22 + math.cos(a) * r * 0.6, 17 + math.sin(a) * r * 0.6, 22 + math.cos(a) * (r + 3),
                     17 + math.sin(a) * (r + 3)), fill=SPINE_TIP, width=SS)
        if not back:
            ellipse(d, s, 22, 21, 6, 5, FACE)
            ellipse(d, s, 22, 24, 1.6, 1.4, (30, 24, 20, 255), outline=None)
            for ex in (19.5, 24.5):
                ellipse(d, s, ex, 19.5, 1.0, 1.0, (20, 20, 20, 255), outline=None)
    return frame(44, 34, paint)


walk = [k / 4 for k in range(4)]
save("hog_stand", [hedgehog_side(), hedgehog_side(nose=0.3)], 1600)
save("hog_sniff", [hedgehog_side(nose=n) for n in (0.4, 1.0, 0.5, 1.0, 0.2)], 1000)
save("hog_walk_right", [hedgehog_side(step=t) for t in walk], 480)
save("hog_walk_upright", [hedgehog_side(step=t, tilt=-1.0) for t in walk], 480)
save("hog_walk_downright", [hedgehog_side(step=t, tilt=1.0) for t in walk], 480)
save("hog_walk_up", [hedgehog_front(step=t, back=True) for t in walk], 480)
save("hog_walk_down", [hedgehog_front(step=t) for t in walk], 480)

# ---- Butterflies (24 x 22) ------------------------------------------------------------------------


def butterfly(k, frames, upper, lower, spots):
    def paint(d, s):
        open_ = abs(math.cos(k / frames * math.pi))
        span = 1.5 + 8.5 * open_
        for sgn in (-1, 1):
            ellipse(d, s, 12 + sgn * span, 8, 4.6, 4.2, upper, width=1)
            ellipse(d, s, 12 + sgn * span * 0.75, 14, 3.2, 3.0, lower, width=1)
            ellipse(d, s, 12 + sgn * span * 1.1, 7, 1.2, 1.2, spots, outline=None)
        d.line(s(12, 5, 12, 17), fill=INK, width=2 * SS)
        d.line(s(12, 5, 10, 1.5), fill=INK, width=SS)
        d.line(s(12, 5, 14, 1.5), fill=INK, width=SS)
    return frame(24, 22, paint)


save("butterfly_blue_fly", [butterfly(k, 4, (96, 150, 240, 255), (70, 110, 210, 255), (240, 240, 255, 255))
                            for k in range(4)], 260)
save("butterfly_white_fly", [butterfly(k, 4, (246, 244, 232, 255), (232, 228, 210, 255), (90, 90, 90, 255))
                             for k in range(4)], 300)

# ---- Trees: light grey crowns and trunks, tinted by the map's colour keys -------------------------


SIZES = {"apple": (130, 145), "willow": (150, 140), "pine": (96, 155)}  # width, half height


def grey(v, a=255):
    return (v, v, v, a)


def crown(kind, growth, seed):
    """The crown at a growth of 0 (bare twigs) to 1 (full); the foot of the tree is the picture's
    centre, so the crown fills the upper half."""
    w, hh = SIZES[kind]
    rng = random.Random(seed)

    def paint(d, s):
        cx, base = w / 2, hh
        if kind == "apple":
            blobs = [(rng.uniform(-44, 44), rng.uniform(-112, -56), rng.uniform(13, 21)) for _ in range(34)]
            for i, (x, y, r) in enumerate(blobs):
                if i / len(blobs) > 0.15 + 0.85 * growth:
                    continue
                r *= 0.6 + 0.4 * growth
                # Lit from the upper left: darker low and right, a soft highlight on every clump.
                shade = 200 + int(40 * (1 - (y + 112) / 56)) - (18 if x > 12 else 0)
                ellipse(d, s, cx + x, base + y, r, r, grey(min(245, shade)), outline=grey(120), width=0.8)
                ellipse(d, s, cx + x - r * 0.3, base + y - r * 0.3, r * 0.45, r * 0.4, grey(min(255, shade + 22)),
                        outline=None)
            # Twigs showing through the thin crown.
            if growth < 0.7:
                for a in (-0.9, -0.4, 0.3, 0.8):
                    d.line(s(cx, base - 56, cx + math.sin(a) * 40, base - 56 - math.cos(a) * 48), fill=grey(130),
                           width=2 * SS)
        elif kind == "willow":
            # A dome of leaves from whose rim long strands hang almost to the ground.
            dome_y, rx, ry = base - 96, 34 + 18 * growth, 18 + 10 * growth
            ellipse(d, s, cx, dome_y, rx, ry, grey(222), outline=grey(130), width=0.8)
            ellipse(d, s, cx - rx * 0.3, dome_y - ry * 0.35, rx * 0.5, ry * 0.45, grey(240), outline=None)
            strands = 24
            for i in range(strands):
                u = -1 + 2 * i / (strands - 1)
                x0 = cx + u * rx * 0.95
                y0 = dome_y + ry * 0.4 * math.sqrt(max(0.0, 1 - u * u)) - 2
                length = (20 + 62 * growth) * (1 - 0.35 * abs(u)) * (0.85 + 0.15 * rng.random())
                sway = u * 6
                d.line(s(x0, y0, x0 + sway * 0.6, y0 + length * 0.5, x0 + sway, y0 + length),
                       fill=grey(205 + (i % 3) * 14), width=int(2.6 * SS), joint="curve")
        else:  # pine
            layers = 5
            for i in range(layers):
                if i / layers > 0.2 + 0.8 * growth:
                    continue
                yb = base - 30 - i * 19
                half = (40 - i * 6.5) * (0.55 + 0.45 * growth)
                d.polygon(s(cx - half, yb, cx + half, yb, cx, yb - 34), fill=grey(190 + i * 11), outline=grey(110))
    return frame(w, hh * 2, paint)


def trunk(kind, growth):
    w, hh = SIZES[kind]

    def paint(d, s):
        cx, base = w / 2, hh
        ellipse(d, s, cx, base, 30, 6, (0, 0, 0, 55), outline=None)
        if kind == "pine":
            d.polygon(s(cx - 5, base, cx + 5, base, cx + 2, base - 60, cx - 2, base - 60), fill=grey(215), outline=INK)
            return
        top = base - (62 if kind == "apple" else 78)
        d.polygon(s(cx - 9, base, cx + 9, base, cx + 5, top, cx - 5, top), fill=grey(215), outline=INK)
        d.line(s(cx - 2, base - 8, cx - 3, top + 10), fill=grey(175), width=SS)
        # Branches spread as the tree grows.
        spread = 0.5 + 0.5 * growth
        for a, ln in ((-0.8, 34), (0.7, 30), (-0.2, 22)):
            x1, y1 = cx + math.sin(a) * ln * spread, top - math.cos(a) * ln * spread * 0.8
            d.line(s(cx, top + 6, x1, y1), fill=grey(200), width=int(3.5 * SS))
    return frame(w, hh * 2, paint)


for kind, seed in (("apple", 511), ("willow", 512), ("pine", 513)):
    save(f"tree_{kind}_crown", [crown(kind, g / 5, seed) for g in range(6)], 2400, loop=False, stick=True)
    save(f"tree_{kind}_trunk", [trunk(kind, g / 2) for g in range(3)], 2400, loop=False, stick=True)

# ---- A willow mirrored in a pond ----------------------------------------------------------------------


def reflection(k, frames):
    w, h = 150, 120

    def paint(d, s):
        # The willow upside down: the trunk from the top edge, strands hanging upwards... downwards.
        cx = w / 2
        d.polygon(s(cx - 8, 0, cx + 8, 0, cx + 4, 46, cx - 4, 46), fill=(92, 84, 72, 255))
        for i in range(22):
            x = -56 + 112 * i / 21
            top = 110 - abs(x) * 0.35
            length = 48 * (1 - abs(x) / 120)
            d.line(s(cx + x * 0.4, 44, cx + x, top - 8, cx + x + x * 0.1, top - 8 - length),
                   fill=(70 + (i % 3) * 10, 118 + (i % 3) * 8, 80, 255), width=3 * SS, joint="curve")
        ellipse(d, s, cx, 102, 44, 18, (84, 130, 86, 255), outline=None)
    img = frame(w, h, paint)
    # Ripples: every row is shifted sideways by a wave that travels down the water, then the whole
    # picture is softened and laid on a bluish tint.
    phase = k / frames * 2 * math.pi
    out = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    for y in range(h):
        shift = int(round(math.sin(y * 0.35 + phase) * (1 + y / h * 2)))
        out.paste(img.crop((0, y, w, y + 1)), (shift, y))
    out = out.filter(ImageFilter.GaussianBlur(0.6))
    tint = Image.new("RGBA", (w, h), (120, 170, 220, 0))
    r, g, b, a = out.split()
    tinted = Image.merge("RGBA", (r, g, b, a.point(lambda v: int(v * 0.9))))
    return Image.blend(tinted, Image.merge("RGBA", (*tint.split()[:3], tinted.split()[3])), 0.3)


save("reflection_willow", [reflection(k, 6) for k in range(6)], 1500)

write_block(data, "scenery", lines)

# ---- The frog's call ------------------------------------------------------------------------------------

RATE = 22050
rng = random.Random(5151)


def ribbit(duration, pitch):
    """A croak: a buzzing pulse train under a falling, nasal formant."""
    n = int(duration * RATE)
    out, phase = [], 0.0
    for i in range(n):
        t = i / n
        f = pitch * (1.1 - 0.25 * t)
        phase += 2 * math.pi * f / RATE
        pulse = 1.0 if (phase % (2 * math.pi)) < 0.9 else -0.25
        formant = math.sin(phase * 7.0) * 0.35
        env = min(1.0, t / 0.06) * min(1.0, (1 - t) / 0.3) * (0.75 + 0.25 * math.sin(t * 40))
        out.append(0.55 * env * (pulse * 0.6 + formant + rng.uniform(-0.08, 0.08)))
    return out


gap = [0.0] * int(0.09 * RATE)
samples = ribbit(0.16, 120) + gap + ribbit(0.22, 105) + [0.0] * int(0.05 * RATE)


def chirp(duration, f0, f1, amp):
    """A bird's note: a sine gliding from f0 to f1 with a little trill."""
    n = int(duration * RATE)
    out, phase = [], 0.0
    for i in range(n):
        t = i / n
        f = f0 + (f1 - f0) * t + 180 * math.sin(t * 2 * math.pi * 6)
        phase += 2 * math.pi * f / RATE
        env = math.sin(math.pi * t) ** 1.5
        out.append(amp * env * math.sin(phase))
    return out


def write_wav(rel, samples):
    synth.write_wav(os.path.join(data, rel), samples, RATE, quantise=int)


write_wav("snd/frog_croak.wav", samples)
# The robin of the first levels names a song of its own.
pause = [0.0] * int(0.05 * RATE)
write_wav("snd/robin.wav", chirp(0.09, 3200, 4200, 0.35) + pause + chirp(0.09, 3400, 4400, 0.35) + pause +
          chirp(0.22, 4300, 2900, 0.4) + pause)


def fire_noise(duration, rise, fall, crackles, seed):
    """Burning: low-passed noise swelling over `rise` and dying over `fall` seconds, with short
    clicks of crackling wood; from its own seed."""
    r = random.Random(seed)
    n = int(duration * RATE)
    out, low = [], 0.0
    pops = sorted(r.randrange(n) for _ in range(crackles))
    for i in range(n):
        t = i / RATE
        low += 0.08 * (r.uniform(-1, 1) - low)
        env = min(1.0, t / rise) * min(1.0, max(0.0, duration - t) / fall)
        v = low * 2.2 * env
        while pops and i >= pops[0] + 60:
            pops.pop(0)
        if pops and i >= pops[0]:
            v += 0.5 * env * r.uniform(-1, 1) * (1 - (i - pops[0]) / 60)
        out.append(max(-1.0, min(1.0, v)))
    return out


# A fire that catches: a swelling whoosh with crackles; one that dies: a hiss that fades.
write_wav("snd/fire_start.wav", fire_noise(0.9, 0.35, 0.3, 14, 5152))
write_wav("snd/fire_dying.wav", [v * 0.8 for v in fire_noise(1.1, 0.02, 0.9, 4, 5153)])
merge_sections(os.path.join(data, "snd", "sounds.ini"), {
    "frog_croak": ["name=data/snd/frog_croak.wav", "maxvolume=0.7"],
    "robin": ["name=data/snd/robin.wav", "maxvolume=0.5"],
    "FireStart": ["name=data/snd/fire_start.wav", "maxvolume=0.6"],
    "FireDying": ["name=data/snd/fire_dying.wav", "maxvolume=0.5"]})

print(f"scenery: {len(lines)} animations in {rel_dir}; sounds frog_croak, robin, FireStart and FireDying in data/snd")
