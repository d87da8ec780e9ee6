// SDL events turned into neutral window events with Win32 virtual-key codes, so the game logic
// reads the key numbers it was written for (13 Enter, 119 F8, ...).
#include "platform/platform.h"
#include "platform/sdl_window.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <deque>

namespace {
std::deque<PlatEvent> g_injected;
bool g_quitSent = false;

// Mouse positions come in window units; the renderer maps drawable pixels, which differ on a
// high-density display.
void toDrawable(int& x, int& y) {
  SDL_Window* w = platSdlWindow();
  if (!w || !(SDL_GetWindowFlags(w) & SDL_WINDOW_OPENGL)) return;
  int ww = 0, wh = 0, dw = 0, dh = 0;
  SDL_GetWindowSize(w, &ww, &wh);
  SDL_GL_GetDrawableSize(w, &dw, &dh);
  if (ww > 0 && wh > 0 && (dw != ww || dh != wh)) {
    x = int(int64_t(x) * dw / ww);
    y = int(int64_t(y) * dh / wh);
  }
}

int vkFromKey(SDL_Keycode k, SDL_Scancode sc) {
  if (k >= SDLK_a && k <= SDLK_z) return 'A' + int(k - SDLK_a);
  if (k >= SDLK_0 && k <= SDLK_9) return '0' + int(k - SDLK_0);
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return 112 + int(sc - SDL_SCANCODE_F1);
  if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return 97 + int(sc - SDL_SCANCODE_KP_1);
  switch (sc) {
    case SDL_SCANCODE_KP_0: return 96;
    case SDL_SCANCODE_KP_MULTIPLY: return 106;
    case SDL_SCANCODE_KP_PLUS: return 107;
    case SDL_SCANCODE_KP_MINUS: return 109;
    case SDL_SCANCODE_KP_PERIOD: return 110;
    case SDL_SCANCODE_KP_DIVIDE: return 111;
    case SDL_SCANCODE_KP_ENTER: return 13;
    case SDL_SCANCODE_RETURN: return 13;
    case SDL_SCANCODE_ESCAPE: return 27;
    case SDL_SCANCODE_BACKSPACE: return 8;
    case SDL_SCANCODE_TAB: return 9;
    case SDL_SCANCODE_SPACE: return 32;
    case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return 16;
    case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return 17;
    case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return 18;
    case SDL_SCANCODE_PAUSE: return 19;
    case SDL_SCANCODE_CAPSLOCK: return 20;
    case SDL_SCANCODE_PAGEUP: return 33;
    case SDL_SCANCODE_PAGEDOWN: return 34;
    case SDL_SCANCODE_END: return 35;
    case SDL_SCANCODE_HOME: return 36;
    case SDL_SCANCODE_LEFT: return 37;
    case SDL_SCANCODE_UP: return 38;
    case SDL_SCANCODE_RIGHT: return 39;
    case SDL_SCANCODE_DOWN: return 40;
    case SDL_SCANCODE_INSERT: return 45;
    case SDL_SCANCODE_DELETE: return 46;
    case SDL_SCANCODE_SEMICOLON: return 186;
    case SDL_SCANCODE_EQUALS: return 187;
    case SDL_SCANCODE_COMMA: return 188;
    case SDL_SCANCODE_MINUS: return 189;
    case SDL_SCANCODE_PERIOD: return 190;
    case SDL_SCANCODE_SLASH: return 191;
    case SDL_SCANCODE_GRAVE: return 192;
    case SDL_SCANCODE_LEFTBRACKET: return 219;
    case SDL_SCANCODE_BACKSLASH: return 220;
    case SDL_SCANCODE_RIGHTBRACKET: return 221;
    case SDL_SCANCODE_APOSTROPHE: return 222;
    default: return 0;
  }
}

int buttonCode(Uint8 b) {
  switch (b) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    case SDL_BUTTON_MIDDLE: return 4;
    default: return 0;
  }
}

int buttonMask(Uint32 state) {
  int m = 0;
  if (state & SDL_BUTTON_LMASK) m |= 1;
  if (state & SDL_BUTTON_RMASK) m |= 2;
  if (state & SDL_BUTTON_MMASK) m |= 16;
  SDL_Keymod mod = SDL_GetModState();
  if (mod & KMOD_SHIFT) m |= 4;
  if (mod & KMOD_CTRL) m |= 8;
  return m;
}

bool translate(const SDL_Event& s, PlatEvent& e) {
  e = PlatEvent{};
  switch (s.type) {
    case SDL_QUIT: e.kind = PlatEvent::Quit; return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      e.kind = s.type == SDL_KEYDOWN ? PlatEvent::KeyDown : PlatEvent::KeyUp;
      e.vk = vkFromKey(s.key.keysym.sym, s.key.keysym.scancode);
      if (e.vk == 0) return false;
      e.alt = (s.key.keysym.mod & KMOD_ALT) != 0;
      e.shift = (s.key.keysym.mod & KMOD_SHIFT) != 0;
      e.ctrl = (s.key.keysym.mod & KMOD_CTRL) != 0;
      // The key data the game reads: repeat count, scan code, Alt in bit 29, previous state in
      // bit 30, transition in bit 31.
      int data = 1 | ((int(s.key.keysym.scancode) & 0xFF) << 16);
      if (e.alt) data |= 1 << 29;
      if (s.type == SDL_KEYUP) data |= (1 << 30) | int(1u << 31);
      else if (s.key.repeat) data |= 1 << 30;
      e.keyData = data;
      return true;
    }
    case SDL_TEXTINPUT:
      e.kind = PlatEvent::Text;
      std::snprintf(e.text, sizeof e.text, "%s", s.text.text);
      return true;
    case SDL_MOUSEMOTION:
      e.kind = PlatEvent::MouseMove;
      e.x = s.motion.x;
      e.y = s.motion.y;
      toDrawable(e.x, e.y);
      e.buttons = buttonMask(s.motion.state);
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      e.kind = s.type == SDL_MOUSEBUTTONDOWN ? PlatEvent::MouseDown : PlatEvent::MouseUp;
      e.button = buttonCode(s.button.button);
      if (e.button == 0) return false;
      e.x = s.button.x;
      e.y = s.button.y;
      toDrawable(e.x, e.y);
      return true;
    case SDL_MOUSEWHEEL: {
      e.kind = PlatEvent::Wheel;
      int dy = s.wheel.y;
      if (s.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) dy = -dy;
      e.wheel = dy * 120;
      // The wheel carries the key state too (buttons, Shift, Ctrl), as a wheel turn does on Win32.
      e.buttons = buttonMask(SDL_GetMouseState(&e.x, &e.y));
      toDrawable(e.x, e.y);
      return dy != 0;
    }
    case SDL_JOYDEVICEADDED:
      // One pad is used at a time: the first that can be opened; others are ignored.
      e.kind = PlatEvent::JoyAdded;
      e.joyId = platJoystickOpen(s.jdevice.which);
      return e.joyId >= 0;
    case SDL_JOYDEVICEREMOVED:
      e.kind = PlatEvent::JoyRemoved;
      e.joyId = s.jdevice.which;
      return platJoystickClose(s.jdevice.which);
    case SDL_JOYAXISMOTION:
      if (s.jaxis.which != platJoystickId()) return false;
      e.kind = PlatEvent::JoyAxis;
      e.joyId = s.jaxis.which;
      e.joyIndex = s.jaxis.axis;
      e.joyValue = s.jaxis.value;
      return true;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      if (s.jbutton.which != platJoystickId()) return false;
      e.kind = PlatEvent::JoyButton;
      e.joyId = s.jbutton.which;
      e.joyIndex = s.jbutton.button;
      e.joyValue = s.type == SDL_JOYBUTTONDOWN;
      return true;
    case SDL_WINDOWEVENT:
      switch (s.window.event) {
        case SDL_WINDOWEVENT_CLOSE: e.kind = PlatEvent::Quit; return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED: e.kind = PlatEvent::FocusGained; return true;
        case SDL_WINDOWEVENT_FOCUS_LOST: e.kind = PlatEvent::FocusLost; return true;
        case SDL_WINDOWEVENT_MINIMIZED: e.kind = PlatEvent::Minimized; return true;
        case SDL_WINDOWEVENT_RESTORED: e.kind = PlatEvent::Restored; return true;
        case SDL_WINDOWEVENT_MAXIMIZED: e.kind = PlatEvent::Maximized; return true;
        case SDL_WINDOWEVENT_ENTER: e.kind = PlatEvent::MouseEnter; return true;
        case SDL_WINDOWEVENT_LEAVE: e.kind = PlatEvent::MouseLeave; return true;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          e.kind = PlatEvent::Resized;
          e.x = s.window.data1;
          e.y = s.window.data2;
          return true;
        default: return false;
      }
    default: return false;
  }
}

bool sdlEventsUp() { return SDL_WasInit(SDL_INIT_EVENTS) != 0; }
}  // namespace

bool platPollEvent(PlatEvent& e) {
  if (platQuitRequested() && !g_quitSent) {
    g_quitSent = true;
    e = PlatEvent{};
    e.kind = PlatEvent::Quit;
    return true;
  }
  if (!g_injected.empty()) {
    e = g_injected.front();
    g_injected.pop_front();
    if (e.kind == PlatEvent::Quit) g_quitSent = true;
    return true;
  }
  if (!sdlEventsUp()) return false;
  SDL_Event s;
  while (SDL_PollEvent(&s)) {
    if (translate(s, e)) {
      if (e.kind == PlatEvent::Quit) g_quitSent = true;
      return true;
    }
  }
  return false;
}

bool platWaitEvent(PlatEvent& e, int timeoutMs) {
  if (platPollEvent(e)) return true;
  if (!sdlEventsUp()) {
    platSleep(uint32_t(timeoutMs > 0 ? timeoutMs : 0));
    return platPollEvent(e);
  }
  SDL_Event s;
  // Wake at least every 100 ms so a quit signal is noticed while the game is inactive.
  int wait = timeoutMs < 0 || timeoutMs > 100 ? 100 : timeoutMs;
  if (SDL_WaitEventTimeout(&s, wait) && translate(s, e)) return true;
  return platPollEvent(e);
}

void platPostQuit() {
  PlatEvent e;
  e.kind = PlatEvent::Quit;
  g_injected.push_back(e);
}

void platPushEvent(const PlatEvent& e) { g_injected.push_back(e); }

void platResetEvents() {
  g_injected.clear();
  g_quitSent = false;
}

bool platShiftHeld() {
  if (platMode() == PlatMode::HeadlessNull || !SDL_WasInit(SDL_INIT_VIDEO)) return false;
  return (SDL_GetModState() & KMOD_SHIFT) != 0;
}
