// The hover rule of the mouse-test container.
#include "ui/ui_mouse_wnd.h"

namespace Core {

int UIWndWithMouseTest::MouseMove(int buttons, int value) {
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  TrackHover(value);
  if (UIWnd* a = ActiveChild()) a->MouseMove(buttons, value);
  return 0;
}

}  // namespace Core
