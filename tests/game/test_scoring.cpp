// The score of a level: the table of score values, points for the level's events, the score's
// cap and thresholds, the phases of the clock against the gold and silver times, the result
// (stars, time, resource and total scores) worked out by hand, and the statistics file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/rules/level_statistics.h"
#include "game/rules/level_score.h"
#include "game/rules/score_table.h"
#include "game/rules/time_phases.h"
#include "game_test_util.h"
#include "support/game_harness.h"

using Game::Event;
using Game::Phase;
using testkit::GameHarness;

namespace {
struct Scoring : gametest::CleanSlate {
  void SetUp() override {
    gametest::CleanSlate::SetUp();
    gametest::writeFile("data/scores.ini", kScores);
  }
  void TearDown() override {
    Game::EndLevel();
    std::remove("data/scores.ini");
    gametest::CleanSlate::TearDown();
  }
  static constexpr const char* kScores =
      "[Main]\ncollected_resource=5\nremoved_resource_obstacles=7\nbuilding_repaired=100\nmine_built=150\n"
      "building_upgraded=120\nroadcrack_repaired=30\nbridge_repaired=40\nstoneL_removed=11\nstatue_repaired=60\n"
      "wolf_driven_away=25\nwhite_wolf_feeded=45\ncave_searched=9\nresource_at_the_end=3\n"
      "three_stars_bonus=1000\ntwo_stars_bonus=500\none_star_bonus=200\none_second_bonus=10\n";
};

// Records every event of a dispatcher.
struct Recorder : Game::cObserver {
  std::vector<GameEvent> seen;
  explicit Recorder(Game::cEventDispatcher& d) {
    for (int c = 0; c < kEventCodeCount; ++c) Register(c, &d, this);
  }
  void OnEvent(GameEvent& e) override { seen.push_back(e); }
  int CountOf(Event code) const {
    int n = 0;
    for (auto& e : seen) n += e.code == Game::Code(code);
    return n;
  }
};

GameEvent about(Event code, const char* type, const char* subtype, int silent = 0) {
  GameEvent e;
  MakeEvent(e, code);
  e.typeHash = int32_t(NameHash(type));
  e.subtypeHash = int32_t(NameHash(subtype));
  e.value = silent;
  return e;
}

// Level time 10 s, gold under 2 s, silver under 5 s; 10 Food, 5 Ore, 2 Gold and a worker.
std::string balance(int levelTime = 10000, int gold = 2000, int silver = 5000) {
  return "[Main]\ntLevelTime=" + std::to_string(levelTime) + "\ntGoldTime=" + std::to_string(gold) +
         "\ntSilverTime=" + std::to_string(silver) +
         "\nMinuteTime=60000\n[Resources]\nWorker=0\nFood=10\nOre=5\nGold=2\n"
         "[ResourceHarvest]\nFood=1\nOre=1\nGold=1\n";
}

bool startLevel(GameHarness& h, int n, const std::string& bal, const std::string& test = "") {
  testkit::LevelFiles f;
  f.balance = bal;
  f.test = test;
  std::string error;
  EXPECT_TRUE(testkit::WriteTestLevel(n, f, &error)) << error;
  if (!h.Load(n)) return false;
  h.workers().RequestWorker(false);
  h.Advance(1);
  h.Action(1);
  EXPECT_EQ(h.phase(), Phase::Running);
  return true;
}
}  // namespace

TEST_F(Scoring, TheTableHasItsThirtyNineKeysInOrderAndMissingKeysAreWorthNothing) {
  const Game::ScoreTable& t = Game::scoreTableRead("data/scores.ini");
  EXPECT_EQ(t[Game::kScoreCollectedResource], 5);
  EXPECT_EQ(t[Game::kScoreBuildingRepaired], 100);
  EXPECT_EQ(t[Game::kScoreResourceAtTheEnd], 3);
  EXPECT_EQ(t[Game::kScoreOneSecondBonus], 10);
  EXPECT_EQ(t[Game::kScoreYetiDrivenAway], 0);  // not in the file
  EXPECT_EQ(t[39], 0);
  EXPECT_EQ(t[-1], 0);
  EXPECT_STREQ(Game::kScoreKeyNames[22], "resource_at_the_end");
  EXPECT_STREQ(Game::kScoreKeyNames[26], "one_second_bonus");
  EXPECT_STREQ(Game::kScoreKeyNames[38], "statue_repaired");
}

TEST_F(Scoring, EventsEarnTheirPointsTypeBeforeSubtypeAndSilentNewsEarnsNothing) {
  Game::cEventDispatcher d;
  Game::cLevelScore s(&d);
  s.Begin(Game::scoreTableRead("data/scores.ini"));
  // 100: a building, even one whose subtype would be worth 40 as a bridge.
  s.OnEvent(about(Event::OperationFinished, "building", "bridge"));
  EXPECT_EQ(s.score(), 100);
  // + 40 bridge + 30 roadcrack + 60 statue3 + 11 stoneL = 241.
  s.OnEvent(about(Event::OperationFinished, "brokenPath", "bridge"));
  s.OnEvent(about(Event::OperationFinished, "brokenPath", "roadcrack"));
  s.OnEvent(about(Event::OperationFinished, "obstacle", "statue3"));
  s.OnEvent(about(Event::OperationFinished, "obstacle", "stoneL"));
  EXPECT_EQ(s.score(), 241);
  // Nothing for an unknown subtype (statue6 is not a statue of the table), silent news, or
  // a stone of the table's other sizes that the file left at 0.
  s.OnEvent(about(Event::OperationFinished, "obstacle", "statue6"));
  s.OnEvent(about(Event::OperationFinished, "building", "", 1));
  s.OnEvent(about(Event::BuildingLevelReached, "building", "", 1));
  s.OnEvent(about(Event::BuildingWorkFinished, "building", "", 1));
  s.OnEvent(about(Event::OperationFinished, "obstacle", "stoneXL"));
  EXPECT_EQ(s.score(), 241);
  // + 120 upgraded + 150 built = 511.
  s.OnEvent(about(Event::BuildingLevelReached, "building", ""));
  s.OnEvent(about(Event::BuildingWorkFinished, "building", ""));
  EXPECT_EQ(s.score(), 511);
  // Pick-ups: 7 from an obstacle, 5 from anything else = 523. Creatures: 25 wolf, 45 white wolf,
  // 0 for a creature not in the table = 593. Two caves: + 18 = 611.
  s.OnEvent(about(Event::ResourcesPickedUp, "bonus", "obstacle"));
  s.OnEvent(about(Event::ResourcesPickedUp, "bonus", "Food"));
  s.OnEvent(about(Event::CreatureObstacleEvent, "obstacle", "wolf", 1));
  s.OnEvent(about(Event::CreatureObstacleEvent, "obstacle", "WhiteWolf", 1));
  s.OnEvent(about(Event::CreatureObstacleEvent, "obstacle", "dragon", 1));
  s.OnEvent(about(Event::CaveHeldKey, "", ""));
  s.OnEvent(about(Event::CaveWasEmpty, "", ""));
  EXPECT_EQ(s.score(), 611);

  // Collected amounts: only what the player brought in (value 1).
  GameEvent added;
  MakeEvent(added, Event::ResourceAdded);
  added.index = Game::kOre;
  added.amount = 4;
  added.value = 1;
  s.OnEvent(added);
  s.OnEvent(added);
  added.value = 0;
  s.OnEvent(added);
  EXPECT_EQ(s.collected(Game::kOre), 8);
  EXPECT_EQ(s.collected(Game::kFood), 0);
  EXPECT_EQ(s.score(), 611);
}

TEST_F(Scoring, TheScoreStopsAt999999AndTellsWhichThresholdItStandsAt) {
  Game::cEventDispatcher d;
  Recorder r(d);
  Game::cLevelScore s(&d);
  s.Begin(Game::scoreTableRead("data/scores.ini"));
  s.AddPoints(2999);
  EXPECT_TRUE(r.seen.empty());
  s.AddPoints(1);
  EXPECT_EQ(r.CountOf(Event::Score3000Passed), 1);
  s.AddPoints(1999);  // 4999
  EXPECT_EQ(r.CountOf(Event::Score3000Passed), 2);
  s.AddPoints(1);
  EXPECT_EQ(r.CountOf(Event::Score5000Passed), 1);
  s.AddPoints(5000);
  EXPECT_EQ(r.CountOf(Event::Score10000Passed), 1);
  EXPECT_EQ(r.CountOf(Event::Score5000Passed), 1);
  s.AddPoints(999995 - 10000);
  EXPECT_EQ(s.score(), 999995);
  s.AddPoints(10);
  EXPECT_EQ(s.score(), 999999);
  s.Begin(Game::scoreTableRead("data/scores.ini"));  // a restart
  EXPECT_EQ(s.score(), 0);
}

TEST_F(Scoring, TheResultWorkedOutByHandAtTheEdgesOfTheGoldSilverAndLevelTimes) {
  const Game::ScoreTable& v = Game::scoreTableRead("data/scores.ini");
  const Game::LevelTimes t{300000, 120000, 200000};
  const int32_t stock[4] = {4, 10, 5, 1};  // 16 goods: 16 x 3 = 48; the 4 workers earn nothing
  auto result = [&](int32_t used, bool won = true) {
    return Game::scoreComputeResult(won, false, t, t.levelTime - used, stock, 700, v);
  };
  // 150000 ms used: two stars and the two-star bonus.
  Game::LevelResult r = result(150000);
  EXPECT_EQ(r.stars, 2);
  EXPECT_EQ(r.timeScore, 500);
  EXPECT_EQ(r.timeUsed, 150000);
  EXPECT_EQ(r.resourcesScore, 48);
  EXPECT_EQ(r.levelScore, 700);
  EXPECT_EQ(r.stockLeft[1], 10);
  Game::scoreFinishResult(r);
  EXPECT_EQ(r.totalScore, 700 + 500 + 48);
  // 1 ms under the gold time: 180001 ms left, 180 whole seconds: 1000 + 180 x 10 = 2800.
  r = result(119999);
  EXPECT_EQ(r.stars, 3);
  EXPECT_EQ(r.bonusSeconds, 180);
  EXPECT_EQ(r.timeScore, 2800);
  // Exactly the gold time is two stars; exactly the silver time one; the level time none.
  EXPECT_EQ(result(120000).stars, 2);
  EXPECT_EQ(result(199999).stars, 2);
  EXPECT_EQ(result(200000).stars, 1);
  EXPECT_EQ(result(200000).timeScore, 200);
  EXPECT_EQ(result(299999).stars, 1);
  EXPECT_EQ(result(300000).stars, 0);
  EXPECT_EQ(result(300000).timeScore, 0);
  // Lost: no stars and no time score, but the level's and the resources' scores stand.
  r = result(100000, false);
  EXPECT_EQ(r.stars, 0);
  EXPECT_EQ(r.timeScore, 0);
  EXPECT_EQ(r.levelScore, 700);
  EXPECT_EQ(r.resourcesScore, 48);
  // Worked out twice, the resource score is the same, not doubled.
  EXPECT_EQ(result(150000).resourcesScore, result(150000).resourcesScore);
  // Without a clock a win is three stars and no time score.
  r = Game::scoreComputeResult(true, true, t, t.levelTime, stock, 0, v);
  EXPECT_EQ(r.stars, 3);
  EXPECT_EQ(r.timeScore, 0);
}

TEST_F(Scoring, TheClockPassesThroughItsPhasesAndAJumpSilencesThePhaseAfterTheSkippedOne) {
  // L 100 s, G 40 s, S 70 s: gold is lost at 60 s left, silver at 30 s left.
  const Game::LevelTimes t{100000, 40000, 70000};
  EXPECT_EQ(Game::timePhase(t, 70001), 0);
  EXPECT_EQ(Game::timePhase(t, 70000), 1);
  EXPECT_EQ(Game::timePhase(t, 60001), 1);
  EXPECT_EQ(Game::timePhase(t, 60000), 2);
  EXPECT_EQ(Game::timePhase(t, 40001), 2);
  EXPECT_EQ(Game::timePhase(t, 40000), 3);
  EXPECT_EQ(Game::timePhase(t, 30000), 4);
  EXPECT_EQ(Game::timePhase(t, 10001), 4);
  EXPECT_EQ(Game::timePhase(t, 10000), 5);
  EXPECT_EQ(Game::timePhase(t, 0), 5);

  Game::cEventDispatcher d;
  Recorder rec(d);
  Game::cTimePhases p(&d);
  p.Begin(t);
  for (int32_t r : {90000, 70000, 60000, 40000, 30000, 10000, 0}) p.Update(r);
  std::vector<int> codes;
  for (auto& e : rec.seen) codes.push_back(e.code);
  EXPECT_EQ(codes, (std::vector<int>{8, 11, 9, 12, 10}));

  rec.seen.clear();
  p.Begin(t);
  p.Update(50000);  // straight into phase 2: no 11
  p.Update(35000);  // phase 3, from the one before it: 9
  p.Update(5000);   // past 4 into 5: neither 12 nor 10
  codes.clear();
  for (auto& e : rec.seen) codes.push_back(e.code);
  EXPECT_EQ(codes, (std::vector<int>{9}));
}

TEST_F(Scoring, ALevelPlayedThroughTheModelScoresItsEventsAndEarnsStarsAtTheEdges) {
  {
    // Won 25 ms before the gold time: 8025 ms left, 8 whole seconds: 1000 + 8 x 10 = 1080.
    GameHarness h;
    ASSERT_TRUE(startLevel(h, 330, balance()));
    GameEvent e = about(Event::OperationFinished, "building", "");
    Post(Game::levelContext()->dispatcher.get(), e);
    EXPECT_EQ(h.model().levelScore().score(), 100);
    h.Advance(79);
    h.Action(7);
    ASSERT_EQ(h.AdvanceUntilResult(1000), 1);
    const Game::LevelResult& r = h.model().result();
    EXPECT_TRUE(r.won);
    EXPECT_EQ(r.timeUsed, 1975);
    EXPECT_EQ(r.stars, 3);
    EXPECT_EQ(h.model().stars(), 3);
    EXPECT_EQ(h.model().scoreBonusSeconds(), 8);
    EXPECT_EQ(r.timeScore, 1080);
    EXPECT_EQ(r.levelScore, 100);
    EXPECT_EQ(r.resourcesScore, (10 + 5 + 2) * 3);
  }
  {
    // Exactly at the gold time: two stars.
    GameHarness h;
    ASSERT_TRUE(startLevel(h, 331, balance()));
    h.Advance(80);
    h.Action(7);
    ASSERT_EQ(h.AdvanceUntilResult(1000), 1);
    EXPECT_EQ(h.model().result().stars, 2);
    EXPECT_EQ(h.model().result().timeScore, 500);
  }
  {
    // In the level's last step: one star, the time gone from the bar but not the level.
    GameHarness h;
    ASSERT_TRUE(startLevel(h, 332, balance()));
    h.Advance(399);
    h.Action(7);
    ASSERT_EQ(h.AdvanceUntilResult(1000), 1);
    EXPECT_EQ(h.model().result().stars, 1);
    EXPECT_EQ(h.model().result().timeScore, 200);
  }
  {
    // Out of time: lost, no stars, the score earned and the stock still reported.
    GameHarness h;
    ASSERT_TRUE(startLevel(h, 333, balance()));
    GameEvent e = about(Event::OperationFinished, "brokenPath", "roadcrack");
    Post(Game::levelContext()->dispatcher.get(), e);
    h.Advance(400);
    EXPECT_EQ(h.phase(), Phase::Finishing);
    const Game::LevelResult& r = h.model().result();
    EXPECT_FALSE(r.won);
    EXPECT_EQ(r.stars, 0);
    EXPECT_EQ(r.timeScore, 0);
    EXPECT_EQ(r.levelScore, 30);
    EXPECT_EQ(r.resourcesScore, 51);
  }
}

TEST_F(Scoring, TheModelPostsTheClockPhasesAsTheLevelRunsOut) {
  // L 60 s, G 20 s, S 40 s: 8 at 50 s left (after 10000 ms), 11 at 40 s, 9 at 30 s, 12 at 20 s,
  // 10 at 10 s.
  GameHarness h;
  ASSERT_TRUE(startLevel(h, 334, balance(60000, 20000, 40000)));
  h.ClearEvents();
  h.Advance(399);
  EXPECT_EQ(h.CountOf(Event::TimeRunningShort1), 0);
  h.Advance(1);
  EXPECT_EQ(h.CountOf(Event::TimeRunningShort1), 1);
  h.Advance(1600);  // 50 s in
  EXPECT_EQ(h.CountOf(Event::ThirdStarLost), 1);
  EXPECT_EQ(h.CountOf(Event::TimeRunningShort2), 1);
  EXPECT_EQ(h.CountOf(Event::SecondStarLost), 1);
  EXPECT_EQ(h.CountOf(Event::TimeRunningShort3), 1);
  EXPECT_EQ(h.model().timePhases().phase(), 5);
  EXPECT_EQ(h.phase(), Phase::Running);
}

TEST_F(Scoring, AWonLevelWritesItsStarsAndScoreToTheStatisticsFileWithTheSwitch) {
  std::remove("statistics.ini");
  {
    // Without the switch nothing is written.
    GameHarness h;
    ASSERT_TRUE(startLevel(h, 335, balance()));
    h.Action(7);
    Game::cGameView* view = Game::levelContext()->view;
    for (int i = 0; i < 1000 && !view->resultShown(); ++i) view->Update(25);
    ASSERT_TRUE(view->resultShown());
    EXPECT_FALSE(fileExists("statistics.ini"));
  }
  GameHarness h;
  ASSERT_TRUE(startLevel(h, 336, balance(), "[main]\nGame_Write_Statistics=1\n"));
  h.Advance(40);  // one second used: 9 s left, 1000 + 90 time score
  h.Action(7);
  Game::cGameView* view = Game::levelContext()->view;
  for (int i = 0; i < 1000 && !view->resultShown(); ++i) view->Update(25);
  ASSERT_TRUE(view->resultShown());
  const Game::LevelResult& r = h.model().result();
  // 0 for events, 1090 for the time, 17 goods x 3 = 51.
  EXPECT_EQ(r.totalScore, 1141);
  iniFreeAll();
  EXPECT_EQ(iniGetInt("statistics.ini", "Main", "336Stars", -1), 3);
  EXPECT_EQ(iniGetInt("statistics.ini", "Main", "336scores", -1), 1141);

  // A lost level writes nothing; a second won level adds its keys beside the first.
  Game::LevelResult lost;
  EXPECT_FALSE(Game::statisticsWrite("statistics.ini", 7, lost));
  Game::LevelResult won;
  won.won = 1;
  won.stars = 2;
  won.totalScore = 480;
  EXPECT_TRUE(Game::statisticsWrite("statistics.ini", 12, won));
  iniFreeAll();
  EXPECT_EQ(iniGetInt("statistics.ini", "Main", "7Stars", -1), -1);
  EXPECT_EQ(iniGetInt("statistics.ini", "Main", "12Stars", -1), 2);
  EXPECT_EQ(iniGetInt("statistics.ini", "Main", "12scores", -1), 480);
  EXPECT_EQ(iniGetInt("statistics.ini", "Main", "336scores", -1), 1141);
}

// The bundled demo awards points for every deed the scoring counts: a key it lacks would silently
// score nothing.
TEST(DemoScores, TheDemoNamesEveryScoreValueAndEachIsWorthSomething) {
  const char* source = std::getenv("MM_SOURCE_DIR");
  if (!source) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  const std::string file = std::string(source) + "/demo/data/scores.ini";
  for (const char* key : Game::kScoreKeyNames) EXPECT_GT(iniGetInt(file.c_str(), "Main", key, 0), 0) << key;
  EXPECT_GT(iniGetInt(file.c_str(), "Main", "three_stars_bonus", 0), iniGetInt(file.c_str(), "Main", "one_star_bonus", 0));
  iniFreeAll();
}
