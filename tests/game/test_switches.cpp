// Test switches are found by name at the number data/test.ini gives them, including the one whose
// key is spelled "Came_"; a key the game does not know changes nothing.
#include <gtest/gtest.h>

#include <string>

#include "files/ini.h"
#include "game/core/game_main.h"
#include "game_test_util.h"

namespace {
void loadSwitches(const std::string& text) {
  gametest::writeFile("switches_test.ini", text);
  iniFreeAll();
  testSettingsLoad("switches_test.ini");
}
}  // namespace

TEST(TestSwitches, EachNameReadsItsOwnKey) {
  // Values unlike the switch numbers, so a name bound to a neighbour's key shows.
  loadSwitches(
      "[main]\n"
      "Game_Tips_Always=71\n"
      "Game_Show_Fps=72\n"
      "Game_Profile=73\n"
      "Came_Map_Ignore_Path_Obstacles=74\n"
      "Game_No_Binary_Load=75\n"
      "Game_Log_On_Playback=76\n"
      "Game_No_Sound=77\n"
      "Game_Map_Ignore_Path_Obstacles=99\n");
  EXPECT_EQ(testSetting(TestSwitch::Game_Tips_Always), 71);
  EXPECT_EQ(testSetting(TestSwitch::Game_Show_Fps), 72);
  EXPECT_EQ(testSetting(TestSwitch::Game_Profile), 73);
  EXPECT_EQ(testSetting(TestSwitch::Game_Map_Ignore_Path_Obstacles), 74);
  EXPECT_EQ(testSetting(TestSwitch::Game_No_Binary_Load), 75);
  EXPECT_EQ(testSetting(TestSwitch::Game_Log_On_Playback), 76);
  EXPECT_EQ(testSetting(TestSwitch::Game_No_Sound), 77);
  // Neighbours of the switches set above stay off.
  EXPECT_EQ(testSetting(TestSwitch::Game_Map_Show_Object_Support_Point), 0);
  EXPECT_EQ(testSetting(TestSwitch::Game_Edit_Wnd), 0);
  EXPECT_EQ(testSetting(TestSwitch::Game_Delay_Load_Animations), 0);
  EXPECT_EQ(testSetting(TestSwitch::Game_No_Save), 0);
  EXPECT_EQ(testSetting(TestSwitch::Count), 0);
  loadSwitches("[main]\n");
  EXPECT_EQ(testSetting(TestSwitch::Game_Tips_Always), 0);
}

TEST(TestSwitches, NamesAreTheFileKeysInTheirOrder) {
  EXPECT_EQ(kTestSwitchCount, 38);
  EXPECT_STREQ(testSettingName(TestSwitch::Game_No_Binary_Load), "Game_No_Binary_Load");
  EXPECT_STREQ(testSettingName(TestSwitch::Game_Dump_Animations), "Game_Dump_Animations");
  EXPECT_STREQ(testSettingName(TestSwitch::Game_Log_On_Playback), "Game_Log_On_Playback");
  EXPECT_STREQ(testSettingName(TestSwitch::Game_Tips_Always), "Game_Tips_Always");
  EXPECT_STREQ(testSettingName(TestSwitch::Count), "");
  // Every key differs from the others: two names on one key would leave a switch unreachable.
  for (int i = 0; i < kTestSwitchCount; ++i)
    for (int j = i + 1; j < kTestSwitchCount; ++j) EXPECT_NE(kTestSwitchKeys[size_t(i)], kTestSwitchKeys[size_t(j)]);
}
