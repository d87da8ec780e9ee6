// The player's bonuses in a headless level: the energy bar filling from the clock's start, each
// bonus charged, fired and run out with its events and its effect on persons, generators, bonus
// places and the level clock, the worker bonus's extra worker leaving only when one is free at home
// (and a second firing while the first still waits giving its own worker), the time-stop warning
// before its end also for short stops, pause, reminder, costs the bar cannot reach; and the bonus
// panel: which buttons a level shows and in what order, where they stand on the bar, the bar's
// fill, the hint, clicks that come through the game view, what each button state draws, the
// progress ring and its burst, and the activation chime.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "anim/anim_catalogue.h"
#include "anim/anim_sprite.h"
#include "game/core/game_view.h"
#include "game/core/person.h"
#include "game/interface/bonus_panel.h"
#include "game/interface/interface.h"
#include "game/objects/bonus.h"
#include "game/objects/building_generator.h"
#include "game/rules/bonus_controller.h"
#include "gfx/render_device.h"
#include "gfx/test_sprite_util.h"
#include "obstacle_levels.h"
#include "platform/platform.h"
#include "sound/snd_test_util.h"
#include "sound/sound.h"
#include "support/input_script.h"
#include "support/null_renderer.h"

using Game::Event;
using testkit::GameHarness;

namespace {

constexpr int kLevel = 160;

std::string bonusBalance(const std::string& bonuses, int workers = 1) {
  return obstest::balance(workers, 0, 0, 0, "[Bonuses]\n" + bonuses);
}

struct PlayerBonuses : obstest::Level {
  void SetUp() override {
    obstest::Level::SetUp();
    gametest::writeFile("data/bonus/bonuses.ini",
                        "[Food]\ntype=bonus\nsubType=food\nresource=Food\nboundXS=10\nboundYS=10\n"
                        "Person_Get_Resource_Time=500\n");
  }
  void TearDown() override {
    std::filesystem::remove("data/interface/bonuses.ini");
    std::filesystem::remove("data/interface/bonushints.ini");
    obstest::Level::TearDown();
  }
  // Loads the level and starts its clock: the bar starts filling now.
  bool Start(GameHarness& h, const std::string& balance, const std::string& map = "", int mode = Game::kModeNormal) {
    testkit::LevelFiles f;
    f.balance = balance;
    f.map = std::string(obstest::kBarn) + map;
    std::string error;
    EXPECT_TRUE(testkit::WriteTestLevel(kLevel, f, &error)) << error;
    if (!h.Load(kLevel, mode)) return false;
    h.Action(1);
    return true;
  }
  static Game::cBonusController& bonuses() { return *Game::levelContext()->bonuses; }
  static void post(Event code) {
    GameEvent e;
    MakeEvent(e, code);
    Post(Game::levelContext()->dispatcher.get(), e);
  }
};

// Position of the first event of `code` in the record, -1 when it never came.
int firstIndex(const GameHarness& h, Event code) {
  for (size_t i = 0; i < h.events().size(); ++i)
    if (h.events()[i].code == Game::Code(code)) return int(i);
  return -1;
}

}  // namespace

// ---- The controller ------------------------------------------------------------------------------

TEST_F(PlayerBonuses, SpeedIsChargedAfterItsCostFiredOnceRunsOutAndChargesAgain) {
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance("BonusMaxTime=60000\nWaitPeriod_Speed=20000\nActPeriod_Speed=10000\n")));
  Game::cBonusController& c = bonuses();
  EXPECT_EQ(c.Energy(), 0);
  h.Advance(799);  // 19975 ms
  EXPECT_FALSE(c.IsAvailable(Game::kBonusSpeed));
  EXPECT_FALSE(c.Fire(Game::kBonusSpeed));
  EXPECT_EQ(h.CountOf(Event::SpeedBonusFired), 0);
  h.Advance(1);
  ASSERT_TRUE(c.IsAvailable(Game::kBonusSpeed));
  EXPECT_FLOAT_EQ(c.EnergyFraction(), 1.0f / 3.0f);

  ASSERT_TRUE(c.Fire(Game::kBonusSpeed));
  EXPECT_EQ(h.CountOf(Event::SpeedBonusFired), 1);
  EXPECT_EQ(h.CountOf(Event::BonusFired), 1);
  EXPECT_EQ(c.Energy(), 0);
  EXPECT_TRUE(c.IsActive(Game::kBonusSpeed));
  EXPECT_FLOAT_EQ(Map::personCurrentSpeed(), Map::personBaseSpeed() * 1.5f);
  // Fired again while it runs: nothing is spent and nothing is posted.
  EXPECT_FALSE(c.Fire(Game::kBonusSpeed));
  post(Event::SpeedBonusFired);
  EXPECT_EQ(h.CountOf(Event::BonusFired), 1);
  EXPECT_EQ(c.Energy(), 0);

  h.Advance(200);
  EXPECT_NEAR(c.ActiveFraction(Game::kBonusSpeed), 0.5f, 1e-6);
  h.Advance(199);
  EXPECT_EQ(h.CountOf(Event::SpeedBonusEnded), 0);
  h.Advance(1);  // 10000 ms
  EXPECT_EQ(h.CountOf(Event::SpeedBonusEnded), 1);
  EXPECT_FALSE(c.IsActive(Game::kBonusSpeed));
  EXPECT_FLOAT_EQ(Map::personCurrentSpeed(), Map::personBaseSpeed());
  // 20 s after the firing the bar pays for it again.
  h.Advance(399);
  EXPECT_FALSE(c.IsAvailable(Game::kBonusSpeed));
  h.Advance(1);
  EXPECT_TRUE(c.IsAvailable(Game::kBonusSpeed));
}

TEST_F(PlayerBonuses, TheBarFillsOnlyFromTheClockStartAndStopsAtItsCapacity) {
  GameHarness h;
  testkit::LevelFiles f;
  f.balance = bonusBalance("BonusMaxTime=2000\nWaitPeriod_Speed=1500\nActPeriod_Speed=1000\n");
  f.map = obstest::kBarn;
  ASSERT_TRUE(testkit::WriteTestLevel(kLevel, f));
  ASSERT_TRUE(h.Load(kLevel));
  h.Advance(100);  // the clock waits for the player
  EXPECT_EQ(bonuses().Energy(), 0);
  EXPECT_FALSE(bonuses().Charging());
  h.Action(1);
  h.Advance(200);
  EXPECT_EQ(bonuses().Energy(), 2000);
  EXPECT_FLOAT_EQ(bonuses().EnergyFraction(), 1.0f);
  ASSERT_TRUE(bonuses().Fire(Game::kBonusSpeed));
  EXPECT_EQ(bonuses().Energy(), 500);
}

TEST_F(PlayerBonuses, EachBonusPostsItsFiringAndItsEndAndTheEffectsFollow) {
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance("BonusMaxTime=9000\nWaitPeriod_FastGen=1000\nActPeriod_FastGen=500\n"
                                    "WaitPeriod_More_Resources=1000\nActPeriod_More_Resources=1000\n"
                                    "WaitPeriod_Respawn_bonus_places=1000\nActPeriod_Respawn_bonus_places=0\n")));
  Game::cBonusController& c = bonuses();
  h.Advance(120);  // 3000 ms: all three paid
  ASSERT_TRUE(c.Fire(Game::kBonusFastGen));
  ASSERT_TRUE(c.Fire(Game::kBonusMoreResources));
  ASSERT_TRUE(c.Fire(Game::kBonusRespawn));
  EXPECT_EQ(h.CountOf(Event::FastGenBonusFired), 1);
  EXPECT_EQ(h.CountOf(Event::MoreResourcesBonusFired), 1);
  EXPECT_EQ(h.CountOf(Event::RespawnBonusPlacesFired), 1);
  EXPECT_EQ(h.CountOf(Event::BonusFired), 3);
  EXPECT_EQ(c.Energy(), 0);
  // Persons carry one more with every delivery while "More_Resources" runs.
  const auto& persons = Game::levelContext()->workers->Persons();
  ASSERT_FALSE(persons.empty());
  Map::cPerson* p = Game::levelContext()->workers->Person(persons.front());
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->bonusDelivery, 1);
  // A bonus without a period is over at the next step and tells nobody.
  h.Advance(1);
  EXPECT_FALSE(c.IsActive(Game::kBonusRespawn));
  EXPECT_FLOAT_EQ(c.ActiveFraction(Game::kBonusRespawn), 1.0f);
  h.Advance(19);  // 500 ms
  EXPECT_EQ(h.CountOf(Event::FastGenBonusEnded), 1);
  EXPECT_EQ(h.CountOf(Event::MoreResourcesBonusEnded), 0);
  h.Advance(20);  // 1000 ms
  EXPECT_EQ(h.CountOf(Event::MoreResourcesBonusEnded), 1);
  EXPECT_EQ(p->bonusDelivery, 0);
  h.Advance(100);
  EXPECT_EQ(h.CountOf(Event::FastGenBonusEnded), 1);
  EXPECT_EQ(h.CountOf(Event::MoreResourcesBonusEnded), 1);
}

TEST_F(PlayerBonuses, TimeStopHoldsTheLevelClockAndWarns600msBeforeItsEnd) {
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance("BonusMaxTime=10000\nWaitPeriod_TimeStop=1000\nActPeriod_TimeStop=5000\n")));
  h.Advance(40);
  ASSERT_TRUE(bonuses().Fire(Game::kBonusTimeStop));
  EXPECT_EQ(h.CountOf(Event::TimeBarFreezes), 1);
  const int32_t frozenAt = h.model().levelTimer().remaining;
  h.Advance(175);  // 4375 ms
  EXPECT_EQ(h.CountOf(Event::TimeBarIceBreaks), 0);
  h.Advance(1);  // 4400 ms
  EXPECT_EQ(h.CountOf(Event::TimeBarIceBreaks), 1);
  EXPECT_EQ(h.CountOf(Event::TimeBarThaws), 0);
  h.Advance(23);
  EXPECT_EQ(h.CountOf(Event::TimeBarThaws), 0);
  h.Advance(1);  // 5000 ms
  EXPECT_EQ(h.CountOf(Event::TimeBarThaws), 1);
  EXPECT_EQ(h.model().levelTimer().remaining, frozenAt);
  h.Advance(4);
  EXPECT_EQ(h.model().levelTimer().remaining, frozenAt - 100);
}

TEST_F(PlayerBonuses, AStopShorterThanTheWarningWarnsAtOnceAndStillBeforeItsEnd) {
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance("BonusMaxTime=10000\nWaitPeriod_TimeStop=1000\nActPeriod_TimeStop=400\n")));
  h.Advance(40);
  h.ClearEvents();
  ASSERT_TRUE(bonuses().Fire(Game::kBonusTimeStop));
  h.Advance(1);
  EXPECT_EQ(h.CountOf(Event::TimeBarIceBreaks), 1);
  EXPECT_EQ(h.CountOf(Event::TimeBarThaws), 0);
  h.Advance(15);  // 400 ms
  EXPECT_EQ(h.CountOf(Event::TimeBarThaws), 1);
  EXPECT_EQ(h.CountOf(Event::TimeBarIceBreaks), 1);
  EXPECT_LT(firstIndex(h, Event::TimeBarIceBreaks), firstIndex(h, Event::TimeBarThaws));
}

TEST_F(PlayerBonuses, PauseHoldsTheBarAndTheActivePeriods) {
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance("BonusMaxTime=10000\nWaitPeriod_Speed=1000\nActPeriod_Speed=2000\n")));
  h.Advance(20);  // 500 ms
  post(Event::WindowOpenedOverLevel);
  EXPECT_TRUE(bonuses().Paused());
  h.Advance(100);
  EXPECT_EQ(bonuses().Energy(), 500);
  post(Event::WindowClosedOverLevel);
  h.Advance(20);
  ASSERT_TRUE(bonuses().Fire(Game::kBonusSpeed));
  h.Advance(40);  // 1000 ms of its 2000
  post(Event::WindowOpenedOverLevel);
  h.Advance(200);
  EXPECT_EQ(h.CountOf(Event::SpeedBonusEnded), 0);
  post(Event::WindowClosedOverLevel);
  h.Advance(39);
  EXPECT_EQ(h.CountOf(Event::SpeedBonusEnded), 0);
  h.Advance(1);
  EXPECT_EQ(h.CountOf(Event::SpeedBonusEnded), 1);
}

TEST_F(PlayerBonuses, TheReminderComesThreeMinutesAfterTheStartOrTheLastFiring) {
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance("BonusMaxTime=10000\nWaitPeriod_Speed=1000\nActPeriod_Speed=1000\n")));
  h.Advance(7199);
  EXPECT_EQ(h.CountOf(Event::BonusReminder), 0);
  h.Advance(1);  // 180000 ms
  EXPECT_EQ(h.CountOf(Event::BonusReminder), 1);
  ASSERT_TRUE(bonuses().Fire(Game::kBonusSpeed));
  h.Advance(7199);
  EXPECT_EQ(h.CountOf(Event::BonusReminder), 1);
  h.Advance(1);
  EXPECT_EQ(h.CountOf(Event::BonusReminder), 2);
}

TEST_F(PlayerBonuses, ACostTheBarCannotHoldIsReportedAndNeverAvailable) {
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance("BonusMaxTime=10000\nWaitPeriod_FastGen=20000\nActPeriod_FastGen=1000\n")));
  const std::string gerr = testkit::ReadErrorLog();
  EXPECT_NE(gerr.find("dataTest/maps/160/balance.ini"), std::string::npos) << gerr;
  EXPECT_NE(gerr.find("WaitPeriod_FastGen"), std::string::npos) << gerr;
  h.Advance(1000);
  EXPECT_EQ(bonuses().Energy(), 10000);
  EXPECT_FALSE(bonuses().IsAvailable(Game::kBonusFastGen));
  EXPECT_FLOAT_EQ(bonuses().CostFraction(Game::kBonusFastGen), 1.0f);
}

TEST_F(PlayerBonuses, TheWorkerBonusAddsAWorkerForItsPeriod) {
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance("BonusMaxTime=10000\nWaitPeriod_Worker=1000\nActPeriod_Worker=3000\n")));
  h.Advance(obstest::kGreetSteps);
  Game::cWorkersController& w = h.workers();
  ASSERT_EQ(w.PersonCount(), 1);
  ASSERT_EQ(h.stock().Amount(Game::kWorker), 1);
  ASSERT_TRUE(bonuses().Fire(Game::kBonusWorker));
  EXPECT_EQ(h.CountOf(Event::WorkerBonusFired), 1);
  EXPECT_EQ(w.PersonCount(), 2);
  EXPECT_EQ(h.stock().Amount(Game::kWorker), 2);
  h.Advance(119);
  EXPECT_EQ(w.PersonCount(), 2);
  h.Advance(1);  // 3000 ms: both are at home, one leaves
  EXPECT_EQ(w.PersonCount(), 1);
  EXPECT_EQ(h.stock().Amount(Game::kWorker), 1);
  EXPECT_FALSE(bonuses().IsActive(Game::kBonusWorker));
}

// Both workers are out fetching food when the first period ends, so its worker cannot leave yet;
// the bonus is fired again meanwhile. The second firing brings its own worker, and once everyone
// is home and both periods are over the level has exactly the worker it started with.
TEST_F(PlayerBonuses, FiredAgainWhileItsWorkerWaitsToLeaveTheBonusStillGivesAWorker) {
  GameHarness h;
  const std::string places =
      "[PlaceA]\ntype=bonusPlace\nx=900\ny=300\nsupportX=-20\nresource=Food\nresourceValue=1\nperiod=100000\n"
      "[PlaceB]\ntype=bonusPlace\nx=900\ny=500\nsupportX=-20\nresource=Food\nresourceValue=1\nperiod=100000\n";
  ASSERT_TRUE(Start(h, obstest::balance(1, 0, 0, 0,
                                        "[ResourcesMax]\nFood=50\n[Bonuses]\nBonusMaxTime=60000\n"
                                        "WaitPeriod_Worker=1000\nActPeriod_Worker=2000\n"),
                    places));
  h.Advance(obstest::kGreetSteps);
  h.ClearEvents();
  Game::cWorkersController& w = h.workers();
  ASSERT_TRUE(bonuses().Fire(Game::kBonusWorker));
  ASSERT_EQ(w.PersonCount(), 2);
  for (const char* tag : {"PlaceA", "PlaceB"}) {
    auto* place = obstest::byName<Map::cBonusPlace>(h, tag);
    ASSERT_NE(place, nullptr) << tag;
    ASSERT_NE(place->bonusId, Map::kNoId) << tag;
    h.Action(2, place->bonusId);
  }
  h.Advance(2);
  ASSERT_EQ(w.CountFree(0, true), 0) << "both workers should be on their way";

  h.Advance(80);  // the first period is over; nobody is home to leave
  EXPECT_EQ(bonuses().PendingRemovals(), 1);
  EXPECT_TRUE(bonuses().IsActive(Game::kBonusWorker));
  EXPECT_EQ(w.PersonCount(), 2);

  ASSERT_TRUE(bonuses().IsAvailable(Game::kBonusWorker));
  const int32_t energy = bonuses().Energy();
  ASSERT_TRUE(bonuses().Fire(Game::kBonusWorker));
  EXPECT_EQ(bonuses().Energy(), energy - 1000);
  EXPECT_EQ(w.PersonCount(), 3);
  EXPECT_EQ(h.stock().Amount(Game::kWorker), 3);

  // The second period ends with its worker at home: that one leaves at once.
  h.Advance(80);
  EXPECT_EQ(w.PersonCount(), 2);
  EXPECT_EQ(bonuses().PendingRemovals(), 1);
  // The first worker back home is the one still owed.
  ASSERT_TRUE(obstest::runUntil(h, Event::PersonBackHome, 1, 4000));
  h.Advance(1);
  EXPECT_EQ(w.PersonCount(), 1);
  EXPECT_EQ(bonuses().PendingRemovals(), 0);
  EXPECT_FALSE(bonuses().IsActive(Game::kBonusWorker));
  ASSERT_TRUE(obstest::runUntil(h, Event::PersonBackHome, 2, 4000));
  EXPECT_EQ(w.PersonCount(), 1);
  EXPECT_EQ(h.stock().Amount(Game::kWorker), 1);
}

// Fired from the bar, the production bonus reaches the level's generator (twice its amount while it
// runs, its own amount after) and the respawn bonus refills a bonus place that was just emptied.
TEST_F(PlayerBonuses, FastGenAndRespawnFiredFromTheBarReachTheGeneratorAndTheBonusPlace) {
  GameHarness h;
  const std::string map =
      "[Mill]\ntype=building\nsubType=FoodGenerator\nx=400\ny=200\nboundXS=30\nboundYS=30\nresource=Food\n"
      "resourceValue=3\n"
      "[Place]\ntype=bonusPlace\nx=300\ny=500\nsupportX=-20\nresource=Food\nresourceValue=2\nperiod=100000\n";
  const std::string balance =
      "[Main]\ntLevelTime=1000000\nMinuteTime=1000\n[Resources]\nWorker=1\n[ResourcesMax]\nFood=500\n"
      "[ResourceHarvest]\nFood=1\n[Bonuses]\nBonusMaxTime=20000\nWaitPeriod_FastGen=4000\nActPeriod_FastGen=2500\n"
      "WaitPeriod_Respawn_bonus_places=4000\nActPeriod_Respawn_bonus_places=0\n";
  ASSERT_TRUE(Start(h, balance, map));
  auto* mill = obstest::byName<Map::cBuildingGenerator>(h, "Mill");
  auto* place = obstest::byName<Map::cBonusPlace>(h, "Place");
  ASSERT_NE(mill, nullptr);
  ASSERT_NE(place, nullptr);
  // The amount of the mill's next production.
  const auto nextYield = [&] {
    h.ClearEvents();
    const bool came = obstest::runUntil(h, Event::GeneratorProduced, 1, 80);
    const GameEvent* e = h.Last(Event::GeneratorProduced);
    return came && e && e->objectId == mill->id ? e->amount : -1;
  };
  EXPECT_EQ(nextYield(), 3);
  h.Advance(160);  // the bar holds 4 s more than both costs
  ASSERT_TRUE(bonuses().Fire(Game::kBonusFastGen));
  EXPECT_EQ(nextYield(), 6);
  EXPECT_EQ(nextYield(), 6);
  ASSERT_TRUE(obstest::runUntil(h, Event::FastGenBonusEnded, 1, 100));
  EXPECT_EQ(nextYield(), 3);

  // The food on the place is fetched; the place would wait 100 s for the next.
  h.Advance(obstest::kGreetSteps);
  ASSERT_NE(place->bonusId, Map::kNoId);
  h.Action(2, place->bonusId);
  ASSERT_TRUE(obstest::runUntil(h, Event::BonusUsed, 1, 2000));
  ASSERT_EQ(place->bonusId, Map::kNoId);
  h.ClearEvents();
  ASSERT_TRUE(bonuses().Fire(Game::kBonusRespawn));
  EXPECT_NE(place->bonusId, Map::kNoId) << "the respawn bonus fills it at once";
  EXPECT_EQ(h.CountOf(Event::BonusPlaced), 1);
}

// ---- The panel -----------------------------------------------------------------------------------

TEST(BonusSlotLayoutMaths, ButtonsStandAtTheirCostAndTheFillJumpsTheSlotsPassed) {
  using Interface::BonusSlotLayout;
  // A bar of 400 at x 100 with two buttons: 292 pixels of it are energy, 54 each button.
  EXPECT_EQ(BonusSlotLayout::SlotX(100, 400, 2, 0, 0.25f), 173);
  EXPECT_EQ(BonusSlotLayout::SlotX(100, 400, 2, 1, 0.5f), 300);
  EXPECT_FLOAT_EQ(BonusSlotLayout::Fill(400, 2, 0.0f, {0.25f, 0.5f}), 0.0f);
  EXPECT_FLOAT_EQ(BonusSlotLayout::Fill(400, 2, 0.4f, {0.25f, 0.5f}), 170.0f / 400.0f);
  EXPECT_FLOAT_EQ(BonusSlotLayout::Fill(400, 2, 1.0f, {0.25f, 0.5f}), 1.0f);
  // A cost the energy only reaches does not count as passed.
  EXPECT_FLOAT_EQ(BonusSlotLayout::Fill(400, 2, 0.25f, {0.25f, 0.5f}), 73.0f / 400.0f);
  EXPECT_FLOAT_EQ(BonusSlotLayout::Fill(0, 2, 0.5f, {0.25f}), 0.0f);
}

namespace {
struct BonusPanel : PlayerBonuses {
  void SetUp() override {
    PlayerBonuses::SetUp();
    gametest::writeFile("data/interface/bonuses.ini",
                        "[BonusInterface]\nx=90\ny=680\nxs=420\nys=80\n"
                        "[Bar]\ntype=sprite\nx=100\ny=700\nxs=400\nys=20\n"
                        "[ActiveBonus]\nradius=24\n");
    gametest::writeFile("data/interface/bonushints.ini",
                        "[Main]\nx=0\ny=0\nxs=200\nys=60\n"
                        "[Text]\ntype=text\nx=10\ny=10\nxs=180\nys=40\n"
                        "[Speed]\nname=Walk faster\n[Worker]\nname=One more pair of hands\n");
  }
  static Interface::UIBonusInterface* panel() {
    Game::cGameView* view = Game::levelContext()->view;
    return view && view->interfaceWnd() ? view->interfaceWnd()->bonusPanel() : nullptr;
  }
  static void press(int x, int y) { Game::levelContext()->view->KeyDown(VK_LBUTTON_, testkit::Pack(x, y)); }
  static void release(int x, int y) { Game::levelContext()->view->KeyUp(VK_LBUTTON_, testkit::Pack(x, y)); }
  static void click(int x, int y) {
    press(x, y);
    release(x, y);
  }
  static void move(int x, int y) { Game::levelContext()->view->MouseMove(0, testkit::Pack(x, y)); }
  static std::vector<int> order(const Interface::UIBonusInterface& p) {
    std::vector<int> out;
    for (auto* b : p.Buttons()) out.push_back(b->bonus());
    return out;
  }
};
const char* kSixCosts =
    "BonusMaxTime=60000\nWaitPeriod_Worker=5000\nWaitPeriod_Speed=3000\nWaitPeriod_Respawn_bonus_places=0\n"
    "WaitPeriod_TimeStop=1000\nWaitPeriod_FastGen=2000\nWaitPeriod_More_Resources=4000\n";
}  // namespace

TEST_F(BonusPanel, TheFirstThreeOfferedBonusesAreShownCheapestFirst) {
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance(kSixCosts)));
  Interface::UIBonusInterface* p = panel();
  ASSERT_NE(p, nullptr);
  EXPECT_FALSE(p->Hidden());
  EXPECT_EQ(order(*p), (std::vector<int>{Game::kBonusTimeStop, Game::kBonusSpeed, Game::kBonusWorker}));
  EXPECT_STREQ(p->Buttons()[0]->Name(), "TimeStop");
}

TEST_F(BonusPanel, TheUntimedGameShowsNoTimeStop) {
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance(kSixCosts), "", Game::kModeNoTime));
  Interface::UIBonusInterface* p = panel();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(order(*p), (std::vector<int>{Game::kBonusFastGen, Game::kBonusSpeed, Game::kBonusWorker}));
}

TEST_F(BonusPanel, ALevelWithoutCostsShowsNoPanelAndClicksThereReachTheMap) {
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance("BonusMaxTime=60000\nWaitPeriod_Speed=0\nActPeriod_Speed=1000\n")));
  Interface::UIBonusInterface* p = panel();
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(p->Hidden());
  EXPECT_TRUE(p->Buttons().empty());
  EXPECT_FALSE(Game::levelContext()->view->interfaceWnd()->HitTest(213, 715));
}

TEST_F(BonusPanel, AButtonStandsAtItsCostFiresWhenAvailableAndKeepsClicksOffTheMap) {
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance("BonusMaxTime=40000\nWaitPeriod_Speed=10000\nActPeriod_Speed=5000\n")));
  Interface::UIBonusInterface* p = panel();
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(p->Buttons().size(), 1u);
  Interface::UIBonusOnLevel* speed = p->Buttons()[0];
  // Free width 400 - 54 = 346; a quarter of it past the bar's start, then half a slot.
  EXPECT_EQ(speed->CentreX(), 100 + 86 + 27);
  EXPECT_EQ(speed->CentreY(), 710);
  EXPECT_TRUE(Game::levelContext()->view->interfaceWnd()->HitTest(213, 715));

  h.ClearEvents();
  click(213, 715);  // not paid for yet
  EXPECT_EQ(h.CountOf(Event::SpeedBonusFired), 0);
  EXPECT_EQ(h.CountOf(Event::ViewEvent107), 0);  // the map never heard it

  h.Advance(400);
  p->Update(0);
  EXPECT_TRUE(speed->available());
  EXPECT_EQ(h.CountOf(Event::PlayerBonusAvailable), 1);
  h.Advance(400);  // half the bar: the energy is past the button's slot
  p->Update(0);
  EXPECT_FLOAT_EQ(p->FillFraction(), (173.0f + 54.0f) / 400.0f);
  EXPECT_EQ(h.CountOf(Event::PlayerBonusAvailable), 1);  // only when it becomes available

  // The press shrinks the button; the release inside fires it.
  press(213, 715);
  EXPECT_FLOAT_EQ(speed->Scale(), 0.9f);
  EXPECT_EQ(h.CountOf(Event::SpeedBonusFired), 0);
  release(213, 715);
  EXPECT_FLOAT_EQ(speed->Scale(), 1.0f);
  EXPECT_EQ(h.CountOf(Event::SpeedBonusFired), 1);
  EXPECT_EQ(h.CountOf(Event::ViewEvent107), 0);
  EXPECT_EQ(bonuses().Energy(), 10000);
  EXPECT_FALSE(speed->available());
  EXPECT_EQ(speed->ProgressFrame(), 0);

  // Clicked again while it runs: nothing.
  click(213, 715);
  EXPECT_EQ(h.CountOf(Event::SpeedBonusFired), 1);
  // A press that leaves the button before its release fires nothing either.
  h.Advance(200);
  p->Update(0);
  ASSERT_TRUE(speed->available());
  press(213, 715);
  release(300, 600);
  EXPECT_EQ(h.CountOf(Event::SpeedBonusFired), 1);
  // Outside the circle (its centre sits 5 pixels low) a click on the panel fires nothing.
  click(213, 690);
  EXPECT_EQ(h.CountOf(Event::SpeedBonusFired), 1);
}

TEST_F(BonusPanel, TheHintNamesTheBonusAboveItsButtonFadesInAndOut) {
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance("BonusMaxTime=40000\nWaitPeriod_Speed=10000\nActPeriod_Speed=5000\n")));
  Interface::UIBonusInterface* p = panel();
  ASSERT_NE(p, nullptr);
  Interface::UIBonusInfo* hint = p->Hint();
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(hint->Hidden());
  move(213, 715);
  EXPECT_FALSE(hint->Hidden());
  EXPECT_EQ(p->Buttons()[0]->State(), UIWnd::Active);
  ASSERT_NE(hint->Text(), nullptr);
  EXPECT_EQ(hint->Text()->Caption(), u"Walk faster");
  // Centred over the button (213 - 100), its bottom 10 pixels above the button's top (710 - 24).
  EXPECT_EQ(hint->X(), 113);
  EXPECT_EQ(hint->Y(), 686 - 10 - 60);
  EXPECT_EQ(hint->Text()->X(), 123);
  p->Update(250);
  EXPECT_NEAR(hint->Alpha(), 127.5f, 0.5f);
  p->Update(250);
  EXPECT_FLOAT_EQ(hint->Alpha(), 255.0f);
  move(600, 400);
  EXPECT_EQ(p->Buttons()[0]->State(), UIWnd::Normal);
  p->Update(400);
  EXPECT_NEAR(hint->Alpha(), 255.0f - 204.0f, 0.5f);
  EXPECT_FALSE(hint->Hidden());
  p->Update(100);
  EXPECT_TRUE(hint->Hidden());
}

TEST_F(BonusPanel, AModalScreenForgetsThePointer) {
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance("BonusMaxTime=40000\nWaitPeriod_Speed=10000\nActPeriod_Speed=5000\n")));
  Interface::UIBonusInterface* p = panel();
  ASSERT_NE(p, nullptr);
  move(213, 715);
  press(213, 715);
  ASSERT_EQ(p->Buttons()[0]->State(), UIWnd::Press);
  Game::levelContext()->view->interfaceWnd()->SetModal(true, false);
  EXPECT_EQ(p->Buttons()[0]->State(), UIWnd::Normal);
  EXPECT_TRUE(p->Hint()->Hidden());
  Game::levelContext()->view->interfaceWnd()->SetModal(false, false);
  h.Advance(400);
  release(213, 715);  // the press was forgotten: no firing
  EXPECT_EQ(h.CountOf(Event::SpeedBonusFired), 0);
}

// ---- The buttons as they draw --------------------------------------------------------------------

namespace {
// Pictures of their own sizes, so a captured quad tells which one it is: the frame 56, the badge
// 40 and the progress ring 48 pixels wide, the ring in 12 rows.
struct BonusButtons : BonusPanel {
  void SetUp() override {
    BonusPanel::SetUp();
    ASSERT_TRUE(testkit::StartNullRenderer("bonus buttons"));
    const auto solid = [](int, int) { return 0xFFFFFFFFu; };
    sprtest::WritePng("bp_pics/frame.png", 56, 56, solid);
    sprtest::WritePng("bp_pics/badge.png", 40, 40, solid);
    sprtest::WritePng("bp_pics/ring.png", 48, 48 * 12, solid);
    gametest::writeFile("bp_anims.xml",
                        "<Animations>\n"
                        "<Animation id=\"bp_frame\" path=\"bp_pics/frame.png\" period=\"1000\" frames=\"1\"/>\n"
                        "<Animation id=\"bp_speed\" path=\"bp_pics/badge.png\" period=\"1000\" frames=\"1\"/>\n"
                        "<Animation id=\"bp_ring\" path=\"bp_pics/ring.png\" period=\"1200\" frames=\"12\" "
                        "isLoop=\"1\"/>\n</Animations>\n");
    ASSERT_TRUE(Core::animManager().LoadAnimationCatalogue("bp_anims.xml"));
    gametest::writeFile("data/interface/bonuses.ini",
                        "[BonusInterface]\nx=90\ny=680\nxs=420\nys=80\n"
                        "[Bar]\ntype=sprite\nx=100\ny=700\nxs=400\nys=20\n"
                        "[ActiveBonus]\nradius=24\n[Speed]\nanim0=bp_speed\nanim1=bp_ring\nanim2=bp_frame\n");
  }
  void TearDown() override {
    BonusPanel::TearDown();  // the level and its buttons' pictures go first
    Core::animManager().Clear();
  }
  static std::vector<AnimSpriteQuad> quadsOf(Interface::UIBonusOnLevel& b) {
    std::vector<AnimSpriteQuad> quads;
    animSpriteCaptureInto(&quads);
    b.Draw();
    animSpriteCaptureInto(nullptr);
    return quads;
  }
  static std::vector<int> widths(const std::vector<AnimSpriteQuad>& quads) {
    std::vector<int> out;
    for (const AnimSpriteQuad& q : quads) out.push_back(int(std::lround(q.v[1].x - q.v[0].x)));
    return out;
  }
  // The row of the ring's strip a quad shows (-1 when it shows none): its texture corner compared
  // with the ring's own rows drawn one by one.
  static int ringRow(const AnimSpriteQuad& q) {
    AnimationState ring = Core::animManager().GetAnimation("bp_ring");
    for (int row = 0; row < ring.FrameCount(); ++row) {
      std::vector<AnimSpriteQuad> one;
      animSpriteCaptureInto(&one);
      ring.DrawRotated(0.0f, 0.0f, 0.0f, 0x100u, 15, 0xFFFFFFFFu, 1.0f, 0, row);
      animSpriteCaptureInto(nullptr);
      if (one.size() == 1 && one[0].v[0].u == q.v[0].u && one[0].v[0].v == q.v[0].v) return row;
    }
    return -1;
  }
};
}  // namespace

TEST_F(BonusButtons, EachStateDrawsItsPicturesAndTheRingFollowsTheActivePeriod) {
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance("BonusMaxTime=40000\nWaitPeriod_Speed=10000\nActPeriod_Speed=12000\n")));
  Interface::UIBonusInterface* p = panel();
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(p->Buttons().size(), 1u);
  Interface::UIBonusOnLevel& speed = *p->Buttons()[0];
  EXPECT_EQ(speed.Width(), 56) << "the frame gives the button its size";

  // Charging: the frame and the badge only.
  EXPECT_EQ(widths(quadsOf(speed)), (std::vector<int>{56, 40}));
  EXPECT_FALSE(speed.Glowing());

  // Available: the whole ring over them, and the glow.
  h.Advance(400);
  p->Update(0);
  ASSERT_TRUE(speed.available());
  EXPECT_TRUE(speed.Glowing());
  const std::vector<AnimSpriteQuad> ready = quadsOf(speed);
  ASSERT_EQ(widths(ready), (std::vector<int>{56, 40, 48}));
  EXPECT_NE(ready[2].modeWord, kModeAdd);

  // Under the pointer a second, additive copy of the ring lights it up.
  move(213, 715);
  const std::vector<AnimSpriteQuad> lit = quadsOf(speed);
  ASSERT_EQ(widths(lit), (std::vector<int>{56, 40, 48, 48}));
  EXPECT_EQ(lit[3].modeWord, kModeAdd);
  // Pressed, everything shrinks to nine tenths, the lit ring too.
  press(213, 715);
  const std::vector<AnimSpriteQuad> pressed = quadsOf(speed);
  ASSERT_EQ(pressed.size(), 4u);
  EXPECT_NEAR(pressed[0].v[1].x - pressed[0].v[0].x, 56 * 0.9f, 0.01f);
  EXPECT_NEAR(pressed[3].v[1].x - pressed[3].v[0].x, 48 * 0.9f, 0.01f);

  // Fired: the ring starts from its first row and gains one row per twelfth of the 12 s.
  release(213, 715);
  move(600, 400);
  ASSERT_TRUE(bonuses().PeriodRunning(Game::kBonusSpeed));
  EXPECT_FALSE(speed.Glowing());
  const std::vector<AnimSpriteQuad> started = quadsOf(speed);
  ASSERT_EQ(widths(started), (std::vector<int>{56, 40, 48}));
  EXPECT_EQ(speed.ProgressFrame(), 0);
  EXPECT_EQ(ringRow(ready[2]), 11) << "the ready ring is the strip's last row";
  EXPECT_EQ(ringRow(started[2]), 0);
  h.Advance(40);  // 1000 ms
  p->Update(0);
  EXPECT_EQ(speed.ProgressFrame(), 1);
  EXPECT_EQ(ringRow(quadsOf(speed)[2]), 1);
  h.Advance(200);  // 6000 ms: half way
  p->Update(0);
  EXPECT_EQ(ringRow(quadsOf(speed)[2]), 6);
  EXPECT_EQ(speed.EndBursts(), 0);
  h.Advance(200);  // 11000 ms: the last row, and the burst with it
  p->Update(0);
  EXPECT_EQ(speed.ProgressFrame(), 11);
  EXPECT_EQ(ringRow(quadsOf(speed)[2]), 11);
  EXPECT_EQ(speed.EndBursts(), 1);
  h.Advance(39);
  p->Update(0);
  EXPECT_EQ(speed.EndBursts(), 1) << "once a period";
  h.Advance(1);  // 12000 ms: over, and the bar has paid for it again
  p->Update(0);
  EXPECT_FALSE(bonuses().PeriodRunning(Game::kBonusSpeed));
  EXPECT_TRUE(speed.available());
  EXPECT_EQ(speed.EndBursts(), 1);
  EXPECT_EQ(speed.ProgressFrame(), -1);
}

TEST_F(BonusButtons, ARingOfOneFrameBurstsAsThePeriodEndsNotAsItStarts) {
  gametest::writeFile("data/interface/bonuses.ini",
                      "[BonusInterface]\nx=90\ny=680\nxs=420\nys=80\n"
                      "[Bar]\ntype=sprite\nx=100\ny=700\nxs=400\nys=20\n"
                      "[ActiveBonus]\nradius=24\n[Speed]\nanim0=bp_speed\nanim1=bp_frame\nanim2=bp_frame\n");
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance("BonusMaxTime=40000\nWaitPeriod_Speed=10000\nActPeriod_Speed=2000\n")));
  Interface::UIBonusOnLevel* speed = panel()->ButtonOf(Game::kBonusSpeed);
  ASSERT_NE(speed, nullptr);
  h.Advance(400);
  panel()->Update(0);
  click(213, 715);
  ASSERT_TRUE(bonuses().PeriodRunning(Game::kBonusSpeed));
  h.Advance(40);
  panel()->Update(0);
  EXPECT_EQ(speed->EndBursts(), 0);
  h.Advance(40);  // 2000 ms: over
  panel()->Update(0);
  EXPECT_EQ(speed->EndBursts(), 1);
}

TEST_F(BonusButtons, OnlyAClickThatFiresPlaysTheActivationChime) {
  ASSERT_TRUE(sndtest::startManual());
  gametest::LevelSoundDone soundDone;
  sndSetCategoryVolume(1.0f, SND_SOUND);
  const std::vector<uint8_t> wav = sndtest::makeWav(16, 1, 22050, sndtest::sine(900, 22050, 2205, 8000));
  gametest::writeFile("bp_chime.wav", std::string(wav.begin(), wav.end()));
  gametest::writeFile("bp_sounds.ini", "[BonusActivate]\nname=bp_chime.wav\n");
  sndLoadScript("bp_sounds.ini");
  GameHarness h;
  ASSERT_TRUE(Start(h, bonusBalance("BonusMaxTime=40000\nWaitPeriod_Speed=10000\nActPeriod_Speed=5000\n")));
  const int library = sndLibrarySize();
  click(213, 715);  // not paid for yet
  EXPECT_EQ(sndLibrarySize(), library);
  h.Advance(400);
  panel()->Update(0);
  click(213, 715);
  ASSERT_EQ(h.CountOf(Event::SpeedBonusFired), 1);
  EXPECT_EQ(sndLibrarySize(), library + 1) << "one chime plays";
  click(213, 715);  // running: no second firing, no second chime
  EXPECT_EQ(sndLibrarySize(), library + 1);
}
