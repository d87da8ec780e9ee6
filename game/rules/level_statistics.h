// The statistics file a test run leaves behind ("Game_Write_Statistics"): the stars and the score
// of each won level, keyed by the level number (docs/statistics.md).
#pragma once
#include <cstdint>

#include "files/file.h"
#include "game/rules/level_score.h"

namespace Game {

// Writes "<n>Stars" and "<n>scores" into section "Main" of `file` and saves it whole (the old
// file stays until the new one is complete). Only a won level is written; false otherwise or when
// the file cannot be saved.
bool statisticsWrite(const gFileName& file, int32_t levelNumber, const LevelResult& result);

}  // namespace Game
