// The pause menu over a level: its buttons, its sub-dialogs and the ways out of the level.
#include "game/menus/game_menu.h"

#include <strings.h>

#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/menus/level_flow.h"
#include "game/menus/options.h"
#include "platform/platform.h"
#include "ui/wnd_create.h"

namespace Menu {

namespace {
// In creation order. A plain window draws its children from the last to the first, so "Back" is
// the background and "Continue" lies on top.
constexpr const char* kChildren[] = {"Continue", "Restart", "Options", "Exit", "Sign", "lblPause", "Back"};

bool Is(const UIWnd* w, const char* name) { return w && strcasecmp(w->Name(), name) == 0; }
}  // namespace

void gameMenuEndLevel() {
  Game::LevelContext* c = Game::levelContext();
  if (!c) return;
  if (c->viewOwned && !c->viewOwned->Parent()) {
    Game::cGameView* view = c->viewOwned.get();
    UIWnd holder;
    holder.AddChild(c->viewOwned.release());
    holder.RemoveChild(view);
  }
  Game::EndLevel();
}

UIGameMenu::UIGameMenu() {
  Load(kFile, "Main");
  for (const char* name : kChildren) wndCreate(kFile, name, this);
  SetName(kName);
  active_ = -1;
  SetHidden(true);
}

void UIGameMenu::Refresh() {
  DropSubDialog();
  leaving_ = false;
  kind_ = kNone;
  SetHidden(false);
  // Nothing stays highlighted from the last time it was shown.
  for (int i = 0; i < childCount_; ++i)
    if (children_[i]->State() == Active || children_[i]->State() == Press) children_[i]->SetState(Normal);
  active_ = -1;
}

int UIGameMenu::KeyDown(int code, int value) {
  if (Hidden()) return 0;
  if (!modal_.IsOpen() && code == VK_ESCAPE_) {
    if (!(value & (1 << 30))) Close();
    return 1;
  }
  UIWithModal::KeyDown(code, value);
  return 1;  // nothing under the menu sees a key while it is shown
}

int UIGameMenu::KeyUp(int code, int value) {
  if (Hidden()) return 0;
  UIWithModal::KeyUp(code, value);
  return 1;
}

int UIGameMenu::Char(int code, int value) {
  if (Hidden()) return 0;
  UIWithModal::Char(code, value);
  return 1;
}

int UIGameMenu::MouseMove(int buttons, int value) {
  if (Hidden()) return 0;
  UIWithModal::MouseMove(buttons, value);
  return 1;
}

int UIGameMenu::Wheel(float delta, int code, int value) {
  if (Hidden()) return 0;
  UIWithModal::Wheel(delta, code, value);
  return 1;
}

void UIGameMenu::Open(UIDialog* dialog, int kind) {
  if (!dialog) return;  // the definition lacks it (said in gerr.log): the menu stays as it is
  if (modal_.Open(dialog, kind)) kind_ = kind;
}

void UIGameMenu::DropSubDialog() {
  modal_.Close();
  kind_ = kNone;
}

int UIGameMenu::OnCommand(UIWnd* source) {
  if (!source || Hidden() || leaving_) return 1;
  if (!modal_.IsOpen()) {
    if (Is(source, "Continue")) {
      Close();
      return 1;
    }
    if (Is(source, "Exit")) return Open(UIDialog::CreateFromDefinition(this, "Exit"), kExit), 1;
    if (Is(source, "Abort")) return Open(UIDialog::CreateFromDefinition(this, "Abort"), kAbort), 1;
    if (Is(source, "Restart")) return Open(UIDialog::CreateFromDefinition(this, "Restart"), kRestart), 1;
    if (Is(source, "Options")) return Open(UIOptions::Create(this), kOptions), 1;
  }
  if (Is(source, "DialogYes")) {
    const int kind = kind_;
    DropSubDialog();
    kind_ = kind;
    leaving_ = true;
    Close();
    return 1;
  }
  if (Is(source, "DialogNo") || Is(source, "DialogCancel") || Is(source, "OptionsOk") ||
      Is(source, "OptionsCancel") || Is(source, "ScoresOk")) {
    DropSubDialog();
    return parent_ ? parent_->OnCommand(source) : 1;
  }
  return parent_ ? parent_->OnCommand(source) : 0;
}

int UIGameMenu::Update(int dt) {
  if (Hidden()) return 0;
  if (leaving_) return 1;
  // The children from the last: an open sub-dialog (added last) runs before the menu's buttons.
  return UIWithModal::Update(dt);
}

void UIGameMenu::Close() {
  const int kind = leaving_ ? kind_ : kNone;
  modal_.Close();
  if (parent_) parent_->OnCommand(this);
  SetHidden(true);
  switch (kind) {
    case kExit:
    case kAbort:
      gameMenuEndLevel();
      AfterLevel(false);
      break;
    case kRestart:
      gameMenuEndLevel();
      AfterLevel(true);
      break;
    default: break;
  }
}

}  // namespace Menu
