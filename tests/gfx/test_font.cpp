// Bitmap fonts: glyph files read leniently into a table that holds the Cyrillic aliases, headers
// that give no height, advances and widths, and the layout of aligned, scaled, styled text.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

#include "gfx/font.h"
#include "test_sprite_util.h"

namespace {

// A font that is only its glyph table, with a picture of the given height.
std::unique_ptr<CGraphFont> Table(const std::string& text, int pictureHeight = 20) {
  auto f = std::make_unique<CGraphFont>("t.png", "");
  f->ParseGlyphs(text.data(), text.size(), "t.fh");
  f->pictureHeight = int16_t(pictureHeight);
  f->UpdateVariants();
  return f;
}

TEST(FontGlyphs, LinesWithThreeOrFewerFloatsAndGlyphsOutsideThePicture) {
  auto f = Table("256 20 4\n65 0 0 1.5 10.4 2\n66 10 0 12\n67 250 0 0 10 0\n68 240 0 0 16 0\n");
  EXPECT_EQ(f->lineHeight, 20);
  EXPECT_EQ(f->glyphLines, 4);
  EXPECT_EQ(f->spaceAdvance, 10);
  EXPECT_EQ(f->glyphs[65].width, 10);
  EXPECT_FLOAT_EQ(f->glyphs[65].before, 1.5f);
  EXPECT_FLOAT_EQ(f->glyphs[65].after, 2);
  EXPECT_FLOAT_EQ(f->Advance('A'), 13.5f);
  EXPECT_EQ(f->glyphs[66].width, 12) << "one float is the width";
  EXPECT_FLOAT_EQ(f->glyphs[66].before, 0);
  EXPECT_EQ(f->glyphPositions[66].first, 10);
  EXPECT_TRUE(f->glyphs[67].Empty()) << "250 + 10 > 256: cleared";
  EXPECT_EQ(f->glyphPositions[67].first, 0);
  EXPECT_EQ(f->glyphs[68].width, 16) << "240 + 16 = 256 still fits";
}

TEST(FontGlyphs, NumbersAreReadLeniently) {
  auto f = Table("limit=256; height=20 (lines: 2)\r\n\r\n[65] x:0 y:0 -> {-1.5, 10, 2}\r\nglyph 66, 12, 0, 7\r\n");
  EXPECT_EQ(f->lineHeight, 20);
  EXPECT_FLOAT_EQ(f->glyphs[65].before, -1.5f);
  EXPECT_EQ(f->glyphs[65].width, 10);
  EXPECT_EQ(f->glyphs[66].width, 7);
  EXPECT_EQ(f->glyphPositions[66].first, 12);
}

TEST(FontGlyphs, TableHoldsTheCyrillicAliasesOfTheHighestCodes) {
  // The highest code written is 255, yet its alias lives at 1103: the table must reach it.
  auto f = Table("512 16 3\n255 0 0 0 9 1\n198 20 0 0 11 1\n168 40 0 0 8 0\n");
  EXPECT_EQ(f->glyphCount, 1104);
  EXPECT_TRUE(f->HasGlyph(1103)) << "я";
  EXPECT_EQ(f->glyphs[0x416].width, 11) << "Ж answers for code 198";
  EXPECT_EQ(f->glyphPositions[0x416].first, 20);
  EXPECT_EQ(f->glyphs[1025].width, 8) << "Ё answers for code 168";
  EXPECT_FALSE(f->HasGlyph(1104));
  EXPECT_FLOAT_EQ(f->Advance(1104), 0) << "codes beyond the table advance nothing";
  EXPECT_FLOAT_EQ(f->Advance(60000), 0);
  // A later line for the Unicode code itself wins over the alias.
  auto g = Table("512 16 2\n192 0 0 0 9 0\n1040 30 0 0 5 0\n");
  EXPECT_EQ(g->glyphs[1040].width, 5);
  EXPECT_EQ(g->glyphCount, 1041);
}

TEST(FontGlyphs, CodesOutsideTheTableAndShortFilesAreRefusedWithOneLine) {
  imgtest::ErrorCapture log;
  auto f = Table("128 10 5\n70000 0 0 5\n-3 0 0 5\n66 0\n65 0 0 5\n");
  EXPECT_EQ(f->glyphCount, 66) << "only code 65 stored";
  EXPECT_EQ(f->glyphs[65].width, 5);
  EXPECT_EQ(log.LinesNaming("t.fh"), 1);
  imgtest::ErrorCapture log2;
  auto g = Table("no numbers here");
  EXPECT_EQ(g->glyphCount, 0);
  EXPECT_FLOAT_EQ(g->Advance('A'), 0);
  EXPECT_EQ(log2.LinesNaming("t.fh"), 1);
}

TEST(FontGlyphs, ZeroHeaderDividesNothing) {
  auto f = Table("0 0 0\n", 64);
  EXPECT_EQ(f->lineHeight, 0);
  EXPECT_EQ(f->variants, 1);
  EXPECT_EQ(f->spaceAdvance, 0);
  std::vector<GlyphPlacement> out;
  EXPECT_TRUE(fontLayout(f.get(), 1, 1, 10, 10, u"A b", 3, 0, 0, out));
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(fontTextWidth(f.get(), u"A b"), 0);
  // A picture far shorter than a line still has one variant.
  auto g = Table("100 40 1\n65 0 0 5\n", 10);
  EXPECT_EQ(g->variants, 1);
  // Variants = picture height / (line height + largest glyph y), to the nearest integer.
  auto h = Table("100 20 2\n65 0 0 5\n66 0 4 5\n", 70);
  EXPECT_EQ(h->variants, 3) << "70 / 24 = 2.9";
}

class FontLayout : public ::testing::Test {
 protected:
  // 'A' 50 wide; 'B' 10 wide with 2 before and 3 after; no space glyph; line height 20.
  void SetUp() override { f = Table("1024 20 3\n65 0 0 0 50 0\n66 60 0 2 10 3\n198 80 2 0 30 0\n", 60); }
  std::unique_ptr<CGraphFont> f;
  std::vector<GlyphPlacement> out;
};

TEST_F(FontLayout, AlignmentMovesTheStart) {
  ASSERT_EQ(fontTextWidth(f.get(), u"AA"), 100);
  ASSERT_TRUE(fontLayout(f.get(), 1, 1, 512, 300, u"AA", 0, 0, -1, out));
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].x, 462) << "centred on 512";
  EXPECT_EQ(out[1].x, 512);
  EXPECT_EQ(out[0].y, 300);
  ASSERT_TRUE(fontLayout(f.get(), 1, 1, 512, 300, u"AA", 0, 1, 1, out));
  EXPECT_EQ(out[0].x, 412) << "right-aligned";
  EXPECT_EQ(out[0].y, 280) << "bottom-aligned: up by a line";
  ASSERT_TRUE(fontLayout(f.get(), 1, 1.5f, 512, 300, u"AA", 0, -1, 0, out));
  EXPECT_EQ(out[0].x, 512);
  EXPECT_EQ(out[0].y, 285) << "centred: up by half of 30";
  EXPECT_EQ(out[0].h, 30);
}

TEST_F(FontLayout, AdvancesSpacesSoftHyphensAndScale) {
  ASSERT_TRUE(fontLayout(f.get(), 2, 1, 0, 0, u"B B\u00ADB\tA", 0, -1, -1, out));
  ASSERT_EQ(out.size(), 4u);
  EXPECT_EQ(out[0].x, 4) << "before x scale";
  EXPECT_EQ(out[0].w, 20);
  EXPECT_EQ(out[0].sw, 10) << "the picture region keeps its size";
  EXPECT_EQ(out[1].x, 30 + 20 + 4) << "a space without a glyph advances half a line";
  EXPECT_EQ(out[2].x, 30 + 20 + 30 + 4) << "the soft hyphen neither draws nor advances";
  EXPECT_EQ(out[3].x, 30 + 20 + 30 + 30 + 20) << "a tab advances like a space";
  EXPECT_EQ(fontTextWidth(f.get(), u"B B\u00ADB"), 15 + 10 + 15 + 15);
  EXPECT_EQ(fontTextWidth(f.get(), u"B B\u00ADB", 2), 25) << "only the first characters";
  EXPECT_EQ(fontSpaceWidth(f.get()), 10);
  EXPECT_EQ(fontTextWidthUtf8(f.get(), "ЖA"), 80);
  EXPECT_FALSE(fontLayout(f.get(), 0, 1, 0, 0, u"A", 0, -1, -1, out)) << "scale 0";
  EXPECT_FALSE(fontLayout(f.get(), 1, 1, 0, 0, nullptr, 0, -1, -1, out));
  // Unknown characters draw nothing and take no room.
  ASSERT_TRUE(fontLayout(f.get(), 1, 1, 0, 0, u"A\u4E2DA", 0, -1, -1, out));
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[1].x, 50);
}

TEST_F(FontLayout, StylesPickColourVariants) {
  ASSERT_EQ(f->variants, 3);
  ASSERT_TRUE(fontLayout(f.get(), 1, 1, 0, 0, u"Ж", 2, -1, -1, out));
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].sx, 80) << "Ж draws the glyph of code 198";
  EXPECT_EQ(out[0].sy, 20 + 2) << "style 2 of three variants: the second, one line down";
  EXPECT_EQ(out[0].sh, 20);
  EXPECT_EQ(fontVariant(0, 3), 0);
  EXPECT_EQ(fontVariant(1, 3), 0);
  EXPECT_EQ(fontVariant(3, 3), 2);
  EXPECT_EQ(fontVariant(2, 2), 1);
  EXPECT_EQ(fontVariant(1, 2), 0);
  EXPECT_EQ(fontVariant(3, 1), 0);
  EXPECT_EQ(fontVariant(7, 4), 3);
  ASSERT_TRUE(fontLayout(f.get(), 1, 1, 0, 10, u"A", 3, -1, -1, out));
  EXPECT_EQ(out[0].y, 11) << "style 3 draws one pixel lower";
}

TEST(FontFiles, FontsLoadWithTheirGlyphFilesAndSurviveMissingOnes) {
  sprtest::EnsureRenderer();
  sprtest::WritePng("font/f.png", 128, 40, [](int, int) { return 0xFFFFFFFFu; });
  sprtest::WriteText("font/f.fh", "128 20 2\n65 0 0 0 12 1\n66 12 0 0 12 1\n");
  CSprite* font = sprGetFont("font/f.png");
  ASSERT_NE(font, nullptr);
  auto* f = dynamic_cast<CGraphFont*>(font);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->variants, 2);
  EXPECT_EQ(sprAnimationSteps(font), 2) << "the variants are the animation steps";
  EXPECT_EQ(f->Rows(), 1) << "of a picture that stays one frame";
  EXPECT_EQ(sprHeight(font), 40);
  EXPECT_EQ(fontLineHeight(font), 20);
  EXPECT_EQ(fontTextWidthUtf8(font, "AB"), 26);
  EXPECT_EQ(sprGetFont("FONT/F.png"), font);
  sprRelease(font);
  // After a device loss the glyphs are still there and the frames come back.
  sprReleaseAllTextures();
  sprReloadAll();
  EXPECT_TRUE(f->loaded);
  EXPECT_EQ(f->Rows(), 1);
  EXPECT_EQ(fontTextWidthUtf8(font, "AB"), 26);
  sprRelease(font);
  // No glyph file: one line naming it; the picture is still a sprite, text takes no room.
  sprtest::WritePng("font/bare.png", 16, 16, [](int, int) { return 0xFFFFFFFFu; });
  imgtest::ErrorCapture log;
  CSprite* bare = sprGetFont("font/bare.png");
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(log.LinesNaming("font/bare.fh"), 1);
  EXPECT_EQ(fontTextWidthUtf8(bare, "AB"), 0);
  sprRelease(bare);
  // A plain sprite is no font.
  CSprite* plain = sprGet("font/bare.png");
  EXPECT_EQ(fontLineHeight(plain), 0);
  EXPECT_EQ(fontTextWidthUtf8(plain, "AB"), 0);
  sprRelease(plain);
}

TEST(FontFiles, DemoLibraryHasLatinAndCyrillicFontsAndItsSprites) {
  sprtest::EnsureRenderer();
  const char* src = std::getenv("MM_SOURCE_DIR");
  if (!src) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  const std::string here = std::filesystem::current_path().string();
  ASSERT_EQ(chdir((std::string(src) + "/demo").c_str()), 0);
  imgtest::ErrorCapture log;
  sprLoadLibrary("data/fonts/fonts.ini");
  auto* text = dynamic_cast<CGraphFont*>(sprFind("TextFont"));
  auto* big = dynamic_cast<CGraphFont*>(sprFind("BigFont"));
  CBaseSprite* coin = sprFind("Coin");
  EXPECT_TRUE(text && big && coin && sprFind("Star"));
  if (text && big && coin) {
    EXPECT_EQ(text->variants, 4);
    EXPECT_EQ(big->variants, 2);
    for (char16_t c : std::u16string(u"AZaz09ÀЖЁёяЯ«»№")) EXPECT_TRUE(text->HasGlyph(c)) << int(c);
    EXPECT_GT(fontTextWidthUtf8(text, "Привет"), 40);
    EXPECT_EQ(fontTextWidthUtf8(text, "Ж"), fontTextWidth(text, u"\u00C6")) << "Ж drawn from code 198";
    EXPECT_LT(fontTextWidthUtf8(text, "i"), fontTextWidthUtf8(text, "W"));
    EXPECT_GT(fontSpaceWidth(text), 0);
    EXPECT_EQ(coin->Rows(), 4);
    EXPECT_EQ(sprHeight(coin), 32);
  }
  sprReleaseLibrary("data/fonts/fonts.ini");
  EXPECT_EQ(sprFind("TextFont"), nullptr);
  EXPECT_EQ(log.Text(), "") << "the demo library loads without complaint";
  std::filesystem::remove("gerr.log");  // never leave a log in the source tree
  ASSERT_EQ(chdir(here.c_str()), 0);
}

}  // namespace
