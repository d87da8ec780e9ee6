// The achievements book: the most recently earned first and the rest in the table's order, the
// achievement a game without a clock cannot earn left out in that mode, the count and the share
// earned, the list scrolling with its bar, the records read from the player's progress, and the
// book closing.
#include <gtest/gtest.h>

#include <string>

#include "command_owner.h"
#include "files/text.h"
#include "game/core/game_model.h"
#include "game/menus/book.h"
#include "game/rules/achievements.h"
#include "menu_scratch.h"
#include "ui/ui_scroll.h"

using Menu::cBookRecord;
using Menu::cBookRecords;
using Menu::UIBook;

namespace {

const char* kBookDef =
    "[Main]\nx=0\ny=0\nxs=1024\nys=768\nfadeTime=0\n"
    "[ScrollFrame]\ntype=scrollWnd\nx=200\ny=150\nxs=600\nys=400\n"
    "[AchText]\ntype=text\nx=10\ny=5\nxs=500\nys=30\n"
    "[AchPad]\ntype=sprite\nx=0\ny=0\nxs=600\nys=40\n"
    "[AchClose]\ntype=ieButton\nx=420\ny=640\nxs=180\nys=48\nstage=1\n"
    "[ScrollBar]\ntype=progress2\nx=820\ny=150\nxs=30\nys=400\nvertical=1\nstage=1\n"
    "[ProgressBar]\ntype=progress\nx=200\ny=580\nxs=400\nys=20\n"
    "[Count]\ntype=text\nx=620\ny=575\nxs=100\nys=30\n";

// 58 records "A0" to "A57"; achievements 5, 52 and 40 earned in that order, 7 and 9 both with
// order 0 but a running value.
cBookRecords Records() {
  cBookRecords r;
  r.records.resize(58);
  for (int i = 0; i < 58; ++i) {
    r.records[size_t(i)].text = textUtf8ToUtf16("A" + std::to_string(i));
    r.records[size_t(i)].target = 10;
  }
  r.records[5].order = 1;
  r.records[52].order = 2;
  r.records[40].order = 3;
  r.records[7].value = 4;
  r.records[9].value = 9;
  r.earned = 3;
  return r;
}

using menutest::Owner;

class Book : public menutest::MenuScratch {
 protected:
  const char* Folder() const override { return "book"; }
  void SetUp() override {
    MenuScratch::SetUp();
    testkit::writeFile(UIBook::kFile, kBookDef);
    iniFreeAll();
  }
  void TearDown() override {
    Menu::bookSetSource(nullptr);
    MenuScratch::TearDown();
  }
  UIBook* Open(const cBookRecords& r, int mode) {
    UIBook* b = UIBook::Create(&owner, r, mode);
    EXPECT_NE(b, nullptr);
    wndRoot()->AddChild(b);
    Steps(2);
    return b;
  }
  static Core::UIScrollWnd* List(UIBook* b) { return dynamic_cast<Core::UIScrollWnd*>(b->FindChild("ScrollFrame")); }
  // The caption of the text in row r of the list (texts and pads alternate).
  static std::u16string RowText(UIBook* b, int r) { return List(b)->Child(2 * r)->Caption(); }
  Owner owner;
};

}  // namespace

TEST(BookOrder, LatestEarnedFirstThenTheRestInTableOrder) {
  const cBookRecords r = Records();
  const std::vector<int> order = Menu::bookShownOrder(r.records, Game::kModeNormal);
  ASSERT_EQ(order.size(), 58u);
  EXPECT_EQ(order[0], 40);
  EXPECT_EQ(order[1], 52);
  EXPECT_EQ(order[2], 5);
  EXPECT_EQ(order[3], 0) << "the rest keep their own order";
  EXPECT_EQ(order[4], 1);
  EXPECT_EQ(order[8], 6) << "5 was taken out of the run";
  EXPECT_EQ(order.back(), 57);

  const std::vector<int> untimed = Menu::bookShownOrder(r.records, Game::kModeNoTime);
  EXPECT_EQ(untimed.size(), 57u);
  EXPECT_EQ(std::count(untimed.begin(), untimed.end(), Menu::kBookTimeOverAchievement), 0);
  EXPECT_EQ(untimed[0], 40);
  EXPECT_EQ(untimed[1], 5);
  EXPECT_EQ(Menu::bookShownOrder(r.records, Game::kModeMulticlick).size(), 58u);
}

TEST_F(Book, TheListHoldsAPadPerAchievementAndTheCountReadsEarnedOverShown) {
  UIBook* b = Open(Records(), Game::kModeNormal);
  EXPECT_STREQ(b->Name(), "Book");
  Core::UIScrollWnd* list = List(b);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->ChildCount(), 2 * 58);
  EXPECT_EQ(RowText(b, 0), u"A40");
  EXPECT_EQ(RowText(b, 1), u"A52");
  EXPECT_EQ(RowText(b, 3), u"A0");
  // Row r's text and pad stand r pad heights down the list.
  UIWnd* text5 = list->Child(10);
  UIWnd* pad5 = list->Child(11);
  EXPECT_EQ(pad5->Y(), 150 + 5 * 40);
  EXPECT_EQ(text5->Y(), 150 + 5 + 5 * 40);
  EXPECT_EQ(text5->X(), 210);
  EXPECT_EQ(list->ContentHeight(), 58 * 40);
  EXPECT_EQ(list->ContentWidth(), 600);
  EXPECT_EQ(list->Child(1)->State(), UIWnd::Normal) << "an earned achievement's pad";
  EXPECT_EQ(list->Child(7)->State(), UIWnd::Ignore) << "one still to come";
  EXPECT_EQ(b->FindChild("Count")->Caption(), u"3/58");
  EXPECT_FLOAT_EQ(b->FindChild("ProgressBar")->GetValue(), 3.0f / 58.0f);
  EXPECT_FLOAT_EQ(b->FindChild("ScrollBar")->GetValue(), 1.0f) << "the bar starts at the top";
}

TEST_F(Book, WithoutAClockTheBookShows57) {
  UIBook* b = Open(Records(), Game::kModeNoTime);
  EXPECT_EQ(b->Shown(), 57);
  EXPECT_EQ(List(b)->ChildCount(), 2 * 57);
  EXPECT_EQ(RowText(b, 1), u"A5") << "the time-over achievement is left out even when earned";
  EXPECT_EQ(b->FindChild("Count")->Caption(), u"3/57");
  EXPECT_EQ(List(b)->ContentHeight(), 57 * 40);
}

TEST_F(Book, TheBarAndTheListScrollTogether) {
  UIBook* b = Open(Records(), Game::kModeNormal);
  Core::UIScrollWnd* list = List(b);
  UIWnd* bar = b->FindChild("ScrollBar");
  const int range = 58 * 40 - 400;
  // The bar moved to the bottom: the list follows.
  bar->SetValue(0.0f);
  b->OnNotify(bar, 0);
  EXPECT_EQ(list->Offset(), -range);
  EXPECT_EQ(list->Child(0)->Y(), 150 + 5 - range);
  // A wheel notch over the list moves the bar along (up from the bottom by 40 pixels).
  list->Wheel(1.0f, 0, testkit::Pack(500, 300));
  EXPECT_EQ(list->Offset(), -range + 40);
  EXPECT_NEAR(bar->GetValue(), 40.0f / float(range), 1e-4);
  bar->SetValue(0.5f);
  b->OnNotify(bar, 0);
  EXPECT_EQ(list->Offset(), -range / 2);
}

TEST_F(Book, AchCloseAndEscapeCloseTheBook) {
  UIBook* b = Open(Records(), Game::kModeNormal);
  Click(b->FindChild("AchClose"));
  Steps(3);
  EXPECT_EQ(owner.heard, (std::vector<std::string>{"AchClose"}));
  wndRoot()->RemoveChild(b);
  owner.heard.clear();
  b = Open(Records(), Game::kModeNormal);
  b->KeyDown(VK_ESCAPE_, 1);
  Steps(3);
  EXPECT_EQ(owner.heard, (std::vector<std::string>{"AchClose"}));
}

TEST_F(Book, WithoutATableTheRecordsComeFromTheDefinitionsAndThePlayersProgress) {
  testkit::writeFile("data/interface/achievements.ini",
                     "[Main]\nHiddenAchText=#ACH_HIDDEN\n"
                     "[ach0]\ntext=#ACH_FIRST\nvalueToAchieve=1\nvisible=1\n"
                     "[ach1]\ntext=#ACH_SECRET\nvalueToAchieve=5\nvisible=0\n"
                     "[ach2]\ntext=#ACH_SECRET2\nvalueToAchieve=5\n");
  testkit::writeFile("data/translation.ini", "[ach]\n#ACH_HIDDEN=???\n#ACH_FIRST=First steps\n"
                                             "#ACH_SECRET=A secret\n#ACH_SECRET2=Another secret\n");
  iniFreeAll();
  AddPlayer(u"Robin");
  PlayerProgress* p = playerProgress();
  p->mode = Game::kModeMulticlick;
  p->achV[1][0] = 1;
  p->achN[1][0] = 2;
  p->achV[1][2] = 5;
  p->achN[1][2] = 1;
  p->achV[1][1] = 3;
  p->achN[0][1] = 7;  // another mode's progress does not count
  const cBookRecords r = Menu::bookRecordsFromProfile();
  ASSERT_EQ(r.records.size(), 58u);
  EXPECT_EQ(r.earned, 2);
  EXPECT_EQ(r.records[0].text, u"First steps");
  EXPECT_EQ(r.records[0].target, 1);
  EXPECT_EQ(r.records[1].text, u"???") << "hidden until earned";
  EXPECT_EQ(r.records[1].value, 3);
  EXPECT_EQ(r.records[1].order, 0);
  EXPECT_EQ(r.records[2].text, u"Another secret") << "earned: shown even though hidden";
  EXPECT_EQ(r.records[57].text, u"???") << "a missing definition is a hidden one";

  // The table, once it exists, hands its own records.
  Menu::bookSetSource([]() {
    cBookRecords own = Records();
    own.earned = 1;
    return own;
  });
  UIBook* b = UIBook::Create(&owner);
  wndRoot()->AddChild(b);
  EXPECT_EQ(b->FindChild("Count")->Caption(), u"1/58");
}

TEST_F(Book, TheRunningTableHandsItsOwnRecords) {
  testkit::writeFile("data/interface/achievements.ini",
                     "[Main]\nHiddenAchText=#ACH_HIDDEN\n"
                     "[ach3]\ntext=#ACH_BARN\nvalueToAchieve=2\nvisible=1\n"
                     "[ach8]\ntext=#ACH_SECRET\nvalueToAchieve=3\n");
  testkit::writeFile("data/translation.ini", "[ach]\n#ACH_HIDDEN=???\n#ACH_BARN=Mend the barn twice\n#ACH_SECRET=Shh\n");
  iniFreeAll();
  Game::cAchievementTable table;
  table.Load("data/interface/achievements.ini");
  int32_t values[58] = {}, orders[58] = {};
  values[3] = 2;
  orders[3] = 1;
  values[8] = 1;
  table.CopyIn(values, orders);
  const cBookRecords r = Menu::bookRecordsFromTable(table);
  ASSERT_EQ(r.records.size(), 58u);
  EXPECT_EQ(r.earned, 1);
  EXPECT_EQ(r.records[3].text, u"Mend the barn twice");
  EXPECT_EQ(r.records[3].order, 1);
  EXPECT_EQ(r.records[8].text, u"???");
  EXPECT_EQ(r.records[8].value, 1);
  EXPECT_EQ(r.records[8].target, 3);
  EXPECT_EQ(Menu::bookShownOrder(r.records, Game::kModeNormal).front(), 3);
}
