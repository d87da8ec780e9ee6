// Window events to engine input messages; activation changes pause and resume sounds.
#include "app/window_input.h"

#include "app/app.h"
#include "files/text.h"
#include "gfx/render.h"
#include "sound/sound.h"

#include <algorithm>

namespace {
void setActive(bool active) {
  if (appIsActive() == active) return;
  appSetActive(active);
  sndActivate(active);
  appSendInput(0, 4, active ? 1 : 0);
}
}  // namespace

void windowInputInit() {}
void windowInputDone() {}
void windowInputPollJoystick() {}

int windowPackLogical(int clientX, int clientY) {
  int x = std::clamp(grScreenToLogicalX(clientX), 0, kLogicalWidth - 1);
  int y = std::clamp(grScreenToLogicalY(clientY), 0, kLogicalHeight - 1);
  return (x & 0xFFFF) | (y << 16);
}

void windowInputText(const char* utf8) {
  std::u16string w = textUtf8ToUtf16(utf8 ? utf8 : "");
  for (char16_t c : w) appSendInput(258, int(c), 1);
}

void windowInputOnDestroy() {
  AppSettings& s = appSettings();
  if (!platWindowExists() || (s.fullScreen & 1)) return;
  platWindowGetPos(s.x, s.y);
}

void windowInputHandle(const PlatEvent& e) {
  switch (e.kind) {
    case PlatEvent::KeyDown: appSendInput(256, e.vk, e.keyData); break;
    case PlatEvent::KeyUp: appSendInput(257, e.vk, e.keyData); break;
    case PlatEvent::Text: windowInputText(e.text); break;
    case PlatEvent::MouseMove: appSendInput(512, e.buttons, windowPackLogical(e.x, e.y)); break;
    case PlatEvent::MouseDown: appSendInput(256, e.button, windowPackLogical(e.x, e.y)); break;
    case PlatEvent::MouseUp: appSendInput(257, e.button, windowPackLogical(e.x, e.y)); break;
    case PlatEvent::Wheel: appSendInput(522, e.wheel << 16, windowPackLogical(e.x, e.y)); break;
    case PlatEvent::FocusGained: setActive(true); break;
    case PlatEvent::FocusLost: setActive(false); break;
    case PlatEvent::Minimized: setActive(false); break;
    case PlatEvent::Restored: setActive(true); break;
    case PlatEvent::Maximized: appSendInput(0, 6, 0); break;
    case PlatEvent::MouseEnter: appSendInput(0, 3, 1); break;
    case PlatEvent::MouseLeave: appSendInput(0, 3, 0); break;
    default: break;
  }
}
