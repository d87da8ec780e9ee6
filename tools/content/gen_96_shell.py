#!/usr/bin/env python3
"""Writes what the application shell shows of its own: the window icon (data/interface/icon.png,
a daisy on a green disc) and the leave-the-game question asked when Escape is pressed on the menu
(data/menu/leave.ini with its board picture). The buttons reuse the demo screen's pictures; the
six tracks of the music rotation are added to the sounds generator's data/snd/music.ini.

Pictures are drawn point by point here and written with zlib alone, the same on every run.
"""
import math
import os
import struct
import sys
import zlib

from demo_widgets import capped_button

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))
data = os.path.join(target, "data")


def write_png(path, w, h, pixel):
    """pixel(x, y) -> (r, g, b, a), each 0..255."""
    rows = bytearray()
    for y in range(h):
        rows.append(0)
        for x in range(w):
            rows.extend(bytes(pixel(x, y)))

    def chunk(kind, body):
        c = struct.pack(">I", len(body)) + kind + body
        return c + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    png += chunk(b"IEND", b"")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(png)


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(text)


def cover(d, edge):
    """Coverage of a point at signed distance d inside (negative) an edge, one pixel soft."""
    return max(0.0, min(1.0, edge - d + 0.5))


def mix(under, over, a):
    return tuple(int(round(u + (o - u) * a)) for u, o in zip(under, over))


# ---- Window icon: 64 x 64, a white daisy with a yellow heart on a green disc ----------------------
S = 64


def icon(x, y):
    cx = cy = (S - 1) / 2
    dx, dy = x - cx, y - cy
    r = math.hypot(dx, dy)
    disc = cover(r, 31.0)
    if disc <= 0:
        return (0, 0, 0, 0)
    col = mix((58, 122, 52), (96, 168, 74), max(0.0, min(1.0, (cy - y) / S + 0.5)))
    # Eight petals: ellipses around the heart.
    ang = math.atan2(dy, dx)
    petal = 0.0
    for k in range(8):
        a = k * math.pi / 4
        px, py = math.cos(a) * 15, math.sin(a) * 15
        ex, ey = dx - px, dy - py
        u = ex * math.cos(a) + ey * math.sin(a)
        v = -ex * math.sin(a) + ey * math.cos(a)
        e = math.hypot(u / 11.0, v / 5.0)
        petal = max(petal, cover((e - 1.0) * 5.0, 0.0))
    col = mix(col, (250, 250, 244), petal)
    heart = cover(r, 8.0)
    col = mix(col, mix((250, 196, 40), (214, 140, 20), max(0.0, min(1.0, r / 8.0))), heart)
    return col + (int(round(255 * disc)),)


write_png(os.path.join(data, "interface", "icon.png"), S, S, icon)

# ---- The leave question: a wooden board with a darker rim --------------------------------------
BW, BH = 440, 200


def board(x, y):
    # Rounded rectangle, radius 18, with a 4-pixel rim and a soft grain.
    rad = 18.0
    qx = max(abs(x + 0.5 - BW / 2) - (BW / 2 - rad), 0.0)
    qy = max(abs(y + 0.5 - BH / 2) - (BH / 2 - rad), 0.0)
    d = math.hypot(qx, qy) - rad  # negative inside
    a = cover(d, 0.0)
    if a <= 0:
        return (0, 0, 0, 0)
    grain = 0.5 + 0.5 * math.sin(y * 0.35 + math.sin(x * 0.02) * 3.0)
    wood = mix((122, 82, 46), (146, 102, 60), grain)
    rim = 1.0 if d > -5.0 else 0.0
    col = mix(wood, (74, 46, 24), rim)
    return col + (int(round(255 * a)),)


write_png(os.path.join(data, "menu", "leave", "board.png"), BW, BH, board)

X0, Y0 = (1024 - BW) // 2, (768 - BH) // 2
write(os.path.join(data, "menu", "leave.ini"), f"""\
; The question asked when Escape is pressed on the menu. "Yes" leaves the game, "No" (or Escape)
; goes back to the menu; Enter answers "Yes". The windows are created in this order.
[Main]
x={X0}
y={Y0}
xs={BW}
ys={BH}
normal=data/menu/leave/board.png
font=data/fonts/sans16.png

[Question]
type=text
x={X0}
y={Y0 + 40}
xs={BW}
ys=40
name=Leave the game?
select=2
font=data/fonts/sans26b.png

{capped_button('Yes', X0 + 50, Y0 + 112, 150, 48, 'confirm')}
{capped_button('No', X0 + BW - 200, Y0 + 112, 150, 48, 'click')}""")

# ---- The music rotation: F8 and the levels play "music1" to "music6" of the music script. The
# demo has two tunes; the rotation takes them in turn. Added to the script the sounds generator
# writes, once.
music_ini = os.path.join(data, "snd", "music.ini")
if os.path.exists(music_ini):
    with open(music_ini, encoding="utf-8") as f:
        text = f.read()
    if "[music1]" not in text:
        tracks = "".join(
            f"\n[music{n}]\nmusic=data/snd/{'level' if n % 2 else 'menu'}.ogg\nloop=0\n" for n in range(1, 7))
        with open(music_ini, "a", encoding="utf-8", newline="\n") as f:
            f.write("\n; The rotation F8 moves on (written by gen_96_shell.py).\n" + tracks.lstrip("\n"))

print("shell: data/interface/icon.png, data/menu/leave.ini and its board, the music rotation")
