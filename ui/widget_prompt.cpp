// UIWndButtonPrompt: the prompt window follows the button's focus and is drawn under it.
#include "ui/widget_prompt.h"

#include <string>

#include "files/ini.h"

void UIWndButtonPrompt::Load(const char* file, const char* section) {
  UIWndSprite::Load(file, section);
  // The prompt itself comes from whoever owns the hints; an empty key takes it away.
  if (iniString(file, section, "prompt").empty()) prompt_.reset();
}

void UIWndButtonPrompt::SetPrompt(UIWnd* prompt) {
  prompt_.reset(prompt);
  if (prompt_) prompt_->SetHidden(!(state_ == Active || state_ == Press));
}

void UIWndButtonPrompt::OnFocusChanged() {
  UIWndSprite::OnFocusChanged();
  if (prompt_) prompt_->SetHidden(!(state_ == Active || state_ == Press));
}

void UIWndButtonPrompt::DrawPrompt() const {
  if (prompt_) prompt_->Draw();
}

int UIWndButtonPrompt::Update(int dt) {
  if (prompt_ && !Hidden()) prompt_->Update(dt);
  return UIWndSprite::Update(dt);
}

int UIWndButtonPrompt::Draw() {
  if (Hidden()) return 0;
  DrawPrompt();
  return UIWndSprite::Draw();
}
