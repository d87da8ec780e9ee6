// Process entry: the engine and game start-up, the main loop, and the shutdowns in order.
#include "app/app.h"
#include "game/core/game_main.h"

int main() {
  switch (appInit(gameInput)) {
    case 0: break;
    case 1: return 0;  // another game is running
    default: return 1;  // the reason has been shown
  }
  // A game that cannot show anything (no graphics) has said so; it ends the orderly way.
  if (gameInit()) appLoop(gameFrame);
  gameDone();
  appDone();
  return 0;
}
