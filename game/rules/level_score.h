// The running score of one level: points for the deeds the level's events report, the amounts
// collected per resource, and the level's result (stars, time, resource and total scores) worked
// out from the time used and the stock left.
#pragma once
#include <cstdint>

#include "game/core/events.h"
#include "game/rules/score_table.h"

namespace Game {

constexpr int32_t kScoreMax = 999999;

// What a finished level reports to the end screens and the player's progress.
struct LevelResult {
  uint8_t won = 0;
  int32_t resourcesScore = 0;  // points for the Food, Ore and Gold left
  int32_t timeScore = 0;       // the stars' bonus (and the seconds left, for three stars)
  int32_t levelScore = 0;      // the running score at the end
  int32_t totalScore = 0;      // the three above, summed when the result is shown
  int32_t playerScore = 0;     // the player's overall score after this level
  int32_t stars = 0;
  int32_t timeUsed = 0;        // milliseconds
  int32_t bonusSeconds = 0;    // whole seconds left that earned "one_second_bonus"
  int32_t stockLeft[4] = {};   // Worker, Food, Ore, Gold
};

// The level's clock as the result needs it.
struct LevelTimes {
  int32_t levelTime = 0;   // "tLevelTime"
  int32_t goldTime = 0;    // "tGoldTime"
  int32_t silverTime = 0;  // "tSilverTime"
};

// Stars for a won level: 3 below the gold time, 2 below the silver time, 1 below the level time,
// else 0. The comparisons are strict.
int32_t scoreStars(const LevelTimes& t, int32_t timeUsed);

// Fills the result of a level ended with `remaining` ms on its clock and `stock` left. In a level
// without a clock (`noTime`) a win earns three stars and no time score. The resource score is
// worked out afresh, so computing a result twice gives the same result.
LevelResult scoreComputeResult(bool won, bool noTime, const LevelTimes& t, int32_t remaining,
                               const int32_t stock[4], int32_t levelScore, const ScoreTable& values);
// The total shown: level, time and resource scores, capped like the running score.
void scoreFinishResult(LevelResult& r);

class cLevelScore {
 public:
  explicit cLevelScore(cEventDispatcher* dispatcher) : m_dispatcher(dispatcher) {}

  // A new level (or a restart): the level's own copy of the table, nothing earned yet.
  void Begin(const ScoreTable& values);
  // Adds n, keeps the score within 0 to 999999, then tells the achievements which threshold the
  // score stands at (113 from 10000, 112 from 5000, 111 from 3000).
  void AddPoints(int32_t n);
  // Points for a level event, and the collected amounts (73); other events change nothing.
  void OnEvent(const GameEvent& e);
  // The points a level event is worth by the table (0 for most events).
  int32_t PointsFor(const GameEvent& e) const;

  int32_t score() const { return m_score; }
  int32_t collected(int resource) const { return resource >= 0 && resource < 4 ? m_collected[resource] : 0; }
  const ScoreTable& values() const { return m_values; }

 private:
  cEventDispatcher* m_dispatcher;
  ScoreTable m_values;
  int32_t m_collected[4] = {};
  int32_t m_score = 0;
};

}  // namespace Game
