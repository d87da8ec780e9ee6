"""The demo's worker: a small figure in a straw hat and blue overalls, posed frame by frame.

A pose places the feet, hands and a few body values in the figure's own space (x to its left,
y up from the ground, z forward); a view turns the figure about the vertical axis and projects it,
so one pose gives every facing. Parts are drawn back to front by their depth, large and then
shrunk, and the finished frame gets a thin dark outline so the figure reads on grass.
"""
import math

from PIL import Image, ImageDraw, ImageFilter

FRAME_W, FRAME_H = 32, 80  # the feet stand on the centre row, so the anchor is where the worker stands
FEET_Y = 40
SS = 4

SKIN = (240, 196, 160, 255)
SHIRT = (196, 58, 48, 255)
SHIRT_DARK = (150, 40, 34, 255)
DENIM = (52, 92, 170, 255)
DENIM_DARK = (36, 64, 128, 255)
BOOT = (80, 52, 32, 255)
STRAW = (236, 204, 96, 255)
STRAW_DARK = (186, 148, 56, 255)
BAND = (170, 40, 40, 255)
HAIR = (110, 70, 40, 255)
EYE = (40, 30, 30, 255)
WOOD = (140, 96, 52, 255)
IRON = (90, 96, 104, 255)
SACK = (190, 160, 110, 255)
SACK_DARK = (150, 120, 80, 255)
BASKET = (170, 120, 60, 255)
BERRY = (200, 40, 90, 255)


class Pose:
    """Joint positions in the figure's space; anything not set keeps a standing default."""

    def __init__(self, **kw):
        self.bob = 0.0          # whole body up
        self.lean = 0.0         # shoulders and head forward (z)
        self.crouch = 0.0       # hips down
        self.foot_l = (2.4, 0.0, 0.0)
        self.foot_r = (-2.4, 0.0, 0.0)
        self.knee_fwd = 0.6     # how far the knees bend forward
        self.hand_l = (5.6, 13.0, 0.6)
        self.hand_r = (-5.6, 13.0, 0.6)
        self.tool = None        # "hammer", "hat", "bag", "basket"
        self.tool_angle = 0.0   # hammer: radians in the figure's y-z plane, 0 = pointing forward
        self.hat_on = True
        self.smile = False
        self.__dict__.update(kw)


def _view(theta):
    c, s = math.cos(theta), math.sin(theta)

    def project(p):
        x, y, z = p
        return (x * c + z * s, y, z * c - x * s)  # screen x, height, depth toward the viewer

    return project, c, s


def draw_frame(pose, theta):
    """One RGBA frame of FRAME_W x FRAME_H for the pose seen at view angle theta (0 = facing us)."""
    project, cos_t, sin_t = _view(theta)
    big = Image.new("RGBA", (FRAME_W * SS, FRAME_H * SS), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)

    def scr(p):
        sx, h, _ = project(p)
        return ((FRAME_W / 2 + sx) * SS, (FEET_Y - h) * SS)

    def depth(*pts):
        return sum(project(p)[2] for p in pts) / len(pts)

    def limb(a, b, width, fill):
        pa, pb = scr(a), scr(b)
        d.line([pa, pb], fill=fill, width=int(width * SS))
        r = width * SS / 2
        for p in (pa, pb):
            d.ellipse([p[0] - r, p[1] - r, p[0] + r, p[1] + r], fill=fill)

    def disc(p, r, fill, ry=None):
        cx, cy = scr(p)
        ry = r if ry is None else ry
        d.ellipse([cx - r * SS, cy - ry * SS, cx + r * SS, cy + ry * SS], fill=fill)

    # Shadow on the ground under the feet.
    d.ellipse([(FRAME_W / 2 - 8) * SS, (FEET_Y - 2.2) * SS, (FRAME_W / 2 + 8) * SS, (FEET_Y + 2.2) * SS],
              fill=(0, 0, 0, 70))

    up = pose.bob
    hip_y = 13.0 - pose.crouch + up
    sh_y = 23.0 - pose.crouch + up
    head_y = 28.6 - pose.crouch + up
    lean = pose.lean
    hip_l, hip_r = (2.2, hip_y, 0.0), (-2.2, hip_y, 0.0)
    sh_l, sh_r = (4.6, sh_y - 0.6, lean * 0.8), (-4.6, sh_y - 0.6, lean * 0.8)
    head = (0.0, head_y, lean)

    parts = []  # (depth, painter)

    def leg(hip, foot):
        knee = ((hip[0] + foot[0]) / 2, (hip[1] + foot[1]) / 2 + 0.3,
                (hip[2] + foot[2]) / 2 + pose.knee_fwd + pose.crouch * 0.5)
        toe = (foot[0], foot[1] + 0.6, foot[2] + 2.0)

        def paint():
            limb(hip, knee, 3.4, DENIM)
            limb(knee, (foot[0], foot[1] + 1.2, foot[2]), 3.2, DENIM)
            limb((foot[0], foot[1] + 0.8, foot[2] - 0.4), toe, 2.6, BOOT)
        return depth(hip, knee, foot), paint

    def arm(sh, hand, side):
        out = 1.0 if side > 0 else -1.0
        elbow = ((sh[0] + hand[0]) / 2 + out * 1.2, (sh[1] + hand[1]) / 2 - 0.8, (sh[2] + hand[2]) / 2 - 0.3)

        def paint():
            limb(sh, elbow, 2.6, SHIRT)
            limb(elbow, hand, 2.4, SHIRT)
            disc(hand, 1.35, SKIN)
        return depth(sh, elbow, hand) + 0.01 * side, paint

    def torso():
        def ring(y, zc, hx, hz):
            cx, _, _ = project((0.0, y, zc))
            e = abs(hx * cos_t) + abs(hz * sin_t)
            return cx, e

        def paint():
            yb, yt = hip_y - 1.0, sh_y
            cb, eb = ring(yb, 0.0, 4.2, 2.6)
            ct, et = ring(yt, lean * 0.8, 5.0, 2.6)
            ym = hip_y + 6.0
            cm, em = ring(ym, lean * 0.5, 4.6, 2.6)
            to = lambda x, y: ((FRAME_W / 2 + x) * SS, (FEET_Y - y) * SS)
            d.polygon([to(cb - eb, yb), to(cb + eb, yb), to(ct + et, yt), to(ct - et, yt)], fill=SHIRT)
            d.polygon([to(cb - eb, yb), to(cb + eb, yb), to(cm + em, ym), to(cm - em, ym)], fill=DENIM)
            # Bib and straps on the side we see.
            bx = (0.0, ym, lean * 0.5 + (2.7 if cos_t >= 0 else -2.7))
            if abs(cos_t) > 0.3:
                bib_c, _, _ = project(bx)
                w = 2.6 * abs(cos_t)
                d.polygon([to(bib_c - w, ym), to(bib_c + w, ym), to(bib_c + w * 0.9, ym + 3.2),
                           to(bib_c - w * 0.9, ym + 3.2)], fill=DENIM)
                for sx in (-2.0, 2.0):
                    a = project((sx, ym + 3.0, bx[2]))
                    b = project((sx * 1.5, sh_y - 0.2, lean * 0.8 + (1.5 if cos_t >= 0 else -1.5)))
                    d.line([to(a[0], a[1]), to(b[0], b[1])], fill=DENIM_DARK, width=int(0.9 * SS))
            else:
                s = project((0.0, ym, lean * 0.5))
                d.line([to(s[0], ym + 3.0), to(ct, sh_y - 0.3)], fill=DENIM_DARK, width=int(1.0 * SS))
        return 0.0, paint

    def head_paint():
        disc(head, 4.3, SKIN)
        hp, hh, hd = project(head)
        facing = cos_t  # 1 front, -1 back
        if facing < -0.2:
            # The back of the head: hair under the hat.
            cx, cy = scr((0.0, head_y - 0.6, lean))
            d.ellipse([cx - 4.0 * SS, cy - 2.6 * SS, cx + 4.0 * SS, cy + 3.2 * SS], fill=HAIR)
        else:
            for ex in (-1.6, 1.6):
                e = (ex, head_y + 0.3, lean + 3.9)
                if project(e)[2] > hd + 0.6:
                    disc(e, 0.62, EYE)
            if pose.smile and facing > 0.3:
                cx, cy = scr((0.0, head_y - 1.6, lean + 4.0))
                d.arc([cx - 1.6 * SS, cy - 1.2 * SS, cx + 1.6 * SS, cy + 1.0 * SS], 20, 160, fill=EYE,
                      width=int(0.6 * SS))
            # A nose that shows which way the face turns.
            disc((0.0, head_y - 0.6, lean + 4.3), 0.75, (226, 160, 128, 255))
        if pose.hat_on:
            hat(head_y, lean, (0.0, 0.0))
        else:
            cx, cy = scr((0.0, head_y + 2.2, lean))
            d.ellipse([cx - 4.2 * SS, cy - 2.6 * SS, cx + 4.2 * SS, cy + 1.6 * SS], fill=HAIR)

    def hat(base_y, z, shift):
        cx, cy = scr((shift[0], base_y + 2.6 + shift[1], z))
        d.ellipse([cx - 7.2 * SS, cy - 1.9 * SS, cx + 7.2 * SS, cy + 1.9 * SS], fill=STRAW_DARK)
        d.ellipse([cx - 6.8 * SS, cy - 1.6 * SS, cx + 6.8 * SS, cy + 1.4 * SS], fill=STRAW)
        d.rounded_rectangle([cx - 3.9 * SS, cy - 4.6 * SS, cx + 3.9 * SS, cy + 0.2 * SS], radius=int(1.6 * SS),
                            fill=STRAW)
        d.rectangle([cx - 3.9 * SS, cy - 1.4 * SS, cx + 3.9 * SS, cy - 0.3 * SS], fill=BAND)

    def hammer_paint():
        h = pose.hand_r
        a = pose.tool_angle
        tip = (h[0], h[1] + 6.0 * math.sin(a), h[2] + 6.0 * math.cos(a))
        limb(h, tip, 1.2, WOOD)
        n = (-math.sin(a) * 0 + 0.0, math.cos(a), -math.sin(a))  # across the handle
        h1 = (tip[0], tip[1] + 1.8 * n[1], tip[2] + 1.8 * n[2])
        h2 = (tip[0], tip[1] - 1.8 * n[1], tip[2] - 1.8 * n[2])
        limb(h1, h2, 2.0, IRON)

    def bag_paint():
        disc((0.0, sh_y - 1.0, lean - 4.4), 5.0, SACK_DARK, ry=5.6)
        disc((0.0, sh_y - 0.6, lean - 4.6), 4.5, SACK, ry=5.0)
        cx, cy = scr((0.0, sh_y + 4.2, lean - 4.6))
        d.line([(cx - 1.5 * SS, cy), (cx + 1.5 * SS, cy)], fill=SACK_DARK, width=int(1.0 * SS))

    def basket_paint():
        b = (5.5, 1.8, 4.0)
        cx, cy = scr(b)
        d.rounded_rectangle([cx - 3.6 * SS, cy - 2.2 * SS, cx + 3.6 * SS, cy + 2.0 * SS], radius=int(1.2 * SS),
                            fill=BASKET)
        d.arc([cx - 3.0 * SS, cy - 6.0 * SS, cx + 3.0 * SS, cy + 1.0 * SS], 180, 360, fill=BASKET,
              width=int(0.8 * SS))
        for bx in (-1.6, 0.2, 1.8):
            d.ellipse([cx + (bx - 0.9) * SS, cy - 3.0 * SS, cx + (bx + 0.9) * SS, cy - 1.2 * SS], fill=BERRY)

    parts.append(leg(hip_l, pose.foot_l))
    parts.append(leg(hip_r, pose.foot_r))
    parts.append(torso())
    parts.append(arm(sh_l, pose.hand_l, 1))
    parts.append(arm(sh_r, pose.hand_r, -1))
    parts.append((depth(head) + 0.5, head_paint))
    if pose.tool == "hammer":
        parts.append((depth(pose.hand_r) + 0.02, hammer_paint))
    elif pose.tool == "bag":
        parts.append((depth((0.0, sh_y, lean - 4.5)), bag_paint))
    elif pose.tool == "basket":
        parts.append((depth((5.5, 1.8, 4.0)), basket_paint))
    elif pose.tool == "hat":
        h = pose.hand_r
        parts.append((depth(h) + 0.03, lambda: hat(h[1] - 1.0, h[2], (h[0], 0.0))))
    for _, paint in sorted(parts, key=lambda t: t[0]):
        paint()

    small = big.resize((FRAME_W, FRAME_H), Image.LANCZOS)
    return outline(small)


def outline(img):
    """Adds a one-pixel dark rim around the figure (not around its soft shadow)."""
    alpha = img.getchannel("A")
    solid = alpha.point(lambda a: 255 if a > 110 else 0)
    grown = solid.filter(ImageFilter.MaxFilter(3))
    rim = Image.new("RGBA", img.size, (40, 28, 20, 0))
    rim.putalpha(grown.point(lambda a: 200 if a else 0))
    out = Image.alpha_composite(rim, img)
    return out


# ---- Poses -----------------------------------------------------------------------------------------

def walk(k, n, bag=False):
    p = k / n * 2 * math.pi
    s, c = math.sin(p), math.cos(p)
    pose = Pose(bob=0.5 * abs(c), lean=0.8 if not bag else 1.4,
                foot_l=(2.4, max(0.0, 1.6 * c), 3.6 * s), foot_r=(-2.4, max(0.0, -1.6 * c), -3.6 * s),
                hand_l=(5.4, 13.5, -3.0 * s), hand_r=(-5.4, 13.5, 3.0 * s))
    if bag:
        pose.tool = "bag"
        pose.hand_r = (-3.6, 25.0, -2.2)  # holds the sack over the shoulder
    return pose


def stay(k, n):
    return Pose(bob=0.35 * math.sin(k / n * 2 * math.pi))


def stay2(k, n):
    # Scratches the head under the hat, then lets the arm fall again.
    t = [0.0, 0.5, 1.0, 1.0, 1.0, 1.0, 0.5, 0.0][k % 8]
    wob = 0.6 * math.sin(k * 2.1) if 2 <= k <= 5 else 0.0
    hand = (-5.6 + t * 3.0 + wob, 13.0 + t * 18.0, 0.6 + t * 1.4)
    return Pose(hand_r=hand)


def happy(k, n):
    # Jumps with both arms up.
    j = math.sin(k / n * math.pi)
    return Pose(bob=3.0 * j, foot_l=(2.4, 3.0 * j, 0.0), foot_r=(-2.4, 3.0 * j, 0.0),
                hand_l=(7.0, 34.0 + 3.0 * j + 1.0 * math.sin(k * 1.7), 0.5),
                hand_r=(-7.0, 34.0 + 3.0 * j + 1.0 * math.cos(k * 1.7), 0.5), smile=True)


def happy2(k, n):
    # Waves the hat high over the head.
    p = k / n * 2 * math.pi
    return Pose(bob=0.8 * abs(math.sin(p)), hat_on=False, tool="hat", smile=True,
                hand_r=(-4.0 + 3.0 * math.sin(p), 35.0, 1.0), hand_l=(6.0, 15.0, 1.0))


def build(k, n):
    # Raises the hammer and strikes in front, holding a nail with the other hand.
    phase = [0.0, 0.35, 0.8, 1.0, 0.55, 0.1][k % 6]
    a = -1.3 + 2.9 * phase  # from pointing down-forward to raised over the head
    hand = (-3.2, 17.0 + 6.0 * phase, 5.0 - 3.0 * phase)
    return Pose(lean=1.8, foot_l=(2.8, 0.0, 1.6), foot_r=(-2.8, 0.0, -1.2), hand_l=(2.0, 13.0, 6.0),
                hand_r=hand, tool="hammer", tool_angle=a)


def repair(k, n):
    # Kneels and hammers low down.
    phase = [0.0, 0.4, 0.9, 1.0, 0.5, 0.1][k % 6]
    a = -1.5 + 2.6 * phase
    return Pose(crouch=4.5, lean=2.4, knee_fwd=2.4, foot_l=(2.6, 0.0, 2.2), foot_r=(-2.6, 0.0, -3.5),
                hand_l=(2.4, 6.0, 6.0), hand_r=(-3.0, 9.0 + 6.0 * phase, 5.5 - 2.5 * phase), tool="hammer",
                tool_angle=a)


def gather(k, n):
    # Bends to the bush, picks, and drops the berries into the basket beside it.
    t = [0.0, 0.5, 1.0, 1.0, 0.5, 0.2][k % 6]
    reach = (3.0 + 2.5 * (1 - t), 4.0 + 8.0 * (1 - t), 6.5 - 1.5 * (1 - t))
    return Pose(crouch=2.5 * t + 0.5, lean=3.5 * t + 0.5, knee_fwd=1.6, tool="basket",
                hand_l=reach, hand_r=(-2.5, 5.0 + 9.0 * (1 - t), 6.5 - 1.0 * t))


def greetings(k, n):
    # Waves one raised hand.
    p = k / n * 2 * math.pi
    return Pose(hand_r=(-6.5 + 2.2 * math.sin(p), 33.0, 1.4), smile=True)


# name: (pose function, frames, period ms, loops)
STATES = {
    "stay": (stay, 4, 1600, True),
    "stay2": (stay2, 8, 1600, False),
    "move": (lambda k, n: walk(k, n), 8, 640, True),
    "moveWithBag": (lambda k, n: walk(k, n, bag=True), 8, 760, True),
    "happy": (happy, 6, 700, True),
    "happy2": (happy2, 8, 900, True),
    "build": (build, 6, 600, True),
    "repair": (repair, 6, 700, True),
    "gather": (gather, 6, 900, True),
    "greetings": (greetings, 6, 800, True),
}

# Facing directions 0 (up, away from us) to 4 (down, toward us) are drawn; 5 to 7 mirror 3 to 1.
VIEW_ANGLES = {0: math.pi, 1: math.pi * 0.75, 2: math.pi / 2, 3: math.pi / 4, 4: 0.0}
MIRROR = {5: 3, 6: 2, 7: 1}


def strip(state, direction):
    """The stacked frames of one state seen in one of the drawn directions (0 to 4)."""
    fn, frames, _, _ = STATES[state]
    out = Image.new("RGBA", (FRAME_W, FRAME_H * frames), (0, 0, 0, 0))
    for k in range(frames):
        out.paste(draw_frame(fn(k, frames), VIEW_ANGLES[direction]), (0, k * FRAME_H))
    return out
