// The application shell: start-up, the main loop, shutdown, and the settings lookup.
#pragma once
#include <cstdint>
#include <string>

// The game's input callback: (message, code, value) -> handled result.
using AppInputFn = int (*)(int message, int code, int value);
// The game's per-pass callback: 0 to go on, non-zero to end the program.
using AppFrameFn = int (*)();

// 0 on success, 1 when the program must end at once (another instance is running).
int appInit(AppInputFn input);
void appLoop(AppFrameFn frame);
// One pass of the loop (messages, then the frame callback); false once the loop has ended.
// Tests and the headless runner drive the game with it.
bool appLoopPass();
void appDone();

// Shell state shared with the window handling and the renderer.
struct AppSettings {
  std::string name;      // window title; empty = no window
  int x = 0, y = 0, xs = 0, ys = 0;
  int fullScreen = 0;    // bit 0
  int alwaysActive = 0;
  bool showFps = false;
};
AppSettings& appSettings();
bool appIsActive();
void appSetActive(bool active);
bool appLoopRunning();
void appRequestFullScreenToggle();
bool appTakeFullScreenToggle();  // consumed by the next drawn frame
// Passes an engine input message to the game (only while the loop runs).
int appSendInput(int message, int code, int value);

// Clocks from the time base taken at start-up, in milliseconds.
float appTimeSinceStart();
float appTimeSincePrevious();  // remembers the time of its last call
uint32_t appTimeBase();

// The settings lookup: game.ini [S] K, then K + "_win", then K + "_linux", then the user's
// profgame.ini [S] K, each taking the previous value as its default.
int cfgGetInt(const char* section, const char* key, int def);
bool cfgGetBool(const char* section, const char* key, bool def);
std::string cfgGetString(const char* section, const char* key, const char* def);
void cfgSetInt(const char* section, const char* key, int value);
void cfgSetString(const char* section, const char* key, const char* value);
