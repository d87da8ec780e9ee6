// UIProgress: a slider that reports every change as a command; its parts are the switch options
// (empty track, filled track, thumb), and a held arrow key repeats every 200 ms.
#pragma once
#include "ui/widget_slider.h"
#include "platform/platform.h"

class UIProgress : public UISliderBase {
 public:
  static constexpr int kRepeatMs = 200;

  int MouseMove(int buttons, int value) override;
  int Update(int dt) override;

  int32_t RepeatMark() const { return mark_; }
  // Child 1, else child 0, else the slider: x, y and width; the height is the slider's.
  SliderBar Bar() const override;

 protected:
  int32_t mark_ = 0;  // 0 none, else the age at the arrow's press, negative for the left arrow

  // The left and right arrows, whatever the orientation.
  int ArrowStep(int code) const override { return code == VK_LEFT_ ? -1 : code == VK_RIGHT_ ? 1 : 0; }
  int OnPress(int value) override;
  int OnArrow(int dir, int value) override;
  int OnKeyUp(int code, int value) override;
  void FollowMouse(int value);
};
