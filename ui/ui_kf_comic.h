// The keyframe comic page: a screen built from "data/menu/comic.ini" whose pictures and caption
// are played by "newAnim" windows; the demo menu opens it.
#pragma once
#include <functional>

class UIWnd;

// The page: the background of the definition's section "Main" and the windows its keys "1",
// "2", ... name, in that order. `onClose` runs on the button named "Back" or Escape. Null (and a
// gerr.log line) when the definition is missing.
UIWnd* kfCreateComicPage(std::function<void()> onClose);
