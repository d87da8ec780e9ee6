// Window events to engine input messages; activation changes pause and resume sounds.
#include "app/window_input.h"

#include "app/app.h"
#include "app/joystick.h"
#include "files/text.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "ui/wnd.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {
// The last 31 characters typed, oldest first.
std::string g_typed;
bool g_systemCursorShown = true;
// The key data of the last key pressed: the characters it types carry it, as Win32's do.
int g_lastKeyData = 1;

struct DebugWord {
  const char* word;
  void (*action)();
};
const DebugWord kDebugWords[] = {
    {"grdbgout", [] { grDBGOut(); }},
    {"grreload", [] {
       grKillFocus();
       grRestore();
     }},
    {"snddbgout", [] { sndDBGOut(); }},
    {"filedbgout", [] {}},
    {"uibound", [] { g_wndBounds = !g_wndBounds; }},
    {"uiedit", [] {
       g_wndEdit = !g_wndEdit;
       g_wndBounds = !g_wndBounds;
     }},
    {"showcursor", [] {
       g_systemCursorShown = !g_systemCursorShown;
       platShowSystemCursor(g_systemCursorShown);
     }},
};

bool EndsWithFolded(const std::string& text, const char* word) {
  const size_t n = std::strlen(word);
  if (text.size() < n) return false;
  for (size_t i = 0; i < n; ++i) {
    char c = text[text.size() - n + i];
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c != word[i]) return false;
  }
  return true;
}

void setActive(bool active) {
  if (appIsActive() == active) return;
  appSetActive(active);
  sndActivate(active);
  appSendInput(MSG_NOTIFY_, NOTIFY_ACTIVE_, active ? 1 : 0);
}

// Keys whose press also types a character on Win32 (Backspace, Tab, Enter, Escape): edit fields
// and dialogs read them as characters. Alt turns them into system keys, which type nothing.
bool typesControlCharacter(int vk, int keyData) {
  if (keyData & (1 << 29)) return false;
  return vk == VK_BACK_ || vk == VK_TAB_ || vk == VK_RETURN_ || vk == VK_ESCAPE_;
}

void keyDown(const PlatEvent& e) {
  g_lastKeyData = e.keyData;
  appSendInput(MSG_KEYDOWN_, e.vk, e.keyData);
  if (typesControlCharacter(e.vk, e.keyData) && !windowTypedChar(e.vk)) appSendInput(MSG_CHAR_, e.vk, e.keyData);
}
}  // namespace

void windowInputInit() {
  g_typed.clear();
  g_lastKeyData = 1;
  joyReset();
}

void windowInputDone() { joyReset(); }

// Pad events arrive with the window events; nothing is polled.

bool windowTypedChar(int code) {
  g_typed.push_back(code > 0 && code < 128 ? char(code) : '\x7f');
  if (g_typed.size() > 31) g_typed.erase(0, g_typed.size() - 31);
  for (const DebugWord& w : kDebugWords) {
    if (EndsWithFolded(g_typed, w.word)) {
      w.action();
      return true;
    }
  }
  return false;
}

int windowPackLogical(int clientX, int clientY) {
  int x = std::clamp(grScreenToLogicalX(clientX), 0, kLogicalWidth - 1);
  int y = std::clamp(grScreenToLogicalY(clientY), 0, kLogicalHeight - 1);
  return (x & 0xFFFF) | (y << 16);
}

void windowInputText(const char* utf8) {
  std::u16string w = textUtf8ToUtf16(utf8 ? utf8 : "");
  for (char16_t c : w)
    if (!windowTypedChar(int(c))) appSendInput(MSG_CHAR_, int(c), g_lastKeyData);
}

int windowWheelCode(int delta, int keyState) {
  return int((uint32_t(delta) << 16) | (uint32_t(keyState) & 0xFFFFu));
}

void windowPresentEmptyFrame() {
  // A game losing focus leaves a plain frame behind, with no picture and no side bars.
  if (!grIsReady() || grInScene()) return;
  grBeginScene();
  grFlip(nullptr, nullptr);
}

void windowInputOnDestroy() {
  AppSettings& s = appSettings();
  if (!platWindowExists() || (s.fullScreen & 1)) return;
  platWindowGetPos(s.x, s.y);
}

void windowInputHandle(const PlatEvent& e) {
  switch (e.kind) {
    case PlatEvent::KeyDown: keyDown(e); break;
    case PlatEvent::KeyUp: appSendInput(MSG_KEYUP_, e.vk, e.keyData); break;
    case PlatEvent::Text: windowInputText(e.text); break;
    case PlatEvent::MouseMove: appSendInput(MSG_MOUSEMOVE_, e.buttons, windowPackLogical(e.x, e.y)); break;
    case PlatEvent::MouseDown: appSendInput(MSG_KEYDOWN_, e.button, windowPackLogical(e.x, e.y)); break;
    case PlatEvent::MouseUp: appSendInput(MSG_KEYUP_, e.button, windowPackLogical(e.x, e.y)); break;
    case PlatEvent::Wheel: appSendInput(MSG_WHEEL_, windowWheelCode(e.wheel, e.buttons), windowPackLogical(e.x, e.y)); break;
    case PlatEvent::FocusGained: setActive(true); break;
    case PlatEvent::FocusLost:
      setActive(false);
      windowPresentEmptyFrame();
      break;
    case PlatEvent::Minimized: setActive(false); break;
    case PlatEvent::Restored: setActive(true); break;
    case PlatEvent::Maximized: appSendInput(MSG_NOTIFY_, NOTIFY_MAXIMIZED_, 0); break;
    case PlatEvent::MouseEnter: appSendInput(MSG_NOTIFY_, NOTIFY_MOUSE_INSIDE_, 1); break;
    case PlatEvent::MouseLeave: appSendInput(MSG_NOTIFY_, NOTIFY_MOUSE_INSIDE_, 0); break;
    case PlatEvent::JoyAxis: joyOnAxis(e.joyIndex, e.joyValue); break;
    case PlatEvent::JoyButton: joyOnButton(e.joyIndex, e.joyValue != 0); break;
    case PlatEvent::JoyRemoved: joyReset(); break;
    default: break;
  }
}
