// The way between the menus and a level.
#include "game/menus/level_flow.h"

#include "files/file.h"
#include "files/players.h"
#include "game/core/game_main.h"
#include "game/core/game_model.h"
#include "game/core/level_files.h"
#include "game/core/level_view.h"
#include "game/menus/comics.h"
#include "game/menus/level_loading.h"
#include "game/menus/level_menu.h"
#include "game/menus/loading_hint.h"
#include "game/menus/screens.h"
#include "sound/sound.h"

namespace Menu {

namespace {
int CurrentLevel() {
  const PlayerProgress* p = playerProgress();
  return p && p->mode >= 0 && p->mode < kGameModes ? p->level[p->mode] : 1;
}

// A record whose mode was never chosen plays as "Normal".
int CurrentMode() {
  const PlayerProgress* p = playerProgress();
  return p && p->mode >= 0 && p->mode < kGameModes ? p->mode : Game::kModeNormal;
}

// The level whose win was entered last and whose end has not been left yet (0 none): what
// follows it may be a story.
int g_wonLevel = 0;

bool ShowIntro() { return ShowComics(cComicsPlan::Read(UIComics::kFile).introPage); }
}  // namespace

void ShowLevelMap() {
  // A current player whose record is gone (removed, or never loaded) gets it made afresh.
  if (!playerProgress() && playerCurrent() >= 0) playerSelect(playerCurrent());
  auto* map = new UILevelMenu();
  map->Load(UILevelMenu::kFile, "Main");
  ShowScreen(map);
}

void StartGame() {
  // A player who has never played the first level is told the story first.
  const PlayerProgress* p = playerProgress();
  if (CurrentLevel() == 1 && (!p || !p->finished[CurrentMode()][0]) && ShowIntro()) return;
  ShowLevelMap();
}

void PlayCurrentLevel() {
  if (CurrentLevel() == 1 && ShowIntro()) return;
  StartLevel();
}

void StartLevel() {
  g_wonLevel = 0;
  const int level = CurrentLevel();
  if (PlayerProgress* p = playerProgress(); p && level <= kProgressLevels) {
    // Played, but the highest level reached stays: a level picked while every level is open for
    // testing, or a bonus level, must not open the levels before it for good.
    const int mode = CurrentMode(), reached = p->levelMax[mode];
    progressSetLevel(*p, level, true);
    p->levelMax[mode] = reached;
  }
  if (testSetting(TestSwitch::Game_No_Menu)) {
    if (!Game::levelStartDirect(level)) ShowLevelMap();
    return;
  }
  auto* screen = new UILevelLoading(loadingHintNumber(level, loadingHintsMax()), level, CurrentMode());
  screen->Load(UILevelLoading::kFile, "Main");
  ShowScreen(screen);
}

void AfterLevel(bool restart) {
  // Leaving a level keeps what it changed in the mode's progress (the played mark).
  if (PlayerProgress* p = playerProgress()) progressSave(*p, ProgressPart::ModeData);
  const int won = g_wonLevel;
  g_wonLevel = 0;
  if (restart) {
    StartLevel();
    return;
  }
  if (won > 0) {
    const cComicsPlan plan = cComicsPlan::Read(UIComics::kFile);
    if (const int page = plan.PageAfterLevel(won); page > 0 && UIComics::PageExists(page)) {
      if (won == plan.gameEndLevel) {
        // The game is won: the bonus level after it (where the data has one) becomes current.
        PlayerProgress* p = playerProgress();
        if (p && won < kProgressLevels && LevelExists(won + 1)) {
          progressSetLevel(*p, won + 1, false);
          progressSave(*p, ProgressPart::ModeData);
        }
        sndPlayMusic("OnGameWin", 1, 1, nullptr);
      } else {
        sndPlayMusic("menu", 1, 1, nullptr);
      }
      if (ShowComics(page)) return;
    }
  }
  sndPlayMusic("menu", 1, 1, nullptr);
  ShowLevelMap();
}

bool LevelExists(int n) {
  if (n < 1 || n > kProgressLevels) return false;
  return fileExists(levelMapPath(n, true).c_str()) || fileExists(levelMapPath(n, false).c_str());
}

int NextLevelAfter(int level, bool (*levelExists)(int)) {
  int next = level + 1;
  if (next % 16 == 0) ++next;
  if (level < 1 || next > kProgressLevels || (levelExists && !levelExists(next))) return 0;
  return next;
}

int RecordLevelWon(int level, int score, int seconds, int stars) {
  PlayerProgress* p = playerProgress();
  if (!p) return 0;
  progressSetResult(*p, level, score, seconds, stars);
  g_wonLevel = level;
  if (const int next = NextLevelAfter(level, &LevelExists)) progressSetLevel(*p, next, false);
  progressSave(*p, ProgressPart::ModeData);
  return progressTotalScore(*p);
}

}  // namespace Menu
