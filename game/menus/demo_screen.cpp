// The widget demo screen: builds its windows from the definition and answers their commands by
// name, writing what happened into the status line; its side boards hold a scrolling flower list
// and the ways to the effects gallery and the comic page.
#include "game/menus/demo_screen.h"
#include "game/menus/demo_scene.h"

#include <cmath>
#include <string>
#include <vector>

#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/text.h"
#include "game/core/level_context.h"
#include "game/menus/screens.h"
#include "ui/fx_gallery.h"
#include "ui/ui_kf_comic.h"
#include "ui/ui_scroll.h"
#include "ui/widget_progress2.h"
#include "ui/widget_sprite.h"
#include "ui/widget_switch.h"
#include "ui/wnd_create.h"

namespace {

constexpr const char* kDefinition = "data/menu/demo.ini";
constexpr const char* kTranslation = "data/translation.ini";
const char* const kWindows[] = {"Sun",       "Board",       "Title",      "Hint",      "Play",
                                "Sound",     "VolumeLabel", "Volume",     "NameLabel", "Name",
                                "Status",    "LeftPanel",   "FlowersTitle", "Flowers", "RightPanel",
                                "MoreTitle", "Fireworks",   "Comic",      "Tip"};
// The rows of the flower list: "Flower1", "Flower2"... up to the first section without a type.
constexpr int kMaxRows = 100;

// A translated text with its first "%s" or "%d" replaced; the text comes from data, so it is
// never used as a format.
std::string Fill(const char* key, const std::string& value) {
  std::string text = iniGetString(kTranslation, nullptr, key, key);
  for (const char* mark : {"%s", "%d"}) {
    const size_t at = text.find(mark);
    if (at != std::string::npos) {
      text.replace(at, 2, value);
      break;
    }
  }
  for (size_t at = text.find("%%"); at != std::string::npos; at = text.find("%%", at + 1)) text.erase(at, 1);
  return text;
}

}  // namespace

namespace Menu {

class UIDemoScreen : public UIWndSprite {
 public:
  void Build() {
    Load(kDefinition, "Main");
    // The living meadow first: a sprite window draws its children first to last.
    AddChild(new UIDemoScene());
    for (const char* name : kWindows) wndCreate(kDefinition, name, this);
    status_ = FindChild("Status");
    BuildFlowerList();
    if (UIWnd* tip = FindChild("Tip")) tip->Refresh();
  }

  int MouseMove(int buttons, int value) override {
    if (!g_wndEdit) TrackMouse(value);
    return UIWndSprite::MouseMove(buttons, value);
  }

  int OnCommand(UIWnd* source) override {
    const std::string name = source->Name();
    if (name == "Play") {
      // Until the level map exists the menu's Play goes straight to the first level; the level
      // view replaces this screen, and the menu comes back when the level ends.
      if (!Game::LoadLevel(1)) Say(Fill("#DEMO_PLAYED", ""));
    } else if (name == "Sound") {
      if (UIWnd* option = source->Child(static_cast<UISwitchBase*>(source)->Current()))
        Say(textUtf16ToUtf8(option->Caption()));
    } else if (name == "Fireworks") {
      if (UIWnd* gallery = fxCreateGallery([] { ShowScreen(uiCreateDemoScreen()); })) ShowScreen(gallery);
    } else if (name == "Comic") {
      if (UIWnd* page = kfCreateComicPage([] { ShowScreen(uiCreateDemoScreen()); })) ShowScreen(page);
    } else if (name == "Tip") {
      source->Refresh();  // typed out and read: type it again
    } else if (name == "Flowers") {
      // Scrolled: nothing to say.
    } else if (name == "Name") {
      const std::string typed = textUtf16ToUtf8(source->Caption());
      Say(typed.empty() ? Fill("#DEMO_NO_NAME", "") : Fill("#DEMO_HELLO", typed));
    } else {
      return 0;
    }
    return 1;
  }

  int OnNotify(UIWnd* source, int message) override {
    if (std::string(source->Name()) != "Volume") return 0;
    if (message == UIProgress2::kReleased || message == UIProgress2::kDragged || message == UIProgress2::kPressed)
      Say(Fill("#DEMO_VOLUME_IS", std::to_string(int(std::lround(source->GetValue() * 100)))));
    return 1;
  }

 private:
  UIWnd* status_ = nullptr;

  // The rows go into the scroll window (placed relative to it) and the table inside it stacks
  // them; what scrolls is as tall as the rows reach. The table comes after its rows, so a scroll,
  // which moves the rows and then the table, ends with the table arranging them.
  void BuildFlowerList() {
    auto* list = dynamic_cast<Core::UIScrollWnd*>(FindChild("Flowers"));
    if (!list) return;
    std::vector<UIWnd*> rows;
    for (int i = 1; i <= kMaxRows; ++i) {
      const std::string row = "Flower" + std::to_string(i);
      UIWnd* w = wndCreate(kDefinition, row.c_str(), list, true);
      if (!w) break;
      rows.push_back(w);
    }
    if (UIWnd* table = wndCreate(kDefinition, "FlowerTable", list, true))
      for (UIWnd* w : rows) table->AddChild(w);
    if (!rows.empty()) list->SetContentSize(list->Width(), rows.back()->Y() + rows.back()->Height() - list->Y());
  }

  void Say(const std::string& text) {
    if (status_) status_->SetCaptionUtf8(text.c_str());
  }
};

}  // namespace Menu

UIWnd* uiCreateDemoScreen() {
  if (!fileExists(kDefinition)) {
    errorLog("Demo screen: \"%s\" not found\n", kDefinition);
    return nullptr;
  }
  auto* screen = new Menu::UIDemoScreen();
  screen->Build();
  return screen;
}
