// Keyframe text layout with the demo's font: forced breaks, lines broken toward an even width,
// and the fit scale that shrinks a text into a box too small for it. What must hold is checked
// with the font's own measures: every line inside the box at the fit scale, all lines together
// inside its height.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "anim/kf_library.h"
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "support/null_renderer.h"

namespace {

class KfLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* src = std::getenv("MM_SOURCE_DIR");
    if (!src) GTEST_SKIP() << "MM_SOURCE_DIR is not set";
    ASSERT_TRUE(testkit::StartNullRenderer("keyframe layout"));
    font = sprGetFont((std::string(src) + "/demo/data/fonts/sans16.png").c_str());
    ASSERT_NE(font, nullptr);
    ASSERT_GT(fontLineHeight(font), 0);
    o.font = font;
  }
  void TearDown() override {
    o.font = nullptr;  // released here, not by the object
    if (font) sprRelease(font);
  }
  float Width(const std::u16string& s) const { return float(fontTextWidth(font, s.c_str())); }
  void ExpectInsideBox() const {
    const float H = float(fontLineHeight(font));
    EXPECT_LE(H * o.fitScale * float(o.lines.size()), o.textBoxHeight + 0.01f);
    for (const auto& l : o.lines) EXPECT_LE(Width(l) * o.fitScale, o.textBoxWidth + 0.01f);
  }
  CSprite* font = nullptr;
  C_AnimationObject o;
};

TEST_F(KfLayout, ForcedBreaksAndShortTexts) {
  o.textBoxWidth = 600;
  o.textBoxHeight = 200;
  kfLayoutText(o, u"Hello meadow");
  ASSERT_EQ(o.lines.size(), 1u);
  EXPECT_EQ(o.lines[0], u"Hello meadow");
  EXPECT_FLOAT_EQ(o.fitScale, 1.0f);
  kfLayoutText(o, u"First<>Second<>Third");
  ASSERT_EQ(o.lines.size(), 3u);
  EXPECT_EQ(o.lines[1], u"Second");
  EXPECT_FLOAT_EQ(o.fitScale, 1.0f);
}

TEST_F(KfLayout, LongTextsBreakIntoEvenLinesInsideTheBox) {
  const std::u16string text = u"The bee has found the sunniest flower of the whole meadow and hums";
  const float total = Width(text + u" ");
  o.textBoxWidth = total / 2.5f;  // needs three or four lines
  o.textBoxHeight = float(fontLineHeight(font)) * 10;
  kfLayoutText(o, text);
  EXPECT_GE(o.lines.size(), 3u);
  EXPECT_LE(o.lines.size(), 4u);
  EXPECT_FLOAT_EQ(o.fitScale, 1.0f) << "tall enough: nothing shrinks";
  ExpectInsideBox();
  std::u16string joined;
  for (const auto& l : o.lines) joined += (joined.empty() ? u"" : u" ") + l;
  EXPECT_EQ(joined, text) << "no word lost or doubled";
}

TEST_F(KfLayout, ATextTooBigForItsBoxShrinks) {
  o.textBoxWidth = 120;
  o.textBoxHeight = float(fontLineHeight(font)) * 1.5f;
  kfLayoutText(o, u"Many words that will never fit in one small line of this box");
  EXPECT_LT(o.fitScale, 1.0f);
  EXPECT_GT(o.fitScale, 0.0f);
  ExpectInsideBox();
  // A single word wider than the box shrinks to the box's width.
  o.textBoxHeight = 100;
  kfLayoutText(o, u"Unbreakablewordthatistoowide");
  ASSERT_EQ(o.lines.size(), 1u);
  EXPECT_NEAR(Width(o.lines[0]) * o.fitScale, 120.0f, 0.5f);
}

}  // namespace
