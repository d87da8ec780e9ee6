// The high-score table: where a result goes, which row drops out, one row per player however often
// the table is opened, and the dialog that shows it (its rows, keys, the finale's sound and the
// book after it), opened from the main menu as the player opens it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/profile.h"
#include "files/text.h"
#include "game/menus/book.h"
#include "game/menus/main_menu.h"
#include "game/menus/scores.h"
#include "game/menus/screens.h"
#include "command_owner.h"
#include "menu_scratch.h"
#include "sound/snd_test_util.h"

namespace fs = std::filesystem;
using Menu::cScoreList;
using Menu::cScoreRow;
using Menu::UIScores;
using menutest::Owner;

namespace {

std::vector<cScoreRow> Rows(std::initializer_list<std::pair<const char16_t*, int>> rows) {
  std::vector<cScoreRow> out;
  for (const auto& [name, value] : rows) out.push_back({name, value});
  return out;
}

std::vector<int> Values(const cScoreList& t) {
  std::vector<int> v;
  for (const cScoreRow& r : t.Rows()) v.push_back(r.value);
  return v;
}

int RowsNamed(const cScoreList& t, const char16_t* name) {
  int n = 0;
  for (const cScoreRow& r : t.Rows()) n += r.name == name;
  return n;
}

const auto kFull = {std::pair<const char16_t*, int>{u"Ada", 900}, {u"Bo", 700}, {u"Cy", 500}, {u"Di", 300},
                    {u"Ed", 200}, {u"Fay", 150}, {u"Gus", 100}, {u"Hal", 50}};

}  // namespace

TEST(ScoreList, AResultGoesAboveEqualScoresAndOnlyAFullTableLosesItsLastRow) {
  cScoreList t;
  t.SetRows(Rows(kFull));
  ASSERT_TRUE(t.Enter(u"Zed", 500));
  EXPECT_EQ(t.EnteredAt(), 2) << "third, above the old 500";
  EXPECT_EQ(Values(t), (std::vector<int>{900, 700, 500, 500, 300, 200, 150, 100}));
  EXPECT_EQ(t.Rows()[2].name, u"Zed");
  EXPECT_EQ(t.Rows()[3].name, u"Cy");
  EXPECT_EQ(RowsNamed(t, u"Hal"), 0) << "the old eighth row drops out";

  // Every row greater: a full table takes nothing.
  EXPECT_FALSE(t.Enter(u"Ivy", 90));
  EXPECT_EQ(t.EnteredAt(), -1);
  EXPECT_EQ(t.Rows().size(), 8u);
  EXPECT_EQ(RowsNamed(t, u"Ivy"), 0);

  // A short table grows instead: nothing is dropped until it is full.
  cScoreList s;
  s.SetRows(Rows({{u"Ada", 900}, {u"Bo", 500}, {u"Cy", 100}}));
  ASSERT_TRUE(s.Enter(u"Zed", 40));
  EXPECT_EQ(s.EnteredAt(), 3) << "below everyone, still in";
  ASSERT_TRUE(s.Enter(u"Amy", 950));
  EXPECT_EQ(s.EnteredAt(), 0);
  EXPECT_EQ(Values(s), (std::vector<int>{950, 900, 500, 100, 40}));
}

TEST(ScoreList, NoNameOrNoScoreEntersNothing) {
  cScoreList t;
  t.SetRows(Rows({{u"Ada", 900}, {u"Bo", 500}}));
  EXPECT_FALSE(t.Enter(u"", 1000));
  EXPECT_FALSE(t.Enter(u"Zed", 0));
  EXPECT_FALSE(t.Enter(u"Zed", -20));
  EXPECT_EQ(Values(t), (std::vector<int>{900, 500}));
  EXPECT_TRUE(t.Enter(u"Zed", 1)) << "a score of 1 counts";
}

TEST(ScoreList, APlayerKeepsOneRowWithTheirBestTotal) {
  cScoreList t;
  t.SetRows(Rows(kFull));
  EXPECT_FALSE(t.Enter(u"Cy", 500)) << "the same total again is not a new result";
  EXPECT_FALSE(t.Enter(u"cy", 450)) << "a lower total (names compare as player names do) changes nothing";
  ASSERT_TRUE(t.Enter(u"Cy", 800));
  EXPECT_EQ(t.EnteredAt(), 1);
  EXPECT_EQ(RowsNamed(t, u"Cy"), 1);
  EXPECT_EQ(Values(t), (std::vector<int>{900, 800, 700, 300, 200, 150, 100, 50}))
      << "the player's own row moved up; nobody else dropped out";
  // The last row's holder climbs past everyone: the table never loses a row to them.
  ASSERT_TRUE(t.Enter(u"Hal", 1000));
  EXPECT_EQ(t.Rows().front().name, u"Hal");
  EXPECT_EQ(t.Rows().size(), 8u);
  EXPECT_EQ(t.Rows().back().value, 100);
}

namespace {

const char* kScoresDef =
    "[Main]\nx=0\ny=0\nxs=1024\nys=768\nfadeTime=0\nbgAlpha=100\n"
    "deltaY=40\nplayerStrX=300\nplayerStrY=200\nplayerScoresX=600\nplayerScoresY=205\n"
    "[PlayerScores]\ntype=text\nxs=250\nys=30\n"
    "[PlayerStr]\ntype=text\nxs=120\nys=30\n"
    "[Sign]\ntype=sprite\nx=400\ny=40\nxs=220\nys=60\n"
    "[Scores]\ntype=text\nx=400\ny=60\nxs=220\nys=40\nname=Best\n"
    "[ScoresOk]\ntype=ieButton\nx=420\ny=640\nxs=180\nys=48\nstage=1\n"
    "[Frame]\ntype=sprite\nx=250\ny=120\nxs=520\nys=580\n"
    "[Back]\ntype=sprite\nx=0\ny=0\nxs=1024\nys=768\n";

// The shipped table: eight villagers, 8000 down to 1000.
std::string DefaultScores() {
  std::string s;
  for (int i = 0; i < 8; ++i)
    s += "[Score" + std::to_string(i) + "]\nname=V" + std::to_string(i) + "\nvalue=" + std::to_string(8000 - i * 1000) +
         "\n";
  return s;
}

class ScoresDialog : public menutest::MenuScratch {
 protected:
  const char* Folder() const override { return "scores_dialog"; }
  void SetUp() override {
    MenuScratch::SetUp();
    testkit::writeFile("data/menu/menu_scores.ini", kScoresDef);
    testkit::writeFile("data/menu/default_scores.ini", DefaultScores());
    iniFreeAll();
  }
  // The table in the user's scores.ini, read afresh from the disk.
  static cScoreList Saved() {
    iniFreeAll();
    cScoreList t;
    t.Load();
    return t;
  }
  // Opens the dialog over `owner` as the menu does, and lets it come up.
  UIScores* Open(std::u16string_view name, int score, bool finale = false) {
    UIScores* d = UIScores::Create(&owner, name, score, finale);
    EXPECT_NE(d, nullptr);
    if (d) {
      wndRoot()->AddChild(d);
      Steps(2);
    }
    return d;
  }
  void Close(UIScores* d) {
    wndRoot()->RemoveChild(d);
    wndCollectGarbage();
  }
  Owner owner;
};

}  // namespace

TEST_F(ScoresDialog, OpeningTheTableAgainNeverEntersTheSameTotalTwice) {
  ASSERT_FALSE(fs::exists(fileScoresPath())) << "a first start has no table of its own";
  UIScores* d = Open(u"Robin", 5500);
  ASSERT_EQ(d->Table().Rows().size(), 8u);
  EXPECT_EQ(d->Table().EnteredAt(), 3);
  EXPECT_EQ(d->NameWindow(3)->Caption(), u"Robin");
  Close(d);
  ASSERT_TRUE(fs::exists(fileScoresPath())) << "a new result is kept";
  EXPECT_EQ(Values(Saved()), (std::vector<int>{8000, 7000, 6000, 5500, 5000, 4000, 3000, 2000}));

  // The table is opened twice more with the same total: it stays as it was and is not written.
  const auto before = fs::last_write_time(fileScoresPath()) - std::chrono::hours(1);
  fs::last_write_time(fileScoresPath(), before);
  for (int i = 0; i < 2; ++i) Close(Open(u"Robin", 5500));
  EXPECT_EQ(fs::last_write_time(fileScoresPath()), before);
  cScoreList t = Saved();
  EXPECT_EQ(RowsNamed(t, u"Robin"), 1);
  EXPECT_EQ(Values(t), (std::vector<int>{8000, 7000, 6000, 5500, 5000, 4000, 3000, 2000}))
      << "nobody dropped out for a second copy";

  // A better total moves the player's own row up.
  Close(Open(u"Robin", 7500));
  t = Saved();
  EXPECT_EQ(RowsNamed(t, u"Robin"), 1);
  EXPECT_EQ(Values(t), (std::vector<int>{8000, 7500, 7000, 6000, 5000, 4000, 3000, 2000}));
}

TEST_F(ScoresDialog, TheRowsShowTheDefaultTableUntilAResultIsEntered) {
  UIScores* d = Open(u"Robin", 0);
  EXPECT_STREQ(d->Name(), "MenuScores");
  EXPECT_EQ(d->Table().EnteredAt(), -1) << "a score of 0 leaves the table";
  EXPECT_FALSE(fs::exists(fileScoresPath())) << "and nothing needed writing";
  for (int r = 0; r < 8; ++r) {
    UIWnd* name = d->NameWindow(r);
    UIWnd* value = d->ValueWindow(r);
    ASSERT_NE(name, nullptr);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(name->Caption(), textUtf8ToUtf16("V" + std::to_string(r)));
    EXPECT_EQ(value->Caption(), textUtf8ToUtf16(std::to_string(8000 - r * 1000)));
    EXPECT_EQ(name->X(), 300);
    EXPECT_EQ(name->Y(), 200 + r * 40);
    EXPECT_EQ(value->X(), 600);
    EXPECT_EQ(value->Y(), 205 + r * 40);
    EXPECT_EQ(value->Colour(), 0xFF96FF96u) << "the values are green, the names white";
    EXPECT_EQ(name->Colour(), 0xFFFFFFFFu);
  }
  EXPECT_EQ(d->NameWindow(8), nullptr);
  Close(d);

  // A short table of the player's own shows just its rows.
  testkit::writeFile(fileScoresPath(), "[Score0]\nname=Solo\nvalue=10\n[Score1]\nname=\nvalue=0\n");
  iniFreeAll();
  d = Open(u"", 100);
  EXPECT_EQ(d->Table().Rows().size(), 1u) << "no name enters nothing";
  EXPECT_NE(d->NameWindow(0), nullptr);
  EXPECT_EQ(d->NameWindow(1), nullptr);
}

TEST_F(ScoresDialog, EnterAndEscapePressOkAndTheOwnerHearsIt) {
  for (int key : {VK_RETURN_, VK_ESCAPE_}) {
    owner.heard.clear();
    UIScores* d = Open(u"Robin", 10);
    d->KeyDown(key, 1);
    EXPECT_EQ(d->FindChild("ScoresOk")->State(), UIWnd::Press);
    Steps(3);
    EXPECT_EQ(owner.heard, (std::vector<std::string>{"ScoresOk"}));
    Close(d);
  }
  // A hidden OK does not answer.
  owner.heard.clear();
  UIScores* d = Open(u"Robin", 10);
  d->FindChild("ScoresOk")->SetHidden(true);
  d->KeyDown(VK_RETURN_, 1);
  Steps(3);
  EXPECT_TRUE(owner.heard.empty());
}

TEST_F(ScoresDialog, TheFinalePlaysItsSoundASecondAfterOpening) {
  StartSound();
  testkit::writeFile("data/snd/finale.wav", sndtest::makeWav(16, 1, 22050, sndtest::sine(600, 22050, 2205, 8000)));
  testkit::writeFile("data/snd/finale.ini", "[ShowQuest]\nname=data/snd/finale.wav\n");
  sndLoadScript("data/snd/finale.ini");
  UIScores* plain = UIScores::Create(&owner, u"Robin", 10, false);
  wndRoot()->AddChild(plain);
  Steps(60);
  EXPECT_EQ(Heard("ShowQuest"), 0) << "only the finale has it";
  Close(plain);

  UIScores* d = UIScores::Create(&owner, u"Robin", 10, true);
  ASSERT_TRUE(d->Finale());
  wndRoot()->AddChild(d);
  Steps(39);
  EXPECT_EQ(Heard("ShowQuest"), 0);
  Steps(1);
  EXPECT_EQ(Heard("ShowQuest"), 1);
  Steps(80);
  EXPECT_EQ(Heard("ShowQuest"), 1) << "once";
}

namespace {
const char* kMenuDef =
    "[Main]\n"
    "[Play]\ntype=ieButton\nx=400\ny=300\nxs=200\nys=50\nstage=1\n"
    "[Scores]\ntype=ieButton\nx=400\ny=420\nxs=200\nys=50\nstage=1\n"
    "[Achievements]\ntype=ieButton\nx=400\ny=480\nxs=200\nys=50\nstage=1\n"
    "[Exit]\ntype=ieButton\nx=400\ny=600\nxs=200\nys=50\nstage=1\n";
const char* kBookDef =
    "[Main]\nx=0\ny=0\nxs=1024\nys=768\nfadeTime=0\n"
    "[ScrollFrame]\ntype=scrollWnd\nx=200\ny=150\nxs=600\nys=400\n"
    "[AchText]\ntype=text\nx=10\ny=5\nxs=500\nys=30\n"
    "[AchPad]\ntype=sprite\nx=0\ny=0\nxs=600\nys=40\n"
    "[AchClose]\ntype=ieButton\nx=420\ny=640\nxs=180\nys=48\nstage=1\n";
}  // namespace

TEST_F(ScoresDialog, TheMenuOpensTheTableWithThePlayersTotalAndTheFinaleLeadsToTheBook) {
  testkit::writeFile("data/menu/UIMainMenu.ini", kMenuDef);
  testkit::writeFile("data/menu/achievements.ini", kBookDef);
  iniFreeAll();
  AddPlayer(u"Robin");
  PlayerProgress* p = playerProgress();
  p->sl[p->mode][0] = 2600;
  p->sl[p->mode][1] = 3000;
  auto* menu = Menu::UIMainMenu::Create();
  gameShowScreen(menu);
  Steps(2);
  Click(menu->FindChild("Scores"));
  ASSERT_EQ(menu->Modal().Kind(), Menu::UIMainMenu::kScores);
  auto* scores = dynamic_cast<UIScores*>(menu->Modal().Dialog());
  ASSERT_NE(scores, nullptr);
  EXPECT_FALSE(scores->Finale());
  EXPECT_EQ(scores->Table().EnteredAt(), 3) << "a total of 5600 stands fourth";
  Steps(2);
  Key(VK_RETURN_);
  Steps(4);
  EXPECT_FALSE(menu->Modal().IsOpen()) << "OK closes the table";

  Click(menu->FindChild("Achievements"));
  EXPECT_EQ(menu->Modal().Kind(), Menu::UIMainMenu::kAchievements);
  Steps(2);
  Key(VK_ESCAPE_);
  Steps(4);
  EXPECT_FALSE(menu->Modal().IsOpen()) << "the book closes";

  // After the game's last story the menu comes up with the table, and its OK opens the book.
  Menu::ShowMainMenu(true);
  Steps(1);
  auto* again = dynamic_cast<Menu::UIMainMenu*>(Screen());
  ASSERT_NE(again, nullptr);
  ASSERT_EQ(again->Modal().Kind(), Menu::UIMainMenu::kScores);
  EXPECT_TRUE(dynamic_cast<UIScores*>(again->Modal().Dialog())->Finale());
  Steps(2);
  Key(VK_RETURN_);
  Steps(4);
  EXPECT_EQ(again->Modal().Kind(), Menu::UIMainMenu::kAchievements);
  EXPECT_NE(dynamic_cast<Menu::UIBook*>(again->Modal().Dialog()), nullptr);
}
