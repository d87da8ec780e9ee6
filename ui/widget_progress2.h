// UIProgress2: a slider that reports by notifications (256 pressed or stepped, 0 dragged, 257
// released) and keeps the mouse while dragged.
#pragma once
#include "ui/widget_slider.h"

class UIProgress2 : public UISliderBase {
 public:
  enum Message { kDragged = 0, kPressed = 256, kReleased = 257 };

  ~UIProgress2() override;
  int MouseMove(int buttons, int value) override;
  int Wheel(float delta, int code, int value) override;
  // Child 0's rectangle when it has a normal picture, else child 1's when it has one, else the
  // slider's own.
  SliderBar Bar() const override;

 protected:
  // The arrows of its orientation: left and right, or down and up.
  int ArrowStep(int code) const override;
  int OnPress(int value) override;
  int OnArrow(int dir, int value) override;
  int OnKeyUp(int code, int value) override;
};
