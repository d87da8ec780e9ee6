// The closing screens: the first for five seconds after its fade-in (or until a key), the second
// the same, and then the program ends; a screen with nothing to show is passed at once; the main
// menu's leave question leads there.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "game/menus/last_screen.h"
#include "game/menus/main_menu.h"
#include "gfx/image.h"
#include "menu_scratch.h"

using Menu::UILast;

namespace {

void WritePicture(const char* path) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::vector<uint8_t> rgba(size_t(16 * 16 * 4), 200);
  ASSERT_TRUE(imgSavePNG(path, rgba.data(), 16, 16));
}

class LastScreens : public menutest::MenuScratch {
 protected:
  const char* Folder() const override { return "last_screens"; }
  void SetUp() override {
    MenuScratch::SetUp();
    WritePicture("data/menu/last/one.png");
    WritePicture("data/menu/last/two.png");
    testkit::writeFile(UILast::kFirstFile, "[Main]\n[Back]\ntype=sprite\nx=0\ny=0\nxs=16\nys=16\nignore=data/menu/last/one.png\n");
    testkit::writeFile(UILast::kSecondFile, "[Main]\n[Back]\ntype=sprite\nx=0\ny=0\nxs=16\nys=16\nignore=data/menu/last/two.png\n");
    iniFreeAll();
  }
  static UILast* Current() { return dynamic_cast<UILast*>(Screen()); }
  // Steps until the screen is no longer `screen`; the steps taken, or -1 after `max`.
  static int StepsUntilGone(const UIWnd* screen, int max) {
    for (int i = 1; i <= max; ++i) {
      Steps(1);
      if (Screen() != screen) return i;
    }
    return -1;
  }
};

}  // namespace

TEST_F(LastScreens, EachStaysFiveSecondsAfterItsFadeInAndThenTheProgramEnds) {
  Menu::ShowClosingScreens();
  UILast* first = Current();
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(first->Second());
  EXPECT_FALSE(first->Done());
  ASSERT_NE(first->FindChild("Back"), nullptr);
  EXPECT_TRUE(first->ShowTimer().IsStopped()) << "the five seconds start after the fade-in";
  Steps(40);
  EXPECT_FALSE(first->ShowTimer().IsStopped());
  EXPECT_EQ(first->FadeState(), Core::UIMenuWithFade::kOpen);
  Steps(199);
  EXPECT_EQ(first->FadeState(), Core::UIMenuWithFade::kOpen) << "not yet five seconds";
  Steps(1);
  EXPECT_EQ(first->FadeState(), Core::UIMenuWithFade::kClosing);
  // One second to black (its first step was the one that ended the wait), then the second screen
  // on the next step.
  EXPECT_EQ(StepsUntilGone(first, 100), 40);
  UILast* second = Current();
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(second->Second());
  EXPECT_FALSE(gameExitRequested());
  EXPECT_EQ(StepsUntilGone(second, 400), 40 + 200 + 40);
  EXPECT_EQ(wndRoot()->ChildCount(), 0) << "the window tree is taken down";
  EXPECT_TRUE(gameExitRequested()) << "and the program ends";
}

TEST_F(LastScreens, AKeyCutsAScreenShortButOnlyOnceItHasFadedIn) {
  Menu::ShowClosingScreens();
  UILast* first = Current();
  Steps(10);
  Key(VK_SPACE_);
  EXPECT_EQ(first->FadeState(), Core::UIMenuWithFade::kOpening) << "a key during the fade-in does nothing";
  Steps(40);
  wndOfferKeyDown(VK_LBUTTON_, testkit::Pack(500, 500));
  EXPECT_EQ(first->FadeState(), Core::UIMenuWithFade::kClosing);
  EXPECT_TRUE(first->ShowTimer().IsStopped());
  EXPECT_EQ(StepsUntilGone(first, 100), 41);
  UILast* second = Current();
  ASSERT_NE(second, nullptr);
  Steps(45);
  Key(VK_RETURN_);
  EXPECT_EQ(StepsUntilGone(second, 100), 41);
  EXPECT_TRUE(gameExitRequested());
}

TEST_F(LastScreens, AScreenWithNothingToShowIsPassedAtOnce) {
  // The first has no picture to show, the second no document at all.
  testkit::writeFile(UILast::kFirstFile, "[Main]\n[Back]\ntype=sprite\nx=0\ny=0\nxs=16\nys=16\nignore=data/menu/last/none.png\n");
  std::filesystem::remove(UILast::kSecondFile);
  iniFreeAll();
  Menu::ShowClosingScreens();
  EXPECT_TRUE(Current()->Done());
  Steps(1);
  ASSERT_NE(Current(), nullptr);
  EXPECT_TRUE(Current()->Second());
  EXPECT_TRUE(Current()->Done());
  Steps(1);
  EXPECT_EQ(wndRoot()->ChildCount(), 0);
  EXPECT_TRUE(gameExitRequested());
}

TEST_F(LastScreens, LeavingFromTheMainMenuShowsTheFirstClosingScreen) {
  testkit::writeFile("data/menu/dialog.ini",
                     "[Exit]\ntype=sprite\nx=292\ny=284\nxs=440\nys=200\nfadeTime=0\n"
                     "[Exit.DialogYes]\ntype=ieButton\nx=50\ny=112\nxs=150\nys=48\nstage=1\n"
                     "[Exit.DialogNo]\ntype=ieButton\nx=240\ny=112\nxs=150\nys=48\nstage=1\n");
  testkit::writeFile("data/menu/UIMainMenu.ini", "[Main]\n");
  iniFreeAll();
  AddPlayer(u"Robin");
  gameShowScreen(Menu::UIMainMenu::Create());
  Steps(2);
  Key(VK_ESCAPE_);
  Steps(2);
  Key(VK_RETURN_);
  Steps(3);
  UILast* first = Current();
  ASSERT_NE(first, nullptr) << "Yes: the closing screens";
  EXPECT_FALSE(first->Second());
  EXPECT_FALSE(gameExitRequested());
}
