// The players dialog: the name buttons, choosing, creating and deleting players.
#include "game/menus/players_menu.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <strings.h>

#include "base/diag.h"
#include "files/players.h"
#include "game/menus/player_name.h"
#include "platform/platform.h"
#include "ui/wnd_create.h"

namespace Menu {

namespace {
bool NameIs(const UIWnd* w, const char* name) { return w && strcasecmp(w->Name(), name) == 0; }

// 0 .. 7 for "Player1" .. "Player8", else -1.
int ButtonIndex(const UIWnd* w) {
  if (!w || strncasecmp(w->Name(), "Player", 6) != 0) return -1;
  const char* n = w->Name() + 6;
  if (n[0] < '1' || n[0] > '8' || n[1] != 0) return -1;
  return n[0] - '1';
}
}  // namespace

UIPlayersMenu* UIPlayersMenu::Create(UIWnd* owner) {
  auto* d = new UIPlayersMenu(owner);
  d->Load(kFile, "Main");
  // Drawn in this order: the board and the mat under the names and buttons.
  for (const char* s : {"Frame", "PlayersMat", "Sign", "Players"}) wndCreate(kFile, s, d);
  for (int i = 1; i <= kButtons; ++i) {
    char section[24];
    std::snprintf(section, sizeof section, "Player%d", i);
    wndCreate(kFile, section, d);
  }
  for (const char* s : {"Create", "SelectPlayer", "Delete", "Cancel"}) wndCreate(kFile, s, d);
  d->active_ = -1;  // nothing is hovered until the mouse moves
  d->selected_ = playerName(playerCurrent());
  d->RefreshList();
  return d;
}

UIWnd* UIPlayersMenu::Button(int index) const {
  char name[24];
  std::snprintf(name, sizeof name, "Player%d", index + 1);
  return FindChild(name);
}

void UIPlayersMenu::RefreshList() {
  const int n = std::min(playersCount(), kButtons);
  for (int i = 0; i < kButtons; ++i) {
    UIWnd* b = Button(i);
    if (!b) continue;
    if (i < n) {
      b->SetCaption(playerName(i));
      b->SetHidden(false);
      if (b->State() == UIWnd::Ignore) b->InitState(UIWnd::Normal);
    } else {
      b->SetCaption(u"");
      b->SetHidden(true);
      b->InitState(UIWnd::Ignore);
    }
  }
  ApplyColours();
}

void UIPlayersMenu::ApplyColours() {
  // The buttons fade with the rest of the dialog: their colour carries the content's alpha.
  const uint32_t alpha = uint32_t(std::clamp(int(std::lround(content_.value)), 0, 255)) << 24;
  const int current = playerCurrent(), selected = playerFind(selected_);
  for (int i = 0; i < kButtons; ++i) {
    UIWnd* b = Button(i);
    if (!b || b->Hidden()) continue;
    uint32_t rgb = 0x00FFFFFFu;
    if (i == current) rgb = kCurrentColour & 0x00FFFFFFu;
    if (i == selected) rgb = kSelectedColour & 0x00FFFFFFu;
    b->SetColour(alpha | rgb);
  }
}

UIWnd* UIPlayersMenu::ButtonForKey(int code) {
  // Enter goes to the button the mouse points at; Escape cancels.
  if (code == VK_ESCAPE_) return FindChild("Cancel");
  return nullptr;
}

bool UIPlayersMenu::IsClosingButton(const char* name) const {
  return strcasecmp(name, "SelectPlayer") == 0 || strcasecmp(name, "Cancel") == 0;
}

int UIPlayersMenu::OnCommand(UIWnd* source) {
  if (!source) return 1;
  if (UIDialog* open = modal_.Dialog()) {
    // Only the closing answer of the dialog over the list counts; anything else it passes on
    // (its own buttons' commands) means nothing here.
    if (open->Closing() && source == open->ClosedBy()) OnModalResult(modal_.Kind(), source);
    return 1;
  }
  if (Closing()) return 1;
  if (const int i = ButtonIndex(source); i >= 0) {
    if (i < playersCount()) selected_ = playerName(i);
    ApplyColours();
    return 1;
  }
  if (NameIs(source, "SelectPlayer")) {
    const int i = playerFind(selected_);
    if (i >= 0) {
      playerSelect(i);
      if (!playersSave()) errorLog("%s: the player list was not saved\n", kFile);
    }
    CloseWith(source);
  } else if (NameIs(source, "Cancel")) {
    CloseWith(source);
  } else if (NameIs(source, "Create")) {
    Create();
  } else if (NameIs(source, "Delete")) {
    Delete();
  }
  return 1;
}

void UIPlayersMenu::Create() {
  if (playersCount() >= kMaxPlayers) {
    modal_.Open(UIWarning::CreateFromDefinition(this, "YouCantCreate"), kMessage);
    return;
  }
  OpenNameDialog(true);
}

void UIPlayersMenu::OpenNameDialog(bool canCancel) { modal_.Open(UIPlayerName::Create(this, canCancel), kNameDialog); }

void UIPlayersMenu::Delete() {
  const int i = playerFind(selected_);
  if (i < 0) return;
  if (i == playerCurrent()) {
    modal_.Open(UIWarning::CreateFromDefinition(this, "YouCantDelete"), kMessage);
    return;
  }
  deleting_ = selected_;
  modal_.Open(UIDialog::CreateFromDefinition(this, "DeletePlayer"), kDeleteQuestion);
}

void UIPlayersMenu::DeleteConfirmed() {
  const int i = playerFind(deleting_);
  deleting_.clear();
  // The current player is never removed: the list would be left without one.
  if (i < 0 || i == playerCurrent()) return;
  playerRemove(i);
  const int n = playersCount();
  // The player now at the removed place, or the one before it when the last was removed.
  selected_ = n > 0 ? playerName(std::min(i, n - 1)) : std::u16string();
  if (!playersSave()) errorLog("%s: the player list was not saved\n", kFile);
  RefreshList();
}

void UIPlayersMenu::OnModalResult(int kind, UIWnd* button) {
  const bool yes = NameIs(button, "DialogYes");
  const bool added = NameIs(button, "EditPlayerOk");
  modal_.Close();
  active_ = -1;  // nothing is hovered until the pointer moves again
  if (kind == kDeleteQuestion) {
    if (yes) DeleteConfirmed();
    else deleting_.clear();
  } else if (kind == kNameDialog && added) {
    selected_ = playerName(playerCurrent());
    RefreshList();
  }
  // Nobody left to play: a name is needed before anything else, so this one cannot be cancelled.
  if (playersCount() == 0) OpenNameDialog(false);
}

int UIPlayersMenu::Update(int dt) {
  const int r = UIWithModal<UIDialog>::Update(dt);
  if (!told_) ApplyColours();  // the fades colour every child white
  return r;
}

int UIPlayersMenu::Draw() {
  // Drawn by the screen's holder only: the list and whatever is open over it.
  if (heldDraw_ && !drawing_) return 0;
  return UIWithModal<UIDialog>::Draw();
}

}  // namespace Menu
