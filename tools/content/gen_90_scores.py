#!/usr/bin/env python3
"""Writes the high-score table a new player sees before any result of their own
(data/menu/default_scores.ini): eight sections "Score0" to "Score7", each with the holder's
"name" and the "value", best first. The names are invented villagers of the demo, Latin and
Cyrillic alike, so the table shows both scripts the demo fonts carry.
"""
import os
import sys

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))

ENTRIES = [
    ("Marigold", 48000),
    ("Тимофей", 42000),
    ("Bramble", 36500),
    ("Василиса", 30000),
    ("Hazel", 24000),
    ("Fenwick", 18000),
    ("Ярослав", 12000),
    ("Pip", 6000),
]


def main():
    lines = []
    for i, (name, value) in enumerate(ENTRIES):
        lines += ["[Score%d]" % i, "name=%s" % name, "value=%d" % value, ""]
    path = os.path.join(target, "data", "menu", "default_scores.ini")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"\xef\xbb\xbf" + "\r\n".join(lines).encode("utf-8"))


if __name__ == "__main__":
    main()
