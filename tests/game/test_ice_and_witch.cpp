// The winter ice and the witch of the forty-seventh level in a headless level: the ice broken in two
// stages and uncharmed with a heart brought from home, the witch driven off by two persons in turn,
// both records equal from map.ini and map.bin, and an emptied mine that stays on the map withdrawn.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "game/objects/building_mine.h"
#include "game/objects/object_level.h"
#include "game/objects/obstacle_ice.h"
#include "obstacle_levels.h"

using Game::Event;
using Map::cWinterIce;
using Map::cWitch_47lvl;
using Map::OperationState;
using testkit::GameHarness;

namespace {
struct IceAndWitch : obstest::Level {};

bool cellBlockedByObject(GameHarness& h, int px, int py) {
  return (h.path().Flags(px / 10, py / 10) & kPathObjectBit) != 0;
}

bool until(GameHarness& h, const std::function<bool()>& done) { return gametest::runUntil(h, done); }

void deliverHeart() {
  GameEvent e;
  MakeEvent(e, Event::HeartDelivered);
  Map::objPost(e);
}
}  // namespace

TEST_F(IceAndWitch, TheIceBreaksInTwoStagesAndTheGirlIsUncharmedWithAHeartFromHome) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 247,
                            "[Ice]\ntype=WinterIce\nx=300\ny=200\nboundXS=20\nboundYS=20\nsupportY=30\n"
                            "isObstacle=1\nobstacleXS=10\nobstacleYS=10\nPerson_Repair_Time=300\n"
                            "Person_Repair_Time_Food=2\nPerson_Get_Resource_Time=300\n",
                            obstest::balance(1, 10, 0, 0)));
  auto* ice = obstest::byName<cWinterIce>(h, "Ice");
  ASSERT_NE(ice, nullptr);
  EXPECT_EQ(ice->state, cWinterIce::kWhole);
  EXPECT_FALSE(ice->NeedsCarriedItem());
  EXPECT_TRUE(cellBlockedByObject(h, 300, 200));

  // First stage: a paid Repair, then the crack settles before the next order is taken.
  h.ClearEvents();
  h.Action(2, ice->id);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 8);
  EXPECT_EQ(ice->operation.walkVisibleState, 2);
  EXPECT_EQ(ice->operation.workVisibleState, 9);
  EXPECT_EQ(ice->operation.homeVisibleState, 1);
  ASSERT_TRUE(until(h, [&] { return ice->state == cWinterIce::kCracking; }));
  h.Action(2, ice->id);  // nothing to order while it settles
  h.Advance(2);
  EXPECT_EQ(ice->operation.state, OperationState::Idle);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 8);
  ASSERT_TRUE(until(h, [&] { return ice->state == cWinterIce::kCracked; }));
  EXPECT_TRUE(cellBlockedByObject(h, 300, 200));

  // Second stage: the ice opens and the girl waits for a heart.
  h.Advance(200);
  h.Action(2, ice->id);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 6);
  ASSERT_TRUE(until(h, [&] { return ice->state == cWinterIce::kWaiting; }));
  EXPECT_TRUE(ice->NeedsCarriedItem());
  EXPECT_TRUE(ice->UsesOwnPersonCheck());
  EXPECT_EQ(h.CountOf(Event::WinterIceEvent), 0);

  // Without a heart at home nobody can bring one: the order is refused and costs nothing.
  h.Advance(200);
  EXPECT_FALSE(ice->HasEnoughPersons(true));
  h.Action(2, ice->id);
  h.Advance(2);
  EXPECT_EQ(ice->operation.state, OperationState::Idle);
  EXPECT_EQ(h.CountOf(Event::WinterIceEvent), 0);

  deliverHeart();
  h.Advance(1);
  EXPECT_EQ(ice->heartsAtHome, 1);
  EXPECT_TRUE(ice->HasEnoughPersons(false));
  h.ClearEvents();
  h.Action(2, ice->id);
  EXPECT_EQ(h.CountOf(Event::WinterIceEvent), 1);  // posted as the order is taken
  EXPECT_EQ(ice->operation.kind, Map::OperationKind::GetResource);
  EXPECT_EQ(ice->operation.walkVisibleState, 3);
  EXPECT_EQ(ice->operation.workVisibleState, 15);
  ASSERT_TRUE(obstest::runUntil(h, Event::WinterIceFinished));
  EXPECT_EQ(h.Last(Event::WinterIceFinished)->objectId, ice->id);
  EXPECT_EQ(ice->state, cWinterIce::kUncharmed);
  EXPECT_EQ(ice->heartsAtHome, 0);
  EXPECT_TRUE(ice->IsWithdrawn());
  EXPECT_FALSE(ice->HasOperationOffer());
  EXPECT_FALSE(cellBlockedByObject(h, 300, 200));
  EXPECT_EQ(h.CountOf(Event::WinterIceEvent), 1);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 6);
  // The level has no pictures for the later states: the ice keeps the one it has instead of
  // switching to an empty slot.
  EXPECT_EQ(ice->currentAnimation, 0);

  // A heart brought home afterwards belongs to nobody here.
  deliverHeart();
  h.Advance(1);
  EXPECT_EQ(ice->heartsAtHome, 0);
}

TEST_F(IceAndWitch, TheWitchIsDrivenOffByAFirstAndThenASecondPerson) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 248,
                            "[Witch]\ntype=Witch_47lvl\nx=300\ny=200\nboundXS=20\nboundYS=20\nsupportY=30\n"
                            "targetX=40\ntargetY=-20\nPerson_Get_Resource_Time=300\n"
                            "Person_Get_Resource_Time_Food=3\n",
                            obstest::balance(1, 10, 0, 0)));
  auto* witch = obstest::byName<cWitch_47lvl>(h, "Witch");
  ASSERT_NE(witch, nullptr);
  EXPECT_TRUE(witch->Has(Map::kFlagClickable));
  EXPECT_EQ(witch->targetX, 40);
  EXPECT_EQ(witch->targetY, -20);
  const int32_t witchId = witch->id;
  h.ClearEvents();
  h.Action(2, witchId);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 7);
  EXPECT_EQ(witch->operation.workVisibleState, 8);
  EXPECT_FALSE(witch->HasOperationOffer());  // one order drives her off; no second click

  ASSERT_TRUE(obstest::runUntil(h, Event::Witch47Event2));
  EXPECT_EQ(h.CountOf(Event::Witch47Event), 0);
  EXPECT_EQ(witch->round, 1);
  ASSERT_EQ(witch->second.persons.size(), 1u);  // the first person's record is kept
  EXPECT_EQ(witch->second.kind, Map::OperationKind::GetResource);
  const int32_t firstPerson = witch->second.persons[0];

  // The second person comes on its own record; the player paid once for both.
  ASSERT_TRUE(until(h, [&] { return witch->operation.state == OperationState::Working; }));
  EXPECT_EQ(witch->operation.persons.size(), 1u);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 7);
  ASSERT_TRUE(obstest::runUntil(h, Event::Witch47Event));
  EXPECT_EQ(h.CountOf(Event::Witch47Event2), 1);
  EXPECT_EQ(h.Last(Event::Witch47Event)->objectId, witchId);
  EXPECT_EQ(witch->second.persons[0], firstPerson);
  EXPECT_TRUE(witch->IsWithdrawn());
  h.Advance(40);
  EXPECT_EQ(h.map().FindById(witchId), nullptr);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 7);
}

TEST_F(IceAndWitch, WhenTheSecondPersonsOrderIsCalledOffThePlayerCanOrderItAgain) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 251,
                            "[Witch]\ntype=Witch_47lvl\nx=300\ny=200\nboundXS=20\nboundYS=20\nsupportY=30\n"
                            "Person_Get_Resource_Time=300\nPerson_Get_Resource_Time_Food=3\n",
                            obstest::balance(1, 10, 0, 0)));
  auto* witch = obstest::byName<cWitch_47lvl>(h, "Witch");
  ASSERT_NE(witch, nullptr);
  h.ClearEvents();
  h.Action(2, witch->id);
  ASSERT_TRUE(obstest::runUntil(h, Event::Witch47Event2));
  ASSERT_TRUE(until(h, [&] { return witch->operation.state != OperationState::Idle; }));
  EXPECT_FALSE(witch->HasOperationOffer());
  witch->CancelOperation();
  h.Advance(2);
  EXPECT_EQ(witch->round, 1);
  EXPECT_TRUE(witch->HasOperationOffer());
  EXPECT_EQ(h.stock().Amount(Game::kFood), 7);  // the free second order gives nothing back
  h.Advance(100);
  h.Action(2, witch->id);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 4);
  ASSERT_TRUE(obstest::runUntil(h, Event::Witch47Event));
  EXPECT_EQ(h.CountOf(Event::Witch47Event2), 1);
  EXPECT_EQ(witch->round, 2);
}

TEST_F(IceAndWitch, BothReadTheSameRecordFromMapIniAndMapBinAndSaveTheirIconScripts) {
  const char* kSubject = "workerType=Worker\nPerson_Repair_Time=1234\nPerson_Repair_Time_Food=6\nname=#ICE\n";
  const obstest::RecordCase cases[] = {
      {"Ice", "type=WinterIce\n"},
      {"Witch", "type=Witch_47lvl\ntargetX=-15\ntargetY=321\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section);
    EXPECT_GE(obstest::sameInBothForms(c, kSubject).extension.size(), Map::objSubjectItems());
  }
  const MapObjectRecord witchRecord = obstest::sameInBothForms(cases[1], kSubject);
  ASSERT_EQ(witchRecord.extension.size(), Map::objSubjectItems() + 2);

  GameHarness h;
  std::string map;
  for (const auto& c : cases) map += obstest::recordSection(c, kSubject);
  ASSERT_TRUE(obstest::load(h, 249, map, obstest::balance(1, 0, 0, 0)));
  auto* witch = obstest::byName<cWitch_47lvl>(h, "Witch");
  ASSERT_NE(witch, nullptr);
  EXPECT_EQ(witch->targetX, -15);
  EXPECT_EQ(witch->targetY, 321);
  auto* ice = obstest::byName<cWinterIce>(h, "Ice");
  ASSERT_NE(ice, nullptr);
  EXPECT_EQ(ice->Duration(Map::OperationKind::Repair), 1234);
  EXPECT_EQ(ice->Cost(Map::OperationKind::Repair)[Game::kFood], 6);
  const char* scripts[] = {"childScript=data/obstacles/icons.ini", "childScript=data/bonus/icons.ini"};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(cases[i].section);
    Map::cObject* o = obstest::filledAsRead(h, 249, cases[i].section);
    ASSERT_NE(o, nullptr);
    std::string saved;
    o->SaveIni(saved);
    EXPECT_NE(saved.find(scripts[i]), std::string::npos) << saved;
  }
  std::string ini;
  witch->SaveIni(ini);
  EXPECT_NE(ini.find("targetX=-15"), std::string::npos) << ini;
  EXPECT_NE(ini.find("targetY=321"), std::string::npos) << ini;
}

TEST_F(IceAndWitch, AnEmptiedMineStaysOnTheMapWithdrawnAndReportsOnce) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 250,
                            "[Mine]\ntype=building\nsubType=cBuildingMine\nx=300\ny=400\nboundXS=30\n"
                            "boundYS=30\nresource=Ore\nresourceValue=5\nresourceMax=5\n"
                            "Person_Get_Resource_Time=300\n",
                            obstest::balance(1, 0, 0, 0)));
  auto* mine = obstest::byName<Map::cBuildingMine>(h, "Mine");
  ASSERT_NE(mine, nullptr);
  const int32_t mineId = mine->id;
  h.ClearEvents();
  h.Action(2, mineId);
  // One load of 5 from a stock of 5 empties it.
  ASSERT_TRUE(obstest::runUntil(h, Event::ObjectBroke));
  EXPECT_EQ(h.Last(Event::ObjectBroke)->objectId, mineId);
  EXPECT_TRUE(mine->IsWithdrawn());
  EXPECT_EQ(mine->GetCursor(), 0);
  h.Advance(400);
  // Emptied, it is still part of the scenery: on the map, not fading, not clicked again.
  EXPECT_EQ(h.map().FindById(mineId), mine);
  EXPECT_EQ(mine->leavingPlay, 0);
  h.Action(2, mineId);
  h.Advance(40);
  EXPECT_EQ(mine->taken, 5);
  EXPECT_EQ(h.CountOf(Event::ObjectBroke), 1);
  EXPECT_EQ(h.stock().Amount(Game::kOre), 5);
}
