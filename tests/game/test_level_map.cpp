// The level map: which levels are open, the numbers and stars they show, the episode it opens on and
// the cross-fade to the next, a click that selects and a quick second click that starts, and the
// result board placed over the button under the mouse.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "files/file.h"
#include "files/ini.h"
#include "files/players.h"
#include "files/user_files.h"
#include "game/core/game_main.h"
#include "game/menus/level_button.h"
#include "game/menus/level_menu.h"
#include "game/menus/totem_info.h"
#include "demo_copy_util.h"
#include "game_test_util.h"
#include "platform/platform.h"
#include "support/null_renderer.h"

namespace fs = std::filesystem;
using Menu::UILevelMenuButton;

namespace {

int packed(int x, int y) { return (x & 0xFFFF) | (y << 16); }

// A level map whose screen changes are counted instead of made.
struct WatchedMap : Menu::UILevelMenu {
  int started = 0, backs = 0;
  void StartCurrentLevel() override { ++started; }
  void BackToMainMenu() override { ++backs; }
};

// Buttons 64 x 64 in a row 70 pixels apart at y 300; the first stands at the top edge (y 4) so its
// board has to be pushed down. The board is 200 x 100.
void writeDefinitions() {
  fs::create_directories("data/menu");
  fs::create_directories("data/interface");
  std::string map = "[Main]\n";
  for (auto [nav, x] : {std::pair{"Prev", 20}, {"Next", 900}, {"Menu", 400}, {"Play", 600}})
    map += std::string("[") + nav + "]\ntype=sprite\nx=" + std::to_string(x) + "\ny=700\nxs=80\nys=40\nstage=1\n";
  map += "[Glow1]\ntype=sprite\nxs=80\nys=80\n[Glow2]\ntype=sprite\nxs=90\nys=90\n";
  map += "[Leave1]\ntype=sprite\nx=5\ny=5\nxs=10\nys=10\n[LeaveAutumn1]\ntype=sprite\nx=5\ny=5\nxs=10\nys=10\n";
  for (int e = 1; e <= 3; ++e) map += "[episode" + std::to_string(e) + "]\ntype=sprite\nx=0\ny=740\nxs=100\nys=20\n";
  for (int i = 1; i <= 16; ++i)
    map += "[lvl" + std::to_string(i) + "]\nx=" + std::to_string(10 + 60 * i) + "\ny=" + (i == 1 ? "4" : "300") + "\n";
  gametest::writeFile("data/menu/UILevelMenu.ini", map);
  const std::string button =
      "[Main]\nxs=64\nys=64\n"
      "[Level]\ntype=text\nx=0\ny=20\nxs=64\nys=20\n"
      "[Star1]\ntype=sprite\nx=0\ny=48\nxs=16\nys=16\n[Star2]\ntype=sprite\nx=24\ny=48\nxs=16\nys=16\n"
      "[Star3]\ntype=sprite\nx=48\ny=48\nxs=16\nys=16\n"
      "[Button]\ntype=sprite\nxs=64\nys=64\nstage=1\nglowX=-8\nglowY=-6\n";
  gametest::writeFile("data/interface/UILevelMenuButton.ini", button);
  gametest::writeFile("data/interface/UILevelMenuBonusButton.ini", button);
  gametest::writeFile("data/menu/globalTotemInfo.ini",
                      "[Main]\n[LevelName]\ntype=text\nx=10\ny=10\nxs=180\nys=20\n"
                      "[TimeNum]\ntype=text\nx=10\ny=40\nxs=80\nys=20\n[ScoresNum]\ntype=text\nx=10\ny=70\nxs=80\nys=20\n"
                      "[Frame]\ntype=sprite\nx=0\ny=0\nxs=200\nys=100\n");
  gametest::writeFile("data/translation.ini", "[Menu]\n#LEVEL=Level\n#BONUS_LEVEL=Bonus level\n");
}

struct LevelMap : gametest::CleanSlate {
  void SetUp() override {
    gametest::CleanSlate::SetUp();
    gametest::freshUserFolder("Level Map Test", "LevelMapTest");
    fs::remove_all("data/maps");
    writeDefinitions();
    ASSERT_TRUE(playerAdd(u"Tess"));
    ASSERT_TRUE(playerSelect(0));
  }
  void TearDown() override {
    map.reset();
    wndCollectGarbage();
    playersClear();
    fs::remove_all("data/maps");
    fs::remove("game.ini");
    gametest::CleanSlate::TearDown();
  }
  static PlayerProgress& record() { return *playerProgress(); }
  // Levels whose maps the data holds.
  static void Authored(std::initializer_list<int> levels) {
    for (int n : levels) {
      fs::create_directories("data/maps/" + std::to_string(n));
      gametest::writeFile("data/maps/" + std::to_string(n) + "/map.ini", "[Main]\n");
    }
  }
  void Switches(const std::string& lines) {
    gametest::writeFile("map_switches.ini", "[main]\n" + lines);
    testSettingsLoad("map_switches.ini");
  }
  WatchedMap& Open() {
    map = std::make_unique<WatchedMap>();
    map->Load(Menu::UILevelMenu::kFile, "Main");
    // Past the opening fade, whose last step holds back the rest of the screen's update.
    Steps(1000);
    return *map;
  }
  UILevelMenuButton* B(int level) const { return map->Button(level); }
  UIWnd* W(const char* name) const { return map->FindChild(name); }
  void Point(UIWnd* w) { map->MouseMove(0, packed(w->X() + w->Width() / 2, w->Y() + w->Height() / 2)); }
  void Click(UIWnd* w) {
    Point(w);
    const int at = packed(w->X() + w->Width() / 2, w->Y() + w->Height() / 2);
    map->KeyDown(VK_LBUTTON_, at);
    map->KeyUp(VK_LBUTTON_, at);
  }
  void Steps(int ms) {
    for (int t = 0; t < ms; t += 25) map->Update(25);
  }
  std::unique_ptr<WatchedMap> map;
};

}  // namespace

TEST(LevelRules, NumbersSkipTheBonusLevelsAndEpisodesAreSixteenLevels) {
  EXPECT_EQ(Menu::levelLabel(1), 1);
  EXPECT_EQ(Menu::levelLabel(15), 15);
  EXPECT_EQ(Menu::levelLabel(17), 16);
  EXPECT_EQ(Menu::levelLabel(31), 30);
  EXPECT_EQ(Menu::levelLabel(33), 31);
  EXPECT_EQ(Menu::levelLabel(47), 45);
  for (int bonus : {16, 32, 48}) EXPECT_EQ(Menu::levelLabel(bonus), 0) << bonus;
  EXPECT_EQ(Menu::levelEpisode(1), 0);
  EXPECT_EQ(Menu::levelEpisode(16), 0);
  EXPECT_EQ(Menu::levelEpisode(17), 1);
  EXPECT_EQ(Menu::levelEpisode(32), 1);
  EXPECT_EQ(Menu::levelEpisode(33), 2);
  EXPECT_EQ(Menu::levelEpisode(48), 2);
}

TEST(LevelRules, BonusLevelOpensOnlyWithThreeStarsOnEachOfTheTenBefore) {
  PlayerProgress p;
  p.levelMax[0] = 48;  // reached everything: the bonus level still asks for the stars
  for (int n = 6; n <= 15; ++n) p.lp[0][n - 1] = 3;
  EXPECT_TRUE(Menu::levelAvailable(p, 16, false));
  p.lp[0][5 - 1] = 0;  // level 5 is not one of the ten
  EXPECT_TRUE(Menu::levelAvailable(p, 16, false));
  p.lp[0][6 - 1] = 2;
  EXPECT_FALSE(Menu::levelAvailable(p, 16, false));
  EXPECT_TRUE(Menu::levelAvailable(p, 16, true));
  // The stars count in the current mode only.
  p.lp[0][6 - 1] = 3;
  p.mode = 1;
  EXPECT_FALSE(Menu::levelAvailable(p, 16, false));
}

TEST(LevelRules, OrdinaryLevelsOpenUpToTheHighestReached) {
  PlayerProgress p;
  p.mode = 2;
  p.levelMax[2] = 5;
  EXPECT_TRUE(Menu::levelAvailable(p, 1, false));
  EXPECT_TRUE(Menu::levelAvailable(p, 5, false));
  EXPECT_FALSE(Menu::levelAvailable(p, 6, false));
  EXPECT_TRUE(Menu::levelAvailable(p, 47, true));
  EXPECT_FALSE(Menu::levelAvailable(p, 0, true));
  EXPECT_FALSE(Menu::levelAvailable(p, 49, true));
  // A mode that was never chosen reads as the first one instead of past the arrays.
  p.mode = 3;
  p.levelMax[0] = 2;
  EXPECT_TRUE(Menu::levelAvailable(p, 2, false));
  EXPECT_FALSE(Menu::levelAvailable(p, 3, false));
}

TEST_F(LevelMap, OpensOnTheEpisodeOfTheCurrentLevel) {
  record().level[0] = 20;
  record().levelMax[0] = 20;
  Open();
  EXPECT_EQ(map->Episode(), 1);
  EXPECT_FALSE(W("Prev")->Hidden());
  EXPECT_FALSE(W("Next")->Hidden());
  EXPECT_EQ(map->CurrentButton(), B(20));
  // Episode 2's windows are there but hidden and clear; episode 1's are shown and opaque.
  for (UIWnd* w : map->EpisodeWindows(1)) {
    EXPECT_FALSE(w->Hidden());
    EXPECT_EQ(w->Colour(), 0xFFFFFFFFu);
  }
  for (int e : {0, 2})
    for (UIWnd* w : map->EpisodeWindows(e)) {
      EXPECT_TRUE(w->Hidden());
      EXPECT_EQ(w->Colour() >> 24, 0u);
    }
  // The episode's decorations belong to it: 16 buttons, its picture, and the autumn leaves.
  EXPECT_EQ(map->EpisodeWindows(1).size(), 18u);
  EXPECT_EQ(map->EpisodeWindows(2).size(), 17u);

  record().level[0] = 40;
  Open();
  EXPECT_EQ(map->Episode(), 2);
  EXPECT_FALSE(W("Prev")->Hidden());
  EXPECT_TRUE(W("Next")->Hidden());

  record().level[0] = 3;
  Open();
  EXPECT_EQ(map->Episode(), 0);
  EXPECT_TRUE(W("Prev")->Hidden());
  EXPECT_FALSE(W("Next")->Hidden());
}

TEST_F(LevelMap, ButtonsShowTheirNumberStarsAndWhetherTheyAreOpen) {
  Authored({1, 2, 3, 4, 16});
  record().levelMax[0] = 3;
  record().lp[0][0] = 2;
  record().lp[0][1] = 1;
  record().lp[0][2] = 3;
  Open();
  auto stars = [&](int level) {
    std::string s;
    for (const char* name : {"Star1", "Star2", "Star3"}) s += B(level)->FindChild(name)->Hidden() ? '-' : '*';
    return s;
  };
  EXPECT_EQ(stars(1), "*-*");
  EXPECT_EQ(stars(2), "-*-");
  EXPECT_EQ(stars(3), "***");
  EXPECT_EQ(stars(4), "---");
  EXPECT_EQ(B(1)->FindChild("Level")->Caption(), u"1");
  EXPECT_EQ(B(17)->FindChild("Level")->Caption(), u"16");
  EXPECT_EQ(B(32)->FindChild("Level")->Caption(), u"");
  EXPECT_STREQ(B(5)->Name(), "LevelButton");
  EXPECT_EQ(B(3)->State(), UIWnd::Normal);
  EXPECT_EQ(B(3)->Inner()->State(), UIWnd::Normal);
  // Past the highest level reached, and the bonus level without its stars.
  EXPECT_EQ(B(4)->State(), UIWnd::Ignore);
  EXPECT_EQ(B(4)->Inner()->State(), UIWnd::Ignore);
  EXPECT_EQ(B(16)->State(), UIWnd::Ignore);

  // Every level opens with the test switch, but never one the data has no map for.
  Switches("Game_Open_All_Levels=1\n");
  Open();
  EXPECT_EQ(B(4)->State(), UIWnd::Normal);
  EXPECT_EQ(B(16)->State(), UIWnd::Normal);
  EXPECT_EQ(B(5)->State(), UIWnd::Ignore);
  EXPECT_EQ(B(40)->State(), UIWnd::Ignore);
}

TEST_F(LevelMap, AClickSelectsAndASecondWithin300msStarts) {
  Authored({1, 2, 3, 4, 5, 6});
  record().levelMax[0] = 6;
  record().level[0] = 2;
  Open();
  Click(B(5));
  EXPECT_EQ(map->CurrentButton(), B(5));
  EXPECT_EQ(map->started, 0);
  Steps(200);
  Click(B(5));
  EXPECT_EQ(map->started, 1);
  // The chosen level becomes the current one; nothing else in the record moves.
  EXPECT_EQ(record().level[0], 5);
  EXPECT_EQ(record().levelMax[0], 6);

  Open();
  Click(B(5));
  Steps(400);
  Click(B(5));
  EXPECT_EQ(map->started, 0);
  EXPECT_EQ(map->CurrentButton(), B(5));
  // Another button clicked quickly after is a new choice, not a start.
  Steps(50);
  Click(B(6));
  EXPECT_EQ(map->started, 0);
  EXPECT_EQ(map->CurrentButton(), B(6));
  // A locked button takes no click at all.
  Click(B(7));
  EXPECT_EQ(map->CurrentButton(), B(6));
  Click(W("Play"));
  EXPECT_EQ(map->started, 1);
  EXPECT_EQ(record().level[0], 6);
  Click(W("Menu"));
  EXPECT_EQ(map->backs, 1);
}

TEST_F(LevelMap, PlayingABonusLevelLeavesTheLevelsBeforeItLocked) {
  Authored({1, 2, 3, 16});
  Switches("Game_Open_All_Levels=1\n");
  record().levelMax[0] = 3;
  Open();
  Click(B(16));
  Click(W("Play"));
  EXPECT_EQ(map->started, 1);
  EXPECT_EQ(record().level[0], 16);
  EXPECT_EQ(record().levelMax[0], 3);
}

TEST_F(LevelMap, GlowsFollowTheCurrentButtonAndSinkWhileItIsPressed) {
  Authored({1, 2, 3});
  record().levelMax[0] = 3;
  record().level[0] = 2;
  Open();
  UIWnd* glow = W("Glow1");
  EXPECT_FALSE(glow->Hidden());
  EXPECT_EQ(glow->X(), B(2)->X() - 8);
  EXPECT_EQ(glow->Y(), B(2)->Y() - 6);
  Click(B(3));
  EXPECT_EQ(W("Glow2")->X(), B(3)->X() - 8);
  Steps(400);  // so the next click is a press of the chosen button, not a start
  const int y = glow->Y();
  const int labelY = B(3)->FindChild("Level")->Y();
  Point(B(3));
  map->KeyDown(VK_LBUTTON_, packed(B(3)->X() + 5, B(3)->Y() + 5));
  EXPECT_EQ(glow->Y(), y + 2);
  EXPECT_EQ(B(3)->FindChild("Level")->Y(), labelY + 2);
  EXPECT_EQ(B(3)->Inner()->Y(), B(3)->Y());  // the button itself stays; what is on it sinks
  map->KeyUp(VK_LBUTTON_, packed(B(3)->X() + 5, B(3)->Y() + 5));
  EXPECT_EQ(glow->Y(), y);
  EXPECT_EQ(B(3)->FindChild("Level")->Y(), labelY);
}

TEST_F(LevelMap, NextCrossFadesOverOneSecondAndSwallowsInputMeanwhile) {
  Authored({1, 2, 17});
  record().levelMax[0] = 17;
  Open();
  Click(W("Next"));
  EXPECT_TRUE(map->InTransition());
  EXPECT_EQ(map->Episode(), 1);
  EXPECT_FALSE(W("Prev")->Hidden());
  Steps(500);
  // Half way: the old map at about half its alpha going out, the new one coming in.
  const uint32_t outAlpha = B(1)->Colour() >> 24, inAlpha = B(17)->Colour() >> 24;
  EXPECT_NEAR(int(outAlpha), 128, 2);
  EXPECT_NEAR(int(inAlpha), 127, 2);
  EXPECT_FALSE(B(17)->Hidden());
  // A click on the new episode's button does nothing while the fade runs.
  EXPECT_EQ(map->MouseMove(0, packed(B(17)->X() + 5, B(17)->Y() + 5)), 1);
  EXPECT_EQ(map->KeyDown(VK_LBUTTON_, packed(B(17)->X() + 5, B(17)->Y() + 5)), 1);
  EXPECT_EQ(map->KeyUp(VK_LBUTTON_, packed(B(17)->X() + 5, B(17)->Y() + 5)), 1);
  EXPECT_NE(map->CurrentButton(), B(17));
  Steps(500);
  EXPECT_FALSE(map->InTransition());
  EXPECT_TRUE(B(1)->Hidden());
  EXPECT_EQ(B(17)->Colour(), 0xFFFFFFFFu);
  // The glows stayed with the current button of the episode that left.
  EXPECT_TRUE(W("Glow1")->Hidden());
  Click(B(17));
  EXPECT_EQ(map->CurrentButton(), B(17));
  EXPECT_FALSE(W("Glow1")->Hidden());
}

TEST_F(LevelMap, ResultBoardStandsOverTheButtonAndStepsAsideAtTheTop) {
  Authored({1, 2, 3});
  record().levelMax[0] = 3;
  record().sl[0][2] = 1234;
  record().t[0][2] = 125;
  Open();
  Menu::UIGlobalMapTotemInfo* info = map->TotemInfo();
  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(info->Hidden());
  // Drawn over every button (the screen draws its children first to last), under the fade alone.
  int infoAt = -1, lastButton = -1;
  for (int i = 0; i < map->ChildCount(); ++i) {
    if (map->Child(i) == info) infoAt = i;
    if (dynamic_cast<UILevelMenuButton*>(map->Child(i))) lastButton = i;
  }
  EXPECT_GT(infoAt, lastButton);
  EXPECT_EQ(infoAt, map->ChildCount() - 2);
  EXPECT_STREQ(map->Child(map->ChildCount() - 1)->Name(), "Fade");
  Point(B(3));
  EXPECT_FALSE(info->Hidden());
  EXPECT_EQ(info->Level(), 3);
  // Centred over the 64-pixel button at (190, 300), 20 pixels above it.
  EXPECT_EQ(info->X(), 190 + 32 - 100);
  EXPECT_EQ(info->Y(), 300 - 100 - 20);
  EXPECT_EQ(info->FindChild("Frame")->X(), info->X());
  info->Draw();
  EXPECT_EQ(info->FindChild("TimeNum")->Caption(), u"02:05");
  EXPECT_EQ(info->FindChild("ScoresNum")->Caption(), u"1234");
  EXPECT_EQ(info->FindChild("LevelName")->Caption(), u"Level 3");

  // Button 1 stands at y 4: the board cannot go above it, so it goes down to y 10 and to the right
  // by half its width and 10 more.
  Point(B(1));
  EXPECT_EQ(info->Level(), 1);
  EXPECT_EQ(info->Y(), 10);
  EXPECT_EQ(info->X(), 70 + 32 - 100 + 100 + 10);
}

TEST(TotemInfo, PlacementKeepsTheBoardOnScreen) {
  int x = -50, y = 15;  // between 10 and 20: only the step aside
  Menu::UIGlobalMapTotemInfo::Place(200, x, y);
  EXPECT_EQ(x, 60);
  EXPECT_EQ(y, 15);
  x = 900, y = 200;
  Menu::UIGlobalMapTotemInfo::Place(200, x, y);
  EXPECT_EQ(x, 804);
  x = 5, y = 200;
  Menu::UIGlobalMapTotemInfo::Place(200, x, y);
  EXPECT_EQ(x, 20);
}

TEST_F(LevelMap, ResultBoardFadesInAndOutOverHalfASecond) {
  Authored({1, 2, 3});
  record().levelMax[0] = 3;
  Open();
  Menu::UIGlobalMapTotemInfo* info = map->TotemInfo();
  Point(B(2));
  EXPECT_EQ(info->Alpha(), 0);
  Steps(250);
  EXPECT_NEAR(info->Alpha(), 128, 2);
  Steps(250);
  EXPECT_EQ(info->Alpha(), 255);
  // Leaving a fully shown board takes the whole half second.
  map->MouseMove(0, packed(1000, 500));
  Steps(250);
  EXPECT_FALSE(info->Hidden());
  EXPECT_NEAR(info->Alpha(), 128, 2);
  Steps(250);
  EXPECT_TRUE(info->Hidden());
  // Leaving one that had faded in for 100 ms takes 100 ms from where it got to.
  Point(B(3));
  Steps(100);
  const int reached = info->Alpha();
  EXPECT_NEAR(reached, 51, 2);
  map->MouseMove(0, packed(1000, 500));
  Steps(50);
  EXPECT_NEAR(info->Alpha(), reached / 2, 2);
  EXPECT_FALSE(info->Hidden());
  Steps(50);
  EXPECT_TRUE(info->Hidden());
}

namespace {
// The bundled demo's level map, built from its own data with pictures loaded on the null renderer.
struct DemoLevelMap : gametest::DemoCopySlate {
  const char* CopyName() const override { return "demo_level_map"; }
  void SetUp() override {
    gametest::DemoCopySlate::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(testkit::StartNullRenderer("level map"));
    playersClear();
  }
  void TearDown() override {
    map.reset();
    wndCollectGarbage();
    gametest::DemoCopySlate::TearDown();
  }
  std::unique_ptr<WatchedMap> map;
};
}  // namespace

TEST_F(DemoLevelMap, EveryButtonBoardAndMapFindsItsPicturesAndTexts) {
  map = std::make_unique<WatchedMap>();
  map->Load(Menu::UILevelMenu::kFile, "Main");
  for (int n = 1; n <= 48; ++n) {
    UILevelMenuButton* b = map->Button(n);
    ASSERT_NE(b, nullptr) << n;
    ASSERT_NE(b->Inner(), nullptr) << n;
    for (int s = UIWnd::Ignore; s <= UIWnd::Press; ++s) EXPECT_NE(b->Inner()->Image(s), nullptr) << n << " state " << s;
    for (const char* star : {"Star1", "Star2", "Star3"}) {
      ASSERT_NE(b->FindChild(star), nullptr) << n;
      EXPECT_NE(b->FindChild(star)->StateImage(), nullptr) << n;
    }
    // Inside the screen, above the bar of buttons along the bottom.
    EXPECT_GE(b->X(), 0);
    EXPECT_LE(b->X() + b->Width(), 1024);
    EXPECT_GE(b->Y(), 0);
    EXPECT_LE(b->Y() + b->Height(), 680);
  }
  EXPECT_EQ(map->Button(17)->FindChild("Level")->Caption(), u"16");
  for (int e = 0; e < 3; ++e) {
    // The painted map under everything, and the banner with the episode's translated name.
    ASSERT_FALSE(map->EpisodeWindows(e).empty());
    EXPECT_NE(map->EpisodeWindows(e).front()->StateImage(), nullptr);
    UIWnd* banner = map->FindChild(("episode" + std::to_string(e + 1)).c_str());
    ASSERT_NE(banner, nullptr);
    EXPECT_FALSE(banner->Caption().empty());
    EXPECT_NE(banner->Caption()[0], u'#');
  }
  for (const char* name : {"Prev", "Next", "Menu", "Play", "Glow1", "Glow2", "Beames", "Leaves", "Snow"})
    EXPECT_NE(map->FindChild(name), nullptr) << name;
  UIWnd* frame = map->TotemInfo()->FindChild("Frame");
  ASSERT_NE(frame, nullptr);
  EXPECT_NE(frame->StateImage(), nullptr);
  EXPECT_GT(map->TotemInfo()->Width(), 0);
  // Without a player the map shows what a new one sees: level 1 open and chosen.
  EXPECT_EQ(map->Button(1)->State(), UIWnd::Normal);
  EXPECT_EQ(map->Button(2)->State(), UIWnd::Ignore);
  EXPECT_EQ(map->CurrentButton(), map->Button(1));
  EXPECT_TRUE(map->FindChild("Prev")->Hidden());
}
