// The player-name dialog: which characters a name may take, when OK and the warning show, and
// adding the player.
#include "game/menus/player_name.h"

#include <cstring>
#include <strings.h>

#include "base/diag.h"
#include "files/ini.h"
#include "files/players.h"
#include "files/text.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "ui/widget_edit.h"
#include "ui/wnd_create.h"

namespace Menu {

namespace {
bool NameIs(const UIWnd* w, const char* name) { return w && strcasecmp(w->Name(), name) == 0; }
}  // namespace

UIPlayerName* UIPlayerName::Create(UIWnd* owner, bool canCancel) {
  auto* d = new UIPlayerName(owner);
  d->Load(kFile, "Main");
  // Drawn in this order: the board under the field, the buttons on top.
  for (const char* s : {"Back", "Str", "EnterPad", "EditPlayer", "Warning", "EditPlayerOK"}) wndCreate(kFile, s, d);
  if (canCancel) d->cancel_ = wndCreate(kFile, "EditPlayerCancel", d);
  d->edit_ = dynamic_cast<UIEditIE*>(d->FindChild("EditPlayer"));
  d->ok_ = d->FindChild("EditPlayerOK");
  d->warning_ = d->FindChild("Warning");
  if (d->warning_) d->warning_->SetHidden(true);
  if (d->cancel_) {
    d->cancelX_ = d->cancel_->X();
    d->cancelDeltaX_ = iniGetInt(kFile, "EditPlayerCancel", "deltaX", 0);
  } else if (d->ok_) {
    d->ok_->SetPos((kLogicalWidth - d->ok_->Width()) / 2, d->ok_->Y());
  }
  if (!d->edit_) errorLog("%s: no edit \"EditPlayer\", a name cannot be typed\n", kFile);
  // Typing goes to the field from the start.
  d->active_ = -1;
  for (int i = 0; i < d->ChildCount(); ++i)
    if (d->Child(i) == d->edit_) d->SelectChild(i, 1);
  d->UpdateButtons();
  return d;
}

bool UIPlayerName::IsRefusedChar(int code) {
  if (code < 32) return true;
  static constexpr char kRefused[] = " @#$%^&*()_+=\\|/'\"]}[{:;~`<>.,?";
  return code < 128 && std::strchr(kRefused, code) != nullptr;
}

std::u16string UIPlayerName::Text() const { return edit_ ? edit_->Caption() : std::u16string(); }

UIWnd* UIPlayerName::ButtonForKey(int code) {
  if (code == VK_RETURN_) return ok_;
  if (code == VK_ESCAPE_) return cancel_;
  return nullptr;
}

bool UIPlayerName::IsClosingButton(const char* name) const {
  return strcasecmp(name, "EditPlayerOK") == 0 || strcasecmp(name, "EditPlayerCancel") == 0;
}

int UIPlayerName::KeyDown(int code, int value) {
  if (Closing()) return 1;
  // The editing keys reach the field even while the mouse points at a button.
  switch (code) {
    case VK_LEFT_: case VK_RIGHT_: case VK_HOME_: case VK_END_: case VK_DELETE_: case VK_BACK_:
      if (edit_) edit_->KeyDown(code, value);
      return 1;
    default:
      return UIDialog::KeyDown(code, value);
  }
}

int UIPlayerName::Char(int code, int value) {
  if (Closing()) return 1;
  // Backspace erases through its character; Enter and Escape act through their keys.
  if (code == 8) {
    if (edit_) edit_->Char(code, value);
    return 1;
  }
  if (IsRefusedChar(code)) return 1;
  if (edit_) edit_->Char(code, value);
  UpdateButtons();
  return 1;
}

bool UIPlayerName::Accept() {
  const std::u16string name = Text();
  if (!playerAdd(name)) {
    errorLog("%s: the player \"%s\" could not be added (%d players)\n", kFile, textUtf16ToUtf8(name).c_str(),
             playersCount());
    return false;
  }
  playerSelect(playerFind(name));
  if (!playersSave()) errorLog("%s: the player list was not saved\n", kFile);
  return true;
}

int UIPlayerName::OnCommand(UIWnd* source) {
  if (!source || Closing()) return 1;
  if (source == edit_) return 1;  // Enter in the field: the key has already answered
  if (NameIs(source, "EditPlayerOK")) {
    UpdateButtons();
    if (source->Hidden() || !Accept()) return 1;
    CloseWith(source);
    return 1;
  }
  return UIDialog::OnCommand(source);
}

int UIPlayerName::Update(int dt) {
  if (!told_) UpdateButtons();
  return UIDialog::Update(dt);
}

void UIPlayerName::UpdateButtons() {
  const std::u16string name = Text();
  // A name the list would refuse (too long for it, say) is as unusable as a taken one.
  const bool unusable = name.empty() || playerFind(name) >= 0 || !playerNameValid(name);
  if (ok_) {
    if (unusable) {
      ok_->SetHidden(true);
      ok_->InitState(UIWnd::Ignore);
    } else {
      ok_->SetHidden(false);
      if (ok_->State() == UIWnd::Ignore) ok_->InitState(UIWnd::Normal);
    }
  }
  const bool warn = unusable && !name.empty() && !Closing();
  if (warning_) warning_->SetHidden(!warn);
  if (cancel_) {
    cancel_->SetHidden(warn);
    const bool okHidden = !ok_ || ok_->Hidden();
    const int x = cancelX_ + (okHidden ? cancelDeltaX_ : 0);
    if (cancel_->X() != x) cancel_->SetPos(x, cancel_->Y());
  }
  // The field keeps its lit look while it takes the typing.
  if (edit_ && edit_->State() == UIWnd::Normal) edit_->InitState(UIWnd::Active);
}

}  // namespace Menu
