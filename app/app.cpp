// Engine start-up, the main loop and the engine shutdown.
#include "app/app.h"

#include "app/frame_pacer.h"
#include "app/window_input.h"
#include "base/diag.h"
#include "files/file.h"
#include "files/cfg.h"
#include "files/ini.h"
#include "files/user_files.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "sound/sound.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace {
AppSettings& g_settings = appSettings();
AppInputFn g_input = nullptr;
AppFrameFn g_frame = nullptr;
bool g_active = true;
bool g_loopRunning = false;
bool g_loopEnded = false;
bool g_fullScreenToggle = false;
bool g_locked = false;
int g_maxFps = -1;  // game.ini [engine] "MaxFps"; -1 = the default for the renderer
FramePacer g_pacer;
bool g_paceReported = false;
uint32_t g_loopStart = 0;
uint64_t g_presentsAtStart = 0;
#ifdef __EMSCRIPTEN__
void (*g_atEnd)() = nullptr;  // run when the browser's main loop ends
#endif

// A start that cannot go on: what was made so far is undone (the lock file too) and the caller
// ends the program with the status appInit returns.
int abandonStart(const std::string& why) {
  platMessageBox(why, "Error");
  platWindowDestroy();
  platVideoDone();
  fileClosePack();
  iniFreeAll();
  if (g_locked) platUnlockInstance();
  g_locked = false;
  g_settings.name.clear();
  return 2;
}

// Without a display that makes presenting wait, the loop caps the frame rate and sleeps out the
// rest of each frame: a menu must not keep a processor core busy.
void paceFrame() {
  if (platIsManualClock()) return;  // tests move time by hand
#ifdef __EMSCRIPTEN__
  return;  // the browser calls each pass at the display's next frame, and sleeping would block it
#endif
  const bool vsync = platVsync();
  // A software renderer pays for every frame with the processor: half the rate by default.
  const int maxFps = g_maxFps >= 0 ? g_maxFps : platGpuIsSoftware() ? 30 : 60;
  const float period = FramePacer::PeriodMs(vsync, platRefreshRate(), maxFps);
  if (!g_paceReported) {
    g_paceReported = true;
    consoleMessage(1, "Frames: %s%s, at most %.0f a second\n", vsync ? "vsync" : "no vsync",
                   platGpuIsSoftware() ? ", software rendering" : "", period > 0 ? 1000.0 / period : 0.0);
  }
  if (uint32_t wait = g_pacer.Next(platTicks(), period)) platSleep(wait);
}
}  // namespace

bool appIsActive() { return g_active; }
void appSetActive(bool active) { g_active = active; }
void appRequestFullScreenToggle() { g_fullScreenToggle = true; }
bool appTakeFullScreenToggle() {
  bool t = g_fullScreenToggle;
  g_fullScreenToggle = false;
  return t;
}

int appSendInput(int message, int code, int value) {
  if (!g_loopRunning || !g_input) return 0;
  return g_input(message, code, value);
}

int appInit(AppInputFn input) {
  g_input = input;
  g_settings = AppSettings{};
  g_active = true;
  g_loopRunning = g_loopEnded = false;
  g_fullScreenToggle = false;
  g_pacer.Reset();
  g_paceReported = false;
  platInstallQuitSignals();

  // Everything starts from game.ini in the current folder: without it the game would run with no
  // window and no data, so say where it looked and how to start it.
  const std::string folder = platCurrentFolder();
  if (!platFileExists(folder + "/game.ini")) {
    platMessageBox("game.ini was not found in " + folder +
                       ".\nStart the game from its folder, the one that holds game.ini and data/ "
                       "(for the bundled demo: cd demo && ../build/meadowmark).",
                   "Error");
    return 2;
  }

  // The user folder comes first: the running-instance check must happen before anything touches
  // the shared temporary folder, or a second launch would wipe the running game's files.
  fileInitPaths();
  // The diagnostics read no files: hand them the verbosity now that the user folder is known.
  // Brevilon.ini is optional: only a file that exists is read, so a new user sees no complaint.
  if (!fileUserFolder().empty()) {
    const std::string brevilon = fileUserFolder() + "/Brevilon.ini";
    consoleSetVerbosity(platFileExists(brevilon) ? iniGetInt(brevilon, "Brevilon", "verbose", 0) : 0);
  }
  if (!platLockInstance(fileUserFolder())) {
    platMessageBox("The game is already running.", iniGetString("game.ini", "main", "name", "Game"));
    return 1;
  }
  g_locked = true;
  // Only the running instance may touch them, and before anything reads them: mend what a crash
  // or a bad disk left in the player's documents, and give a first run an empty player list.
  fileInitUserFiles();
  fileInitTempFolder();
  fileOpenPack();
  iniSetLanguage(cfgGetString("main", "language", ""));

  clockStart();
  crashSetKind(iniGetInt("game.ini", "main", "crash", 0));
  crashInit("dump", "", "0.0");

  g_settings.name = iniGetString("game.ini", "main", "name", "");
  if (!g_settings.name.empty()) {
    g_settings.xs = cfgGetInt("main", "xs", 0);
    g_settings.ys = cfgGetInt("main", "ys", 0);
    g_settings.x = cfgGetInt("main", "x", 0);
    g_settings.y = cfgGetInt("main", "y", 0);
    g_settings.fullScreen = cfgGetInt("main", "FullScreen", 0);
    g_settings.alwaysActive = iniGetInt("game.ini", "main", "AlwaysActive", 0);
    if (!platVideoInit()) return abandonStart(platVideoError());
    int sw = 0, sh = 0;
    platScreenSize(sw, sh);
    if (g_settings.x < 0 || g_settings.x >= sw) g_settings.x = (sw - g_settings.xs) / 2;
    if (g_settings.y < 0 || g_settings.y >= sh) g_settings.y = (sh - g_settings.ys) / 2;
    if (!platWindowCreate(g_settings.name, g_settings.x, g_settings.y, g_settings.xs, g_settings.ys,
                          (g_settings.fullScreen & 1) != 0))
      return abandonStart("Window not created");
    windowInputInit();
  }
  g_settings.showFps = cfgGetBool("engine", "ShowFPS", false);
  g_maxFps = cfgGetInt("engine", "MaxFps", -1);
  return 0;
}

bool appLoopPass() {
  if (g_loopEnded) return false;
  if (!g_loopRunning) {
    g_loopStart = platTicks();
    g_presentsAtStart = platPresentCount();
  }
  g_loopRunning = true;
  if (g_settings.name.empty()) {
    g_loopEnded = true;
    return false;
  }
  PlatEvent e;
  for (;;) {
    bool got = platPollEvent(e);
#ifndef __EMSCRIPTEN__  // a browser page never waits: it hands each frame back to the browser
    if (!got && !g_active && !platIsManualClock()) {
      // An inactive game uses no processor time unless it is told to keep running.
      if (g_settings.alwaysActive == 0) {
        got = platWaitEvent(e, 100);
        if (!got) continue;
      } else {
        platSleep(100);
      }
    }
#endif
    if (!got) break;
    if (e.kind == PlatEvent::Quit) {
      windowInputOnDestroy();
      g_loopEnded = true;
      return false;
    }
    windowInputHandle(e);
  }
  sndUpdate(false);
  if (g_frame && g_frame() != 0) {
    windowInputOnDestroy();
    g_loopEnded = true;
    return false;
  }
  paceFrame();
  return true;
}

void appLoop(AppFrameFn frame) {
  g_frame = frame;
  while (appLoopPass()) {
  }
  g_loopRunning = false;
}

void appRun(AppFrameFn frame, void (*atEnd)()) {
#ifdef __EMSCRIPTEN__
  // The browser's page must get control back after every pass: it runs one pass at each of its
  // animation frames from here on (this call does not come back), and the loop's end runs atEnd.
  g_frame = frame;
  g_atEnd = atEnd;
  emscripten_set_main_loop(
      [] {
        if (appLoopPass()) return;
        emscripten_cancel_main_loop();
        g_loopRunning = false;
        if (g_atEnd) g_atEnd();
        EM_ASM({ if (Module['mmGameEnded']) Module['mmGameEnded'](); });
      },
      0, true);
#else
  appLoop(frame);
  if (atEnd) atEnd();
#endif
}

void appDone() {
  if (g_loopRunning || g_loopEnded) {
    const double seconds = double(platTicks() - g_loopStart) / 1000.0;
    consoleMessage(1, "Frames: %llu presented in %.1f s (%.1f a second)\n",
                   static_cast<unsigned long long>(platPresentCount() - g_presentsAtStart), seconds,
                   seconds > 0 ? double(platPresentCount() - g_presentsAtStart) / seconds : 0.0);
  }
  if (sndIsInit())
    platMessageBox("Program inited sound with sndInit()", "Program must deinited sound with sndDone()");
  if (grIsReady())
    platMessageBox("Program inited graphics with grInit()", "Program must deinited graphics with grDone()");
  if (!g_settings.name.empty()) {
    windowInputDone();
    cfgSetInt("main", "FullScreen", g_settings.fullScreen);
    cfgSetInt("main", "x", g_settings.x);
    cfgSetInt("main", "y", g_settings.y);
    cfgSetInt("main", "xs", g_settings.xs);
    cfgSetInt("main", "ys", g_settings.ys);
    platWindowDestroy();
  }
  platVideoDone();
  fileClosePack();
  iniFreeAll();
  if (g_locked) platUnlockInstance();
  g_locked = false;
  g_loopRunning = false;
  g_input = nullptr;
  g_frame = nullptr;
}
