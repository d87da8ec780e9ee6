// The loading hint and the choice of its number.
#include "game/menus/loading_hint.h"

#include <algorithm>
#include <string>
#include <strings.h>

#include "files/file.h"
#include "files/ini.h"
#include "game/core/random.h"
#include "ui/wnd_create.h"

namespace Menu {

int loadingHintsMax() { return std::max(0, iniGetInt(kHintsFile, "Main", "hintsMax", 0)); }

int loadingHintNumber(int level, int hintsMax) {
  const int h = hintsMax;
  if (h <= 0) return 0;
  // The three levels that bring something new show the hint about it.
  if (level == 6) return std::max(1, h - 2);
  if (level == 8) return std::max(1, h - 1);
  if (level == 19) return h;
  int pool = h;
  if (level < 6)
    pool = h - 3;
  else if (level == 7)
    pool = h - 2;
  else if (level < 19)
    pool = h - 1;
  if (pool < 1) pool = h;
  return std::min(h, RandomInt(pool) + 1);
}

void UILoadingHint::Load(const char* file, const char* section) {
  UIWnd::Load(file, section);
  SetName("Hint");
  SetPos(iniGetInt(file, "Frame", "x", 0), iniGetInt(file, "Frame", "y", 0));
  if (number_ != 0) {
    const std::string hint = "data/menu/LoadingHints/hint" + std::to_string(number_) + ".ini";
    // A missing hint document leaves the frame empty.
    if (fileExists(hint.c_str()))
      for (const std::string& s : iniSectionList(hint.c_str()))
        if (strcasecmp(s.c_str(), "Main") != 0) wndCreate(hint.c_str(), s.c_str(), this, true);
  }
  wndCreate(file, "Frame", this);
}

}  // namespace Menu
