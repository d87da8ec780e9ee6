// SDL2 audio output with a fall-back to the dummy driver, so the mixer runs on machines without a
// sound card exactly as it does with one.
#include "platform/audio_device.h"
#include "platform/platform.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

namespace {
SDL_AudioDeviceID g_device = 0;
PlatAudioPull g_pull = nullptr;
void* g_user = nullptr;
std::string g_driver;

void SDLCALL audioCallback(void*, Uint8* stream, int len) {
  auto* out = reinterpret_cast<int16_t*>(stream);
  int frames = len / 4;
  if (g_pull) g_pull(g_user, out, frames);
  else std::memset(stream, 0, static_cast<size_t>(len));
}

SDL_AudioDeviceID openDevice() {
  SDL_AudioSpec want{};
  want.freq = kPlatAudioRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;  // 23 ms: short enough for clicks, long enough for a busy machine
  want.callback = audioCallback;
  SDL_AudioSpec have{};
  // No changes allowed: the mixer renders exactly this format and SDL converts if it must.
  return SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
}

bool initDriver(const char* forced) {
  if (forced) SDL_SetHint(SDL_HINT_AUDIODRIVER, forced);
  bool ok = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (forced) SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  return ok;
}
}  // namespace

bool platAudioOpen(PlatAudioPull pull, void* user) {
  if (g_device) return true;
  g_pull = pull;
  g_user = user;
  // Headless runs never want a real device unless the environment asks for one.
  const char* forced = (platIsHeadless() && !std::getenv("SDL_AUDIODRIVER")) ? "dummy" : nullptr;
  if (initDriver(forced)) {
    g_device = openDevice();
    if (!g_device) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  // A driver such as ALSA may initialise and then fail to open on a machine without a card.
  if (!g_device && initDriver("dummy")) {
    g_device = openDevice();
    if (!g_device) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  if (!g_device) {
    g_pull = nullptr;
    g_user = nullptr;
    return false;
  }
  const char* name = SDL_GetCurrentAudioDriver();
  g_driver = name ? name : "";
  SDL_PauseAudioDevice(g_device, 0);
  return true;
}

void platAudioClose() {
  if (!g_device) return;
  SDL_CloseAudioDevice(g_device);  // waits for a running callback to return
  g_device = 0;
  g_pull = nullptr;
  g_user = nullptr;
  g_driver.clear();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool platAudioIsOpen() { return g_device != 0; }
std::string platAudioDriver() { return g_driver; }
