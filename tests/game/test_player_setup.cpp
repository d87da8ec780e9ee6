// The game's use of the player store: a selected player's volumes reach the sound system, and a
// run without menus gets a current player at the level it asks for.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>

#include "files/file.h"
#include "files/ini.h"
#include "files/players.h"
#include "files/profile.h"
#include "files/user_files.h"
#include "game/core/game_main.h"
#include "game/core/player_setup.h"
#include "game_test_util.h"
#include "sound/sound.h"

namespace fs = std::filesystem;

namespace {
struct PlayerSetup : ::testing::Test {
  void SetUp() override {
    gametest::writeFile("game.ini", "[main]\nname=Setup Test\npath=PlayerSetupTest\n");
    iniFreeAll();
    fileInitPaths();
    for (const auto& e : fs::directory_iterator(fileUserFolder())) fs::remove(e.path());
    playersClear();
  }
  void TearDown() override {
    playersClear();
    playersSetHooks({});
    gametest::writeFile("player_switches.ini", "[main]\n");
    testSettingsLoad("player_switches.ini");
    iniFreeAll();
    fs::remove("game.ini");
  }
  static void switches(const std::string& text) {
    gametest::writeFile("player_switches.ini", text);
    iniFreeAll();
    testSettingsLoad("player_switches.ini");
  }
};
}  // namespace

TEST_F(PlayerSetup, TheCurrentPlayersVolumesAreApplied) {
  switches("[main]\n");
  gametest::writeFile(fileUserFolder() + "/profgame.ini", "[Players]\namount=2\nplayer1=Ann\nplayer2=Bob\ncurrent=1\n");
  gametest::writeFile(fileUserFolder() + "/profile.ini",
                      "[Bob]\nBob_music=0.3\nBob_isMusic=1\nBob_sound=0.6\nBob_isSound=0\n");
  sndSetCategoryVolume(1.0f, SND_SOUND);
  sndSetCategoryVolume(1.0f, SND_MUSIC);
  fileInitUserFiles();
  gamePlayersInit();
  ASSERT_EQ(playerCurrent(), 1);
  EXPECT_NEAR(sndGetCategoryVolume(SND_MUSIC), 0.3f, 1e-4);
  EXPECT_NEAR(sndGetCategoryVolume(SND_SOUND), 0.0f, 1e-4);  // sound switched off
  // Choosing another player applies hers: a fresh player has the default volumes.
  ASSERT_TRUE(playerSelect(0));
  EXPECT_NEAR(sndGetCategoryVolume(SND_MUSIC), 0.7f, 1e-4);
  EXPECT_NEAR(sndGetCategoryVolume(SND_SOUND), 1.0f, 1e-4);
}

TEST_F(PlayerSetup, ARunWithoutMenusGetsATestPlayerAtItsLevel) {
  switches("[main]\nGame_Test_Level=3\n");
  fileInitUserFiles();
  gamePlayersInit();
  ASSERT_EQ(playersCount(), 0);
  gameEnsureTestPlayer();
  ASSERT_EQ(playersCount(), 1);
  EXPECT_EQ(playerName(0), u"Test");
  ASSERT_NE(playerProgress(), nullptr);
  EXPECT_EQ(playerProgress()->level[0], 3);
  // Kept for the next run.
  playersClear();
  iniFreeAll();
  gamePlayersInit();
  ASSERT_EQ(playerCurrent(), 0);
  EXPECT_EQ(playerProgress()->level[0], 3);
  // An existing player is used as it is, and no second "Test" appears.
  gameEnsureTestPlayer();
  EXPECT_EQ(playersCount(), 1);
}

TEST_F(PlayerSetup, ANewPlayerSeesTheDemosEightHighScoresBestFirst) {
  const char* src = std::getenv("MM_SOURCE_DIR");
  if (!src) GTEST_SKIP() << "MM_SOURCE_DIR is not set";
  fs::create_directories("data/menu");
  fs::copy_file(fs::path(src) / "demo/data/menu/default_scores.ini", "data/menu/default_scores.ini",
                fs::copy_options::overwrite_existing);
  fileInitUserFiles();  // scores.ini of the player is still empty
  int previous = INT_MAX;
  int cyrillic = 0;
  for (int i = 0; i < kScoreEntries; ++i) {
    const std::string section = "Score" + std::to_string(i);
    char16_t name[kPlayerNameMax + 1];
    scoresGetWString(section.c_str(), "name", name, std::size(name), u"");
    int value = -1;
    scoresGetInt(section.c_str(), "value", value, -1);
    EXPECT_TRUE(playerNameValid(name)) << section;
    EXPECT_GT(value, 0) << section;
    EXPECT_LT(value, previous) << section;
    previous = value;
    if (name[0] >= u'\x400' && name[0] < u'\x500') ++cyrillic;
  }
  EXPECT_GT(cyrillic, 0);
  fs::remove_all("data/menu/default_scores.ini");
}
