// The statistics file of test runs.
#include "game/rules/level_statistics.h"

#include <string>

#include "files/ini.h"

namespace Game {

bool statisticsWrite(const gFileName& file, int32_t levelNumber, const LevelResult& result) {
  if (!result.won) return false;
  const std::string n = std::to_string(levelNumber);
  iniSetInt(file, "Main", (n + "Stars").c_str(), result.stars, false);
  // The level's own total: a run's statistics compare levels, not the profile's history.
  iniSetInt(file, "Main", (n + "scores").c_str(), result.totalScore, false);
  return iniSave(file);
}

}  // namespace Game
