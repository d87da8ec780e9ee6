#!/usr/bin/env python3
"""Checks of the helpers the content generators share (python3 tools/content/test_helpers.py):
the window sections, the effects catalogue merge, the WAV writer, the supersampled strips and the
path grid. make_demo.py runs only the gen_*.py files, so this one is never part of the demo."""
import os
import sys
import tempfile
import unittest
import wave

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sound_synth  # noqa: E402
import supersample  # noqa: E402
from demo_widgets import all_states, screen_main, section, sprite, text  # noqa: E402
from fx_catalogue import add_effects  # noqa: E402
from level_common import ini_sections, merge_sections, save_grid  # noqa: E402


class WindowSections(unittest.TestCase):
    def test_keys_keep_their_order_and_take_names_the_window_also_uses(self):
        self.assertEqual(text("Title", 1, 2, 3, 4, name="#T", select=1),
                         "[Title]\ntype=text\nx=1\ny=2\nxs=3\nys=4\nname=#T\nselect=1\n")
        self.assertEqual(section("Bar", stage=1, **{"0": "Track", "1": "Fill"}), "[Bar]\nstage=1\n0=Track\n1=Fill\n")
        self.assertEqual(sprite("Sign", 5, 6, 7, 8, "a.png", select=0).splitlines(),
                         ["[Sign]", "type=sprite", "x=5", "y=6", "xs=7", "ys=8", "ignore=a.png", "select=0"])
        self.assertEqual(section("Thumb", **all_states("b.png")).splitlines()[1:],
                         ["ignore=b.png", "normal=b.png", "active=b.png", "press=b.png"])
        self.assertEqual(screen_main(bgAlpha=150).splitlines(),
                         ["[Main]", "x=0", "y=0", "xs=1024", "ys=768", "font=data/fonts/sans16.png", "bgAlpha=150"])

    def test_a_key_given_twice_is_refused_rather_than_written_twice(self):
        with self.assertRaises(TypeError):
            sprite("Sign", 0, 0, 1, 1, "a.png", **all_states("b.png"))


class EffectsCatalogue(unittest.TestCase):
    def test_entries_merge_into_the_catalogue_and_a_second_run_changes_nothing(self):
        with tempfile.TemporaryDirectory() as data:
            merge_sections(os.path.join(data, "fx", "pyroeffects.ini"), {"Other": ["name=data/fx/o.pfx"],
                                                                         "Glow": ["name=data/fx/old.pfx"]})
            for _ in range(2):
                add_effects(data, {"glow.pfx": "[effect]\nversion = 1\n"},
                            {"Glow": ("glow.pfx", "offsetY=-10"), "Plain": ("glow.pfx",)})
            with open(os.path.join(data, "fx", "pyroeffects.ini"), encoding="utf-8") as f:
                first = f.read()
            self.assertEqual(ini_sections(os.path.join(data, "fx", "pyroeffects.ini")),
                             {"Other": ["name=data/fx/o.pfx"], "Glow": ["name=data/fx/glow.pfx", "offsetY=-10"],
                              "Plain": ["name=data/fx/glow.pfx"]})
            self.assertEqual(first.count("[Glow]"), 1)
            with open(os.path.join(data, "fx", "glow.pfx"), encoding="utf-8", newline="") as f:
                self.assertEqual(f.read(), "[effect]\r\nversion = 1\r\n")


class Wav(unittest.TestCase):
    def frames(self, samples, **kw):
        with tempfile.TemporaryDirectory() as tmp:
            path = sound_synth.write_wav(os.path.join(tmp, "snd", "a.wav"), samples, 8000, **kw)
            with wave.open(path) as w:
                self.assertEqual((w.getnchannels(), w.getsampwidth(), w.getframerate()), (1, 2, 8000))
                raw = w.readframes(w.getnframes())
        return [int.from_bytes(raw[i:i + 2], "little", signed=True) for i in range(0, len(raw), 2)]

    def test_samples_round_or_cut_and_clip_at_full_scale(self):
        samples = [0.5, -0.5, 0.99999, 2.0, -3.0]
        self.assertEqual(self.frames(samples), [16384, -16384, 32767, 32767, -32767])  # 16383.5 rounds to even
        self.assertEqual(self.frames(samples, quantise=int), [16383, -16383, 32766, 32767, -32767])


class Supersampled(unittest.TestCase):
    def test_a_strip_stacks_its_frames_top_down_at_their_shown_size(self):
        def paint(d, img, k):
            d.rectangle([0, 0, img.size[0] - 1, img.size[1] - 1], fill=(k * 100, 0, 0, 255))

        out = supersample.strip(3, 4, 2, paint)
        self.assertEqual(out.size, (4, 6))
        self.assertEqual([out.getpixel((1, 2 * k))[0] for k in range(3)], [0, 100, 200])

    def test_mix_blends_every_channel_given(self):
        self.assertEqual(supersample.mix((0, 100, 200, 255), (100, 100, 0, 55), 0.5), (50, 100, 100, 155))


class PathGrid(unittest.TestCase):
    def test_border_river_crossing_and_blocks(self):
        def river(d):
            d.line([(500, 130), (500, 767)], fill=0, width=40)
            d.rectangle([470, 400, 530, 440], fill=255)

        with tempfile.TemporaryDirectory() as level:
            save_grid(level, blocked=[(100, 300, 140, 340)], ponds=[(700, 500, 760, 540)], trunks=[(300, 600)],
                      paint=river)
            grid = Image.open(os.path.join(level, "grid.png"))
        walk = {(200, 200): 255, (10, 400): 0, (512, 60): 0, (500, 300): 0, (500, 420): 255, (120, 320): 0,
                (730, 520): 0, (300, 600): 0, (318, 600): 255, (1010, 400): 0, (600, 760): 0}
        self.assertEqual({p: grid.getpixel(p) for p in walk}, walk)
        self.assertEqual(grid.size, (1024, 768))


if __name__ == "__main__":
    unittest.main()
