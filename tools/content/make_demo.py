#!/usr/bin/env python3
"""Builds the bundled demo content in demo/ (or the folder given) from scratch.

Every tools/content/gen_*.py is run in name order with the target folder as its argument; each one
writes one part of the content (settings, pictures, sounds, levels). The results are committed, so
players need none of the tools these generators use.
"""
import os
import subprocess
import sys

here = os.path.dirname(os.path.abspath(__file__))
target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "demo"))
os.makedirs(target, exist_ok=True)
for name in sorted(os.listdir(here)):
    if name.startswith("gen_") and name.endswith(".py"):
        print("content:", name)
        subprocess.run([sys.executable, os.path.join(here, name), target], check=True)
