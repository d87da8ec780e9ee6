// Animation scripts: layers inside their time windows, placement and draw layers, sound cues once
// per cycle at their frame, states the script lacks; object sound tracks at phases of the owner's
// cycle; the section list behind "Include"; child-script lists and their templates.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "anim/anim_catalogue.h"
#include "anim/anim_child_script.h"
#include "anim/anim_script.h"
#include "anim/anim_sections.h"
#include "anim/anim_sound_track.h"
#include "anim/anim_sprite.h"
#include "anim_test_util.h"
#include "files/ini.h"
#include "gfx/render_device.h"

using namespace animtest;
using Core::animManager;
using Core::cAnimScript;

namespace {

const char* kScript = R"(
[Idle]
period = 2000
isCycle = 1
x = 5
y = 6
1 = body
2 = late
3 = blink
sounds = IdleSounds

[body]
anim = walk
x = 10
isCycle = 1

[late]
anim = glow
timeMin = 0.5
timeMax = 1.0
layer = 3

[blink]
anim = walk
timeMin = 0.25
timeMax = 0.5
layer = -2
xs = 2
ys = 0.5

[IdleSounds]
sound0 = step
anim0 = 0
frame0 = 2
num0 = 1
sound1 = chime
anim1 = 1
frame1 = 1
num1 = 1

[Zero]
period = 0
1 = body
)";

class AnimScript : public ::testing::Test {
 protected:
  void SetUp() override {
    writeStrip("data/anims/t_walk.png", 16, 8, 4);
    writeStrip("data/anims/t_glow.png", 8, 8, 2);
    writeText("data/t_script_anims.xml",
              "<a><Animation id=\"walk\" path=\"data/anims/t_walk.png\" period=\"1000\" frames=\"4\" isLoop=\"1\"/>"
              "<Animation id=\"glow\" path=\"data/anims/t_glow.png\" period=\"400\" frames=\"2\"/></a>");
    ASSERT_TRUE(animManager().LoadAnimationCatalogue("data/t_script_anims.xml"));
    writeText("data/t_script.ini", kScript);
    iniFreeAll();
    ASSERT_TRUE(player.LoadState("data/t_script.ini", "Idle"));
    ASSERT_TRUE(player.LoadState("data/t_script.ini", "Zero"));
  }
  void TearDown() override {
    animSpriteCaptureInto(nullptr);
    player.Stop();
    animManager().Clear();
  }

  std::vector<std::string> Visible() const {
    std::vector<std::string> out;
    for (const auto& l : player.VisibleLayers()) out.emplace_back(l.section);
    return out;
  }

  cAnimScript player;
};

using Names = std::vector<std::string>;

TEST_F(AnimScript, LayersTakePartOnlyInsideTheirTimeWindows) {
  ASSERT_TRUE(player.Play("Idle"));
  EXPECT_EQ(player.Timer().Period(), 2000);
  for (int t = 0; t < 2000; t += 25) {
    SCOPED_TRACE(t);
    if (t < 500)
      EXPECT_EQ(Visible(), (Names{"body"}));
    else if (t < 1000)
      EXPECT_EQ(Visible(), (Names{"body", "blink"}));
    else
      EXPECT_EQ(Visible(), (Names{"body", "late"}));
    player.Update(25);
  }
  // The state cycles: after 2000 ms it starts again with the body alone.
  EXPECT_TRUE(player.IsPlaying());
  EXPECT_EQ(Visible(), (Names{"body"}));
}

TEST_F(AnimScript, LayerTimesFramesAndPlacement) {
  ASSERT_TRUE(player.Play("Idle"));
  for (int i = 0; i < 60; ++i) player.Update(25);  // 1500 ms
  // The cycling body runs on the state's clock: 1500 ms into a 1000 ms walk of 4 frames is frame 2.
  // The late glow squeezes its 400 ms into the last 1000 ms of the state: half way, 200 ms, frame 1.
  const auto v = player.VisibleLayers();
  ASSERT_EQ(v.size(), 2u);
  EXPECT_EQ(v[0].animTime, 1500);
  EXPECT_EQ(v[0].frame, 2);
  EXPECT_EQ(v[1].animTime, 200);
  EXPECT_EQ(v[1].frame, 1);
  EXPECT_EQ(v[1].drawLayer, 3);

  // Drawn at (100, 200) with scale 2: the body's offset (10 + 5, 0 + 6) doubles; its 16 x 8 frame
  // doubles and is centred there. Only the layers within the asked range are drawn.
  std::vector<AnimSpriteQuad> quads;
  animSpriteCaptureInto(&quads);
  player.SetScale(2);
  player.Draw(100, 200, 0, 0);
  ASSERT_EQ(quads.size(), 1u);
  float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
  for (const auto& v4 : quads[0].v) {
    minX = std::min(minX, v4.x);
    maxX = std::max(maxX, v4.x);
    minY = std::min(minY, v4.y);
    maxY = std::max(maxY, v4.y);
  }
  EXPECT_FLOAT_EQ(minX, 130 - 16);
  EXPECT_FLOAT_EQ(maxX, 130 + 16);
  EXPECT_FLOAT_EQ(minY, 212 - 8);
  EXPECT_FLOAT_EQ(maxY, 212 + 8);
  quads.clear();
  player.Draw(100, 200, -255, 255);
  EXPECT_EQ(quads.size(), 2u);
  quads.clear();
  player.Draw(100, 200, 4, 255);
  EXPECT_TRUE(quads.empty());
  // A highlight draws the layer again over the same place, in its own mode and colour.
  cAnimScript::Highlight glow{kModeGlow, 15, 0x80FFFF00u};
  player.Draw(100, 200, 0, 0, &glow);
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_EQ(quads[1].modeWord, kModeGlow);
  EXPECT_EQ(quads[1].v[0].diffuse, 0x80FFFF00u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(quads[1].v[i].x, quads[0].v[i].x) << i;
    EXPECT_FLOAT_EQ(quads[1].v[i].y, quads[0].v[i].y) << i;
  }
  quads.clear();
  player.SetHidden(true);
  player.Draw(100, 200, -255, 255);
  EXPECT_TRUE(quads.empty());
}

TEST_F(AnimScript, CuesFireOncePerCycleAtTheirFrame) {
  std::vector<std::pair<int, std::string>> plays;
  int now = 0;
  player.SetCueListener([&](const char* s) { plays.emplace_back(now, s); });
  ASSERT_TRUE(player.Play("Idle"));
  for (; now < 6000; now += 25) player.Update(25);
  // "step" is tied to frame 2 of the body, which shows twice per 2000 ms cycle (500-749 and
  // 1500-1749 ms) for ten steps each: it plays once per cycle, and again in every new cycle.
  // "chime" is frame 1 of the late glow: 1500-1999 ms of each cycle.
  const std::vector<std::pair<int, std::string>> expect = {{500, "step"},   {1500, "chime"}, {2500, "step"},
                                                           {3500, "chime"}, {4500, "step"},  {5500, "chime"}};
  EXPECT_EQ(plays, expect);

  // Without sounds, or hidden, cues stay quiet.
  plays.clear();
  player.Play("Idle");
  player.SetSoundsOn(false);
  for (int i = 0; i < 80; ++i) player.Update(25);
  player.SetSoundsOn(true);
  player.SetHidden(true);
  for (int i = 0; i < 80; ++i) player.Update(25);
  EXPECT_TRUE(plays.empty());
}

TEST_F(AnimScript, PeriodsDurationsAndStatesTheScriptLacks) {
  ASSERT_TRUE(player.Play("Zero"));
  EXPECT_EQ(player.Timer().Period(), 2000) << "a period of 0 in the file plays for 2000 ms";
  ASSERT_TRUE(player.Play("Idle", 800));
  EXPECT_EQ(player.Timer().Period(), 800);

  EXPECT_FALSE(player.Play("Missing"));
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(player.CurrentState(), 0u);
  EXPECT_FALSE(player.Update(25));
  EXPECT_TRUE(player.VisibleLayers().empty());
  std::vector<AnimSpriteQuad> quads;
  animSpriteCaptureInto(&quads);
  player.Draw(0, 0, -255, 255);
  EXPECT_TRUE(quads.empty());

  ErrorCapture log;
  EXPECT_FALSE(player.LoadState("data/t_script.ini", "Nowhere"));
  EXPECT_FALSE(player.LoadState("data/t_no_script.ini", "Idle"));
  const std::string text = log.Text();
  EXPECT_NE(text.find("data/t_script.ini: animation script has no state \"Nowhere\""), std::string::npos) << text;
  EXPECT_NE(text.find("data/t_no_script.ini"), std::string::npos) << text;

  player.Stop();
  EXPECT_EQ(player.StateCount(), 0u);
  EXPECT_FALSE(player.Play("Idle"));
}

// ---- Object sound tracks ---------------------------------------------------------------------

TEST(SoundTrack, SlotsPlayAtPhasesOfTheOwnersCycle) {
  writeText("data/t_sounds.ini",
            "[mill]\n"
            "sound0 = creak\nphase0 = 0.25\nperiod0 = 0.5\nisRepeat0 = 1\n"
            "sound1 = knock\nphase1 = 0.5\nperiod1 = 0.5\nisRepeat1 = 1\n"
            "sound2 = tick\nphase2 = 300\nperiod2 = 200\nisRepeat2 = 1\nabsoluteTime2 = 1\nisCycle2 = 1\n"
            "sound4 = lost\n");
  iniFreeAll();
  Core::cObjectSoundTrack track;
  EXPECT_FALSE(track.Load("data/t_no_sounds.ini", "mill"));
  ASSERT_TRUE(track.Load("data/t_sounds.ini", "mill"));
  EXPECT_TRUE(track.At(2).cycle);
  EXPECT_TRUE(track.At(3).sound.empty()) << "slot 3 is empty; slot 4 is still read";
  EXPECT_EQ(track.At(4).sound, "lost");

  std::vector<std::pair<int, std::string>> plays;
  int now = 0;
  track.SetPlayListener([&](const char* s) { plays.emplace_back(now, s); });
  // creak: a 4000 ms owner cycle, first at a quarter (1000 ms), then every half cycle (2000 ms)
  // until the cycle ends at 4000 ms. knock: no owner cycle, so it plays once at 0.5 x 1000 ms and its
  // repeat of no length never fires. tick: absolute times in a 1000 ms cycle, 300 then every 200.
  track.StartSlot(0, Core::kNoSoundPosition, 4000);
  track.StartSlot(1, 512, 0);
  track.StartSlot(2, Core::kNoSoundPosition, 1000);
  track.StartSlot(3, Core::kNoSoundPosition, 1000);  // no sound: nothing
  for (now = 25; now <= 8000; now += 25) track.Update(25);
  std::sort(plays.begin(), plays.end());
  const std::vector<std::pair<int, std::string>> expect = {{300, "tick"},   {500, "knock"}, {500, "tick"},
                                                           {700, "tick"},   {900, "tick"},  {1000, "creak"},
                                                           {3000, "creak"}};
  EXPECT_EQ(plays, expect);
}

// ---- Section lists and child scripts --------------------------------------------------------

TEST(SectionList, FollowsIncludesAndGrowsPastAnyFixedBuffer) {
  std::string big = "[Include]\n0 = data/t_inc_a.ini\n1 = data/t_main.ini\n2 = DATA\\T_INC_A.INI\n3 = data/t_inc_b.ini\n"
                    "4 =\n5 = data/t_inc_c.ini\n";
  // 600 sections of 40-byte names: far more than a 10000-byte list could hold.
  for (int i = 0; i < 600; ++i) big += "[section_with_a_long_name_number_" + std::to_string(100000 + i) + "]\n";
  writeText("data/t_main.ini", big);
  writeText("data/t_inc_a.ini", "[a1]\n[a2]\n");
  writeText("data/t_inc_b.ini", "[b1]\n");
  writeText("data/t_inc_c.ini", "[c1]\n");
  iniFreeAll();
  const auto list = Core::animSectionList("data/t_main.ini");
  ASSERT_EQ(list.size(), 1u + 600u + 2u + 1u);
  EXPECT_EQ(list[0].name, "Include");
  EXPECT_EQ(list[600].name, "section_with_a_long_name_number_100599");
  EXPECT_EQ(list[601].name, "a1");
  EXPECT_EQ(list[601].file, "data/t_inc_a.ini");
  EXPECT_EQ(list[602].name, "a2");
  EXPECT_EQ(list[603].name, "b1") << "the main file and a second spelling of an include are listed once";
  EXPECT_EQ(Core::animSectionFile(list, "B1", "x"), "data/t_inc_b.ini");
  EXPECT_EQ(Core::animSectionFile(list, "zz", "x"), "x");
  EXPECT_TRUE(Core::animSectionList("data/t_nothing.ini").empty());
}

struct Icon {
  std::string type, subType, section;
  int x = 0;
};

class ChildScripts : public ::testing::Test {
 protected:
  void SetUp() override {
    writeText("data/t_icons.ini",
              "[Include]\n0 = data/t_icons_more.ini\n"
              "[mill]\nisList = 1\n1 = brokenIcon\n2 = hint\n3 =\n4 = focus\n"
              "[brokenIcon]\ntype = icon\nsubType = broken\nx = 5\n"
              "[hint]\ntype = hint\nsubType = small\nx = -7\n"
              "[notAList]\n1 = brokenIcon\n"
              "[plain]\nisList = 0\n1 = hint\n");
    writeText("data/t_icons_more.ini",
              "[barn]\nisList = 1\n1 = focus\n2 = missing\n3 = hint\n"
              "[focus]\ntype = marker\nsubType = focus\nx = 12\n");
    iniFreeAll();
  }
  // Builds templates the way the game's factory does: the object reads its keys from its section.
  static std::unique_ptr<Icon> Make(const Core::ChildTemplateRef& ref) {
    auto i = std::make_unique<Icon>();
    i->type = ref.type;
    i->subType = ref.subType;
    i->section = ref.section;
    i->x = iniGetInt(ref.file.c_str(), ref.section.c_str(), "x", 0);
    return i;
  }
  Core::cChildRegistry<Icon> registry;
};

TEST_F(ChildScripts, ListsYieldTheirTemplatesInOrderUpToTheFirstGap) {
  ErrorCapture log;
  EXPECT_EQ(registry.LoadChildScript("data/t_icons.ini", Make), 2);
  EXPECT_EQ(registry.ListCount(), 2u);
  const auto* mill = registry.Find("data/t_icons.ini", "mill");
  ASSERT_NE(mill, nullptr);
  ASSERT_EQ(mill->size(), 2u) << "keys 1 and 2, then an empty 3";
  EXPECT_EQ((*mill)[0]->subType, "broken");
  EXPECT_EQ((*mill)[0]->x, 5);
  EXPECT_EQ((*mill)[1]->type, "hint");
  EXPECT_EQ((*mill)[1]->x, -7);

  // A list in an included file; its templates read their keys from the file that holds them.
  const auto* barn = registry.Find("data/t_icons.ini", "barn");
  ASSERT_NE(barn, nullptr);
  ASSERT_EQ(barn->size(), 2u) << "the missing section is skipped";
  EXPECT_EQ((*barn)[0]->x, 12);
  EXPECT_EQ((*barn)[1]->x, -7) << "a template of the main file named from an include";
  EXPECT_NE(log.Text().find("\"missing\""), std::string::npos);

  // Lookups: the file by any spelling, the list by its exact name.
  const uint32_t fh = Core::childScriptHash("DATA\\T_Icons.ini");
  EXPECT_EQ(registry.Find(fh, NameHash("mill")), mill);
  EXPECT_EQ(registry.Find("data/t_icons.ini", "Mill"), nullptr);
  EXPECT_EQ(registry.Find("data/t_icons.ini", "notAList"), nullptr);
  EXPECT_EQ(registry.Find("data/t_icons.ini", "plain"), nullptr);
  EXPECT_EQ(registry.FindChild(fh, NameHash("mill"), 1)->section, "hint");
  EXPECT_EQ(registry.FindChild(fh, NameHash("mill"), 2), nullptr);
  EXPECT_EQ(registry.FindChild(fh, NameHash("mill"), -1), nullptr);

  // A script is read once; a factory that refuses a type leaves it out.
  EXPECT_EQ(registry.LoadChildScript("Data/T_ICONS.ini", Make), 0);
  Core::cChildRegistry<Icon> picky;
  picky.LoadChildScript("data/t_icons.ini", [](const Core::ChildTemplateRef& r) {
    return r.type == "hint" ? nullptr : Make(r);
  });
  ASSERT_EQ(picky.Find("data/t_icons.ini", "mill")->size(), 1u);
  EXPECT_EQ((*picky.Find("data/t_icons.ini", "mill"))[0]->type, "icon");

  // A missing script adds nothing and says so.
  ErrorCapture log2;
  EXPECT_EQ(registry.LoadChildScript("data/t_no_icons.ini", Make), 0);
  EXPECT_NE(log2.Text().find("data/t_no_icons.ini: child script not found"), std::string::npos);
}

}  // namespace
