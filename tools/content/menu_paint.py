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
