// UISwitchSelect: arrows beside the options; clicking an arrow steps that way and shows its press.
#include "ui/widget_switch_select.h"
#include "platform/platform.h"

UISwitchSelect::UISwitchSelect() : left_(std::make_unique<UIWndSprite>()), right_(std::make_unique<UIWndSprite>()) {}
UISwitchSelect::~UISwitchSelect() = default;

void UISwitchSelect::Load(const char* file, const char* section) {
  UIWndButtonIE::Load(file, section);
  left_->Load(file, "left");
  right_->Load(file, "right");
  left_->MoveBy(x_, y_);
  right_->MoveBy(x_ + xs_ - right_->Width(), y_);
  left_->ShareFont(font_);
  right_->ShareFont(font_);
  LoadOptions(file, section);
  SetState(state_);
}

void UISwitchSelect::PlaceOption(UIWnd* option) {
  option->SetSize(xs_ - left_->Width() - right_->Width(), ys_);
  option->MoveBy(x_ + left_->Width(), y_);
}

void UISwitchSelect::MoveBy(int dx, int dy) {
  left_->MoveBy(dx, dy);
  right_->MoveBy(dx, dy);
  UISwitchBase::MoveBy(dx, dy);
}

void UISwitchSelect::SetPos(int x, int y) {
  left_->SetPos(left_->X() + x - x_, left_->Y() + y - y_);
  right_->SetPos(right_->X() + x - x_, right_->Y() + y - y_);
  UISwitchBase::SetPos(x, y);
}

void UISwitchSelect::SetState(int s) {
  UISwitchBase::SetState(s);
  left_->InitState(state_);
  right_->InitState(state_);
}

bool UISwitchSelect::HitTest(int x, int y) const {
  return UISwitchBase::HitTest(x, y) || (!Hidden() && (left_->HitTest(x, y) || right_->HitTest(x, y)));
}

int UISwitchSelect::ArrowFor(int code, int value) const {
  if (code == VK_LEFT_) return -1;
  if (code == VK_RIGHT_) return 1;
  if (code != VK_LBUTTON_) return 0;
  if (left_->HitTest(PosX(value), PosY(value))) return -1;
  if (right_->HitTest(PosX(value), PosY(value))) return 1;
  return 0;
}

int UISwitchSelect::KeyDown(int code, int value) {
  const int was = state_;
  const int r = UISwitchBase::KeyDown(code, value);
  if (was != Press && state_ == Press) {
    // Only the arrow pointed at shows its press picture.
    const int arrow = ArrowFor(code, value);
    left_->InitState(arrow < 0 ? Press : Active);
    right_->InitState(arrow > 0 ? Press : Active);
  }
  return r;
}

int UISwitchSelect::KeyUp(int code, int value) {
  if (g_wndEdit) return UIWnd::KeyUp(code, value);
  if (state_ != Press || Hidden()) return UISwitchBase::KeyUp(code, value);
  const int arrow = ArrowFor(code, value);
  if (code == VK_LBUTTON_ && arrow != 0) {
    // A release over an arrow counts as that arrow's key, also when the arrow lies outside.
    return UISwitchBase::KeyUp(arrow < 0 ? 37 : 39, 0);
  }
  return UISwitchBase::KeyUp(code, value);
}

int UISwitchSelect::Update(int dt) {
  if (Hidden()) return 0;
  left_->Update(dt);
  right_->Update(dt);
  return UISwitchBase::Update(dt);
}

int UISwitchSelect::Draw() {
  if (Hidden()) return 0;
  const int stop = UISwitchBase::Draw();
  for (UIWndSprite* arrow : {left_.get(), right_.get()})
    if (!arrow->Font()) arrow->ShareFont(font_);
  left_->SetColour(colour_);
  right_->SetColour(colour_);
  // A state stored without SetState (creation, the hover rule of another parent) reaches the
  // arrows here; while pressed, the arrow pointed at keeps its own press picture.
  if (state_ != Press) {
    left_->InitState(state_);
    right_->InitState(state_);
  }
  left_->Draw();
  right_->Draw();
  return stop;
}
