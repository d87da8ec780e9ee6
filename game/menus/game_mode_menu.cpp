// The game-mode dialog.
#include "game/menus/game_mode_menu.h"

#include <string>
#include <strings.h>

#include "base/diag.h"
#include "files/ini.h"
#include "files/players.h"
#include "platform/platform.h"
#include "ui/wnd_create.h"

namespace Menu {

namespace {
// The part of a window's name after the mode's name ("" for the switch itself), or null when the
// name does not start with that mode.
const char* AfterMode(const char* name, const char* mode) {
  const size_t n = std::char_traits<char>::length(mode);
  return strncasecmp(name, mode, n) == 0 ? name + n : nullptr;
}
}  // namespace

UIGameModeMenu* UIGameModeMenu::Create(UIWnd* owner, PlayerProgress* record) {
  if (!iniHasKey(kFile, "Main", "type") && iniSectionList(kFile).empty()) {
    errorLog("%s: the game-mode dialog has no definition\n", kFile);
    return nullptr;
  }
  auto* d = new UIGameModeMenu(owner, record);
  d->Build();
  return d;
}

void UIGameModeMenu::Build() {
  Load(kFile, "Main");
  for (const char* name : {"Frame", "Sign", "Title", "ModeOk", "ModeCancel", "Description"})
    wndCreate(kFile, name, this, true);
  for (int m = 0; m < kModes; ++m) {
    const std::string mode = modeKeyName(m);
    for (const char* suffix : {"", "Box", "Str", "frame"}) wndCreate(kFile, (mode + suffix).c_str(), this, true);
  }
  active_ = -1;
  ApplyContentAlpha();
  const int mode = record_ ? record_->mode : 0;
  Select(mode >= 0 && mode < kModes ? mode : 0);
}

void UIGameModeMenu::Select(int mode) {
  if (mode < 0 || mode >= kModes) return;
  selected_ = mode;
  for (int m = 0; m < kModes; ++m) {
    const std::string key = modeKeyName(m);
    const bool on = m == mode;
    // The frame (a glow with the box's tick) stands around the chosen mode only.
    if (UIWnd* frame = FindChild((key + "frame").c_str())) frame->SetHidden(!on);
    if (UIWnd* str = FindChild((key + "Str").c_str())) str->SetSelect(on ? 1 : 0);
  }
  if (UIWnd* d = FindChild("Description"))
    d->SetCaption(iniGetWText(kFile, modeKeyName(mode), "description", u""));
}

UIWnd* UIGameModeMenu::ButtonForKey(int code) {
  if (code == VK_RETURN_) return FindChild("ModeOk");
  if (code == VK_ESCAPE_) return FindChild("ModeCancel");
  return nullptr;
}

bool UIGameModeMenu::IsClosingButton(const char* name) const {
  return strcasecmp(name, "ModeOk") == 0 || strcasecmp(name, "ModeCancel") == 0 || UIDialog::IsClosingButton(name);
}

int UIGameModeMenu::OnCommand(UIWnd* source) {
  if (!source || Closing()) return 1;
  for (int m = 0; m < kModes; ++m) {
    const char* rest = AfterMode(source->Name(), modeKeyName(m));
    // The switch or its box, not another mode whose name starts alike.
    if (rest && (*rest == 0 || strcasecmp(rest, "Box") == 0 || strcasecmp(rest, "Str") == 0)) {
      Select(m);
      return 1;
    }
  }
  if (strcasecmp(source->Name(), "ModeOk") == 0 && record_) progressSetMode(*record_, selected_);
  return UIDialog::OnCommand(source);
}

}  // namespace Menu
