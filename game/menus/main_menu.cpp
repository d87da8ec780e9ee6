// The main menu screen and its commands.
#include "game/menus/main_menu.h"

#include <string>
#include <strings.h>

#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/players.h"
#include "files/text.h"
#include "game/core/game_main.h"
#include "game/menus/book.h"
#include "game/menus/game_mode_menu.h"
#include "game/menus/last_screen.h"
#include "game/menus/level_flow.h"
#include "game/menus/menu_title.h"
#include "game/menus/options.h"
#include "game/menus/player_name.h"
#include "game/menus/players_menu.h"
#include "game/menus/scores.h"
#include "platform/platform.h"
#include "ui/wnd_create.h"

namespace Menu {

namespace {
const char* const kChildren[] = {"AirDust", "ChangePlayer", "ChangePlayerText", "Hello", "PlayerName", "PlayerMode",
                                 "Achievements", "Mode", "Play", "Options", "Scores", "Exit", "Version"};

bool Is(const UIWnd* w, const char* name) { return w && strcasecmp(w->Name(), name) == 0; }

bool HasSection(const char* file, const char* section) {
  for (const std::string& s : iniSectionList(file))
    if (strcasecmp(s.c_str(), section) == 0) return true;
  return false;
}
}  // namespace

UIMainMenu* UIMainMenu::Create(bool showScores) {
  auto* menu = new UIMainMenu();
  menu->Load(kFile, "Main");
  // A first player's name is asked before anything else.
  if (showScores && !menu->modal_.IsOpen()) menu->OpenScores(true);
  return menu;
}

void UIMainMenu::Load(const char* file, const char* section) {
  UIWndSprite::Load(file, section);
  if (const char* font = iniGetString(file, section, "font", ""); font && *font) SetFont(font);
  for (const char* name : kChildren) wndCreate(file, name, this);
  if (UIWnd* dust = FindChild("AirDust")) dust->Start(1, 0, 0);
  if (UIWnd* version = FindChild("Version")) version->SetCaption(u"");
  if (HasSection(file, "Title")) {
    auto* title = new UIMenuTitle();
    title->Load(file, "Title");
    AddChild(title);
  }
  UpdatePlayerLabels();
  // The fade comes last, so it covers everything while the menu comes up.
  AddFade();
  // Nothing is hovered until the mouse moves.
  active_ = -1;
  // The first start: a player is made before anything else, and it cannot be cancelled (so it is
  // only asked when its dialog can be shown at all).
  if (playersCount() == 0) {
    if (fileExists(UIPlayerName::kFile)) modal_.Open(UIPlayerName::Create(this, false), kPlayers);
    else errorLog("%s: missing, so no first player can be named\n", UIPlayerName::kFile);
  }
}

void UIMainMenu::UpdatePlayerLabels() {
  const PlayerProgress* p = playerProgress();
  if (UIWnd* name = FindChild("PlayerName")) name->SetCaption(playerCurrent() >= 0 ? playerName(playerCurrent()) : u"");
  if (UIWnd* mode = FindChild("PlayerMode")) {
    const bool chosen = p && p->modeChosen && p->mode >= 0 && p->mode < kGameModes;
    mode->SetHidden(!chosen);
    mode->SetCaption(chosen ? modeLabel(p->mode) : u"");
  }
}

bool UIMainMenu::AskExit() {
  if (modal_.IsOpen() || leaving_) return false;
  return modal_.Open(UIDialog::CreateFromDefinition(this, "Exit"), kExit);
}

int UIMainMenu::KeyDown(int code, int value) {
  if (!modal_.IsOpen() && code == VK_ESCAPE_) {
    if (!(value & (1 << 30))) AskExit();
    return 1;
  }
  return UIWithModal::KeyDown(code, value);
}

int UIMainMenu::MouseMove(int buttons, int value) {
  if (!modal_.IsOpen() && !g_wndEdit) TrackMouse(value);
  return UIWithModal::MouseMove(buttons, value);
}

void UIMainMenu::OpenGameMode() { modal_.Open(UIGameModeMenu::Create(this, playerProgress()), kGameMode); }

void UIMainMenu::OpenPlayers() { modal_.Open(UIPlayersMenu::Create(this), kPlayers); }

void UIMainMenu::OpenOptions() { modal_.Open(UIOptions::Create(this), kOptions); }

void UIMainMenu::OpenScores(bool finale) {
  const int current = playerCurrent();
  const PlayerProgress* p = playerProgress();
  const std::u16string name = current >= 0 ? playerName(current) : std::u16string();
  modal_.Open(UIScores::Create(this, name, p ? progressTotalScore(*p) : 0, finale), kScores);
}

void UIMainMenu::OpenBook() { modal_.Open(UIBook::Create(this), kAchievements); }

void UIMainMenu::StartGame() {
  playPending_ = false;
  Menu::StartGame();
}

void UIMainMenu::OpenUrl() {
  const std::string url = iniGetString("game.ini", "URL", "url", "");
  // The window has no way to hand an address to a browser yet: say so rather than fail silently.
  if (!url.empty()) errorLog("Main menu: cannot open \"%s\" from here\n", url.c_str());
}

int UIMainMenu::OnCommand(UIWnd* source) {
  if (!source) return 0;
  const char* name = source->Name();
  // The fade that brought the menu up.
  if (Is(source, "Fade")) return UIWithModal::OnCommand(source);
  const int kind = modal_.Kind();
  if (Is(source, "ModeOk")) {
    modal_.Close();
    UpdatePlayerLabels();
    if (playPending_) StartGame();
    return 1;
  }
  if (Is(source, "ScoresOk")) {
    // After the finale's table the book of the whole game follows.
    const auto* scores = dynamic_cast<const UIScores*>(modal_.Dialog());
    const bool finale = scores && scores->Finale();
    modal_.Close();
    if (finale) OpenBook();
    return 1;
  }
  for (const char* done : {"ModeCancel", "OptionsOk", "OptionsCancel", "ScoresOk", "AchClose", "DialogNo",
                           "DialogCancel", "WarningOk"}) {
    if (strcasecmp(name, done) == 0) {
      modal_.Close();
      if (strcasecmp(name, "ModeCancel") == 0) playPending_ = false;
      UpdatePlayerLabels();
      return 1;
    }
  }
  for (const char* done : {"SelectPlayer", "Cancel", "EditPlayerOk", "EditPlayerCancel"}) {
    if (strcasecmp(name, done) == 0) {
      modal_.Close();
      UpdatePlayerLabels();
      return 1;
    }
  }
  if (Is(source, "DialogYes")) {
    modal_.Close();
    if (kind == kExit) leaving_ = true;
    else if (kind == kUrl) OpenUrl();
    return 1;
  }
  // The menu's own buttons: only while no dialog stands over it (a dialog passes on the commands
  // it does not keep, and those are not the menu's).
  if (modal_.IsOpen() || leaving_) return 1;
  if (Is(source, "Play")) {
    const PlayerProgress* p = playerProgress();
    if (p && p->modeChosen) {
      StartGame();
    } else {
      playPending_ = true;
      OpenGameMode();
    }
  } else if (Is(source, "Exit")) {
    AskExit();
  } else if (Is(source, "Options")) {
    OpenOptions();
  } else if (Is(source, "Mode")) {
    playPending_ = false;
    OpenGameMode();
  } else if (Is(source, "ChangePlayer") || Is(source, "PlayerName")) {
    OpenPlayers();
  } else if (Is(source, "URL")) {
    modal_.Open(UIDialog::CreateFromDefinition(this, "Url"), kUrl);
  } else if (Is(source, "Scores")) {
    OpenScores(false);
  } else if (Is(source, "Achievements")) {
    OpenBook();
  } else {
    // "Promo" opens a window this menu does not have yet.
    return UIWithModal::OnCommand(source);
  }
  return 1;
}

int UIMainMenu::Update(int dt) {
  // The question was answered on the step before: the closing screens, then the program ends.
  if (leaving_) {
    ShowClosingScreens();
    return 1;
  }
  return UIWithModal::Update(dt);
}

}  // namespace Menu
