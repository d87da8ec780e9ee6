// The keyframe comic page screen.
#include "ui/ui_kf_comic.h"

#include <string>
#include <utility>

#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "platform/platform.h"
#include "ui/widget_sprite.h"
#include "ui/wnd_create.h"

namespace Core {

namespace {
constexpr const char* kComicDefinition = "data/menu/comic.ini";
constexpr int kMaxWindows = 64;

class UIComicPage : public UIWndSprite {
 public:
  explicit UIComicPage(std::function<void()> onClose) : onClose_(std::move(onClose)) {}

  void Build() {
    Load(kComicDefinition, "Main");
    for (int i = 1; i <= kMaxWindows; ++i) {
      const std::string name = iniGetString(kComicDefinition, "Main", std::to_string(i).c_str(), "");
      if (name.empty()) break;
      wndCreate(kComicDefinition, name.c_str(), this);
    }
  }

  int MouseMove(int buttons, int value) override {
    if (!g_wndEdit) TrackMouse(value);
    return UIWndSprite::MouseMove(buttons, value);
  }

  int KeyDown(int code, int value) override {
    if (code == VK_ESCAPE_ && !g_wndEdit) {
      Close();
      return 1;
    }
    return UIWndSprite::KeyDown(code, value);
  }

  int OnCommand(UIWnd* source) override {
    if (!source || std::string(source->Name()) != "Back") return 0;
    Close();
    return 1;
  }

 private:
  void Close() {
    if (onClose_) onClose_();
  }
  std::function<void()> onClose_;
};

}  // namespace
}  // namespace Core

UIWnd* kfCreateComicPage(std::function<void()> onClose) {
  if (!fileExists(Core::kComicDefinition)) {
    errorLog("Comic page: \"%s\" not found\n", Core::kComicDefinition);
    return nullptr;
  }
  auto* page = new Core::UIComicPage(std::move(onClose));
  page->Build();
  return page;
}
