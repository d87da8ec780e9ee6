// UIWnd's update and draw walks: children from the last to the first, stopping when one asks,
// with the effect transform set around the window's subtree.
#include "gfx/render.h"
#include "ui/wnd.h"
#include "ui/wnd_internal.h"

int UIWnd::Update(int dt) {
  if (Hidden()) return 0;
  age_ += dt;
  // A child's update may remove siblings (their destruction waits), so the count is re-read.
  for (int i = childCount_ - 1; i >= 0; --i)
    if (i < childCount_ && children_[i]->Update(dt)) return 1;
  return 0;
}

int UIWnd::Draw() {
  if (Hidden()) return 0;
  float m[16];
  bool pushed = EffectTransform(m);
  if (pushed) {
    grPushTransform(m);
    wndTransformPushed();
  }
  if (g_wndBounds)
    grFrameRect(x_, y_, x_ + xs_, y_ + ys_, (flags_ & 8) ? grColor(255, 255, 255) : grColor(255, 0, 255));
  int stop = 0;
  for (int i = childCount_ - 1; i >= 0 && !stop; --i)
    if (i < childCount_ && children_[i]->Draw()) stop = 1;
  // Even when a child stops the drawing, the transform set here must not leak to what follows.
  if (pushed) {
    grPopTransform();
    wndTransformPopped();
  }
  return stop;
}
