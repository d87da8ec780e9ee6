// Two button variants: one that lights a highlight picture while hovered, and one that shows only
// its state picture, bobbing along one axis.
#pragma once
#include "anim/value_ramp.h"
#include "ui/widget_button.h"

namespace Core {

// "glowButton": a capped button with a "Highlight" picture added to the screen while hovered.
class UIGlowButton : public UIWndButtonIE {
 public:
  ~UIGlowButton() override;
  void Load(const char* file, const char* section) override;
  int Draw() override;
  CSprite* Highlight() const { return highlight_; }
  // Whether the highlight is drawn now (visible, hovered, with a picture).
  bool Glowing() const;

 private:
  CSprite* highlight_ = nullptr;
  int hlX_ = 0, hlY_ = 0;
};

// "floatButton": a button drawn as its state picture alone, moving up and down (or sideways with
// "isDeltaX") by "delta" pixels over "period" ms.
class UIFloatingButton : public UIWndButtonIE {
 public:
  void Load(const char* file, const char* section) override;
  int Update(int dt) override;
  int Draw() override;
  // Where the picture's corner is drawn now.
  float ImageX() const;
  float ImageY() const;
  float Delta() const { return wave_.amplitude; }

 private:
  ValueRamp wave_;
  bool deltaX_ = false;
};

}  // namespace Core
