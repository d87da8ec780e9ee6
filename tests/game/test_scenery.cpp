// The living background on a headless map: simple creatures idling, acting, reacting to the pointer
// and to clicks (and sharing one sound period), wandering creatures and butterflies keeping to
// their area, trees tinted between dead and live and answering the fog from their update,
// reflections with their start frame and angle, the background's cross-fade, and every class read
// alike from map.ini and from the map.bin compiled from it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "anim/anim_catalogue.h"
#include "anim/anim_sprite.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/fog.h"
#include "game/core/game_main.h"
#include "game/core/random.h"
#include "game/objects/magic_scenery.h"
#include "game/objects/map_effect.h"
#include "game/objects/scenery_back.h"
#include "game/objects/scenery_common.h"
#include "game/objects/scenery_creature.h"
#include "game/objects/scenery_moving.h"
#include "game/objects/scenery_reflection.h"
#include "game/objects/scenery_register.h"
#include "game/objects/scenery_tree.h"
#include "game/objects/witch_scene.h"
#include "game_test_util.h"
#include "gfx/render.h"
#include "obstacle_levels.h"
#include "support/level_harness.h"
#include "support/null_renderer.h"

using Game::Event;
using Map::cBack;
using Map::cMovingButterfly;
using Map::cMovingCreature;
using Map::cReflection;
using Map::cSimpleCreature;
using Map::cTree;

namespace {

// The C library's generator, written out here so the tests do not borrow the code's own.
struct CRand {
  uint32_t state;
  int32_t next() {
    state = state * 214013u + 2531011u;
    return int32_t((state >> 16) & 0x7FFF);
  }
};

void writeTga(const std::string& path, int w, int h) { testkit::writeTga(path, w, h, 0xC0C0C0C0u); }

// A catalogue of animations. Pictures exist only for the ones drawn (a 40 x 80 crown over a 40 x 80
// trunk, a 30 x 20 background and reflection); the rest have no sprite, which the behaviour does
// not need. Animations of different frame counts never share a picture: the sprite is cut into the
// frames of whichever animation loaded it last.
const char* kCatalogue =
    "<Animations>\n"
    "<Animation id=\"idle\" path=\"pics/none.tga\" period=\"600\" frames=\"2\" isLoop=\"1\"/>\n"
    "<Animation id=\"act1\" path=\"pics/none.tga\" period=\"800\" frames=\"4\"/>\n"
    "<Animation id=\"act2\" path=\"pics/none.tga\" period=\"1200\" frames=\"4\"/>\n"
    "<Animation id=\"react1\" path=\"pics/none.tga\" period=\"500\" frames=\"2\"/>\n"
    "<Animation id=\"react2\" path=\"pics/none.tga\" period=\"700\" frames=\"2\"/>\n"
    "<Animation id=\"Hammer0\" path=\"pics/none.tga\" period=\"600\" frames=\"2\" isLoop=\"1\"/>\n"
    "<Animation id=\"Helmet0g\" path=\"pics/none.tga\" period=\"600\" frames=\"2\" isLoop=\"1\"/>\n"
    "<Animation id=\"walk\" path=\"pics/none.tga\" period=\"400\" frames=\"4\" isLoop=\"1\"/>\n"
    "<Animation id=\"leave\" path=\"pics/none.tga\" period=\"300\" frames=\"3\"/>\n"
    "<Animation id=\"crown\" path=\"pics/crown.tga\" period=\"1000\" frames=\"4\" StickOnEnd=\"1\"/>\n"
    "<Animation id=\"trunk\" path=\"pics/trunk.tga\" period=\"1000\" frames=\"2\" StickOnEnd=\"1\"/>\n"
    "<Animation id=\"ripple\" path=\"pics/ripple.tga\" period=\"1000\" frames=\"5\" isLoop=\"1\"/>\n"
    "<Animation id=\"still\" path=\"pics/flat.tga\" period=\"1000\" frames=\"1\"/>\n"
    "<Animation id=\"summer\" path=\"pics/flat.tga\" period=\"1000\" frames=\"1\"/>\n"
    "<Animation id=\"autumn\" path=\"pics/flat.tga\" period=\"1000\" frames=\"1\"/>\n"
    "</Animations>\n";

struct Scenery : gametest::CleanSlate {
  void SetUp() override {
    CleanSlate::SetUp();
    ASSERT_TRUE(testkit::StartNullRenderer("scenery"));
    writeTga("pics/crown.tga", 40, 80 * 4);
    writeTga("pics/trunk.tga", 40, 80 * 2);
    writeTga("pics/ripple.tga", 30, 20 * 5);
    writeTga("pics/flat.tga", 30, 20);
    gametest::writeFile("scenery_anims.xml", kCatalogue);
    ASSERT_TRUE(Core::animManager().LoadAnimationCatalogue("scenery_anims.xml"));
    Map::sceneryCreatureSoundReset();
    SeedRandom(4321);
  }
  void TearDown() override {
    Map::fogSetStandIn(nullptr);
    Map::scenerySetSoundListener({});
    Core::animManager().Clear();
    CleanSlate::TearDown();
  }

  // Loads map.ini text into the harness as the game's INI form, all steps and the map start.
  void load(testkit::LevelHarness& h, const std::string& folder, const std::string& ini) {
    Map::sceneryRegisterClasses(h.factory);
    std::string error;
    ASSERT_TRUE(testkit::WriteLevelFolder(folder, ini, {}, &error, false)) << error;
    ASSERT_TRUE(h.Load(folder, false));
  }

  template <class T>
  T* byName(testkit::LevelHarness& h, const char* name) {
    return dynamic_cast<T*>(h.map.FindByTag(NameHash(name)));
  }
};

// A creature in a section of its own, with the animations asked for. (A key written twice in a
// section reads as its first value, so the idle periods are an argument of their own.)
std::string creature(const char* name, const std::string& anims, const std::string& more = "",
                     const std::string& idle = "idlePeriodMin=1000\nidlePeriodMax=3000\n") {
  return std::string("[") + name + "]\ntype=creature\nsubType=simple\nx=200\ny=300\nboundXS=20\nboundYS=20\n" +
         idle + "actionPeriodMin=50\nactionPeriodMax=60\n" + anims + more;
}

// The bit the logged generator's next state will show at bit 30.
bool nextCoin() { return ((uint32_t(randomStateA()) * 214013u + 2531011u) >> 30) & 1u; }

// Steps until the creature acts (its idle period ran out); false when it never does.
bool stepUntilActing(testkit::LevelHarness& h, const cSimpleCreature& c, int maxSteps = 200) {
  for (int i = 0; i < maxSteps && !c.Acting(); ++i) h.Tick();
  return c.Acting();
}

// Quads the map would draw for one object, captured instead of drawn.
std::vector<AnimSpriteQuad> quadsOf(Map::cObject& o) {
  std::vector<AnimSpriteQuad> quads;
  animSpriteCaptureInto(&quads);
  o.Draw({});
  animSpriteCaptureInto(nullptr);
  return quads;
}
}  // namespace

// ---- Simple creatures -----------------------------------------------------------------------------

TEST_F(Scenery, ACreatureIdlesForItsPeriodActsForItsAnimationAndIdlesAgain) {
  testkit::LevelHarness h;
  load(h, "sc_idle", creature("Frog", "anim0=idle\nanim1=act1\n", "scale=0\n"));
  auto* frog = byName<cSimpleCreature>(h, "Frog");
  ASSERT_NE(frog, nullptr);
  EXPECT_TRUE(frog->Has(Map::kFlagClickable));
  EXPECT_FLOAT_EQ(frog->creatureScale, 1.0f) << "scale 0 in map.ini is read as 1";
  EXPECT_GE(frog->Timer().Period(), 1000);
  EXPECT_LE(frog->Timer().Period(), 3000);
  EXPECT_FALSE(frog->Acting());
  EXPECT_LT(frog->Anim(0).Time(), 600) << "the idle animation starts somewhere in its cycle";

  const int idle = frog->Timer().Period();
  int steps = 0;
  while (!frog->Acting() && steps < 200) {
    h.Tick();
    ++steps;
  }
  EXPECT_EQ(steps, (idle + 24) / 25) << "acts in the step its idle period runs out";
  EXPECT_EQ(frog->currentAnimation, 1);
  EXPECT_EQ(frog->Timer().Period(), 800) << "an action lasts its animation's period";
  for (int i = 0; i < 800 / 25; ++i) h.Tick();
  EXPECT_FALSE(frog->Acting());
  EXPECT_EQ(frog->currentAnimation, 0);
  EXPECT_GE(frog->Timer().Period(), 1000);
  EXPECT_LE(frog->Timer().Period(), 3000);
  EXPECT_FALSE(frog->Click(true)) << "a creature takes no orders";
}

TEST_F(Scenery, TheSecondActionFollowsBitThirtyOfTheLoggedGenerator) {
  // Without a second action the first is always played.
  {
    testkit::LevelHarness h;
    load(h, "sc_one", creature("Frog", "anim0=idle\nanim1=act1\n"));
    auto* frog = byName<cSimpleCreature>(h, "Frog");
    ASSERT_NE(frog, nullptr);
    for (int round = 0; round < 6; ++round) {
      ASSERT_TRUE(stepUntilActing(h, *frog));
      EXPECT_EQ(frog->currentAnimation, 1);
      while (frog->Acting()) h.Tick();
    }
  }
  // With one, the coin decides each time; the pointer arriving makes the same choice.
  testkit::LevelHarness h;
  load(h, "sc_two", creature("Frog", "anim0=idle\nanim1=act1\nanim2=act2\n"));
  auto* frog = byName<cSimpleCreature>(h, "Frog");
  ASSERT_NE(frog, nullptr);
  int seen[3] = {0, 0, 0};
  for (int round = 0; round < 12; ++round) {
    const bool coin = nextCoin();
    EXPECT_TRUE(frog->HoverEnter());
    ASSERT_TRUE(frog->Acting());
    EXPECT_EQ(frog->currentAnimation, coin ? 2 : 1) << "round " << round;
    EXPECT_EQ(frog->Timer().Period(), coin ? 1200 : 800);
    ++seen[frog->currentAnimation];
    const int before = frog->currentAnimation;
    frog->HoverEnter();  // already acting: nothing changes
    EXPECT_EQ(frog->currentAnimation, before);
    while (frog->Acting()) h.Tick();
    RandomValue();  // moves the generator on so the rounds see different coins
  }
  EXPECT_GT(seen[1], 0);
  EXPECT_GT(seen[2], 0);
}

TEST_F(Scenery, TheFirstClickOnAHammerOrHelmetCreatureIsReportedOnceAndClicksPlayAReaction) {
  testkit::LevelHarness h;
  load(h, "sc_click",
       creature("Smith", "anim0=Hammer0\nanim1=act1\nanim3=react1\nanim4=react2\n") +
           creature("Guard", "anim0=Helmet0g\nanim1=act1\n") + creature("Frog", "anim0=idle\nanim1=act1\n"));
  h.Record(Event::HammerCreatureClicked);
  h.Record(Event::CreatureClicked);
  auto* smith = byName<cSimpleCreature>(h, "Smith");
  auto* guard = byName<cSimpleCreature>(h, "Guard");
  auto* frog = byName<cSimpleCreature>(h, "Frog");
  ASSERT_TRUE(smith && guard && frog);

  const bool coin = nextCoin();
  smith->Click(true);
  EXPECT_EQ(h.CountOf(Event::HammerCreatureClicked), 1);
  EXPECT_EQ(h.Events().back().objectId, smith->id);
  EXPECT_TRUE(smith->Clicked());
  EXPECT_TRUE(smith->Acting());
  EXPECT_EQ(smith->currentAnimation, coin ? 4 : 3);
  EXPECT_EQ(smith->Timer().Period(), coin ? 700 : 500);
  // A click during a reaction neither restarts it nor reports again.
  const int32_t stateBefore = randomStateA();
  smith->Click(true);
  EXPECT_EQ(randomStateA(), stateBefore);
  EXPECT_EQ(h.CountOf(Event::HammerCreatureClicked), 1);

  guard->Click(true);
  guard->Click(true);
  EXPECT_EQ(h.CountOf(Event::CreatureClicked), 1);
  EXPECT_FALSE(guard->Acting()) << "without a reaction animation a click only reports";
  frog->Click(true);
  EXPECT_EQ(h.CountOf(Event::CreatureClicked) + h.CountOf(Event::HammerCreatureClicked), 2);
  EXPECT_TRUE(frog->Clicked());
}

TEST_F(Scenery, ACreatureWithAParentLightsUpWithItInsteadOfActing) {
  testkit::LevelHarness h;
  load(h, "sc_parent",
       "[Hut]\ntype=simple\nx=100\ny=100\n" +
           creature("Cat", "anim0=idle\nanim1=act1\nanim3=react1\n", "parentTagStr=Hut\n") +
           creature("Owl", "anim0=idle\nanim1=act1\nanim3=react1\n"));
  auto* cat = byName<cSimpleCreature>(h, "Cat");
  auto* owl = byName<cSimpleCreature>(h, "Owl");
  ASSERT_TRUE(cat && owl);
  ASSERT_EQ(cat->parentId, h.map.FindByTag(NameHash("Hut"))->id);
  cat->HoverEnter();
  cat->Click(true);
  EXPECT_FALSE(cat->Acting());
  EXPECT_FALSE(cat->IsHighlighted());
  cat->Set(Map::kFlagPointerOver, true);
  EXPECT_TRUE(cat->IsHighlighted());
  owl->Set(Map::kFlagPointerOver, true);
  EXPECT_FALSE(owl->IsHighlighted()) << "a creature of its own acts instead of lighting up";
  owl->HoverEnter();
  EXPECT_TRUE(owl->Acting());
}

TEST_F(Scenery, CreatureSoundsShareOnePeriodAndCreaturesOfOneStepMayAllBeHeard) {
  std::vector<std::pair<std::string, float>> heard;
  Map::scenerySetSoundListener([&](const char* sound, float x) { heard.emplace_back(sound, x); });
  const std::string idle = "idlePeriodMin=500\nidlePeriodMax=500\n";
  {
    testkit::LevelHarness h;
    load(h, "sc_sound",
         creature("A", "anim0=idle\nanim1=act1\n", "sound=croak\n", idle) +
             creature("B", "anim0=idle\nanim1=act1\n", "sound=ribbit\n", idle));
    auto* a = byName<cSimpleCreature>(h, "A");
    auto* b = byName<cSimpleCreature>(h, "B");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->Sound(), "croak");
    ASSERT_TRUE(Map::sceneryCreatureSoundFree());
    // Both idle 500 ms and act in the same step: the shared period is still free for the second.
    auto step = [&] {
      h.Tick();
      Map::sceneryCreatureSoundTick(25);  // the model advances the shared timer after the map
    };
    for (int i = 0; i < 500 / 25 - 1; ++i) step();
    EXPECT_FALSE(a->Acting());
    EXPECT_TRUE(heard.empty());
    step();
    ASSERT_TRUE(a->Acting());
    ASSERT_TRUE(b->Acting());
    ASSERT_EQ(heard.size(), 2u) << "creatures of one step may all be heard";
    EXPECT_EQ(heard[0], std::make_pair(std::string("croak"), 200.0f));
    EXPECT_EQ(heard[1].first, "ribbit");
    EXPECT_FALSE(Map::sceneryCreatureSoundFree()) << "the model's step started the shared period";
    EXPECT_EQ(Map::sceneryCreatureSoundTimer().Period(), 15000);
    // Each acts 800 ms and idles 500 ms: the actions that start inside the period are silent.
    for (int i = 0; i < 15000 / 25 - 1; ++i) step();
    EXPECT_EQ(heard.size(), 2u);
    EXPECT_FALSE(Map::sceneryCreatureSoundFree());
    step();
    EXPECT_TRUE(Map::sceneryCreatureSoundFree());
    // The next action after the period has run out is heard again, and takes the period anew.
    for (int i = 0; i < 100 && heard.size() == 2u; ++i) step();
    EXPECT_GE(heard.size(), 3u);
    EXPECT_FALSE(Map::sceneryCreatureSoundFree());
  }
  // A creature without a sound never takes the period.
  heard.clear();
  testkit::LevelHarness h;
  load(h, "sc_quiet", creature("Quiet", "anim0=idle\nanim1=act1\n", "", idle));
  auto* quiet = byName<cSimpleCreature>(h, "Quiet");
  ASSERT_NE(quiet, nullptr);
  Map::sceneryCreatureSoundReset();
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(stepUntilActing(h, *quiet));
    Map::sceneryCreatureSoundTick(25);
    EXPECT_TRUE(Map::sceneryCreatureSoundFree());
    while (quiet->Acting()) h.Tick();
  }
  EXPECT_TRUE(heard.empty());
}

// ---- Wandering creatures ---------------------------------------------------------------------------

TEST_F(Scenery, TheWalkingSlotFollowsTheDirectionAndMirrorsLeftwardWays) {
  using W = cMovingCreature::WalkChoice;
  auto is = [](W w, int slot, bool mirrored) { return w.slot == slot && w.mirrored == mirrored; };
  EXPECT_TRUE(is(cMovingCreature::WalkSlotFor(100, 100, 105, 40), 2, false)) << "straight up";
  EXPECT_TRUE(is(cMovingCreature::WalkSlotFor(100, 100, 91, 160), 6, false)) << "straight down";
  EXPECT_TRUE(is(cMovingCreature::WalkSlotFor(100, 100, 40, 160), 5, true)) << "down to the left";
  EXPECT_TRUE(is(cMovingCreature::WalkSlotFor(100, 100, 160, 160), 5, false)) << "down to the right";
  EXPECT_TRUE(is(cMovingCreature::WalkSlotFor(100, 100, 160, 40), 3, false)) << "up to the right";
  EXPECT_TRUE(is(cMovingCreature::WalkSlotFor(100, 100, 40, 40), 3, true)) << "up to the left";
  EXPECT_TRUE(is(cMovingCreature::WalkSlotFor(100, 100, 160, 105), 4, false)) << "right";
  EXPECT_TRUE(is(cMovingCreature::WalkSlotFor(100, 100, 40, 95), 4, true)) << "left";
}

std::string mover(const char* name, const std::string& more,
                  const std::string& idle = "idlePeriodMin=100\nidlePeriodMax=300\n") {
  return std::string("[") + name +
         "]\ntype=creature\nsubType=moving\nx=400\ny=300\nanim0=idle\nanim1=act1\nanim2=walk\nanim3=walk\n"
         "anim4=walk\nanim5=walk\nanim6=walk\nanim9=leave\nactionPeriodMin=100\nactionPeriodMax=200\n" +
         idle + more;
}

TEST_F(Scenery, AWanderingCreatureWalksAtItsSpeedAndNeverLeavesItsArea) {
  testkit::LevelHarness h;
  load(h, "sc_walk", mover("Hog", "arealXS=80\narealYS=40\nactivityFactor=3\nscale=0\nspeed=0\n"));
  auto* hog = byName<cMovingCreature>(h, "Hog");
  ASSERT_NE(hog, nullptr);
  EXPECT_FALSE(hog->Has(Map::kFlagClickable));
  EXPECT_FLOAT_EQ(hog->HomeX(), 400.0f);
  EXPECT_FLOAT_EQ(hog->HomeY(), 300.0f);
  EXPECT_FLOAT_EQ(hog->speed, 30.0f) << "speed 0 walks at 30 pixels a second";
  EXPECT_FLOAT_EQ(hog->creatureScale, 1.0f);
  EXPECT_EQ(hog->currentAnimation, 0);

  // A way of 60 pixels to the right at 30 pixels a second takes two seconds (the animation has no
  // picture, so no rounding to its cycles); the step in which the timer ends chooses anew instead
  // of moving, so 79 steps of 0.75 pixels are walked.
  ASSERT_TRUE(hog->HeadFor(460.0f, 300.0f, 4, false));
  EXPECT_EQ(hog->Timer().Period(), 2000);
  EXPECT_NEAR(hog->VelocityX(), 30.0f, 1e-3);
  EXPECT_NEAR(hog->VelocityY(), 0.0f, 1e-3);
  EXPECT_EQ(hog->currentAnimation, 4);
  for (int i = 0; i < 2000 / 25 - 1; ++i) h.Tick();
  EXPECT_NEAR(hog->x, 459.25f, 0.01f);
  EXPECT_FALSE(hog->HeadFor(hog->x, hog->y, 4, false)) << "no way to a target where it stands";

  // A way out of the area is walked only up to its edge.
  ASSERT_TRUE(hog->HeadFor(1000.0f, 700.0f, 5, false));
  for (int i = 0; i < 100; ++i) h.Tick();
  EXPECT_FLOAT_EQ(hog->x, 480.0f);
  EXPECT_FLOAT_EQ(hog->y, 340.0f);

  // Left alone for a minute it stands, acts and walks, always inside home +- areal.
  bool walked = false, acted = false;
  for (int i = 0; i < 2400; ++i) {
    h.Tick();
    ASSERT_TRUE(std::isfinite(hog->x) && std::isfinite(hog->y));
    ASSERT_GE(hog->x, 320.0f);
    ASSERT_LE(hog->x, 480.0f);
    ASSERT_GE(hog->y, 260.0f);
    ASSERT_LE(hog->y, 340.0f);
    walked |= hog->currentAnimation >= 2 && hog->currentAnimation <= 6;
    acted |= hog->currentAnimation == 1;
  }
  EXPECT_TRUE(walked);
  EXPECT_TRUE(acted);
}

TEST_F(Scenery, ACreatureWithActivityOneOrNoAreaNeverMovesAndNothingBecomesNaN) {
  testkit::LevelHarness h;
  load(h, "sc_still",
       mover("Lazy", "arealXS=80\narealYS=40\nactivityFactor=1\nspeed=30\n") +
           mover("Boxed", "arealXS=0\narealYS=0\nactivityFactor=1000\nspeed=30\n") +
           "[Caged]\ntype=creature\nsubType=butterfly\nx=600\ny=200\nanim0=walk\narealXS=0\narealYS=0\n");
  auto* lazy = byName<cMovingCreature>(h, "Lazy");
  auto* boxed = byName<cMovingCreature>(h, "Boxed");
  auto* caged = byName<cMovingButterfly>(h, "Caged");
  ASSERT_TRUE(lazy && boxed && caged);
  for (int i = 0; i < 800; ++i) {
    h.Tick();
    ASSERT_EQ(lazy->currentAnimation, 0) << "activity 1 always draws 0: it only stands";
    ASSERT_FLOAT_EQ(lazy->x, 400.0f);
    // Every target of a creature with no area is where it stands: it must stand, not divide by 0.
    ASSERT_TRUE(std::isfinite(boxed->x) && std::isfinite(boxed->VelocityX()));
    ASSERT_FLOAT_EQ(boxed->x, 400.0f);
    ASSERT_FLOAT_EQ(boxed->y, 300.0f);
    // A butterfly with nowhere to fly keeps trying, and stays where it is.
    ASSERT_TRUE(std::isfinite(caged->VelocityX()) && std::isfinite(caged->VelocityY()));
    ASSERT_FLOAT_EQ(caged->x, 600.0f);
    ASSERT_FLOAT_EQ(caged->y, 200.0f);
  }
}

TEST_F(Scenery, ACreatureThatPlayedItsLeavingAnimationIsHidden) {
  testkit::LevelHarness h;
  load(h, "sc_leave", mover("Hog", "arealXS=80\narealYS=40\nactivityFactor=0\n", "idlePeriodMin=9000\nidlePeriodMax=9000\n"));
  auto* hog = byName<cMovingCreature>(h, "Hog");
  ASSERT_NE(hog, nullptr);
  hog->PlaySlot(cMovingCreature::kLeaveSlot, false);
  h.Tick();
  EXPECT_FALSE(hog->Has(Map::kFlagHidden));
  for (int i = 0; i < 300 / 25; ++i) h.Tick();
  EXPECT_TRUE(hog->Has(Map::kFlagHidden));
  // A slot the data left empty keeps the creature's base picture instead of showing nothing.
  hog->PlaySlot(7, true);
  EXPECT_EQ(hog->currentAnimation, 0);
  EXPECT_TRUE(hog->Mirrored());
}

TEST_F(Scenery, AButterflyTakesOffAtOnceAndFliesOnInsideItsArea) {
  testkit::LevelHarness h;
  load(h, "sc_fly",
       "[Fly]\ntype=creature\nsubType=butterfly\nx=500\ny=400\nanim0=walk\narealXS=100\narealYS=60\n"
       "idlePeriodMin=100\nidlePeriodMax=200\nactivityFactor=0\nspeed=40\n");
  auto* fly = byName<cMovingButterfly>(h, "Fly");
  ASSERT_NE(fly, nullptr);
  EXPECT_FALSE(fly->Has(Map::kFlagClickable));
  EXPECT_EQ(fly->Timer().Period(), 1);
  h.Tick();
  EXPECT_TRUE(fly->VelocityX() != 0.0f || fly->VelocityY() != 0.0f) << "activity 0 does not ground it";
  int resting = 0, mirroredWays = 0, ways = 0;
  for (int i = 0; i < 2000; ++i) {
    const bool ended = fly->Timer().Time() + 25 >= fly->Timer().Period();
    h.Tick();
    if (fly->VelocityX() == 0.0f && fly->VelocityY() == 0.0f) ++resting;
    ASSERT_GE(fly->x, 400.0f);
    ASSERT_LE(fly->x, 600.0f);
    ASSERT_GE(fly->y, 340.0f);
    ASSERT_LE(fly->y, 460.0f);
    if (ended) {
      ++ways;
      EXPECT_EQ(fly->Mirrored(), fly->VelocityX() < 0.0f) << "it faces the way it flies";
      mirroredWays += fly->Mirrored();
      EXPECT_EQ(fly->currentAnimation, 0) << "only slot 0 has a picture";
    }
  }
  EXPECT_EQ(resting, 0);
  EXPECT_GT(ways, 10);
  EXPECT_GT(mirroredWays, 0);
  EXPECT_LT(mirroredWays, ways);
}

// ---- Trees -------------------------------------------------------------------------------------------

const char* kTreeColours =
    "LeavesLiveR=100\nLeavesLiveG=200\nLeavesLiveB=50\nLeavesDeadR=200\nLeavesDeadG=100\nLeavesDeadB=50\n"
    "TrunkLiveR=120\nTrunkLiveG=80\nTrunkLiveB=40\nTrunkDeadR=60\nTrunkDeadG=60\nTrunkDeadB=60\n";

std::string tree(const char* name, const std::string& more) {
  return std::string("[") + name + "]\ntype=simple\nsubType=tree\nx=300\ny=400\nanim0=crown\nanim1=trunk\n" + more;
}

TEST_F(Scenery, ATreesShadeAndSizeComeFromItsSeeds) {
  testkit::LevelHarness h;
  load(h, "sc_seed",
       tree("Oak", std::string(kTreeColours) + "RandomSeed=77\nRandomMax=10\nScaleRandomSeed=5\nScaleRandomMax=1\n") +
           tree("Plain", kTreeColours));
  auto* oak = byName<cTree>(h, "Oak");
  auto* plain = byName<cTree>(h, "Plain");
  ASSERT_TRUE(oak && plain);
  CRand c{77};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(oak->Offsets()[i], c.next() % 20 - 10) << "channel " << i;
  CRand s{5};
  EXPECT_FLOAT_EQ(oak->SizeVariation(), float(s.next() % 200) * 0.01f - 1.0f);
  EXPECT_EQ(plain->Offsets(), (cTree::Rgb{0, 0, 0}));
  EXPECT_FLOAT_EQ(plain->SizeVariation(), 0.0f);
  EXPECT_FLOAT_EQ(plain->treeScale, 1.0f) << "scale 0 is 1 at map start";
}

TEST_F(Scenery, ATreesColoursMoveFromDeadToLiveAsItsAnimationPlays) {
  testkit::LevelHarness h;
  load(h, "sc_colour", tree("Oak", std::string(kTreeColours) + "RandomSeed=1\nRandomMax=0\n") + tree("Bare", ""));
  auto* oak = byName<cTree>(h, "Oak");
  auto* bare = byName<cTree>(h, "Bare");
  ASSERT_TRUE(oak && bare);
  oak->Anim(0).Start(0);
  oak->Anim(1).Start(0);
  EXPECT_EQ(oak->CrownColour(), (cTree::Rgb{200, 100, 50})) << "the start is the dead colour";
  EXPECT_EQ(oak->TrunkColour(), (cTree::Rgb{60, 60, 60}));
  for (int i = 0; i < 20; ++i) h.Tick();  // half of the crown's 1000 ms (it has more frames)
  EXPECT_EQ(oak->CrownColour(), (cTree::Rgb{150, 150, 50}));
  EXPECT_EQ(oak->TrunkColour(), (cTree::Rgb{90, 70, 50}));
  for (int i = 0; i < 30; ++i) h.Tick();
  EXPECT_EQ(oak->CrownColour(), (cTree::Rgb{100, 200, 50})) << "held at the end: the live colour";
  EXPECT_EQ(oak->TrunkColour(), (cTree::Rgb{120, 80, 40}));

  // The tint reaches the drawing; a tree whose data names no colours is drawn as its pictures are.
  const auto quads = quadsOf(*oak);
  ASSERT_EQ(quads.size(), 2u) << "trunk and crown";
  EXPECT_EQ(quads[1].v[0].diffuse, 0xFF64C832u);
  EXPECT_EQ(quads[0].v[0].diffuse, 0xFF785028u);
  EXPECT_FALSE(bare->Tinted());
  const auto plainQuads = quadsOf(*bare);
  ASSERT_EQ(plainQuads.size(), 2u);
  EXPECT_EQ(plainQuads[1].v[0].diffuse, 0xFFFFFFFFu);
}

TEST_F(Scenery, ATreeSwaysItsTopAboutTheFootOfItsTrunk) {
  testkit::LevelHarness h;
  load(h, "sc_sway", tree("Oak", "ampl=4\nperiod=1000\nphase=0\nscale=1\nobjectScale=2\n"));
  auto* oak = byName<cTree>(h, "Oak");
  ASSERT_NE(oak, nullptr);
  float xy[8];
  oak->QuadOf(0, {}, xy);
  // A 40 x 80 frame at twice its size, centred on the anchor: no sway at phase 0.
  EXPECT_FLOAT_EQ(xy[0], 260.0f);
  EXPECT_FLOAT_EQ(xy[1], 320.0f);
  EXPECT_FLOAT_EQ(xy[4], 340.0f);
  EXPECT_FLOAT_EQ(xy[5], 480.0f);
  for (int i = 0; i < 10; ++i) h.Tick();  // a quarter of the wave: sin(1.57) is almost 1
  const float shift = std::sin(6.28f / 4) * 4.0f;
  EXPECT_NEAR(oak->SwayShift(), shift, 1e-3);
  oak->QuadOf(0, {}, xy);
  EXPECT_NEAR(xy[0], 260.0f + shift, 1e-3) << "the top edge leans with the wind";
  EXPECT_NEAR(xy[2], 340.0f + shift, 1e-3);
  EXPECT_NEAR(xy[6], 260.0f - shift, 1e-3) << "the foot at the centre stays, the bottom edge leans back";
  EXPECT_NEAR((xy[0] + xy[6]) / 2, 260.0f, 1e-3);
}

TEST_F(Scenery, TheFogOverATreeIsAskedInItsUpdateSoAHeadlessRunSeesItsEvents) {
  // A fog over the whole map; the trees' anchor (300, 400) is the upper vertex of row 40, column 30.
  Map::cFog fog;
  fog.LoadLevelFog("", "", nullptr);
  Map::fogSetStandIn(&fog);
  auto fogAtTrees = [&](bool on) { fog.SetAlpha(40, 30, false, on ? 255 : 0); };
  testkit::LevelHarness h;
  load(h, "sc_fog", tree("Oak", kTreeColours) + tree("Ghost", std::string(kTreeColours) + "DeleteOutsideFog=1\n"));
  h.Record(Event::TreeEvent);
  auto* oak = byName<cTree>(h, "Oak");
  auto* ghost = byName<cTree>(h, "Ghost");
  ASSERT_TRUE(oak && ghost);
  EXPECT_TRUE(oak->Fogged());
  EXPECT_EQ(oak->CrownColour(), (cTree::Rgb{200, 100, 50})) << "under the fog it stands dead";
  for (int i = 0; i < 40; ++i) h.Tick();  // nothing is drawn in these steps
  EXPECT_EQ(h.CountOf(Event::TreeEvent), 0);
  EXPECT_EQ(oak->CrownColour(), (cTree::Rgb{200, 100, 50}));

  fogAtTrees(false);
  h.Tick();
  ASSERT_EQ(h.CountOf(Event::TreeEvent), 2) << "one event per tree whose fog changed";
  EXPECT_EQ(h.Events()[0].value, 0);
  EXPECT_FALSE(oak->Fogged());
  for (int i = 0; i < 40; ++i) h.Tick();
  EXPECT_EQ(oak->CrownColour(), (cTree::Rgb{100, 200, 50})) << "out of the fog it comes alive";
  EXPECT_EQ(h.map.FindByTag(NameHash("Ghost")), nullptr) << "a tree of the fog fades and goes";
  EXPECT_EQ(h.CountOf(Event::TreeEvent), 2);

  fogAtTrees(true);
  h.Tick();
  EXPECT_EQ(h.CountOf(Event::TreeEvent), 3);
  EXPECT_EQ(h.Events().back().value, 1);
  EXPECT_EQ(oak->CrownColour(), (cTree::Rgb{200, 100, 50}));
}

// ---- Trees on a running level --------------------------------------------------------------------

struct SceneryLevel : obstest::Level {
  void SetUp() override {
    obstest::Level::SetUp();
    gametest::writeFile("trees.xml",
                        "<Animations>"
                        "<Animation id=\"crown\" path=\"none.tga\" period=\"1000\" frames=\"4\" StickOnEnd=\"1\"/>"
                        "<Animation id=\"trunk\" path=\"none.tga\" period=\"1000\" frames=\"2\" StickOnEnd=\"1\"/>"
                        "</Animations>\n");
    ASSERT_TRUE(Core::animManager().LoadAnimationCatalogue("trees.xml"));
  }
  void TearDown() override {
    obstest::Level::TearDown();
    Core::animManager().Clear();
  }
};

std::string treeAt(const char* name, int x, int y, const std::string& more = "") {
  return std::string("[") + name + "]\ntype=simple\nsubType=tree\nx=" + std::to_string(x) + "\ny=" +
         std::to_string(y) + "\nanim0=crown\nanim1=trunk\n" + kTreeColours + more;
}

// Two trees in the circle a stone opens as the level starts (round (400, 300)), two far from it;
// one of each pair is a tree of the fog. A cottage site keeps its fog area closed, so the fog does
// not fade away as a whole.
bool loadWood(testkit::GameHarness& h, int n, bool fog) {
  testkit::LevelFiles f;
  f.balance = "[Main]\ntLevelTime=1000000\nMinuteTime=60000\nbIsFog=" + std::string(fog ? "1" : "0") +
              "\n[Resources]\nWorker=0\n";
  f.map = std::string(obstest::kBarn) +
          "[Stone]\ntype=stone\nx=380\ny=320\nisFogArea=1\nfogAreaDeltaX=20\nfogAreaDeltaY=-20\nfogAreaRadius=100\n"
          "[Cottage]\ntype=building\nsubType=Cottage\nx=900\ny=700\nboundXS=30\nboundYS=30\nstate=1\n"
          "isFogArea=1\nfogAreaRadius=60\n" +
          treeAt("Open", 400, 300) + treeAt("GhostOpen", 420, 300, "DeleteOutsideFog=1\n") +
          treeAt("Hidden", 800, 500) + treeAt("GhostHidden", 820, 500, "DeleteOutsideFog=1\n");
  std::string error;
  EXPECT_TRUE(testkit::WriteTestLevel(n, f, &error)) << error;
  return h.Load(n);
}

// The fog is loaded after the objects and hidden on a level without fog: a tree must not take the
// fog's state while loading for a change (an event, a tree of the fog gone) once play begins.
TEST_F(SceneryLevel, TreesStandAsTheLevelBeginsWithoutATreeEvent) {
  const cTree::Rgb live{100, 200, 50}, dead{200, 100, 50};
  {
    testkit::GameHarness h;
    ASSERT_TRUE(loadWood(h, 570, false));
    h.Advance(10);
    EXPECT_EQ(h.CountOf(Event::TreeEvent), 0) << "no fog on this level, so no tree saw it lift";
    for (const char* name : {"Open", "GhostOpen", "Hidden", "GhostHidden"}) {
      auto* t = obstest::byName<cTree>(h, name);
      ASSERT_NE(t, nullptr) << name << ": a tree of the fog stays on a level without fog";
      EXPECT_FALSE(t->Fogged()) << name;
      EXPECT_EQ(t->CrownColour(), live) << name;
    }
  }
  testkit::GameHarness h;
  ASSERT_TRUE(loadWood(h, 571, true));
  h.Advance(10);
  EXPECT_EQ(h.CountOf(Event::TreeEvent), 0);
  auto* open = obstest::byName<cTree>(h, "Open");
  auto* hidden = obstest::byName<cTree>(h, "Hidden");
  ASSERT_TRUE(open && hidden);
  EXPECT_FALSE(open->Fogged());
  EXPECT_EQ(open->CrownColour(), live) << "alive from the start, not growing";
  EXPECT_TRUE(hidden->Fogged());
  EXPECT_EQ(hidden->CrownColour(), dead);
  EXPECT_EQ(obstest::byName(h, "GhostOpen"), nullptr) << "a tree of the fog where the level starts clear";
  ASSERT_NE(obstest::byName(h, "GhostHidden"), nullptr);

  // The fog lifts from the far pair during play: now the trees answer it.
  Map::levelFog()->ApplyEllipse({810, 500}, 100.0f, 100.0f, true);
  h.Advance(1);
  EXPECT_EQ(h.CountOf(Event::TreeEvent), 2);
  h.Advance(40);
  EXPECT_EQ(hidden->CrownColour(), live);
  EXPECT_EQ(obstest::byName(h, "GhostHidden"), nullptr);
}

// ---- Reflections and the background ---------------------------------------------------------------

TEST_F(Scenery, AReflectionStartsAtAFrameOfItsOwnAndDrawsTurnedAndSeeThrough) {
  Map::sceneryVisualSeed(99);
  CRand c{99};
  const int32_t t = c.next() % 1000;
  testkit::LevelHarness h;
  load(h, "sc_reflect",
       "[Pond]\ntype=simple\nsubType=reflection\nx=200\ny=200\nanim0=ripple\nAlpha=200\nAngle=1.5707963\n"
       "[Still]\ntype=simple\nsubType=reflection\nx=100\ny=100\nanim0=still\nAlpha=90\n"
       "[Empty]\ntype=simple\nsubType=reflection\nx=100\ny=100\n");
  auto* pond = byName<cReflection>(h, "Pond");
  auto* still = byName<cReflection>(h, "Still");
  auto* empty = byName<cReflection>(h, "Empty");
  ASSERT_TRUE(pond && still && empty);
  EXPECT_EQ(pond->StartOffset(), t * 5 / 1000);
  EXPECT_EQ(pond->alpha, 200) << "the alpha is one unsigned byte";
  EXPECT_NEAR(pond->angle, 1.5707963f, 1e-6);
  EXPECT_EQ(still->StartOffset(), 0);
  EXPECT_EQ(empty->StartOffset(), 0) << "no animation: no remainder of a zero period";
  EXPECT_TRUE(quadsOf(*empty).empty());

  pond->Anim(0).Start(0);
  for (int i = 0; i < 8; ++i) h.Tick();  // 200 ms: the animation's own frame 1 of 5
  EXPECT_EQ(pond->FrameShown(), (1 + pond->StartOffset()) % 5);
  const auto quads = quadsOf(*pond);
  ASSERT_EQ(quads.size(), 1u);
  // Turned by a quarter: the 30 x 20 frame stands 20 wide and 30 high around the anchor.
  float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
  for (const GpuVertex& v : quads[0].v) {
    minX = std::min(minX, v.x);
    maxX = std::max(maxX, v.x);
    minY = std::min(minY, v.y);
    maxY = std::max(maxY, v.y);
  }
  EXPECT_NEAR(maxX - minX, 20.0f, 0.01f);
  EXPECT_NEAR(maxY - minY, 30.0f, 0.01f);
  EXPECT_NEAR((maxX + minX) / 2, 200.0f, 0.01f);
  EXPECT_EQ(quads[0].v[0].diffuse >> 24, 200u);
  EXPECT_EQ(quadsOf(*still)[0].v[0].diffuse, 0x5AFFFFFFu) << "white at its alpha";
}

TEST_F(Scenery, TheBackgroundDrawsAsAnyPictureUntilItsSlotMovesOnThenFadesTheNewOneIn) {
  testkit::LevelHarness h;
  load(h, "sc_back",
       "[Back]\ntype=simple\nsubType=back\nx=512\ny=384\nlayer=-100\nanim0=summer\nanim1=autumn\n"
       "[Plain]\ntype=simple\nsubType=plainThing\nx=512\ny=384\nanim0=summer\n");
  auto* back = byName<cBack>(h, "Back");
  Map::cObject* plain = h.map.FindByTag(NameHash("Plain"));
  ASSERT_TRUE(back && plain);
  EXPECT_FALSE(back->CrossFading()) << "loading its slot is no change of season";
  const auto asBack = quadsOf(*back);
  const auto asPlain = quadsOf(*plain);
  ASSERT_EQ(asBack.size(), 1u);
  ASSERT_EQ(asPlain.size(), 1u);
  EXPECT_EQ(asBack[0].modeWord, asPlain[0].modeWord);
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(asBack[0].v[i].x, asPlain[0].v[i].x);
    EXPECT_FLOAT_EQ(asBack[0].v[i].y, asPlain[0].v[i].y);
    EXPECT_EQ(asBack[0].v[i].diffuse, asPlain[0].v[i].diffuse);
  }

  back->SetAnimation(1, false);
  ASSERT_TRUE(back->CrossFading());
  EXPECT_EQ(back->IncomingAlpha(), 0);
  for (int i = 0; i < 40; ++i) h.Tick();  // half of the fade
  auto both = quadsOf(*back);
  ASSERT_EQ(both.size(), 2u) << "the slot below, then the new one over it";
  EXPECT_EQ(both[0].v[0].diffuse >> 24, 255u);
  EXPECT_NEAR(double(both[1].v[0].diffuse >> 24), 127.0, 1.0);
  for (int i = 0; i < 40; ++i) h.Tick();
  EXPECT_FALSE(back->CrossFading());
  EXPECT_EQ(quadsOf(*back).size(), 1u);
  EXPECT_EQ(back->currentAnimation, 1);
}

// ---- Records -----------------------------------------------------------------------------------------

TEST_F(Scenery, EveryClassKeepsItsKeysThroughItsRecord) {
  testkit::LevelHarness h;
  load(h, "sc_record",
       creature("Frog", "anim0=idle\n", "flipX=1\nscale=1.5\nsound=croak\n") +
           mover("Hog", "arealXS=70\narealYS=30\nactivityFactor=9\nflipX=1\nscale=2\nspeed=12.5\n") +
           tree("Oak", std::string(kTreeColours) + "RandomSeed=3\nRandomMax=4\nampl=2.5\nperiod=900\nphase=0.5\n"
                                                   "scale=1.25\nDeleteOutsideFog=1\n") +
           "[Pond]\ntype=simple\nsubType=reflection\nx=1\ny=2\nanim0=ripple\nAlpha=120\nAngle=0.25\n");
  for (const char* name : {"Frog", "Hog", "Oak", "Pond"}) {
    Map::cObject* o = h.map.FindByTag(NameHash(name));
    ASSERT_NE(o, nullptr) << name;
    MapObjectRecord fromIni, filled;
    ASSERT_TRUE(mapRecordFromIni("sc_record/map.ini", name, fromIni));
    o->FillRecord(filled);
    EXPECT_EQ(filled.extension, fromIni.extension) << name;
    // And a copy (a child made from a template) behaves the same.
    Map::cObject* copy = o->Clone();
    ASSERT_NE(copy, nullptr);
    MapObjectRecord copied;
    copy->FillRecord(copied);
    EXPECT_EQ(copied.extension, fromIni.extension) << name;
    copy->Destroy(copy->Has(Map::kFlagFreeOnRemove));
  }
  auto* frog = byName<cSimpleCreature>(h, "Frog");
  EXPECT_EQ(frog->flipX, 1);
  EXPECT_FLOAT_EQ(frog->creatureScale, 1.5f);
  auto* hog = byName<cMovingCreature>(h, "Hog");
  EXPECT_EQ(hog->activityFactor, 9);
  EXPECT_FLOAT_EQ(hog->speed, 12.5f);
  std::string ini;
  byName<cReflection>(h, "Pond")->SaveIni(ini);
  EXPECT_NE(ini.find("Alpha=120"), std::string::npos);
  EXPECT_NE(ini.find("Angle=0.25"), std::string::npos) << "the angle map.bin cannot carry stays in map.ini";
}

TEST_F(Scenery, EveryClassReadsAlikeFromMapIniAndFromTheMapBinCompiledFromIt) {
  const std::string ini =
      creature("Frog", "anim0=idle\nanim1=act1\n", "flipX=1\nscale=1.5\nsound=croak\n") +
      mover("Hog", "arealXS=70\narealYS=30\nactivityFactor=9\nflipX=1\nscale=2\nspeed=12.5\n") +
      "[Fly]\ntype=creature\nsubType=butterfly\nx=500\ny=400\nanim0=walk\narealXS=100\narealYS=60\nspeed=40\n"
      "scale=0.5\n" +
      tree("Oak", std::string(kTreeColours) + "RandomSeed=3\nRandomMax=4\nScaleRandomSeed=9\nScaleRandomMax=1\n"
                                              "ampl=2.5\nperiod=900\nphase=0.5\nscale=1.25\nDeleteOutsideFog=1\n") +
      "[Pond]\ntype=simple\nsubType=reflection\nx=1\ny=2\nanim0=ripple\nAlpha=120\nAngle=0.25\n"
      "[Back]\ntype=simple\nsubType=back\nx=512\ny=384\nanim0=summer\nanim1=autumn\ncurrentAnimation=1\n"
      "[Campfire]\ntype=fx\nsubType=mapeffect\nx=10\ny=20\neffectname=BigFire\nDeleteOutsideFog=1\nstartOnEffect=1\n"
      "[Smoke]\ntype=fx\nsubType=evilsmoke\nx=30\ny=40\neffectname=Smog\n"
      "[Witch1]\ntype=Witch_1lvl\nx=800\ny=300\n[Witch8]\ntype=Witch_8lvl\nx=300\ny=200\n"
      "[Witch33]\ntype=Witch_33lvl\nx=700\ny=200\n[Witch37]\ntype=Witch_37lvl\nx=10\ny=10\n"
      "[Cloud]\ntype=trollCloud\n[Arms]\ntype=tentacles\nx=300\ny=500\n"
      "[Magic]\ntype=heart\nsubType=MagicTree\nx=600\ny=400\n";
  std::string error;
  ASSERT_TRUE(testkit::WriteLevelFolder("sc_forms", ini, {}, &error)) << error;
  testkit::LevelHarness bin;
  Map::sceneryRegisterClasses(bin.factory);
  Map::mapEffectRegisterClasses(bin.factory);
  ASSERT_TRUE(bin.Load("sc_forms", true));
  const std::vector<MapObjectRecord> fromBin = gametest::recordsOf(bin.map);
  ASSERT_EQ(fromBin.size(), 15u);

  // The classes and the keys a level author writes, as map.bin gives them.
  auto* frog = byName<cSimpleCreature>(bin, "Frog");
  auto* hog = byName<cMovingCreature>(bin, "Hog");
  auto* fly = byName<cMovingButterfly>(bin, "Fly");
  auto* oak = byName<cTree>(bin, "Oak");
  auto* pond = byName<cReflection>(bin, "Pond");
  auto* back = byName<cBack>(bin, "Back");
  auto* fire = byName<Map::cEffect>(bin, "Campfire");
  auto* smoke = byName<Map::cEvilSmoke>(bin, "Smoke");
  ASSERT_TRUE(frog && hog && fly && oak && pond && back && fire && smoke);
  EXPECT_NE(byName<Map::cWitch_1lvl>(bin, "Witch1"), nullptr);
  EXPECT_NE(byName<Map::cWitch_8lvl>(bin, "Witch8"), nullptr);
  EXPECT_NE(byName<Map::cWitch_33lvl>(bin, "Witch33"), nullptr);
  EXPECT_NE(byName<Map::cWitch_37lvl>(bin, "Witch37"), nullptr);
  EXPECT_NE(byName<Map::cTrollCloud>(bin, "Cloud"), nullptr);
  EXPECT_NE(byName<Map::cTentacles>(bin, "Arms"), nullptr);
  EXPECT_NE(byName<Map::cMagicTree>(bin, "Magic"), nullptr);
  EXPECT_EQ(frog->Sound(), "croak");
  EXPECT_EQ(frog->flipX, 1);
  EXPECT_FLOAT_EQ(frog->creatureScale, 1.5f);
  EXPECT_EQ(hog->arealXS, 70);
  EXPECT_EQ(hog->activityFactor, 9);
  EXPECT_FLOAT_EQ(hog->speed, 12.5f);
  EXPECT_FLOAT_EQ(hog->creatureScale, 2.0f);
  EXPECT_FLOAT_EQ(fly->speed, 40.0f);
  EXPECT_EQ(oak->leavesLive, (cTree::Rgb{100, 200, 50}));
  EXPECT_EQ(oak->trunkDead, (cTree::Rgb{60, 60, 60}));
  EXPECT_EQ(oak->period, 900);
  EXPECT_FLOAT_EQ(oak->ampl, 2.5f);
  EXPECT_FLOAT_EQ(oak->treeScale, 1.25f);
  EXPECT_EQ(oak->deleteOutsideFog, 1);
  CRand c{3};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(oak->Offsets()[i], c.next() % 8 - 4);
  CRand v{9};
  EXPECT_FLOAT_EQ(oak->SizeVariation(), float(v.next() % 200) * 0.01f - 1.0f);
  EXPECT_EQ(pond->alpha, 120);
  EXPECT_FLOAT_EQ(pond->angle, 0.25f) << "the turn survives the compiler";
  EXPECT_EQ(back->currentAnimation, 1);
  EXPECT_FALSE(back->CrossFading());
  EXPECT_EQ(fire->EffectName(), "BigFire");
  EXPECT_TRUE(fire->Waiting());
  EXPECT_EQ(fire->deleteOutsideFog, 1);
  EXPECT_EQ(smoke->EffectName(), "Smog");
  EXPECT_FALSE(smoke->Waiting());

  // The same map read from map.ini: every record alike.
  testkit::LevelHarness fromIni;
  Map::sceneryRegisterClasses(fromIni.factory);
  Map::mapEffectRegisterClasses(fromIni.factory);
  ASSERT_TRUE(fromIni.Load("sc_forms", false));
  EXPECT_TRUE(fromBin == gametest::recordsOf(fromIni.map));
  EXPECT_FLOAT_EQ(byName<cReflection>(fromIni, "Pond")->angle, 0.25f);
}

TEST_F(Scenery, AReflectionAlphaOutsideAByteIsTakenAtItsEndAndSaidSo) {
  testkit::LevelHarness h;
  load(h, "sc_alpha",
       "[Bright]\ntype=simple\nsubType=reflection\nx=1\ny=2\nanim0=still\nAlpha=300\n"
       "[Dark]\ntype=simple\nsubType=reflection\nx=1\ny=2\nanim0=still\nAlpha=-4\n");
  EXPECT_EQ(byName<cReflection>(h, "Bright")->alpha, 255);
  EXPECT_EQ(byName<cReflection>(h, "Dark")->alpha, 0);
  const std::string gerr = gametest::gerrText();
  EXPECT_NE(gerr.find("sc_alpha/map.ini [Bright]: Alpha=300"), std::string::npos) << gerr;
  EXPECT_NE(gerr.find("[Dark]: Alpha=-4"), std::string::npos) << gerr;
}
