// Map effects in a headless level: one from map.ini runs and leaves the map once its effect has
// stopped, one waiting for its cue stays dark until the witch names its tag, a lifetime ends the
// emission, a bonus place's respawn spawns its effect one layer above the place, and names the
// effect catalogue lacks are harmless, and evil smoke calls the persons once it has run out. Fires
// of the fog go out where it lifts; the one-shot effects of other families outlive their objects;
// the demo's campfire and sunshine behave as the levels need.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "anim/fx_pyro_manager.h"
#include "anim/fx_simple_pyro.h"
#include "files/ini.h"
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

// A fire of the fog ("DeleteOutsideFog") goes out where the fog lifts, heard dying unless it is the
// plain campfire; without a fog on the level it burns on.
TEST_F(MapEffects, AFireOfTheFogGoesOutWhereTheFogLiftsAndOnlyThere) {
  auto level = [](int n, bool fog) {
    testkit::LevelFiles f;
    f.balance = "[Main]\ntLevelTime=1000000\nMinuteTime=60000\nbIsFog=" + std::string(fog ? "1" : "0") +
                "\n[Resources]\nWorker=0\n";
    // The stone's circle round (400, 300) is open from the start; the cottage site keeps its own
    // area shut, so the rest of the fog stays.
    f.map = std::string(obstest::kBarn) +
            "[Stone]\ntype=stone\nx=400\ny=300\nisFogArea=1\nfogAreaRadius=100\n"
            "[Cottage]\ntype=building\nsubType=Cottage\nx=900\ny=700\nboundXS=30\nboundYS=30\nstate=1\n"
            "isFogArea=1\nfogAreaRadius=60\n"
            "[Far]\ntype=fx\nsubType=mapeffect\nx=800\ny=500\neffectname=BigFire\nDeleteOutsideFog=1\n"
            "[Near]\ntype=fx\nsubType=mapeffect\nx=410\ny=300\neffectname=BigFire\nDeleteOutsideFog=1\n"
            "[Camp]\ntype=fx\nsubType=mapeffect\nx=420\ny=300\neffectname=Fire\nDeleteOutsideFog=1\n"
            "[Torch]\ntype=fx\nsubType=mapeffect\nx=430\ny=300\neffectname=BigFire\n";
    std::string error;
    EXPECT_TRUE(testkit::WriteTestLevel(n, f, &error)) << error;
  };
  std::vector<std::string> heard;
  auto listen = [&](GameHarness& h) {
    for (const char* name : {"Far", "Near", "Camp", "Torch"})
      obstest::byName<cEffect>(h, name)->SetSoundListener(
          [&heard, name](const char* s) { heard.push_back(std::string(name) + ":" + s); });
  };
  auto running = [](GameHarness& h, const char* name) {
    return obstest::byName<cEffect>(h, name)->Effect()->GetState() == cSimplePyro::kRunning;
  };
  {
    level(166, false);
    GameHarness h;
    ASSERT_TRUE(h.Load(166));
    listen(h);
    h.Advance(4);
    for (const char* name : {"Far", "Near", "Camp", "Torch"}) EXPECT_TRUE(running(h, name)) << name;
    EXPECT_TRUE(heard.empty());
  }
  level(167, true);
  GameHarness h;
  ASSERT_TRUE(h.Load(167));
  listen(h);
  h.Advance(1);
  EXPECT_TRUE(running(h, "Far")) << "still under the fog";
  EXPECT_FALSE(running(h, "Near")) << "in the circle open from the start";
  EXPECT_FALSE(running(h, "Camp"));
  EXPECT_TRUE(running(h, "Torch")) << "not a fire of the fog";
  EXPECT_EQ(heard, (std::vector<std::string>{"Near:FireDying"})) << "the campfire goes out quietly";
  Map::levelFog()->ApplyEllipse({800, 500}, 80.0f, 80.0f, true);
  h.Advance(1);
  EXPECT_FALSE(running(h, "Far"));
  EXPECT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard.back(), "Far:FireDying");
  h.Advance(10);
  EXPECT_EQ(heard.size(), 2u) << "a fire goes out once";
}

// One-shot effects of the other families belong to the map: a statue that leaves play once mended
// and a destroyed totem both leave their sunshine burning, one layer above them.
TEST_F(MapEffects, TheSunshineOfAMendedStatueAndADestroyedTotemOutlivesThem) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 168,
                            "[Statue]\ntype=brokenPath\nsubType=statue2\nx=300\ny=500\nlayer=2\nisBroken=1\n"
                            "isDrawAfterRepair=0\nPerson_Repair_Time=500\n"
                            "[Totem1]\ntype=totem\nx=300\ny=300\nlayer=6\nboundXS=20\nboundYS=20\nsupportY=30\n"
                            "Person_Repair_Time=500\n",
                            obstest::balance(1, 0, 0, 0)));
  auto* statue = obstest::byName(h, "Statue");
  ASSERT_NE(statue, nullptr);
  const int32_t statueId = statue->id;
  EXPECT_EQ(countEffects(h, "SunShine"), 0);
  h.Action(2, statueId);
  ASSERT_TRUE(obstest::runUntil(h, Event::OperationFinished));
  h.Advance(40);  // the patch has left play
  EXPECT_EQ(h.map().FindById(statueId), nullptr);
  auto sunshine = [&] {
    std::vector<cEffect*> out;
    size_t cursor = 0;
    while (Map::cObject* o = h.map().Iterate(NameHash("fx"), 0, cursor))
      if (auto* fx = dynamic_cast<cEffect*>(o); fx && fx->EffectName() == "SunShine" && !fx->Has(Map::kFlagRemoved))
        out.push_back(fx);
    return out;
  };
  ASSERT_EQ(sunshine().size(), 1u);
  EXPECT_EQ(sunshine()[0]->AnchorI(), (Map::IntPoint{300, 500}));
  EXPECT_EQ(sunshine()[0]->layer, 3);

  auto* totem = obstest::byName(h, "Totem1");
  ASSERT_NE(totem, nullptr);
  h.Action(2, totem->id);
  ASSERT_TRUE(obstest::runUntil(h, Event::TotemDestroyed));
  // (The statue's has burnt out meanwhile: an effect the catalogue lacks ends two seconds on.)
  const auto atTotem = sunshine();
  ASSERT_EQ(atTotem.size(), 1u);
  EXPECT_EQ(atTotem[0]->AnchorI(), (Map::IntPoint{300, 300}));
  EXPECT_EQ(atTotem[0]->layer, 7);
}

// The demo's campfire (level 4 names it) burns until it is stopped; its sunshine ends by itself.
TEST_F(MapEffects, TheDemosCampfireBurnsUntilStoppedAndItsSunshineEndsByItself) {
  const char* source = std::getenv("MM_SOURCE_DIR");
  if (!source) GTEST_SKIP() << "MM_SOURCE_DIR is not set";
  namespace fs = std::filesystem;
  const fs::path home = fs::current_path(), run = home / "demo_map_fx";
  fs::remove_all(run);
  fs::create_directories(run / "data");
  fs::copy(fs::path(source) / "demo/data/fx", run / "data/fx", fs::copy_options::recursive);
  fs::current_path(run);
  iniFreeAll();
  FxManager::pyroManager().Done();
  {
    cSimplePyro fire, sun;
    fire.Load("Fire");
    sun.Load("SunShine");
    fire.Start();
    sun.Start();
    for (int i = 0; i < 400; ++i) {  // ten seconds
      fire.Update(25.0f);
      sun.Update(25.0f);
    }
    EXPECT_EQ(fire.GetState(), cSimplePyro::kRunning);
    EXPECT_GT(fire.ParticleCount(), 10);
    EXPECT_TRUE(sun.IsStopped(true)) << "a spawned effect without a lifetime must end, or its object stays";
    fire.Stop(false);
    for (int i = 0; i < 200; ++i) fire.Update(25.0f);
    EXPECT_TRUE(fire.IsStopped(true));
    EXPECT_EQ(gametest::gerrText(), "");
  }
  FxManager::pyroManager().Done();
  iniFreeAll();
  fs::current_path(home);
}
