// The start-up screens in a running headless game: logo pages in order (a key skips them), then
// the loading screen running one start-up stage per frame with its bar, then the menu.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/soft_cursor.h"
#include "files/file.h"
#include "files/ini.h"
#include "game/menus/loading.h"
#include "game/menus/logo.h"
#include "game/core/game_main.h"
#include "gfx/image.h"
#include "support/input_script.h"
#include "support/test_files.h"
#include "ui/wnd.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& p, const std::string& text) { testkit::writeFile(p, text); }

void MakeFolder(const std::string& loadingMain) {
  Write("game.ini", "[main]\nname=StartupTest\npath=StartupTest\n");
  Write("data/test.ini", "[main]\n");
  Write("data/logo/logo.ini",
        "[First]\nname=data/logo/a.png\nshow_time=500\nunhide_time=100\n"
        "[Second]\nname=data/logo/b%02d.png\nlenght=2\nvideo_time=200\nshow_time=300\nbg_r=300\n");
  std::vector<uint8_t> px(16 * 16 * 4, 255);
  fs::create_directories("data/logo");
  imgSavePNG("data/logo/a.png", px.data(), 16, 16);
  imgSavePNG("data/logo/b01.png", px.data(), 16, 16);
  imgSavePNG("data/logo/b02.png", px.data(), 16, 16);
  Write("data/menu/applicationLoading.ini", "[Main]\n" + loadingMain +
                                               "[Bar]\ntype=progress\nx=100\ny=700\nxs=800\nys=20\n");
  Write("data/menu/UIMainMenu.ini", "[Main]\n[Title]\ntype=text\nname=Menu\nx=10\ny=10\n");
  iniFreeAll();
  fileInitPaths();
  std::error_code ec;
  fs::remove(fileProfgamePath(), ec);
}

UIWnd* Screen() {
  UIWnd* root = wndRoot();
  return root && root->ChildCount() == 1 ? root->Child(0) : nullptr;
}

template <class T>
bool Is(UIWnd* w) {
  return dynamic_cast<T*>(w) != nullptr;
}

}  // namespace

TEST(LogoPage, FrameNamesFillOnlyOneIntegerPlaceholder) {
  EXPECT_EQ(UILogo::FrameName("logo%d.png", 7), "logo7.png");
  EXPECT_EQ(UILogo::FrameName("logo%03d.png", 7), "logo007.png");
  EXPECT_EQ(UILogo::FrameName("logo%s.png", 7), "logo%s.png") << "never a format the data chose";
  EXPECT_EQ(UILogo::FrameName("a%db%d", 1), "a%db%d");
  EXPECT_EQ(UILogo::FrameName("plain.png", 3), "plain.png");
}

TEST(Startup, LogosThenLoadingRunsOneStagePerFrameThenTheMenu) {
  MakeFolder("waitPeriod=0\n");
  testkit::HeadlessGame game;
  ASSERT_TRUE(game.Ok());
  ASSERT_TRUE(Is<UILogo>(Screen()));
  game.RunSteps(10);  // 250 ms
  ASSERT_TRUE(Is<UILogo>(Screen()));
  UIWnd* first = Screen();
  game.RunSteps(12);  // past 500 ms: the second page
  ASSERT_TRUE(Is<UILogo>(Screen()));
  EXPECT_NE(Screen(), first);
  game.RunSteps(14);  // past its 300 ms: the pages have run out, loading takes over
  auto* loading = dynamic_cast<Menu::UIGameLoading*>(Screen());
  ASSERT_NE(loading, nullptr);
  EXPECT_FALSE(cursorExists());
  // The fade opens over one second before the stages start.
  int opening = 0;
  while (loading->FadeState() == Core::UIMenuWithFade::kOpening && opening < 60) {
    EXPECT_EQ(loading->Counter(), 0);
    game.RunSteps(1);
    ++opening;
  }
  EXPECT_GE(opening, 30);
  EXPECT_LE(opening, 41);
  int last = loading->Counter();
  for (int i = 0; i < 20 && Is<Menu::UIGameLoading>(Screen()) && loading->Counter() < 9; ++i) {
    game.RunSteps(1);
    EXPECT_LE(loading->Counter() - last, 1) << "one stage per frame";
    last = loading->Counter();
  }
  EXPECT_EQ(loading->Counter(), 9);
  EXPECT_TRUE(cursorExists()) << "stage 8 made the cursor";
  EXPECT_FLOAT_EQ(loading->FindChild("Bar")->GetValue(), 1.0f);
  // No "PressAnyKey": it leaves after the wait, fading out over a second.
  game.RunSteps(60);
  ASSERT_NE(Screen(), nullptr);
  EXPECT_NE(Screen()->FindChild("Title"), nullptr) << "the menu from its definition";
}

TEST(Startup, AKeySkipsTheLogosAndPressAnyKeyWaitsForThePlayer) {
  MakeFolder("");
  Write("data/menu/applicationLoading.ini",
        "[Main]\n[PressAnyKey]\ntype=text\nname=Press any key\nx=400\ny=600\n"
        "[Bar]\ntype=progress\nx=100\ny=700\nxs=800\nys=20\n");
  iniFreeAll();
  testkit::HeadlessGame game;
  ASSERT_TRUE(game.Ok());
  testkit::InputScript s;
  s.Key(2, 27);
  s.Start();
  game.RunSteps(4);
  auto* loading = dynamic_cast<Menu::UIGameLoading*>(Screen());
  ASSERT_NE(loading, nullptr) << "the key ended the logos";
  UIWnd* any = loading->FindChild("PressAnyKey");
  ASSERT_NE(any, nullptr);
  EXPECT_TRUE(any->Hidden());
  game.RunSteps(80);
  EXPECT_EQ(loading->StepState(), Menu::UILoadingMenu::kWaiting);
  EXPECT_FALSE(any->Hidden());
  game.RunSteps(100);
  EXPECT_EQ(Screen(), loading) << "it waits for the player";
  testkit::InputScript k;
  k.Key(gameStepCount() + 1, 32);
  k.Start();
  game.RunSteps(60);
  EXPECT_NE(Screen(), loading);
}
