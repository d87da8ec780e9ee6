// The window and display settings the shell reads from game.ini at start-up. They live at the
// bottom so the layers below the shell (the renderer reads "ShowFPS" and records the display mode
// in `fullScreen`) can see them without calling up into the shell; only the shell fills them.
#pragma once
#include <string>

struct AppSettings {
  std::string name;      // window title; empty = no window
  int x = 0, y = 0, xs = 0, ys = 0;
  int fullScreen = 0;    // bit 0
  int alwaysActive = 0;
  bool showFps = false;
};
AppSettings& appSettings();
