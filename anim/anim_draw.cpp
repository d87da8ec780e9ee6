// AnimationState drawing: rectangles (plain, scaled, faded) and the turned quad, with the render
// mode an additive animation needs and mirroring inside the rectangle.
#include <cmath>

#include "anim/anim_sprite.h"
#include "anim/animation.h"
#include "gfx/render_device.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kModeFadeAdd = grModeWord(4, 2, 1, 2, 5);  // source alpha onto one

uint32_t FadeColor(int alpha) {
  if (alpha >= 255) return kWhite;
  const uint32_t a = uint32_t(alpha < 0 ? 0 : alpha);
  return a << 24 | a << 16 | a << 8 | a;
}

int Round(float v) { return int(std::lround(v)); }

}  // namespace

void AnimationState::DrawRect(float x, float y, float w, float h, uint32_t modeWord, uint32_t argb,
                              int frameTime) const {
  if (!sprite_) return;
  float l = x, r = x + w, t = y, b = y + h;
  if (Has(kFlipX)) std::swap(l, r);
  if (Has(kFlipY)) std::swap(t, b);
  const float xy[8] = {l, t, r, t, r, b, l, b};
  animSpriteDrawQuad(modeWord, 15, xy, sprite_, RowOfFrameTime(frameTime), argb, 0);
}

void AnimationState::DrawFrame(int x, int y, int frameIndex) const { DrawFrameScaled(x, y, 1.0f, 1.0f, frameIndex); }

void AnimationState::DrawFrameScaled(int x, int y, float sx, float sy, int frameIndex) const {
  if (!sprite_) return;
  const int w = Width(), h = Height();
  const float px = Has(kCentred) ? float(x) - w / 2 * sx : float(x);
  const float py = Has(kCentred) ? float(y) - h / 2 * sy : float(y);
  DrawRect(float(Round(px)), float(Round(py)), float(Round(w * sx)), float(Round(h * sy)),
           Has(kAdditive) ? kModeAdd : kModeTextureAlpha, kWhite, TimeOfFrame(frameIndex));
}

void AnimationState::DrawCurrent(int x, int y) const {
  if (!sprite_) return;
  const int w = Width(), h = Height();
  const int px = Has(kCentred) ? x - w / 2 : x, py = Has(kCentred) ? y - h / 2 : y;
  DrawRect(float(px), float(py), float(w), float(h), Has(kAdditive) ? kModeAdd : kModeTextureAlpha, kWhite,
           CurrentFrameTime());
}

void AnimationState::DrawCurrent(float x, float y) const {
  if (!sprite_) return;
  const float w = float(Width()), h = float(Height());
  const float px = Has(kCentred) ? x - w / 2 : x, py = Has(kCentred) ? y - h / 2 : y;
  DrawRect(px, py, w, h, Has(kAdditive) ? kModeAdd : kModeTextureAlpha, kWhite, CurrentFrameTime());
}

void AnimationState::DrawFaded(int x, int y, int alpha, float sx, float sy) const {
  if (!sprite_) return;
  const int w = Round(Width() * sx), h = Round(Height() * sy);
  const int px = Has(kCentred) ? x - std::abs(w) / 2 : x, py = Has(kCentred) ? y - std::abs(h) / 2 : y;
  DrawRect(float(px), float(py), float(w), float(h), Has(kAdditive) ? kModeFadeAdd : kModeFade, FadeColor(alpha),
           CurrentFrameTime());
}

void AnimationState::DrawFaded(float x, float y, int alpha, float sx, float sy) const {
  if (!sprite_) return;
  const float w = Width() * sx, h = Height() * sy;
  const float px = Has(kCentred) ? x - std::fabs(w) / 2 : x, py = Has(kCentred) ? y - std::fabs(h) / 2 : y;
  DrawRect(px, py, w, h, Has(kAdditive) ? kModeFadeAdd : kModeFade, FadeColor(alpha), CurrentFrameTime());
}

void AnimationState::DrawFadedDimming(int x, int y, int alpha, float scale) const {
  if (!sprite_) return;
  const int w = Round(Width() * scale), h = Round(Height() * scale);
  const int px = Has(kCentred) ? x - std::abs(w) / 2 : x, py = Has(kCentred) ? y - std::abs(h) / 2 : y;
  DrawRect(float(px), float(py), float(w), float(h), Has(kAdditive) ? kModeAddTinted : kModeFade, FadeColor(alpha),
           CurrentFrameTime());
}

void AnimationState::DrawRotated(float x, float y, float angle, uint32_t modeWord, uint8_t mask, uint32_t argb,
                                 float scale, uint32_t added, int frameIndex) const {
  if (!sprite_) return;
  if (((modeWord >> 8) & 0xFF) == 1) {
    modeWord = Has(kAdditive) ? kModeAdd : kModeTextureAlpha;
    mask = 15;
  }
  float hw = Width() * scale / 2, hh = Height() * scale / 2;
  if (Has(kFlipX)) hw = -hw;
  if (Has(kFlipY)) hh = -hh;
  const float c = std::cos(angle), s = std::sin(angle);
  const float corners[4][2] = {{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}};
  float xy[8];
  for (int i = 0; i < 4; ++i) {
    const float dx = corners[i][0], dy = corners[i][1];
    xy[i * 2] = x + dx * c + dy * s;
    xy[i * 2 + 1] = y + dy * c - dx * s;
  }
  const int frameTime = frameIndex == -1 ? CurrentFrameTime() : TimeOfFrame(frameIndex);
  animSpriteDrawQuad(modeWord, mask, xy, sprite_, RowOfFrameTime(frameTime), argb, added);
}
