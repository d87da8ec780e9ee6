// Operation subjects with the operations queue and the workers controller in a headless level:
// loading the subject items from both map forms, each refusal with its event, the cost paid once
// and refunded exactly on every cancel path, persons asked for, arriving, working and released,
// withdrawal, leaving play, and the queue's service order.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game/core/map_record.h"
#include "game/core/map_stream.h"
#include "game/objects/subject_object.h"
#include "game_test_util.h"
#include "support/game_harness.h"

using Game::Event;
using Map::cPerson;
using Map::OperationKind;
using Map::OperationState;
using Map::PersonState;
using testkit::GameHarness;

namespace {
// A subject that offers one operation; with `carry` each person takes that much Food home.
struct TestSubject : Map::cSubjectObject {
  OperationKind kind = OperationKind::Repair;
  int32_t carry = 0;
  bool HasOperationOffer() const override { return true; }
  bool GetOperationOffer(Map::ResourceVector&, Map::ResourceVector& c, Map::ResourceVector&) const override {
    c = Cost(kind);
    return CanAfford(kind);
  }
  int TryStartOperation(bool byPlayer) override {
    const int answer = cSubjectObject::TryStartOperation(byPlayer);
    if (answer != 2 || !byPlayer) return answer;
    operation.walkVisibleState = 2;
    operation.workVisibleState = carry ? 8 : 6;
    operation.homeVisibleState = carry ? 3 : 2;
    return StartOperation(kind) ? 0 : 1;
  }
  bool OnPersonArrived(int32_t personId) override {
    const bool counted = cSubjectObject::OnPersonArrived(personId);
    if (carry && operation.state == OperationState::Started)
      for (int32_t p : operation.persons)
        if (cPerson* person = OperationPerson(p)) person->Carry(Game::kFood, carry);
    return counted;
  }
};

struct Subjects : gametest::LevelSlate {
  void SetUp() override {
    gametest::LevelSlate::SetUp();
    gametest::writeFile("data/translation.ini", "[Text]\n#GATE_NAME=Old gate\n");
  }
};

// A barn at (100, 400); Food 20 (at most 24), Ore 5.
bool load(GameHarness& h, int n, int mode = Game::kModeNormal) {
  testkit::LevelFiles f;
  f.balance = "[Main]\ntLevelTime=100000\nMinuteTime=60000\n[Resources]\nWorker=0\nFood=20\nOre=5\n"
              "[ResourcesMax]\nFood=24\nOre=30\nGold=30\n[ResourceHarvest]\nFood=1\nOre=1\nGold=1\n";
  f.map = "[Barn]\ntype=building\nsubType=barn\nx=100\ny=400\n";
  std::string error;
  EXPECT_TRUE(testkit::WriteTestLevel(n, f, &error)) << error;
  return h.Load(n, mode);
}

// The stock is back where load() started it: whatever was paid came back in full, no more.
void expectStartingStock(GameHarness& h) {
  EXPECT_EQ(h.stock().Amount(Game::kFood), 20);
  EXPECT_EQ(h.stock().Amount(Game::kOre), 5);
}

cPerson* worker(GameHarness& h, int x = 100, int y = 400) { return h.workers().CreatePerson({x, y}, "Worker", -1); }

// A subject placed on the running map (the families of obstacles are not built yet).
template <class T = TestSubject>
T* addSubject(GameHarness& h, const char* name, int x, int y) {
  auto* s = new T();
  Map::cObjectFactory& f = *Map::objectFactory();
  s->id = f.NextId();
  f.SetNextId(s->id + 1);
  s->typeName = "brokenPath";
  s->typeHash = NameHash("brokenPath");
  s->SetSubtype("testGate");
  s->SetName(name);
  s->x = float(x);
  s->y = float(y);
  s->boundHalfSize = {20, 20};
  s->Set(Map::kFlagClickable, true);
  s->durations[int(OperationKind::Repair)] = 1000;
  s->costs[int(OperationKind::Repair)] = {0, 4, 2, 0};
  f.RegisterEvents(*s);
  h.map().Add(s);
  return s;
}

// Loads the level, makes one worker at the barn and lets the level become ready.
void start(GameHarness& h, int n, int mode = Game::kModeNormal) {
  ASSERT_TRUE(load(h, n, mode));
  worker(h);
  h.Advance(1);
  ASSERT_EQ(h.phase(), Game::Phase::Ready);
}

void click(GameHarness& h, const Map::cObject* o) { h.Action(2, o->id); }
}  // namespace

// ---- Loading ----------------------------------------------------------------------------------

TEST_F(Subjects, ItemsLoadAlikeFromMapIniAndMapBinAndSaveBack) {
  gametest::writeFile("subj/map.ini",
                      "[Gate]\ntype=brokenPath\nsubType=bridge\nx=10\ny=20\nworkerType=Warrior\n"
                      "Person_Repair_Time=4000\nPerson_Build_Time=-5\nPerson_Repair_Time_Food=3\n"
                      "Person_Repair_Time_Gold=7\nPerson_Build_Time_Ore=-2\npersonVisibleState=3\n"
                      "name=#GATE_NAME\ncursor=5\ndeleteOnGamePlayFinished=1\n"
                      "[Plain]\ntype=brokenPath\nsubType=bridge\nx=1\ny=2\n");
  TestSubject fromIni;
  fromIni.typeName = "brokenPath";
  fromIni.typeHash = NameHash("brokenPath");
  ASSERT_TRUE(fromIni.LoadIni("subj/map.ini", "Gate"));
  EXPECT_EQ(fromIni.personKind, NameHash("Warrior"));
  EXPECT_EQ(fromIni.Duration(OperationKind::Repair), 4000);
  EXPECT_EQ(fromIni.Duration(OperationKind::Build), 2000);  // 0 or less
  EXPECT_EQ(fromIni.Duration(OperationKind::Warm), 2000);   // missing reads 0
  EXPECT_EQ(fromIni.Duration(OperationKind(9)), 0);         // no such kind
  EXPECT_EQ(fromIni.Cost(OperationKind::Repair), (Map::ResourceVector{0, 3, 0, 7}));
  EXPECT_EQ(fromIni.Cost(OperationKind::Build), (Map::ResourceVector{}));  // a negative cost is free
  EXPECT_EQ(fromIni.Cost(OperationKind(9)), (Map::ResourceVector{}));
  EXPECT_EQ(fromIni.personVisibleState, 2);
  EXPECT_EQ(fromIni.GetDisplayName(), u"Old gate");
  EXPECT_EQ(fromIni.GetNameKey(), "#GATE_NAME");
  EXPECT_EQ(fromIni.GetCursor(), 5);
  EXPECT_EQ(fromIni.deleteOnGamePlayFinished, 1);
  EXPECT_EQ(fromIni.refusalSound, "CantDoOperation");
  EXPECT_NE(gametest::gerrText().find("Person_Build_Time_Ore"), std::string::npos);

  // The same section compiled to a binary record reads into the same fields.
  MapObjectRecord record;
  ASSERT_TRUE(mapRecordFromIni("subj/map.ini", "Gate", record));
  std::string bytes, error;
  ASSERT_TRUE(mapWriteObject(bytes, record, &error)) << error;
  MapStream stream;
  stream.OpenMemory(bytes.data(), bytes.size(), "subj/map.bin");
  ASSERT_EQ(std::string(stream.ReadString()), "brokenPath");
  ASSERT_EQ(std::string(stream.ReadString()), "bridge");
  TestSubject fromBin;
  fromBin.typeName = "brokenPath";
  fromBin.typeHash = NameHash("brokenPath");
  fromBin.subtypeName = "bridge";
  ASSERT_TRUE(fromBin.LoadBinary(stream));
  for (int k = 0; k < Map::kOperationKinds; ++k) {
    EXPECT_EQ(fromBin.durations[k], fromIni.durations[k]) << k;
    EXPECT_EQ(fromBin.costs[k], fromIni.costs[k]) << k;
  }
  EXPECT_EQ(fromBin.personKind, fromIni.personKind);
  EXPECT_EQ(fromBin.personVisibleState, fromIni.personVisibleState);
  EXPECT_EQ(fromBin.displayName, fromIni.displayName);
  EXPECT_EQ(fromBin.cursor, fromIni.cursor);
  EXPECT_EQ(fromBin.refusalSound, fromIni.refusalSound);

  // Saved again, the visible state is written plus one; a missing one stores 8 and saves 9.
  MapObjectRecord saved;
  fromIni.FillRecord(saved);
  EXPECT_NE(mapRecordToIni(saved).find("personVisibleState=3"), std::string::npos);
  EXPECT_NE(mapRecordToIni(saved).find("Person_Repair_Time_Gold=7"), std::string::npos);
  TestSubject plain;
  plain.typeName = "brokenPath";
  plain.typeHash = NameHash("brokenPath");
  ASSERT_TRUE(plain.LoadIni("subj/map.ini", "Plain"));
  EXPECT_EQ(plain.personVisibleState, 8);
  EXPECT_EQ(plain.personKind, 0u);
  MapObjectRecord plainSaved;
  plain.FillRecord(plainSaved);
  EXPECT_NE(mapRecordToIni(plainSaved).find("personVisibleState=9"), std::string::npos);
  // No cost keys: free, so always affordable (no stock needed).
  for (int k = 1; k < Map::kOperationKinds; ++k) EXPECT_TRUE(plain.CanAfford(OperationKind(k))) << k;
}

// ---- Refusals -----------------------------------------------------------------------------------

TEST_F(Subjects, EachRefusalPostsItsEventAndChargesNothing) {
  GameHarness h;
  start(h, 140);
  TestSubject* warriorsOnly = addSubject(h, "W", 500, 400);
  warriorsOnly->workerTypeText = "Warrior";
  warriorsOnly->personKind = NameHash("Warrior");
  TestSubject* unreachable = addSubject(h, "U", 500, 3);  // in the map's outer ring
  TestSubject* dear = addSubject(h, "D", 500, 300);
  dear->costs[int(OperationKind::Repair)] = {0, 21, 0, 0};
  h.ClearEvents();

  click(h, warriorsOnly);
  ASSERT_EQ(h.CountOf(Event::NoPersonOfKind), 1);
  EXPECT_EQ(uint32_t(h.Last(Event::NoPersonOfKind)->typeHash), NameHash("Warrior"));
  EXPECT_EQ(h.CountOf(Event::SubjectClicked), 1);
  EXPECT_EQ(warriorsOnly->GetStatusText(), "#OBJECT_HINT_YOUNEEDWARRIORHUT");

  click(h, unreachable);
  ASSERT_EQ(h.CountOf(Event::NoPathToSubject), 1);
  EXPECT_EQ(h.Last(Event::NoPathToSubject)->objectId, unreachable->id);
  EXPECT_EQ(h.Last(Event::NoPathToSubject)->y, 3);
  EXPECT_EQ(unreachable->GetStatusText(), "#OBJECT_HINT_NOPATH");
  EXPECT_EQ(unreachable->GetOrderState(), 3);

  click(h, dear);
  ASSERT_EQ(h.CountOf(Event::NotEnoughResources), 1);
  EXPECT_EQ(h.Last(Event::NotEnoughResources)->objectId, dear->id);
  EXPECT_EQ(dear->signShowsYes, 0);
  EXPECT_EQ(dear->GetOrderState(), 3);

  // The only worker is busy: in the normal mode the order is refused with a status, no event.
  TestSubject* cheap = addSubject(h, "C", 600, 400);
  cPerson* p = h.workers().GetNth(0, 0);
  ASSERT_TRUE(h.workers().SendTo(p->id, dear->id, 2, -1, 0.0f));
  h.ClearEvents();
  click(h, cheap);
  EXPECT_EQ(h.CountOf(Event::SubjectClicked), 1);
  EXPECT_EQ(h.CountOf(Event::NoPathToSubject) + h.CountOf(Event::NotEnoughResources) +
                h.CountOf(Event::NoPersonOfKind),
            0);
  EXPECT_EQ(cheap->GetStatusText(), "#OBJECT_HINT_NOFREEWORKER");
  EXPECT_EQ(cheap->GetOrderState(), 1);

  for (const TestSubject* s : {warriorsOnly, unreachable, dear, cheap}) {
    EXPECT_EQ(s->operation.state, OperationState::Idle);
    EXPECT_FALSE(h.queue().Contains(s->id));
  }
  expectStartingStock(h);
}

TEST_F(Subjects, ThreeQuickRefusalsSoundTwiceAndAgainAfterTheWindow) {
  GameHarness h;
  start(h, 141);
  TestSubject* s = addSubject(h, "U", 500, 3);
  click(h, s);
  click(h, s);
  click(h, s);
  EXPECT_EQ(s->refusalSoundsPlayed, 2);
  EXPECT_EQ(s->ordersRefused, 3);
  h.Advance(59);  // 1475 ms: the window still runs
  click(h, s);
  EXPECT_EQ(s->refusalSoundsPlayed, 2);
  h.Advance(1);
  click(h, s);
  EXPECT_EQ(s->refusalSoundsPlayed, 3);
  // Pointing at it again forgets the refusals.
  s->HoverEnter();
  s->HoverLeave();
  EXPECT_EQ(s->ordersRefused, 0);
}

// ---- Paying and refunding ---------------------------------------------------------------------

TEST_F(Subjects, CostIsPaidOnceAndASecondOrderIsIgnored) {
  GameHarness h;
  start(h, 142, Game::kModeMulticlick);
  TestSubject* s = addSubject(h, "S", 500, 400);
  h.ClearEvents();
  click(h, s);
  EXPECT_EQ(s->operation.state, OperationState::Ordered);
  EXPECT_EQ(s->operation.paid, (Map::ResourceVector{0, 4, 2, 0}));
  EXPECT_EQ(h.stock().Amount(Game::kFood), 16);
  EXPECT_EQ(h.stock().Amount(Game::kOre), 3);
  EXPECT_EQ(s->signShowsYes, 1);
  EXPECT_EQ(s->selected, 0);
  // Outside Idle an order neither charges nor changes the operation.
  EXPECT_FALSE(s->StartOperation(OperationKind::Repair));
  EXPECT_FALSE(s->Click(true));
  EXPECT_EQ(s->operation.state, OperationState::Ordered);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 16);
  EXPECT_EQ(h.stock().Amount(Game::kOre), 3);
  EXPECT_EQ(h.CountOf(Event::SubjectClicked), 1);
}

// Runs the subject through to `until` and cancels it there; the stock must be back to what it was.
void cancelIn(GameHarness& h, TestSubject* s, OperationState until) {
  const int32_t food = h.stock().Amount(Game::kFood), ore = h.stock().Amount(Game::kOre);
  click(h, s);
  ASSERT_EQ(h.stock().Amount(Game::kFood), food - 4);
  for (int i = 0; i < 400 && s->operation.state != until; ++i) h.Advance(1);
  ASSERT_EQ(s->operation.state, until);
  std::vector<int32_t> persons = s->operation.persons;
  h.ClearEvents();
  s->CancelOperation();
  EXPECT_EQ(s->operation.state, OperationState::Idle);
  EXPECT_EQ(h.stock().Amount(Game::kFood), food);
  EXPECT_EQ(h.stock().Amount(Game::kOre), ore);
  ASSERT_EQ(h.CountOf(Event::ObjectKilled), 1);
  EXPECT_EQ(h.Last(Event::ObjectKilled)->objectId, s->id);
  EXPECT_TRUE(s->operation.persons.empty());
  for (int32_t id : persons) EXPECT_EQ(h.workers().Person(id)->state, PersonState::Standing);
  // A second cancel gives nothing back.
  s->CancelOperation();
  EXPECT_EQ(h.stock().Amount(Game::kFood), food);
  EXPECT_EQ(h.CountOf(Event::ObjectKilled), 1);
  // Persons free again before the next case.
  h.Advance(130);
}

TEST_F(Subjects, EveryCancelPathRefundsExactlyWhatWasPaid) {
  GameHarness h;
  start(h, 143);
  TestSubject* s = addSubject(h, "S", 400, 400);
  cancelIn(h, s, OperationState::Gathering);
  cancelIn(h, s, OperationState::Working);
  s->operation.keepPersons = 1;
  cancelIn(h, s, OperationState::Held);
  s->operation.keepPersons = 0;
  // Started lasts one step: the arrival is told directly and the cancel follows at once.
  ASSERT_TRUE(s->StartOperation(OperationKind::Repair));
  s->RequestPersons();
  ASSERT_EQ(s->operation.persons.size(), 1u);
  EXPECT_TRUE(s->OnPersonArrived(s->operation.persons[0]));
  ASSERT_EQ(s->operation.state, OperationState::Started);
  s->CancelOperation();
  EXPECT_EQ(s->operation.state, OperationState::Idle);
  expectStartingStock(h);
}

TEST_F(Subjects, AnOrderedSubjectClickedAgainIsCancelledAndRefundedBeyondTheMaximum) {
  GameHarness h;
  start(h, 144, Game::kModeMulticlick);
  cPerson* p = h.workers().GetNth(0, 0);
  TestSubject* elsewhere = addSubject(h, "E", 700, 200);
  ASSERT_TRUE(h.workers().SendTo(p->id, elsewhere->id, 2, -1, 0.0f));  // nobody is free
  TestSubject* s = addSubject(h, "S", 500, 400);
  click(h, s);
  ASSERT_TRUE(h.queue().Contains(s->id));
  h.Advance(2);
  EXPECT_EQ(s->operation.state, OperationState::Ordered);  // waits in the queue
  EXPECT_EQ(s->GetOrderState(), 1);
  // While it waits the stock fills to its maximum (24); the refund still gives all 4 back.
  h.stock().AddResource(Game::kFood, 100, false);
  ASSERT_EQ(h.stock().Amount(Game::kFood), 24);
  h.ClearEvents();
  click(h, s);
  EXPECT_FALSE(h.queue().Contains(s->id));
  EXPECT_EQ(s->operation.state, OperationState::Idle);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 28);
  EXPECT_EQ(h.stock().Amount(Game::kOre), 5);
  EXPECT_EQ(h.CountOf(Event::ObjectKilled), 1);
  EXPECT_EQ(h.CountOf(Event::SubjectClicked), 0);  // the second click cancels, it does not order
}

TEST_F(Subjects, WithoutAWorkersControllerTheOrderFallsBackWithARefund) {
  GameHarness h;
  start(h, 145);
  TestSubject* s = addSubject(h, "S", 500, 400);
  ASSERT_TRUE(s->StartOperation(OperationKind::Repair));
  ASSERT_EQ(h.stock().Amount(Game::kFood), 16);
  auto workers = std::move(Game::levelContext()->workers);
  s->RequestPersons();
  Game::levelContext()->workers = std::move(workers);
  EXPECT_EQ(s->operation.state, OperationState::Idle);
  expectStartingStock(h);
}

TEST_F(Subjects, LeavingPlayCancelsRefundsAndFadesOut) {
  GameHarness h;
  start(h, 146, Game::kModeMulticlick);
  TestSubject* s = addSubject(h, "Mushroom", 500, 400);
  click(h, s);
  ASSERT_EQ(h.stock().Amount(Game::kFood), 16);
  const int32_t id = s->id;
  h.ClearEvents();
  GameEvent e;
  MakeEvent(e, Event::TakeOutOfPlay);
  e.tag = int32_t(NameHash("Mushroom"));
  Post(Game::levelContext()->dispatcher.get(), e);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 20);
  EXPECT_EQ(h.CountOf(Event::ObjectKilled), 1);
  EXPECT_FALSE(h.queue().Contains(id));
  EXPECT_TRUE(s->IsWithdrawn());
  EXPECT_FALSE(s->Click(true));
  h.Advance(19);  // 475 ms of the 500 ms fade
  ASSERT_NE(h.map().FindById(id), nullptr);
  h.Advance(2);
  EXPECT_EQ(h.map().FindById(id), nullptr);
  EXPECT_EQ(h.CountOf(Event::ObjectKilled), 1);
}

// ---- Persons at work ---------------------------------------------------------------------------

TEST_F(Subjects, ARepairPersonStandsThreeSecondsThenIsFree) {
  GameHarness h;
  start(h, 147);
  TestSubject* s = addSubject(h, "S", 500, 400);
  cPerson* p = h.workers().GetNth(0, 0);
  click(h, s);
  h.Advance(1);
  ASSERT_EQ(s->operation.state, OperationState::Gathering);
  ASSERT_EQ(s->operation.persons, std::vector<int32_t>{p->id});
  EXPECT_FALSE(h.queue().Contains(s->id));  // fully served: the order is gone
  EXPECT_EQ(p->state, PersonState::Walking);
  EXPECT_EQ(p->visibleState, 2);
  int steps = 0;
  while (s->operation.state != OperationState::Working && steps < 200) h.Advance(1), ++steps;
  ASSERT_EQ(s->operation.state, OperationState::Working);
  EXPECT_EQ(p->state, PersonState::Working);
  EXPECT_EQ(p->visibleState, 6);
  EXPECT_EQ(s->GetOrderState(), 4);
  // 400 px at 0.4 px/ms: 40 steps.
  EXPECT_NEAR(steps, 40, 1);
  // Then 1000 ms of work.
  int working = 0;
  while (s->operation.state == OperationState::Working && working < 100) h.Advance(1), ++working;
  EXPECT_EQ(working, 40);
  ASSERT_EQ(s->operation.state, OperationState::Finished);
  EXPECT_EQ(p->state, PersonState::Standing);
  EXPECT_EQ(p->visibleState, 1);
  EXPECT_NEAR(p->x, 500.0f, 6.0f);  // where it worked: the cell of the support point
  h.Advance(1);
  EXPECT_EQ(s->operation.state, OperationState::Idle);
  h.Advance(118);  // 2975 ms after the release
  EXPECT_EQ(p->state, PersonState::Standing);
  h.Advance(2);
  EXPECT_NE(p->state, PersonState::Standing);
  EXPECT_TRUE(p->IsFree());
}

TEST_F(Subjects, AGatheringPersonCarriesItsLoadHomeAndDelivers) {
  GameHarness h;
  start(h, 148);
  TestSubject* s = addSubject(h, "Berries", 300, 400);
  s->kind = OperationKind::GetResource;
  s->carry = 2;
  s->durations[int(OperationKind::GetResource)] = 500;
  cPerson* p = h.workers().GetNth(0, 0);
  click(h, s);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 20);  // nothing to pay
  int steps = 0;
  while (s->operation.state != OperationState::Finished && steps < 300) h.Advance(1), ++steps;
  ASSERT_EQ(s->operation.state, OperationState::Finished);
  EXPECT_EQ(p->state, PersonState::WalkingHome);
  EXPECT_EQ(p->visibleState, 3);
  EXPECT_EQ(p->carriedAmount, 2);
  h.ClearEvents();
  while (p->state == PersonState::WalkingHome && steps < 600) h.Advance(1), ++steps;
  EXPECT_EQ(h.stock().Amount(Game::kFood), 22);
  ASSERT_EQ(h.CountOf(Event::PersonDelivered), 1);
  EXPECT_EQ(h.Last(Event::PersonDelivered)->amount, 2);
  EXPECT_EQ(p->carriedResource, Map::kNoResource);
}

TEST_F(Subjects, TwoPersonsGoToSupportPointsZeroAndOneAndTheOrderGoesFirst) {
  GameHarness h;
  start(h, 149, Game::kModeMulticlick);
  cPerson* second = worker(h);
  cPerson* first = h.workers().GetNth(0, 0);
  TestSubject* single = addSubject(h, "One", 600, 200);
  TestSubject* pair = addSubject(h, "Two", 500, 400);
  pair->personsNeeded = 2;
  pair->supportCount = 2;
  pair->supportPoints[0] = {-60, 0};
  pair->supportPoints[1] = {60, 0};
  // Both queued before any step: the pair goes in front of the earlier single order.
  click(h, single);
  click(h, pair);
  ASSERT_EQ(h.queue().Count(), 2u);
  EXPECT_EQ(h.queue().At(0).subjectId, pair->id);
  h.Advance(1);
  ASSERT_EQ(pair->operation.persons, (std::vector<int32_t>{first->id, second->id}));
  // Routes end in the cell of their support point.
  EXPECT_LE(std::abs(first->route().back().x - 440), 5);
  EXPECT_LE(std::abs(second->route().back().x - 560), 5);
  EXPECT_TRUE(h.queue().Contains(single->id));  // nobody left for it
  // The nearer one arrives first and waits, standing and facing the subject.
  int steps = 0;
  while (first->state == PersonState::Walking && steps < 200) h.Advance(1), ++steps;
  EXPECT_EQ(first->state, PersonState::Queued);
  EXPECT_EQ(first->direction, 2);
  EXPECT_EQ(pair->operation.state, OperationState::Gathering);
  while (pair->operation.state == OperationState::Gathering && steps < 400) h.Advance(1), ++steps;
  h.Advance(1);
  EXPECT_EQ(pair->operation.state, OperationState::Working);
  EXPECT_EQ(first->state, PersonState::Working);
  EXPECT_EQ(second->state, PersonState::Working);
  EXPECT_EQ(second->direction, 6);  // facing the subject from its right
}

TEST_F(Subjects, NoPersonsNeededStillAsksForOneAndTheNearestIsSent) {
  GameHarness h;
  start(h, 150);
  cPerson* atBarn = h.workers().GetNth(0, 0);
  cPerson* near = worker(h, 450, 400);
  TestSubject* s = addSubject(h, "S", 500, 400);
  s->personsNeeded = 0;
  click(h, s);
  h.Advance(1);
  ASSERT_EQ(s->operation.persons, std::vector<int32_t>{near->id});
  EXPECT_EQ(s->operation.personsNeeded, 1);
  EXPECT_EQ(atBarn->state, PersonState::Free);
}

TEST_F(Subjects, AfterEvent61TheSubjectIsWithdrawnForGood) {
  GameHarness h;
  start(h, 151);
  TestSubject* s = addSubject(h, "S", 500, 400);
  s->cursor = 3;
  EXPECT_EQ(s->GetCursor(), 3);
  cPerson* p = h.workers().GetNth(0, 0);
  click(h, s);
  h.Advance(1);
  ASSERT_EQ(s->operation.state, OperationState::Gathering);
  h.ClearEvents();
  GameEvent e;
  MakeEvent(e, Event::PersonWalksToGathering);
  e.objectId = p->id;
  Post(Game::levelContext()->dispatcher.get(), e);
  EXPECT_EQ(s->operation.state, OperationState::Idle);  // its person left: cancelled
  EXPECT_EQ(h.stock().Amount(Game::kFood), 20);
  EXPECT_EQ(s->GetCursor(), 0);
  EXPECT_TRUE(s->IsWithdrawn());
  EXPECT_EQ(h.map().HitTest(500, 400), nullptr);
  h.Advance(130);
  EXPECT_FALSE(s->Click(true));
  click(h, s);
  EXPECT_EQ(h.CountOf(Event::SubjectClicked), 0);
  EXPECT_FALSE(h.queue().Contains(s->id));
}

TEST_F(Subjects, AnOperationWhosePersonsLeftTheMapEndsWithItsRefund) {
  GameHarness h;
  start(h, 160);
  TestSubject* s = addSubject(h, "S", 500, 400);
  cPerson* p = h.workers().GetNth(0, 0);
  click(h, s);
  h.Advance(3);
  ASSERT_EQ(s->operation.state, OperationState::Gathering);
  h.map().Remove(p->id);
  h.Advance(2);
  EXPECT_EQ(s->operation.state, OperationState::Idle);
  EXPECT_TRUE(s->operation.persons.empty());
  expectStartingStock(h);
}

TEST_F(Subjects, OnAWinFreeWorkersWalkOutAndCheer) {
  GameHarness h;
  start(h, 153);
  cPerson* p = h.workers().GetNth(0, 0);
  ASSERT_TRUE(p->atHome);
  h.Action(1);
  h.Action(7);
  EXPECT_EQ(h.workers().WalkingOut(), std::vector<int32_t>{p->id});
  EXPECT_EQ(p->state, PersonState::Walking);
  EXPECT_FALSE(p->Has(Map::kFlagHidden));
  // Near the barn: 100 px either side, 80 to 110 px below it.
  const PathPoint to = p->route().back();
  EXPECT_LE(std::abs(to.x - 100), 100);
  EXPECT_GE(to.y, 480);
  EXPECT_LT(to.y, 510);
  for (int i = 0; i < 100 && p->state == PersonState::Walking; ++i) h.Advance(1);
  EXPECT_EQ(p->state, PersonState::Celebrating);
  EXPECT_TRUE(h.workers().WalkingOut().empty());
}

TEST_F(Subjects, RemovingAWorkerTakesOneFromTheStock) {
  GameHarness h;
  start(h, 154);
  worker(h);
  ASSERT_EQ(h.stock().Amount(Game::kWorker), 2);
  EXPECT_TRUE(h.workers().RemoveWorker());
  h.Advance(1);
  EXPECT_EQ(h.stock().Amount(Game::kWorker), 1);
  EXPECT_EQ(h.workers().PersonCount(), 1);
  // The other is busy: none left to remove.
  cPerson* p = h.workers().GetNth(0, 0);
  TestSubject* s = addSubject(h, "S", 500, 400);
  ASSERT_TRUE(h.workers().SendTo(p->id, s->id, 2, -1, 0.0f));
  EXPECT_FALSE(h.workers().RemoveWorker());
}

// ---- Hover, carried items, cut routes, the end of play, divided work -----------------------------

namespace {
// A plain child object of the subject (its hint icon or focus marker).
Map::cObject* addChild(GameHarness& h, const Map::cObject* parent, const char* subtype) {
  auto* c = new Map::cObject();
  Map::cObjectFactory& f = *Map::objectFactory();
  c->id = f.NextId();
  f.SetNextId(c->id + 1);
  c->typeName = "icon";
  c->typeHash = NameHash("icon");
  c->SetSubtype(subtype);
  c->parentId = parent->id;
  c->SetHidden(true);
  h.map().Add(c);
  return c;
}

struct ItemSubject : TestSubject {
  bool NeedsCarriedItem() const override { return true; }
};

struct PartLog : Map::ISubjectPartListener {
  std::vector<std::pair<int32_t, int32_t>> parts;
  void OnPartDone(int32_t part, int32_t person) override { parts.push_back({part, person}); }
};
}  // namespace

TEST_F(Subjects, HoverShowsTheHintAndMarkerExceptWhileOrderedOrWorking) {
  GameHarness h;
  start(h, 155);
  TestSubject* s = addSubject(h, "S", 500, 400);
  Map::cObject* hint = addChild(h, s, "hint");
  Map::cObject* marker = addChild(h, s, "focusMarker");
  s->SetSelected(true);
  EXPECT_TRUE(s->HoverEnter());
  EXPECT_FALSE(hint->Has(Map::kFlagHidden));
  EXPECT_FALSE(marker->Has(Map::kFlagHidden));
  EXPECT_EQ(s->selected, 0);
  s->HoverLeave();
  EXPECT_TRUE(hint->Has(Map::kFlagHidden));
  EXPECT_TRUE(marker->Has(Map::kFlagHidden));

  click(h, s);
  ASSERT_EQ(s->operation.state, OperationState::Ordered);
  s->HoverEnter();
  EXPECT_TRUE(hint->Has(Map::kFlagHidden));
  EXPECT_TRUE(marker->Has(Map::kFlagHidden));
  for (int i = 0; i < 200 && s->operation.state != OperationState::Working; ++i) h.Advance(1);
  ASSERT_EQ(s->operation.state, OperationState::Working);
  s->HoverEnter();
  EXPECT_TRUE(hint->Has(Map::kFlagHidden));  // hidden while the work runs
  EXPECT_FALSE(marker->Has(Map::kFlagHidden));
  // The pointer stays over it: the hint comes back when the work is done.
  s->Set(Map::kFlagPointerOver, true);
  for (int i = 0; i < 100 && s->operation.state == OperationState::Working; ++i) h.Advance(1);
  h.Advance(1);
  EXPECT_FALSE(hint->Has(Map::kFlagHidden));
}

TEST_F(Subjects, AnItemOrderFetchesAWorkerHomeFirstThenSendsIt) {
  GameHarness h;
  start(h, 156);
  cPerson* p = h.workers().GetNth(0, 0);
  p->SetAnchor({300, 400});
  p->atHome = 0;
  p->SetHidden(false);
  auto* s = addSubject<ItemSubject>(h, "Chest", 500, 400);
  s->costs[int(OperationKind::Repair)] = {};
  click(h, s);
  ASSERT_TRUE(h.queue().Contains(s->id));
  h.Advance(1);
  // Nobody is at home: the free worker goes home for the item and the order waits for it.
  ASSERT_TRUE(h.queue().Contains(s->id));
  EXPECT_EQ(h.queue().At(0).waiting, 1);
  EXPECT_EQ(p->state, PersonState::WalkingHome);
  EXPECT_EQ(s->operation.state, OperationState::Ordered);
  // Home after 200 px; in that step the order is served from there.
  int steps = 0;
  while (s->operation.state == OperationState::Ordered && steps < 100) h.Advance(1), ++steps;
  EXPECT_NEAR(steps, 20, 2);
  EXPECT_FALSE(h.queue().Contains(s->id));
  EXPECT_LE(std::abs(p->route().front().x - 100), 5);
  EXPECT_EQ(s->operation.state, OperationState::Gathering);
  EXPECT_EQ(p->state, PersonState::Walking);
  EXPECT_EQ(p->targetId, s->id);
}

TEST_F(Subjects, ACutRouteRecallsThePersonAndCancelsTheOperation) {
  GameHarness h;
  start(h, 157);
  TestSubject* s = addSubject(h, "S", 500, 400);
  cPerson* p = h.workers().GetNth(0, 0);
  click(h, s);
  h.Advance(5);
  ASSERT_EQ(p->state, PersonState::Walking);
  ASSERT_EQ(h.stock().Amount(Game::kFood), 16);
  // A wall across the whole map between the person and the subject.
  for (int cy = 0; cy < 77; ++cy) h.path().SetFlags(40, cy, kPathStaticBit);
  h.path().ClearCache();
  h.ClearEvents();
  GameEvent e;
  MakeEvent(e, Event::RoutesMayBeCut);
  Post(Game::levelContext()->dispatcher.get(), e);
  ASSERT_EQ(h.CountOf(Event::PersonCalledBack), 1);
  EXPECT_EQ(h.Last(Event::PersonCalledBack)->objectId, p->id);
  EXPECT_EQ(h.Last(Event::PersonCalledBack)->otherId, s->id);
  EXPECT_EQ(s->operation.state, OperationState::Idle);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 20);
  EXPECT_EQ(p->state, PersonState::Standing);
}

TEST_F(Subjects, TheEndOfPlayRemovesOnlySubjectsMarkedForIt) {
  GameHarness h;
  start(h, 158);
  TestSubject* leaves = addSubject(h, "Leaves", 500, 400);
  leaves->deleteOnGamePlayFinished = 1;
  TestSubject* stays = addSubject(h, "Stays", 600, 300);
  const int32_t leavesId = leaves->id, staysId = stays->id;
  h.Action(1);
  h.Action(7);
  ASSERT_GE(h.CountOf(Event::GamePlayFinished), 1);
  h.Advance(21);
  EXPECT_EQ(h.map().FindById(leavesId), nullptr);
  EXPECT_NE(h.map().FindById(staysId), nullptr);
}

TEST_F(Subjects, DividedWorkPausesAfterEachPartUntilContinued) {
  GameHarness h;
  start(h, 159);
  TestSubject* s = addSubject(h, "S", 300, 400);
  PartLog log;
  s->operation.partListener = &log;
  s->operation.partsTotal = 2;
  cPerson* p = h.workers().GetNth(0, 0);
  click(h, s);
  for (int i = 0; i < 200 && s->operation.state != OperationState::Working; ++i) h.Advance(1);
  ASSERT_EQ(s->operation.state, OperationState::Working);
  h.Advance(20);  // the first 500 ms part
  ASSERT_EQ(log.parts.size(), 1u);
  EXPECT_EQ(log.parts[0], (std::pair<int32_t, int32_t>{0, p->id}));
  EXPECT_FALSE(s->operation.workTimer.running);
  h.Advance(40);  // paused: nothing ends
  EXPECT_EQ(s->operation.state, OperationState::Working);
  EXPECT_EQ(s->operation.workTimer.remaining, 500);
  s->ContinueOperation();
  h.Advance(19);
  EXPECT_EQ(s->operation.state, OperationState::Working);
  h.Advance(1);
  EXPECT_EQ(s->operation.state, OperationState::Finished);
  EXPECT_EQ(log.parts.size(), 1u);  // the last part ends with the work
}

// A worker still standing at the subject after its last job arrives while it is being asked for:
// the operation passes Gathering inside the request. Its order must leave the queue all the same,
// or the next click on the subject would be taken as "cancel the queued order".
TEST_F(Subjects, AnOrderServedByAWorkerAlreadyThereLeavesTheQueue) {
  GameHarness h;
  start(h, 148);
  TestSubject* s = addSubject(h, "S", 500, 400);
  cPerson* p = h.workers().GetNth(0, 0);
  click(h, s);
  int steps = 0;
  while (s->operation.state != OperationState::Idle && steps < 400) h.Advance(1), ++steps;
  ASSERT_EQ(s->operation.state, OperationState::Idle);
  ASSERT_EQ(p->state, PersonState::Standing);  // still at the subject

  click(h, s);
  h.Advance(1);
  EXPECT_NE(s->operation.state, OperationState::Ordered);
  EXPECT_EQ(s->operation.persons, std::vector<int32_t>{p->id});
  EXPECT_FALSE(h.queue().Contains(s->id));
  while (s->operation.state != OperationState::Idle && steps < 800) h.Advance(1), ++steps;
  EXPECT_EQ(s->operation.state, OperationState::Idle);
  EXPECT_FALSE(h.queue().Contains(s->id));
  // A third order is an order again, not a cancel.
  h.stock().AddResource(Game::kOre, 4, false);  // two orders took 4 of the 5
  const int32_t food = h.stock().Amount(Game::kFood);
  click(h, s);
  EXPECT_EQ(h.stock().Amount(Game::kFood), food - 4);
  EXPECT_NE(s->operation.state, OperationState::Idle);
}
