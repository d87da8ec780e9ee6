// Text input as the windows receive it: the keys that type control characters (Enter, Backspace,
// Tab, Escape) arrive as characters too, characters carry the key data of their key, the wheel
// carries the key state, and losing focus presents an empty frame.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "app/app.h"
#include "app/window_input.h"
#include "files/ini.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "support/message_capture.h"

namespace fs = std::filesystem;

namespace {

using testkit::Msg;
std::vector<Msg>& g_got = testkit::capturedMessages();
constexpr auto Capture = testkit::captureMessage;

class TextInput : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream("game.ini", std::ios::binary)
        << "[main]\nname=TextInputTest\npath=TextInputTest\nxs=1024\nys=768\n[engine]\n";
    iniFreeAll();
    platUseManualClock(true, 1000);
    ASSERT_EQ(appInit(Capture), 0);
    ASSERT_EQ(grInit(kLogicalWidth, kLogicalHeight, 32, false), 0);
    g_got.clear();
  }
  void TearDown() override {
    grDone(false);
    appDone();
    platResetEvents();
    platUseManualClock(false);
  }
  static PlatEvent Key(PlatEvent::Kind kind, int vk, int keyData) {
    PlatEvent e;
    e.kind = kind;
    e.vk = vk;
    e.keyData = keyData;
    return e;
  }
  static PlatEvent Text(const char* utf8) {
    PlatEvent e;
    e.kind = PlatEvent::Text;
    std::snprintf(e.text, sizeof e.text, "%s", utf8);
    return e;
  }
  static std::vector<Msg> Only(int message) {
    std::vector<Msg> out;
    for (const Msg& m : g_got)
      if (m.message == message) out.push_back(m);
    return out;
  }
};

constexpr int kScan = 0x1C << 16;  // some scan code in bits 16-23 of the key data

}  // namespace

TEST_F(TextInput, ControlKeysAlsoArriveAsCharactersWithTheirKeyData) {
  for (int vk : {VK_RETURN_, VK_BACK_, VK_TAB_, VK_ESCAPE_}) platPushEvent(Key(PlatEvent::KeyDown, vk, 1 | kScan));
  // A held key repeats its character with the repeat bit set.
  platPushEvent(Key(PlatEvent::KeyDown, VK_BACK_, 1 | kScan | (1 << 30)));
  appLoopPass();
  const std::vector<Msg> chars = Only(MSG_CHAR_);
  ASSERT_EQ(chars.size(), 5u);
  EXPECT_EQ(chars[0], (Msg{MSG_CHAR_, 13, 1 | kScan}));
  EXPECT_EQ(chars[1], (Msg{MSG_CHAR_, 8, 1 | kScan}));
  EXPECT_EQ(chars[2], (Msg{MSG_CHAR_, 9, 1 | kScan}));
  EXPECT_EQ(chars[3], (Msg{MSG_CHAR_, 27, 1 | kScan}));
  EXPECT_EQ(chars[4], (Msg{MSG_CHAR_, 8, 1 | kScan | (1 << 30)}));
  // Each character follows its own key-down.
  ASSERT_EQ(g_got.size(), 10u);
  EXPECT_EQ(g_got[0], (Msg{MSG_KEYDOWN_, VK_RETURN_, 1 | kScan}));
  EXPECT_EQ(g_got[1].message, 258);
}

TEST_F(TextInput, OtherKeysAndAltCombinationsTypeNothingByThemselves) {
  platPushEvent(Key(PlatEvent::KeyDown, 'A', 1 | kScan));      // its character comes as text
  platPushEvent(Key(PlatEvent::KeyDown, VK_F8_, 1));
  platPushEvent(Key(PlatEvent::KeyDown, VK_RETURN_, 1 | (1 << 29)));  // Alt+Enter: full screen
  platPushEvent(Key(PlatEvent::KeyUp, VK_RETURN_, 1 | (1 << 30) | int(1u << 31)));
  appLoopPass();
  EXPECT_TRUE(Only(MSG_CHAR_).empty());
  EXPECT_EQ(Only(MSG_KEYDOWN_).size(), 3u);
}

TEST_F(TextInput, TypedCharactersCarryTheKeyDataOfTheirKey) {
  const int dataA = 1 | (0x1E << 16);
  platPushEvent(Key(PlatEvent::KeyDown, 'A', dataA));
  platPushEvent(Text("a"));
  const int dataYo = 1 | (0x29 << 16);
  platPushEvent(Key(PlatEvent::KeyDown, 192, dataYo));
  platPushEvent(Text("\xD1\x91"));  // a Cyrillic letter: one UTF-16 unit
  appLoopPass();
  const std::vector<Msg> chars = Only(MSG_CHAR_);
  ASSERT_EQ(chars.size(), 2u);
  EXPECT_EQ(chars[0], (Msg{MSG_CHAR_, 'a', dataA}));
  EXPECT_EQ(chars[1], (Msg{MSG_CHAR_, 0x451, dataYo}));
}

TEST_F(TextInput, TheWheelCarriesTheKeyStateBits) {
  PlatEvent w;
  w.kind = PlatEvent::Wheel;
  w.wheel = -240;
  w.buttons = 4 | 1;  // Shift with the left button held
  w.x = 100;
  w.y = 50;
  platPushEvent(w);
  w.wheel = 120;
  w.buttons = 8;  // Ctrl
  platPushEvent(w);
  appLoopPass();
  const std::vector<Msg> wheel = Only(MSG_WHEEL_);
  ASSERT_EQ(wheel.size(), 2u);
  EXPECT_EQ(int16_t(uint32_t(wheel[0].code) >> 16), -240);
  EXPECT_EQ(wheel[0].code & 0xFFFF, 5);
  EXPECT_EQ(int16_t(uint32_t(wheel[1].code) >> 16), 120);
  EXPECT_EQ(wheel[1].code & 0xFFFF, 8);
  EXPECT_EQ(wheel[0].value, (100 | (50 << 16)));
}

TEST_F(TextInput, LosingFocusPresentsAnEmptyFrame) {
  const uint64_t before = platPresentCount();
  PlatEvent lost;
  lost.kind = PlatEvent::FocusLost;
  platPushEvent(lost);
  appLoopPass();  // the frame callback is not set: only the focus change can present
  EXPECT_EQ(platPresentCount(), before + 1);
  EXPECT_FALSE(grInScene()) << "the frame it began is ended";
  EXPECT_FALSE(appIsActive());
  EXPECT_EQ(Only(0).size(), 1u) << "notification 4 told the game";
  platPushEvent(lost);  // told again while inactive: another empty frame
  PlatEvent gained;
  gained.kind = PlatEvent::FocusGained;
  platPushEvent(gained);
  appLoopPass();
  EXPECT_EQ(platPresentCount(), before + 2) << "each loss presents; a gain does not";
  EXPECT_TRUE(appIsActive());
}
