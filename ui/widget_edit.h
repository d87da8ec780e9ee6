// UIEditIE: a one-line text field on a button, with a blinking cursor, editing keys and a
// maximum length. Backspace and Enter act through their character messages, as typed text does;
// Enter sends a command, a click into the field does not.
#pragma once
#include "ui/widget_button.h"

class UIEditIE : public UIWndButtonIE {
 public:
  static constexpr int kMaxLength = 1024;

  void Load(const char* file, const char* section) override;
  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int Char(int code, int value) override;
  int Draw() override;
  // The cursor position: rounded and kept within the text.
  void SetValue(float v) override;
  float GetValue() const override { return float(Cursor()); }

  // The cursor within the current text (the caption may have been set shorter meanwhile).
  int Cursor() const;
  int MaxLength() const { return maxLen_; }
  uint32_t CursorColour() const { return cursorColour_; }
  // True while the cursor bar is shown: hovered or pressed, in the lit half of each 1024 ms.
  bool CursorShown() const { return (state_ == Active || state_ == Press) && (age_ & 512); }
  // Left edge of the cursor bar on the screen.
  int CursorX() const;

 protected:
  int16_t cursor_ = 0;
  int16_t maxLen_ = kMaxLength;
  uint32_t cursorColour_ = 0xFFFFFFFFu;
};
