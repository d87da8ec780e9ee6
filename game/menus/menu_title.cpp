// The main menu's title animation.
#include "game/menus/menu_title.h"

#include <algorithm>

#include "anim/anim_catalogue.h"
#include "files/ini.h"
#include "game/core/random.h"

namespace Menu {

void UIMenuTitle::Load(const char* file, const char* section) {
  UIWnd::Load(file, section);
  InitState(Ignore);  // a picture, not a control
  static const char* const kKeys[3] = {"anim0", "anim1", "anim2"};
  for (int i = 0; i < 3; ++i) {
    const std::string name = iniGetString(file, section, kKeys[i], "");
    anims_[i] = name.empty() ? AnimationState() : Core::animManager().GetAnimation(name);
  }
  periodMin_ = std::max(0, iniGetInt(file, section, "actperiodMin", 0));
  periodMax_ = std::max(periodMin_, iniGetInt(file, section, "actperiodMax", 0));
  Play(0);
}

void UIMenuTitle::Play(int i) {
  playing_ = i;
  anims_[i].Start();
}

int32_t UIMenuTitle::NextWait() const {
  // The game's own random source, so a replayed run waits the same.
  return periodMax_ > periodMin_ ? RandomPeriod(periodMin_, periodMax_) : periodMin_;
}

int UIMenuTitle::Update(int dt) {
  if (Hidden()) return 0;
  age_ += dt;
  const bool ended = anims_[playing_].Advance(dt);
  if (playing_ == 0) {
    // The opening plays once; a title without one goes straight to its turns.
    if (ended || !anims_[0].IsValid() || anims_[0].IsStopped()) {
      Play(1);
      wait_ = NextWait();
    }
    return 0;
  }
  wait_ -= dt;
  if (wait_ <= 0) {
    Play(playing_ == 1 ? 2 : 1);
    wait_ = NextWait();
  }
  return 0;
}

int UIMenuTitle::Draw() {
  if (Hidden()) return 0;
  const AnimationState& a = anims_[playing_];
  // A turn without its own animation keeps showing the first one's last picture.
  const AnimationState& shown = a.IsValid() || !anims_[0].IsValid() ? a : anims_[0];
  shown.DrawFaded(x_, y_, int(colour_ >> 24), 1.0f, 1.0f);
  return 0;
}

}  // namespace Menu
