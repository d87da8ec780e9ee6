// UIProgress: a slider that reports every change as a command; its parts are the switch options
// (empty track, filled track, thumb), and a held arrow key repeats every 200 ms.
#pragma once
#include "ui/widget_slider.h"
#include "ui/widget_switch.h"

class UIProgress : public UISwitchBase {
 public:
  static constexpr int kRepeatMs = 200;

  void Load(const char* file, const char* section) override;
  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int MouseMove(int buttons, int value) override;
  int Update(int dt) override;
  int Draw() override;
  void SetValue(float v) override { value_ = sliderClamp(v); }
  float GetValue() const override { return value_; }

  bool Vertical() const { return vertical_ != 0; }
  void SetVertical(bool v) { vertical_ = v; }
  int32_t RepeatMark() const { return mark_; }
  // Child 1, else child 0, else the slider: x, y and width; the height is the slider's.
  SliderBar Bar() const;

 protected:
  float value_ = 0.0f;
  int32_t mark_ = 0;  // 0 none, else the age at the arrow's press, negative for the left arrow
  int vertical_ = 0;

  void FollowMouse(int value);
};
