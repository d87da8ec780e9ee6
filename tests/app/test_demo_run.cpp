// The bundled demo played headless from its start: logos, loading, the main menu asking for the
// first player's name, then Play through the game-mode question to the intro story, which a new
// player is told before the first level, and past it to the level map.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/soft_cursor.h"
#include "files/file.h"
#include "files/ini.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/menus/comics.h"
#include "game/menus/level_loading.h"
#include "game/menus/loading.h"
#include "game/menus/main_menu.h"
#include "platform/platform.h"
#include "support/input_script.h"
#include "ui/wnd.h"
#include "support/demo_copy.h"

namespace fs = std::filesystem;

TEST(DemoRun, StartsThroughLoadingIntoTheMainMenuAndTheIntroStoryOnToTheFirstLevel) {
  const fs::path home = fs::current_path();
  const fs::path run = testkit::EnterDemoCopy("demo_run");
  if (run.empty()) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  // A first start: no player list, no progress and no backups of either.
  std::error_code ec;
  fs::remove_all(fs::path(fileProfgamePath()).parent_path(), ec);
  {
    testkit::HeadlessGame game;
    ASSERT_TRUE(game.Ok());
    testkit::InputScript s;
    s.Key(5, 27);  // skip the logos
    s.Start();
    game.RunSteps(10);
    UIWnd* root = wndRoot();
    ASSERT_NE(dynamic_cast<Menu::UIGameLoading*>(root->Child(0)), nullptr);
    game.RunSteps(120);  // fade in, nine stages, "press any key"
    auto* loading = dynamic_cast<Menu::UIGameLoading*>(root->Child(0));
    ASSERT_NE(loading, nullptr);
    EXPECT_EQ(loading->Counter(), 9);
    EXPECT_TRUE(cursorExists());
    testkit::InputScript k;
    k.Key(gameStepCount() + 1, 32);
    k.Start();
    game.RunSteps(70);
    auto* menu = dynamic_cast<Menu::UIMainMenu*>(root->Child(0));
    ASSERT_NE(menu, nullptr) << "the main menu";
    // No player yet: the name is asked first, over the menu.
    EXPECT_EQ(menu->Modal().Kind(), Menu::UIMainMenu::kPlayers);
    testkit::InputScript name;
    name.Text(gameStepCount() + 1, "Anna").Key(gameStepCount() + 8, VK_RETURN_);
    name.Start();
    game.RunSteps(30);
    EXPECT_FALSE(menu->Modal().IsOpen());
    EXPECT_EQ(menu->FindChild("PlayerName")->Caption(), u"Anna");

    // Play with no mode chosen asks for one; Enter (OK) goes on to the intro story.
    UIWnd* play = menu->FindChild("Play");
    ASSERT_NE(play, nullptr);
    const int x = play->X() + play->Width() / 2, y = play->Y() + play->Height() / 2;
    testkit::InputScript p;
    p.Move(gameStepCount() + 1, x, y).Click(gameStepCount() + 3, x, y);
    p.Start();
    game.RunSteps(6);
    EXPECT_EQ(menu->Modal().Kind(), Menu::UIMainMenu::kGameMode) << "Play at " << x << "," << y;
    testkit::InputScript ok;
    ok.Key(gameStepCount() + 12, VK_RETURN_);
    ok.Start();
    game.RunSteps(40);
    ASSERT_NE(dynamic_cast<Menu::UIComics*>(root->Child(0)), nullptr) << "the intro story";
    // Once its opening fade is over, Escape ends the story at once, and the end of the intro starts
    // the first level.
    game.RunSteps(45);
    testkit::InputScript esc;
    esc.Key(gameStepCount() + 1, VK_ESCAPE_);
    esc.Start();
    game.RunSteps(50);
    EXPECT_NE(dynamic_cast<Menu::UILevelLoading*>(root->Child(0)), nullptr) << "level 1 loading";
  }
  fs::current_path(home);
  iniFreeAll();
}
