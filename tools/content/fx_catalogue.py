"""A generator's particle effects: its effect files in data/fx/ and their entries in the effects
catalogue data/fx/pyroeffects.ini, merged in so the entries of the other generators stay."""
import os

from level_common import merge_sections, write


def add_effects(data, files, catalogue):
    """`files` maps an effect file's name in data/fx/ to its text (docs/particles.md); `catalogue`
    maps an effect's name to (its file in data/fx/, then the lines that follow, such as offsets)."""
    for name, text in files.items():
        write(os.path.join(data, "fx", name), text)
    merge_sections(os.path.join(data, "fx", "pyroeffects.ini"),
                   {effect: [f"name=data/fx/{file}", *more] for effect, (file, *more) in catalogue.items()})
