// Edit mode (a debug switch): a click marks a window, the arrows move or size the marked one, F2
// writes its place back into its definition.
#include "files/ini.h"
#include "platform/platform.h"
#include "ui/wnd.h"
#include "ui/wnd_internal.h"

int UIWnd::EditKey(int code, int value) {
  bool alt = (value & (1 << 29)) != 0;
  if (code == 1) {  // left button released inside toggles the mark
    int x = wndUnpackX(value), y = wndUnpackY(value);
    if (HitTest(x, y)) {
      flags_ ^= 8;
      return 1;
    }
    return 0;
  }
  if (!(flags_ & 8)) return 0;
  int step = platShiftHeld() ? 10 : 1;
  int dx = code == VK_LEFT_ ? -step : code == VK_RIGHT_ ? step : 0;
  int dy = code == VK_UP_ ? -step : code == VK_DOWN_ ? step : 0;
  if (dx || dy) {
    if (alt) {
      xs_ = int16_t(xs_ + dx);
      ys_ = int16_t(ys_ + dy);
    } else {
      MoveBy(dx, dy);
    }
    return 1;
  }
  if (code == VK_F2_ && !defFile_.empty() && !defSection_.empty()) {
    const char* f = defFile_.c_str();
    const char* s = defSection_.c_str();
    iniSetInt(f, s, "x", x_, false);
    iniSetInt(f, s, "y", y_, false);
    iniSetInt(f, s, "xs", xs_, false);
    iniSetInt(f, s, "ys", ys_, true);
    flags_ &= uint8_t(~8);
    return 1;
  }
  return 0;
}
