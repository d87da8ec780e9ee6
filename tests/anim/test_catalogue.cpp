// The animation catalogue: reading animations.xml (defaults, limits, broken files), lookups by
// hash, groups and the counts that keep sprites loaded, copies that count, and drawing.
#include <gtest/gtest.h>

#include "support/null_renderer.h"

#include <cstdlib>

#include "anim/anim_catalogue.h"
#include "anim_test_util.h"
#include "files/name_hash.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"

using namespace animtest;
using Core::animManager;

namespace {

class NullRendererEnv : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(testkit::StartNullRenderer("anim tests")); }
  void TearDown() override {
    animDone();
    testkit::StopNullRenderer();
  }
};
const auto* g_env = ::testing::AddGlobalTestEnvironment(new NullRendererEnv);

const char* kCatalogue = R"(<?xml version="1.0"?>
<Animations>
  <Group name="start">
    <Animation id="mill" group="always" path="data/anims/mill.png" period="800" frames="4" isLoop="1"/>
    <ANIMATION id="bird" group="always" path="data/anims/bird.png" frames="2" isFlipX="1" isNoCenter="1"/>
  </Group>
  <Animation id="glow" group="skin1" path="data/anims/glow.png" period="0" isAdd="1" StickOnEnd="1" isReverse="1"/>
  <Animation id="wide" group="skin1" path="data/anims/none.png" frames="128" period="abc"/>
  <Animation id="" path="data/anims/mill.png"/>
  <Animation id="ghost" group="skin2" path="data/anims/missing.png"/>
  <Animation id="loose"/>
  <NotAnAnimation id="other"/>
</Animations>
)";

class Catalogue : public ::testing::Test {
 protected:
  void SetUp() override {
    writeStrip("data/anims/mill.png", 16, 8, 4);
    writeStrip("data/anims/bird.png", 8, 8, 2);
    writeStrip("data/anims/glow.png", 4, 4, 1);
    writeStrip("data/anims/none.png", 4, 4, 1);
    writeText("data/animations.xml", kCatalogue);
    ASSERT_TRUE(animManager().LoadAnimationCatalogue());
  }
  void TearDown() override { animManager().Clear(); }

  static const Core::cAnimationManager::Entry& Entry(const char* id) {
    const auto* e = animManager().Find(NameHash(id));
    EXPECT_NE(e, nullptr) << id;
    static Core::cAnimationManager::Entry none;
    return e ? *e : none;
  }
  static int SpriteRefs(CSprite* s) {
    auto* b = dynamic_cast<CBaseSprite*>(s);
    return b ? b->refs : 0;
  }
};

TEST_F(Catalogue, ReadsEveryAnimationElementWithItsDefaultsSortedByHash) {
  ErrorCapture log;
  ASSERT_TRUE(animManager().LoadAnimationCatalogue());
  EXPECT_EQ(animManager().Size(), 6u) << "the empty id is skipped, other elements ignored";
  for (size_t i = 1; i < animManager().Size(); ++i)
    EXPECT_LT(animManager().At(i - 1).idHash, animManager().At(i).idHash);

  const AnimationState& mill = Entry("mill").state;
  EXPECT_EQ(mill.Period(), 800);
  EXPECT_EQ(mill.FrameCount(), 4);
  EXPECT_EQ(mill.Flags(), AnimationState::kLoop | AnimationState::kCentred);
  EXPECT_TRUE(mill.IsStopped());

  const AnimationState& bird = Entry("bird").state;
  EXPECT_EQ(bird.Period(), 1000) << "missing period";
  EXPECT_EQ(bird.Flags(), AnimationState::kFlipX) << "not centred, not looping";

  const AnimationState& glow = Entry("glow").state;
  EXPECT_EQ(glow.Period(), 1000) << "period 0";
  EXPECT_EQ(glow.Flags(), AnimationState::kAdditive | AnimationState::kCentred | AnimationState::kReverse |
                              AnimationState::kHoldOnEnd);
  EXPECT_TRUE(glow.Timer().Has(PeriodTimer::kHoldAtEnd)) << "the timer holds with StickOnEnd";

  const AnimationState& wide = Entry("wide").state;
  EXPECT_EQ(wide.FrameCount(), 1) << "128 frames modulo 128 is one frame, not zero";
  EXPECT_EQ(wide.Period(), 1000);
  EXPECT_EQ(Entry("wide").groupHash, NameHash("skin1"));

  const std::string text = log.Text();
  EXPECT_NE(text.find("data/animations.xml: line 8: attribute \"period\" = \"abc\" is not a number"),
            std::string::npos) << text;
  EXPECT_NE(text.find("data/animations.xml: line 9: animation without a usable \"id\""), std::string::npos);
}

TEST_F(Catalogue, LookupsByNameAndHashFindOnlyWhatIsThere) {
  EXPECT_STREQ(animManager().AnimationNameOf(NameHash("glow")), "glow");
  EXPECT_EQ(animManager().AnimationNameOf(NameHash("Glow")), nullptr) << "names are case-sensitive";
  EXPECT_EQ(animManager().AnimationNameOf(0), nullptr);
  EXPECT_FALSE(animManager().GetAnimation("nothing").IsValid());
  EXPECT_FALSE(animManager().GetAnimation("").IsValid());
  AnimationState a = animManager().GetAnimationByHash(NameHash("bird"));
  EXPECT_TRUE(a.IsValid());
  EXPECT_EQ(a.NameHash(), NameHash("bird"));

  // A large catalogue: every one of many names is found by the binary search, none of the others.
  std::string xml = "<a>";
  for (int i = 0; i < 2500; ++i) xml += "<Animation id=\"anim" + std::to_string(i) + "\"/>";
  writeText("data/big.xml", xml + "</a>");
  ASSERT_TRUE(animManager().LoadAnimationCatalogue("data/big.xml"));
  ASSERT_EQ(animManager().Size(), 2500u);
  for (int i = 0; i < 2500; ++i) {
    const std::string id = "anim" + std::to_string(i);
    ASSERT_STREQ(animManager().AnimationNameOf(NameHash(id)), id.c_str());
  }
  EXPECT_EQ(animManager().AnimationNameOf(NameHash("anim2500")), nullptr);
}

TEST_F(Catalogue, GroupsLoadAndReleaseTheirSpritesByCount) {
  animManager().LoadAnimationGroup("skin1");
  EXPECT_EQ(Entry("glow").refs, 1);
  EXPECT_EQ(Entry("wide").refs, 1);
  EXPECT_NE(Entry("glow").sprite, nullptr);
  EXPECT_EQ(Entry("mill").sprite, nullptr) << "other groups stay unloaded";
  EXPECT_EQ(Entry("mill").refs, 0);

  {
    AnimationState user = animManager().GetAnimation("glow");
    EXPECT_EQ(Entry("glow").refs, 2);
    animManager().UnloadAnimationGroup("skin1");
    EXPECT_EQ(Entry("glow").refs, 1);
    EXPECT_NE(Entry("glow").sprite, nullptr) << "a user still holds it";
    EXPECT_EQ(Entry("wide").sprite, nullptr) << "released with its last user";
  }
  EXPECT_EQ(Entry("glow").refs, 0);
  EXPECT_EQ(Entry("glow").sprite, nullptr);

  animManager().UnloadAnimationGroup("skin1");  // one unload too many changes nothing
  EXPECT_EQ(Entry("glow").refs, 0);
  animManager().LoadAnimationGroup("skin1");
  EXPECT_EQ(Entry("glow").refs, 1);
  animManager().UnloadAnimationGroup("skin1");
}

TEST_F(Catalogue, AnimInitLoadsTheAlwaysGroupUnlessDelayed) {
  animManager().Clear();
  ASSERT_TRUE(animInit(true, false));  // reads the catalogue itself when no stage did
  EXPECT_EQ(animManager().Size(), 6u);
  EXPECT_EQ(Entry("mill").sprite, nullptr);
  EXPECT_EQ(Entry("mill").refs, 0);
  ASSERT_TRUE(animInit(false, false));
  EXPECT_NE(Entry("mill").sprite, nullptr);
  EXPECT_NE(Entry("bird").sprite, nullptr);
  EXPECT_EQ(Entry("mill").refs, 1);
  EXPECT_EQ(Entry("glow").sprite, nullptr);
  EXPECT_TRUE(animManager().IsRead());
}

TEST_F(Catalogue, CopiesCountTheEntryAndTheSprite) {
  AnimationState a = animManager().GetAnimation("mill");
  ASSERT_NE(a.Sprite(), nullptr);
  CSprite* sprite = a.Sprite();
  const int base = SpriteRefs(sprite);  // the entry's own reference and a's
  EXPECT_EQ(Entry("mill").refs, 1);
  {
    AnimationState b(a);
    EXPECT_EQ(Entry("mill").refs, 2);
    EXPECT_EQ(SpriteRefs(sprite), base + 1);
    AnimationState c;
    c = b;
    EXPECT_EQ(Entry("mill").refs, 3);
    EXPECT_EQ(SpriteRefs(sprite), base + 2);
    c = c;  // self-assignment keeps the count
    EXPECT_EQ(Entry("mill").refs, 3);
    AnimationState d(std::move(c));  // a move hands the references over
    EXPECT_EQ(Entry("mill").refs, 3);
    EXPECT_FALSE(c.IsValid());
    EXPECT_EQ(c.Sprite(), nullptr);
    b = animManager().GetAnimation("bird");  // b lets go of mill
    EXPECT_EQ(Entry("mill").refs, 2);
    EXPECT_EQ(Entry("bird").refs, 1);
  }
  EXPECT_EQ(Entry("mill").refs, 1);
  EXPECT_EQ(Entry("bird").refs, 0);
  EXPECT_EQ(Entry("bird").sprite, nullptr);
  EXPECT_EQ(SpriteRefs(sprite), base);

  a.Release();
  EXPECT_EQ(Entry("mill").refs, 0);
  EXPECT_EQ(Entry("mill").sprite, nullptr);
  EXPECT_EQ(a.Sprite(), nullptr);
  a.Release();  // twice is harmless
  EXPECT_EQ(Entry("mill").refs, 0);
}

TEST_F(Catalogue, ACopyOutlivesTheCatalogueThatMadeIt) {
  AnimationState a = animManager().GetAnimation("mill");
  a.Start();
  animManager().Clear();  // the entry and its reference are gone; the copy keeps its own
  ASSERT_NE(a.Sprite(), nullptr);
  EXPECT_GE(SpriteRefs(a.Sprite()), 1);
  EXPECT_EQ(verticesDrawnBy([&] { a.DrawCurrent(100, 100); }), 4);
  AnimationState b = a;
  EXPECT_EQ(verticesDrawnBy([&] { b.DrawCurrent(100, 100); }), 4);
}

TEST_F(Catalogue, UnknownAnimationsAndMissingPicturesDrawNothing) {
  AnimationState none = animManager().GetAnimation("nothing");
  EXPECT_EQ(verticesDrawnBy([&] {
              none.DrawCurrent(10, 10);
              none.DrawFaded(10.0f, 10.0f, 128, 2.0f, 2.0f);
              none.DrawRotated(10, 10, 1.0f, kModeAuto, 15, 0xFFFFFFFF, 1.0f, 0, -1);
            }),
            0);

  ErrorCapture log;
  AnimationState ghost = animManager().GetAnimation("ghost");
  EXPECT_TRUE(ghost.IsValid());
  EXPECT_EQ(ghost.Sprite(), nullptr);
  EXPECT_EQ(verticesDrawnBy([&] { ghost.DrawCurrent(10, 10); }), 0);
  AnimationState again = animManager().GetAnimation("ghost");
  const std::string text = log.Text();
  const auto first = text.find("animation \"ghost\": picture \"data/anims/missing.png\" cannot be loaded");
  EXPECT_NE(first, std::string::npos) << text;
  EXPECT_EQ(text.find("animation \"ghost\"", first + 1), std::string::npos) << "reported once";

  AnimationState loose = animManager().GetAnimation("loose");
  EXPECT_EQ(verticesDrawnBy([&] { loose.DrawCurrent(10, 10); }), 0);

  AnimationState mill = animManager().GetAnimation("mill");
  EXPECT_EQ(verticesDrawnBy([&] {
              mill.DrawCurrent(100, 100);
              mill.DrawFrame(100, 100, 2);
              mill.DrawFrameScaled(100, 100, 2.0f, 2.0f, 1);
              mill.DrawFaded(100, 100, 128, 1.0f, 1.0f);
              mill.DrawFadedDimming(100, 100, 64, 1.5f);
              mill.DrawRotated(100.0f, 100.0f, 0.5f, kModeAuto, 15, 0xFFFFFFFF, 1.0f, 0, 3);
            }),
            24);
}

TEST_F(Catalogue, BrokenXmlIsReportedWithItsLineAndKeepsWhatWasRead) {
  writeText("data/animations.xml",
            "<Animations>\n"
            "  <Animation id=\"first\" path=\"data/anims/mill.png\"/>\n"
            "  <Animation id=\"second\" period=\"100\">\n"
            "  </Animaton>\n"
            "</Animations>\n");
  ErrorCapture log;
  EXPECT_FALSE(animManager().LoadAnimationCatalogue());
  const std::string text = log.Text();
  EXPECT_NE(text.find("data/animations.xml: line 4: "), std::string::npos) << text;
  EXPECT_NE(animManager().Find(NameHash("first")), nullptr);

  // Garbage, an empty file and a missing file: no entries, no crash, a line each.
  writeText("data/animations.xml", std::string("\x01\x02<<<>>\xff", 8));
  EXPECT_FALSE(animManager().LoadAnimationCatalogue());
  writeText("data/animations.xml", "");
  EXPECT_FALSE(animManager().LoadAnimationCatalogue());
  EXPECT_EQ(animManager().Size(), 0u);
  EXPECT_FALSE(animManager().LoadAnimationCatalogue("data/absent.xml"));
  EXPECT_FALSE(animManager().GetAnimation("first").IsValid());
  const std::string more = log.Text();
  EXPECT_NE(more.find("data/absent.xml: cannot be read"), std::string::npos) << more;
}

TEST_F(Catalogue, OverlongAttributesAreIgnoredAndReported) {
  const std::string longId(50, 'x'), longGroup(10, 'g'), longPath(100, 'p');
  writeText("data/animations.xml", "<a>\n<Animation id=\"" + longId + "\"/>\n<Animation id=\"" +
                                       std::string(49, 'y') + "\" group=\"" + longGroup + "\" path=\"" +
                                       longPath + "\"/>\n</a>");
  ErrorCapture log;
  ASSERT_TRUE(animManager().LoadAnimationCatalogue());
  ASSERT_EQ(animManager().Size(), 1u) << "a 50-character id is not an id";
  EXPECT_TRUE(animManager().At(0).group.empty());
  EXPECT_TRUE(animManager().At(0).path.empty());
  const std::string text = log.Text();
  EXPECT_NE(text.find("line 3: attribute \"group\" is longer than 9 characters"), std::string::npos) << text;
  EXPECT_NE(text.find("line 3: attribute \"path\" is longer than 99 characters"), std::string::npos);
}

TEST_F(Catalogue, DumpListsLoadedEntriesInTheGameLog) {
  ASSERT_TRUE(gameLogOpen("anim_dump.txt"));
  animManager().LoadAnimationGroup("always");
  animManager().DumpAnimations();
  gameLogClose();
  const std::string text = readText("anim_dump.txt");
  EXPECT_NE(text.find("[cAnimationManager] mill - refNum: 1"), std::string::npos) << text;
  EXPECT_NE(text.find("[cAnimationManager] loaded 2"), std::string::npos);
  EXPECT_NE(text.find("[cAnimationManager] total 6"), std::string::npos);
  EXPECT_EQ(text.find("glow"), std::string::npos);
  animManager().UnloadAnimationGroup("always");

  // With the dump switch a sprite loaded on first request is logged; one already loaded is not.
  ASSERT_TRUE(gameLogOpen("anim_demand.txt"));
  animManager().SetDumpOnDemand(true);
  AnimationState a = animManager().GetAnimation("glow");
  AnimationState b = animManager().GetAnimation("glow");
  animManager().SetDumpOnDemand(false);
  gameLogClose();
  const std::string demand = readText("anim_demand.txt");
  EXPECT_NE(demand.find("[cAnimationManager] glow loaded on demand refNum : 0"), std::string::npos) << demand;
  EXPECT_EQ(demand.find("refNum : 1"), std::string::npos);
}

}  // namespace

namespace {

// The shipped demo catalogue reads without a complaint and names pictures that exist.
TEST(DemoCatalogue, ReadsCleanlyAndItsPicturesExist) {
  const char* source = std::getenv("MM_SOURCE_DIR");
  if (!source) GTEST_SKIP() << "MM_SOURCE_DIR is not set";
  const std::string demo = std::string(source) + "/demo/";
  ErrorCapture log;
  ASSERT_TRUE(animManager().LoadAnimationCatalogue((demo + "data/animations.xml").c_str()));
  EXPECT_EQ(log.Text(), "");
  int always = 0;
  for (size_t i = 0; i < animManager().Size(); ++i) {
    const auto& e = animManager().At(i);
    EXPECT_FALSE(readText(demo + e.path).empty()) << e.path;
    always += e.groupHash == NameHash("always");
  }
  EXPECT_GE(always, 2);
  animManager().Clear();
}

}  // namespace
