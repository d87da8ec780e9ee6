// Rolling strip, arrows marker, waving sign and rotating glow.
#include "ui/ui_deco_motion.h"

#include <algorithm>
#include <cmath>

#include "files/ini.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"
#include "ui/ui_random.h"

namespace Core {

namespace {

constexpr float kTurn = 6.28f;

// Draws `s` (frame `frame`) on a quad whose corners are the offsets (top-left, top-right,
// bottom-right, bottom-left) turned by `angle` and moved to (px, py); `inset` trims the source.
void DrawTurned(CSprite* s, float px, float py, const float corners[8], float angle, uint32_t mode, uint32_t argb,
                int frame, float inset = 0) {
  float xy[8];
  for (int i = 0; i < 4; ++i) {
    uiTurn(corners[2 * i], corners[2 * i + 1], angle, xy[2 * i], xy[2 * i + 1]);
    xy[2 * i] += px;
    xy[2 * i + 1] += py;
  }
  const float w = float(sprWidth(s)), h = float(sprHeight(s));
  const float src[8] = {inset, inset, w - inset, inset, w - inset, h - inset, inset, h - inset};
  const uint32_t colors[4] = {argb, argb, argb, argb};
  grDrawSpriteQuad(mode, 15, xy, s, src, colors, nullptr, frame);
}

}  // namespace

void uiTurn(float px, float py, float angle, float& outX, float& outY) {
  const float c = std::cos(angle), s = std::sin(angle);
  outX = px * c + py * s;
  outY = py * c - px * s;
}

// ---- Rolling strip ---------------------------------------------------------------------------

void UIRollingSprite::Load(const char* file, const char* section) {
  UIWnd::Load(file, section);
  moveRight_ = iniGetInt(file, section, "isMoveRight", 0) != 0;
  const int width = images_[0] ? sprWidth(images_[0]) : 0;
  ramp_.Set(iniGetInt(file, section, "period", 0), 0.0f, float(width), ValueRamp::Form::Repeat);
}

int UIRollingSprite::Update(int dt) {
  ramp_.Advance(dt);
  return UIWnd::Update(dt);
}

int UIRollingSprite::Offset() const {
  const int width = images_[0] ? sprWidth(images_[0]) : 0;
  // Rounded up, but a value a hair above a whole pixel from summing float steps is that pixel.
  return std::clamp(int(std::ceil(ramp_.Value() - 1e-3f)), 0, width);
}

int UIRollingSprite::Draw() {
  CSprite* strip = images_[0];
  if (!strip) return 0;
  const int W = sprWidth(strip), xs = std::min(int(xs_), W), ys = ys_, o = Offset();
  if (W <= 0 || xs <= 0 || ys <= 0) return 0;
  auto piece = [&](int dx, int sx, int w) {
    if (w > 0) grDrawSpriteEx(kModeTextureAlpha, 15, x_ + dx, y_, w, ys, strip, sx, 0, w, ys, 0xFFFFFFFFu, 0);
  };
  if (!moveRight_) {
    piece(0, o, std::min(xs, W - o));
    if (W - o < xs) piece(W - o, 0, xs - (W - o));
  } else {
    const int e = W - o;
    piece(std::max(0, xs - e), std::max(0, e - xs), std::min(xs, e));
    if (xs > e) piece(0, W - (xs - e), xs - e);
  }
  return 0;
}

// ---- Arrows marker ---------------------------------------------------------------------------

void UIArrowsMarker::Load(const char* file, const char* section) {
  UIWnd::Load(file, section);
  wave_.amplitude = float(iniGetInt(file, section, "ampl", 0));
  wave_.Set(iniGetInt(file, section, "period", 0), 0.0f, kTurn, ValueRamp::Form::Wave);
}

int UIArrowsMarker::Update(int dt) {
  wave_.Advance(dt);
  return UIWnd::Update(dt);
}

float UIArrowsMarker::ArrowAngle(int k) {
  static const float angles[4] = {1.57f, 0.0f, 4.71f, 3.14f};
  return angles[k & 3];
}

void UIArrowsMarker::ArrowCentre(int k, float& x, float& y) const {
  const float cx = float(x_ + xs_ / 2), cy = float(y_ + ys_ / 2);
  const float kx = float((k == 1 || k == 2) ? x_ + xs_ : x_), ky = float(k >= 2 ? y_ + ys_ : y_);
  float ux = cx - kx, uy = cy - ky;
  const float len = std::sqrt(ux * ux + uy * uy);
  if (len > 0) {
    ux /= len;
    uy /= len;
  } else {
    ux = uy = 0;
  }
  const float s = wave_.WaveValue();
  x = cx + (cx - kx) + s * ux;
  y = cy + (cy - ky) + s * uy;
}

int UIArrowsMarker::Draw() {
  CSprite* arrow = images_[0];
  if (Hidden() || !arrow) return 0;
  const float w = float(sprWidth(arrow)), h = float(sprHeight(arrow));
  const float corners[8] = {-w / 2, -h / 2, w / 2, -h / 2, w / 2, h / 2, -w / 2, h / 2};
  for (int k = 0; k < 4; ++k) {
    float px, py;
    ArrowCentre(k, px, py);
    DrawTurned(arrow, px, py, corners, ArrowAngle(k), kModeTextureAlpha, 0xFFFFFFFFu, age_);
  }
  return 0;
}

// ---- Waving sign -----------------------------------------------------------------------------

void UIWavingWnd::Load(const char* file, const char* section) {
  UIWndSprite::Load(file, section);
  amplitude_ = iniGetFloat(file, section, "AngleAmplitude", 0.0f) * 3.14159f / 180.0f;
  period_ = iniGetInt(file, section, "Period", 0);
  centerX_ = iniGetInt(file, section, "CenterX", 0);
  centerY_ = iniGetInt(file, section, "CenterY", 0);
  fadePeriod_ = iniGetInt(file, section, "FadePeriod", 0);
  pausePeriod_ = iniGetInt(file, section, "PausePeriod", 0);
  wave_.timer.Stop();
  // Cosmetic: the pause comes from the unlogged generator, so a replay draws the same logged numbers.
  phase_ = PeriodTimer(uiRandomPeriod(0, std::max(0, pausePeriod_)), 0);
  phase_.Restart();
}

UIWavingWnd::Phase UIWavingWnd::CurrentPhase() const {
  if (wave_.IsStopped()) return kPause;
  return phase_.IsBackwards() ? kShrinking : kGrowing;
}

int UIWavingWnd::Update(int dt) {
  if (phase_.Advance(dt)) {
    if (wave_.IsStopped()) {
      wave_.amplitude = amplitude_;
      wave_.Set(period_, 0.0f, 6.28318f, ValueRamp::Form::Wave);
      phase_ = PeriodTimer(fadePeriod_, 0);
    } else if (!phase_.IsBackwards()) {
      phase_ = PeriodTimer(fadePeriod_, PeriodTimer::kBackwards);
    } else {
      wave_.timer.Stop();
      phase_ = PeriodTimer(uiRandomPeriod(0, std::max(0, pausePeriod_)), 0);
    }
    phase_.Restart();
  }
  wave_.Advance(dt);
  return UIWndSprite::Update(dt);
}

float UIWavingWnd::Angle() const {
  // At rest during a pause, whatever phase the stopped wave was left at.
  if (wave_.IsStopped() || phase_.Period() <= 0) return 0.0f;
  return wave_.WaveValue() * float(phase_.Time()) / float(phase_.Period());
}

int UIWavingWnd::Draw() {
  CSprite* img = StateImage();
  if (Hidden() || !img) return 0;
  const float w = float(sprWidth(img)), h = float(sprHeight(img));
  const float cx = float(centerX_), cy = float(centerY_);
  const float corners[8] = {-cx, -cy, w - cx, -cy, w - cx, h - cy, -cx, h - cy};
  DrawTurned(img, float(x_), float(y_), corners, Angle(), kModeFade, colour_, 0);
  return 0;
}

// ---- Rotating glow ---------------------------------------------------------------------------

void UIRotatingGlow::Load(const char* file, const char* section) {
  UIWndSprite::Load(file, section);
  const int g = iniGetInt(file, section, "glowPeriod", 0);
  const bool clockwise = iniGetInt(file, section, "isClockWise", 0) != 0;
  // A negative period runs the ramp backwards: clockwise turns up with a positive period.
  angle_.Set(clockwise ? g : -g, 0.0f, kTurn, ValueRamp::Form::Repeat);
  if (!clockwise && g == 0) angle_.Set(0, kTurn, 0.0f, ValueRamp::Form::Repeat);
  const int f = iniGetInt(file, section, "fadePeriod", 0);
  fade_.amplitude = iniGetFloat(file, section, "fadeAmpl", 0.0f);
  fade_.Set(f, 0.0f, 3.14f, ValueRamp::Form::Wave);
  if (f == 0) {
    fade_.timer.Stop();
    SetAlpha(uint8_t(std::clamp(iniGetInt(file, section, "a", 0), 0, 255)));
  }
  scale_ = iniGetFloat(file, section, "scale", 0.0f);
  if (scale_ == 0) scale_ = 1.0f;
}

int UIRotatingGlow::Update(int dt) {
  angle_.Advance(dt);
  fade_.Advance(dt);
  return UIWndSprite::Update(dt);
}

int UIRotatingGlow::Brightness() const {
  const int a = int(colour_ >> 24);
  if (fade_.IsStopped()) return a;
  return std::clamp(std::min(a, int(std::lround(std::sin(fade_.Value()) * fade_.amplitude))), 0, 255);
}

int UIRotatingGlow::Draw() {
  CSprite* img = images_[0];
  if (!img) return 0;
  const float w = float(sprWidth(img)) * scale_, h = float(sprHeight(img)) * scale_;
  const float corners[8] = {-w / 2, -h / 2, w / 2, -h / 2, w / 2, h / 2, -w / 2, h / 2};
  const int b = Brightness();
  DrawTurned(img, float(x_) + w / 2, float(y_) + h / 2, corners, angle_.Value(), kModeGlow, grColor(b, b, b, b), 0,
             1.0f);
  return 0;
}

}  // namespace Core
