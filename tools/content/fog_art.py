"""The fog of war of a level, drawn from the level's background.

The game draws the fog as a grid of vertices 10 map pixels apart over the map, textured with a
grey copy of the background ("backgray.jpg", its alpha in "_backgray.png") and shaded by each
vertex's opacity. The opacities a level starts with come from a greyscale picture, "fog.png": white
is full fog, black is clear. The map compiler bakes it into map.bin (mapc build ... --fog fog.png),
and a level kept as map.ini alone reads the same picture when it loads.

    import fog_art
    fog_art.write_fog_files(level_dir, background, clear=[(205, 670, 240, 180)])
    fog_art.compile_map_with_fog(target, number, "gen_NN_name")
    ("Watchtower", dict(type="building", ..., **fog_art.fog_area(-60, -230, 320, 230)))
    problems = fog_art.check_fog_files(level_dir)        # [] when the game will take them
    fog_art.preview(level_dir, background, "/tmp/l5.png", opened=[(270, 290, 320, 230)])

The level's balance.ini needs bIsFog=1 in [Main]; without it the fog stays hidden. Fixed seeds:
every run gives the same pixels.
"""
import os
import random

from PIL import Image, ImageChops, ImageDraw, ImageEnhance, ImageFilter

MAP_SIZE = (1024, 768)
# One pixel per fog vertex: 104 columns (0 to 1030 px) and 79 rows of vertices (0 to 780 px).
VERTEX_SIZE = (104, 79)
CELL = 10
# A pale, slightly blue mist.
MIST_TINT = (214, 222, 232)


def _clouds(size, seed, scale, octaves=4):
    """Soft cloud noise (L, 0..255): blurred random blobs summed over a few sizes."""
    w, h = size
    rng = random.Random(seed)
    out = Image.new("L", size, 128)
    weight = 1.0
    for o in range(octaves):
        step = max(4, int(scale / (2 ** o)))
        layer = Image.new("L", size, 128)
        d = ImageDraw.Draw(layer)
        for _ in range(int(w * h / (step * step) * 1.5) + 1):
            x, y = rng.uniform(-step, w + step), rng.uniform(-step, h + step)
            r = rng.uniform(0.5, 1.2) * step
            v = int(128 + rng.uniform(-90, 90))
            d.ellipse([x - r, y - r, x + r, y + r], fill=v)
        layer = layer.filter(ImageFilter.GaussianBlur(step * 0.6))
        out = Image.blend(out, layer, weight / (1.0 + weight))
        weight *= 0.6
    return ImageEnhance.Contrast(out).enhance(1.8)


def grey_background(background, seed=9):
    """The grey copy the mist is drawn with: the map's shapes, colourless and pale, under drifting
    cloud streaks, with the mist's faint blue. `background` is the level's 1024 x 768 RGB picture."""
    back = background.convert("RGB").resize(MAP_SIZE, Image.LANCZOS)
    grey = ImageEnhance.Color(back).enhance(0.0)
    grey = ImageEnhance.Contrast(grey).enhance(0.45)
    grey = ImageEnhance.Brightness(grey).enhance(1.45).filter(ImageFilter.GaussianBlur(3))
    tint = Image.new("RGB", MAP_SIZE, MIST_TINT)
    grey = ImageChops.multiply(grey, tint)
    # Brighter streaks where the clouds are thick, so the veil is not a flat wash. Painted at twice
    # the size and reduced, for soft edges.
    clouds = _clouds((MAP_SIZE[0] // 2, MAP_SIZE[1] // 2), seed, 90).resize(MAP_SIZE, Image.BICUBIC)
    light = Image.new("RGB", MAP_SIZE, (246, 248, 252))
    mask = clouds.point(lambda v: max(0, min(255, int((v - 110) * 1.4))))
    return Image.composite(light, grey, mask)


def grey_alpha(seed=10, base=228, depth=26):
    """The alpha of the grey background: nearly opaque, a little thinner in the cloud gaps, so the
    map shows faintly through the veil."""
    clouds = _clouds((MAP_SIZE[0] // 2, MAP_SIZE[1] // 2), seed, 110).resize(MAP_SIZE, Image.BICUBIC)
    lo = base - depth
    return clouds.point(lambda v: max(0, min(255, lo + int(v * depth * 2 / 255))))


def fog_picture(clear=(), blur=2.5, thin=()):
    """The starting opacities, one pixel per vertex: white (full fog) except the `clear` ellipses,
    given in map pixels as (x, y, radius x, radius y), black inside with a soft edge; `thin`
    ellipses (x, y, rx, ry, grey level) leave a lighter veil."""
    fog = Image.new("L", VERTEX_SIZE, 255)
    d = ImageDraw.Draw(fog)

    def box(x, y, rx, ry):
        return [x / CELL - rx / CELL, y / CELL - ry / CELL, x / CELL + rx / CELL, y / CELL + ry / CELL]

    for x, y, rx, ry, level in thin:
        d.ellipse(box(x, y, rx, ry), fill=level)
    for x, y, rx, ry in clear:
        d.ellipse(box(x, y, rx, ry), fill=0)
    return fog.filter(ImageFilter.GaussianBlur(blur)) if blur else fog


def write_fog_files(level_dir, background, clear=(), thin=(), seed=9):
    """Writes backgray.jpg, _backgray.png and fog.png into the level's folder."""
    os.makedirs(level_dir, exist_ok=True)
    grey_background(background, seed).save(os.path.join(level_dir, "backgray.jpg"), quality=88)
    grey_alpha(seed + 1).save(os.path.join(level_dir, "_backgray.png"), optimize=True)
    fog_picture(clear, thin=thin).save(os.path.join(level_dir, "fog.png"), optimize=True)


def fog_area(dx, dy, radius_x, radius_y=0):
    """The map object keys of a fog area: centred (dx, dy) from the object's anchor, radii in map
    pixels (radius_y 0: a circle). The area opens when the object's work is done (a building built
    or repaired, an obstacle cleared), or when the level starts for an object nobody works on."""
    keys = dict(isFogArea=1, fogAreaDeltaX=int(dx), fogAreaDeltaY=int(dy), fogAreaRadius=int(radius_x))
    if radius_y:
        keys["fogAreaRadius2"] = int(radius_y)
    return keys


def open_ellipse(alphas, x, y, radius_x, radius_y=0):
    """Opens an area on a list of vertex opacities (79 rows of 104, 0..255) the way the game does:
    the centre moves to the middle of its 10-pixel cell; inside 0.2 of the normalised distance the
    fog clears, towards the rim it thins to at most 229; a vertex is never thickened."""
    rx, ry = float(radius_x), float(radius_y or radius_x)
    if rx < 1 or ry < 1:
        return
    cx, cy = x // CELL * CELL + CELL // 2, y // CELL * CELL + CELL // 2
    for r, row in enumerate(alphas):
        for c in range(len(row)):
            dx, dy = c * CELL - cx, r * CELL - cy
            u = dy * dy / (ry * ry) + dx * dx / (rx * rx)
            if u >= 1:
                continue
            target = 0 if u < 0.2 else int(min(1.0, max(0.0, 0.9 * 1.25 * (u - 0.2))) * 255)
            row[c] = min(row[c], target)


def preview(level_dir, background, out_path, opened=()):
    """A picture of the level as the game draws it: the background under the grey copy, shaded by
    the starting fog with the `opened` areas (x, y, radius x, radius y: the area centres, that is
    anchor plus offset) open. Vertex opacities are blended linearly between vertices, as on screen."""
    fog = Image.open(os.path.join(level_dir, "fog.png")).convert("L")
    if fog.size != VERTEX_SIZE:
        # Any other size is laid over the map: a vertex takes the pixel under it.
        w, h = fog.size
        fog = Image.frombytes("L", VERTEX_SIZE, bytes(
            fog.getpixel((min(w - 1, CELL * c * w // MAP_SIZE[0]), min(h - 1, CELL * r * h // MAP_SIZE[1])))
            for r in range(VERTEX_SIZE[1]) for c in range(VERTEX_SIZE[0])))
    alphas = [[fog.getpixel((c, r)) for c in range(VERTEX_SIZE[0])] for r in range(VERTEX_SIZE[1])]
    for area in opened:
        open_ellipse(alphas, *area)
    grid = Image.frombytes("L", VERTEX_SIZE, bytes(v for row in alphas for v in row))
    # Vertex c sits at x = 10c: stretch so vertex centres land on those pixels, then crop the map.
    span = ((VERTEX_SIZE[0] - 1) * CELL + 1, (VERTEX_SIZE[1] - 1) * CELL + 1)
    veil = grid.resize(span, Image.BILINEAR).crop((0, 0) + MAP_SIZE)
    grey = Image.open(os.path.join(level_dir, "backgray.jpg")).convert("RGB")
    alpha_path = os.path.join(level_dir, "_backgray.png")
    if os.path.exists(alpha_path):
        veil = ImageChops.multiply(veil, Image.open(alpha_path).convert("L"))
    back = background.convert("RGB").resize(MAP_SIZE)
    Image.composite(grey, back, veil).save(out_path)
    return out_path


def check_fog_files(level_dir):
    """What would keep the game from drawing the level's fog as meant, one text per problem."""
    problems = []
    grey_path, alpha_path = os.path.join(level_dir, "backgray.jpg"), os.path.join(level_dir, "_backgray.png")
    if not os.path.exists(grey_path):
        problems.append(f"{grey_path}: missing; the fog is drawn as a plain white veil")
    else:
        size = Image.open(grey_path).size
        if size != MAP_SIZE:
            problems.append(f"{grey_path}: {size[0]} x {size[1]}, the map is 1024 x 768")
        if os.path.exists(alpha_path) and Image.open(alpha_path).size != size:
            problems.append(f"{alpha_path}: not the size of backgray.jpg; the game ignores it")
    fog_path = os.path.join(level_dir, "fog.png")
    if not os.path.exists(fog_path):
        problems.append(f"{fog_path}: missing; mapc needs --fog, or every vertex gets --fog-value")
    balance_path = os.path.join(level_dir, "balance.ini")
    if os.path.exists(balance_path):
        with open(balance_path, encoding="utf-8-sig") as f:
            lines = [line.split(";")[0].strip().replace(" ", "").lower() for line in f]
        if not any(line.startswith("bisfog=") and line[7:] not in ("", "0") for line in lines):
            problems.append(f"{balance_path}: [Main] bIsFog is not set; the fog stays hidden")
    return problems


def compile_map_with_fog(target, number, who):
    """map.bin of a level from map.ini, grid.png and fog.png (as level_common.compile_map, with the
    level's own starting fog instead of full fog)."""
    import level_common
    level_common.compile_map(target, number, who, fog=True)


if __name__ == "__main__":
    # A preview: the fog files of a made-up meadow into the folder given (default /tmp/fog_preview).
    import sys
    out = sys.argv[1] if len(sys.argv) > 1 else "/tmp/fog_preview"
    meadow = Image.new("RGB", MAP_SIZE, (112, 170, 74))
    md = ImageDraw.Draw(meadow)
    md.ellipse([600, 300, 900, 500], fill=(74, 140, 200))
    md.rectangle([0, 0, 1024, 120], fill=(150, 190, 120))
    write_fog_files(out, meadow, clear=[(200, 650, 230, 170)], thin=[(700, 250, 200, 120, 150)])
    preview(out, meadow, os.path.join(out, "preview.png"), opened=[(700, 300, 220, 160)])
    print("wrote", ", ".join(sorted(os.listdir(out))), "to", out)
