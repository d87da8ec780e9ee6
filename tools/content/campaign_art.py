"""Pictures of the campaign's obstacles, generators, pick-ups, creature, merchant and mine.

Every picture is centred on its object's anchor (the middle of its ground line), like the
buildings of building_art.py, and drawn large and shrunk once with fixed seeds. Each state an
object can be in has its own clear look: a broken garden has a fallen fence and bare brown bushes,
a working one is green and red with berries; a stone is grey rubble, a dry tree a bare grey trunk.
"""
import math
import random

from PIL import Image

from building_art import INK, Canvas, ground, planks, shade, stones

LEAF = [(62, 124, 50, 255), (76, 142, 58, 255), (54, 108, 44, 255)]
DEAD = [(130, 104, 60, 255), (112, 90, 52, 255), (146, 120, 72, 255)]
BERRY = (210, 36, 70, 255)
WOOD = (170, 122, 70, 255)
DARK_WOOD = (120, 80, 46, 255)
GOLD = (246, 196, 60, 255)
ORE = (230, 140, 50, 255)


def stack(frames):
    """Frames of one size stacked top to bottom, as the catalogue cuts a strip."""
    w, h = frames[0].size
    out = Image.new("RGBA", (w, h * len(frames)), (0, 0, 0, 0))
    for i, f in enumerate(frames):
        out.paste(f, (0, i * h))
    return out


def _bush(c, x, y, r, rng, dead=False, berries=6):
    for _ in range(9):
        dx, dy, rr = rng.uniform(-r * 0.6, r * 0.6), rng.uniform(-r * 0.5, r * 0.3), rng.uniform(r * 0.45, r * 0.7)
        c.ellipse(x + dx - rr, y + dy - rr - r * 0.4, x + dx + rr, y + dy + rr - r * 0.4, rng.choice(DEAD if dead else LEAF))
    if dead:
        for _ in range(4):
            a = rng.uniform(-2.6, -0.5)
            c.line([(x, y - r * 0.2), (x + math.cos(a) * r * 1.1, y - r * 0.2 + math.sin(a) * r * 1.1)], DARK_WOOD, 1)
        return
    for _ in range(berries):
        bx, by = x + rng.uniform(-r * 0.7, r * 0.7), y - r * 0.4 + rng.uniform(-r * 0.6, r * 0.4)
        c.ellipse(bx - 2.2, by - 2.2, bx + 2.2, by + 2.2, BERRY, (120, 20, 40, 255), 0.6)


def _fence(c, x0, x1, y, broken, rng):
    posts = [x0 + i * (x1 - x0) / 6 for i in range(7)]
    for i, px in enumerate(posts):
        if broken and i in (2, 3, 5):
            c.line([(px, y), (px + 12, y - 3)], DARK_WOOD, 2.2)  # lies in the grass
            continue
        lean = rng.uniform(-3, 3) if broken else 0
        c.line([(px, y), (px + lean, y - 16)], DARK_WOOD, 2.2)
    if broken:
        c.line([(posts[0], y - 10), (posts[1] + 2, y - 8)], WOOD, 1.6)
        c.line([(posts[4], y - 11), (posts[6], y - 4)], WOOD, 1.6)
    else:
        for h in (6, 12):
            c.line([(posts[0], y - h), (posts[-1], y - h)], WOOD, 1.6)


def garden(level=0, broken=False):
    """The food generator: a fenced berry garden with a basket; more beds and a scarecrow by
    level. Broken: the fence is down, the bushes are bare and brown, weeds grow."""
    c = Canvas(140, 80)
    rng = random.Random(11 + level)
    ground(c, 64, 12)
    c.ellipse(-56, -26, 56, 6, (120, 86, 52, 255))  # tilled bed
    for k in range(4):
        c.line([(-46 + k * 4, -20 + k * 6), (46 - k * 4, -20 + k * 6)], (100, 70, 42, 255), 1)
    spots = [(-34, -8), (-8, -12), (20, -8), (40, -2)]
    if level >= 1:
        spots += [(-22, 2), (8, 2)]
    for x, y in spots:
        _bush(c, x, y, 12, rng, dead=broken, berries=6 + 2 * level)
    _fence(c, -62, 62, 10, broken, rng)
    if broken:
        for _ in range(10):
            x = rng.uniform(-55, 55)
            c.line([(x, 6), (x + rng.uniform(-4, 4), -4)], (96, 120, 56, 255), 1)
    else:
        # The basket of picked berries at the gate.
        c.ellipse(-66, -2, -46, 10, (170, 120, 60, 255), INK, 1)
        for i in range(5):
            c.ellipse(-63 + i * 3, -4, -59 + i * 3, 0, BERRY)
    if level >= 2 and not broken:
        # The scarecrow keeping the birds off the biggest crop.
        c.line([(54, 4), (54, -50)], DARK_WOOD, 2.4)
        c.line([(42, -36), (66, -36)], DARK_WOOD, 2)
        c.rect(46, -40, 62, -20, (60, 110, 170, 255), INK, 1)
        c.ellipse(48, -56, 60, -42, (236, 204, 96, 255), INK, 1)
        c.poly([(44, -52), (64, -52), (54, -62)], (150, 70, 56, 255), INK, 1)
    return c.result()


def berry_pop_strip(frames=6, w=48, h=56):
    """Produce rising from a working garden: three berries hop up and fade, one after another."""
    out = []
    for k in range(frames):
        c = Canvas(w, h // 2)
        for j in range(3):
            t = ((k + j * 2) % frames) / frames
            x = -12 + j * 12 + 4 * math.sin(t * 6)
            y = 10 - 34 * t
            a = int(255 * (1 - t))
            c.ellipse(x - 3, y - 3, x + 3, y + 3, BERRY[:3] + (a,), (120, 20, 40, a), 0.6)
            c.ellipse(x - 1.5, y - 2, x, y - 0.5, (255, 220, 230, a))
        out.append(c.result())
    return stack(out)


def ore_pit(level=0):
    """The ore generator: a pit with a windlass over it and a heap of ore; from level 1 a cart of
    ore, from level 2 a small smelting oven with a chimney."""
    c = Canvas(150, 96)
    rng = random.Random(21 + level)
    ground(c, 70, 14)
    c.ellipse(-34, -14, 26, 10, (60, 44, 34, 255), INK, 1)  # the pit
    c.ellipse(-28, -10, 20, 6, (30, 22, 18, 255))
    c.line([(-30, 0), (-26, -44)], DARK_WOOD, 3)
    c.line([(22, 0), (18, -44)], DARK_WOOD, 3)
    c.line([(-30, -40), (22, -40)], WOOD, 3)
    c.rect(-10, -44, 4, -36, (110, 110, 110, 255), INK, 1)  # the drum
    c.line([(-3, -36), (-3, -6)], (200, 190, 160, 255), 1)
    c.rect(-8, -8, 2, -2, (140, 96, 52, 255), INK, 1)  # the bucket
    for _ in range(14):  # the heap
        x, y = rng.uniform(30, 58), rng.uniform(-8, 8)
        c.poly([(x, y), (x + 6, y - 3), (x + 8, y + 3), (x + 2, y + 5)], (140, 138, 134, 255), INK, 0.6)
        c.ellipse(x + 2, y - 1, x + 5, y + 2, ORE)
    if level >= 1:
        c.rect(-66, -14, -40, -2, WOOD, INK, 1)
        c.ellipse(-64, -4, -56, 4, DARK_WOOD, INK, 1)
        c.ellipse(-50, -4, -42, 4, DARK_WOOD, INK, 1)
        for i in range(4):
            c.ellipse(-64 + i * 6, -20, -58 + i * 6, -13, ORE, INK, 0.6)
    if level >= 2:
        stones(c, 34, 62, -46, -12, 7)
        c.rect(42, -30, 54, -16, (255, 150, 40, 255), INK, 1)  # the glowing mouth
        stones(c, 52, 60, -70, -46, 8)
    return c.result()


def ore_glow_strip(frames=6, w=32, h=40):
    """Sparks over a working ore pit: orange glints that rise and flicker."""
    out = []
    for k in range(frames):
        c = Canvas(w, h // 2)
        for j in range(4):
            t = ((k + j * 1.5) % frames) / frames
            x = -9 + j * 6 + 3 * math.sin(k + j)
            y = 12 - 30 * t
            a = int(255 * (1 - t))
            c.ellipse(x - 2, y - 2, x + 2, y + 2, (255, 190, 80, a))
        out.append(c.result())
    return stack(out)


def stone(seed):
    """A grey boulder in the way, with moss on its top."""
    c = Canvas(80, 56)
    rng = random.Random(seed)
    ground(c, 34, 8)
    pts = [(-32, 4), (-30, -20), (-14, -40 + rng.uniform(-6, 4)), (8, -44 + rng.uniform(-4, 6)), (28, -26), (32, 4)]
    c.poly(pts, (132, 130, 126, 255), INK, 1.2)
    c.poly([(-14, -40), (8, -44), (28, -26), (6, -24)], (168, 166, 160, 255))
    c.poly([(-14, -40), (2, -42), (-2, -34)], (96, 140, 70, 255))
    for _ in range(5):
        x, y = rng.uniform(-22, 20), rng.uniform(-24, -2)
        c.line([(x, y), (x + rng.uniform(4, 9), y + rng.uniform(-3, 3))], (90, 88, 86, 255), 0.8)
    return c.result()


def dry_tree():
    """A dead tree across the path: a bare grey trunk with broken, leafless branches."""
    c = Canvas(110, 120)
    rng = random.Random(31)
    ground(c, 30, 8)
    bark = (120, 108, 96, 255)
    c.poly([(-9, 2), (-6, -70), (6, -70), (10, 2)], bark, INK, 1.2)

    def branch(x, y, a, length, width, depth):
        x2, y2 = x + math.cos(a) * length, y + math.sin(a) * length
        c.line([(x, y), (x2, y2)], bark, width)
        if depth:
            for da in (-0.5, 0.45):
                branch(x2, y2, a + da + rng.uniform(-0.2, 0.2), length * 0.62, width * 0.6, depth - 1)

    branch(0, -66, -1.57, 26, 5, 3)
    branch(0, -48, -2.6, 28, 4, 2)
    branch(0, -40, -0.5, 30, 4, 2)
    c.line([(-8, -10), (-20, -6)], bark, 3)  # a snapped stump of a branch
    return c.result()


def food_bonus():
    """A basket heaped with berries and two apples, with a white glint: food to pick up."""
    c = Canvas(44, 36)
    ground(c, 18, 5)
    c.poly([(-16, -12), (16, -12), (12, 4), (-12, 4)], (170, 120, 60, 255), INK, 1)
    for i in range(4):
        c.line([(-15 + i * 10, -11), (-11 + i * 8, 3)], (130, 86, 40, 255), 1)
    rng = random.Random(41)
    for _ in range(12):
        x, y = rng.uniform(-13, 13), rng.uniform(-20, -12)
        c.ellipse(x - 2.6, y - 2.6, x + 2.6, y + 2.6, BERRY, (120, 20, 40, 255), 0.6)
    c.ellipse(-8, -24, 0, -16, (200, 40, 40, 255), INK, 0.8)
    c.ellipse(2, -25, 10, -17, (120, 190, 60, 255), INK, 0.8)
    c.ellipse(-6, -23, -4, -21, (255, 255, 255, 255))
    return c.result()


def gold_bonus():
    """Stacks of gold coins on a small cloth: gold to pick up."""
    c = Canvas(44, 36)
    ground(c, 18, 5)
    c.ellipse(-18, -4, 18, 6, (150, 40, 60, 255), INK, 0.8)
    for sx, n in ((-8, 5), (4, 3), (11, 2)):
        for i in range(n):
            y = 1 - i * 3
            c.ellipse(sx - 6, y - 2.5, sx + 6, y + 2.5, GOLD, (150, 100, 20, 255), 0.8)
    c.ellipse(-10, -14, -8, -12, (255, 255, 240, 255))
    return c.result()


def bonus_place():
    """Where a pick-up appears again: a checked picnic cloth on the grass with a ring of stones."""
    c = Canvas(64, 30)
    rng = random.Random(51)
    for k in range(10):
        a = k / 10 * 2 * math.pi
        x, y = 28 * math.cos(a), 12 * math.sin(a)
        g = rng.randint(140, 180)
        c.ellipse(x - 3.5, y - 2.5, x + 3.5, y + 2.5, (g, g - 4, g - 12, 255), INK, 0.6)
    c.poly([(-18, 0), (0, -8), (18, 0), (0, 8)], (240, 236, 226, 255), INK, 0.8)
    for i in range(-2, 3):
        c.line([(-18 + 4.5 * (i + 2), 0 - 2 * (i + 2)), (0 + 4.5 * (i + 2), 8 - 2 * (i + 2))], (200, 60, 60, 255), 1.2)
    return c.result()


def merchant_strip(kind, frames):
    """The money changer at his striped stall; "idle" breathes, "weigh" tips the scales, "count"
    flashes the coins on the counter."""
    out = []
    for k in range(frames):
        c = Canvas(110, 100)
        ground(c, 52, 10)
        planks(c, -44, -30, 44, 0, WOOD, 6)  # counter
        c.line([(-42, 0), (-42, -76)], DARK_WOOD, 3)
        c.line([(42, 0), (42, -76)], DARK_WOOD, 3)
        for i in range(6):  # the awning
            col = (200, 50, 50, 255) if i % 2 == 0 else (245, 240, 225, 255)
            c.poly([(-48 + i * 16, -76), (-32 + i * 16, -76), (-32 + i * 16, -62), (-48 + i * 16, -66)], col, INK, 0.8)
        bob = math.sin(k / frames * 2 * math.pi) * (1.0 if kind == "idle" else 0.4)
        # The merchant behind the counter: green coat, round hat, beard.
        c.rect(-14, -52 + bob, 6, -30, (50, 120, 80, 255), INK, 1)
        c.ellipse(-12, -66 + bob, 4, -50 + bob, (240, 196, 160, 255), INK, 1)
        c.ellipse(-11, -58 + bob, 3, -49 + bob, (220, 220, 220, 255))
        c.rect(-14, -70 + bob, 6, -64 + bob, (90, 50, 110, 255), INK, 1)
        # The scales on the counter.
        tilt = 4 * math.sin(k / frames * 2 * math.pi) if kind == "weigh" else 0
        c.line([(24, -30), (24, -46)], (90, 90, 96, 255), 1.4)
        c.line([(14, -46 - tilt), (34, -46 + tilt)], (90, 90, 96, 255), 1.4)
        c.ellipse(10, -40 - tilt, 18, -36 - tilt, GOLD, INK, 0.6)
        c.ellipse(30, -40 + tilt, 38, -36 + tilt, (140, 138, 134, 255), INK, 0.6)
        for i in range(3):
            shine = kind == "count" and (k + i) % 3 == 0
            c.ellipse(-36 + i * 7, -34, -30 + i * 7, -30, (255, 250, 200, 255) if shine else GOLD, INK, 0.6)
        out.append(c.result())
    return stack(out)


def gold_mine(exhausted=False):
    """The gold mine: a timber-framed tunnel mouth in a rocky mound, a cart of gold before it.
    Exhausted: boards nailed across the mouth and the cart empty."""
    c = Canvas(140, 100)
    rng = random.Random(61)
    ground(c, 66, 12)
    c.poly([(-66, 6), (-50, -50), (-16, -78), (24, -74), (56, -40), (66, 6)], (128, 118, 104, 255), INK, 1.2)
    for _ in range(10):
        x, y = rng.uniform(-50, 50), rng.uniform(-60, -6)
        c.line([(x, y), (x + 8, y + 2)], (100, 92, 82, 255), 0.8)
    c.poly([(-20, 4), (-20, -34), (0, -46), (20, -34), (20, 4)], (24, 18, 14, 255))
    c.line([(-22, 4), (-22, -36)], DARK_WOOD, 4)
    c.line([(22, 4), (22, -36)], DARK_WOOD, 4)
    c.line([(-26, -36), (26, -36)], WOOD, 4)
    if exhausted:
        for y in (-28, -16, -4):
            c.line([(-22, y), (22, y + 3)], WOOD, 3.5)
    c.rect(30, -14, 58, 0, (110, 110, 116, 255), INK, 1)  # the cart
    c.ellipse(32, -4, 40, 4, DARK_WOOD, INK, 1)
    c.ellipse(48, -4, 56, 4, DARK_WOOD, INK, 1)
    if not exhausted:
        for i in range(5):
            c.ellipse(31 + i * 5, -20, 37 + i * 5, -13, GOLD, (150, 100, 20, 255), 0.6)
        for x, y in ((-12, -20), (8, -28), (-4, -10)):
            c.ellipse(x - 2, y - 2, x + 2, y + 2, GOLD)
    return c.result()


def circle(kind, size=30):
    """The mine's harvest circle: the board, the empty board and its filling bar."""
    c = Canvas(size, size // 2)
    r = size / 2 - 2
    if kind == "board":
        c.ellipse(-r, -r, r, r, (70, 50, 30, 230), INK, 1)
        c.ellipse(-r + 3, -r + 3, r - 3, r - 3, (120, 90, 50, 230))
    elif kind == "empty":
        c.ellipse(-r, -r, r, r, (70, 50, 30, 230), INK, 1)
        c.ellipse(-r + 3, -r + 3, r - 3, r - 3, (40, 30, 20, 230))
    else:
        c.ellipse(-r + 3, -r + 3, r - 3, r - 3, (250, 210, 80, 200))
    return c.result()


def creature_strip(frames=4):
    """The bramble boar blocking the way: a dark bristly boar with tusks and red eyes that snorts
    and paws the ground."""
    out = []
    for k in range(frames):
        c = Canvas(96, 60)
        ground(c, 38, 8)
        s = math.sin(k / frames * 2 * math.pi)
        body = (70, 50, 40, 255)
        for lx in (-22, -10, 12, 24):
            lift = 3 * s if lx == 24 else 0
            c.line([(lx, -12), (lx, -lift)], shade(body, 0.8), 4)
        c.ellipse(-34, -44, 26, -8, body, INK, 1.2)
        for i in range(9):  # the bristles
            x = -28 + i * 6
            c.line([(x, -40), (x - 2, -50 - (i % 2) * 3)], (40, 30, 24, 255), 1.4)
        c.ellipse(16, -40 + s, 44, -16 + s, body, INK, 1.2)  # the head
        c.ellipse(36, -30 + s, 48, -20 + s, (150, 100, 90, 255), INK, 1)
        c.line([(38, -22 + s), (34, -32 + s)], (250, 246, 230, 255), 1.6)
        c.ellipse(28, -36 + s, 32, -32 + s, (230, 40, 30, 255))
        c.poly([(18, -40), (22, -50), (26, -40)], body, INK, 1)
        if k % 2:
            c.ellipse(48, -30, 54, -26, (230, 230, 230, 160))  # a snort
        out.append(c.result())
    return stack(out)


def warrior_hut():
    """The warrior hut: a round log hut with a shield on the door and crossed spears."""
    c = Canvas(120, 96)
    ground(c, 54, 10)
    planks(c, -40, -44, 40, 0, (150, 104, 60, 255), 7, vertical=False)
    c.poly([(-50, -40), (0, -86), (50, -40)], (130, 110, 70, 255), INK, 1.2)
    c.rect(-10, -26, 10, 0, (80, 56, 34, 255), INK, 1)
    c.ellipse(-9, -40, 9, -22, (180, 40, 40, 255), INK, 1)
    c.line([(0, -40), (0, -22)], GOLD, 1.6)
    c.line([(-9, -31), (9, -31)], GOLD, 1.6)
    for sx in (-1, 1):
        c.line([(sx * 18, 0), (sx * 36, -60)], DARK_WOOD, 2)
        c.poly([(sx * 36 - 2, -58), (sx * 38, -68), (sx * 36 + 3, -57)], (200, 200, 210, 255), INK, 0.6)
    return c.result()


# ---- Painted blocked ground over a level's background ----------------------------------------------

def paint_rocks(img, boxes, seed=5):
    """Grey boulders piled over each box (x0, y0, x1, y1) of a painted map: ground nobody crosses."""
    from PIL import ImageDraw
    d = ImageDraw.Draw(img)
    rng = random.Random(seed)
    for x0, y0, x1, y1 in boxes:
        d.rectangle([x0, y0 + 4, x1, y1], fill=(96, 92, 86))
        n = int((x1 - x0) * (y1 - y0) / 120) + 6
        for _ in range(n):
            x, y = rng.uniform(x0, x1), rng.uniform(y0 + 4, y1)
            r = rng.uniform(6, 14)
            g = rng.randint(110, 170)
            d.ellipse([x - r, y - r * 0.8, x + r, y + r * 0.8], fill=(g, g - 3, g - 10), outline=(70, 64, 58))
            d.ellipse([x - r * 0.5, y - r * 0.7, x + r * 0.1, y - r * 0.3], fill=(min(255, g + 40),) * 3)
    return img


def paint_hedges(img, boxes, seed=6):
    """Dense dark hedges over each box of a painted map."""
    from PIL import ImageDraw
    d = ImageDraw.Draw(img)
    rng = random.Random(seed)
    for x0, y0, x1, y1 in boxes:
        d.rectangle([x0, y0 + 4, x1, y1 - 2], fill=(50, 92, 40))
        for _ in range(int((x1 - x0) * (y1 - y0) / 60) + 10):
            x, y = rng.uniform(x0, x1), rng.uniform(y0, y1)
            r = rng.uniform(5, 11)
            c = tuple(int(a + (b - a) * rng.random()) for a, b in zip((50, 92, 40), (92, 146, 64)))
            d.ellipse([x - r, y - r, x + r, y + r], fill=c)
    return img
