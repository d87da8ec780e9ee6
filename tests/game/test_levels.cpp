// Level paths and the level balance.
#include <gtest/gtest.h>

#include <string>

#include "files/ini.h"
#include "game/core/level_balance.h"
#include "game/core/level_files.h"
#include "game_test_util.h"

TEST(LevelFiles, TestLevelsLiveApartButKeepTheirSoundsWithTheGame) {
  EXPECT_EQ(levelMapPath(99, true), "data/maps/99/map.bin");
  EXPECT_EQ(levelMapPath(100, true), "dataTest/maps/100/map.bin");
  EXPECT_EQ(levelMapPath(1, false), "data/maps/1/map.ini");
  EXPECT_EQ(levelSoundsPath(100), "data/maps/100/sounds.ini");
  EXPECT_EQ(levelGrayPath(120), "data/maps/120/backgray.jpg");
  EXPECT_EQ(levelGrayAlphaPath(3), "data/maps/3/_backgray.png");
  EXPECT_EQ(levelBalancePath(2147483647), "dataTest/maps/2147483647/balance.ini");
  EXPECT_EQ(levelTaskPath(12), "data/maps/12/task.ini");
  EXPECT_EQ(levelTestPath(101), "dataTest/maps/101/test.ini");
  // Paths own their text: one kept while another of the same kind is built stays as it was.
  const std::string a = levelTaskPath(5);
  const std::string b = levelTaskPath(6);
  EXPECT_EQ(a, "data/maps/5/task.ini");
  EXPECT_EQ(b, "data/maps/6/task.ini");
  EXPECT_EQ(levelFolder(-3), "data/maps/-3");
}

TEST(LevelBalance, KeysDefaultsAndMaxima) {
  iniFreeAll();
  gametest::writeFile("bal/balance.ini",
                      "[Main]\ntLevelTime=300000\ntGoldTime=120000\ntSilverTime=180000\niEpisode=2\n"
                      "tScoreBonusPeriodMax=9000\nbIsFog=5\niWorkersSkin=1\ntScoreBonusPeriodMin=3000\nMinuteTime=7000\n"
                      "[Bonuses]\nBonusMaxTime=60000\nWaitPeriod_Worker=11\nActPeriod_More_Resources=66\n"
                      "WaitPeriod_TimeStop=44\n"
                      "[Resources]\nWorker=3\nFood=10\n[ResourcesMax]\nFood=0\nOre=50\n"
                      "[ResourceHarvest]\nFood=2\nGold=1\n");
  LevelBalance b;
  b.tGoldTime = 1;  // refilled, not merged
  balanceLoad("bal/balance.ini", b);
  EXPECT_EQ(b.tLevelTime, 300000);
  EXPECT_EQ(b.tGoldTime, 120000);
  EXPECT_EQ(b.tSilverTime, 180000);
  EXPECT_EQ(b.iEpisode, 2);
  EXPECT_EQ(b.tScoreBonusPeriodMax, 9000);
  EXPECT_EQ(b.bIsFog, 1);
  EXPECT_EQ(b.iWorkersSkin, 1);
  EXPECT_EQ(b.tScoreBonusPeriodMin, 3000);
  EXPECT_EQ(b.MinuteTime, 7000);
  EXPECT_EQ(b.BonusMaxTime, 60000);
  EXPECT_EQ(b.resources[0], 3);
  EXPECT_EQ(b.resources[1], 10);
  EXPECT_EQ(b.resources[3], 0);
  EXPECT_EQ(b.resourcesMax[0], 30);  // absent
  EXPECT_EQ(b.resourcesMax[1], 30);  // 0
  EXPECT_EQ(b.resourcesMax[2], 50);
  EXPECT_EQ(b.harvest[1], 2);
  EXPECT_EQ(b.harvest[2], 0);
  EXPECT_EQ(b.waitPeriod[0], 11);
  EXPECT_EQ(b.waitPeriod[3], 44);  // TimeStop is the fourth bonus
  EXPECT_EQ(b.actPeriod[5], 66);
  EXPECT_EQ(b.actPeriod[0], 0);

  balanceLoad("bal/missing.ini", b);
  EXPECT_EQ(b.tLevelTime, 0);
  EXPECT_EQ(b.resourcesMax[3], 30);

  gametest::writeFile("bal/global.ini", "[Worker]\nvel=0.085\n");
  EXPECT_FLOAT_EQ(balanceWorkerSpeed("bal/global.ini"), 0.085f);
  iniFreeAll();
}
