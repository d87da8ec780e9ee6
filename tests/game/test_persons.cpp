// Persons and the workers controller in a headless level: directions, walking a route at the
// balance speed and arriving, zero-length segments and tiny speeds, a speed change mid-segment,
// delivery with the "More_Resources" bonus, the "Speed" bonus applied once, the nearest free worker
// chosen, a removed subject dropping its order, and the workers a level starts with.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game_test_util.h"
#include "support/game_harness.h"

using Game::Event;
using Map::cPerson;
using Map::PersonState;
using testkit::GameHarness;

namespace {
struct Persons : ::testing::Test {
  void SetUp() override {
    iniFreeAll();
    gametest::clearGerr();
    testSettingsLoad("none.ini");
    gametest::writeFile("data/balance.ini", "[Worker]\nvel=0.2\n");
  }
  void TearDown() override {
    Game::EndLevel();
    iniFreeAll();
  }
};

const char* kBarnLevel = "[Barn]\ntype=building\nsubType=barn\nx=100\ny=400\n"
                         "[Field]\ntype=decoration\nsubType=field\nx=500\ny=100\n";

bool load(GameHarness& h, int n, int workers = 0) {
  testkit::LevelFiles f;
  f.balance = "[Main]\ntLevelTime=100000\nMinuteTime=60000\n[Resources]\nWorker=" + std::to_string(workers) +
              "\n[ResourceHarvest]\nFood=1\n";
  f.map = kBarnLevel;
  std::string error;
  EXPECT_TRUE(testkit::WriteTestLevel(n, f, &error)) << error;
  return h.Load(n);
}

Map::cObject* byName(GameHarness& h, const char* name) { return h.map().FindByTag(NameHash(name)); }
}  // namespace

TEST_F(Persons, Directions) {
  EXPECT_EQ(Map::personDirection(0, 1), 4);
  EXPECT_EQ(Map::personDirection(0, -1), 0);
  EXPECT_EQ(Map::personDirection(1, 0), 2);
  EXPECT_EQ(Map::personDirection(-1, 0), 6);
  EXPECT_EQ(Map::personDirection(1, 1), 3);
  float a = 22.5f / 57.32484f;  // exactly 22.5 degrees by the same conversion
  EXPECT_EQ(Map::personDirection(std::cos(a) * 100.0f, std::sin(a) * 100.0f + 0.01f), 3);
}

TEST_F(Persons, WalkARouteAtTheBalanceSpeedAndArrive) {
  GameHarness h;
  ASSERT_TRUE(load(h, 120));
  cPerson* p = h.workers().CreatePerson({100, 100}, "Worker", -1);
  ASSERT_NE(p, nullptr);
  EXPECT_FLOAT_EQ(p->speed, 0.2f);
  h.ClearEvents();
  p->StartMove(-1, PathRoute{{100, 100}, {300, 100}}, false, 0.0f);  // 200 px at 0.2 px/ms: 1000 ms
  EXPECT_EQ(p->direction, 2);
  EXPECT_EQ(h.CountOf(Event::PersonStartedWalking), 1);
  h.Advance(20);
  EXPECT_NEAR(p->x, 200.0f, 0.01f);
  h.Advance(19);
  EXPECT_EQ(p->state, PersonState::Walking);
  EXPECT_EQ(h.CountOf(Event::PersonArrived), 0);
  h.Advance(1);
  EXPECT_EQ(p->state, PersonState::Free);
  EXPECT_FLOAT_EQ(p->x, 300.0f);
  EXPECT_EQ(h.CountOf(Event::PersonArrived), 1);
  EXPECT_FLOAT_EQ(p->totalWalked, 200.0f);

  // Zero-length segments are stepped over and the position stays finite.
  p->StartMove(-1, PathRoute{{300, 100}, {300, 100}, {300, 200}, {300, 200}}, false, 0.0f);
  EXPECT_EQ(p->direction, 4);
  h.Advance(10);
  EXPECT_TRUE(std::isfinite(p->x) && std::isfinite(p->y));
  EXPECT_NEAR(p->y, 150.0f, 0.01f);
  h.Advance(10);
  EXPECT_EQ(p->state, PersonState::Free);
  EXPECT_EQ(h.CountOf(Event::PersonArrived), 2);

  // A tiny speed still arrives (walked at the minimum of 1 px per second).
  p->StartMove(-1, PathRoute{{300, 200}, {305, 200}}, false, 0.00002f);
  h.Advance(199);
  EXPECT_EQ(p->state, PersonState::Walking);
  EXPECT_TRUE(std::isfinite(p->x));
  h.Advance(2);
  EXPECT_EQ(p->state, PersonState::Free);
}

TEST_F(Persons, SpeedChangeMidSegmentAndTheSpeedBonusOnce) {
  GameHarness h;
  ASSERT_TRUE(load(h, 121));
  cPerson* p = h.workers().CreatePerson({0, 0}, "Worker", -1);
  p->speed = 0.1f;
  p->StartMove(-1, PathRoute{{0, 0}, {300, 0}}, false, 0.0f);
  h.Advance(40);  // 100 px
  EXPECT_NEAR(p->x, 100.0f, 0.01f);
  p->speed = 0.15f;
  h.Advance(1);
  EXPECT_NEAR(p->x, 100.0f + 0.15f * 25, 0.01f);

  Map::personSetBaseSpeed(0.2f);
  p->speed = 0.2f;
  GameEvent e;
  MakeEvent(e, Event::SpeedBonusFired);
  Post(Game::levelContext()->dispatcher.get(), e);
  Post(Game::levelContext()->dispatcher.get(), e);
  EXPECT_FLOAT_EQ(p->speed, 0.3f);
  EXPECT_FLOAT_EQ(Map::personCurrentSpeed(), 0.3f);
  MakeEvent(e, Event::SpeedBonusEnded);
  Post(Game::levelContext()->dispatcher.get(), e);
  EXPECT_FLOAT_EQ(p->speed, 0.2f);
}

TEST_F(Persons, DeliveryWithTheMoreResourcesBonus) {
  GameHarness h;
  ASSERT_TRUE(load(h, 122));
  cPerson* p = h.workers().CreatePerson({0, 0}, "Worker", -1);
  GameEvent e;
  MakeEvent(e, Event::MoreResourcesBonusFired);
  Post(Game::levelContext()->dispatcher.get(), e);
  p->Carry(Game::kFood, 3);
  p->StartMove(-1, PathRoute{{0, 0}, {10, 0}}, true, 0.0f);
  h.Advance(2);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 4);
  const GameEvent* d = h.Last(Event::PersonDelivered);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->amount, 4);
  EXPECT_EQ(d->index, Game::kFood);
  const GameEvent* arrived = h.Last(Event::PersonArrived);
  ASSERT_NE(arrived, nullptr);
  EXPECT_EQ(arrived->amount, 3);  // what was carried
  EXPECT_EQ(p->carriedResource, 4);
}

TEST_F(Persons, TheNearestFreeWorkerIsSent) {
  GameHarness h;
  ASSERT_TRUE(load(h, 123));
  Map::cObject* field = byName(h, "Field");
  ASSERT_NE(field, nullptr);
  cPerson* far = h.workers().CreatePerson({380, 100}, "Worker", -1);   // 120 px away
  cPerson* near = h.workers().CreatePerson({420, 100}, "Worker", -1);  // 80 px away
  ASSERT_TRUE(far && near);
  EXPECT_EQ(h.workers().CountFree(0, true), 2);
  h.ClearEvents();
  EXPECT_EQ(h.workers().AssignPerson(field->id, 0, 2, false, -1), near->id);
  EXPECT_EQ(near->state, PersonState::Walking);
  EXPECT_EQ(near->targetId, field->id);
  EXPECT_EQ(h.CountOf(Event::PersonLeftHome), 1);  // it was in the barn
  EXPECT_EQ(h.workers().CountFree(0, false), 1);
  // Equal distances: the earlier one.
  cPerson* twin = h.workers().CreatePerson({380, 100}, "Worker", -1);
  EXPECT_EQ(h.workers().AssignPerson(field->id, 0, 2, false, -1), far->id);
  EXPECT_EQ(twin->state, PersonState::Free);
}

TEST_F(Persons, ARemovedSubjectDropsItsOrderAndReleasesItsPerson) {
  GameHarness h;
  ASSERT_TRUE(load(h, 124));
  Map::cObject* field = byName(h, "Field");
  cPerson* p = h.workers().CreatePerson({400, 300}, "Worker", -1);
  h.queue().Enqueue(field->id, false);
  EXPECT_TRUE(h.queue().Contains(field->id));
  ASSERT_TRUE(h.workers().SendTo(p->id, field->id, 2, -1, 0.0f));
  h.Advance(2);
  int32_t gone = field->id;
  h.map().Remove(gone);
  h.Advance(2);
  EXPECT_EQ(h.queue().Count(), 0u);
  EXPECT_EQ(h.map().FindById(gone), nullptr);
  EXPECT_EQ(p->state, PersonState::WalkingHome);
  EXPECT_NE(p->targetId, gone);
}

TEST_F(Persons, ALevelStartsWithItsWorkersAtTheBarn) {
  GameHarness h;
  ASSERT_TRUE(load(h, 125, 2));
  EXPECT_EQ(h.workers().PersonCount(), 2);
  EXPECT_EQ(h.stock().Amount(Game::kWorker), 2);
  EXPECT_EQ(h.CountOf(Event::WorkerJoined), 2);
  EXPECT_EQ(h.phase(), Game::Phase::Ready);
  cPerson* first = h.workers().GetNth(0, 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->state, PersonState::Greeting);
  h.Advance(cPerson::kGreetMs / 25);
  EXPECT_EQ(h.CountOf(Event::PersonMayGoHome), 2);
  // After the goals are met a free worker cheers instead of walking home.
  h.Action(1);
  h.Action(7);
  h.Advance(1);
  EXPECT_EQ(first->state, PersonState::Celebrating);
}

TEST_F(Persons, QueueOrderCancelAndKilledSubjects) {
  GameHarness h;
  ASSERT_TRUE(load(h, 126));
  Game::cOperationsQueue& q = h.queue();
  q.Enqueue(10, false);
  q.Enqueue(11, false);
  q.Enqueue(10, false);  // already queued
  q.Enqueue(-1, false);
  q.Enqueue(12, false, 2);  // needs two persons: served first
  ASSERT_EQ(q.Count(), 3u);
  EXPECT_EQ(q.At(0).subjectId, 12);
  EXPECT_EQ(q.At(1).subjectId, 10);
  EXPECT_EQ(q.At(2).subjectId, 11);
  q.Cancel(10);
  EXPECT_FALSE(q.Contains(10));
  GameEvent e;
  MakeEvent(e, Game::Event::ObjectKilled);
  e.objectId = 11;
  Post(Game::levelContext()->dispatcher.get(), e);
  EXPECT_FALSE(q.Contains(11));
  EXPECT_EQ(q.Count(), 1u);
  // A subject id that means nothing on the map is dropped at the next step.
  h.Advance(1);
  EXPECT_EQ(q.Count(), 0u);
}
