// PNG reader: every colour type and depth ends up as the right texels in 32-bit and 16-bit
// targets; damaged, truncated and lying files load as nothing.
#include <zlib.h>

#include "test_image_util.h"

using namespace imgtest;

namespace {
cPNGImage loaded(const Bytes& file) {
  cPNGImage img;
  EXPECT_EQ(loadBytes(img, file, "test.png"), 0);
  return img;
}

Texels in565(const cFileImage& img) {
  Texels t(23, img.Width(), img.Height());
  img.WriteColor(0, 0, img.Width(), img.Height(), t.Target());
  return t;
}
}  // namespace

TEST(PngReader, RgbAndRgbaKeepRedAndBlueApart) {
  PngLayout s;
  s.width = 2;
  cPNGImage rgb = loaded(png(s, {{255, 0, 0, 0, 0, 255}}));
  EXPECT_EQ(rgb.BitsPerPixel(), 24);
  EXPECT_EQ(rgb.Row(0)[0], 0);  // stored blue first
  EXPECT_EQ(rgb.Row(0)[2], 255);
  Texels t = colours(rgb);
  EXPECT_EQ(t.At(0, 0), argb(255, 255, 0, 0));
  EXPECT_EQ(t.At(1, 0), argb(255, 0, 0, 255));
  Texels u = in565(rgb);
  EXPECT_EQ(u.At(0, 0), rgb565(255, 0, 0));
  EXPECT_EQ(u.At(1, 0), rgb565(0, 0, 255));

  s.colour = PNG_COLOR_TYPE_RGB_ALPHA;
  cPNGImage rgba = loaded(png(s, {{10, 20, 30, 40, 250, 128, 8, 255}}));
  EXPECT_EQ(rgba.BitsPerPixel(), 32);
  Texels a = colours(rgba);
  EXPECT_EQ(a.At(0, 0), argb(40, 10, 20, 30));
  EXPECT_EQ(a.At(1, 0), argb(255, 250, 128, 8));
  EXPECT_EQ(in565(rgba).At(1, 0), rgb565(250, 128, 8));
}

TEST(PngReader, GreyPicturesBecomeRgb) {
  PngLayout s;
  s.width = 3;
  s.colour = PNG_COLOR_TYPE_GRAY;
  Texels g8 = colours(loaded(png(s, {{0, 100, 255}})));
  EXPECT_EQ(g8.At(1, 0), argb(255, 100, 100, 100));
  EXPECT_EQ(g8.At(2, 0), argb(255, 255, 255, 255));

  // 2-bit grey: levels 0..3 scale to 0, 85, 170, 255.
  s.width = 4;
  s.depth = 2;
  Texels g2 = colours(loaded(png(s, {{0b00011011}})));
  EXPECT_EQ(g2.At(0, 0), argb(255, 0, 0, 0));
  EXPECT_EQ(g2.At(1, 0), argb(255, 85, 85, 85));
  EXPECT_EQ(g2.At(3, 0), argb(255, 255, 255, 255));

  s.width = 2;
  s.depth = 8;
  s.colour = PNG_COLOR_TYPE_GRAY_ALPHA;
  cPNGImage ga = loaded(png(s, {{60, 128, 200, 255}}));
  EXPECT_EQ(ga.BitsPerPixel(), 32);
  Texels t = colours(ga);
  EXPECT_EQ(t.At(0, 0), argb(128, 60, 60, 60));
  EXPECT_EQ(t.At(1, 0), argb(255, 200, 200, 200));
  Texels u(26, 2, 1);  // A4R4G4B4
  ga.WriteColor(0, 0, 2, 1, u.Target());
  EXPECT_EQ(u.At(0, 0), 0x8333u);
}

TEST(PngReader, PalettePicturesExpandWithTheirTransparency) {
  PngLayout s;
  s.width = 3;
  s.colour = PNG_COLOR_TYPE_PALETTE;
  s.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  Texels plain = colours(loaded(png(s, {{2, 1, 0}})));
  EXPECT_EQ(plain.At(0, 0), argb(255, 0, 0, 255));
  EXPECT_EQ(plain.At(2, 0), argb(255, 255, 0, 0));

  s.alpha = {0, 128};  // entry 2 has no tRNS value and stays opaque
  cPNGImage img = loaded(png(s, {{0, 1, 2}}));
  EXPECT_EQ(img.BitsPerPixel(), 32);
  Texels t = colours(img);
  EXPECT_EQ(t.At(0, 0), argb(0, 255, 0, 0));
  EXPECT_EQ(t.At(1, 0), argb(128, 0, 255, 0));
  EXPECT_EQ(t.At(2, 0), argb(255, 0, 0, 255));

  // 4-bit indices.
  s.alpha.clear();
  s.depth = 4;
  s.width = 2;
  Texels four = colours(loaded(png(s, {{0x21}})));
  EXPECT_EQ(four.At(0, 0), argb(255, 0, 0, 255));
  EXPECT_EQ(four.At(1, 0), argb(255, 0, 255, 0));
}

TEST(PngReader, SixteenBitAndInterlacedPictures) {
  PngLayout s;
  s.width = 1;
  s.depth = 16;
  s.colour = PNG_COLOR_TYPE_RGB_ALPHA;
  cPNGImage deep = loaded(png(s, {{0xAB, 0xCD, 0x12, 0x34, 0xFF, 0xFF, 0x80, 0x00}}));
  EXPECT_EQ(colours(deep).At(0, 0), argb(0x80, 0xAB, 0x12, 0xFF));
  EXPECT_EQ(in565(deep).At(0, 0), rgb565(0xAB, 0x12, 0xFF));

  s.colour = PNG_COLOR_TYPE_GRAY;
  EXPECT_EQ(colours(loaded(png(s, {{0x7F, 0x00}}))).At(0, 0), argb(255, 0x7F, 0x7F, 0x7F));

  // Interlaced 9 x 9 picture: every pixel a colour of its own position.
  PngLayout i;
  i.width = i.height = 9;
  i.interlaced = true;
  std::vector<Bytes> rows(9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) rows[y].insert(rows[y].end(), {uint8_t(x * 20), uint8_t(y * 20), 7});
  Texels t = colours(loaded(png(i, rows)));
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(t.At(x, y), argb(255, x * 20, y * 20, 7));
}

TEST(PngReader, DamagedFilesLoadAsNothingWithOneLine) {
  PngLayout s;
  s.width = s.height = 8;
  std::vector<Bytes> rows(8, Bytes(24, 90));
  const Bytes good = png(s, rows);

  PngLayout p;
  p.width = 4;
  p.colour = PNG_COLOR_TYPE_PALETTE;
  p.palette = {{1, 2, 3}, {4, 5, 6}};
  const Bytes badIndex = png(p, {{0, 1, 7, 1}});

  // An IHDR claiming 16000 x 16000 over a few dozen bytes of data.
  Bytes lying = good;
  const uint8_t big[8] = {0, 0, 0x3E, 0x80, 0, 0, 0x3E, 0x80};
  std::memcpy(lying.data() + 16, big, 8);
  const uint32_t crc = uint32_t(crc32(0, lying.data() + 12, 17));
  for (int k = 0; k < 4; ++k) lying[29 + k] = uint8_t(crc >> (24 - 8 * k));

  // Past the largest side a picture may have, with data enough for it to be believed otherwise.
  Bytes wide = lying;
  const uint8_t tooWide[8] = {0, 0, 0x4E, 0x20, 0, 0, 0, 1};
  std::memcpy(wide.data() + 16, tooWide, 8);
  const uint32_t wideCrc = uint32_t(crc32(0, wide.data() + 12, 17));
  for (int k = 0; k < 4; ++k) wide[29 + k] = uint8_t(wideCrc >> (24 - 8 * k));

  Bytes badCrc = good;
  badCrc[45] ^= 0x55;  // inside the IDAT data: its CRC no longer matches

  struct Case {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"empty", {}},
      {"not png", Bytes(100, 'x')},
      {"cut in IDAT", Bytes(good.begin(), good.end() - 20)},
      {"cut in header", Bytes(good.begin(), good.begin() + 20)},
      {"palette index", badIndex},
      {"size lie", lying},
      {"absurd width", wide},
      {"corrupt data", badCrc},
  };
  for (const Case& c : cases) {
    ErrorCapture log;
    cPNGImage img;
    std::string name = std::string("bad_") + c.what + ".png";
    EXPECT_NE(loadBytes(img, c.bytes, name.c_str()), 0) << c.what;
    EXPECT_TRUE(img.Empty()) << c.what;
    EXPECT_EQ(log.LinesNaming(name), 1) << c.what;
  }
  cPNGImage fine;
  EXPECT_EQ(loadBytes(fine, good), 0);
}

TEST(PngReader, SavedScreenshotsReadBackAndReportTheirSize) {
  const uint8_t rgba[2 * 2 * 4] = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 9, 8, 7, 6};
  ASSERT_TRUE(imgSavePNG("shot.png", rgba, 2, 2));
  cPNGImage img;
  ASSERT_EQ(img.Load("shot.png"), 0);
  Texels t = colours(img);
  EXPECT_EQ(t.At(0, 0), argb(255, 255, 0, 0));
  EXPECT_EQ(t.At(1, 0), argb(128, 0, 255, 0));
  EXPECT_EQ(t.At(0, 1), argb(0, 0, 0, 255));
  EXPECT_EQ(t.At(1, 1), argb(6, 9, 8, 7));
  int w = 0, h = 0;
  EXPECT_TRUE(img.ReadSize("shot.png", w, h));
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 2);
  writeFile("not_a.png", Bytes(64, 1));
  EXPECT_FALSE(img.ReadSize("not_a.png", w, h));
  EXPECT_FALSE(imgSavePNG("no_such_folder/shot.png", rgba, 2, 2));
}
