// UIWnd's input handlers: the effect gate, then the active child (every child in edit mode), and
// the notifications that travel up to the parent.
#include <cstdlib>

#include "sound/sound.h"
#include "ui/wnd.h"

int UIWnd::KeyDown(int code, int value) {
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  if (g_wndEdit) {
    for (int i = 0; i < childCount_; ++i) children_[i]->KeyDown(code, value);
    return 0;
  }
  UIWnd* a = ActiveChild();
  return a ? a->KeyDown(code, value) : 0;
}

int UIWnd::KeyUp(int code, int value) {
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  if (g_wndEdit) {
    for (int i = childCount_ - 1; i >= 0; --i)
      if (i < childCount_ && children_[i]->KeyUp(code, value)) return 1;
    return EditKey(code, value);
  }
  UIWnd* a = ActiveChild();
  return a ? a->KeyUp(code, value) : 0;
}

int UIWnd::Char(int code, int value) {
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  UIWnd* a = ActiveChild();
  return a ? a->Char(code, value) : 0;
}

int UIWnd::MouseMove(int buttons, int value) {
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  if (UIWnd* a = ActiveChild()) a->MouseMove(buttons, value);
  return 0;
}

int UIWnd::Start(int a, int b, int c) {
  if (EffectBlocksInput()) return 1;
  UIWnd* w = ActiveChild();
  return w ? w->Start(a, b, c) : 0;
}

int UIWnd::Wheel(float delta, int code, int value) {
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  if (g_wndEdit) {
    for (int i = childCount_ - 1; i >= 0; --i)
      if (i < childCount_ && children_[i]->Wheel(delta, code, value)) return 1;
    return 0;
  }
  UIWnd* a = ActiveChild();
  return a ? a->Wheel(delta, code, value) : 0;
}

int UIWnd::OnCommand(UIWnd* source) { return parent_ ? parent_->OnCommand(source) : 0; }
int UIWnd::OnNotify(UIWnd* source, int message) { return parent_ ? parent_->OnNotify(source, message) : 0; }

void UIWnd::Refresh() {
  if (UIWnd* a = ActiveChild()) a->Refresh();
}

bool UIWnd::HitTest(int x, int y) const {
  if (Hidden()) return false;
  int w = std::abs(int(xs_)), h = std::abs(int(ys_));
  return x >= x_ && x < x_ + w && y >= y_ && y < y_ + h;
}

void UIWnd::SetState(int s) {
  if (s == Ignore && parent_ && parent_->ActiveChild() == this) parent_->active_ = -1;
  PlayTransitionSound(state_, s);
  state_ = uint8_t(s);
}

void UIWnd::PlayTransitionSound(int from, int to) {
  const char* name = from == Normal && to == Active  ? sndNormalActive_
                     : from == Active && to == Press ? sndActivePress_
                                                     : nullptr;
  if (name && *name) sndPlay(name);
}
