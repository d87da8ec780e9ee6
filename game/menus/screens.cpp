// Screen changes and the start-up sequence.
#include "game/menus/screens.h"

#include <strings.h>

#include "files/file.h"
#include "files/ini.h"
#include "game/core/app_init.h"
#include "game/core/game_main.h"
#include "game/menus/demo_screen.h"
#include "game/menus/loading.h"
#include "game/menus/logo.h"
#include "ui/ui_fade.h"
#include "ui/wnd_create.h"

namespace Menu {

namespace {
constexpr const char* kMainMenuFile = "data/menu/UIMainMenu.ini";

// Until the main menu of the game proper exists, the menu screen is built from its definition:
// every section but "Main" becomes a window, in file order.
class UIDefinitionScreen : public Core::UIMenuWithFade {
 public:
  void Load(const char* file, const char* section) override {
    UIWndSprite::Load(file, section);
    for (const std::string& s : iniSectionList(file))
      if (strcasecmp(s.c_str(), section) != 0) wndCreate(file, s.c_str(), this);
    AddFade();
  }
};
}  // namespace

void ShowScreen(UIWnd* screen) {
  UIWnd* root = wndRoot();
  if (!root) {
    delete screen;
    return;
  }
  while (root->ChildCount() > 0) root->RemoveChild(root->Child(root->ChildCount() - 1));
  if (screen) root->AddChild(screen);
}

void ShowStartScreens() {
  if (testSetting(TestSwitch::Game_No_Menu)) {
    gameAppInitAll();
    ShowMainMenu();
    return;
  }
  ShowScreen(new UILogo(0));
}

void ShowAppLoading() {
  auto* loading = new UIGameLoading();
  loading->Load(UIGameLoading::kFile, "Main");
  ShowScreen(loading);
}

void ShowMainMenu() {
  // The demo's widget screen stands in for a main menu the data does not define.
  if (!fileExists(kMainMenuFile)) {
    if (UIWnd* demo = uiCreateDemoScreen()) {
      ShowScreen(demo);
      return;
    }
  }
  auto* menu = new UIDefinitionScreen();
  menu->Load(kMainMenuFile, "Main");
  ShowScreen(menu);
}

void RegisterTypes() {
  wndRegisterType("fade", [] () -> UIWnd* { return new Core::UIFade(); });
}

}  // namespace Menu
