// The demo levels played from start to end through the whole game, headless: clicks at the
// objects' screen points go through the shell, the window tree, the view and the model, on the
// manual clock. A player who does what each level asks wins it with three stars well inside the
// gold time, the statistics are written and the result comes on screen; a player who starts the
// clock and does nothing loses level 1 when its four minutes are up; and a recorded game replays
// from its journal to the same log, line for line.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>
#include <string>

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game/core/game_model.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/core/map.h"
#include "game/core/player_stock.h"
#include "game/interface/interface.h"
#include "game/interface/lose_screen.h"
#include "game/interface/statistics_screen.h"
#include "game/rules/score_table.h"
#include "game/rules/task_container.h"
#include "platform/platform.h"
#include "support/demo_copy.h"
#include "support/input_script.h"
#include "support/test_files.h"
#include "support/tip_reader.h"

namespace fs = std::filesystem;

namespace {

constexpr int kStepMs = 25;
constexpr int kOpeningSteps = 520;  // the level's opening scene is over by then

// A fresh copy of the demo that starts level `n` at once, logs what it plays and writes the
// statistics of a won level.
struct Playthrough : ::testing::Test {
  void SetUp() override { home = fs::current_path(); }
  void TearDown() override {
    if (!home.empty()) fs::current_path(home);
    iniFreeAll();
  }
  bool Enter(const char* name, int level, const std::string& extra = "") {
    run = testkit::EnterDemoCopy(name);
    if (run.empty()) return false;
    Switches(level, extra);
    return true;
  }
  void Switches(int level, const std::string& extra) {
    testkit::writeFile(run / "data" / "test.ini", "[main]\nGame_No_Menu=1\nGame_Test_Level=" + std::to_string(level) +
                                                      "\nGame_Log_On_Playback=1\nGame_Write_Statistics=1\n" + extra);
    // Every run starts as a first-time player, so a game and its replay meet the same tips.
    testkit::ForgetSeenTips();
    iniFreeAll();
  }
  fs::path home, run;
};

Game::LevelContext& level() { return *Game::levelContext(); }

const Task::cLevelTask* task(const char* name) {
  const Task::cLevelTaskContainer* goals = level().goals.get();
  for (size_t i = 0; goals && i < goals->Count(); ++i)
    if (goals->At(i)->name() == name) return goals->At(i);
  return nullptr;
}

bool taskDone(const char* name) {
  const Task::cLevelTask* t = task(name);
  return t && t->completed();
}

bool goalsMet() { return level().model->phase() != Game::Phase::Running || level().model->won(); }

// A point of the object that the map's hit test gives to that object: its box's centre when
// nothing covers it, else the first free point of a coarse grid over the box.
bool screenPointOf(const Map::cObject* o, int& x, int& y) {
  if (!o) return false;
  Map::cMap& map = *level().map;
  const int cx = int(o->x) + o->boundCentre.x, cy = int(o->y) + o->boundCentre.y;
  if (map.HitTest(cx, cy) == o) return x = cx, y = cy, true;
  for (int dy = -o->boundHalfSize.y + 2; dy < o->boundHalfSize.y; dy += 4)
    for (int dx = -o->boundHalfSize.x + 2; dx < o->boundHalfSize.x; dx += 4)
      if (map.HitTest(cx + dx, cy + dy) == o) return x = cx + dx, y = cy + dy, true;
  return false;
}

// The object of the tag; for a bonus place, whose tag the map keeps on the place while the bonus
// it made lies there under its own, the bonus lying nearest the place's spot in map.ini.
const Map::cObject* target(const char* tag) {
  Map::cMap& map = *level().map;
  const std::string ini = "data/maps/" + std::to_string(level().levelNumber) + "/map.ini";
  if (std::string(iniGetString(ini.c_str(), tag, "type", "")) != "bonusPlace") return map.FindByTag(NameHash(tag));
  const float px = float(iniGetInt(ini.c_str(), tag, "x", 0)), py = float(iniGetInt(ini.c_str(), tag, "y", 0));
  const Map::cObject* best = nullptr;
  float bestD = 40.0f * 40.0f;
  for (size_t i = 0; i < map.Count(); ++i) {
    const Map::cObject* o = map.At(i);
    const float d = (o->x - px) * (o->x - px) + (o->y - py) * (o->y - py);
    if (o->typeName == "bonus" && o->Has(Map::kFlagClickable) && d <= bestD) best = o, bestD = d;
  }
  return best;
}

bool screenPoint(const char* tag, int& x, int& y) { return screenPointOf(target(tag), x, y); }

// What stands in the way of a click at the object, for a failure's message.
std::string describe(const char* tag) {
  Map::cMap& map = *level().map;
  const Map::cObject* o = target(tag);
  if (!o) return "not on the map";
  const int cx = int(o->x) + o->boundCentre.x, cy = int(o->y) + o->boundCentre.y;
  const Map::cObject* top = map.HitTest(cx, cy);
  return "clickable " + std::to_string(o->Has(Map::kFlagClickable)) + ", box " + std::to_string(o->boundHalfSize.x) +
         "x" + std::to_string(o->boundHalfSize.y) + ", at its centre " + (top ? top->name : std::string("nothing"));
}

bool tipOpen() { return level().view && level().view->TipOpen(); }

// The player: points at an object, clicks it, and lets the game run until something is so. A tip
// that comes up is read and closed (a tip that waits for the object about to be clicked is left
// for that click), and the tips closed are kept in order.
class Player {
 public:
  explicit Player(testkit::HeadlessGame& game) : m_game(game) {}
  void Click(const char* tag) {
    while (tipOpen() && !WaitsFor(tag) && CloseTip() >= 0) {}
    int x = 0, y = 0;
    ASSERT_TRUE(screenPoint(tag, x, y)) << tag << " cannot be clicked: " << describe(tag);
    const int64_t now = gameStepCount();
    testkit::InputScript s;
    s.Move(now + 1, x - 30, y).Move(now + 2, x, y).Click(now + 3, x, y);
    s.Start();
    m_game.RunSteps(5);
  }
  void ClickGround(int x, int y) {
    const int64_t now = gameStepCount();
    testkit::InputScript s;
    s.Move(now + 1, x, y).Click(now + 2, x, y);
    s.Start();
    m_game.RunSteps(4);
  }
  // Runs until `done` holds, at most `seconds` of game time; true when it held.
  bool RunUntil(const std::function<bool()>& done, int seconds) {
    for (int steps = 0; steps < seconds * 1000 / kStepMs; steps += 4) {
      if (!Game::levelContext()) return false;
      if (done()) return true;
      if (tipOpen()) CloseTip();
      m_game.RunSteps(4);
    }
    return Game::levelContext() && done();
  }
  void Wait(int seconds) { RunUntil([] { return false; }, seconds); }
  // Closes the open tip as a player would; the tip closed, or -1.
  int CloseTip() {
    const int tip = testkit::CloseOpenTip(m_game);
    if (tip >= 0) m_tipsRead.push_back(tip);
    return tip;
  }
  const std::vector<int>& TipsRead() const { return m_tipsRead; }
  // The tips read so far, for a failure's message.
  std::string Read() const {
    std::string out = "tips read:";
    for (int t : m_tipsRead) out += " " + std::to_string(t);
    return out;
  }
  // The open tip waits for a click on the object of `tag`: that click closes it.
  static bool WaitsFor(const char* tag) {
    const Game::cTips* t = level().view->tips();
    return t->requireClick() && t->RequiredTag() == NameHash(tag);
  }
  void Key(int vk) {
    testkit::InputScript s;
    s.Key(gameStepCount() + 1, vk);
    s.Start();
    m_game.RunSteps(2);
  }
  // A story told over the level holds it until the player has read it: Enter finishes its text and
  // then closes it, and once it is gone Enter starts the level's clock. True when the clock runs.
  bool ReadTheStory() {
    const auto running = [] {
      const Game::cGameModel& m = *level().model;
      return m.phase() == Game::Phase::Running && m.levelTimer().remaining < m.levelTimer().total;
    };
    for (int i = 0; i < 20 && !running(); ++i) {
      Key(VK_RETURN_);
      Wait(1);
    }
    return running();
  }

 private:
  testkit::HeadlessGame& m_game;
  std::vector<int> m_tipsRead;
};

// After a level ends: its result comes on screen; the level's numbers as they stand then.
struct Outcome {
  bool won = false;
  int32_t stars = 0, timeUsed = 0;
  bool shown = false;
  bool statisticsScreen = false, loseScreen = false;  // which end screen is up
};

Outcome finish(testkit::HeadlessGame& game) {
  Outcome out;
  Game::cGameModel& m = *level().model;
  // The finish delay and the finishing phase take some seconds before the result.
  for (int steps = 0; steps < 1200 && !level().view->resultShown(); ++steps) game.RunSteps(1);
  out.won = m.won();
  out.stars = m.stars();
  out.timeUsed = m.timeUsed();
  out.shown = level().view->resultShown();
  if (const Interface::UIInterface* ui = level().view->interfaceWnd()) {
    out.statisticsScreen = ui->statistics() && !ui->statistics()->Hidden();
    out.loseScreen = ui->loseScreen() && !ui->loseScreen()->Hidden();
  }
  return out;
}

std::string statistic(const fs::path& run, const std::string& key) {
  return iniString((run / "statistics.ini").string().c_str(), "Main", key.c_str(), "");
}

// Gone from play: removed from the map, or no longer anything to click.
bool gone(const char* tag) {
  const Map::cObject* o = level().map->FindByTag(NameHash(tag));
  return !o || !o->Has(Map::kFlagClickable);
}

int32_t stock(int resource) { return level().stock->Amount(resource); }

// The demo's bridge, garden and ore pit carry the tags the tutorial tips look for.
constexpr const char* kBridge1 = "Food4";
constexpr const char* kGarden1 = "Totem11";
constexpr const char* kBridge2 = "Bridge1_Top1";
constexpr const char* kOrePit2 = "OreGenerator1";

// Level 1 as a first-time player plays it: mend the bridge, then the berry garden that appears
// behind it, fetch the basket of berries, and wait for the garden to fill the store.
void playLevelOne(Player& p) {
  // The tutorial's first tip points at the bridge as soon as the worker is home; OK closes it.
  ASSERT_TRUE(p.RunUntil([] { return tipOpen(); }, 20)) << "the first tip comes up";
  EXPECT_EQ(level().view->tips()->tipIndex(), 0);
  EXPECT_EQ(level().view->tips()->RequiredTag(), NameHash(kBridge1));
  EXPECT_TRUE(level().view->tips()->arrowShown());
  EXPECT_EQ(p.CloseTip(), 0) << "OK closes it";
  EXPECT_FALSE(tipOpen());
  ASSERT_NE(task("RepairGarden"), nullptr);
  EXPECT_TRUE(task("RepairGarden")->hidden()) << "the garden's goal waits for the bridge";
  p.Click(kBridge1);
  ASSERT_EQ(level().model->phase(), Game::Phase::Running) << "the first click started the clock";
  ASSERT_TRUE(p.RunUntil([] { return taskDone("RepairBridge"); }, 60));
  EXPECT_FALSE(task("RepairGarden")->hidden()) << "the garden's goal appears with the bridge mended";
  p.Click(kGarden1);
  ASSERT_TRUE(p.RunUntil([] { return taskDone("RepairGarden"); }, 60));
  p.Click("FoodBasket");
  ASSERT_TRUE(p.RunUntil(goalsMet, 200));
  // With the way over the river open the second tip pointed at the garden.
  EXPECT_EQ(p.TipsRead().size() >= 2 ? p.TipsRead()[1] : -1, 1);
}

// Level 2: the bridge, the three stones in the gap behind it, the ore pit built there and raised
// once its first ore pays for it, until the store holds 20 Ore.
void playLevelTwo(Player& p) {
  p.Click(kBridge2);
  ASSERT_TRUE(p.RunUntil([] { return taskDone("RepairBridge"); }, 60)) << p.Read();
  p.Click("Stone1");
  p.Click("Stone2");
  p.Click("Stone3");
  ASSERT_TRUE(p.RunUntil([] { return gone("Stone1") && gone("Stone2") && gone("Stone3"); }, 90));
  p.Click(kOrePit2);
  ASSERT_TRUE(p.RunUntil([] { return taskDone("BuildOrePit"); }, 60));
  ASSERT_TRUE(p.RunUntil([] { return stock(Game::kOre) >= 4; }, 60));
  p.Click(kOrePit2);
  ASSERT_TRUE(p.RunUntil(goalsMet, 300));
}

// Level 3: the warrior sent at the boar, the gold at the picnic spot and two trades at the money
// changer meanwhile, then the gold mine behind the boar until the store holds 30 Gold.
void playLevelThree(Player& p) {
  ASSERT_TRUE(p.ReadTheStory());
  const int32_t left = level().model->levelTimer().remaining;
  p.Wait(1);
  ASSERT_LT(level().model->levelTimer().remaining, left) << "the level runs once the story is read";
  p.Click("Boar");
  p.Click("GoldPlace");
  p.Click("MoneyChanger");
  ASSERT_TRUE(p.RunUntil([] { return stock(Game::kGold) >= 15; }, 90));
  p.Click("MoneyChanger");
  ASSERT_TRUE(p.RunUntil([] { return taskDone("DriveBoar"); }, 90));
  p.Click("GoldMine");
  ASSERT_TRUE(p.RunUntil([] { return stock(Game::kGold) >= 25; }, 90));
  p.Click("GoldMine");
  ASSERT_TRUE(p.RunUntil(goalsMet, 200));
}

// Plays level `n` by `play` to a win with three stars inside the gold time, then replays the
// recorded journal and compares the logs.
void winAndReplay(Playthrough& t, int n, void (*play)(Player&), int32_t goldMs) {
  int steps = 0;
  Outcome o;
  {
    testkit::HeadlessGame game(1000);
    ASSERT_TRUE(game.Ok());
    ASSERT_NE(Game::levelContext(), nullptr);
    const int start = gameStepCount();
    Player p(game);
    game.RunSteps(kOpeningSteps);
    play(p);
    if (::testing::Test::HasFatalFailure()) return;
    o = finish(game);
    steps = gameStepCount() - start;
  }
  const std::string key = std::to_string(n);
  EXPECT_TRUE(o.won);
  EXPECT_EQ(o.stars, 3);
  EXPECT_LT(o.timeUsed, goldMs) << "inside the gold time";
  EXPECT_TRUE(o.shown) << "the result is on screen";
  EXPECT_TRUE(o.statisticsScreen) << "on the statistics screen";
  EXPECT_FALSE(o.loseScreen);
  EXPECT_EQ(statistic(t.run, key + "Stars"), "3");
  EXPECT_GT(std::atoi(statistic(t.run, key + "scores").c_str()), 0);
  const std::string log = testkit::readFile(t.run / "log.txt");
  EXPECT_NE(log.find("[Result] level " + key + " won: stars 3"), std::string::npos);
  // The same game again from its journal, started at another time: the same lines.
  t.Switches(n, "Game_Playback=1\n");
  {
    testkit::HeadlessGame game(9999);
    ASSERT_TRUE(game.Ok());
    game.RunSteps(steps);
  }
  const std::string replay = testkit::readFile(t.run / "log_playback.txt");
  ASSERT_FALSE(replay.empty());
  EXPECT_EQ(replay, log);
}

}  // namespace

TEST_F(Playthrough, LevelOnePlayedSensiblyIsWonWithThreeStarsAndReplaysFromItsJournal) {
  if (!Enter("playthrough_1", 1)) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  winAndReplay(*this, 1, playLevelOne, 90000);
}

TEST_F(Playthrough, LevelTwoPlayedSensiblyIsWonWithThreeStarsAndReplaysFromItsJournal) {
  if (!Enter("playthrough_2", 2)) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  winAndReplay(*this, 2, playLevelTwo, iniGetInt("data/maps/2/balance.ini", "Main", "tGoldTime", 0));
}

TEST_F(Playthrough, LevelThreePlayedSensiblyIsWonWithThreeStarsAndReplaysFromItsJournal) {
  if (!Enter("playthrough_3", 3)) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  winAndReplay(*this, 3, playLevelThree, iniGetInt("data/maps/3/balance.ini", "Main", "tGoldTime", 0));
}

TEST_F(Playthrough, LevelOneLeftAloneIsLostWhenItsFourMinutesAreUp) {
  if (!Enter("playthrough_idle", 1)) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  {
    testkit::HeadlessGame game(1000);
    ASSERT_TRUE(game.Ok());
    ASSERT_NE(Game::levelContext(), nullptr);
    Player p(game);
    game.RunSteps(kOpeningSteps);
    // A click on open meadow starts the clock and orders nothing.
    p.ClickGround(300, 740);
    ASSERT_EQ(level().model->phase(), Game::Phase::Running);
    const int32_t food = level().stock->Amount(Game::kFood);
    p.Wait(239);
    EXPECT_EQ(level().model->phase(), Game::Phase::Running) << "a second before the end the level still runs";
    EXPECT_FALSE(taskDone("GatherFood")) << "the starting Food is short of the goal";
    EXPECT_EQ(level().stock->Amount(Game::kFood), food);
    const Outcome o = finish(game);
    EXPECT_FALSE(o.won);
    EXPECT_EQ(o.stars, 0);
    EXPECT_TRUE(o.shown);
    EXPECT_TRUE(o.loseScreen) << "on the lose screen";
    EXPECT_FALSE(o.statisticsScreen);
  }
  EXPECT_FALSE(fs::exists(run / "statistics.ini")) << "only a won level is written";
  const std::string log = testkit::readFile(run / "log.txt");
  EXPECT_NE(log.find("[Result] level 1 lost"), std::string::npos);
}
