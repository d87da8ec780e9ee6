// Process entry: the engine and game start-up, the main loop, and the shutdowns in order.
#include "app/app.h"
#include "game/core/game_main.h"

namespace {
// After the main loop; in a browser that is long after main has handed control to the page.
void shutDown() {
  gameDone();
  appDone();
}
}  // namespace

int main() {
  switch (appInit(gameInput)) {
    case 0: break;
    case 1: return 0;  // another game is running
    default: return 1;  // the reason has been shown
  }
  // A game that cannot show anything (no graphics) has said so; it ends the orderly way.
  if (gameInit()) {
    appRun(gameFrame, shutDown);
  } else {
    shutDown();
  }
  return 0;
}
