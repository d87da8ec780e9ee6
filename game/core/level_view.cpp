// Starting a level straight into its game view.
#include "game/core/level_view.h"

#include "game/core/game_view.h"
#include "game/core/level_context.h"

namespace Game {

bool levelStartDirect(int32_t n) {
  if (!LoadLevel(n, kModeNormal)) return false;
  // A level started for testing runs at once, as if the player had clicked.
  GameAction start;
  start.code = 1;
  if (cGameView* view = levelContext()->view)
    view->SendAction(start);
  else
    levelContext()->model->OnAction(ModelAction{1});
  return true;
}
}  // namespace Game
