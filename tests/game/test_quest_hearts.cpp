// The key quest and the hearts in a headless level: where the key is found for any number of
// caves, a cave's fetch that waits until the stock can pay it, the chest refused without being
// paid, locked without the key and opened with it, the bat heart's flights, the magic cage and its
// stones, the ice heart broken and taken, the jumping heart waiting for the fog, and every record
// equal from map.ini and map.bin.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "anim/fx_simple_pyro.h"
#include "game/core/person.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"
#include "game/objects/quest_cave.h"
#include "game/objects/quest_hearts.h"
#include "game/objects/quest_register.h"
#include "game/interface/story_dialog.h"
#include "obstacle_levels.h"

using Game::Event;
using Map::cBatHeart;
using Map::cCageHeart;
using Map::cCaveWithKey;
using Map::cChestHeart;
using Map::cIceHeart;
using Map::cJumpingHeart;
using Map::OperationState;
using testkit::GameHarness;

namespace {
struct QuestHearts : obstest::Level {
  void TearDown() override {
    Map::heartSetFogQuery(nullptr);
    obstest::Level::TearDown();
  }
};

bool until(GameHarness& h, const std::function<bool()>& done, int steps = 3000) {
  return gametest::runUntil(h, done, steps);
}

bool cellBlockedByObject(GameHarness& h, int px, int py) {
  return (h.path().Flags(px / 10, py / 10) & kPathObjectBit) != 0;
}

std::string cave(const char* name, int x, int y, const std::string& more = "") {
  return std::string("[") + name + "]\ntype=heart\nsubType=cave\nx=" + std::to_string(x) + "\ny=" + std::to_string(y) +
         "\nboundXS=30\nboundYS=30\nsupportsAmount=2\nsupportY=30\nsupport1X=20\nsupport1Y=25\n"
         "isObstacle=1\nobstacleXS=10\nobstacleYS=10\nPerson_Repair_Time=400\nPerson_Get_Resource_Time=300\n" +
         more;
}

// The number of persons carrying the named item.
int carrying(GameHarness& h, const char* item) {
  int n = 0;
  const uint32_t hash = NameHash(item);
  for (size_t i = 0; i < h.map().Count(); ++i)
    if (auto* p = dynamic_cast<Map::cPerson*>(h.map().At(i)); p && p->carriedItem == hash) ++n;
  return n;
}

// Map effects of that name spawned on the level and not yet gone.
int effectsNamed(GameHarness& h, std::string_view name) {
  int n = 0;
  size_t cursor = 0;
  while (Map::cObject* o = h.map().Iterate(NameHash("fx"), 0, cursor))
    if (auto* fx = dynamic_cast<Map::cEffect*>(o); fx && fx->EffectName() == name && !fx->Has(Map::kFlagRemoved)) ++n;
  return n;
}

void post(Event code, const std::function<void(GameEvent&)>& fill) {
  GameEvent e;
  MakeEvent(e, code);
  fill(e);
  Map::objPost(e);
}
}  // namespace

// ---- Where the key is --------------------------------------------------------------------------

TEST(CaveKey, TheKeyIsNeverInTheFirstOfSeveralCavesAndTheSecondDrawDecides) {
  int draws = 0;
  auto drawOf = [&](int32_t v) {
    return [&draws, v] {
      ++draws;
      return v;
    };
  };
  // The first of several caves: no key, and nothing drawn.
  EXPECT_FALSE(Map::caveHoldsKey(0, false, false, drawOf(32767)));
  EXPECT_EQ(draws, 0);
  // The second cave: 28509 (87 of 100) or more gives the key, one below does not.
  EXPECT_TRUE(Map::caveHoldsKey(1, false, false, drawOf(28509)));
  EXPECT_FALSE(Map::caveHoldsKey(1, false, false, drawOf(28508)));
  EXPECT_EQ(draws, 2);
  // The third cave holds it when nobody found it, never when someone did.
  EXPECT_TRUE(Map::caveHoldsKey(2, false, false, drawOf(0)));
  EXPECT_FALSE(Map::caveHoldsKey(2, true, true, drawOf(0)));
  EXPECT_FALSE(Map::caveHoldsKey(1, true, false, drawOf(32767)));
  // A fourth cave that is not the last holds nothing.
  EXPECT_FALSE(Map::caveHoldsKey(3, false, false, drawOf(32767)));
}

TEST(CaveKey, TheLastCaveOfALevelHoldsTheKeyWhenNoEarlierOneDid) {
  int draws = 0;
  auto low = [&] {
    ++draws;
    return 5;
  };
  EXPECT_TRUE(Map::caveHoldsKey(0, false, true, low));  // a level with one cave
  EXPECT_EQ(draws, 0);
  EXPECT_TRUE(Map::caveHoldsKey(1, false, true, low));  // the second of two, whatever the draw
  EXPECT_EQ(draws, 1);                                  // the draw is still made (the log reads the same)
  EXPECT_TRUE(Map::caveHoldsKey(4, false, true, low));  // the fifth of five
  EXPECT_FALSE(Map::caveHoldsKey(4, true, true, low));  // found before: no second key
}

// ---- Caves in a level --------------------------------------------------------------------------

TEST_F(QuestHearts, TheOnlyCaveOfALevelIsSearchedHoldsTheKeyAndThePersonBringsItHome) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 560, cave("Cave1", 300, 300, "Person_Repair_Time_Food=2\n"), obstest::balance(1, 5, 0, 0)));
  auto* c = obstest::byName<cCaveWithKey>(h, "Cave1");
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(c->HasOperationOffer());
  EXPECT_TRUE(cellBlockedByObject(h, 300, 300));
  std::string gain, cost, next;
  c->GetOfferLabels(gain, cost, next);
  EXPECT_EQ(gain, "#OBJECT_HINT_GET");
  EXPECT_EQ(cost, "#OBJECT_HINT_SPEND");

  h.ClearEvents();
  h.Action(2, c->id);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 3);
  EXPECT_EQ(c->operation.keepPersons, 1);
  EXPECT_EQ(c->operation.workVisibleState, 10);
  // On arrival the cave tells how long the search takes.
  ASSERT_TRUE(obstest::runUntil(h, Event::OperationProgress));
  EXPECT_EQ(h.Last(Event::OperationProgress)->value, 400);
  EXPECT_EQ(h.Last(Event::OperationProgress)->objectId, c->id);
  EXPECT_EQ(h.Last(Event::OperationProgress)->otherId, c->id);

  // The search ends: the key is here, the cave no longer blocks, the persons come out at the
  // second support point and the fetch is ordered at once (it costs nothing here).
  ASSERT_TRUE(until(h, [&] { return c->searched != 0; }));
  EXPECT_EQ(c->hasKey, 1);
  EXPECT_TRUE(cCaveWithKey::LevelKeyFound());
  EXPECT_EQ(cCaveWithKey::LevelSearched(), 1);
  EXPECT_FALSE(cellBlockedByObject(h, 300, 300));
  EXPECT_EQ(c->Support(0).x, 320);
  EXPECT_EQ(c->Support(0).y, 325);
  EXPECT_NE(c->operation.state, OperationState::Idle);
  EXPECT_EQ(c->operation.kind, Map::OperationKind::GetResource);
  EXPECT_EQ(c->operation.homeVisibleState, 3);
  EXPECT_EQ(c->operation.sendHomeAfterWork, 1);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 3);

  ASSERT_TRUE(obstest::runUntil(h, Event::OperationProgress, 2));
  EXPECT_EQ(h.Last(Event::OperationProgress)->value, 300);
  EXPECT_EQ(carrying(h, "Key"), 1);
  ASSERT_TRUE(obstest::runUntil(h, Event::CaveHeldKey));
  EXPECT_EQ(h.CountOf(Event::CaveWasEmpty), 0);
  EXPECT_EQ(h.Last(Event::CaveHeldKey)->objectId, c->id);
  EXPECT_TRUE(c->IsWithdrawn());
  EXPECT_FALSE(c->Has(Map::kFlagClickable));
  // The key reaches the barn.
  ASSERT_TRUE(obstest::runUntil(h, Event::KeyDelivered));
  EXPECT_EQ(carrying(h, "Key"), 0);
}

TEST_F(QuestHearts, OfTwoCavesTheFirstIsEmptyAndTheSecondAlwaysHoldsTheKey) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 561, cave("CaveA", 300, 250) + cave("CaveB", 300, 550), obstest::balance(1, 0, 0, 0)));
  auto* a = obstest::byName<cCaveWithKey>(h, "CaveA");
  auto* b = obstest::byName<cCaveWithKey>(h, "CaveB");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  h.ClearEvents();
  h.Action(2, a->id);
  ASSERT_TRUE(obstest::runUntil(h, Event::CaveWasEmpty));
  EXPECT_EQ(a->hasKey, 0);
  EXPECT_EQ(h.Last(Event::CaveWasEmpty)->objectId, a->id);
  // An empty cave's person is not sent home for it.
  EXPECT_EQ(a->operation.sendHomeAfterWork, 0);
  EXPECT_EQ(carrying(h, "Key"), 0);
  h.Advance(100);
  h.Action(2, b->id);
  ASSERT_TRUE(obstest::runUntil(h, Event::CaveHeldKey));
  EXPECT_EQ(b->hasKey, 1);
  EXPECT_EQ(h.CountOf(Event::CaveWasEmpty), 1);
  EXPECT_EQ(cCaveWithKey::LevelSearched(), 2);
}

TEST_F(QuestHearts, OfThreeCavesOneHoldsTheKeyNeverTheFirstAndTheThirdWhenTheSecondWasEmpty) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 575, cave("CaveA", 250, 250) + cave("CaveB", 500, 250) + cave("CaveC", 750, 250),
                            obstest::balance(1, 0, 0, 0)));
  cCaveWithKey* caves[3] = {obstest::byName<cCaveWithKey>(h, "CaveA"), obstest::byName<cCaveWithKey>(h, "CaveB"),
                            obstest::byName<cCaveWithKey>(h, "CaveC")};
  for (cCaveWithKey* c : caves) ASSERT_NE(c, nullptr);
  h.ClearEvents();
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(caves[i]->name);
    h.Action(2, caves[i]->id);
    ASSERT_TRUE(until(h, [&] { return h.CountOf(Event::CaveHeldKey) + h.CountOf(Event::CaveWasEmpty) == i + 1; }));
    EXPECT_EQ(cCaveWithKey::LevelSearched(), i + 1);
  }
  EXPECT_EQ(caves[0]->hasKey, 0);
  EXPECT_EQ(h.CountOf(Event::CaveHeldKey), 1);
  EXPECT_NE(caves[1]->hasKey, caves[2]->hasKey);
  EXPECT_TRUE(cCaveWithKey::LevelKeyFound());
}

TEST_F(QuestHearts, ACaveFetchTheStockCannotPayWaitsForTheClickAndIsChargedOnce) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 562, cave("Cave1", 300, 300, "Person_Get_Resource_Time_Food=4\n"),
                            obstest::balance(1, 3, 0, 0)));
  auto* c = obstest::byName<cCaveWithKey>(h, "Cave1");
  ASSERT_NE(c, nullptr);
  h.Action(2, c->id);
  ASSERT_TRUE(until(h, [&] { return c->searched != 0; }));
  h.Advance(2);
  // Nothing was taken and nothing ordered: the cave offers the fetch and says it cannot be paid.
  EXPECT_EQ(h.stock().Amount(Game::kFood), 3);
  EXPECT_EQ(c->operation.state, OperationState::Idle);
  EXPECT_FALSE(h.queue().Contains(c->id));
  Map::ResourceVector gains{}, costs{}, next{};
  EXPECT_FALSE(c->GetOperationOffer(gains, costs, next));
  EXPECT_EQ(costs[Game::kFood], 4);
  h.Action(2, c->id);
  h.Advance(2);
  EXPECT_EQ(c->operation.state, OperationState::Idle);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 3);

  // With enough food the player's click orders the fetch, paid once.
  h.stock().AddResource(Game::kFood, 2, false);
  ASSERT_EQ(h.stock().Amount(Game::kFood), 5);
  h.Action(2, c->id);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 1);
  ASSERT_TRUE(obstest::runUntil(h, Event::CaveHeldKey));
  EXPECT_EQ(h.stock().Amount(Game::kFood), 1);
  ASSERT_TRUE(obstest::runUntil(h, Event::KeyDelivered));
}

// ---- Chest heart -------------------------------------------------------------------------------

namespace {
std::string chest(const std::string& more) {
  return "[Chest]\ntype=heart\nsubType=ChestHeart\nx=300\ny=300\nboundXS=30\nboundYS=30\nsupportY=30\n"
         "isObstacle=1\nobstacleXS=10\nobstacleYS=10\nsoundKey=ChestHeart\nPerson_Repair_Time=200\n"
         "Person_Get_Resource_Time=300\n" +
         more;
}
}  // namespace

TEST_F(QuestHearts, AChestOrderTheStockCannotPayIsRefusedNotReportedAccepted) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 563, chest("Person_Repair_Time_Food=5\n"), obstest::balance(1, 2, 0, 0)));
  auto* c = obstest::byName<cChestHeart>(h, "Chest");
  ASSERT_NE(c, nullptr);
  EXPECT_FALSE(c->Click(true));
  EXPECT_EQ(c->operation.state, OperationState::Idle);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 2);
  EXPECT_EQ(c->refusalSoundsPlayed, 1);
  h.Action(2, c->id);
  h.Advance(2);
  EXPECT_FALSE(h.queue().Contains(c->id));
  EXPECT_EQ(c->operation.state, OperationState::Idle);
}

TEST_F(QuestHearts, TheChestTellsOfMissingWorkersWhateverKindItWants) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 574, chest("workerType=Warrior\n"), obstest::balance(1, 0, 0, 0)));
  auto* c = obstest::byName<cChestHeart>(h, "Chest");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->GetStatusText(), "");  // nothing before it is clicked
  EXPECT_FALSE(c->Click(true));       // the level has no warrior
  EXPECT_EQ(c->GetStatusText(), "#OBJECT_HINT_NOTENOUGHWORKERS");
  // Open, the chest offers nothing and only the way is told (no warrior has one).
  c->closed = 0;
  EXPECT_EQ(c->GetStatusText(), "#OBJECT_HINT_NOPATH");
}

TEST_F(QuestHearts, WithoutTheKeyAPersonFindsTheChestLockedAndItStaysClosed) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 564, chest(""), obstest::balance(1, 0, 0, 0)));
  auto* c = obstest::byName<cChestHeart>(h, "Chest");
  ASSERT_NE(c, nullptr);
  h.ClearEvents();
  h.Action(2, c->id);
  EXPECT_EQ(c->operation.kind, Map::OperationKind::Repair);
  ASSERT_TRUE(obstest::runUntil(h, Event::ChestWithoutKey));
  EXPECT_EQ(h.Last(Event::ChestWithoutKey)->objectId, c->id);
  ASSERT_TRUE(until(h, [&] { return c->operation.state == OperationState::Idle; }));
  h.Advance(80);
  EXPECT_EQ(c->closed, 1);
  EXPECT_TRUE(c->HasOperationOffer());
  EXPECT_TRUE(cellBlockedByObject(h, 300, 300));
  EXPECT_EQ(h.CountOf(Event::HeartFreed), 0);
  EXPECT_EQ(carrying(h, "heart"), 0);
}

TEST_F(QuestHearts, TheKeyOpensTheChestAndItsHeartIsTakenHomeForOnePayment) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 565, chest("Person_Get_Resource_Time_Gold=3\n"), obstest::balance(1, 0, 0, 4)));
  auto* c = obstest::byName<cChestHeart>(h, "Chest");
  ASSERT_NE(c, nullptr);
  post(Event::KeyDelivered, [](GameEvent&) {});
  EXPECT_EQ(c->keyDelivered, 1);
  h.ClearEvents();
  h.Action(2, c->id);
  EXPECT_EQ(h.stock().Amount(Game::kGold), 1);
  EXPECT_EQ(c->operation.kind, Map::OperationKind::GetResource);
  ASSERT_TRUE(until(h, [&] { return c->closed == 0; }));
  EXPECT_FALSE(cellBlockedByObject(h, 300, 300));
  EXPECT_EQ(h.CountOf(Event::ChestWithoutKey), 0);
  EXPECT_EQ(h.CountOf(Event::HeartFreed), 0);  // the opening alone frees nothing
  ASSERT_TRUE(until(h, [&] { return c->picking != 0; }));
  EXPECT_EQ(c->operation.sendHomeAfterWork, 1);
  ASSERT_TRUE(obstest::runUntil(h, Event::HeartFreed));
  EXPECT_EQ(h.Last(Event::HeartFreed)->objectId, c->id);
  EXPECT_EQ(carrying(h, "heart"), 1);
  EXPECT_FALSE(c->Has(Map::kFlagClickable));
  EXPECT_FALSE(c->HasOperationOffer());
  ASSERT_TRUE(obstest::runUntil(h, Event::HeartDelivered));
  EXPECT_EQ(h.CountOf(Event::HeartFreed), 1);
  EXPECT_EQ(h.stock().Amount(Game::kGold), 1);  // paid at the click only
}

// ---- Bat heart ---------------------------------------------------------------------------------

namespace {
std::string batHeart(const std::string& more) {
  return "[Bats]\ntype=heart\nsubType=BatHeart\nx=300\ny=300\nboundXS=20\nboundYS=20\nsupportY=20\n"
         "isObstacle=1\nobstacleXS=5\nobstacleYS=5\nPerson_Get_Resource_Time=200\n"
         "target1X=400\ntarget1Y=250\ntarget2X=350\ntarget2Y=500\ntarget3X=700\ntarget3Y=600\n" +
         more;
}
}  // namespace

TEST_F(QuestHearts, ABatHeartWithTwoStagesFliesTwiceBeforeAPersonCanTakeIt) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 566, batHeart("stagesMax=2\n"), obstest::balance(1, 0, 0, 0)));
  auto* b = obstest::byName<cBatHeart>(h, "Bats");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->stagesMax, 2);
  const int32_t layer0 = b->layer;
  EXPECT_TRUE(cellBlockedByObject(h, 300, 300));

  h.ClearEvents();
  h.Action(2, b->id);
  EXPECT_EQ(b->operation.sendHomeAfterWork, 0);
  ASSERT_TRUE(until(h, [&] { return b->stage == cBatHeart::kTakingOff; }));
  EXPECT_TRUE(b->IsWithdrawn());
  EXPECT_EQ(b->layer, layer0 + 2);
  EXPECT_EQ(carrying(h, "heart"), 0);
  // Halfway through the flight it is on the arc through (350, 175): at (350, 225).
  ASSERT_TRUE(until(h, [&] { return b->stage == cBatHeart::kFlying && b->stageTimer.remaining <= 1500; }));
  EXPECT_NEAR(b->x, 350.0f, 3.0f);
  EXPECT_NEAR(b->y, 225.0f, 3.0f);
  // The heart's cells went with it to the first spot.
  EXPECT_FALSE(cellBlockedByObject(h, 300, 300));
  EXPECT_TRUE(cellBlockedByObject(h, 400, 250));
  ASSERT_TRUE(until(h, [&] { return b->stage == cBatHeart::kLying && b->flightsDone == 1; }));
  EXPECT_FLOAT_EQ(b->x, 400.0f);
  EXPECT_FLOAT_EQ(b->y, 250.0f);
  EXPECT_EQ(b->layer, layer0);
  EXPECT_FALSE(b->IsWithdrawn());
  EXPECT_TRUE(b->Has(Map::kFlagClickable));

  // The second flight, to spot 2.
  ASSERT_TRUE(until(h, [&] { return b->operation.state == OperationState::Idle; }));
  h.Action(2, b->id);
  ASSERT_TRUE(until(h, [&] { return b->stage == cBatHeart::kLying && b->flightsDone == 2; }));
  EXPECT_FLOAT_EQ(b->x, 350.0f);
  EXPECT_FLOAT_EQ(b->y, 500.0f);
  EXPECT_EQ(carrying(h, "heart"), 0);

  // No flight remains: the next person takes the heart home and the heart leaves the map.
  ASSERT_TRUE(until(h, [&] { return b->operation.state == OperationState::Idle; }));
  const int32_t id = b->id;
  h.Action(2, b->id);
  EXPECT_EQ(b->operation.sendHomeAfterWork, 1);
  ASSERT_TRUE(until(h, [&] { return carrying(h, "heart") == 1; }));
  EXPECT_EQ(b->flightsDone, 2);
  ASSERT_TRUE(obstest::runUntil(h, Event::HeartDelivered));
  EXPECT_EQ(h.map().FindById(id), nullptr);
}

TEST_F(QuestHearts, ALastBatHeartTakenLongerThanItsFadeStaysUntilItsTakerIsSentHome) {
  GameHarness h;
  // No flight at all (stagesMax 0) and a pick of 1500 ms, far beyond the heart's 300 ms fade.
  std::string map = batHeart("stagesMax=0\n");
  map.replace(map.find("Person_Get_Resource_Time=200"), 28, "Person_Get_Resource_Time=1500");
  ASSERT_TRUE(obstest::load(h, 573, map, obstest::balance(1, 0, 0, 0)));
  auto* b = obstest::byName<cBatHeart>(h, "Bats");
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->Duration(Map::OperationKind::GetResource), 1500);
  const int32_t id = b->id;
  h.Action(2, id);
  ASSERT_TRUE(until(h, [&] { return carrying(h, "heart") == 1; }));
  EXPECT_EQ(b->stage, cBatHeart::kLying);
  h.Advance(20);  // 500 ms: faded out, yet still on the map while the work runs
  EXPECT_EQ(h.map().FindById(id), b);
  EXPECT_EQ(b->operation.state, OperationState::Working);
  ASSERT_TRUE(obstest::runUntil(h, Event::HeartDelivered));
  EXPECT_EQ(h.map().FindById(id), nullptr);
}

TEST_F(QuestHearts, ABatHeartFliesWithTheSameBatsFromMapIniAndFromMapBin) {
  std::string error;
  ASSERT_TRUE(testkit::WriteLevelFolder("bat_forms", batHeart("stagesMax=7\n"), {}, &error)) << error;
  for (bool binary : {false, true}) {
    testkit::LevelHarness h;
    Map::questRegisterClasses(h.factory);
    ASSERT_TRUE(h.Load("bat_forms", binary));
    auto* b = dynamic_cast<cBatHeart*>(h.map.FindByTag(NameHash("Bats")));
    ASSERT_NE(b, nullptr);
    ASSERT_NE(b->workEffect1, nullptr);
    EXPECT_STREQ(b->workEffect1->GetName(), "HeartBats") << (binary ? "map.bin" : "map.ini");
    ASSERT_NE(b->workEffect0, nullptr);
    EXPECT_STREQ(b->workEffect0->GetName(), "Heart");
    EXPECT_EQ(b->stagesMax, 4);  // more than four spots read as four
    EXPECT_EQ(b->targets[2].x, 700);
    EXPECT_EQ(b->targets[2].y, 600);
  }
}

// ---- Cage heart --------------------------------------------------------------------------------

namespace {
void stoneEvent(Event code, int x, int y, const char* type = "evilstone", const char* subtype = "stone1") {
  post(code, [&](GameEvent& e) {
    e.typeHash = int32_t(NameHash(type));
    e.subtypeHash = int32_t(NameHash(subtype));
    e.x = x;
    e.y = y;
  });
}
}  // namespace

TEST_F(QuestHearts, TwoStonesBreakTheMagicCageAndItsHeartIsTakenHome) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 567,
                            "[Cage]\ntype=heart\nsubType=CageHeart\nx=300\ny=300\nboundXS=30\nboundYS=30\n"
                            "supportY=30\nPerson_Repair_Time=200\nPerson_Get_Resource_Time=200\n",
                            obstest::balance(1, 0, 0, 0)));
  auto* c = obstest::byName<cCageHeart>(h, "Cage");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->stage, 0);

  // Clicks are counted for evil stones by their type, as their finished work is: a stone of
  // another type with the subtype "evilstone" does not count.
  stoneEvent(Event::SubjectClicked, 0, 0, "bonus", "evilstone");
  EXPECT_EQ(c->stoneClicks, 0);
  stoneEvent(Event::SubjectClicked, 0, 0);
  EXPECT_FALSE(c->IsWithdrawn());
  stoneEvent(Event::SubjectClicked, 0, 0);
  EXPECT_EQ(c->stoneClicks, 2);
  EXPECT_TRUE(c->IsWithdrawn());
  stoneEvent(Event::OperationFinished, 100, 100, "bonus", "evilstone");
  EXPECT_EQ(c->sparkleId, Map::kNoId);

  // The first stone's sparkle flies from the stone to the cage over (100, 150).
  stoneEvent(Event::OperationFinished, 100, 100);
  ASSERT_NE(c->sparkleId, Map::kNoId);
  const int32_t sparkle = c->sparkleId;
  ASSERT_TRUE(until(h, [&] { return c->stageTimer.remaining <= 1000; }));
  Map::cObject* fx = h.map().FindById(sparkle);
  ASSERT_NE(fx, nullptr);
  // t = 0.5: 0.25 (100, 100) + 0.5 (100, 150) + 0.25 (300, 300).
  EXPECT_NEAR(fx->x, 150.0f, 4.0f);
  EXPECT_NEAR(fx->y, 175.0f, 4.0f);
  ASSERT_TRUE(until(h, [&] { return c->stage == 2; }));
  EXPECT_EQ(c->sparkleId, Map::kNoId);

  // Hacking at the cage while the magic holds tells the story.
  EXPECT_TRUE(c->IsWithdrawn());
  c->withdrawn = 0;  // (the cage is only hidden from the pointer; an order is still its own)
  h.ClearEvents();
  EXPECT_TRUE(c->Click(true));
  h.queue().Enqueue(c->id, false);
  EXPECT_EQ(c->operation.kind, Map::OperationKind::Repair);
  ASSERT_TRUE(obstest::runUntil(h, Event::CageHacked));
  EXPECT_EQ(h.Last(Event::CageHacked)->objectId, c->id);
  EXPECT_EQ(c->stage, 2);
  ASSERT_TRUE(until(h, [&] { return c->operation.state == OperationState::Idle; }));

  // The second stone breaks it; the heart is free to take.
  stoneEvent(Event::OperationFinished, 500, 100);
  ASSERT_TRUE(until(h, [&] { return c->stage == 4; }));
  EXPECT_FALSE(c->IsWithdrawn());
  h.Advance(40);
  h.Action(2, c->id);
  EXPECT_EQ(c->operation.kind, Map::OperationKind::GetResource);
  ASSERT_TRUE(until(h, [&] { return c->stage == 5; }));
  EXPECT_EQ(carrying(h, "heart"), 1);
  EXPECT_FALSE(c->Has(Map::kFlagClickable));
  ASSERT_TRUE(until(h, [&] { return c->stage == 6; }));
  ASSERT_TRUE(obstest::runUntil(h, Event::HeartDelivered));
}

TEST_F(QuestHearts, AStoneFinishedWhileTheCageStillShakesIsNotLost) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 568, "[Cage]\ntype=heart\nsubType=CageHeart\nx=300\ny=300\nsupportY=30\n",
                            obstest::balance(1, 0, 0, 0)));
  auto* c = obstest::byName<cCageHeart>(h, "Cage");
  ASSERT_NE(c, nullptr);
  stoneEvent(Event::OperationFinished, 100, 100);
  h.Advance(10);
  stoneEvent(Event::OperationFinished, 500, 100);  // the first sparkle is still in flight
  ASSERT_TRUE(until(h, [&] { return c->stage == 4; }));
}

// ---- Ice heart ---------------------------------------------------------------------------------

TEST_F(QuestHearts, TheIceHeartIsFrozenByTheWitchBrokenFreeAndTakenForOnePayment) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 569,
                            "[IceHeart]\ntype=heart\nsubType=IceHeart\nx=300\ny=300\nboundXS=20\nboundYS=20\n"
                            "supportY=25\nisObstacle=1\nobstacleXS=5\nobstacleYS=5\nPerson_Get_Resource_Time=600\n"
                            "Person_Get_Resource_Time_Food=2\nanim0=Object_Sign_Yes\nanim1=Object_Sign_No\n",
                            obstest::balance(1, 2, 0, 0)));
  auto* ice = obstest::byName<cIceHeart>(h, "IceHeart");
  ASSERT_NE(ice, nullptr);
  EXPECT_EQ(ice->frozen, 1);
  EXPECT_EQ(ice->currentAnimation, 1);
  EXPECT_TRUE(ice->HasOperationOffer());
  // The witch names another object: nothing; then this heart: it freezes over.
  post(Event::WitchNamesObject, [](GameEvent& e) { e.tag = int32_t(NameHash("Chest")); });
  EXPECT_FALSE(ice->freezeFade.running);
  post(Event::WitchNamesObject, [](GameEvent& e) { e.tag = int32_t(NameHash("IceHeart")); });
  EXPECT_TRUE(ice->freezeFade.running);
  EXPECT_EQ(ice->currentAnimation, 0);
  h.Advance(41);
  EXPECT_EQ(ice->freezeFading, 0);

  h.ClearEvents();
  h.Action(2, ice->id);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 0);
  ASSERT_TRUE(until(h, [&] { return !cellBlockedByObject(h, 300, 300); }));
  EXPECT_EQ(ice->currentAnimation, 1);
  EXPECT_EQ(ice->frozen, 1);
  ASSERT_TRUE(until(h, [&] { return ice->frozen == 0; }));
  EXPECT_FALSE(ice->HasOperationOffer());
  EXPECT_EQ(carrying(h, "heart"), 0);
  EXPECT_EQ(h.CountOf(Event::HeartFreed), 0);
  // The heart is taken after the thaw although the stock is empty: the click paid for it.
  ASSERT_TRUE(obstest::runUntil(h, Event::HeartFreed));
  EXPECT_EQ(carrying(h, "heart"), 1);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 0);
  const int32_t id = ice->id;
  ASSERT_TRUE(obstest::runUntil(h, Event::HeartDelivered));
  h.Advance(50);
  EXPECT_EQ(h.map().FindById(id), nullptr);
  EXPECT_EQ(h.CountOf(Event::HeartFreed), 1);
}

TEST_F(QuestHearts, IceBrokenByWorkShorterThanItsBlowStillBurstsAndFreesTheWay) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 572,
                            "[IceHeart]\ntype=heart\nsubType=IceHeart\nx=300\ny=300\nboundXS=20\nboundYS=20\n"
                            "supportY=25\nisObstacle=1\nobstacleXS=5\nobstacleYS=5\nPerson_Get_Resource_Time=100\n",
                            obstest::balance(1, 0, 0, 0)));
  auto* ice = obstest::byName<cIceHeart>(h, "IceHeart");
  ASSERT_NE(ice, nullptr);
  ASSERT_TRUE(cellBlockedByObject(h, 300, 300));
  h.Action(2, ice->id);
  // The work (100 ms) ends before the 350 ms blow: the thaw bursts the ice at once.
  ASSERT_TRUE(until(h, [&] { return ice->frozen == 0; }));
  EXPECT_EQ(ice->iceBroken, 1);
  EXPECT_FALSE(cellBlockedByObject(h, 300, 300));
  ASSERT_NE(ice->workEffect0, nullptr);
  EXPECT_TRUE(ice->workEffect0->IsStopped(false));
  EXPECT_EQ(effectsNamed(h, "IceHeart_blow"), 1);
  h.Advance(20);  // the blow's own end does not burst it a second time
  EXPECT_EQ(effectsNamed(h, "IceHeart_blow"), 1);
  ASSERT_TRUE(obstest::runUntil(h, Event::HeartDelivered));
}

// ---- Jumping heart -----------------------------------------------------------------------------

namespace {
bool g_fogged = true;
bool fogged(int32_t, int32_t) { return g_fogged; }
}  // namespace

TEST_F(QuestHearts, TheJumpingHeartWaitsUnseenInTheFogThenLeapsToItsSpot) {
  g_fogged = true;
  Map::heartSetFogQuery(fogged);
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 570,
                            "[Jumper]\ntype=heart\nsubType=JumpingHeart\nx=600\ny=200\nlayer=3\nboundXS=20\n"
                            "boundYS=20\nsupportY=25\nPerson_Get_Resource_Time=200\ntargetPosX=400\ntargetPosY=300\n",
                            obstest::balance(1, 0, 0, 0)));
  auto* j = obstest::byName<cJumpingHeart>(h, "Jumper");
  ASSERT_NE(j, nullptr);
  EXPECT_EQ(j->target.x, 400);
  EXPECT_EQ(j->target.y, 300);
  h.Advance(200);
  EXPECT_EQ(j->stage, cJumpingHeart::kWaiting);
  EXPECT_FALSE(j->HasOperationOffer());
  EXPECT_EQ(h.map().HitTest(600, 200), nullptr);
  EXPECT_FALSE(j->Click(true));

  g_fogged = false;
  h.Advance(2);
  EXPECT_EQ(j->stage, cJumpingHeart::kAboutToJump);
  ASSERT_TRUE(until(h, [&] { return j->stage == cJumpingHeart::kJumping; }));
  EXPECT_EQ(h.map().HitTest(600, 200), nullptr);
  // Halfway up the leap: 0.25 (600, 200) + 0.5 (400, 0) + 0.25 (400, 300).
  ASSERT_TRUE(until(h, [&] { return j->stageTimer.remaining <= 500; }));
  EXPECT_NEAR(j->x, 450.0f, 6.0f);
  EXPECT_NEAR(j->y, 125.0f, 6.0f);
  ASSERT_TRUE(until(h, [&] { return j->stage == cJumpingHeart::kLying; }));
  EXPECT_FLOAT_EQ(j->x, 400.0f);
  EXPECT_FLOAT_EQ(j->y, 300.0f);
  EXPECT_EQ(j->layer, 2);
  EXPECT_TRUE(j->HasOperationOffer());
  EXPECT_EQ(h.map().HitTest(400, 300), j);

  const int32_t id = j->id;
  h.ClearEvents();
  h.Action(2, j->id);
  ASSERT_TRUE(obstest::runUntil(h, Event::HeartFreed));
  EXPECT_EQ(h.Last(Event::HeartFreed)->objectId, id);
  EXPECT_EQ(carrying(h, "heart"), 1);
  ASSERT_TRUE(obstest::runUntil(h, Event::HeartDelivered));
  h.Advance(50);
  EXPECT_EQ(h.map().FindById(id), nullptr);
}

// ---- Records -----------------------------------------------------------------------------------

TEST_F(QuestHearts, EveryQuestRecordReadsTheSameFromMapIniAndMapBin) {
  const std::string subject = "workerType=Worker\nPerson_Repair_Time=700\nPerson_Get_Resource_Time_Gold=2\n";
  const size_t at = Map::objSubjectItems();
  MapObjectRecord r = obstest::sameInBothForms(
      {"CaveR", "type=heart\nsubType=cave\nflashX=123\nflashY=-45\neffect=CaveKeyFound\n"}, subject);
  ASSERT_EQ(r.extension.size(), at + 3);
  EXPECT_EQ(r.extension[at].i, 123);
  EXPECT_EQ(r.extension[at + 1].i, -45);
  EXPECT_EQ(r.extension[at + 2].s, "CaveKeyFound");

  r = obstest::sameInBothForms({"ChestR", "type=heart\nsubType=ChestHeart\nsoundKey=ChestHeart\n"}, subject);
  ASSERT_EQ(r.extension.size(), at + 1);
  EXPECT_EQ(r.extension[at].s, "ChestHeart");

  r = obstest::sameInBothForms({"IceR", "type=heart\nsubType=IceHeart\nsoundKey=Frost\n"}, subject);
  ASSERT_EQ(r.extension.size(), at + 1);
  EXPECT_EQ(r.extension[at].s, "Frost");

  r = obstest::sameInBothForms(
      {"BatR", "type=heart\nsubType=BatHeart\nstagesMax=3\ntarget1X=1\ntarget1Y=2\ntarget4X=7\ntarget4Y=8\n"}, subject);
  ASSERT_EQ(r.extension.size(), at + 9);
  EXPECT_EQ(r.extension[at].i, 3);
  EXPECT_EQ(r.extension[at + 1].i, 1);
  EXPECT_EQ(r.extension[at + 2].i, 2);
  EXPECT_EQ(r.extension[at + 7].i, 7);
  EXPECT_EQ(r.extension[at + 8].i, 8);

  r = obstest::sameInBothForms({"JumpR", "type=heart\nsubType=JumpingHeart\ntargetPosX=640\ntargetPosY=480\n"}, subject);
  ASSERT_EQ(r.extension.size(), at + 2);
  EXPECT_EQ(r.extension[at].i, 640);
  EXPECT_EQ(r.extension[at + 1].i, 480);

  r = obstest::sameInBothForms({"CageR", "type=heart\nsubType=CageHeart\n"}, subject);
  EXPECT_EQ(r.extension.size(), at);
}

TEST_F(QuestHearts, AQuestObjectSavesWhatItWasLoadedWith) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 571,
                            cave("CaveS", 300, 300, "flashX=310\nflashY=280\neffect=CaveKeyFound\n") +
                                "[BatS]\ntype=heart\nsubType=BatHeart\nx=500\ny=300\nstagesMax=2\ntarget1X=5\n"
                                "target1Y=6\ntarget2X=7\ntarget2Y=8\n"
                                "[JumpS]\ntype=heart\nsubType=JumpingHeart\nx=600\ny=300\ntargetPosX=9\ntargetPosY=10\n"
                                "[ChestS]\ntype=heart\nsubType=ChestHeart\nx=700\ny=300\nsoundKey=ChestHeart\n",
                            obstest::balance(1, 0, 0, 0)));
  for (const char* name : {"CaveS", "BatS", "JumpS", "ChestS"}) {
    Map::cObject* o = obstest::filledAsRead(h, 571, name);
    ASSERT_NE(o, nullptr) << name;
    MapObjectRecord r;
    o->FillRecord(r);
    EXPECT_EQ(r.childScript, "data/bonus/icons.ini") << name;
  }
}

// The stories the game view tells for the quests (a locked chest, a hacked cage, the drums' rains
// passed) are in the demo with their texts in both languages, so a level never asks for a missing one.
TEST(QuestStories, EachQuestStoryOfTheDemoHasItsDialogAndItsTexts) {
  const char* src = std::getenv("MM_SOURCE_DIR");
  if (!src) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  const std::string demo = std::string(src) + "/demo/data/";
  const std::string dialogs = demo + "menu/ingameDialogs.ini";
  for (int number : {39, 42, 182}) {
    SCOPED_TRACE(number);
    Interface::StoryDialog d;
    ASSERT_TRUE(Interface::storyDialogRead(dialogs.c_str(), number, d));
    EXPECT_FALSE(d.twoSpeakers);
    const std::string text = iniGetString(dialogs.c_str(), d.text1Window.c_str(), "name", "");
    ASSERT_EQ(text, "#STORY_TEXT1_" + std::to_string(number));
    for (const char* lang : {"translation.ini", "translation_ru.ini"}) {
      const std::string file = demo + lang;
      EXPECT_STRNE(iniGetString(file.c_str(), nullptr, text.c_str(), ""), "") << lang;
      EXPECT_STRNE(iniGetString(file.c_str(), nullptr, d.name1.c_str(), ""), "") << lang;
    }
  }
}
