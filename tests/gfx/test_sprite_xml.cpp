// The small XML reader (attributes by position, bounded reads of damaged files) and sprites composed
// from picture-description files: parts from numbered and named pictures, mirrored parts, frames.
#include <gtest/gtest.h>

#include <cstring>

#include "gfx/sprite_xml.h"
#include "test_sprite_util.h"

namespace {

using sprtest::Base;
using sprtest::TexelAt;

bool Parse(const std::string& text, gXmlNode& root, size_t* offset = nullptr) {
  size_t at = 0;
  const char* why = nullptr;
  const bool ok = xmlParse(text.data(), text.size(), root, at, why);
  if (offset) *offset = at;
  if (!ok) {
    EXPECT_NE(why, nullptr);
  }
  return ok;
}

TEST(SpriteXml, AttributesAreKeptByPosition) {
  gXmlNode root;
  ASSERT_TRUE(Parse("\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- made by hand -->\n"
                    "<anim a=\"1\" b='two' c=\"-3\" time=\"4\">text\n"
                    "  <frame><part x=\"5\" y=\"&lt;6&gt;\"/></frame>\n"
                    "  <frame></frame>\n"
                    "</anim>\n",
                    root));
  EXPECT_EQ(root.name, "anim");
  ASSERT_EQ(root.attributes.size(), 4u);
  EXPECT_EQ(root.Int(1), 1);
  EXPECT_EQ(*root.Attr(2), "two");
  EXPECT_EQ(root.Int(2, 9), 9) << "not a number: the default";
  EXPECT_EQ(root.Int(3), -3);
  EXPECT_EQ(root.Int(4), 4);
  EXPECT_EQ(root.Attr(5), nullptr);
  EXPECT_EQ(root.Attr(0), nullptr);
  ASSERT_EQ(root.children.size(), 2u);
  ASSERT_EQ(root.children[0].children.size(), 1u);
  EXPECT_EQ(*root.children[0].children[0].Attr(2), "<6>");
  EXPECT_TRUE(root.children[1].children.empty());
}

TEST(SpriteXml, DamagedDocumentsFailWithTheirOffset) {
  gXmlNode root;
  size_t at = 0;
  const std::string good = "<a x=\"1\"><b y=\"2\"/></a>";
  // Every cut of a good document fails inside the data, never past it.
  for (size_t n = 0; n < good.size(); ++n) {
    EXPECT_FALSE(Parse(good.substr(0, n), root, &at)) << n;
    EXPECT_LE(at, n);
  }
  EXPECT_FALSE(Parse("<a></b>", root, &at));
  EXPECT_EQ(at, 6u);
  EXPECT_FALSE(Parse("<a x=1/>", root));
  EXPECT_FALSE(Parse("<a x=\"1\"y=\"2\"/>", root)) << "attributes need space between them";
  EXPECT_FALSE(Parse("<a/><b/>", root)) << "one root";
  EXPECT_FALSE(Parse("<!-- never closed <a/>", root));
  EXPECT_FALSE(Parse("", root));
  // Nesting deeper than any description needs is refused instead of exhausting the stack.
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "<a>";
  EXPECT_FALSE(Parse(deep, root));
  std::string many = "<a ";
  for (int i = 0; i < 100; ++i) many += "k" + std::to_string(i) + "=\"1\" ";
  EXPECT_FALSE(Parse(many + "/>", root));
  // The reader stops at the length given: a terminator-free buffer is never read past.
  const char cut[] = {'<', 'a', '/'};
  const char* why = nullptr;
  EXPECT_FALSE(xmlParse(cut, sizeof cut, root, at, why));
}

TEST(SpriteXml, MangledDocumentsNeverReadPastTheirLength) {
  const std::string good =
      "<?xml version=\"1.0\"?><s a=\"1\" b='2'><!-- c --><f><p x=\"&amp;\"/></f><f/></s>";
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
  for (int round = 0; round < 3000; ++round) {
    std::string doc = good;
    for (int k = 0, n = 1 + int(next() % 4); k < n; ++k) {
      const size_t at = next() % doc.size();
      switch (next() % 3) {
        case 0: doc[at] = "<>/=\"'&!-? a"[next() % 13]; break;
        case 1: doc.erase(at, 1 + next() % 3); break;
        default: doc.insert(at, 1, "<>/\"'"[next() % 5]); break;
      }
      if (doc.empty()) doc = "<";
    }
    // A copy of exactly the document's size: reading a byte past it is a fault under sanitizers.
    std::vector<char> exact(doc.begin(), doc.end());
    gXmlNode root;
    size_t at = 0;
    const char* why = nullptr;
    if (!xmlParse(exact.data(), exact.size(), root, at, why)) {
      EXPECT_LE(at, exact.size());
      EXPECT_NE(why, nullptr);
    }
  }
}

class SpriteDescription : public ::testing::Test {
 protected:
  void SetUp() override { sprtest::EnsureRenderer(); }
};

// Part attributes: 1 id, 2-3 source x/y, 4-5 size (negative mirrors), 6 unused, 7-8 place in the
// frame, 9-10 frame size, 11 source picture.
std::string Part(int sx, int sy, int w, int h, int fx, int fy, const char* src) {
  char buf[160];
  std::snprintf(buf, sizeof buf,
                "<p id=\"x\" sx=\"%d\" sy=\"%d\" w=\"%d\" h=\"%d\" u=\"0\" fx=\"%d\" fy=\"%d\" fw=\"16\" fh=\"8\" "
                "src=\"%s\"/>",
                sx, sy, w, h, fx, fy, src);
  return buf;
}

TEST_F(SpriteDescription, FramesAreComposedFromPartsOfSeveralPictures) {
  const uint32_t red = 0xFFFF0000u, green = 0xFF00FF00u, blue = 0xFF0000FFu, yellow = 0xFFFFFF00u,
                 white = 0xFFFFFFFFu;
  sprtest::WritePng("desc/walk.png", 8, 8, [&](int x, int) { return x < 4 ? red : green; });
  sprtest::WritePng("desc/walk_01.png", 8, 8, [&](int, int) { return blue; });
  sprtest::WritePng("desc/parts/other.png", 8, 8, [&](int x, int) { return x < 4 ? yellow : white; });
  sprtest::WriteText("desc/walk.xml", "<?xml version=\"1.0\"?>\n<sprite name=\"walk\" a=\"0\" b=\"0\" time=\"3\">\n"
                                      "<frame>" + Part(0, 0, 8, 8, 0, 0, "0") + Part(0, 0, 8, 8, 8, 0, "1") +
                                      "</frame>\n<frame>" + Part(0, 0, -8, -8, 0, 0, "@parts\\other.png") +
                                      "</frame>\n</sprite>\n");
  CSprite* s = sprGet("desc/walk.png");
  ASSERT_NE(s, nullptr);
  CBaseSprite* b = Base(s);
  EXPECT_TRUE(b->composed);
  EXPECT_EQ(sprWidth(s), 16) << "frame size from the parts";
  EXPECT_EQ(sprHeight(s), 8);
  ASSERT_EQ(b->Rows(), 2);
  EXPECT_EQ(b->frameCount, 2) << "one frame per frame element";
  EXPECT_EQ(sprAnimationSteps(s), 6) << "three steps per frame, two frames";
  EXPECT_EQ(TexelAt(s, 0, 1, 1), red);
  EXPECT_EQ(TexelAt(s, 0, 5, 1), green);
  EXPECT_EQ(TexelAt(s, 0, 9, 1), blue) << "\"1\" names walk_01.png";
  EXPECT_EQ(TexelAt(s, 1, 1, 1), white) << "mirrored: the last source column comes first";
  EXPECT_EQ(TexelAt(s, 1, 6, 6), yellow);
  EXPECT_EQ(TexelAt(s, 1, 12, 1), 0u) << "nothing placed there";
  EXPECT_EQ(b->FrameRow(2), 0);
  EXPECT_EQ(b->FrameRow(3), 1);
  // Reloading composes again; a library "time" would not cut the composed frames.
  sprReleaseAllTextures();
  sprReloadAll();
  EXPECT_EQ(b->Rows(), 2);
  EXPECT_EQ(b->frameCount, 2);
  EXPECT_EQ(TexelAt(s, 0, 9, 1), blue);
  sprRelease(s);
}

TEST_F(SpriteDescription, BrokenDescriptionsFallBackOrSkipWithOneLine) {
  sprtest::WritePng("desc/plain.png", 8, 8, [](int, int) { return 0xFF123456u; });
  sprtest::WriteText("desc/plain.xml", "<sprite a=\"1\" b=\"2\" c=\"3\" d=\"4\"><frame>");
  imgtest::ErrorCapture log;
  CSprite* s = sprGet("desc/plain.png");
  ASSERT_NE(s, nullptr);
  EXPECT_FALSE(Base(s)->composed) << "a description that does not parse is no description";
  EXPECT_EQ(TexelAt(s, 0, 0, 0), 0xFF123456u);
  EXPECT_EQ(log.LinesNaming("desc/plain.xml"), 1);
  sprRelease(s);

  // Short parts are skipped (one line for the file); a missing source picture loses only its parts.
  sprtest::WritePng("desc/short.png", 8, 8, [](int, int) { return 0xFF00FF00u; });
  sprtest::WriteText("desc/short.xml", "<s a=\"\" b=\"\" c=\"\" d=\"1\"><f><p a=\"1\" b=\"2\"/><p/>" +
                                           Part(0, 0, 8, 8, 0, 0, "0") + Part(0, 0, 8, 8, 8, 0, "7") +
                                           "</f></s>");
  imgtest::ErrorCapture log2;
  s = sprGet("desc/short.png");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(log2.LinesNaming("desc/short.xml"), 1);
  EXPECT_EQ(log2.LinesNaming("desc/short_07.png"), 1);
  EXPECT_EQ(TexelAt(s, 0, 2, 2), 0xFF00FF00u);
  EXPECT_EQ(TexelAt(s, 0, 10, 2), 0u);
  sprRelease(s);

  // Absurd sizes and places are clipped to the source picture, never read past it.
  sprtest::WriteText("desc/huge.xml", "<s a=\"\" b=\"\" c=\"\" d=\"1\"><f>" +
                                          Part(-5, 4, 99999, -99999, 30000, -40000, "0") + "</f></s>");
  sprtest::WritePng("desc/huge.png", 8, 8, [](int, int) { return 0xFF0000FFu; });
  s = sprGet("desc/huge.png");
  ASSERT_NE(s, nullptr);
  for (const SpriteTile& t : Base(s)->frames[0]) {
    EXPECT_LE(t.right - t.left, 8);
    EXPECT_LE(t.bottom - t.top, 8);
  }
  sprRelease(s);
}

TEST_F(SpriteDescription, JpegPicturesIgnoreDescriptions) {
  std::vector<uint8_t> grey(8 * 8 * 3, 200);
  imgtest::writeFile("desc/photo.jpg", imgtest::jpeg(8, 8, 3, grey));
  sprtest::WriteText("desc/photo.xml", "<s a=\"\" b=\"\" c=\"\" d=\"1\"><f>" + Part(0, 0, 8, 8, 0, 0, "0") +
                                           "</f></s>");
  CSprite* s = sprGet("desc/photo.jpg");
  ASSERT_NE(s, nullptr);
  EXPECT_FALSE(Base(s)->composed);
  EXPECT_EQ(sprWidth(s), 8);
  sprRelease(s);
}

}  // namespace
