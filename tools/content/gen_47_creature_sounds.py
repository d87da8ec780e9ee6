#!/usr/bin/env python3
"""Writes the calls of the demo's creatures: the bramble boar of level 3 grunts when a warrior is
sent against it and snorts twice when it comes out of the bushes. Its cues are the section named
after the creature ("Boar") in data/obstacles/sounds.ini: cue 0 the grunt, cues 1 and 2 the
snorts. The sounds are synthesised here from a fixed seed, so runs give the same bytes."""
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sound_synth as synth  # noqa: E402
from level_common import merge_sections, target_dir  # noqa: E402

RATE = 22050
target = target_dir(sys.argv)
data = os.path.join(target, "data")
os.makedirs(os.path.join(data, "obstacles"), exist_ok=True)
rng = random.Random(47)


def write_wav(rel, samples):
    synth.write_wav(os.path.join(data, rel), samples, RATE, quantise=int)


def grunt(duration, pitch, roughness, amp):
    """A throaty grunt: a low buzz whose pitch sags, shaken by filtered noise, with a soft start and
    a quick end."""
    n = int(duration * RATE)
    out, phase, noise = [], 0.0, 0.0
    for i in range(n):
        t = i / n
        f = pitch * (1.15 - 0.35 * t)
        phase += 2 * math.pi * f / RATE
        noise += 0.08 * (rng.uniform(-1, 1) - noise)
        buzz = math.sin(phase) + 0.5 * math.sin(2 * phase) + 0.3 * math.sin(3 * phase + 0.4)
        env = min(1.0, t / 0.08) * min(1.0, (1 - t) / 0.25)
        out.append(amp * env * (0.55 * buzz / 1.8 + roughness * noise * 6))
    return out


def snort(duration, amp):
    """A short breathy snort: noise through a falling low-pass."""
    n = int(duration * RATE)
    out, low = [], 0.0
    for i in range(n):
        t = i / n
        k = 0.35 - 0.3 * t
        low += k * (rng.uniform(-1, 1) - low)
        env = min(1.0, t / 0.05) * (1 - t) ** 1.5
        out.append(amp * env * low * 3)
    return out


silence = [0.0] * int(0.06 * RATE)
write_wav("obstacles/boar_grunt.wav", grunt(0.28, 95, 0.35, 0.8) + silence + grunt(0.22, 110, 0.4, 0.7))
write_wav("obstacles/boar_snort.wav", snort(0.25, 0.9))
write_wav("obstacles/boar_snort2.wav", silence * 3 + snort(0.32, 0.8))

merge_sections(os.path.join(data, "obstacles", "sounds.ini"), {
    "Boar": ["sound0=data/obstacles/boar_grunt.wav",
             "sound1=data/obstacles/boar_snort.wav",
             "sound2=data/obstacles/boar_snort2.wav"]})
print("creature sounds: data/obstacles/boar_*.wav, their cues in data/obstacles/sounds.ini")
