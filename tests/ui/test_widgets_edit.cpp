// The edit field: typing at the cursor, cursor keys, deletion both ways, the maximum length and
// width, characters the font lacks, Enter, the cursor position from outside, and the blink.
#include "test_widgets_util.h"
#include "ui/widget_edit.h"
#include "ui/wnd_create.h"
#include "platform/platform.h"

using namespace uitest;

namespace {
constexpr const char* kDefs = "defs/edit.ini";

class Edit : public WidgetSuite {
 protected:
  void SetUp() override {
    WidgetSuite::SetUp();
    WriteTga("pics/field.tga", 100, 24);
    WriteText(kDefs,
              "[Name]\ntype=ieEdit\nx=100\ny=100\nxs=100\nys=24\nnormal=pics/field.tga\nstage=1\nxalign=-1\n"
              "name=\nCursorR=10\nCursorG=20\nCursorB=30\nCursorA=40\n"
              "[Short]\ntype=ieEdit\nx=100\ny=200\nxs=100\nys=24\nstage=1\nstrsize=4\n"
              "[Narrow]\ntype=ieEdit\nx=100\ny=300\nxs=40\nys=24\nstage=1\nstrsize=5000\nname=ab\n");
    screen.SetFont(kFont);
  }
  UIEditIE* Focus(const char* section, int y) {
    auto* e = static_cast<UIEditIE*>(wndCreate(kDefs, section, &screen));
    screen.Move(110, y + 5);
    return e;
  }
  Screen screen;
};
}  // namespace

TEST_F(Edit, TypingAndCursorKeys) {
  UIEditIE* name = Focus("Name", 100);
  ASSERT_NE(name, nullptr);
  ASSERT_EQ(name->State(), UIWnd::Active);
  EXPECT_EQ(name->CursorColour(), 0x280A141Eu);
  screen.Type(u"Hi");
  EXPECT_EQ(name->Caption(), u"Hi");
  EXPECT_EQ(name->Cursor(), 2);
  screen.Key(37);
  screen.Type(u"a");
  EXPECT_EQ(name->Caption(), u"Hai");
  EXPECT_EQ(name->Cursor(), 2);
  screen.Key(36);
  EXPECT_EQ(name->Cursor(), 0);
  screen.Key(46);
  EXPECT_EQ(name->Caption(), u"ai");
  screen.Key(8);
  EXPECT_EQ(name->Caption(), u"ai") << "nothing before the cursor";
  screen.Key(35);
  screen.Key(8);
  EXPECT_EQ(name->Caption(), u"a");
  EXPECT_EQ(name->Cursor(), 1);
  screen.Key(39);
  EXPECT_EQ(name->Cursor(), 1) << "not past the end";
  screen.Key(46);
  EXPECT_EQ(name->Caption(), u"a");
  EXPECT_EQ(name->CursorX(), 100 + kGlyph) << "left aligned: the width of the text before it";
  // Control codes, a code the font lacks and a letter beyond its table are not typed.
  screen.Type(u"\t~\u0416");
  EXPECT_EQ(name->Caption(), u"a");
  screen.Key(13);
  EXPECT_EQ(screen.commands, std::vector<std::string>{"Name"});
}

TEST_F(Edit, LengthAndWidthLimitTheText) {
  UIEditIE* shortEdit = Focus("Short", 200);
  EXPECT_EQ(shortEdit->MaxLength(), 4);
  screen.Type(u"abcdef");
  EXPECT_EQ(shortEdit->Caption(), u"abc") << "shorter than the maximum length minus one";
  UIEditIE* narrow = Focus("Narrow", 300);
  EXPECT_EQ(narrow->MaxLength(), 1024) << "a length past 1024 becomes 1024";
  EXPECT_EQ(narrow->Cursor(), 2) << "the cursor starts after the text";
  screen.Type(u"cdef");
  EXPECT_EQ(narrow->Caption(), u"abcd") << "five glyphs would fill the 40 pixels";
  EXPECT_EQ(narrow->Cursor(), 4);
}

TEST_F(Edit, CursorPositionFromOutsideStaysInTheText) {
  UIEditIE* name = Focus("Name", 100);
  name->SetCaptionUtf8("ab");
  name->SetValue(50.0f);
  EXPECT_EQ(name->GetValue(), 2.0f);
  name->SetValue(-3.0f);
  EXPECT_EQ(name->GetValue(), 0.0f);
  name->SetValue(1.6f);
  EXPECT_EQ(name->GetValue(), 2.0f);
  name->SetValue(0.4f);
  EXPECT_EQ(name->Cursor(), 0);
  // The text shrinks behind the cursor's back: editing still stays inside it.
  name->SetValue(2.0f);
  name->SetCaptionUtf8("x");
  EXPECT_EQ(name->Cursor(), 1);
  screen.Key(8);
  EXPECT_EQ(name->Caption(), u"");
  screen.Key(46);
  screen.Key(8);
  EXPECT_EQ(name->Cursor(), 0);
}

TEST_F(Edit, CursorBlinksOnlyWhileFocused) {
  wndCreate(kDefs, "Short", &screen);
  UIEditIE* name = Focus("Name", 100);
  EXPECT_FALSE(name->CursorShown()) << "age 0: the dark half";
  screen.Update(525);
  EXPECT_TRUE(name->CursorShown());
  grBeginScene();
  screen.Draw();
  grFlip(nullptr, nullptr);
  screen.Update(500);
  EXPECT_FALSE(name->CursorShown());
  screen.Update(520);
  EXPECT_TRUE(name->CursorShown()) << "1545 ms: lit again";
  screen.Move(110, 205);
  EXPECT_FALSE(name->CursorShown()) << "another field has the focus";
  name->SetCaptionUtf8("abcd");
  name->SetValue(2.0f);
  EXPECT_EQ(name->CursorX(), 100 + 2 * kGlyph);
}

// Enter and Backspace act as the characters the shell sends with them; Tab and Escape are left to
// the dialog; a click into the field is not Enter.
TEST_F(Edit, ControlCharactersAndClicks) {
  UIEditIE* name = Focus("Name", 100);
  screen.Type(u"Ada");
  // The key alone (no character message) erases nothing: the character does, once per repeat.
  wndOfferKeyDown(VK_BACK_, 1);
  wndOfferKeyUp(VK_BACK_, 1);
  EXPECT_EQ(name->Caption(), u"Ada");
  screen.Type(u"\b\b");
  EXPECT_EQ(name->Caption(), u"A");
  EXPECT_EQ(wndOfferChar(9, 1), 0) << "Tab is not the field's";
  EXPECT_EQ(wndOfferChar(27, 1), 0) << "nor is Escape";
  EXPECT_EQ(name->Caption(), u"A");
  EXPECT_TRUE(screen.commands.empty());
  // Clicking into the field to type: pressed and released inside, no command.
  screen.Click(150, 110);
  EXPECT_EQ(name->State(), UIWnd::Active);
  EXPECT_TRUE(screen.commands.empty()) << "a click is not Enter";
  screen.Key(13);
  EXPECT_EQ(screen.commands, std::vector<std::string>{"Name"}) << "one command per Enter";
  EXPECT_EQ(name->State(), UIWnd::Active);
}
