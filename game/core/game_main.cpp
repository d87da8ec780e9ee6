// The game half of the application: start-up, the fixed 25 ms update steps, drawing, input and
// the shutdown in order.
#include "game/core/game_main.h"

#include <ctime>
#include <string>

#include "anim/kf_library.h"
#include "app/app.h"
#include "app/window_icon.h"
#include "base/diag.h"
#include "gfx/diag_draw.h"
#include "gfx/font.h"
#include "files/file.h"
#include "app/soft_cursor.h"
#include "game/core/app_init.h"
#include "game/core/game_journal.h"
#include "game/core/level_context.h"
#include "game/core/game_music.h"
#include "game/menus/screens.h"
#include "game/core/random.h"
#include "files/ini.h"
#include "gfx/render.h"
#include "gfx/sprite.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "ui/wnd.h"

#include <cstdio>

namespace {
int16_t g_tests[kTestSwitchCount] = {};

float g_accumulator = 0.0f;
int32_t g_clock = 0;
int g_steps = 0;
CSprite* g_border = nullptr;
int g_fpsFrames = 0;
int g_fpsTime = 0;
int g_fpsRate = 0;
int g_promo = 0;
bool g_exitRequested = false;
CSprite* g_profFont = nullptr;
bool g_profFontTried = false;
}  // namespace

int16_t testSetting(TestSwitch s) {
  int i = int(s);
  return i >= 0 && i < kTestSwitchCount ? g_tests[i] : 0;
}
const char* testSettingName(TestSwitch s) {
  int i = int(s);
  return i >= 0 && i < kTestSwitchCount ? kTestSwitchKeys[size_t(i)].data() : "";  // literals: terminated
}
void testSettingsLoad(const char* file) {
  for (int i = 0; i < kTestSwitchCount; ++i)
    g_tests[i] = int16_t(iniGetInt(file, "main", kTestSwitchKeys[size_t(i)].data(), 0));
}

int32_t gameClock() { return g_clock; }
// A run's steps count from its start, so a journal's step stamps mean the same in the replay.
void gameResetSteps() {
  g_accumulator = 0.0f;
  g_clock = 0;
  g_steps = 0;
}
void gameSetClock(int32_t ms) { g_clock = ms; }
int gameStepCount() { return g_steps; }

void gameShowScreen(UIWnd* screen) {
  UIWnd* root = wndRoot();
  if (!root) {
    delete screen;
    return;
  }
  while (root->ChildCount() > 0) root->RemoveChild(root->Child(0));
  if (screen) root->AddChild(screen);
}

int gameAdvance(float elapsedMs) {
  if (elapsedMs > kMaxFrameMs) elapsedMs = kMaxFrameMs;
  g_accumulator += elapsedMs;
  int ran = 0;
  while (g_accumulator >= 0.0f) {
    if (UIWnd* root = wndRoot()) {
      journalFeed(g_steps, gameDeliverInput);
      g_clock += kStepMs;
      root->Update(kStepMs);
      cursorAdvance(kStepMs);
      // Windows removed during the step die here, after no handler of theirs is running.
      wndCollectGarbage();
      ++g_steps;
      ++ran;
    }
    g_accumulator -= float(kStepMs);
  }
  return ran;
}

void gameAppInitSound() {
  sndInit();
  sndLoadScript("data/snd/sounds.ini");
  sndLoadScript("data/snd/music.ini");
  sndApplyDefaultVolumes(testSetting(TestSwitch::Game_No_Sound) != 0);
  if (testSetting(TestSwitch::Game_Dump_Memory_Statistics)) heapStatistics("[OnAppInit:Start]", false);
}

bool gameInit() {
  AppSettings& s = appSettings();
  g_exitRequested = false;
  g_fpsFrames = g_fpsTime = g_fpsRate = 0;  // measured from this start's time base
  appSetWindowIcon("data/interface/icon.png");
  // Without a window or with graphics that do not start there is nothing to show: say so and
  // let the program end the orderly way, which also removes its lock file.
  if (!platWindowExists()) {
    platMessageBox("Window not created", "Error");
    return false;
  }
  if (const int r = grInit(kLogicalWidth, kLogicalHeight, 32, (s.fullScreen & 1) != 0); r != 0) {
    if (r != 4)  // the renderer has shown its own message for a missing device
      platMessageBox("The graphics could not be started (see gerr.log).", "Error");
    return false;
  }
  // Setting the display mode centres a window; the place the player left it in wins.
  if (!(s.fullScreen & 1)) platWindowSetPos(s.x, s.y);
  g_border = sprGet("data/interface/board_outborder.jpg");
  testSettingsLoad("data/test.ini");
  if (testSetting(TestSwitch::Game_Dump_Memory_Statistics) || testSetting(TestSwitch::Game_Dump_Animations) || testSetting(TestSwitch::Game_Log_On_Playback))
    gameLogOpen(testSetting(TestSwitch::Game_Log_On_Playback) && testSetting(TestSwitch::Game_Playback) ? "log_playback.txt" : "log.txt");
  wndSetRoot(new UIWnd());
  // The journal replaces the clock's seed when a previous run is replayed, so both runs draw the
  // same numbers; a logged run records its seed and input for such a replay.
  int32_t seed = int32_t(clockSinceStart());
  gameResetSteps();
  if (!(testSetting(TestSwitch::Game_Playback) && journalReplayStart("journal.txt", seed)) && gameLogIsOn())
    journalRecordStart("journal.txt", seed);
  SeedRandom(seed);
  platShowSystemCursor(false);
  g_promo = iniGetInt("game.ini", "main", "promo", 0);
  // Logos, then the loading screen that runs the start-up stages one per frame (or all of them at
  // once and straight to the menu with "Game_No_Menu").
  Menu::RegisterTypes();
  Menu::ShowStartScreens();
  return true;
}

int gamePromo() { return g_promo; }
void gameRequestExit() { g_exitRequested = true; }
bool gameExitRequested() { return g_exitRequested; }
void gameClearExitRequest() { g_exitRequested = false; }
int gameFpsRate() { return g_fpsRate; }

void gameDraw() {
  AppSettings& s = appSettings();
  if (appTakeFullScreenToggle()) {
    s.fullScreen ^= 1;
    grInit(kLogicalWidth, kLogicalHeight, 32, (s.fullScreen & 1) != 0);
  }
  grBeginScene();
  if (UIWnd* root = wndRoot()) root->Draw();
  if (testSetting(TestSwitch::Game_Show_Fps)) {
    if (++g_fpsFrames > 101) {
      int now = int(clockSinceStart());
      if (now > g_fpsTime) g_fpsRate = (g_fpsFrames - 1) * 1000 / (now - g_fpsTime);
      g_fpsTime = now;
      g_fpsFrames = 0;
    }
    char text[32];
    std::snprintf(text, sizeof text, "fps=%d", g_fpsRate);
    grFillRect(40, 0, 110, 40, grColor(255, 255, 255));
    grTextOut(45, 10, text, grColor(0, 0, 0));
  }
  if (testSetting(TestSwitch::Game_Profile)) {
    if (!g_profFontTried) {
      g_profFontTried = true;
      if (fileExists("data/fonts/shop_Font.tga")) g_profFont = sprGetFont("data/fonts/shop_Font.tga");
    }
    profDraw(100, 100, g_profFont);
  }
  cursorDraw();
  grFlip(g_border, g_border);
}

int gameFrame() {
  gameAdvance(clockSincePrevious());
  if (!wndRoot() || g_exitRequested) return 1;
  gameDraw();
  return 0;
}

// The screenshot key: the next frame goes into the user folder as a PNG named by the time.
void gameRequestScreenshot() {
  const std::time_t now = std::time(nullptr);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
  const std::string path = fileUserFolder() + "/screenshot-" + stamp + ".png";
  grRequestScreenshot(path);
  consoleMessage(1, "Screenshot: %s\n", path.c_str());
}

int gameInput(int message, int code, int value) {
  // While a journal is replayed, live input would make the run differ from the recorded one.
  if (journalIsReplaying() && journalPending() > 0) return 0;
  return gameDeliverInput(message, code, value);
}

int gameDeliverInput(int message, int code, int value) {
  journalRecord(g_steps, message, code, value);
  if (!wndRoot()) return 0;
  switch (message) {
    case MSG_NOTIFY_:
      if (code == NOTIFY_MAXIMIZED_ && !(appSettings().fullScreen & 1)) appRequestFullScreenToggle();
      return 0;
    case MSG_KEYDOWN_:
      if (code == VK_RETURN_ && (value & (1 << 29))) {
        appRequestFullScreenToggle();
        return 0;
      }
      if (code == VK_F12_ && !(value & (1 << 30))) {
        gameRequestScreenshot();
        return 1;
      }
      {
        const int handled = wndOfferKeyDown(code, value);
        if (code == VK_F8_) {
          // A held key would skip a track at every repeat.
          if (!(value & (1 << 30))) Game::PlayNextMusic(false);
          return 1;
        }
        // Escape that no window wanted asks on the menu whether to leave.
        if (!handled && code == VK_ESCAPE_ && !(value & (1 << 30)) && Menu::OfferEscape()) return 1;
        return handled;
      }
    case MSG_KEYUP_: return wndOfferKeyUp(code, value);
    case MSG_CHAR_: return wndOfferChar(code, value);
    case MSG_MOUSEMOVE_:
      cursorMoveTo(int16_t(value & 0xFFFF), int16_t(uint32_t(value) >> 16));
      return wndOfferMouseMove(code, value);
    case MSG_WHEEL_: return wndOfferWheel(float(int16_t(uint32_t(code) >> 16)) / 120.0f, code, value);
    default: return 0;
  }
}

void gameDone() {
  journalStop();
  sndStopMusic(256);
  // The level's objects go before the windows and the factory they depend on.
  Game::EndLevel();
  // A level is closed by the game model when one runs (none does before the levels exist); its
  // sound script goes in any case.
  if (fileExists("data/snd/gameSounds.ini")) sndFreeScript("data/snd/gameSounds.ini");
  gameAppDoneStages();
  UIWnd* root = wndRoot();
  wndSetRoot(nullptr);
  delete root;
  wndCollectGarbage();
  // The keyframe animations go once no window can be playing one.
  kfLibrary().Clear();
  sndStopMusicNow();
  sndFreeScript("data/snd/sounds.ini");
  sndFreeScript("data/snd/music.ini");
  sndDone();
  gameLogClose();
  sprRelease(g_border);
  g_border = nullptr;
  sprRelease(g_profFont);
  g_profFont = nullptr;
  g_profFontTried = false;
  iniFreeAll();
  grDone(false);
}
