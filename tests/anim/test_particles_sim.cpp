// The particle simulation: the same seed gives the same particles, births follow the rate at any
// step size, bursts, delays and windows, life and curves, exact motion under gravity, and the
// quads handed to the device.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "particles_test_util.h"

using namespace ptest;

namespace {

const char* kSpray = R"(
[emitter spray]
rate = 40
life = 0.5 1.5
speed = 20 80
direction = -90
spread = 120
gravity = 3 60
drag = 0.3
area = 20 6
angle = 0 360
spin = -90 90
sizeVariation = 0.25
size = 0 4, 0.5 12, 1 2
color = 0 #FFE080, 1 #FF402000
)";

std::vector<Pyro::Particle> Snapshot(const Pyro::IEmitter& e) {
  std::vector<Pyro::Particle> out;
  for (int i = 0; i < e.ParticleCount(); ++i) out.push_back(*e.ParticleAt(i));
  return out;
}

bool SameBytes(const std::vector<Pyro::Particle>& a, const std::vector<Pyro::Particle>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(a[0])) == 0);
}

std::vector<Pyro::Particle> RunSpray(uint32_t seed) {
  auto lib = NewLibrary(seed);
  auto file = Load(*lib, kSpray);
  EXPECT_TRUE(file);
  if (!file) return {};
  auto e = First(*file);
  e->Restart();
  // A moving emitter with an uneven frame rate.
  float t = 0;
  for (int k = 0; k < 200; ++k) {
    const float dt = 0.010f + 0.005f * float(k % 7);
    t += dt;
    e->Update(t, dt);
    e->Move(t, dt, 100.f + 2.f * float(k), 300.f, 0, true);
  }
  return Snapshot(*e);
}

TEST(ParticleDeterminism, OneSeedGivesTheSameParticlesAndAnotherSeedOthers) {
  const auto a = RunSpray(12345), b = RunSpray(12345), c = RunSpray(54321);
  ASSERT_GT(a.size(), 20u);
  EXPECT_TRUE(SameBytes(a, b)) << "two runs with one seed";
  EXPECT_FALSE(SameBytes(a, c)) << "another seed";

  // Within one library every emitter gets a stream of its own; SetSeed starts a stream again.
  auto lib = NewLibrary(9);
  auto file = Load(*lib, kSpray);
  auto e1 = First(*file), e2 = First(*file);
  EXPECT_NE(e1->Seed(), e2->Seed());
  e2->SetSeed(e1->Seed());
  for (auto* e : {e1.get(), e2.get()}) RunFor(*e, 0, 1, 0.025f);
  EXPECT_TRUE(SameBytes(Snapshot(*e1), Snapshot(*e2)));
}

const char* kSteady = R"(
[emitter]
rate = 10
duration = 2
delay = 0.5
life = 100
)";

TEST(ParticleEmission, TheRateGivesTheSameBirthsAtAnyStepSize) {
  auto lib = NewLibrary();
  auto file = Load(*lib, kSteady);
  ASSERT_TRUE(file);
  for (float step : {0.025f, 0.007f, 0.3f, 3.0f}) {
    auto e = First(*file);
    RunFor(*e, 0, 0.45f, std::min(step, 0.45f));
    EXPECT_EQ(e->BornCount(), 0) << "nothing before the delay, step " << step;
    EXPECT_TRUE(e->IsAlive()) << "waiting to emit counts as alive";
    RunFor(*e, 0.45f, 1.55f, step);
    EXPECT_EQ(e->BornCount(), 10) << "one second of emission, step " << step;
    RunFor(*e, 1.55f, 4.0f, step);
    EXPECT_EQ(e->BornCount(), 20) << "the window closes after two seconds, step " << step;
    EXPECT_FALSE(e->IsEmitting());
    EXPECT_FALSE(e->IsFinished()) << "its particles still live";
  }
}

TEST(ParticleEmission, BirthsInOneLongStepAreSpreadOverItAndAlongThePath) {
  auto lib = NewLibrary();
  auto file = Load(*lib, "[emitter]\nrate = 10\nlife = 100\n");
  auto e = First(*file);
  e->SetPosition(0, 0, 0);
  e->Move(1.0f, 1.0f, 100, 50, 0, true);
  ASSERT_EQ(e->ParticleCount(), 10);
  for (int i = 0; i < 10; ++i) {
    const Pyro::Particle& p = *e->ParticleAt(i);
    const float born = 0.1f * float(i + 1);  // seconds into the step
    EXPECT_NEAR(p.age, 1.0f - born, 1e-4f) << i;
    EXPECT_NEAR(p.x, 100 * born, 1e-3f) << "born where the emitter was at that moment";
    EXPECT_NEAR(p.y, 50 * born, 1e-3f);
  }
}

TEST(ParticleEmission, BurstsCapsStopsAndTheStatusQueries) {
  auto lib = NewLibrary();
  auto file = Load(*lib, "[emitter]\nrate = 1\nburst = 30\ndelay = 0.5\nduration = 1\nmaxParticles = 25\nlife = 0.4\n");
  auto e = First(*file);
  RunFor(*e, 0, 0.4f, 0.1f);
  EXPECT_EQ(e->ParticleCount(), 0);
  RunFor(*e, 0.4f, 0.6f, 0.1f);
  EXPECT_EQ(e->ParticleCount(), 25) << "the burst is cut at the cap";
  RunFor(*e, 0.6f, 0.8f, 0.1f);
  EXPECT_EQ(e->ParticleCount(), 25) << "a burst comes once";
  RunFor(*e, 0.8f, 1.0f, 0.1f);
  EXPECT_EQ(e->ParticleCount(), 0) << "they live 0.4 s";
  EXPECT_TRUE(e->IsAlive()) << "the window is still open";
  EXPECT_FALSE(e->IsFinished());
  RunFor(*e, 1.0f, 1.6f, 0.1f);
  EXPECT_EQ(e->BornCount(), 26) << "the rate's one particle, at the window's end";
  RunFor(*e, 1.6f, 2.0f, 0.1f);
  EXPECT_FALSE(e->IsAlive());
  EXPECT_TRUE(e->IsFinished());

  e->Restart();
  EXPECT_EQ(e->BornCount(), 0);
  RunFor(*e, 0, 0.6f, 0.1f);
  EXPECT_EQ(e->ParticleCount(), 25) << "a restart fires the burst again";

  // A burst without a rate or a window finishes once its particles are gone.
  auto pop = Load(*lib, "[emitter]\nrate = 0\nburst = 4\nlife = 0.3\n");
  auto q = First(*pop);
  RunFor(*q, 0, 0.2f, 0.05f);
  EXPECT_EQ(q->ParticleCount(), 4);
  EXPECT_TRUE(q->IsAlive());
  EXPECT_FALSE(q->IsFinished());
  RunFor(*q, 0.2f, 0.4f, 0.05f);
  EXPECT_FALSE(q->IsAlive());
  EXPECT_TRUE(q->IsFinished());

  // An endless emitter told not to emit makes no particles and is not alive once they die.
  auto endless = Load(*lib, "[emitter]\nrate = 50\nlife = 0.2\n");
  auto f = First(*endless);
  RunFor(*f, 0, 1, 0.05f);
  EXPECT_GT(f->ParticleCount(), 0);
  EXPECT_FALSE(f->IsFinished()) << "an endless window never finishes";
  const int born = f->BornCount();
  RunFor(*f, 1, 1.5f, 0.05f, 0, 0, false);
  EXPECT_EQ(f->BornCount(), born);
  EXPECT_EQ(f->ParticleCount(), 0);
  EXPECT_FALSE(f->IsAlive());
  f->SetRateScale(2);
  RunFor(*f, 1.5f, 2.5f, 0.05f);
  EXPECT_NEAR(f->BornCount() - born, 100, 1) << "the rate scale doubles the births";
}

TEST(ParticleLife, ColourAlphaAndSizeFollowTheirCurvesOverLife) {
  auto lib = NewLibrary();
  auto file = Load(*lib, R"([emitter]
rate = 0
life = 2
size = 0 10, 1 30
alpha = 0 0, 0.5 1, 1 0
color = 0 #FF0000, 1 #0000FF80
)");
  auto e = First(*file);
  e->Emit(1);
  ASSERT_EQ(e->ParticleCount(), 1);
  const Pyro::Particle& p0 = *e->ParticleAt(0);
  EXPECT_EQ(e->ColorOf(p0) >> 24, 0u) << "alpha starts at 0";
  EXPECT_FLOAT_EQ(e->SizeOf(p0), 10);

  e->Update(0.5f, 0.5f);  // a quarter of its life
  const Pyro::Particle& p = *e->ParticleAt(0);
  const uint32_t c = e->ColorOf(p);
  EXPECT_EQ((c >> 16) & 255, 191u) << "red 255 -> 0";
  EXPECT_EQ(c & 255, 64u) << "blue 0 -> 255";
  // Colour alpha 1 -> 0.5 is 0.875 here, the alpha curve 0.5: 0.4375.
  EXPECT_EQ(c >> 24, 112u);
  EXPECT_FLOAT_EQ(e->SizeOf(p), 15);
  e->SetScale(2);
  EXPECT_FLOAT_EQ(e->SizeOf(p), 30);
  e->SetTint(0x80FFFFFFu);
  EXPECT_EQ(e->ColorOf(p) >> 24, 56u) << "the tint's alpha multiplies";
  EXPECT_EQ((e->ColorOf(p) >> 16) & 255, 191u);

  e->Update(1.99f, 1.49f);
  EXPECT_EQ(e->ParticleCount(), 1) << "just before its end it lives";
  e->Update(2.0f, 0.01f);
  EXPECT_EQ(e->ParticleCount(), 0) << "at its life's end it is gone";
}

TEST(ParticleMotion, GravityIsIntegratedExactlyAtAnyStep) {
  auto lib = NewLibrary();
  auto file = Load(*lib, "[emitter]\nrate = 0\nlife = 100\nspeed = 100\ndirection = 0\ngravity = -10 50\n");
  for (float step : {0.025f, 0.1f, 1.3f}) {
    auto e = First(*file);
    e->SetPosition(5, 7, 0);
    e->Emit(1);
    float t = 0;
    while (t < 1.3f - 1e-6f) {
      const float dt = std::min(step, 1.3f - t);
      t += dt;
      e->Update(t, dt);
    }
    const Pyro::Particle& p = *e->ParticleAt(0);
    const float T = 1.3f;
    EXPECT_NEAR(p.x, 5 + 100 * T - 0.5f * 10 * T * T, 5e-3f) << "step " << step;
    EXPECT_NEAR(p.y, 7 + 0.5f * 50 * T * T, 5e-3f) << "step " << step;
    EXPECT_NEAR(p.vx, 100 - 10 * T, 1e-3f);
    EXPECT_NEAR(p.vy, 50 * T, 1e-3f);
  }
  // Drag takes speed away; particles of an attached emitter travel with it.
  auto dragged = Load(*lib, "[emitter]\nrate = 0\nlife = 100\nspeed = 100\ndirection = 0\ndrag = 1\nisAttached = 1\n");
  auto e = First(*dragged);
  e->Emit(1);
  for (int k = 1; k <= 40; ++k) e->Update(0.025f * float(k), 0.025f);
  const Pyro::Particle& p = *e->ParticleAt(0);
  EXPECT_LT(p.vx, 40.f);
  EXPECT_GT(p.vx, 30.f) << "about e^-1 of the speed after one second";
  e->SetPosition(500, 0, 0);
  RecordingDevice dev;
  lib->SetDevice(&dev);
  dragged->Prepare();
  e->Render();
  ASSERT_EQ(dev.draws.size(), 1u);
  EXPECT_NEAR(dev.draws[0].vertices[0].x + 8, 500 + p.x, 1e-3f) << "drawn at the emitter plus its offset";

  // Attached births keep no trail: they sit at the emitter wherever it was during the step.
  auto still = Load(*lib, "[emitter]\nrate = 10\nlife = 100\nisAttached = 1\n");
  still->Prepare();
  auto s = First(*still);
  s->Move(1.0f, 1.0f, 100, 0, 0, true);
  ASSERT_EQ(s->ParticleCount(), 10);
  dev.draws.clear();
  s->Render();
  ASSERT_EQ(dev.draws.size(), 1u);
  for (size_t v = 0; v < dev.draws[0].vertices.size(); v += 4) EXPECT_FLOAT_EQ(dev.draws[0].vertices[v].x, 100 - 8);
  lib->SetDevice(nullptr);
}

TEST(ParticleRender, QuadsCornersColoursBlendAndBufferChunks) {
  auto lib = NewLibrary();
  RecordingDevice dev(512);
  lib->SetDevice(&dev);
  auto file = Load(*lib, "[emitter glow]\nrate = 0\nlife = 10\nsize = 10\nblend = additive\ncolor = #204060C0\n"
                         "[emitter puffs]\nrate = 0\nlife = 10\nsize = 10\n");
  ASSERT_TRUE(file->Prepare());
  EXPECT_EQ(dev.texturesMade, 1) << "both use the built-in dot";
  auto glow = Emitter(file->CreateEmitter("glow"));
  glow->SetPosition(50, 40, 0);
  glow->Emit(1);
  glow->Render();
  ASSERT_EQ(dev.draws.size(), 1u);
  const auto& d = dev.draws[0];
  EXPECT_EQ(d.source, PyroGraphics::kBlendSrcAlpha);
  EXPECT_EQ(d.destination, PyroGraphics::kBlendOne);
  ASSERT_EQ(d.vertices.size(), 4u);
  const float want[4][4] = {{45, 35, 0, 0}, {55, 35, 1, 0}, {45, 45, 0, 1}, {55, 45, 1, 1}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(d.vertices[size_t(i)].x, want[i][0]) << i;
    EXPECT_FLOAT_EQ(d.vertices[size_t(i)].y, want[i][1]) << i;
    EXPECT_FLOAT_EQ(d.vertices[size_t(i)].u, want[i][2]) << i;
    EXPECT_FLOAT_EQ(d.vertices[size_t(i)].v, want[i][3]) << i;
    EXPECT_EQ(d.vertices[size_t(i)].color, 0xC0204060u);
  }

  auto puffs = Emitter(file->CreateEmitter("puffs"));
  puffs->Emit(1200);
  ASSERT_EQ(puffs->ParticleCount(), 500) << "the default cap";
  auto many = Load(*lib, "[emitter]\nrate = 0\nlife = 10\nmaxParticles = 1200\n");
  many->Prepare();
  auto m = First(*many);
  m->Emit(1200);
  dev.draws.clear();
  m->Render();
  ASSERT_EQ(dev.draws.size(), 3u);
  EXPECT_EQ(dev.draws[0].vertices.size(), 512u * 4);
  EXPECT_EQ(dev.draws[2].vertices.size(), 176u * 4);
  EXPECT_EQ(dev.draws[0].destination, PyroGraphics::kBlendInvSrcAlpha);
  EXPECT_EQ(m->DrawnCount(), 1200);

  // Without textures (released, or never prepared) nothing is drawn, but the particles live on.
  many->ReleaseResources();
  dev.draws.clear();
  m->Render();
  EXPECT_TRUE(dev.draws.empty());
  EXPECT_EQ(m->ParticleCount(), 1200);
  lib->SetDevice(nullptr);
}

}  // namespace
