// "gameLogo": the game's name as an ornament other screens place by definition: a front picture
// with two glows, all read from "data/menu/gameLogo.ini" and placed relative to the logo.
#pragma once
#include "ui/wnd.h"

namespace Menu {

class UIGameLogo : public UIWnd {
 public:
  static constexpr const char* kFile = "data/menu/gameLogo.ini";
  // The window's own section first, then "Glow1", "Glow2" and "Front" of the logo's document; the
  // logo takes the size of "Front" when there is one, and reloads from the logo's document.
  void Load(const char* file, const char* section) override;
};

}  // namespace Menu
