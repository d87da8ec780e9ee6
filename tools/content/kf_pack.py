"""Keyframe animations for the content generators: objects and keys as dictionaries, written both
in the readable text form of kfc (docs/keyframe.md, the file to edit) and as the binary file the
game plays (what `kfc build` makes of the text). Numbers are written with few digits, so both forms
hold exactly the same float values."""
import struct

LINEAR, HOLD, SMOOTH = (0, 1, 0, 1, 0), (1, 1, 0, 1, 0), (2, 1, 0, 1, 0)
TRACKS = ["position", "size", "scale", "alpha", "rotation", "phase", "colour"]
VECTOR = {"position", "size"}


def obj(name, **kw):
    """An object with every field at its default, then the fields given."""
    o = dict(name=name, blend=1, values=(0, 0), picture="", frames=1, mask="", text="", textBlend=1,
             box=(10, 10), font="", align=(0, 0), children=[], position=[], size=[], scale=[], alpha=[],
             rotation=[], phase=[], colour=[])
    o.update(kw)
    return o


def fkey(t, v, ease=LINEAR, marker=0, sound=""):
    return dict(t=t, v=(v,), ease=(ease,), marker=marker, sound=sound)


def vkey(t, x, y, ease=LINEAR, easeY=None, marker=0, sound=""):
    return dict(t=t, v=(x, y), ease=(ease, easeY or ease), marker=marker, sound=sound)


def num(v):
    s = ("%.4f" % v).rstrip("0").rstrip(".")
    return "0" if s in ("", "-0") else s


def quote(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


def ease_text(e):
    names = {LINEAR: "linear", HOLD: "hold", SMOOTH: "smooth"}
    if e in names:
        return names[e]
    return "(" + " ".join([str(e[0])] + [num(x) for x in e[1:]]) + ")"


def key_text(k, vector):
    out = "key " + " ".join(num(x) for x in (k["t"],) + k["v"])
    ex, ey = k["ease"][0], k["ease"][-1]
    if vector and ex != ey:
        out += " easeX " + ease_text(ex) + " easeY " + ease_text(ey)
    elif ex != LINEAR:
        out += " ease " + ease_text(ex)
    if k["marker"]:
        out += " marker %d" % k["marker"]
    if k["sound"]:
        out += " sound " + quote(k["sound"])
    return out


def obj_text(o, depth):
    pad, ind = "  " * depth, "  " * (depth + 1)
    lines = [pad + "object " + quote(o["name"]) + " {",
             ind + "blend %d" % o["blend"],
             ind + "values %d %d" % o["values"],
             ind + "picture " + quote(o["picture"]),
             ind + "frames %d" % o["frames"],
             ind + "mask " + quote(o["mask"]),
             ind + "text " + quote(o["text"]),
             ind + "textBlend %d" % o["textBlend"],
             ind + "box %s %s" % (num(o["box"][0]), num(o["box"][1])),
             ind + "font " + quote(o["font"]),
             ind + "align %d %d" % o["align"]]
    for c in o["children"]:
        lines += obj_text(c, depth + 1)
    for t in TRACKS:
        if o[t]:
            lines.append(ind + t + " {")
            lines += [ind + "  " + key_text(k, t in VECTOR) for k in o[t]]
            lines.append(ind + "}")
    lines.append(pad + "}")
    return lines


def pack_text(s):
    b = s.encode("utf-8")
    return struct.pack("<i", len(b)) + b


def pack_filter(e):
    return struct.pack("<iffff", e[0], float(num(e[1])), float(num(e[2])), float(num(e[3])), float(num(e[4])))


def pack_key(k, vector):
    out = struct.pack("<if", k["marker"], float(num(k["t"])))
    out += b"".join(struct.pack("<f", float(num(v))) for v in k["v"])
    out += b"".join(pack_filter(e) for e in (k["ease"] if vector else k["ease"][:1]))
    return out + pack_text(k["sound"])


def pack_obj(o):
    out = struct.pack("<iii", o["blend"], *o["values"]) + pack_text(o["name"]) + pack_text(o["picture"])
    out += struct.pack("<i", o["frames"]) + pack_text(o["mask"]) + pack_text(o["text"])
    out += struct.pack("<iff", o["textBlend"], float(num(o["box"][0])), float(num(o["box"][1])))
    out += pack_text(o["font"]) + struct.pack("<ii", *o["align"])
    out += struct.pack("<i", len(o["children"])) + b"".join(pack_obj(c) for c in o["children"])
    for t in TRACKS:
        assert t != "colour" or not o[t], "colour keys are not written by these generators"
        out += struct.pack("<i", len(o[t])) + b"".join(pack_key(k, t in VECTOR) for k in o[t])
    return out


def write_animation(stem, objects, header="# Keyframe animation in the text form of kfc (docs/keyframe.md)"):
    """Writes `stem`.kft (text, Unix line ends as kfc prints them) and `stem`.kf (binary)."""
    text = [header]
    for o in objects:
        text += obj_text(o, 0)
    with open(stem + ".kft", "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(text) + "\n")
    with open(stem + ".kf", "wb") as f:
        f.write(struct.pack("<i", len(objects)) + b"".join(pack_obj(o) for o in objects))
