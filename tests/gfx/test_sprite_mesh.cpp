// Meshes textured with sprites of several tiles, without a screen: triangles cut at the tile edges
// with positions, texels and colours carried along the cut, parts outside the picture left out,
// and bad meshes refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gfx/sprite_mesh.h"
#include "test_sprite_util.h"

namespace {

using sprtest::Base;

class SpriteMesh : public ::testing::Test {
 protected:
  void SetUp() override { sprtest::EnsureRenderer(); }
  std::vector<SpriteMeshPiece> pieces;
};

// Twice the area of a triangle list.
double area2(const std::vector<GpuVertex>& v) {
  double sum = 0;
  for (size_t i = 0; i + 2 < v.size(); i += 3)
    sum += std::fabs(double(v[i + 1].x - v[i].x) * (v[i + 2].y - v[i].y) - double(v[i + 2].x - v[i].x) * (v[i + 1].y - v[i].y));
  return sum;
}

// One quad: screen (x0, y0)-(x1, y1) showing picture (u0, v0)-(u1, v1); left corners `left`,
// right corners `right`.
struct Quad {
  float xy[8], uv[8];
  uint32_t colours[4];
  uint16_t indices[6] = {0, 1, 2, 1, 3, 2};
  Quad(float x0, float y0, float x1, float y1, float u0, float v0, float u1, float v1, uint32_t left, uint32_t right)
      : xy{x0, y0, x1, y0, x0, y1, x1, y1}, uv{u0, v0, u1, v0, u0, v1, u1, v1}, colours{left, right, left, right} {}
};

TEST_F(SpriteMesh, AQuadAcrossTwoTilesIsCutAtTheirEdge) {
  sprtest::WritePng("mesh/wide.png", 600, 40, [](int, int) { return 0xFF808080u; });
  CBaseSprite* s = Base(sprGet("mesh/wide.png"));
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->frames[0].size(), 2u) << "atlas pieces of 510 and 90 columns";
  const SpriteTile& t0 = s->frames[0][0];
  const SpriteTile& t1 = s->frames[0][1];
  ASSERT_EQ(t1.x, 510);
  // The whole picture at twice its size, red on the left edge, blue on the right.
  Quad q(0, 0, 1200, 80, 0, 0, 600, 40, 0xFFFF0000u, 0xFF0000FFu);
  ASSERT_TRUE(sprBuildMesh(s, 0, 4, q.xy, q.colours, q.uv, 2, q.indices, pieces));
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0].texture, t0.texture);
  EXPECT_EQ(pieces[1].texture, t1.texture);
  EXPECT_NEAR(area2(pieces[0].v), 2.0 * 1020 * 80, 0.5);
  EXPECT_NEAR(area2(pieces[1].v), 2.0 * 180 * 80, 0.5);
  for (const GpuVertex& v : pieces[0].v) {
    EXPECT_LE(v.x, 1020.0f);
    // Screen x 2u shows texel left + u of the first tile.
    EXPECT_NEAR(v.u * t0.texture->width, t0.left + v.x / 2, 1e-3);
    EXPECT_NEAR(v.v * t0.texture->height, t0.top + v.y / 2, 1e-3);
  }
  bool cutSeen = false;
  for (const GpuVertex& v : pieces[1].v) {
    EXPECT_GE(v.x, 1020.0f);
    EXPECT_NEAR(v.u * t1.texture->width, t1.left + (v.x / 2 - 510), 1e-3);
    if (v.x == 1020.0f) {
      // 510 of 600 along: red 255 x 90 / 600 = 38.25, blue 255 x 510 / 600 = 216.75.
      EXPECT_EQ(v.diffuse, 0xFF2600D9u) << std::hex << v.diffuse;
      cutSeen = true;
    }
  }
  EXPECT_TRUE(cutSeen);
  sprRelease(s);
}

TEST_F(SpriteMesh, PartsOutsideThePictureAreLeftOutAndBadMeshesRefused) {
  sprtest::WritePng("mesh/sq.png", 32, 32, [](int, int) { return 0xFFFFFFFFu; });
  CBaseSprite* s = Base(sprGet("mesh/sq.png"));
  ASSERT_NE(s, nullptr);
  // Picture columns 16 .. 48 of a 32-wide picture: only the left half shows.
  Quad half(100, 100, 132, 132, 16, 0, 48, 32, 0xFFFFFFFFu, 0xFFFFFFFFu);
  ASSERT_TRUE(sprBuildMesh(s, 0, 4, half.xy, half.colours, half.uv, 2, half.indices, pieces));
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_NEAR(area2(pieces[0].v), 2.0 * 16 * 32, 1e-3);
  for (const GpuVertex& v : pieces[0].v) EXPECT_LE(v.x, 116.0f);
  Quad outside(0, 0, 10, 10, 40, 40, 50, 50, 0xFFFFFFFFu, 0xFFFFFFFFu);
  ASSERT_TRUE(sprBuildMesh(s, 0, 4, outside.xy, outside.colours, outside.uv, 2, outside.indices, pieces));
  EXPECT_TRUE(pieces.empty());
  // An index past the vertices, too few vertices, no sprite, a position that is not a number.
  Quad bad(0, 0, 10, 10, 0, 0, 10, 10, 0xFFFFFFFFu, 0xFFFFFFFFu);
  bad.indices[5] = 4;
  EXPECT_FALSE(sprBuildMesh(s, 0, 4, bad.xy, bad.colours, bad.uv, 2, bad.indices, pieces));
  EXPECT_TRUE(pieces.empty());
  Quad ok(0, 0, 10, 10, 0, 0, 10, 10, 0xFFFFFFFFu, 0xFFFFFFFFu);
  EXPECT_FALSE(sprBuildMesh(s, 0, 2, ok.xy, ok.colours, ok.uv, 2, ok.indices, pieces));
  EXPECT_FALSE(sprBuildMesh(nullptr, 0, 4, ok.xy, ok.colours, ok.uv, 2, ok.indices, pieces));
  ok.xy[3] = std::nanf("");
  EXPECT_FALSE(sprBuildMesh(s, 0, 4, ok.xy, ok.colours, ok.uv, 2, ok.indices, pieces));
  sprRelease(s);
}

TEST_F(SpriteMesh, ATriangleOverACornerOfFourTilesKeepsItsArea) {
  // 600 x 600: atlas pieces of 510 and 90 in both directions, meeting at (510, 510).
  sprtest::WritePng("mesh/big.png", 600, 600, [](int, int) { return 0xFF808080u; });
  CBaseSprite* s = Base(sprGet("mesh/big.png"));
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->frames[0].size(), 4u);
  const float xy[6] = {300, 300, 700, 300, 300, 700};
  const float uv[6] = {300, 300, 700, 300, 300, 700};  // 1:1, the hypotenuse leaves the picture
  const uint16_t idx[3] = {0, 1, 2};
  ASSERT_TRUE(sprBuildMesh(s, 0, 3, xy, nullptr, uv, 1, idx, pieces));
  // The lower right tile starts at x + y = 1020, beyond the hypotenuse: it gets nothing although
  // the triangle's bounding box overlaps it.
  ASSERT_EQ(pieces.size(), 3u);
  // Per tile, twice the area of the triangle's part in it (x + y <= 1000 inside the picture):
  // upper left [300, 510]^2 less the corner past the hypotenuse (legs of 20): 44100 - 200; upper
  // right, x 510..600 and y 300..(1000 - x): the integral of 700 - x, 13050; lower left the same.
  double upperLeft = 0, upperRight = 0, lowerLeft = 0;
  for (const SpriteMeshPiece& p : pieces) {
    ASSERT_FALSE(p.v.empty());
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (const GpuVertex& v : p.v) {
      EXPECT_EQ(v.diffuse, 0xFFFFFFFFu);
      EXPECT_LE(v.x + v.y, 1000.0f + 1e-2f);
      x0 = std::min(x0, v.x), x1 = std::max(x1, v.x), y0 = std::min(y0, v.y), y1 = std::max(y1, v.y);
    }
    const bool right = x0 >= 510.0f - 1e-3f, low = y0 >= 510.0f - 1e-3f;
    EXPECT_TRUE(right || x1 <= 510.0f + 1e-3f) << "a piece stays inside its tile's columns";
    EXPECT_TRUE(low || y1 <= 510.0f + 1e-3f) << "and rows";
    EXPECT_LE(x1, 600.0f + 1e-3f);
    EXPECT_LE(y1, 600.0f + 1e-3f);
    EXPECT_FALSE(right && low);
    (right ? upperRight : low ? lowerLeft : upperLeft) += area2(p.v);
  }
  EXPECT_NEAR(upperLeft, 2.0 * 43900, 1.0);
  EXPECT_NEAR(upperRight, 2.0 * 13050, 1.0);
  EXPECT_NEAR(lowerLeft, 2.0 * 13050, 1.0);
  sprRelease(s);
}

}  // namespace
