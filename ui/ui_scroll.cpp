// The kinetic scroll engine and the scroll window.
#include "ui/ui_scroll.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "gfx/render.h"
#include "ui/widget_sprite.h"
#include "platform/platform.h"

namespace Core {

namespace {
float Length(float x, float y) { return std::sqrt(x * x + y * y); }
float Length(ScrollPoint p) { return Length(float(p.x), float(p.y)); }
}  // namespace

cKinectScroll::cKinectScroll() : clock_(INT32_MAX, PeriodTimer::kStopped), inertia_(INT32_MAX, PeriodTimer::kStopped) {}

void cKinectScroll::Press(int x, int y) {
  lastX_ = x;
  lastY_ = y;
  inertia_.Stop();
  clock_.Restart();
  lastSample_ = 0;
  dragging_ = true;
  // A press starts from rest: the speed of an earlier flick must not launch the next release.
  vx_ = vy_ = 0;
  samples_.clear();
}

void cKinectScroll::Drag(int x, int y) {
  const int dx = x - lastX_, dy = y - lastY_;
  const int32_t now = clock_.Time();
  const int32_t dt = now - lastSample_;
  lastSample_ = now;
  if (dt > 0) {
    vx_ = float(dx) / float(dt);
    vy_ = float(dy) / float(dt);
    samples_.push_back({vx_, vy_, now});
  }
  QueryScroll();
  if (Length(Overscroll()) <= kMaxPull) ScrollBy(dx, dy);
  lastX_ = x;
  lastY_ = y;
}

void cKinectScroll::Release() {
  if (!dragging_) return;
  dragging_ = false;
  const int32_t now = clock_.Time();
  if (now - lastSample_ > kRecentMs) {
    samples_.clear();
    vx_ = vy_ = 0;
    return;
  }
  int count = 0;
  for (const Sample& s : samples_)
    if (now - s.time < kRecentMs) {
      vx_ += s.vx;
      vy_ += s.vy;
      ++count;
    }
  samples_.clear();
  // The speed already held the last sample, so that one counts twice.
  if (count > 0) {
    vx_ /= float(count + 1);
    vy_ /= float(count + 1);
  }
  if (Length(Overscroll()) < kGlideLimit) inertia_.Restart();
}

void cKinectScroll::Cancel() {
  dragging_ = false;
  samples_.clear();
  vx_ = vy_ = 0;
  inertia_.Stop();
}

void cKinectScroll::GlideStep(int dt) {
  clock_.Advance(dt);
  if (inertia_.IsStopped()) return;
  inertia_.Advance(dt);
  const float mx = vx_ * float(dt), my = vy_ * float(dt);
  // Half the speed is lost every 160 ms.
  const float keep = std::pow(0.5f, float(dt) / 160.0f);
  vx_ *= keep;
  vy_ *= keep;
  if (Length(vx_, vy_) >= 0.005f && Length(Overscroll()) <= kGlideLimit) {
    ScrollBy(int(std::lround(mx)), int(std::lround(my)));
  } else {
    inertia_.Stop();
    vx_ = vy_ = 0;
  }
}

void cKinectScroll::SpringStep(int dt) {
  if (!inertia_.IsStopped() || dragging_) return;
  const ScrollPoint o = Overscroll();
  const float len = Length(o);
  if (len == 0) return;
  if (len <= 1.5f) {
    // The last pixel is taken exactly, so the content rests on its end and not beside it.
    ScrollBy(o.x, o.y);
    return;
  }
  float sx = float(o.x) * float(dt) / 300.0f, sy = float(o.y) * float(dt) / 300.0f;
  if (Length(sx, sy) <= 1.0f) {
    const float f = len >= 4.0f ? 0.25f : 0.5f;
    sx = float(o.x) * f;
    sy = float(o.y) * f;
  }
  ScrollBy(int(std::lround(sx)), int(std::lround(sy)));
}

// ---- Scroll window ---------------------------------------------------------------------------

void UIScrollWnd::Load(const char* file, const char* section) {
  UIWnd::Load(file, section);
  contentW_ = xs_;
  contentH_ = ys_;
}

void UIScrollWnd::SetContentSize(int width, int height) {
  contentW_ = width;
  contentH_ = height;
}

void UIScrollWnd::ScrollBy(int, int dy) {
  // Vertical only: the horizontal part is ignored.
  for (int i = 0; i < childCount_; ++i) children_[i]->MoveBy(0, dy);
  offsetY_ += dy;
  if (parent_) parent_->OnCommand(this);
}

ScrollPoint UIScrollWnd::Overscroll() const {
  auto axis = [](int o, int content, int view) {
    if (o > 0) return -o;
    if (view < content && o + content < view) return view - content - o;
    return 0;
  };
  return {axis(offsetX_, contentW_, xs_), axis(offsetY_, contentH_, ys_)};
}

float UIScrollWnd::GetValue() const {
  const int range = contentH_ - ys_;
  // Content that fits has nowhere to go: it is at its top.
  if (range <= 0) return 1.0f;
  return float(offsetY_) / float(range) + 1.0f;
}

void UIScrollWnd::SetValue(float v) {
  if (v < 0.01f) v = 0;
  const int range = std::max(0, contentH_ - ys_);
  ScrollBy(0, int(-float(range) * (1.0f - v) - float(offsetY_)));
}

bool UIScrollWnd::DropDragIfHidden() {
  if (!Hidden()) return false;
  if (Dragging()) {
    Cancel();
    ReleaseInput();
  }
  return true;
}

int UIScrollWnd::KeyDown(int code, int value) {
  if (DropDragIfHidden()) return 0;
  if (code == VK_LBUTTON_ && HitTest(UIWndSprite::PosX(value), UIWndSprite::PosY(value))) {
    cKinectScroll::Press(UIWndSprite::PosX(value), UIWndSprite::PosY(value));
    GrabInput();
  }
  return UIWnd::KeyDown(code, value);
}

int UIScrollWnd::KeyUp(int code, int value) {
  if (DropDragIfHidden()) return 0;
  if (code == VK_LBUTTON_ && Dragging()) {
    Release();
    ReleaseInput();
    UIWnd::KeyUp(code, value);
    // Taken here: offered again through the tree it would reach the content a second time.
    return 1;
  }
  return UIWnd::KeyUp(code, value);
}

int UIScrollWnd::MouseMove(int buttons, int value) {
  if (DropDragIfHidden()) return 0;
  if (Dragging()) {
    Drag(UIWndSprite::PosX(value), UIWndSprite::PosY(value));
    UIWnd::MouseMove(buttons, value);
    return 1;
  }
  return UIWnd::MouseMove(buttons, value);
}

int UIScrollWnd::Wheel(float delta, int code, int value) {
  if (DropDragIfHidden()) return 0;
  if (!Dragging()) {
    cKinectScroll::Press(0, 0);
    Drag(0, int(delta * float(kWheelStep)));
    Release();
  }
  return UIWnd::Wheel(delta, code, value);
}

int UIScrollWnd::Update(int dt) {
  if (DropDragIfHidden()) return 0;
  GlideStep(dt);
  SpringStep(dt);
  return UIWnd::Update(dt);
}

int UIScrollWnd::Draw() {
  if (Hidden()) return 0;
  int cx1, cy1, cx2, cy2;
  grGetClip(cx1, cy1, cx2, cy2);
  // Inside an enclosing clip the window shows only what both let through, and nothing at all when
  // they do not meet.
  const int x1 = std::max(cx1, int(x_)), y1 = std::max(cy1, int(y_));
  const int x2 = std::min(cx2, x_ + xs_), y2 = std::min(cy2, y_ + ys_);
  if (x2 <= x1 || y2 <= y1) return 0;
  grSetClip(x1, y1, x2, y2);
  const int stop = UIWnd::Draw();
  grSetClip(cx1, cy1, cx2, cy2);
  return stop;
}

}  // namespace Core
