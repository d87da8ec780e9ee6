"""Window-definition text of the demo's shared widgets, so every screen's generator writes them alike."""


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
