// UIProgress: clicks, drags and arrow keys set the value and send commands; held arrows repeat.
#include "ui/widget_progress.h"

#include <algorithm>
#include <cstdlib>

SliderBar UIProgress::Bar() const {
  const UIWnd* part = Child(1) ? Child(1) : Child(0) ? Child(0) : this;
  return SliderBar{part->X(), y_, std::abs(part->Width()), std::abs(int(ys_))};
}

void UIProgress::FollowMouse(int value) {
  value_ = sliderValueAt(Bar(), Vertical(), PosX(value), PosY(value), value_);
  OnCommand(this);
}

int UIProgress::OnPress(int value) {
  FollowMouse(value);
  SetState(Press);
  return 1;
}

int UIProgress::OnArrow(int dir, int value) {
  // The window system's own key repeat is not used: the update step repeats at its own pace.
  if (value & (1 << 30)) return 1;
  value_ = sliderClamp(value_ + 0.1f * float(dir));
  mark_ = dir * std::max(age_, int32_t(1));
  OnCommand(this);
  SetState(Press);
  return 1;
}

int UIProgress::OnKeyUp(int code, int value) {
  if (ArrowStep(code)) {
    mark_ = 0;
    if (state_ == Press) SetState(Active);
    return 1;
  }
  return ReleaseOnKey(code, value);
}

int UIProgress::MouseMove(int buttons, int value) {
  if (Hidden() || EffectBlocksInput()) return 0;
  if (state_ == Press && (buttons & 1) && !g_wndEdit) FollowMouse(value);
  return 0;
}

int UIProgress::Update(int dt) {
  const int r = UISwitchBase::Update(dt);
  if (mark_ != 0 && !Hidden()) {
    const int32_t since = std::abs(mark_);
    const int periods = (age_ - since) / kRepeatMs;
    if (periods > 0) {
      const int dir = mark_ < 0 ? -1 : 1;
      value_ = sliderClamp(value_ + 0.1f * float(dir * periods));
      mark_ = dir * std::max(age_, int32_t(1));
      OnCommand(this);
    }
  }
  return r;
}
