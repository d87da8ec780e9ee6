// Menu::UIOptions: the options dialog ("data/menu/options.ini"): the music and sound sliders and
// the tips, full-screen, cursor and voices switches of the current player. Changes are heard and
// seen at once; OK keeps them (saved in the profile), Cancel puts everything back.
#pragma once
#include <memory>

#include "game/menus/dialog.h"
#include "game/menus/options_values.h"

namespace Menu {

class UIOptions : public UIDialog {
 public:
  static constexpr const char* kFile = "data/menu/options.ini";

  // The dialog for `record` (the current player's by default; null works on the playing volumes
  // without saving). `owner` gets "OptionsOk" or "OptionsCancel" once the dialog has faded out.
  // Null when the definition has no section "Main" (reported in gerr.log).
  static UIOptions* Create(UIWnd* owner, PlayerProgress* record = playerProgress(),
                           const OptionsHost& host = optionsEngineHost());

  int OnNotify(UIWnd* source, int message) override;
  int OnCommand(UIWnd* source) override;
  int Update(int dt) override;

  const cOptionsValues& values() const { return *values_; }

 protected:
  UIOptions(UIWnd* owner, PlayerProgress* record, const OptionsHost& host);
  // Enter presses "OptionsOk", Escape "OptionsCancel", when the button is there and shown.
  UIWnd* ButtonForKey(int code) override;
  bool IsClosingButton(const char* name) const override;

 private:
  // The windows show the record (and the screen mode) as they are now.
  void ShowValues();
  void ShowFullScreen();

  std::unique_ptr<cOptionsValues> values_;
};

}  // namespace Menu
