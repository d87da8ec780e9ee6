#!/usr/bin/env python3
"""Pictures, effects and the sound of the weather and the small life over the map:

- the showers: effect files data/fx/weather_rain.pfx and data/fx/weather_snow.pfx with their
  pictures, named "Rain" and "SnowOnMap" in the effects catalogue data/fx/pyroeffects.ini (the rain
  and snow of a level ask for these names), so this runs after gen_80_fx.py, which writes the
  catalogue;
- the looping sound "Rain" of data/snd/sounds.ini, data/snd/weather_rain.wav (its two ends meet
  without a click);
- the caustic pattern "caustic_water", a 256 x 256 picture whose edges meet, so it tiles the
  screen without seams (an additive light: it brightens what lies below);
- "Fly", the small picture a swarm of flies draws for each fly, white so the swarm's colour tints
  it, two frames of beating wings.

Everything comes from formulas and fixed seeds: every run gives the same bytes.
"""
import math
import os
import random
import struct
import sys
import wave

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from catalogue_block import animation_line, write_block  # noqa: E402
from fx_catalogue import add_effects  # noqa: E402
from level_common import merge_sections, target_dir  # noqa: E402

target = target_dir(sys.argv)
data = os.path.join(target, "data")
fx = os.path.join(data, "fx")
anims_rel = "data/anims/weather"
anims = os.path.join(target, anims_rel)
for folder in (os.path.join(fx, "pics"), anims, os.path.join(data, "snd")):
    os.makedirs(folder, exist_ok=True)


def save_rgba(path, rgb, alpha):
    """rgb: (h, w, 3) floats 0..1 or a colour triple; alpha: (h, w) floats 0..1."""
    a = np.clip(alpha, 0.0, 1.0)
    if not isinstance(rgb, np.ndarray):
        rgb = np.ones(a.shape + (3,)) * np.array(rgb, dtype=float)
    px = np.dstack([np.clip(rgb, 0.0, 1.0), a])
    Image.fromarray((px * 255.0 + 0.5).astype(np.uint8), "RGBA").save(path, optimize=True)


# ---- The showers' pictures ---------------------------------------------------------------------
# A raindrop's streak: 4 x 24, brightest near its lower end, soft at the sides.
h, w = 24, 4
y, x = np.mgrid[0:h, 0:w].astype(float)
along = np.clip((y + 0.5) / h, 0.0, 1.0) ** 1.5
across = np.exp(-(((x + 0.5) - w / 2) / 1.1) ** 2)
save_rgba(os.path.join(fx, "pics", "raindrop.png"), (1.0, 1.0, 1.0), along * across)

# A snowflake: a soft round dot, 12 x 12.
n = 12
y, x = np.mgrid[0:n, 0:n].astype(float)
r = np.hypot(x + 0.5 - n / 2, y + 0.5 - n / 2) / (n / 2)
save_rgba(os.path.join(fx, "pics", "snowflake.png"), (1.0, 1.0, 1.0), np.clip(1.0 - r, 0.0, 1.0) ** 0.8)

# The effects stand at (700, 10), where the game puts them: their areas reach past both edges of
# the 1024-wide map so the slanting rain and the drifting snow leave no bare strip.
RAIN = """; Rain over the whole map: thin streaks falling fast and a little to the left. Runs until the
; shower ends; the game places it at (700, 10). Format: docs/particles.md.
[effect]
version = 1
title = Rain over the map

[emitter drops]
sprite = pics/raindrop.png
blend = alpha
rate = 420
maxParticles = 800
life = 0.85 1.1
speed = 820 960
direction = 100
spread = 3
area = 1500 20
angle = 10 10
size = 3
sizeVariation = 0.25
color = #C6D2E2
alpha = 0 0, 0.08 0.55, 0.85 0.5, 1 0
"""

SNOW = """; Snow over the whole map: soft flakes drifting down and a little to the left for the twelve
; seconds they take to cross it. Runs until the shower ends; the game places it at (700, 10).
; Format: docs/particles.md.
[effect]
version = 1
title = Snow over the map

[emitter flakes]
sprite = pics/snowflake.png
blend = alpha
rate = 48
maxParticles = 900
life = 12 15
speed = 45 70
direction = 95
spread = 24
gravity = -4 2
area = 1600 20
spin = -30 30
size = 0 4, 0.5 6, 1 5
sizeVariation = 0.4
color = #FFFFFF
alpha = 0 0, 0.05 0.9, 0.9 0.8, 1 0
"""
add_effects(data, {"weather_rain.pfx": RAIN, "weather_snow.pfx": SNOW},
            {"Rain": ("weather_rain.pfx",), "SnowOnMap": ("weather_snow.pfx",)})

# ---- The rain's sound --------------------------------------------------------------------------
RATE = 22050
rng = random.Random(86)


def rain_loop(seconds, overlap):
    """Steady rain: filtered noise with a slow swell and scattered drops. The first `overlap`
    seconds are blended with the sound that follows the end, so the loop has no seam."""
    n, f = int(seconds * RATE), int(overlap * RATE)
    total = n + f
    out, low, high, drop, drop_env = [], 0.0, 0.0, 0.0, 0.0
    for i in range(total):
        noise = rng.uniform(-1.0, 1.0)
        low += 0.18 * (noise - low)        # a soft hiss
        high = 0.6 * high + 0.4 * noise    # and its brighter edge
        if rng.random() < 0.0009:          # a heavier drop now and then
            drop_env = rng.uniform(0.3, 0.7)
        drop_env *= 0.996
        drop += 0.5 * (rng.uniform(-1.0, 1.0) - drop)
        swell = 0.85 + 0.15 * math.sin(2 * math.pi * i / total)
        out.append(swell * (0.55 * low + 0.18 * high) + drop_env * drop * 0.5)
    blended = out[:n]
    for i in range(f):
        t = i / f
        blended[i] = out[i] * t + out[n + i] * (1.0 - t)
    peak = max(abs(s) for s in blended) or 1.0
    return [0.6 * s / peak for s in blended]


with wave.open(os.path.join(data, "snd", "weather_rain.wav"), "wb") as out:
    out.setnchannels(1)
    out.setsampwidth(2)
    out.setframerate(RATE)
    out.writeframes(b"".join(struct.pack("<h", int(s * 32767)) for s in rain_loop(2.0, 0.4)))
merge_sections(os.path.join(data, "snd", "sounds.ini"), {
    # Looped while a shower lasts; the game sets its volume with the darkness of the sky.
    "Rain": ["name=data/snd/weather_rain.wav", "maxvolume=0.7"],
})

# ---- The caustic pattern -----------------------------------------------------------------------
# Light through rippling water: bright threads where several waves meet. Every wave and the
# warping run a whole number of times across the picture, so its edges meet.
S = 256
y, x = np.mgrid[0:S, 0:S].astype(float) * (2 * math.pi / S)
wx = x + 0.35 * np.sin(2 * y + 0.7) + 0.2 * np.sin(3 * x + y + 1.9)
wy = y + 0.35 * np.sin(2 * x + 2.3) + 0.2 * np.sin(x - 3 * y + 0.4)
light = np.zeros((S, S))
for kx, ky, phase in ((3, 1, 0.0), (-1, 3, 1.3), (2, -3, 2.1), (4, 2, 4.0)):
    light += (1.0 - np.abs(np.sin(kx * wx + ky * wy + phase))) ** 8
light = np.clip(light / np.percentile(light, 99.5), 0.0, 1.0)
colour = np.dstack([0.78 + 0.22 * light, 0.92 + 0.08 * light, np.ones_like(light)])
save_rgba(os.path.join(anims, "caustic.png"), colour, light ** 1.2 * 0.9)

# ---- A fly ---------------------------------------------------------------------------------------
# 6 x 6 frames: a dark-able white body, wings up (frame 1) and down (frame 2), faint.
frames = []
for wings_up in (True, False):
    f = np.zeros((6, 6))
    f[2:4, 2:4] = 1.0
    for wx_, wy_ in ((1, 1), (4, 1)) if wings_up else ((1, 3), (4, 3)):
        f[wy_, wx_] = 0.45
    frames.append(f)
save_rgba(os.path.join(anims, "fly.png"), (1.0, 1.0, 1.0), np.vstack(frames))

write_block(data, "weather", [
    animation_line("caustic_water", f"{anims_rel}/caustic.png", 1000, 1, add=True),
    animation_line("Fly", f"{anims_rel}/fly.png", 120, 2),
])
print("weather: data/fx/weather_rain.pfx and weather_snow.pfx (\"Rain\", \"SnowOnMap\"), "
      "data/snd/weather_rain.wav (\"Rain\"), caustic_water and Fly in data/anims/weather/")
