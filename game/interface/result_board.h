// Interface::UIResultBoard: what the boards shown at a level's end have in common. Hidden, a board
// lets input pass; shown, it keeps every press from the map, Enter answers "StatisticsOK", and the
// first of its two buttons pressed ("StatisticsOK", "StatisticsRestart") is handed to the owner once.
#pragma once
#include "ui/widget_sprite.h"

namespace Interface {

class UIResultBoard : public UIWndSprite {
 public:
  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int Char(int code, int value) override;
  int MouseMove(int buttons, int value) override;
  int OnCommand(UIWnd* source) override;

 protected:
  // A key or click the board takes for itself before the buttons see it (a count skipped to its
  // end); true when taken.
  virtual bool TakeKey() { return false; }
  void Press(const char* button);
  // Shown anew, the board answers once more.
  void ResetAnswer() { m_pressed = false; }

 private:
  bool m_pressed = false;  // a button has answered; further input waits for the owner
};

}  // namespace Interface
