// Loading screens: a fading menu that runs its steps one per update once it is open, then waits
// for a key ("PressAnyKey") or a wait period and leaves. The application loading screen runs the
// nine start-up stages and moves its "Bar".
#pragma once
#include "anim/period_timer.h"
#include "ui/ui_fade.h"

namespace Menu {

class UILoadingMenu : public Core::UIMenuWithFade {
 public:
  enum StepState { kLoading = 0, kWaiting = 1, kLeaving = 2 };
  int Update(int dt) override;
  int KeyDown(int code, int value) override;
  int MouseMove(int buttons, int value) override;
  int OnCommand(UIWnd* source) override;
  virtual void OnLoaded();
  virtual void Leave();
  virtual void OnLeft() {}
  // One loading step; true when all are done.
  virtual bool Step();
  int StepState() const { return stepState_; }
  int Counter() const { return counter_; }

 protected:
  int stepState_ = kLoading;
  int counter_ = 0;
  int steps_ = 0;
  PeriodTimer wait_{0, PeriodTimer::kStopped};
};

class UIGameLoading : public UILoadingMenu {
 public:
  static constexpr const char* kFile = "data/menu/applicationLoading.ini";
  UIGameLoading();
  void Load(const char* file, const char* section) override;
  int Draw() override;
  bool Step() override;
  void OnLeft() override;

 private:
  bool drawn_ = false;
};

}  // namespace Menu
