// Keyboard and mouse focus among a window's children: SelectChild and the hover rule.
#include "ui/wnd.h"
#include "ui/wnd_internal.h"

void UIWnd::SelectChild(int index, int direction) {
  if (childCount_ == 0) {
    active_ = -1;
    return;
  }
  if (UIWnd* a = ActiveChild()) {
    if (index == active_) {
      if (a->state_ == Normal) a->SetState(Active);
      return;
    }
    if (a->state_ == Active || a->state_ == Press) a->SetState(Normal);
  }
  if (direction == 0) direction = index > active_ ? 1 : index < active_ ? -1 : 0;
  for (int tries = 0; tries < childCount_; ++tries) {
    int i = ((index % childCount_) + childCount_) % childCount_;
    if (children_[i]->state_ == Normal) {
      active_ = int8_t(i);
      children_[i]->SetState(Active);
      OnFocusChanged();
      return;
    }
    index = i + direction;
  }
  active_ = -1;
}

void UIWnd::TrackMouse(int value) {
  int x = wndUnpackX(value), y = wndUnpackY(value);
  for (int i = 0; i < childCount_; ++i) {
    UIWnd* c = children_[i];
    if (c->state_ != Ignore && c->HitTest(x, y)) {
      SelectChild(i, 1);
      break;
    }
  }
  UIWnd* a = ActiveChild();
  if (a && a->state_ == Press && !a->HitTest(x, y)) a->state_ = Active;
}
