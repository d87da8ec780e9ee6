// Screen changes and the start-up sequence.
#include "game/menus/screens.h"

#include <strings.h>

#include "files/file.h"
#include "files/ini.h"
#include "game/core/app_init.h"
#include "game/core/game_main.h"
#include "game/core/level_view.h"
#include "game/core/random.h"
#include "game/menus/game_logo.h"
#include "game/menus/loading.h"
#include "game/menus/logo.h"
#include "game/menus/main_menu.h"
#include "ui/ui_fade.h"
#include "ui/ui_random.h"
#include "ui/wnd_create.h"

namespace Menu {

namespace {
// Set as the start-up screens begin; the first menu shown then runs the progress step.
bool g_startProgressDue = false;
}  // namespace

void ShowScreen(UIWnd* screen) { gameShowScreen(screen); }

bool OfferEscape() {
  // Only on the main menu: every other screen answers Escape itself.
  UIWnd* root = wndRoot();
  auto* menu = root ? dynamic_cast<UIMainMenu*>(root->Child(0)) : nullptr;
  return menu && menu->AskExit();
}

void ShowStartScreens() {
  if (testSetting(TestSwitch::Game_No_Menu)) {
    gameAppInitAll();
    // "Game_Test_Level" names the level to start instead of the menu.
    if (int level = testSetting(TestSwitch::Game_Test_Level); level > 0 && Game::levelStartDirect(level)) return;
    ShowMainMenu();
    return;
  }
  g_startProgressDue = true;
  ShowScreen(new UILogo(0));
}

void ShowAppLoading() {
  auto* loading = new UIGameLoading();
  loading->Load(UIGameLoading::kFile, "Main");
  ShowScreen(loading);
}

void ShowMainMenu(bool showScores) {
  // The player list is read while loading, so the start-up's progress step runs with the first
  // menu rather than with the logos.
  if (g_startProgressDue) {
    g_startProgressDue = false;
    PrepareStartProgress();
  }
  ShowScreen(UIMainMenu::Create(showScores));
}

void RegisterTypes() {
  wndRegisterType("fade", [] () -> UIWnd* { return new Core::UIFade(); });
  wndRegisterType("gameLogo", [] () -> UIWnd* { return new UIGameLogo(); });
  // Windows draw their cosmetic chances (a sign's pauses) from the unlogged generator.
  uiSetCosmeticRandom([](int32_t lo, int32_t hi) { return RandomPeriod(lo, hi, true); });
}

}  // namespace Menu
