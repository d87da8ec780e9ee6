// The short text (or "+" and an amount beside a small picture) that rises from a place on the map,
// holds for a second, fades for two and then takes itself off the map.
#pragma once

#include <cstdint>
#include <string_view>

#include "anim/animation.h"
#include "anim/period_timer.h"
#include "anim/value_ramp.h"
#include "game/core/map_object.h"

namespace Fx {

class cFlyingMessage : public Map::cObject {
 public:
  static constexpr int kMaxChars = 49;  // the text keeps room for a terminator
  static constexpr int32_t kLayer = 100;
  static constexpr int32_t kHoldMs = 1000;
  static constexpr int32_t kFadeMs = 2000;
  static constexpr float kRise = -1.5f;

  cFlyingMessage();
  ~cFlyingMessage() override;

  // Created at run time only: there is nothing to read.
  bool LoadBinary(MapStream&) override { return true; }
  bool LoadIni(const gFileName&, const char*) override { return true; }

  // Sets the text (cut to kMaxChars) and the picture, and starts the hold; an empty text drops the
  // picture.
  void SetMessage(std::u16string_view text, const AnimationState& picture);

  bool UpdateTimers(int32_t ms) override;
  void Draw(const Map::DrawContext& dc) override;

  std::u16string_view Text() const { return m_text; }
  const AnimationState& Picture() const { return m_picture; }
  float Alpha() const { return m_fade.Value(); }
  // Where a message of `width` pixels (text and picture) centred on `cx` is drawn so that it stays
  // on the 1024-wide screen with a margin of 20: the text's left edge in `left`; the answer is the
  // centre it moved to, which the picture follows.
  static int Place(int cx, int width, int& left);

 private:
  char16_t m_text[kMaxChars + 1] = {};
  AnimationState m_picture;
  float m_rise = kRise;
  ValueRamp m_fade;
  PeriodTimer m_delay;
};

}  // namespace Fx
