#!/usr/bin/env python3
"""Adds the effects of the screens that end a level and of the story window to the effects
catalogue data/fx/pyroeffects.ini (after gen_80_fx.py has written it, so it runs later):
"StarTrail" follows a star flying onto the statistics board, "StarHit" bursts where it lands, and
"StoryEyes" twinkles in a speaker's eyes. They reuse the demo's sparkle and flare effect files."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from level_common import merge_sections  # noqa: E402

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))
fx = os.path.join(target, "data", "fx")

merge_sections(os.path.join(fx, "pyroeffects.ini"), {
    "StarTrail": ["name=data/fx/sparkles.pfx"],
    "StarHit": ["name=data/fx/task_flare.pfx"],
    "StoryEyes": ["name=data/fx/sparkles.pfx", "startTimeout=0"],
})
print("end screen effects: StarTrail, StarHit and StoryEyes in data/fx/pyroeffects.ini")
