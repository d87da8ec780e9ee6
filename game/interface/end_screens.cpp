// The running order of the statistics and lose screens.
#include "game/interface/end_screens.h"

#include <algorithm>
#include <cmath>

namespace Interface {
namespace {
constexpr float kFadeRate = 0.255f;  // alpha per millisecond
}  // namespace

int32_t losePhraseNumber(float r) {
  if (!(r >= 0.0f)) r = 0.0f;  // also NaN
  r = std::min(r, 1.0f);
  return int32_t(std::lround(r * 2.0f)) + 1;
}

float statisticsStarX(int32_t x, int32_t deltaX, int32_t stars, int32_t index) {
  return float(x) + float(index) * float(deltaX) - float(deltaX) * float(stars - 1) / 2.0f;
}

void cStatisticsRun::Show(const StatisticsScores& scores) {
  m_scores = scores;
  m_scores.stars = std::clamp(scores.stars, 0, 3);
  m_phase = 0;
  m_alpha = 0.0f;
  m_lineMs = 0;
  m_shown.fill(false);
  m_value.fill(0);
  m_stars.fill(Star{});
}

int32_t cStatisticsRun::Target(int32_t line) const {
  switch (line) {
    case kLevel: return m_scores.level;
    case kResources: return m_scores.resources;
    case kTime: return m_scores.time;
    default: return m_scores.total;
  }
}

void cStatisticsRun::Launch(int32_t star) {
  if (star < m_scores.stars && !m_stars[size_t(star)].flying) m_stars[size_t(star)].flying = true;
}

void cStatisticsRun::StartLine(int32_t line) {
  m_shown[size_t(line)] = true;
  m_value[size_t(line)] = 0;
  m_lineMs = 0;
  // The second and third stars come with the level and the resources lines.
  if (line == kLevel) Launch(1);
  if (line == kResources) Launch(2);
}

float cStatisticsRun::StarScale(int32_t elapsedMs) {
  const float t = std::clamp(float(elapsedMs) / float(kStarFlightMs), 0.0f, 1.0f);
  return 3.0f - 2.0f * t;
}

int32_t cStatisticsRun::Update(int32_t ms) {
  if (ms <= 0) return 0;
  int32_t landed = 0;
  for (Star& s : m_stars) {
    if (!s.flying || s.landed) continue;
    const bool before = s.elapsedMs >= kStarFlightMs;
    s.elapsedMs += ms;
    if (!before && s.elapsedMs >= kStarFlightMs) ++landed;
    if (s.elapsedMs >= kStarFlightMs + kStarSettleMs) s.landed = true;
  }
  if (m_phase == 0) {
    m_alpha = std::min(255.0f, m_alpha + kFadeRate * float(ms));
    if (m_alpha >= 255.0f) {
      Launch(0);
      m_phase = 2;
      StartLine(kLevel);
    }
    return landed;
  }
  if (m_phase >= 2 && m_phase < kDonePhase - 1) {
    const int32_t line = m_phase - 2;
    const int32_t target = Target(line);
    m_lineMs += ms;
    // A time score below 1 does not count: it stands at 0 at once.
    if (line == kTime && target < 1) {
      m_value[size_t(line)] = 0;
      m_lineMs = kCountMs;
    } else {
      const float t = std::min(1.0f, float(m_lineMs) / float(kCountMs));
      m_value[size_t(line)] = int32_t(std::lround(double(target) * t));
    }
    if (m_lineMs >= kCountMs) {
      ++m_phase;
      if (m_phase - 2 < kLines) StartLine(m_phase - 2);
      else m_phase = kDonePhase;
    }
  }
  return landed;
}

void cStatisticsRun::Skip() {
  if (m_phase == kDonePhase) return;
  m_alpha = 255.0f;
  for (int32_t line = 0; line < kLines; ++line) {
    m_shown[size_t(line)] = true;
    m_value[size_t(line)] = line == kTime && Target(line) < 1 ? 0 : Target(line);
  }
  // Landing without the seal sound: the stars simply stand at their places.
  for (int32_t i = 0; i < 3; ++i) {
    Star& s = m_stars[size_t(i)];
    if (i >= m_scores.stars) continue;
    s.flying = true;
    s.landed = true;
    s.elapsedMs = kStarFlightMs + kStarSettleMs;
  }
  m_phase = kDonePhase;
}
}  // namespace Interface
