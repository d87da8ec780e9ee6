// The main menu's title: three animations of the catalogue played at one place, the first once as
// the title comes up, then the second and third taking turns after random waits.
#pragma once
#include <string>

#include "anim/animation.h"
#include "ui/wnd.h"

namespace Menu {

class UIMenuTitle : public UIWnd {
 public:
  // Reads "anim0", "anim1", "anim2", "actperiodMin", "actperiodMax", "x" and "y" of `section`.
  void Load(const char* file, const char* section) override;
  int Update(int dt) override;
  int Draw() override;

  // 0 while the opening animation plays, then 1 or 2.
  int Playing() const { return playing_; }
  // Milliseconds until the next turn (after the opening).
  int32_t Wait() const { return wait_; }
  const AnimationState& Animation(int i) const { return anims_[i]; }

 private:
  void Play(int i);
  int32_t NextWait() const;

  AnimationState anims_[3];
  int playing_ = 0;
  int32_t wait_ = 0;
  int32_t periodMin_ = 0, periodMax_ = 0;
};

}  // namespace Menu
