// JPEG reader: colours come out close to what was written and in the right channels, grey
// pictures become colour, and damaged or truncated files fail without ending the program.
#include <cstdlib>

#include "test_image_util.h"

using namespace imgtest;

namespace {
// 16 x 16 picture of four 8 x 8 blocks: red, green / blue, light grey.
Bytes quarters() {
  const uint8_t c[4][3] = {{230, 20, 20}, {20, 200, 30}, {25, 30, 220}, {190, 190, 190}};
  Bytes px;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const uint8_t* p = c[(y / 8) * 2 + x / 8];
      px.insert(px.end(), p, p + 3);
    }
  return px;
}

void expectNear(uint32_t texel, int r, int g, int b, int tolerance, const char* what) {
  EXPECT_NEAR(int((texel >> 16) & 255), r, tolerance) << what << " red";
  EXPECT_NEAR(int((texel >> 8) & 255), g, tolerance) << what << " green";
  EXPECT_NEAR(int(texel & 255), b, tolerance) << what << " blue";
}
}  // namespace

TEST(JpgReader, ColoursStayInTheirChannels) {
  cJPGImage img;
  ASSERT_EQ(loadBytes(img, jpeg(16, 16, 3, quarters()), "quarters.jpg"), 0);
  ASSERT_EQ(img.Width(), 16);
  ASSERT_EQ(img.Height(), 16);
  EXPECT_EQ(img.BitsPerPixel(), 24);
  Texels t(21, 16, 16, 0xEE);
  img.WriteColor(0, 0, 16, 16, t.Target());
  expectNear(t.At(3, 3), 230, 20, 20, 12, "red block");
  expectNear(t.At(12, 3), 20, 200, 30, 12, "green block");
  expectNear(t.At(3, 12), 25, 30, 220, 12, "blue block");
  expectNear(t.At(12, 12), 190, 190, 190, 12, "grey block");
  EXPECT_EQ(t.At(3, 3) >> 24, 0xFFu) << "a picture without alpha is opaque";

  Texels u(23, 16, 16);
  img.WriteColor(0, 0, 16, 16, u.Target());
  EXPECT_NEAR(int(u.At(3, 3) >> 11), 230 >> 3, 2);
  EXPECT_LE(int(u.At(3, 3) & 31), 4);
}

TEST(JpgReader, GreyPicturesBecomeColour) {
  Bytes grey(8 * 8);
  for (int i = 0; i < 64; ++i) grey[i] = uint8_t(i < 32 ? 40 : 210);
  cJPGImage img;
  ASSERT_EQ(loadBytes(img, jpeg(8, 8, 1, grey)), 0);
  Texels t = colours(img);
  expectNear(t.At(2, 1), 40, 40, 40, 8, "dark half");
  expectNear(t.At(5, 6), 210, 210, 210, 8, "light half");
}

TEST(JpgReader, DamagedFilesFailWithOneLine) {
  const Bytes good = jpeg(16, 16, 3, quarters());
  Bytes noFrame = good;
  for (size_t i = 2; i + 1 < noFrame.size(); ++i)
    if (noFrame[i] == 0xFF && noFrame[i + 1] == 0xC0) noFrame[i + 1] = 0xCF;  // unsupported coding
  // Headers and the scan header, then straight to the end marker: libjpeg would make up every row.
  Bytes noData;
  for (size_t i = 2; i + 3 < good.size(); ++i)
    if (good[i] == 0xFF && good[i + 1] == 0xDA) {
      const size_t sosEnd = i + 2 + size_t(good[i + 2] << 8 | good[i + 3]);
      noData.assign(good.begin(), good.begin() + ptrdiff_t(sosEnd));
      noData.insert(noData.end(), {0x12, 0x34, 0xFF, 0xD9});
      break;
    }
  ASSERT_FALSE(noData.empty());
  // The frame header's height and width set to 20000.
  Bytes huge = good;
  for (size_t i = 2; i + 8 < huge.size(); ++i)
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
      huge[i + 5] = huge[i + 7] = 0x4E;
      huge[i + 6] = huge[i + 8] = 0x20;
      break;
    }
  struct Case {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"empty", {}},
      {"end marker in the scan", noData},
      {"absurd size", huge},
      {"noise", Bytes(300, 0x5A)},
      {"only the start marker", {0xFF, 0xD8, 0xFF}},
      {"cut in the header", Bytes(good.begin(), good.begin() + 120)},
      {"cut in the scan", Bytes(good.begin(), good.begin() + ptrdiff_t(good.size() * 3 / 4))},
      {"no end marker", Bytes(good.begin(), good.end() - 2)},
      {"unsupported coding", noFrame},
  };
  for (const Case& c : cases) {
    ErrorCapture log;
    cJPGImage img;
    std::string name = std::string("bad_") + c.what + ".jpg";
    EXPECT_NE(loadBytes(img, c.bytes, name.c_str()), 0) << c.what;
    EXPECT_TRUE(img.Empty()) << c.what;
    EXPECT_EQ(log.LinesNaming(name), 1) << c.what;
  }
  cJPGImage whole;
  EXPECT_EQ(loadBytes(whole, good), 0);
  EXPECT_EQ(whole.Width(), 16);
}

TEST(JpgReader, SizeQueryReadsOnlyTheHeader) {
  writeFile("size.jpg", jpeg(24, 10, 3, Bytes(24 * 10 * 3, 100)));
  cJPGImage img;
  int w = 0, h = 0;
  EXPECT_TRUE(img.ReadSize("size.jpg", w, h));
  EXPECT_EQ(w, 24);
  EXPECT_EQ(h, 10);
  EXPECT_TRUE(img.Empty());
  writeFile("size_bad.jpg", Bytes(50, 0xFF));
  EXPECT_FALSE(img.ReadSize("size_bad.jpg", w, h));
  EXPECT_FALSE(img.ReadSize("size_missing.jpg", w, h));
  ASSERT_EQ(img.Load("size.jpg"), 0);
  EXPECT_EQ(img.Width(), 24);
}
