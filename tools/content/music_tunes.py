"""The demo's music: a tiny sequencer (chords per bar, a written melody, arpeggios, bass, pads and
soft percussion) and the pieces themselves. Each piece renders to mono samples that loop without a
seam: the notes that ring past the end come in again at the start, and so does the room's echo.

Melodies are written as tokens "E5/1" (note and beats), "r/2" (a rest) and "@bell" (the instrument
from here on); a bar may hold two chords ("Am D"), each taking half of it."""
import random

import sound_synth as sy

PITCH = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
QUALITY = {"": [0, 4, 7], "m": [0, 3, 7], "7": [0, 4, 7, 10], "m7": [0, 3, 7, 10], "maj7": [0, 4, 7, 11],
           "sus4": [0, 5, 7], "sus2": [0, 2, 7], "dim": [0, 3, 6]}


def pitch_class(text):
    pc = PITCH[text[0]]
    for ch in text[1:]:
        pc += 1 if ch == "#" else -1 if ch == "b" else 0
    return pc % 12


def chord(name):
    """The pitch classes of a chord name, its root first: "D/F#" gives D major over F#."""
    bass = None
    if "/" in name:
        name, bass = name.split("/")
    n = 2 if len(name) > 1 and name[1] in "#b" else 1
    root = pitch_class(name[:n])
    tones = [(root + i) % 12 for i in QUALITY[name[n:]]]
    return tones, pitch_class(bass) if bass else root


def midi(note):
    """"F#5" -> 78."""
    n = 2 if len(note) > 2 and note[1] in "#b" else 1
    return 12 * (int(note[n:]) + 1) + pitch_class(note[:n])


def voiced(tones, low):
    """Chord tones stacked upwards from the first one at or above `low`."""
    out = []
    root = tones[0]
    base = low + (root - low) % 12
    for t in tones:
        m = base + (t - root) % 12
        out.append(m)
    return sorted(out)


class Piece:
    def __init__(self, bpm, beats, chords, melody, seed, arp=None, arp_low=55, arp_gain=0.16, bass=None,
                 bass_gain=0.34, pad=0.0, pad_low=53, perc=None, lead_gain=0.42, reverb=0.28, tremolo_pad=False,
                 counter=None):
        self.bpm, self.beats, self.chords, self.melody = bpm, beats, chords, melody
        self.rng = random.Random(seed)
        self.arp, self.arp_low, self.arp_gain = arp, arp_low, arp_gain
        self.bass, self.bass_gain = bass, bass_gain
        self.pad, self.pad_low, self.tremolo_pad = pad, pad_low, tremolo_pad
        self.perc = perc or []
        self.lead_gain = lead_gain
        self.reverb = reverb
        self.counter = counter
        self.cache = {}

    # ---- Instruments, each note made once ----
    def note(self, kind, m, beats):
        key = (kind, m, round(beats, 3))
        if key in self.cache:
            return self.cache[key]
        sec = beats * 60.0 / self.bpm
        f = sy.hz(m)
        if kind == "pluck":
            s = sy.pluck(f, sec + 0.6, decay=0.45, brightness=0.08)
        elif kind == "harp":
            s = sy.pluck(f, sec + 1.2, decay=0.9, brightness=0.15)
        elif kind == "bass":
            s = sy.pluck(f, sec + 0.1, decay=0.7, brightness=0.05)
        elif kind == "flute":
            s = sy.blown(f, sec, sy.MELLOW, attack=0.05, release=0.1, vibrato=0.15, breath=0.05, rng=self.rng)
        elif kind == "reed":
            s = sy.lowpass(sy.blown(f, sec, sy.REED, attack=0.04, release=0.08, vibrato=0.1), 0.5)
        elif kind == "horn":
            s = sy.lowpass(sy.blown(f, sec, sy.BRASS, attack=0.07, release=0.12, vibrato=0.08), 0.3)
        elif kind == "bell":
            s = sy.bell(f, sec + 1.0, decay=1.1)
        elif kind == "pad":
            s = sy.blown(f, sec, sy.MELLOW, attack=sec * 0.35, release=sec * 0.4, vibrato=0.04)
        else:
            raise ValueError(kind)
        self.cache[key] = s
        return s

    def drum(self, kind):
        key = ("drum", kind)
        if key in self.cache:
            return self.cache[key]
        rng = random.Random(kind)
        if kind == "shaker":
            s = sy.envelope_exp(sy.highpass(sy.noise(0.06, rng, 1.0), 0.7), 0.015)
        elif kind == "tick":
            s = sy.envelope_exp(sy.highpass(sy.noise(0.03, rng, 1.0), 0.5), 0.006)
        elif kind == "kick":
            s = sy.envelope_exp(sy.osc(sy.SINE, 110, int(0.25 * sy.RATE), glide_to=45), 0.09)
        elif kind == "snare":
            s = sy.envelope_exp(sy.mix_list(sy.highpass(sy.noise(0.16, rng, 0.8), 0.6),
                                            sy.scale(sy.osc(sy.SINE, 190, int(0.16 * sy.RATE)), 0.5)), 0.05)
        else:
            raise ValueError(kind)
        self.cache[key] = s
        return s

    # ---- The score ----
    def render(self):
        beat = 60.0 / self.bpm
        bars = len(self.chords)
        total = int(bars * self.beats * beat * sy.RATE)
        buf = [0.0] * total

        def at(b):
            return int(b * beat * sy.RATE)

        for bar, names in enumerate(self.chords):
            parts = names.split()
            span = self.beats / len(parts)
            for k, name in enumerate(parts):
                tones, bass_pc = chord(name)
                start = bar * self.beats + k * span
                if self.arp:
                    notes = voiced(tones, self.arp_low)
                    notes = notes + [n + 12 for n in notes]
                    for off, idx, dur in self.arp:
                        if off >= span:
                            continue
                        vel = self.arp_gain * (1.0 if off == 0 else 0.8)
                        sy.mix_into(buf, self.note("pluck", notes[idx % len(notes)], dur), at(start + off), vel,
                                    wrap=True)
                if self.bass:
                    root = 36 + (bass_pc - 36) % 12
                    fifth = 36 + (tones[0] + 7 - 36) % 12
                    for off, which, dur in self.bass:
                        if off >= span:
                            continue
                        m = {"root": root, "fifth": fifth, "oct": root + 12}[which]
                        sy.mix_into(buf, self.note("bass", m, dur), at(start + off), self.bass_gain, wrap=True)
                if self.pad:
                    for m in voiced(tones, self.pad_low):
                        s = self.note("pad", m, span)
                        if self.tremolo_pad:
                            s = [v * (0.75 + 0.25 * sy.SINE[int(i * 6.0 * sy.TABLE / sy.RATE) % sy.TABLE])
                                 for i, v in enumerate(s)]
                        sy.mix_into(buf, s, at(start), self.pad, wrap=True)
            for off, kind, gain in self.perc:
                sy.mix_into(buf, self.drum(kind), at(bar * self.beats + off), gain, wrap=True)

        for line, gain in ((self.melody, self.lead_gain), (self.counter, self.lead_gain * 0.55)):
            if not line:
                continue
            pos, inst = 0.0, "flute"
            for tok in line.split():
                if tok.startswith("@"):
                    inst = tok[1:]
                    continue
                name, beats = tok.split("/")
                beats = float(beats)
                if name != "r":
                    g = gain * (0.8 if inst in ("bell", "harp") else 1.0)
                    sy.mix_into(buf, self.note(inst, midi(name), beats), at(pos), g, wrap=True)
                pos += beats
            expected = bars * self.beats
            if abs(pos - expected) > 1e-6:
                raise ValueError(f"a melody of {pos} beats over {expected}")

        wet = sy.reverb(buf, wet=self.reverb, loop=True)
        # Room left above the music for the game's sounds, which play over it.
        return sy.normalise(wet, 0.6)


def _bars(text):
    return [b.strip() for b in text.split("|")]


# ---- The pieces ----------------------------------------------------------------------------------
EIGHTHS_44 = [(0, 0, 1), (0.5, 2, 0.5), (1, 1, 1), (1.5, 2, 0.5), (2, 3, 1), (2.5, 2, 0.5), (3, 1, 1), (3.5, 2, 0.5)]
EIGHTHS_34 = [(0, 0, 1), (0.5, 1, 0.5), (1, 2, 1), (1.5, 3, 0.5), (2, 2, 1), (2.5, 1, 0.5)]
SHAKE_44 = [(0.5, "shaker", 0.22), (1.5, "shaker", 0.22), (2.5, "shaker", 0.22), (3.5, "shaker", 0.22),
            (0, "kick", 0.35), (2, "kick", 0.3)]


def meadow_morning():
    """Level tune: G major, an easy walk through the grass."""
    chords = _bars("G | D | Em | C | G | C | Am D | G | Em | C | G | D | C | D | Em C | D")
    melody = ("D5/1 G5/1 B5/1.5 A5/0.5  F#5/1 A5/1 D5/2  E5/1 G5/1 B5/1 A5/0.5 G5/0.5  E5/1.5 D5/0.5 C5/1 E5/1 "
              "D5/1 G5/1 B5/1 D6/1  C6/1.5 B5/0.5 A5/1 G5/1  A5/1 C6/1 F#5/1 A5/1  G5/3 r/1 "
              "B5/1 G5/0.5 A5/0.5 B5/1 E6/1  E6/1 D6/0.5 C6/0.5 G5/2  B5/1 A5/0.5 G5/0.5 D5/1 G5/1 "
              "A5/1.5 F#5/0.5 D5/2  E5/1 G5/1 C6/1 B5/0.5 A5/0.5  A5/1 F#5/1 D5/1 E5/0.5 F#5/0.5 "
              "G5/1 B5/1 C6/1 E5/1  F#5/2 A5/1 D5/1")
    return Piece(100, 4, chords, melody, seed=1, arp=EIGHTHS_44, bass=[(0, "root", 1.5), (2, "fifth", 1), (3, "root", 1)],
                 perc=SHAKE_44, pad=0.05)


def riverside():
    """Level tune: D major waltz, the flute first, then the bells answer."""
    chords = _bars("D | A | Bm | G | D | G | A | A | Bm | G | D | A | G | A | D | D | "
                   "G | A | F#m | Bm | G | D | Em | A | D | A | Bm | G | Em | A | D | A")
    melody = ("@flute F#5/1 A5/1 D6/1  C#6/2 A5/1  B5/1 D6/1 F#6/1  E6/2 D6/1  F#5/1 A5/1 D6/1  B5/1.5 A5/0.5 G5/1 "
              "A5/1 C#6/1 E6/1  E6/2 r/1  D6/1 C#6/1 B5/1  B5/1 A5/1 G5/1  F#5/1 A5/1 D6/1  C#6/1 B5/1 A5/1 "
              "B5/1 D6/1 G6/1  F#6/1 E6/1 C#6/1  D6/3  r/3 "
              "@bell B5/1 G5/1 B5/1  C#6/1 A5/1 C#6/1  A5/1 C#6/1 F#6/1  F#6/1.5 E6/0.5 D6/1  D6/1 B5/1 G5/1 "
              "A5/1 F#5/1 D5/1  E5/1 G5/1 B5/1  A5/2 C#6/1  D6/1 A5/1 F#5/1  E5/1 A5/1 C#6/1  D6/1 B5/1 F#5/1 "
              "G5/1.5 A5/0.5 B5/1  G5/1 E5/1 G5/1  A5/1 B5/1 C#6/1  D6/2 A5/1  C#6/1 E6/1 E5/1")
    return Piece(132, 3, chords, melody, seed=2, arp=EIGHTHS_34, arp_gain=0.13, bass=[(0, "root", 2), (2, "fifth", 1)],
                 perc=[(1, "tick", 0.12), (2, "tick", 0.12)], pad=0.06, lead_gain=0.4)


def wolf_wood():
    """Level tune: A minor, a clarinet among the trees."""
    chords = _bars("Am | G | Am | Em | F | G | Am | E | Dm | Am | F | G | C | G | F Dm | E")
    melody = ("@reed A4/1 C5/1 E5/1.5 D5/0.5  D5/1 B4/1 G4/2  A4/1 C5/1 E5/1 A5/1  G5/1.5 E5/0.5 B4/2 "
              "C5/1 F5/1 A5/1.5 G5/0.5  F5/1 D5/1 B4/1 D5/1  E5/1 A5/1 C6/1 B5/0.5 A5/0.5  G#5/2 B5/1 E5/1 "
              "F5/1 A5/1 D6/1.5 C6/0.5  C6/1 A5/1 E5/2  A5/1 C6/1 F6/1 E6/0.5 D6/0.5  D6/1.5 B5/0.5 G5/2 "
              "E5/1 G5/1 C6/1 B5/0.5 C6/0.5  D6/1 B5/1 G5/1 A5/0.5 B5/0.5  C6/1 A5/1 F5/1 A5/1  G#5/1 B5/1 E5/1 G#4/1")
    arp = [(0, 0, 0.5), (0.5, 1, 0.5), (1, 2, 0.5), (1.5, 1, 0.5), (2, 3, 0.5), (2.5, 2, 0.5), (3, 1, 0.5), (3.5, 2, 0.5)]
    return Piece(92, 4, chords, melody, seed=3, arp=arp, arp_low=52, arp_gain=0.15,
                 bass=[(0, "root", 1), (1, "root", 0.5), (2, "fifth", 1), (3, "root", 0.5), (3.5, "oct", 0.5)],
                 perc=[(0, "kick", 0.3), (1, "tick", 0.12), (2, "kick", 0.25), (3, "tick", 0.12), (3.5, "tick", 0.08)],
                 pad=0.05, lead_gain=0.38)


def home_by_the_barn():
    """The menus: F major, a harp waltz with a flute in its second half."""
    chords = _bars("F | C | Dm | Bb | F | Gm | C | C7 | F | Am | Bb | F | Gm | C | F | C7 | "
                   "Dm | Bb | F | C | Bb | Gm | C | C7")
    melody = ("@harp C5/1 F5/1 A5/1  G5/2 E5/1  F5/1 A5/1 D6/1  C6/1.5 Bb5/0.5 F5/1  A5/2 C6/1  Bb5/1 G5/1 D5/1 "
              "E5/1 G5/1 C6/1  Bb5/2 G5/1  A5/1 C6/1 F6/1  E6/2 C6/1  D6/1 Bb5/1 F5/1  A5/3 "
              "@flute G5/1 Bb5/1 D6/1  C6/1.5 Bb5/0.5 G5/1  A5/1 F5/1 C5/1  E5/1 G5/1 Bb5/1  A5/1 F5/1 D5/1 "
              "D5/1 F5/1 Bb5/1  A5/1.5 G5/0.5 F5/1  E5/1 G5/1 C6/1  D6/1 C6/1 Bb5/1  Bb5/1 A5/1 G5/1 "
              "G5/1 E5/1 C5/1  E5/1 G5/1 Bb5/1")
    return Piece(108, 3, chords, melody, seed=4, arp=EIGHTHS_34, arp_gain=0.11, arp_low=53,
                 bass=[(0, "root", 3)], bass_gain=0.28, pad=0.07, lead_gain=0.42, reverb=0.35)


def last_stretch():
    """The last level of an episode: C major, a brave little march with a horn."""
    chords = _bars("C | G | Am | F | C | F | G | G7 | Am | Em | F | C | Dm | G | C F | G")
    melody = ("@horn G4/1 C5/1 E5/1.5 D5/0.5  D5/1 B4/1 G4/2  A4/1 C5/1 E5/1 A5/1  A5/1.5 G5/0.5 F5/2 "
              "E5/1 G5/1 C6/1.5 B5/0.5  A5/1 F5/1 C5/2  D5/1 G5/1 B5/1 D6/1  D6/2 B5/1 G5/1 "
              "C6/1.5 B5/0.5 A5/1 E5/1  G5/1.5 E5/0.5 B4/2  C5/1 F5/1 A5/1 C6/1  G5/3 r/1 "
              "F5/1 A5/1 D6/1.5 C6/0.5  B5/1 G5/1 D5/2  E5/1 G5/1 A5/1 C6/1  B5/1.5 A5/0.5 G5/1 D5/1")
    perc = [(0, "kick", 0.4), (1, "snare", 0.22), (2, "kick", 0.35), (3, "snare", 0.22), (3.5, "snare", 0.1)] + \
           [(x / 2, "tick", 0.08) for x in range(8)]
    return Piece(116, 4, chords, melody, seed=5, arp=EIGHTHS_44, arp_gain=0.12,
                 bass=[(0, "root", 1), (1, "fifth", 1), (2, "root", 1), (3, "fifth", 1)], perc=perc, pad=0.04,
                 lead_gain=0.45)


def witch_shadow():
    """The witch: D minor, slow, a trembling organ under a cold bell."""
    chords = _bars("Dm | Dm | Bb | A | Dm | Gm | Bb | A7 | Gm | Dm | Eb | A7")
    melody = ("@bell D5/1 F5/1 A5/2  G#5/1 A5/1 r/2  Bb5/1.5 A5/0.5 F5/2  E5/1 C#5/1 A4/2 "
              "D5/1 A5/1 D6/1 C#6/1  D6/1.5 Bb5/0.5 G5/2  F5/1 Bb5/1 D6/1 C6/1  C#6/2 E5/1 G5/1 "
              "Bb5/1 G5/1 D5/1 G5/1  F5/2 A5/1 D5/1  Eb5/1 G5/1 Bb5/2  A5/1 G5/1 E5/1 C#5/1")
    return Piece(72, 4, chords, melody, seed=6, bass=[(0, "root", 4)], bass_gain=0.4, pad=0.11, pad_low=50,
                 tremolo_pad=True, perc=[(0, "kick", 0.25)], lead_gain=0.5, reverb=0.45)


def well_done():
    """The goals are met: G major, bells over a quick harp."""
    chords = _bars("G | C | D | G | Em | C | D | D7")
    melody = ("@bell G5/0.5 B5/0.5 D6/1 B5/1 D6/1  E6/1.5 D6/0.5 C6/1 G5/1  F#5/0.5 A5/0.5 D6/1 C6/1 A5/1  B5/2 G5/2 "
              "G5/0.5 B5/0.5 E6/1 D6/1 B5/1  C6/1 E6/1 G6/2  F#6/1 E6/1 D6/1 C6/1  A5/1 F#5/1 D5/1 r/1")
    return Piece(120, 4, chords, melody, seed=7, arp=EIGHTHS_44, arp_gain=0.14, bass=[(0, "root", 2), (2, "fifth", 2)],
                 perc=SHAKE_44, pad=0.04, lead_gain=0.5)


def home_at_last():
    """The end of the game: C major, the horn and then the flute sing it home."""
    chords = _bars("C | Am | F | G | C | Em | F | G | Am | F | C | G | F | G | C F | G7")
    melody = ("@horn E5/1 G5/1 C6/2  C6/1 B5/0.5 A5/0.5 E5/2  F5/1 A5/1 C6/1.5 D6/0.5  D6/2 B5/1 G5/1 "
              "G5/1 C6/1 E6/2  D6/1 B5/1 G5/2  A5/1 C6/1 F6/1 E6/0.5 D6/0.5  D6/3 r/1 "
              "@flute E6/1.5 D6/0.5 C6/1 A5/1  C6/1 A5/1 F5/2  E5/1 G5/1 C6/1 E6/1  D6/2 G5/2 "
              "A5/1 C6/1 F6/1.5 E6/0.5  D6/1 B5/1 G5/1 B5/1  C6/1 E6/1 F6/1 C6/1  B5/1 D6/1 F6/1 D6/1")
    return Piece(96, 4, chords, melody, seed=8, arp=EIGHTHS_44, arp_gain=0.13,
                 bass=[(0, "root", 1.5), (2, "fifth", 1), (3, "root", 1)],
                 perc=[(0, "kick", 0.35), (2, "kick", 0.3), (1, "tick", 0.1), (3, "tick", 0.1)], pad=0.07,
                 lead_gain=0.45, reverb=0.33)
