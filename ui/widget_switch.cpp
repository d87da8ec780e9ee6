// UISwitchBase: options loaded from their sections, pressed with a click, Enter or the arrows,
// changed on release.
#include "ui/widget_switch.h"

#include <string>

#include "files/ini.h"
#include "platform/platform.h"

void UISwitchBase::Load(const char* file, const char* section) {
  UIWndButtonIE::Load(file, section);
  LoadOptions(file, section);
}

void UISwitchBase::LoadOptions(const char* file, const char* section) {
  for (int i = 0; i < kMaxOptions; ++i) {
    const std::string key = std::to_string(i);
    const std::string name = iniGetString(file, section, key.c_str(), "");
    if (name.empty()) break;
    auto* option = new UIWndSprite();
    if (!AddChild(option)) break;
    option->Load(file, name.c_str());
    PlaceOption(option);
    if (!option->Font()) option->ShareFont(font_);
    option->InitState(Normal);
  }
  // The first option is current, as it was put first in the definition.
  if (childCount_ > 0) active_ = 0;
}

void UISwitchBase::PlaceOption(UIWnd* option) {
  option->SetSize(option->Width() ? option->Width() : xs_, option->Height() ? option->Height() : ys_);
  option->MoveBy(x_, y_);
}

void UISwitchBase::SetCurrent(int i) {
  if (childCount_ == 0) return;
  i = ((i % childCount_) + childCount_) % childCount_;
  if (UIWnd* old = ActiveChild(); old && old != children_[i]) old->InitState(Normal);
  active_ = int8_t(i);
  children_[i]->InitState(state_);
}

int UISwitchBase::KeyDown(int code, int value) {
  if (g_wndEdit) return UIWnd::KeyDown(code, value);
  int gate = InputGate();
  if (gate >= 0) return gate;
  if (state_ != Active) return 0;
  if (!IsClickKey(code, value) && code != VK_LEFT_ && code != VK_RIGHT_) return 0;
  SetState(Press);
  if (UIWnd* o = ActiveChild()) o->SetState(Press);
  return 1;
}

int UISwitchBase::KeyUp(int code, int value) {
  if (g_wndEdit) return UIWnd::KeyUp(code, value);
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  if (state_ != Press) return 0;
  SetState(Active);
  if (code != VK_RETURN_ && code != VK_LBUTTON_ && code != VK_LEFT_ && code != VK_RIGHT_) {
    // Another key only ends the press.
    if (UIWnd* o = ActiveChild()) o->InitState(state_);
    return 0;
  }
  const bool inside = code != VK_LBUTTON_ || HitTest(PosX(value), PosY(value));
  if (inside && childCount_ > 0) {
    SetCurrent(active_ + (code == VK_LEFT_ ? -1 : 1));
    OnCommand(this);
  } else if (UIWnd* o = ActiveChild()) {
    o->InitState(state_);
  }
  return 1;
}

int UISwitchBase::Update(int dt) {
  if (Hidden()) return 0;
  age_ += dt;
  // The switch gets its font when it joins its parent, after its options were made.
  for (int i = 0; i < childCount_; ++i)
    if (!children_[i]->Font()) children_[i]->ShareFont(font_);
  UIWnd* o = ActiveChild();
  return o ? o->Update(dt) : 0;
}

int UISwitchBase::Draw() {
  if (Hidden()) return 0;
  float m[16];
  const bool pushed = BeginDraw(m);
  DrawButton();
  int stop = 0;
  if (UIWnd* o = ActiveChild()) {
    if (!o->Font()) o->ShareFont(font_);
    stop = o->Draw();
  }
  EndDraw(pushed);
  return stop;
}
