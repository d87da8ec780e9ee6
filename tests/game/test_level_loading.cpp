// The way into and out of a level: which hint a level shows, the shields lighting up as the stages
// run, a level started through its loading screen ending up in the game view, and a won level's
// result kept in the player's profile across a reload, while a lost one leaves it alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "app/soft_cursor.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/players.h"
#include "files/user_files.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "game/core/random.h"
#include "game/menus/level_flow.h"
#include "game/menus/level_loading.h"
#include "game/menus/loading_hint.h"
#include "game_test_util.h"
#include "platform/platform.h"
#include "support/game_harness.h"
#include "support/input_script.h"
#include "ui/wnd.h"

namespace fs = std::filesystem;
using Game::Phase;

namespace {

// Hints 1 to 6 for the levels' pools, with a hint document for the hints the tests look at.
void writeScreens(int hintsMax) {
  fs::create_directories("data/menu/LoadingHints");
  gametest::writeFile("data/translation.ini", "[Menu]\n#LEVEL=Level\n#BONUS_LEVEL=Bonus level\n");
  gametest::writeFile("data/menu/levelLoading.ini",
                      "[Main]\n"
                      "[Level]\ntype=text\nx=300\ny=100\nxs=400\nys=40\nname=Loading\n"
                      "[ShieldTable]\ncols=5\ndeltaX=40.5\nx=300\ny=600\n"
                      "[shield]\ntype=sprite\nxs=32\nys=32\n"
                      "[episode1]\ntype=sprite\nx=10\ny=10\nxs=100\nys=100\n"
                      "[episode2]\ntype=sprite\nx=20\ny=20\nxs=100\nys=100\n");
  gametest::writeFile("data/menu/LoadingHints/hints.ini",
                      "[Main]\nhintsMax=" + std::to_string(hintsMax) + "\n[Frame]\ntype=sprite\nx=200\ny=300\nxs=600\nys=200\n");
  gametest::writeFile("data/menu/LoadingHints/hint2.ini",
                      "[Main]\n[Text]\ntype=text\nx=30\ny=40\nxs=400\nys=100\nname=Click a bush\n"
                      "[Picture]\ntype=sprite\nx=450\ny=20\nxs=64\nys=64\n");
}

std::string balance() {
  return "[Main]\ntLevelTime=60000\ntGoldTime=20000\ntSilverTime=40000\nMinuteTime=1000\n[Resources]\nWorker=1\n"
         "Food=10\n[ResourcesMax]\nFood=30\nOre=30\nGold=30\n[ResourceHarvest]\nFood=5\nOre=3\nGold=2\n";
}

// A window tree, a player store in its own user folder, and the screens' definitions.
struct LevelFlow : gametest::CleanSlate {
  void SetUp() override {
    gametest::CleanSlate::SetUp();
    gametest::freshUserFolder("Loading Test", "LoadingTest");
    wndSetRoot(new UIWnd());
    cursorCreate();
    writeScreens(6);
    fs::remove_all("data/maps");  // each test writes the levels it has
  }
  void TearDown() override {
    Game::EndLevel();
    cursorDestroy();
    UIWnd* root = wndRoot();
    wndSetRoot(nullptr);
    delete root;
    wndCollectGarbage();
    playersClear();
    fs::remove("game.ini");
    gametest::CleanSlate::TearDown();
  }
  void Switches(const std::string& lines) {
    gametest::writeFile("flow_test.ini", "[main]\n" + lines);
    iniFreeAll();
    testSettingsLoad("flow_test.ini");
  }
  static void WriteLevel(int n) {
    testkit::LevelFiles f;
    f.balance = balance();
    std::string error;
    ASSERT_TRUE(testkit::WriteTestLevel(n, f, &error)) << error;
  }
  // A player at `level` of the "Normal" mode, made current and saved.
  static void MakePlayer(const std::u16string& name, int level) {
    ASSERT_TRUE(playerAdd(name));
    ASSERT_TRUE(playerSelect(playerFind(name)));
    progressSetLevel(*playerProgress(), level, false);
    ASSERT_TRUE(playersSave());
  }
  void Steps(int n) {
    for (int i = 0; i < n; ++i) {
      clock_ += 25;
      gameSetClock(clock_);
      wndRoot()->Update(25);
      wndCollectGarbage();
    }
  }
  // Steps until `done` or `max` steps; the steps taken, or -1.
  template <class F>
  int StepUntil(F done, int max = 1000) {
    for (int i = 0; i < max; ++i) {
      if (done()) return i;
      Steps(1);
    }
    return done() ? max : -1;
  }
  Menu::UILevelLoading* Loading() const { return dynamic_cast<Menu::UILevelLoading*>(wndRoot()->Child(0)); }
  Game::cGameView* OnScreenView() const { return dynamic_cast<Game::cGameView*>(wndRoot()->Child(0)); }
  void Type(const std::string& text) {
    for (char c : text) wndOfferChar(c, 1);
  }
  int32_t clock_ = 0;
};

}  // namespace

TEST(LoadingHint, TheLevelsThatBringSomethingNewShowTheirHintAndOthersDrawFromTheirPool) {
  SeedRandom(77);
  const int32_t before = randomStateA();
  EXPECT_EQ(Menu::loadingHintNumber(6, 9), 7);
  EXPECT_EQ(Menu::loadingHintNumber(8, 9), 8);
  EXPECT_EQ(Menu::loadingHintNumber(19, 9), 9);
  EXPECT_EQ(randomStateA(), before) << "no draw for a fixed hint";
  // level -> the highest hint its pool can give
  const std::pair<int, int> pools[] = {{1, 6}, {5, 6}, {7, 7}, {9, 8}, {18, 8}, {20, 9}, {47, 9}};
  for (auto [level, top] : pools) {
    std::set<int> seen;
    for (int i = 0; i < 400; ++i) seen.insert(Menu::loadingHintNumber(level, 9));
    EXPECT_EQ(*seen.begin(), 1) << "level " << level;
    EXPECT_EQ(*seen.rbegin(), top) << "level " << level;
    EXPECT_EQ(int(seen.size()), top) << "every hint of the pool comes up for level " << level;
  }
  EXPECT_NE(randomStateA(), before) << "the draws go through the logged generator";
}

TEST(LoadingHint, AFewHintsNeverMakeAnEmptyPool) {
  SeedRandom(5);
  for (int h = 1; h <= 3; ++h)
    for (int level : {1, 3, 5, 6, 7, 8, 12, 19, 30})
      for (int i = 0; i < 50; ++i) {
        const int n = Menu::loadingHintNumber(level, h);
        EXPECT_GE(n, 1) << "level " << level << " of " << h;
        EXPECT_LE(n, h) << "level " << level << " of " << h;
      }
  EXPECT_EQ(Menu::loadingHintNumber(3, 0), 0) << "no hints, no hint";
  EXPECT_EQ(Menu::loadingHintNumber(19, -4), 0);
}

TEST(LoadingShields, TheShieldsLightOneByOneAsTheStagesRun) {
  // 5 shields and 20 stages: after 6 stages 1.5 shields are lit.
  const Menu::ShieldLight half = Menu::loadingShieldLight(5, 6, 20);
  EXPECT_EQ(half.full, 1);
  EXPECT_EQ(half.alpha, 127);
  const Menu::ShieldLight start = Menu::loadingShieldLight(5, 0, 20);
  EXPECT_EQ(start.full, 0);
  EXPECT_EQ(start.alpha, 0);
  const Menu::ShieldLight done = Menu::loadingShieldLight(5, 20, 20);
  EXPECT_EQ(done.full, 5);
  EXPECT_EQ(done.alpha, 0);
  // Large counts do not overflow.
  const Menu::ShieldLight big = Menu::loadingShieldLight(1000, 2000000, 4000000);
  EXPECT_EQ(big.full, 500);
  EXPECT_EQ(Menu::loadingShieldLight(0, 3, 10).full, 0);
  EXPECT_EQ(Menu::loadingShieldLight(4, 3, 0).full, 0);
}

TEST(LevelOrder, TheCampaignGoesOnPastBonusLevelsAndEndsAtItsLastLevel) {
  auto all = [](int) { return true; };
  auto firstThree = [](int n) { return n <= 3; };
  EXPECT_EQ(Menu::NextLevelAfter(1, all), 2);
  EXPECT_EQ(Menu::NextLevelAfter(15, all), 17) << "the bonus level opens by stars";
  EXPECT_EQ(Menu::NextLevelAfter(16, all), 17);
  EXPECT_EQ(Menu::NextLevelAfter(31, all), 33);
  EXPECT_EQ(Menu::NextLevelAfter(46, all), 47);
  EXPECT_EQ(Menu::NextLevelAfter(47, all), 0);
  EXPECT_EQ(Menu::NextLevelAfter(48, all), 0);
  EXPECT_EQ(Menu::NextLevelAfter(2, firstThree), 3);
  EXPECT_EQ(Menu::NextLevelAfter(3, firstThree), 0) << "no map, no level";
  EXPECT_EQ(Menu::NextLevelAfter(0, all), 0);
}

TEST_F(LevelFlow, ALevelStartedThroughTheLoadingScreenEndsInTheGameView) {
  WriteLevel(2);
  MakePlayer(u"Ann", 2);
  SeedRandom(11);
  Menu::StartLevel();
  Menu::UILevelLoading* loading = Loading();
  ASSERT_NE(loading, nullptr);
  EXPECT_EQ(loading->Level(), 2);
  EXPECT_GE(loading->HintNumber(), 1);
  EXPECT_LE(loading->HintNumber(), 3) << "level 2 leaves the last three hints out";
  EXPECT_EQ(playerProgress()->finished[0][1], 1) << "the level is marked as played";
  // The level's name, the hint and the episode's picture.
  UIWnd* caption = loading->FindChild("Level");
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->Caption(), u"Loading Level 2");
  ASSERT_NE(loading->FindChild("Hint"), nullptr);
  EXPECT_NE(loading->FindChild("episode1"), nullptr);
  EXPECT_EQ(loading->FindChild("episode2"), nullptr);
  ASSERT_EQ(loading->ShieldCount(), 5);
  UIWnd* s3 = loading->FindChild("shield3");
  ASSERT_NE(s3, nullptr);
  EXPECT_EQ(s3->X(), 300 + 122) << "3 x 40.5 rounded";
  EXPECT_EQ(s3->Y(), 600);
  EXPECT_EQ(s3->Colour(), 0x00FFFFFFu) << "dark at first";
  // Nothing loads while the screen fades in.
  Steps(20);
  EXPECT_EQ(Game::levelContext(), nullptr);
  // An empty map has 11 stages; after 6 of them 5 x 6 / 11 = 2.73 shields are lit.
  ASSERT_GE(StepUntil([&] { return loading->Counter() == 6; }, 100), 0);
  EXPECT_EQ(loading->Steps(), 11);
  EXPECT_EQ(loading->FindChild("shield0")->Colour(), 0xFFFFFFFFu);
  EXPECT_EQ(loading->FindChild("shield1")->Colour(), 0xFFFFFFFFu);
  EXPECT_EQ(loading->FindChild("shield2")->Colour(), 0xB9FFFFFFu) << "0.73 of 255 is 185";
  EXPECT_EQ(loading->FindChild("shield3")->Colour(), 0x00FFFFFFu);
  // Then the screen fades out and the game view takes its place.
  ASSERT_GE(StepUntil([&] { return OnScreenView() != nullptr; }, 200), 0);
  ASSERT_NE(Game::levelContext(), nullptr);
  EXPECT_EQ(Game::levelContext()->levelNumber, 2);
  EXPECT_EQ(OnScreenView(), Game::levelContext()->view);
  EXPECT_EQ(wndRoot()->ChildCount(), 1);
  EXPECT_EQ(Game::levelContext()->model->phase(), Phase::Ready) << "the clock waits for the player";
  Steps(4);
  EXPECT_EQ(Game::levelContext()->model->phase(), Phase::Ready);
}

TEST_F(LevelFlow, PlayingALevelBeyondTheHighestReachedMarksItPlayedButOpensNothing) {
  WriteLevel(9);
  MakePlayer(u"Ann", 2);
  // As the level map does with every level open for testing: the level is chosen directly.
  playerProgress()->level[0] = 9;
  Menu::StartLevel();
  ASSERT_NE(Loading(), nullptr);
  EXPECT_EQ(Loading()->Level(), 9);
  EXPECT_EQ(playerProgress()->finished[0][8], 1);
  EXPECT_EQ(playerProgress()->lastFinished[0], 9);
  EXPECT_EQ(playerProgress()->levelMax[0], 2);
  Game::EndLevel();
  Menu::AfterLevel(false);
  playersClear();
  iniFreeAll();
  playersLoad();
  ASSERT_NE(playerProgress(), nullptr);
  EXPECT_EQ(playerProgress()->levelMax[0], 2) << "nor after saving";
  EXPECT_EQ(playerProgress()->finished[0][8], 1);
}

TEST_F(LevelFlow, ALevelWithoutAMapLeadsBackToTheMenusInsteadOfABrokenLevel) {
  MakePlayer(u"Ann", 5);  // the data has no level 5
  Menu::StartLevel();
  ASSERT_NE(Loading(), nullptr);
  ASSERT_GE(StepUntil([&] { return Loading() == nullptr; }, 200), 0);
  EXPECT_EQ(Game::levelContext(), nullptr);
  EXPECT_EQ(OnScreenView(), nullptr);
  EXPECT_EQ(wndRoot()->ChildCount(), 1) << "a menu screen";
}

TEST_F(LevelFlow, AWonLevelsResultIsKeptInTheProfileAndTheNextLevelOpens) {
  Switches("Game_Chit=1\n");
  // Level 2: no opening scene holds its clock.
  WriteLevel(2);
  WriteLevel(3);
  MakePlayer(u"Анна", 2);
  Menu::StartLevel();
  ASSERT_GE(StepUntil([&] { return OnScreenView() != nullptr; }, 300), 0);
  Game::cGameView* view = OnScreenView();
  wndOfferKeyDown(VK_LBUTTON_, testkit::Pack(10, 10));  // the clock starts
  // Points earned in play (the run's score table is left as it is).
  Game::levelContext()->model->levelScore().AddPoints(300);
  Steps(80);  // two seconds of play
  Type("levelu");
  ASSERT_GE(StepUntil([&] { return view->resultShown(); }, 1000), 0);
  const Game::LevelResult& r = Game::levelContext()->model->result();
  ASSERT_TRUE(r.won);
  EXPECT_EQ(r.stars, 3) << "two seconds is well below the gold time";
  ASSERT_GT(r.totalScore, 0);
  auto check = [&](const PlayerProgress& p, const char* when) {
    EXPECT_EQ(p.lp[0][1], 3) << when;
    EXPECT_EQ(p.sl[0][1], r.totalScore) << when;
    EXPECT_EQ(p.t[0][1], 2) << when;
    EXPECT_EQ(p.won[0][1], 1) << when;
    EXPECT_EQ(p.finished[0][1], 1) << when;
    EXPECT_EQ(p.level[0], 3) << when << ": the next level is current";
    EXPECT_EQ(p.levelMax[0], 3) << when << ": and open";
    EXPECT_EQ(progressTotalScore(p), r.totalScore) << when;
  };
  ASSERT_NE(playerProgress(), nullptr);
  check(*playerProgress(), "in memory");
  EXPECT_EQ(r.playerScore, r.totalScore) << "the player's total is read back";
  // Saved at once: a fresh start reads it back.
  playersClear();
  iniFreeAll();
  playersLoad();
  ASSERT_NE(playerProgress(), nullptr);
  EXPECT_EQ(playerProgress()->name, "Анна");
  check(*playerProgress(), "after reloading");
  const int best = r.totalScore;
  // A slower replay (two stars) keeps the best of both.
  Game::EndLevel();
  progressSetLevel(*playerProgress(), 2, false);
  Menu::StartLevel();
  ASSERT_GE(StepUntil([&] { return OnScreenView() != nullptr; }, 300), 0);
  view = OnScreenView();
  wndOfferKeyDown(VK_LBUTTON_, testkit::Pack(10, 10));
  Game::levelContext()->model->levelScore().AddPoints(100);
  Steps(30000 / 25);
  Type("levelu");
  ASSERT_GE(StepUntil([&] { return view->resultShown(); }, 1000), 0);
  const Game::LevelResult& again = Game::levelContext()->model->result();
  ASSERT_TRUE(again.won);
  EXPECT_EQ(again.stars, 2);
  ASSERT_LT(again.totalScore, best);
  EXPECT_EQ(playerProgress()->lp[0][1], 3);
  EXPECT_EQ(playerProgress()->sl[0][1], best);
  EXPECT_EQ(playerProgress()->t[0][1], 2);
  EXPECT_EQ(playerProgress()->levelMax[0], 3);
}

TEST_F(LevelFlow, TheLastLevelOfTheDataOpensNothingAndALostLevelWritesNoResult) {
  Switches("Game_Chit=1\n");
  WriteLevel(2);
  MakePlayer(u"Bob", 2);
  // Lost: no stars, no score, no new level.
  Menu::StartLevel();
  ASSERT_GE(StepUntil([&] { return OnScreenView() != nullptr; }, 300), 0);
  Type("loose");
  ASSERT_GE(StepUntil([&] { return OnScreenView() && OnScreenView()->resultShown(); }, 1000), 0);
  EXPECT_FALSE(Game::levelContext()->model->result().won);
  EXPECT_EQ(playerProgress()->lp[0][1], 0);
  EXPECT_EQ(playerProgress()->sl[0][1], 0);
  EXPECT_EQ(playerProgress()->won[0][1], 0);
  EXPECT_EQ(playerProgress()->levelMax[0], 2);
  Game::EndLevel();
  Menu::AfterLevel(false);
  // Won: the result is kept, but with no level 3 in the data the campaign stays at level 2.
  Menu::StartLevel();
  ASSERT_GE(StepUntil([&] { return OnScreenView() != nullptr; }, 300), 0);
  Game::cGameView* view = OnScreenView();
  Game::levelContext()->model->levelScore().AddPoints(50);
  Type("levelu");
  ASSERT_GE(StepUntil([&] { return view->resultShown(); }, 1000), 0);
  playersClear();
  iniFreeAll();
  playersLoad();
  ASSERT_NE(playerProgress(), nullptr);
  EXPECT_EQ(playerProgress()->won[0][1], 1);
  EXPECT_GT(playerProgress()->sl[0][1], 0);
  EXPECT_EQ(playerProgress()->level[0], 2);
  EXPECT_EQ(playerProgress()->levelMax[0], 2);
}
