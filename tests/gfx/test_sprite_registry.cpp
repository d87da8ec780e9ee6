// Sprite registry, sprite library and device loss on the null renderer: sharing by name, alpha
// pictures as part of the key, library and quality entries, reloads, and bad input.
#include <gtest/gtest.h>

#include "gfx/font.h"
#include "test_sprite_util.h"

namespace {

using sprtest::Base;
using sprtest::TexelAt;

class SpriteRegistry : public ::testing::Test {
 protected:
  void SetUp() override { sprtest::EnsureRenderer(); }
};

int LiveSprites() {
  int n = 0;
  for (int i = 0; i < sprRegistrySize(); ++i) n += sprRegistryAt(i) != nullptr;
  return n;
}

TEST_F(SpriteRegistry, OneSpritePerFileInAnyCaseUntilTheLastRelease) {
  sprtest::WritePng("reg/one.png", 16, 8, [](int, int) { return 0xFF102030u; });
  const int before = LiveSprites();
  CSprite* a = sprGet("reg/one.png");
  CSprite* b = sprGet("REG\\One.PNG");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(sprRefCount(a), 2);
  EXPECT_EQ(sprWidth(a), 16);
  EXPECT_EQ(sprHeight(a), 8);
  EXPECT_EQ(LiveSprites(), before + 1);
  sprRelease(b);
  EXPECT_EQ(sprFind("reg/one.png"), Base(a)) << "still held once";
  sprRelease(a);
  EXPECT_EQ(sprFind("reg/one.png"), nullptr);
  EXPECT_EQ(LiveSprites(), before);
  // The freed slot is the next one filled.
  int freed = -1;
  CSprite* c = sprGet("reg/one.png");
  for (int i = 0; i < sprRegistrySize(); ++i)
    if (sprRegistryAt(i) == Base(c)) freed = i;
  sprRelease(c);
  sprtest::WritePng("reg/two.png", 4, 4, [](int, int) { return 0xFFFFFFFFu; });
  CSprite* d = sprGet("reg/two.png");
  EXPECT_EQ(sprRegistryAt(freed), Base(d));
  sprRelease(d);
}

TEST_F(SpriteRegistry, AnotherAlphaPictureIsAnotherSpriteWithItsOwnTexels) {
  sprtest::WritePng24("alpha/pic.png", 16, 16, [](int, int) { return 0xFF808080u; });
  sprtest::WriteTga24("alpha/_pic.tga", 16, 16, [](int, int) { return 0xFF000040u; });
  sprtest::WriteTga24("alpha/mask.tga", 16, 16, [](int, int) { return 0xFF0000C0u; });
  CSprite* own = sprGet("alpha/pic.png");
  CSprite* masked = sprGet("alpha/pic.png", "alpha/mask.tga");
  ASSERT_NE(own, nullptr);
  ASSERT_NE(masked, nullptr);
  EXPECT_NE(own, masked);
  EXPECT_EQ(sprGet("alpha/PIC.png", "ALPHA/mask.tga"), masked) << "same pair, same sprite";
  sprRelease(masked);
  // A 24-bit picture next to "_" + its name as TGA takes its alpha from there (the blue channel).
  EXPECT_EQ(TexelAt(own, 0, 3, 3) >> 24, 0x40u);
  EXPECT_EQ(TexelAt(masked, 0, 3, 3) >> 24, 0xC0u) << "the texels of the other alpha picture are not shared";
  EXPECT_EQ(TexelAt(own, 0, 3, 3) & 0xFFFFFF, 0x808080u);
  sprRelease(own);
  sprRelease(masked);
}

TEST_F(SpriteRegistry, AlphaPictureOfAnotherSizeIsIgnoredWithOneLine) {
  sprtest::WritePng24("alpha/odd.png", 16, 16, [](int, int) { return 0xFF808080u; });
  sprtest::WriteTga24("alpha/_odd.tga", 8, 16, [](int, int) { return 0xFF000040u; });
  imgtest::ErrorCapture log;
  CSprite* s = sprGet("alpha/odd.png");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(TexelAt(s, 0, 3, 3) >> 24, 0xFFu) << "no alpha picture: opaque";
  const std::string text = log.Text();
  EXPECT_NE(text.find("size of texture != size of alpha"), std::string::npos) << text;
  EXPECT_EQ(log.LinesNaming("alpha/odd.png"), 1);
  sprRelease(s);
}

TEST_F(SpriteRegistry, PictureIsFoundUnderTheOtherExtensions) {
  sprtest::WriteTga24("ext/only.tga", 8, 8, [](int, int) { return 0xFF00FF00u; });
  CSprite* s = sprGet("ext/only.png");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(TexelAt(s, 0, 0, 0), 0xFF00FF00u);
  sprRelease(s);
}

TEST_F(SpriteRegistry, BadNamesGiveNoSpriteAndOneLineNamingTheFile) {
  const int before = LiveSprites();
  imgtest::ErrorCapture log;
  EXPECT_EQ(sprGet(nullptr), nullptr);
  EXPECT_EQ(sprGet(""), nullptr);
  EXPECT_EQ(sprGet("nowhere/missing.png"), nullptr);
  EXPECT_EQ(log.LinesNaming("nowhere/missing.png"), 1);
  // A damaged picture: the reader names it once.
  sprtest::WriteText("bad/broken.png", "not a png at all");
  imgtest::ErrorCapture log2;
  EXPECT_EQ(sprGet("bad/broken.png"), nullptr);
  EXPECT_EQ(log2.LinesNaming("bad/broken.png"), 1);
  EXPECT_EQ(LiveSprites(), before);
  // Calls on no sprite do nothing.
  sprRelease(nullptr);
  sprAddRef(nullptr);
  EXPECT_EQ(sprWidth(nullptr), 0);
  EXPECT_EQ(sprAnimationSteps(nullptr), 0);
}

TEST_F(SpriteRegistry, LibraryEntriesQualityEntriesAndRelease) {
  sprtest::WritePng("lib/coin.png", 16, 64, [](int, int y) { return 0xFF000000u | uint32_t(y / 16 * 60); });
  sprtest::WritePng("lib/plain.png", 8, 8, [](int, int) { return 0xFFFFFFFFu; });
  sprtest::WritePng("lib/small.png", 32, 16, [](int, int) { return 0xFFFFFFFFu; });
  sprtest::WriteText("lib/small.fh", "32 16 1\n65 0 0 0 8 1\n");
  sprtest::WriteText("lib/fonts.ini",
                     "[lib/plain.png]\nfont=2\nquality=7\n"
                     "[Coin]\nname=lib/coin.png\nlength=4\ntime=8\nquality=3\n"
                     "[Small]\nname=lib/small.png\nfont=1\n"
                     "[Gone]\nname=lib/gone.png\n"
                     "[Nameless]\nquality=1\n");
  sprClearQualities();
  imgtest::ErrorCapture log;
  sprLoadLibrary("lib/fonts.ini");
  EXPECT_EQ(log.LinesNaming("lib/gone.png"), 1);
  EXPECT_EQ(log.LinesNaming("Nameless"), 1);
  CSprite* coin = sprGet("COIN");
  ASSERT_NE(coin, nullptr) << "a library entry is found by its section name, any case";
  EXPECT_EQ(Base(coin), sprFind("Coin"));
  EXPECT_EQ(sprRefCount(coin), 2);
  EXPECT_EQ(Base(coin)->quality, 3);
  EXPECT_EQ(sprAnimationSteps(coin), 8);
  EXPECT_EQ(Base(coin)->Rows(), 4);
  EXPECT_EQ(sprHeight(coin), 16);
  EXPECT_EQ(TexelAt(coin, 2, 0, 0), 0xFF000078u);
  CSprite* byFile = sprGet("lib/coin.png");
  ASSERT_NE(byFile, nullptr);
  EXPECT_NE(byFile, coin) << "by file name it is another sprite";
  EXPECT_EQ(sprHeight(byFile), 64) << "with no frames of its own";
  sprRelease(byFile);
  // The quality entry applies to the sprite of that name when it loads.
  CSprite* plain = sprGet("lib/plain.png");
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(Base(plain)->quality, 7);
  sprRelease(plain);
  EXPECT_NE(dynamic_cast<CGraphFont*>(sprFind("small")), nullptr) << "font = 1 makes a bitmap font";
  EXPECT_NE(sprFind("Gone"), nullptr) << "an entry stays registered even when its picture is missing";
  sprReleaseLibrary("lib/fonts.ini");
  EXPECT_EQ(sprFind("Small"), nullptr);
  EXPECT_EQ(sprFind("Gone"), nullptr);
  EXPECT_EQ(sprFind("Coin"), Base(coin)) << "still held by the test";
  EXPECT_EQ(sprRefCount(coin), 1);
  sprRelease(coin);
  EXPECT_EQ(sprFind("Coin"), nullptr);
  sprClearQualities();
  sprLoadLibrary("lib/none.ini");  // missing library: a line, nothing else
}

TEST_F(SpriteRegistry, DeviceLossDropsTilesAndReloadRebuildsFrames) {
  sprtest::WritePng("loss/anim.png", 100, 90, [](int, int y) { return 0xFF000000u | uint32_t(y / 30 * 80) << 8; });
  CSprite* s = sprGet("loss/anim.png");
  ASSERT_NE(s, nullptr);
  sprSetAnimation(s, 3, 3);
  ASSERT_EQ(Base(s)->Rows(), 3);
  const int pagesBefore = txLibraryCount();
  sprReleaseAllTextures();
  EXPECT_FALSE(Base(s)->loaded);
  EXPECT_EQ(Base(s)->Rows(), 0);
  EXPECT_LT(txLibraryCount(), pagesBefore) << "the atlas page it held alone is gone";
  sprReloadAll();
  ASSERT_TRUE(Base(s)->loaded);
  EXPECT_EQ(Base(s)->Rows(), 3) << "frames are cut again";
  EXPECT_EQ(sprHeight(s), 30);
  EXPECT_EQ(TexelAt(s, 2, 50, 29), 0xFF00A000u);
  // A picture that has gone away meanwhile: the reload fails quietly, drawing shows nothing.
  CSprite* lost = sprGet("loss/anim.png", "loss/nomask.tga");
  ASSERT_NE(lost, nullptr);
  std::filesystem::rename("loss/anim.png", "loss/anim.bak");
  sprReleaseAllTextures();
  sprReloadAll();
  EXPECT_FALSE(Base(lost)->loaded);
  std::vector<SpriteQuad> quads;
  EXPECT_FALSE(sprBuildQuads(Base(lost), 0, 0, 10, 10, 0, 0, 10, 10, nullptr, nullptr, 0, quads));
  std::filesystem::rename("loss/anim.bak", "loss/anim.png");
  sprRelease(lost);
  sprRelease(s);
}

TEST_F(SpriteRegistry, BlankSpriteHasOneEmptyTile) {
  CSprite* s = sprCreateBlank(32, 16);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(sprWidth(s), 32);
  EXPECT_EQ(sprHeight(s), 16);
  ASSERT_NE(sprSingleTile(s), nullptr);
  EXPECT_EQ(sprSingleTile(s)->texture, nullptr);
  EXPECT_EQ(sprSingleTile(s)->right, 32);
  std::vector<SpriteQuad> quads;
  EXPECT_TRUE(sprBuildQuads(Base(s), 0, 0, 32, 16, 0, 0, 32, 16, nullptr, nullptr, 0, quads));
  EXPECT_TRUE(quads.empty()) << "an empty tile draws nothing";
  // Filled by its owner: the tile holds the texture until the sprite goes.
  CRegularTexture* t = txGetOrCreate("blank:texels", 64, 64, grAlphaFormat(), true);
  ASSERT_NE(t, nullptr);
  Base(s)->SetBlankTexture(t, 32, 16);
  EXPECT_EQ(t->RefCount(), 2);
  ASSERT_TRUE(sprBuildQuads(Base(s), 0, 0, 32, 16, 0, 0, 32, 16, nullptr, nullptr, 0, quads));
  ASSERT_EQ(quads.size(), 1u);
  EXPECT_EQ(quads[0].texture, t);
  EXPECT_FLOAT_EQ(quads[0].v[0].u, 0.5f);
  EXPECT_FLOAT_EQ(quads[0].v[3].v, 0.5f);
  sprRelease(s);
  EXPECT_EQ(t->RefCount(), 1);
  t->DropRef();
  EXPECT_EQ(sprCreateBlank(0, 5), nullptr);
}

}  // namespace
