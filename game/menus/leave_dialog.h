// The question asked when Escape is pressed on the menu: "Leave the game?" with Yes and No. It
// takes input before the menu until it is answered; Yes ends the program the orderly way.
#pragma once
#include "ui/widget_sprite.h"

namespace Menu {

class UILeaveDialog : public UIWndSprite {
 public:
  static constexpr const char* kFile = "data/menu/leave.ini";
  // Null when the definition is missing (the question is then not asked).
  static UILeaveDialog* Create();
  ~UILeaveDialog() override;

  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int Char(int code, int value) override;
  int MouseMove(int buttons, int value) override;
  int Wheel(float delta, int code, int value) override;
  int OnCommand(UIWnd* source) override;

  // Closes without leaving (No, Escape).
  void Dismiss();
  static bool IsOpen();

 private:
  bool closed_ = false;
};

}  // namespace Menu
