// The witch scenes and the magic scenery in headless levels: the first witch's stages, cues and
// targets on a timeline worked out from her animation periods, a scene whose targets are missing,
// the ice witch on the same timeline, the snow witch's snowslips, the fire witch's two volleys, the
// flying witch's arc, the troll cloud, the magic tree and the tentacles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "anim/anim_catalogue.h"
#include "anim/fx_bezier_pyro.h"
#include "anim/fx_simple_pyro.h"
#include "files/name_hash.h"
#include "game/objects/magic_scenery.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"
#include "game/objects/witch_scene.h"
#include "obstacle_levels.h"

using FxManager::cSimplePyro;
using Game::Event;
using testkit::GameHarness;

namespace {

// Idle 1000 ms, laugh 800 ms, cast 1200 ms; the tentacles sway 400 ms, rise 600 ms, sink 500 ms.
const char* kCatalogue =
    "<Animations>"
    "<Animation id=\"Witch_idle_w\" path=\"none.tga\" period=\"1000\" frames=\"4\" isLoop=\"1\"/>"
    "<Animation id=\"Witch_laugh_w\" path=\"none.tga\" period=\"800\" frames=\"4\" isLoop=\"1\"/>"
    "<Animation id=\"Witch_cast_w\" path=\"none.tga\" period=\"1200\" frames=\"4\" isLoop=\"1\"/>"
    "<Animation id=\"FlyingWitch_move\" path=\"none.tga\" period=\"500\" frames=\"4\" isLoop=\"1\"/>"
    "<Animation id=\"FlyingWitch_cast8\" path=\"none.tga\" period=\"1000\" frames=\"4\" isLoop=\"1\"/>"
    "<Animation id=\"FlyingWitch_cast8a\" path=\"none.tga\" period=\"1000\" frames=\"4\" isLoop=\"1\"/>"
    "<Animation id=\"FlyingWitch_laugh\" path=\"none.tga\" period=\"1000\" frames=\"4\" isLoop=\"1\"/>"
    "<Animation id=\"Tentacles_idle\" path=\"none.tga\" period=\"400\" frames=\"4\" isLoop=\"1\"/>"
    "<Animation id=\"Tentacles_rise\" path=\"none.tga\" period=\"600\" frames=\"4\"/>"
    "<Animation id=\"Tentacles_sink\" path=\"none.tga\" period=\"500\" frames=\"4\"/>"
    "<Animation id=\"MagicTree_dead\" path=\"none.tga\" period=\"1000\" frames=\"1\"/>"
    "<Animation id=\"MagicTree_alive\" path=\"none.tga\" period=\"1000\" frames=\"1\"/>"
    "</Animations>\n";

const char* kTracks =
    "[Witch_1lvl]\nsound0=appear.wav\nsound1=laugh.wav\nsound2=cast.wav\n"
    "[Witch_8lvl]\nsound0=appear.wav\nsound1=laugh.wav\nsound2=leave.wav\n"
    "[TrollCloud]\nsound0=thunder.wav\n[MagicTree]\nsound0=revive.wav\nsound1=bloom.wav\n"
    "[Tentacles]\nsound0=rise.wav\nsound1=sink.wav\n";

struct WitchScenes : obstest::Level {
  void SetUp() override {
    obstest::Level::SetUp();
    gametest::writeFile("witches.xml", kCatalogue);
    ASSERT_TRUE(Core::animManager().LoadAnimationCatalogue("witches.xml"));
    gametest::writeFile(Map::cWitchScene::kSoundFile, kTracks);
  }
  void TearDown() override {
    obstest::Level::TearDown();  // the level (and its copies of the animations) ends first
    Core::animManager().Clear();
  }
};

// A level whose map holds `objects`, loaded and with its clock not yet started.
bool loadLevel(GameHarness& h, int n, const std::string& objects) {
  testkit::LevelFiles f;
  f.balance = obstest::balance(1, 0, 0, 0);
  f.map = std::string(obstest::kBarn) + objects;
  std::string error;
  EXPECT_TRUE(testkit::WriteTestLevel(n, f, &error)) << error;
  return h.Load(n);
}

std::vector<uint32_t> namedTags(const GameHarness& h) {
  std::vector<uint32_t> out;
  for (const GameEvent& e : h.events())
    if (e.code == Game::Code(Event::WitchNamesObject)) out.push_back(uint32_t(e.tag));
  return out;
}

// Steps until `done` holds; the milliseconds that took, or -1.
template <class F>
int msUntil(GameHarness& h, F done, int maxSteps = 1200) {
  for (int i = 0; i <= maxSteps; ++i) {
    if (done()) return i * 25;
    h.Advance(1);
  }
  return -1;
}

const char* kWitch = "[Witch1]\ntype=Witch_1lvl\nx=800\ny=300\nlayer=5\n";
const char* kTotem = "[Totem11]\ntype=simple\nsubType=marker\nx=400\ny=500\n";
const char* kSmoke = "[EvilSmoke1]\ntype=fx\nsubType=evilsmoke\nx=500\ny=260\neffectname=NoSuchSmoke\nstartOnEffect=1\n";
}  // namespace

// Map start is 0 ms: 400 ms, two idle periods (2000), the laugh (800), the cast (1200) with the
// launch 1000 ms into it and a 2000 ms flight, six idle periods (6000), the smoke, 2000 ms more.
TEST_F(WitchScenes, TheFirstWitchPlaysHerStagesOnTimeAndNamesHerTargets) {
  GameHarness h;
  ASSERT_TRUE(loadLevel(h, 560, std::string(kWitch) + kTotem + kSmoke));
  auto* witch = obstest::byName<Map::cWitch_1lvl>(h, "Witch1");
  auto* smoke = obstest::byName<Map::cEvilSmoke>(h, "EvilSmoke1");
  ASSERT_NE(witch, nullptr);
  ASSERT_NE(smoke, nullptr);
  const int32_t id = witch->id;
  EXPECT_FALSE(witch->Has(Map::kFlagClickable));
  EXPECT_TRUE(witch->HasTarget());
  EXPECT_EQ(witch->Anim(0).NameHash(), NameHash("Witch_idle_w"));
  EXPECT_EQ(witch->Anim(2).NameHash(), NameHash("Witch_cast_w"));
  EXPECT_EQ(witch->Effect(Map::cWitch_1lvl::kAppear)->GetState(), cSimplePyro::kRunning);

  std::vector<std::pair<std::string, int>> cues;
  int now = 0;
  witch->sounds.SetPlayListener([&](const char* s) { cues.emplace_back(s, now); });
  const uint32_t totem = NameHash("Totem11"), evil = NameHash("EvilSmoke1");
  std::vector<std::pair<uint32_t, int>> named;
  while (now <= 13000 && h.map().FindById(id)) {
    now += 25;
    h.Advance(1);
    const auto tags = namedTags(h);
    if (tags.size() > named.size()) named.emplace_back(tags.back(), now);
    if (now == 3200) {
      EXPECT_EQ(witch->currentAnimation, 2) << "casting";
    }
    if (now == 5175) {  // 40 steps of the 2000 ms flight: B(1/2) = P0/4 + C/2 + T/4
      float fx = 0, fy = 0;
      witch->Effect(Map::cWitch_1lvl::kProjectile)->GetPosition(fx, fy);
      EXPECT_NEAR(fx, 0.25f * 740 + 0.5f * 600 + 0.25f * 400, 1.0f);
      EXPECT_NEAR(fy, 0.25f * 300 + 0.5f * 300 + 0.25f * 500, 1.0f);
    }
  }
  ASSERT_EQ(named.size(), 2u);
  EXPECT_EQ(named[0], std::make_pair(totem, 6200));
  EXPECT_EQ(named[1], std::make_pair(evil, 10400));
  EXPECT_FALSE(smoke->Waiting()) << "the evil smoke rose when named";
  EXPECT_EQ(now, 12400) << "she leaves 2000 ms after the smoke";
  EXPECT_EQ(h.map().FindById(id), nullptr);
  // The cues: appear at the start (played on the first step), laugh with the laugh, cast at launch.
  ASSERT_EQ(cues.size(), 3u);
  EXPECT_EQ(cues[0], std::make_pair(std::string("appear.wav"), 25));
  EXPECT_EQ(cues[1], std::make_pair(std::string("laugh.wav"), 2400));
  EXPECT_EQ(cues[2], std::make_pair(std::string("cast.wav"), 4200));
  EXPECT_EQ(gametest::gerrText().find("no object tagged"), std::string::npos) << gametest::gerrText();
}

TEST_F(WitchScenes, AWitchWithoutHerTargetsStillPlaysAndLeavesAndSaysWhatIsMissing) {
  GameHarness h;
  ASSERT_TRUE(loadLevel(h, 561, kWitch));
  auto* witch = obstest::byName<Map::cWitch_1lvl>(h, "Witch1");
  ASSERT_NE(witch, nullptr);
  const int32_t id = witch->id;
  EXPECT_FALSE(witch->HasTarget());
  const int gone = msUntil(h, [&] { return h.map().FindById(id) == nullptr; });
  EXPECT_EQ(gone, 12400);
  EXPECT_EQ(h.CountOf(Event::WitchNamesObject), 0);
  // One line for each missing target, naming it and the scene, however often the scene asks.
  const std::string gerr = gametest::gerrText();
  auto lines = [&](const std::string& text) {
    int n = 0;
    for (size_t at = gerr.find(text); at != std::string::npos; at = gerr.find(text, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(lines("no object tagged \"Totem11\""), 1) << gerr;
  EXPECT_EQ(lines("no object tagged \"EvilSmoke1\""), 1) << gerr;
  EXPECT_EQ(lines("Witch scene \"Witch1\""), 2) << gerr;
}

// A target that leaves the map during the scene is not named either.
TEST_F(WitchScenes, ATargetKilledBeforeTheHitIsNotNamed) {
  GameHarness h;
  ASSERT_TRUE(loadLevel(h, 562, std::string(kWitch) + kTotem));
  auto* witch = obstest::byName<Map::cWitch_1lvl>(h, "Witch1");
  ASSERT_NE(witch, nullptr);
  EXPECT_TRUE(witch->HasTarget());
  h.Advance(100);  // 2500 ms
  obstest::byName(h, "Totem11")->Kill();
  h.Advance(200);  // past the hit at 6200 ms
  EXPECT_EQ(h.CountOf(Event::WitchNamesObject), 0);
}

// The ice witch keeps the first witch's timeline with an ice ball at the heart, and tells the view
// of the hit (event 96) in the step the heart is named.
TEST_F(WitchScenes, TheIceWitchBindsTheHeartOnTheFirstWitchsTimeline) {
  GameHarness h;
  ASSERT_TRUE(loadLevel(h, 567,
                        "[Witch33]\ntype=Witch_33lvl\nx=800\ny=300\n[IceHeart1]\ntype=simple\nsubType=marker\nx=300\n"
                        "y=450\n" + std::string(kSmoke)));
  auto* witch = obstest::byName<Map::cWitch_33lvl>(h, "Witch33");
  ASSERT_NE(witch, nullptr);
  EXPECT_TRUE(witch->HasTarget());
  EXPECT_STREQ(witch->Effect(Map::cWitch_1lvl::kProjectile)->GetName(), "WitchIceball");
  const int32_t id = witch->id;
  std::vector<std::pair<int, int>> told;  // (code, ms)
  int now = 0;
  while (now <= 13000 && h.map().FindById(id)) {
    now += 25;
    const size_t before = h.events().size();
    h.Advance(1);
    for (size_t i = before; i < h.events().size(); ++i) {
      const GameEvent& e = h.events()[i];
      if (e.code == Game::Code(Event::WitchNamesObject) || e.code == Game::Code(Event::Witch33Event))
        told.emplace_back(e.code, now);
    }
  }
  ASSERT_EQ(told.size(), 3u);
  EXPECT_EQ(told[0], std::make_pair(Game::Code(Event::WitchNamesObject), 6200));
  EXPECT_EQ(told[1], std::make_pair(Game::Code(Event::Witch33Event), 6200));
  EXPECT_EQ(told[2], std::make_pair(Game::Code(Event::WitchNamesObject), 10400));
  EXPECT_EQ(now, 12400);
}

// The snow witch stays for the level: each creature that gives way brings a snowslip down on its
// place for 3000 ms, and the view is told.
TEST_F(WitchScenes, TheSnowWitchSendsASnowslipWhereACreatureGivesWay) {
  GameHarness h;
  ASSERT_TRUE(loadLevel(h, 568, "[Witch37]\ntype=Witch_37lvl\nx=10\ny=10\n"));
  auto* witch = obstest::byName<Map::cWitch_37lvl>(h, "Witch37");
  ASSERT_NE(witch, nullptr);
  cSimplePyro* slip = witch->Effect(Map::cWitch_37lvl::kSnowslip);
  ASSERT_NE(slip, nullptr);
  EXPECT_EQ(slip->GetState(), cSimplePyro::kStopped);
  auto creatureGivesWay = [&](int x, int y) {
    GameEvent e;
    MakeEvent(e, Event::CreatureObstacleEvent);
    e.x = x;
    e.y = y;
    Map::objPost(e);
  };
  creatureGivesWay(420, 380);
  EXPECT_EQ(h.CountOf(Event::Witch37Event), 1);
  EXPECT_EQ(slip->GetState(), cSimplePyro::kRunning);
  float fx = 0, fy = 0;
  slip->GetPosition(fx, fy);
  EXPECT_FLOAT_EQ(fx, 420.0f);
  EXPECT_FLOAT_EQ(fy, 380.0f);
  EXPECT_EQ(witch->Stage(), 1);
  h.Advance(119);
  EXPECT_EQ(witch->Stage(), 1);
  h.Advance(1);
  EXPECT_EQ(witch->Stage(), 0) << "the slip has come down";
  EXPECT_NE(slip->GetState(), cSimplePyro::kRunning);
  EXPECT_EQ(h.map().FindById(witch->id), witch) << "she waits for the next creature";
  creatureGivesWay(600, 200);
  EXPECT_EQ(h.CountOf(Event::Witch37Event), 2);
  EXPECT_EQ(slip->GetState(), cSimplePyro::kRunning);
}

TEST_F(WitchScenes, TheFireWitchLightsHerFiresInTwoVolleys) {
  std::string map = "[Witch8]\ntype=Witch_8lvl\nx=300\ny=200\nlayer=5\n";
  for (int n = 1; n <= 8; ++n) {
    if (n == 6) continue;  // one fire is missing from this map
    map += "[Fire" + std::to_string(n) + "]\ntype=fx\nsubType=mapeffect\nx=" + std::to_string(500 + 10 * n) +
           "\ny=600\neffectname=NoSuchFire\nstartOnEffect=1\n";
  }
  GameHarness h;
  ASSERT_TRUE(loadLevel(h, 563, map));
  auto* witch = obstest::byName<Map::cWitch_8lvl>(h, "Witch8");
  ASSERT_NE(witch, nullptr);
  auto fire = [&](int n) { return obstest::byName<Map::cEffect>(h, ("Fire" + std::to_string(n)).c_str()); };
  int lit = 0;
  for (int n : {1, 2, 3, 4, 5, 7, 8}) fire(n)->SetSoundListener([&](const char* s) { lit += std::string(s) == "FireStart"; });
  // The first volley leaves at 400 ms and lands 2000 ms later, in step 96.
  h.Advance(95);
  EXPECT_TRUE(witch->VolleyFlying());
  EXPECT_TRUE(fire(3)->Waiting());
  h.Advance(1);
  EXPECT_FALSE(witch->VolleyFlying());
  for (int n : {3, 4, 5, 8}) EXPECT_FALSE(fire(n)->Waiting()) << n;
  for (int n : {1, 2, 7}) EXPECT_TRUE(fire(n)->Waiting()) << n;
  EXPECT_EQ(lit, 4);
  // The second leaves after the first cast (1000 ms) and a 2000 ms wait, at 3400 ms; lands at 5400
  // (step 216).
  h.Advance(119);
  EXPECT_TRUE(fire(7)->Waiting());
  h.Advance(1);
  for (int n : {1, 2, 7}) EXPECT_FALSE(fire(n)->Waiting()) << n;
  EXPECT_EQ(lit, 7);
  EXPECT_EQ(h.CountOf(Event::WitchNamesObject), 7) << "the missing fire is not named";
  EXPECT_NE(gametest::gerrText().find("\"Fire6\""), std::string::npos);
  const int32_t id = witch->id;
  // Her stage waits out the flight until 6400 ms; she laughs (1000 ms) and leaves 2000 ms later.
  EXPECT_EQ(msUntil(h, [&] { return h.map().FindById(id) == nullptr; }), 9400 - 5400);
}

TEST_F(WitchScenes, TheFlyingWitchCrossesTheMapOnAnArcAndLeaves) {
  gametest::writeFile("fly.ini",
                      "[FlyingWitch]\ntype=FlyingWitch\nlayer=9\nflyperiod=2000\nfirstX=100\nfirstY=400\n"
                      "secondX=900\nsecondY=200\neffectname=NoSuchTrail\n");
  GameHarness h;
  ASSERT_TRUE(loadLevel(h, 564, ""));
  std::vector<Map::cObject*> made;
  ASSERT_TRUE(Map::objFactory()->LoadFromIni("fly.ini", "FlyingWitch", {}, made));
  ASSERT_EQ(made.size(), 1u);
  auto* witch = dynamic_cast<Map::cFlyingWitch*>(made[0]);
  ASSERT_NE(witch, nullptr);
  EXPECT_EQ(witch->flyPeriod, 2000);
  EXPECT_EQ(witch->second, (Map::IntPoint{900, 200}));
  EXPECT_EQ(witch->effectName, "NoSuchTrail");
  // Her keys come back as they were read, from her and from a copy of her.
  MapObjectRecord fromIni, filled, copied;
  ASSERT_TRUE(mapRecordFromIni("fly.ini", "FlyingWitch", fromIni));
  witch->FillRecord(filled);
  EXPECT_EQ(filled.extension, fromIni.extension);
  Map::cObject* copy = witch->Clone();
  ASSERT_NE(copy, nullptr);
  copy->FillRecord(copied);
  EXPECT_EQ(copied.extension, fromIni.extension);
  copy->Destroy(copy->Has(Map::kFlagFreeOnRemove));
  h.map().Add(witch);
  witch->ResolveParent(h.map());
  EXPECT_EQ(witch->AnchorI(), (Map::IntPoint{100, 400}));
  EXPECT_FALSE(witch->flipped);
  // Halfway (1000 ms; the place follows the timer one step behind): the middle, 60 px higher.
  h.Advance(41);
  EXPECT_NEAR(witch->x, 500.0f, 1.0f);
  EXPECT_NEAR(witch->y, 300.0f - 60.0f, 1.0f);
  const int32_t id = witch->id;
  h.Advance(40);
  EXPECT_EQ(h.map().FindById(id), nullptr);
}

// The flying witch flies on while a lost level finishes (only animations step then).
TEST_F(WitchScenes, TheFlyingWitchFliesWhileALostLevelFinishes) {
  gametest::writeFile("data/flyingwitch/flyingwitch.ini",
                      "[FlyingWitch]\ntype=FlyingWitch\nflyperiod=1000\nfirstX=0\nfirstY=300\nsecondX=1000\n"
                      "secondY=300\n");
  GameHarness h;
  ASSERT_TRUE(loadLevel(h, 565, ""));
  h.Action(1);
  h.model().Lose();
  ASSERT_EQ(h.phase(), Game::Phase::Finishing);
  Map::cFlyingWitch* witch = nullptr;
  for (size_t i = 0; i < h.map().Count(); ++i)
    if (auto* w = dynamic_cast<Map::cFlyingWitch*>(h.map().At(i))) witch = w;
  ASSERT_NE(witch, nullptr);
  h.Advance(21);
  EXPECT_NEAR(witch->x, 500.0f, 15.0f);
  h.Advance(30);
  EXPECT_TRUE(witch->Has(Map::kFlagHidden));
}

TEST_F(WitchScenes, MagicSceneryAnswersItsEvents) {
  const std::string map =
      "[Cloud]\ntype=trollCloud\nx=0\ny=0\n"
      "[Tree]\ntype=heart\nsubType=MagicTree\nx=600\ny=400\n"
      "[Tentacles1]\ntype=tentacles\nx=300\ny=500\n";
  GameHarness h;
  ASSERT_TRUE(loadLevel(h, 566, map));
  auto* cloud = obstest::byName<Map::cTrollCloud>(h, "Cloud");
  auto* tree = obstest::byName<Map::cMagicTree>(h, "Tree");
  auto* tentacles = obstest::byName<Map::cTentacles>(h, "Tentacles1");
  ASSERT_NE(cloud, nullptr);
  ASSERT_NE(tree, nullptr);
  ASSERT_NE(tentacles, nullptr);
  EXPECT_FALSE(tree->Has(Map::kFlagClickable));
  EXPECT_FALSE(tentacles->Has(Map::kFlagClickable));
  std::vector<std::string> heard;
  for (Map::cWitchScene* scene : std::initializer_list<Map::cWitchScene*>{cloud, tree, tentacles})
    scene->sounds.SetPlayListener([&](const char* sound) { heard.emplace_back(sound); });
  auto heardOf = [&](const char* sound) { return std::count(heard.begin(), heard.end(), std::string(sound)); };

  // The troll acts: a cloud over it for 3000 ms, then event 98.
  GameEvent troll;
  MakeEvent(troll, Event::TrollEvent);
  troll.x = 420;
  troll.y = 380;
  Map::objPost(troll);
  EXPECT_TRUE(cloud->Raining());
  EXPECT_EQ(cloud->AnchorI(), (Map::IntPoint{420, 320}));
  EXPECT_EQ(cloud->Effect(Map::cTrollCloud::kCloud)->GetState(), cSimplePyro::kRunning);
  h.Advance(1);
  EXPECT_EQ(heardOf("thunder.wav"), 1);
  h.Advance(118);
  EXPECT_EQ(h.CountOf(Event::TrollCloudEvent), 0);
  h.Advance(1);
  EXPECT_EQ(h.CountOf(Event::TrollCloudEvent), 1);
  EXPECT_FALSE(cloud->Raining());

  // The tree: withered, revived by a heart brought home, alive 2000 ms later in a burst of magic
  // that belongs to the map; once only.
  auto bursts = [&] {
    std::vector<Map::cEffect*> out;
    for (size_t i = 0; i < h.map().Count(); ++i)
      if (auto* fx = dynamic_cast<Map::cEffect*>(h.map().At(i)); fx && fx->EffectName() == "MagicTree") out.push_back(fx);
    return out;
  };
  EXPECT_EQ(tree->Stage(), Map::cMagicTree::kEnchanted);
  EXPECT_EQ(tree->currentAnimation, 0);
  EXPECT_EQ(tree->Effect(Map::cMagicTree::kReviving)->GetState(), cSimplePyro::kStopped);
  GameEvent home;
  MakeEvent(home, Event::HeartDelivered);
  Map::objPost(home);
  EXPECT_EQ(tree->Stage(), Map::cMagicTree::kRevivingStage);
  EXPECT_EQ(tree->Effect(Map::cMagicTree::kReviving)->GetState(), cSimplePyro::kRunning);
  h.Advance(79);
  EXPECT_EQ(tree->Stage(), Map::cMagicTree::kRevivingStage);
  EXPECT_TRUE(bursts().empty());
  h.Advance(1);
  EXPECT_EQ(tree->Stage(), Map::cMagicTree::kAlive);
  EXPECT_EQ(tree->currentAnimation, 1);
  EXPECT_EQ(tree->Effect(Map::cMagicTree::kReviving)->GetState(), cSimplePyro::kStopping);
  const auto burst = bursts();
  ASSERT_EQ(burst.size(), 1u);
  EXPECT_EQ(burst[0]->AnchorI(), tree->AnchorI());
  EXPECT_EQ(burst[0]->layer, tree->layer + 1);
  EXPECT_EQ(heardOf("revive.wav"), 1);
  Map::objPost(home);
  EXPECT_EQ(tree->Stage(), Map::cMagicTree::kAlive);
  EXPECT_EQ(bursts().size(), 1u);

  // The tentacles have swayed 3 x 400 ms and risen 600 ms in each 1800 ms since the map started.
  // 200 steps = 5000 ms: 2 x 1800 + 1200 (the end of the third sway) + 200 into the rise.
  const int32_t id = tentacles->id;
  EXPECT_EQ(tentacles->Stage(), Map::cTentacles::kRise);
  EXPECT_EQ(tentacles->currentAnimation, 1);
  EXPECT_EQ(heardOf("rise.wav"), 3) << "risen at 1200, 3000 and 4800 ms";
  GameEvent named;
  MakeEvent(named, Event::WitchNamesObject);
  named.tag = int32_t(NameHash("Tentacles1"));
  Map::objPost(named);
  EXPECT_EQ(tentacles->Stage(), Map::cTentacles::kSink);
  EXPECT_EQ(tentacles->currentAnimation, 2);
  h.Advance(19);
  EXPECT_EQ(h.map().FindById(id), tentacles) << "the 500 ms sink plays out first";
  EXPECT_EQ(heardOf("sink.wav"), 1);
  h.Advance(1);
  EXPECT_EQ(h.map().FindById(id), nullptr);
}
