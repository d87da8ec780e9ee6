"""Painting helpers the menu generators share: drawing supersampled and scaled down, a vertical
gradient inside a rounded box, and a layer composited over a picture."""
from PIL import Image, ImageDraw


def supersampled(size, paint, scale):
    """Calls paint(draw, image) on a transparent picture `scale` times the size and returns it scaled
    down to `size`, so edges come out smooth."""
    big = Image.new("RGBA", (size[0] * scale, size[1] * scale), (0, 0, 0, 0))
    paint(ImageDraw.Draw(big), big)
    return big.resize(size, Image.LANCZOS)


def gradient(img, box, top, bottom, radius):
    """Fills the rounded box with colours running from `top` to `bottom`."""
    x0, y0, x1, y1 = box
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    for y in range(int(y0), int(y1) + 1):
        t = (y - y0) / max(1, y1 - y0)
        d.line([(x0, y), (x1, y)], fill=tuple(int(a + (b - a) * t) for a, b in zip(top, bottom)) + (255,))
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(box, radius=radius, fill=255)
    img.paste(layer, (0, 0), mask)


def overlay(img, paint):
    """Calls paint(draw) on a transparent layer and composites it over `img`."""
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    paint(ImageDraw.Draw(layer))
    img.alpha_composite(layer)


# The boards' looks: the shadow's alpha, the wood's top and bottom colours, the distance between
# planks, the plank lines' alpha, the longest grain stroke and how many strokes.
PLAYERS_WOOD = dict(shadow=100, top=(146, 100, 60), bottom=(108, 70, 40), step=46, line=150, longest=180, grains=90)
OPTIONS_WOOD = dict(shadow=110, top=(150, 104, 62), bottom=(110, 72, 40), step=52, line=140, longest=170, grains=110)


def planked_board(d, img, w, h, rng, scale, offset=(0, 0), look=PLAYERS_WOOD):
    """Paints a planked wooden board with a dark rim, grain and four nails into the supersampled
    picture, inside (offset, offset + w x h) in final pixels."""
    S = scale
    ox, oy = offset[0] * S, offset[1] * S
    m = 6 * S
    d.rounded_rectangle([ox + m + 6 * S, oy + m + 8 * S, ox + w * S - m + 6 * S, oy + h * S - m + 8 * S],
                        radius=26 * S, fill=(20, 30, 10, look["shadow"]))
    box = [ox + m, oy + m, ox + w * S - m, oy + h * S - m]
    d.rounded_rectangle(box, radius=26 * S, fill=(66, 42, 22, 255))
    inner = [box[0] + 9 * S, box[1] + 9 * S, box[2] - 9 * S, box[3] - 9 * S]
    gradient(img, inner, look["top"], look["bottom"], 20 * S)

    def planks(g):
        step = look["step"] * S
        y = inner[1] + step
        while y < inner[3] - 10 * S:
            g.line([(inner[0], y), (inner[2], y)], fill=(70, 44, 22, look["line"]), width=2 * S)
            y += step
        longest = min(look["longest"], w // 3)
        for _ in range(look["grains"]):
            gy = rng.randrange(inner[1] + 6 * S, inner[3] - 6 * S)
            gx = rng.randrange(inner[0] + 8 * S, inner[2] - longest * S)
            g.line([(gx, gy), (gx + rng.randrange(longest * 2 // 5, longest) * S, gy + rng.randrange(-2, 3) * S)],
                   fill=(84, 54, 30, 70), width=S)

    overlay(img, planks)
    d = ImageDraw.Draw(img)
    for cx, cy in [(box[0] + 22 * S, box[1] + 22 * S), (box[2] - 22 * S, box[1] + 22 * S),
                   (box[0] + 22 * S, box[3] - 22 * S), (box[2] - 22 * S, box[3] - 22 * S)]:
        d.ellipse([cx - 5 * S, cy - 5 * S, cx + 5 * S, cy + 5 * S], fill=(70, 66, 70, 255))
        d.ellipse([cx - 3 * S, cy - 4 * S, cx + 1 * S, cy], fill=(150, 150, 160, 255))


def hanging_sign(size, scale):
    """The sign above a dialog's board: a darker plank on two ropes, with the nails they hang from."""
    S = scale
    w, h = size

    def paint(d, img):
        for rx in (w * S // 4, w * S * 3 // 4):
            d.line([(rx, 0), (rx, 16 * S)], fill=(196, 170, 110, 255), width=3 * S)
        d.rounded_rectangle([0, 12 * S, w * S - 1, h * S - 1], radius=14 * S, fill=(58, 36, 18, 255))
        gradient(img, [5 * S, 17 * S, w * S - 5 * S, h * S - 5 * S], (120, 78, 40), (92, 58, 30), 10 * S)
        for rx in (w * S // 4, w * S * 3 // 4):
            d.ellipse([rx - 4 * S, 16 * S, rx + 4 * S, 24 * S], fill=(200, 190, 170, 255))

    return supersampled(size, paint, S)
