// The achievements book opened over a level in play: its round button opens it (the click stays off
// the map and does not start a waiting clock), the level stands still and the map hears nothing
// while it is open, Close, Escape and Enter close it and the level runs on, each opening shows the
// achievement table as it stands then (in the level's game mode), the level darkens to black behind
// it and is then not drawn at all, and missing or broken definitions leave the level playable.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/soft_cursor.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/players.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "game/core/map.h"
#include "game/interface/interface.h"
#include "game/menus/book.h"
#include "game/menus/game_menu.h"
#include "game/rules/achievements.h"
#include "game_test_util.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "support/game_harness.h"
#include "support/input_script.h"
#include "support/null_renderer.h"
#include "support/test_files.h"
#include "ui/ui_scroll.h"
#include "ui/wnd.h"

using Game::Phase;
using testkit::Pack;

namespace {
namespace fs = std::filesystem;

constexpr int kLevel = 233;
// The book's button, its centre, and the book's Close button's centre.
constexpr int kButtonX = 858, kButtonY = 732;
constexpr int kCloseX = 510, kCloseY = 664;
// Where the probe stands on the map, clear of every board.
constexpr int kProbeX = 500, kProbeY = 400;

const char* kMainIni =
    "[Menu]\ntype=ieButton\nx=900\ny=700\nxs=100\nys=40\nstage=1\n"
    "[BookButton]\ntype=sprite\nx=830\ny=704\nxs=56\nys=56\nstage=1\n"
    "[BookHint]\ntype=sprite\nx=740\ny=660\nxs=220\nys=40\nname=Book of achievements\nisIgnore=1\n";

// Fades of 100 ms: the book is up after 8 steps of 25 ms and gone 8 steps after it is closed.
const char* kBookIni =
    "[Main]\nx=0\ny=0\nxs=1024\nys=768\nfadeTime=100\nbgAlpha=160\n"
    "[ScrollFrame]\ntype=scrollWnd\nx=200\ny=150\nxs=600\nys=400\n"
    "[AchText]\ntype=text\nx=10\ny=5\nxs=500\nys=30\n"
    "[AchPad]\ntype=sprite\nx=0\ny=0\nxs=600\nys=40\n"
    "[AchClose]\ntype=ieButton\nx=420\ny=640\nxs=180\nys=48\nstage=1\n"
    "[ScrollBar]\ntype=progress2\nx=820\ny=150\nxs=30\nys=400\nvertical=1\nstage=1\n"
    "[ProgressBar]\ntype=progress\nx=200\ny=580\nxs=400\nys=20\n"
    "[Count]\ntype=text\nx=620\ny=575\nxs=100\nys=30\n";
constexpr int kBookFadeSteps = 8;

// Achievement i says "Deed i", is listed before it is earned and is earned at 5.
std::string tableIni() {
  std::string s = "[Main]\nHiddenAchText=Secret\n";
  for (int i = 0; i < Game::kAchievementCount; ++i)
    s += "[ach" + std::to_string(i) + "]\ntext=Deed " + std::to_string(i) + "\nvalueToAchieve=5\nvisible=1\n";
  return s;
}

// What the map did with the probe, kept outside it: the map deletes its objects at the end.
struct ProbeLog {
  int draws = 0, enters = 0, clicks = 0;
};

// A clickable object 40 x 40 around its anchor that counts its draws, hovers and clicks.
class Probe : public Map::cObject {
 public:
  explicit Probe(ProbeLog* log) : m_log(log) {
    boundHalfSize = {20, 20};
    Set(Map::kFlagClickable, true);
  }
  void Draw(const Map::DrawContext&) override { ++m_log->draws; }
  bool HoverEnter() override {
    ++m_log->enters;
    return true;
  }
  bool Click(bool) override {
    ++m_log->clicks;
    return false;
  }

 private:
  ProbeLog* m_log;
};

// A level of its own folder on screen in a window tree of its own, with the book's definitions,
// the achievement table and a probe on the map; stepped through the root as the main loop does.
class BookInPlay : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = fs::current_path();
    const fs::path dir = home_ / "book_in_play";
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::current_path(dir);
    testkit::writeFile("game.ini", "[main]\nname=book_in_play\npath=book_in_play\n");
    testkit::writeFile("data/test.ini", "[main]\n");
    testkit::writeFile("data/menu/gameMenu.ini", "[Main]\nx=0\ny=0\nxs=1024\nys=768\n");
    testkit::writeFile("data/interface/main.ini", kMainIni);
    testkit::writeFile(Menu::UIBook::kFile, kBookIni);
    testkit::writeFile(Game::cAchievementTable::kFile, tableIni());
    iniFreeAll();
    fileInitPaths();
    testSettingsLoad("data/test.ini");
    playersClear();
    gametest::clearGerr();
    Game::achievementsCreate();
    wndSetRoot(new UIWnd());
    cursorCreate();
  }
  void TearDown() override {
    Game::EndLevel();
    cursorDestroy();
    UIWnd* root = wndRoot();
    wndSetRoot(nullptr);
    delete root;
    wndCollectGarbage();
    Game::achievementsDestroy();
    testSettingsLoad("none.ini");
    iniFreeAll();
    fs::current_path(home_);
  }

  // Loads the level in `mode`, shows its view and puts the probe on the map.
  void Start(int mode = Game::kModeNormal) {
    testkit::LevelFiles f;
    f.balance = "[Main]\ntLevelTime=60000\ntGoldTime=20000\ntSilverTime=40000\nMinuteTime=1000\n"
                "[Resources]\nWorker=1\n";
    std::string error;
    ASSERT_TRUE(testkit::WriteTestLevel(kLevel, f, &error)) << error;
    ASSERT_TRUE(harness_.Load(kLevel, mode));
    Game::levelShowView();
    ASSERT_NE(view(), nullptr);
    ASSERT_NE(ui(), nullptr);
    auto* p = new Probe(&probe_);
    p->id = 900;
    p->x = float(kProbeX);
    p->y = float(kProbeY);
    Game::levelContext()->map->Add(p);
  }
  Game::cGameView* view() const { return Game::levelContext() ? Game::levelContext()->view : nullptr; }
  Interface::UIInterface* ui() const { return view() ? view()->interfaceWnd() : nullptr; }
  int32_t remaining() const { return harness_.model().levelTimer().remaining; }

  void Steps(int n) {
    for (int i = 0; i < n; ++i) {
      clock_ += 25;
      gameSetClock(clock_);
      wndRoot()->Update(25);
      wndCollectGarbage();
    }
  }
  static void Move(int x, int y) { wndOfferMouseMove(0, Pack(x, y)); }
  static void Click(int x, int y) {
    Move(x, y);
    wndOfferKeyDown(VK_LBUTTON_, Pack(x, y));
    wndOfferKeyUp(VK_LBUTTON_, Pack(x, y));
  }
  // The book through its button, up once its fades have run.
  void OpenByButton() {
    Click(kButtonX, kButtonY);
    ASSERT_TRUE(ui()->BookOpen());
    Steps(kBookFadeSteps + 1);
    ASSERT_NE(ui()->book(), nullptr);
    ASSERT_EQ(ui()->book()->OpenState(), Menu::UIDialog::kOpen);
  }
  // The caption of row r of the open book's list (texts and pads alternate).
  std::u16string Row(int r) const {
    auto* list = dynamic_cast<Core::UIScrollWnd*>(ui()->book()->FindChild("ScrollFrame"));
    return list && 2 * r < list->ChildCount() ? list->Child(2 * r)->Caption() : u"";
  }
  std::u16string Count() const {
    UIWnd* c = ui()->book()->FindChild("Count");
    return c ? c->Caption() : u"";
  }
  // Polygons one draw of the view puts on the screen.
  int PolygonsOfViewDraw() {
    grBeginScene();
    grFlip(nullptr, nullptr);
    grBeginScene();
    view()->Draw();
    grSetClip(0, 0, 1024, 768);  // flushes the batch
    const int n = grStatistic(kStatPolygons);
    grFlip(nullptr, nullptr);
    return n;
  }

  fs::path home_;
  testkit::GameHarness harness_;
  ProbeLog probe_;
  int32_t clock_ = 0;
};

}  // namespace

TEST_F(BookInPlay, TheButtonOpensTheBookAndTheLevelStandsStillUntilEscapeClosesIt) {
  Start();
  wndOfferKeyDown('A', 1);
  ASSERT_EQ(harness_.phase(), Phase::Running);
  Steps(4);
  UIWnd* button = ui()->bookButton();
  ASSERT_NE(button, nullptr);
  ASSERT_NE(ui()->bookHint(), nullptr);
  EXPECT_TRUE(ui()->bookHint()->Hidden()) << "no hint before the pointer comes";

  // Pointed at, the button lights and its hint shows; away from it both go back.
  Move(kButtonX, kButtonY);
  EXPECT_EQ(button->State(), UIWnd::Active);
  EXPECT_FALSE(ui()->bookHint()->Hidden());
  Move(kProbeX + 200, kProbeY);
  EXPECT_EQ(button->State(), UIWnd::Normal);
  EXPECT_TRUE(ui()->bookHint()->Hidden());

  Click(kButtonX, kButtonY);
  ASSERT_TRUE(ui()->BookOpen());
  EXPECT_TRUE(ui()->Modal());
  EXPECT_STREQ(ui()->book()->Name(), "Book");
  EXPECT_TRUE(ui()->bookHint()->Hidden());
  Steps(1);
  EXPECT_FLOAT_EQ(ui()->FadeAlpha(), 0.0f) << "the book darkens the level itself, from clear";
  EXPECT_EQ(probe_.clicks, 0);
  const int32_t left = remaining();
  Steps(40);
  EXPECT_EQ(remaining(), left) << "the level stands still under the book";

  // The map hears neither the pointer nor the button, and Escape does not reach the game menu.
  Move(kProbeX, kProbeY);
  wndOfferKeyDown(VK_LBUTTON_, Pack(kProbeX, kProbeY));
  wndOfferKeyUp(VK_LBUTTON_, Pack(kProbeX, kProbeY));
  EXPECT_EQ(probe_.enters, 0);
  EXPECT_EQ(probe_.clicks, 0);
  EXPECT_EQ(view()->hoveredId(), -1);
  wndOfferKeyDown(VK_ESCAPE_, 1);
  ASSERT_NE(ui()->gameMenu(), nullptr);
  EXPECT_TRUE(ui()->gameMenu()->Hidden());
  EXPECT_TRUE(ui()->book()->Closing()) << "Escape closes the book";

  // Still modal while it fades out; then gone, with the level running on.
  Steps(2);
  EXPECT_TRUE(ui()->Modal());
  EXPECT_EQ(remaining(), left);
  Steps(kBookFadeSteps);
  EXPECT_FALSE(ui()->BookOpen());
  EXPECT_EQ(ui()->book(), nullptr);
  EXPECT_FALSE(ui()->Modal());
  EXPECT_EQ(button->State(), UIWnd::Normal) << "the button is released";
  Steps(40);
  EXPECT_LT(remaining(), left);
  Click(kProbeX, kProbeY);
  EXPECT_EQ(probe_.enters, 1);
  EXPECT_EQ(probe_.clicks, 1) << "the map takes clicks again";
}

TEST_F(BookInPlay, CloseAndEnterCloseTheBookAndAClickOnTheButtonLeavesAWaitingClockAlone) {
  Start();
  const Phase waiting = harness_.phase();
  ASSERT_NE(waiting, Phase::Running);
  OpenByButton();
  EXPECT_EQ(harness_.phase(), waiting) << "the click was the button's, not the map's";

  Click(kCloseX, kCloseY);
  EXPECT_TRUE(ui()->book()->Closing());
  Steps(kBookFadeSteps + 1);
  EXPECT_FALSE(ui()->BookOpen());
  EXPECT_FALSE(ui()->Modal());
  EXPECT_EQ(harness_.phase(), waiting);

  // Opened again; Enter closes it as well. The button waits for the next opening.
  OpenByButton();
  wndOfferKeyDown(VK_RETURN_, 1);
  Steps(kBookFadeSteps + 1);
  EXPECT_FALSE(ui()->BookOpen());
  EXPECT_FALSE(ui()->Modal());
  EXPECT_TRUE(ui()->OpenBook());
  EXPECT_TRUE(ui()->Modal());
  EXPECT_FALSE(ui()->OpenBook()) << "one book at a time";
}

TEST_F(BookInPlay, EachOpeningShowsTheTableAsItStandsThen) {
  Start();
  Game::cAchievementTable* table = Game::achievementTable();
  ASSERT_NE(table, nullptr);
  table->Add(3, 5);
  OpenByButton();
  EXPECT_EQ(Count(), u"1/58");
  EXPECT_EQ(Row(0), u"Deed 3");
  EXPECT_EQ(Row(1), u"Deed 0");
  wndOfferKeyDown(VK_ESCAPE_, 1);
  Steps(kBookFadeSteps + 1);
  ASSERT_FALSE(ui()->BookOpen());

  // Earned during play: the next opening lists it first.
  wndOfferKeyDown('A', 1);
  table->Add(7, 5);
  Steps(4);
  OpenByButton();
  EXPECT_EQ(Count(), u"2/58");
  EXPECT_EQ(Row(0), u"Deed 7");
  EXPECT_EQ(Row(1), u"Deed 3");
  EXPECT_EQ(Row(2), u"Deed 0");
}

TEST_F(BookInPlay, ALevelWithoutAClockHasTheBookOfThatMode) {
  Start(Game::kModeNoTime);
  Game::achievementTable()->Add(10, 5);
  OpenByButton();
  EXPECT_EQ(ui()->book()->Shown(), 57);
  EXPECT_EQ(Count(), u"1/57");
  EXPECT_EQ(Row(0), u"Deed 10");
  for (int r = 0; r < 57; ++r) EXPECT_NE(Row(r), u"Deed 52") << "the achievement this mode cannot earn, row " << r;
}

TEST_F(BookInPlay, TheMapIsNotDrawnUnderTheOpenBook) {
  ASSERT_TRUE(testkit::StartNullRenderer("book in play"));
  Start();
  PolygonsOfViewDraw();
  EXPECT_EQ(probe_.draws, 1);
  // The level darkens behind the opening book; only once it is black the map goes undrawn.
  Click(kButtonX, kButtonY);
  ASSERT_TRUE(ui()->BookOpen());
  Steps(2);
  EXPECT_FALSE(ui()->BookCoversScreen());
  PolygonsOfViewDraw();
  EXPECT_EQ(probe_.draws, 2) << "the map under the darkening";
  Steps(kBookFadeSteps);
  ASSERT_TRUE(ui()->BookCoversScreen());
  EXPECT_FLOAT_EQ(ui()->book()->BackFade().value, 255.0f) << "over a level the book darkens to black";
  const int bookPolygons = PolygonsOfViewDraw();
  EXPECT_EQ(probe_.draws, 2) << "the map under the book";
  EXPECT_GT(bookPolygons, 0) << "the book itself";
  // With the interface hidden the book still shows, or it could not be closed.
  gametest::writeFile("hide.ini", "[main]\nGame_Hide_Interface=1\n");
  testSettingsLoad("hide.ini");
  EXPECT_GT(PolygonsOfViewDraw(), 0);
  EXPECT_EQ(probe_.draws, 2);
  testSettingsLoad("data/test.ini");
  // Closing, the content goes first with the screen still black, then the level comes back.
  wndOfferKeyDown(VK_ESCAPE_, 1);
  Steps(2);
  PolygonsOfViewDraw();
  EXPECT_EQ(probe_.draws, 2);
  Steps(kBookFadeSteps / 2 + 1);
  ASSERT_TRUE(ui()->BookOpen());
  PolygonsOfViewDraw();
  EXPECT_EQ(probe_.draws, 3) << "the level shows through the fading darkening";
  Steps(kBookFadeSteps);
  ASSERT_FALSE(ui()->BookOpen());
  PolygonsOfViewDraw();
  EXPECT_EQ(probe_.draws, 4) << "the map is back";
}

TEST_F(BookInPlay, OtherScreensKeepTheBookShutAndBrokenDefinitionsLeaveTheLevelPlayable) {
  Start();
  // Under the game menu the button is out of reach.
  wndOfferKeyDown(VK_ESCAPE_, 1);
  ASSERT_FALSE(ui()->gameMenu()->Hidden());
  Click(kButtonX, kButtonY);
  EXPECT_FALSE(ui()->BookOpen());
  EXPECT_FALSE(ui()->OpenBook());
  wndOfferKeyDown(VK_ESCAPE_, 1);
  ASSERT_FALSE(ui()->Modal());

  // A book definition without its "Main" opens nothing and says so; the level is not held.
  testkit::writeFile(Menu::UIBook::kFile, "[Count]\ntype=text\n");
  iniFreeAll();
  Click(kButtonX, kButtonY);
  EXPECT_FALSE(ui()->BookOpen());
  EXPECT_FALSE(ui()->Modal());
  EXPECT_NE(gametest::gerrText().find(Menu::UIBook::kFile), std::string::npos);

  // Without the book's definition the level has no book button: that spot is map again.
  fs::remove(Menu::UIBook::kFile);
  iniFreeAll();
  Start();
  EXPECT_EQ(ui()->bookButton(), nullptr);
  EXPECT_EQ(ui()->bookHint(), nullptr);
  EXPECT_FALSE(ui()->OpenBook());
  Click(kButtonX, kButtonY);
  EXPECT_EQ(harness_.phase(), Phase::Running) << "the click went to the map and started the clock";
}
