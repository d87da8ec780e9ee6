// Translated captions, level and mode titles, and edit mode: marking a window, moving and sizing
// it with the arrows or the mouse, and F2 writing its place back into its definition.
#include "test_widgets_util.h"
#include "ui/widget_button.h"
#include "ui/wnd_create.h"
#include "platform/platform.h"

using namespace uitest;

namespace {

class Texts : public WidgetSuite {
 protected:
  void SetUp() override {
    WidgetSuite::SetUp();
    WriteText("data/translation.ini",
              "[menu]\n#ONE=one\n[game]\n#LEVEL=Level\n#BONUS_LEVEL=Bonus level\n#MODE=mode\n"
              "#GAMEMODE_Normal=Relaxed\n#GAMEMODE_Multiclick=Busy\n[third]\n#PLAY=Play\n#RU=\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0\n"
              "#PLAY=Again\n");
  }
};

class EditMode : public WidgetSuite {
 protected:
  static constexpr const char* kDefs = "defs/editmode.ini";
  void SetUp() override {
    WidgetSuite::SetUp();
    WriteText(kDefs,
              "[Box]\ntype=ieButton\nx=10\ny=20\nxs=50\nys=30\nstage=1\n"
              "[Panel]\ntype=sprite\nx=100\ny=100\nxs=300\nys=200\n"
              "[Inner]\ntype=sprite\nx=10\ny=10\nxs=40\nys=40\n");
    g_wndEdit = true;
  }
  static int Saved(const char* section, const char* key) {
    iniFreeAll();  // read what is on disk
    return iniGetInt(kDefs, section, key, -999);
  }
  Screen screen;
};

}  // namespace

TEST_F(Texts, CaptionsTranslateKeysAndKeepPlainText) {
  WriteText("defs/texts.ini",
            "[A]\ntype=sprite\nname=#PLAY\n[B]\ntype=sprite\nname=Play\n[C]\ntype=sprite\nname=#NOPE\n"
            "[D]\ntype=sprite\n[E]\ntype=sprite\nname=#RU\n");
  UIWnd root;
  auto caption = [&](const char* s) { return wndCreate("defs/texts.ini", s, &root)->Caption(); };
  EXPECT_EQ(caption("A"), u"Play") << "the first key of that name, in any section";
  EXPECT_EQ(caption("B"), u"Play");
  EXPECT_EQ(caption("C"), u"") << "a key the document lacks shows the default";
  EXPECT_EQ(caption("D"), u"") << "no name: the missing key's #UNK has no text here";
  EXPECT_EQ(caption("E"), u"\u0418\u0433\u0440\u0430");
  EXPECT_STREQ(iniGetText("defs/texts.ini", "A", "name", "?"), "Play");
  EXPECT_STREQ(iniGetText("defs/texts.ini", "C", "name", "?"), "?");
  // The document learns #UNK: now a missing name shows it.
  WriteText("data/translation.ini", "[x]\n#UNK=(unnamed)\n");
  iniFreeAll();
  EXPECT_EQ(caption("D"), u"(unnamed)");
}

TEST_F(Texts, ReloadKeepsACaptionWhenTheNameIsEmpty) {
  WriteText("defs/reload.ini", "[A]\ntype=sprite\nname=#ONE\nx=5\n");
  UIWnd root;
  UIWnd* a = wndCreate("defs/reload.ini", "A", &root);
  a->SetCaptionUtf8("changed");
  a->MoveBy(7, 0);
  WriteText("defs/reload.ini", "[A]\ntype=sprite\nname=\nx=50\n");
  iniFreeAll();
  root.Reload(0);
  EXPECT_EQ(a->Caption(), u"changed");
  EXPECT_EQ(a->X(), 12) << "a reload reads the home place only";
  EXPECT_EQ(a->HomeX(), 50);
}

TEST_F(Texts, LevelTitlesSkipBonusLevelsInTheirNumbers) {
  EXPECT_EQ(std::u16string(levelTitle(1)), u"Level 1");
  EXPECT_EQ(std::u16string(levelTitle(16)), u"Bonus level");
  EXPECT_EQ(std::u16string(levelTitle(17)), u"Level 16");
  EXPECT_EQ(std::u16string(levelTitle(48)), u"Bonus level");
  EXPECT_EQ(std::u16string(levelTitle(47)), u"Level 45");
  EXPECT_EQ(std::u16string(modeName(1)), u"Busy");
  EXPECT_EQ(std::u16string(modeName(2)), u"") << "no text for NoTime in this document";
  EXPECT_EQ(std::u16string(modeName(3)), u"");
  EXPECT_EQ(std::u16string(modeLabel(0)), u"Relaxed mode");
}

TEST_F(EditMode, ArrowsMoveAndSizeAMarkedWindowAndF2SavesIt) {
  UIWnd* box = wndCreate(kDefs, "Box", &screen);
  ASSERT_NE(box, nullptr);
  screen.Key(39);
  EXPECT_EQ(box->X(), 10) << "not marked yet";
  screen.Click(20, 30);
  ASSERT_TRUE(box->Marked());
  EXPECT_TRUE(screen.commands.empty()) << "no clicks in edit mode";
  screen.Key(39);
  screen.Key(40);
  screen.Key(40);
  EXPECT_EQ(box->X(), 11);
  EXPECT_EQ(box->Y(), 22);
  wndOfferKeyDown(VK_LEFT_, 1 << 29);
  wndOfferKeyUp(VK_LEFT_, 1 << 29);  // Alt: the size
  EXPECT_EQ(box->Width(), 49);
  EXPECT_EQ(box->X(), 11);
  screen.Key(113);
  EXPECT_FALSE(box->Marked());
  EXPECT_EQ(Saved("Box", "x"), 11);
  EXPECT_EQ(Saved("Box", "y"), 22);
  EXPECT_EQ(Saved("Box", "xs"), 49);
  EXPECT_EQ(Saved("Box", "ys"), 30);
  EXPECT_EQ(Saved("Box", "stage"), 1) << "other keys stay";
  // Clicking twice marks and unmarks.
  screen.Click(20, 30);
  screen.Click(20, 30);
  EXPECT_FALSE(box->Marked());
}

TEST_F(EditMode, DraggingMovesMarkedWindowsAndKeepsTheMark) {
  UIWnd* box = wndCreate(kDefs, "Box", &screen);
  screen.Click(20, 30);
  ASSERT_TRUE(box->Marked());
  screen.Press(20, 30);
  screen.Move(30, 35, 1);
  screen.Move(45, 40, 1);
  screen.Release(45, 40);
  EXPECT_EQ(box->X(), 35);
  EXPECT_EQ(box->Y(), 30);
  EXPECT_TRUE(box->Marked()) << "the release that ends a drag does not unmark";
  screen.Move(90, 90, 0);
  EXPECT_EQ(box->X(), 35) << "no button: no drag";
  screen.Key(113);
  EXPECT_EQ(Saved("Box", "x"), 35);
  // An unmarked window is not dragged.
  screen.Press(40, 40);
  screen.Move(60, 60, 1);
  screen.Release(60, 60);
  EXPECT_EQ(box->X(), 35);
}

TEST_F(EditMode, WindowsMadeRelativeSaveTheirOffsets) {
  UIWnd* panel = wndCreate(kDefs, "Panel", &screen);
  UIWnd* inner = wndCreate(kDefs, "Inner", panel, true);
  ASSERT_EQ(inner->X(), 110);
  screen.Click(115, 115);
  EXPECT_TRUE(inner->Marked()) << "the innermost window takes the click";
  EXPECT_FALSE(panel->Marked());
  screen.Key(39);
  screen.Key(113);
  EXPECT_EQ(inner->X(), 111);
  EXPECT_EQ(Saved("Inner", "x"), 11) << "the offset from the parent, as the definition gives it";
  EXPECT_EQ(Saved("Inner", "y"), 10);
  // Moving the panel takes the inner window along and saves only the panel.
  screen.Click(300, 250);
  ASSERT_TRUE(panel->Marked());
  screen.Key(37);
  EXPECT_EQ(inner->X(), 110);
  screen.Key(113);
  EXPECT_EQ(Saved("Panel", "x"), 99);
  EXPECT_EQ(Saved("Inner", "x"), 11);
}
