// A full-window fade: a black rectangle whose alpha ramps once between two values, reporting its
// end to the parent; and the menu screen that fades itself in with one and out to leave.
#pragma once
#include "anim/value_ramp.h"
#include "ui/widget_sprite.h"
#include "ui/wnd.h"

namespace Core {

class UIFade : public UIWnd {
 public:
  UIFade();
  void Load(const char* file, const char* section) override;
  // a non-zero: from "start" to "fin", else back; b: freeze (stay drawn at the end value).
  int Start(int a, int b, int c) override;
  int Update(int dt) override;
  int Draw() override;
  // Sets the ramp's period and values without starting it.
  void Setup(int period, int start, int fin, bool freeze);
  const ValueRamp& Ramp() const { return ramp_; }

 private:
  ValueRamp ramp_;
  int start_ = 255, fin_ = 0;
  int32_t period_ = 1000;
  bool freeze_ = false;
};

// A sprite window: its picture is the screen's background and its children are drawn first to
// last, so the fade added last covers them.
class UIMenuWithFade : public UIWndSprite {
 public:
  enum FadeState { kOpening = 0, kOpen = 1, kClosing = 2 };
  void Load(const char* file, const char* section) override;
  int OnCommand(UIWnd* source) override;
  virtual void OnFadeInDone() { fadeState_ = kOpen; }
  virtual void OnFadeOutDone() {}
  // Fades to black and stays dark; OnFadeOutDone follows.
  void Close();
  int FadeState() const { return fadeState_; }

 protected:
  // The full-screen "Fade" child that brings the screen up out of black; added last.
  void AddFade();
  int fadeState_ = kOpening;
};

}  // namespace Core
