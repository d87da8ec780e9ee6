"""One generator's block of the animation catalogue data/animations.xml.

A block sits between "<!-- begin: NAME -->" and "<!-- end: NAME -->" before the closing tag; the
generator that owns it replaces it on every run, and the catalogue generator keeps every block,
so the generators can run in any order and twice without loss.
"""
import os


def animation_line(aid, path, period, frames, group=None, loop=True, flip=False, no_center=False, add=False,
                   stick=False):
    attrs = [f'id="{aid}"']
    if group:
        attrs.append(f'group="{group}"')
    attrs += [f'path="{path}"', f'period="{period}"', f'frames="{frames}"']
    for on, key in ((loop, "isLoop"), (flip, "isFlipX"), (no_center, "isNoCenter"), (add, "isAdd"),
                    (stick, "StickOnEnd")):
        if on:
            attrs.append(f'{key}="1"')
    return f'  <Animation {" ".join(attrs)}/>'


def write_block(data, name, lines):
    path = os.path.join(data, "animations.xml")
    begin, end = f"  <!-- begin: {name} -->", f"  <!-- end: {name} -->"
    text = ""
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            text = f.read().replace("\r\n", "\n")
    if "</Animations>" not in text:
        text = '<?xml version="1.0" encoding="utf-8"?>\n<Animations>\n</Animations>\n'
    if begin in text and end in text:
        text = text[:text.index(begin)] + text[text.index(end) + len(end) + 1:]
    block = "\n".join([begin] + list(lines) + [end]) + "\n"
    at = text.rindex("</Animations>")
    text = text[:at] + block + text[at:]
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(text)
