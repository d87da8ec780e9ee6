// Geometry shared by the two sliders: the value under a mouse position and the drawing of the
// track parts and the thumb for a value.
#pragma once

class UIWnd;

struct SliderBar {
  int x = 0, y = 0, w = 0, h = 0;  // w and h as absolute sizes
};

// The value at a position along the bar, clamped to 0..1; vertical bars count from the bottom.
// A bar of no length has no value to give: `current` comes back (clamped).
float sliderValueAt(const SliderBar& bar, bool vertical, int x, int y, float current);
float sliderClamp(float v);
// Child 0 (empty track), child 1 (filled track) and child 2 (thumb) of `slider`, each with its
// picture of the slider's state: the filled part covers round(value x length) pixels from the
// start (the left, or the bottom), the thumb moves along with it.
void sliderDrawParts(const UIWnd& slider, const SliderBar& bar, bool vertical, float value);
// The fill length in pixels for a value.
int sliderFill(const SliderBar& bar, bool vertical, float value);
