// The way between the menus and a level.
#include "game/menus/level_flow.h"

#include "files/players.h"
#include "game/core/level_view.h"
#include "game/menus/screens.h"

namespace Menu {

namespace {
int CurrentLevel() {
  const PlayerProgress* p = playerProgress();
  return p ? p->level[p->mode] : 1;
}
}  // namespace

// Until the level map exists the main menu stands in for it.
void ShowLevelMap() { ShowMainMenu(); }

void StartGame() { StartLevel(); }

void PlayCurrentLevel() { StartLevel(); }

void StartLevel() {
  if (!Game::levelStartDirect(CurrentLevel())) ShowMainMenu();
}

void AfterLevel(bool restart) {
  if (restart) {
    StartLevel();
    return;
  }
  ShowLevelMap();
}

}  // namespace Menu
