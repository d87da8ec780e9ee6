// The application shell: start-up, the main loop and shutdown.
#pragma once
#include <cstdint>
#include <string>

// The start-up settings, the clocks and the settings lookup live in the layers below the shell.
#include "base/clock.h"
#include "base/settings.h"
#include "files/cfg.h"

// The game's input callback: (message, code, value) -> handled result.
using AppInputFn = int (*)(int message, int code, int value);
// The game's per-pass callback: 0 to go on, non-zero to end the program.
using AppFrameFn = int (*)();

// 0 on success; 1 when the program must end at once with success (another instance is running);
// 2 when it cannot start (no game.ini, no display, no window): the reason has been shown, nothing
// is left behind, and the program ends with a failure status.
int appInit(AppInputFn input);
void appLoop(AppFrameFn frame);
// The program's main loop, then atEnd. In a browser this call does not come back: the browser runs
// one pass at each of its animation frames, and atEnd once the loop has ended.
void appRun(AppFrameFn frame, void (*atEnd)());
// One pass of the loop (messages, then the frame callback); false once the loop has ended.
// Tests and the headless runner drive the game with it.
bool appLoopPass();
void appDone();

bool appIsActive();
void appSetActive(bool active);
void appRequestFullScreenToggle();
bool appTakeFullScreenToggle();  // consumed by the next drawn frame
// Passes an engine input message to the game (only while the loop runs).
int appSendInput(int message, int code, int value);
