// A minimal view of the running level, used until the game view exists: it advances the model
// every step and draws the map, so a level started directly ("Game_No_Menu" with "Game_Test_Level")
// can be watched.
#pragma once
#include <cstdint>

#include "ui/wnd.h"

namespace Game {
class UILevelView : public UIWnd {
 public:
  UILevelView();
  int Update(int dt) override;
  int Draw() override;
  int KeyDown(int code, int value) override;
  int lastResult() const { return m_result; }

 private:
  int m_result = 0;
};

// Loads level n with every stage at once and shows it in the minimal view, the clock started.
// False when the level cannot load (reported in gerr.log).
bool levelStartDirect(int32_t n);
}  // namespace Game
