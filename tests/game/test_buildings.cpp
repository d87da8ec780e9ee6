// Buildings in a headless level: a site built by a worker from the order to the joy, a building
// upgraded to its maximum and then only sounding on a click, broken by event 134 and repaired, each
// with its events in order; a load in every state told silently; the upgrade refusals (104, 102);
// the display name with and without its level; the wipe and pulse geometry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game/objects/building.h"
#include "game_test_util.h"
#include "worker_level_util.h"
#include "support/game_harness.h"

using Game::Event;
using Map::BuildingState;
using Map::cBuilding;
using testkit::GameHarness;

namespace {
struct Buildings : gametest::LevelSlate {
  void SetUp() override {
    gametest::LevelSlate::SetUp();
    gametest::writeFile("data/translation.ini", "[Text]\n#GRANARY=Granary\n#COTTAGE=Cottage\n");
    gametest::writeFile("data/buildings/sounds.ini", "[Granary]\nsound0=hammer\nphase0=0\n");
    std::filesystem::remove("data/buildings/buildings.ini");  // only the test that plays scripts has one
  }
};

const char* kBarn = "[Barn]\ntype=building\nsubType=barn\nx=100\ny=400\nboundXS=30\nboundYS=30\n";
// A site: Build costs 10 Food and 5 Ore and takes 1000 ms.
const char* kCottage =
    "[Cottage]\ntype=building\nsubType=Cottage\nx=400\ny=400\nboundXS=30\nboundYS=30\nstate=1\n"
    "isFogArea=1\nfogAreaRadius=60\n"
    "upgradeLevelMax=1\nname=#COTTAGE\nPerson_Build_Time=1000\nPerson_Build_Time_Food=10\n"
    "Person_Build_Time_Ore=5\n";
// A standing building with two upgrades (5 Food, then 8 Food) that can break (repair: 2 Ore).
std::string granary(const std::string& extra = "", const char* upgradeFood = "5") {
  return std::string("[Granary]\ntype=building\nsubType=Granary\nx=400\ny=250\nboundXS=30\nboundYS=30\n"
                     "upgradeLevelMax=2\nisBreak=1\nname=#GRANARY\nPerson_Uprade_Time=1000\n"
                     "Person_Uprade_Time_Food=") +
         upgradeFood +
         "\nPerson_Uprade2_Time=1000\nPerson_Uprade2_Time_Food=8\nPerson_Repair_Time=1000\n"
         "Person_Repair_Time_Ore=2\n" +
         extra;
}

// Food 50, Ore 20; one worker made at the barn; the level ready for orders.
bool start(GameHarness& h, int n, const std::string& map, const std::string& test = "",
           const std::vector<std::string>& grid = {}) {
  testkit::LevelFiles f;
  f.balance = "[Main]\ntLevelTime=1000000\nMinuteTime=60000\n[Resources]\nWorker=0\nFood=50\nOre=20\n"
              "[ResourcesMax]\nFood=100\nOre=100\nGold=100\n[ResourceHarvest]\nFood=1\nOre=1\nGold=1\n";
  f.map = map;
  f.test = test;
  f.grid = grid;
  return gametest::startWithWorker(h, n, f);
}

cBuilding* building(GameHarness& h, const char* name) {
  return dynamic_cast<cBuilding*>(h.map().FindByTag(NameHash(name)));
}

using gametest::runUntil;

// The building's own gameplay events, in the order they were posted.
std::vector<int> buildingEvents(const GameHarness& h, int32_t id) {
  static const int kCodes[] = {27, 28, 29, 30, 32, 49, 102, 104};
  std::vector<int> out;
  for (const GameEvent& e : h.events())
    if (e.objectId == id && std::find(std::begin(kCodes), std::end(kCodes), e.code) != std::end(kCodes))
      out.push_back(e.code);
  return out;
}

int food(GameHarness& h) { return h.stock().Amount(Game::kFood); }
int ore(GameHarness& h) { return h.stock().Amount(Game::kOre); }
}  // namespace

// ---- Building, upgrading, breaking and repairing -------------------------------------------------

TEST_F(Buildings, ASiteIsBuiltFromTheOrderToTheJoy) {
  GameHarness h;
  ASSERT_TRUE(start(h, 170, std::string(kBarn) + kCottage));
  cBuilding* site = building(h, "Cottage");
  ASSERT_NE(site, nullptr);
  EXPECT_EQ(site->State(), BuildingState::NotBuilt);
  EXPECT_EQ(site->currentAnimation, cBuilding::kSlotSite);
  EXPECT_TRUE(site->HasOperationOffer());
  EXPECT_EQ(site->GetStateCaption(), "#OBJECT_HINT_NOTBUILD");
  std::string gain, cost, next;
  site->GetOfferLabels(gain, cost, next);
  EXPECT_EQ(cost, "#OBJECT_HINT_BUILD");
  EXPECT_EQ(site->GetDisplayName(), u"Cottage");  // a site has no level yet
  h.ClearEvents();

  h.Action(2, site->id);
  EXPECT_EQ(food(h), 40);
  EXPECT_EQ(ore(h), 15);
  ASSERT_TRUE(runUntil(h, [&] { return site->State() == BuildingState::UnderConstruction; }));
  EXPECT_EQ(site->GetStatusText(), "#OBJECT_HINT_BUILDING");
  const GameEvent* progress = h.Last(Event::OperationProgress);
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(progress->value, 1000);  // the Build duration
  EXPECT_EQ(h.CountOf(Event::BuildingWorkFinished), 0);

  ASSERT_TRUE(runUntil(h, [&] { return site->State() == BuildingState::BuildDone; }, 60));
  const GameEvent* built = h.Last(Event::BuildingWorkFinished);
  ASSERT_NE(built, nullptr);
  EXPECT_EQ(built->value, 0);  // the player's work: not silent
  EXPECT_EQ(built->x, 400);
  EXPECT_EQ(h.CountOf(Event::FogAreaOpens), 1);  // the new building's own area
  EXPECT_TRUE(site->joyStarted);
  EXPECT_EQ(site->GetDisplayName(), u"Cottage 1");

  // The joy lasts 2000 ms, then the building stands idle.
  h.Advance(70);
  EXPECT_EQ(site->State(), BuildingState::BuildDone);
  ASSERT_TRUE(runUntil(h, [&] { return site->State() == BuildingState::Built; }, 20));
  EXPECT_TRUE(site->IsIdleAfterJoy());
  EXPECT_EQ(site->currentAnimation, cBuilding::kSlotBuilt);
  EXPECT_EQ(buildingEvents(h, site->id), (std::vector<int>{49, 30}));
  EXPECT_EQ(food(h), 40);  // paid once
  EXPECT_EQ(ore(h), 15);
}

TEST_F(Buildings, UpgradedToItsMaximumThenAClickOnlySoundsIt) {
  GameHarness h;
  ASSERT_TRUE(start(h, 171, std::string(kBarn) + granary()));
  cBuilding* g = building(h, "Granary");
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->GetDisplayName(), u"Granary 1");
  EXPECT_TRUE(g->CanUpgrade(true));
  h.ClearEvents();

  for (int level = 1; level <= 2; ++level) {
    h.Action(2, g->id);
    ASSERT_EQ(g->operation.kind, level == 1 ? Map::OperationKind::Upgrade : Map::OperationKind::Upgrade2);
    ASSERT_TRUE(runUntil(h, [&] { return g->State() == BuildingState::Upgrading; }));
    EXPECT_EQ(g->GetStatusText(), "#OBJECT_HINT_UPGRADING");
    ASSERT_TRUE(runUntil(h, [&] { return g->State() == BuildingState::UpgradeDone; }, 60));
    EXPECT_EQ(g->upgradeLevel, level);
    const GameEvent* reached = h.Last(Event::BuildingLevelReached);
    ASSERT_NE(reached, nullptr);
    EXPECT_EQ(reached->value, 0);
    EXPECT_EQ(reached->value2, level);
    ASSERT_TRUE(runUntil(h, [&] { return g->State() == BuildingState::Built; }, 100));
    // The worker walks home before the next order.
    ASSERT_TRUE(runUntil(h, [&] { return h.workers().CountFree(0, true) == 1; }, 800));
  }
  EXPECT_EQ(buildingEvents(h, g->id), (std::vector<int>{28, 49, 29, 28, 49, 29}));
  EXPECT_EQ(food(h), 50 - 5 - 8);
  EXPECT_EQ(g->GetDisplayName(), u"Granary 3");
  EXPECT_FALSE(g->CanUpgrade(false));
  EXPECT_FALSE(g->HasOperationOffer());
  std::string gain, cost, next;
  g->GetOfferLabels(gain, cost, next);
  EXPECT_EQ(cost, "");

  // Fully upgraded: a click orders nothing, refuses nothing and plays the work sound once.
  int sounds = 0;
  g->workSound.SetPlayListener([&](const char* s) { sounds += std::string(s) == "hammer"; });
  h.ClearEvents();
  const int refused = g->ordersRefused;
  h.Action(2, g->id);
  h.Advance(10);
  EXPECT_EQ(sounds, 1);
  EXPECT_EQ(g->operation.state, Map::OperationState::Idle);
  EXPECT_EQ(g->ordersRefused, refused);
  EXPECT_EQ(buildingEvents(h, g->id), std::vector<int>{});
  EXPECT_EQ(h.CountOf(Event::NotEnoughResources), 0);
  EXPECT_EQ(food(h), 37);
}

TEST_F(Buildings, BrokenByEvent134AndRepaired) {
  GameHarness h;
  ASSERT_TRUE(start(h, 172, std::string(kBarn) + granary("upgradeLevel=1\n") +
                                "[Shed]\ntype=building\nsubType=Shed\nx=700\ny=400\nupgradeLevelMax=1\n"));
  cBuilding* g = building(h, "Granary");
  cBuilding* shed = building(h, "Shed");
  ASSERT_TRUE(g && shed);
  EXPECT_EQ(g->GetDisplayName(), u"Granary 2");
  h.ClearEvents();

  GameEvent e;
  MakeEvent(e, Event::WitchNamesObject);
  e.objectId = shed->id;  // a building without "isBreak" stands
  Post(Game::eventDispatcher(), e);
  EXPECT_EQ(shed->State(), BuildingState::Built);
  e.objectId = shed->id;  // a falling rock names the building it belongs to by its tag
  e.tag = int32_t(NameHash("Granary"));
  Post(Game::eventDispatcher(), e);
  ASSERT_EQ(g->State(), BuildingState::Broken);
  EXPECT_EQ(shed->State(), BuildingState::Built);
  EXPECT_EQ(g->currentAnimation, cBuilding::kSlotBroken);
  EXPECT_EQ(g->GetDisplayName(), u"Granary");
  EXPECT_EQ(g->GetStateCaption(), "#OBJECT_HINT_BROKEN");
  EXPECT_FALSE(g->CanUpgrade(false));
  const GameEvent* broke = h.Last(Event::ObjectBroke);
  ASSERT_NE(broke, nullptr);
  EXPECT_EQ(broke->value, 0);
  EXPECT_EQ(broke->y, 250);
  // A broken building is not broken again.
  Post(Game::eventDispatcher(), e);
  EXPECT_EQ(h.CountOf(Event::ObjectBroke), 1);

  h.Action(2, g->id);
  EXPECT_EQ(g->operation.kind, Map::OperationKind::Repair);
  EXPECT_EQ(ore(h), 18);
  EXPECT_EQ(food(h), 50);
  ASSERT_TRUE(runUntil(h, [&] { return g->State() == BuildingState::Repairing; }));
  EXPECT_EQ(g->GetStatusText(), "#OBJECT_HINT_REPAIR");
  ASSERT_TRUE(runUntil(h, [&] { return g->State() == BuildingState::Built; }, 60));
  EXPECT_EQ(g->upgradeLevel, 1);  // a repair keeps the level
  EXPECT_EQ(g->GetDisplayName(), u"Granary 2");
  EXPECT_EQ(buildingEvents(h, g->id), (std::vector<int>{32, 49, 27}));

  // While an upgrade is on its way the building cannot break.
  ASSERT_TRUE(runUntil(h, [&] { return h.workers().CountFree(0, true) == 1; }, 800));
  h.Action(2, g->id);
  ASSERT_EQ(g->operation.state, Map::OperationState::Ordered);
  EXPECT_FALSE(g->CanBreak());
  Post(Game::eventDispatcher(), e);
  EXPECT_EQ(h.CountOf(Event::ObjectBroke), 1);
}

TEST_F(Buildings, CancelledWorkLeavesTheBuildingAsItWasAndRefunds) {
  GameHarness h;
  ASSERT_TRUE(start(h, 173, std::string(kBarn) + kCottage));
  cBuilding* site = building(h, "Cottage");
  h.ClearEvents();
  h.Action(2, site->id);
  ASSERT_TRUE(runUntil(h, [&] { return site->State() == BuildingState::UnderConstruction; }));
  site->CancelOperation();
  EXPECT_EQ(site->State(), BuildingState::NotBuilt);
  EXPECT_EQ(site->currentAnimation, cBuilding::kSlotSite);
  EXPECT_EQ(food(h), 50);
  EXPECT_EQ(ore(h), 20);
  h.Advance(100);
  EXPECT_EQ(site->State(), BuildingState::NotBuilt);
  EXPECT_EQ(h.CountOf(Event::BuildingWorkFinished), 0);
}

TEST_F(Buildings, APersonComingHomeToItsBuildingGoesIn) {
  GameHarness h;
  ASSERT_TRUE(start(h, 178, std::string(kBarn) + granary()));
  cBuilding* g = building(h, "Granary");
  Map::cPerson* p = h.workers().CreatePerson({420, 260}, "Worker", g->id);
  ASSERT_NE(p, nullptr);
  p->SetHidden(false);
  p->atHome = 0;
  p->state = Map::PersonState::Standing;  // not free yet: only the house itself takes it in
  GameEvent e;
  MakeEvent(e, Event::PersonArrived);
  e.objectId = p->id;
  e.otherId = g->id;
  Post(Game::eventDispatcher(), e);
  EXPECT_TRUE(p->atHome);
  EXPECT_TRUE(p->Has(Map::kFlagHidden));
  // Someone else's arrival there changes nothing for this person's neighbour.
  Map::cPerson* visitor = h.workers().CreatePerson({420, 260}, "Worker", -1);
  visitor->SetHidden(false);
  visitor->atHome = 0;
  visitor->state = Map::PersonState::Standing;
  e.objectId = visitor->id;
  Post(Game::eventDispatcher(), e);
  EXPECT_FALSE(visitor->atHome);
  EXPECT_FALSE(visitor->Has(Map::kFlagHidden));
}

TEST_F(Buildings, TheWorkAnimationStopsWhenEveryoneGathers) {
  gametest::writeFile("data/buildings/buildings.ini", "[Granary]\nanimScript=data/bscript.ini\n");
  gametest::writeFile("data/bscript.ini",
                      "[Idle]\nperiod=1000\nisCycle=1\n1=Layer\n[WorkerOperation]\nperiod=1000\nisCycle=1\n1=Layer\n"
                      "[Layer]\nanim=nothing\n");
  GameHarness h;
  ASSERT_TRUE(start(h, 179, std::string(kBarn) + granary()));
  cBuilding* g = building(h, "Granary");
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->animScript, "data/bscript.ini");
  EXPECT_TRUE(g->PlayerAt(cBuilding::kWorkerOperation).IsPlaying());
  EXPECT_TRUE(g->PlayerAt(cBuilding::kIdle).IsPlaying());
  EXPECT_FALSE(g->PlayerAt(cBuilding::kWorkerJoy).IsPlaying());  // the script has no joy: nothing plays
  GameEvent e;
  MakeEvent(e, Event::EvilSmokeFinished);
  e.tag = int32_t(NameHash("Barn"));
  Post(Game::eventDispatcher(), e);
  EXPECT_FALSE(g->PlayerAt(cBuilding::kWorkerOperation).IsPlaying());
  EXPECT_TRUE(g->PlayerAt(cBuilding::kWorkerOperation).HasState("WorkerOperation"));  // ready to play again
  EXPECT_TRUE(g->PlayerAt(cBuilding::kIdle).IsPlaying());
}

// ---- Refusals --------------------------------------------------------------------------------------

TEST_F(Buildings, AnUpgradeThePlayerCannotAffordPosts104AndAnUnreachableOne102) {
  GameHarness h;
  // The granary's upgrade costs 80 Food; the stone house stands inside a wall no one can pass.
  std::vector<std::string> grid(20, std::string(103, '.'));
  for (int c = 85; c <= 95; ++c) grid[5][size_t(c)] = grid[15][size_t(c)] = '#';
  for (int r = 5; r <= 15; ++r) grid[size_t(r)][85] = grid[size_t(r)][95] = '#';
  ASSERT_TRUE(start(h, 174,
                    std::string(kBarn) + granary("", "80") +
                        "[Stone]\ntype=building\nsubType=Stone\nx=900\ny=100\nupgradeLevelMax=1\n"
                        "Person_Uprade_Time=1000\nPerson_Uprade_Time_Food=500\n",
                    "", grid));
  cBuilding* g = building(h, "Granary");
  cBuilding* stone = building(h, "Stone");
  ASSERT_TRUE(g && stone);
  h.ClearEvents();

  h.Action(2, g->id);
  EXPECT_EQ(buildingEvents(h, g->id), std::vector<int>{104});
  EXPECT_EQ(g->operation.state, Map::OperationState::Idle);
  EXPECT_EQ(g->State(), BuildingState::Built);
  EXPECT_EQ(food(h), 50);
  EXPECT_EQ(g->ordersRefused, 1);
  EXPECT_TRUE(g->selected);
  EXPECT_EQ(g->GetStatusText(), "#OBJECT_HINT_CANT_UPGRADE");
  EXPECT_EQ(g->UpgradeRefusalText(), u"Not enough resources for the next upgrade");
  // The upgrade icon greys itself while the next upgrade is out of reach (no icon here: no crash).
  g->RefreshOfferIcons();

  h.ClearEvents();
  EXPECT_FALSE(stone->ClickUpgradeTablet());
  EXPECT_EQ(buildingEvents(h, stone->id), std::vector<int>{102});
  EXPECT_EQ(stone->operation.state, Map::OperationState::Idle);
  EXPECT_EQ(food(h), 50);
}

// ---- Loading -----------------------------------------------------------------------------------

TEST_F(Buildings, ALoadInEveryStateIsSilentInBothMapForms) {
  struct Case {
    const char* name;
    int state, level;
    BuildingState expected;  // after loading and a few steps
  };
  const Case cases[] = {{"B0", 0, 1, BuildingState::Built},    {"B1", 1, 0, BuildingState::NotBuilt},
                        {"B2", 2, 0, BuildingState::NotBuilt}, {"B3", 3, 1, BuildingState::Built},
                        {"B4", 4, 1, BuildingState::Broken},   {"B5", 5, 0, BuildingState::Broken},
                        {"B10", 10, 2, BuildingState::Built},  {"B11", 11, 0, BuildingState::Built},
                        {"B14", 14, 0, BuildingState::Built}};
  std::string map = kBarn;
  int x = 200;
  for (const Case& c : cases) {
    map += std::string("[") + c.name + "]\ntype=building\nsubType=House\nx=" + std::to_string(x) +
           "\ny=200\nisBreak=1\nupgradeLevelMax=2\nisFogArea=1\nfogAreaRadius=40\nstate=" + std::to_string(c.state) +
           "\nupgradeLevel=" + std::to_string(c.level) + "\n";
    x += 80;
  }
  for (bool binary : {true, false}) {
    SCOPED_TRACE(binary ? "map.bin" : "map.ini");
    GameHarness h;
    ASSERT_TRUE(start(h, 175, map, binary ? "" : "[main]\nGame_No_Binary_Load=1\n"));
    h.Advance(5);
    for (const GameEvent& e : h.events()) {
      const bool gameplay = e.code == 27 || e.code == 29 || e.code == 30 || e.code == 32;
      EXPECT_FALSE(gameplay && e.value == 0) << "event " << e.code << " about object " << e.objectId;
      EXPECT_NE(e.code, 28);
      EXPECT_NE(e.code, 49);
    }
    for (const Case& c : cases) {
      cBuilding* b = building(h, c.name);
      ASSERT_NE(b, nullptr) << c.name;
      EXPECT_EQ(b->State(), c.expected) << c.name;
      EXPECT_EQ(b->upgradeLevel, c.level) << c.name << ": no second upgrade";
      EXPECT_FALSE(b->EntryPending());
    }
    // Each level reached before play is told once, silently; a standing building says it stands.
    int reached = 0, standing = 0;
    for (const GameEvent& e : h.events()) {
      if (e.code == 29 && e.objectId == building(h, "B10")->id) ++reached;
      if (e.code == 30 && e.objectId == building(h, "B0")->id) ++standing;
    }
    EXPECT_EQ(reached, 2);
    EXPECT_EQ(standing, 1);
    EXPECT_EQ(building(h, "B4")->currentAnimation, cBuilding::kSlotBroken);
    // Fog areas stay for the level's start to open.
    EXPECT_TRUE(building(h, "B0")->Has(Map::kFlagFogArea));
    EXPECT_EQ(h.CountOf(Event::FogAreaOpens), 0);
    const std::string gerr = testkit::ReadErrorLog();
    EXPECT_NE(gerr.find("Building \"B2\": state 2 has no work behind it after loading; read as 1"), std::string::npos)
        << gerr;
    EXPECT_NE(gerr.find("Building \"B5\": state 5"), std::string::npos);
    EXPECT_EQ(gerr.find("\"B14\""), std::string::npos);  // 14 is a standing building, no fault
    gametest::clearGerr();
  }
}

// ---- Names, icons and geometry -----------------------------------------------------------------

TEST_F(Buildings, ChildIconsFollowTheStateAndGreyWhenThePlayerCannotPay) {
  std::string kids = "[Granary]\nisList=1\n";
  const char* subtypes[] = {"brokenicon", "upgradeicon", "hint", "focusMarker", "UpgradeTrumpets", "upgradeHint"};
  for (int i = 0; i < 6; ++i) kids += std::to_string(i + 1) + "=K" + subtypes[i] + "\n";
  for (const char* k : subtypes) kids += std::string("[K") + k + "]\ntype=icon\nsubType=" + k + "\ny=-40\n";
  gametest::writeFile("data/bkids.ini", kids);
  GameHarness h;
  // The first upgrade costs 60 Food: more than the 50 in stock.
  ASSERT_TRUE(start(h, 177, std::string(kBarn) + granary("childScript=data/bkids.ini\n", "60")));
  cBuilding* g = building(h, "Granary");
  ASSERT_NE(g, nullptr);
  auto child = [&](const char* subtype) { return g->FindChild(h.map(), subtype); };
  for (const char* k : subtypes) ASSERT_NE(child(k), nullptr) << k;
  auto shown = [&](const char* subtype) { return !child(subtype)->Has(Map::kFlagHidden); };
  EXPECT_TRUE(shown("upgradeicon"));
  EXPECT_FALSE(shown("brokenicon"));
  EXPECT_FALSE(shown("hint"));
  EXPECT_FALSE(shown("UpgradeTrumpets"));
  EXPECT_TRUE(shown("focusMarker"));  // an upgrade is on offer
  EXPECT_EQ(child("upgradeicon")->drawParams.argb, 0xFF808080u);
  // A child cloned into the level arena is not given back to the heap when the level ends.
  EXPECT_FALSE(child("upgradeHint")->Has(Map::kFlagFreeOnRemove));
  EXPECT_TRUE(child("upgradeHint")->Has(Map::kFlagDestroyOnRemove));

  h.stock().AddResource(Game::kFood, 20, false);  // 70: the icon is told through event 72
  EXPECT_EQ(child("upgradeicon")->drawParams.argb, 0xFFFFFFFFu);

  GameEvent e;
  MakeEvent(e, Event::WitchNamesObject);
  e.objectId = g->id;
  Post(Game::eventDispatcher(), e);
  EXPECT_TRUE(shown("brokenicon"));
  EXPECT_FALSE(shown("upgradeicon"));
  EXPECT_EQ(child("brokenicon")->drawParams.argb, 0xFFFFFFFFu);  // the repair's 2 Ore are there
  h.Action(2, g->id);
  ASSERT_TRUE(runUntil(h, [&] { return g->State() == BuildingState::Repairing; }));
  EXPECT_FALSE(shown("brokenicon"));
  ASSERT_TRUE(runUntil(h, [&] { return g->State() == BuildingState::Built; }, 60));
  EXPECT_TRUE(shown("UpgradeTrumpets"));
  EXPECT_TRUE(shown("upgradeicon"));
  h.Advance(81);  // the trumpets sound for 2000 ms
  EXPECT_FALSE(shown("UpgradeTrumpets"));
}

TEST_F(Buildings, DisplayNameCarriesTheLevelOnlyWhereALevelMeansSomething) {
  GameHarness h;
  ASSERT_TRUE(start(h, 176,
                    std::string(kBarn) + granary("upgradeLevel=2\n") +
                        "[Plain]\ntype=building\nsubType=Granary\nx=600\ny=100\nname=#GRANARY\n"
                        "[Site]\ntype=building\nsubType=Granary\nx=700\ny=100\nname=#GRANARY\nstate=1\n"
                        "upgradeLevelMax=3\n"));
  EXPECT_EQ(building(h, "Granary")->GetDisplayName(), u"Granary 3");
  EXPECT_EQ(building(h, "Plain")->GetDisplayName(), u"Granary");  // cannot be upgraded
  EXPECT_EQ(building(h, "Site")->GetDisplayName(), u"Granary");   // not built yet
}

TEST_F(Buildings, WipeAndPulseGeometry) {
  // A quarter done: 45 of the 60 rows of the "before" picture from the top, and the last 20 of the
  // finished picture's 80 rows at its bottom, both centred on (100, 200).
  const Map::WipeLayout w = Map::buildingWipeLayout(100, 200, 0.25f, 40, 60, 50, 80);
  EXPECT_FLOAT_EQ(w.before.x, 80);
  EXPECT_FLOAT_EQ(w.before.y, 170);
  EXPECT_FLOAT_EQ(w.before.h, 45);
  EXPECT_FLOAT_EQ(w.before.srcY, 0);
  EXPECT_FLOAT_EQ(w.after.x, 75);
  EXPECT_FLOAT_EQ(w.after.y, 220);
  EXPECT_FLOAT_EQ(w.after.h, 20);
  EXPECT_FLOAT_EQ(w.after.srcY, 60);
  EXPECT_FLOAT_EQ(w.after.y + w.after.h, 240);  // the bottom edge of the finished picture
  const Map::WipeLayout done = Map::buildingWipeLayout(0, 0, 1.7f, 10, 10, 10, 10);
  EXPECT_FLOAT_EQ(done.before.h, 0);
  EXPECT_FLOAT_EQ(done.after.h, 10);

  Map::UpgradePulse p;
  EXPECT_FLOAT_EQ(p.Scale(), 1.0f);  // the start phase is below the horizon: no growth
  p.Restart();
  p.Advance(250);  // -pi/3 + 250 x pi/300 = pi/2: the peak
  EXPECT_NEAR(p.phase, 1.5707963f, 1e-4f);
  EXPECT_NEAR(p.Scale(), 1.05f, 1e-4f);
  p.Advance(350);  // 600 ms: the pulse starts over
  EXPECT_NEAR(p.phase, Map::UpgradePulse::kStart, 1e-4f);
}
