// Region writes into every texture pixel format, error-diffusion dithering, row copies, the
// texture pixel format table and the choice of reader by file name.
#include "test_image_util.h"

using namespace imgtest;

namespace {
// A top-down true-colour TGA picture from blue-green-red(-alpha) bytes.
cTGAImage picture(int w, int h, int bits, const Bytes& pixels) {
  TgaLayout s;
  s.width = w;
  s.height = h;
  s.bits = bits;
  s.descriptor = 0x20;
  cTGAImage img;
  EXPECT_EQ(loadBytes(img, tga(s, {}, pixels)), 0);
  return img;
}

// 3 x 2 picture whose blue byte is 10 * (index + 1), green 100 + index, red 200 + index.
cTGAImage numbered(int bits) {
  Bytes px;
  for (int i = 0; i < 6; ++i) {
    px.insert(px.end(), {uint8_t(10 * (i + 1)), uint8_t(100 + i), uint8_t(200 + i)});
    if (bits == 32) px.push_back(uint8_t(40 + i));
  }
  return picture(3, 2, bits, px);
}
uint32_t numberedArgb(int i, int alpha) { return argb(alpha, 200 + i, 100 + i, 10 * (i + 1)); }
}  // namespace

TEST(PixelFormats, TableIsConsistent) {
  const uint32_t codes[] = {21, 22, 20, 26, 25, 24, 23};
  for (uint32_t code : codes) {
    const TexturePixelFormat* f = grPixelFormatByCode(code);
    ASSERT_NE(f, nullptr) << code;
    EXPECT_EQ(f->code, code);
    uint32_t used = 0;
    for (int c = 0; c < 4; ++c) {
      if (!f->bits[c]) continue;
      uint32_t m = ((1u << f->bits[c]) - 1) << f->shift[c];
      EXPECT_EQ(used & m, 0u) << grPixelFormatName(code) << " channels overlap";
      used |= m;
    }
    EXPECT_LE(used, f->bytesPerPixel == 4 ? 0xFFFFFFFFu : (1u << (8 * f->bytesPerPixel)) - 1);
  }
  EXPECT_STREQ(grPixelFormatName(23), "D3DFMT_R5G6B5");
  EXPECT_STREQ(grPixelFormatName(21), "D3DFMT_A8R8G8B8");
  EXPECT_EQ(grPixelFormatByCode(21)->shift[3], 24);
  EXPECT_EQ(grPixelFormatByCode(25)->bits[3], 1);
  EXPECT_EQ(grPixelFormatByCode(99), nullptr);
}

TEST(RegionWrites, ChannelConversionInEveryFormat) {
  cTGAImage img = picture(1, 1, 32, {0x1B, 0x2C, 0xAB, 0x80});  // B, G, R, A
  struct Expect {
    uint32_t code, fill, texel;
  } cases[] = {
      {21, 0, 0x80AB2C1Bu},
      {22, 0x77777777u, 0x77AB2C1Bu},  // no alpha channel: the X byte stays
      {20, 0, 0xAB2C1Bu},
      {26, 0, 0x8A21u},                // four bits: low source bits dropped
      {25, 0, 0x8000u | (0xAB >> 3) << 10 | (0x2C >> 3) << 5 | (0x1B >> 3)},
      {24, 0xFFFFFFFFu, 0x8000u | (0xAB >> 3) << 10 | (0x2C >> 3) << 5 | (0x1B >> 3)},
      {23, 0, uint32_t((0xAB >> 3) << 11 | (0x2C >> 2) << 5 | (0x1B >> 3))},
  };
  for (const Expect& c : cases) {
    Texels t(c.code, 1, 1, uint8_t(c.fill));
    img.WriteColor(0, 0, 1, 1, t.Target());
    EXPECT_EQ(t.At(0, 0), c.texel) << grPixelFormatName(c.code);
  }
  // One alpha bit takes the top bit of the source alpha.
  cTGAImage faint = picture(1, 1, 32, {0, 0, 0, 0x7F});
  Texels t(25, 1, 1, 0xFF);
  faint.WriteColor(0, 0, 1, 1, t.Target());
  EXPECT_EQ(t.At(0, 0), 0u);
}

TEST(RegionWrites, TrueColourRowsIntoByteFormats) {
  // Five pixels: four go through the packed path, the fifth through the tail.
  Bytes px;
  for (int i = 0; i < 5; ++i) px.insert(px.end(), {uint8_t(i), uint8_t(50 + i), uint8_t(200 + i)});
  cTGAImage img = picture(5, 1, 24, px);
  for (int width : {5, -5}) {
    Texels a(21, 5, 1, 0x11), x(22, 5, 1, 0x77), r(20, 5, 1, 0x11);
    img.WriteColor(0, 0, width, 1, a.Target());
    img.WriteColor(0, 0, width, 1, x.Target());
    img.WriteColor(0, 0, width, 1, r.Target());
    for (int i = 0; i < 5; ++i) {
      const int k = width > 0 ? i : 4 - i;
      EXPECT_EQ(a.At(i, 0), argb(255, 200 + k, 50 + k, k)) << i << " opaque: no alpha of its own";
      EXPECT_EQ(x.At(i, 0), argb(0x77, 200 + k, 50 + k, k)) << i << " the X byte is not written";
      EXPECT_EQ(r.At(i, 0), argb(0, 200 + k, 50 + k, k)) << i;
    }
  }
}

TEST(RegionWrites, AlphaWritesTouchOnlyAlpha) {
  cTGAImage rgb = numbered(24), rgba = numbered(32);
  Texels a(21, 3, 2, 0x11);
  rgb.WriteAsAlpha(0, 0, 3, 2, a.Target());  // blue becomes alpha
  EXPECT_EQ(a.At(0, 0), 0x0A111111u);
  EXPECT_EQ(a.At(2, 1), 0x3C111111u);
  rgba.WriteAsAlpha(0, 0, 3, 2, a.Target());
  EXPECT_EQ(a.At(1, 0), 0x29111111u);

  Texels own(26, 3, 2, 0x00);
  rgb.WriteOwnAlpha(0, 0, 3, 2, own.Target());
  EXPECT_EQ(own.At(2, 1), 0xF000u);
  rgba.WriteOwnAlpha(0, 0, 3, 2, own.Target());
  EXPECT_EQ(own.At(2, 1), uint32_t(45 >> 4) << 12);

  Texels none(23, 3, 2, 0x5A);  // a target without alpha is left alone
  rgba.WriteAsAlpha(0, 0, 3, 2, none.Target());
  rgba.WriteOwnAlpha(0, 0, 3, 2, none.Target());
  EXPECT_EQ(none.data, Bytes(12, 0x5A));

  // An 8-bit picture writes its palette colour's first (blue) byte.
  TgaLayout s;
  s.imageType = 1;
  s.mapType = 1;
  s.mapLength = 2;
  s.mapBits = 24;
  s.width = 2;
  s.bits = 8;
  cTGAImage mapped;
  ASSERT_EQ(loadBytes(mapped, tga(s, {7, 8, 9, 200, 1, 2}, {1, 0})), 0);
  Texels m(21, 2, 1);
  mapped.WriteAsAlpha(0, 0, 2, 1, m.Target());
  EXPECT_EQ(m.At(0, 0), 200u << 24);
  EXPECT_EQ(m.At(1, 0), 7u << 24);
}

TEST(RegionWrites, SubRegionsMirroringPitchAndClipping) {
  cTGAImage img = numbered(24);
  // Columns 1..2 of row 1 into a target with a wider pitch.
  Texels wide(21, 4, 1, 0);
  img.WriteColor(1, 1, 2, 1, wide.Target());
  EXPECT_EQ(wide.At(0, 0), numberedArgb(4, 255));
  EXPECT_EQ(wide.At(1, 0), numberedArgb(5, 255));
  EXPECT_EQ(wide.At(2, 0), 0u);

  Texels mx(21, 3, 2, 0);
  img.WriteColor(0, 0, -3, 2, mx.Target());
  EXPECT_EQ(mx.At(0, 0), numberedArgb(2, 255));
  EXPECT_EQ(mx.At(2, 0), numberedArgb(0, 255));
  EXPECT_EQ(mx.At(0, 1), numberedArgb(5, 255));

  Texels my(23, 3, 2, 0);
  img.WriteColor(0, 0, 3, -2, my.Target());
  Texels straight(23, 3, 2, 0);
  img.WriteColor(0, 0, 3, 2, straight.Target());
  EXPECT_EQ(my.At(1, 0), straight.At(1, 1));
  EXPECT_EQ(my.At(1, 1), straight.At(1, 0));

  // A region hanging over the right and bottom edges writes only what the picture has.
  Texels clip(21, 3, 3, 0xCC);
  img.WriteColor(1, 1, 3, 3, clip.Target());
  EXPECT_EQ(clip.At(0, 0), numberedArgb(4, 255));
  EXPECT_EQ(clip.At(1, 0), numberedArgb(5, 255));
  EXPECT_EQ(clip.At(2, 0), 0xCCCCCCCCu);
  EXPECT_EQ(clip.At(0, 1), 0xCCCCCCCCu);
  // Mirrored and hanging over the left edge: target column 0 would be source column 3.
  Texels left(21, 3, 1, 0xCC);
  img.WriteColor(1, 0, -3, 1, left.Target());
  EXPECT_EQ(left.At(0, 0), 0xCCCCCCCCu);
  EXPECT_EQ(left.At(1, 0), numberedArgb(2, 255));
  EXPECT_EQ(left.At(2, 0), numberedArgb(1, 255));

  Texels outside(21, 2, 2, 0xCC);
  img.WriteColor(5, 5, 2, 2, outside.Target());
  img.WriteColor(-4, 0, 2, 2, outside.Target());
  EXPECT_EQ(outside.data, Bytes(16, 0xCC));

  cTGAImage empty;
  empty.WriteColor(0, 0, 2, 2, outside.Target());
  EXPECT_EQ(outside.data, Bytes(16, 0xCC));
}

TEST(RegionWrites, CopyRowsWithAStep) {
  cTGAImage img = numbered(24);
  Bytes out(2 * 12, 0xEE);
  img.CopyRows(out.data(), 12);
  EXPECT_EQ(out[0], 10);
  EXPECT_EQ(out[9 + 0], 0xEE);
  EXPECT_EQ(out[12 + 0], 40);
  EXPECT_EQ(out[12 + 8], 205);
  EXPECT_EQ(img.Row(2), nullptr);
  img.FreePixels();
  EXPECT_TRUE(img.Empty());
  EXPECT_EQ(img.Width(), 0);
}

TEST(Dithering, ReferenceRowAndUnchangedPictures) {
  // Blue bytes of 100 down to 5 bits: 104, 96, 104, 96 in processing order, and the first row is
  // processed from its last pixel.
  Bytes px;
  for (int i = 0; i < 4; ++i) px.insert(px.end(), {100, 77, 33});
  cTGAImage img = picture(4, 1, 24, px);
  img.Dither(5, 8, 8);
  EXPECT_EQ(img.Row(0)[9], 104);
  EXPECT_EQ(img.Row(0)[6], 96);
  EXPECT_EQ(img.Row(0)[3], 104);
  EXPECT_EQ(img.Row(0)[0], 96);
  EXPECT_EQ(img.Row(0)[1], 77) << "a count of 8 leaves its byte alone";
  EXPECT_EQ(img.Row(0)[2], 33);

  cTGAImage same = numbered(32);
  Bytes before(same.Row(0), same.Row(0) + 24);
  same.Dither(8, 9, 8);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), same.Row(0)));
}

TEST(Dithering, WhiteStaysWhiteAndNothingWraps) {
  Bytes px;
  for (int i = 0; i < 16; ++i) px.insert(px.end(), {255, 255, 255, 17});
  px.insert(px.end(), {0, 3, 254, 17, 1, 252, 2, 17});
  cTGAImage img = picture(6, 3, 32, px);
  img.Dither(5, 6, 5);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) {
      const uint8_t* p = img.Row(y) + x * 4;
      if (y < 2 || x < 4) {
        EXPECT_EQ(p[0], 248) << x << "," << y;
        EXPECT_EQ(p[1], 252) << x << "," << y;
        EXPECT_EQ(p[2], 248) << x << "," << y;
      }
      EXPECT_EQ(p[3], 17) << "the fourth byte is left alone";
    }
  // Near-black stays near black, near-white near white; no value turns over to the other end.
  const uint8_t* tail = img.Row(2) + 16;
  EXPECT_LE(tail[0], 8);
  EXPECT_LE(tail[1], 8);
  EXPECT_GE(tail[2], 240);
  EXPECT_LE(tail[4], 8);
  EXPECT_GE(tail[5], 240);
  EXPECT_LE(tail[6], 8);

  // One bit: white keeps its top bit.
  cTGAImage one = picture(2, 1, 24, Bytes(6, 255));
  one.Dither(1, 1, 1);
  EXPECT_EQ(Bytes(one.Row(0), one.Row(0) + 6), Bytes(6, 128));
}

TEST(Dithering, ErrorRunsOnAlongASerpentine) {
  // One bit of 100 per byte: row 0 (right to left) gives 128, 128 and leaves a large negative
  // error that turns the first pixel of row 1 (left to right) black.
  cTGAImage img = picture(2, 2, 24, Bytes(12, 100));
  img.Dither(1, 8, 8);
  EXPECT_EQ(img.Row(0)[0], 128);
  EXPECT_EQ(img.Row(0)[3], 128);
  EXPECT_EQ(img.Row(1)[0], 0);
  EXPECT_EQ(img.Row(1)[3], 128);
}

TEST(ReaderChoice, ByExtensionInAnyCase) {
  auto kind = [](std::string_view name) -> std::string {
    std::unique_ptr<cFileImage> r = imgReaderFor(name);
    if (!r) return "none";
    if (dynamic_cast<cTGAImage*>(r.get())) return "tga";
    if (dynamic_cast<cJPGImage*>(r.get())) return "jpg";
    if (dynamic_cast<cPNGImage*>(r.get())) return "png";
    return "other";
  };
  EXPECT_EQ(kind("data/pic.tga"), "tga");
  EXPECT_EQ(kind("DATA\\PIC.TGA"), "tga");
  EXPECT_EQ(kind("pic.tgaz"), "tga");
  EXPECT_EQ(kind("pic.jpg"), "jpg");
  EXPECT_EQ(kind("pic.JPEG"), "jpg");
  EXPECT_EQ(kind("pic.Png"), "png");
  EXPECT_EQ(kind("my.tga.files/pic.png"), "png");
  EXPECT_EQ(kind("old.tga.png"), "png");
  EXPECT_EQ(kind("pic.tga.bak"), "none");
  EXPECT_EQ(kind("data.png/readme"), "none");
  EXPECT_EQ(kind("pic"), "none");
  EXPECT_EQ(kind("pic.bmp"), "none");
  EXPECT_EQ(kind(""), "none");
}
