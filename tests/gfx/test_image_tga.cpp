// TGA reader: origins, run-length data, colour maps as declared, ID fields, and damaged files that
// must load as nothing with one gerr.log line.
#include "test_image_util.h"

using namespace imgtest;

namespace {
// A 3 x 2 picture of six distinct colours, top row first, as blue-green-red bytes.
const uint8_t kTop[2][3][3] = {{{0, 0, 255}, {0, 255, 0}, {255, 0, 0}},
                               {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}}};

Bytes rowsBgr(bool topDown, bool rightToLeft = false) {
  Bytes b;
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 3; ++c) {
      const uint8_t* p = kTop[topDown ? r : 1 - r][rightToLeft ? 2 - c : c];
      b.insert(b.end(), p, p + 3);
    }
  return b;
}

void expectSixColours(const cFileImage& img) {
  ASSERT_EQ(img.Width(), 3);
  ASSERT_EQ(img.Height(), 2);
  Texels t = colours(img);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      const uint8_t* p = kTop[y][x];
      EXPECT_EQ(t.At(x, y), argb(255, p[2], p[1], p[0])) << x << "," << y;
    }
}

TgaLayout trueColour(int w, int h, int bits, int descriptor = 0) {
  TgaLayout s;
  s.width = w;
  s.height = h;
  s.bits = bits;
  s.descriptor = descriptor;
  return s;
}
}  // namespace

TEST(TgaReader, EveryOriginGivesTheSameTexels) {
  cTGAImage bottomUp, topDown, mirrored;
  ASSERT_EQ(loadBytes(bottomUp, tga(trueColour(3, 2, 24), {}, rowsBgr(false))), 0);
  ASSERT_EQ(loadBytes(topDown, tga(trueColour(3, 2, 24, 0x20), {}, rowsBgr(true))), 0);
  ASSERT_EQ(loadBytes(mirrored, tga(trueColour(3, 2, 24, 0x30), {}, rowsBgr(true, true))), 0);
  expectSixColours(bottomUp);
  expectSixColours(topDown);
  expectSixColours(mirrored);
  EXPECT_EQ(bottomUp.BitsPerPixel(), 24);
  EXPECT_EQ(bottomUp.FlagsAnd(~0u), 0u);
}

TEST(TgaReader, ThirtyTwoBitKeepsAlphaAndSixteenBitIsFiveFiveFive) {
  TgaLayout s = trueColour(2, 1, 32, 0x28);
  cTGAImage a;
  ASSERT_EQ(loadBytes(a, tga(s, {}, {1, 2, 3, 4, 5, 6, 7, 200})), 0);
  Texels t = colours(a);
  EXPECT_EQ(t.At(0, 0), argb(4, 3, 2, 1));
  EXPECT_EQ(t.At(1, 0), argb(200, 7, 6, 5));

  // 0x7C1F: red 31, green 0, blue 31; 0x03E0: green 31.
  cTGAImage b;
  ASSERT_EQ(loadBytes(b, tga(trueColour(2, 1, 16), {}, {0x1F, 0x7C, 0xE0, 0x03})), 0);
  EXPECT_EQ(b.BitsPerPixel(), 16);
  Texels u = colours(b);
  EXPECT_EQ(u.At(0, 0), argb(255, 248, 0, 248));
  EXPECT_EQ(u.At(1, 0), argb(255, 0, 248, 0));
  Texels v(24, 2, 1);
  b.WriteColor(0, 0, 2, 1, v.Target());
  EXPECT_EQ(v.At(0, 0), 0x7C1Fu);
  EXPECT_EQ(v.At(1, 0), 0x03E0u);
}

TEST(TgaReader, RunLengthPicturesMatchRawOnes) {
  // Bottom-up rows of the six-colour picture as packets: a literal of 3 crossing nothing, then a
  // run of 1 and a literal of 2.
  Bytes bottom = rowsBgr(false);
  Bytes rle;
  rle.push_back(0x02);  // three literal pixels
  rle.insert(rle.end(), bottom.begin(), bottom.begin() + 9);
  rle.push_back(0x80);  // run of one
  rle.insert(rle.end(), bottom.begin() + 9, bottom.begin() + 12);
  rle.push_back(0x01);  // two literal pixels
  rle.insert(rle.end(), bottom.begin() + 12, bottom.end());
  TgaLayout s = trueColour(3, 2, 24);
  s.imageType = 10;
  cTGAImage img;
  ASSERT_EQ(loadBytes(img, tga(s, {}, rle)), 0);
  expectSixColours(img);

  // A run crossing the row boundary, in a grey RLE picture stored top-down.
  TgaLayout g = trueColour(3, 2, 8, 0x20);
  g.imageType = 11;
  cTGAImage grey;
  ASSERT_EQ(loadBytes(grey, tga(g, {}, {0x83, 50, 0x01, 60, 70})), 0);
  EXPECT_EQ(grey.FlagsAnd(cFileImage::kNoPalette), cFileImage::kNoPalette);
  EXPECT_EQ(grey.Row(0)[0], 50);
  EXPECT_EQ(grey.Row(1)[0], 50);
  EXPECT_EQ(grey.Row(1)[1], 60);
  EXPECT_EQ(grey.Row(1)[2], 70);
  EXPECT_EQ(colours(grey).At(2, 1), argb(255, 70, 70, 70));
}

TEST(TgaReader, ColourMappedRunLength) {
  TgaLayout s = trueColour(4, 1, 8, 0x20);
  s.imageType = 9;
  s.mapType = 1;
  s.mapLength = 2;
  s.mapBits = 24;
  cTGAImage img;
  ASSERT_EQ(loadBytes(img, tga(s, {0, 0, 255, 255, 0, 0}, {0x82, 1, 0x00, 0})), 0);
  Texels t = colours(img);
  EXPECT_EQ(t.At(0, 0), argb(255, 0, 0, 255));
  EXPECT_EQ(t.At(2, 0), argb(255, 0, 0, 255));
  EXPECT_EQ(t.At(3, 0), argb(255, 255, 0, 0));
}

TEST(TgaReader, PaletteBlackMarksTransparencyOnlyWhenUsed) {
  TgaLayout s = trueColour(2, 1, 8, 0x20);
  s.imageType = 1;
  s.mapType = 1;
  s.mapLength = 3;
  s.mapBits = 24;
  const Bytes map = {0, 0, 0, 0, 128, 0, 255, 255, 255};  // black, green, white

  cTGAImage unused;
  ASSERT_EQ(loadBytes(unused, tga(s, map, {1, 2})), 0);
  EXPECT_EQ(unused.FlagsAnd(cFileImage::kOwnTransparency), 0u);
  EXPECT_EQ(unused.FlagsAnd(cFileImage::kNoPalette), 0u);

  cTGAImage used;
  ASSERT_EQ(loadBytes(used, tga(s, map, {0, 1})), 0);
  EXPECT_EQ(used.FlagsAnd(cFileImage::kOwnTransparency), cFileImage::kOwnTransparency);
  Texels t(21, 2, 1, 0x55);
  used.WriteOwnAlpha(0, 0, 2, 1, t.Target());
  EXPECT_EQ(t.At(0, 0), 0x00555555u);
  EXPECT_EQ(t.At(1, 0), 0xFF555555u);
  EXPECT_EQ(used.Palette()[4], 128);
}

TEST(TgaReader, ColourMapOfFewerEntriesAndOtherEntrySizes) {
  // Two 16-bit entries starting at index 5: indices 5 and 6 are the whole map.
  TgaLayout s = trueColour(2, 1, 8, 0x20);
  s.imageType = 1;
  s.mapType = 1;
  s.mapFirst = 5;
  s.mapLength = 2;
  s.mapBits = 16;
  cTGAImage img;
  ASSERT_EQ(loadBytes(img, tga(s, {0x00, 0x7C, 0x1F, 0x00}, {5, 6})), 0);
  Texels t = colours(img);
  EXPECT_EQ(t.At(0, 0), argb(255, 248, 0, 0));
  EXPECT_EQ(t.At(1, 0), argb(255, 0, 0, 248));

  // 32-bit entries: the entry's alpha byte is skipped, the next entry read right after it.
  s.mapFirst = 0;
  s.mapBits = 32;
  cTGAImage wide;
  ASSERT_EQ(loadBytes(wide, tga(s, {1, 2, 3, 99, 4, 5, 6, 99}, {0, 1})), 0);
  EXPECT_EQ(colours(wide).At(1, 0), argb(255, 6, 5, 4));

  // A true-colour picture that carries a colour map it does not use: the map is skipped.
  TgaLayout c = trueColour(3, 2, 24);
  c.mapType = 1;
  c.mapLength = 3;
  c.mapBits = 24;
  cTGAImage skipped;
  ASSERT_EQ(loadBytes(skipped, tga(c, Bytes(9, 7), rowsBgr(false))), 0);
  expectSixColours(skipped);
  // An empty map whose entry size was left at 0 by its writer.
  c.mapLength = 0;
  c.mapBits = 0;
  cTGAImage emptyMap;
  ASSERT_EQ(loadBytes(emptyMap, tga(c, {}, rowsBgr(false))), 0);
  expectSixColours(emptyMap);
}

TEST(TgaReader, IdFieldIsSkipped) {
  TgaLayout s = trueColour(3, 2, 24);
  s.idLength = 17;
  cTGAImage img;
  ASSERT_EQ(loadBytes(img, tga(s, {}, rowsBgr(false))), 0);
  expectSixColours(img);
}

TEST(TgaReader, DamagedFilesLoadAsNothingWithOneLine) {
  TgaLayout mapped = trueColour(2, 2, 8);
  mapped.imageType = 1;
  mapped.mapType = 1;
  mapped.mapLength = 2;
  mapped.mapBits = 24;
  TgaLayout rle = trueColour(3, 2, 24);
  rle.imageType = 10;
  TgaLayout huge = trueColour(20000, 2, 24);
  TgaLayout bomb = trueColour(16000, 16000, 32);
  bomb.imageType = 10;
  TgaLayout noMap = trueColour(2, 1, 8);
  noMap.imageType = 1;
  TgaLayout badBits = trueColour(2, 1, 12);
  const Bytes idPastEnd = tga(TgaLayout{200}, {}, {1, 2, 3});

  struct Case {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"short header", Bytes(10, 0)},
      {"rows past the end", tga(trueColour(3, 2, 24), {}, Bytes(15, 1))},
      {"index past the map", tga(mapped, Bytes(6, 9), {0, 1, 2, 1})},
      {"map past the end", tga(mapped, Bytes(4, 9), {})},
      {"run past the end", tga(rle, {}, {0x85, 1, 2})},
      {"literal past the end", tga(rle, {}, {0x05, 1, 2, 3, 4})},
      {"absurd width", tga(huge, {}, Bytes(120000, 0))},
      {"rle size lie", tga(bomb, {}, {0xFF, 1, 2, 3, 4})},
      {"mapped without map", tga(noMap, {}, {0, 0})},
      {"odd depth", tga(badBits, {}, Bytes(8, 0))},
      {"no image", tga(TgaLayout{0, 0, 0}, {}, {})},
      {"id past end", Bytes(idPastEnd.begin(), idPastEnd.begin() + 100)},
  };
  for (const Case& c : cases) {
    ErrorCapture log;
    cTGAImage img;
    std::string name = std::string("bad_") + c.what + ".tga";
    EXPECT_NE(loadBytes(img, c.bytes, name.c_str()), 0) << c.what;
    EXPECT_TRUE(img.Empty()) << c.what;
    EXPECT_EQ(img.Width(), 0) << c.what;
    EXPECT_EQ(log.LinesNaming(name), 1) << c.what;
  }
}

TEST(TgaReader, EveryTruncationOfAValidFileFails) {
  TgaLayout s = trueColour(3, 2, 24);
  s.idLength = 3;
  s.mapType = 1;
  s.mapLength = 2;
  s.mapBits = 24;
  const Bytes raw = tga(s, Bytes(6, 1), rowsBgr(false));
  Bytes bottom = rowsBgr(false);
  Bytes rlePixels{0x05};
  rlePixels.insert(rlePixels.end(), bottom.begin(), bottom.end());
  s.imageType = 10;
  const Bytes rle = tga(s, Bytes(6, 1), rlePixels);
  for (const Bytes* file : {&raw, &rle}) {
    for (size_t n = 0; n < file->size(); ++n) {
      cTGAImage img;
      Bytes cut(file->begin(), file->begin() + ptrdiff_t(n));
      EXPECT_NE(loadBytes(img, cut), 0) << n;
      EXPECT_TRUE(img.Empty());
    }
    cTGAImage whole;
    EXPECT_EQ(loadBytes(whole, *file), 0);
    expectSixColours(whole);
  }
}

TEST(TgaReader, FilesThroughTheFileLayer) {
  writeFile("six.tga", tga(trueColour(3, 2, 24), {}, rowsBgr(false)));
  cTGAImage img;
  ASSERT_EQ(img.Load("six.tga"), 0);
  expectSixColours(img);
  int w = 0, h = 0;
  EXPECT_TRUE(img.ReadSize("six.tga", w, h));
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);

  ErrorCapture log;
  EXPECT_NE(img.Load("missing_picture.tga"), 0);
  EXPECT_TRUE(img.Empty());
  EXPECT_FALSE(img.ReadSize("missing_picture.tga", w, h));
  EXPECT_EQ(log.LinesNaming("missing_picture.tga"), 1);

  // A size the loader refuses is no size for the query either, so a sprite never plans for it.
  writeFile("absurd.tga", tga(trueColour(65535, 65535, 24), {}, Bytes(64, 0)));
  EXPECT_NE(img.Load("absurd.tga"), 0);
  w = h = 7;
  EXPECT_FALSE(img.ReadSize("absurd.tga", w, h));
  EXPECT_EQ(w, 7);
  writeFile("edge.tga", tga(trueColour(cFileImage::kMaxSide, 1, 24), {}, {}));
  EXPECT_TRUE(img.ReadSize("edge.tga", w, h)) << "the largest side the loader takes";
  EXPECT_EQ(w, cFileImage::kMaxSide);
}

TEST(TgaWriter, SavedPicturesReadBack) {
  const Bytes pixels = rowsBgr(true);
  ASSERT_TRUE(cFileImage::SaveTGA("saved_top.tga", pixels.data(), 24, 3, -2));
  Bytes file = readFile("saved_top.tga");
  ASSERT_EQ(file.size(), 18u + pixels.size());
  EXPECT_EQ(file[2], 2);
  EXPECT_EQ(file[17], 0x20);
  EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), file.begin() + 18));
  cTGAImage top;
  ASSERT_EQ(top.Load("saved_top.tga"), 0);
  expectSixColours(top);

  const Bytes bottom = rowsBgr(false);
  ASSERT_TRUE(cFileImage::SaveTGA("saved_bottom.tga", bottom.data(), 24, 3, 2));
  EXPECT_EQ(readFile("saved_bottom.tga")[17], 0);
  cTGAImage up;
  ASSERT_EQ(up.Load("saved_bottom.tga"), 0);
  expectSixColours(up);

  const uint8_t rgba[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_TRUE(cFileImage::SaveTGA("saved_alpha.tga", rgba, 32, 2, 1));
  EXPECT_EQ(readFile("saved_alpha.tga")[17], 8);
  EXPECT_FALSE(cFileImage::SaveTGA("saved_bad.tga", rgba, 12, 2, 1));
}
