// UIWndButtonIE: a push button whose middle picture stretches or repeats between left and right
// end caps of each state.
#pragma once
#include "ui/widget_prompt.h"

class UIWndButtonIE : public UIWndButtonPrompt {
 public:
  void Load(const char* file, const char* section) override;
  int Draw() override;

  CSprite* LeftCap() const { return state_ < 4 ? images_[4 + state_] : nullptr; }
  CSprite* RightCap() const { return state_ < 4 ? images_[8 + state_] : nullptr; }

 protected:
  // Caps, middle, caption, bounds and prompt: what every button-like widget draws of itself.
  void DrawButton() const;
};
