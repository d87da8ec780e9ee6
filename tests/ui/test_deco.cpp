// Decorative windows: each type keyword makes its class; typing texts type, wait and retype;
// fades with and without a parent and with a period of 0; hints fade in after their delay; colour
// texts and numbers; frames pick their picture set by state; strips, arrows, waving signs and
// glows move as their periods say (a period of 0 stands still); the two button variants.
#include <cmath>
#include <fstream>
#include <typeinfo>

#include "anim/anim_catalogue.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"
#include "test_widgets_util.h"
#include "ui/ui_deco_anim.h"
#include "ui/ui_deco_button.h"
#include "ui/ui_deco_frame.h"
#include "ui/ui_deco_motion.h"
#include "ui/ui_deco_particle.h"
#include "anim/fx_simple_pyro.h"
#include "ui/ui_deco_text.h"
#include "ui/ui_fade.h"
#include "ui/ui_layout.h"
#include "ui/ui_mouse_wnd.h"
#include "ui/ui_random.h"
#include "ui/ui_scroll.h"
#include "ui/wnd_create.h"

using namespace uitest;

namespace {

constexpr const char* kDefs = "defs/deco.ini";

class Deco : public WidgetSuite {
 protected:
  void SetUp() override {
    WidgetSuite::SetUp();
    screen.SetFont(kFont);
    WriteTga("pics/20x10.tga", 20, 10);
    WriteTga("pics/strip.tga", 512, 16);
    WriteTga("pics/a.tga", 8, 8);
    WriteTga("pics/b.tga", 6, 6);
  }
  UIWnd* Make(const char* section) { return wndCreate(kDefs, section, &screen); }
  void Steps(UIWnd* w, int n) {
    for (int i = 0; i < n; ++i) w->Update(25);
  }
  Screen screen;
};

}  // namespace

TEST_F(Deco, EveryTypeKeywordMakesItsClass) {
  std::string text;
  const std::vector<std::pair<const char*, const std::type_info*>> types = {
      {"box", &typeid(Core::UIBoxLayout)},          {"table", &typeid(Core::UITableLayout)},
      {"wndMouse", &typeid(Core::UIWndWithMouseTest)}, {"scrollWnd", &typeid(Core::UIScrollWnd)},
      {"fade", &typeid(Core::UIFade)},              {"hint", &typeid(Core::UIHint)},
      {"colorText", &typeid(Core::UIColorText)},    {"typingText", &typeid(Core::UITypingText)},
      {"floatButton", &typeid(Core::UIFloatingButton)}, {"glowButton", &typeid(Core::UIGlowButton)},
      {"frame", &typeid(Core::UIFrame)},            {"frameExt", &typeid(Core::UIFrameExt)},
      {"frameV", &typeid(Core::UIFrameV)},          {"iconWithNumber", &typeid(Core::UIIconWithNumber)},
      {"rollingSprite", &typeid(Core::UIRollingSprite)}, {"anim", &typeid(Core::UIAnimWnd)},
      {"arrowsMarker", &typeid(Core::UIArrowsMarker)}, {"rotatingGlow", &typeid(Core::UIRotatingGlow)},
      {"wavingWnd", &typeid(Core::UIWavingWnd)},      {"particleWnd", &typeid(Core::UIParticleWnd)},
  };
  for (size_t i = 0; i < types.size(); ++i) text += "[W" + std::to_string(i) + "]\ntype=" + types[i].first + "\n";
  WriteText(kDefs, text);
  for (size_t i = 0; i < types.size(); ++i) {
    UIWnd* w = Make(("W" + std::to_string(i)).c_str());
    ASSERT_NE(w, nullptr) << types[i].first;
    EXPECT_EQ(typeid(*w), *types[i].second) << types[i].first;
  }
}

TEST_F(Deco, TypingTextTypesWaitsTellsItsParentAndRetypesOnRefresh) {
  WriteText(kDefs, "[Say]\ntype=typingText\nxs=400\nys=20\nname=Hello\nperiod=100\ntimeout=300\n");
  auto* t = dynamic_cast<Core::UITypingText*>(Make("Say"));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->FullText(), u"Hello");
  EXPECT_EQ(t->Caption(), u"") << "nothing types before Refresh";
  Steps(t, 8);
  EXPECT_EQ(t->Caption(), u"");
  t->Refresh();
  Steps(t, 3);
  EXPECT_EQ(t->Caption(), u"");
  Steps(t, 1);
  EXPECT_EQ(t->Caption(), u"H") << "one character every 100 ms";
  Steps(t, 16);
  EXPECT_EQ(t->Caption(), u"Hello");  // at 500 ms
  // The command comes 300 ms after the fifth character, and only then.
  Steps(t, 11);
  EXPECT_TRUE(screen.commands.empty());
  EXPECT_EQ(t->Update(25), 1) << "the step that tells the parent stops its siblings' updates";
  EXPECT_EQ(screen.commands, std::vector<std::string>{"Say"});
  Steps(t, 40);
  EXPECT_EQ(screen.commands.size(), 1u);
  // Refresh types again from an empty line; a Refresh during the wait forgets the wait.
  t->Refresh();
  EXPECT_EQ(t->Caption(), u"");
  Steps(t, 4);
  EXPECT_EQ(t->Caption(), u"H");
  Steps(t, 16 + 8);
  EXPECT_TRUE(t->Waiting());
  t->SetHidden(true);
  t->Refresh();
  EXPECT_FALSE(t->Hidden()) << "Refresh shows the window";
  EXPECT_FALSE(t->Waiting());
  Steps(t, 20);
  EXPECT_EQ(screen.commands.size(), 1u) << "the old wait sends nothing";
  EXPECT_EQ(t->Caption(), u"Hello");
  Steps(t, 12);
  EXPECT_EQ(screen.commands.size(), 2u);
}

TEST_F(Deco, TypingTextStartShowsAllWithoutACommandAndPeriodZeroTypesEachStep) {
  WriteText(kDefs,
            "[Say]\ntype=typingText\nname=Hello\nperiod=100\ntimeout=100\n"
            "[Fast]\ntype=typingText\nname=abc\ntimeout=50\n");
  UIWnd* t = Make("Say");
  t->Refresh();
  Steps(t, 9);
  EXPECT_EQ(t->Caption(), u"He");
  t->Start(0, 0, 0);
  EXPECT_EQ(t->Caption(), u"Hello");
  Steps(t, 100);
  EXPECT_TRUE(screen.commands.empty());
  UIWnd* fast = Make("Fast");
  fast->Refresh();
  Steps(fast, 1);
  EXPECT_EQ(fast->Caption(), u"a");
  Steps(fast, 2);
  EXPECT_EQ(fast->Caption(), u"abc");
  Steps(fast, 2);
  EXPECT_EQ(screen.commands, std::vector<std::string>{"Fast"});
}

TEST_F(Deco, FadesRunTheirWayAndAPeriodOfZeroJumps) {
  WriteText(kDefs,
            "[In]\ntype=fade\nstart=0\nfin=255\nperiod=500\nisStart=1\nisFadeIn=1\nisFreeze=1\n"
            "[Back]\ntype=fade\nstart=0\nfin=255\nperiod=-500\nisStart=1\nisFadeIn=1\n"
            "[Now]\ntype=fade\nstart=0\nfin=200\nperiod=0\nisStart=1\nisFadeIn=1\n");
  auto* in = dynamic_cast<Core::UIFade*>(Make("In"));
  auto* back = dynamic_cast<Core::UIFade*>(Make("Back"));
  auto* now = dynamic_cast<Core::UIFade*>(Make("Now"));
  ASSERT_TRUE(in && back && now);
  Steps(in, 10);
  EXPECT_NEAR(in->Ramp().Value(), 127.5f, 0.01f) << "half way at 250 ms";
  EXPECT_NEAR(back->Ramp().Value(), 255.0f, 0.01f) << "a negative period runs from fin to start";
  Steps(back, 10);
  EXPECT_NEAR(back->Ramp().Value(), 127.5f, 0.01f);
  EXPECT_EQ(now->Update(25), 1);
  EXPECT_FLOAT_EQ(now->Ramp().Value(), 200.0f);
  Steps(in, 10);
  EXPECT_EQ(std::count(screen.commands.begin(), screen.commands.end(), "In"), 1);
  EXPECT_EQ(std::count(screen.commands.begin(), screen.commands.end(), "Now"), 1);
  Steps(in, 10);
  EXPECT_EQ(std::count(screen.commands.begin(), screen.commands.end(), "In"), 1) << "once";
  // A fade nobody holds runs out quietly; given a parent later, it has nothing left to say.
  Core::UIFade lone;
  lone.Setup(100, 0, 255, false);
  lone.Start(1, 0, 0);
  for (int i = 0; i < 8; ++i) lone.Update(25);
  EXPECT_TRUE(lone.Ramp().IsStopped());
  screen.commands.clear();
  auto* adopted = new Core::UIFade();
  adopted->Setup(100, 0, 255, false);
  adopted->Start(1, 0, 0);
  for (int i = 0; i < 8; ++i) adopted->Update(25);
  screen.AddChild(adopted);
  Steps(adopted, 8);
  EXPECT_TRUE(screen.commands.empty());
}

TEST_F(Deco, HintWaitsFadesInStaysAndFadesOutFromWhereItWas) {
  WriteText(kDefs, "[Tip]\ntype=hint\nperiod=300\ntimeout=500\n");
  auto* h = dynamic_cast<Core::UIHint*>(Make("Tip"));
  ASSERT_NE(h, nullptr);
  EXPECT_STREQ(h->Name(), "Hint");
  EXPECT_EQ(h->HintState(), Core::UIHint::kHidden);
  h->Show(u"Click me");
  EXPECT_EQ(h->Caption(), u"Click me");
  Steps(h, 20);
  EXPECT_EQ(h->Colour() >> 24, 0u) << "invisible until 500 ms";
  Steps(h, 6);
  EXPECT_EQ(h->Colour() >> 24, 128u) << "150 of 300 ms: round(127.5)";
  h->Show(u"Other");
  EXPECT_EQ(h->Caption(), u"Click me") << "a second Show does nothing";
  Steps(h, 6);
  EXPECT_EQ(h->HintState(), Core::UIHint::kShown);
  EXPECT_EQ(h->Colour() >> 24, 255u);
  Steps(h, 40);
  EXPECT_EQ(h->Colour() >> 24, 255u);
  h->Hide();
  Steps(h, 6);
  EXPECT_EQ(h->Colour() >> 24, 128u);
  Steps(h, 6);
  EXPECT_EQ(h->HintState(), Core::UIHint::kHidden);
  // Hidden half way into its fade-in it goes down from there, over the time it had been fading.
  h->Show(u"Again");
  Steps(h, 20 + 4);  // 100 of 300 ms faded in: alpha 85
  EXPECT_EQ(h->Colour() >> 24, 85u);
  h->Hide();
  Steps(h, 1);
  EXPECT_LE(h->Colour() >> 24, 85u) << "no jump to full";
  // The fade-out takes what was left of the fade period: 200 ms.
  Steps(h, 6);
  EXPECT_EQ(h->HintState(), Core::UIHint::kFadingOut);
  Steps(h, 1);
  EXPECT_EQ(h->HintState(), Core::UIHint::kHidden);
}

TEST_F(Deco, ColourTextAndNumber) {
  WriteText(kDefs,
            "[Red]\ntype=colorText\nr=255\n[Half]\ntype=colorText\nr=255\na=128\nisMul=1\n"
            "[White]\ntype=colorText\nr=255\ng=255\nb=255\n"
            "[Soft]\ntype=colorText\nxs=40\nname=abc\xC2\xAD" "def\n[Plain]\ntype=text\nxs=40\nname=abc\xC2\xAD" "def\n"
            "[Coins]\ntype=iconWithNumber\nnormal=pics/20x10.tga\nstage=1\nnumberX=5\nname=12345\n"
            "[Few]\ntype=iconWithNumber\nnormal=pics/20x10.tga\nstage=1\nnumberX=5\nname=12\ng=255\n");
  auto* red = dynamic_cast<Core::UIColorText*>(Make("Red"));
  auto* half = dynamic_cast<Core::UIColorText*>(Make("Half"));
  auto* white = dynamic_cast<Core::UIColorText*>(Make("White"));
  ASSERT_TRUE(red && half && white);
  EXPECT_EQ(red->Colour(), 0xFFFF0000u) << "no \"a\": opaque";
  EXPECT_EQ(half->Colour(), 0x80FF0000u);
  EXPECT_EQ(red->TextMode(), grModeWord(4, 3, 1, 6, 5)) << "tinted";
  EXPECT_EQ(half->TextMode(), kModeTintFade) << "multiplied";
  EXPECT_EQ(white->TextMode(), kModeTextureAlpha) << "the font's own colours";
  // The soft hyphen is a break point for a plain text only.
  auto* soft = dynamic_cast<Core::UIColorText*>(Make("Soft"));
  auto* plain = dynamic_cast<UITextStatic*>(Make("Plain"));
  EXPECT_EQ(plain->Lines().size(), 2u);
  ASSERT_EQ(soft->ColorLines().size(), 1u);
  EXPECT_EQ(soft->ColorLines()[0], u"abc\u00ADdef");
  EXPECT_EQ(soft->Caption(), u"abc\u00ADdef");
  // "12345" is 40 pixels: wider than the 20-pixel picture plus 5, so Start widens to 40 - 5.
  UIWnd* coins = Make("Coins");
  EXPECT_EQ(coins->Width(), 20);
  coins->Start(0, 0, 0);
  EXPECT_EQ(coins->Width(), 35);
  auto* few = dynamic_cast<Core::UIIconWithNumber*>(Make("Few"));
  few->Start(0, 0, 0);
  EXPECT_EQ(few->Width(), 20) << "16 pixels fit beside it";
  EXPECT_EQ(few->NumberColour(), 0xFF00FF00u);
  EXPECT_EQ(few->NumberMode(), grModeWord(4, 3, 1, 6, 5));
  EXPECT_EQ(dynamic_cast<Core::UIIconWithNumber*>(coins)->NumberMode(), kModeFade) << "default: the font's colours";
}

TEST_F(Deco, FramePicksItsSecondPictureSetOutsideTheIgnoreState) {
  WriteText(kDefs,
            "[F]\ntype=frame\nxs=100\nys=80\nleft=pics/a.tga\ntop=pics/a.tga\nbottom=pics/a.tga\n"
            "center=pics/a.tga\ncornertop=pics/a.tga\ncornerbottom=pics/a.tga\n"
            "left2=pics/b.tga\ntop2=pics/b.tga\nbottom2=pics/b.tga\ncenter2=pics/b.tga\n"
            "cornertop2=pics/b.tga\ncornerbottom2=pics/b.tga\n"
            "[V]\ntype=frameV\nxs=30\nys=100\ntop=pics/a.tga\ncenter=pics/b.tga\n");
  auto* f = dynamic_cast<Core::UIFrame*>(Make("F"));
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->State(), UIWnd::Ignore);
  EXPECT_EQ(sprWidth(f->PieceFor(Core::UIFrame::kLeft)), 8);
  EXPECT_EQ(sprWidth(f->PieceFor(Core::UIFrame::kCornerBottom)), 8);
  f->InitState(UIWnd::Normal);
  EXPECT_EQ(sprWidth(f->PieceFor(Core::UIFrame::kLeft)), 6);
  EXPECT_EQ(sprWidth(f->PieceFor(Core::UIFrame::kCornerBottom)), 6);
  auto* v = dynamic_cast<Core::UIFrameV*>(Make("V"));
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->Picture(Core::UIFrameV::kBottom), nullptr);
  grBeginScene();
  EXPECT_EQ(v->Draw(), 0) << "a band without a bottom picture draws";
  f->Draw();
  grFlip(nullptr, nullptr);
}

TEST_F(Deco, RollingStripMovesItsWidthEachPeriodAndStandsStillWithPeriodZero) {
  WriteText(kDefs,
            "[Strip]\ntype=rollingSprite\nxs=300\nys=16\nignore=pics/strip.tga\nperiod=2000\n"
            "[Still]\ntype=rollingSprite\nxs=300\nys=16\nignore=pics/strip.tga\nperiod=0\n"
            "[Back]\ntype=rollingSprite\nxs=300\nys=16\nignore=pics/strip.tga\nperiod=-2000\nisMoveRight=1\n");
  auto* strip = dynamic_cast<Core::UIRollingSprite*>(Make("Strip"));
  auto* still = dynamic_cast<Core::UIRollingSprite*>(Make("Still"));
  auto* back = dynamic_cast<Core::UIRollingSprite*>(Make("Back"));
  ASSERT_TRUE(strip && still && back);
  EXPECT_EQ(strip->Image(0), strip->Image(UIWnd::Ignore));
  Steps(strip, 40);
  EXPECT_EQ(strip->Offset(), 256) << "512 pixels per 2000 ms";
  Steps(strip, 39);
  EXPECT_EQ(strip->Offset(), 506);
  Steps(strip, 2);
  EXPECT_EQ(strip->Offset(), 7) << "wrapped without a gap: 2025 ms is 6.4 pixels on";
  EXPECT_EQ(back->Offset(), 512) << "a negative period runs from the width down";
  Steps(back, 40);
  EXPECT_EQ(back->Offset(), 256);
  Steps(still, 40);
  EXPECT_EQ(still->Offset(), 0);
  grBeginScene();
  EXPECT_EQ(strip->Draw(), 0);
  EXPECT_EQ(back->Draw(), 0);
  grFlip(nullptr, nullptr);
}

TEST_F(Deco, ArrowsBobAlongTheDiagonalsAndAPeriodOfZeroHoldsThem) {
  WriteText(kDefs,
            "[M]\ntype=arrowsMarker\nxs=100\nys=60\nignore=pics/a.tga\nampl=10\nperiod=1000\n"
            "[Z]\ntype=arrowsMarker\nxs=100\nys=60\nignore=pics/a.tga\nampl=10\nperiod=0\n");
  auto* m = dynamic_cast<Core::UIArrowsMarker*>(Make("M"));
  auto* z = dynamic_cast<Core::UIArrowsMarker*>(Make("Z"));
  ASSERT_TRUE(m && z);
  m->SetSize(100, 60);
  float x, y;
  m->ArrowCentre(0, x, y);
  EXPECT_NEAR(x, 100.0f, 1e-3) << "at rest: the centre moved on by the centre's distance from the corner";
  EXPECT_NEAR(y, 60.0f, 1e-3);
  Steps(m, 10);  // a quarter period: the wave is at 10 x sin(1.57)
  m->ArrowCentre(0, x, y);
  // The unit vector from (0, 0) toward (50, 30) is (0.8575, 0.5145).
  EXPECT_NEAR(x, 100.0f + 8.575f, 0.01f);
  EXPECT_NEAR(y, 60.0f + 5.145f, 0.01f);
  m->ArrowCentre(2, x, y);
  EXPECT_NEAR(x, 0.0f - 8.575f, 0.01f);
  EXPECT_NEAR(y, 0.0f - 5.145f, 0.01f);
  Steps(z, 10);
  z->ArrowCentre(1, x, y);
  EXPECT_NEAR(x, 0.0f, 1e-3);
  EXPECT_NEAR(y, 60.0f, 1e-3);
  EXPECT_FLOAT_EQ(Core::UIArrowsMarker::ArrowAngle(2), 4.71f);
}

namespace {
int g_draws = 0;
int32_t FixedPause(int32_t, int32_t max) {
  ++g_draws;
  return max / 2;
}
}  // namespace

TEST_F(Deco, WavingSignRestsStillThroughItsRandomPauses) {
  WriteText(kDefs,
            "[Sign]\ntype=wavingWnd\nnormal=pics/20x10.tga\nAngleAmplitude=10\nPeriod=400\nCenterX=10\n"
            "FadePeriod=500\nPausePeriod=600\n"
            "[Zero]\ntype=wavingWnd\nnormal=pics/20x10.tga\nAngleAmplitude=10\n");
  g_draws = 0;
  uiSetCosmeticRandom(&FixedPause);
  auto* sign = dynamic_cast<Core::UIWavingWnd*>(Make("Sign"));
  ASSERT_NE(sign, nullptr);
  EXPECT_EQ(g_draws, 1) << "the first pause comes from the cosmetic generator";
  EXPECT_EQ(sign->PhaseTimer().Period(), 300);
  Steps(sign, 12);
  EXPECT_EQ(sign->CurrentPhase(), Core::UIWavingWnd::kGrowing);
  const float amplitude = 10.0f * 3.14159f / 180.0f;
  // The wave starts in the step the pause ends and moves in that same step, so 100 ms into the
  // 500 ms growing phase it is 125 ms into its 400 ms turn.
  Steps(sign, 4);
  EXPECT_NEAR(sign->Angle(), amplitude * std::sin(6.28318f * 125 / 400) * 0.2f, 1e-4);
  Steps(sign, 16);  // 500 ms: the sway now shrinks over 500 ms
  EXPECT_EQ(sign->CurrentPhase(), Core::UIWavingWnd::kShrinking);
  Steps(sign, 5);  // 125 ms in: the wave at 650 ms (250 of 400), the phase at 375 of 500
  EXPECT_NEAR(sign->Angle(), amplitude * std::sin(6.28318f * 250 / 400) * 0.75f, 1e-4);
  Steps(sign, 15);
  EXPECT_EQ(sign->CurrentPhase(), Core::UIWavingWnd::kPause);
  EXPECT_EQ(g_draws, 2);
  // The wave stopped part way round, yet the sign hangs still for the whole pause.
  for (int i = 0; i < 11; ++i) {
    EXPECT_EQ(sign->Angle(), 0.0f);
    Steps(sign, 1);
  }
  // All periods 0: no division, the sign never turns.
  UIWnd* zero = Make("Zero");
  for (int i = 0; i < 20; ++i) {
    Steps(zero, 1);
    EXPECT_EQ(dynamic_cast<Core::UIWavingWnd*>(zero)->Angle(), 0.0f);
  }
  uiSetCosmeticRandom(nullptr);
}

TEST_F(Deco, RotatingGlowTurnsItsWayAndBreathes) {
  WriteText(kDefs,
            "[Cw]\ntype=rotatingGlow\nignore=pics/a.tga\nisClockWise=1\nglowPeriod=-3000\na=200\n"
            "[Ccw]\ntype=rotatingGlow\nignore=pics/a.tga\nglowPeriod=-3000\nfadePeriod=1000\nfadeAmpl=255\n"
            "[Zero]\ntype=rotatingGlow\nignore=pics/a.tga\nscale=0\n");
  auto* cw = dynamic_cast<Core::UIRotatingGlow*>(Make("Cw"));
  auto* ccw = dynamic_cast<Core::UIRotatingGlow*>(Make("Ccw"));
  auto* zero = dynamic_cast<Core::UIRotatingGlow*>(Make("Zero"));
  ASSERT_TRUE(cw && ccw && zero);
  EXPECT_NEAR(cw->Angle(), 6.28f, 1e-4) << "clockwise with a negative period turns down from 6.28";
  EXPECT_EQ(cw->Brightness(), 200) << "no fade: the alpha of \"a\"";
  EXPECT_NEAR(ccw->Angle(), 0.0f, 1e-4);
  Steps(cw, 60);
  Steps(ccw, 60);
  EXPECT_NEAR(cw->Angle(), 3.14f, 1e-3);
  EXPECT_NEAR(ccw->Angle(), 3.14f, 1e-3);
  EXPECT_EQ(ccw->AngleRamp().timer.Period(), 3000);
  // Half of the 1000 ms fade wave after 1500 ms: sin(1.57) x 255, capped by the window's alpha.
  EXPECT_EQ(ccw->Brightness(), 255);
  Steps(ccw, 10);
  EXPECT_EQ(ccw->Brightness(), int(std::lround(std::sin(3.14f * 0.75f) * 255)));
  Steps(cw, 60);
  EXPECT_NEAR(cw->Angle(), 6.28f, 1e-3) << "a whole turn later";
  Steps(zero, 10);
  EXPECT_EQ(zero->Angle(), zero->AngleRamp().Value());
  EXPECT_FALSE(std::isnan(zero->Angle()));
  grBeginScene();
  cw->SetHidden(true);
  EXPECT_EQ(cw->Draw(), 0);
  grFlip(nullptr, nullptr);
}

TEST_F(Deco, GlowButtonLightsOnlyWhileHoveredAndFloatingButtonBobs) {
  WriteText(kDefs,
            "[Glow]\ntype=glowButton\nx=10\ny=10\nxs=60\nnormal=pics/20x10.tga\nactive=pics/20x10.tga\n"
            "Highlight=pics/a.tga\nhlX=-4\nstage=1\n"
            "[Float]\ntype=floatButton\nx=100\ny=100\nxs=60\nys=30\nignore=pics/20x10.tga\nnormal=pics/20x10.tga\n"
            "period=1000\nstage=1\n");
  auto* glow = dynamic_cast<Core::UIGlowButton*>(Make("Glow"));
  auto* fl = dynamic_cast<Core::UIFloatingButton*>(Make("Float"));
  ASSERT_TRUE(glow && fl);
  EXPECT_FALSE(glow->Glowing());
  screen.Move(20, 15);
  EXPECT_EQ(glow->State(), UIWnd::Active);
  EXPECT_TRUE(glow->Glowing());
  screen.Move(500, 500);
  screen.Move(105, 105);
  EXPECT_FALSE(glow->Glowing()) << "the mouse went to the other button";
  // No "delta": the difference between the 10-pixel picture and the 30-pixel window.
  EXPECT_FLOAT_EQ(fl->Delta(), 20.0f);
  fl->InitState(UIWnd::Normal);
  EXPECT_FLOAT_EQ(fl->ImageY(), 100.0f);
  Steps(fl, 10);
  EXPECT_NEAR(fl->ImageY(), 100.0f + 20.0f * std::sin(1.57f), 1e-3);
  fl->InitState(UIWnd::Ignore);
  EXPECT_FLOAT_EQ(fl->ImageY(), 110.0f) << "in state ignore the picture sits centred";
  EXPECT_FLOAT_EQ(fl->ImageX(), 100.0f + 30.0f - 10.0f);
  grBeginScene();
  glow->Draw();
  fl->Draw();
  grFlip(nullptr, nullptr);
}

TEST_F(Deco, AnimWindowPlaysOnceFromRefreshThenHides) {
  WriteTga("pics/anim.tga", 16, 32);
  WriteText("anims.xml",
            "<Animations><Animation id=\"pop\" path=\"pics/anim.tga\" period=\"200\" frames=\"2\" isLoop=\"1\"/>"
            "</Animations>\n");
  auto& cat = Core::animManager();
  ASSERT_TRUE(cat.LoadAnimationCatalogue("anims.xml"));
  WriteText(kDefs, "[Pop]\ntype=anim\nanim=pop\n[None]\ntype=anim\nanim=missing\n");
  {
    auto* pop = dynamic_cast<Core::UIAnimWnd*>(Make("Pop"));
    ASSERT_NE(pop, nullptr);
    ASSERT_TRUE(pop->Animation().IsValid());
    pop->SetHidden(true);
    pop->Refresh();
    EXPECT_FALSE(pop->Hidden());
    Steps(pop, 7);
    EXPECT_FALSE(pop->Hidden());
    Steps(pop, 1);
    EXPECT_TRUE(pop->Hidden()) << "one period played";
    auto* none = dynamic_cast<Core::UIAnimWnd*>(Make("None"));
    none->Refresh();
    Steps(none, 20);
    grBeginScene();
    EXPECT_EQ(none->Draw(), 0);
    grFlip(nullptr, nullptr);
    screen.RemoveChild(pop);
    screen.RemoveChild(none);
    wndCollectGarbage();
  }
  cat.Clear();
}

TEST_F(Deco, ParticleWindowFollowsItsWindowAndWithoutAnEffectDoesNothing) {
  WriteText(kDefs,
            "[Sparks]\ntype=particleWnd\nx=10\ny=20\neffect=sparkles\n"
            "[Quiet]\ntype=particleWnd\nx=10\ny=20\n");
  UIWnd panel;
  panel.SetPos(100, 200);
  auto* sparks = dynamic_cast<Core::UIParticleWnd*>(wndCreate(kDefs, "Sparks", &panel, true));
  auto* quiet = dynamic_cast<Core::UIParticleWnd*>(wndCreate(kDefs, "Quiet", &panel, true));
  ASSERT_TRUE(sparks && quiet);
  ASSERT_NE(sparks->Effect(), nullptr);
  float x = 0, y = 0;
  sparks->Effect()->GetPosition(x, y);
  EXPECT_EQ(x, 110.0f) << "placed relative to its parent, the effect stands there too";
  EXPECT_EQ(y, 220.0f);
  panel.MoveBy(0, -40);  // scrolled
  sparks->Effect()->GetPosition(x, y);
  EXPECT_EQ(y, 180.0f);
  sparks->SetPos(5, 6);
  sparks->Effect()->GetPosition(x, y);
  EXPECT_EQ(x, 5.0f);
  EXPECT_EQ(y, 6.0f);
  EXPECT_EQ(quiet->Effect(), nullptr);
  EXPECT_EQ(quiet->Start(1, 0, 0), 0);
  EXPECT_EQ(quiet->Update(25), 0);
  grBeginScene();
  EXPECT_EQ(quiet->Draw(), 0);
  grFlip(nullptr, nullptr);
}
