// The menus' dialogs: fades, keys, closing and the modal holder.
#include "game/menus/dialog.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>

#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "ui/wnd_create.h"

namespace Menu {

void DialogFade::MoveTo(float to, int ms) {
  target = to;
  // No time means at once.
  step = ms > 0 ? std::fabs(to - value) / float(ms) : 0.0f;
  if (step <= 0.0f) value = to;
}

bool DialogFade::Advance(int dt) {
  if (value == target) return true;
  const float move = step * float(std::max(dt, 0));
  if (std::fabs(target - value) <= move) value = target;
  else value += target > value ? move : -move;
  return value == target;
}

UIDialog::UIDialog(UIWnd* owner) : owner_(owner) {}

UIDialog* UIDialog::CreateFromDefinition(UIWnd* owner, const char* name) {
  if (!name || !*name || !iniHasKey(kFile, name, "type")) {
    errorLog("%s: no dialog section \"%s\"\n", kFile, name ? name : "");
    return nullptr;
  }
  auto* d = new UIDialog(owner);
  d->Load(kFile, name);
  d->CreateChildren(kFile, name);
  return d;
}

void UIDialog::Load(const char* file, const char* section) {
  UIWndSprite::Load(file, section);
  if (const char* font = iniGetString(file, section, "font", ""); font && *font) SetFont(font);
  backAlpha_ = std::clamp(iniGetInt(file, section, "bgAlpha", 160), 0, 255);
  fadeTime_ = std::clamp(iniGetInt(file, section, "fadeTime", 200), 0, 10000);
  // A dialog with no size covers the screen, so the darkening hides what is behind it.
  if (xs_ <= 0 || ys_ <= 0) {
    x_ = y_ = 0;
    SetSize(kLogicalWidth, kLogicalHeight);
  }
  openState_ = kOpening;
  back_ = {};
  content_ = {};
  back_.MoveTo(float(backAlpha_), fadeTime_);
  content_.MoveTo(0.0f, 0);
  ApplyContentAlpha();
}

void UIDialog::CreateChildren(const char* file, const char* section) {
  const std::string prefix = std::string(section) + ".";
  for (const std::string& s : iniSectionList(file)) {
    if (s.size() <= prefix.size() || strncasecmp(s.c_str(), prefix.c_str(), prefix.size()) != 0) continue;
    if (UIWnd* w = wndCreate(file, s.c_str(), this, true)) w->SetName(s.c_str() + prefix.size());
  }
  // Nothing is hovered until the mouse moves; Enter and Escape do not need a focus.
  active_ = -1;
  ApplyContentAlpha();
}

void UIDialog::ApplyContentAlpha() {
  const int a = std::clamp(int(std::lround(content_.value)), 0, 255);
  SetColour((uint32_t(a) << 24) | 0x00FFFFFFu);
}

UIWnd* UIDialog::ButtonForKey(int code) {
  if (code == VK_RETURN_) return FindChild("DialogYes");
  if (code == VK_ESCAPE_) {
    UIWnd* no = FindChild("DialogNo");
    if (no && !no->Hidden()) return no;
    return FindChild("DialogCancel");
  }
  return nullptr;
}

bool UIDialog::IsClosingButton(const char* name) const {
  return strcasecmp(name, "DialogYes") == 0 || strcasecmp(name, "DialogNo") == 0 ||
         strcasecmp(name, "DialogCancel") == 0;
}

void UIDialog::PressAndClose(UIWnd* button) {
  if (!button || button->Hidden() || Closing()) return;
  button->SetState(UIWnd::Press);
  // The click the key stands for: the same handling a mouse click on the button gets.
  OnCommand(button);
}

void UIDialog::CloseWith(UIWnd* button) {
  if (Closing() || !button) return;
  openState_ = kClosing;
  closedBy_ = button;
  content_.MoveTo(0.0f, fadeTime_);
  back_.MoveTo(0.0f, fadeTime_);
}

int UIDialog::KeyDown(int code, int value) {
  if (Closing()) return 1;
  if (code == VK_RETURN_ || code == VK_ESCAPE_) {
    // Auto-repeat does not answer twice.
    if (value & (1 << 30)) return 1;
    if (UIWnd* b = ButtonForKey(code)) {
      PressAndClose(b);
      return 1;
    }
  }
  UIWndSprite::KeyDown(code, value);
  return 1;
}

int UIDialog::KeyUp(int code, int value) {
  if (!Closing()) UIWndSprite::KeyUp(code, value);
  return 1;
}

int UIDialog::Char(int code, int value) {
  if (!Closing()) UIWndSprite::Char(code, value);
  return 1;
}

int UIDialog::MouseMove(int buttons, int value) {
  if (!Closing()) {
    TrackMouse(value);
    UIWndSprite::MouseMove(buttons, value);
  }
  return 1;
}

int UIDialog::Wheel(float delta, int code, int value) {
  if (!Closing()) UIWndSprite::Wheel(delta, code, value);
  return 1;
}

int UIDialog::OnCommand(UIWnd* source) {
  if (!source || Closing()) return 1;
  if (IsClosingButton(source->Name())) {
    CloseWith(source);
    return 1;
  }
  return owner_ ? owner_->OnCommand(source) : 0;
}

int UIDialog::Update(int dt) {
  if (Hidden() || told_) return 0;
  if (openState_ == kOpening) {
    // First the screen darkens, then the content comes up.
    if (!back_.Done()) {
      back_.Advance(dt);
    } else {
      if (content_.target != 255.0f) content_.MoveTo(255.0f, fadeTime_);
      if (content_.Advance(dt)) openState_ = kOpen;
    }
    ApplyContentAlpha();
  } else if (openState_ == kClosing) {
    // Backwards: the content goes, then the darkening.
    if (!content_.Done()) content_.Advance(dt);
    else back_.Advance(dt);
    ApplyContentAlpha();
    if (content_.Done() && back_.Done()) {
      told_ = true;
      // The owner usually removes the dialog here (and may replace the whole screen): nothing of
      // this window is touched afterwards, and the walk of the tree stops for this step.
      if (owner_) owner_->OnCommand(closedBy_);
      else if (UIWnd* p = Parent()) p->RemoveChild(this);
      return 1;
    }
  }
  return UIWndSprite::Update(dt);
}

int UIDialog::Draw() {
  if (heldDraw_ && !drawing_) return 0;
  if (Hidden()) return 0;
  const int a = std::clamp(int(std::lround(back_.value)), 0, 255);
  if (a > 0) grFillRect(x_, y_, x_ + xs_, y_ + ys_, grColor(0, 0, 0, a));
  return UIWndSprite::Draw();
}

int UIDialog::DrawNow() {
  drawing_ = true;
  const int r = Draw();
  drawing_ = false;
  return r;
}

UIWarning* UIWarning::CreateFromDefinition(UIWnd* owner, const char* name) {
  if (!name || !*name || !iniHasKey(kFile, name, "type")) {
    errorLog("%s: no message section \"%s\"\n", kFile, name ? name : "");
    return nullptr;
  }
  auto* d = new UIWarning(owner);
  d->Load(kFile, name);
  d->CreateChildren(kFile, name);
  return d;
}

UIWnd* UIWarning::ButtonForKey(int code) {
  if (code == VK_RETURN_ || code == VK_ESCAPE_) return FindChild("WarningOk");
  return nullptr;
}

bool UIWarning::IsClosingButton(const char* name) const {
  return strcasecmp(name, "WarningOk") == 0 || UIDialog::IsClosingButton(name);
}

bool ModalChild::Open(UIDialog* dialog, int kind) {
  if (!dialog) return false;
  if (dialog_ || !screen_) {
    delete dialog;
    return false;
  }
  // What the pointer hovered on the screen is no longer hovered: the dialog takes the mouse, and
  // a child left highlighted could not be picked again once the dialog has gone.
  if (UIWnd* hovered = screen_->ActiveChild())
    if (hovered->State() == UIWnd::Active || hovered->State() == UIWnd::Press) hovered->SetState(UIWnd::Normal);
  if (!screen_->AddChild(dialog)) return false;  // destroyed by AddChild
  dialog->SetDrawnByHolder(true);
  dialog_ = dialog;
  kind_ = kind;
  return true;
}

void ModalChild::Close() {
  UIDialog* d = dialog_;
  dialog_ = nullptr;
  kind_ = 0;
  if (d && screen_ && d->Parent() == screen_) screen_->RemoveChild(d);
}

void ModalChild::Draw() {
  if (dialog_) dialog_->DrawNow();
}

}  // namespace Menu
