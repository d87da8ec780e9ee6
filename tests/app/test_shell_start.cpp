// Start-up and shutdown of the whole program: the starts that cannot go on say why and leave no
// lock file, the console verbosity comes from a real Brevilon.ini, the window's place survives a
// run, screens change first child first, and the shell's keys: Escape on the menu asks whether to
// leave, F8 moves the music on.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/window_icon.h"
#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "game/core/game_main.h"
#include "game/core/game_music.h"
#include "game/menus/main_menu.h"
#include "game/menus/screens.h"
#include "gfx/image.h"
#include "platform/platform.h"
#include "support/input_script.h"
#include "support/test_files.h"
#include "ui/wnd.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& p, const std::string& text) { testkit::writeFile(p, text); }

// Runs the test body in a folder of its own (the game reads its files from the current folder).
class InFolder {
 public:
  explicit InFolder(const std::string& name) : old_(fs::current_path()) {
    fs::remove_all(name);
    fs::create_directories(name);
    fs::current_path(name);
    iniFreeAll();
  }
  ~InFolder() {
    iniFreeAll();
    fs::current_path(old_);
  }

 private:
  fs::path old_;
};

std::string UserFolderOf(const std::string& path) {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  return std::string(xdg ? xdg : "") + "/" + path;
}

bool LockFileLeft(const std::string& path) { return fs::exists(platInstanceLockPath(UserFolderOf(path))); }

// A game folder whose menu comes straight after start-up ("Game_No_Menu"), with the leave question.
void MenuFolder(const std::string& path, const std::string& extraMain = "") {
  Write("game.ini", "[main]\nname=ShellStart\npath=" + path + "\nxs=1024\nys=768\n" + extraMain + "[engine]\n");
  Write("data/test.ini", "[main]\nGame_No_Menu=1\n");
  Write("data/menu/UIMainMenu.ini", "[Main]\n[Title]\ntype=text\nname=Menu\nx=10\ny=10\n");
  Write("data/menu/dialog.ini",
        "[Exit]\ntype=sprite\nx=292\ny=284\nxs=440\nys=200\nfadeTime=0\n"
        "[Exit.Text]\ntype=text\nx=0\ny=40\nxs=440\nys=40\nname=Leave the game?\n"
        "[Exit.DialogYes]\ntype=ieButton\nx=50\ny=112\nxs=150\nys=48\nname=Yes\nstage=1\n"
        "[Exit.DialogNo]\ntype=ieButton\nx=240\ny=112\nxs=150\nys=48\nname=No\nstage=1\n");
  Write("data/snd/music.ini", "[main]\nmode=1\n");
  iniFreeAll();
}

UIWnd* Screen() {
  UIWnd* root = wndRoot();
  return root && root->ChildCount() > 0 ? root->Child(0) : nullptr;
}

// The menu shows its "Exit" question.
bool ExitAsked() {
  auto* menu = dynamic_cast<Menu::UIMainMenu*>(Screen());
  return menu && menu->Modal().Kind() == Menu::UIMainMenu::kExit;
}

}  // namespace

TEST(StartFailure, NoGameIniSaysWhereItLookedAndLeavesNothing) {
  InFolder here("no_game_ini");
  testing::internal::CaptureStderr();
  EXPECT_EQ(appInit(gameInput), 2) << "a failure, not the other-instance success";
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("game.ini was not found in " + fs::current_path().string()), std::string::npos) << said;
  EXPECT_NE(said.find("cd demo"), std::string::npos) << "it says how to start the game";
  EXPECT_FALSE(platWindowExists());
}

TEST(StartFailure, NoDisplayLeavesNoLockFileAndSaysWhatToDo) {
  InFolder here("no_display");
  Write("game.ini", "[main]\nname=NoDisplay\npath=NoDisplayTest\n");
  const PlatMode mode = platMode();
  const std::string driver = std::getenv("SDL_VIDEODRIVER") ? std::getenv("SDL_VIDEODRIVER") : "";
  const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
  unsetenv("SDL_VIDEODRIVER");
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  platSetMode(PlatMode::Window);
  testing::internal::CaptureStderr();
  const int r = appInit(gameInput);
  const std::string said = testing::internal::GetCapturedStderr();
  platSetMode(mode);
  if (!driver.empty()) setenv("SDL_VIDEODRIVER", driver.c_str(), 1);
  if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
  EXPECT_EQ(r, 2);
  EXPECT_NE(said.find("no display"), std::string::npos) << said;
  EXPECT_NE(said.find("MEADOWMARK_HEADLESS"), std::string::npos) << said;
  EXPECT_TRUE(fs::is_directory(UserFolderOf("NoDisplayTest"))) << "the lock was taken before";
  EXPECT_FALSE(LockFileLeft("NoDisplayTest"));
}

TEST(StartFailure, NoWindowToShowEndsTheOrderlyWayWithItsMessage) {
  InFolder here("no_window");
  Write("game.ini", "[main]\nname=\npath=NoWindowTest\n");  // an empty name: no window
  ASSERT_EQ(appInit(gameInput), 0);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(gameInit()) << "nothing to show";
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Window not created"), std::string::npos) << said;
  EXPECT_TRUE(LockFileLeft("NoWindowTest")) << "still running until the shutdown";
  gameDone();
  appDone();
  EXPECT_FALSE(LockFileLeft("NoWindowTest"));
}

TEST(Verbosity, ComesFromTheUserFoldersBrevilonIniOnceTheFolderIsKnown) {
  for (int verbose : {0, 1, 4}) {
    InFolder here("verbosity");
    // Without a byte-order signature game.ini makes the INI reader warn while the user folder is
    // still being found; that early message must not fix the verbosity.
    Write("game.ini", "[main]\nname=\npath=VerboseTest\n");
    Write(UserFolderOf("VerboseTest") + "/Brevilon.ini", "[Brevilon]\nverbose=" + std::to_string(verbose) + "\n");
    consoleSetVerbosity(-12345);
    ASSERT_EQ(appInit(gameInput), 0);
    testing::internal::CaptureStdout();
    consoleMessage(0, "level zero\n");
    consoleMessage(1, "level one\n");
    consoleMessage(4, "level four\n");
    const std::string out = testing::internal::GetCapturedStdout();
    appDone();
    EXPECT_NE(out.find("level zero"), std::string::npos);
    EXPECT_EQ(out.find("level one") != std::string::npos, verbose >= 1) << "verbose=" << verbose;
    EXPECT_EQ(out.find("level four") != std::string::npos, verbose >= 4) << "verbose=" << verbose;
  }
  consoleSetVerbosity(0);
}

namespace {
int g_pass = 0;
int MovingFrame() {
  platAdvanceClock(20);
  ++g_pass;
  if (g_pass == 5) platWindowSetPos(210, 120);  // the player drags the window
  if (g_pass == 10) platPostQuit();
  return gameFrame();
}
}  // namespace

TEST(WindowPlace, AMovedWindowIsSavedAndComesBackThere) {
  InFolder here("window_place");
  MenuFolder("PlaceTest", "x=-1\ny=-1\n");
  fileInitPaths();
  fs::remove(fileProfgamePath());
  platUseManualClock(true, 1000);
  g_pass = 0;
  ASSERT_EQ(appInit(gameInput), 0);
  ASSERT_TRUE(gameInit());
  appLoop(MovingFrame);
  gameDone();
  appDone();
  platResetEvents();
  iniFreeAll();
  EXPECT_EQ(iniGetInt(fileProfgamePath(), "main", "x", -1), 210);
  EXPECT_EQ(iniGetInt(fileProfgamePath(), "main", "y", -1), 120);
  // The next start reads the saved place and puts the window exactly there, also once the
  // graphics have set the display mode (which centres a window).
  ASSERT_EQ(appInit(gameInput), 0);
  int x = -1, y = -1;
  platWindowGetPos(x, y);
  EXPECT_EQ(x, 210);
  EXPECT_EQ(y, 120);
  EXPECT_EQ(appSettings().x, 210);
  ASSERT_TRUE(gameInit());
  platWindowGetPos(x, y);
  EXPECT_EQ(x, 210);
  EXPECT_EQ(y, 120);
  gameDone();
  appDone();
  platUseManualClock(false);
  EXPECT_FALSE(LockFileLeft("PlaceTest"));
}

namespace {
std::vector<std::string> g_removed;
class LoggingRoot : public UIWnd {
 public:
  void RemoveChild(UIWnd* child) override {
    g_removed.push_back(child->Name());
    UIWnd::RemoveChild(child);
  }
};
UIWnd* Named(const char* name) {
  auto* w = new UIWnd();
  w->SetName(name);
  return w;
}
}  // namespace

TEST(Screens, ShowingAScreenRemovesTheFirstChildFirst) {
  wndSetRoot(new LoggingRoot());
  for (const char* n : {"A", "B", "C"}) wndRoot()->AddChild(Named(n));
  g_removed.clear();
  Menu::ShowScreen(Named("S"));
  EXPECT_EQ(g_removed, (std::vector<std::string>{"A", "B", "C"}));
  ASSERT_EQ(wndRoot()->ChildCount(), 1);
  EXPECT_STREQ(wndRoot()->Child(0)->Name(), "S");
  UIWnd* root = wndRoot();
  wndSetRoot(nullptr);
  delete root;
  wndCollectGarbage();
  Menu::ShowScreen(Named("orphan"));  // no root: the screen is freed, not leaked or shown
}

TEST(LeaveQuestion, EscapeOnTheMenuAsksNoAndEscapeGoBackYesEnds) {
  InFolder here("leave");
  MenuFolder("LeaveTest");
  testkit::HeadlessGame game;
  ASSERT_TRUE(game.Ok());
  game.RunSteps(2);
  UIWnd* menu = Screen();
  ASSERT_NE(menu, nullptr);
  ASSERT_NE(menu->FindChild("Title"), nullptr) << "the menu is up";
  EXPECT_FALSE(ExitAsked());

  testkit::InputScript esc;
  esc.Key(gameStepCount() + 1, VK_ESCAPE_);
  esc.Start();
  game.RunSteps(3);
  ASSERT_TRUE(ExitAsked()) << "Escape asks";
  EXPECT_EQ(Screen(), menu) << "over the menu, which stays";

  // The question takes input first: a second Escape answers No.
  testkit::InputScript again;
  again.Key(gameStepCount() + 1, VK_ESCAPE_);
  again.Start();
  game.RunSteps(3);
  EXPECT_FALSE(ExitAsked());

  // Asked again, "No" clicked: back to the menu, still running.
  testkit::InputScript no;
  const int s = gameStepCount() + 1;
  no.Key(s, VK_ESCAPE_).Move(s + 1, 600, 420).Click(s + 2, 600, 420);
  no.Start();
  game.RunSteps(5);
  EXPECT_FALSE(ExitAsked());
  EXPECT_EQ(Screen(), menu);
  EXPECT_EQ(gameFrame(), 0);

  // "Yes" ends the program the orderly way: the menu's next step shows the closing screens, which
  // this folder has no pictures for, so each gives way on its next step, and then the frame
  // callback reports the end.
  testkit::InputScript yes;
  const int t = gameStepCount() + 1;
  yes.Key(t, VK_ESCAPE_).Move(t + 1, 400, 420).Click(t + 2, 400, 420);
  yes.Start();
  game.RunSteps(5);
  EXPECT_EQ(gameFrame(), 0) << "the closing screens come first";
  game.RunSteps(4);
  EXPECT_EQ(gameFrame(), 1);
}

TEST(LeaveQuestion, EnterAnswersYesAndEscapeElsewhereAsksNothing) {
  InFolder here("leave_enter");
  MenuFolder("LeaveEnterTest");
  testkit::HeadlessGame game;
  ASSERT_TRUE(game.Ok());
  game.RunSteps(2);
  testkit::InputScript s;
  const int at = gameStepCount() + 1;
  s.Key(at, VK_ESCAPE_).Key(at + 2, VK_RETURN_);
  s.Start();
  game.RunSteps(9);  // the answer, then the two closing screens
  EXPECT_EQ(gameFrame(), 1) << "Enter picks the highlighted Yes";
  // Off the menu (another screen shown), Escape is the screen's own business.
  Menu::ShowScreen(Named("other"));
  EXPECT_FALSE(Menu::OfferEscape());
}

TEST(Music, F8MovesTheRotationOnOnceAPress) {
  InFolder here("music_f8");
  MenuFolder("MusicTest");
  Game::musicRotationReset();
  testkit::HeadlessGame game;
  ASSERT_TRUE(game.Ok());
  game.RunSteps(2);
  testkit::InputScript s;
  const int at = gameStepCount() + 1;
  s.Key(at, VK_F8_).KeyDown(at + 2, VK_F8_, 1 | (1 << 30)).Key(at + 3, VK_F8_);
  s.Start();
  game.RunSteps(2);
  EXPECT_EQ(Game::musicLastRequested(), "music1");
  game.RunSteps(2);
  EXPECT_EQ(Game::musicLastRequested(), "music1") << "a held key's repeats do not skip tracks";
  game.RunSteps(2);
  EXPECT_EQ(Game::musicLastRequested(), "music2");
}

TEST(Music, ReshufflesKeepOneTrackAndDrawTwoNewOnes) {
  Game::musicRotationReset();
  Game::musicReshuffle();
  auto list = Game::musicRotation().playlist;
  std::sort(list.begin(), list.end());
  EXPECT_TRUE(std::adjacent_find(list.begin(), list.end()) == list.end()) << "three different tracks";
  EXPECT_GE(list.front(), 0);
  EXPECT_LE(list.back(), 5);
  for (int round = 0; round < 20; ++round) {
    const auto before = Game::musicRotation().playlist;
    Game::musicReshuffle();
    const auto after = Game::musicRotation().playlist;
    EXPECT_EQ(Game::musicRotation().position, 0);
    int kept = 0, fresh = 0;
    for (int t : after) {
      if (std::find(before.begin(), before.end(), t) != before.end()) ++kept;
      else ++fresh;
    }
    EXPECT_EQ(kept, 1) << "round " << round;
    EXPECT_EQ(fresh, 2) << "round " << round;
    EXPECT_NE(std::find(after.begin(), after.end(), before[2]), after.end()) << "place 2's track stays";
  }
  // The names follow the playlist in turn and wrap after three.
  const auto list2 = Game::musicRotation().playlist;
  for (int i = 0; i < 4; ++i) {
    Game::PlayNextMusic(false);
    EXPECT_EQ(Game::musicLastRequested(), "music" + std::to_string(list2[i % 3] + 1));
  }
}

TEST(StartSettings, PromoIsReadAndTheLockFileGoesWithTheGame) {
  InFolder here("promo");
  MenuFolder("PromoTest", "promo=3\n");
  {
    testkit::HeadlessGame game;
    ASSERT_TRUE(game.Ok());
    EXPECT_EQ(gamePromo(), 3);
    EXPECT_TRUE(LockFileLeft("PromoTest"));
  }
  EXPECT_FALSE(LockFileLeft("PromoTest"));
}

TEST(WindowIcon, PicturesBecomeRgbaRowsAndOversizedOnesAreRefused) {
  InFolder here("icon");
  // A 2 x 2 picture with four distinct colours and alphas.
  const uint8_t px[16] = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 64, 10, 20, 30, 0};
  ASSERT_TRUE(imgSavePNG("icon.png", px, 2, 2));
  std::vector<uint8_t> rgba;
  int w = 0, h = 0;
  ASSERT_TRUE(appIconPixels("icon.png", rgba, w, h));
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 2);
  EXPECT_EQ(rgba, std::vector<uint8_t>(px, px + 16));
  std::vector<uint8_t> big(300 * 4 * 4, 200);
  ASSERT_TRUE(imgSavePNG("big.png", big.data(), 300, 4));
  EXPECT_FALSE(appIconPixels("big.png", rgba, w, h));
  EXPECT_FALSE(appIconPixels("missing.png", rgba, w, h));
}

TEST(FpsText, TheShownRateChangesOnceEvery102Frames) {
  InFolder here("fps");
  MenuFolder("FpsTest");
  Write("data/test.ini", "[main]\nGame_No_Menu=1\nGame_Show_Fps=1\n");
  iniFreeAll();
  testkit::HeadlessGame game;
  ASSERT_TRUE(game.Ok());
  for (int i = 0; i < 102; ++i) {
    EXPECT_EQ(gameFpsRate(), 0) << "nothing measured before frame 102 (" << i << ")";
    platAdvanceClock(20);
    gameFrame();
  }
  EXPECT_EQ(gameFpsRate(), 49) << "101 frames counted over 102 x 20 ms";
  for (int i = 0; i < 101; ++i) {
    platAdvanceClock(25);
    gameFrame();
    EXPECT_EQ(gameFpsRate(), 49) << "frame " << i;
  }
  platAdvanceClock(25);
  gameFrame();
  EXPECT_EQ(gameFpsRate(), 39) << "101 frames over 102 x 25 ms";
}
