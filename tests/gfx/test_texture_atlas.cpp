// Textures, the atlas and the renderer's batching on the null device: placement and cutting of
// pictures, shared named textures, draw-call counts, and calls that must draw nothing.
#include <gtest/gtest.h>

#include "support/null_renderer.h"

#include "gfx/render.h"
#include "gfx/render_device.h"
#include "gfx/texture.h"
#include "platform/platform.h"

namespace {

class NullRendererEnv : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(testkit::StartNullRenderer("null renderer")); }
  void TearDown() override { testkit::StopNullRenderer(); }
};
const auto* g_env = ::testing::AddGlobalTestEnvironment(new NullRendererEnv);

void ReleaseAll(std::vector<SpriteTile>& tiles) {
  for (auto& t : tiles) txReleaseTile(t);
  tiles.clear();
}

TEST(Atlas, SmallPictureLandsInsideItsBorderOnAFreshPage) {
  ASSERT_EQ(txPageSize(), 512);
  std::vector<SpriteTile> tiles;
  txPlaceInAtlas(grAlphaFormat(), 0, 0, 100, 60, 1, 1, tiles);
  ASSERT_EQ(tiles.size(), 1u);
  EXPECT_EQ(tiles[0].left, 1);
  EXPECT_EQ(tiles[0].top, 1);
  EXPECT_EQ(tiles[0].right, 101);
  EXPECT_EQ(tiles[0].bottom, 61);
  CBaseTexture* page = tiles[0].texture;
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->freeCells, 64 * 64 - 13 * 8) << "102 x 62 texels take 13 x 8 cells";
  // The next picture goes to the first free block to the right on the same page.
  std::vector<SpriteTile> more;
  txPlaceInAtlas(grAlphaFormat(), 0, 0, 10, 10, 1, 1, more);
  ASSERT_EQ(more.size(), 1u);
  EXPECT_EQ(more[0].texture, page);
  EXPECT_EQ(more[0].left, 13 * 8 + 1);
  EXPECT_EQ(more[0].top, 1);
  EXPECT_EQ(page->RefCount(), 2);
  const int before = txLibraryCount();
  ReleaseAll(tiles);
  EXPECT_EQ(page->freeCells, 64 * 64 - 2 * 2);
  ReleaseAll(more);
  EXPECT_EQ(txLibraryCount(), before - 1) << "an empty page leaves the library";
}

TEST(Atlas, LargePicturesAreCutIntoPageSizedPieces) {
  std::vector<SpriteTile> wide;
  txPlaceInAtlas(grColorFormat(), 0, 0, 1000, 300, 1, 1, wide);
  ASSERT_EQ(wide.size(), 2u);
  EXPECT_EQ(wide[0].right - wide[0].left, 510);
  EXPECT_EQ(wide[1].right - wide[1].left, 490);
  EXPECT_EQ(wide[1].x, 510);
  std::vector<SpriteTile> big;
  txPlaceInAtlas(grColorFormat(), 0, 0, 1020, 1020, 1, 1, big);
  ASSERT_EQ(big.size(), 4u);
  for (size_t i = 0; i < big.size(); ++i) {
    EXPECT_EQ(big[i].right - big[i].left, 510);
    for (size_t j = 0; j < i; ++j) EXPECT_NE(big[i].texture, big[j].texture) << "every full piece gets its own page";
    for (auto& w : wide) EXPECT_NE(big[i].texture, w.texture);
  }
  EXPECT_EQ(big[3].x, 510);
  EXPECT_EQ(big[3].y, 510);
  ReleaseAll(wide);
  ReleaseAll(big);
}

TEST(Atlas, PagesOfAnotherFormatAreNotShared) {
  std::vector<SpriteTile> a, b;
  txPlaceInAtlas(grAlphaFormat(), 0, 0, 16, 16, 1, 1, a);
  txPlaceInAtlas(grColorFormat(), 0, 0, 16, 16, 1, 1, b);
  ASSERT_EQ(a.size(), 1u);
  ASSERT_EQ(b.size(), 1u);
  EXPECT_NE(a[0].texture, b[0].texture);
  ReleaseAll(a);
  ReleaseAll(b);
}

TEST(Textures, NamedTexturesAreSharedAcrossCaseAndSlashes) {
  CRegularTexture* a = txGetOrCreate("Data/Sprites/Tree.TGA", 256, 128, grColorFormat(), false);
  ASSERT_NE(a, nullptr);
  CRegularTexture* b = txGetOrCreate("data\\sprites\\tree.tga", 256, 128, grColorFormat(), false);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a->RefCount(), 2);
  EXPECT_EQ(txFind("DATA/SPRITES/TREE.TGA", 0, 0, nullptr), a);
  EXPECT_EQ(txFind("data/sprites/tree.tga", 128, 128, grColorFormat()), nullptr) << "size must match";
  EXPECT_EQ(a->LoadedSize(), 0);
  a->MarkLoaded();
  EXPECT_EQ(a->LoadedSize(), 256 * 128 * 3);
  EXPECT_EQ(txGetOrCreate("odd.tga", 100, 128, grColorFormat(), false), nullptr) << "not a power of two";
  EXPECT_EQ(txGetOrCreate("huge.tga", 8192, 8192, grColorFormat(), false), nullptr) << "beyond the device";
  b->DropRef();
  a->DropRef();
  EXPECT_EQ(txFind("data/sprites/tree.tga", 0, 0, nullptr), nullptr);
}

TEST(Textures, LibraryReusesEmptiedSlots) {
  CRegularTexture* a = txGetOrCreate("a.tga", 4, 4, grColorFormat(), true);
  CRegularTexture* b = txGetOrCreate("b.tga", 4, 4, grColorFormat(), true);
  int ia = -1;
  for (int i = 0; i < txLibrarySize(); ++i)
    if (txLibraryAt(i) == a) ia = i;
  ASSERT_GE(ia, 0);
  a->DropRef();
  EXPECT_EQ(txLibraryAt(ia), nullptr);
  CRegularTexture* c = txGetOrCreate("c.tga", 4, 4, grColorFormat(), true);
  EXPECT_EQ(txLibraryAt(ia), c);
  b->DropRef();
  c->DropRef();
}

TEST(Renderer, SixHundredRectanglesTakeTwoDrawCalls) {
  grBeginScene();
  for (int i = 0; i < 600; ++i) grFillRect(i, 0, i + 1, 10, grColor(10, 20, 30));
  grFlip(nullptr, nullptr);  // counters are read back before the reset through a second frame
  grBeginScene();
  for (int i = 0; i < 600; ++i) grFillRect(i, 0, i + 1, 10, grColor(10, 20, 30));
  grSetClip(0, 0, 1024, 768);  // flushes
  EXPECT_EQ(grStatistic(kStatDrawPrimitive), 2);
  EXPECT_EQ(grStatistic(kStatVertices), 2400);
  EXPECT_EQ(grStatistic(kStatPolygons), 1200);
  // A different colour alpha changes the render mode, so it cannot join.
  grFillRect(0, 0, 1, 1, grColor(10, 20, 30, 128));
  grFillRect(0, 0, 1, 1, grColor(10, 20, 30));
  grSetClip(0, 0, 1024, 768);
  EXPECT_EQ(grStatistic(kStatDrawPrimitive), 4);
  grFlip(nullptr, nullptr);
  EXPECT_EQ(grStatistic(kStatDrawPrimitive), 0) << "reset at present";
}

TEST(Renderer, NothingIsDrawnOutsideAFrameOrBeyondTheLimits) {
  grFillRect(0, 0, 10, 10, grColor(255, 0, 0));
  grBeginScene();
  grSetClip(0, 0, 1024, 768);
  EXPECT_EQ(grStatistic(kStatDrawPrimitive), 0) << "the rectangle before the frame was dropped";
  std::vector<float> xy(2 * 2049, 1.f);
  grDrawMesh(grModeWord(1, 3, 1, 6, 5), 2049, xy.data(), nullptr, 0, nullptr);
  std::vector<uint16_t> idx(3 * 1025, 0);
  grDrawMesh(grModeWord(1, 3, 1, 6, 5), 2048, xy.data(), nullptr, 1025, idx.data());
  EXPECT_EQ(grStatistic(kStatDrawPrimitive), 0);
  grDrawMesh(grModeWord(1, 3, 1, 6, 5), 2048, xy.data(), nullptr, 1024, idx.data());
  EXPECT_EQ(grStatistic(kStatDrawPrimitive), 1) << "the largest allowed mesh draws";
  grFlip(nullptr, nullptr);
  grLine(0, 0, 5, 5, grColor(1, 2, 3));
  grBeginScene();
  grSetClip(0, 0, 1024, 768);
  EXPECT_EQ(grStatistic(kStatDrawPrimitive), 0) << "the line after the frame was dropped";
  grFlip(nullptr, nullptr);
}

TEST(Renderer, ClipIsClampedAndBackwardsRectanglesRefused) {
  grSetClip(10, 20, 300, 400);
  grSetClip(10, 10, 5, 20);
  int x1, y1, x2, y2;
  grGetClip(x1, y1, x2, y2);
  EXPECT_EQ(x1, 10);
  EXPECT_EQ(y1, 20);
  EXPECT_EQ(x2, 300);
  EXPECT_EQ(y2, 400);
  grSetClip(-50, -5, 5000, 900);
  grGetClip(x1, y1, x2, y2);
  EXPECT_EQ(x1, 0);
  EXPECT_EQ(y1, 0);
  EXPECT_EQ(x2, 1024);
  EXPECT_EQ(y2, 768);
}

TEST(Renderer, RepeatedInitAfterAFrameChangesNothing) {
  grBeginScene();
  grFlip(nullptr, nullptr);
  CRegularTexture* t = txGetOrCreate("keep.tga", 4, 4, grColorFormat(), true);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(grInit(kLogicalWidth, kLogicalHeight, 32, false), 0);
  EXPECT_TRUE(t->HasDevice()) << "the device was not rebuilt";
  EXPECT_EQ(grScreenToLogicalX(100), 100);
  t->DropRef();
}

}  // namespace
