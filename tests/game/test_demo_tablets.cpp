// The upgrade tablets of the demo's upgradable buildings, on the demo levels themselves: each
// stands where its level puts it, above the building, and shows the building's level (the barn's,
// its workers but the first); on level 2 the ore pit's tablet refuses while the pit is only a
// site, then, once the way is cleared and the pit built, its click raises the pit to the next
// level, the number follows and the trumpets sound with their effect.
#include <gtest/gtest.h>

#include <string>

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game/core/level_context.h"
#include "game/core/map.h"
#include "game/core/player_stock.h"
#include "game/core/workers.h"
#include "game/interface/icon_upgrade.h"
#include "game/objects/building.h"
#include "game/rules/task_container.h"
#include "demo_copy_util.h"
#include "game_test_util.h"
#include "support/game_harness.h"

using Game::Event;
using Map::BuildingState;
using testkit::GameHarness;

namespace {
struct DemoTablets : gametest::DemoCopySlate {
  const char* CopyName() const override { return "demo_tablets"; }
};

Map::cBuilding* building(GameHarness& h, const char* tag) {
  return dynamic_cast<Map::cBuilding*>(h.map().FindByTag(NameHash(tag)));
}

Icon::cUpgradeLevel* tabletOf(GameHarness& h, const Map::cObject& b) {
  return dynamic_cast<Icon::cUpgradeLevel*>(b.FindChild(h.map(), "upgradeLevel"));
}

bool taskDone(const char* name) {
  const Task::cLevelTaskContainer* goals = Game::levelContext()->goals.get();
  for (size_t i = 0; goals && i < goals->Count(); ++i)
    if (goals->At(i)->name() == name) return goals->At(i)->completed();
  return false;
}

using gametest::runUntil;
}  // namespace

TEST_F(DemoTablets, EachUpgradableBuildingCarriesItsTabletWhereItsLevelSays) {
  // Level, tag, and the tablet's offset from the building: as the level files give it, else (the
  // barn of level 1) as data/buildings/icons.ini does.
  struct Case {
    int level;
    const char* tag;
    int dy;
    bool forBarn;
  };
  for (const Case& c : {Case{1, "Granary", -160, false}, Case{2, "OreGenerator1", -96, false}, Case{3, "Barn", -180, true},
                        Case{1, "Barn", -170, true}}) {
    SCOPED_TRACE(std::string(c.tag) + " of level " + std::to_string(c.level));
    GameHarness h;
    ASSERT_TRUE(h.Load(c.level));
    h.Advance(4);
    Map::cBuilding* b = building(h, c.tag);
    ASSERT_NE(b, nullptr);
    Icon::cUpgradeLevel* t = tabletOf(h, *b);
    ASSERT_NE(t, nullptr) << "data/buildings/icons.ini gives it an upgrade tablet";
    EXPECT_EQ(bool(t->isForBarn), c.forBarn) << "the key of its own class, read from the child script";
    EXPECT_EQ(int(t->x), int(b->x));
    EXPECT_EQ(int(t->y), int(b->y) + c.dy);
    EXPECT_FALSE(t->Has(Map::kFlagHidden));
    EXPECT_TRUE(t->Has(Map::kFlagClickable));
    EXPECT_TRUE(t->Anim(0).IsValid()) << "the tablet's picture";
    // Nothing is upgraded yet; the barn's tablet counts the workers beyond the first, and follows
    // them when one more comes.
    if (!c.forBarn) {
      EXPECT_EQ(t->Number(), 0);
      continue;
    }
    const int workers = h.workers().CountKind(0);
    ASSERT_GE(workers, 1);
    EXPECT_EQ(t->Number(), workers - 1);
    ASSERT_TRUE(h.workers().CreatePerson({180, 640}, "Worker", -1));
    h.Advance(1);
    EXPECT_EQ(t->Number(), workers);
  }
}

TEST_F(DemoTablets, OnLevelTwoTheTabletRaisesTheOrePitOnceItStands) {
  GameHarness h;
  ASSERT_TRUE(h.Load(2));
  h.Advance(40);
  h.Action(1);
  Map::cBuilding* pit = building(h, "OreGenerator1");
  ASSERT_NE(pit, nullptr);
  Icon::cUpgradeLevel* tablet = tabletOf(h, *pit);
  auto* trumpets = dynamic_cast<Icon::cUpgradeTrumpets*>(pit->FindChild(h.map(), "UpgradeTrumpets"));
  ASSERT_TRUE(tablet && trumpets);
  ASSERT_EQ(pit->State(), BuildingState::NotBuilt);

  // A site has no level to raise: the click is not taken and nothing is paid.
  const int32_t food = h.stock().Amount(Game::kFood);
  h.ClearEvents();
  h.Action(2, tablet->id);
  EXPECT_FALSE(tablet->TakeOrdered());
  EXPECT_EQ(h.CountOf(Event::UpgradeOrdered), 0);
  EXPECT_EQ(h.stock().Amount(Game::kFood), food);

  // The way to the pit: the bridge, then the three stones in the gap behind it (with food enough
  // for all of it); then the pit is built.
  h.stock().AddResource(Game::kFood, 30, false);
  Map::cObject* bridge = h.map().FindByTag(NameHash("Bridge1_Top1"));
  ASSERT_NE(bridge, nullptr);
  h.Action(2, bridge->id);
  ASSERT_TRUE(runUntil(h, [&] { return taskDone("RepairBridge"); }, 4000));
  for (const char* tag : {"Stone1", "Stone2", "Stone3"}) {
    Map::cObject* o = h.map().FindByTag(NameHash(tag));
    ASSERT_NE(o, nullptr) << tag;
    h.Action(2, o->id);
  }
  ASSERT_TRUE(runUntil(h, [&] { return pit->HasPathForPersons(); }, 6000)) << "the stones are cleared";
  h.Action(2, pit->id);
  ASSERT_TRUE(runUntil(h, [&] { return pit->State() == BuildingState::Built && pit->JoyFinished(); }, 4000));
  EXPECT_EQ(trumpets->Plays(), 1) << "the trumpets sounded once the pit stood";
  EXPECT_EQ(tablet->Number(), 0);

  // The first upgrade costs 10 Food and 4 Ore (the level's own prices).
  h.stock().AddResource(Game::kFood, 20, false);
  h.stock().AddResource(Game::kOre, 10, false);
  ASSERT_TRUE(runUntil(h, [&] { return h.workers().CountFree(0, true) >= 1; }, 4000));
  const int32_t foodBefore = h.stock().Amount(Game::kFood), oreBefore = h.stock().Amount(Game::kOre);
  h.ClearEvents();
  h.Action(2, tablet->id);
  EXPECT_TRUE(tablet->TakeOrdered());
  EXPECT_EQ(h.CountOf(Event::UpgradeOrdered), 1);
  EXPECT_EQ(h.stock().Amount(Game::kFood), foodBefore - 10);
  EXPECT_EQ(h.stock().Amount(Game::kOre), oreBefore - 4);
  ASSERT_TRUE(runUntil(h, [&] { return pit->upgradeLevel == 1; }, 4000));
  EXPECT_EQ(tablet->Number(), 1) << "the tablet follows the level reached";
  EXPECT_EQ(trumpets->Plays(), 2);
  const std::string gerr = gametest::gerrText();
  EXPECT_EQ(gerr.find("UpgradeTrumpets"), std::string::npos) << "the effect is in the catalogue: " << gerr;
  EXPECT_EQ(gerr.find("trumpet_blast"), std::string::npos) << gerr;
}
