// What the two sliders share: the value under a mouse position, the drawing of the track parts
// and the thumb, and UISliderBase with the value, the orientation and the key handling.
#pragma once
#include "ui/widget_switch.h"

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

// The base of UIProgress and UIProgress2: loading "vertical", the value kept in 0..1, drawing,
// and the key handling both follow: the gates, then a press of the left button inside, an arrow
// key that steps, or a release, each handed to the slider's own reaction.
class UISliderBase : public UISwitchBase {
 public:
  void Load(const char* file, const char* section) override;
  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int Draw() override;
  void SetValue(float v) override { value_ = sliderClamp(v); }
  float GetValue() const override { return value_; }

  bool Vertical() const { return vertical_ != 0; }
  void SetVertical(bool v) { vertical_ = v; }
  virtual SliderBar Bar() const = 0;

 protected:
  float value_ = 0.0f;
  int vertical_ = 0;

  // -1 or 1 for a key that steps the value, 0 for any other.
  virtual int ArrowStep(int code) const = 0;
  // The left button pressed inside, an arrow key pressed (`value` carries the key data), any key
  // released: each answers what KeyDown or KeyUp answers.
  virtual int OnPress(int value) = 0;
  virtual int OnArrow(int dir, int value) = 0;
  virtual int OnKeyUp(int code, int value) { return ReleaseOnKey(code, value); }
};
