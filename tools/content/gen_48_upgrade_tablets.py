#!/usr/bin/env python3
"""Gives the demo's upgradable buildings their upgrade tablet (the trumpets' effect is added by
gen_99_trumpets_fx.py, after the effects catalogue is written).

- data/buildings/icons.ini (written by gen_45_persons_buildings.py): an "upgradeLevel" child for
  the granary, the ore pit and the barn (whose tablet counts its extra workers), drawn with the
  hints' "upgrade_tablet" picture (gen_73_hints.py); the level places it with the building's
  upgradeTabletDeltaX/Y, the child's own y is for levels that give none. Each list gains the
  child once, so running this again changes nothing.
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from level_common import merge_sections  # noqa: E402

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))
data = os.path.join(target, "data")
icons = os.path.join(data, "buildings", "icons.ini")

# Building subtype -> (tablet y when the level gives no offset, counts the barn's workers).
TABLETS = {"Granary": (-150, False), "OreGenerator": (-130, False), "barn": (-170, True)}


def section_lines(text, name):
    """The body lines of section `name` (compared without case) of an INI text."""
    body, inside = [], False
    for line in text.replace("\r\n", "\n").split("\n"):
        t = line.strip()
        if t.startswith("[") and t.endswith("]"):
            inside = t[1:-1].strip().lower() == name.lower()
            continue
        if inside and t:
            body.append(t)
    return body


with open(icons, encoding="utf-8") as f:
    text = f.read()

sections = {}
for owner, (y, for_barn) in TABLETS.items():
    child = f"{owner}_upgradeLevel"
    items = section_lines(text, owner)
    if not items:
        sys.exit(f"gen_48: {icons} has no list [{owner}]")
    numbers = [int(m.group(1)) for m in (re.match(r"(\d+)\s*=", i) for i in items) if m]
    if not any(i.split("=", 1)[1].strip() == child for i in items if "=" in i):
        items.append(f"{max(numbers, default=0) + 1}={child}")
    sections[owner] = items
    sections[child] = ["type=icon", "subType=upgradeLevel", "x=0", f"y={y}", "layer=22", "anim0=upgrade_tablet"] + (
        ["isForBarn=1"] if for_barn else [])
merge_sections(icons, sections)

print("upgrade tablets: Granary, OreGenerator, barn in data/buildings/icons.ini")
