// The phases of the level clock.
#include "game/rules/time_phases.h"

namespace Game {

int32_t timePhase(const LevelTimes& t, int32_t r) {
  const int64_t gold = int64_t(t.levelTime) - t.goldTime;      // remaining time when gold is lost
  const int64_t silver = int64_t(t.levelTime) - t.silverTime;  // ... when silver is lost
  if (r > gold + kTimeWarningMs) return 0;
  if (r > gold) return 1;
  if (r > silver + kTimeWarningMs) return 2;
  if (r > silver) return 3;
  if (r > kTimeWarningMs) return 4;
  return 5;
}

void cTimePhases::Begin(const LevelTimes& t) {
  m_times = t;
  m_phase = timePhase(t, t.levelTime);
}

void cTimePhases::Update(int32_t remaining) {
  const int32_t next = timePhase(m_times, remaining);
  if (next == m_phase) return;
  const bool stepped = next == m_phase + 1;
  m_phase = next;
  if (!stepped || !m_dispatcher) return;
  static constexpr Event kEntered[6] = {Event(0),
                                        Event::TimeRunningShort1,
                                        Event::ThirdStarLost,
                                        Event::TimeRunningShort2,
                                        Event::SecondStarLost,
                                        Event::TimeRunningShort3};
  GameEvent e;
  MakeEvent(e, kEntered[next]);
  Post(m_dispatcher, e);
}

}  // namespace Game
