// A person's animation table: one named animation per visible state and direction, read from the
// kind's section of "data/person/persons.ini"; a walking person shows the animation of the way it
// is facing and changes it at each turn; an idle one fidgets; one on a bridge is drawn raised. And a
// worker back home goes in.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "anim/anim_catalogue.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "demo_copy_util.h"
#include "game_test_util.h"
#include "sound/snd_test_util.h"
#include "sound/sound.h"
#include "support/demo_copy.h"
#include "support/game_harness.h"

using Map::cPerson;
using Map::PersonState;
using testkit::GameHarness;

namespace {
struct PersonAnims : ::testing::Test {
  void SetUp() override {
    iniFreeAll();
    gametest::clearGerr();
    testSettingsLoad("none.ini");
    gametest::writeFile("data/person/persons.ini",
                        "[Worker1]\nmove_anim2=walk_right\nmove_anim4=walk_down\nmoveWithBag_anim2=NULL\n"
                        "moveWithBag_anim4=bag_down\nstay_anim4=idle_down\ngreetings_anim4=wave\n");
  }
  void TearDown() override {
    Game::EndLevel();
    std::filesystem::remove_all("data/person");
    iniFreeAll();
  }
};

bool load(GameHarness& h, int n) {
  testkit::LevelFiles f;
  f.balance = "[Main]\ntLevelTime=100000\nMinuteTime=60000\n[Resources]\nWorker=0\n";
  f.map = "[Barn]\ntype=building\nsubType=barn\nx=100\ny=400\n";
  std::string error;
  EXPECT_TRUE(testkit::WriteTestLevel(n, f, &error)) << error;
  return h.Load(n);
}
}  // namespace

TEST_F(PersonAnims, KeysNameTheStateAndDirection) {
  EXPECT_EQ(cPerson::AnimationKey(2, 2), "move_anim2");
  EXPECT_EQ(cPerson::AnimationKey(3, 5), "moveWithBag_anim5");
  EXPECT_EQ(cPerson::AnimationKey(16, 7), "trade2_anim7");
  EXPECT_EQ(cPerson::AnimationKey(0, 4), "") << "state 0 shows nothing and has no keys";
  EXPECT_EQ(cPerson::AnimationKey(17, 0), "");
  EXPECT_EQ(cPerson::AnimationKey(1, 8), "");
}

TEST_F(PersonAnims, AWalkingPersonsAnimationFollowsItsDirection) {
  GameHarness h;
  ASSERT_TRUE(load(h, 130));
  cPerson* p = h.workers().CreatePerson({0, 0}, "Worker", -1);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->AnimationHash(2, 2), NameHash("walk_right"));
  EXPECT_EQ(p->AnimationHash(3, 2), 0u) << "\"NULL\" in any case is no animation";
  EXPECT_EQ(p->AnimationHash(2, 6), 0u) << "a key not given";

  // Right 200 px, down 200 px, left 200 px at 0.2 px/ms: 1000 ms (40 steps) per leg.
  p->speed = 0.2f;
  p->SetVisibleState(2);
  p->StartMove(-1, PathRoute{{0, 0}, {200, 0}, {200, 200}, {0, 200}}, false, 0.0f);
  EXPECT_EQ(p->direction, 2);
  EXPECT_EQ(p->CurrentAnimationHash(), NameHash("walk_right"));
  h.Advance(20);
  EXPECT_EQ(p->CurrentAnimationHash(), NameHash("walk_right"));
  h.Advance(21);  // round the first corner
  EXPECT_EQ(p->direction, 4);
  EXPECT_EQ(p->CurrentAnimationHash(), NameHash("walk_down"));
  h.Advance(40);
  EXPECT_EQ(p->direction, 6);
  EXPECT_EQ(p->CurrentAnimationHash(), 0u) << "no animation for walking left: nothing drawn";
  h.Advance(40);
  EXPECT_EQ(p->state, PersonState::Free);
  EXPECT_EQ(p->CurrentAnimationHash(), 0u) << "an arrived person shows nothing until told";

  // Carrying home downwards shows the bag animation; standing faces down with "stay".
  p->SetVisibleState(3);
  p->StartMove(-1, PathRoute{{0, 200}, {0, 400}}, true, 0.0f);
  EXPECT_EQ(p->CurrentAnimationHash(), NameHash("bag_down"));
  p->Stand(500);
  EXPECT_EQ(p->CurrentAnimationHash(), NameHash("idle_down"));
  p->Greet();
  EXPECT_EQ(p->CurrentAnimationHash(), NameHash("wave"));
}

// A worker sent home goes in when it gets there: it is at home and hidden, says so once (event 66),
// and is not sent home again step after step.
TEST_F(PersonAnims, AWorkerBackHomeGoesInOnce) {
  GameHarness h;
  ASSERT_TRUE(load(h, 132));
  cPerson* p = h.workers().CreatePerson({300, 300}, "Worker", -1);
  ASSERT_NE(p, nullptr);
  ASSERT_GE(p->homeId, 0) << "a worker's home is the barn";
  p->atHome = 0;
  p->SetHidden(false);
  h.ClearEvents();
  ASSERT_TRUE(h.workers().SendHome(p->id, 2, false));
  EXPECT_EQ(p->state, PersonState::WalkingHome);
  h.Advance(400);
  EXPECT_EQ(p->state, PersonState::Free);
  EXPECT_EQ(p->atHome, 1);
  EXPECT_TRUE(p->flags & Map::kFlagHidden);
  EXPECT_EQ(h.CountOf(Game::Event::PersonArrived), 1);
  EXPECT_EQ(h.CountOf(Game::Event::PersonSentHome), 1);
  EXPECT_EQ(h.CountOf(Game::Event::PersonBackHome), 1);
}

// An idle person stands with "stay" for a random time below 7 s, plays "stay2" once, and stands
// again; any other state ends the fidgeting.
TEST_F(PersonAnims, AnIdlePersonFidgetsNowAndThen) {
  gametest::writeFile("data/person/persons.ini", "[Worker1]\nstay_anim4=idle_down\nstay2_anim4=idle_scratch\n");
  iniFreeAll();
  GameHarness h;
  ASSERT_TRUE(load(h, 133));
  cPerson* p = h.workers().CreatePerson({300, 300}, "Worker", -1);
  ASSERT_NE(p, nullptr);
  p->direction = 4;
  p->SetVisibleState(1);
  EXPECT_EQ(p->CurrentAnimationHash(), NameHash("idle_down"));
  int steps = 0;
  while (p->CurrentAnimationHash() == NameHash("idle_down") && steps < 300) {
    h.Advance(1);
    ++steps;
  }
  EXPECT_LE(steps, 7000 / 25 + 1) << "the first stand lasts less than 7 s";
  ASSERT_EQ(p->CurrentAnimationHash(), NameHash("idle_scratch"));
  EXPECT_EQ(p->visibleState, 1) << "still idle";
  // The fidget lasts its animation's length; one the catalogue lacks has none, so "stay" comes back
  // at the next step.
  int fidget = 0;
  while (p->CurrentAnimationHash() == NameHash("idle_scratch") && fidget < 100) {
    h.Advance(1);
    ++fidget;
  }
  EXPECT_EQ(fidget, 1);
  EXPECT_EQ(p->CurrentAnimationHash(), NameHash("idle_down"));
  p->Greet();
  h.Advance(300);
  EXPECT_NE(p->CurrentAnimationHash(), NameHash("idle_scratch")) << "greeting stops the fidget";
}

namespace {
// A bridge arc 12 px high over its whole box, standing in for the bridge family.
struct Arc : Map::cObject {
  float GetHeightAt(Map::IntPoint) const override { return 12.0f; }
};
}  // namespace

// A person on a bridge is drawn raised by the arc's height; off the bridge it is not.
TEST_F(PersonAnims, APersonOnABridgeIsLiftedByItsArc) {
  GameHarness h;
  ASSERT_TRUE(load(h, 134));
  auto* arc = new Arc;
  arc->typeHash = NameHash("brokenPath");
  arc->SetAnchor({300, 300});
  arc->boundHalfSize = {50, 20};
  h.map().Add(arc);
  cPerson* p = h.workers().CreatePerson({340, 310}, "Worker", -1);
  ASSERT_NE(p, nullptr);
  EXPECT_FLOAT_EQ(p->Lift(), 12.0f);
  p->SetAnchor({360, 310});  // past the box's right edge
  EXPECT_FLOAT_EQ(p->Lift(), 0.0f);
  arc->typeHash = NameHash("decoration");
  p->SetAnchor({300, 300});
  EXPECT_FLOAT_EQ(p->Lift(), 0.0f) << "only bridges lift";
}

// At a turn the walk goes on with the new direction's animation from the same point of its cycle,
// not from its first frame; a new visible state starts from the beginning.
TEST_F(PersonAnims, ATurnKeepsTheWalksPhase) {
  gametest::writeFile("walk.xml",
                      "<Animations><Animation id=\"walk_right\" path=\"none.tga\" period=\"1000\" frames=\"4\" isLoop=\"1\"/>"
                      "<Animation id=\"walk_down\" path=\"none.tga\" period=\"1000\" frames=\"4\" isLoop=\"1\"/>"
                      "<Animation id=\"bag_down\" path=\"none.tga\" period=\"1000\" frames=\"4\" isLoop=\"1\"/></Animations>\n");
  ASSERT_TRUE(Core::animManager().LoadAnimationCatalogue("walk.xml"));
  // The level (and the persons' copies of the animations) ends before the catalogue is cleared.
  struct ClearCatalogue {
    ~ClearCatalogue() { Core::animManager().Clear(); }
  } clearAfter;
  GameHarness h;
  ASSERT_TRUE(load(h, 135));
  cPerson* p = h.workers().CreatePerson({0, 0}, "Worker", -1);
  ASSERT_NE(p, nullptr);
  p->speed = 0.2f;
  p->SetVisibleState(2);
  // 150 px right (30 steps of 25 ms), then down.
  p->StartMove(-1, PathRoute{{0, 0}, {150, 0}, {150, 300}}, false, 0.0f);
  ASSERT_TRUE(p->CurrentAnimation().IsValid()) << "the catalogue knows the walk";
  EXPECT_EQ(p->CurrentAnimation().Time(), 0);
  h.Advance(29);
  const int32_t before = p->CurrentAnimation().Time();
  EXPECT_NEAR(before, 29 * 25, 25) << "the walk plays";
  h.Advance(1);
  ASSERT_EQ(p->CurrentAnimationHash(), NameHash("walk_down"));
  EXPECT_NEAR(p->CurrentAnimation().Time(), before + 25, 26) << "the same point of the cycle, not frame 0";
  p->SetVisibleState(3);
  EXPECT_EQ(p->CurrentAnimationHash(), NameHash("bag_down"));
  EXPECT_EQ(p->CurrentAnimation().Time(), 0);
  Game::EndLevel();
}

// The gather sound named by the definition's "GatherSoundKey" runs while the person gathers
// (visible state 8) and stops when it leaves the work; other work makes no gather sound.
TEST_F(PersonAnims, GatheringPlaysTheDefinitionsGatherSound) {
  gametest::writeFile("data/person/persons.ini",
                      "[Worker1]\nGatherSoundKey=WorkerGather\ngather_anim0=gather_up\nstay_anim0=idle_up\n");
  iniFreeAll();
  GameHarness h;
  ASSERT_TRUE(load(h, 136));
  cPerson* p = h.workers().CreatePerson({300, 300}, "Worker", -1);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->gatherSound, "WorkerGather");
  p->SetVisibleState(7);
  p->StartWork(0);
  EXPECT_FALSE(p->GatherSoundOn()) << "building is no gathering";
  p->SetVisibleState(8);
  p->StartWork(0, 0.5f);
  EXPECT_EQ(p->CurrentAnimationHash(), NameHash("gather_up"));
  EXPECT_TRUE(p->GatherSoundOn());
  EXPECT_EQ(p->gatherSoundsStarted, 1);
  h.Advance(4);
  EXPECT_TRUE(p->GatherSoundOn()) << "it runs as long as the work";
  p->Stand(100);
  h.Advance(1);
  EXPECT_FALSE(p->GatherSoundOn());
  // Waiting in a queue faces the target with "stay".
  auto* target = new Map::cObject;
  target->id = 5000;  // ids are the factory's; this one is made by hand
  target->SetAnchor({300, 100});
  h.map().Add(target);
  p->targetId = target->id;
  p->direction = 4;
  p->Queue(false);
  EXPECT_EQ(p->direction, 0);
  EXPECT_EQ(p->CurrentAnimationHash(), NameHash("idle_up"));
  EXPECT_EQ(p->gatherSoundsStarted, 1);
}

namespace {
struct DemoPersons : gametest::DemoCopySlate {
  const char* CopyName() const override { return "demo_persons"; }
  void TearDown() override {
    Game::EndLevel();
    gametest::DemoCopySlate::TearDown();
  }
};
}  // namespace

// On the bundled demo level the worker the controller brings to the barn door waves with the
// skin's pictures, goes in, and walks out again to work facing its way, every animation found.
TEST_F(DemoPersons, TheDemoWorkerShowsItsAnimationsFromTheBarnToItsWork) {
  GameHarness h;
  ASSERT_TRUE(h.Load(1));
  cPerson* p = h.workers().GetNth(0, 0);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->state, PersonState::Greeting);
  EXPECT_FALSE(p->flags & Map::kFlagHidden);
  EXPECT_EQ(p->CurrentAnimationHash(), NameHash("worker_greetings_" + std::to_string(p->direction)));
  EXPECT_TRUE(p->CurrentAnimation().IsValid()) << "the skin's group is loaded";
  // After greeting at the barn's door the worker walks the few steps in.
  h.Advance(cPerson::kGreetMs / 25 + 1);
  EXPECT_EQ(h.CountOf(Game::Event::PersonSentHome), 1);
  for (int i = 0; i < 200 && !p->atHome; ++i) h.Advance(1);
  ASSERT_EQ(p->atHome, 1);
  EXPECT_TRUE(p->flags & Map::kFlagHidden);

  // The broken bridge (its near end), or once it is mended the bush beyond it.
  h.ClearEvents();
  bool sent = false;
  for (const char* name : {"Food4", "FoodBush1"}) {
    Map::cObject* work = h.map().FindByTag(NameHash(name));
    if (work && (sent = h.workers().SendTo(p->id, work->id, 2, -1, 0.0f))) break;
  }
  ASSERT_TRUE(sent) << "no object of the demo level can be reached from the barn";
  EXPECT_EQ(h.CountOf(Game::Event::PersonLeftHome), 1) << "out of the barn";
  EXPECT_FALSE(p->flags & Map::kFlagHidden);
  const std::string walk = "worker_move_" + std::to_string(p->direction);
  EXPECT_EQ(p->CurrentAnimationHash(), NameHash(walk));
  ASSERT_TRUE(p->CurrentAnimation().IsValid()) << walk;
  const float x0 = p->x, y0 = p->y;
  const int32_t t0 = p->CurrentAnimation().Time();
  h.Advance(8);
  EXPECT_GT(std::hypot(p->x - x0, p->y - y0), 10.0f) << "on its way";
  EXPECT_NE(p->CurrentAnimation().Time(), t0) << "the walk plays";
}

// The persons' sound script is loaded once, by the first person that speaks with it, and freed
// when the last such person leaves the map, so levels never pile up copies of its sounds.
TEST_F(PersonAnims, ThePersonSoundScriptLivesAsLongAsItsPersons) {
  ASSERT_TRUE(sndtest::startManual());
  gametest::LevelSoundDone soundDone;
  gametest::writeFile("data/person/sounds.ini", "[Worker]\nname=voice.wav\n[WorkerGather]\nname=gather.wav\n");
  GameHarness h;
  ASSERT_TRUE(load(h, 137));
  const int before = sndLibrarySize();
  cPerson* a = h.workers().CreatePerson({300, 300}, "Worker", -1);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(sndLibrarySize(), before + 2) << "its two sections";
  cPerson* b = h.workers().CreatePerson({310, 300}, "Warrior", -1);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(sndLibrarySize(), before + 2) << "loaded once for every person";
  h.map().Remove(a->id);
  h.Advance(1);
  EXPECT_EQ(sndLibrarySize(), before + 2) << "one person still speaks with it";
  h.map().Remove(b->id);
  h.Advance(1);
  EXPECT_EQ(sndLibrarySize(), before);
}
