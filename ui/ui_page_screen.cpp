// Whole-screen pages built from a definition: the effects gallery, the comic page and the like.
#include "ui/ui_page_screen.h"

#include <utility>

#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "platform/platform.h"
#include "ui/wnd_create.h"

namespace {
// More numbered windows than any page lists; the list ends at its first gap anyway.
constexpr int kMaxWindows = 64;
}  // namespace

UIPageScreen::UIPageScreen(std::string definition, std::function<void()> onClose)
    : definition_(std::move(definition)), onClose_(std::move(onClose)) {}

void UIPageScreen::Build() {
  const char* file = definition_.c_str();
  Load(file, "Main");
  for (int i = 1; i <= kMaxWindows; ++i) {
    const std::string name = iniGetString(file, "Main", std::to_string(i).c_str(), "");
    if (name.empty()) break;
    wndCreate(file, name.c_str(), this);
  }
}

int UIPageScreen::MouseMove(int buttons, int value) {
  if (!g_wndEdit) TrackMouse(value);
  return UIWndSprite::MouseMove(buttons, value);
}

int UIPageScreen::KeyDown(int code, int value) {
  if (code == VK_ESCAPE_ && !g_wndEdit) {
    Close();
    return 1;
  }
  return UIWndSprite::KeyDown(code, value);
}

int UIPageScreen::OnCommand(UIWnd* source) {
  if (!source || std::string(source->Name()) != "Back") return 0;
  Close();
  return 1;
}

void UIPageScreen::Close() {
  if (onClose_) onClose_();
}

UIWnd* wndCreatePageScreen(const char* what, const char* definition, std::function<void()> onClose) {
  if (!fileExists(definition)) {
    errorLog("%s: \"%s\" not found\n", what, definition);
    return nullptr;
  }
  auto* page = new UIPageScreen(definition, std::move(onClose));
  page->Build();
  return page;
}
