// Pad axes and buttons turned into key presses and releases for the game.
#include "app/joystick.h"

#include "app/app.h"
#include "platform/platform.h"

#include <cstdint>

namespace {
int g_offset[2] = {0, 0};
bool g_buttons[4] = {false, false, false, false};
constexpr int kButtonKeys[4] = {10, 11, 14, 15};
constexpr int kKeyData = 15;
constexpr int kThreshold = 32;

void Send(int message, int key) { appSendInput(message, key, kKeyData); }
}  // namespace

int joyAxisCentre(int minimum, int maximum) { return int((int64_t(minimum) + maximum) / 2); }

void joyAxisKeys(int oldOffset, int newOffset, int negativeKey, int positiveKey,
                 const std::function<void(int, int)>& send) {
  if (oldOffset >= kThreshold && newOffset < kThreshold) send(MSG_KEYUP_, positiveKey);
  else if (oldOffset < 0 && newOffset >= 0) send(MSG_KEYUP_, negativeKey);
  if (oldOffset >= 0 && newOffset < 0) send(MSG_KEYDOWN_, negativeKey);
  else if (oldOffset < kThreshold && newOffset >= kThreshold) send(MSG_KEYDOWN_, positiveKey);
}

void joyOnAxis(int axis, int value) {
  if (axis < 0 || axis > 1) return;
  const int offset = value - joyAxisCentre(kJoyAxisMin, kJoyAxisMax);
  if (axis == 0) joyAxisKeys(g_offset[0], offset, 59, 58, Send);
  else joyAxisKeys(g_offset[1], offset, 60, 61, Send);
  g_offset[axis] = offset;
}

void joyOnButton(int button, bool down) {
  if (button < 0 || button > 3 || g_buttons[button] == down) return;
  g_buttons[button] = down;
  Send(down ? 256 : 257, kButtonKeys[button]);
}

void joyReset() {
  // Release what is held so the game does not see a key stuck down after the pad is gone.
  joyOnAxis(0, joyAxisCentre(kJoyAxisMin, kJoyAxisMax));
  joyOnAxis(1, joyAxisCentre(kJoyAxisMin, kJoyAxisMax));
  for (int b = 0; b < 4; ++b) joyOnButton(b, false);
}
