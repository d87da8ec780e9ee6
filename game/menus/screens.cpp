// Screen changes and the start-up sequence.
#include "game/menus/screens.h"

#include <strings.h>

#include "files/file.h"
#include "files/ini.h"
#include "game/core/app_init.h"
#include "game/core/game_main.h"
#include "game/core/level_view.h"
#include "game/core/random.h"
#include "game/menus/demo_screen.h"
#include "game/menus/leave_dialog.h"
#include "game/menus/loading.h"
#include "game/menus/logo.h"
#include "ui/ui_fade.h"
#include "ui/ui_random.h"
#include "ui/wnd_create.h"

namespace Menu {

namespace {
constexpr const char* kMainMenuFile = "data/menu/UIMainMenu.ini";
// The menu screen while it is shown (Escape asks there whether to leave).
UIWnd* g_menu = nullptr;

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
  g_menu = nullptr;
  gameShowScreen(screen);
}

bool OfferEscape() {
  UIWnd* root = wndRoot();
  if (!g_menu || !root || root->Child(0) != g_menu || UILeaveDialog::IsOpen()) return false;
  UILeaveDialog* dialog = UILeaveDialog::Create();
  if (!dialog) return false;
  // The menu draws its children first to last, so the question added last stands on top.
  g_menu->AddChild(dialog);
  return true;
}

void ShowStartScreens() {
  if (testSetting(TestSwitch::Game_No_Menu)) {
    gameAppInitAll();
    // "Game_Test_Level" names the level to start instead of the menu.
    if (int level = testSetting(TestSwitch::Game_Test_Level); level > 0 && Game::levelStartDirect(level)) return;
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
  UIWnd* menu = fileExists(kMainMenuFile) ? nullptr : uiCreateDemoScreen();
  if (!menu) {
    auto* defined = new UIDefinitionScreen();
    defined->Load(kMainMenuFile, "Main");
    menu = defined;
  }
  ShowScreen(menu);
  g_menu = menu;
}

void RegisterTypes() {
  wndRegisterType("fade", [] () -> UIWnd* { return new Core::UIFade(); });
  // Windows draw their cosmetic chances (a sign's pauses) from the unlogged generator.
  uiSetCosmeticRandom([](int32_t lo, int32_t hi) { return RandomPeriod(lo, hi, true); });
}

}  // namespace Menu
