// Windows from definitions: every type keyword, unknown and missing types, registration by later
// parts, initial state, hidden windows, the font key, relative and docked placement.
#include <typeinfo>

#include "test_widgets_util.h"
#include "ui/widget_button.h"
#include "ui/widget_edit.h"
#include "ui/widget_progress.h"
#include "ui/widget_progress2.h"
#include "ui/widget_switch.h"
#include "ui/widget_switch_select.h"
#include "ui/widget_text.h"
#include "ui/wnd_create.h"

using namespace uitest;

namespace {

constexpr const char* kDefs = "defs/create.ini";

class Create : public WidgetSuite {
 protected:
  void SetUp() override {
    WidgetSuite::SetUp();
    WriteTga("pics/btn.tga", 40, 20);
    WriteTga("pics/big.tga", 200, 100);
  }
};

struct Custom : UIWnd {
  static int made;
  Custom() { ++made; }
};
int Custom::made = 0;
UIWnd* MakeCustom() { return new Custom(); }

}  // namespace

TEST_F(Create, EveryKeywordMakesItsClassWhateverItsCase) {
  WriteText(kDefs,
            "[a]\ntype=sprite\n[b]\ntype=IEBUTTON\n[c]\ntype=Text\n[d]\ntype=switch\n[e]\ntype=progress\n"
            "[f]\ntype=Progress2\n[g]\ntype=SWITCHSELECT\n[h]\ntype=ieedit\n");
  UIWnd root;
  auto make = [&](const char* s) { return wndCreate(kDefs, s, &root); };
  EXPECT_EQ(typeid(*make("a")), typeid(UIWndSprite));
  EXPECT_EQ(typeid(*make("b")), typeid(UIWndButtonIE));
  EXPECT_EQ(typeid(*make("c")), typeid(UITextStatic));
  EXPECT_EQ(typeid(*make("d")), typeid(UISwitchBase));
  EXPECT_EQ(typeid(*make("e")), typeid(UIProgress));
  UIWnd* f = make("f");
  EXPECT_EQ(typeid(*f), typeid(UIProgress2));
  EXPECT_FALSE(static_cast<UIProgress2*>(f)->Vertical()) << "horizontal unless the definition says so";
  EXPECT_EQ(typeid(*make("g")), typeid(UISwitchSelect));
  EXPECT_EQ(typeid(*make("h")), typeid(UIEditIE));
  EXPECT_EQ(root.ChildCount(), 8);
  EXPECT_EQ(root.FindChild("H"), root.Child(7)) << "the section name is the window's name";
  EXPECT_EQ(root.ActiveIndex(), 7) << "each created window becomes the active child";
}

TEST_F(Create, UnknownTypeStandsInAsAPlainWindowAndIsLogged) {
  errorLogClose();
  std::filesystem::remove("gerr.log");
  WriteText(kDefs, "[Odd]\ntype=wobbleWnd\nx=5\nxs=30\n");
  UIWnd root;
  UIWnd* w = wndCreate(kDefs, "Odd", &root);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(typeid(*w), typeid(UIWnd));
  EXPECT_EQ(w->X(), 5) << "the stand-in still reads the common keys";
  EXPECT_EQ(w->Width(), 30);
  const std::string log = GerrText();
  EXPECT_NE(log.find("defs/create.ini"), std::string::npos) << log;
  EXPECT_NE(log.find("[Odd]"), std::string::npos) << log;
  EXPECT_NE(log.find("wobbleWnd"), std::string::npos) << log;
}

TEST_F(Create, MissingTypeOrDocumentCreatesNothing) {
  WriteText(kDefs, "[NoType]\nx=5\n[Empty]\ntype=\n");
  UIWnd root;
  EXPECT_EQ(wndCreate(kDefs, "NoType", &root), nullptr);
  EXPECT_EQ(wndCreate(kDefs, "Empty", &root), nullptr);
  EXPECT_EQ(wndCreate(kDefs, "Absent", &root), nullptr);
  EXPECT_EQ(wndCreate("defs/none.ini", "Main", &root), nullptr);
  EXPECT_EQ(wndCreateDocked("defs/none.ini", "Main", &root), nullptr);
  EXPECT_EQ(root.ChildCount(), 0);
  EXPECT_EQ(wndFactory(""), nullptr);
  EXPECT_EQ(wndFactory(nullptr), nullptr);
}

TEST_F(Create, LaterPartsRegisterTheirKeywords) {
  WriteText(kDefs, "[Glow]\ntype=GlowThing\nstage=1\n");
  UIWnd root;
  ASSERT_FALSE(wndIsTypeRegistered("glowthing"));
  wndRegisterType("glowThing", &MakeCustom);
  EXPECT_TRUE(wndIsTypeRegistered("GLOWTHING"));
  Custom::made = 0;
  UIWnd* w = wndCreate(kDefs, "Glow", &root);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(Custom::made, 1);
  EXPECT_EQ(typeid(*w), typeid(Custom));
  EXPECT_EQ(w->State(), UIWnd::Normal);
  // A later registration replaces an earlier one, the engine's own keywords included.
  wndRegisterType("sprite", &MakeCustom);
  EXPECT_EQ(typeid(*std::unique_ptr<UIWnd>(wndFactory("sprite"))), typeid(Custom));
  wndRegisterType("sprite", [] { return static_cast<UIWnd*>(new UIWndSprite()); });
  // A type that always starts hidden and ignored, whatever its section says.
  wndRegisterType("glowThing", &MakeCustom, [](UIWnd* w) {
    w->SetHidden(true);
    w->InitState(UIWnd::Ignore);
  });
  UIWnd* settled = wndCreate(kDefs, "Glow", &root);
  EXPECT_TRUE(settled->Hidden());
  EXPECT_EQ(settled->State(), UIWnd::Ignore);
  wndRegisterType("glowThing", nullptr);
  EXPECT_FALSE(wndIsTypeRegistered("glowThing"));
  EXPECT_EQ(typeid(*wndCreate(kDefs, "Glow", &root)), typeid(UIWnd));
}

TEST_F(Create, InitialStateSelectAndHiddenComeFromTheSection) {
  WriteText(kDefs,
            "[Quiet]\ntype=ieButton\nnormal=pics/btn.tga\nignore=pics/big.tga\n"
            "[Live]\ntype=ieButton\nnormal=pics/btn.tga\nstage=1\nselect=2\ny=100\n"
            "[Ghost]\ntype=sprite\nnormal=pics/btn.tga\nstage=1\nisIgnore=3\ny=200\n"
            "[Wild]\ntype=sprite\nnormal=pics/btn.tga\npress=pics/big.tga\nstage=9\ny=300\n");
  Screen screen;
  UIWnd* quiet = wndCreate(kDefs, "Quiet", &screen);
  UIWnd* live = wndCreate(kDefs, "Live", &screen);
  UIWnd* ghost = wndCreate(kDefs, "Ghost", &screen);
  ASSERT_TRUE(quiet && live && ghost);
  EXPECT_EQ(quiet->State(), UIWnd::Ignore);
  EXPECT_EQ(quiet->Width(), 200) << "the size of the first state picture found: ignore";
  EXPECT_EQ(live->State(), UIWnd::Normal);
  EXPECT_EQ(live->Select(), 2);
  EXPECT_TRUE(ghost->Hidden());
  EXPECT_EQ(screen.FindChild("ghost"), ghost) << "hidden but a child";
  // A button without "stage" never reacts to the mouse.
  screen.Click(10, 10);
  EXPECT_EQ(quiet->State(), UIWnd::Ignore);
  screen.Click(10, 110);
  EXPECT_EQ(screen.commands, std::vector<std::string>{"Live"});
  screen.Click(10, 210);
  EXPECT_EQ(screen.commands.size(), 1u) << "a hidden window fails the hit test";
  ghost->SetHidden(false);
  screen.Click(10, 210);
  EXPECT_EQ(screen.commands.back(), "Ghost") << "shown again without a reload";
  // A stage past the four states is held to press and reported.
  errorLogClose();
  std::filesystem::remove("gerr.log");
  UIWnd* wild = wndCreate(kDefs, "Wild", &screen);
  ASSERT_NE(wild, nullptr);
  EXPECT_EQ(wild->State(), UIWnd::Press);
  EXPECT_EQ(wild->StateImage(), wild->Image(UIWnd::Press));
  EXPECT_NE(GerrText().find("[Wild]: stage 9"), std::string::npos);
  wild->SetState(200);
  EXPECT_EQ(wild->State(), UIWnd::Press);
  grBeginScene();
  screen.Draw();
  grFlip(nullptr, nullptr);
}

TEST_F(Create, FontKeyReplacesTheParentsFont) {
  WriteText(kDefs, "[Own]\ntype=text\nfont=fonts/test.tga\n[Inherit]\ntype=text\n");
  WriteTga("fonts/other.tga", 64, 16, 0xFFFFFFFFu);
  WriteText("fonts/other.fh", "64 16 1\n65 0 0 8\n");
  UIWnd root;
  root.SetFont("fonts/other.tga");
  ASSERT_NE(root.Font(), nullptr);
  UIWnd* own = wndCreate(kDefs, "Own", &root);
  UIWnd* inherit = wndCreate(kDefs, "Inherit", &root);
  ASSERT_TRUE(own && inherit);
  EXPECT_EQ(inherit->Font(), root.Font());
  ASSERT_NE(own->Font(), nullptr);
  EXPECT_NE(own->Font(), root.Font());
}

TEST_F(Create, RelativeCreationMovesTheWindowAndItsChildren) {
  WriteText(kDefs,
            "[Panel]\ntype=sprite\nx=100\ny=50\nxs=300\nys=200\n"
            "[Choice]\ntype=switch\nx=10\ny=20\nxs=80\nys=30\n0=One\n1=Two\n"
            "[One]\nx=5\ny=2\n[Two]\nx=0\n");
  UIWnd root;
  UIWnd* panel = wndCreate(kDefs, "Panel", &root);
  ASSERT_NE(panel, nullptr);
  UIWnd* choice = wndCreate(kDefs, "Choice", panel, true);
  ASSERT_NE(choice, nullptr);
  EXPECT_EQ(choice->X(), 110);
  EXPECT_EQ(choice->Y(), 70);
  EXPECT_EQ(choice->HomeX(), 10) << "the definition's own value stays known";
  ASSERT_EQ(choice->ChildCount(), 2);
  EXPECT_EQ(choice->Child(0)->X(), 115) << "option offsets count from the switch, which moved";
  EXPECT_EQ(choice->Child(0)->Y(), 72);
  EXPECT_EQ(choice->Child(1)->Width(), 80) << "an option without a size takes the switch's";
  UIWnd* plain = wndCreate(kDefs, "Choice", panel, false);
  EXPECT_EQ(plain->X(), 10);
}

TEST_F(Create, DockingStartsFromTheParentsCentreUnlessTold) {
  WriteText(kDefs,
            "[Panel]\ntype=sprite\nx=100\ny=50\nxs=200\nys=100\n"
            "[Mid]\ntype=sprite\nx=3\ny=4\nxs=40\nys=10\n"
            "[Centred]\ntype=sprite\nxs=40\nys=10\ncenter_to_center_x=1\n"
            "[Bottom]\ntype=sprite\nxs=40\nys=10\ndockY=1\n"
            "[Top]\ntype=sprite\nxs=40\nys=10\ndockY=-1\n");
  UIWnd root;
  UIWnd* panel = wndCreate(kDefs, "Panel", &root);
  UIWnd* mid = wndCreateDocked(kDefs, "Mid", panel);
  UIWnd* centred = wndCreateDocked(kDefs, "Centred", panel);
  UIWnd* bottom = wndCreateDocked(kDefs, "Bottom", panel);
  UIWnd* top = wndCreateDocked(kDefs, "Top", panel);
  ASSERT_TRUE(mid && centred && bottom && top);
  EXPECT_EQ(mid->X(), 200 + 3);
  EXPECT_EQ(mid->Y(), 100 + 4) << "dockY missing: the parent's vertical centre";
  EXPECT_EQ(centred->X(), 200 - 20);
  EXPECT_EQ(bottom->Y(), 150);
  EXPECT_EQ(top->Y(), 50);
  EXPECT_EQ(panel->ChildCount(), 4);
}
