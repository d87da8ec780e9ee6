// UIProgress: clicks, drags and arrow keys set the value and send commands; held arrows repeat.
#include "ui/widget_progress.h"

#include <algorithm>
#include <cstdlib>

#include "files/ini.h"

void UIProgress::Load(const char* file, const char* section) {
  UISwitchBase::Load(file, section);
  vertical_ = iniGetInt(file, section, "vertical", 0);
}

SliderBar UIProgress::Bar() const {
  const UIWnd* part = Child(1) ? Child(1) : Child(0) ? Child(0) : this;
  return SliderBar{part->X(), y_, std::abs(part->Width()), std::abs(int(ys_))};
}

void UIProgress::FollowMouse(int value) {
  value_ = sliderValueAt(Bar(), Vertical(), PosX(value), PosY(value), value_);
  OnCommand(this);
}

int UIProgress::KeyDown(int code, int value) {
  if (g_wndEdit) return UIWnd::KeyDown(code, value);
  int gate = InputGate();
  if (gate >= 0) return gate;
  if (code == 1 && HitTest(PosX(value), PosY(value))) {
    FollowMouse(value);
    SetState(Press);
    return 1;
  }
  if (code == 37 || code == 39) {
    // The window system's own key repeat is not used: the update step repeats at its own pace.
    if (value & (1 << 30)) return 1;
    const int dir = code == 37 ? -1 : 1;
    value_ = sliderClamp(value_ + 0.1f * float(dir));
    mark_ = dir * std::max(age_, int32_t(1));
    OnCommand(this);
    SetState(Press);
    return 1;
  }
  return 0;
}

int UIProgress::KeyUp(int code, int value) {
  if (g_wndEdit) return UIWnd::KeyUp(code, value);
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  if (code == 37 || code == 39) {
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

int UIProgress::Draw() {
  if (Hidden()) return 0;
  float m[16];
  const bool pushed = BeginDraw(m);
  DrawButton();
  sliderDrawParts(*this, Bar(), Vertical(), value_);
  EndDraw(pushed);
  return 0;
}
