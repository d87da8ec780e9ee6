// Menu::UIGameMenu: the pause menu over a level in play ("data/menu/gameMenu.ini"): continue,
// restart, the options, and leaving the level, each way out asked once more with a yes/no dialog.
// The in-game interface keeps it hidden and shows it on its "Menu" button and on Escape.
#pragma once
#include "game/menus/dialog.h"
#include "ui/ui_mouse_wnd.h"

namespace Menu {

class UIGameMenu : public UIWithModal<Core::UIWndWithMouseTest> {
 public:
  static constexpr const char* kFile = "data/menu/gameMenu.ini";
  static constexpr const char* kName = "GameMenu";
  // The open sub-dialog.
  enum Kind { kNone = 0, kExit = 1, kAbort = 2, kRestart = 3, kOptions = 4 };

  // Built from its definition, hidden. A definition without "Main" still gives a menu (without
  // buttons it can only be left with Escape), named "GameMenu" whatever the file says.
  UIGameMenu();

  // Shows the menu afresh: visible, no sub-dialog, not leaving.
  void Refresh() override;
  // While shown the menu (or its sub-dialog) takes all input: nothing reaches the map.
  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int Char(int code, int value) override;
  int MouseMove(int buttons, int value) override;
  int Wheel(float delta, int code, int value) override;
  int OnCommand(UIWnd* source) override;
  int Update(int dt) override;

  bool Leaving() const { return leaving_; }
  // The kind of the open sub-dialog, or of the one whose Yes is closing the menu.
  int Kind() const { return kind_; }
  UIDialog* SubDialog() const { return modal_.Dialog(); }

 private:
  void Open(UIDialog* dialog, int kind);
  void DropSubDialog();
  // Tells the parent, hides, then leaves, restarts or goes on by the kind.
  void Close();

  bool leaving_ = false;
  int kind_ = kNone;
};

// Ends the running level from a window inside its view: a view that is not on screen is first
// handed to the windows removed after the step, so it does not die under its own handler.
void gameMenuEndLevel();

}  // namespace Menu
