// Arrangers and the mouse-test container: rows, columns and tables place windows at positions
// worked out by hand; tables without "rows" and with rows other than 2; what an arranger does not
// own it neither destroys nor keeps once destroyed; the hover rule that leaves nothing lit.
#include "test_widgets_util.h"
#include "ui/ui_layout.h"
#include "ui/ui_mouse_wnd.h"
#include "ui/wnd_create.h"
#include "platform/platform.h"

using namespace uitest;

namespace {

constexpr const char* kDefs = "defs/layout.ini";

class Layout : public WidgetSuite {
 protected:
  // A plain window of the given size at the origin, owned by the screen.
  UIWnd* Item(int w, int h) {
    auto* c = new UIWnd();
    c->SetSize(w, h);
    screen.AddChild(c);
    return c;
  }
  std::pair<int, int> At(UIWnd* w) { return {w->X(), w->Y()}; }
  using P = std::pair<int, int>;
  Screen screen;
};

}  // namespace

TEST_F(Layout, CentredRowStartsFromHalfTheTotalWidthAndSkipsHiddenWindows) {
  WriteText(kDefs, "[Row]\ntype=box\nx=0\ny=20\nxs=400\nys=50\nstep=10\n");
  auto* box = dynamic_cast<Core::UIBoxLayout*>(wndCreate(kDefs, "Row", &screen));
  ASSERT_NE(box, nullptr);
  UIWnd *a = Item(100, 10), *b = Item(50, 10), *c = Item(100, 10);
  for (UIWnd* w : {a, b, c}) box->AddChild(w);
  // 100 + 10 + 50 + 10 + 100 = 270 wide: it starts at 200 - 135 = 65.
  EXPECT_EQ(At(a), P(65, 20));
  EXPECT_EQ(At(b), P(175, 20));
  EXPECT_EQ(At(c), P(235, 20));
  // Without the middle one: 210 wide, from 200 - 105 = 95.
  b->SetHidden(true);
  box->Refresh();
  EXPECT_EQ(At(a), P(95, 20));
  EXPECT_EQ(At(c), P(205, 20));
  EXPECT_EQ(At(b), P(175, 20)) << "a hidden window stays where it was";
}

TEST_F(Layout, RowAndColumnFromTheStartCarryTheirWindowsOwnChildren) {
  WriteText(kDefs,
            "[Row]\ntype=box\nx=10\ny=5\nlayout=1\nstep=5\n"
            "[Col]\ntype=box\nx=300\ny=50\nlayout=1\norient=1\nstep=4\n"
            "[Odd]\ntype=box\nx=7\ny=7\nlayout=0\norient=1\n");
  UIWnd* row = wndCreate(kDefs, "Row", &screen);
  UIWnd* col = wndCreate(kDefs, "Col", &screen);
  UIWnd* odd = wndCreate(kDefs, "Odd", &screen);
  ASSERT_TRUE(row && col && odd);
  UIWnd *a = Item(30, 8), *b = Item(40, 8);
  auto* grandchild = new UIWnd();
  grandchild->SetPos(3, 4);  // 3, 4 inside b, which stands at the origin
  b->AddChild(grandchild);
  row->AddChild(a);
  row->AddChild(b);
  EXPECT_EQ(At(a), P(10, 5));
  EXPECT_EQ(At(b), P(45, 5)) << "10 + 30 + 5";
  EXPECT_EQ(At(grandchild), P(48, 9)) << "moved with its window";
  UIWnd *c = Item(12, 20), *d = Item(12, 30), *e = Item(12, 1);
  for (UIWnd* w : {c, d, e}) col->AddChild(w);
  EXPECT_EQ(At(c), P(300, 50));
  EXPECT_EQ(At(d), P(300, 74)) << "50 + 20 + 4";
  EXPECT_EQ(At(e), P(300, 108)) << "74 + 30 + 4";
  // A centred column is no arrangement: nothing moves.
  UIWnd* f = Item(5, 5);
  f->SetPos(1, 2);
  odd->AddChild(f);
  EXPECT_EQ(At(f), P(1, 2));
  // Moving the arranger moves only it, and its windows follow by being arranged again.
  col->MoveBy(-100, 10);
  EXPECT_EQ(col->X(), 200);
  EXPECT_EQ(At(c), P(200, 60));
  EXPECT_EQ(At(e), P(200, 118));
}

TEST_F(Layout, TableColumnsFromTheLeftBreakAfterRowsWindows) {
  WriteText(kDefs,
            "[Two]\ntype=table\nstepX=50\nstepY=30\nrows=2\n"
            "[Three]\ntype=table\nx=100\ny=200\nstepX=50\nstepY=30\nrows=3\n"
            "[One]\ntype=table\nstepX=40\nstepY=20\nrows=1\n");
  UIWnd* two = wndCreate(kDefs, "Two", &screen);
  UIWnd* three = wndCreate(kDefs, "Three", &screen);
  UIWnd* one = wndCreate(kDefs, "One", &screen);
  ASSERT_TRUE(two && three && one);
  std::vector<UIWnd*> w;
  for (int i = 0; i < 4; ++i) two->AddChild(w.emplace_back(Item(10, 10)));
  EXPECT_EQ(At(w[0]), P(0, 0));
  EXPECT_EQ(At(w[1]), P(0, 30));
  EXPECT_EQ(At(w[2]), P(50, 0));
  EXPECT_EQ(At(w[3]), P(50, 30));
  w.clear();
  for (int i = 0; i < 5; ++i) three->AddChild(w.emplace_back(Item(10, 10)));
  EXPECT_EQ(At(w[0]), P(100, 200));
  EXPECT_EQ(At(w[1]), P(100, 230));
  EXPECT_EQ(At(w[2]), P(100, 260)) << "three to a column";
  EXPECT_EQ(At(w[3]), P(150, 200));
  EXPECT_EQ(At(w[4]), P(150, 230));
  w.clear();
  for (int i = 0; i < 3; ++i) one->AddChild(w.emplace_back(Item(10, 10)));
  EXPECT_EQ(At(w[0]), P(0, 0));
  EXPECT_EQ(At(w[1]), P(40, 0)) << "one to a column: a row";
  EXPECT_EQ(At(w[2]), P(80, 0));
}

TEST_F(Layout, TableFromTheRightAndHiddenWindows) {
  WriteText(kDefs,
            "[Right]\ntype=table\nstepX=50\nstepY=30\nrows=2\nlayout=2\n"
            "[Right3]\ntype=table\nx=10\nstepX=50\nstepY=30\nrows=3\nlayout=2\n"
            "[Gap]\ntype=table\nstepX=50\nstepY=30\nrows=2\n");
  UIWnd* right = wndCreate(kDefs, "Right", &screen);
  UIWnd* right3 = wndCreate(kDefs, "Right3", &screen);
  UIWnd* gap = wndCreate(kDefs, "Gap", &screen);
  std::vector<UIWnd*> w;
  for (int i = 0; i < 4; ++i) right->AddChild(w.emplace_back(Item(10, 10)));
  EXPECT_EQ(At(w[0]), P(50, 0));
  EXPECT_EQ(At(w[1]), P(50, 30));
  EXPECT_EQ(At(w[2]), P(0, 0));
  EXPECT_EQ(At(w[3]), P(0, 30));
  w.clear();
  // Five windows in columns of three: (5 - 1) / 3 = 1 column to the right of x.
  for (int i = 0; i < 5; ++i) right3->AddChild(w.emplace_back(Item(10, 10)));
  EXPECT_EQ(At(w[0]), P(60, 0));
  EXPECT_EQ(At(w[2]), P(60, 60));
  EXPECT_EQ(At(w[3]), P(10, 0));
  EXPECT_EQ(At(w[4]), P(10, 30));
  // From the left a hidden window keeps its cell empty.
  w.clear();
  for (int i = 0; i < 3; ++i) w.push_back(Item(10, 10));
  w[1]->SetHidden(true);
  for (UIWnd* c : w) gap->AddChild(c);
  EXPECT_EQ(At(w[0]), P(0, 0));
  EXPECT_EQ(At(w[2]), P(50, 0));
}

TEST_F(Layout, TableWithoutRowsIsOneRow) {
  WriteText(kDefs, "[Left]\ntype=table\nx=5\ny=6\nstepX=40\nstepY=20\n[Back]\ntype=table\nstepX=40\nlayout=2\n");
  auto* left = dynamic_cast<Core::UITableLayout*>(wndCreate(kDefs, "Left", &screen));
  auto* back = dynamic_cast<Core::UITableLayout*>(wndCreate(kDefs, "Back", &screen));
  ASSERT_TRUE(left && back);
  EXPECT_EQ(left->Rows(), 1);
  std::vector<UIWnd*> w;
  for (int i = 0; i < 3; ++i) left->AddChild(w.emplace_back(Item(10, 10)));
  EXPECT_EQ(At(w[0]), P(5, 6));
  EXPECT_EQ(At(w[1]), P(45, 6));
  EXPECT_EQ(At(w[2]), P(85, 6));
  w.clear();
  for (int i = 0; i < 3; ++i) back->AddChild(w.emplace_back(Item(10, 10)));
  EXPECT_EQ(At(w[0]), P(80, 0));
  EXPECT_EQ(At(w[1]), P(40, 0));
  EXPECT_EQ(At(w[2]), P(0, 0));
  back->SetGrid(40, 20, -3, 2);
  EXPECT_EQ(At(w[0]), P(80, 0)) << "a negative count is one row too";
}

TEST_F(Layout, ArrangersStartHiddenKeepFontsAndPassCommandsUp) {
  WriteText(kDefs,
            "[Box]\ntype=box\nstage=1\nisIgnore=0\nlayout=1\n"
            "[Btn]\ntype=ieButton\nnormal=pics/b.tga\nstage=1\nname=Go\n");
  WriteTga("pics/b.tga", 40, 20);
  screen.SetFont(kFont);
  UIWnd* box = wndCreate(kDefs, "Box", &screen);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->Hidden()) << "an arranger only places others";
  EXPECT_EQ(box->State(), UIWnd::Ignore);
  UIWnd* btn = wndCreate(kDefs, "Btn", &screen);
  CSprite* own = btn->Font();
  ASSERT_NE(own, nullptr);
  box->ShareFont(nullptr);  // the base operation would hand the button this: none
  box->AddChild(btn);
  EXPECT_EQ(btn->Font(), own);
  EXPECT_EQ(btn->Parent(), box);
  EXPECT_EQ(box->Update(25), 0);
  EXPECT_EQ(box->KeyDown(VK_LBUTTON_, Pack(5, 5)), 0);
  // The button is drawn and clicked as the screen's child; its command passes the box.
  screen.Click(10, 10);
  EXPECT_EQ(screen.commands, std::vector<std::string>{"Btn"});
}

TEST_F(Layout, WhatAnArrangerPlacesItNeitherDestroysNorKeepsOnceDestroyed) {
  auto* table = new Core::UITableLayout();
  table->SetGrid(20, 20, 2, 0);
  screen.AddChild(table);
  UIWnd *a = Item(10, 10), *b = Item(10, 10), *c = Item(10, 10);
  for (UIWnd* w : {a, b, c}) table->AddChild(w);
  ASSERT_EQ(table->ChildCount(), 3);
  // The owner removes b: once it is gone the table no longer names it, and arranges the rest.
  screen.RemoveChild(b);
  wndCollectGarbage();
  EXPECT_EQ(table->ChildCount(), 2);
  EXPECT_EQ(table->Child(0), a);
  EXPECT_EQ(table->Child(1), c);
  table->Refresh();
  EXPECT_EQ(At(c), P(0, 20)) << "c now takes the second cell";
  // Taken out of the table, a window goes back to its owner and stays alive.
  table->RemoveChild(a);
  EXPECT_EQ(a->Parent(), &screen);
  EXPECT_EQ(table->ChildCount(), 1);
  // The table goes first: c lives on with the screen as its parent again.
  screen.RemoveChild(table);
  wndCollectGarbage();
  EXPECT_EQ(c->Parent(), &screen);
  c->SetName("c");
  screen.commands.clear();
  c->OnCommand(c);
  EXPECT_EQ(screen.commands, std::vector<std::string>{"c"});
}

TEST_F(Layout, MouseTestContainerLeavesNothingLitWhenTheMouseLeaves) {
  WriteText(kDefs, "[Panel]\ntype=wndMouse\nxs=400\nys=100\n");
  auto* panel = dynamic_cast<Core::UIWndWithMouseTest*>(wndCreate(kDefs, "Panel", &screen));
  ASSERT_NE(panel, nullptr);
  std::vector<UIWnd*> kids;
  for (int i = 0; i < 3; ++i) {
    auto* k = new UIWnd();
    k->SetPos(i * 100, 0);
    k->SetSize(100, 50);
    panel->AddChild(k);
    kids.push_back(k);
  }
  kids[2]->SetHidden(true);
  EXPECT_TRUE(panel->TrackHover(Pack(150, 10)));
  EXPECT_EQ(panel->ActiveIndex(), 1);
  EXPECT_EQ(kids[1]->State(), UIWnd::Active);
  EXPECT_FALSE(panel->TrackHover(Pack(160, 10))) << "same child: no change";
  kids[1]->SetState(UIWnd::Press);
  panel->MouseMove(0, Pack(250, 10));  // over the hidden one only
  EXPECT_EQ(panel->ActiveIndex(), -1);
  for (UIWnd* k : kids) EXPECT_EQ(k->State(), UIWnd::Normal);
  panel->MouseMove(0, Pack(50, 10));
  EXPECT_EQ(panel->ActiveIndex(), 0);
  panel->MouseMove(0, Pack(50, 300));
  EXPECT_EQ(panel->ActiveIndex(), -1);
  EXPECT_EQ(kids[0]->State(), UIWnd::Normal);
}
