// Reading the level balance and the global balance file.
#include "game/core/level_balance.h"

#include <string>

#include "files/ini.h"

const char* const kBonusNames[kBonusCount] = {"Worker",   "Speed",   "Respawn_bonus_places",
                                              "TimeStop", "FastGen", "More_Resources"};
const char* const kResourceNames[4] = {"Worker", "Food", "Ore", "Gold"};

LevelBalance& levelBalance() {
  static LevelBalance record;
  return record;
}

void balanceLoad(const gFileName& path, LevelBalance& b) {
  b = LevelBalance{};
  b.tLevelTime = iniGetInt(path, "Main", "tLevelTime", 0);
  b.tGoldTime = iniGetInt(path, "Main", "tGoldTime", 0);
  b.tSilverTime = iniGetInt(path, "Main", "tSilverTime", 0);
  b.iEpisode = iniGetInt(path, "Main", "iEpisode", 0);
  b.tScoreBonusPeriodMax = iniGetInt(path, "Main", "tScoreBonusPeriodMax", 0);
  b.bIsFog = iniGetInt(path, "Main", "bIsFog", 0) != 0 ? 1 : 0;
  b.iWorkersSkin = iniGetInt(path, "Main", "iWorkersSkin", 0);
  b.tScoreBonusPeriodMin = iniGetInt(path, "Main", "tScoreBonusPeriodMin", 0);
  b.MinuteTime = iniGetInt(path, "Main", "MinuteTime", 0);
  b.BonusMaxTime = iniGetInt(path, "Bonuses", "BonusMaxTime", 0);
  for (int r = 0; r < 4; ++r) {
    b.resources[r] = iniGetInt(path, "Resources", kResourceNames[r], 0);
    int max = iniGetInt(path, "ResourcesMax", kResourceNames[r], 0);
    b.resourcesMax[r] = max == 0 ? 30 : max;
    b.harvest[r] = iniGetInt(path, "ResourceHarvest", kResourceNames[r], 0);
  }
  for (int i = 0; i < kBonusCount; ++i) {
    b.waitPeriod[i] = iniGetInt(path, "Bonuses", (std::string("WaitPeriod_") + kBonusNames[i]).c_str(), 0);
    b.actPeriod[i] = iniGetInt(path, "Bonuses", (std::string("ActPeriod_") + kBonusNames[i]).c_str(), 0);
  }
}

float balanceWorkerSpeed(const gFileName& path) { return iniGetFloat(path, "Worker", "vel", 0.0f); }
