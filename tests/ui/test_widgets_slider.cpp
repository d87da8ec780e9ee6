// Sliders: values from clicks and drags, held arrows repeating every 200 ms, notifications with
// the grabbed mouse, the wheel, vertical bars counted from the bottom, and bars of no length.
#include <cmath>
#include <limits>

#include "test_widgets_util.h"
#include "ui/widget_progress.h"
#include "ui/widget_progress2.h"
#include "ui/wnd_create.h"
#include "platform/platform.h"

using namespace uitest;

namespace {
constexpr const char* kDefs = "defs/slider.ini";

class Sliders : public WidgetSuite {
 protected:
  void SetUp() override {
    WidgetSuite::SetUp();
    WriteTga("pics/track.tga", 200, 10, 0xFF404040u);
    WriteTga("pics/fill.tga", 200, 10, 0xFF40C040u);
    WriteTga("pics/thumb.tga", 10, 20);
    WriteTga("pics/column.tga", 10, 200);
    WriteText(kDefs,
              "[Volume]\ntype=progress\nx=100\ny=100\nxs=220\nys=20\nstage=1\n0=Track\n1=Fill\n2=Thumb\n"
              "[Music]\ntype=progress2\nx=100\ny=300\nxs=220\nys=20\nstage=1\n0=Track\n1=Fill\n2=Thumb\n"
              "[Height]\ntype=progress2\nx=600\ny=100\nxs=10\nys=200\nstage=1\nvertical=1\n0=Column\n"
              "[Level]\ntype=progress\nx=700\ny=100\nxs=10\nys=200\nstage=1\nvertical=1\n"
              "[Track]\nnormal=pics/track.tga\nactive=pics/track.tga\npress=pics/track.tga\ny=5\n"
              "[Fill]\nnormal=pics/fill.tga\nactive=pics/fill.tga\npress=pics/fill.tga\ny=5\n"
              "[Thumb]\nnormal=pics/thumb.tga\nx=-5\n[Column]\nnormal=pics/column.tga\n");
  }
  template <class T>
  T* Make(const char* section) {
    return static_cast<T*>(wndCreate(kDefs, section, &screen));
  }
  void Draw() {
    grBeginScene();
    screen.Draw();
    grFlip(nullptr, nullptr);
  }
  Screen screen;
};
}  // namespace

TEST_F(Sliders, ClickAndDragSetTheValueAndSendCommands) {
  auto* volume = Make<UIProgress>("Volume");
  ASSERT_NE(volume, nullptr);
  SliderBar bar = volume->Bar();
  EXPECT_EQ(bar.x, 100);
  EXPECT_EQ(bar.w, 200) << "the filled track's width";
  screen.Move(150, 110);
  screen.Press(150, 110);
  EXPECT_FLOAT_EQ(volume->GetValue(), 0.25f);
  EXPECT_EQ(volume->State(), UIWnd::Press);
  screen.Move(250, 110, 1);
  EXPECT_FLOAT_EQ(volume->GetValue(), 0.75f);
  screen.Move(280, 110, 0);
  EXPECT_FLOAT_EQ(volume->GetValue(), 0.75f) << "no button held: no drag";
  screen.Move(310, 110, 1);
  EXPECT_FLOAT_EQ(volume->GetValue(), 1.0f) << "the value stays within the bar";
  Draw();
  screen.Release(310, 110);
  EXPECT_EQ(screen.commands.size(), 4u) << "press, two drags and the click";
  EXPECT_EQ(volume->State(), UIWnd::Active);
}

TEST_F(Sliders, AHeldArrowRepeatsEveryTwoHundredMilliseconds) {
  auto* volume = Make<UIProgress>("Volume");
  screen.Move(150, 110);
  screen.Update(25);
  volume->SetValue(0.5f);
  wndOfferKeyDown(VK_RIGHT_, 1);
  EXPECT_NEAR(volume->GetValue(), 0.6f, 1e-5);
  EXPECT_GT(volume->RepeatMark(), 0);
  for (int i = 0; i < 7; ++i) screen.Update(25);
  EXPECT_NEAR(volume->GetValue(), 0.6f, 1e-5) << "175 ms: not yet";
  screen.Update(25);
  EXPECT_NEAR(volume->GetValue(), 0.7f, 1e-5);
  wndOfferKeyDown(VK_RIGHT_, 1 | (1 << 30));  // the window system's own repeat adds nothing
  EXPECT_NEAR(volume->GetValue(), 0.7f, 1e-5);
  screen.Update(1000);
  EXPECT_FLOAT_EQ(volume->GetValue(), 1.0f) << "capped";
  wndOfferKeyUp(VK_RIGHT_, int(1u | 0xC0000000u));
  EXPECT_EQ(volume->RepeatMark(), 0);
  wndOfferKeyDown(VK_LEFT_, 1);
  EXPECT_LT(volume->RepeatMark(), 0);
  screen.Update(400);
  EXPECT_NEAR(volume->GetValue(), 0.7f, 1e-5) << "two periods down";
  wndOfferKeyUp(VK_LEFT_, int(1u | 0xC0000000u));
  const size_t sent = screen.commands.size();
  screen.Update(400);
  EXPECT_EQ(screen.commands.size(), sent);
}

TEST_F(Sliders, NotifyingSliderKeepsTheMouseWhileDragged) {
  auto* music = Make<UIProgress2>("Music");
  ASSERT_NE(music, nullptr);
  EXPECT_EQ(music->Bar().y, 305) << "the empty track's rectangle";
  screen.Move(150, 310);
  screen.Press(150, 310);
  EXPECT_FLOAT_EQ(music->GetValue(), 0.25f);
  // Dragged far outside: the slider has the mouse, so the hover rule does not end the press.
  screen.Move(900, 700, 1);
  EXPECT_EQ(music->State(), UIWnd::Press);
  EXPECT_FLOAT_EQ(music->GetValue(), 1.0f);
  screen.Move(910, 700, 1);
  screen.Move(200, 700, 3);  // two buttons: not a drag
  EXPECT_FLOAT_EQ(music->GetValue(), 1.0f);
  screen.Release(200, 700);
  EXPECT_EQ(music->State(), UIWnd::Active);
  using P = std::pair<std::string, int>;
  EXPECT_EQ(screen.notes, (std::vector<P>{{"Music", 256}, {"Music", 0}, {"Music", 257}}));
  EXPECT_TRUE(screen.commands.empty()) << "released outside: no click";
  // A later move is the screen's again.
  screen.Move(150, 310);
  screen.Press(150, 310);
  screen.Release(150, 310);
  EXPECT_EQ(screen.commands, std::vector<std::string>{"Music"}) << "a release inside is also a click";
  Draw();
}

TEST_F(Sliders, ArrowsOfTheOrientationAndTheWheelStepByATenth) {
  auto* music = Make<UIProgress2>("Music");
  screen.Move(150, 310);
  music->SetValue(0.5f);
  screen.notes.clear();
  wndOfferKeyDown(VK_RIGHT_, 1);
  EXPECT_NEAR(music->GetValue(), 0.6f, 1e-5);
  wndOfferKeyDown(VK_UP_, 1);
  EXPECT_NEAR(music->GetValue(), 0.6f, 1e-5) << "up does not move a horizontal slider";
  wndOfferWheel(-1.0f, 0, Pack(150, 310));
  EXPECT_NEAR(music->GetValue(), 0.5f, 1e-5);
  using P = std::pair<std::string, int>;
  EXPECT_EQ(screen.notes, (std::vector<P>{{"Music", 256}, {"Music", 256}, {"Music", 257}}));
  music->SetValue(1.0f);
  screen.notes.clear();
  wndOfferWheel(1.0f, 0, Pack(150, 310));
  EXPECT_FLOAT_EQ(music->GetValue(), 1.0f);
  EXPECT_TRUE(screen.notes.empty()) << "the wheel stops at the end";
}

TEST_F(Sliders, VerticalSlidersCountFromTheBottom) {
  auto* height = Make<UIProgress2>("Height");
  ASSERT_NE(height, nullptr);
  ASSERT_TRUE(height->Vertical());
  screen.Move(605, 250);
  screen.Press(605, 250);
  EXPECT_FLOAT_EQ(height->GetValue(), 0.25f);
  screen.Release(605, 250);
  wndOfferKeyDown(VK_UP_, 1);
  EXPECT_NEAR(height->GetValue(), 0.35f, 1e-5);
  wndOfferKeyDown(VK_LEFT_, 1);
  EXPECT_NEAR(height->GetValue(), 0.35f, 1e-5);
  auto* level = Make<UIProgress>("Level");
  screen.Move(705, 150);
  screen.Press(705, 150);
  EXPECT_FLOAT_EQ(level->GetValue(), 0.75f) << "no parts: its own rectangle, 1 - 50 / 200";
  Draw();
}

TEST_F(Sliders, BarsOfNoLengthKeepTheValueInRange) {
  UIProgress plain;
  plain.SetValue(0.4f);
  plain.InitState(UIWnd::Press);
  ASSERT_EQ(plain.Bar().w, 0);
  plain.MouseMove(1, Pack(50, 5));
  EXPECT_FLOAT_EQ(plain.GetValue(), 0.4f);
  plain.SetVertical(true);
  plain.MouseMove(1, Pack(50, 5));
  EXPECT_FLOAT_EQ(plain.GetValue(), 0.4f);
  UIProgress2 notifying;
  notifying.SetSize(0, 0);
  notifying.InitState(UIWnd::Press);
  notifying.MouseMove(1, Pack(-7, 3));
  EXPECT_FLOAT_EQ(notifying.GetValue(), 0.0f);
  notifying.SetValue(5.0f);
  EXPECT_FLOAT_EQ(notifying.GetValue(), 1.0f);
  notifying.SetValue(-2.0f);
  EXPECT_FLOAT_EQ(notifying.GetValue(), 0.0f);
  notifying.SetValue(std::numeric_limits<float>::quiet_NaN());
  EXPECT_FLOAT_EQ(notifying.GetValue(), 0.0f);
  EXPECT_FLOAT_EQ(sliderValueAt(SliderBar{10, 10, 0, 0}, false, 500, 500, 7.0f), 1.0f);
  EXPECT_EQ(sliderFill(SliderBar{0, 0, 0, 0}, false, 0.5f), 0);
  // Drawing a slider without parts or size draws nothing and must not fail.
  grBeginScene();
  plain.Draw();
  notifying.Draw();
  grFlip(nullptr, nullptr);
}
