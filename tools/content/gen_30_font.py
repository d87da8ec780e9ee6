#!/usr/bin/env python3
"""Writes the demo's bitmap fonts and small library sprites into <target>/data/fonts/.

Each font is DejaVu Sans rendered into one PNG: one row of glyphs per colour variant, the variants
stacked top to bottom, each row one line tall. Next to it a glyph file ("fh") lists, after the
header "picture width, line height, glyph lines", one line per glyph: code, x, y, then the room
before the ink, the ink width and the room after it. Russian letters are written under their
single-byte Cyrillic codes (192..255 for А..я, 168 for Ё), which the engine also answers for the
Unicode letters; ё has no such alias and is written under its Unicode code.

fonts.ini names the fonts, the text font, two plain sprites (a turning coin of four frames and a
star) and one quality entry.
"""
import math
import os
import sys

from PIL import Image, ImageDraw, ImageFont

target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "demo"))
out_dir = os.path.join(target, "data", "fonts")
os.makedirs(out_dir, exist_ok=True)
DEJAVU = "/usr/share/fonts/truetype/dejavu/"


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(text)


def charset():
    """(code written in the glyph file, character drawn) pairs."""
    out = [(c, chr(c)) for c in range(32, 127)]
    for c in range(192, 256):
        out.append((c, bytes([c]).decode("cp1251")))  # А .. я
    out.append((168, "Ё"))
    out.append((0x451, "ё"))
    for ch in "«»—–…№’“”°":
        out.append((ord(ch), ch))
    return out


def coverage(font, ch, width, height, dx, dy):
    """The anti-aliased ink of one character as an 8-bit mask."""
    mask = Image.new("L", (width, height), 0)
    ImageDraw.Draw(mask).text((dx, dy), ch, font=font, fill=255, anchor="la")
    return mask


def solid(colour, mask):
    layer = Image.new("RGBA", mask.size, colour + (255,))
    layer.putalpha(mask)
    return layer


def make_font(name, ttf, size, variants, shadow, gap=2):
    """variants: list of RGB fill colours, one picture row each. shadow: RGB or None."""
    font = ImageFont.truetype(DEJAVU + ttf, size)
    ascent, descent = font.getmetrics()
    extra = 1 if shadow else 0
    line = ascent + descent + extra
    glyphs = []
    x = 0
    for code, ch in charset():
        advance = font.getlength(ch)
        if ch == " ":
            width, before, after, left = int(round(advance)), 0.0, 0.0, 0
        else:
            l, _, r, _ = font.getbbox(ch, anchor="la")
            left = l
            width = max(1, r - l) + extra
            before = float(l)
            after = advance - r - extra
        glyphs.append((code, ch, x, width, before, after, left))
        x += width + gap
    pic_w = x
    pic = Image.new("RGBA", (pic_w, line * len(variants)), (0, 0, 0, 0))
    for k, colour in enumerate(variants):
        top = k * line
        for code, ch, gx, width, before, after, left in glyphs:
            if ch == " ":
                continue
            ink = coverage(font, ch, width, line, -left, 0)
            cell = Image.new("RGBA", (width, line), (0, 0, 0, 0))
            if shadow:
                cell = Image.alpha_composite(cell, solid(shadow, coverage(font, ch, width, line, -left + 1, 1)))
            cell = Image.alpha_composite(cell, solid(colour, ink))
            pic.alpha_composite(cell, (gx, top))
    pic.save(os.path.join(out_dir, name + ".png"), optimize=True)
    lines = [f"{pic_w} {line} {len(glyphs)}"]
    for code, ch, gx, width, before, after, left in glyphs:
        lines.append(f"{code} {gx} 0 {before:.2f} {width} {after:.2f}")
    write(os.path.join(out_dir, name + ".fh"), "\n".join(lines) + "\n")
    return pic.size, line


def supersampled(size, paint):
    """Draws at four times the size and scales down, for smooth edges."""
    s = 4
    big = Image.new("RGBA", (size[0] * s, size[1] * s), (0, 0, 0, 0))
    paint(ImageDraw.Draw(big), s)
    return big.resize(size, Image.LANCZOS)


def make_coin():
    """A gold coin turning: four frames of 32 x 32 stacked top to bottom."""
    frames = []
    for k in range(4):
        squeeze = abs(math.cos(k * math.pi / 4))

        def paint(d, s, squeeze=squeeze):
            half = max(2.0, 14 * squeeze) * s
            cx, cy = 16 * s, 16 * s
            d.ellipse([cx - half, cy - 14 * s, cx + half, cy + 14 * s], fill=(150, 100, 20, 255))
            inner = max(1.0, half - 2.5 * s)
            d.ellipse([cx - inner, cy - 11.5 * s, cx + inner, cy + 11.5 * s], fill=(240, 196, 60, 255))
            if squeeze > 0.5:
                d.rectangle([cx - 1.5 * s * squeeze, cy - 6 * s, cx + 1.5 * s * squeeze, cy + 6 * s],
                            fill=(170, 120, 30, 255))

        frames.append(supersampled((32, 32), paint))
    strip = Image.new("RGBA", (32, 128), (0, 0, 0, 0))
    for k, f in enumerate(frames):
        strip.alpha_composite(f, (0, 32 * k))
    strip.save(os.path.join(out_dir, "coin.png"), optimize=True)


def make_star():
    def paint(d, s):
        pts = []
        for i in range(10):
            r = (15 if i % 2 == 0 else 6.5) * s
            a = -math.pi / 2 + i * math.pi / 5
            pts.append((16 * s + r * math.cos(a), 16 * s + r * math.sin(a)))
        d.polygon(pts, fill=(255, 226, 90, 255), outline=(160, 110, 20, 255))

    supersampled((32, 32), paint).save(os.path.join(out_dir, "star.png"), optimize=True)


small, small_line = make_font("sans16", "DejaVuSans.ttf", 16,
                              [(250, 245, 230), (255, 214, 90), (92, 58, 30), (150, 150, 150)],
                              shadow=(30, 20, 10))
big, big_line = make_font("sans26b", "DejaVuSans-Bold.ttf", 26, [(255, 250, 235), (255, 205, 70)],
                          shadow=(40, 25, 10))
make_coin()
make_star()

write(os.path.join(out_dir, "fonts.ini"), f"""\
; The sprite library. Every section is one entry, found by its section name:
;   name     picture file          alpha    separate alpha picture
;   font     0 sprite, 1 bitmap font (glyph file next to the picture, extension fh),
;            2 quality entry only (sets "quality" for the sprite of the section's name)
;   length   frames stacked top to bottom   time   animation steps per cycle
[TextFont]
; the font of hints and flying texts; 4 colour variants, {small_line} pixels a line
name=data/fonts/sans16.png
font=1

[BigFont]
; titles; 2 colour variants, {big_line} pixels a line
name=data/fonts/sans26b.png
font=1

[Coin]
name=data/fonts/coin.png
length=4
time=8

[Star]
name=data/fonts/star.png

[data/interface/board_outborder.jpg]
font=2
quality=1
""")
print(f"fonts: sans16 {small[0]}x{small[1]}, sans26b {big[0]}x{big[1]}")
