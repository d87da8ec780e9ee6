// Persons and the workers controller in a headless level: directions, walking a route at the
// balance speed and arriving, zero-length segments and tiny speeds, a speed change mid-segment,
// delivery with the "More_Resources" bonus, the "Speed" bonus applied once, the nearest free worker
// chosen, a removed subject dropping its order, and the workers a level starts with.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "anim/fx_simple_pyro.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game/core/random.h"
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
  // After the goals are met a free worker cheers (where it is, or after walking out of the barn)
  // instead of walking home.
  h.Action(1);
  h.Action(7);
  h.Advance(200);
  EXPECT_EQ(first->state, PersonState::Celebrating);
  EXPECT_FALSE(first->flags & Map::kFlagHidden) << "cheering outside";
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

// ---- Carried items, the trail, waiting in a queue and the voice --------------------------------

// A person is a subject no one works on: asked anyway, one person would be requested.
TEST_F(Persons, APersonIsASubjectThatNeedsNobody) {
  GameHarness h;
  ASSERT_TRUE(load(h, 127));
  cPerson* p = h.workers().CreatePerson({0, 0}, "Worker", -1);
  ASSERT_NE(p, nullptr);
  Map::cSubjectObject* s = p;
  EXPECT_EQ(s->personsNeeded, 0);
  EXPECT_EQ(s->PersonsToRequest(), 1);
  EXPECT_EQ(s->operation.state, Map::OperationState::Idle);
}

// Each item is carried in its bag and announced on arrival with its own event, at the anchor; the
// bag goes out and nothing is carried any more.
TEST_F(Persons, CarriedItemsAreAnnouncedOnArrival) {
  GameHarness h;
  ASSERT_TRUE(load(h, 128));
  cPerson* p = h.workers().CreatePerson({0, 0}, "Worker", -1);
  ASSERT_NE(p, nullptr);
  struct Case {
    const char* item;
    const char* bag;
    Event event;
    int code;
  };
  const Case cases[] = {{"quill", "QuillInBag", Event::QuillDelivered, 81},
                        {"berry", "BerryInBag", Event::BerryDelivered, 83},
                        {"heart", "HeartInBag", Event::HeartDelivered, 85},
                        {"Key", "QuillInBag", Event::KeyDelivered, 119}};
  int x = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    EXPECT_EQ(Game::Code(c.event), c.code);
    p->SetCarriedItem(NameHash(c.item));
    EXPECT_EQ(p->carriedItem, NameHash(c.item));
    ASSERT_TRUE(p->workEffect1);
    EXPECT_STREQ(p->workEffect1->GetName(), c.bag);
    EXPECT_FALSE(p->workEffect1->IsStopped(false)) << "the bag shows while carried";
    h.ClearEvents();
    p->SetVisibleState(3);
    p->StartMove(-1, PathRoute{{x, 0}, {x + 20, 0}}, true, 0.0f);
    x += 20;
    h.Advance(5);
    ASSERT_EQ(p->state, PersonState::Free);
    EXPECT_EQ(h.CountOf(c.event), 1);
    const GameEvent* e = h.Last(c.event);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->objectId, p->id);
    EXPECT_EQ(e->x, x);
    EXPECT_EQ(e->y, 0);
    EXPECT_TRUE(p->workEffect1->IsStopped(false)) << "the bag is put down";
    EXPECT_EQ(p->carriedItem, 0u);
    EXPECT_EQ(h.CountOf(Event::PersonDelivered), 0) << "an item is no resource";
  }
  // An item nobody knows is kept but has no bag and no event.
  p->workEffect1.reset();
  p->SetCarriedItem(NameHash("pebble"));
  EXPECT_EQ(p->carriedItem, NameHash("pebble"));
  EXPECT_FALSE(p->workEffect1) << "no bag for it";
  h.ClearEvents();
  p->StartMove(-1, PathRoute{{x, 0}, {x + 20, 0}}, true, 0.0f);
  h.Advance(5);
  for (Event e : {Event::QuillDelivered, Event::BerryDelivered, Event::HeartDelivered, Event::KeyDelivered})
    EXPECT_EQ(h.CountOf(e), 0);
  EXPECT_EQ(h.CountOf(Event::PersonArrived), 1);
}

// The trail runs while a walking person is faster than the base speed: the "Speed" bonus switches
// it on for walkers only, a second bonus changes nothing, and its end, standing or arriving puts it
// out.
TEST_F(Persons, TheTrailFollowsTheSpeedBonus) {
  GameHarness h;
  ASSERT_TRUE(load(h, 129));
  cPerson* walker = h.workers().CreatePerson({0, 0}, "Worker", -1);
  cPerson* idle = h.workers().CreatePerson({0, 50}, "Worker", -1);
  ASSERT_TRUE(walker && idle);
  ASSERT_FLOAT_EQ(Map::personBaseSpeed(), 0.2f);
  walker->SetVisibleState(2);
  walker->StartMove(-1, PathRoute{{0, 0}, {1000, 0}}, false, 0.0f);
  EXPECT_FALSE(walker->TrailShown()) << "at the base speed";
  auto post = [](Event code) {
    GameEvent e;
    MakeEvent(e, code);
    Post(Game::levelContext()->dispatcher.get(), e);
  };
  post(Event::SpeedBonusFired);
  EXPECT_FLOAT_EQ(walker->speed, 0.3f);
  EXPECT_TRUE(walker->TrailShown());
  ASSERT_TRUE(walker->workEffect0);
  EXPECT_STREQ(walker->workEffect0->GetName(), "RunningTrail");
  EXPECT_FALSE(walker->workEffect0->IsStopped(false));
  EXPECT_FLOAT_EQ(idle->speed, 0.3f);
  EXPECT_FALSE(idle->TrailShown()) << "only a walker shows the trail";
  post(Event::SpeedBonusFired);
  EXPECT_FLOAT_EQ(walker->speed, 0.3f) << "never multiplied twice";
  EXPECT_FLOAT_EQ(Map::personCurrentSpeed(), 0.3f);
  // 20 steps at 0.3 px/ms: 150 px.
  h.Advance(20);
  EXPECT_NEAR(walker->x, 150.0f, 0.1f);

  walker->SetVisibleState(1);
  EXPECT_FALSE(walker->TrailShown()) << "standing still shows none";
  walker->SetVisibleState(3);
  EXPECT_TRUE(walker->TrailShown()) << "carrying home fast shows it again";
  // A worker sent out while the bonus runs starts at the current speed, with its trail.
  cPerson* late = h.workers().CreatePerson({0, 100}, "Worker", -1);
  EXPECT_FLOAT_EQ(late->speed, 0.3f);
  late->SetVisibleState(2);
  EXPECT_TRUE(late->TrailShown());

  post(Event::SpeedBonusEnded);
  EXPECT_FLOAT_EQ(walker->speed, 0.2f);
  EXPECT_FLOAT_EQ(Map::personCurrentSpeed(), 0.2f);
  EXPECT_FALSE(walker->TrailShown());
  EXPECT_TRUE(walker->workEffect0->IsStopped(false));
  EXPECT_FALSE(late->TrailShown());

  post(Event::SpeedBonusFired);
  EXPECT_TRUE(walker->TrailShown());
  h.Advance(200);
  EXPECT_EQ(walker->state, PersonState::Free);
  EXPECT_FALSE(walker->TrailShown()) << "arrival puts it out";
  late->SetVisibleState(2);
  ASSERT_TRUE(late->TrailShown());
  late->Celebrate(1, 0);
  EXPECT_FALSE(late->TrailShown()) << "cheering in place";
  late->SetVisibleState(3);
  ASSERT_TRUE(late->TrailShown());
  late->Stand(100);
  EXPECT_FALSE(late->TrailShown()) << "standing in place";
  post(Event::SpeedBonusEnded);
}

// A person waiting for the others of its operation stands (or shows nothing) facing the target's
// box centre; work facing the target turns it the same way.
TEST_F(Persons, QueueAndWorkFaceTheTarget) {
  GameHarness h;
  ASSERT_TRUE(load(h, 138));
  Map::cObject* field = byName(h, "Field");  // at (500, 100)
  ASSERT_NE(field, nullptr);
  cPerson* p = h.workers().CreatePerson({500, 300}, "Worker", -1);
  p->targetId = field->id;
  p->direction = 4;
  p->Queue(false);
  EXPECT_EQ(p->state, PersonState::Queued);
  EXPECT_EQ(p->visibleState, 1);
  EXPECT_EQ(p->direction, 0) << "the field lies straight up";
  p->SetAnchor({700, 100});
  p->Queue(true);
  EXPECT_EQ(p->visibleState, 0);
  EXPECT_EQ(p->direction, 6) << "the field lies to the left";
  // The box centre counts, not the anchor: a centre 200 px below turns the person down-left.
  field->boundCentre = {0, 200};
  p->StartWork(cPerson::kFaceTarget);
  EXPECT_EQ(p->state, PersonState::Working);
  EXPECT_EQ(p->direction, 5);
  p->StartWork(2);
  EXPECT_EQ(p->direction, 2);
  // Without a target the person keeps its way.
  p->targetId = -1;
  p->Queue(false);
  EXPECT_EQ(p->direction, 2);
}

// A worker speaks at its second order, then stays silent for a logged random 0 to 5 orders; with
// voices off it never speaks and draws no random number.
TEST_F(Persons, TheVoiceCountsDownThroughTheLoggedRandomNumbers) {
  GameHarness h;
  ASSERT_TRUE(load(h, 136));
  cPerson* w = h.workers().CreatePerson({0, 0}, "Worker", -1);
  cPerson* x = h.workers().CreatePerson({0, 0}, "Exorcist", -1);
  cPerson* a = h.workers().CreatePerson({0, 0}, "Warrior", -1);
  ASSERT_TRUE(w && x && a);
  EXPECT_EQ(w->voice, "Worker");
  EXPECT_EQ(x->voice, "Exorcist");
  EXPECT_EQ(a->voice, "Warrior");
  EXPECT_EQ(w->voiceCountdown, 1);
  EXPECT_EQ(x->voiceCountdown, 0);

  // The draws a run of orders should make, from the same seed.
  SeedRandom(4242);
  int32_t expected[8];
  for (int32_t& r : expected) r = RandomInt(6);
  SeedRandom(4242);

  w->PlayVoice();
  EXPECT_EQ(w->voicesPlayed, 0);
  EXPECT_EQ(w->voiceCountdown, 0);
  int draws = 0;
  for (int order = 0; order < 40 && draws < 8; ++order) {
    const int32_t before = w->voiceCountdown;
    const int32_t state = randomStateA();
    w->PlayVoice();
    if (before < 1) {
      ASSERT_EQ(w->voicesPlayed, draws + 1);
      ASSERT_EQ(w->voiceCountdown, expected[draws]);
      ASSERT_GE(w->voiceCountdown, 0);
      ASSERT_LE(w->voiceCountdown, 5);
      ++draws;
    } else {
      ASSERT_EQ(w->voiceCountdown, before - 1);
      ASSERT_EQ(randomStateA(), state) << "a silent order draws nothing";
    }
  }
  EXPECT_EQ(draws, 8);

  x->PlayVoice();
  EXPECT_EQ(x->voicesPlayed, 1) << "an exorcist speaks at once";

  Map::personSetVoicesOn(false);
  const int32_t state = randomStateA();
  const int32_t played = a->voicesPlayed;
  for (int i = 0; i < 3; ++i) a->PlayVoice();
  Map::personSetVoicesOn(true);
  EXPECT_EQ(a->voicesPlayed, played);
  EXPECT_EQ(a->voiceCountdown, -3);
  EXPECT_EQ(randomStateA(), state);
  a->PlayVoice();
  EXPECT_EQ(a->voicesPlayed, played + 1) << "speaks again once voices are on";
}

// Events 131 and 132 switch the extra delivery on and off for every person.
TEST_F(Persons, TheResourcesBonusEndsWithItsEvent) {
  GameHarness h;
  ASSERT_TRUE(load(h, 137));
  cPerson* p = h.workers().CreatePerson({0, 0}, "Worker", -1);
  GameEvent e;
  MakeEvent(e, Event::MoreResourcesBonusFired);
  Post(Game::levelContext()->dispatcher.get(), e);
  EXPECT_EQ(p->bonusDelivery, 1);
  MakeEvent(e, Event::MoreResourcesBonusEnded);
  Post(Game::levelContext()->dispatcher.get(), e);
  EXPECT_EQ(p->bonusDelivery, 0);
  p->Carry(Game::kFood, 3);
  p->StartMove(-1, PathRoute{{0, 0}, {10, 0}}, true, 0.0f);
  h.Advance(2);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 3);
  ASSERT_NE(h.Last(Event::PersonDelivered), nullptr);
  EXPECT_EQ(h.Last(Event::PersonDelivered)->amount, 3);
}
