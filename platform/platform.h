// Our layer over the operating system and SDL2: clock, folders, single-instance lock, message
// boxes, quit signals, the window and its events. Nothing outside platform/ includes SDL or GL.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// ---- Run mode ------------------------------------------------------------------------------
// MEADOWMARK_HEADLESS unset: a real window. "gl" (or "1"): no display, real OpenGL through SDL's
// offscreen driver. "null": no display and no GL; the renderer keeps its logic and draws nothing.
enum class PlatMode { Window, HeadlessGL, HeadlessNull };
PlatMode platMode();
bool platIsHeadless();
void platSetMode(PlatMode m);  // tests choose a mode before anything starts

// ---- Clock ---------------------------------------------------------------------------------
// Milliseconds from an arbitrary start; stands where the system millisecond timer would. A test
// switches to the manual clock and advances it by hand.
uint32_t platTicks();
void platUseManualClock(bool on, uint32_t start = 0);
void platAdvanceClock(uint32_t ms);
bool platIsManualClock();
void platSleep(uint32_t ms);  // returns at once under the manual clock

// ---- Folders -------------------------------------------------------------------------------
std::string platCurrentFolder();        // no trailing separator
std::string platUserDataRoot();         // $XDG_DATA_HOME or ~/.local/share
std::string platTempRoot();             // $TMPDIR or /tmp
bool platMakeDirs(const std::string& path);
std::vector<std::string> platListFolder(const std::string& path, bool filesOnly);
bool platRemoveFile(const std::string& path);
bool platIsFolder(const std::string& path);
bool platFileExists(const std::string& path);
// Writes a file atomically: a temporary file in the same folder, flushed, renamed over the old.
bool platWriteFileAtomic(const std::string& path, const void* data, size_t size);

// ---- Single instance -------------------------------------------------------------------------
// Takes an exclusive lock file in `folder`; false when another running game holds it. Unlocking
// removes the file, so a finished game leaves nothing behind.
bool platLockInstance(const std::string& folder);
void platUnlockInstance();
std::string platInstanceLockPath(const std::string& folder);

// ---- Messages to the user --------------------------------------------------------------------
// A message box (SDL's); on stderr when headless or when no box can be shown.
void platMessageBox(const std::string& text, const std::string& caption);

// ---- Quit signals ----------------------------------------------------------------------------
// SIGINT and SIGTERM ask the window to close the orderly way (the loop sees a quit event).
void platInstallQuitSignals();
bool platQuitRequested();
void platClearQuitRequest();

// ---- Window ----------------------------------------------------------------------------------
// SDL video with the driver of the run mode. False with no display to show a window on (and no
// headless mode chosen) or when SDL cannot start; platVideoError() then says why and what to do.
bool platVideoInit();
const std::string& platVideoError();
void platVideoDone();
void platScreenSize(int& w, int& h);
bool platWindowCreate(const std::string& title, int x, int y, int xs, int ys, bool fullScreen);
void platWindowDestroy();
bool platWindowExists();
void platWindowShow();
void platWindowRaise();
void platWindowGetPos(int& x, int& y);      // outer left/top
void platWindowGetClientSize(int& w, int& h);
void platWindowSetFullScreen(bool on);      // desktop full screen, or back to a window
void platWindowSetClientSize(int w, int h);
void platWindowSetPos(int x, int y);
void platShowSystemCursor(bool show);
// Whether presenting a frame waits for the display (set by the GL device), and the display's
// refresh rate in Hz (0 when unknown).
bool platVsync();
void platSetVsync(bool on);
int platRefreshRate();
// Whether the GL device draws with the processor (Mesa's llvmpipe and its kin).
bool platGpuIsSoftware();
void platSetGpuIsSoftware(bool on);
// Frames presented by any device since the start (the devices count them).
uint64_t platPresentCount();
void platCountPresent();
// The window's icon from top-down RGBA rows (SDL copies them).
void platWindowSetIcon(const uint8_t* rgba, int w, int h);

// ---- Events ----------------------------------------------------------------------------------
// Neutral window events; the shell turns them into the engine's input messages. Key codes are
// Win32 virtual-key codes (13 Enter, 27 Escape, 37..40 arrows, 112.. F1.., 'A'..'Z', '0'..'9').
struct PlatEvent {
  enum Kind {
    None, Quit, KeyDown, KeyUp, Text, MouseMove, MouseDown, MouseUp, Wheel,
    FocusGained, FocusLost, Minimized, Restored, Maximized, Resized, MouseEnter, MouseLeave,
    JoyAdded, JoyRemoved, JoyAxis, JoyButton
  };
  Kind kind = None;
  int vk = 0;          // key events: virtual-key code
  int keyData = 0;     // key events: repeat count 1, bit 29 Alt held, bit 30 previous state, bit 31 up
  bool alt = false, shift = false, ctrl = false;
  int x = 0, y = 0;    // mouse: client pixels; Resized: new client size
  int button = 0;      // 1 left, 2 right, 4 middle
  int buttons = 0;     // mouse move, wheel: Win32 key state (1 left, 2 right, 4 Shift, 8 Ctrl, 16 middle)
  int wheel = 0;       // notches * 120, positive away from the user
  int joyId = -1, joyIndex = 0, joyValue = 0;  // joystick events
  char text[32] = {};  // Text: UTF-8
};
bool platPollEvent(PlatEvent& e);
bool platWaitEvent(PlatEvent& e, int timeoutMs);  // false on time-out
void platPostQuit();
// True while a Shift key is held (false without a window).
bool platShiftHeld();
// Injects an event as if it came from the system (tests, replay).
void platPushEvent(const PlatEvent& e);
// Forgets injected events and the sent quit (tests that start the shell several times).
void platResetEvents();

// ---- Joystick --------------------------------------------------------------------------------
// The one pad in use: opened when it is plugged in (or found at start), closed when pulled out.
int platJoystickOpen(int deviceIndex);   // instance id, or -1 when a pad is already in use or it fails
bool platJoystickClose(int instanceId);  // true when it was the pad in use
int platJoystickId();                    // -1 without a pad
void platJoystickCloseAll();
// Axis range of the pad's axes (SDL reports every axis in the same range).
constexpr int kJoyAxisMin = -32768, kJoyAxisMax = 32767;

// Win32 virtual-key codes used across the program.
enum : int {
  VK_LBUTTON_ = 1, VK_RBUTTON_ = 2, VK_MBUTTON_ = 4, VK_BACK_ = 8, VK_TAB_ = 9, VK_RETURN_ = 13,
  VK_SHIFT_ = 16, VK_CONTROL_ = 17, VK_MENU_ = 18, VK_PAUSE_ = 19, VK_ESCAPE_ = 27, VK_SPACE_ = 32,
  VK_PRIOR_ = 33, VK_NEXT_ = 34, VK_END_ = 35, VK_HOME_ = 36, VK_LEFT_ = 37, VK_UP_ = 38,
  VK_RIGHT_ = 39, VK_DOWN_ = 40, VK_INSERT_ = 45, VK_DELETE_ = 46, VK_F1_ = 112, VK_F2_ = 113,
  VK_F8_ = 119, VK_F12_ = 123
};

// The engine's input messages (message, code, value) as the window handling sends them to the game
// and the game offers them to the window tree; numbered as the Win32 messages they stand for.
enum : int {
  MSG_NOTIFY_ = 0,  // code: one of NOTIFY_*_ below
  MSG_KEYDOWN_ = 256, MSG_KEYUP_ = 257, MSG_CHAR_ = 258, MSG_MOUSEMOVE_ = 512, MSG_WHEEL_ = 522
};
// Codes of MSG_NOTIFY_: the mouse entered (1) or left (0) the client area, the active flag changed
// (value: the new flag), the window was maximised.
enum : int { NOTIFY_MOUSE_INSIDE_ = 3, NOTIFY_ACTIVE_ = 4, NOTIFY_MAXIMIZED_ = 6 };
