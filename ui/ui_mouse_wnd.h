// A container with its own hover rule: the child under the mouse becomes active, and children the
// mouse has left, or a mouse over no child, leave nothing highlighted.
#pragma once
#include "ui/wnd.h"

namespace Core {

class UIWndWithMouseTest : public UIWnd {
 public:
  // The hover rule (UIWnd::TrackHover), then the move goes on to the active child; answers 0.
  int MouseMove(int buttons, int value) override;
};

}  // namespace Core
