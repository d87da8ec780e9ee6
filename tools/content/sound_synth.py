"""Small sound synthesis for the demo's generators: tones from wave tables, plucked and blown notes,
filtered noise, envelopes, a light room reverb, and writing WAV and Ogg Vorbis files. Everything is
plain Python and draws its noise from the random generator it is given, so the same seed gives the
same bytes."""
import math
import operator
import os
import struct
import subprocess
import tempfile
import wave

RATE = 22050
TABLE = 2048


def _table(harmonics):
    t = [0.0] * TABLE
    for k, amp in enumerate(harmonics, 1):
        if amp:
            for i in range(TABLE):
                t[i] += amp * math.sin(2 * math.pi * k * i / TABLE)
    peak = max(abs(v) for v in t) or 1.0
    return [v / peak for v in t]


# Timbres: the fundamental alone, a mellow string, a bright string, a reed (odd harmonics) and a
# soft brass.
SINE = _table([1.0])
MELLOW = _table([1.0, 0.35, 0.12, 0.05])
BRIGHT = _table([1.0, 0.6, 0.45, 0.3, 0.22, 0.15, 0.1, 0.07])
REED = _table([1.0, 0, 0.45, 0, 0.25, 0, 0.12, 0, 0.06])
BRASS = _table([1.0, 0.7, 0.55, 0.4, 0.3, 0.2, 0.12, 0.08])


def hz(midi):
    return 440.0 * 2 ** ((midi - 69) / 12.0)


def silence(seconds):
    return [0.0] * int(seconds * RATE)


def osc(table, freq, n, vibrato=0.0, vib_rate=5.0, glide_to=None, phase=0.0):
    """n samples of a wave table at freq Hz (gliding linearly to glide_to), with a vibrato depth in
    semitones."""
    out = [0.0] * n
    step_scale = TABLE / RATE
    p = phase * TABLE
    for i in range(n):
        f = freq if glide_to is None else freq + (glide_to - freq) * i / n
        if vibrato:
            f *= 2 ** (vibrato * math.sin(2 * math.pi * vib_rate * i / RATE) / 12.0)
        p += f * step_scale
        out[i] = table[int(p) % TABLE]
    return out


def adsr(n, attack, decay, sustain, release):
    """An envelope of n samples; times in seconds, sustain a level 0..1."""
    a, d, r = int(attack * RATE), int(decay * RATE), int(release * RATE)
    out = [0.0] * n
    for i in range(n):
        if i < a:
            v = i / a
        elif i < a + d:
            v = 1.0 - (1.0 - sustain) * (i - a) / d
        else:
            v = sustain
        if i > n - r:
            v *= max(0.0, (n - i) / r)
        out[i] = v
    return out


def pluck(freq, seconds, decay=0.6, brightness=0.12):
    """A harp or guitar string: a bright attack that mellows, dying away exponentially."""
    n = int(seconds * RATE)
    step = freq * TABLE / RATE
    out = [0.0] * n
    att = int(0.004 * RATE)
    rel = int(0.02 * RATE)
    kd = math.exp(-1.0 / (decay * RATE))
    kb = math.exp(-1.0 / (brightness * RATE))
    e, b, p = 1.0, 1.0, 0.0
    for i in range(n):
        j = int(p) % TABLE
        v = e * (MELLOW[j] * (1 - 0.6 * b) + BRIGHT[j] * 0.6 * b)
        if i < att:
            v *= i / att
        elif i > n - rel:
            v *= (n - i) / rel
        out[i] = v
        e *= kd
        b *= kb
        p += step
    return out


def blown(freq, seconds, table=MELLOW, attack=0.06, release=0.12, vibrato=0.12, breath=0.0, rng=None):
    """A flute, reed or horn note: a soft attack, a vibrato that grows in, a little breath noise."""
    n = int(seconds * RATE)
    env = adsr(n, attack, 0.08, 0.85, release)
    out = [0.0] * n
    p = 0.0
    air = 0.0
    base = freq * TABLE / RATE
    grow = 0.35 * RATE
    w = 2 * math.pi * 5.2 / RATE
    for i in range(n):
        depth = vibrato * (i / grow if i < grow else 1.0)
        p += base * (1.0 + 0.0578 * depth * math.sin(w * i))
        v = table[int(p) % TABLE]
        if breath and rng:
            air += 0.3 * (rng.uniform(-1, 1) - air)
            v += breath * air
        out[i] = env[i] * v
    return out


def bell(freq, seconds, decay=0.8, partials=((1.0, 1.0), (2.76, 0.45), (5.4, 0.25), (8.93, 0.12))):
    """A bell or glockenspiel: inharmonic partials, the high ones fading first."""
    n = int(seconds * RATE)
    out = [0.0] * n
    for ratio, amp in partials:
        f = freq * ratio
        if f >= RATE / 2:
            continue
        w = 2 * math.pi * f / RATE
        d = decay / (1 + ratio * 0.6)
        for i in range(n):
            out[i] += amp * math.exp(-i / RATE / d) * math.sin(w * i)
    att = int(0.002 * RATE)
    for i in range(min(att, n)):
        out[i] *= i / att
    return scale(out, 1.0 / sum(a for _, a in partials))


def noise(seconds, rng, smooth=0.3):
    """Noise through a one-pole low pass (smooth 1 = white)."""
    n = int(seconds * RATE)
    out, y = [0.0] * n, 0.0
    for i in range(n):
        y += smooth * (rng.uniform(-1, 1) - y)
        out[i] = y
    return out


def highpass(samples, amount=0.9):
    out, prev_in, prev_out = [0.0] * len(samples), 0.0, 0.0
    for i, x in enumerate(samples):
        prev_out = amount * (prev_out + x - prev_in)
        prev_in = x
        out[i] = prev_out
    return out


def lowpass(samples, amount):
    out, y = [0.0] * len(samples), 0.0
    for i, x in enumerate(samples):
        y += amount * (x - y)
        out[i] = y
    return out


def resonant(samples, freq_of_i, q=4.0):
    """A state-variable band pass whose centre follows freq_of_i(i)."""
    out = [0.0] * len(samples)
    low = band = 0.0
    damp = 1.0 / q
    for i, x in enumerate(samples):
        f = 2 * math.sin(math.pi * min(max(freq_of_i(i), 20.0), RATE / 6) / RATE)
        high = x - low - damp * band
        band += f * high
        low += f * band
        out[i] = band
    return out


def envelope_exp(samples, decay, attack=0.002):
    att = max(1, int(attack * RATE))
    return [s * math.exp(-i / RATE / decay) * min(1.0, i / att) for i, s in enumerate(samples)]


def fade(samples, fade_in=0.01, fade_out=0.05):
    n = len(samples)
    a, r = max(1, int(fade_in * RATE)), max(1, int(fade_out * RATE))
    return [s * min(1.0, i / a) * min(1.0, (n - i) / r) for i, s in enumerate(samples)]


def scale(samples, k):
    return [s * k for s in samples]


def mix_into(buf, part, at, gain=1.0, wrap=False):
    """Adds part to buf from sample `at`; with wrap what passes the end comes in at the start."""
    n = len(buf)
    if gain != 1.0:
        part = [gain * s for s in part]
    while part and at < n:
        room = min(len(part), n - at)
        buf[at:at + room] = map(operator.add, buf[at:at + room], part[:room])
        part = part[room:]
        if not wrap:
            break
        at = 0


def mix_list(*parts):
    """Parts added sample by sample, as long as the longest."""
    n = max(len(p) for p in parts)
    out = [0.0] * n
    for p in parts:
        out[:len(p)] = map(operator.add, out[:len(p)], p)
    return out


def join(*parts):
    out = []
    for p in parts:
        out.extend(p)
    return out


def overlay(*parts_at):
    """Parts placed at times (seconds): overlay((samples, 0.0), (samples2, 0.3), ...)."""
    n = max(int(t * RATE) + len(p) for p, t in parts_at)
    buf = [0.0] * n
    for p, t in parts_at:
        mix_into(buf, p, int(t * RATE))
    return buf


def reverb(samples, wet=0.25, room=0.78, damp=0.35, loop=False):
    """A small Schroeder room: four damped combs into two all-passes. With loop the room is first
    filled from the end of the piece, so a looping piece carries its echo across the seam."""
    combs = [557, 593, 641, 683]
    alls = [225, 341]
    cbuf = [[0.0] * d for d in combs]
    cpos = [0] * 4
    cfilt = [0.0] * 4
    abuf = [[0.0] * d for d in alls]
    apos = [0] * 2

    def run(x):
        acc = 0.0
        for k in range(4):
            b = cbuf[k]
            p = cpos[k]
            y = b[p]
            cfilt[k] = y * (1 - damp) + cfilt[k] * damp
            b[p] = x + cfilt[k] * room
            cpos[k] = (p + 1) % len(b)
            acc += y
        acc *= 0.25
        for k in range(2):
            b = abuf[k]
            p = apos[k]
            y = b[p]
            b[p] = acc + y * 0.5
            acc = y - acc * 0.5
            apos[k] = (p + 1) % len(b)
        return acc

    if loop:
        for x in samples[-int(1.5 * RATE):]:
            run(x)
    return [x * (1 - wet * 0.5) + wet * run(x) for x in samples]


def normalise(samples, peak=0.85, soft=True):
    top = max(abs(s) for s in samples) or 1.0
    k = peak / top
    if not soft:
        return [s * k for s in samples]
    # A gentle knee keeps the loud moments round instead of clipping them.
    return [math.tanh(1.2 * s * k) / math.tanh(1.2) for s in samples]


def write_wav(path, samples, rate=RATE, quantise=round):
    """16-bit mono, clipped to full scale. `quantise` turns a scaled sample into a whole number: the
    nearest by default; `int` cuts towards zero, as the creature and quest sounds were made."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", max(-32767, min(32767, int(quantise(s * 32767))))) for s in samples))
    return path


def write_ogg(path, samples, quality=1, serial=2121):
    """Ogg Vorbis through oggenc with a fixed serial number, so the same samples give the same file."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        wav = write_wav(os.path.join(tmp, "tune.wav"), samples)
        subprocess.run(["oggenc", "-Q", "-q", str(quality), "-s", str(serial), "-o", path, wav], check=True)
    return path
