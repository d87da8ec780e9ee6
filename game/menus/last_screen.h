// The two closing screens shown when the program is left (Menu::UILast): "data/menu/last2.ini"
// and then "data/menu/last.ini", each for five seconds or until a key; after the second the
// program ends.
#pragma once
#include <cstdint>

#include "anim/period_timer.h"
#include "ui/ui_fade.h"

namespace Menu {

class UILast : public Core::UIMenuWithFade {
 public:
  static constexpr const char* kFirstFile = "data/menu/last2.ini";
  static constexpr const char* kSecondFile = "data/menu/last.ini";
  static constexpr int32_t kShowMs = 5000;

  explicit UILast(bool second) : second_(second) {}
  // The screen built from its document (first or second).
  static UILast* Create(bool second);

  // The screen's own keys and its fade, then "Back"; a screen with no picture to show is done
  // at once.
  void Load(const char* file, const char* section) override;
  void OnFadeInDone() override;
  void OnFadeOutDone() override;
  int KeyDown(int code, int value) override;
  int Update(int dt) override;

  bool Second() const { return second_; }
  bool Done() const { return done_; }
  const PeriodTimer& ShowTimer() const { return timer_; }

 private:
  // The timer gives way to the closing fade.
  void Leave();

  bool second_ = false;
  bool done_ = false;
  PeriodTimer timer_{kShowMs, PeriodTimer::kStopped};
};

// The first closing screen as the only screen: the way the program is left from the menu.
void ShowClosingScreens();

}  // namespace Menu
