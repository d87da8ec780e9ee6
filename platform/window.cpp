// The window over SDL2: video start-up with the driver of the run mode, one main window, full
// screen on the desktop resolution, message boxes.
#include "platform/platform.h"
#include "platform/sdl_window.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace {
SDL_Window* g_window = nullptr;
bool g_videoUp = false;
}  // namespace

SDL_Window* platSdlWindow() { return g_window; }

namespace {
std::string g_videoError;

bool envSet(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}
}  // namespace

const std::string& platVideoError() { return g_videoError; }

bool platVideoInit() {
  if (g_videoUp) return true;
  g_videoError.clear();
  // With no display SDL would quietly fall back to its offscreen driver, and the game would run
  // forever in a window nobody can see: say so instead, and how to run it without a display.
#ifdef __EMSCRIPTEN__
  (void)envSet;  // in a browser the page's canvas is the display
#else
  if (platMode() == PlatMode::Window && !envSet("SDL_VIDEODRIVER") && !envSet("DISPLAY") &&
      !envSet("WAYLAND_DISPLAY")) {
    g_videoError =
        "There is no display to open the game window on (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
        "Start the game from a desktop session, or run it without a display with\n"
        "MEADOWMARK_HEADLESS=gl (real OpenGL) or MEADOWMARK_HEADLESS=null (no drawing).";
    return false;
  }
#endif
  // Headless runs pick their driver here so that neither the data nor the caller has to.
  if (platMode() == PlatMode::HeadlessGL) setenv("SDL_VIDEODRIVER", "offscreen", 1);
  if (platMode() == PlatMode::HeadlessNull) setenv("SDL_VIDEODRIVER", "dummy", 1);
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // our own handlers close the game in order
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    g_videoError = std::string("The video system could not be started: ") + SDL_GetError() +
                   "\nTo run without a display, set MEADOWMARK_HEADLESS=gl or MEADOWMARK_HEADLESS=null.";
    return false;
  }
  SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  g_videoUp = true;
  return true;
}

void platVideoDone() {
  platWindowDestroy();
  if (!g_videoUp) return;
  platJoystickCloseAll();
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  g_videoUp = false;
}

void platScreenSize(int& w, int& h) {
  w = 1024;
  h = 768;
  SDL_DisplayMode dm;
  if (g_videoUp && SDL_GetDesktopDisplayMode(0, &dm) == 0 && dm.w > 0 && dm.h > 0) {
    w = dm.w;
    h = dm.h;
  }
}

bool platWindowCreate(const std::string& title, int x, int y, int xs, int ys, bool fullScreen) {
  if (g_window) return true;
  if (!platVideoInit()) return false;
  Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
  if (platMode() != PlatMode::HeadlessNull) {
    flags |= SDL_WINDOW_OPENGL;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  }
  // Full screen is asked for once the window is shown: a window manager may ignore the state on a
  // window that is not mapped yet, leaving a 1024 x 768 window that believes it fills the screen.
  (void)fullScreen;
  if (xs <= 0) xs = 1024;
  if (ys <= 0) ys = 768;
  g_window = SDL_CreateWindow(title.c_str(), x, y, xs, ys, flags);
  if (!g_window && (flags & SDL_WINDOW_OPENGL)) {
    // A driver without GL still gives the game a window; the renderer then runs its null device.
    g_window = SDL_CreateWindow(title.c_str(), x, y, xs, ys, flags & ~SDL_WINDOW_OPENGL);
  }
  if (!g_window) {
    std::fprintf(stderr, "SDL window: %s\n", SDL_GetError());
    return false;
  }
  return true;
}

void platWindowDestroy() {
  if (g_window) SDL_DestroyWindow(g_window);
  g_window = nullptr;
}

bool platWindowExists() { return g_window != nullptr; }

void platWindowShow() {
  if (g_window) SDL_ShowWindow(g_window);
}

void platWindowRaise() {
  if (g_window) SDL_RaiseWindow(g_window);
}

// The same kind of position the window is created and moved with (its picture's top-left), so a
// saved place restores exactly: taking the frame off here made the window creep by the frame on
// every run.
void platWindowGetPos(int& x, int& y) {
  x = y = 0;
  if (!g_window) return;
  SDL_GetWindowPosition(g_window, &x, &y);
}

void platWindowGetClientSize(int& w, int& h) {
  w = 1024;
  h = 768;
  if (!g_window) return;
  if (SDL_GetWindowFlags(g_window) & SDL_WINDOW_OPENGL) SDL_GL_GetDrawableSize(g_window, &w, &h);
  else SDL_GetWindowSize(g_window, &w, &h);
}

void platWindowSetFullScreen(bool on) {
  if (g_window) SDL_SetWindowFullscreen(g_window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void platWindowSetClientSize(int w, int h) {
  if (g_window) SDL_SetWindowSize(g_window, w, h);
}

void platWindowSetPos(int x, int y) {
  if (g_window) SDL_SetWindowPosition(g_window, x, y);
}

namespace {
bool g_vsync = false;
bool g_softwareGpu = false;
uint64_t g_presents = 0;
}
bool platGpuIsSoftware() { return g_softwareGpu; }
void platSetGpuIsSoftware(bool on) { g_softwareGpu = on; }
uint64_t platPresentCount() { return g_presents; }
void platCountPresent() { ++g_presents; }
bool platVsync() { return g_vsync; }
void platSetVsync(bool on) { g_vsync = on; }

int platRefreshRate() {
  SDL_DisplayMode dm;
  if (!g_videoUp) return 0;
  int display = g_window ? SDL_GetWindowDisplayIndex(g_window) : 0;
  if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &dm) != 0) return 0;
  return dm.refresh_rate > 0 ? dm.refresh_rate : 0;
}

void platShowSystemCursor(bool show) {
  if (g_videoUp) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void platWindowSetIcon(const uint8_t* rgba, int w, int h) {
  if (!g_window || !rgba || w <= 0 || h <= 0 || w > 1024 || h > 1024) return;
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(rgba), w, h, 32, w * 4,
                                                          SDL_PIXELFORMAT_RGBA32);
  if (!icon) return;
  SDL_SetWindowIcon(g_window, icon);  // SDL keeps its own copy
  SDL_FreeSurface(icon);
}

void platMessageBox(const std::string& text, const std::string& caption) {
  if (!platIsHeadless() && g_videoUp &&
      SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), g_window) == 0)
    return;
  std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
}
