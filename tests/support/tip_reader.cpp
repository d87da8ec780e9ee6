// Test support: closing the tip over a level as a player would.
#include "tip_reader.h"

#include <cstdint>
#include <filesystem>

#include "files/file.h"
#include "files/players.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/core/tips.h"
#include "input_script.h"

namespace testkit {
namespace {
Game::cTips* openTips() {
  Game::LevelContext* c = Game::levelContext();
  return c && c->view && c->view->TipOpen() ? c->view->tips() : nullptr;
}

// A point of the object that the map's hit test gives to it: its box's centre, else the first
// free point of a coarse grid over the box.
bool pointOn(const Map::cObject& o, int& x, int& y) {
  const Map::cMap& map = *Game::levelContext()->map;
  const int cx = int(o.x) + o.boundCentre.x, cy = int(o.y) + o.boundCentre.y;
  for (int dy = 0; dy < o.boundHalfSize.y; dy += 4)
    for (int dx = 0; dx < o.boundHalfSize.x; dx += 4)
      for (const auto [sx, sy] : {std::pair{1, 1}, std::pair{-1, -1}, std::pair{1, -1}, std::pair{-1, 1}})
        if (map.HitTest(cx + sx * dx, cy + sy * dy) == &o) return x = cx + sx * dx, y = cy + sy * dy, true;
  return false;
}
}  // namespace

int CloseOpenTip(HeadlessGame& game) {
  Game::cTips* tips = openTips();
  if (!tips) return -1;
  const int tip = tips->tipIndex();
  int x = 0, y = 0;
  const UIWnd* ok = tips->FindChild("OK");
  if (ok && !ok->Hidden()) {
    x = ok->X() + ok->Width() / 2;
    y = ok->Y() + ok->Height() / 2;
  } else {
    const Map::cObject* o = Game::levelContext()->map->FindByTag(tips->RequiredTag());
    if (!o || !pointOn(*o, x, y)) return -1;
  }
  const int64_t now = gameStepCount();
  InputScript s;
  s.Move(now + 1, x, y).Click(now + 2, x, y);
  s.Start();
  game.RunSteps(4);
  tips = openTips();
  return tips && tips->tipIndex() == tip ? -1 : tip;
}

void ForgetSeenTips() {
  // The record in memory outlives a game of the same process; the file the next one would read.
  playersClear();
  // Its backup too, or the start-up would mend the missing document from it.
  std::error_code ignored;
  for (const char* suffix : {"", ".bak", ".tmp"}) std::filesystem::remove(fileProfilePath() + suffix, ignored);
}
}  // namespace testkit
