// The time panel: the level clock counting down, and how long is left to beat the gold and the
// silver times.
#pragma once
#include <cstdint>
#include <string>

#include "game/rules/level_score.h"

namespace Interface {

// "m:ss" of a duration in milliseconds, rounded up to whole seconds (a clock showing 0:00 has
// run out); negative durations show as 0:00.
std::string panelClockText(int32_t ms);

struct TimeView {
  int32_t remainingMs = 0;  // on the level clock
  int32_t goldLeftMs = 0;   // until the gold time has passed, 0 once it has
  int32_t silverLeftMs = 0;
  int32_t stars = 3;        // what a win now would earn
  bool noClock = false;     // a level played without time
  int32_t levelMs = 0, goldMs = 0, silverMs = 0;  // the level's own times
};

// "Gold" or "Silver" as the player reads it ("#TIME_GOLD", "#TIME_SILVER").
std::string panelMedalLabel(bool gold);

// What the panel shows for a level of times `t` whose clock has `remaining` ms left. A `lost`
// level has earned nothing, so it shows no stars whatever its clock says.
TimeView panelTimeView(const Game::LevelTimes& t, int32_t remaining, bool noClock, bool lost = false);

}  // namespace Interface
