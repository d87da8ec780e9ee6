// The widget demo screen in the running headless game: scripted clicks, a drag and typing reach
// its button, switch, slider and name field, and the status line answers each.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "files/file.h"
#include "files/ini.h"
#include "files/text.h"
#include "game/core/game_main.h"
#include "game/menus/demo_screen.h"
#include "support/input_script.h"
#include "ui/widget_switch.h"
#include "ui/wnd.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {
// Runs the test inside a copy of the demo's menu, fonts and sounds, then comes back.
class DemoFolder {
 public:
  explicit DemoFolder(const fs::path& source) : home_(fs::current_path()) {
    const fs::path run = home_ / "demo_run";
    fs::remove_all(run);
    for (const char* part : {"data/menu", "data/fonts", "data/snd"}) {
      fs::create_directories(run / part);
      fs::copy(source / part, run / part, fs::copy_options::recursive);
    }
    fs::copy_file(source / "data/translation.ini", run / "data/translation.ini");
    std::ofstream(run / "game.ini") << "[main]\nname=UiDemoTest\npath=UiDemoTest\n";
    std::ofstream(run / "data/test.ini") << "[main]\n";
    fs::current_path(run);
    iniFreeAll();
    fileInitPaths();
  }
  ~DemoFolder() {
    iniFreeAll();
    fs::current_path(home_);
  }

 private:
  fs::path home_;
};

std::u16string StatusOf(UIWnd* screen) { return screen->FindChild("Status")->Caption(); }
}  // namespace

TEST(DemoScreen, ScriptedInputReachesEveryWidget) {
  const char* src = std::getenv("MM_SOURCE_DIR");
  if (!src) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  DemoFolder folder(fs::path(src) / "demo");
  testkit::HeadlessGame game;
  ASSERT_TRUE(game.Ok());
  UIWnd* screen = uiCreateDemoScreen();
  ASSERT_NE(screen, nullptr);
  gameShowScreen(screen);
  for (const char* name : {"Board", "Title", "Play", "Sound", "Volume", "Name", "Status"})
    EXPECT_NE(screen->FindChild(name), nullptr) << name;
  EXPECT_EQ(StatusOf(screen), u"Nothing chosen yet.");
  EXPECT_EQ(screen->FindChild("Play")->Caption(), u"Play");
  EXPECT_NE(screen->FindChild("Status")->Font(), nullptr) << "the screen's font, given at creation";

  testkit::InputScript s;
  s.Click(2, 512, 250);                                     // Play
  s.Click(5, 640, 327);                                     // the switch's right arrow
  s.Move(8, 437, 415).Press(8, 437, 415).Move(9, 512, 415, 1).Release(10, 512, 415);  // the slider
  s.Move(12, 450, 510).Text(13, "Ada").Key(17, 13);         // the name field
  s.Start();

  game.RunSteps(4);
  EXPECT_EQ(StatusOf(screen), u"The meadow is waiting for you!");
  game.RunSteps(3);
  auto* sound = static_cast<UISwitchBase*>(screen->FindChild("Sound"));
  EXPECT_EQ(sound->Current(), 1);
  EXPECT_EQ(StatusOf(screen), u"Sound: soft");
  game.RunSteps(4);
  EXPECT_FLOAT_EQ(screen->FindChild("Volume")->GetValue(), 0.5f);
  EXPECT_EQ(StatusOf(screen), u"Volume: 50%");
  game.RunSteps(8);
  EXPECT_EQ(screen->FindChild("Name")->Caption(), u"Ada");
  EXPECT_EQ(StatusOf(screen), u"Hello, Ada!");
}

// The edges of the same screen: a press carried off the button commands nothing, the wheel and
// arrow keys drive the slider to its ends and no further, and the name field takes Cyrillic
// letters up to its size and then leaves the text as it is.
TEST(DemoScreen, ReleasedOutsideWheelPastTheEndsAndCyrillicToTheLimit) {
  const char* src = std::getenv("MM_SOURCE_DIR");
  if (!src) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  DemoFolder folder(fs::path(src) / "demo");
  testkit::HeadlessGame game;
  ASSERT_TRUE(game.Ok());
  UIWnd* screen = uiCreateDemoScreen();
  ASSERT_NE(screen, nullptr);
  gameShowScreen(screen);
  UIWnd* volume = screen->FindChild("Volume");
  UIWnd* name = screen->FindChild("Name");
  testkit::InputScript s;
  s.Move(2, 512, 250).Press(2, 512, 250).Move(3, 900, 700, 1).Release(4, 900, 700);  // off the button
  for (int i = 0; i < 15; ++i) s.Move(6, 512, 415).Raw(6 + i, MSG_WHEEL_, 120 << 16, testkit::Pack(512, 415));
  for (int i = 0; i < 15; ++i) s.Raw(22 + i, MSG_WHEEL_, -120 << 16, testkit::Pack(512, 415));
  s.Move(40, 450, 510);
  for (int i = 0; i < 30; ++i) s.Char(41 + i, 0x0416 + (i % 8));  // Ж З И Й К Л М Н ...
  s.Start();
  game.RunSteps(5);
  EXPECT_EQ(screen->FindChild("Status")->Caption(), u"Nothing chosen yet.") << "no command";
  game.RunSteps(16);
  EXPECT_FLOAT_EQ(volume->GetValue(), 1.0f) << "the wheel stops at the top";
  game.RunSteps(17);
  EXPECT_FLOAT_EQ(volume->GetValue(), 0.0f) << "and at the bottom";
  game.RunSteps(34);
  const std::u16string text = name->Caption();
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text[0], u'\u0416');
  EXPECT_LE(text.size(), 24u) << "the field's size";
  const std::u16string full = text;
  testkit::InputScript more;
  more.Char(gameStepCount() + 1, 0x0430).Char(gameStepCount() + 2, 'x');
  more.Start();
  game.RunSteps(4);
  EXPECT_EQ(name->Caption(), full) << "a full field (by size or width) stays as it is";
}
