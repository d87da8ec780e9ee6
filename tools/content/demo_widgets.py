"""Window-definition text of the demo's shared widgets, so every screen's generator writes them alike."""

SANS16 = "data/fonts/sans16.png"
SANS26B = "data/fonts/sans26b.png"
STATES = ("ignore", "normal", "active", "press")


def section(title, /, **keys):
    """An INI section: `[title]` and its keys in the order given, ending in a newline. Keys that are
    no Python names (the numbered children of a bar, say) come in as **{"0": ...}."""
    return "\n".join([f"[{title}]"] + [f"{k}={v}" for k, v in keys.items()]) + "\n"


def all_states(picture):
    """The same picture for each state of a window, for a part that never changes its look."""
    return {state: picture for state in STATES}


def sprite(title, x, y, xs, ys, picture, /, **more):
    """A decoration: it stays in the ignore state, so the pointer passes over it, and its picture is
    that state's."""
    return section(title, type="sprite", x=x, y=y, xs=xs, ys=ys, ignore=picture, **more)


def text(title, x, y, xs, ys, /, **more):
    """A text window; `more` gives its keys (name, alignment, colour, font) in their order."""
    return section(title, type="text", x=x, y=y, xs=xs, ys=ys, **more)


def screen_main(font=SANS16, **more):
    """The "Main" section of a window over the whole 1024 x 768 screen."""
    return section("Main", x=0, y=0, xs=1024, ys=768, font=font, **more)


def capped_button(name, x, y, xs, ys, sound, yalign=None):
    """A button with end caps drawn from the demo menu's button pictures; `name` is its section and
    its command. Returns the section's text, ending in a newline."""
    lines = [f"[{name}]", "type=ieButton", f"x={x}", f"y={y}", f"xs={xs}", f"ys={ys}", f"name={name}"]
    if yalign is not None:
        lines.append(f"yalign={yalign}")
    lines += ["select=3", "stage=1"]
    for side, prefix in (("mid", ""), ("left", "left"), ("right", "right")):
        for state in ("ignore", "normal", "active", "press"):
            lines.append(f"{prefix}{state}=data/menu/demo/btn_{side}_{state}.png")
    lines.append(f"sndActivePress={sound}")
    return "\n".join(lines) + "\n"


def label_text(name, x, y, xs, ys, key, select, font="data/fonts/sans16.png", extra=()):
    """A text window showing the translation of `key` in colour `select` of the font, aligned to its
    top; `extra` adds lines to the section. Returns the section's text, ending in a newline."""
    lines = [f"[{name}]", "type=text", f"x={x}", f"y={y}", f"xs={xs}", f"ys={ys}", f"name={key}",
             f"select={select}", "yalign=0", f"font={font}", *extra]
    return "\n".join(lines) + "\n"


def captioned_button(section, x, y, xs, key, sound):
    """A capped button 48 pixels high whose section name is the command it sends and whose caption
    is the translation of `key`."""
    return capped_button(section, x, y, xs, 48, sound).replace(f"name={section}\n", f"name={key}\n")
