// The time panel's values from the level clock.
#include "game/interface/panel_time.h"

#include <algorithm>
#include <cstdio>

#include "files/ini.h"

namespace Interface {

std::string panelClockText(int32_t ms) {
  const int32_t seconds = ms <= 0 ? 0 : int32_t((int64_t(ms) + 999) / 1000);
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d", int(seconds / 60), int(seconds % 60));
  return text;
}

std::string panelMedalLabel(bool gold) {
  std::string text = iniString("data/translation.ini", nullptr, gold ? "#TIME_GOLD" : "#TIME_SILVER", "");
  return text.empty() ? (gold ? "Gold" : "Silver") : text;
}

TimeView panelTimeView(const Game::LevelTimes& t, int32_t remaining, bool noClock, bool lost) {
  TimeView v;
  v.noClock = noClock;
  if (noClock) return v;
  v.levelMs = std::max(0, t.levelTime);
  v.goldMs = std::max(0, t.goldTime);
  v.silverMs = std::max(0, t.silverTime);
  v.remainingMs = std::clamp(remaining, 0, std::max(0, t.levelTime));
  const int32_t used = std::max(0, t.levelTime) - v.remainingMs;
  v.goldLeftMs = std::max(0, t.goldTime - used);
  v.silverLeftMs = std::max(0, t.silverTime - used);
  v.stars = lost ? 0 : Game::scoreStars(t, used);
  return v;
}

}  // namespace Interface
