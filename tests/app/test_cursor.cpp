// The software cursor in a running headless game: made at start-up, following the mouse, giving
// way to the system cursor when hidden or switched off, gone at shutdown.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/soft_cursor.h"
#include "files/file.h"
#include "files/ini.h"
#include "support/input_script.h"

namespace fs = std::filesystem;

TEST(SoftCursor, FollowsTheMouseAndYieldsToTheSystemCursor) {
  std::ofstream("game.ini") << "[main]\nname=CursorTest\npath=CursorTest\n";
  fs::create_directories("data");
  std::ofstream("data/test.ini") << "[main]\nGame_No_Menu=1\n";
  iniFreeAll();
  fileInitPaths();
  std::error_code ec;
  fs::remove(fileProfgamePath(), ec);
  {
    testkit::HeadlessGame game;
    ASSERT_TRUE(game.Ok());
    ASSERT_TRUE(cursorExists());
    EXPECT_FALSE(cursorSystemShown());
    testkit::InputScript s;
    s.Move(2, 300, 200).Move(3, 1023, 5);
    s.Start();
    game.RunSteps(3);
    int x = 0, y = 0;
    cursorPosition(x, y);
    EXPECT_EQ(x, 300);
    EXPECT_EQ(y, 200);
    game.RunSteps(2);
    cursorPosition(x, y);
    EXPECT_EQ(x, 1023);
    cursorSetSlot(3);
    EXPECT_EQ(cursorSlot(), 3);
    cursorSetSlot(7);
    EXPECT_EQ(cursorSlot(), 3) << "only five slots";
    cursorHide(true);
    EXPECT_TRUE(cursorSystemShown());
    cursorHide(false);
    cursorSetEnabled(false);
    EXPECT_TRUE(cursorSystemShown()) << "the player switched it off";
    cursorSetEnabled(true);
    EXPECT_FALSE(cursorSystemShown());
    game.RunSteps(10);  // drawing and animating a cursor without its animation is harmless
  }
  EXPECT_FALSE(cursorExists());
  EXPECT_TRUE(cursorSystemShown());
}
