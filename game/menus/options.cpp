// The options dialog: its windows over cOptionsValues.
#include "game/menus/options.h"

#include <strings.h>

#include <string>

#include "base/diag.h"
#include "files/ini.h"
#include "platform/platform.h"
#include "ui/widget_switch.h"
#include "ui/wnd_create.h"

namespace Menu {

namespace {
// In creation order; the later ones are drawn over the earlier ones.
constexpr const char* kChildren[] = {"Frame",     "Sign",          "Options",      "OptionsOk",  "OptionsCancel",
                                     "MusicStr",  "MusicPad",      "Music",        "SoundStr",   "SoundPad",
                                     "Sound",     "TipsBox",       "Tips",         "TipsStr",    "FullscreenBox",
                                     "Fullscreen", "FullscreenStr", "CursorBox",    "Cursor",     "CursorStr",
                                     "VoicesBox", "Voices",        "VoicesStr"};

bool Is(const UIWnd* w, const char* name) { return w && strcasecmp(w->Name(), name) == 0; }

bool HasSection(const char* file, const char* section) {
  for (const std::string& s : iniSectionList(file))
    if (strcasecmp(s.c_str(), section) == 0) return true;
  return false;
}

// A two-option switch: option 1 is on.
void ShowSwitch(UIWnd* w, bool on) {
  if (auto* s = dynamic_cast<UISwitchBase*>(w); s && s->Current() != (on ? 1 : 0)) s->SetCurrent(on ? 1 : 0);
}
bool SwitchOn(const UIWnd* w) {
  const auto* s = dynamic_cast<const UISwitchBase*>(w);
  return s && s->Current() > 0;
}
}  // namespace

UIOptions::UIOptions(UIWnd* owner, PlayerProgress* record, const OptionsHost& host)
    : UIDialog(owner), values_(std::make_unique<cOptionsValues>(record, host)) {}

UIOptions* UIOptions::Create(UIWnd* owner, PlayerProgress* record, const OptionsHost& host) {
  if (!HasSection(kFile, "Main")) {
    errorLog("%s: no section \"Main\"; the options cannot be shown\n", kFile);
    return nullptr;
  }
  auto* d = new UIOptions(owner, record, host);
  d->Load(kFile, "Main");
  for (const char* name : kChildren) wndCreate(kFile, name, d, true);
  d->active_ = -1;  // nothing hovered before the mouse moves
  d->ShowValues();
  d->ApplyContentAlpha();
  return d;
}

void UIOptions::ShowValues() {
  const PlayerProgress& r = values_->record();
  if (UIWnd* w = FindChild("Music")) w->SetValue(r.music);
  if (UIWnd* w = FindChild("Sound")) w->SetValue(r.sound);
  ShowSwitch(FindChild("Tips"), r.tipsOn);
  ShowSwitch(FindChild("Cursor"), r.cursorOn);
  ShowSwitch(FindChild("Voices"), r.voicesOn);
  ShowFullScreen();
}

void UIOptions::ShowFullScreen() { ShowSwitch(FindChild("Fullscreen"), values_->fullScreen()); }

int UIOptions::OnNotify(UIWnd* source, int message) {
  if (!source || Closing()) return 1;
  if (Is(source, "Music")) {
    source->SetValue(values_->MusicMoved(source->GetValue()));
    return 1;
  }
  if (Is(source, "Sound")) {
    source->SetValue(values_->SoundMoved(source->GetValue(), message));
    return 1;
  }
  return UIDialog::OnNotify(source, message);
}

int UIOptions::OnCommand(UIWnd* source) {
  if (!source || Closing()) return 1;
  if (Is(source, "Tips")) values_->SetTips(SwitchOn(source));
  else if (Is(source, "Cursor")) values_->SetCursor(SwitchOn(source));
  else if (Is(source, "Voices")) values_->SetVoices(SwitchOn(source));
  else if (Is(source, "FullScreen")) values_->ToggleFullScreen();
  else if (Is(source, "OptionsOk")) values_->Ok();
  else if (Is(source, "OptionsCancel")) {
    values_->Cancel();
    ShowValues();
  }
  // The switches are this dialog's own business; the buttons close it and reach the owner.
  if (Is(source, "OptionsOk") || Is(source, "OptionsCancel")) return UIDialog::OnCommand(source);
  if (Is(source, "Tips") || Is(source, "Cursor") || Is(source, "Voices") || Is(source, "FullScreen")) return 1;
  return UIDialog::OnCommand(source);
}

int UIOptions::Update(int dt) {
  // Follows a switch made elsewhere (Alt+Enter). Before the base: once the dialog has told its
  // owner it may be gone.
  if (!Closing()) ShowFullScreen();
  return UIDialog::Update(dt);
}

UIWnd* UIOptions::ButtonForKey(int code) {
  const char* name = code == VK_RETURN_ ? "OptionsOk" : code == VK_ESCAPE_ ? "OptionsCancel" : nullptr;
  if (name)
    if (UIWnd* b = FindChild(name); b && !b->Hidden()) return b;
  return UIDialog::ButtonForKey(code);
}

bool UIOptions::IsClosingButton(const char* name) const {
  return strcasecmp(name, "OptionsOk") == 0 || strcasecmp(name, "OptionsCancel") == 0 ||
         UIDialog::IsClosingButton(name);
}

}  // namespace Menu
