// UIWndButtonPrompt: a button that owns a prompt window (a hint the game attaches) shown only while
// the button is hovered or pressed.
#pragma once
#include <memory>

#include "ui/widget_sprite.h"

class UIWndButtonPrompt : public UIWndSprite {
 public:
  void Load(const char* file, const char* section) override;
  void OnFocusChanged() override;
  int Draw() override;
  int Update(int dt) override;

  // Takes ownership; null removes the prompt.
  void SetPrompt(UIWnd* prompt);
  UIWnd* Prompt() const { return prompt_.get(); }

 protected:
  std::unique_ptr<UIWnd> prompt_;
  void DrawPrompt() const;
};
