// The level's balance record (times, starting resources, maxima, harvest, bonus periods), refilled
// from the level's balance.ini before every level, and the global walking speed of data/balance.ini.
#pragma once
#include <cstdint>

#include "files/file.h"

constexpr int kBonusCount = 6;
// The bonus names, in the order of the wait and active periods.
extern const char* const kBonusNames[kBonusCount];
// The resource names, in resource order (index 4 means none).
extern const char* const kResourceNames[4];

struct LevelBalance {
  int32_t tLevelTime = 0;
  int32_t tGoldTime = 0;
  int32_t tSilverTime = 0;
  int32_t iEpisode = 0;
  int32_t tScoreBonusPeriodMax = 0;
  uint8_t bIsFog = 0;
  int32_t iWorkersSkin = 0;
  int32_t tScoreBonusPeriodMin = 0;
  int32_t MinuteTime = 0;
  int32_t BonusMaxTime = 0;
  int32_t resources[4] = {};     // starting amounts; "Worker" is the number of starting workers
  int32_t resourcesMax[4] = {};  // 0 in the file reads as 30
  int32_t harvest[4] = {};       // one gathering's yield
  int32_t waitPeriod[kBonusCount] = {};
  int32_t actPeriod[kBonusCount] = {};
};

// The record that lives for the whole run.
LevelBalance& levelBalance();
// Fills `out` from a balance file; absent keys read as 0 and absent or zero maxima as 30.
void balanceLoad(const gFileName& path, LevelBalance& out);
inline void balanceLoad(const gFileName& path) { balanceLoad(path, levelBalance()); }

// "data/balance.ini" [Worker] "vel": the base walking speed of persons, pixels per millisecond.
float balanceWorkerSpeed(const gFileName& path = "data/balance.ini");
