// The shell: fixed-step accumulator, settings lookup order, and a whole headless run from start-up
// to the settings written at shutdown (also when the process is asked to stop by SIGTERM).
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "app/app.h"
#include "files/file.h"
#include "files/ini.h"
#include "game/core/game_main.h"
#include "platform/platform.h"
#include "support/test_files.h"
#include "ui/wnd.h"

namespace fs = std::filesystem;

namespace {
void writeText(const fs::path& p, const std::string& text) { testkit::writeFile(p, text); }

// A game folder in the test's scratch folder: game.ini plus the data the start-up reads.
void writeGameFolder(const std::string& extraMain) {
  writeText("game.ini", "[main]\nname=ShellTest\npath=ShellTest\nxs=640\nys=480\nx=-1\ny=-1\n" + extraMain +
                            "[engine]\nShowFPS=0\n");
  writeText("data/test.ini", "[main]\nGame_Show_Fps=1\n");
  iniFreeAll();
}

struct StepFixture : ::testing::Test {
  void SetUp() override {
    wndSetRoot(new UIWnd());
    gameResetSteps();
  }
  void TearDown() override {
    UIWnd* root = wndRoot();
    wndSetRoot(nullptr);
    delete root;
    wndCollectGarbage();
  }
};
}  // namespace

TEST_F(StepFixture, LongFrameIsCappedAtTwelveSteps) {
  // Settle the accumulator below zero first, as in a running game.
  EXPECT_EQ(gameAdvance(10.0f), 1);
  int32_t clock = gameClock();
  EXPECT_EQ(gameAdvance(1000.0f), 12);
  EXPECT_EQ(gameClock() - clock, 300);
}

TEST_F(StepFixture, ShortFramesRunAStepPerStarted25Ms) {
  EXPECT_EQ(gameAdvance(10.0f), 1);  // 10 -> -15
  EXPECT_EQ(gameAdvance(10.0f), 0);  // -5
  EXPECT_EQ(gameAdvance(10.0f), 1);  // 5 -> -20
  int steps = 0;
  for (int i = 0; i < 100; ++i) steps += gameAdvance(10.0f);
  EXPECT_EQ(steps, 40);
}

TEST_F(StepFixture, NoStepsWithoutARootWindow) {
  UIWnd* root = wndRoot();
  wndSetRoot(nullptr);
  delete root;
  int32_t clock = gameClock();
  EXPECT_EQ(gameAdvance(100.0f), 0);
  EXPECT_EQ(gameClock(), clock);
}

TEST(Settings, LookupOrderGameIniPlatformKeysThenUserFile) {
  writeGameFolder("a=1\nb=1\nb_win=2\nc=1\nc_win=2\nc_linux=3\nd=1\nd_linux=3\ns=shipped\n");
  fileInitPaths();
  ASSERT_FALSE(fileProfgamePath().empty());
  std::error_code ec;
  fs::remove(fileProfgamePath(), ec);
  writeText(fileProfgamePath(), "[main]\nd=4\ns=mine\n");
  iniFreeAll();
  EXPECT_EQ(cfgGetInt("main", "a", 0), 1);
  EXPECT_EQ(cfgGetInt("main", "b", 0), 2);
  EXPECT_EQ(cfgGetInt("main", "c", 0), 3);
  EXPECT_EQ(cfgGetInt("main", "d", 0), 4);
  EXPECT_EQ(cfgGetInt("main", "missing", 17), 17);
  EXPECT_TRUE(cfgGetBool("main", "a", false));
  EXPECT_EQ(cfgGetString("main", "s", ""), "mine");
  EXPECT_EQ(cfgGetString("other", "s", "dflt"), "dflt");

  // Writing always goes to the user's file, which then wins over the shipped value.
  cfgSetInt("main", "a", 9);
  iniFreeAll();
  EXPECT_EQ(cfgGetInt("main", "a", 0), 9);
  EXPECT_EQ(iniGetInt("game.ini", "main", "a", 0), 1);
}

namespace {
int g_passes = 0;
int g_quitAt = 0;
bool g_useSignal = false;

int drivenFrame() {
  platAdvanceClock(16);
  if (++g_passes == g_quitAt) {
    if (g_useSignal)
      std::raise(SIGTERM);
    else
      platPostQuit();
  }
  return gameFrame();
}

void runHeadlessGame(bool viaSignal) {
  platUseManualClock(true, 1000);
  g_passes = 0;
  g_quitAt = 30;
  g_useSignal = viaSignal;
  ASSERT_EQ(appInit(gameInput), 0);
  gameInit();
  int steps = gameStepCount();
  appLoop(drivenFrame);
  EXPECT_GE(g_passes, 30);
  EXPECT_LE(g_passes, 31);
  // 30 frames of 16 ms: the steps follow real time, not the frame count.
  EXPECT_NEAR(gameStepCount() - steps, 30 * 16 / 25, 2);
  gameDone();
  appDone();
  platClearQuitRequest();
  platResetEvents();
  platUseManualClock(false);
}
}  // namespace

TEST(Shell, HeadlessRunWritesWindowSettingsOnClose) {
  writeGameFolder("FullScreen=0\n");
  fileInitPaths();
  std::error_code ec;
  fs::remove(fileProfgamePath(), ec);
  runHeadlessGame(false);
  iniFreeAll();
  std::string prof = fileProfgamePath();
  EXPECT_TRUE(fs::exists(prof));
  EXPECT_EQ(iniGetInt(prof, "main", "xs", 0), 640);
  EXPECT_EQ(iniGetInt(prof, "main", "ys", 0), 480);
  EXPECT_TRUE(iniHasKey(prof, "main", "x"));
  EXPECT_TRUE(iniHasKey(prof, "main", "y"));
  EXPECT_EQ(iniGetInt(prof, "main", "FullScreen", -1), 0);
}

TEST(Shell, SigtermEndsTheLoopTheOrderlyWay) {
  writeGameFolder("FullScreen=0\n");
  fileInitPaths();
  std::error_code ec;
  fs::remove(fileProfgamePath(), ec);
  runHeadlessGame(true);
  iniFreeAll();
  EXPECT_EQ(iniGetInt(fileProfgamePath(), "main", "xs", 0), 640);
}

TEST(Shell, TestSwitchesReadByNumber) {
  writeGameFolder("");
  testSettingsLoad("data/test.ini");
  EXPECT_EQ(testSetting(TestSwitch::Game_Show_Fps), 1);
  EXPECT_EQ(testSetting(TestSwitch::Game_No_Binary_Load), 0);
  EXPECT_EQ(testSetting(TestSwitch::Count), 0);
  EXPECT_EQ(testSetting(TestSwitch(-1)), 0);
  EXPECT_STREQ(testSettingName(TestSwitch::Game_Map_Ignore_Path_Obstacles), "Came_Map_Ignore_Path_Obstacles");
}
