// Achievements: the table read from its file, every event that counts and those that must not,
// groups of three earned one after another, the walking achievement counting the way walked, the
// profile's copy per player and mode (kept across a restart, values out of range clamped, not
// lost), and the sliding notice as windows, alone and over a level in play.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "files/file.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "files/players.h"
#include "files/profile.h"
#include "files/user_files.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/core/player_setup.h"
#include "game/interface/achievement_notice.h"
#include "game/interface/interface.h"
#include "game/rules/achievements.h"
#include "game_test_util.h"
#include "platform/platform.h"
#include "sound/snd_mixer.h"
#include "sound/sound.h"
#include "support/game_harness.h"
#include "sound/snd_test_util.h"

namespace fs = std::filesystem;
using Game::cAchievementTable;
using Game::Event;
using Interface::UIAchievementInterface;
using Interface::UIAchPad;
using testkit::GameHarness;

namespace {
constexpr const char* kTableFile = cAchievementTable::kFile;
constexpr const char* kNoticeFile = UIAchievementInterface::kFile;
constexpr const char* kTranslation = "data/translation.ini";
constexpr int kFar = 1000000;  // a target no test reaches

// Definitions: achievement i says "Deed i" and is visible for odd i; the listed ones have their
// own target, the others kFar; the section of `omit` is left out.
std::string tableIni(const std::map<int, int>& targets = {}, int omit = -1) {
  std::string s = "[Main]\nHiddenAchText=Secret\n";
  for (int i = 0; i < Game::kAchievementCount; ++i) {
    if (i == omit) continue;
    auto it = targets.find(i);
    s += "[ach" + std::to_string(i) + "]\ntext=Deed " + std::to_string(i) +
         "\nvalueToAchieve=" + std::to_string(it == targets.end() ? kFar : it->second) + "\nvisible=" +
         std::to_string(i % 2) + "\n";
  }
  return s;
}

// The pad 300 x 80 at x 40 with its heading and text.
const char* kNoticeIni =
    "[Main]\nx=0\ny=0\n"
    "[Achieve]\nx=40\ny=768\nxs=300\nys=80\n"
    "[Icon]\nx=8\ny=8\nxs=64\nys=64\n"
    "[Title]\ntype=text\nx=80\ny=8\nxs=200\nys=20\nname=Achievement!\n"
    "[Message]\ntype=text\nx=80\ny=32\nxs=200\nys=40\n";

// Records what the table announces.
struct Heard : Game::IAchievementListener {
  std::vector<std::pair<int, std::u16string>> earned;
  void OnAchievementEarned(const Game::AchievementRecord& r) override { earned.push_back({r.index, r.text}); }
};

struct Recorder : Game::cObserver {
  std::vector<GameEvent> events;
  void OnEvent(GameEvent& e) override { events.push_back(e); }
};

int packed(int x, int y) { return (x & 0xFFFF) | (y << 16); }

// The value of `key` in an INI text, or "" when it is not there.
std::string keyValue(const std::string& text, const std::string& key) {
  const std::string at = "\n" + key + "=";
  const size_t p = ("\n" + text).find(at);
  if (p == std::string::npos) return "";
  const size_t from = p + at.size() - 1, end = text.find_first_of("\r\n", from);
  return text.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

// The files the tests write are put back as they were, so no other test meets them.
struct Achievements : gametest::CleanSlate {
  std::vector<std::pair<std::string, std::optional<std::string>>> kept;
  void SetUp() override {
    CleanSlate::SetUp();
    for (const char* f : {kTableFile, kNoticeFile, kTranslation, "data/balance.ini"})
      kept.push_back({f, fs::exists(f) ? std::optional<std::string>(gametest::readFile(f)) : std::nullopt});
  }
  void TearDown() override {
    Game::EndLevel();
    Game::achievementsDestroy();
    for (auto& [f, text] : kept) {
      if (text) gametest::writeFile(f, *text);
      else fs::remove(f);
    }
    CleanSlate::TearDown();
  }
  static cAchievementTable table(const std::string& ini = tableIni()) {
    gametest::writeFile(kTableFile, ini);
    iniFreeAll();
    cAchievementTable t;
    EXPECT_TRUE(t.Load());
    return t;
  }
};

GameEvent event(Event code, const std::function<void(GameEvent&)>& fill = {}) {
  GameEvent e;
  MakeEvent(e, code);
  if (fill) fill(e);
  return e;
}
int32_t hashOf(const char* s) { return int32_t(NameHash(s)); }
}  // namespace

// ---- The table ---------------------------------------------------------------------------------

TEST_F(Achievements, EveryEventCountsForItsOwnAchievementsAndNoOthers) {
  struct Case {
    const char* what;
    GameEvent e;
    std::vector<int> indices;
    int amount;
  };
  const auto type = [](const char* t, const char* sub = nullptr, int silent = 0) {
    return [=](GameEvent& e) {
      e.typeHash = hashOf(t);
      if (sub) e.subtypeHash = hashOf(sub);
      e.value = silent;
    };
  };
  const auto resource = [](int index, int amount, int collected = 1) {
    return [=](GameEvent& e) {
      e.index = index;
      e.amount = amount;
      e.value = collected;
    };
  };
  std::vector<Case> cases = {
      {"time over", event(Event::GameOver), {52}, 1},
      {"building repaired", event(Event::OperationFinished, type("building", "cottage")), {4, 5, 6}, 1},
      {"building built", event(Event::BuildingWorkFinished, type("building", "cottage")), {4, 5, 6}, 1},
      {"building told silently", event(Event::OperationFinished, type("building", "cottage", 1)), {}, 0},
      {"built before play", event(Event::BuildingWorkFinished, type("building", "barn", 1)), {}, 0},
      {"road crack", event(Event::OperationFinished, type("obstacle", "roadcrack")), {13, 14, 15}, 1},
      {"bridge", event(Event::OperationFinished, type("obstacle", "bridge")), {10, 11, 12}, 1},
      {"bridge built", event(Event::BuildingWorkFinished, type("obstacle", "bridge")), {10, 11, 12}, 1},
      {"a stone cleared", event(Event::OperationFinished, type("obstacle", "stoneL")), {}, 0},
      {"barn upgraded", event(Event::BuildingLevelReached, type("building", "barn")), {1, 2, 3}, 1},
      {"cottage upgraded", event(Event::BuildingLevelReached, type("building", "cottage")), {7, 8, 9}, 1},
      {"barn level told at load", event(Event::BuildingLevelReached, type("building", "barn", 1)), {}, 0},
      {"tree", event(Event::TreeEvent), {46}, 1},
      {"walked 3 px", event(Event::PersonWalkingSpeed, [](GameEvent& e) { e.value = 90, e.value2 = 3; }), {50}, 3},
      {"clock started", event(Event::LevelClockStarted), {0}, 1},
      {"ore collected", event(Event::ResourceAdded, resource(2, 5)), {16, 17, 18}, 5},
      {"food collected", event(Event::ResourceAdded, resource(1, 4)), {19, 20, 21}, 4},
      {"gold collected", event(Event::ResourceAdded, resource(3, 2)), {22, 23, 24}, 2},
      {"gold handed out", event(Event::ResourceAdded, resource(3, 2, 0)), {}, 0},
      {"a worker came", event(Event::ResourceAdded, resource(0, 1)), {}, 0},
      {"exchange", event(Event::ExchangeHappened), {41, 42, 43}, 1},
      {"bonus place food", event(Event::BonusUsed, resource(1, 6, 0)), {28, 29, 30}, 6},
      {"bonus place, nothing", event(Event::BonusUsed, resource(4, 6, 0)), {}, 0},
      {"mine load of 3 ore", event(Event::MineYielded, resource(2, 3, 0)), {25, 26, 27}, 3},
      {"mine, resource none", event(Event::MineYielded, resource(4, 3, 0)), {}, 0},
      {"witch flew away", event(Event::Witch47Event), {44}, 1},
      {"clicked the view", event(Event::ViewEvent107), {45}, 1},
      {"idle", event(Event::ViewEvent108), {51}, 1},
      {"all at maximum", event(Event::AllResourcesAtMaximum), {53}, 1},
      {"3000", event(Event::Score3000Passed), {47}, 1},
      {"5000", event(Event::Score5000Passed), {48}, 1},
      {"10000", event(Event::Score10000Passed), {49}, 1},
      {"notice clicked", event(Event::AchievementNoticeClicked), {54}, 1},
      {"helmet creature", event(Event::CreatureClicked), {55}, 1},
      {"hammer creature", event(Event::HammerCreatureClicked), {56}, 1},
      {"bonus fired", event(Event::BonusFired), {38, 39, 40}, 1},
      {"bonus reminder", event(Event::BonusReminder), {57}, 1},
      {"the white wolf fed", event(Event::CreatureObstacleEvent, type("obstacle", "WhiteWolf")), {}, 0},
      {"resource spent", event(Event::ResourceSpent, resource(2, 5)), {}, 0},
      {"the other witch event", event(Event::Witch47Event2), {}, 0},
      {"a person arrived", event(Event::PersonArrived, resource(2, 5)), {}, 0},
  };
  const char* creatures[] = {"wolf", "evilflower", "spider", "skeleton", "ghost", "necro", "yeti"};
  for (int i = 0; i < 7; ++i)
    cases.push_back({creatures[i], event(Event::CreatureObstacleEvent, type("obstacle", creatures[i])), {31 + i}, 1});

  const std::string ini = tableIni();
  for (const Case& c : cases) {
    cAchievementTable t = table(ini);
    t.OnEvent(c.e);
    for (int i = 0; i < Game::kAchievementCount; ++i) {
      const bool counted = std::find(c.indices.begin(), c.indices.end(), i) != c.indices.end();
      EXPECT_EQ(t.Record(i).value, counted ? c.amount : 0) << c.what << ": achievement " << i;
    }
  }
}

TEST_F(Achievements, AGroupOfThreeIsEarnedOneAfterAnotherAndEachOnce) {
  cAchievementTable t = table(tableIni({{4, 1}, {5, 10}, {6, 100}}));
  Heard heard;
  t.SetListener(&heard);
  const GameEvent repaired = event(Event::OperationFinished, [](GameEvent& e) { e.typeHash = hashOf("building"); });
  t.OnEvent(repaired);  // the first repair earns the first at once
  ASSERT_EQ(heard.earned.size(), 1u);
  EXPECT_EQ(heard.earned[0], std::make_pair(4, std::u16string(u"Deed 4")));
  EXPECT_EQ(t.Record(4).order, 1);
  for (int i = 2; i <= 9; ++i) t.OnEvent(repaired);
  EXPECT_EQ(heard.earned.size(), 1u);
  EXPECT_FALSE(t.Record(5).Earned());
  t.OnEvent(repaired);  // the tenth
  ASSERT_EQ(heard.earned.size(), 2u);
  EXPECT_EQ(heard.earned[1].first, 5);
  EXPECT_EQ(t.Record(5).order, 2);
  for (int i = 11; i <= 150; ++i) t.OnEvent(repaired);
  ASSERT_EQ(heard.earned.size(), 3u);
  EXPECT_EQ(t.Record(6).order, 3);
  // Held at their targets, never announced again.
  EXPECT_EQ(t.Record(4).value, 1);
  EXPECT_EQ(t.Record(5).value, 10);
  EXPECT_EQ(t.Record(6).value, 100);
  EXPECT_EQ(t.EarnedCount(), 3);
  EXPECT_EQ(t.nextOrder(), 3);
}

TEST_F(Achievements, AScoreThatStaysAbove3000EarnsItsAchievementOnce) {
  cAchievementTable t = table(tableIni({{47, 1}}));
  Heard heard;
  t.SetListener(&heard);
  for (int i = 0; i < 5; ++i) t.OnEvent(event(Event::Score3000Passed));
  EXPECT_EQ(heard.earned.size(), 1u);
  EXPECT_EQ(t.Record(47).order, 1);
  EXPECT_EQ(t.Record(47).value, 1);
}

TEST_F(Achievements, AddTakesOnlyPositiveAmountsAndATargetOfZeroIsNeverEarned) {
  cAchievementTable t = table(tableIni({{16, 10}, {17, 0}}));
  EXPECT_FALSE(t.Add(16, -5));
  EXPECT_FALSE(t.Add(16, 0));
  EXPECT_EQ(t.Record(16).value, 0);
  EXPECT_FALSE(t.Add(17, 1000));
  EXPECT_EQ(t.Record(17).value, 0);
  EXPECT_FALSE(t.Record(17).Earned());
  EXPECT_FALSE(t.Add(-1, 1));
  EXPECT_FALSE(t.Add(58, 1));
  EXPECT_TRUE(t.Add(16, 2000000000));  // far past the target: no overflow, held at it
  EXPECT_EQ(t.Record(16).value, 10);
}

TEST_F(Achievements, TheDefinitionsAreReadAndBadOnesAreNamedInTheErrorLog) {
  gametest::writeFile(kTranslation, "[t]\n#ACH_SECRET=Not yet\n#ACH_FIRST=First steps\n");
  const std::string longText(200, 'x');
  cAchievementTable t = table(
      "[Main]\nHiddenAchText=#ACH_SECRET\n"
      "[ach0]\ntext=#ACH_FIRST\nvalueToAchieve=2\nvisible=1\nicon=data/interface/ach0.png\n"
      "[ach1]\ntext=Backwards\nvalueToAchieve=-5\n"
      "[ach2]\ntext=" + longText + "\nvalueToAchieve=3\n"
      "[ach3]\ntext=Huge\nvalueToAchieve=90000000\n");
  EXPECT_EQ(t.Record(0).text, u"First steps");
  EXPECT_EQ(t.Record(0).target, 2);
  EXPECT_EQ(t.Record(0).visible, 1);
  EXPECT_EQ(t.Record(0).icon, "data/interface/ach0.png");
  EXPECT_EQ(t.hiddenText(), u"Not yet");
  EXPECT_EQ(t.Record(1).target, 0);
  EXPECT_EQ(t.Record(2).text.size(), Game::kAchievementTextMax);
  EXPECT_EQ(t.Record(3).target, kProgressAchievementValueMax);  // what the profile can keep
  EXPECT_TRUE(t.Record(4).text.empty());
  EXPECT_EQ(t.Record(4).target, 0);
  EXPECT_FALSE(t.Add(4, 1));
  const std::string gerr = gametest::gerrText();
  EXPECT_NE(gerr.find("data/interface/achievements.ini: [ach1] valueToAchieve=-5"), std::string::npos) << gerr;
  EXPECT_NE(gerr.find("[ach2] text is 200 characters long"), std::string::npos) << gerr;
  EXPECT_NE(gerr.find("[ach3] valueToAchieve=90000000"), std::string::npos) << gerr;
  EXPECT_NE(gerr.find("54 of the sections [ach0] to [ach57] are missing (the first is [ach4])"), std::string::npos)
      << gerr;

  fs::remove(kTableFile);
  iniFreeAll();
  gametest::clearGerr();
  cAchievementTable none;
  EXPECT_FALSE(none.Load());
  EXPECT_EQ(none.Record(0).target, 0);
  EXPECT_NE(gametest::gerrText().find("data/interface/achievements.ini: missing"), std::string::npos);
}

TEST_F(Achievements, TheBookSeesTheHiddenTextUntilAnInvisibleAchievementIsEarned) {
  cAchievementTable t = table(tableIni({{2, 1}, {3, 5}}));  // even indices are not visible
  Game::AchievementView v = t.View(2);
  EXPECT_EQ(v.text, u"Secret");
  EXPECT_FALSE(v.visible);
  EXPECT_FALSE(v.earned);
  EXPECT_EQ(t.View(3).text, u"Deed 3");
  t.Add(3, 2);
  EXPECT_EQ(t.View(3).value, 2);
  EXPECT_EQ(t.View(3).target, 5);
  t.Add(2, 1);
  v = t.View(2);
  EXPECT_EQ(v.text, u"Deed 2");
  EXPECT_TRUE(v.earned);
  EXPECT_EQ(v.order, 1);
  EXPECT_EQ(v.index, 2);
  EXPECT_EQ(t.View(99).text, u"Secret");  // out of range: an empty record, not a crash
}

TEST_F(Achievements, ProgressCopiedInIsClampedToItsTargetAndNothingEarnedIsLost) {
  cAchievementTable t = table(tableIni({{0, 10}, {1, 10}, {2, 10}, {3, 10}, {4, 1}}, 57));
  ASSERT_EQ(t.Record(57).target, 0);
  int32_t values[Game::kAchievementCount] = {}, orders[Game::kAchievementCount] = {};
  values[0] = 12;  // past its target, never numbered: earned after the others
  values[1] = -3;
  values[2] = 4, orders[2] = 5;  // earned when the target was lower: stays earned
  values[3] = 10, orders[3] = 2;
  values[57] = 77;  // no definition: kept as it was
  t.CopyIn(values, orders);
  EXPECT_EQ(t.Record(0).value, 10);
  EXPECT_EQ(t.Record(0).order, 6);
  EXPECT_EQ(t.Record(1).value, 0);
  EXPECT_EQ(t.Record(2).value, 4);
  EXPECT_TRUE(t.Record(2).Earned());
  EXPECT_EQ(t.Record(57).value, 77);
  EXPECT_EQ(t.nextOrder(), 6);
  Heard heard;
  t.SetListener(&heard);
  EXPECT_FALSE(t.Add(2, 20));  // earned already: not announced a second time
  EXPECT_TRUE(t.Add(4, 1));
  EXPECT_EQ(t.Record(4).order, 7);
  EXPECT_EQ(heard.earned.size(), 1u);
  int32_t outV[Game::kAchievementCount] = {}, outN[Game::kAchievementCount] = {};
  t.CopyOut(outV, outN);
  EXPECT_EQ(outV[0], 10);
  EXPECT_EQ(outN[0], 6);
  EXPECT_EQ(outV[57], 77);
  EXPECT_EQ(outN[4], 7);
  t.ResetProgress();
  EXPECT_EQ(t.EarnedCount(), 0);
  EXPECT_EQ(t.nextOrder(), 0);
}

TEST_F(Achievements, TheTestWordEarnsTheFirstAchievementNotYetEarned) {
  cAchievementTable t = table(tableIni({{0, 1}, {1, 0}, {2, 30}}));
  Heard heard;
  t.SetListener(&heard);
  t.Add(0, 1);
  t.Add(2, 7);
  EXPECT_EQ(t.GrantTest(), 2);  // 1 has no target
  EXPECT_EQ(t.Record(2).value, 30);
  EXPECT_EQ(t.Record(2).order, 2);
  EXPECT_EQ(heard.earned.size(), 2u);
  t.RemoveListener(&heard);
  EXPECT_EQ(t.listener(), nullptr);
}

// ---- The profile -------------------------------------------------------------------------------

namespace {
struct AchievementProfiles : Achievements {
  void SetUp() override {
    Achievements::SetUp();
    gametest::freshUserFolder("Achievement Test", "AchievementTest");
    gametest::writeFile(kTableFile, tableIni({{0, 1}, {4, 1}, {16, 100}, {45, 5}, {50, 100000}}));
    iniFreeAll();
    gamePlayersInit();  // with the achievement hooks, as the game starts
  }
  void TearDown() override {
    Game::achievementsDestroy();
    playersClear();
    playersSetHooks({});
    fs::remove("game.ini");
    Achievements::TearDown();
  }
  static cAchievementTable& t() { return *Game::achievementTable(); }
  static std::string profileText() { return gametest::readFile(fileUserFolder() + "/profile.ini"); }
};
}  // namespace

TEST_F(AchievementProfiles, EachPlayerAndModeHasItsOwnProgress) {
  ASSERT_TRUE(playerAdd(u"Ann"));
  ASSERT_TRUE(playerAdd(u"Bob"));
  ASSERT_TRUE(playerSelect(0));
  Game::achievementsCreate();
  ASSERT_NE(Game::achievementTable(), nullptr);
  t().Add(16, 30);
  t().Add(0, 1);
  ASSERT_TRUE(playerSelect(1));
  EXPECT_EQ(t().Record(16).value, 0) << "Bob starts with nothing of Ann's";
  EXPECT_FALSE(t().Record(0).Earned());
  t().Add(16, 7);
  ASSERT_TRUE(playerSelect(0));
  EXPECT_EQ(t().Record(16).value, 30);
  EXPECT_EQ(t().Record(0).order, 1);
  progressSetMode(*playerProgress(), 2);
  EXPECT_EQ(t().Record(16).value, 0) << "another mode, other progress";
  t().Add(45, 2);
  progressSetMode(*playerProgress(), 0);
  EXPECT_EQ(t().Record(16).value, 30);
  EXPECT_EQ(t().Record(45).value, 0);
  progressSetMode(*playerProgress(), 2);
  EXPECT_EQ(t().Record(45).value, 2);
  ASSERT_TRUE(playerSelect(1));
  EXPECT_EQ(t().Record(16).value, 7);
  const std::string text = profileText();
  EXPECT_EQ(keyValue(text, "Ann_Normal_achiv16_v"), "30") << text;
  EXPECT_EQ(keyValue(text, "Ann_Normal_achiv0_n"), "1") << text;
  EXPECT_EQ(keyValue(text, "Ann_NoTime_achiv45_v"), "2") << text;
  EXPECT_EQ(keyValue(text, "Bob_Normal_achiv16_v"), "7") << text;
}

TEST_F(AchievementProfiles, EarnedAchievementsAreKeptAcrossARestart) {
  ASSERT_TRUE(playerAdd(u"Ann"));
  ASSERT_TRUE(playerSelect(0));
  Game::achievementsCreate();
  t().Add(4, 1);
  t().Add(16, 55);
  t().Add(0, 1);
  t().Add(50, 1234);
  ASSERT_TRUE(playersSave());

  // Everything rebuilt from the files, as the next run of the program does.
  Game::achievementsDestroy();
  playersClear();
  iniFreeAll();
  fileInitUserFiles();
  gamePlayersInit();
  ASSERT_EQ(playerCurrent(), 0);
  Game::achievementsCreate();
  EXPECT_EQ(t().Record(4).order, 1);
  EXPECT_EQ(t().Record(0).order, 2);
  EXPECT_EQ(t().Record(16).value, 55);
  EXPECT_FALSE(t().Record(16).Earned());
  EXPECT_EQ(t().Record(50).value, 1234);
  EXPECT_EQ(t().nextOrder(), 2);
  EXPECT_TRUE(t().Add(16, 45));
  EXPECT_EQ(t().Record(16).order, 3) << "the order goes on from the saved one";
}

TEST_F(AchievementProfiles, ASavedValueOutOfItsRangeIsKeptClampedNotLost) {
  gametest::writeFile(fileUserFolder() + "/profile.ini",
                      "[Ann]\nmain_name=Ann\nAnn_mode=0\n"
                      "[Ann_Normal]\nmain_name=Ann_Normal\nAnn_Normal_achiv16_v=70000000\nAnn_Normal_achiv16_n=0\n"
                      "Ann_Normal_achiv45_v=-20\nAnn_Normal_achiv50_v=99999\nAnn_Normal_achiv4_v=3\n"
                      "Ann_Normal_achiv4_n=1\n");
  gametest::writeFile(fileUserFolder() + "/profgame.ini", "[Players]\namount=1\nplayer1=Ann\ncurrent=0\n");
  iniFreeAll();
  fileInitUserFiles();
  gamePlayersInit();
  ASSERT_EQ(playerCurrent(), 0);
  EXPECT_EQ(playerProgress()->achV[0][16], kProgressAchievementValueMax);
  Game::achievementsCreate();
  EXPECT_EQ(t().Record(16).value, 100) << "past the range: held at the target";
  EXPECT_EQ(t().Record(16).order, 2) << "and earned, after the one earned before";
  EXPECT_EQ(t().Record(45).value, 0);
  EXPECT_EQ(t().Record(50).value, 99999);
  EXPECT_EQ(t().Record(4).value, 1);
  ASSERT_TRUE(playersSave());
  const std::string text = profileText();
  EXPECT_EQ(keyValue(text, "Ann_Normal_achiv16_v"), "100") << text;
  EXPECT_EQ(keyValue(text, "Ann_Normal_achiv16_n"), "2") << text;
}

// ---- In a level --------------------------------------------------------------------------------

namespace {
struct AchievementLevels : Achievements {
  void SetUp() override {
    Achievements::SetUp();
    gametest::writeFile("data/balance.ini", "[Worker]\nvel=0.13\n");
    gametest::writeFile(kTableFile, tableIni({{0, 1}, {1, 1}, {54, 1}}));
    gametest::writeFile(kNoticeFile, kNoticeIni);
    iniFreeAll();
    Game::achievementsCreate();
  }
  static bool load(GameHarness& h, int n, int workers = 1) {
    testkit::LevelFiles f;
    f.balance = "[Main]\ntLevelTime=100000\nMinuteTime=60000\n[Resources]\nWorker=" + std::to_string(workers) +
                "\n[ResourceHarvest]\nFood=1\n";
    f.map = "[Barn]\ntype=building\nsubType=barn\nx=100\ny=400\n";
    std::string error;
    EXPECT_TRUE(testkit::WriteTestLevel(n, f, &error)) << error;
    return h.Load(n);
  }
  static Interface::UIInterface* ui() {
    Game::LevelContext* c = Game::levelContext();
    return c && c->view ? c->view->interfaceWnd() : nullptr;
  }
  static cAchievementTable& t() { return *Game::achievementTable(); }
};
}  // namespace

TEST_F(AchievementLevels, TheWalkingAchievementCountsTheWayWalkedNotTheSpeed) {
  GameHarness h;
  ASSERT_TRUE(load(h, 131, 0));
  Map::cPerson* p = h.workers().CreatePerson({100, 100}, "Worker", -1);
  ASSERT_NE(p, nullptr);
  ASSERT_FLOAT_EQ(p->speed, 0.13f);  // 3.25 px a tick: the fractions must add up
  h.ClearEvents();
  p->StartMove(-1, PathRoute{{100, 100}, {300, 100}, {300, 250}}, false, 0.0f);  // 200 + 150 px
  ASSERT_TRUE(gametest::runUntil(h, [&] { return p->state == Map::PersonState::Free; }, 400));
  int ticks = 0, told = 0;
  for (const GameEvent& e : h.events())
    if (e.code == Game::Code(Event::PersonWalkingSpeed)) {
      ++ticks;
      told += e.value2;
      EXPECT_EQ(e.value, 130) << "the speed stays in its own field";
    }
  EXPECT_EQ(ticks, 62 + 47);  // each segment ends on a tick of its own: 200 / 3.25 and 150 / 3.25, rounded up
  EXPECT_GE(told, 349);
  EXPECT_LE(told, 350);
  EXPECT_EQ(t().Record(Game::kAchWalked).value, told);

  // A second worker walking at the same time adds its own way.
  Map::cPerson* q = h.workers().CreatePerson({100, 300}, "Worker", -1);
  ASSERT_NE(q, nullptr);
  p->StartMove(-1, PathRoute{{300, 250}, {300, 350}}, false, 0.0f);
  q->StartMove(-1, PathRoute{{100, 300}, {160, 300}}, false, 0.0f);
  ASSERT_TRUE(gametest::runUntil(
      h, [&] { return p->state == Map::PersonState::Free && q->state == Map::PersonState::Free; }, 400));
  EXPECT_NEAR(t().Record(Game::kAchWalked).value, 350 + 100 + 60, 2);
}

TEST_F(AchievementLevels, TheModelCountsEveryEventAndTheTestWordEarnsTheNext) {
  GameHarness h;
  ASSERT_TRUE(load(h, 132));
  ASSERT_NE(ui(), nullptr);
  UIAchievementInterface* notice = ui()->achievementNotice();
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(t().listener(), notice);
  h.workers().RequestWorker(false);
  h.Advance(1);
  h.Action(1);  // the clock starts: event 70
  ASSERT_EQ(h.CountOf(Event::LevelClockStarted), 1);
  EXPECT_EQ(t().Record(0).order, 1);
  ASSERT_EQ(notice->QueueLength(), 1);
  EXPECT_EQ(notice->Front()->Message()->Caption(), u"Deed 0");
  h.Action(12);
  EXPECT_EQ(t().Record(1).order, 2);
  EXPECT_EQ(notice->QueueLength(), 2);
}

TEST_F(AchievementLevels, AClickOnTheNoticePostsItsEventOnceAndStaysOffTheMap) {
  GameHarness h;
  ASSERT_TRUE(load(h, 133));
  UIAchievementInterface* notice = ui() ? ui()->achievementNotice() : nullptr;
  ASSERT_NE(notice, nullptr);
  h.workers().RequestWorker(false);
  h.Advance(1);
  h.Action(1);
  ASSERT_EQ(notice->QueueLength(), 1);
  for (int i = 0; i < 20; ++i) ui()->Update(25);  // up and showing
  UIAchPad* pad = notice->Front();
  ASSERT_EQ(pad->phase(), UIAchPad::Phase::Showing);
  EXPECT_EQ(pad->Y(), 768 - 91);
  const int at = packed(190, 768 - 50);
  EXPECT_TRUE(ui()->HitTest(190, 768 - 50));
  EXPECT_FALSE(ui()->HitTest(950, 768 - 30));
  h.ClearEvents();
  Game::cGameView* view = Game::levelContext()->view;
  view->KeyDown(VK_LBUTTON_, at);
  view->KeyUp(VK_LBUTTON_, at);
  EXPECT_EQ(h.CountOf(Event::AchievementNoticeClicked), 1);
  EXPECT_EQ(h.CountOf(Event::ViewEvent107), 0) << "the click was the notice's, not the map's";
  EXPECT_EQ(pad->phase(), UIAchPad::Phase::SlidingOut);
  EXPECT_EQ(t().Record(54).order, 2) << "clicking a notice is an achievement too";
  EXPECT_EQ(notice->QueueLength(), 2);
}

// ---- The notice as windows ---------------------------------------------------------------------

namespace {
struct AchievementNotice : Achievements {
  Game::cEventDispatcher dispatcher;
  Recorder clicks;
  void SetUp() override {
    Achievements::SetUp();
    ASSERT_TRUE(sndtest::startManual());
    sndSetCategoryVolume(1.0f, SND_SOUND);
    const std::vector<uint8_t> wav = sndtest::makeWav(16, 1, 22050, sndtest::sine(700, 22050, 22050, 8000));
    gametest::writeFile("ach_fanfare.wav", std::string(wav.begin(), wav.end()));
    gametest::writeFile("ach_sounds.ini", "[AchievementGet]\nname=ach_fanfare.wav\n");
    sndLoadScript("ach_sounds.ini");
    gametest::writeFile(kNoticeFile, kNoticeIni);
    iniFreeAll();
    dispatcher.Register(Game::Code(Event::AchievementNoticeClicked), &clicks);
  }
  void TearDown() override {
    sndDone();
    Achievements::TearDown();
  }
  // Nothing mixes the sounds under the manual clock: every chime started is still playing.
  static int chimes() { return sndMixVoiceCount(); }
  static void run(UIAchievementInterface& n, int ms) {
    for (int t = 0; t < ms; t += 25) n.Update(25);
  }
};
}  // namespace

TEST_F(AchievementNotice, PadsSlideInStayAndSlideOutOneAfterAnotherWithAChimeEach) {
  UIAchievementInterface n;
  ASSERT_TRUE(n.Build());
  EXPECT_EQ(n.Front(), nullptr);
  n.Push(u"First");
  n.Push(u"Second");  // earned in the same tick
  ASSERT_EQ(n.QueueLength(), 2);
  EXPECT_EQ(chimes(), 1) << "the second waits for its turn";
  UIAchPad* first = n.Front();
  EXPECT_EQ(first->Message()->Caption(), u"First");
  EXPECT_EQ(first->X(), 40);
  EXPECT_EQ(first->Y(), 768);
  run(n, 250);
  EXPECT_EQ(first->Y(), 768 - 45);  // half of 80 + 11, in whole pixels
  run(n, 250);
  EXPECT_EQ(first->phase(), UIAchPad::Phase::Showing);
  EXPECT_EQ(first->Y(), 768 - 91);
  EXPECT_EQ(first->Message()->Y(), 768 - 91 + 32) << "its text moves with it";
  run(n, 1975);
  EXPECT_EQ(first->Y(), 768 - 91);
  EXPECT_EQ(static_cast<UIAchPad*>(n.Child(1))->phaseMs(), 0) << "only the first pad moves";
  run(n, 25);
  EXPECT_EQ(first->phase(), UIAchPad::Phase::SlidingOut);
  run(n, 250);
  EXPECT_EQ(first->Y(), 768 - 45);
  EXPECT_EQ(n.QueueLength(), 2);
  run(n, 250);  // 3000 ms after the first came: it is gone and the second starts
  ASSERT_EQ(n.QueueLength(), 1);
  EXPECT_EQ(n.Front()->Message()->Caption(), u"Second");
  EXPECT_EQ(n.Front()->Y(), 768);
  EXPECT_EQ(chimes(), 2);
  run(n, 3000);
  EXPECT_EQ(n.QueueLength(), 0);
  EXPECT_EQ(chimes(), 2);
}

TEST_F(AchievementNotice, AClickPostsTheEventOnceAndTheSlideOutStartsFromWhereThePadIs) {
  UIAchievementInterface n;
  ASSERT_TRUE(n.Build());
  n.LevelStart(&dispatcher);
  n.Push(u"Clicked");
  run(n, 250);
  UIAchPad* pad = n.Front();
  ASSERT_EQ(pad->Y(), 768 - 45);
  EXPECT_EQ(n.KeyDown(VK_LBUTTON_, packed(30, 768 - 20)), 0) << "left of the pad";
  EXPECT_EQ(n.KeyDown(VK_LBUTTON_, packed(60, 768 - 20)), 1);
  EXPECT_EQ(n.KeyUp(VK_LBUTTON_, packed(60, 768 - 20)), 1);
  ASSERT_EQ(clicks.events.size(), 1u);
  EXPECT_EQ(pad->phase(), UIAchPad::Phase::SlidingOut);
  EXPECT_EQ(pad->Y(), 768 - 45) << "no jump";
  run(n, 225);
  EXPECT_GT(pad->Y(), 768 - 45);
  run(n, 25);
  EXPECT_EQ(n.QueueLength(), 0);

  // A release alone is a click as well.
  n.Push(u"Again");
  run(n, 500);
  EXPECT_EQ(n.KeyUp(VK_RBUTTON_, packed(100, 768 - 40)), 1);
  EXPECT_EQ(clicks.events.size(), 2u);
  n.LevelEnd();
  n.Push(u"Between levels");
  run(n, 1000);  // the last one gone, this one up
  ASSERT_EQ(n.QueueLength(), 1);
  EXPECT_EQ(n.KeyDown(VK_LBUTTON_, packed(100, 768 - 40)), 1);
  EXPECT_EQ(n.Front()->phase(), UIAchPad::Phase::SlidingOut);
  EXPECT_EQ(clicks.events.size(), 2u) << "no level, no event";
}

TEST_F(AchievementNotice, TheNoticeHearsTheTableWhileItLives) {
  gametest::writeFile(kTableFile, tableIni({{7, 2}}));
  iniFreeAll();
  Game::achievementsCreate();
  {
    UIAchievementInterface n;
    ASSERT_TRUE(n.Build());
    EXPECT_EQ(Game::achievementTable()->listener(), &n);
    Game::achievementTable()->Add(7, 2);
    ASSERT_EQ(n.QueueLength(), 1);
    EXPECT_EQ(n.Front()->Message()->Caption(), u"Deed 7");
  }
  EXPECT_EQ(Game::achievementTable()->listener(), nullptr);
  fs::remove(kNoticeFile);
  iniFreeAll();
  gametest::clearGerr();
  UIAchievementInterface missing;
  EXPECT_FALSE(missing.Build());
  EXPECT_NE(gametest::gerrText().find("data/interface/achievementsInterface.ini: missing"), std::string::npos);
}

// ---- The demo's achievements -------------------------------------------------------------------

TEST(DemoAchievements, EachHasARisingTargetATextInBothLanguagesAndAMedal) {
  const char* src = std::getenv("MM_SOURCE_DIR");
  if (!src) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  const std::string demo = std::string(src) + "/demo/", file = demo + kTableFile;
  std::vector<std::string> keys = {iniString(file.c_str(), "Main", "HiddenAchText")};
  std::vector<int> targets;
  for (int i = 0; i < Game::kAchievementCount; ++i) {
    const std::string section = "ach" + std::to_string(i);
    targets.push_back(iniGetInt(file.c_str(), section.c_str(), "valueToAchieve", 0));
    EXPECT_GT(targets.back(), 0) << section;
    EXPECT_LE(targets.back(), kProgressAchievementValueMax) << section;
    keys.push_back(iniString(file.c_str(), section.c_str(), "text"));
    const std::string icon = iniString(file.c_str(), section.c_str(), "icon");
    EXPECT_TRUE(fs::exists(demo + icon)) << section << " " << icon;
  }
  // The same deed feeds each group of three: the later ones need more, or they would come together.
  for (size_t first : {1, 4, 7, 10, 13, 16, 19, 22, 25, 28, 38, 41})
    EXPECT_TRUE(targets[first] < targets[first + 1] && targets[first + 1] < targets[first + 2]) << "from " << first;
  const std::string notice = demo + kNoticeFile;
  keys.push_back(iniString(notice.c_str(), "Title", "name"));
  for (const char* language : {"data/translation.ini", "data/translation_ru.ini"})
    for (const std::string& key : keys) {
      ASSERT_FALSE(key.empty());
      EXPECT_EQ(key[0], '#') << key;
      EXPECT_STRNE(iniGetString((demo + language).c_str(), nullptr, key.c_str(), ""), "") << language << " " << key;
    }
  UIAchievementInterface window;
  EXPECT_TRUE(window.Build(notice.c_str()));
  EXPECT_TRUE(fs::exists(demo + iniString(notice.c_str(), "Achieve", "normal")));
  EXPECT_GT(iniGetInt(notice.c_str(), "Achieve", "ys", 0), 0);
  const std::string sound = iniString((demo + "data/snd/sounds.ini").c_str(), UIAchievementInterface::kSound, "name");
  EXPECT_TRUE(!sound.empty() && fs::exists(demo + sound)) << sound;
}
