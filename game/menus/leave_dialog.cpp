// The leave-the-game question.
#include "game/menus/leave_dialog.h"

#include <strings.h>

#include "files/file.h"
#include "game/core/game_main.h"
#include "platform/platform.h"
#include "ui/wnd_create.h"

namespace Menu {

namespace {
UILeaveDialog* g_open = nullptr;
}

UILeaveDialog* UILeaveDialog::Create() {
  if (!fileExists(kFile)) return nullptr;
  auto* d = new UILeaveDialog();
  d->Load(kFile, "Main");
  for (const char* name : {"Question", "Yes", "No"}) wndCreate(kFile, name, d);
  // Enter answers Yes until the mouse picks a button.
  for (int i = 0; i < d->ChildCount(); ++i)
    if (strcasecmp(d->Child(i)->Name(), "Yes") == 0) d->SelectChild(i, 1);
  d->GrabInput();
  g_open = d;
  return d;
}

UILeaveDialog::~UILeaveDialog() {
  if (g_open == this) g_open = nullptr;
}

bool UILeaveDialog::IsOpen() { return g_open != nullptr; }

void UILeaveDialog::Dismiss() {
  if (closed_) return;
  closed_ = true;
  ReleaseInput();
  if (g_open == this) g_open = nullptr;
  if (UIWnd* p = Parent()) p->RemoveChild(this);  // destroyed after the step
}

// While it is open nothing below it sees input: every handler answers "handled".
int UILeaveDialog::KeyDown(int code, int value) {
  if (closed_) return 1;
  if (code == VK_ESCAPE_) {
    Dismiss();
    return 1;
  }
  UIWnd::KeyDown(code, value);
  return 1;
}

int UILeaveDialog::KeyUp(int code, int value) {
  if (!closed_) UIWnd::KeyUp(code, value);
  return 1;
}

int UILeaveDialog::Char(int code, int value) {
  if (!closed_) UIWnd::Char(code, value);
  return 1;
}

int UILeaveDialog::MouseMove(int buttons, int value) {
  if (!closed_) {
    TrackMouse(value);
    UIWnd::MouseMove(buttons, value);
  }
  return 1;
}

int UILeaveDialog::Wheel(float, int, int) { return 1; }

int UILeaveDialog::OnCommand(UIWnd* source) {
  if (!source || closed_) return 1;
  if (strcasecmp(source->Name(), "Yes") == 0) {
    closed_ = true;
    ReleaseInput();
    gameRequestExit();
  } else if (strcasecmp(source->Name(), "No") == 0) {
    Dismiss();
  }
  return 1;
}

}  // namespace Menu
