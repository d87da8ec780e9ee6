// The demo menu's side boards in the running headless game: the wheel scrolls the flower list by
// 40 pixels a notch, a hovered glowing button lights up and opens the effects gallery, Escape there
// comes back, and the tip types itself out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "files/file.h"
#include "files/ini.h"
#include "game/core/game_main.h"
#include "game/core/random.h"
#include "game/menus/demo_screen.h"
#include "game/menus/screens.h"
#include "support/input_script.h"
#include "ui/ui_deco_button.h"
#include "ui/ui_deco_text.h"
#include "ui/ui_random.h"
#include "ui/ui_scroll.h"
#include "ui/wnd.h"
#include "platform/platform.h"
#include "support/demo_copy.h"

namespace fs = std::filesystem;

TEST(DemoMenu, FlowerListGlowingButtonsAndTheTip) {
  const fs::path home = fs::current_path();
  const fs::path run = testkit::EnterDemoCopy("demo_menu_run");
  if (run.empty()) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  {
    testkit::HeadlessGame game;
    ASSERT_TRUE(game.Ok());
    UIWnd* screen = uiCreateDemoScreen();
    ASSERT_NE(screen, nullptr);
    gameShowScreen(screen);
    auto* list = dynamic_cast<Core::UIScrollWnd*>(screen->FindChild("Flowers"));
    auto* fireworks = dynamic_cast<Core::UIGlowButton*>(screen->FindChild("Fireworks"));
    auto* tip = dynamic_cast<Core::UITypingText*>(screen->FindChild("Tip"));
    ASSERT_TRUE(list && fireworks && tip);
    // 24 rows 30 pixels apart, the last one 28 tall; the window shows eight.
    EXPECT_EQ(list->ContentHeight(), 23 * 30 + 28);
    EXPECT_EQ(list->Height(), 240);
    UIWnd* first = list->FindChild("Flower1");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Y(), list->Y());
    const int lx = list->X() + 20, ly = list->Y() + 100;
    const int bx = fireworks->X() + 20, by = fireworks->Y() + 20;
    testkit::InputScript s;
    s.Move(2, lx, ly).Raw(3, MSG_WHEEL_, -120 << 16, testkit::Pack(lx, ly)).Raw(4, MSG_WHEEL_, -120 << 16, testkit::Pack(lx, ly));
    s.Move(20, bx, by);
    s.Click(22, bx, by);
    s.Start();
    game.RunSteps(10);
    EXPECT_EQ(list->Offset(), -80) << "two notches down the list";
    EXPECT_EQ(first->Y(), list->Y() - 80);
    EXPECT_EQ(list->FindChild("Flower4")->Y(), list->Y() + 10) << "the rows move together";
    EXPECT_FALSE(tip->Caption().empty()) << "the tip types from the start";
    EXPECT_LT(tip->Caption().size(), tip->FullText().size());
    game.RunSteps(11);
    EXPECT_TRUE(fireworks->Glowing());
    game.RunSteps(4);
    UIWnd* shown = wndRoot()->Child(0);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->FindChild("Flowers"), nullptr) << "the demo menu has made way";
    EXPECT_NE(shown->FindChild("Back"), nullptr) << "for the effects gallery";
    testkit::InputScript esc;
    esc.Key(gameStepCount() + 1, 27);
    esc.Start();
    game.RunSteps(4);
    UIWnd* back = wndRoot()->Child(0);
    ASSERT_NE(back, nullptr);
    auto* again = dynamic_cast<Core::UITypingText*>(back->FindChild("Tip"));
    ASSERT_NE(again, nullptr) << "Escape brings the demo menu back";
    game.RunSteps(200);
    EXPECT_EQ(again->Caption(), again->FullText()) << "typed out";
  }
  fs::current_path(home);
  iniFreeAll();
}

// The windows' cosmetic draws (a waving sign's pauses) come from the game's unlogged generator once
// the menus have registered their types: the logged sequence a replay compares stays untouched.
TEST(DemoMenu, WindowChancesComeFromTheUnloggedGenerator) {
  SeedRandom(1);
  Menu::RegisterTypes();
  const int32_t a = randomStateA(), b = randomStateB();
  const int32_t pause = uiRandomPeriod(0, 7000);
  EXPECT_GE(pause, 0);
  EXPECT_LE(pause, 7000);
  EXPECT_EQ(randomStateA(), a);
  EXPECT_NE(randomStateB(), b);
  // The same arithmetic as the game's own unlogged draw from the same state.
  SeedRandom(1);
  const int32_t direct = RandomPeriod(0, 7000, true);
  EXPECT_EQ(pause, direct);
  uiSetCosmeticRandom(nullptr);
}
