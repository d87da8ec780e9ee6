"""Pictures painted a few times larger than they are shown and shrunk, for smooth edges: the
generators draw in the shown picture's pixels and these helpers scale the numbers."""
from PIL import Image, ImageDraw, ImageFilter

SS = 4  # how many times larger a picture is painted than it is shown


def blank(w, h):
    """A transparent picture to paint a w x h one on."""
    return Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))


def canvas(w, h):
    """A blank picture and a pen on it."""
    img = blank(w, h)
    return img, ImageDraw.Draw(img)


def shrink(img, w, h):
    return img.resize((w, h), Image.LANCZOS)


def mix(a, b, t):
    """The colour a fraction `t` of the way from `a` to `b`."""
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(len(a)))


def s(*v):
    """Numbers (a box, a radius) in shown pixels to painted ones."""
    return [x * SS for x in v]


def P(*pts):
    """Points in shown pixels to painted ones."""
    return [(x * SS, y * SS) for x, y in pts]


def circle(d, cx, cy, r, **kw):
    d.ellipse([(cx - r) * SS, (cy - r) * SS, (cx + r) * SS, (cy + r) * SS], **kw)


def strip(frames, w, h, paint):
    """`frames` pictures of w x h one under the other, as the sprite reader cuts them; frame k is
    painted by paint(draw, img, k)."""
    out = Image.new("RGBA", (w, h * frames), (0, 0, 0, 0))
    for k in range(frames):
        img, d = canvas(w, h)
        paint(d, img, k)
        out.paste(shrink(img, w, h), (0, k * h))
    return out


def soft_shadow(img, radius, fill):
    """Lays a blurred rounded shadow, a little down and to the right, under the painted picture."""
    w, h = img.size
    shadow = Image.new("RGBA", img.size, (0, 0, 0, 0))
    ImageDraw.Draw(shadow).rounded_rectangle([3 * SS, 5 * SS, w - 1, h - 1], radius=radius * SS, fill=fill)
    img.alpha_composite(shadow.filter(ImageFilter.GaussianBlur(2 * SS)))


def gradient_layer(size, top, bottom):
    """An opaque layer of `size` running from colour `top` down to `bottom`, and a pen on it."""
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    w, h = size
    for y in range(h):
        t = y / max(1, h - 1)
        d.line([(0, y), (w, y)], fill=mix(top, bottom, t) + (255,))
    return layer, d
