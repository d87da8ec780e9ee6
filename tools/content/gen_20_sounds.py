#!/usr/bin/env python3
"""Writes the demo's sounds and sound scripts into <target>/data/snd/.

Effects are synthesised here (WAV, several formats on purpose: 8- and 16-bit, mono and stereo,
22050 and 44100 Hz), one voice line comes from espeak-ng, and the two music loops are rendered
here and encoded with oggenc at low quality with a fixed serial number, so runs give the same
bytes. Everything is small: the whole folder stays a few hundred kilobytes.
"""
import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import wave

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "demo")
out_dir = os.path.join(target, "data", "snd")
os.makedirs(out_dir, exist_ok=True)
rng = random.Random(20)


def write_wav(name, samples, rate=22050, channels=1, bits=16):
    """samples: floats -1..1, interleaved when stereo."""
    path = os.path.join(out_dir, name)
    with wave.open(path, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(bits // 8)
        w.setframerate(rate)
        if bits == 16:
            data = b"".join(struct.pack("<h", max(-32767, min(32767, int(round(s * 32767))))) for s in samples)
        else:
            data = bytes(max(0, min(255, int(round(128 + s * 127)))) for s in samples)
        w.writeframes(data)
    return path


def envelope(i, n, attack, release):
    a = min(1.0, i / attack) if attack else 1.0
    r = min(1.0, (n - i) / release) if release else 1.0
    return a * r


def tone(freq, dur, rate, amp=0.5, attack=0.002, decay=None, harmonics=(1.0,)):
    n = int(dur * rate)
    out = []
    for i in range(n):
        t = i / rate
        v = sum(h * math.sin(2 * math.pi * freq * (k + 1) * t) for k, h in enumerate(harmonics))
        e = envelope(i, n, int(attack * rate), int(0.005 * rate))
        if decay:
            e *= math.exp(-t / decay)
        out.append(amp * e * v)
    return out


def noise_burst(dur, rate, amp, decay, lowpass=0.2):
    n = int(dur * rate)
    out, y = [], 0.0
    for i in range(n):
        y += lowpass * (rng.uniform(-1, 1) - y)
        out.append(amp * y * math.exp(-i / rate / decay) * 4)
    return out


def mix(*parts):
    n = max(len(p) for p in parts)
    return [sum(p[i] for p in parts if i < len(p)) for i in range(n)]


def silence(dur, rate):
    return [0.0] * int(dur * rate)


# ---- Effects -------------------------------------------------------------------------------------
R = 22050
write_wav("click.wav", tone(1800, 0.035, R, 0.6, decay=0.008, harmonics=(1.0, 0.3)), R)
write_wav("confirm.wav", tone(660, 0.09, R, 0.4, decay=0.08) + tone(990, 0.16, R, 0.4, decay=0.1), R)
write_wav("error.wav", tone(180, 0.25, R, 0.35, decay=0.2, harmonics=(1.0, 0.5, 0.3)), R)
write_wav("hammer1.wav", mix(noise_burst(0.12, R, 0.35, 0.02), tone(320, 0.12, R, 0.3, decay=0.03)), R)
write_wav("hammer2.wav", mix(noise_burst(0.14, R, 0.35, 0.025), tone(260, 0.14, R, 0.3, decay=0.035)), R)
# The coin is 8-bit on purpose, and the harvest stereo at 44.1 kHz: the mixer must take both.
write_wav("coin.wav", tone(1320, 0.08, R, 0.45, decay=0.05) + tone(1760, 0.22, R, 0.45, decay=0.09), R, bits=8)
harvest = []
for i, s in enumerate(noise_burst(0.35, 44100, 0.18, 0.12, lowpass=0.5)):
    pan = i / (0.35 * 44100)
    harvest += [s * (1 - pan), s * pan]
write_wav("harvest.wav", harvest, 44100, channels=2)

# A voice line: a worker's answer.
espeak = shutil.which("espeak-ng")
if espeak:
    with tempfile.TemporaryDirectory() as tmp:
        raw = os.path.join(tmp, "yes.wav")
        subprocess.run([espeak, "-v", "en", "-s", "160", "-p", "60", "-w", raw, "Right away!"], check=True)
        # Resampled to 11025 Hz mono 8-bit to stay tiny.
        subprocess.run(["sox", "-D", raw, "-r", "11025", "-b", "8", "-c", "1", os.path.join(out_dir, "yes.wav")],
                       check=True)
else:
    write_wav("yes.wav", tone(440, 0.2, 11025, 0.4, decay=0.1), 11025, bits=8)


# ---- Music -----------------------------------------------------------------------------------------
def render_music(name, bpm, chords, melody, seconds_per_bar):
    rate = 22050
    bar = int(seconds_per_bar * rate)
    total = bar * len(chords)
    buf = [0.0] * total
    for b, chord in enumerate(chords):
        for f in chord:  # soft pad
            for i in range(bar):
                t = i / rate
                e = envelope(i, bar, int(0.05 * rate), int(0.08 * rate))
                buf[b * bar + i] += 0.09 * e * math.sin(2 * math.pi * f * t) * (1 + 0.2 * math.sin(2 * math.pi * 0.5 * t))
    beat = int(60.0 / bpm * rate)
    for k, f in enumerate(melody):  # plucked melody, one note a beat
        if f <= 0:
            continue
        start = k * beat
        for i in range(min(beat, total - start)):
            t = i / rate
            buf[start + i] += 0.25 * math.exp(-t / 0.18) * (math.sin(2 * math.pi * f * t) + 0.3 * math.sin(4 * math.pi * f * t))
    peak = max(abs(s) for s in buf) or 1.0
    buf = [s / peak * 0.8 for s in buf]
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, name + ".wav")
        with wave.open(wav, "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(2)
            w.setframerate(rate)
            w.writeframes(b"".join(struct.pack("<h", int(s * 32767)) for s in buf))
        subprocess.run(["oggenc", "-Q", "-q", "-1", "-s", "4242", "-o", os.path.join(out_dir, name + ".ogg"), wav],
                       check=True)


def hz(note):
    return 440.0 * 2 ** ((note - 69) / 12.0) if note else 0


C, F, G, A = [60, 64, 67], [53, 57, 60], [55, 59, 62], [57, 60, 64]
menu_melody = [72, 0, 76, 79, 77, 0, 74, 72, 71, 0, 74, 77, 76, 74, 72, 0]
render_music("menu", 96, [[hz(n) for n in c] for c in (C, A, F, G)], [hz(n) for n in menu_melody], 2.5)
level_melody = [67, 69, 72, 69, 67, 64, 62, 64, 65, 67, 69, 67, 65, 64, 62, 60, 62, 64, 67, 64]
render_music("level", 120, [[hz(n) for n in c] for c in (C, F, G, C, A)], [hz(n) for n in level_melody], 2.0)

# ---- Scripts -----------------------------------------------------------------------------------------
sounds_ini = """; Effects of the demo. Every key of a section falls back to [main].
[main]
defaultSoundVolume=1.0
defaultMusicVolume=0.7
pan_factor=0.6
minvolume=0
maxvolume=1

[click]
name=data/snd/click.wav
maxvolume=0.8

[menu_click]
name=data/snd/click.wav
maxvolume=0.8

[confirm]
sound=data/snd/confirm.wav

[error]
sound=data/snd/error.wav
maxvolume=0.9

[coin]
name=data/snd/coin.wav

[harvest]
name=data/snd/harvest.wav
minfrq=0.9
maxfrq=1.1

; Builders hammer with one of two blows, picked at random each time.
[build]
event0=hammer_a
event1=hammer_b

[hammer_a]
name=data/snd/hammer1.wav
maxvolume=0.9
r=200

[hammer_b]
name=data/snd/hammer2.wav
maxvolume=0.9
r=200

; Never overlaps itself: asked for while it plays, it stays silent.
[worker_yes]
name=data/snd/yes.wav
once=1
"""
music_ini = """; Music of the demo: category 1 streams, loops.
[main]
mode=1
loop=1
minvolume=0
maxvolume=1

[menu]
music=data/snd/menu.ogg

[level]
music=data/snd/level.ogg
"""
for name, text in (("sounds.ini", sounds_ini), ("music.ini", music_ini)):
    with open(os.path.join(out_dir, name), "w", newline="\n") as f:
        f.write(text)
print("sounds:", ", ".join(sorted(os.listdir(out_dir))))
