// The running order of the screens that end a level: the statistics screen's fade, its four
// counting score lines and its flying stars after a win, and the lose screen's phrase choice.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace Interface {

// The lose phrase number for a random r in [0, 1]: 1, 2 or 3, the middle one twice as likely.
int32_t losePhraseNumber(float r);

// The x of star `index` in a row of `stars` centred on `x`, `deltaX` apart.
float statisticsStarX(int32_t x, int32_t deltaX, int32_t stars, int32_t index);

struct StatisticsScores {
  int32_t level = 0, resources = 0, time = 0, total = 0;
  int32_t stars = 0;
};

class cStatisticsRun {
 public:
  enum Line : int32_t { kLevel = 0, kResources, kTime, kTotal, kLines };
  static constexpr int32_t kDonePhase = 7;
  static constexpr int32_t kCountMs = 800;     // one score line counting up
  static constexpr int32_t kStarFlightMs = 1000;
  static constexpr int32_t kStarSettleMs = 200;

  struct Star {
    bool flying = false;  // launched
    bool landed = false;
    int32_t elapsedMs = 0;
  };

  void Show(const StatisticsScores& scores);
  // Moves the screen on by `ms`; returns the number of stars that landed in this step (each
  // landing plays the seal sound).
  int32_t Update(int32_t ms);
  // A key or click before the end: every line at its final value, the remaining stars down.
  void Skip();
  // Enter: true when it presses OK, which it does only once everything is shown.
  bool Enter() const { return m_phase == kDonePhase; }

  int32_t Phase() const { return m_phase; }
  float Alpha() const { return m_alpha; }
  bool LineShown(int32_t line) const { return line >= 0 && line < kLines && m_shown[size_t(line)]; }
  int32_t LineValue(int32_t line) const { return line >= 0 && line < kLines ? m_value[size_t(line)] : 0; }
  const Star& StarAt(int32_t i) const { return m_stars[size_t(std::clamp(i, 0, 2))]; }
  int32_t Stars() const { return m_scores.stars; }
  // A star's scale on its flight: 3.0 at the start down to 1.0 on landing.
  static float StarScale(int32_t elapsedMs);

 private:
  int32_t Target(int32_t line) const;
  void Launch(int32_t star);
  void StartLine(int32_t line);

  StatisticsScores m_scores;
  int32_t m_phase = kDonePhase;
  float m_alpha = 0.0f;
  int32_t m_lineMs = 0;
  std::array<bool, kLines> m_shown{};
  std::array<int32_t, kLines> m_value{};
  std::array<Star, 3> m_stars{};
};
}  // namespace Interface
