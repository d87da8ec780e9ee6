// Helpers of the widget and definition tests: the null renderer for a suite, pictures and a small
// bitmap font written to the work folder, definition files, and a screen that records what its
// children report while input is offered the way the shell offers it.
#pragma once
#include <gtest/gtest.h>

#include "support/null_renderer.h"
#include "support/test_files.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "base/diag.h"
#include "files/ini.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "ui/wnd.h"

namespace uitest {

inline void WriteText(const std::string& path, const std::string& text) { testkit::writeFile(path, text); }
inline std::string ReadText(const std::string& path) { return testkit::readFile(path); }

// An uncompressed 32-bit TGA of one colour, top row first.
inline void WriteTga(const std::string& path, int w, int h, uint32_t argb = 0xFF808080u) {
  testkit::writeTga(path, w, h, argb);
}

// "fonts/test.tga": every printable ASCII glyph 8 pixels wide except the space (4) and '~' (none),
// line height 16, one colour variant.
constexpr const char* kFont = "fonts/test.tga";
constexpr int kGlyph = 8, kLine = 16;
inline void WriteTestFont() {
  WriteTga(kFont, 768, kLine, 0xFFFFFFFFu);
  std::string fh = "768 16 94\n";
  for (int c = 32; c < 126; ++c)
    fh += std::to_string(c) + " " + std::to_string((c - 32) * kGlyph) + " 0 " + (c == 32 ? "4" : "8") + "\n";
  WriteText("fonts/test.fh", fh);
}

inline std::string GerrText() {
  errorLogClose();
  return ReadText("gerr.log");
}

inline int Pack(int x, int y) { return (x & 0xFFFF) | (y << 16); }

// Brings the null renderer up for a suite: sprites and fonts then load their pictures.
class WidgetSuite : public ::testing::Test {
 public:
  static void SetUpTestSuite() {
    ASSERT_TRUE(testkit::StartNullRenderer("widgets"));
    WriteTestFont();
  }
  static void TearDownTestSuite() { testkit::StopNullRenderer(); }

 protected:
  void SetUp() override {
    g_wndEdit = false;
    g_wndBounds = false;
    iniFreeAll();
  }
  void TearDown() override {
    wndSetRoot(nullptr);
    wndCollectGarbage();
    g_wndEdit = false;
  }
};

// A screen as the game builds them: it follows the mouse with the hover rule and records the
// commands and notifications of its children by name.
struct Screen : UIWnd {
  std::vector<std::string> commands;
  std::vector<std::pair<std::string, int>> notes;
  Screen() {
    SetName("Screen");
    SetSize(1024, 768);
    wndSetRoot(this);
  }
  ~Screen() override {
    if (wndRoot() == this) wndSetRoot(nullptr);
  }
  int MouseMove(int buttons, int value) override {
    TrackMouse(value);
    return UIWnd::MouseMove(buttons, value);
  }
  int OnCommand(UIWnd* source) override {
    commands.push_back(source->Name());
    return 1;
  }
  int OnNotify(UIWnd* source, int message) override {
    notes.emplace_back(source->Name(), message);
    return 1;
  }
  // Input as the shell offers it: hooks first, then this root.
  void Move(int x, int y, int buttons = 0) { wndOfferMouseMove(buttons, Pack(x, y)); }
  void Press(int x, int y) { wndOfferKeyDown(VK_LBUTTON_, Pack(x, y)); }
  void Release(int x, int y) { wndOfferKeyUp(VK_LBUTTON_, Pack(x, y)); }
  void Click(int x, int y) {
    Move(x, y);
    Press(x, y);
    Release(x, y);
  }
  // A key pressed and released; Backspace, Tab, Enter and Escape also type their character in
  // between, as the shell sends them.
  void Key(int vk) {
    wndOfferKeyDown(vk, 1);
    if (vk == VK_BACK_ || vk == VK_TAB_ || vk == VK_RETURN_ || vk == VK_ESCAPE_) wndOfferChar(vk, 1);
    wndOfferKeyUp(vk, int(1u | 0xC0000000u));
  }
  void Type(const std::u16string& text) {
    for (char16_t c : text) wndOfferChar(int(c), 1);
  }
};

}  // namespace uitest
