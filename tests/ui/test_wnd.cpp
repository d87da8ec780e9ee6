// The window tree: hit testing, update and draw order, removal and focus, SelectChild, effects,
// the child limit, input hooks and destruction deferred past a running handler.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/wnd.h"

namespace {
std::vector<std::string> g_trace;

struct Probe : UIWnd {
  explicit Probe(const char* n, int stopAt = 0) : stop(stopAt) { SetName(n); }
  ~Probe() override { g_trace.push_back(std::string("~") + Name()); }
  int Update(int dt) override {
    g_trace.push_back(std::string("u") + Name());
    UIWnd::Update(dt);
    return stop;
  }
  int Draw() override {
    g_trace.push_back(std::string("d") + Name());
    return stop;
  }
  void OnFocusChanged() override { ++focusChanges; }
  int KeyDown(int code, int) override {
    if (code == 'X' && Parent()) {
      // A command that switches screens: the window removes itself while its handler runs.
      UIWnd* p = Parent();
      p->RemoveChild(this);
      g_trace.push_back(std::string("still running ") + Name());
      return 1;
    }
    keys += code;
    return handles;
  }
  int stop = 0;
  int focusChanges = 0;
  int keys = 0;
  int handles = 0;
};

struct Tree : ::testing::Test {
  void SetUp() override { g_trace.clear(); }
  void TearDown() override { wndCollectGarbage(); }
};
}  // namespace

TEST_F(Tree, HitTestUsesAbsoluteSizes) {
  UIWnd w;
  w.SetPos(100, 10);
  w.SetSize(-50, 20);
  EXPECT_TRUE(w.HitTest(100, 10));
  EXPECT_TRUE(w.HitTest(149, 29));
  EXPECT_FALSE(w.HitTest(150, 10));
  EXPECT_FALSE(w.HitTest(99, 10));
  EXPECT_FALSE(w.HitTest(120, 30));
  w.SetHidden(true);
  EXPECT_FALSE(w.HitTest(120, 15));
}

TEST_F(Tree, UpdateAndDrawRunLastToFirstAndStopEarly) {
  UIWnd root;
  root.AddChild(new Probe("a"));
  root.AddChild(new Probe("b"));
  root.AddChild(new Probe("c", 1));
  EXPECT_EQ(root.Update(25), 1);
  EXPECT_EQ(g_trace, (std::vector<std::string>{"uc"}));
  g_trace.clear();
  static_cast<Probe*>(root.Child(2))->stop = 0;
  static_cast<Probe*>(root.Child(0))->stop = 1;
  EXPECT_EQ(root.Update(25), 1);
  EXPECT_EQ(g_trace, (std::vector<std::string>{"uc", "ub", "ua"}));
  g_trace.clear();
  EXPECT_EQ(root.Draw(), 1);
  EXPECT_EQ(g_trace, (std::vector<std::string>{"dc", "db", "da"}));
  EXPECT_EQ(root.Age(), 50);
}

TEST_F(Tree, RemovingTheActiveLastChildMovesFocus) {
  UIWnd root;
  auto* a = new Probe("a");
  auto* b = new Probe("b");
  auto* c = new Probe("c");
  root.AddChild(a);
  root.AddChild(b);
  root.AddChild(c);
  EXPECT_EQ(root.ActiveIndex(), 2);
  a->focusChanges = 0;
  root.RemoveChild(c);
  EXPECT_EQ(root.ActiveIndex(), 1);
  EXPECT_EQ(root.ChildCount(), 2);
  EXPECT_EQ(a->focusChanges, 1);  // the root passes the change to its children
  EXPECT_EQ(root.FindChild("B"), b);
  EXPECT_EQ(root.FindChild("c"), nullptr);
  EXPECT_EQ(wndPendingDestruction(), 1);
  wndCollectGarbage();
  EXPECT_EQ(g_trace.back(), "~c");
}

TEST_F(Tree, SelectChildWrapsAndSkipsDisabled) {
  UIWnd root;
  for (int i = 0; i < 3; ++i) root.AddChild(new UIWnd());
  // Start with none active.
  root.Child(2)->SetState(UIWnd::Ignore);
  root.Child(2)->SetState(UIWnd::Normal);
  EXPECT_EQ(root.ActiveIndex(), -1);
  root.SelectChild(-1, 0);
  EXPECT_EQ(root.ActiveIndex(), 2);
  EXPECT_EQ(root.Child(2)->State(), UIWnd::Active);
  root.Child(0)->SetState(UIWnd::Ignore);
  root.SelectChild(3, 1);  // wraps to 0, disabled, goes on to 1
  EXPECT_EQ(root.ActiveIndex(), 1);
  EXPECT_EQ(root.Child(2)->State(), UIWnd::Normal);
  root.Child(1)->SetState(UIWnd::Ignore);
  root.Child(2)->SetState(UIWnd::Ignore);
  root.SelectChild(0, 1);
  EXPECT_EQ(root.ActiveIndex(), -1);
}

TEST_F(Tree, TrackMouseSelectsTheFirstHit) {
  UIWnd root;
  for (int i = 0; i < 3; ++i) {
    auto* w = new UIWnd();
    w->SetPos(i * 100, 0);
    w->SetSize(100, 50);
    root.AddChild(w);
  }
  root.SelectChild(0, 1);
  root.TrackMouse(150 | (10 << 16));
  EXPECT_EQ(root.ActiveIndex(), 1);
  EXPECT_EQ(root.Child(0)->State(), UIWnd::Normal);
  root.Child(1)->SetState(UIWnd::Press);
  root.TrackMouse(150 | (90 << 16));  // outside while pressed: back to active, still focused
  EXPECT_EQ(root.Child(1)->State(), UIWnd::Active);
}

TEST_F(Tree, AHundredAndTwentyEighthChildIsRefused) {
  UIWnd root;
  for (int i = 0; i < UIWnd::kMaxChildren; ++i) ASSERT_TRUE(root.AddChild(new UIWnd()));
  EXPECT_FALSE(root.AddChild(new Probe("extra")));
  EXPECT_EQ(root.ChildCount(), 127);
  EXPECT_EQ(g_trace, (std::vector<std::string>{"~extra"}));
}

TEST_F(Tree, HandlerThatRemovesItsOwnWindowFinishesFirst) {
  auto* root = new UIWnd();
  wndSetRoot(root);
  root->AddChild(new Probe("screen"));
  EXPECT_EQ(wndOfferKeyDown('X', 0), 1);
  EXPECT_EQ(g_trace, (std::vector<std::string>{"still running screen"}));
  EXPECT_EQ(root->ChildCount(), 0);
  wndCollectGarbage();
  EXPECT_EQ(g_trace.back(), "~screen");
  wndSetRoot(nullptr);
  delete root;
}

TEST_F(Tree, HooksSeeInputBeforeTheRoot) {
  auto* root = new UIWnd();
  wndSetRoot(root);
  auto* inTree = new Probe("tree");
  inTree->handles = 1;
  root->AddChild(inTree);
  auto* dialog = new Probe("dialog");
  root->AddChild(dialog);
  root->SelectChild(0, 1);
  dialog->handles = 1;
  dialog->GrabInput();
  dialog->GrabInput();  // twice is once
  EXPECT_EQ(wndOfferKeyDown('A', 0), 1);
  EXPECT_EQ(dialog->keys, 'A');
  EXPECT_EQ(inTree->keys, 0);
  dialog->handles = 0;  // not handled by the hook: the tree gets it
  EXPECT_EQ(wndOfferKeyDown('B', 0), 1);
  EXPECT_EQ(inTree->keys, 'B');
  root->RemoveChild(dialog);  // a removed window leaves the hook list at once
  EXPECT_EQ(wndOfferKeyDown('C', 0), 1);
  EXPECT_EQ(dialog->keys, 'A' + 'B');
  wndCollectGarbage();
  wndSetRoot(nullptr);
  delete root;
}

TEST_F(Tree, EffectsGateInputAndPeriodZeroIsSafe) {
  UIWnd root;
  auto* w = new Probe("w");
  w->handles = 0;
  root.AddChild(w);
  UIEffect e;
  e.type = 2;
  e.period = 500;
  e.scale = 2.0f;
  root.SetEffect(e);
  float m[16];
  ASSERT_TRUE(root.EffectTransform(m));
  EXPECT_FLOAT_EQ(m[0], 2.0f);  // starts at "scale"
  EXPECT_EQ(root.KeyDown('K', 0), 0);  // running: input passes
  root.Update(250);
  ASSERT_TRUE(root.EffectTransform(m));
  EXPECT_FLOAT_EQ(m[0], 1.5f);
  root.Update(300);
  EXPECT_FALSE(root.EffectTransform(m));  // at rest
  EXPECT_EQ(root.KeyDown('K', 0), 1);     // an even type blocks input once over
  EXPECT_EQ(w->keys, 'K');

  e.type = 3;
  e.period = 0;  // no division by zero: the pose is final at once
  e.start = root.Age();
  root.SetEffect(e);
  ASSERT_TRUE(root.EffectTransform(m));
  EXPECT_FLOAT_EQ(m[0], 2.0f);
  EXPECT_EQ(root.KeyDown('L', 0), 0);  // odd types never block
  e.type = 0;
  root.SetEffect(e);
  EXPECT_EQ(root.KeyDown('M', 0), 1);
  EXPECT_EQ(root.Draw(), 0);
}

TEST_F(Tree, NamesAreCutTo23Characters) {
  UIWnd root;
  auto* w = new UIWnd();
  w->SetName("abcdefghijklmnopqrstuvwxyz1234");
  root.AddChild(w);
  EXPECT_EQ(std::string(w->Name()).size(), 23u);
  EXPECT_EQ(root.FindChild("abcdefghijklmnopqrstuvw"), w);
  EXPECT_EQ(root.FindChild("abcdefghijklmnopqrstuvwxyz1234"), nullptr);
}
