// The whole demo campaign played headless from a first start, through the shell's input only: the
// logos passed, a new player named, the game mode chosen, the intro story skipped, levels 1 to 6
// won in turn from the level map, the story after the last level skipped, the score table and the
// book of the finished game, and the way out through the two closing screens to the program's
// end. Then the profile on disk holds the six won levels with their stars and scores and the
// achievements earned in order, the score table holds the player once, and the run's journal
// replays to the same log, line for line.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "files/file.h"
#include "files/ini.h"
#include "files/players.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/interface/interface.h"
#include "game/interface/statistics_screen.h"
#include "game/menus/book.h"
#include "game/menus/comics.h"
#include "game/menus/game_mode_menu.h"
#include "game/menus/last_screen.h"
#include "game/menus/level_button.h"
#include "game/menus/level_menu.h"
#include "game/menus/main_menu.h"
#include "game/menus/player_name.h"
#include "game/menus/scores.h"
#include "platform/platform.h"
#include "support/demo_copy.h"
#include "support/input_script.h"
#include "support/level_player.h"
#include "support/test_files.h"
#include "ui/wnd.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kName = "Robin";
constexpr const char16_t* kName16 = u"Robin";
constexpr int kNormal = 0;

UIWnd* Screen() { return wndRoot() && wndRoot()->ChildCount() > 0 ? wndRoot()->Child(0) : nullptr; }
template <class T>
T* ScreenAs() {
  return dynamic_cast<T*>(Screen());
}
// The dialog open over the main menu, as the kind asked for.
template <class T>
T* MenuDialog() {
  auto* menu = ScreenAs<Menu::UIMainMenu>();
  return menu ? dynamic_cast<T*>(menu->Modal().Dialog()) : nullptr;
}
template <class T>
bool DialogOpen() {
  const T* d = MenuDialog<T>();
  return d && d->OpenState() == Menu::UIDialog::kOpen;
}
Game::cGameView* View() { return ScreenAs<Game::cGameView>(); }

// The person at the keyboard: every key, character and click is an input message handed to the
// shell before a coming update step (the journal records it as it records live input).
class Shell {
 public:
  explicit Shell(testkit::HeadlessGame& game) : m_game(game) {}
  void Key(int vk) {
    testkit::InputScript s;
    s.Key(gameStepCount() + 1, vk);
    s.Start();
    m_game.RunSteps(2);
  }
  void Type(const std::string& text) {
    testkit::InputScript s;
    s.Text(gameStepCount() + 1, text);
    s.Start();
    m_game.RunSteps(int(text.size()) + 1);
  }
  // The pointer moves onto the window's middle, then a click there.
  void Click(const UIWnd* w) {
    ASSERT_NE(w, nullptr);
    ASSERT_FALSE(w->Hidden()) << w->Name() << " is hidden";
    const int x = w->X() + w->Width() / 2, y = w->Y() + w->Height() / 2;
    const int64_t now = gameStepCount();
    testkit::InputScript s;
    s.Move(now + 1, x, y).Click(now + 2, x, y);
    s.Start();
    m_game.RunSteps(4);
  }
  // Steps until `done` holds, at most `maxSteps`; with `keyEvery` the key is pressed that often
  // meanwhile (screens that wait for one).
  bool StepUntil(const std::function<bool()>& done, int maxSteps, int keyEvery = 0, int key = VK_RETURN_) {
    for (int i = 0; i < maxSteps; ++i) {
      if (done()) return true;
      if (gameExitRequested()) return false;
      if (keyEvery && i % keyEvery == keyEvery - 1) Key(key);
      else m_game.RunSteps(1);
    }
    return done();
  }
  void Steps(int n) { m_game.RunSteps(n); }

 private:
  testkit::HeadlessGame& m_game;
};

// What the run saw of each level: its number, whether it was won, its stars and its time.
struct Played {
  int level = 0;
  bool won = false;
  int32_t stars = 0, timeUsed = 0;
};

// The level map with its opening fade over.
bool ReachLevelMap(Shell& s) {
  return s.StepUntil([] { return ScreenAs<Menu::UILevelMenu>() != nullptr; }, 800) &&
         s.StepUntil([] { return ScreenAs<Menu::UILevelMenu>()->FadeState() == Core::UIMenuWithFade::kOpen; }, 200);
}

// The level on screen, through its loading screen, with its opening scene over.
bool ReachLevel(Shell& s, int n) {
  if (!s.StepUntil([] { return View() != nullptr && Game::levelContext(); }, 1200)) return false;
  if (Game::levelContext()->levelNumber != n) return false;
  s.Steps(testkit::kOpeningSteps);
  return View() != nullptr;
}

// Level n won by its script, the statistics read and closed with their OK.
void WinLevel(testkit::HeadlessGame& game, Shell& s, int n, std::vector<Played>& played) {
  SCOPED_TRACE("level " + std::to_string(n));
  ASSERT_TRUE(ReachLevel(s, n)) << "level " << n << " never came on screen";
  testkit::LevelPlayer p(game);
  testkit::demoLevelScript(n)(p);
  if (::testing::Test::HasFatalFailure()) return;
  const testkit::LevelOutcome o = testkit::FinishLevel(game);
  played.push_back({n, o.won, o.stars, o.timeUsed});
  ASSERT_TRUE(o.won);
  ASSERT_TRUE(o.shown && o.statisticsScreen) << "the statistics are on screen";
  EXPECT_EQ(o.stars, 3) << "won as the level's script plays it: inside the gold time";
  // The first click shows the whole count at once, the next one is the OK.
  ASSERT_TRUE(s.StepUntil([&s] {
    Game::cGameView* v = View();
    if (!v) return true;
    const Interface::UIInterface* ui = v->interfaceWnd();
    if (const UIWnd* ok = ui && ui->statistics() ? ui->statistics()->FindChild("StatisticsOK") : nullptr;
        ok && !ok->Hidden())
      s.Click(ok);
    return View() == nullptr;
  }, 600)) << "the statistics' OK leaves the level";
}

// From the level map: the level's button, then Play.
void PlayFromMap(Shell& s, int n) {
  ASSERT_TRUE(ReachLevelMap(s)) << "the level map comes back after level " << n - 1;
  auto* map = ScreenAs<Menu::UILevelMenu>();
  Menu::UILevelMenuButton* button = map->Button(n);
  ASSERT_NE(button, nullptr);
  ASSERT_NE(button->State(), UIWnd::Ignore) << "level " << n << " is open";
  s.Click(button->Inner());
  ASSERT_EQ(ScreenAs<Menu::UILevelMenu>(), map);
  EXPECT_EQ(map->CurrentButton(), button);
  s.Steps(15);  // longer than a double click: the button is only selected
  s.Click(map->FindChild("Play"));
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// The level totals the log gives ("[Score] level N: ... total T").
std::vector<std::pair<int, int>> LoggedTotals(const std::string& log) {
  std::vector<std::pair<int, int>> out;
  for (const std::string& line : Lines(log)) {
    const size_t at = line.find("[Score] level ");
    const size_t total = line.find("total ");
    if (at == std::string::npos || total == std::string::npos) continue;
    out.emplace_back(std::atoi(line.c_str() + at + 14), std::atoi(line.c_str() + total + 6));
  }
  return out;
}

struct Campaign : ::testing::Test {
  void SetUp() override {
    home = fs::current_path();
    run = testkit::EnterDemoCopy("campaign");
    if (run.empty()) GTEST_SKIP() << "MM_SOURCE_DIR not set";
    // A user folder of its own, empty, as at a first start.
    std::string ini = testkit::readFile(run / "game.ini");
    const size_t at = ini.find("path=Meadowmark");
    ASSERT_NE(at, std::string::npos);
    ini.replace(at, 15, "path=MeadowmarkWholeCampaign");
    testkit::writeFile(run / "game.ini", ini);
    FirstStart("");
    ASSERT_NE(fileUserFolder().find("MeadowmarkWholeCampaign"), std::string::npos);
  }
  void TearDown() override {
    playersClear();
    if (!home.empty()) fs::current_path(home);
    iniFreeAll();
  }
  // No player, no settings, no scores: the user folder emptied; the game log and the journal on.
  void FirstStart(const std::string& extra) {
    iniFreeAll();
    fileInitPaths();
    std::error_code ignored;
    fs::remove_all(fileUserFolder(), ignored);
    playersClear();
    testkit::writeFile(run / "data" / "test.ini", "[main]\nGame_Log_On_Playback=1\n" + extra);
    iniFreeAll();
  }
  fs::path home, run;
};

}  // namespace

TEST_F(Campaign, ANewPlayerWinsTheWholeDemoFromTheMainMenuAndItsJournalReplaysToTheSameLog) {
  const auto began = std::chrono::steady_clock::now();
  std::vector<Played> played;
  int steps = 0;
  int earnedInBook = -1;
  {
    testkit::HeadlessGame game(1000);
    ASSERT_TRUE(game.Ok());
    const int start = gameStepCount();
    Shell s(game);
    // The logos and the loading screen each pass at a key.
    ASSERT_TRUE(s.StepUntil([] { return ScreenAs<Menu::UIMainMenu>() != nullptr; }, 3000, 20, 'A'));
    // No player yet: the name is asked at once, and it cannot be cancelled.
    ASSERT_EQ(playersCount(), 0);
    ASSERT_TRUE(s.StepUntil(DialogOpen<Menu::UIPlayerName>, 200)) << "the name is asked";
    s.Type(kName);
    s.Key(VK_RETURN_);
    ASSERT_TRUE(s.StepUntil([] { return playersCount() == 1 && playerProgress() && !MenuDialog<Menu::UIDialog>(); },
                            200));
    EXPECT_EQ(playerName(0), kName16);
    s.Steps(40);
    // Play: the first time, the game mode is asked; OK takes the mode offered (the first).
    s.Click(ScreenAs<Menu::UIMainMenu>()->FindChild("Play"));
    ASSERT_TRUE(s.StepUntil(DialogOpen<Menu::UIGameModeMenu>, 200)) << "the mode is asked before the first game";
    s.Click(MenuDialog<Menu::UIGameModeMenu>()->FindChild("ModeOk"));
    // A new player hears the intro; Escape ends it, and level 1 starts through its loading screen.
    ASSERT_TRUE(s.StepUntil([] {
      auto* c = ScreenAs<Menu::UIComics>();
      return c && c->ComicsState() == Menu::UIComics::kShowing;
    }, 300)) << "the intro story";
    ASSERT_TRUE(playerProgress()->modeChosen);
    EXPECT_EQ(playerProgress()->mode, kNormal);
    EXPECT_EQ(ScreenAs<Menu::UIComics>()->Page(), 1);
    s.Key(VK_ESCAPE_);
    WinLevel(game, s, 1, played);
    if (HasFatalFailure()) return;
    for (int n = 2; n <= testkit::kDemoLevels; ++n) {
      PlayFromMap(s, n);
      if (HasFatalFailure()) return;
      WinLevel(game, s, n, played);
      if (HasFatalFailure()) return;
    }
    // The last level won, the story that ends the game: Escape ends its pages, a key its credits,
    // and after the witch's eyes the main menu comes with the score table of the finished game.
    ASSERT_TRUE(s.StepUntil([] {
      auto* c = ScreenAs<Menu::UIComics>();
      return c && c->ComicsState() == Menu::UIComics::kShowing;
    }, 300)) << "the story after the last level";
    EXPECT_EQ(ScreenAs<Menu::UIComics>()->Page(), ScreenAs<Menu::UIComics>()->Plan().PageAfterLevel(6));
    s.Key(VK_ESCAPE_);
    ASSERT_TRUE(s.StepUntil([] {
      auto* c = ScreenAs<Menu::UIComics>();
      return c && c->ComicsState() >= Menu::UIComics::kCreditsWait;
    }, 300)) << "the game's end rolls the credits";
    EXPECT_EQ(ScreenAs<Menu::UIComics>()->Page(), ScreenAs<Menu::UIComics>()->Plan().gameEndPage);
    s.Key(VK_ESCAPE_);
    ASSERT_TRUE(s.StepUntil(DialogOpen<Menu::UIScores>, 800)) << "the finale's score table";
    const Menu::UIScores* scores = MenuDialog<Menu::UIScores>();
    EXPECT_TRUE(scores->Finale());
    int rows = 0;
    for (const Menu::cScoreRow& r : scores->Table().Rows()) rows += r.name == kName16;
    EXPECT_EQ(rows, 1) << "the table shows the player once";
    // Its OK opens the book of the whole game; closed, the menu is back.
    s.Click(scores->FindChild("ScoresOk"));
    ASSERT_TRUE(s.StepUntil(DialogOpen<Menu::UIBook>, 200)) << "the book follows the finale's table";
    earnedInBook = MenuDialog<Menu::UIBook>()->Earned();
    s.Click(MenuDialog<Menu::UIBook>()->FindChild("AchClose"));
    ASSERT_TRUE(s.StepUntil([] { return ScreenAs<Menu::UIMainMenu>() && !MenuDialog<Menu::UIDialog>(); }, 200));
    // Quit, Yes: the two closing screens (the first left at a key, the second by its time), then
    // the program ends.
    s.Click(ScreenAs<Menu::UIMainMenu>()->FindChild("Exit"));
    ASSERT_TRUE(s.StepUntil(DialogOpen<Menu::UIDialog>, 200)) << "leaving is asked";
    s.Click(MenuDialog<Menu::UIDialog>()->FindChild("DialogYes"));
    ASSERT_TRUE(s.StepUntil([] {
      const Menu::UILast* l = ScreenAs<Menu::UILast>();
      return l && !l->Second() && !l->ShowTimer().IsStopped();
    }, 200)) << "the first closing screen";
    s.Key(VK_SPACE_);
    ASSERT_TRUE(s.StepUntil([] { return ScreenAs<Menu::UILast>() && ScreenAs<Menu::UILast>()->Second(); }, 200))
        << "the second closing screen";
    ASSERT_TRUE(s.StepUntil([] { return gameExitRequested(); }, 600)) << "the program ends after it";
    EXPECT_EQ(Screen(), nullptr) << "with no screen left";
    steps = gameStepCount() - start;
  }
  ASSERT_EQ(played.size(), size_t(testkit::kDemoLevels));
  EXPECT_GE(earnedInBook, 1) << "the book counts the achievements earned";

  // The profile on disk, read as a new start of the program reads it.
  const std::string log = testkit::readFile(run / "log.txt");
  {
    iniFreeAll();
    playersClear();
    const PlayerHooks hooks = playersHooks();
    playersSetHooks({});  // the game is gone: nothing to apply the player's settings to
    playersLoad();
    playersSetHooks(hooks);
    ASSERT_EQ(playersCount(), 1);
    ASSERT_EQ(playerCurrent(), 0);
    EXPECT_EQ(playerName(0), kName16);
    const PlayerProgress* p = playerProgress();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->modeChosen);
    ASSERT_EQ(p->mode, kNormal);
    const std::vector<std::pair<int, int>> totals = LoggedTotals(log);
    ASSERT_EQ(totals.size(), size_t(testkit::kDemoLevels)) << "one result logged per level";
    int sum = 0;
    for (const Played& l : played) {
      SCOPED_TRACE("level " + std::to_string(l.level));
      const int i = l.level - 1;
      EXPECT_EQ(p->finished[kNormal][i], 1);
      EXPECT_EQ(p->won[kNormal][i], 1);
      EXPECT_EQ(p->lp[kNormal][i], l.stars);
      EXPECT_EQ(p->t[kNormal][i], l.timeUsed / 1000);
      EXPECT_EQ(totals[size_t(i)].first, l.level);
      EXPECT_EQ(p->sl[kNormal][i], totals[size_t(i)].second) << "the level's score is the one it was given";
      EXPECT_GT(p->sl[kNormal][i], 0);
      sum += p->sl[kNormal][i];
    }
    EXPECT_EQ(p->finished[kNormal][testkit::kDemoLevels], 0) << "nothing past the demo's levels";
    EXPECT_EQ(p->won[kNormal][testkit::kDemoLevels], 0);
    EXPECT_EQ(p->levelMax[kNormal], testkit::kDemoLevels);
    EXPECT_EQ(progressTotalScore(*p), sum);
    // The achievements earned carry the order numbers 1, 2, 3 ... once each, and each has reached
    // its target; those not earned are short of theirs.
    std::vector<int> orders;
    for (int a = 0; a < kProgressAchievements; ++a) {
      const std::string section = "ach" + std::to_string(a);
      const int target = iniGetInt("data/interface/achievements.ini", section.c_str(), "valueToAchieve", 0);
      const int order = p->achN[kNormal][a], value = p->achV[kNormal][a];
      if (order > 0) {
        orders.push_back(order);
        EXPECT_GE(value, target) << section << " earned at " << value << " of " << target;
      } else if (target > 0) {
        EXPECT_LT(value, target) << section << " reached its target unearned";
      }
    }
    ASSERT_GE(orders.size(), 1u) << "at least one achievement earned";
    std::sort(orders.begin(), orders.end());
    for (size_t k = 0; k < orders.size(); ++k) EXPECT_EQ(orders[k], int(k + 1)) << "order numbers without gaps";
    EXPECT_EQ(int(orders.size()), earnedInBook);
    // The score table: the player once, with the total.
    Menu::cScoreList table;
    table.Load();
    int rows = 0;
    for (const Menu::cScoreRow& r : table.Rows()) {
      if (r.name != kName16) continue;
      ++rows;
      EXPECT_EQ(r.value, sum);
    }
    EXPECT_EQ(rows, 1);
    playersClear();
  }
  const auto played1 = std::chrono::steady_clock::now();

  // The same run again from its journal, started at another time, from an empty user folder.
  ASSERT_FALSE(testkit::readFile(run / "journal.txt").empty());
  FirstStart("Game_Playback=1\n");
  {
    testkit::HeadlessGame game(9999);
    ASSERT_TRUE(game.Ok());
    const int start = gameStepCount();
    game.RunSteps(steps + 200);
    EXPECT_TRUE(gameExitRequested()) << "the replay ends the program as the game did";
    EXPECT_EQ(gameStepCount() - start, steps);
  }
  const std::vector<std::string> a = Lines(log), b = Lines(testkit::readFile(run / "log_playback.txt"));
  ASSERT_GT(a.size(), 100u);
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    ASSERT_EQ(b[i], a[i]) << "the logs part at line " << i + 1;
  EXPECT_EQ(b.size(), a.size());
  const auto done = std::chrono::steady_clock::now();
  const auto ms = [](auto d) { return int(std::chrono::duration_cast<std::chrono::milliseconds>(d).count()); };
  std::printf("[ campaign ] %d update steps (%d s of game time); played in %d ms, replayed in %d ms\n", steps,
              steps / 40, ms(played1 - began), ms(done - played1));
}
