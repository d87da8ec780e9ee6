// The demo campaign's player bonuses: which levels offer which, and demo level 2 played headless
// through the whole game, where the Speed button, clicked like any other window through the
// shell's input once the bar has paid for it, fires the bonus, and the workers on their way then
// cover half again as much ground every step until the bonus has run out.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "files/ini.h"
#include "files/name_hash.h"
#include "files/players.h"
#include "game/core/game_main.h"
#include "game/core/game_model.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/core/map.h"
#include "game/core/person.h"
#include "game/interface/bonus_panel.h"
#include "game/interface/interface.h"
#include "game/rules/bonus_controller.h"
#include "demo_copy_util.h"
#include "support/demo_copy.h"
#include "support/game_harness.h"
#include "support/input_script.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

constexpr int kMsPerStep = 25;
constexpr int kOpeningSteps = 520;  // the level's opening is over by then

Game::LevelContext& level() { return *Game::levelContext(); }

struct BonusPlaythrough : ::testing::Test {
  void SetUp() override { home = fs::current_path(); }
  void TearDown() override {
    if (!home.empty()) fs::current_path(home);
    iniFreeAll();
  }
  bool Enter(const char* name, int n) {
    if (testkit::EnterDemoCopy(name).empty()) return false;
    testkit::writeFile(fs::current_path() / "data" / "test.ini",
                       "[main]\nGame_No_Menu=1\nGame_Test_Level=" + std::to_string(n) + "\n");
    iniFreeAll();
    return true;
  }
  fs::path home;
};

// A point of the object that the map gives to that object.
bool pointOf(const char* tag, int& x, int& y) {
  const Map::cObject* o = level().map->FindByTag(NameHash(tag));
  if (!o) return false;
  const int cx = int(o->x) + o->boundCentre.x, cy = int(o->y) + o->boundCentre.y;
  for (int dy = 0; dy < o->boundHalfSize.y; dy += 4)
    for (int dx = 0; dx < o->boundHalfSize.x; dx += 4)
      for (int sx : {1, -1})
        if (level().map->HitTest(cx + sx * dx, cy + dy) == o) return x = cx + sx * dx, y = cy + dy, true;
  return false;
}

void clickAt(testkit::HeadlessGame& game, int x, int y) {
  const int64_t now = gameStepCount();
  testkit::InputScript s;
  s.Move(now + 1, x - 20, y).Move(now + 2, x, y).Click(now + 3, x, y);
  s.Start();
  game.RunSteps(5);
}

bool walking(const Map::cPerson* p) {
  return p && (p->state == Map::PersonState::Walking || p->state == Map::PersonState::WalkingHome);
}

// Runs `steps` steps and gives the longest distance a walking worker covered in one of them.
float longestStride(testkit::HeadlessGame& game, int steps) {
  float longest = 0.0f;
  for (int i = 0; i < steps && Game::levelContext(); ++i) {
    std::map<int32_t, std::pair<float, float>> before;
    for (int32_t id : level().workers->Persons())
      if (const Map::cPerson* p = level().workers->Person(id); walking(p)) before[id] = {p->x, p->y};
    game.RunSteps(1);
    for (const auto& [id, at] : before)
      if (const Map::cPerson* p = level().workers->Person(id); walking(p))
        longest = std::max(longest, std::hypot(p->x - at.first, p->y - at.second));
  }
  return longest;
}

bool runUntil(testkit::HeadlessGame& game, const std::function<bool()>& done, int seconds) {
  for (int steps = 0; steps < seconds * 1000 / kMsPerStep; ++steps) {
    if (!Game::levelContext()) return false;
    if (done()) return true;
    game.RunSteps(1);
  }
  return Game::levelContext() && done();
}

bool someoneWalks() {
  for (int32_t id : level().workers->Persons())
    if (walking(level().workers->Person(id))) return true;
  return false;
}

}  // namespace

TEST_F(BonusPlaythrough, OnLevelTwoTheSpeedButtonMakesTheWorkersWalkHalfAgainAsFastForItsTime) {
  if (!Enter("bonus_playthrough_2", 2)) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  const int32_t activeMs = iniGetInt("data/maps/2/balance.ini", "Bonuses", "ActPeriod_Speed", 0);
  const int32_t costMs = iniGetInt("data/maps/2/balance.ini", "Bonuses", "WaitPeriod_Speed", 0);
  ASSERT_GT(costMs, 0) << "level 2 offers the Speed bonus";
  ASSERT_GT(activeMs, 4000);
  testkit::HeadlessGame game(1000);
  ASSERT_TRUE(game.Ok());
  ASSERT_NE(Game::levelContext(), nullptr);
  // Level 2's tutorial would stop the level at each of its tips: this player has switched them off.
  if (PlayerProgress* p = playerProgress()) p->tipsOn = false;
  level().view->tips()->SetTipsEnabled(false);
  game.RunSteps(kOpeningSteps);
  Interface::UIBonusInterface* panel = level().view->interfaceWnd()->bonusPanel();
  ASSERT_NE(panel, nullptr);
  ASSERT_FALSE(panel->Hidden());
  ASSERT_EQ(panel->Buttons().size(), 1u) << "Speed is level 2's only bonus";
  const Interface::UIBonusOnLevel& button = *panel->Buttons()[0];
  ASSERT_EQ(button.bonus(), Game::kBonusSpeed);
  Game::cBonusController& bonuses = *level().bonuses;

  // A level started for testing runs its clock at once, and the bar fills with it.
  ASSERT_TRUE(bonuses.Charging());
  const float base = Map::personBaseSpeed();
  int x = 0, y = 0;
  ASSERT_TRUE(pointOf("Bridge1_Top1", x, y));
  clickAt(game, x, y);
  ASSERT_EQ(level().model->phase(), Game::Phase::Running);
  ASSERT_TRUE(runUntil(game, someoneWalks, 5)) << "the workers set out for the bridge";
  EXPECT_NEAR(longestStride(game, 20), base * kMsPerStep, base * kMsPerStep * 0.02f) << "walking at the base speed";

  // A click on the button before the bar pays for it fires nothing.
  ASSERT_LT(bonuses.Energy(), costMs - 1000);
  clickAt(game, button.CentreX(), button.CentreY());
  EXPECT_FALSE(bonuses.IsActive(Game::kBonusSpeed));
  const int32_t energy = bonuses.Energy();
  const int waitFrom = gameStepCount();
  ASSERT_TRUE(runUntil(game, [&] { return bonuses.IsAvailable(Game::kBonusSpeed); }, 30));
  EXPECT_NEAR(double(gameStepCount() - waitFrom) * kMsPerStep, costMs - energy, 30.0)
      << "available when the bar holds its cost";
  game.RunSteps(1);  // the panel hears it at its next update
  EXPECT_TRUE(button.available());

  clickAt(game, button.CentreX(), button.CentreY());
  ASSERT_TRUE(bonuses.IsActive(Game::kBonusSpeed)) << "the click reached the button";
  const int firedAt = gameStepCount();
  EXPECT_LT(bonuses.Energy(), 1000) << "its cost was spent";
  EXPECT_FLOAT_EQ(Map::personCurrentSpeed(), base * 1.5f);
  for (int32_t id : level().workers->Persons()) EXPECT_FLOAT_EQ(level().workers->Person(id)->speed, base * 1.5f);

  // Somebody on the way: to the next job once the bridge is done, or home from it.
  if (!someoneWalks() && level().map->FindByTag(NameHash("Stone1")) && pointOf("Stone1", x, y)) clickAt(game, x, y);
  ASSERT_TRUE(runUntil(game, someoneWalks, 10));
  ASSERT_LT((gameStepCount() - firedAt + 20) * kMsPerStep, activeMs) << "still inside the bonus";
  EXPECT_NEAR(longestStride(game, 20), base * 1.5f * kMsPerStep, base * kMsPerStep * 0.03f) << "half again as fast";

  // Run out: back to the base speed.
  ASSERT_TRUE(runUntil(game, [&] { return !bonuses.IsActive(Game::kBonusSpeed); }, activeMs / 1000 + 2));
  EXPECT_NEAR(double(gameStepCount() - firedAt) * kMsPerStep, activeMs, 100.0);
  EXPECT_FLOAT_EQ(Map::personCurrentSpeed(), base);
  for (int32_t id : level().workers->Persons()) EXPECT_FLOAT_EQ(level().workers->Person(id)->speed, base);
  if (!someoneWalks() && level().map->FindByTag(NameHash("Stone2")) && pointOf("Stone2", x, y)) clickAt(game, x, y);
  ASSERT_TRUE(runUntil(game, someoneWalks, 10));
  EXPECT_NEAR(longestStride(game, 20), base * kMsPerStep, base * kMsPerStep * 0.02f) << "the base speed again";
}

namespace {
struct DemoBonuses : gametest::DemoCopySlate {
  const char* CopyName() const override { return "demo_bonuses"; }
  static std::vector<int> shown() {
    std::vector<int> out;
    Interface::UIBonusInterface* p = level().view->interfaceWnd()->bonusPanel();
    if (p && !p->Hidden())
      for (const Interface::UIBonusOnLevel* b : p->Buttons()) out.push_back(b->bonus());
    return out;
  }
};
}  // namespace

// The campaign's first levels: none offers a bonus on level 1; quick feet on level 2; on level 3
// the busy workshops, the full baskets and the stopped clock, cheapest first, each within the bar
// and each with its picture and hint; the untimed game drops the stopped clock.
TEST_F(DemoBonuses, TheFirstLevelsOfferTheirOwnBonusesEachWithinTheBar) {
  const std::vector<std::vector<int>> expected = {
      {}, {Game::kBonusSpeed}, {Game::kBonusFastGen, Game::kBonusMoreResources, Game::kBonusTimeStop}};
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE("level " + std::to_string(n));
    testkit::GameHarness h;
    ASSERT_TRUE(h.Load(n));
    EXPECT_EQ(shown(), expected[n - 1]);
    const Game::cBonusController& c = *level().bonuses;
    for (int b : expected[n - 1]) {
      EXPECT_LE(c.Cost(b), c.MaxEnergy()) << kBonusNames[b];
      EXPECT_GT(c.ActPeriod(b), Game::cBonusController::kTimeStopWarningMs) << kBonusNames[b];
      const Interface::UIBonusOnLevel* button = level().view->interfaceWnd()->bonusPanel()->ButtonOf(b);
      ASSERT_NE(button, nullptr);
      EXPECT_EQ(button->Width(), 56) << "its frame's picture was found";
      const std::u16string hint = iniGetWText("data/interface/bonushints.ini", kBonusNames[b], "name", u"");
      EXPECT_FALSE(hint.empty() || hint[0] == u'#') << kBonusNames[b] << " has no translated hint";
    }
  }
  testkit::GameHarness h;
  ASSERT_TRUE(h.Load(3, Game::kModeNoTime));
  EXPECT_EQ(shown(), (std::vector<int>{Game::kBonusFastGen, Game::kBonusMoreResources}));
}
