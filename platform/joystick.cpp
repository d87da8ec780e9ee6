// The game pad: one SDL joystick at a time, opened on plug-in and closed when pulled out, so a pad
// that comes and goes while the game runs never leaves a dangling device.
#include <SDL.h>

#include "platform/platform.h"

namespace {
SDL_Joystick* g_pad = nullptr;
int g_padId = -1;
}  // namespace

int platJoystickOpen(int deviceIndex) {
  if (g_pad) return -1;
  g_pad = SDL_JoystickOpen(deviceIndex);
  if (!g_pad) return -1;
  g_padId = SDL_JoystickInstanceID(g_pad);
  return g_padId;
}

bool platJoystickClose(int instanceId) {
  if (!g_pad || instanceId != g_padId) return false;
  SDL_JoystickClose(g_pad);
  g_pad = nullptr;
  g_padId = -1;
  return true;
}

int platJoystickId() { return g_padId; }

void platJoystickCloseAll() {
  if (g_pad) SDL_JoystickClose(g_pad);
  g_pad = nullptr;
  g_padId = -1;
}
