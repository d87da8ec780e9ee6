// The fog of war through real OpenGL: the grey background, a picture of several tiles, laid 1:1
// over the map and shaded by the vertex opacities (clear, full and the shade between), and the
// white veil drawn without a background; a mesh across tile edges shows no seam; and a fogged
// level drawn from its own files: the grey background with its alpha under the veil, the area
// opened at the start clear, and nothing left once the last area has opened and the fog faded.
#include <gtest/gtest.h>

#include "gl_frame_test.h"
#include "support/gl_required.h"

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/fog.h"
#include "game/core/game_main.h"
#include "game/core/level_context.h"
#include "game/core/map_tail.h"
#include "game/objects/building.h"
#include "support/game_harness.h"
#include "support/gl_pixels.h"
#include "gfx/sprite_mesh.h"
#include "gfx/test_sprite_util.h"

namespace {

class FogGl : public rendertest::GlFrameTest {
 protected:
  void SetUp() override {
    GlFrameTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    grFillRect(0, 0, 1024, 768, 0xFF000000u);
  }
  void Expect(int x, int y, int grey, const char* what, int tol = 3) const {
    const testkit::Px p = At(x, y);
    EXPECT_NEAR(p.r, grey, tol) << what << " at " << x << "," << y;
    EXPECT_NEAR(p.g, grey, tol) << what << " at " << x << "," << y;
    EXPECT_NEAR(p.b, grey, tol) << what << " at " << x << "," << y;
  }
};

// Clear left of column 52 (x = 520), full fog from there on.
MapFog halfFog() {
  MapFog f;
  for (int r = 0; r < kFogRows; ++r)
    for (int c = 0; c < kFogColumns; ++c) f.alpha[r][c][0] = f.alpha[r][c][1] = c >= 52 ? 1.0f : 0.0f;
  return f;
}

TEST_F(FogGl, TheGreyBackgroundShowsWhereTheFogIsAndShadesBetween) {
  sprtest::WritePng("foggl/backgray.png", 1024, 768, [](int, int) { return 0xFFC8C8C8u; });
  Map::cFog fog;
  const MapFog opacities = halfFog();
  fog.LoadLevelFog("foggl/backgray.png", "", &opacities);
  ASSERT_TRUE(fog.HasBackground());
  fog.Draw(Map::DrawContext{});
  Read();
  Expect(200, 300, 0, "clear: the map shows");
  Expect(505, 300, 0, "still clear left of column 51");
  Expect(800, 300, 200, "full fog: the grey background");
  Expect(1000, 740, 200, "full fog far right and low, in another tile");
  // Pixel 515 has its centre 5.5 of 10 pixels from the clear vertex: 200 x 0.55 = 110.
  Expect(515, 300, 110, "between a clear and a fogged vertex", 8);
}

TEST_F(FogGl, WithoutABackgroundTheFogIsAPlainVeil) {
  Map::cFog fog;
  const MapFog opacities = halfFog();
  fog.LoadLevelFog("", "", &opacities);
  ASSERT_FALSE(fog.HasBackground());
  fog.Draw(Map::DrawContext{});
  Read();
  Expect(200, 300, 0, "clear");
  Expect(800, 300, 255, "white veil");
}

TEST_F(FogGl, AMeshAcrossTileEdgesShowsEveryStripeOfThePicture) {
  // Stripes 100 pixels wide, each its own grey, over 1000 x 600: pieces meet at 510 both ways.
  sprtest::WritePng("foggl/stripes.png", 1000, 600, [](int x, int) {
    const uint32_t g = uint32_t(20 + 20 * (x / 100));
    return 0xFF000000u | g << 16 | g << 8 | g;
  });
  CSprite* s = sprGet("foggl/stripes.png");
  ASSERT_NE(s, nullptr);
  const float xy[8] = {0, 0, 1000, 0, 0, 600, 1000, 600};
  const float uv[8] = {0, 0, 1000, 0, 0, 600, 1000, 600};
  const uint16_t idx[6] = {0, 1, 2, 1, 3, 2};
  grDrawSpriteMesh(kModeTextureAlpha, 15, s, 0, 4, xy, nullptr, uv, 2, idx);
  Read();
  for (int k = 0; k < 10; ++k) {
    Expect(100 * k + 50, 300, 20 + 20 * k, "stripe");
    Expect(100 * k + 50, 560, 20 + 20 * k, "stripe, lower tile row");
  }
  Expect(505, 520, 120, "left of the tile edge");
  Expect(515, 520, 120, "right of the tile edge");
  sprRelease(s);
}


// The map of a level as the game draws it, over a green meadow.
std::vector<uint8_t> LevelFrame(Map::cMap& map, int& w) {
  grBeginScene();
  grFillRect(0, 0, kLogicalWidth, kLogicalHeight, 0xFF00A000u);
  map.DrawAll(Map::DrawContext{});
  std::vector<uint8_t> f;
  int h = 0;
  EXPECT_TRUE(grReadFrame(f, w, h));
  grFlip(nullptr, nullptr);
  return f;
}

void ExpectRgb(const std::vector<uint8_t>& f, int w, int x, int y, int r, int g, int b, const char* what) {
  const testkit::Px p = testkit::At(f, w, x, y);
  EXPECT_NEAR(p.r, r, 4) << what << " at " << x << "," << y;
  EXPECT_NEAR(p.g, g, 4) << what << " at " << x << "," << y;
  EXPECT_NEAR(p.b, b, 4) << what << " at " << x << "," << y;
}

TEST(FogLevelGl, AFoggedLevelShowsItsGreyCopyOpensItsAreasAndFadesAway) {
  if (!testkit::GlUp()) MM_SKIP_WITHOUT_GL("no OpenGL offscreen context");
  iniFreeAll();
  testSettingsLoad("none.ini");
  // The grey copy: grey 200, half transparent over the top 200 rows by its alpha picture.
  sprtest::WritePng24("data/maps/171/backgray.png", 1024, 768, [](int, int) { return 0xFFC8C8C8u; });
  sprtest::WritePng24("data/maps/171/_backgray.png", 1024, 768,
                      [](int, int y) { return y < 200 ? 0xFF808080u : 0xFFFFFFFFu; });
  testkit::LevelFiles files;
  files.balance = "[Main]\ntLevelTime=600000\nMinuteTime=60000\nbIsFog=1\n";
  // A stone whose area opens as the level starts, and a site whose area waits for its building.
  files.map = "[Stone]\ntype=stone\nx=300\ny=450\nisFogArea=1\nfogAreaRadius=150\n"
              "[Site]\ntype=building\nsubType=Cottage\nx=800\ny=450\nstate=1\nisFogArea=1\nfogAreaRadius=250\n";
  std::string error;
  ASSERT_TRUE(testkit::WriteTestLevel(171, files, &error)) << error;
  testkit::GameHarness h;
  ASSERT_TRUE(h.Load(171));
  // A worker lets the level's clock run.
  ASSERT_TRUE(h.workers().CreatePerson({100, 400}, "Worker", -1));
  Map::cFog* fog = Map::levelFog();
  ASSERT_NE(fog, nullptr);
  ASSERT_TRUE(fog->HasBackground());
  int w = 0;
  std::vector<uint8_t> f = LevelFrame(h.map(), w);
  ASSERT_EQ(w, kLogicalWidth);
  ExpectRgb(f, w, 300, 450, 0, 160, 0, "the stone's area, opened at the start");
  ExpectRgb(f, w, 800, 450, 200, 200, 200, "under full fog the grey copy covers the meadow");
  ExpectRgb(f, w, 40, 700, 200, 200, 200, "full fog far from both areas");
  // 200 x 128 / 255 over the meadow's green x 127 / 255.
  ExpectRgb(f, w, 800, 100, 100, 180, 100, "where the grey copy is half transparent");
  // The site is built: the last area opens, and then the rest of the fog fades away.
  auto* site = dynamic_cast<Map::cBuilding*>(h.map().FindByTag(NameHash("Site")));
  ASSERT_NE(site, nullptr);
  site->OnBuilt(false);
  f = LevelFrame(h.map(), w);
  ExpectRgb(f, w, 805, 540, 0, 160, 0, "the site's area, below the building");
  ExpectRgb(f, w, 40, 700, 200, 200, 200, "not faded yet");
  h.Advance(10);
  EXPECT_TRUE(fog->Fading());
  f = LevelFrame(h.map(), w);
  const testkit::Px thinning = testkit::At(f, w, 40, 700);
  EXPECT_GT(thinning.g, 165) << "fading: the meadow shows through";
  EXPECT_LT(thinning.r, 195);
  h.Advance(200);
  f = LevelFrame(h.map(), w);
  for (int y = 20; y < 768; y += 150)
    for (int x = 20; x < 1024; x += 200) ExpectRgb(f, w, x, y, 0, 160, 0, "gone");
}

}  // namespace
