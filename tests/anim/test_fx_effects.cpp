// The effects manager: the catalogue and first-use loading, a simple effect through its start
// delay, running, stopping and stopped, flights on curves and on the fading wave, fireworks rounds
// that burn out, and the flares.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "anim/fx_manager.h"
#include "anim/fx_pyro_manager.h"
#include "anim/fx_sin_effect.h"
#include "anim/pyro_library.h"
#include "anim_test_util.h"
#include "files/ini.h"
#include "particles_test_util.h"

using namespace FxManager;
using animtest::ErrorCapture;
using animtest::writeText;

namespace {

const char* kCatalogue = R"(
[main]
name = data/fx/t_ignored.pfx

[Spark]
name = data/fx/t_spark.pfx
startTimeout = 500
offsetX = 10
offsetY = -5
offsetX2 = 100
amplitude = 50
frequency = 1

[Trail]
name = data/fx/t_trail.pfx

[Empty]
name =

[Broken]
name = data/fx/t_missing.pfx

[FireWork]
name = data/fx/t_trail.pfx

[TaskFlare]
name = data/fx/t_trail.pfx
)";

// Two endless emitters of short-lived particles.
const char* kSpark = R"(
[emitter core]
rate = 40
life = 0.3
[emitter halo]
rate = 20
life = 0.3
)";

const char* kTrail = R"(
[emitter]
rate = 30
life = 0.4
)";

class Effects : public ::testing::Test {
 protected:
  void SetUp() override {
    writeText("data/fx/t_pyro.ini", kCatalogue);
    writeText("data/fx/t_spark.pfx", kSpark);
    writeText("data/fx/t_trail.pfx", kTrail);
    iniFreeAll();
    pyroManager().Init(&device, "data/fx/t_pyro.ini");
    pyroManager().SeedRandom(1);
  }
  void TearDown() override { pyroManager().Done(); }

  // Runs `fx` in 25 ms steps for `ms` milliseconds.
  template <class Fx>
  static void Run(Fx& fx, int ms) {
    for (int t = 0; t < ms; t += 25) fx.Update(25);
  }

  ptest::RecordingDevice device;
};

TEST_F(Effects, CatalogueFindsSectionsAndLoadsEachFileOnceOnFirstUse) {
  cPyroManager& pm = pyroManager();
  // "main" and the section without a file are no effects.
  EXPECT_EQ(pm.Size(), 5u);
  EXPECT_EQ(pm.Find("main"), nullptr);
  EXPECT_EQ(pm.Find("Empty"), nullptr);
  EXPECT_EQ(pm.Find("spark"), nullptr) << "section names are compared byte by byte";
  ASSERT_NE(pm.Find("Spark"), nullptr);
  EXPECT_EQ(pm.Find("Spark")->file, "data/fx/t_spark.pfx");

  // Nothing is loaded until asked for.
  EXPECT_EQ(pm.FilesLoaded(), 0);
  EXPECT_EQ(pm.Find("Spark")->loaded, nullptr);
  Pyro::IEffectFile* spark = pm.FindEffectFile("Spark");
  ASSERT_NE(spark, nullptr);
  EXPECT_EQ(spark->EmitterCount(), 2);
  EXPECT_TRUE(spark->IsPrepared()) << "textures are made when the file is loaded";
  EXPECT_EQ(pm.FilesLoaded(), 1);
  EXPECT_EQ(pm.FindEffectFile("Spark"), spark);
  EXPECT_EQ(pm.FilesLoaded(), 1);

  // The effect file name finds an entry too.
  Pyro::IEffectFile* trail = pm.FindEffectFile("data/fx/t_trail.pfx");
  ASSERT_NE(trail, nullptr);
  EXPECT_EQ(pm.FilesLoaded(), 2);

  // A file the library cannot load is tried once and reported once.
  ErrorCapture log;
  EXPECT_EQ(pm.FindEffectFile("Broken"), nullptr);
  EXPECT_EQ(pm.FindEffectFile("Broken"), nullptr);
  const std::string text = log.Text();
  const size_t first = text.find("t_missing.pfx");
  ASSERT_NE(first, std::string::npos) << text;
  EXPECT_EQ(text.find("t_missing.pfx", first + 1), std::string::npos) << text;
  EXPECT_TRUE(pm.Find("Broken")->failed);

  // An unknown name gives an effect that runs without emitters.
  auto none = pm.CreateEffect("Nothing");
  EXPECT_EQ(none->EmitterCount(), 0);
  none->Start();
  EXPECT_TRUE(none->Update(25));
}

TEST_F(Effects, SimplePyroWaitsItsDelayRunsStopsAndBurnsOut) {
  auto fx = pyroManager().CreateEffect("Spark");
  ASSERT_EQ(fx->EmitterCount(), 2);
  EXPECT_FLOAT_EQ(fx->StartDelay(), 0.5f);
  EXPECT_EQ(fx->GetState(), cSimplePyro::kStopped);
  EXPECT_FALSE(fx->Update(25)) << "an effect not started does nothing";

  fx->SetPosition(300, 200);
  fx->Start();
  EXPECT_EQ(fx->GetState(), cSimplePyro::kRunning);
  // Start delay: nothing born, nothing drawn.
  for (int t = 25; t <= 475; t += 25) {
    EXPECT_TRUE(fx->Update(25));
    fx->Render();
  }
  EXPECT_EQ(fx->ParticleCount(), 0);
  EXPECT_TRUE(device.draws.empty());

  Run(*fx, 500);  // 0.5 s of emission at 40 + 20 per second, each living 0.3 s
  EXPECT_GT(fx->ParticleCount(), 8);
  fx->Render();
  EXPECT_FALSE(device.draws.empty());
  // Every emitter stands at the position plus the base offset plus its own.
  float x, y, z;
  fx->Emitter(0)->GetPosition(x, y, z);
  EXPECT_FLOAT_EQ(x, 310);
  EXPECT_FLOAT_EQ(y, 195);
  fx->Emitter(1)->GetPosition(x, y, z);
  EXPECT_FLOAT_EQ(x, 410);
  EXPECT_FLOAT_EQ(y, 195);

  // Stopping: no births; the state holds until the emitters are done, but never before 2 s past
  // the delay even though the particles die within 0.3 s.
  fx->Stop(false);
  EXPECT_EQ(fx->GetState(), cSimplePyro::kStopping);
  EXPECT_TRUE(fx->IsStopped(false));
  EXPECT_FALSE(fx->IsStopped(true));
  fx->Stop(false);
  EXPECT_EQ(fx->GetState(), cSimplePyro::kStopping);
  Run(*fx, 400);
  EXPECT_EQ(fx->ParticleCount(), 0);
  EXPECT_EQ(fx->GetState(), cSimplePyro::kStopping);
  while (fx->GetState() != cSimplePyro::kStopped && fx->Time() < 10) fx->Update(25);
  EXPECT_GT(fx->Time(), 2.5f);
  EXPECT_LE(fx->Time(), 2.5f + 0.026f);
  EXPECT_FALSE(fx->Update(25));

  // An immediate stop ends a stopping effect at once.
  fx->Start();
  Run(*fx, 700);
  fx->Stop(false);
  fx->Stop(true);
  EXPECT_EQ(fx->GetState(), cSimplePyro::kStopped);
  EXPECT_TRUE(fx->IsStopped(true));
}

TEST_F(Effects, NamesOf128BytesOrMoreGiveEffectsWithoutEmitters) {
  ErrorCapture log;
  const std::string longName(128, 'S');
  cSimplePyro fx;
  fx.Load(longName.c_str());
  EXPECT_EQ(fx.EmitterCount(), 0);
  EXPECT_EQ(std::string(fx.GetName()).size(), 127u);
  EXPECT_NE(log.Text().find("effect name of 128 bytes"), std::string::npos);
  fx.Start();
  EXPECT_TRUE(fx.Update(25));
  fx.Render();
  EXPECT_TRUE(device.draws.empty());

  // LoadFrom takes the catalogue section from another file's "name" key.
  writeText("data/fx/t_owner.ini", "[torch]\nname = Trail\n");
  cSimplePyro torch;
  torch.LoadFrom("data/fx/t_owner.ini", "torch");
  EXPECT_STREQ(torch.GetName(), "Trail");
  EXPECT_EQ(torch.EmitterCount(), 1);
}

TEST_F(Effects, BezierFlightFollowsTheQuadraticSegments) {
  cBezierPyro fx;
  fx.Load("Trail");
  // One segment from (100, 600) through (500, 100) to (900, 600).
  const BezierPoint two[2] = {{0, 0, 100, 600}, {500, 100, 900, 600}};
  fx.SetPath(two, 2);
  EXPECT_FLOAT_EQ(fx.GetDuration(), 1000);
  fx.Start();
  float x, y;
  fx.GetPosition(x, y);
  EXPECT_FLOAT_EQ(x, 100);
  EXPECT_FLOAT_EQ(y, 600);
  for (int i = 0; i < 20; ++i) EXPECT_FALSE(fx.Update(25));
  // u = 0.5: a quarter of each anchor and half the control point.
  fx.GetPosition(x, y);
  EXPECT_NEAR(x, 500, 1e-3);
  EXPECT_NEAR(y, 350, 1e-3);
  EXPECT_EQ(fx.GetState(), cSimplePyro::kRunning);
  for (int i = 0; i < 19; ++i) EXPECT_FALSE(fx.Update(25));
  EXPECT_TRUE(fx.Update(25)) << "the flight is over at 1000 ms";
  EXPECT_EQ(fx.GetState(), cSimplePyro::kStopping) << "it stops emitting when it arrives";
  fx.GetPosition(x, y);
  EXPECT_FLOAT_EQ(x, 900);
  EXPECT_FLOAT_EQ(y, 600);

  // Three points: two segments, each half the time. At a quarter, u = 0.5 of the first.
  const BezierPoint three[3] = {{0, 0, 0, 0}, {40, 80, 100, 0}, {200, -100, 100, 100}};
  fx.SetPath(three, 3);
  fx.PathPoint(0.25f, x, y);
  EXPECT_NEAR(x, 0.5f * 40 + 0.25f * 100, 1e-4);
  EXPECT_NEAR(y, 0.5f * 80, 1e-4);
  fx.PathPoint(0.75f, x, y);  // second segment: 0.25 (100, 0) + 0.5 (200, -100) + 0.25 (100, 100)
  EXPECT_NEAR(x, 150, 1e-4);
  EXPECT_NEAR(y, -25, 1e-4);
}

TEST_F(Effects, BezierPathsOfNoOrOnePointAndZeroDurationsStaySafe) {
  cBezierPyro fx;
  fx.Load("Trail");
  fx.SetPosition(7, 8);
  fx.SetPath(nullptr, 0);
  fx.Start();
  EXPECT_FALSE(fx.Update(25));
  float x, y;
  fx.GetPosition(x, y);
  EXPECT_FLOAT_EQ(x, 7) << "without a path the effect stays where it is";
  EXPECT_FLOAT_EQ(y, 8);

  const BezierPoint one = {1, 2, 30, 40};
  fx.SetPath(&one, 1);
  fx.Start();
  fx.Update(500);
  fx.GetPosition(x, y);
  EXPECT_FLOAT_EQ(x, 30);
  EXPECT_FLOAT_EQ(y, 40);

  const BezierPoint two[2] = {{0, 0, 0, 0}, {5, 5, 10, 10}};
  fx.SetPath(two, 2);
  fx.SetDuration(0);
  fx.Start();
  EXPECT_TRUE(fx.Update(25)) << "a flight of no length is over at the first step";
  fx.GetPosition(x, y);
  EXPECT_FLOAT_EQ(x, 10);
  EXPECT_FLOAT_EQ(y, 10);
}

TEST_F(Effects, DecreaseSinEffectRisesOnAWaveThatDiesAway) {
  cDecreaseSinEffect fx;
  fx.Load("Spark");
  EXPECT_FLOAT_EQ(fx.Amplitude(), 50);
  EXPECT_FLOAT_EQ(fx.Frequency(), 1);
  // Straight up 600 px: half way the wave is at its crest, sin(pi / 2) x (1 - 1/2) x 50 = 25,
  // to the right of the line (the direction turned a quarter).
  fx.LaunchBetween(100, 700, 100, 100);
  for (int i = 0; i < 20; ++i) fx.Update(25);
  float x, y;
  fx.GetPosition(x, y);
  EXPECT_NEAR(x, 125, 0.01);
  EXPECT_NEAR(y, 400, 0.01);
  EXPECT_TRUE(fx.IsFlying());
  for (int i = 0; i < 20; ++i) fx.Update(25);
  EXPECT_FALSE(fx.IsFlying()) << "the flight lasts one second";
  fx.GetPosition(x, y);
  EXPECT_NEAR(x, 100, 0.01);
  EXPECT_NEAR(y, 100, 0.01);

  // A random launch starts low and ends high, inside the screen's margins.
  cDecreaseSinEffect r;
  r.Load("Spark");
  r.Launch();
  r.GetPosition(x, y);
  EXPECT_GE(x, 50);
  EXPECT_LT(x, 974);
  EXPECT_GT(y, 718 - 275);
  EXPECT_LE(y, 718);
  while (r.IsFlying()) r.Update(25);
  r.GetPosition(x, y);
  EXPECT_GE(y, 50);
  EXPECT_LT(y, 325);
}

// The effects' own generator, written out here: state x 214013 + 2531011, bits 16-30.
struct Lcg {
  uint32_t state;
  float Next() {
    state = state * 214013u + 2531011u;
    return float((state >> 16) & 0x7FFF);
  }
};

TEST_F(Effects, RandomLaunchesDrawFourNumbersInTheirOrder) {
  pyroManager().SeedRandom(777);
  Lcg lcg{777};
  const float r1 = lcg.Next(), r2 = lcg.Next(), r3 = lcg.Next(), r4 = lcg.Next();
  cDecreaseSinEffect wave;
  wave.Load("Spark");
  wave.Launch();
  float x, y;
  wave.GetPosition(x, y);
  EXPECT_NEAR(y, 718 - r1 * 275 / 32768, 1e-3);
  EXPECT_NEAR(x, 50 + r2 * 924 / 32768, 1e-3);
  while (wave.IsFlying()) wave.Update(25);
  wave.GetPosition(x, y);
  EXPECT_NEAR(y, 50 + r3 * 275 / 32768, 1e-2);
  EXPECT_NEAR(x, 50 + r4 * 924 / 32768, 1e-2);
  // A launch while flying is ignored and draws nothing.
  wave.Launch();
  ASSERT_TRUE(wave.IsFlying());
  wave.GetPosition(x, y);
  wave.Launch();
  float x2, y2;
  wave.GetPosition(x2, y2);
  EXPECT_EQ(x2, x);
  EXPECT_EQ(y2, y);
  for (int i = 0; i < 4; ++i) lcg.Next();
  EXPECT_EQ(float(pyroManager().Random()), lcg.Next());
}

class FireWorksTest : public Effects {
 protected:
  void Make(const std::string& keys) {
    writeText("data/fx/t_effects.ini", "[fireWorks]\n" + keys);
    iniFreeAll();
    fw.Load("data/fx/t_effects.ini", "fireWorks");
  }
  cFireWorks fw;
};

TEST_F(FireWorksTest, ThreeRocketsTwiceLaunchSixAndLetThemBurnOut) {
  Make("boundX = 100\nboundY = 50\nrocketsCount = 3\niterationsCount = 2\ndelay = 0.5\n");
  ASSERT_EQ(fw.RocketCount(), 3);
  pyroManager().SeedRandom(4242);
  Lcg lcg{4242};
  const float r1 = lcg.Next(), r2 = lcg.Next(), r3 = lcg.Next(), r4 = lcg.Next();
  fw.Start();
  // The first rocket: from (100 + r2 x 824 / 32768, 718 - r1 x 275 / 32768) to
  // (100 + r4 x 824 / 32768, 50 + r3 x 275 / 32768), its control point 0.4 of the way back.
  const auto& first = fw.Rocket(0)->Path();
  ASSERT_EQ(first.size(), 3u);
  EXPECT_NEAR(first[0].ay, 718 - r1 * 275 / 32768, 1e-3);
  EXPECT_NEAR(first[0].ax, 100 + r2 * 824 / 32768, 1e-3);
  EXPECT_NEAR(first[1].ay, 50 + r3 * 275 / 32768, 1e-3);
  EXPECT_NEAR(first[1].ax, 100 + r4 * 824 / 32768, 1e-3);
  EXPECT_NEAR(first[1].cx, first[1].ax + 0.4f * (first[0].ax - first[1].ax), 1e-3);
  EXPECT_FLOAT_EQ(fw.Rocket(0)->GetDuration(), 2400);
  EXPECT_TRUE(fw.IsRunning());
  EXPECT_EQ(fw.Launches(), 1);
  int ms = 0;
  int lastLaunchAt = 0;
  while (fw.IsRunning() && ms < 30000) {
    const int before = fw.Launches();
    fw.Update(25);
    ms += 25;
    if (fw.Launches() != before) lastLaunchAt = ms;
    // Every rocket rises from the bottom band to the top band between the side margins.
    for (int i = 0; i < fw.RocketCount(); ++i) {
      const auto& path = fw.Rocket(i)->Path();
      if (path.empty()) continue;
      ASSERT_EQ(path.size(), 3u);
      EXPECT_GE(path[0].ax, 100);
      EXPECT_LE(path[0].ax, 924);
      EXPECT_GT(path[0].ay, 768 - 50 - 275);
      EXPECT_LE(path[0].ay, 768 - 50);
      EXPECT_GE(path[1].ay, 50);
      EXPECT_LT(path[1].ay, 50 + 275);
    }
  }
  EXPECT_EQ(fw.Launches(), 6);
  EXPECT_EQ(lastLaunchAt, 2500) << "one rocket every half second";
  // The last rocket flew its whole 2.4 s and burnt out (at least 2 s after its start).
  EXPECT_GE(ms, 2500 + 2400);
  EXPECT_LT(ms, 30000);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(fw.Rocket(i)->IsStopped(true));
  // A finished show can start again.
  fw.Start();
  EXPECT_TRUE(fw.IsRunning());
  fw.Stop(true);
  EXPECT_FALSE(fw.IsRunning());
}

TEST_F(FireWorksTest, NoRocketsCountMeansNoFireworks) {
  for (const char* keys : {"iterationsCount = 2\ndelay = 0.5\n", "rocketsCount = 0\n", "rocketsCount = -3\n"}) {
    Make(keys);
    EXPECT_EQ(fw.RocketCount(), 0);
    fw.Start();
    EXPECT_FALSE(fw.IsRunning()) << keys;
    fw.Update(25);
    fw.Render();
    fw.Stop(false);
    EXPECT_FALSE(fw.IsRunning());
  }
}

TEST_F(Effects, FlaresFlyAtHalfSpeedFiveAtATime) {
  cTaskEffect flares;
  flares.Load();
  EXPECT_TRUE(flares.Update(25)) << "nothing flies yet";
  for (int i = 0; i < cTaskEffect::kFlares; ++i) EXPECT_TRUE(flares.Send(100, 500, 900, 40));
  EXPECT_FALSE(flares.Send(100, 500, 900, 40)) << "all five are busy";
  // Half a second of game time is a quarter of a flight of 1000 ms: half way along the first of
  // two segments, pulled towards the control point (0, 0).
  for (int i = 0; i < 20; ++i) EXPECT_FALSE(flares.Update(25));
  EXPECT_NEAR(flares.Flare(0)->Progress(), 0.25f, 1e-4);
  float x, y;
  flares.Flare(0)->GetPosition(x, y);
  EXPECT_NEAR(x, 0.25f * 100 + 0.25f * 900, 1e-3);
  EXPECT_NEAR(y, 0.25f * 500 + 0.25f * 40, 1e-3);
  // At one second the flare is at the panel; then it swings out towards x = 1100 and back.
  for (int i = 0; i < 20; ++i) flares.Update(25);
  flares.Flare(0)->GetPosition(x, y);
  EXPECT_NEAR(x, 900, 1e-3);
  EXPECT_NEAR(y, 40, 1e-3);
  for (int i = 0; i < 20; ++i) flares.Update(25);
  flares.Flare(0)->GetPosition(x, y);
  EXPECT_NEAR(x, 0.5f * 900 + 0.5f * 1100, 1e-3);
  EXPECT_NEAR(y, 40, 1e-3);
  for (int i = 0; i < 19; ++i) EXPECT_FALSE(flares.Update(25));
  EXPECT_TRUE(flares.Update(25)) << "all have arrived after two seconds";
  EXPECT_FALSE(flares.Send(100, 500, 900, 40)) << "arrived flares burn out before they fly again";
  for (int i = 0; i < 400 && flares.Flare(0)->GetState() != cSimplePyro::kStopped; ++i) flares.Update(25);
  EXPECT_TRUE(flares.Send(100, 500, 900, 40));
}

TEST(DemoEffects, EveryNamedEffectAndTheFireworksLoadCleanly) {
  const char* source = std::getenv("MM_SOURCE_DIR");
  if (!source) GTEST_SKIP() << "MM_SOURCE_DIR is not set";
  namespace fs = std::filesystem;
  const fs::path home = fs::current_path(), run = home / "demo_fx";
  fs::remove_all(run);
  fs::create_directories(run / "data");
  fs::copy(fs::path(source) / "demo/data/fx", run / "data/fx", fs::copy_options::recursive);
  fs::current_path(run);
  iniFreeAll();
  {
    ErrorCapture log;
    ptest::RecordingDevice device;
    ASSERT_TRUE(fxInit(&device));
    cPyroManager& pm = pyroManager();
    EXPECT_GE(pm.Size(), 4u);
    for (const char* name : {"FireWork", "TaskFlare", "GalleryComet", "RisingWave"})
      EXPECT_NE(pm.Find(name), nullptr) << name;
    for (const char* name : {"FireWork", "TaskFlare", "GalleryComet", "RisingWave", "Sparkles", "ChimneySmoke"})
      EXPECT_NE(pm.FindEffectFile(name), nullptr) << name;
    cFireWorks& fw = fxManager().FireWorks();
    EXPECT_GE(fw.RocketCount(), 1);
    // A rocket is reused only after its flight and its burst are over.
    EXPECT_GE(float(fw.RocketCount()) * fw.Delay() * 1000, cFireWorks::kRocketFlight + 1000);
    fxManager().StartFireWorks();
    for (int i = 0; i < 200; ++i) fxManager().UpdateFireWorks(25);
    EXPECT_GT(fw.Rocket(0)->ParticleCount(), 20) << "the first rocket has burst";
    fxDone();
    EXPECT_EQ(log.Text(), "");
  }
  iniFreeAll();
  fs::current_path(home);
}

}  // namespace
