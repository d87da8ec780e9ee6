"""Pictures of the demo's buildings, their signs, icons, cursors and small effect strips.

Every building picture is centred on the building's anchor (the middle of its ground line): the
canvas reaches as far below the anchor as above it, so it is drawn centred at the anchor with no
offset. Each look of a building is its own picture: finished, the site (stakes, string and a pile
of planks), the half-built walls in scaffolding, the broken look, and one per upgrade level.
Drawn large and shrunk once, with fixed seeds, so every run gives the same pixels.
"""
import math
import random

from PIL import Image, ImageDraw, ImageFilter

SS = 3


class Canvas:
    """A picture of w x 2*above pixels whose centre is the anchor; draw with anchor-relative
    coordinates in final pixels through p()."""

    def __init__(self, w, above):
        self.w, self.h = w, 2 * above
        self.ax, self.ay = w / 2, above
        self.img = Image.new("RGBA", (self.w * SS, self.h * SS), (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.img)

    def p(self, x, y):
        return ((self.ax + x) * SS, (self.ay + y) * SS)

    def poly(self, pts, fill, outline=None, width=1):
        if fill:
            self.d.polygon([self.p(x, y) for x, y in pts], fill=fill)
        if outline:
            q = [self.p(x, y) for x, y in pts]
            self.d.line(q + [q[0]], fill=outline, width=int(width * SS), joint="curve")

    def rect(self, x0, y0, x1, y1, fill, outline=None, width=1):
        self.poly([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], fill, outline, width)

    def line(self, pts, fill, width=1):
        self.d.line([self.p(x, y) for x, y in pts], fill=fill, width=max(1, int(width * SS)), joint="curve")

    def ellipse(self, x0, y0, x1, y1, fill, outline=None, width=1):
        self.d.ellipse([*self.p(x0, y0), *self.p(x1, y1)], fill=fill,
                       outline=outline, width=int(width * SS) if outline else 0)

    def clipped_lines(self, pts, lines, fill, width=1):
        """Draws lines only inside the polygon pts (roof courses, thatch)."""
        layer = Image.new("RGBA", self.img.size, (0, 0, 0, 0))
        ld = ImageDraw.Draw(layer)
        for a, b in lines:
            ld.line([self.p(*a), self.p(*b)], fill=fill, width=max(1, int(width * SS)))
        mask = Image.new("L", self.img.size, 0)
        ImageDraw.Draw(mask).polygon([self.p(x, y) for x, y in pts], fill=255)
        self.img.paste(layer, (0, 0), Image.composite(layer, Image.new("RGBA", self.img.size), mask).getchannel("A"))
        self.d = ImageDraw.Draw(self.img)

    def result(self):
        return self.img.resize((self.w, self.h), Image.LANCZOS)


def shade(c, f):
    return tuple(max(0, min(255, int(v * f))) for v in c[:3]) + (c[3] if len(c) > 3 else 255,)


INK = (60, 40, 28, 255)
GROUND = (150, 120, 80, 150)


def ground(c, hw, hh=7):
    c.ellipse(-hw, -hh, hw, hh, GROUND)


def planks(c, x0, y0, x1, y1, color, step=5, vertical=True):
    c.rect(x0, y0, x1, y1, color, INK, 1)
    dark = shade(color, 0.78)
    if vertical:
        x = x0 + step
        while x < x1 - 1:
            c.line([(x, y0 + 1), (x, y1 - 1)], dark, 0.8)
            x += step
    else:
        y = y0 + step
        while y < y1 - 1:
            c.line([(x0 + 1, y), (x1 - 1, y)], dark, 0.8)
            y += step


def window(c, x, y, w=12, h=11, lit=False):
    c.rect(x - w / 2, y - h / 2, x + w / 2, y + h / 2, (255, 214, 120, 255) if lit else (70, 96, 130, 255), INK, 1)
    c.line([(x, y - h / 2), (x, y + h / 2)], (245, 240, 225, 255), 1.2)
    c.line([(x - w / 2, y), (x + w / 2, y)], (245, 240, 225, 255), 1.2)


def stones(c, x0, x1, y0, y1, seed):
    rng = random.Random(seed)
    c.rect(x0, y0, x1, y1, (150, 146, 136, 255), INK, 1)
    y = y0
    row = 0
    while y < y1 - 1:
        x = x0 + (5 if row % 2 else 0)
        while x < x1:
            w = rng.uniform(8, 13)
            g = rng.randint(150, 190)
            c.rect(max(x0 + 0.5, x), y + 0.5, min(x1 - 0.5, x + w - 1), min(y1 - 0.5, y + 5.5), (g, g - 4, g - 14, 255))
            x += w
        y += 6
        row += 1


# ---- The cottage (built on its site) --------------------------------------------------------------

COTTAGE_W, COTTAGE_ABOVE = 124, 104
WALL = (238, 226, 200, 255)
THATCH = (196, 150, 72, 255)


def cottage_walls(c, top=-56, complete=True):
    """Front and side wall of the cottage from the ground line up to `top`."""
    c.poly([(40, 0), (54, -10), (54, -60 if top <= -56 else top - 4), (40, top)], shade(WALL, 0.8), INK)
    c.rect(-44, top, 40, 0, WALL, INK, 1)
    c.line([(-44, -2), (40, -2)], shade(WALL, 0.7), 2)
    if complete:
        c.rect(-10, -30, 8, 0, (120, 80, 46, 255), INK, 1)
        c.ellipse(3, -16, 6, -13, (230, 200, 80, 255))
        window(c, -28, -32, lit=True)
        window(c, 25, -32, lit=True)


def cottage_roof(c, broken=False):
    roof = [(-54, -52), (50, -52), (62, -62), (34, -98), (-30, -98)]
    c.poly(roof, THATCH, INK, 1.2)
    rng = random.Random(7)
    strokes = []
    for _ in range(60):
        x = rng.uniform(-50, 56)
        y = rng.uniform(-98, -56)
        strokes.append(((x, y), (x - 1.5, y + 6)))
    c.clipped_lines(roof, strokes, shade(THATCH, 0.8), 0.8)
    c.poly(roof, None, INK, 1.2)
    c.line([(-54, -52), (50, -52)], shade(THATCH, 0.6), 2)
    # Chimney on the right of the ridge.
    c.rect(22, -112, 32, -88, (170, 90, 70, 255), INK, 1)
    c.rect(20, -114, 34, -110, (140, 70, 56, 255), INK, 1)
    if broken:
        c.poly([(-20, -90), (6, -94), (12, -70), (-6, -62), (-18, -72)], (60, 44, 34, 255), INK, 1)
        for x in (-14, -6, 2):
            c.line([(x, -92), (x + 3, -64)], (150, 110, 60, 255), 1.5)


def cottage(broken=False):
    c = Canvas(COTTAGE_W, COTTAGE_ABOVE + 14)
    ground(c, 56)
    cottage_walls(c)
    cottage_roof(c, broken)
    if broken:
        c.line([(-30, -50), (-24, -40), (-30, -30), (-26, -20)], INK, 1.2)
        c.line([(30, -48), (26, -38)], INK, 1.2)
        c.rect(-10, -30, 8, 0, (90, 60, 36, 255), INK, 1)
        c.poly([(-10, -30), (8, -26), (8, -22), (-10, -26)], (120, 80, 46, 255), INK)
    return c.result()


def cottage_site():
    c = Canvas(COTTAGE_W, COTTAGE_ABOVE + 14)
    c.poly([(-44, 0), (40, 0), (54, -10), (-30, -10)], (176, 146, 100, 200))  # bare earth of the plot
    corners = [(-44, 0), (40, 0), (54, -10), (-30, -10)]
    for a, b in zip(corners, corners[1:] + corners[:1]):
        c.line([(a[0], a[1] - 9), (b[0], b[1] - 9)], (250, 250, 245, 255), 1.0)  # the string
    for x, y in corners:
        c.rect(x - 1.6, y - 16, x + 1.6, y + 1, (150, 104, 56, 255), INK, 0.8)  # stakes
        c.poly([(x - 2.2, y - 16), (x + 2.2, y - 16), (x + 2.2, y - 12), (x - 2.2, y - 12)], (230, 60, 50, 255))
    # A pile of planks and a few stones by the plot.
    for i in range(6):
        y = -1 - i * 3.6
        c.rect(-40 + i * 1.4, y - 3.6, 4 - i * 1.8, y, (214, 170, 110, 255) if i % 2 else (196, 150, 92, 255), INK, 0.8)
    for x, y, r in ((18, -3, 4), (25, -1, 3), (12, 0, 3)):
        c.ellipse(x - r, y - r * 0.8, x + r, y + r * 0.5, (160, 158, 150, 255), INK, 0.8)
    return c.result()


def cottage_scaffold():
    c = Canvas(COTTAGE_W, COTTAGE_ABOVE + 14)
    ground(c, 56)
    cottage_walls(c, top=-30, complete=False)
    # Rafters of the roof to come, and the scaffolding around the walls.
    wood = (150, 104, 56, 255)
    for x in (-40, -14, 12, 36):
        c.line([(x, -30), (x * 0.55, -96)], shade(wood, 0.9), 2)
    c.line([(-26, -96), (30, -96)], wood, 2.5)
    for x in (-50, -4, 46):
        c.line([(x, 4), (x, -72)], wood, 2.2)
    for y in (-36, -62):
        c.rect(-52, y - 2.5, 50, y, (214, 170, 110, 255), INK, 0.8)
    c.line([(-50, -36), (-4, -62)], wood, 1.4)
    c.line([(-4, -36), (46, -62)], wood, 1.4)
    # A ladder leaning on the front.
    c.line([(20, 4), (28, -60)], wood, 1.5)
    c.line([(28, 4), (36, -60)], wood, 1.5)
    for i in range(7):
        t = i / 7
        c.line([(20 + 8 * t + 0.5, 4 - 64 * t - 4), (28 + 8 * t, 4 - 64 * t - 4)], wood, 1.2)
    return c.result()


# ---- The granary (upgraded level by level) --------------------------------------------------------

GRANARY_W, GRANARY_ABOVE = 120, 140
BOARDS = (176, 120, 70, 255)
SHINGLE = (150, 70, 56, 255)


def granary(level, broken=False):
    c = Canvas(GRANARY_W, GRANARY_ABOVE + 12)
    ground(c, 54)
    wall_top = [-46, -62, -82][level]
    half = [30, 36, 40][level]
    if level >= 1:
        stones(c, -half, half, -16, 0, seed=level)
        planks(c, -half, wall_top, half, -16, BOARDS, step=6)
    else:
        planks(c, -half, wall_top, half, 0, BOARDS, step=6)
    c.poly([(half, 0), (half + 12, -8), (half + 12, wall_top - 8), (half, wall_top)], shade(BOARDS, 0.72), INK)
    if level == 2:
        c.line([(-half, -46), (half, -46)], INK, 1.2)  # the upper floor
        window(c, -20, -64, 11, 10)
        window(c, 20, -64, 11, 10)
    # Loft door with hay behind it, and the big door below.
    c.rect(-10, wall_top + 6, 10, wall_top + 20, (120, 80, 46, 255), INK, 1)
    c.rect(-8, wall_top + 12, 8, wall_top + 20, (236, 204, 96, 255))
    c.rect(-14, -26, 14, 0, (140, 92, 50, 255), INK, 1)
    c.line([(-14, -26), (14, 0)], (110, 70, 40, 255), 1.5)
    c.line([(14, -26), (-14, 0)], (110, 70, 40, 255), 1.5)
    roof_h = [30, 36, 44][level]
    roof = [(-half - 8, wall_top + 2), (half + 8, wall_top + 2), (half + 18, wall_top - 6),
            (half * 0.3 + 6, wall_top - roof_h), (-half * 0.3, wall_top - roof_h)]
    c.poly(roof, SHINGLE, INK, 1.2)
    c.clipped_lines(roof, [((-half - 10, wall_top + 2 - roof_h * i / 5), (half + 20, wall_top + 2 - roof_h * i / 5))
                           for i in range(1, 5)], shade(SHINGLE, 0.8), 1)
    c.poly(roof, None, INK, 1.2)
    if level == 2:
        # A weathervane on the ridge: the top level reads from afar.
        x = half * 0.15 + 3
        top = wall_top - roof_h
        c.line([(x, top), (x, top - 18)], INK, 1.2)
        c.poly([(x, top - 18), (x + 12, top - 15), (x, top - 12)], (230, 190, 60, 255), INK, 0.8)
    if level >= 1:
        for i, x in enumerate((-half - 18, -half - 10)):
            c.ellipse(x - 6, -12 + i * 2, x + 6, 0, (236, 204, 96, 255), INK, 0.8)  # hay bales
    if broken:
        c.poly([(-12, wall_top - 10), (8, wall_top - 20), (14, wall_top - 2), (-4, wall_top + 2)], (50, 36, 28, 255), INK)
        c.line([(-half + 4, -40), (-half + 12, -30), (-half + 6, -20)], INK, 1.2)
    return c.result()


# ---- The barn (the workers' home) -----------------------------------------------------------------

BARN_W, BARN_ABOVE = 188, 140
BARN_RED = (178, 52, 42, 255)


def barn(level):
    c = Canvas(BARN_W, BARN_ABOVE)
    ground(c, 88, 9)
    # The barn's base line lies 18 px below the anchor, so it stands on its obstacle rectangle.
    b = 18
    side = [(60, b), (84, b - 14), (84, -64), (60, -60)]
    c.poly(side, shade(BARN_RED, 0.75), INK)
    planks(c, -80, -60, 60, b, BARN_RED, step=7)
    for y in (-60, b):
        c.line([(-80, y), (60, y)], (245, 240, 230, 255), 2)
    c.line([(-80, -60), (-80, b)], (245, 240, 230, 255), 2)
    c.line([(60, -60), (60, b)], (245, 240, 230, 255), 2)
    # Gambrel roof.
    roof = [(-88, -56), (68, -56), (90, -66), (70, -90), (26, -112), (-34, -112), (-80, -88)]
    c.poly(roof, (110, 74, 58, 255), INK, 1.4)
    c.clipped_lines(roof, [((-90, -56 - 56 * i / 6), (92, -56 - 56 * i / 6)) for i in range(1, 6)],
                    (90, 60, 48, 255), 1)
    c.poly(roof, None, INK, 1.4)
    # Big double door with its white cross, in front of the support point.
    c.rect(8, -36, 52, b, (120, 40, 32, 255), INK, 1)
    for x0 in (8, 30):
        c.line([(x0, -36), (x0 + 22, b)], (245, 240, 230, 255), 1.6)
        c.line([(x0 + 22, -36), (x0, b)], (245, 240, 230, 255), 1.6)
    c.line([(30, -36), (30, b)], (245, 240, 230, 255), 1.6)
    c.rect(-60, -48, -36, -26, (90, 40, 30, 255), (245, 240, 230, 255), 1.6)  # loft hatch
    c.rect(-58, -42, -38, -28, (236, 204, 96, 255))
    if level >= 1:
        c.rect(-76, -20, -44, b, (120, 40, 32, 255), INK, 1)  # a lean-to door
        c.line([(-76, -20), (-44, b)], (245, 240, 230, 255), 1.4)
    if level >= 2:
        x, top = -4, -112
        c.line([(x, top), (x, top - 16)], INK, 1.2)
        c.poly([(x - 8, top - 16), (x + 8, top - 16), (x, top - 22)], (230, 190, 60, 255), INK, 0.8)
    return c.result()


# ---- Signs, icons and cursors ---------------------------------------------------------------------

def sign_strip(kind, frames=8, size=40):
    """A badge that pops up, bounces and fades: a green tick (yes) or a red cross (no)."""
    out = Image.new("RGBA", (size, size * frames), (0, 0, 0, 0))
    for k in range(frames):
        t = k / (frames - 1)
        scale = [0.3, 0.8, 1.12, 1.0, 1.0, 1.0, 0.92, 0.7][k]
        alpha = 255 if k < 6 else int(255 * (1 - (k - 5) / 3))
        big = Image.new("RGBA", (size * SS, size * SS), (0, 0, 0, 0))
        d = ImageDraw.Draw(big)
        cx = cy = size * SS / 2
        r = size * SS * 0.42 * scale
        d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(40, 30, 20, alpha))
        r2 = r * 0.88
        d.ellipse([cx - r2, cy - r2, cx + r2, cy + r2], fill=(252, 250, 240, alpha))
        w = max(1, int(r * 0.26))
        if kind == "yes":
            col = (46, 160, 60, alpha)
            d.line([(cx - r * 0.5, cy + r * 0.02), (cx - r * 0.12, cy + r * 0.42), (cx + r * 0.52, cy - r * 0.42)],
                   fill=col, width=w, joint="curve")
        else:
            col = (210, 46, 40, alpha)
            q = r * 0.42
            d.line([(cx - q, cy - q), (cx + q, cy + q)], fill=col, width=w)
            d.line([(cx - q, cy + q), (cx + q, cy - q)], fill=col, width=w)
        out.paste(big.resize((size, size), Image.LANCZOS), (0, k * size))
        del t
    return out


def badge(kind, size=26):
    """Icons over buildings: a small wooden sign with a hammer (build or repair me) or a green
    upward arrow (can be upgraded)."""
    big = Image.new("RGBA", (size * SS, size * SS), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    s = SS
    if kind == "broken":
        d.rounded_rectangle([2 * s, 2 * s, 24 * s, 20 * s], radius=3 * s, fill=(214, 170, 110, 255),
                            outline=(70, 46, 30, 255), width=s)
        d.line([(13 * s, 20 * s), (13 * s, 25 * s)], fill=(110, 76, 46, 255), width=2 * s)
        d.line([(8 * s, 16 * s), (17 * s, 7 * s)], fill=(120, 80, 46, 255), width=2 * s)
        d.polygon([(14 * s, 4 * s), (20 * s, 10 * s), (18 * s, 12 * s), (12 * s, 6 * s)], fill=(90, 96, 104, 255))
    else:
        d.ellipse([1 * s, 1 * s, 25 * s, 25 * s], fill=(40, 30, 20, 255))
        d.ellipse([2.5 * s, 2.5 * s, 23.5 * s, 23.5 * s], fill=(70, 180, 80, 255))
        d.polygon([(13 * s, 5 * s), (20 * s, 13 * s), (16 * s, 13 * s), (16 * s, 20 * s), (10 * s, 20 * s),
                   (10 * s, 13 * s), (6 * s, 13 * s)], fill=(250, 250, 240, 255))
    return big.resize((size, size), Image.LANCZOS)


def _arrow(d, s):
    # The same pointer as the normal cursor: tip at (7, 0), the hot spot.
    arrow = [(7 * s, 0.5 * s), (7 * s, 22 * s), (12 * s, 17.5 * s), (15.5 * s, 25 * s), (19 * s, 23.5 * s),
             (15.5 * s, 16 * s), (22 * s, 16 * s)]
    d.polygon(arrow, fill=(40, 30, 20, 255))
    inner = [(8.6 * s, 4 * s), (8.6 * s, 18.5 * s), (12.4 * s, 15 * s), (16 * s, 22.2 * s), (17.2 * s, 21.6 * s),
             (13.6 * s, 14.6 * s), (18.3 * s, 14.6 * s)]
    d.polygon(inner, fill=(250, 246, 225, 255))


def cursor_strip(kind, frames=6):
    """32 x 32 cursors: the pointer with a small tool at its tail that nods over the frames."""
    size = 32
    out = Image.new("RGBA", (size, size * frames), (0, 0, 0, 0))
    for k in range(frames):
        big = Image.new("RGBA", (size * SS, size * SS), (0, 0, 0, 0))
        d = ImageDraw.Draw(big)
        s = SS
        _arrow(d, s)
        a = math.sin(k / frames * 2 * math.pi)
        ox, oy = 22 * s, 24 * s
        if kind == "build":
            ang = -0.5 + 0.35 * a
            hx, hy = ox + math.cos(ang) * 8 * s, oy + math.sin(ang) * 8 * s
            d.line([(ox - math.cos(ang) * 2 * s, oy - math.sin(ang) * 2 * s), (hx, hy)], fill=(130, 88, 50, 255),
                   width=2 * s)
            px, py = -math.sin(ang) * 4 * s, math.cos(ang) * 4 * s
            d.line([(hx - px, hy - py), (hx + px, hy + py)], fill=(70, 74, 82, 255), width=3 * s)
        elif kind == "gather":
            by = oy + a * 0.8 * s
            d.rounded_rectangle([ox - 5 * s, by, ox + 7 * s, by + 6 * s], radius=2 * s, fill=(170, 120, 60, 255),
                                outline=(70, 46, 30, 255), width=s)
            d.arc([ox - 4 * s, by - 5 * s, ox + 6 * s, by + 3 * s], 180, 360, fill=(120, 80, 40, 255), width=s)
            for bx in (-2, 1, 4):
                d.ellipse([ox + (bx - 1.4) * s, by - 1.6 * s, ox + (bx + 1.4) * s, by + 1.2 * s], fill=(200, 40, 90, 255))
        elif kind == "repair":
            ang = 0.6 + 0.3 * a
            ex, ey = ox + math.cos(ang) * 9 * s, oy + math.sin(ang) * 9 * s
            d.line([(ox, oy), (ex, ey)], fill=(110, 116, 126, 255), width=2 * s)
            d.ellipse([ex - 3 * s, ey - 3 * s, ex + 3 * s, ey + 3 * s], fill=(110, 116, 126, 255))
            d.ellipse([ex - 1.2 * s, ey - 1.2 * s, ex + 1.2 * s, ey + 1.2 * s], fill=(0, 0, 0, 0))
        else:  # upgrade
            up = a * 1.2 * s
            d.polygon([(ox + 2 * s, oy - 6 * s - up), (ox + 8 * s, oy - up), (ox + 5 * s, oy - up),
                       (ox + 5 * s, oy + 6 * s - up), (ox - 1 * s, oy + 6 * s - up), (ox - 1 * s, oy - up),
                       (ox - 4 * s, oy - up)], fill=(60, 170, 70, 255), outline=(30, 70, 30, 255))
        out.paste(big.resize((size, size), Image.LANCZOS), (0, k * size))
    return out


# ---- Small effect strips for the animation scripts -----------------------------------------------

def _strip(frames, w, h, paint, ground=(0, 0, 0, 0)):
    """A vertical strip of `frames` pictures of w x h: paint(draw, k) draws frame k at SS times the
    size on a canvas filled with `ground`, which is then scaled down smoothly."""
    out = Image.new("RGBA", (w, h * frames), (0, 0, 0, 0))
    for k in range(frames):
        big = Image.new("RGBA", (w * SS, h * SS), ground)
        paint(ImageDraw.Draw(big), k)
        out.paste(big.resize((w, h), Image.LANCZOS), (0, k * h))
    return out


def smoke_strip(frames=12, w=28, h=56):
    """Chimney smoke: three puffs rising and growing, evenly spaced in time so the cycle loops."""

    def paint(d, k):
        for j in range(3):
            t = ((k / frames) + j / 3) % 1.0
            y = (h - 6 - t * (h - 14)) * SS
            x = (w / 2 + math.sin(t * 5 + j) * 3 + t * 5) * SS
            r = (3 + t * 7) * SS
            a = int(170 * (1 - t))
            d.ellipse([x - r, y - r, x + r, y + r], fill=(225, 225, 228, a))

    return _strip(frames, w, h, paint)


def joy_flag_strip(frames=8, w=36, h=48):
    """A little flag that shoots up on its pole and flutters."""

    def paint(d, k):
        rise = min(1.0, (k + 1) / 3)
        top = h - 4 - rise * (h - 8)
        d.line([(8 * SS, (h - 2) * SS), (8 * SS, top * SS)], fill=(110, 80, 50, 255), width=2 * SS)
        pts_t, pts_b = [], []
        for i in range(13):
            x = 9 + i * 2
            y = top + 1 + math.sin(i / 12 * 3 + k * 1.3) * 1.8 * (i / 12)
            pts_t.append((x * SS, y * SS))
            pts_b.append((x * SS, (y + 10 - i * 0.35) * SS))
        d.polygon(pts_t + pts_b[::-1], fill=(60, 120, 220, 255))
        d.line(pts_t, fill=(250, 220, 70, 255), width=SS)

    return _strip(frames, w, h, paint)


def stars_strip(frames=8, w=64, h=64):
    """Gold sparkles bursting out and fading (drawn for additive blending: dark is no light)."""
    rng = random.Random(11)
    dirs = [(rng.uniform(0, 2 * math.pi), rng.uniform(0.6, 1.0)) for _ in range(9)]

    def paint(d, k):
        t = (k + 1) / frames
        for ang, sp in dirs:
            x = (w / 2 + math.cos(ang) * sp * t * 26) * SS
            y = (h / 2 + math.sin(ang) * sp * t * 26) * SS
            r = (3.5 * (1 - t) + 1) * SS
            g = int(255 * (1 - t * 0.7))
            col = (g, int(g * 0.85), int(g * 0.35), 255)
            d.polygon([(x, y - r * 2), (x + r * 0.5, y), (x, y + r * 2), (x - r * 0.5, y)], fill=col)
            d.polygon([(x - r * 2, y), (x, y - r * 0.5), (x + r * 2, y), (x, y + r * 0.5)], fill=col)

    return _strip(frames, w, h, paint, ground=(0, 0, 0, 255))


def dust_strip(frames=6, w=40, h=24):
    """Dust kicked up by hammering at the foot of a building."""
    rng = random.Random(5)
    puffs = [(rng.uniform(-12, 12), rng.uniform(0.5, 1.0)) for _ in range(5)]

    def paint(d, k):
        t = k / frames
        for dx, sp in puffs:
            x = (w / 2 + dx * (0.4 + t)) * SS
            y = (h - 5 - t * 10 * sp) * SS
            r = (2 + t * 5) * SS
            d.ellipse([x - r, y - r, x + r, y + r], fill=(200, 180, 140, int(150 * (1 - t))))

    return _strip(frames, w, h, paint)


def focus_strip(frames=8, w=28, h=40):
    """A golden arrow bobbing over a building that has something to offer."""

    def paint(d, k):
        dy = (1 - math.cos(k / frames * 2 * math.pi)) * 4
        pts = [(9, 4), (19, 4), (19, 18), (25, 18), (14, 32), (3, 18), (9, 18)]
        d.polygon([(x * SS, (y + dy) * SS) for x, y in pts], fill=(250, 204, 60, 255), outline=(110, 70, 20, 255),
                  width=SS)
        d.line([(11 * SS, (7 + dy) * SS), (11 * SS, (18 + dy) * SS)], fill=(255, 240, 170, 255), width=SS)

    return _strip(frames, w, h, paint)


def trumpets_strip(frames=6, w=64, h=40):
    """Two golden trumpets sounding a fanfare, with rings of sound swelling from their bells."""

    def paint(d, k):
        for sgn in (-1, 1):
            cx = w / 2
            mouth = (cx - sgn * 6, 30)
            bell = (cx + sgn * 20, 12)
            d.line([(mouth[0] * SS, mouth[1] * SS), (bell[0] * SS, bell[1] * SS)], fill=(230, 180, 50, 255),
                   width=3 * SS)
            d.ellipse([(bell[0] - 5) * SS, (bell[1] - 5) * SS, (bell[0] + 5) * SS, (bell[1] + 5) * SS],
                      fill=(250, 210, 80, 255), outline=(140, 90, 20, 255), width=SS)
            r = 7 + (k % 3) * 3
            d.arc([(bell[0] - r) * SS, (bell[1] - r) * SS, (bell[0] + r) * SS, (bell[1] + r) * SS],
                  -80 if sgn > 0 else 170, 10 if sgn > 0 else 260, fill=(255, 250, 220, 220), width=SS)

    return _strip(frames, w, h, paint)


# Animation-script states the buildings share. The joy: a flag shoots up over the roof while gold
# sparkles burst around the building ({fx}, {fy}: the flag; {sy}: the sparkles).
JOY = """[WorkerJoy]
period=2000
1=JoyFlag
2=JoyStars

[JoyFlag]
anim=joy_flag
x={fx}
y={fy}
layer=2
isCycle=1

[JoyStars]
anim=joy_stars
y={sy}
layer=3
timeMax=0.6
"""
# Dust at the building's foot while a person works on it.
DUST = """[WorkerOperation]
period=1200
isCycle=1
1=OperationDust

[OperationDust]
anim=work_dust
y=6
layer=1
isCycle=1
"""


def building_icons(sub, top, side):
    """The child templates of a building of subtype `sub`, as INI sections (name: body lines) in
    file order. `top` is the height of its top over the anchor, `side` how far its sides reach:
    the build/repair sign stands at the left side, the upgrade arrow at the right, the focus arrow
    and the trumpets over the top."""
    children = ["brokenicon", "upgradeicon", "hint", "focusMarker", "UpgradeTrumpets", "upgradeHint"]
    return {
        sub: ["isList=1"] + [f"{i + 1}={sub}_{c}" for i, c in enumerate(children)],
        f"{sub}_brokenicon": ["type=icon", "subType=brokenicon", f"x={-side}", "y=-24", "layer=20",
                              "anim0=icon_build"],
        f"{sub}_upgradeicon": ["type=icon", "subType=upgradeicon", f"x={side}", "y=-40", "layer=20",
                               "anim0=icon_upgrade"],
        f"{sub}_hint": ["type=icon", "subType=hint", f"y={top}", "layer=30"],
        f"{sub}_focusMarker": ["type=icon", "subType=focusMarker", f"y={top - 12}", "layer=19",
                               "anim0=focus_marker"],
        f"{sub}_UpgradeTrumpets": ["type=icon", "subType=UpgradeTrumpets", f"y={top - 48}", "layer=21",
                                   "anim0=upgrade_trumpets"],
        f"{sub}_upgradeHint": ["type=icon", "subType=upgradeHint", f"y={top - 10}", "layer=30"],
    }
