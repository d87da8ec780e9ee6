// The hint shown while a level loads: a framed tip from "data/menu/LoadingHints/hint<n>.ini",
// and the rule that picks which tip a level shows.
#pragma once
#include "ui/wnd.h"

namespace Menu {

constexpr const char* kHintsFile = "data/menu/LoadingHints/hints.ini";

// "hintsMax" of the hints document: how many hint documents there are (0 when none).
int loadingHintsMax();

// The hint for level `level` out of `hintsMax` hints. Levels 6, 8 and 19 show the three last
// hints, which explain what those levels bring first; every other level draws one from the logged
// random numbers, out of a pool that leaves those three out until the levels that introduce them.
// A pool that would be empty falls back to every hint, so nothing is ever drawn from nothing;
// 0 (no hint) only when there are no hints at all.
int loadingHintNumber(int level, int hintsMax);

class UILoadingHint : public UIWnd {
 public:
  explicit UILoadingHint(int number) : number_(number) {}
  // `file` is the hints document; its "Main" section describes the hint window, placed at "x",
  // "y" of its "Frame". The hint's own windows come from its document with relative positions;
  // the frame is made last, at its own place, so it stands over them.
  void Load(const char* file, const char* section) override;
  int Number() const { return number_; }

 private:
  int number_;
};

}  // namespace Menu
