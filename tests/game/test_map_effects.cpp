// Map effects in a headless level: one from map.ini runs and leaves the map once its effect has
// stopped, one waiting for its cue stays dark until the witch names its tag, a lifetime ends the
// emission, a bonus place's respawn spawns its effect one layer above the place, and names the
// effect catalogue lacks are harmless, and evil smoke calls the persons once it has run out.
#include <gtest/gtest.h>

#include <string>

#include "anim/fx_simple_pyro.h"
#include "files/name_hash.h"
#include "game/objects/bonus.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"
#include "obstacle_levels.h"

using FxManager::cSimplePyro;
using Game::Event;
using Map::cEffect;
using testkit::GameHarness;

namespace {
struct MapEffects : obstest::Level {};

const char* kFire =
    "[Fire1]\ntype=fx\nsubType=mapeffect\nx=200\ny=300\nlayer=2\neffectname=NoSuchEffect\n";
const char* kWaitingFire =
    "[Fire2]\ntype=fx\nsubType=mapeffect\nx=250\ny=320\neffectname=NoSuchEffect\nstartOnEffect=1\n";

void nameTag(const char* name) {
  GameEvent e;
  MakeEvent(e, Event::WitchNamesObject);
  e.tag = int32_t(NameHash(name));
  Map::objPost(e);
}

int countEffects(GameHarness& h, std::string_view effectName) {
  int n = 0;
  size_t cursor = 0;
  while (Map::cObject* o = h.map().Iterate(NameHash("fx"), 0, cursor))
    if (auto* fx = dynamic_cast<cEffect*>(o); fx && fx->EffectName() == effectName && !fx->Has(Map::kFlagRemoved)) ++n;
  return n;
}
}  // namespace

// An effect without emitters counts as done two seconds after it started; the map object follows.
TEST_F(MapEffects, AnEffectFromTheMapRunsAndLeavesOnceItHasStopped) {
  GameHarness h;
  testkit::LevelFiles f;
  f.balance = obstest::balance(1, 0, 0, 0);
  f.map = std::string(obstest::kBarn) + kFire;
  std::string error;
  ASSERT_TRUE(testkit::WriteTestLevel(160, f, &error)) << error;
  ASSERT_TRUE(h.Load(160));
  auto* fire = obstest::byName<cEffect>(h, "Fire1");
  ASSERT_NE(fire, nullptr);
  const int32_t id = fire->id;
  EXPECT_EQ(fire->layer, 2);
  EXPECT_FALSE(fire->Waiting());
  ASSERT_NE(fire->Effect(), nullptr);
  EXPECT_EQ(fire->Effect()->GetState(), cSimplePyro::kRunning);
  float fx = 0, fy = 0;
  fire->Effect()->GetPosition(fx, fy);
  EXPECT_FLOAT_EQ(fx, 200.0f);
  EXPECT_FLOAT_EQ(fy, 300.0f);
  h.Action(1);
  h.Advance(60);  // 1.5 s: still burning
  ASSERT_EQ(h.map().FindById(id), fire);
  EXPECT_EQ(fire->Effect()->GetState(), cSimplePyro::kRunning);
  h.Advance(40);  // 2.5 s: burnt out and gone
  EXPECT_EQ(h.map().FindById(id), nullptr);
  const GameEvent* killed = h.Last(Event::ObjectKilled);
  ASSERT_NE(killed, nullptr);
  EXPECT_EQ(killed->objectId, id);
}

TEST_F(MapEffects, AWaitingEffectStartsOnlyWhenItsOwnTagIsNamed) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 161, kWaitingFire, obstest::balance(1, 0, 0, 0)));
  auto* fire = obstest::byName<cEffect>(h, "Fire2");
  ASSERT_NE(fire, nullptr);
  const int32_t id = fire->id;
  EXPECT_TRUE(fire->Waiting());
  h.Advance(200);  // five seconds: a waiting effect neither runs nor goes away
  ASSERT_EQ(h.map().FindById(id), fire);
  EXPECT_EQ(fire->Effect()->GetState(), cSimplePyro::kStopped);
  nameTag("SomeoneElse");
  h.Advance(1);
  EXPECT_TRUE(fire->Waiting());
  nameTag("Fire2");
  h.Advance(1);
  EXPECT_FALSE(fire->Waiting());
  EXPECT_EQ(fire->Effect()->GetState(), cSimplePyro::kRunning);
  h.Advance(40);  // one second of running: not yet burnt out
  EXPECT_EQ(h.map().FindById(id), fire);
  h.Advance(80);
  EXPECT_EQ(h.map().FindById(id), nullptr);
}

TEST_F(MapEffects, ALifetimeEndsTheEmissionAndTheRecordKeepsTheKeys) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 162, "", obstest::balance(1, 0, 0, 0)));
  cEffect* timed = Map::SpawnMapEffect("Unknown1", 3, 500, 120.0f, 140.0f);
  cEffect* open = Map::SpawnMapEffect("Unknown2", 3, -1, 130.0f, 140.0f);
  ASSERT_NE(timed, nullptr);
  ASSERT_NE(open, nullptr);
  EXPECT_NE(timed->id, open->id);
  EXPECT_NE(timed->name, open->name);
  EXPECT_EQ(timed->name.rfind("eff", 0), 0u);
  EXPECT_FALSE(timed->Has(Map::kFlagCreatedAtLoad));
  EXPECT_EQ(timed->layer, 3);
  EXPECT_EQ(timed->AnchorI(), (Map::IntPoint{120, 140}));
  h.Advance(16);  // 400 ms
  EXPECT_EQ(timed->Effect()->GetState(), cSimplePyro::kRunning);
  h.Advance(8);  // 600 ms
  EXPECT_EQ(timed->Effect()->GetState(), cSimplePyro::kStopping);
  EXPECT_EQ(open->Effect()->GetState(), cSimplePyro::kRunning);

  MapObjectRecord r;
  timed->FillRecord(r);
  // The family's items in their record order: the effect name first.
  ASSERT_GE(r.extension.size(), 3u);
  EXPECT_EQ(r.extension[0].s, "Unknown1");
  EXPECT_EQ(r.extension[2].i, 0);
}

TEST_F(MapEffects, AQuillEffectStopsWhenTheQuillIsPickedUp) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 163, "", obstest::balance(1, 0, 0, 0)));
  cEffect* quill = Map::SpawnMapEffect("Quill", 1, -1, 100.0f, 100.0f);
  cEffect* other = Map::SpawnMapEffect("Quills", 1, -1, 100.0f, 100.0f);
  ASSERT_NE(quill, nullptr);
  ASSERT_NE(other, nullptr);
  GameEvent e;
  MakeEvent(e, Event::QuillPickedUp);
  Map::objPost(e);
  h.Advance(1);
  EXPECT_EQ(quill->Effect()->GetState(), cSimplePyro::kStopping);
  EXPECT_EQ(other->Effect()->GetState(), cSimplePyro::kRunning);
}

TEST_F(MapEffects, ABonusPlaceRespawnSpawnsOneEffectOneLayerAbove) {
  GameHarness h;
  gametest::writeFile("data/bonus/bonuses.ini",
                      "[Food]\ntype=bonus\nsubType=food\nresource=Food\nboundXS=10\nboundYS=10\n"
                      "Person_Get_Resource_Time=500\n");
  const char* place =
      "[Place1]\ntype=bonusPlace\nx=300\ny=400\nlayer=4\nsupportX=-20\nresource=Food\nresourceValue=3\n"
      "period=2000\n";
  ASSERT_TRUE(obstest::load(h, 164, place, obstest::balance(1, 0, 0, 0)));
  auto* p = obstest::byName<Map::cBonusPlace>(h, "Place1");
  ASSERT_NE(p, nullptr);
  // The first bonus comes silently: no effect.
  EXPECT_EQ(countEffects(h, "BonusRespawn"), 0);
  ASSERT_NE(p->bonusId, Map::kNoId);
  h.Action(2, p->bonusId);  // the worker fetches it
  ASSERT_TRUE(obstest::runUntil(h, Event::BonusPlaced, 1, 1200));
  ASSERT_EQ(countEffects(h, "BonusRespawn"), 1);
  size_t cursor = 0;
  cEffect* fx = nullptr;
  while (Map::cObject* o = h.map().Iterate(NameHash("fx"), 0, cursor))
    if (auto* e = dynamic_cast<cEffect*>(o); e && e->EffectName() == "BonusRespawn") fx = e;
  ASSERT_NE(fx, nullptr);
  EXPECT_EQ(fx->layer, 5);
  EXPECT_EQ(fx->AnchorI(), p->AnchorI());
}

TEST_F(MapEffects, EvilSmokeStopsWhenTheGoalsAreDoneAndCallsThePersonsOnceItHasRunOut) {
  GameHarness h;
  testkit::LevelFiles f;
  f.balance = obstest::balance(1, 0, 0, 0);
  f.map = std::string(obstest::kBarn) +
          "[Smoke1]\ntype=fx\nsubType=evilsmoke\nx=400\ny=200\neffectname=NoSuchSmoke\n";
  std::string error;
  ASSERT_TRUE(testkit::WriteTestLevel(165, f, &error)) << error;
  ASSERT_TRUE(h.Load(165));
  auto* smoke = obstest::byName<Map::cEvilSmoke>(h, "Smoke1");
  ASSERT_NE(smoke, nullptr);
  const int32_t id = smoke->id;
  h.Action(1);
  h.Advance(4);
  EXPECT_EQ(smoke->Effect()->GetState(), cSimplePyro::kRunning);
  GameEvent done;
  MakeEvent(done, Event::AllGoalsCompleted);
  Map::objPost(done);
  h.Advance(1);
  EXPECT_EQ(smoke->Effect()->GetState(), cSimplePyro::kStopping);
  EXPECT_EQ(h.CountOf(Event::EvilSmokeFinished), 0);  // still fading
  h.Advance(120);
  ASSERT_EQ(h.CountOf(Event::EvilSmokeFinished), 1);
  EXPECT_EQ(uint32_t(h.Last(Event::EvilSmokeFinished)->tag), NameHash("Smoke1"));
  EXPECT_EQ(h.map().FindById(id), nullptr);
}
