// The campaign from the player's side, headless with its own user folder: the logos skipped, the
// main menu asking the first player's name ("Анна"), the game mode chosen, the level map, level 1
// won, its stars on the map and level 2 open; then a second start of the program finds the
// player, the stars and the open level again.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "files/file.h"
#include "files/ini.h"
#include "files/players.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/menus/comics.h"
#include "game/menus/level_button.h"
#include "game/menus/level_menu.h"
#include "game/menus/main_menu.h"
#include "platform/platform.h"
#include "support/demo_copy.h"
#include "support/input_script.h"
#include "support/test_files.h"
#include "ui/wnd.h"

namespace fs = std::filesystem;

namespace {

UIWnd* Screen() { return wndRoot() ? wndRoot()->Child(0) : nullptr; }
template <class T>
T* ScreenAs() {
  return dynamic_cast<T*>(Screen());
}

// The player's side of the game: steps, keys, characters and clicks through the input path.
struct Player {
  testkit::HeadlessGame& game;
  bool StepUntil(const std::function<bool()>& done, int maxSteps, int keyEvery = 0, int key = VK_RETURN_) {
    for (int i = 0; i < maxSteps; ++i) {
      if (done()) return true;
      if (keyEvery && i % keyEvery == keyEvery - 1) Key(key);
      game.RunSteps(1);
    }
    return done();
  }
  void Key(int vk) {
    wndOfferKeyDown(vk, 1);
    wndOfferKeyUp(vk, 1);
  }
  void Type(const std::u16string& text) {
    for (char16_t c : text) {
      wndOfferChar(int(c), 1);
      game.RunSteps(1);
    }
  }
  void Click(const UIWnd* w) {
    ASSERT_NE(w, nullptr);
    const int x = w->X() + w->Width() / 2, y = w->Y() + w->Height() / 2;
    wndOfferMouseMove(0, testkit::Pack(x, y));
    game.RunSteps(1);
    wndOfferKeyDown(VK_LBUTTON_, testkit::Pack(x, y));
    game.RunSteps(1);
    wndOfferKeyUp(VK_LBUTTON_, testkit::Pack(x, y));
    game.RunSteps(1);
  }
  // Logos and the loading screen pass at a key; the main menu follows.
  bool ReachMainMenu() {
    return StepUntil([] { return ScreenAs<Menu::UIMainMenu>() != nullptr; }, 3000, 20, 'A');
  }
  // The level map, its fade-in over.
  bool ReachLevelMap() {
    return StepUntil([] { return ScreenAs<Menu::UILevelMenu>() != nullptr; }, 600) &&
           StepUntil([] { return ScreenAs<Menu::UILevelMenu>()->FadeState() == Core::UIMenuWithFade::kOpen; }, 200);
  }
};

// Stars shown on a level button: "Star1" to "Star3" visible.
int StarsShown(const Menu::UILevelMenuButton* b) {
  int n = 0;
  for (const char* s : {"Star1", "Star2", "Star3"})
    if (const UIWnd* w = b->FindChild(s); w && !w->Hidden()) ++n;
  return n;
}

}  // namespace

TEST(CampaignFlow, ANewPlayerWinsLevelOneAndFindsItKeptAfterARestart) {
  const fs::path home = fs::current_path();
  const fs::path run = testkit::EnterDemoCopy("campaign_flow");
  if (run.empty()) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  // A user folder of its own (the game's folder name), and the debug word that wins a level.
  std::string ini = testkit::readFile(run / "game.ini");
  const size_t at = ini.find("path=Meadowmark");
  ASSERT_NE(at, std::string::npos);
  ini.replace(at, 15, "path=MeadowmarkCampaignTest");
  testkit::writeFile(run / "game.ini", ini);
  iniFreeAll();
  fileInitPaths();
  ASSERT_NE(fileUserFolder().find("MeadowmarkCampaignTest"), std::string::npos);
  fs::remove_all(fileUserFolder());
  testkit::writeFile(run / "data" / "test.ini", "[main]\nGame_Chit=1\n");
  iniFreeAll();
  int stars = 0;
  {
    testkit::HeadlessGame game(1000);
    ASSERT_TRUE(game.Ok());
    Player p{game};
    ASSERT_TRUE(p.ReachMainMenu());
    // No player yet: the menu asks for a name at once.
    ASSERT_EQ(playersCount(), 0);
    p.game.RunSteps(40);
    p.Type(u"Анна");
    p.Key(VK_RETURN_);
    ASSERT_TRUE(p.StepUntil([] { return playersCount() == 1 && playerProgress(); }, 200));
    EXPECT_EQ(playerName(0), u"Анна");
    p.game.RunSteps(40);
    // Play: the first time the mode is asked; Enter takes the one offered.
    auto* menu = ScreenAs<Menu::UIMainMenu>();
    ASSERT_NE(menu, nullptr);
    p.Click(menu->FindChild("Play"));
    p.game.RunSteps(40);
    p.Key(VK_RETURN_);
    // A new player hears the intro first; Escape ends it, and level 1 starts through its loading
    // screen.
    ASSERT_TRUE(p.StepUntil([] {
      auto* c = ScreenAs<Menu::UIComics>();
      return c && c->ComicsState() == Menu::UIComics::kShowing;
    }, 200));
    EXPECT_EQ(ScreenAs<Menu::UIComics>()->Page(), 1);
    p.Key(VK_ESCAPE_);
    ASSERT_TRUE(p.StepUntil([] { return ScreenAs<Game::cGameView>() != nullptr; }, 600));
    ASSERT_EQ(Game::levelContext()->levelNumber, 1);
    p.game.RunSteps(20);
    for (char c : std::string("levelu")) wndOfferChar(c, 1);
    ASSERT_TRUE(p.StepUntil([] { return ScreenAs<Game::cGameView>() && ScreenAs<Game::cGameView>()->resultShown(); },
                            1000));
    stars = Game::levelContext()->model->result().stars;
    ASSERT_GE(stars, 1);
    // The result closes at a key and the level map comes back.
    ASSERT_TRUE(p.StepUntil([] { return ScreenAs<Menu::UILevelMenu>() != nullptr; }, 2000, 40));
    ASSERT_TRUE(p.ReachLevelMap());
    auto* map = ScreenAs<Menu::UILevelMenu>();
    EXPECT_EQ(StarsShown(map->Button(1)), stars);
    EXPECT_NE(map->Button(2)->State(), UIWnd::Ignore) << "level 2 is open";
    EXPECT_EQ(map->CurrentButton(), map->Button(2)) << "and current";
  }
  // A second start.
  {
    testkit::HeadlessGame game(1000);
    ASSERT_TRUE(game.Ok());
    Player p{game};
    ASSERT_EQ(playersCount(), 1);
    ASSERT_EQ(playerCurrent(), 0);
    EXPECT_EQ(playerName(0), u"Анна");
    ASSERT_TRUE(p.ReachMainMenu());
    p.game.RunSteps(40);
    p.Click(ScreenAs<Menu::UIMainMenu>()->FindChild("Play"));
    ASSERT_TRUE(p.ReachLevelMap()) << "the mode was chosen before: straight to the map";
    auto* map = ScreenAs<Menu::UILevelMenu>();
    EXPECT_EQ(StarsShown(map->Button(1)), stars);
    EXPECT_NE(map->Button(2)->State(), UIWnd::Ignore);
    EXPECT_EQ(map->Button(3)->State(), UIWnd::Ignore);
  }
  fs::current_path(home);
  iniFreeAll();
}
