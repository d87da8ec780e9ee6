// Kinetic scrolling: content dragged with the mouse that glides on after a flick, slowing down, and
// springs back when pulled past its ends; and the scroll window that scrolls its children with it.
#pragma once
#include <cstdint>
#include <vector>

#include "anim/period_timer.h"
#include "ui/wnd.h"

namespace Core {

struct ScrollPoint {
  int x = 0, y = 0;
};

// The drag-and-glide engine. The owner moves its content in ScrollBy and tells in Overscroll how
// far the content stands past its range.
class cKinectScroll {
 public:
  // A flick older than this gives no glide; samples older than this are not averaged.
  static constexpr int kRecentMs = 250;
  // Past this the content stops following the pointer.
  static constexpr int kMaxPull = 150;
  // A glide stops this far past an end; a release this far past an end does not glide.
  static constexpr int kGlideLimit = 50;

  cKinectScroll();
  virtual ~cKinectScroll() = default;
  virtual void ScrollBy(int, int) {}
  virtual int QueryScroll() { return 0; }
  virtual ScrollPoint Overscroll() const { return {}; }

  void Press(int x, int y);
  void Drag(int x, int y);
  void Release();
  // Ends a drag without a glide (the window went away under the pointer).
  void Cancel();
  void GlideStep(int dt);
  void SpringStep(int dt);

  bool Dragging() const { return dragging_; }
  bool Gliding() const { return !inertia_.IsStopped(); }
  float VelocityX() const { return vx_; }
  float VelocityY() const { return vy_; }
  size_t SampleCount() const { return samples_.size(); }

 private:
  struct Sample {
    float vx, vy;
    int32_t time;
  };
  int lastX_ = 0, lastY_ = 0;
  PeriodTimer clock_;    // counts up from the press
  PeriodTimer inertia_;  // runs while the content glides
  bool dragging_ = false;
  float vx_ = 0, vy_ = 0;
  int32_t lastSample_ = 0;
  std::vector<Sample> samples_;
};

// "scrollWnd": scrolls its children vertically inside its rectangle, which clips them.
class UIScrollWnd : public UIWnd, public cKinectScroll {
 public:
  static constexpr int kWheelStep = 40;  // pixels per wheel notch

  void Load(const char* file, const char* section) override;
  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int MouseMove(int buttons, int value) override;
  int Wheel(float delta, int code, int value) override;
  int Update(int dt) override;
  int Draw() override;
  // 1 with the content at its top, 0 at its bottom.
  float GetValue() const override;
  void SetValue(float v) override;
  // Slot 26: the size of what scrolls (the window's own size until told otherwise).
  virtual void SetContentSize(int width, int height);

  void ScrollBy(int dx, int dy) override;
  ScrollPoint Overscroll() const override;

  int ContentWidth() const { return contentW_; }
  int ContentHeight() const { return contentH_; }
  int Offset() const { return offsetY_; }

 private:
  int32_t contentW_ = 0, contentH_ = 0;
  int32_t offsetY_ = 0, offsetX_ = 0;
  // A window hidden in the middle of a drag lets the input go.
  bool DropDragIfHidden();
};

}  // namespace Core
