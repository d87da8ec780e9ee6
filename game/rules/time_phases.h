// The phases of the level clock against the gold and silver times (what the time bar shows), and
// the events that warn the player as the clock passes from one phase into the next.
#pragma once
#include <cstdint>

#include "game/core/events.h"
#include "game/rules/level_score.h"

namespace Game {

// How long before the gold and silver times (and before the end) the bar starts to pulse.
constexpr int32_t kTimeWarningMs = 10000;

// 0 green, 1 gold running out, 2 gold lost, 3 silver running out, 4 silver lost, 5 the last
// seconds; `remaining` counts down from the level time.
int32_t timePhase(const LevelTimes& t, int32_t remaining);
// Phases 1, 3 and 5 pulse.
inline bool timePhasePulses(int32_t phase) { return phase == 1 || phase == 3 || phase == 5; }

class cTimePhases {
 public:
  explicit cTimePhases(cEventDispatcher* dispatcher) : m_dispatcher(dispatcher) {}
  void Begin(const LevelTimes& t);
  // The clock read again: entering a phase straight from the one before posts its event (1: 8,
  // 2: 11, 3: 9, 4: 12, 5: 10); a phase jumped over stays silent, and so does the next.
  void Update(int32_t remaining);
  int32_t phase() const { return m_phase; }

 private:
  cEventDispatcher* m_dispatcher;
  LevelTimes m_times;
  int32_t m_phase = 0;
};

}  // namespace Game
