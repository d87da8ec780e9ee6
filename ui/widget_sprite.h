// UIWndSprite: a window that shows the picture of its state and a caption, with the push-button
// logic every standard widget shares (press on Enter or a click, a command on release inside).
#pragma once
#include <string>
#include <vector>

#include "ui/wnd.h"

class UIWndSprite : public UIWnd {
 public:
  void Load(const char* file, const char* section) override;
  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int Draw() override;

  // Where each caption line is drawn: lines split at "<>", two font line heights apart.
  struct CaptionLine {
    std::u16string text;
    int x = 0, y = 0;
  };
  std::vector<CaptionLine> CaptionLayout() const;
  int ImageWidth() const { return imageW_; }
  int ImageHeight() const { return imageH_; }
  // Mirroring per state: bit s left to right, bit s + 4 top to bottom.
  int FlipBits() const { return flip_; }

  // Render mode for the window's colour: the plain mode when it is opaque white, else modulating.
  static uint32_t ModeFor(uint32_t argb);
  // The packed position of a mouse message as x and y.
  static int PosX(int value) { return int16_t(value & 0xFFFF); }
  static int PosY(int value) { return int16_t((uint32_t(value) >> 16) & 0xFFFF); }

 protected:
  int16_t imageW_ = 0, imageH_ = 0;
  int8_t imageXAlign_ = -1, imageYAlign_ = -1;

  // Input gates shared by the widgets: edit mode, hidden, an effect, or the ignore state.
  // Returns -1 when the widget may handle the event, else the result to give back.
  int InputGate() const;
  // Enter, or the left button at a position inside: the keys that press and click.
  bool IsClickKey(int code, int value) const;
  // The press half and the release half of the button logic (without gates and children).
  int PressOnKey(int code, int value);
  int ReleaseOnKey(int code, int value);

  // Drawing pieces, in the order Draw uses them.
  bool BeginDraw(float m[16]) const;
  static void EndDraw(bool pushed);
  void DrawStateImage() const;
  void DrawCaption() const;
  void DrawBounds() const;
  int DrawChildrenForward();
  // The style that picks the font colour variant: state plus "select".
  int TextStyle() const { return (state_ + Select()) & 3; }
};
