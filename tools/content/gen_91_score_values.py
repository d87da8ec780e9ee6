#!/usr/bin/env python3
"""Writes the points a level awards (data/scores.ini, section "Main"): one value per deed the
scoring counts, from a collected resource to the star bonuses at the end. Big deeds (a building
upgraded, a bridge mended) are worth more than small ones (a stone rolled away); the star bonuses
make three stars clearly better than one.
"""
import os
import sys

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))

# In the order the game reads them.
VALUES = [
    ("collected_resource", 5),
    ("removed_resource_obstacles", 40),
    ("building_repaired", 100),
    ("mine_built", 150),
    ("building_upgraded", 150),
    ("roadcrack_repaired", 80),
    ("bridge_repaired", 120),
    ("stoneL_removed", 40),
    ("stoneXL_removed", 60),
    ("stoneXXL_removed", 80),
    ("evil_root_destroyed", 100),
    ("evil_stone_removed", 100),
    ("feather_picked", 50),
    ("berries_picked", 30),
    ("dry_tree_fallen", 60),
    ("wolf_driven_away", 120),
    ("evil_flower_driven_away", 120),
    ("spider_driven_away", 120),
    ("skeleton_driven_away", 120),
    ("ghost_driven_away", 120),
    ("necro_driven_away", 150),
    ("white_wolf_feeded", 120),
    ("resource_at_the_end", 2),
    ("three_stars_bonus", 1000),
    ("two_stars_bonus", 500),
    ("one_star_bonus", 200),
    ("one_second_bonus", 5),
    ("lakebridge_repaired", 120),
    ("frozenpath_repaired", 120),
    ("resources_exchanged", 60),
    ("snowball_removed", 80),
    ("drummer_burns", 100),
    ("troll_feeded", 120),
    ("mushroom_picked", 30),
    ("cave_searched", 80),
    ("witch_flew_away", 300),
    ("heart_picked", 100),
    ("yeti_driven_away", 150),
    ("statue_repaired", 150),
]


def main():
    lines = ["; Points a level awards for each deed, read once when the game starts.", "[Main]"]
    lines += ["%s=%d" % kv for kv in VALUES]
    path = os.path.join(target, "data", "scores.ini")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(("\n".join(lines) + "\n").encode("utf-8"))


if __name__ == "__main__":
    main()
