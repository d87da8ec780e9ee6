// A level run headless from its files: the staged loading (N + 11 stages), the phases on the win
// and the loss paths, the level clock (a win in its last second, "NoTime", "Game_No_Time", clocks
// stopped by windows), the game minute, the stock rules, level names and game modes, and balance
// values that would make a level unplayable.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "anim/fx_manager.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/fog.h"
#include "game/core/map.h"
#include "support/test_files.h"
#include "game/core/game_main.h"
#include "game/core/level_balance.h"
#include "game_test_util.h"
#include "support/game_harness.h"

using Game::Event;
using Game::Phase;
using testkit::GameHarness;

namespace {
struct GameModel : ::testing::Test {
  void SetUp() override {
    iniFreeAll();
    gametest::clearGerr();
    testSettingsLoad("none.ini");
  }
  void TearDown() override {
    Game::EndLevel();
    testSettingsLoad("none.ini");
    iniFreeAll();
  }
};

// Level time 10 s, gold under 2 s, silver under 5 s, a game minute of 1 s; Food at most 30.
std::string balance(int levelTime = 10000, int minute = 1000, int workers = 0) {
  return "[Main]\ntLevelTime=" + std::to_string(levelTime) + "\ntGoldTime=2000\ntSilverTime=5000\nMinuteTime=" +
         std::to_string(minute) + "\n[Resources]\nWorker=" + std::to_string(workers) + "\nFood=10\nOre=0\nGold=0\n[ResourcesMax]\nFood=30\nOre=30\nGold=30\n"
         "[ResourceHarvest]\nFood=5\nOre=3\nGold=2\n";
}

const char* kTwoObjects =
    "[Stone]\ntype=decoration\nsubType=stone\nx=300\ny=300\n"
    "[Tree]\ntype=decoration\nsubType=tree\nx=500\ny=200\n";

bool writeLevel(int n, const std::string& bal, const std::string& test = "", const std::string& map = kTwoObjects) {
  testkit::LevelFiles f;
  f.balance = bal;
  f.map = map;
  f.test = test;
  std::string error;
  bool ok = testkit::WriteTestLevel(n, f, &error);
  EXPECT_TRUE(ok) << error;
  return ok;
}

// Loaded, a worker present and the clock started: the level is Running.
void startRunning(GameHarness& h, int n, int mode = Game::kModeNormal) {
  ASSERT_TRUE(h.Load(n, mode));
  h.workers().RequestWorker(false);
  h.Advance(1);
  h.Action(1);
  ASSERT_EQ(h.phase(), Phase::Running);
}
}  // namespace

TEST_F(GameModel, ALevelOfNObjectsLoadsInNPlusElevenStages) {
  ASSERT_TRUE(writeLevel(101, balance()));
  ASSERT_TRUE(Game::PrepareLevel(101));
  EXPECT_EQ(Game::LoadLevelStageCount(), 2 + 11);
  for (int i = 0; i < 13; ++i) ASSERT_TRUE(Game::LoadLevelStage(101, i)) << "stage " << i;
  EXPECT_FALSE(Game::LoadLevelStage(101, 13));
  Game::LevelContext* c = Game::levelContext();
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->map->Count(), 3u);  // the two objects and the level's fog
  ASSERT_NE(Map::levelFog(), nullptr);
  EXPECT_NE(c->map->FindById(Map::levelFog()->id), nullptr);
  EXPECT_EQ(c->model->phase(), Phase::Waiting);  // no worker yet
  EXPECT_EQ(c->model->levelTimer().total, 10000);
  EXPECT_FALSE(c->model->levelTimer().running);
  Game::EndLevel();
  EXPECT_EQ(Game::levelContext(), nullptr);
  EXPECT_EQ(Game::eventDispatcher(), nullptr);

  // An empty map still has its eleven stages.
  ASSERT_TRUE(writeLevel(102, balance(), "", ""));
  GameHarness h;
  ASSERT_TRUE(h.Load(102));
  EXPECT_EQ(h.Stages(), 11);
}

TEST_F(GameModel, PhasesOfAWonLevel) {
  ASSERT_TRUE(writeLevel(103, balance()));
  GameHarness h;
  ASSERT_TRUE(h.Load(103));
  EXPECT_EQ(h.phase(), Phase::Waiting);
  EXPECT_EQ(h.CountOf(Event::LevelStarted), 1);
  h.Action(1);  // no worker to release: the clock does not start
  EXPECT_EQ(h.phase(), Phase::Waiting);
  EXPECT_EQ(h.CountOf(Event::LevelClockStarted), 0);

  h.workers().RequestWorker(false);
  h.Advance(1);
  EXPECT_EQ(h.phase(), Phase::Ready);
  EXPECT_EQ(h.CountOf(Event::FirstWorkerAvailable), 1);
  h.Advance(40);
  EXPECT_EQ(h.model().levelTimer().remaining, 10000);  // the clock waits for the player

  h.Action(1);
  EXPECT_EQ(h.phase(), Phase::Running);
  EXPECT_EQ(h.CountOf(Event::LevelClockStarted), 1);
  EXPECT_EQ(h.Advance(40), 0);  // one second
  EXPECT_EQ(h.model().levelTimer().remaining, 9000);

  h.Action(7);
  EXPECT_EQ(h.phase(), Phase::GoalsMet);
  EXPECT_EQ(h.CountOf(Event::AllGoalsCompleted), 1);
  EXPECT_EQ(h.CountOf(Event::GamePlayFinished), 1);
  EXPECT_TRUE(Game::levelContext()->allGoals->active());
  int ran = 0;
  EXPECT_EQ(h.AdvanceUntilResult(1000, &ran), 1);
  EXPECT_EQ(ran, 200);  // the all-goals controller's 5000 ms
  EXPECT_EQ(h.phase(), Phase::Finishing);
  EXPECT_TRUE(h.model().won());
  EXPECT_EQ(h.model().timeUsed(), 1000);
  EXPECT_EQ(h.model().stars(), 3);
  EXPECT_EQ(h.model().scoreBonusSeconds(), 9);  // the whole seconds left on the clock
  EXPECT_EQ(h.CountOf(Event::LevelResultComputed), 1);
  EXPECT_EQ(h.AdvanceUntilResult(1000, &ran), 2);
  EXPECT_EQ(ran, 200);
}

TEST_F(GameModel, PhasesOfALostLevelAndNoSecondResult) {
  ASSERT_TRUE(writeLevel(104, balance(1000)));
  GameHarness h;
  startRunning(h, 104);
  EXPECT_EQ(h.Advance(39), 0);
  EXPECT_EQ(h.phase(), Phase::Running);
  h.Advance(1);  // the level's 1000 ms are over
  EXPECT_EQ(h.phase(), Phase::Finishing);
  EXPECT_FALSE(h.model().won());
  EXPECT_EQ(h.model().stars(), 0);
  EXPECT_EQ(h.CountOf(Event::GameOver), 1);
  EXPECT_EQ(h.CountOf(Event::LevelResultComputed), 1);

  // The debug words during Finishing change nothing.
  h.Action(10);
  h.Action(7);
  EXPECT_EQ(h.CountOf(Event::GameOver), 1);
  EXPECT_EQ(h.CountOf(Event::AllGoalsCompleted), 0);
  EXPECT_EQ(h.CountOf(Event::LevelResultComputed), 1);
  int ran = 0;
  EXPECT_EQ(h.AdvanceUntilResult(1000, &ran), 2);
  EXPECT_EQ(ran, 6000 / 25);
  EXPECT_FALSE(h.model().won());

  // Losing by the debug word from Running.
  GameHarness h2;
  startRunning(h2, 104);
  h2.Action(10);
  EXPECT_EQ(h2.phase(), Phase::Finishing);
  EXPECT_EQ(h2.CountOf(Event::GameOver), 1);
}

TEST_F(GameModel, AWinInTheLastSecondStaysAWin) {
  ASSERT_TRUE(writeLevel(105, balance()));
  GameHarness h;
  startRunning(h, 105);
  h.Advance(399);  // 9975 of 10000 ms
  ASSERT_EQ(h.phase(), Phase::Running);
  h.Action(7);
  EXPECT_FALSE(h.model().levelTimer().running);
  // The finish delay is longer than the time left: the level must not be lost meanwhile.
  int ran = 0;
  EXPECT_EQ(h.AdvanceUntilResult(1000, &ran), 1);
  EXPECT_EQ(h.CountOf(Event::GameOver), 0);
  EXPECT_TRUE(h.model().won());
  EXPECT_EQ(h.model().timeUsed(), 9975);
  EXPECT_EQ(h.model().stars(), 1);
}

TEST_F(GameModel, NoTimeModeAndTheNoTimeSwitch) {
  ASSERT_TRUE(writeLevel(106, balance(1000)));
  {
    GameHarness h;
    startRunning(h, 106, Game::gameModeFind("notime"));
    EXPECT_FALSE(h.model().levelTimer().running);
    h.Advance(400);  // ten times the level time
    EXPECT_EQ(h.phase(), Phase::Running);
    h.Action(7);
    EXPECT_EQ(h.AdvanceUntilResult(1000), 1);
    EXPECT_EQ(h.model().stars(), 3);
  }
  // The level folder's own test.ini turns "Game_No_Time" on: the clock runs out, the level goes on.
  ASSERT_TRUE(writeLevel(107, balance(1000), "[main]\nGame_No_Time=1\n"));
  GameHarness h;
  startRunning(h, 107);
  EXPECT_EQ(testSetting(TestSwitch::Game_No_Time), 1);
  h.Advance(80);
  EXPECT_EQ(h.model().levelTimer().remaining, 0);
  EXPECT_EQ(h.phase(), Phase::Running);
  EXPECT_EQ(h.CountOf(Event::GameOver), 0);
  h.Action(7);
  EXPECT_EQ(h.AdvanceUntilResult(1000), 1);
  // The clock stopped at its end: the time used is the whole level time, under the gold time here.
  EXPECT_EQ(h.model().timeUsed(), 1000);
  EXPECT_TRUE(h.model().won());
}

TEST_F(GameModel, GameMinutesAndClocksStoppedByWindows) {
  ASSERT_TRUE(writeLevel(108, balance(10000, 1000)));
  GameHarness h;
  startRunning(h, 108);
  h.Advance(80);
  EXPECT_EQ(h.CountOf(Event::GameMinutePassed), 2);
  EXPECT_EQ(h.model().levelTimer().remaining, 8000);

  GameEvent e;
  MakeEvent(e, Event::WindowOpenedOverLevel);
  Post(Game::levelContext()->dispatcher.get(), e);
  h.Advance(80);
  EXPECT_EQ(h.CountOf(Event::GameMinutePassed), 2);
  EXPECT_EQ(h.model().levelTimer().remaining, 8000);
  MakeEvent(e, Event::WindowClosedOverLevel);
  Post(Game::levelContext()->dispatcher.get(), e);
  MakeEvent(e, Event::TimeBarFreezes);  // only the level clock stops
  Post(Game::levelContext()->dispatcher.get(), e);
  h.Advance(40);
  EXPECT_EQ(h.CountOf(Event::GameMinutePassed), 3);
  EXPECT_EQ(h.model().levelTimer().remaining, 8000);
  MakeEvent(e, Event::TimeBarThaws);
  Post(Game::levelContext()->dispatcher.get(), e);
  h.Advance(20);
  EXPECT_EQ(h.model().levelTimer().remaining, 7500);
}

TEST_F(GameModel, StockRules) {
  ASSERT_TRUE(writeLevel(109, balance(10000, 1000), "", kTwoObjects));
  {
    // Food harvest 0 disables Food; the starting Food is given.
    ASSERT_TRUE(writeLevel(110, "[Main]\ntLevelTime=1000\nMinuteTime=1000\n[Resources]\nFood=12\n"
                                "[ResourceHarvest]\nOre=1\nGold=1\n"));
    GameHarness h;
    ASSERT_TRUE(h.Load(110));
    EXPECT_FALSE(h.stock().Enabled(Game::kFood));
    EXPECT_TRUE(h.stock().Enabled(Game::kOre));
    EXPECT_EQ(h.stock().Amount(Game::kFood), 12);
  }
  GameHarness h;
  ASSERT_TRUE(h.Load(109));
  Game::PlayerStock& s = h.stock();
  EXPECT_EQ(s.Amount(Game::kFood), 10);
  h.ClearEvents();

  s.AddResource(Game::kFood, 40, true, 7, 9);
  EXPECT_EQ(s.Amount(Game::kFood), 30);
  ASSERT_EQ(h.CountOf(Event::ResourceAtMaximum), 1);
  EXPECT_EQ(h.Last(Event::ResourceAtMaximum)->index, Game::kFood);
  EXPECT_EQ(h.CountOf(Event::AllResourcesAtMaximum), 0);
  const GameEvent* added = h.Last(Event::ResourceAdded);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->amount, 40);
  EXPECT_EQ(added->value, 1);
  EXPECT_EQ(added->x, 7);
  EXPECT_TRUE(h.model().resourceTouched(Game::kFood));

  s.AddResource(Game::kOre, 30, false);
  h.ClearEvents();
  s.AddResource(Game::kGold, 31, false);
  EXPECT_EQ(h.CountOf(Event::ResourceAtMaximum), 3);
  EXPECT_EQ(h.CountOf(Event::AllResourcesAtMaximum), 1);

  // Spending more than the stock holds is refused and changes nothing.
  h.ClearEvents();
  s.AddResource(Game::kWorker, 1, false);
  EXPECT_FALSE(s.SpendResource(Game::kWorker, 2));
  EXPECT_EQ(s.Amount(Game::kWorker), 1);
  EXPECT_EQ(h.CountOf(Event::ResourceSpent), 0);
  EXPECT_TRUE(s.SpendResource(Game::kFood, 30));
  EXPECT_EQ(s.Amount(Game::kFood), 0);
  EXPECT_EQ(h.CountOf(Event::ResourceSpent), 1);
  EXPECT_FALSE(s.SpendResource(Game::kFood, 1));

  s.AddGathered(Game::kOre, 3);
  s.AddGathered(Game::kOre, 4);
  EXPECT_EQ(s.Gathered(Game::kOre), 7);
  EXPECT_EQ(h.CountOf(Event::GatheredTotalChanged), 2);
}

TEST_F(GameModel, ManyResourcesSwitch) {
  ASSERT_TRUE(writeLevel(111, balance(), "[main]\nGame_Many_Resources=1\n"));
  GameHarness h;
  ASSERT_TRUE(h.Load(111));
  EXPECT_EQ(h.stock().Amount(Game::kGold), 30);  // 500 capped at the maximum
  EXPECT_TRUE(h.stock().SpendResource(Game::kGold, 30));
  EXPECT_EQ(h.stock().Amount(Game::kGold), 30);
}

TEST_F(GameModel, LevelNamesModesAndStories) {
  EXPECT_TRUE(Game::levelIsBonus(16));
  EXPECT_STREQ(Game::levelNameKey(16), "#BONUS_LEVEL");
  EXPECT_STREQ(Game::levelNameKey(17), "#LEVEL");
  EXPECT_EQ(Game::levelDisplayNumber(17), 16);
  EXPECT_EQ(Game::levelDisplayNumber(15), 15);
  EXPECT_EQ(Game::levelDisplayNumber(33), 31);
  EXPECT_EQ(Game::gameModeFind("MULTICLICK"), 1);
  EXPECT_EQ(Game::gameModeFind("Normal"), 0);
  EXPECT_EQ(Game::gameModeFind("Normall"), 3);
  EXPECT_EQ(Game::gameModeTextKey(2), "#GAMEMODE_NoTime");
  EXPECT_TRUE(Game::levelHasStory(47));
  EXPECT_FALSE(Game::levelHasStory(4));
}

TEST_F(GameModel, UnplayableBalanceValuesAreRefused) {
  ASSERT_TRUE(writeLevel(112, "[Main]\ntLevelTime=0\nMinuteTime=0\n[ResourceHarvest]\nFood=1\n"));
  GameHarness h;
  ASSERT_TRUE(h.Load(112));
  std::string log = testkit::ReadErrorLog();
  EXPECT_NE(log.find("dataTest/maps/112/balance.ini: [Main] \"tLevelTime\""), std::string::npos) << log;
  EXPECT_NE(log.find("dataTest/maps/112/balance.ini: [Main] \"MinuteTime\""), std::string::npos) << log;
  EXPECT_EQ(h.model().levelTimer().total, Game::kDefaultLevelTimeMs);
  h.workers().RequestWorker(false);
  h.Advance(1);
  h.Action(1);
  h.Advance(4);
  EXPECT_EQ(h.phase(), Phase::Running);
  EXPECT_EQ(h.CountOf(Event::GameMinutePassed), 0);

  gametest::writeFile("speed.ini", "[Worker]\nvel=0\n");
  EXPECT_FLOAT_EQ(Game::levelCheckedWorkerSpeed("speed.ini"), Game::kDefaultWorkerSpeed);
  EXPECT_NE(testkit::ReadErrorLog().find("speed.ini: [Worker] \"vel\""), std::string::npos);
  gametest::writeFile("speed2.ini", "[Worker]\nvel=0.25\n");
  EXPECT_FLOAT_EQ(Game::levelCheckedWorkerSpeed("speed2.ini"), 0.25f);
}

// The end of a level: a won level starts the fireworks when its result is handed over, a lost one
// brings the flying witch onto the map and no fireworks.
TEST_F(GameModel, FireworksAfterAWinAndTheWitchAfterALoss) {
  ASSERT_TRUE(testkit::writeFile("data/fx/finale.ini",
                                 "[fireWorks]\nboundX=400\nboundY=300\nrocketsCount=2\niterationsCount=1\ndelay=0.5\n"));
  ASSERT_TRUE(testkit::writeFile("data/flyingwitch/flyingwitch.ini",
                                 "[FlyingWitch]\ntype=decoration\nsubType=witch\nx=900\ny=100\n"));
  FxManager::cFireWorks& fw = FxManager::fxManager().FireWorks();
  fw.Stop(true);
  fw.Load("data/fx/finale.ini", "fireWorks");
  ASSERT_EQ(fw.RocketCount(), 2);

  ASSERT_TRUE(writeLevel(120, balance()));
  {
    GameHarness h;
    startRunning(h, 120);
    h.Action(7);
    EXPECT_EQ(h.AdvanceUntilResult(1000), 1);
    EXPECT_FALSE(fw.IsRunning());  // not during the finish delay
    EXPECT_EQ(h.AdvanceUntilResult(1000), 2);
    EXPECT_TRUE(fw.IsRunning());
    EXPECT_EQ(h.map().FindByType("decoration", "witch"), nullptr);
    Game::EndLevel();
  }
  fw.Stop(true);
  EXPECT_FALSE(fw.IsRunning());
  {
    GameHarness h;
    startRunning(h, 120);
    size_t before = h.map().Count();
    h.Action(10);
    Map::cObject* witch = h.map().FindByType("decoration", "witch");
    ASSERT_NE(witch, nullptr);
    EXPECT_EQ(h.map().Count(), before + 1);
    EXPECT_EQ(witch->AnchorI(), (Map::IntPoint{900, 100}));
    EXPECT_EQ(h.AdvanceUntilResult(1000), 2);
    EXPECT_FALSE(fw.IsRunning());
  }
  std::remove("data/flyingwitch/flyingwitch.ini");
  std::remove("data/fx/finale.ini");
}

// Event 106 names the missing kind; the model makes that kind's hut pulse so the player sees what
// to build. Other kinds point at nothing.
TEST_F(GameModel, AMissingPersonKindPointsAtItsHut) {
  ASSERT_TRUE(writeLevel(121, balance(), "",
                         std::string(kTwoObjects) + "[Hut]\ntype=building\nsubType=WarriorHut\nx=600\ny=500\n"));
  GameHarness h;
  startRunning(h, 121);
  Map::cObject* hut = h.map().FindByType("building", "WarriorHut");
  ASSERT_NE(hut, nullptr);
  GameEvent e;
  MakeEvent(e, Event::NoPersonOfKind);
  e.value = int32_t(NameHash("Exorcist"));
  Post(Game::eventDispatcher(), e);
  EXPECT_EQ(h.model().hintTarget(), -1);
  EXPECT_FALSE(hut->Has(Map::kFlagTintPulse));
  MakeEvent(e, Event::NoPersonOfKind);
  e.value = int32_t(NameHash("Warrior"));
  Post(Game::eventDispatcher(), e);
  EXPECT_EQ(h.model().hintTarget(), hut->id);
  EXPECT_TRUE(hut->Has(Map::kFlagTintPulse));
}
