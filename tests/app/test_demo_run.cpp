// The bundled demo played headless from start to its screen: logos, loading, then the widget
// screen over the living meadow, whose animations and particles run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/soft_cursor.h"
#include "files/file.h"
#include "files/ini.h"
#include "game/menus/demo_scene.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/menus/loading.h"
#include "support/input_script.h"
#include "ui/wnd.h"
#include "support/demo_copy.h"

namespace fs = std::filesystem;

TEST(DemoRun, StartsThroughLoadingIntoTheLivingMeadow) {
  const fs::path home = fs::current_path();
  const fs::path run = testkit::EnterDemoCopy("demo_run");
  if (run.empty()) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  std::error_code ec;
  fs::remove(fileProfgamePath(), ec);
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
    k.Key(gameStepCount() + 1, 32).Move(gameStepCount() + 50, 100, 700).Move(gameStepCount() + 51, 140, 690);
    k.Start();
    game.RunSteps(70);
    UIWnd* scene = root->Child(0) ? root->Child(0)->FindChild("Scene") : nullptr;
    ASSERT_NE(scene, nullptr) << "the demo screen with its meadow";
    game.RunSteps(40);
    EXPECT_GT(static_cast<Menu::UIDemoScene*>(scene)->ParticleCount(), 0) << "smoke rises";
    UIWnd* play = root->Child(0)->FindChild("Play");
    ASSERT_NE(play, nullptr);

    // Play opens the first level in its view; Escape on the level brings the menu back.
    int x = play->Width() / 2, y = play->Height() / 2;
    for (UIWnd* w = play; w && w != root; w = w->Parent()) x += w->X(), y += w->Y();
    testkit::InputScript p;
    p.Move(gameStepCount() + 1, x, y).Click(gameStepCount() + 3, x, y);
    p.Start();
    game.RunSteps(10);
    ASSERT_NE(Game::levelContext(), nullptr) << "Play at " << x << "," << y;
    EXPECT_EQ(Game::levelContext()->levelNumber, 1);
    EXPECT_EQ(root->Child(0), static_cast<UIWnd*>(Game::levelContext()->view));
    testkit::InputScript e;
    e.Key(gameStepCount() + 1, 27);
    e.Start();
    game.RunSteps(5);
    EXPECT_EQ(Game::levelContext(), nullptr);
    ASSERT_NE(root->Child(0), nullptr);
    EXPECT_NE(root->Child(0)->FindChild("Play"), nullptr) << "the menu again";
  }
  fs::current_path(home);
  iniFreeAll();
}
