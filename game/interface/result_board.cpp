// The input rules the end-of-level boards share.
#include "game/interface/result_board.h"

#include <strings.h>

#include "platform/platform.h"

namespace Interface {

void UIResultBoard::Press(const char* button) {
  if (m_pressed) return;
  UIWnd* b = FindChild(button);
  if (!b || !parent_) return;
  m_pressed = true;
  parent_->OnCommand(b);
}

int UIResultBoard::KeyDown(int code, int value) {
  if (Hidden()) return 0;
  if (m_pressed || TakeKey()) return 1;
  if (code == VK_RETURN_) {
    Press("StatisticsOK");
    return 1;
  }
  if (code == VK_LBUTTON_) TrackMouse(value);
  UIWndSprite::KeyDown(code, value);
  return 1;
}

int UIResultBoard::KeyUp(int code, int value) {
  if (Hidden()) return 0;
  if (!m_pressed) UIWndSprite::KeyUp(code, value);
  return 1;
}

int UIResultBoard::Char(int, int) { return Hidden() ? 0 : 1; }

int UIResultBoard::MouseMove(int, int value) {
  if (Hidden()) return 0;
  TrackMouse(value);
  return 1;
}

int UIResultBoard::OnCommand(UIWnd* source) {
  if (!source) return 1;
  if (strcasecmp(source->Name(), "StatisticsOK") == 0 || strcasecmp(source->Name(), "StatisticsRestart") == 0)
    Press(source->Name());
  return 1;
}

}  // namespace Interface
