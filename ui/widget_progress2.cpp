// UIProgress2: press, drag with the input grabbed, release; arrow keys of its orientation and the
// wheel step by a tenth.
#include "ui/widget_progress2.h"

#include <cstdlib>

#include "sound/sound.h"

UIProgress2::~UIProgress2() { ReleaseInput(); }

SliderBar UIProgress2::Bar() const {
  const UIWnd* part = this;
  if (Child(0) && Child(0)->Image(Normal)) part = Child(0);
  else if (Child(1) && Child(1)->Image(Normal)) part = Child(1);
  return SliderBar{part->X(), part->Y(), std::abs(part->Width()), std::abs(part->Height())};
}

int UIProgress2::ArrowStep(int code) const {
  const int less = Vertical() ? 40 : 37, more = Vertical() ? 38 : 39;
  return code == less ? -1 : code == more ? 1 : 0;
}

int UIProgress2::OnPress(int value) {
  value_ = sliderValueAt(Bar(), Vertical(), PosX(value), PosY(value), value_);
  GrabInput();
  OnNotify(this, kPressed);
  SetState(Press);
  return 1;
}

int UIProgress2::OnArrow(int dir, int) {
  value_ = sliderClamp(value_ + 0.1f * float(dir));
  OnNotify(this, kPressed);
  return 1;
}

int UIProgress2::OnKeyUp(int code, int value) {
  // Whatever key ends the press also ends the drag: the mouse is let go either way.
  if (state_ == Press) {
    ReleaseInput();
    OnNotify(this, kReleased);
  }
  return ReleaseOnKey(code, value);
}

int UIProgress2::MouseMove(int buttons, int value) {
  if (Hidden() || EffectBlocksInput() || g_wndEdit) return 0;
  if (state_ != Press) return 0;
  // Only a drag with the left button alone moves the value; the move is ours either way, so the
  // parent's hover rule does not take the press away while the mouse is outside.
  if (buttons == 1) {
    const float v = sliderValueAt(Bar(), Vertical(), PosX(value), PosY(value), value_);
    if (v != value_) {
      value_ = v;
      OnNotify(this, kDragged);
    }
  }
  return 1;
}

int UIProgress2::Wheel(float delta, int, int) {
  if (Hidden() || g_wndEdit) return 0;
  if (EffectBlocksInput()) return 1;
  if (state_ == Ignore || delta == 0.0f) return 0;
  const float v = sliderClamp(value_ + (delta > 0 ? 0.1f : -0.1f));
  if (v == value_) return 1;
  value_ = v;
  OnNotify(this, kPressed);
  OnNotify(this, kReleased);
  if (*sndActivePress_) sndPlay(sndActivePress_);
  return 1;
}
