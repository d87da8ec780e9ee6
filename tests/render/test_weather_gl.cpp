// Weather through real OpenGL: a rain at full darkness dims the whole screen by its alpha and a
// snow whitens it; a caustic pattern drawn at half size covers the screen to its last corner; the
// demo's rain and snow fall over the whole map.
#include <gtest/gtest.h>

#include "support/gl_required.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "anim/anim_catalogue.h"
#include "anim/fx_manager.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game/core/random.h"
#include "game/objects/fx_caustic.h"
#include "game/objects/fx_register.h"
#include "game/objects/fx_weather.h"
#include "gfx/render.h"
#include "gfx/test_sprite_util.h"
#include "support/demo_copy.h"
#include "support/gl_pixels.h"
#include "support/level_harness.h"

namespace {

using testkit::At;
using testkit::GlUp;
using testkit::Px;

// What `draw` puts over a screen filled with `back`.
std::vector<uint8_t> Frame(uint32_t back, const std::function<void()>& draw, int& w) {
  int h = 0;
  std::vector<uint8_t> f = testkit::DrawnFrame(back, draw, w, h);
  EXPECT_EQ(h, kLogicalHeight);
  return f;
}

void LoadLevel(testkit::LevelHarness& h, const std::string& folder, const std::string& ini) {
  Fx::weatherRegisterClasses(h.factory);
  std::string error;
  ASSERT_TRUE(testkit::WriteLevelFolder(folder, ini, {}, &error)) << error;
  ASSERT_TRUE(h.Load(folder, true));
}

const int kProbes[][2] = {{2, 2}, {512, 384}, {1021, 3}, {4, 765}, {1021, 765}};

TEST(WeatherGl, AFullRainDimsAndAFullSnowWhitensTheWholeScreen) {
  if (!GlUp()) MM_SKIP_WITHOUT_GL("no OpenGL offscreen context");
  iniFreeAll();
  testSettingsLoad("none.ini");
  SeedRandom(5);
  testkit::LevelHarness h;
  // Waits of one step, fades of 25 ms: both are at their full strength after two steps.
  LoadLevel(h, "wxgl_showers",
            "[Rain]\ntype=fx\nsubType=rain\nperiod=100000\nfadePeriod=0.00025\ndarkOpacity=128\n"
            "startPeriodMin=25\nstartPeriodMax=25\n"
            "[Snow]\ntype=fx\nsubType=snow\nperiod=100000\nfadePeriod=0.00025\ndarkOpacity=128\n"
            "startPeriodMin=25\nstartPeriodMax=25\n");
  auto* rain = dynamic_cast<Fx::cRain*>(h.map.FindByTag(NameHash("Rain")));
  auto* snow = dynamic_cast<Fx::cSnow*>(h.map.FindByTag(NameHash("Snow")));
  ASSERT_TRUE(rain && snow);
  for (int i = 0; i < 3; ++i) h.Tick();
  ASSERT_EQ(rain->FillAlpha(), 128);
  ASSERT_EQ(snow->FillAlpha(), 128);
  int w = 0;
  std::vector<uint8_t> f = Frame(0xFFFFFFFFu, [&] { rain->Draw({}); }, w);
  ASSERT_EQ(w, kLogicalWidth);
  for (auto [x, y] : kProbes) {
    const Px p = At(f, w, x, y);
    EXPECT_NEAR(p.r, 127, 3) << "rain at " << x << "," << y;
    EXPECT_NEAR(p.b, 127, 3);
  }
  f = Frame(0xFF000000u, [&] { snow->Draw({}); }, w);
  for (auto [x, y] : kProbes) EXPECT_NEAR(At(f, w, x, y).g, 128, 3) << "snow at " << x << "," << y;
  // A hidden shower draws nothing.
  snow->Set(Map::kFlagHidden, true);
  f = Frame(0xFF000000u, [&] { snow->Draw({}); }, w);
  EXPECT_LT(At(f, w, 512, 384).g, 3);
}

TEST(WeatherGl, ACausticAtHalfSizeCoversTheScreenToItsLastCorner) {
  if (!GlUp()) MM_SKIP_WITHOUT_GL("no OpenGL offscreen context");
  iniFreeAll();
  testSettingsLoad("none.ini");
  // A 64 x 64 tile, white in its left half and green in its right, drawn at half size: 32-pixel
  // tiles whose halves alternate every 16 pixels across the screen.
  sprtest::WritePng("wxgl/tile.png", 64, 64, [](int x, int) { return x < 32 ? 0xFFFFFFFFu : 0xFF00FF00u; });
  testkit::writeFile("wxgl_anims.xml",
                     "<Animations>\n<Animation id=\"wxgl_tile\" path=\"wxgl/tile.png\" period=\"1000\" "
                     "frames=\"1\" isLoop=\"1\"/>\n</Animations>\n");
  ASSERT_TRUE(Core::animManager().LoadAnimationCatalogue("wxgl_anims.xml"));
  {
    testkit::LevelHarness h;
    LoadLevel(h, "wxgl_caustic",
              "[Caustic]\ntype=fx\nsubType=caustic\nx=700\ny=500\nobjectScale=0.5\nalpha=255\n"
              "causticDir=0\ncausticPeriod=10000\nanim0=wxgl_tile\n");
    auto* c = dynamic_cast<Fx::cCaustic*>(h.map.FindByTag(NameHash("Caustic")));
    ASSERT_NE(c, nullptr);
    int w = 0;
    std::vector<uint8_t> f = Frame(0xFF000000u, [&] { c->Draw({}); }, w);
    ASSERT_EQ(w, kLogicalWidth);
    // Tile 0 is centred on the screen's corner: x 0..15 green (its right half), 16..31 white.
    const int probes[][2] = {{3, 3}, {520, 380}, {1020, 5}, {6, 764}, {1020, 764}, {700, 500}};
    for (auto [x, y] : probes) {
      const Px p = At(f, w, x, y);
      EXPECT_GT(p.g, 240) << "covered at " << x << "," << y;
      EXPECT_EQ(p.r > 240, (x % 32) >= 16) << "the tile's own half at " << x << "," << y;
    }
    // Scrolled by a quarter tile (8 pixels) to the left after 2500 ms.
    for (int i = 0; i < 100; ++i) h.Tick();
    f = Frame(0xFF000000u, [&] { c->Draw({}); }, w);
    for (int x : {2, 10, 500, 1013, 1021}) {
      const Px p = At(f, w, x, 760);
      EXPECT_GT(p.g, 240) << "covered at " << x;
      EXPECT_EQ(p.r > 240, ((x + 8) % 32) >= 16) << "moved left at " << x;
    }
  }
  Core::animManager().Clear();
}

// Pixels of each third of the screen, across and down, that stand out from the shower's own
// darkening of `back` by more than `by` in brightness.
void CountBright(const std::vector<uint8_t>& f, int w, int back, int by, int across[3], int down[3]) {
  for (int k = 0; k < 3; ++k) across[k] = down[k] = 0;
  for (int y = 0; y < kLogicalHeight; y += 2)
    for (int x = 0; x < w; x += 2) {
      const Px p = At(f, w, x, y);
      if ((p.r + p.g + p.b) / 3 > back + by) {
        ++across[std::min(2, x * 3 / w)];
        ++down[std::min(2, y * 3 / kLogicalHeight)];
      }
    }
}

TEST(WeatherGl, TheDemosRainAndSnowFallOverTheWholeMap) {
  if (!GlUp()) MM_SKIP_WITHOUT_GL("no OpenGL offscreen context");
  const std::filesystem::path home = std::filesystem::current_path();
  if (testkit::EnterDemoCopy("wxgl_demo").empty()) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  testSettingsLoad("none.ini");
  SeedRandom(7);
  ASSERT_TRUE(fxInit());
  {
    testkit::LevelHarness h;
    LoadLevel(h, "wxgl_demo_showers",
              "[Rain]\ntype=fx\nsubType=rain\nperiod=100000\ndarkOpacity=60\nstartPeriodMin=25\n"
              "startPeriodMax=25\n"
              "[Snow]\ntype=fx\nsubType=snow\nperiod=100000\ndarkOpacity=60\nstartPeriodMin=25\n"
              "startPeriodMax=25\n");
    auto* rain = dynamic_cast<Fx::cRain*>(h.map.FindByTag(NameHash("Rain")));
    auto* snow = dynamic_cast<Fx::cSnow*>(h.map.FindByTag(NameHash("Snow")));
    ASSERT_TRUE(rain && snow);
    for (int i = 0; i < 80; ++i) h.Tick();  // two seconds of rain
    int w = 0;
    const uint32_t back = 0xFF404040u;  // grey 64
    std::vector<uint8_t> f = Frame(back, [&] { rain->Draw({}); }, w);
    int across[3], down[3];
    // The darkness alone takes the grey below 64; the drops are paler than it.
    CountBright(f, w, 64, 10, across, down);
    for (int k = 0; k < 3; ++k) {
      EXPECT_GT(across[k], 150) << "rain in third " << k << " across";
      EXPECT_GT(down[k], 150) << "rain in third " << k << " down";
    }
    for (int i = 0; i < 560; ++i) h.Tick();  // 16 s: the first flakes have crossed the map
    f = Frame(back, [&] { snow->Draw({}); }, w);
    CountBright(f, w, 64 + snow->FillAlpha() * (255 - 64) / 255, 25, across, down);
    for (int k = 0; k < 3; ++k) {
      EXPECT_GT(across[k], 60) << "snow in third " << k << " across";
      EXPECT_GT(down[k], 60) << "snow in third " << k << " down";
    }
  }
  fxDone();
  std::filesystem::current_path(home);
  iniFreeAll();
}

}  // namespace
