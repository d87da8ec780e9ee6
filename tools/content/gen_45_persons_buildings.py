#!/usr/bin/env python3
"""Writes the demo's workers and buildings: their pictures, animations, scripts, icons and sounds.

- data/anims/worker/: the worker in ten visible states, five drawn facings each (the other three
  are mirrored), as the animation group "skin1" (level 1 has iWorkersSkin 0);
- data/anims/buildings/: the barn, the cottage (site, scaffolding, finished, broken) and the
  granary (three upgrade levels, broken), plus chimney smoke, the joy flag and sparkles and the
  work dust their animation scripts play; data/anims/ui/: the Yes and No signs over an ordered
  object, the icons over buildings and the cursor shapes objects ask for;
- data/person/persons.ini and sounds.ini, data/buildings/buildings.ini, the animation scripts,
  icons.ini and sounds.ini, data/obstacles/sounds.ini, with the sounds synthesised here;
- this generator's block of data/animations.xml and its sections of data/translation.ini, both
  replaced on every run so that running it again changes nothing.
Pictures are centred on the object's anchor: a worker's feet, a building's ground line.
"""
import math
import os
import random
import struct
import sys
import wave

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import building_art as art  # noqa: E402
import worker_figure as wf  # noqa: E402
from catalogue_block import animation_line, write_block  # noqa: E402

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..",
                                                                              "demo"))
data = os.path.join(target, "data")
for sub in ("anims/worker", "anims/buildings", "anims/ui", "person", "buildings", "obstacles"):
    os.makedirs(os.path.join(data, sub), exist_ok=True)

BLOCK = "persons and buildings"
anims = []  # lines of this generator's block of the catalogue


def write(path, text):
    with open(os.path.join(data, path), "w", encoding="utf-8", newline="\r\n") as f:
        f.write(text)


def save(img, rel):
    img.save(os.path.join(data, rel), optimize=True)
    return "data/" + rel


def animation(aid, path, period, frames, group=None, **flags):
    anims.append(animation_line(aid, path, period, frames, group, **flags))


# ---- Workers ---------------------------------------------------------------------------------------
SKIN = "skin1"
# The visible states a person can show, in the order of the person's table; those without
# pictures are "null".
PERSON_STATES = ["stay", "move", "moveWithBag", "happy", "happy2", "repair", "build", "gather", "axe", "pick",
                 "greetings", "chop", "stay2", "trade", "giveheart", "trade2"]

anims.append("  <!-- The worker: <state>_<facing>, facing 0 up (away) to 4 down (toward us); 5 to 7 mirror"
             " 3 to 1. -->")
for state, (_, frames, period, loop) in wf.STATES.items():
    for d in range(5):
        path = save(wf.strip(state, d), f"anims/worker/{state}_{d}.png")
        animation(f"worker_{state}_{d}", path, period, frames, SKIN, loop=loop)
    for d, src in wf.MIRROR.items():
        animation(f"worker_{state}_{d}", f"data/anims/worker/{state}_{src}.png", period, frames, SKIN, loop=loop, flip=True)

person_keys = []
for state in PERSON_STATES:
    for d in range(8):
        value = f"worker_{state}_{d}" if state in wf.STATES else "null"
        person_keys.append(f"{state}_anim{d}={value}")
write("person/persons.ini", """\
; Persons the workers controller creates: the section is the kind followed by 1. Every visible
; state has one animation per facing ("<state>_anim<facing>", facing 0 up ... 4 down ... 7 up-left);
; "null" where the worker has no such picture. The pictures stand on the person's anchor.
[Worker1]
type=person
subType=Worker
layer=1
name=#PERSON_WORKER
workerType=Worker
GatherSoundKey=WorkerGather
""" + "\n".join(person_keys) + "\n")

# ---- Sounds ----------------------------------------------------------------------------------------
R = 22050
rng = random.Random(45)


def write_wav(rel, samples, rate=R):
    with wave.open(os.path.join(data, rel), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", max(-32767, min(32767, int(round(s * 32767))))) for s in samples))
    return "data/" + rel


def sweep(f0, f1, dur, amp, decay=None, harm=(1.0,), attack=0.004):
    n = int(dur * R)
    out, ph = [], 0.0
    for i in range(n):
        t = i / R
        f = f0 + (f1 - f0) * (i / n)
        ph += 2 * math.pi * f / R
        e = min(1.0, t / attack) * min(1.0, (n - i) / (0.01 * R))
        if decay:
            e *= math.exp(-t / decay)
        out.append(amp * e * sum(h * math.sin(ph * (k + 1)) for k, h in enumerate(harm)))
    return out


def noise(dur, amp, decay, smooth=0.15):
    out, y = [], 0.0
    for i in range(int(dur * R)):
        y += smooth * (rng.uniform(-1, 1) - y)
        out.append(amp * 4 * y * math.exp(-i / R / decay))
    return out


def place(track, part, at):
    start = int(at * R)
    need = start + len(part)
    if len(track) < need:
        track.extend([0.0] * (need - len(track)))
    for i, v in enumerate(part):
        track[start + i] += v
    return track


def knock(pitch):
    # One hammer blow: a short woody thump under a bright click.
    return [a + b for a, b in zip(sweep(pitch, pitch * 0.7, 0.16, 0.45, decay=0.04, harm=(1.0, 0.5, 0.2)),
                                  noise(0.16, 0.18, 0.012, smooth=0.6) + [0.0] * 4000)]


hammering = []
for i, (at, pitch) in enumerate(((0.0, 210), (0.26, 190), (0.52, 220))):
    place(hammering, knock(pitch), at)
hammer_wav = write_wav("buildings/hammering.wav", hammering)
# The refusal: a soft low bonk, falling in pitch.
bonk_wav = write_wav("obstacles/bonk.wav", sweep(150, 92, 0.22, 0.5, decay=0.07, harm=(1.0, 0.35, 0.1), attack=0.006))
# The worker's voice when sent off: a cheerful two-note whistle ("hup-hey").
voice = sweep(880, 1040, 0.09, 0.28, harm=(1.0, 0.15)) + [0.0] * int(0.03 * R) + sweep(1180, 1320, 0.14, 0.28,
                                                                                        decay=0.12, harm=(1.0, 0.15))
voice_wav = write_wav("person/worker_voice.wav", voice)
# Gathering: leaves rustling and a soft pluck.
gather = place(noise(0.35, 0.12, 0.15, smooth=0.35), sweep(640, 560, 0.12, 0.25, decay=0.05), 0.18)
gather_wav = write_wav("person/gather.wav", gather)

write("person/sounds.ini", f"""\
; Sound script of the persons: "Worker" is the worker's voice when it is sent off, and the entry a
; person's GatherSoundKey names plays while it gathers. (sound0 gives the same file to readers that
; take these sections as object sound tracks.)
[main]
minvolume=0
maxvolume=1

[Worker]
name={voice_wav}
maxvolume=0.8
sound0={voice_wav}

[WorkerGather]
name={gather_wav}
maxvolume=0.7
sound0={gather_wav}
""")

write("obstacles/sounds.ini", f"""\
; Sounds of workable objects. "CantDoOperation" plays when an order is refused (not affordable,
; no path, nobody free): a soft low bonk, at most twice in a second and a half.
[main]
minvolume=0
maxvolume=1

[CantDoOperation]
name={bonk_wav}
maxvolume=0.8
sound0={bonk_wav}
""")

# Object sound tracks by building subtype: while persons work the track runs with the work's
# length as its cycle and the hammering repeats every quarter of it; a click on a building that
# offers nothing more plays it once at once.
track = f"""sound0={hammer_wav}
phase0=0
period0=0.25
isRepeat0=1
absoluteTime0=0
isCycle0=1
"""
write("buildings/sounds.ini", f"""\
; Work sounds of the buildings, one object sound track per subtype (slot 0: the hammering).
[main]
minvolume=0
maxvolume=1

[barn]
{track}
[Cottage]
{track}
[Granary]
{track}
[FoodGenerator]
{track.replace(hammer_wav, gather_wav)}
[OreGenerator]
{track}""")

# ---- Buildings -------------------------------------------------------------------------------------
anims.append("  <!-- Buildings: each picture is centred on the building's anchor (its ground line). -->")
for level in range(3):
    animation(f"barn_level{level}", save(art.barn(level), f"anims/buildings/barn{level}.png"), 1000, 1, loop=False)
animation("cottage", save(art.cottage(), "anims/buildings/cottage.png"), 1000, 1, loop=False)
animation("cottage_broken", save(art.cottage(broken=True), "anims/buildings/cottage_broken.png"), 1000, 1, loop=False)
animation("cottage_site", save(art.cottage_site(), "anims/buildings/cottage_site.png"), 1000, 1, loop=False)
animation("cottage_scaffold", save(art.cottage_scaffold(), "anims/buildings/cottage_scaffold.png"), 1000, 1,
          loop=False)
for level in range(3):
    animation(f"granary_level{level}", save(art.granary(level), f"anims/buildings/granary{level}.png"), 1000, 1,
              loop=False)
animation("granary_broken", save(art.granary(0, broken=True), "anims/buildings/granary_broken.png"), 1000, 1,
          loop=False)
animation("chimney_smoke", save(art.smoke_strip(), "anims/buildings/smoke.png"), 2400, 12)
animation("joy_flag", save(art.joy_flag_strip(), "anims/buildings/joy_flag.png"), 800, 8)
animation("joy_stars", save(art.stars_strip(), "anims/buildings/joy_stars.png"), 900, 8, loop=False, add=True)
animation("work_dust", save(art.dust_strip(), "anims/buildings/dust.png"), 600, 6)
animation("focus_marker", save(art.focus_strip(), "anims/buildings/focus.png"), 800, 8)
animation("upgrade_trumpets", save(art.trumpets_strip(), "anims/buildings/trumpets.png"), 600, 6)

anims.append("  <!-- Over ordered objects, over buildings, and the cursor shapes objects ask for. -->")
animation("Object_Sign_Yes", save(art.sign_strip("yes"), "anims/ui/sign_yes.png"), 900, 8, "always", loop=False)
animation("Object_Sign_No", save(art.sign_strip("no"), "anims/ui/sign_no.png"), 900, 8, "always", loop=False)
animation("icon_build", save(art.badge("broken"), "anims/ui/icon_build.png"), 1000, 1, "always", loop=False)
animation("icon_upgrade", save(art.badge("upgrade"), "anims/ui/icon_upgrade.png"), 1000, 1, "always", loop=False)
for name, kind in (("Cursor_Build", "build"), ("Cursor_Gather", "gather"), ("Cursor_Repair", "repair"),
                   ("Cursor_Upgrade", "upgrade")):
    animation(name, save(art.cursor_strip(kind), f"anims/ui/cursor_{kind}.png"), 1200, 6, "always", no_center=True)

write("buildings/buildings.ini", """\
; Buildings by subtype: "animScript" names the animation script with the states "Idle",
; "WorkerOperation", "WorkerOperation2", "WorkerOperation3" and "WorkerJoy" (a missing state
; plays nothing).
[barn]
animScript=data/buildings/barn_anim.ini

[Cottage]
animScript=data/buildings/cottage_anim.ini

[Granary]
animScript=data/buildings/granary_anim.ini

[FoodGenerator]
animScript=data/buildings/source_anim.ini

[OreGenerator]
animScript=data/buildings/source_anim.ini
""")

write("buildings/cottage_anim.ini", """\
; The cottage: smoke from the chimney while it stands, dust while it is worked on, joy when done.
[Idle]
period=2400
isCycle=1
1=IdleSmoke

[IdleSmoke]
anim=chimney_smoke
x=27
y=-140
layer=1
isCycle=1

""" + art.DUST + "\n" + art.JOY.format(fx=-12, fy=-124, sy=-60))
write("buildings/granary_anim.ini", """\
; The granary: dust while it is worked on, joy when an upgrade is done.
""" + art.DUST + "\n" + art.JOY.format(fx=-30, fy=-120, sy=-70))
write("buildings/source_anim.ini", """\
; Bushes and rocks that give resources: dust while they are worked, joy when they are done.
""" + art.DUST + "\n" + art.JOY.format(fx=-20, fy=-50, sy=-20))
write("buildings/barn_anim.ini", """\
; The barn: joy when it is finished or upgraded.
""" + art.JOY.format(fx=-50, fy=-150, sy=-60))

# The dust at the foot of a building while persons build, upgrade or repair it (the building's work
# effect "RepairDust_big" in data/fx/pyroeffects.ini).
os.makedirs(os.path.join(data, "fx"), exist_ok=True)
write("fx/repair_dust.pfx", """\
; Building dust: pale earthy puffs kicked up along a building's foot while it is worked on, drifting
; a little and settling. Place the effect at the building's anchor. Format: docs/particles.md.
[effect]
version = 1
title = Building dust

[emitter dust]
sprite = pics/puff.png
blend = alpha
rate = 9
maxParticles = 40
life = 0.9 1.6
speed = 10 28
direction = -90
spread = 120
area = 90 8
gravity = 0 10
drag = 0.6
angle = 0 360
spin = -30 30
sizeVariation = 0.3
size = 0 10, 0.4 30, 1 44
color = 0 #C8B48C, 1 #E6DCC8
alpha = 0 0, 0.15 0.6, 0.7 0.35, 1 0
""")

# The joy of a building finished or upgraded by the player ("WorkerJoy"): one burst of golden
# glints that fly out and fade, emitting for a second only, so the effect ends by itself.
write("fx/worker_joy.pfx", """\
; Building joy: a burst of golden glints and a short shower of sparks over a building that was
; just finished or upgraded; it stops emitting after a second and ends by itself. Place it at the
; building's anchor. Format: docs/particles.md.
[effect]
version = 1
title = Building joy

[emitter glints]
sprite = pics/glint.png
blend = additive
burst = 14
rate = 16
duration = 1
maxParticles = 60
life = 0.6 1.2
speed = 40 110
direction = -90
spread = 160
area = 60 30
gravity = 0 60
drag = 0.6
angle = 0 90
spin = -90 90
sizeVariation = 0.35
size = 0 6, 0.25 30, 0.6 16, 1 0
color = 0 #FFFFFF, 0.35 #FFE9A0, 1 #FF9A30
alpha = 0 0, 0.1 1, 0.7 0.9, 1 0

[emitter sparks]
blend = additive
burst = 30
rate = 40
duration = 0.8
maxParticles = 120
life = 0.5 1.1
speed = 30 90
direction = -90
spread = 200
area = 70 30
gravity = 0 80
size = 0 4, 1 2
color = 0 #FFF6C0, 1 #FFB050
alpha = 0 1, 0.7 0.8, 1 0
""")

# Child templates of buildings. The building shows and hides them by name (they start hidden): the
# icons by its state, the focus marker on hover while it offers work, the trumpets while it
# rejoices. The hover hint and the upgrade hint are drawn by their own classes (text).
icons = ["""\
; Children of buildings, by the building's subtype (or its childsKey). Template x, y are offsets
; from the building's anchor.
"""]
# Per subtype: the height of its top over the anchor and how far its sides reach.
for sub, top, side in (("barn", -150, 100), ("Cottage", -128, 60), ("Granary", -100, 62), ("FoodGenerator", -40, 40),
                       ("OreGenerator", -50, 50)):
    sections = art.building_icons(sub, top, side)
    icons.append("\n".join(f"[{name}]\n" + "".join(line + "\n" for line in body) for name, body in sections.items()))
write("buildings/icons.ini", "\n".join(icons))

# ---- The catalogue block and the texts -------------------------------------------------------------

TEXTS = {
    "objects": {
        "#PERSON_WORKER": "Worker",
        "#BUILDING_BARN": "Barn",
        "#BUILDING_COTTAGE": "Cottage",
        "#BUILDING_GRANARY": "Granary",
        "#OBJECT_BRIDGE": "Old bridge",
        "#OBJECT_BERRY_BUSH": "Berry bush",
        "#OBJECT_ORE_ROCK": "Ore rock",
    },
    "object hints": {
        "#OBJECT_HINT_SPEND": "Costs:",
        "#OBJECT_HINT_GET": "Gives:",
        "#OBJECT_HINT_WILLGET": "Will give:",
        "#OBJECT_HINT_REPAIR": "Repair:",
        "#OBJECT_HINT_BUILD": "Build:",
        "#OBJECT_HINT_UPGRADE": "Upgrade:",
        "#OBJECT_HINT_BUILDING": "Being built...",
        "#OBJECT_HINT_UPGRADING": "Being upgraded...",
        "#OBJECT_HINT_BROKEN": "Broken",
        "#OBJECT_HINT_NOTBUILD": "Not built yet",
        "#OBJECT_HINT_HARVEST": "Harvesting...",
        "#OBJECT_HINT_CANT_HARVERST": "Nothing to harvest yet",
        "#OBJECT_HINT_MINE": "Left in the mine:",
        "#OBJECT_HINT_STOCK": "Stock:",
        "#OBJECT_HINT_NOTENOUGHWORKERS": "You need more workers",
        "#OBJECT_HINT_NOPATH": "No way to get there",
        "#OBJECT_HINT_NOFREEWORKER": "All workers are busy",
        "#OBJECT_HINT_WARRIORISBUSY": "The warrior is busy",
        "#OBJECT_HINT_EXORCISTISBUSY": "The exorcist is busy",
        "#OBJECT_HINT_YOUNEEDWARRIORHUT": "You need a warrior hut",
        "#OBJECT_HINT_YOUNEEDEXORCISTHUT": "You need an exorcist hut",
        "#OBJECT_HINT_CANT_UPGRADE": "Not enough resources to upgrade",
    },
}


def translation():
    """Writes this generator's sections of data/translation.ini where they stood (at the end when
    new) and keeps every other section, so running it alone or again changes nothing else."""
    path = os.path.join(data, "translation.ini")
    lines = []
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            lines = f.read().splitlines()
    ours = []
    for section, keys in TEXTS.items():
        ours.append(f"[{section}]")
        ours.extend(f"{k}={v}" for k, v in keys.items())
        ours.append("")
    out, keep, placed = [], True, False
    for line in lines:
        t = line.strip()
        if t.startswith("[") and t.endswith("]"):
            keep = t[1:-1].strip().lower() not in TEXTS
            if not keep and not placed:
                out.extend(ours)
                placed = True
        if keep:
            out.append(line)
    if not placed:
        while out and not out[-1].strip():
            out.pop()
        out = (out + [""] if out else []) + ours
    while out and not out[-1].strip():
        out.pop()
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write("\n".join(out) + "\n")


write_block(data, BLOCK, anims)
translation()
print("persons and buildings: data/anims/{worker,buildings,ui}, data/person, data/buildings, data/obstacles,"
      " their block of data/animations.xml and sections of data/translation.ini")
