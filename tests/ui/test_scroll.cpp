// Kinetic scrolling: the wheel and the spring, drags that stop following far past an end, flicks
// that glide with the averaged speed and come to rest exactly at the end, releases and presses that
// leave no stale glide, the value of the position, hiding during a drag, and the clip.
#include <cmath>

#include "test_widgets_util.h"
#include "ui/ui_scroll.h"
#include "ui/wnd_create.h"

using namespace uitest;

namespace {

// A child that notes the clip rectangle it is drawn inside.
struct ClipProbe : UIWnd {
  int x1 = -1, y1 = -1, x2 = -1, y2 = -1, draws = 0;
  int Draw() override {
    grGetClip(x1, y1, x2, y2);
    ++draws;
    return 0;
  }
};

class Scroll : public WidgetSuite {
 protected:
  void SetUp() override {
    WidgetSuite::SetUp();
    WriteText("defs/scroll.ini", "[List]\ntype=scrollWnd\nx=100\ny=100\nxs=200\nys=200\nstage=1\n");
    list = dynamic_cast<Core::UIScrollWnd*>(wndCreate("defs/scroll.ini", "List", &screen));
    ASSERT_NE(list, nullptr);
    item = new UIWnd();
    item->SetName("Item");
    item->SetPos(100, 100);
    item->SetSize(200, 30);
    list->AddChild(item);
    list->SetContentSize(200, 400);  // 200 pixels of range: offsets 0 (top) to -200 (bottom)
    screen.Move(150, 150);           // the hover rule makes the list the active child
  }
  void Steps(int n) {
    for (int i = 0; i < n; ++i) screen.Update(25);
  }
  int Scrolls() const { return int(std::count(screen.commands.begin(), screen.commands.end(), "List")); }
  Screen screen;
  Core::UIScrollWnd* list = nullptr;
  UIWnd* item = nullptr;
};

}  // namespace

TEST_F(Scroll, AWheelNotchAtTheTopSpringsBackExactlyToTheTop) {
  EXPECT_EQ(list->ContentHeight(), 400);
  wndOfferWheel(1.0f, 0, Pack(150, 150));
  EXPECT_EQ(list->Offset(), 40) << "one notch moves the content 40 pixels down";
  EXPECT_EQ(item->Y(), 140) << "the children move with it";
  EXPECT_EQ(Scrolls(), 1);
  EXPECT_FLOAT_EQ(list->VelocityY(), 0.0f) << "a wheel has no speed to glide with";
  int last = list->Offset();
  for (int i = 0; i < 40; ++i) {
    Steps(1);
    EXPECT_LE(list->Offset(), last) << "the spring only pulls back";
    EXPECT_GE(list->Offset(), 0) << "and never past the top";
    last = list->Offset();
  }
  EXPECT_EQ(list->Offset(), 0);
  EXPECT_EQ(item->Y(), 100);
  // A notch the other way scrolls down by 40 and stays: it is inside the range.
  wndOfferWheel(-1.0f, 0, Pack(150, 150));
  Steps(20);
  EXPECT_EQ(list->Offset(), -40);
}

TEST_F(Scroll, DragFollowsUntilFarPastTheTopThenStopsFollowing) {
  screen.Press(150, 150);
  for (int y = 160; y <= 400; y += 10) {
    Steps(1);
    screen.Move(150, y, 1);
  }
  // Followed while at most 150 past: the move that reaches 160 past is the last one followed.
  EXPECT_EQ(list->Offset(), 160);
  EXPECT_EQ(item->Y(), 260);
  // Every move that scrolls tells the parent, the 16 up to 160 pixels past the top.
  EXPECT_EQ(Scrolls(), 16);
  screen.Release(150, 400);
  EXPECT_FALSE(list->Dragging());
  EXPECT_FALSE(list->Gliding()) << "released far past the top: no glide";
  Steps(60);
  EXPECT_EQ(list->Offset(), 0);
}

TEST_F(Scroll, AFlickGlidesWithTheAveragedSpeedHalvingEvery160Ms) {
  list->SetContentSize(200, 1000);  // room for the whole glide
  screen.Press(150, 250);
  Steps(1);
  screen.Move(150, 230, 1);  // -20 px in 25 ms
  Steps(1);
  screen.Move(150, 210, 1);  // again
  screen.Release(150, 210);
  EXPECT_EQ(list->Offset(), -40);
  ASSERT_TRUE(list->Gliding());
  EXPECT_FLOAT_EQ(list->VelocityY(), -0.8f) << "(-0.8 - 0.8 - 0.8) / 3";
  EXPECT_EQ(list->SampleCount(), 0u);
  Steps(1);
  EXPECT_EQ(list->Offset(), -60) << "0.8 px/ms for 25 ms";
  // 25 ms at 0.8 x 2^(-25/160) = 0.718 px/ms is 17.9 px.
  Steps(1);
  EXPECT_EQ(list->Offset(), -78);
  Steps(100);
  EXPECT_FALSE(list->Gliding());
  // The whole glide is a geometric series: 20 / (1 - 2^(-25/160)) = 195 px before rounding; the
  // steps under half a pixel are lost.
  EXPECT_GE(-40 - list->Offset(), 180);
  EXPECT_LE(-40 - list->Offset(), 200);
}

TEST_F(Scroll, AFlickPastTheBottomComesToRestExactlyAtTheEnd) {
  screen.Press(150, 280);
  for (int y = 250; y >= 130; y -= 30) {
    Steps(1);
    screen.Move(150, y, 1);
  }
  screen.Release(150, 130);
  ASSERT_TRUE(list->Gliding());
  int lowest = 0;
  for (int i = 0; i < 200; ++i) {
    Steps(1);
    lowest = std::min(lowest, list->Offset());
  }
  EXPECT_LT(lowest, -200) << "the glide ran past the bottom";
  EXPECT_GE(lowest, -200 - 50 - 40) << "and stopped soon after 50 pixels past it";
  EXPECT_EQ(list->Offset(), -200) << "at rest exactly on the end";
  EXPECT_EQ(item->Y(), -100);
  EXPECT_FLOAT_EQ(list->GetValue(), 0.0f);
  // Pulled one pixel past the end the spring takes that pixel too.
  list->ScrollBy(0, -1);
  Steps(1);
  EXPECT_EQ(list->Offset(), -200);
  list->ScrollBy(0, -3);
  Steps(3);
  EXPECT_EQ(list->Offset(), -200);
}

TEST_F(Scroll, HoldingStillBeforeReleaseOrPressingAgainLeavesNoGlide) {
  screen.Press(150, 250);
  Steps(1);
  screen.Move(150, 200, 1);
  Steps(11);  // 275 ms without a move
  screen.Release(150, 200);
  EXPECT_FALSE(list->Gliding());
  EXPECT_EQ(list->SampleCount(), 0u) << "a release always empties the samples";
  // A flick, then a press stops the glide; a click without a move starts nothing afterwards.
  screen.Press(150, 250);
  Steps(1);
  screen.Move(150, 220, 1);
  screen.Release(150, 220);
  ASSERT_TRUE(list->Gliding());
  Steps(1);
  screen.Press(150, 150);
  EXPECT_FALSE(list->Gliding());
  const int at = list->Offset();
  screen.Release(150, 150);
  Steps(20);
  EXPECT_EQ(list->Offset(), at) << "no glide from the old flick's speed";
}

TEST_F(Scroll, ValueIsOneAtTheTopAndZeroAtTheBottom) {
  EXPECT_FLOAT_EQ(list->GetValue(), 1.0f);
  list->SetValue(0.0f);
  EXPECT_EQ(list->Offset(), -200);
  EXPECT_FLOAT_EQ(list->GetValue(), 0.0f);
  list->SetValue(1.0f);
  EXPECT_EQ(list->Offset(), 0);
  list->SetValue(0.005f);
  EXPECT_EQ(list->Offset(), -200) << "below 0.01 counts as the bottom";
  list->SetValue(0.5f);
  EXPECT_EQ(list->Offset(), -100);
  EXPECT_FLOAT_EQ(list->GetValue(), 0.5f);
  // Content that exactly fits is at its top, whatever the offset: a number, not a division by 0.
  list->SetValue(1.0f);
  list->SetContentSize(200, 200);
  EXPECT_FLOAT_EQ(list->GetValue(), 1.0f);
  list->SetContentSize(200, 100);
  EXPECT_FLOAT_EQ(list->GetValue(), 1.0f);
  list->SetValue(0.0f);
  EXPECT_EQ(list->Offset(), 0) << "nothing to scroll";
}

TEST_F(Scroll, ShortContentStaysWhereDraggedUpButSpringsBackFromBelow) {
  list->SetContentSize(200, 150);
  screen.Press(150, 200);
  Steps(1);
  screen.Move(150, 170, 1);
  Steps(12);
  screen.Release(150, 170);
  Steps(20);
  EXPECT_EQ(list->Offset(), -30);
  screen.Press(150, 150);
  Steps(1);
  screen.Move(150, 230, 1);
  Steps(12);
  screen.Release(150, 230);
  Steps(40);
  EXPECT_EQ(list->Offset(), 0);
}

TEST_F(Scroll, HidingDuringADragLetsTheInputGo) {
  screen.Press(150, 150);
  screen.Move(150, 160, 1);
  ASSERT_TRUE(list->Dragging());
  const int scrolls = Scrolls();
  list->SetHidden(true);
  Steps(1);
  EXPECT_FALSE(list->Dragging());
  list->SetHidden(false);
  // The mouse goes on moving with the button held: nothing follows it any more.
  screen.Move(150, 200, 1);
  screen.Move(150, 250, 1);
  EXPECT_EQ(Scrolls(), scrolls);
  screen.Release(150, 250);
  EXPECT_EQ(Scrolls(), scrolls);
}

TEST_F(Scroll, ChildrenAreDrawnInsideTheWindowAndTheClipIsRestored) {
  auto* probe = new ClipProbe();
  list->AddChild(probe);
  grBeginScene();
  grSetClip(0, 0, 1024, 768);
  screen.Draw();
  int x1, y1, x2, y2;
  grGetClip(x1, y1, x2, y2);
  grFlip(nullptr, nullptr);
  EXPECT_EQ(probe->draws, 1);
  EXPECT_EQ(probe->x1, 100);
  EXPECT_EQ(probe->y1, 100);
  EXPECT_EQ(probe->x2, 300);
  EXPECT_EQ(probe->y2, 300);
  EXPECT_EQ(x1, 0);
  EXPECT_EQ(y2, 768);
  // Outside an enclosing clip that it does not meet, nothing of it is drawn.
  grBeginScene();
  grSetClip(500, 500, 600, 600);
  screen.Draw();
  grSetClip(0, 0, 1024, 768);
  grFlip(nullptr, nullptr);
  EXPECT_EQ(probe->draws, 1);
}

TEST_F(Scroll, ATableAfterItsRowsKeepsThemArrangedWhileScrolling) {
  WriteText("defs/rows.ini", "[Rows]\ntype=table\nstepY=30\nrows=100\n[Row]\ntype=text\nxs=200\nys=28\n");
  std::vector<UIWnd*> rows;
  for (int i = 0; i < 5; ++i) rows.push_back(wndCreate("defs/rows.ini", "Row", list, true));
  UIWnd* table = wndCreate("defs/rows.ini", "Rows", list, true);
  for (UIWnd* r : rows) table->AddChild(r);
  EXPECT_EQ(rows[0]->Y(), 100);
  EXPECT_EQ(rows[4]->Y(), 220);
  list->ScrollBy(0, -45);
  EXPECT_EQ(table->Y(), 55);
  EXPECT_EQ(rows[0]->Y(), 55);
  EXPECT_EQ(rows[4]->Y(), 175) << "moved once, not twice";
  EXPECT_EQ(rows[4]->X(), 100);
}
