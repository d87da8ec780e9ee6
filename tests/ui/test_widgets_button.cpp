// Buttons and texts: clicks through the hover rule, releases outside, Enter, captions split into
// lines, wrapped text with soft hyphens and spacing, prompts and end caps.
#include "gfx/sprite.h"
#include "test_widgets_util.h"
#include "ui/widget_button.h"
#include "ui/widget_text.h"
#include "ui/wnd_create.h"
#include "platform/platform.h"

using namespace uitest;

namespace {
constexpr const char* kDefs = "defs/buttons.ini";

class Buttons : public WidgetSuite {
 protected:
  void SetUp() override {
    WidgetSuite::SetUp();
    WriteTga("pics/mid.tga", 16, 20);
    WriteTga("pics/capl.tga", 6, 20);
    WriteTga("pics/capr.tga", 7, 20);
    WriteText(kDefs,
              "[Play]\ntype=ieButton\nx=100\ny=100\nxs=80\nnormal=pics/mid.tga\nactive=pics/mid.tga\n"
              "press=pics/mid.tga\nleftnormal=pics/capl.tga\nrightnormal=pics/capr.tga\nleftpress=pics/capr.tga\n"
              "name=Play\nstage=1\n"
              "[Exit]\ntype=ieButton\nx=100\ny=200\nxs=80\nnormal=pics/mid.tga\nname=Exit\nstage=1\n"
              "[Label]\ntype=text\nx=10\ny=10\nxs=40\nys=100\n"
              "[Pic]\ntype=sprite\nx=300\ny=300\nxs=60\nys=40\nxalign=0\nyalign=-1\n");
    screen.SetFont(kFont);
  }
  Screen screen;
};
}  // namespace

TEST_F(Buttons, AClickNeedsPressAndReleaseInside) {
  UIWnd* play = wndCreate(kDefs, "Play", &screen);
  UIWnd* exit = wndCreate(kDefs, "Exit", &screen);
  ASSERT_TRUE(play && exit);
  screen.Press(110, 105);
  EXPECT_EQ(play->State(), UIWnd::Normal) << "not hovered yet: a press does nothing";
  screen.Click(110, 105);
  EXPECT_EQ(screen.commands, std::vector<std::string>{"Play"});
  EXPECT_EQ(play->State(), UIWnd::Active);
  // Pressed, then released outside: the press ends, no command.
  screen.Press(110, 105);
  EXPECT_EQ(play->State(), UIWnd::Press);
  screen.Release(500, 500);
  EXPECT_EQ(play->State(), UIWnd::Active);
  EXPECT_EQ(screen.commands.size(), 1u);
  // Pressed, then the mouse leaves: the hover rule takes the press away.
  screen.Press(110, 105);
  screen.Move(500, 500, 1);
  EXPECT_EQ(play->State(), UIWnd::Active);
  screen.Release(110, 105);
  EXPECT_EQ(screen.commands.size(), 1u);
  // Enter clicks the focused button; hovering another moves the focus.
  screen.Key(13);
  EXPECT_EQ(screen.commands.size(), 2u);
  screen.Move(110, 205);
  EXPECT_EQ(play->State(), UIWnd::Normal);
  EXPECT_EQ(exit->State(), UIWnd::Active);
  screen.Key(13);
  EXPECT_EQ(screen.commands.back(), "Exit");
  // A right button does not click.
  wndOfferKeyDown(VK_RBUTTON_, Pack(110, 205));
  wndOfferKeyUp(VK_RBUTTON_, Pack(110, 205));
  EXPECT_EQ(screen.commands.size(), 3u);
}

TEST_F(Buttons, AnyOtherKeyReleasedEndsThePressWithoutAClick) {
  UIWnd* play = wndCreate(kDefs, "Play", &screen);
  ASSERT_NE(play, nullptr);
  screen.Move(110, 105);
  screen.Press(110, 105);
  ASSERT_EQ(play->State(), UIWnd::Press);
  wndOfferKeyUp(16, 1);  // Shift, pressed and let go while the button was held
  EXPECT_EQ(play->State(), UIWnd::Active) << "back to hover, not stuck pressed";
  screen.Release(110, 105);
  EXPECT_TRUE(screen.commands.empty()) << "the press was over: the release does not click";
  // Enter pressed, then a right button released: the same.
  wndOfferKeyDown(VK_RETURN_, 1);
  ASSERT_EQ(play->State(), UIWnd::Press);
  wndOfferKeyUp(VK_RBUTTON_, Pack(110, 105));
  EXPECT_EQ(play->State(), UIWnd::Active);
  EXPECT_TRUE(screen.commands.empty());
}

TEST_F(Buttons, MirroringIsReadAfreshOnReload) {
  WriteText("defs/flip.ini", "[Pic]\ntype=sprite\nnormal=pics/mid.tga\nnormal_flip_x=1\npress=pics/mid.tga\n"
                             "press_flip_y=1\n");
  auto* pic = static_cast<UIWndSprite*>(wndCreate("defs/flip.ini", "Pic", &screen));
  ASSERT_NE(pic, nullptr);
  EXPECT_EQ(pic->FlipBits(), (1 << UIWnd::Normal) | (1 << (UIWnd::Press + 4)));
  WriteText("defs/flip.ini", "[Pic]\ntype=sprite\nnormal=pics/mid.tga\npress=pics/mid.tga\npress_flip_x=1\n");
  iniFreeAll();
  pic->Reload(0);
  EXPECT_EQ(pic->FlipBits(), 1 << UIWnd::Press) << "the removed keys no longer mirror";
}

TEST_F(Buttons, EndCapsFollowTheState) {
  auto* play = static_cast<UIWndButtonIE*>(wndCreate(kDefs, "Play", &screen));
  ASSERT_NE(play, nullptr);
  EXPECT_EQ(play->Width(), 80) << "a given size stays";
  EXPECT_EQ(play->Height(), 20);
  EXPECT_EQ(sprWidth(play->LeftCap()), 6);
  EXPECT_EQ(sprWidth(play->RightCap()), 7);
  play->SetState(UIWnd::Press);
  EXPECT_EQ(sprWidth(play->LeftCap()), 7);
  EXPECT_EQ(play->RightCap(), nullptr);
  grBeginScene();
  screen.Draw();
  grFlip(nullptr, nullptr);
}

TEST_F(Buttons, PromptShowsOnlyWhileHoveredOrPressed) {
  auto* play = static_cast<UIWndButtonIE*>(wndCreate(kDefs, "Play", &screen));
  wndCreate(kDefs, "Exit", &screen);
  auto* hint = new UIWnd();
  play->SetPrompt(hint);
  EXPECT_TRUE(hint->Hidden());
  screen.Move(110, 105);
  EXPECT_FALSE(hint->Hidden());
  screen.Move(110, 205);
  EXPECT_TRUE(hint->Hidden());
  play->SetPrompt(nullptr);
  EXPECT_EQ(play->Prompt(), nullptr);
}

TEST_F(Buttons, CaptionLinesOfASpriteWindowAreTwoLineHeightsApart) {
  auto* pic = static_cast<UIWndSprite*>(wndCreate(kDefs, "Pic", &screen));
  ASSERT_NE(pic, nullptr);
  pic->SetCaptionUtf8("A<>B");
  auto lines = pic->CaptionLayout();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, u"A");
  EXPECT_EQ(lines[1].text, u"B");
  EXPECT_EQ(lines[0].x, 330) << "xalign 0: the horizontal centre";
  EXPECT_EQ(lines[0].y, 300) << "yalign -1: the top";
  EXPECT_EQ(lines[1].y - lines[0].y, 2 * kLine);
  // The same caption on a text window: one line height apart.
  auto* label = static_cast<UITextStatic*>(wndCreate(kDefs, "Label", &screen));
  label->SetCaptionUtf8("A<>B");
  EXPECT_EQ(label->Lines(), (std::vector<std::u16string>{u"A", u"B"}));
  EXPECT_EQ(label->LineHeight(), kLine);
}

TEST_F(Buttons, TextWrapsAtSpacesAndSoftHyphens) {
  auto* label = static_cast<UITextStatic*>(wndCreate(kDefs, "Label", &screen));
  ASSERT_NE(label, nullptr);
  ASSERT_EQ(label->Width(), 40);  // five glyphs
  label->SetCaptionUtf8("ab cd efgh");
  EXPECT_EQ(label->Lines(), (std::vector<std::u16string>{u"ab cd", u"efgh"})) << "2 x 8 + 4 + 2 x 8 = 36 fits";
  label->SetCaptionUtf8("abcdefghij   xy");
  EXPECT_EQ(label->Lines(), (std::vector<std::u16string>{u"abcdefghij", u"xy"})) << "a long word stands alone";
  label->SetCaption(u"abc\u00ADdef");
  EXPECT_EQ(label->Lines(), (std::vector<std::u16string>{u"abc", u"def"})) << "a soft hyphen breaks without a space";
  label->SetCaption(u"ab\u00ADc");
  EXPECT_EQ(label->Lines(), (std::vector<std::u16string>{u"abc"})) << "and is never drawn";
  label->SetCaptionUtf8("a b<>c");
  EXPECT_EQ(label->Lines(), (std::vector<std::u16string>{u"a b", u"c"}));
  // Three lines of 16 in a box of 100, centred vertically.
  label->SetCaptionUtf8("abcd abcd abcd");
  ASSERT_EQ(label->Lines().size(), 3u);
  EXPECT_EQ(label->FirstLineY(3), 10 + (100 - 48) / 2);
  grBeginScene();
  screen.Draw();
  grFlip(nullptr, nullptr);
}

TEST_F(Buttons, TextScaleAndSpacingSetTheLineHeight) {
  WriteText("defs/text.ini",
            "[Wide]\ntype=text\nxs=80\nys=60\nxFont=2\nyalign=0\nxalign=1\n"
            "[Tall]\ntype=text\nyFont=2\n[Spaced]\ntype=text\nspacing=1.5\nyFont=3\n[Bad]\ntype=text\nxFont=-1\n"
            "spacing=0\nyFont=0\nyalign=1\nys=50\n");
  auto* wide = static_cast<UITextStatic*>(wndCreate("defs/text.ini", "Wide", &screen));
  auto* tall = static_cast<UITextStatic*>(wndCreate("defs/text.ini", "Tall", &screen));
  auto* spaced = static_cast<UITextStatic*>(wndCreate("defs/text.ini", "Spaced", &screen));
  auto* bad = static_cast<UITextStatic*>(wndCreate("defs/text.ini", "Bad", &screen));
  ASSERT_TRUE(wide && tall && spaced && bad);
  wide->SetCaptionUtf8("abc abc");
  EXPECT_EQ(wide->Lines().size(), 2u) << "twice as wide: 48 + 8 + 48 > 80";
  EXPECT_EQ(wide->AnchorX(), 80) << "xalign 1: the right edge";
  EXPECT_EQ(tall->LineHeight(), 32);
  EXPECT_EQ(spaced->LineHeight(), 24) << "spacing wins over the vertical scale";
  EXPECT_EQ(bad->FontScaleX(), 1.0f);
  EXPECT_EQ(bad->Spacing(), 1.0f);
  EXPECT_EQ(bad->LineHeight(), kLine);
  EXPECT_EQ(bad->FirstLineY(2), 50 - 32) << "yalign 1: the lines end at the bottom";
}
