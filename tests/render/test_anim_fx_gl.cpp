// Through real OpenGL: an animation from the catalogue shows its frames in turn as time passes,
// and a particle effect puts light on the screen where it runs.
#include <gtest/gtest.h>

#include "support/gl_required.h"

#include <filesystem>
#include <cstring>
#include <fstream>

#include "anim/anim_catalogue.h"
#include "anim/pyro_device.h"
#include "anim/pyro_library.h"
#include "gfx/image.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "support/gl_pixels.h"

namespace {

using testkit::At;
using testkit::GlUp;
using testkit::Px;


TEST(AnimGl, FramesFollowTimeOnScreen) {
  if (!GlUp()) MM_SKIP_WITHOUT_GL("no OpenGL offscreen context");
  // Two 16 x 16 frames stacked: red, then blue.
  std::vector<uint8_t> px(16 * 32 * 4, 255);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 16; ++x) {
      uint8_t* p = &px[(size_t(y) * 16 + x) * 4];
      p[0] = y < 16 ? 255 : 0;
      p[1] = 0;
      p[2] = y < 16 ? 0 : 255;
    }
  std::filesystem::create_directories("data/anims");
  ASSERT_TRUE(imgSavePNG("data/anims/blink.png", px.data(), 16, 32));
  std::ofstream("anim_test.xml") << "<Animations>\n"
                                    "<Animation id=\"blink\" path=\"data/anims/blink.png\" period=\"400\" "
                                    "frames=\"2\" isLoop=\"1\" isNoCenter=\"1\"/>\n</Animations>\n";
  auto& cat = Core::animManager();
  ASSERT_TRUE(cat.LoadAnimationCatalogue("anim_test.xml"));
  {
    AnimationState a = cat.GetAnimation("blink");
    ASSERT_TRUE(a.IsValid());
    a.Start();
    std::vector<Px> seen;
    for (int step = 0; step < 3; ++step) {
      grBeginScene();
      a.DrawCurrent(100, 100);
      std::vector<uint8_t> f;
      int w = 0, h = 0;
      ASSERT_TRUE(grReadFrame(f, w, h));
      grFlip(nullptr, nullptr);
      seen.push_back(At(f, w, 108, 108));
      a.Advance(200);
    }
    EXPECT_GT(seen[0].r, 200);
    EXPECT_LT(seen[0].b, 50);
    EXPECT_GT(seen[1].b, 200) << "half a period later: the second frame";
    EXPECT_LT(seen[1].r, 50);
    EXPECT_GT(seen[2].r, 200) << "looped back to the first";
  }
  cat.Clear();
}

TEST(ParticlesGl, AnEffectLightsTheScreenWhereItRuns) {
  if (!GlUp()) MM_SKIP_WITHOUT_GL("no OpenGL offscreen context");
  const char* text =
      "[effect]\nversion = 1\n\n[emitter glow]\nblend = additive\nrate = 400\nmaxParticles = 400\n"
      "life = 1 1\nspeed = 0 10\nspread = 360\nsize = 0 12, 1 12\ncolor = 0 #FFFFFF, 1 #FFFFFF\n";
  PyroParticles::CPyroGraphics device;
  Pyro::ILibrary* lib = pyroCreateLibrary(Pyro::kLibraryVersion, 2);
  ASSERT_NE(lib, nullptr);
  lib->SetSeed(7);
  lib->SetDevice(&device);
  Pyro::IEffectFile* file = lib->LoadEffectText("test.pfx", text, std::strlen(text));
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->Prepare());
  Pyro::IEmitter* e = file->CreateEmitter("glow");
  ASSERT_NE(e, nullptr);
  float t = 0;
  for (int i = 0; i < 10; ++i) {
    t += 0.025f;
    e->Move(t, 0.025f, 600, 300, 0, true);
    e->Update(t, 0.025f);
  }
  EXPECT_GT(e->ParticleCount(), 50);
  grBeginScene();
  e->Render();
  std::vector<uint8_t> f;
  int w = 0, h = 0;
  ASSERT_TRUE(grReadFrame(f, w, h));
  grFlip(nullptr, nullptr);
  const Px centre = At(f, w, 600, 300), far = At(f, w, 100, 600);
  EXPECT_GT(centre.r + centre.g + centre.b, 150) << "light at the emitter";
  EXPECT_EQ(far.r + far.g + far.b, 0) << "darkness far from it";
  e->Delete();
  file->Delete();
  delete lib;
}

}  // namespace
