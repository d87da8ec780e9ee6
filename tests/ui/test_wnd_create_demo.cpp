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
