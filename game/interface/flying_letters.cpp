// The win lettering.
#include "game/interface/flying_letters.h"

#include <algorithm>
#include <cmath>

#include "files/ini.h"
#include "game/core/random.h"
#include "gfx/font.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"

namespace Interface {

void cFlyingLetters::Start(const std::u16string& text, const std::vector<int>& widths,
                           const std::vector<float>& fractions) {
  m_letters.clear();
  const size_t n = std::min({text.size(), widths.size(), kMaxLetters});
  float total = 0.0f;
  for (size_t i = 0; i < n; ++i) total += float(std::max(0, widths[i])) + (i + 1 < n ? kGap : 0.0f);
  float x = kCentreX - total / 2.0f;
  for (size_t i = 0; i < n; ++i) {
    Letter l;
    l.ch = text[i];
    l.x = x;
    const float f = i < fractions.size() ? std::clamp(fractions[i], 0.0f, 1.0f) : 0.0f;
    l.y = -50.0f - 20.0f * float(i) * f;
    l.speed = kStartSpeed;
    m_letters.push_back(l);
    x += float(std::max(0, widths[i])) + kGap;
  }
}

void cFlyingLetters::Update(int32_t ms) {
  if (ms <= 0) return;
  const float dt = float(ms);
  for (Letter& l : m_letters) {
    if (l.state == kGone) continue;
    if (l.state == kFalling) {
      l.speed += 98.0f * dt / 100.0f;
      const float step = l.speed * dt / 1000.0f;
      l.y += step;
      if (l.y > kFloorY && l.speed > 0) {
        l.y -= step;
        l.speed = -l.speed * 0.3f;
      }
      if (std::fabs(l.y - kFloorY) <= 5.0f && std::fabs(l.speed) <= 30.0f) {
        l.speed = 0.0f;
        l.state = kResting;
        l.restMs = 0;
      }
    } else if (l.state == kResting) {
      l.restMs += ms;
      if (l.restMs >= kRestMs) l.state = kLeaving;
    } else {
      l.speed += 98.0f;
      l.y += l.speed * dt / 1000.0f;
      const float a = 255.0f - l.speed / 30.0f;
      if (a < 0.0f) l.state = kGone;
      else l.alpha = a;
    }
    // Out of the area. Every letter starts above the top edge, so the top counts only for a
    // letter on its way up.
    if (l.y >= 650.0f || (l.y <= -50.0f && l.speed < 0.0f) || l.x >= 850.0f || l.x <= -50.0f) l.state = kGone;
  }
}

bool cFlyingLetters::Done() const {
  return std::all_of(m_letters.begin(), m_letters.end(), [](const Letter& l) { return l.state == kGone; });
}

UIFlyingMessage::UIFlyingMessage() {
  SetName("LevelUp");
  SetHidden(true);
}

UIFlyingMessage::~UIFlyingMessage() { sprRelease(m_font); }

void UIFlyingMessage::Start() {
  if (!m_font) {
    const std::string font = iniString(kFile, "YouWin", "Font", "data/fonts/sans26b.png");
    m_font = sprGetFont(font.c_str());
    m_scale = std::clamp(iniGetFloat(kFile, "YouWin", "scale", 1.0f), 0.1f, 8.0f);
  }
  const std::u16string text = iniWString("data/translation.ini", nullptr, "#INTERFACE_YOUWIN", u"You win!");
  std::vector<int> widths;
  std::vector<float> fractions;
  for (size_t i = 0; i < text.size() && i < cFlyingLetters::kMaxLetters; ++i) {
    const char16_t one[2] = {text[i], 0};
    const int w = m_font ? fontTextWidth(m_font, one) : 16;
    widths.push_back(text[i] == u' ' && m_font ? fontSpaceWidth(m_font) : w);
    widths.back() = int(float(widths.back()) * m_scale);
    fractions.push_back(RandomFloat(1.0f, true));  // cosmetic: the game's own draws stay as they were
  }
  m_letters.Start(text, widths, fractions);
  SetHidden(false);
}

void UIFlyingMessage::Stop() {
  m_letters = cFlyingLetters{};
  SetHidden(true);
}

int UIFlyingMessage::Update(int dt) {
  if (Hidden()) return 0;
  m_letters.Update(dt);
  if (m_letters.Done()) SetHidden(true);
  return 0;
}

int UIFlyingMessage::Draw() {
  if (Hidden() || !m_font) return 0;
  for (const cFlyingLetters::Letter& l : m_letters.Letters()) {
    if (l.state == cFlyingLetters::kGone || l.y < -60.0f) continue;
    const char16_t one[2] = {l.ch, 0};
    const uint32_t argb = (uint32_t(std::clamp(int(l.alpha), 0, 255)) << 24) | 0x00FFFFFFu;
    fontDrawText(kModeTintFade, 15, m_scale, m_scale, m_font, l.x, int(l.y), one, 0, -1, 0, argb);
  }
  return 0;
}

}  // namespace Interface
