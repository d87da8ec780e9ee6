// Process entry: the engine and game start-up, the main loop, and the shutdowns in order.
#include "app/app.h"
#include "game/core/game_main.h"

int main() {
  if (appInit(gameInput) != 0) return 0;
  gameInit();
  appLoop(gameFrame);
  gameDone();
  appDone();
  return 0;
}
