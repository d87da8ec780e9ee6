// Pictures in motion: a strip that scrolls sideways in a loop, four arrows that pulse around a
// rectangle, a sign that sways now and then, and a glow that turns and breathes.
#pragma once
#include "anim/period_timer.h"
#include "anim/value_ramp.h"
#include "ui/widget_sprite.h"

namespace Core {

// Turns (px, py), given relative to a pivot, by `angle` radians: the turning rule the arrows, the
// waving window and the glow share. Returns the turned offset (the pivot is not added).
void uiTurn(float px, float py, float angle, float& outX, float& outY);

// "rollingSprite": the "ignore" picture scrolled sideways through the window, wrapping without a gap.
class UIRollingSprite : public UIWnd {
 public:
  void Load(const char* file, const char* section) override;
  int Update(int dt) override;
  int Draw() override;
  // The strip's offset in pixels as drawn (the ramp's value rounded up, within the strip).
  int Offset() const;
  bool MovesRight() const { return moveRight_; }

 private:
  ValueRamp ramp_;
  bool moveRight_ = false;
};

// "arrowsMarker": four arrows (the "ignore" picture) beyond the corners, bobbing along the diagonals.
class UIArrowsMarker : public UIWnd {
 public:
  void Load(const char* file, const char* section) override;
  int Update(int dt) override;
  int Draw() override;
  // Where arrow k (0 to 3) is centred now.
  void ArrowCentre(int k, float& x, float& y) const;
  static float ArrowAngle(int k);

 private:
  ValueRamp wave_;
};

// "wavingWnd": its state picture, hung at ("CenterX", "CenterY") from the window's position, sways
// for a while after a pause of random length, then rests still again.
class UIWavingWnd : public UIWndSprite {
 public:
  enum Phase { kPause, kGrowing, kShrinking };
  void Load(const char* file, const char* section) override;
  int Update(int dt) override;
  int Draw() override;
  // The angle the picture is turned by now (0 during a pause).
  float Angle() const;
  Phase CurrentPhase() const;
  const PeriodTimer& PhaseTimer() const { return phase_; }

 private:
  ValueRamp wave_;
  PeriodTimer phase_;
  float amplitude_ = 0;
  int32_t period_ = 0, fadePeriod_ = 0, pausePeriod_ = 0;
  int centerX_ = 0, centerY_ = 0;
};

// "rotatingGlow": the ignore-state picture added to the screen, turning and breathing.
class UIRotatingGlow : public UIWndSprite {
 public:
  void Load(const char* file, const char* section) override;
  int Update(int dt) override;
  int Draw() override;
  float Angle() const { return angle_.Value(); }
  // The glow's brightness and alpha now (0 to 255).
  int Brightness() const;
  const ValueRamp& AngleRamp() const { return angle_; }

 private:
  ValueRamp angle_, fade_;
  float scale_ = 1.0f;
};

}  // namespace Core
