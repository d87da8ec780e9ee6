// Switches: options up to the first gap, cycling by clicks and arrow keys, releases outside, no
// options at all, and the arrows of the select switch.
#include "test_widgets_util.h"
#include "ui/widget_switch.h"
#include "ui/widget_switch_select.h"
#include "ui/wnd_create.h"

using namespace uitest;

namespace {
constexpr const char* kDefs = "defs/switch.ini";

class Switches : public WidgetSuite {
 protected:
  void SetUp() override {
    WidgetSuite::SetUp();
    WriteTga("pics/opt.tga", 60, 20);
    WriteTga("pics/arrow.tga", 12, 20);
    WriteText(kDefs,
              "[Sound]\ntype=switch\nx=100\ny=100\nxs=60\nys=20\nstage=1\n0=On\n1=Off\n2=Half\n"
              "[Gap]\ntype=switch\nx=100\ny=200\nxs=60\nys=20\nstage=1\n0=On\n1=Off\n3=Half\n"
              "[Bare]\ntype=switch\nx=100\ny=300\nxs=60\nys=20\nstage=1\n"
              "[On]\nnormal=pics/opt.tga\nname=On\n[Off]\nnormal=pics/opt.tga\nname=Off\n[Half]\nname=Half\n"
              "[Mode]\ntype=switchselect\nx=400\ny=100\nxs=100\nys=20\nstage=1\n0=On\n1=Off\n2=Half\n"
              "[left]\nnormal=pics/arrow.tga\npress=pics/arrow.tga\nx=-2\n"
              "[right]\nnormal=pics/arrow.tga\npress=pics/arrow.tga\ny=1\n");
    screen.SetFont(kFont);
  }
  UISwitchBase* Make(const char* section) { return static_cast<UISwitchBase*>(wndCreate(kDefs, section, &screen)); }
  Screen screen;
};
}  // namespace

TEST_F(Switches, OptionsStopAtTheFirstGap) {
  UISwitchBase* gap = Make("Gap");
  ASSERT_NE(gap, nullptr);
  EXPECT_EQ(gap->OptionCount(), 2);
  EXPECT_EQ(gap->Current(), 0) << "the first option is current after loading";
  EXPECT_EQ(gap->Child(1)->Name(), std::string("Off"));
  EXPECT_EQ(gap->Child(0)->State(), UIWnd::Normal);
  EXPECT_EQ(gap->Child(0)->X(), 100) << "option positions count from the switch";
  screen.Update(25);
  EXPECT_EQ(gap->Child(1)->Font(), screen.Font()) << "options without a font use the switch's";
}

TEST_F(Switches, ThreeClicksComeBackToTheFirstOption) {
  UISwitchBase* sound = Make("Sound");
  ASSERT_NE(sound, nullptr);
  screen.Click(110, 105);
  EXPECT_EQ(sound->Current(), 1);
  EXPECT_EQ(sound->Child(1)->State(), UIWnd::Active) << "the new option takes the switch's state";
  EXPECT_EQ(sound->Child(0)->State(), UIWnd::Normal);
  screen.Click(110, 105);
  screen.Click(110, 105);
  EXPECT_EQ(sound->Current(), 0);
  EXPECT_EQ(screen.commands, (std::vector<std::string>{"Sound", "Sound", "Sound"}));
  // Pressed, the option shows the press too; released outside, nothing changes.
  screen.Press(110, 105);
  EXPECT_EQ(sound->State(), UIWnd::Press);
  EXPECT_EQ(sound->Child(0)->State(), UIWnd::Press);
  screen.Release(10, 10);
  EXPECT_EQ(sound->State(), UIWnd::Active);
  EXPECT_EQ(sound->Current(), 0);
  EXPECT_EQ(screen.commands.size(), 3u);
  grBeginScene();
  screen.Draw();
  grFlip(nullptr, nullptr);
}

TEST_F(Switches, ArrowKeysStepBothWaysAndWrap) {
  UISwitchBase* sound = Make("Sound");
  screen.Move(110, 105);
  screen.Key(37);
  EXPECT_EQ(sound->Current(), 2) << "before the first comes the last";
  screen.Key(39);
  EXPECT_EQ(sound->Current(), 0);
  screen.Key(13);
  EXPECT_EQ(sound->Current(), 1);
  EXPECT_EQ(screen.commands.size(), 3u);
  screen.Key(40);
  EXPECT_EQ(sound->Current(), 1) << "down is not a switch key";
  sound->SetCurrent(-1);
  EXPECT_EQ(sound->Current(), 2);
}

TEST_F(Switches, ASwitchWithoutOptionsOnlyDrawsItself) {
  UISwitchBase* bare = Make("Bare");
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(bare->Current(), -1);
  screen.Click(110, 305);
  screen.Key(39);
  bare->SetCurrent(3);
  EXPECT_EQ(bare->Current(), -1);
  EXPECT_TRUE(screen.commands.empty());
  EXPECT_EQ(bare->State(), UIWnd::Active);
  grBeginScene();
  screen.Draw();
  grFlip(nullptr, nullptr);
}

TEST_F(Switches, SelectArrowsFrameTheOptionsAndStepThem) {
  auto* mode = static_cast<UISwitchSelect*>(Make("Mode"));
  ASSERT_NE(mode, nullptr);
  UIWndSprite* left = mode->LeftArrow();
  UIWndSprite* right = mode->RightArrow();
  EXPECT_EQ(left->X(), 398);
  EXPECT_EQ(right->X(), 400 + 100 - 12);
  EXPECT_EQ(right->Y(), 101);
  ASSERT_EQ(mode->OptionCount(), 3);
  EXPECT_EQ(mode->Child(0)->X(), 412) << "options start after the left arrow";
  EXPECT_EQ(mode->Child(0)->Width(), 100 - 24);
  EXPECT_EQ(mode->Child(2)->Height(), 20);
  // A click on the left arrow steps back and shows that arrow pressed.
  screen.Move(402, 105);
  screen.Press(402, 105);
  EXPECT_EQ(left->State(), UIWnd::Press);
  EXPECT_EQ(right->State(), UIWnd::Active);
  screen.Release(402, 105);
  EXPECT_EQ(mode->Current(), 2);
  EXPECT_EQ(left->State(), UIWnd::Active);
  screen.Click(495, 105);
  EXPECT_EQ(mode->Current(), 0);
  screen.Click(450, 105);
  EXPECT_EQ(mode->Current(), 1) << "the middle steps forward";
  EXPECT_EQ(screen.commands.size(), 3u);
  screen.Move(10, 10);
  EXPECT_EQ(left->State(), UIWnd::Active) << "the arrows share the switch's state";
  mode->SetState(UIWnd::Normal);
  EXPECT_EQ(right->State(), UIWnd::Normal);
  mode->MoveBy(10, 0);
  EXPECT_EQ(left->X(), 408);
  mode->SetColour(0x80FFFFFFu);
  grBeginScene();
  screen.Draw();
  grFlip(nullptr, nullptr);
  EXPECT_EQ(left->Colour(), 0x80FFFFFFu);
}

TEST_F(Switches, SelectArrowsFollowTheStateAlsoOnHover) {
  auto* mode = static_cast<UISwitchSelect*>(Make("Mode"));
  ASSERT_NE(mode, nullptr);
  UIWndSprite* left = mode->LeftArrow();
  UIWndSprite* right = mode->RightArrow();
  EXPECT_EQ(left->State(), UIWnd::Normal);
  screen.Move(450, 105);
  EXPECT_EQ(left->State(), UIWnd::Active) << "hovered: both arrows with the switch";
  EXPECT_EQ(right->State(), UIWnd::Active);
  // Pressed on the right arrow, then dragged off: the hover rule ends the press for all three.
  screen.Press(495, 105);
  ASSERT_EQ(right->State(), UIWnd::Press);
  screen.Move(10, 10, 1);
  EXPECT_EQ(mode->State(), UIWnd::Active);
  EXPECT_EQ(right->State(), UIWnd::Active);
  EXPECT_EQ(left->State(), UIWnd::Active);
  screen.Release(10, 10);
  EXPECT_EQ(mode->Current(), 0) << "released away from it: no step";
  // A state stored without SetState (as creation does) reaches the arrows by the next frame.
  mode->InitState(UIWnd::Ignore);
  grBeginScene();
  screen.Draw();
  grFlip(nullptr, nullptr);
  EXPECT_EQ(left->State(), UIWnd::Ignore);
  EXPECT_EQ(right->State(), UIWnd::Ignore);
}

TEST_F(Switches, AnotherKeyReleasedEndsTheSwitchPress) {
  UISwitchBase* sound = Make("Sound");
  screen.Move(110, 105);
  screen.Press(110, 105);
  ASSERT_EQ(sound->Child(0)->State(), UIWnd::Press);
  wndOfferKeyUp(16, 1);
  EXPECT_EQ(sound->State(), UIWnd::Active);
  EXPECT_EQ(sound->Child(0)->State(), UIWnd::Active) << "the option shows the end of the press";
  EXPECT_EQ(sound->Current(), 0);
  EXPECT_TRUE(screen.commands.empty());
}
