// The hover rule of the mouse-test container.
#include "ui/ui_mouse_wnd.h"

#include "ui/widget_sprite.h"

namespace Core {

bool UIWndWithMouseTest::TrackHover(int value) {
  const int x = UIWndSprite::PosX(value), y = UIWndSprite::PosY(value);
  const int before = active_;
  int hit = -1;
  for (int i = 0; i < childCount_ && hit < 0; ++i) {
    UIWnd* c = children_[i];
    if (!c->Hidden() && c->State() != Ignore && c->HitTest(x, y)) hit = i;
  }
  if (hit >= 0) SelectChild(hit, 1);
  else active_ = -1;
  UIWnd* a = ActiveChild();
  if (a && a->State() == Press && !a->HitTest(x, y)) a->SetState(Active);
  // Whatever the mouse has left goes back to normal, so no stale highlight stays behind.
  for (int i = 0; i < childCount_; ++i) {
    UIWnd* c = children_[i];
    if ((c->State() == Active || c->State() == Press) && !c->HitTest(x, y)) c->SetState(Normal);
  }
  return active_ != before;
}

int UIWndWithMouseTest::MouseMove(int buttons, int value) {
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  TrackHover(value);
  if (UIWnd* a = ActiveChild()) a->MouseMove(buttons, value);
  return 0;
}

}  // namespace Core
