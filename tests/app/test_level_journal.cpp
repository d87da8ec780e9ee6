// The demo level started directly and played headless with the game log on, then replayed from the
// journal that run recorded: the replay logs exactly the same lines, random draws and events
// included.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "files/file.h"
#include "files/ini.h"
#include "game/core/game_journal.h"
#include "game/core/game_main.h"
#include "game/core/level_context.h"
#include "support/input_script.h"
#include "support/test_files.h"
#include "support/demo_copy.h"

namespace fs = std::filesystem;

namespace {

void SetSwitches(const fs::path& run, const std::string& lines) {
  testkit::writeFile(run / "data" / "test.ini", "[main]\nGame_No_Menu=1\nGame_Test_Level=1\n" + lines);
  iniFreeAll();
}

// One run of the level in the current folder, with or without scripted input.
void PlayLevel(uint32_t clockStart, bool script) {
  testkit::HeadlessGame game(clockStart);
  ASSERT_TRUE(game.Ok());
  ASSERT_NE(Game::levelContext(), nullptr) << "the level starts directly";
  if (script) {
    // Input the level may or may not act on; the replay must deliver it at the same steps.
    testkit::InputScript s;
    s.Click(20, 300, 400).Key(45, 'A').Move(60, 500, 300).Click(90, 520, 310, 2).Key(150, 32);
    s.Start();
  }
  // Long enough for the workers to come out, greet and go about; one pass per step.
  game.RunSteps(400);
  EXPECT_EQ(journalPending(), 0u);
}

}  // namespace

TEST(LevelJournal, ReplayOfTheDemoLevelLogsTheSameLines) {
  const fs::path home = fs::current_path();
  const fs::path run = testkit::EnterDemoCopy("level_journal");
  if (run.empty()) GTEST_SKIP() << "MM_SOURCE_DIR not set";

  SetSwitches(run, "Game_Log_On_Playback=1\n");
  PlayLevel(1000, true);
  const std::string log = testkit::readFile(run / "log.txt");
  const std::string journal = testkit::readFile(run / "journal.txt");
  EXPECT_EQ(journal.rfind("seed ", 0), 0u) << journal.substr(0, 100);
  EXPECT_NE(log.find("[Random]:Init "), std::string::npos) << "the seed is logged";
  EXPECT_NE(log.find("[Event] 64"), std::string::npos) << "the workers greeted and were let go";
  EXPECT_NE(log.find("[Event] 57"), std::string::npos) << "a worker set off";

  // The replay starts at another time, so only the journal can give it the first run's seed.
  SetSwitches(run, "Game_Log_On_Playback=1\nGame_Playback=1\n");
  PlayLevel(7777, false);
  const std::string replay = testkit::readFile(run / "log_playback.txt");
  EXPECT_FALSE(replay.empty());
  EXPECT_EQ(replay, log);

  fs::current_path(home);
  iniFreeAll();
}
