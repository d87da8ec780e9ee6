#!/usr/bin/env python3
"""Fails when an include points upward across the engine's layers or the game's areas.

Each area may include its own headers and those of the areas below it. Run by ctest as
"layers"; with --list it prints the layer order it checks.
"""
import os
import re
import sys

# Lowest first. Areas on one line are side by side: neither may include the other.
LAYERS = [
    ["platform"],
    ["base"],
    ["files"],
    ["gfx", "sound"],
    ["anim"],
    ["ui"],
    ["app"],
    ["game"],
]

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SOURCE = (".h", ".hpp", ".cpp", ".cc", ".inl")


def area_of(path):
    """The area a repository path belongs to: its first folder, or None outside the layers."""
    head = path.split("/", 1)[0]
    for rank, areas in enumerate(LAYERS):
        if head in areas:
            return head, rank
    return None, None


def check(root):
    problems = []
    for top in [a for layer in LAYERS for a in layer]:
        base = os.path.join(root, top)
        for folder, _, names in os.walk(base):
            for name in sorted(names):
                if not name.endswith(SOURCE):
                    continue
                full = os.path.join(folder, name)
                rel = os.path.relpath(full, root).replace(os.sep, "/")
                area, rank = area_of(rel)
                with open(full, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        inc = m.group(1)
                        to_area, to_rank = area_of(inc)
                        if to_area is None or to_area == area:
                            continue
                        if to_rank >= rank:
                            problems.append(f"{rel}:{number}: {area} includes {inc} ({to_area} is not below {area})")
    return problems


def self_test():
    """The check itself must catch an upward include and pass a downward one."""
    import tempfile

    def tree(files):
        root = tempfile.mkdtemp()
        for rel, text in files.items():
            os.makedirs(os.path.join(root, os.path.dirname(rel)), exist_ok=True)
            with open(os.path.join(root, rel), "w") as f:
                f.write(text)
        return root

    down = tree({"gfx/a.cpp": '#include "files/file.h"\n#include "gfx/a.h"\n#include <vector>\n',
                 "game/g.cpp": '#include "app/app.h"\n#include "ui/fx_gallery.h"\n'})
    up = tree({"files/file.cpp": '#include "base/diag.h"\n  #  include "app/app.h"\n'})
    side = tree({"gfx/b.cpp": '#include "sound/sound.h"\n'})
    roots = [down, up, side]
    results = [check(r) for r in roots]
    import shutil
    for r in roots:
        shutil.rmtree(r, ignore_errors=True)
    expected = [0, 1, 1]
    if [len(r) for r in results] != expected or "files/file.cpp:2:" not in results[1][0]:
        print("check_layers self-test failed:", results)
        return 1
    print("check_layers self-test passed")
    return 0


def main():
    if "--self-test" in sys.argv:
        return self_test()
    root = sys.argv[1] if len(sys.argv) > 1 and not sys.argv[1].startswith("-") else os.path.join(os.path.dirname(__file__), "..")
    if "--list" in sys.argv:
        print(" < ".join("/".join(layer) for layer in LAYERS))
        return 0
    problems = check(os.path.abspath(root))
    for p in problems:
        print(p)
    if problems:
        print(f"{len(problems)} include(s) point upward across the layers")
        return 1
    print("every include points down the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
