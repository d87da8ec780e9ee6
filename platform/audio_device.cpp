// SDL2 audio output with a fall-back to the dummy driver, so the mixer runs on machines without a
// sound card exactly as it does with one, without filling the console on the way.
#include "platform/audio_device.h"
#include "platform/platform.h"

#include <SDL.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
SDL_AudioDeviceID g_device = 0;
PlatAudioPull g_pull = nullptr;
void* g_user = nullptr;
std::string g_driver;
std::string g_error;
bool g_fellBack = false;

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

bool tryDriver(const char* name) {
  if (!initDriver(name)) {
    g_error = SDL_GetError();
    return false;
  }
  g_device = openDevice();
  if (g_device) return true;
  g_error = SDL_GetError();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return false;
}

// Sound libraries print their own complaints straight to stderr while a driver is tried (ALSA
// lists every card it cannot find): the real devices are tried with stderr set aside, and the
// caller says in one line what became of them.
class QuietStderr {
 public:
  QuietStderr() {
    std::fflush(stderr);
    saved_ = ::dup(2);
    int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved_ >= 0 && null >= 0) ::dup2(null, 2);
    if (null >= 0) ::close(null);
  }
  ~QuietStderr() {
    std::fflush(stderr);
    if (saved_ >= 0) {
      ::dup2(saved_, 2);
      ::close(saved_);
    }
  }
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  int saved_ = -1;
};

bool isStandIn(const char* driver) {
  return std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "disk") == 0;
}
}  // namespace

bool platAudioOpen(PlatAudioPull pull, void* user) {
  if (g_device) return true;
  g_pull = pull;
  g_user = user;
  g_fellBack = false;
  g_error.clear();
  const char* asked = std::getenv("SDL_AUDIODRIVER");
  if (asked && *asked) {
    // The environment chose: that driver (or list) alone, with whatever it says.
    tryDriver(nullptr);
  } else if (!platIsHeadless()) {
    // Headless runs never want a real device unless the environment asks for one.
    QuietStderr quiet;
    for (int i = 0; i < SDL_GetNumAudioDrivers() && !g_device; ++i) {
      const char* driver = SDL_GetAudioDriver(i);
      if (driver && !isStandIn(driver)) tryDriver(driver);
    }
    g_fellBack = !g_device;
    if (g_fellBack && g_error.empty()) g_error = "no sound device found";
  }
  if (!g_device) tryDriver("dummy");
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

bool platAudioFellBack() { return g_fellBack; }
const std::string& platAudioError() { return g_error; }

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
