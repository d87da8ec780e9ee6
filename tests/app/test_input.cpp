// Window input without a display: events become the engine's messages with logical positions,
// typed debug words stay away from the game, the pad becomes keys, Alt+Enter switches the display
// mode, and a journal replays a run so exactly that both runs log the same lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/app.h"
#include "base/diag.h"
#include "app/joystick.h"
#include "files/file.h"
#include "files/ini.h"
#include "game/core/game_journal.h"
#include "game/core/game_main.h"
#include "game/core/random.h"
#include "gfx/render.h"
#include "support/input_script.h"
#include "support/test_files.h"
#include "platform/platform.h"
#include "ui/wnd.h"
#include "support/message_capture.h"

namespace fs = std::filesystem;

namespace {

using testkit::Msg;
std::vector<Msg>& g_got = testkit::capturedMessages();
constexpr auto Capture = testkit::captureMessage;

void WriteText(const fs::path& p, const std::string& text) { testkit::writeFile(p, text); }
std::string ReadText(const fs::path& p) { return testkit::readFile(p); }

void WriteGameFolder(const std::string& testIni) {
  WriteText("game.ini", "[main]\nname=InputTest\npath=InputTest\nxs=1024\nys=768\nFullScreen=0\n[engine]\n");
  WriteText("data/test.ini", "[main]\n" + testIni);
  iniFreeAll();
}

// The shell with a capturing input callback and the renderer up (for the logical mapping).
class ShellInput : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteGameFolder("");
    platUseManualClock(true, 1000);
    ASSERT_EQ(appInit(Capture), 0);
    ASSERT_EQ(grInit(kLogicalWidth, kLogicalHeight, 32, false), 0);
    g_got.clear();
  }
  void TearDown() override {
    platWindowSetClientSize(1024, 768);
    grDone(false);
    appDone();
    platClearQuitRequest();
    platResetEvents();
    platUseManualClock(false);
  }
  static void Push(PlatEvent e) { platPushEvent(e); }
  static PlatEvent Ev(PlatEvent::Kind k) {
    PlatEvent e;
    e.kind = k;
    return e;
  }
  static void Pass() { appLoopPass(); }
  // Lets the renderer see the window's new size.
  static void Frame() {
    grBeginScene();
    grFlip(nullptr, nullptr);
  }
};

TEST_F(ShellInput, KeysWheelAndButtonsBecomeEngineMessages) {
  PlatEvent k = Ev(PlatEvent::KeyDown);
  k.vk = 13;
  k.keyData = 1 | (1 << 29);
  Push(k);
  PlatEvent w = Ev(PlatEvent::Wheel);
  w.wheel = -240;
  w.x = 10;
  w.y = 20;
  Push(w);
  PlatEvent d = Ev(PlatEvent::MouseDown);
  d.button = 2;
  d.x = 300;
  d.y = 200;
  Push(d);
  Pass();
  ASSERT_EQ(g_got.size(), 3u);
  EXPECT_EQ(g_got[0], (Msg{MSG_KEYDOWN_, VK_RETURN_, 1 | (1 << 29)})) << "Alt reaches the game in bit 29";
  EXPECT_EQ(g_got[1].message, 522);
  EXPECT_EQ(int16_t(uint32_t(g_got[1].code) >> 16), -240) << "the delta sits in the high 16 bits";
  EXPECT_EQ(g_got[2], (Msg{MSG_KEYDOWN_, 2, testkit::Pack(300, 200)}));
}

TEST_F(ShellInput, PositionsMapThroughScaleAndBarsAndStayOnTheScreen) {
  platWindowSetClientSize(1920, 1080);
  Frame();
  ASSERT_EQ(grOffsetX(), 240);
  const int at[][2] = {{240, 540}, {1679, 0}, {100, 10}, {1900, 1079}};
  for (auto& p : at) {
    PlatEvent m = Ev(PlatEvent::MouseMove);
    m.x = p[0];
    m.y = p[1];
    Push(m);
  }
  Pass();
  ASSERT_EQ(g_got.size(), 4u);
  EXPECT_EQ(g_got[0].value, testkit::Pack(0, 384));
  EXPECT_EQ(g_got[1].value, testkit::Pack(1023, 0));
  EXPECT_EQ(g_got[2].value, testkit::Pack(0, 7)) << "the left bar clamps to the screen edge";
  EXPECT_EQ(g_got[3].value, testkit::Pack(1023, 767)) << "beyond the right bar clamps too";
  // A window resized smaller keeps the picture whole: scale by width, bars above and below.
  platWindowSetClientSize(512, 600);
  Frame();
  EXPECT_FLOAT_EQ(grScaleX(), 0.5f);
  EXPECT_EQ(grOffsetY(), (600 - 384) / 2);
  g_got.clear();
  PlatEvent m = Ev(PlatEvent::MouseMove);
  m.x = 256;
  m.y = 300;
  Push(m);
  Pass();
  ASSERT_EQ(g_got.size(), 1u);
  EXPECT_EQ(g_got[0].value, testkit::Pack(512, 384));
}

TEST_F(ShellInput, TypedDebugWordsRunAndTheirLastLetterStaysAway) {
  const bool before = g_wndBounds;
  PlatEvent t = Ev(PlatEvent::Text);
  std::snprintf(t.text, sizeof t.text, "uiBound");
  Push(t);
  Pass();
  EXPECT_NE(g_wndBounds, before) << "the bounds display toggled";
  ASSERT_EQ(g_got.size(), 6u) << "u i B o u n reach the game, the final d does not";
  EXPECT_EQ(g_got.back(), (Msg{MSG_CHAR_, 'n', 1}));
  g_got.clear();
  std::snprintf(t.text, sizeof t.text, "dx");
  Push(t);
  Pass();
  ASSERT_EQ(g_got.size(), 2u) << "after a word, letters reach the game again";
  g_wndBounds = before;
}

TEST_F(ShellInput, PadButtonsAndAxesAreKeys) {
  PlatEvent b = Ev(PlatEvent::JoyButton);
  b.joyIndex = 0;
  b.joyValue = 1;
  Push(b);
  b.joyValue = 0;
  Push(b);
  PlatEvent a = Ev(PlatEvent::JoyAxis);
  a.joyIndex = 0;
  a.joyValue = -5;  // slightly left: the left key is held at once
  Push(a);
  a.joyValue = 20;  // slightly right: left released, right not yet pressed
  Push(a);
  a.joyValue = 40;
  Push(a);
  a.joyIndex = 1;
  a.joyValue = 1000;
  Push(a);
  Push(Ev(PlatEvent::JoyRemoved));
  Pass();
  const std::vector<Msg> want = {{MSG_KEYDOWN_, 10, 15}, {MSG_KEYUP_, 10, 15}, {MSG_KEYDOWN_, 59, 15}, {MSG_KEYUP_, 59, 15}, {MSG_KEYDOWN_, 58, 15},
                                 {MSG_KEYDOWN_, 61, 15}, {MSG_KEYUP_, 58, 15}, {MSG_KEYUP_, 61, 15}};
  EXPECT_EQ(g_got, want);
}

TEST(PadAxis, ThresholdsOfTheAxisRules) {
  std::vector<Msg> got;
  auto send = [&](int m, int k) { got.push_back({m, k, 0}); };
  joyAxisKeys(0, 31, 1, 2, send);
  EXPECT_TRUE(got.empty()) << "31 units right is not yet a press";
  joyAxisKeys(31, 32, 1, 2, send);
  joyAxisKeys(32, -1, 1, 2, send);
  joyAxisKeys(-1, -30000, 1, 2, send);
  joyAxisKeys(-30000, 0, 1, 2, send);
  const std::vector<Msg> want = {{MSG_KEYDOWN_, 2, 0}, {MSG_KEYUP_, 2, 0}, {MSG_KEYDOWN_, 1, 0}, {MSG_KEYUP_, 1, 0}};
  EXPECT_EQ(got, want);
  EXPECT_EQ(joyAxisCentre(-32768, 32767), 0);
  EXPECT_EQ(joyAxisCentre(0, 65535), 32767);
  EXPECT_EQ(joyAxisCentre(100, 300), 200) << "each axis uses its own range";
}

// A window that draws a logged random number on every click and key, as game rules would.
class Dice : public UIWnd {
 public:
  int KeyDown(int code, int value) override {
    gameLog("[Dice] key %d at %d", code, value);
    RandomInt(1000);
    return 0;
  }
};

void PlayRun(uint32_t clockStart, bool script) {
  testkit::HeadlessGame game(clockStart);
  ASSERT_TRUE(game.Ok());
  Dice dice;
  wndHookAdd(&dice);
  if (script) {
    testkit::InputScript s;
    s.Click(3, 100, 200).Key(7, 'A').Click(12, 500, 600, 2).Text(15, "hi").Key(20, 27);
    s.Start();
  }
  game.RunSteps(40, 16);
  EXPECT_EQ(journalPending(), 0u);
  wndHookRemove(&dice);
}

TEST(Journal, ReplayedRunLogsTheSameLines) {
  std::error_code ec;
  fs::remove("journal.txt", ec);
  WriteGameFolder("Game_Log_On_Playback=1\n");
  PlayRun(1000, true);
  const std::string log = ReadText("log.txt");
  ASSERT_NE(log.find("[Dice] key 1 at"), std::string::npos) << log;
  ASSERT_NE(log.find("[Random - get ]"), std::string::npos);
  const std::string journal = ReadText("journal.txt");
  ASSERT_EQ(journal.rfind("seed 0\n", 0), 0u) << journal;
  // The second run starts at another time (another seed) and gets no script: only the journal.
  WriteGameFolder("Game_Log_On_Playback=1\nGame_Playback=1\n");
  PlayRun(5000, false);
  EXPECT_EQ(ReadText("log_playback.txt"), log);
}

TEST(Journal, DamagedLinesAreSkippedWithTheirNumber) {
  WriteText("bad_journal.txt", "seed 7\n1 256 65 1\nnonsense\n0 256 66 1\n3 257 65 1\n");
  int32_t seed = 0;
  ASSERT_TRUE(journalReplayStart("bad_journal.txt", seed));
  EXPECT_EQ(seed, 7);
  EXPECT_EQ(journalPending(), 2u) << "the unreadable line and the step going backwards are dropped";
  std::vector<Msg> got;
  static std::vector<Msg>* sink = nullptr;
  sink = &got;
  journalFeed(2, [](int m, int c, int v) {
    sink->push_back({m, c, v});
    return 0;
  });
  EXPECT_EQ(got.size(), 1u);
  journalStop();
  const std::string err = ReadText("gerr.log");
  EXPECT_NE(err.find("line 3"), std::string::npos);
  EXPECT_NE(err.find("line 4"), std::string::npos);
}

TEST(Display, AltEnterSwitchesToFullScreenAndBack) {
  WriteGameFolder("");
  // The user's saved mode would override game.ini.
  fileInitPaths();
  std::error_code ec;
  fs::remove(fileProfgamePath(), ec);
  testkit::HeadlessGame game;
  ASSERT_TRUE(game.Ok());
  EXPECT_FALSE(grIsFullScreen());
  testkit::InputScript s;
  s.KeyDown(2, VK_RETURN_, 1 | (1 << 29)).KeyDown(6, VK_RETURN_, 1 | (1 << 29));
  s.Start();
  game.RunSteps(4);
  EXPECT_TRUE(grIsFullScreen());
  EXPECT_TRUE(appSettings().fullScreen & 1);
  game.RunSteps(4);
  EXPECT_FALSE(grIsFullScreen());
}

}  // namespace
