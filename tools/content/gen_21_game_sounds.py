#!/usr/bin/env python3
"""Writes the game's sounds and music into <target>/data/:

- snd/game/*.ogg and snd/gameSounds.ini: one sound for every game event that has one (a goal met,
  a star lost, a building upgraded, gold picked up ...) and the ambient sounds of the levels (birds,
  a cuckoo, wind, a brook, a woodpecker, an owl, a far wolf, frogs, crickets, drips);
- snd/ambient/meadow.ini and maps/1 to 6/sounds.ini: which ambient sounds each level plays and how
  often (the meadow levels include the shared meadow file);
- snd/music/*.ogg and their sections of snd/music.ini: three level tunes that the rotation's six
  names share ("music1" and "music4" the meadow tune, "music2" and "music5" the riverside waltz,
  "music3" and "music6" the wolf wood), the menus' tune, the last level of an episode, the witch,
  the goals met and the end of the game.

Everything is synthesised here from fixed seeds (the voice of the lost level comes from espeak-ng
when it is installed), and the tunes are encoded with oggenc under a fixed serial number, so runs
give the same bytes."""
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import wave
import zlib

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)
import music_tunes  # noqa: E402
import sound_synth as sy  # noqa: E402
from level_common import merge_sections, target_dir, write  # noqa: E402

target = target_dir(sys.argv)
data = os.path.join(target, "data")
game_dir = os.path.join(data, "snd", "game")
rng = random.Random(21)
R = sy.RATE


def trimmed(samples, floor=0.0015):
    """Without the silence the reverb and the decays leave at the end."""
    end = len(samples)
    while end > 1 and abs(samples[end - 1]) < floor:
        end -= 1
    return sy.fade(samples[:end + int(0.01 * R)], 0.0, 0.01)


def out(name, samples, peak=0.8):
    """Ogg Vorbis keeps the effects small; the game reads them whole like WAV files."""
    name = name.replace(".wav", ".ogg")
    sy.write_ogg(os.path.join(game_dir, name), trimmed(sy.normalise(samples, peak)), quality=3,
                 serial=zlib.crc32(name.encode()) & 0x7FFFFFFF)
    return "data/snd/game/" + name


def notes(inst, seq, gap=0.0):
    """Notes one after another: seq of (midi, seconds)."""
    parts = []
    for m, sec in seq:
        parts.append(inst(sy.hz(m), sec))
        if gap:
            parts.append(sy.silence(gap))
    return sy.join(*parts)


def chime(m, sec=0.9):
    return sy.bell(sy.hz(m), sec, decay=0.6)


def at(*parts_at):
    return sy.overlay(*parts_at)


# ---- Game event sounds ---------------------------------------------------------------------------
files = {}

# A goal done: two bright chimes a fifth apart.
files["TaskCompleted"] = out("task_completed.wav", sy.reverb(at((chime(88), 0), (chime(95, 1.1), 0.11)), 0.2))
# Every goal done: a rising arpeggio of chimes over a soft chord, then a shimmer.
shimmer = sy.envelope_exp(sy.highpass(sy.noise(1.2, rng, 1.0), 0.95), 0.35)
files["AllTasksCompleted"] = out("all_tasks_completed.wav", sy.reverb(at(
    (chime(72, 1.6), 0), (chime(76, 1.5), 0.12), (chime(79, 1.4), 0.24), (chime(84, 1.6), 0.36),
    (chime(88, 1.6), 0.48), (sy.scale(shimmer, 0.12), 0.5),
    (sy.scale(sy.blown(sy.hz(60), 1.6, sy.MELLOW, attack=0.2, release=0.6), 0.25), 0.0),
    (sy.scale(sy.blown(sy.hz(64), 1.6, sy.MELLOW, attack=0.2, release=0.6), 0.2), 0.0)), 0.3))
# Time is short: a clock ticking over two uneasy alternating notes.
tick = sy.envelope_exp(sy.resonant(sy.noise(0.04, rng, 1.0), lambda i: 2500, 6), 0.01)
hurry = [(tick, 0.25 * k) for k in range(6)]
hurry += [(sy.scale(sy.pluck(sy.hz(m), 0.3, decay=0.2), 0.7), 0.25 * k) for k, m in enumerate([69, 68, 69, 68, 69, 68])]
files["HurryUp"] = out("hurry_up.wav", at(*hurry))
# A star lost: a falling pair of soft notes with a downward swish; the second star lower and sadder.
swish = sy.resonant(sy.noise(0.5, rng, 1.0), lambda i: 3000 - 2300 * i / (0.5 * R), 3)
files["3StarsLost"] = out("stars3_lost.wav", at((chime(83, 0.7), 0), (chime(76, 0.9), 0.18),
                                                (sy.scale(sy.fade(swish, 0.05, 0.2), 0.3), 0.05)))
files["2StarsLost"] = out("stars2_lost.wav", at((chime(76, 0.6), 0), (chime(72, 0.7), 0.18), (chime(69, 1.0), 0.36),
                                                (sy.scale(sy.fade(swish, 0.05, 0.2), 0.3), 0.1)))
# Lost: a slow sad slide down, like a tired trombone.
trombone = sy.join(*[sy.lowpass(sy.blown(sy.hz(m), d, sy.BRASS, attack=0.05, release=0.1, vibrato=0.05 if d < 1 else 0.3),
                                0.25) for m, d in ((55, 0.45), (54, 0.45), (53, 0.45), (52, 1.4))])
files["GameOver"] = out("game_over.wav", sy.reverb(trombone, 0.25))
# The voice after it.
espeak = shutil.which("espeak-ng")
if espeak and shutil.which("sox"):
    with tempfile.TemporaryDirectory() as tmp:
        raw, clean = os.path.join(tmp, "voice.wav"), os.path.join(tmp, "clean.wav")
        subprocess.run([espeak, "-v", "en", "-s", "130", "-p", "35", "-w", raw, "Oh no... the time is up!"], check=True)
        subprocess.run(["sox", "-D", raw, "-r", str(R), "-b", "16", "-c", "1", clean, "gain", "-n", "-3"], check=True)
        with wave.open(clean) as w:
            pcm = w.readframes(w.getnframes())
        voice = [v / 32768.0 for v in struct.unpack("<%dh" % (len(pcm) // 2), pcm)]
    files["GameOverVoice"] = out("game_over_voice.wav", voice, 0.7)
else:
    files["GameOverVoice"] = out("game_over_voice.wav", notes(lambda f, s: sy.blown(f, s, sy.REED), [(57, 0.3), (53, 0.6)]))
# Won: a short fanfare, brass up the chord and a final ringing chord with chimes.
fanfare = at(*[(sy.lowpass(sy.blown(sy.hz(m), d, sy.BRASS, attack=0.03, release=0.08, vibrato=0.06), 0.35), t)
               for m, d, t in ((67, 0.18, 0), (72, 0.18, 0.2), (76, 0.18, 0.4), (79, 0.9, 0.6))])
fanfare = at((fanfare, 0), *[(sy.scale(sy.lowpass(sy.blown(sy.hz(m), 0.9, sy.BRASS, attack=0.03, release=0.3), 0.35), 0.6), 0.6)
                             for m in (64, 67, 72)], (chime(91, 1.4), 0.6), (chime(96, 1.4), 0.75))
files["LevelWin"] = out("level_win.wav", sy.reverb(fanfare, 0.3))
# A building upgraded: a sparkling upward sweep into a major chord.
sweep = sy.envelope_exp(sy.osc(sy.BRIGHT, sy.hz(72), int(0.35 * R), glide_to=sy.hz(96)), 0.25)
files["ObjectUpgraded"] = out("object_upgraded.wav", sy.reverb(at((sy.scale(sweep, 0.3), 0), (chime(84, 1.0), 0.3),
                                                                  (chime(88, 1.0), 0.3), (chime(91, 1.1), 0.3)), 0.25))
# Some other work done: a warm wooden "ding-dong".
files["ActionComplete"] = out("action_complete.wav", at((sy.pluck(sy.hz(79), 0.5, decay=0.25), 0),
                                                        (sy.pluck(sy.hz(84), 0.7, decay=0.3), 0.1)))
# An upgrade ordered: two knocks of a mallet and a hopeful little note.
knock = sy.envelope_exp(sy.resonant(sy.noise(0.08, rng, 1.0), lambda i: 700, 5), 0.025)
files["ObjectPlanUpgrade"] = out("object_plan_upgrade.wav", at((knock, 0), (knock, 0.14),
                                                              (sy.scale(sy.pluck(sy.hz(76), 0.5, decay=0.3), 0.6), 0.28)))
# Something broke: a crack, a thud and falling bits.
crack = sy.envelope_exp(sy.highpass(sy.noise(0.3, rng, 1.0), 0.8), 0.06)
thud = sy.envelope_exp(sy.osc(sy.SINE, 120, int(0.4 * R), glide_to=50), 0.12)
bits = at(*[(sy.scale(sy.envelope_exp(sy.resonant(sy.noise(0.05, rng, 1.0), lambda i, f=f: f, 8), 0.015), 0.5), t)
            for f, t in ((1800, 0.15), (1400, 0.22), (2100, 0.3), (1100, 0.38), (1600, 0.47))])
files["ObjectBroken"] = out("object_broken.wav", at((crack, 0), (thud, 0.02), (bits, 0)))
# The forest reborn: a rising magical shimmer of many small chimes.
reborn = [(sy.scale(sy.bell(sy.hz(m), 0.8, decay=0.4), 0.5), 0.07 * k) for k, m in enumerate([79, 83, 86, 88, 91, 95, 98, 100])]
reborn.append((sy.scale(sy.blown(sy.hz(67), 1.4, sy.MELLOW, attack=0.3, release=0.6), 0.3), 0))
files["ForestReborn"] = out("forest_reborn.wav", sy.reverb(at(*reborn), 0.35))
# The forest dies: a dark falling drone and a cold wind.
drone = sy.lowpass(sy.osc(sy.BRASS, sy.hz(50), int(1.6 * R), glide_to=sy.hz(43)), 0.1)
gust = sy.resonant(sy.noise(1.6, rng, 1.0), lambda i: 900 - 500 * i / (1.6 * R), 2)
files["ForestDead"] = out("forest_dead.wav", sy.fade(sy.mix_list(drone, sy.scale(gust, 0.5)), 0.1, 0.6))
# A totem destroyed: a heavy boom with crumbling stones.
boom = sy.envelope_exp(sy.osc(sy.SINE, 90, int(0.9 * R), glide_to=35), 0.3)
rubble = sy.envelope_exp(sy.lowpass(sy.noise(0.9, rng, 1.0), 0.25), 0.3)
files["TotemDestroyed"] = out("totem_destroyed.wav", at((boom, 0), (sy.scale(rubble, 0.8), 0.03), (bits, 0.2)))
# A bonus placed in its place: a bubbly pop and a twinkle.
pop = sy.envelope_exp(sy.osc(sy.SINE, 300, int(0.12 * R), glide_to=900), 0.05)
files["BonusPlacedInBonusPlace"] = out("bonus_placed.wav", at((pop, 0), (chime(93, 0.7), 0.08), (chime(98, 0.7), 0.16)))
# A rested worker off to work: a cheerful two-note whistle.
whistle = sy.join(sy.blown(sy.hz(84), 0.09, sy.SINE, attack=0.01, release=0.02, vibrato=0),
                  sy.blown(sy.hz(91), 0.16, sy.SINE, attack=0.01, release=0.06, vibrato=0.2))
files["WorkerOut"] = out("worker_out.wav", whistle, 0.6)
# The clock starts: a light horn call.
call = at(*[(sy.lowpass(sy.blown(sy.hz(m), d, sy.BRASS, attack=0.03, release=0.1, vibrato=0.05), 0.35), t)
            for m, d, t in ((67, 0.16, 0), (72, 0.16, 0.18), (76, 0.5, 0.36))])
files["LevelStart"] = out("level_start.wav", sy.reverb(call, 0.25))
# Gold: coins clinking; a bonus: a quick rising sparkle.
clink = [(sy.bell(sy.hz(m), 0.35, decay=0.2, partials=((1.0, 1.0), (2.4, 0.5), (4.1, 0.3))), t)
         for m, t in ((96, 0), (100, 0.06), (98, 0.13))]
files["PickGold"] = out("pick_gold.wav", at(*clink))
files["PickBonus"] = out("pick_bonus.wav", at(*[(sy.scale(sy.pluck(sy.hz(m), 0.35, decay=0.15), 0.7), 0.045 * k)
                                                for k, m in enumerate([76, 81, 84, 88])]))
# The time bar freezes: icy crystals growing; the ice breaks: glass shattering.
ice = [(sy.scale(sy.bell(sy.hz(m), 0.7, decay=0.35, partials=((1.0, 1.0), (3.1, 0.4), (6.7, 0.3))), 0.5), 0.06 * k)
       for k, m in enumerate([100, 97, 103, 99, 95, 101, 94])]
frost = sy.envelope_exp(sy.highpass(sy.noise(0.9, rng, 1.0), 0.97), 0.4)
files["TimeBarFreeze"] = out("time_bar_freeze.wav", sy.reverb(at(*ice, (sy.scale(frost, 0.25), 0)), 0.3))
shards = [(sy.scale(sy.bell(sy.hz(m), 0.5, decay=0.2, partials=((1.0, 1.0), (2.9, 0.6), (5.3, 0.4))), 0.5), t)
          for m, t in ((98, 0.02), (103, 0.05), (94, 0.09), (101, 0.14), (96, 0.2), (105, 0.27))]
smash = sy.envelope_exp(sy.highpass(sy.noise(0.5, rng, 1.0), 0.85), 0.08)
files["TimeBarIceBreak"] = out("time_bar_ice_break.wav", at((smash, 0), *shards))

# ---- Ambient sounds -----------------------------------------------------------------------------------
def chirp(f0, f1, sec, amp=1.0):
    n = int(sec * R)
    return sy.scale([v * (1 - abs(2 * i / n - 1)) ** 0.7 for i, v in enumerate(sy.osc(sy.SINE, f0, n, glide_to=f1))], amp)


def bird_song(seed):
    r = random.Random(seed)
    parts, t = [], 0.0
    for _ in range(r.randint(4, 8)):
        base = r.uniform(2600, 3800)
        parts.append((chirp(base, base * r.uniform(1.15, 1.5), r.uniform(0.04, 0.09)), t))
        t += r.uniform(0.09, 0.16)
        if r.random() < 0.4:  # a trill
            for _ in range(r.randint(3, 6)):
                parts.append((chirp(base * 1.3, base * 1.1, 0.03, 0.7), t))
                t += 0.04
    return sy.reverb(at(*parts), 0.2)


ambient = {}
for k in range(3):
    ambient[f"AmbBirds{k + 1}"] = out(f"amb_birds{k + 1}.wav", bird_song(100 + k), 0.5)
cuckoo = at(*[(sy.lowpass(sy.blown(sy.hz(m), d, sy.MELLOW, attack=0.02, release=0.06, vibrato=0), 0.4), t)
              for m, d, t in ((76, 0.16, 0), (72, 0.32, 0.22), (76, 0.16, 0.85), (72, 0.32, 1.07))])
ambient["AmbCuckoo"] = out("amb_cuckoo.wav", sy.reverb(cuckoo, 0.35), 0.45)
wind_n = 5.0
wind = sy.resonant(sy.noise(wind_n, rng, 1.0), lambda i: 500 + 350 * sy.SINE[int(i * 0.35 * sy.TABLE / R) % sy.TABLE], 2.5)
ambient["AmbWind"] = out("amb_wind.wav", sy.fade(wind, 1.2, 1.8), 0.5)
brook = sy.scale(sy.lowpass(sy.noise(4.0, rng, 1.0), 0.15), 0.25)
bubbles = [(sy.scale(sy.envelope_exp(sy.osc(sy.SINE, f, int(0.05 * R), glide_to=f * 1.8), 0.02), 0.5), t)
           for f, t in ((rng.uniform(350, 900), rng.uniform(0, 3.9)) for _ in range(60))]
ambient["AmbBrook"] = out("amb_brook.wav", sy.fade(at((brook, 0), *bubbles), 0.6, 0.8), 0.5)
knocks = at(*[(sy.envelope_exp(sy.resonant(sy.noise(0.03, rng, 1.0), lambda i: 1300, 6), 0.008), 0.055 * k)
              for k in range(14)])
ambient["AmbWoodpecker"] = out("amb_woodpecker.wav", sy.reverb(knocks, 0.3), 0.5)
hoo = [(sy.lowpass(sy.blown(sy.hz(m), d, sy.SINE, attack=0.05, release=0.15, vibrato=0.05, breath=0.06, rng=rng), 0.5), t)
       for m, d, t in ((67, 0.45, 0), (66, 0.2, 0.8), (66, 0.2, 1.05), (67, 0.7, 1.3))]
ambient["AmbOwl"] = out("amb_owl.wav", sy.reverb(at(*hoo), 0.4), 0.45)
howl_n = int(3.0 * R)
howl = sy.osc(sy.MELLOW, sy.hz(58), howl_n, vibrato=0.25, vib_rate=4.5, glide_to=sy.hz(66))
howl = [v * min(1.0, i / (0.5 * R)) * min(1.0, (howl_n - i) / (1.0 * R)) for i, v in enumerate(howl)]
ambient["AmbHowl"] = out("amb_howl.wav", sy.reverb(sy.lowpass(howl, 0.2), 0.5), 0.35)


def croak():
    n = int(0.28 * R)
    tone = sy.osc(sy.REED, 210, n)
    return [v * (0.5 + 0.5 * sy.SINE[int(i * 28 * sy.TABLE / R) % sy.TABLE]) * min(1.0, (n - i) / (0.05 * R))
            for i, v in enumerate(tone)]


ambient["AmbFrogs"] = out("amb_frogs.wav", sy.lowpass(at((croak(), 0), (croak(), 0.45), (sy.scale(croak(), 0.6), 1.2)), 0.5), 0.5)
cricket = at(*[(sy.envelope_exp(sy.osc(sy.SINE, 4400, int(0.02 * R)), 0.01), 0.045 * p + 0.35 * k)
               for k in range(5) for p in range(3)])
ambient["AmbCrickets"] = out("amb_crickets.wav", cricket, 0.3)
drips = at(*[(sy.envelope_exp(sy.osc(sy.SINE, f, int(0.12 * R), glide_to=f * 0.6), 0.04), t)
             for f, t in ((1600, 0), (1350, 0.7), (1700, 1.6))])
ambient["AmbDrips"] = out("amb_drips.wav", sy.reverb(drips, 0.5, room=0.85), 0.45)

# ---- The game sounds' script ------------------------------------------------------------------------
loudness = {"WorkerOut": 0.6, "PickBonus": 0.8, "PickGold": 0.85, "ActionComplete": 0.75, "ObjectPlanUpgrade": 0.75,
            "HurryUp": 0.85, "GameOverVoice": 1.0}
lines = ["; Sounds of the game's events and the levels' ambient sounds, loaded while a level runs.",
         "; Written by tools/content/gen_21_game_sounds.py.",
         "[main]", "minvolume=0", "maxvolume=0.9", "pan=1", ""]
for name, path in files.items():
    lines += [f"[{name}]", f"name={path}"]
    if name in loudness:
        lines.append(f"maxvolume={loudness[name]}")
    lines.append("")
lines += ["; Ambient sounds: quieter, and never panned.",
          "[AmbBirds]", "event0=AmbBirds1", "event1=AmbBirds2", "event2=AmbBirds3", ""]
quiet = {"AmbWind": 0.45, "AmbBrook": 0.4, "AmbHowl": 0.35, "AmbCrickets": 0.3, "AmbDrips": 0.45}
for name, path in ambient.items():
    lines += [f"[{name}]", f"name={path}", f"maxvolume={quiet.get(name, 0.5)}", "pan=0", ""]
write(os.path.join(data, "snd", "gameSounds.ini"), "\n".join(lines))

# ---- Which level hears what --------------------------------------------------------------------------
def ambient_ini(comment, sections, include=None):
    text = [f"; {comment}", "; Each section is one ambient sound of gameSounds.ini, played again after a random",
            "; interval between periodMin and periodMax milliseconds (both 0 switch it off)."]
    if include:
        text += ["[Include]", f"0={include}"]
    for name, sound, lo, hi in sections:
        text += [f"[{name}]", f"sound={sound}", f"periodMin={lo}", f"periodMax={hi}"]
    return "\n".join(text) + "\n"


meadow = "data/snd/ambient/meadow.ini"
write(os.path.join(data, "snd", "ambient", "meadow.ini"),
      ambient_ini("The meadow's birds and breeze, included by the meadow levels.",
                  [("Songbirds", "AmbBirds", 6000, 14000), ("Breeze", "AmbWind", 14000, 26000)]))
levels = {
    1: ("Level 1: the meadow by the barn.", [("Cuckoo", "AmbCuckoo", 20000, 40000),
                                              ("Crickets", "AmbCrickets", 9000, 18000)], meadow),
    2: ("Level 2: the river and its broken bridge.", [("River", "AmbBrook", 4000, 6000),
                                                      ("Frogs", "AmbFrogs", 15000, 30000)], meadow),
    3: ("Level 3: the ridge and the gold mine.", [("Woodpecker", "AmbWoodpecker", 15000, 30000),
                                                  ("Cuckoo", "AmbCuckoo", 25000, 45000)], meadow),
    4: ("Level 4: the wolf wood.", [("ForestBirds", "AmbBirds", 8000, 16000), ("Owl", "AmbOwl", 18000, 32000),
                                    ("FarWolf", "AmbHowl", 30000, 50000), ("Wind", "AmbWind", 12000, 22000)], None),
    5: ("Level 5: the misty hollow.", [("Drips", "AmbDrips", 7000, 13000), ("Owl", "AmbOwl", 20000, 35000),
                                       ("Frogs", "AmbFrogs", 12000, 24000), ("Wind", "AmbWind", 10000, 18000)], None),
    6: ("Level 6: the red hood's glade by the stream.", [("Stream", "AmbBrook", 5000, 8000),
                                                         ("Woodpecker", "AmbWoodpecker", 18000, 30000),
                                                         ("Cuckoo", "AmbCuckoo", 22000, 40000)], meadow),
}
for n, (comment, sections, include) in levels.items():
    write(os.path.join(data, "maps", str(n), "sounds.ini"), ambient_ini(comment, sections, include))

# ---- Music ----------------------------------------------------------------------------------------------
tunes = [
    ("meadow_morning", music_tunes.meadow_morning),
    ("riverside", music_tunes.riverside),
    ("wolf_wood", music_tunes.wolf_wood),
    ("home_by_the_barn", music_tunes.home_by_the_barn),
    ("last_stretch", music_tunes.last_stretch),
    ("witch_shadow", music_tunes.witch_shadow),
    ("well_done", music_tunes.well_done),
    ("home_at_last", music_tunes.home_at_last),
]
for k, (name, piece) in enumerate(tunes):
    sy.write_ogg(os.path.join(data, "snd", "music", name + ".ogg"), piece().render(), quality=1, serial=2100 + k)


def track(name, loop):
    return [f"music=data/snd/music/{name}.ogg", f"loop={loop}"]


rotation = ["meadow_morning", "riverside", "wolf_wood"]
sections = {"menu": track("home_by_the_barn", 1)}
for n in range(1, 7):
    sections[f"music{n}"] = track(rotation[(n - 1) % 3], 0)
sections["musicLastLevel"] = track("last_stretch", 0)
sections["musicWitch"] = track("witch_shadow", 1)
sections["OnLevelDone"] = track("well_done", 1)
sections["OnGameWin"] = track("home_at_last", 1)
music_ini = os.path.join(data, "snd", "music.ini")
merge_sections(music_ini, sections,
               header="; Music of the demo: category 1 streams.\n[main]\nmode=1\nloop=1\nminvolume=0\nmaxvolume=1")
# The rotation's sections are this generator's now; the note of the shell generator that once wrote
# them would mislead.
with open(music_ini, encoding="utf-8") as f:
    kept = [line for line in f.read().splitlines() if "written by gen_96_shell.py" not in line]
with open(music_ini, "w", encoding="utf-8", newline="\r\n") as f:
    f.write("\n".join(kept) + "\n")

print("game sounds: data/snd/game/ (%d event and %d ambient sounds), data/snd/gameSounds.ini, "
      "data/maps/1-6/sounds.ini, data/snd/music/ (%d tunes) and their sections of data/snd/music.ini"
      % (len(files), len(ambient), len(tunes)))
