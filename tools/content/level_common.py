"""Shared steps of the level generators: the level's folders, map.ini from a list of objects and the
objects every level has, the path-grid mask, the standard balance file, the painted background
with its catalogue block, the level's texts, and the map compiler run that turns map.ini into
map.bin; and the INI merging the other generators share."""
import glob
import os
import subprocess
import sys

from PIL import Image, ImageDraw

from catalogue_block import animation_line, write_block

here = os.path.dirname(os.path.abspath(__file__))
repo = os.path.abspath(os.path.join(here, "..", ".."))


def target_dir(argv):
    return os.path.abspath(argv[1] if len(argv) > 1 else os.path.join(repo, "demo"))


def data_dir(argv, *subfolders):
    """The data folder of the target named on the command line, with the `subfolders` (paths inside
    it, such as "interface/bonuses") made if missing."""
    data = os.path.join(target_dir(argv), "data")
    for sub in subfolders:
        os.makedirs(os.path.join(data, sub), exist_ok=True)
    return data


def write(path, text):
    if os.path.dirname(path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(text)


def level_folders(argv, number):
    """The target named on the command line, its data folder and the folder of level `number`
    (data/maps/N, made if missing)."""
    target = target_dir(argv)
    data = os.path.join(target, "data")
    level = os.path.join(data, "maps", str(number))
    os.makedirs(level, exist_ok=True)
    return target, data, level


def level_texts(data, number, english, russian):
    """Keeps the level's own section "level N" last in both translation documents; `english` and
    `russian` are its key lines."""
    for name, lines in (("translation.ini", english), ("translation_ru.ini", russian)):
        own_section_last(os.path.join(data, name), f"level {number}", f"[level {number}]\n{lines}", write)


# The icon sets shown over the map objects: buildings, creatures and finds, obstacles.
ICONS = "data/buildings/icons.ini"
BONUS_ICONS = "data/bonus/icons.ini"
OBSTACLE_ICONS = "data/obstacles/icons.ini"


# ---- Objects every level has -----------------------------------------------------------------------
# (name, keys) pairs for write_map_ini; the keys stand in the order map.ini lists them.


def meadow(number):
    """The painted background, under everything."""
    return ("Meadow", dict(type="simple", subType="back", x=512, y=384, layer=-100, anim0=f"level{number}_meadow"))


def barn(y, **upgrade):
    """The workers' home at the left edge; `upgrade` (its times, costs and tablet) lets it be upgraded."""
    return ("Barn", dict(type="building", subType="barn", x=170, y=y, layer=1, boundY=-50, boundXS=90, boundYS=70,
                         supportsAmount=1, supportX=40, supportY=30, isObstacle=1, obstacleY=-20, obstacleXS=70,
                         obstacleYS=35, anim0="barn_level0", anim1="barn_level1", anim2="barn_level2",
                         name="#BUILDING_BARN", workerType="Worker", workerX=30, workerY=26, **upgrade,
                         childScript=ICONS))


def worker_start(y):
    """Where the workers step out of the barn."""
    return ("WorkerStart", dict(type="simple", subType="marker", x=230, y=y, layer=-10))


def warrior_hut(x, y):
    """A warrior hut standing from the start: its warrior drives off the creatures."""
    return ("WarriorHut", dict(type="building", subType="WarriorHut", x=x, y=y, layer=1, boundY=-40, boundXS=50,
                               boundYS=44, supportsAmount=1, supportX=0, supportY=26, isObstacle=1, obstacleY=-14,
                               obstacleXS=44, obstacleYS=16, anim0="warrior_hut", anim7="cottage_site",
                               anim8="cottage_scaffold", workerType="Worker", name="#BUILDING_WARRIOR_HUT", isBreak=0,
                               state=0, upgradeLevel=0, upgradeLevelMax=0, hunter="Warrior", childScript=ICONS))


def berry_garden(tag, x, y, state, food, repair_time=5000, fog=None):
    """A berry garden (a food generator) giving `food` each minute tick; state 4 is broken (10 Food
    to mend), 0 working. `fog` (the keys of the mist it clears once mended) goes before its pictures."""
    return (tag, dict(type="building", subType="FoodGenerator", x=x, y=y, layer=1, boundY=-20, boundXS=66,
                      boundYS=36, supportsAmount=2, supportX=-40, supportY=30, support1X=40, support1Y=30,
                      isObstacle=1, obstacleY=-8, obstacleXS=56, obstacleYS=16, **(fog or {}),
                      anim0="garden_level0", anim6="garden_broken", workerType="Worker",
                      Person_Repair_Time=repair_time, Person_Repair_Time_Food=10, name="#BUILDING_GARDEN", cursor=3,
                      isBreak=1, state=state, upgradeLevel=0, upgradeLevelMax=0, resource="Food",
                      resourceValue=food, childScript=ICONS))


def find_mapc(who):
    env = os.environ.get("MAPC")
    if env:
        return env
    found = [p for p in glob.glob(os.path.join(repo, "build*", "mapc")) if os.access(p, os.X_OK)]
    if not found:
        sys.exit(f"{who}: build the map compiler first (ninja -C build mapc) or set MAPC")
    return max(found, key=os.path.getmtime)


def write_map_ini(level_dir, title, number, objects, header=None):
    """map.ini of a level: `objects` is a list of (name, keys); `header` (comment lines) replaces the
    standard note on top."""
    lines = list(header or [
        f"; Level {number}, \"{title}\": objects of the map. Each section is one object; the section",
        "; name is its tag. Rebuild map.bin with the level's generator in tools/content/ after editing."])
    for name, keys in objects:
        lines.append("")
        lines.append(f"[{name}]")
        lines.extend(f"{k}={v}" for k, v in keys.items())
    write(os.path.join(level_dir, "map.ini"), "\n".join(lines) + "\n")


def compile_map(target, number, who, fog=False):
    """map.bin of level `number` from its map.ini and grid.png; under full fog, or with `fog` under
    the level's own starting fog fog.png."""
    mapc = find_mapc(who)
    rel = f"data/maps/{number}"
    fog_args = ["--fog", f"{rel}/fog.png"] if fog else ["--fog-value", "1"]
    subprocess.run([mapc, "build", f"{rel}/map.ini", f"{rel}/map.bin", "--grid", f"{rel}/grid.png", *fog_args,
                    "-C", target], check=True)


# The player's bonuses in balance-key order. A level offers a bonus by giving it a cost (its wait
# period on the energy bar, at most the bar's capacity) and a duration; every other bonus costs 0.
BONUS_NAMES = ("Worker", "Speed", "Respawn_bonus_places", "TimeStop", "FastGen", "More_Resources")


def bonus_balance(max_time, offered):
    """The "Bonuses" section: `offered` maps a bonus name to (cost, active period) in ms."""
    for name, (cost, _) in offered.items():
        if name not in BONUS_NAMES:
            raise ValueError(f"unknown bonus {name}")
        if not 0 < cost <= max_time:
            raise ValueError(f"bonus {name} costs {cost}, the bar holds {max_time}")
    lines = ["[Bonuses]", f"BonusMaxTime={max_time}"]
    for name in BONUS_NAMES:
        cost, act = offered.get(name, (0, 0))
        lines += [f"WaitPeriod_{name}={cost}", f"ActPeriod_{name}={act}"]
    return "\n".join(lines) + "\n"


# A level offers no player bonus unless its generator names some.
BONUSES = bonus_balance(60000, {})


def balance(number, level_time, gold, silver, start, maximum, minute=10000, bonuses=BONUSES):
    """The balance file text; start and maximum are dicts of Worker, Food, Ore, Gold; bonuses is
    the "Bonuses" section (bonus_balance)."""
    def block(d):
        return "\n".join(f"{k}={d.get(k, 0)}" for k in ("Worker", "Food", "Ore", "Gold"))
    return f"""\
; Balance of level {number}: times in milliseconds. A generator produces once every MinuteTime.
[Main]
tLevelTime={level_time}
tGoldTime={gold}
tSilverTime={silver}
iEpisode=1
tScoreBonusPeriodMin=2000
tScoreBonusPeriodMax=6000
bIsFog=0
iWorkersSkin=0
MinuteTime={minute}

[Resources]
{block(start)}

[ResourcesMax]
{block(maximum)}

[ResourceHarvest]
Worker=0
Food=5
Ore=3
Gold=2

{bonuses}"""


def save_meadow(data, number, back):
    """Saves a level's painted background as data/anims/levelN/meadow.jpg with its catalogue block."""
    anims_dir = os.path.join(data, "anims", f"level{number}")
    os.makedirs(anims_dir, exist_ok=True)
    back.save(os.path.join(anims_dir, "meadow.jpg"), quality=88)
    write_block(data, f"level {number}", [animation_line(f"level{number}_meadow",
                                                         f"data/anims/level{number}/meadow.jpg", 1000, 1,
                                                         loop=False)])


def border(draw, w=1024, h=768, top=130):
    """Blocks the hills along the top and a thin frame round the map."""
    draw.rectangle([0, 0, w - 1, top - 1], fill=0)
    for box in ([0, top, 20, h - 1], [w - 21, top, w - 1, h - 1], [0, h - 20, w - 1, h - 1]):
        draw.rectangle(box, fill=0)


def save_grid(level_dir, blocked=(), ponds=(), trunks=(), trunk=(16, 12), paint=None):
    """The level's path grid grid.png, white where the workers may walk: the border blocks, then
    paint(draw) (rivers and the crossings over them), the boxes `blocked`, the ellipses in the boxes
    `ponds`, and an ellipse of half size `trunk` round each tree trunk in `trunks`."""
    mask = Image.new("L", (1024, 768), 255)
    d = ImageDraw.Draw(mask)
    border(d)
    if paint:
        paint(d)
    for box in blocked:
        d.rectangle(box, fill=0)
    for box in ponds:
        d.ellipse(box, fill=0)
    w, h = trunk
    for x, y in trunks:
        d.ellipse([x - w, y - h, x + w, y + h], fill=0)
    mask.save(os.path.join(level_dir, "grid.png"), optimize=True)


def own_section_last(path, section, text, write):
    """Drops `section` (compared without case) from the INI file at `path` and writes the file back
    with `text`, the section's new form, at its end: a generator keeps its own block in a document
    another one writes, and running it again changes nothing."""
    old = ""
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            old = f.read()
    out, skip = [], False
    for line in old.splitlines():
        if line.strip().startswith("["):
            skip = line.strip().lower() == "[" + section.lower() + "]"
        if not skip:
            out.append(line)
    while out and not out[-1].strip():
        out.pop()
    write(path, "\n".join(out) + ("\n\n" if out else "") + text)


def ini_sections(path):
    """The sections of an INI file as {name: body lines}, in file order; {} without the file."""
    found, name = {}, None
    if not os.path.exists(path):
        return found
    with open(path, encoding="utf-8") as f:
        for line in f.read().replace("\r\n", "\n").split("\n"):
            t = line.strip()
            if t.startswith("[") and t.endswith("]"):
                name = t[1:-1].strip()
                found[name] = []
            elif name is not None:
                found[name].append(line)
    for body in found.values():
        while body and not body[-1].strip():
            body.pop()
    return found


def write_keeping_others(path, text):
    """Writes an INI document whole but keeps the sections other generators have merged into it
    (those `text` does not define), so the generators can run in any order."""
    ours = {line.strip()[1:-1].strip().lower() for line in text.split("\n")
            if line.strip().startswith("[") and line.strip().endswith("]")}
    others = {n: body for n, body in ini_sections(path).items() if n.lower() not in ours}
    write(path, text)
    if others:
        merge_sections(path, others)


def merge_sections(path, sections, header=None):
    """Replaces the named sections of an INI file (adding those that are missing at its end) and
    keeps every other line, so a generator can add its entries to a file another one writes and
    running it again changes nothing. `sections` maps a section name to its body lines."""
    if os.path.dirname(path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
    lines = []
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            lines = f.read().replace("\r\n", "\n").split("\n")
    elif header:
        lines = header.split("\n")
    wanted = {k.lower(): k for k in sections}
    out, keep, done = [], True, set()
    for line in lines:
        t = line.strip()
        if t.startswith("[") and t.endswith("]"):
            name = t[1:-1].strip().lower()
            keep = name not in wanted
            if not keep:
                out.append(t)
                out.extend(sections[wanted[name]])
                out.append("")
                done.add(name)
        if keep:
            out.append(line)
    while out and not out[-1].strip():
        out.pop()
    for low, name in wanted.items():
        if low not in done:
            out += ["", f"[{name}]"] + list(sections[name])
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write("\n".join(out).rstrip("\n") + "\n")
