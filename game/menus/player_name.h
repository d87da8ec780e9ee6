// The player-name dialog: a name typed into an edit becomes a new player, who is selected and
// saved. Opened from the players dialog (may be cancelled) and at the first start (may not).
#pragma once
#include <string>

#include "game/menus/dialog.h"

class UIEditIE;

namespace Menu {

class UIPlayerName : public UIDialog {
 public:
  static constexpr const char* kFile = "data/menu/playerName.ini";

  // `owner` gets "EditPlayerOk" once the player is added, selected and saved, or
  // "EditPlayerCancel" (only when `canCancel`). Without cancelling there is no cancel button and
  // OK stands in the middle of the screen.
  static UIPlayerName* Create(UIWnd* owner, bool canCancel);

  // Characters a name can never hold (besides control characters).
  static bool IsRefusedChar(int code);

  int KeyDown(int code, int value) override;
  int Char(int code, int value) override;
  int OnCommand(UIWnd* source) override;
  int Update(int dt) override;

  UIEditIE* Edit() const { return edit_; }
  std::u16string Text() const;

 protected:
  explicit UIPlayerName(UIWnd* owner) : UIDialog(owner) {}
  UIWnd* ButtonForKey(int code) override;
  bool IsClosingButton(const char* name) const override;

 private:
  // Shows OK or the warning for the current text, and moves the cancel button.
  void UpdateButtons();
  // OK: true when the player now exists and is selected.
  bool Accept();

  UIEditIE* edit_ = nullptr;
  UIWnd* ok_ = nullptr;
  UIWnd* cancel_ = nullptr;
  UIWnd* warning_ = nullptr;
  int cancelX_ = 0;
  int cancelDeltaX_ = 0;
};

}  // namespace Menu
