// The text form of keyframe files: binary to text to binary gives the same bytes (odd values
// included), hand-written text means what the documentation says, and faults name their line.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "anim/kf_text.h"
#include "kf_test_util.h"

using namespace kftest;

namespace {

KfObjects Everything() {
  auto root = object("Sun \"big\"\n\\ray\x01");
  root->normalBlend = 0;
  root->valueA = -3;
  root->valueB = 123456;
  root->pictureName = "\\data\\comic\\sun.png";
  root->frameCount = 4;
  root->maskName = "data/comic/sun.msk";
  root->textKey = "#COMIC_SUN";
  root->textNormalBlend = 0;
  root->textBoxWidth = 123.25f;
  root->textBoxHeight = -0.0f;
  root->fontName = "\\TextFont";
  root->textHAlign = 1;
  root->textVAlign = -1;
  root->position = {vkey(0, 1, 2), vkey(0.1f, 1e-7f, -3.5e12f, 2)};
  root->position[1].filterX = {9, 0.3f, -0.0f, 1.7f, 2.5f};
  root->position[1].markerType = 2;
  root->position[1].soundName = "long_wind";
  root->size = {vkey(0, 64, 32)};
  root->scale = {fkey(0.25f, 1), fkey(0, 2, 1)};  // stored out of order: kept as stored
  float nan = 0;
  const uint32_t bits = 0x7fc00123u;
  std::memcpy(&nan, &bits, 4);
  root->alpha = {fkey(0, nan), fkey(1, std::numeric_limits<float>::infinity(), 2)};
  root->rotation = {fkey(0, 3.14159274f, 5, 1.5f, 0, 0.5f, 0)};
  root->phase = {fkey(2, 0.999f)};
  root->colour = {ckey(0, 1, 2, 3), ckey(1, 250, 128, 0)};
  root->colour[0].unused = 77;
  root->colour[1].filterGreen.type = 1;
  auto child = addChild(*root, object(""));
  child->frameCount = -7;
  addChild(*child, object("grandchild"))->alpha = {fkey(0, 0.5f)};
  KfObjects list;
  list.push_back(std::move(root));
  list.push_back(object("second"));
  return list;
}

TEST(KfText, BinaryToTextAndBackKeepsEveryByte) {
  const std::string bytes = kfSerialize(Everything());
  KfObjects parsed;
  KfReadError err;
  ASSERT_TRUE(kfParse(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), parsed, err)) << err.reason;
  const std::string text = kfToText(parsed);
  KfObjects again;
  std::string error;
  ASSERT_TRUE(kfFromText(text, again, error)) << error << "\n" << text;
  EXPECT_EQ(kfSerialize(again), bytes);
  EXPECT_EQ(kfToText(again), text) << "and the text it prints is the same too";
  // The not-a-number kept its own bits.
  uint32_t bits = 0;
  std::memcpy(&bits, &again[0]->alpha[0].value, 4);
  EXPECT_EQ(bits, 0x7fc00123u);
  EXPECT_TRUE(std::signbit(again[0]->textBoxHeight));
}

TEST(KfText, HandWrittenTextMeansWhatItSays) {
  const char* text = R"(# a comment
object "Cloud" {
  picture "data/comic/cloud.png"
  box 200 40   # text box
  position {
    key 0 10 20
    key 1.5 110 20 ease smooth marker 2 sound "whoosh"   # both axes eased
  }
  colour {
    key 0 255 0 0 ease hold
  }
  object "Drop" {
    alpha { key 0 0.5 ease (3 1.5 0 0.5 0) }
  }
})";
  KfObjects objs;
  std::string error;
  ASSERT_TRUE(kfFromText(text, objs, error)) << error;
  ASSERT_EQ(objs.size(), 1u);
  const C_AnimationObject& c = *objs[0];
  EXPECT_EQ(c.name, "Cloud");
  EXPECT_EQ(c.normalBlend, 1) << "fields not given keep their defaults";
  EXPECT_EQ(c.frameCount, 1);
  EXPECT_FLOAT_EQ(c.textBoxWidth, 200);
  ASSERT_EQ(c.position.size(), 2u);
  EXPECT_EQ(c.position[1].filterX.type, 2);
  EXPECT_EQ(c.position[1].filterY.type, 2);
  EXPECT_EQ(c.position[1].markerType, 2);
  EXPECT_EQ(c.position[1].soundName, "whoosh");
  EXPECT_EQ(c.position[0].filterX.type, 0) << "linear when not said";
  EXPECT_EQ(c.colour[0].filterBlue.type, 1);
  ASSERT_EQ(c.children.size(), 1u);
  EXPECT_EQ(c.children[0]->parent, &c);
  const C_FilterDesc& f = c.children[0]->alpha[0].filter;
  EXPECT_EQ(f.type, 3);
  EXPECT_FLOAT_EQ(f.a, 1.5f);
  EXPECT_FLOAT_EQ(f.b, 0.5f);
}

TEST(KfText, FaultsNameTheirLine) {
  struct Case {
    const char* text;
    const char* want;
  } cases[] = {
      {"object \"a\" {\n  blend x\n}", "line 2"},
      {"object \"a\" {\n\n  wobble 3\n}", "line 3: unknown field \"wobble\""},
      {"object \"a\" {\n  scale {\n    key nan 1\n  }\n}", "line 3: a key time must be a finite number"},
      {"object \"a\" {\n  colour { key 0 256 0 0 }\n}", "line 2: a colour channel"},
      {"object \"a\" {\n  position { key 0 1 2 bounce 3 }\n}", "line 2: unknown key option"},
      {"object \"a\" {\n  picture \"unterminated\n}", "a text has no closing quote"},
      {"object \"a\" {\n  blend 1\n", "line 1: the object has no closing"},
      {"thing", "line 1: expected \"object\""},
  };
  for (const Case& c : cases) {
    KfObjects objs;
    std::string error;
    EXPECT_FALSE(kfFromText(c.text, objs, error)) << c.text;
    EXPECT_NE(error.find(c.want), std::string::npos) << c.text << " gave: " << error;
    EXPECT_TRUE(objs.empty());
  }
  // Nesting is bounded as in the binary reader.
  std::string deep;
  for (int i = 0; i < 49; ++i) deep += "object \"x\" {\n";
  for (int i = 0; i < 49; ++i) deep += "}\n";
  KfObjects objs;
  std::string error;
  EXPECT_FALSE(kfFromText(deep, objs, error));
  EXPECT_NE(error.find("48 deep"), std::string::npos) << error;
}

}  // namespace
