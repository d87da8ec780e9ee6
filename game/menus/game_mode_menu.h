// The game-mode dialog: the three ways to play ("Normal", "Multiclick", "NoTime") as switches with
// a description of the one selected; OK makes it the player's mode, Cancel changes nothing.
#pragma once
#include "game/menus/dialog.h"

struct PlayerProgress;

namespace Menu {

class UIGameModeMenu : public UIDialog {
 public:
  static constexpr const char* kFile = "data/menu/UIGameModeMenu.ini";
  static constexpr int kModes = 3;

  // The dialog for `record` (may be null: nothing is applied); `owner` gets "ModeOk" or
  // "ModeCancel" once the dialog has faded out. Null when the definition has no "Main".
  static UIGameModeMenu* Create(UIWnd* owner, PlayerProgress* record);

  int OnCommand(UIWnd* source) override;
  // The mode whose switch is selected, 0 to 2.
  int Selected() const { return selected_; }
  void Select(int mode);

 protected:
  UIGameModeMenu(UIWnd* owner, PlayerProgress* record) : UIDialog(owner), record_(record) {}
  UIWnd* ButtonForKey(int code) override;
  bool IsClosingButton(const char* name) const override;

 private:
  void Build();
  PlayerProgress* record_;
  int selected_ = 0;
};

}  // namespace Menu
