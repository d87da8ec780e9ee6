// The keyframe comic page screen.
#include "ui/ui_kf_comic.h"

#include <utility>

#include "ui/ui_page_screen.h"

UIWnd* kfCreateComicPage(std::function<void()> onClose) {
  return wndCreatePageScreen("Comic page", "data/menu/comic.ini", std::move(onClose));
}
