// The rising, fading message over the map.
#include "game/objects/fx_flying_message.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "files/text.h"
#include "gfx/font.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "game/core/app_init.h"

namespace Fx {
namespace {
constexpr int kScreenRight = 1004;
constexpr int kScreenLeft = 20;
}  // namespace

cFlyingMessage::cFlyingMessage() {
  layer = kLayer;
  Set(Map::kFlagClickable, false);
  Set(Map::kFlagCreatedAtLoad, false);
  m_fade.Set(kFadeMs, 255.0f, 0.0f);
  m_fade.timer.Stop();
  m_delay.SetPeriod(kHoldMs);
  m_delay.Restart();
}

cFlyingMessage::~cFlyingMessage() = default;

void cFlyingMessage::SetMessage(std::u16string_view text, const AnimationState& picture) {
  // A longer text is cut, never written past the buffer.
  const size_t n = std::min<size_t>(text.size(), kMaxChars);
  std::copy_n(text.data(), n, m_text);
  m_text[n] = u'\0';
  m_picture = n > 0 ? picture : AnimationState();
  m_delay.SetPeriod(kHoldMs);
  m_delay.Restart();
  m_fade.Set(kFadeMs, 255.0f, 0.0f);
  m_fade.timer.Stop();
  m_rise = kRise;
}

bool cFlyingMessage::UpdateTimers(int32_t ms) {
  SetAnchorF(x, y + m_rise);
  if (!m_delay.IsStopped() && m_delay.Advance(ms)) {
    m_delay.Stop();
    m_fade.Set(kFadeMs, 255.0f, 0.0f);
  }
  if (!m_fade.IsStopped() && m_fade.Advance(ms)) {
    m_fade.value = 0.0f;
    m_fade.timer.Stop();
    Kill();
  }
  return Has(Map::kFlagRemoved);
}

int cFlyingMessage::Place(int cx, int width, int& left) {
  const int half = width / 2;
  if (cx + half > kScreenRight)
    cx = kScreenRight - half;
  else if (cx - half < kScreenLeft)
    cx = half + kScreenLeft;
  left = cx - half;
  return cx;
}

void cFlyingMessage::Draw(const Map::DrawContext& dc) {
  if (m_text[0] == u'\0') return;
  // The start-up font: the message holds no reference that could outlive the sprite library.
  CSprite* font = gameTextFont();
  const int cx = int(std::lround(x)) + int(dc.offsetX);
  const int cy = int(std::lround(y)) + int(dc.offsetY);
  const int textWidth = font ? fontTextWidth(font, m_text) : 0;
  const int width = textWidth + (m_picture.IsValid() ? m_picture.Width() : 0);
  int left = 0;
  const int centre = Place(cx, width, left);
  const float a = m_fade.Value();
  const int alpha = a >= 255.0f ? 255 : a <= 0.0f ? 0 : int(std::lround(a));
  const uint32_t argb = (uint32_t(alpha) << 24) | 0xFFFFFFu;
  if (font)
    fontDrawText(kModeFade, 15, 1.0f, 1.0f, font, float(left), cy, m_text, 0, -1, 0, argb);
  else
    grTextOut(left, cy, textUtf16ToUtf8(m_text).c_str(), argb);
  if (m_picture.IsValid()) m_picture.DrawFaded(float(centre + 10), float(cy), alpha, 1.0f, 1.0f);
}

}  // namespace Fx
