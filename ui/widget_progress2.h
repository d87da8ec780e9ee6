// UIProgress2: a slider that reports by notifications (256 pressed or stepped, 0 dragged, 257
// released) and keeps the mouse while dragged.
#pragma once
#include "ui/widget_slider.h"
#include "ui/widget_switch.h"

class UIProgress2 : public UISwitchBase {
 public:
  enum Message { kDragged = 0, kPressed = 256, kReleased = 257 };

  ~UIProgress2() override;
  void Load(const char* file, const char* section) override;
  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int MouseMove(int buttons, int value) override;
  int Wheel(float delta, int code, int value) override;
  int Draw() override;
  void SetValue(float v) override { value_ = sliderClamp(v); }
  float GetValue() const override { return value_; }

  bool Vertical() const { return vertical_ != 0; }
  void SetVertical(bool v) { vertical_ = v; }
  // Child 0's rectangle when it has a normal picture, else child 1's when it has one, else the
  // slider's own.
  SliderBar Bar() const;

 protected:
  float value_ = 0.0f;
  int vertical_ = 0;
  void Step(int dir);
};
