// The players dialog: the list of up to eight players, choosing one as the current player,
// creating a player through the name dialog and deleting one after a question. Its own dialogs
// open over it and take all input while they are open.
#pragma once
#include <cstdint>
#include <string>

#include "game/menus/dialog.h"

namespace Menu {

class UIPlayersMenu : public UIWithModal<UIDialog> {
 public:
  static constexpr const char* kFile = "data/menu/players.ini";
  static constexpr int kButtons = 8;
  // The current player's name and the name last clicked (which wins when both are one).
  static constexpr uint32_t kCurrentColour = 0xFFFF7864u;
  static constexpr uint32_t kSelectedColour = 0xFF8CCF27u;
  // Kinds of the dialogs opened over the list.
  enum Kind { kNameDialog = 1, kDeleteQuestion = 2, kMessage = 3 };

  // `owner` gets "SelectPlayer" (the chosen player is current and saved) or "Cancel".
  static UIPlayersMenu* Create(UIWnd* owner);

  int OnCommand(UIWnd* source) override;
  int Update(int dt) override;
  int Draw() override;

  // The name last clicked (at opening, the current player's).
  const std::u16string& Selected() const { return selected_; }
  // Shows the names and colours the buttons from the player list.
  void RefreshList();

 protected:
  explicit UIPlayersMenu(UIWnd* owner) : UIWithModal<UIDialog>(owner) {}
  UIWnd* ButtonForKey(int code) override;
  bool IsClosingButton(const char* name) const override;

 private:
  UIWnd* Button(int index) const;  // "Player1" .. "Player8" for 0 .. 7
  void ApplyColours();
  // The answer of a dialog opened over the list, once it has closed.
  void OnModalResult(int kind, UIWnd* button);
  void Create();
  void Delete();
  void DeleteConfirmed();
  void OpenNameDialog(bool canCancel);

  std::u16string selected_;
  std::u16string deleting_;  // the name the open question is about
};

}  // namespace Menu
