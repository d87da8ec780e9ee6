// Through real OpenGL, on the demo's own data: the intro's first page (its keyframe painting in
// the wooden frame, the text typing on the parchment band), the score table opened from the main
// menu and the achievements book, as a player with a few results and two achievements sees them,
// and the credits of the game's end. The frames are saved as story_comic.png, story_scores.png,
// story_book.png and story_credits.png.
#include <gtest/gtest.h>

#include "support/gl_required.h"

#include <filesystem>
#include <string>
#include <vector>

#include "anim/anim_catalogue.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/players.h"
#include "files/user_files.h"
#include "game/core/game_main.h"
#include "game/menus/book.h"
#include "game/menus/comics.h"
#include "game/menus/main_menu.h"
#include "game/menus/scores.h"
#include "game/menus/screens.h"
#include "gfx/image.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "support/demo_copy.h"
#include "support/gl_pixels.h"
#include "support/test_files.h"
#include "ui/wnd.h"

namespace fs = std::filesystem;

namespace {

using testkit::At;
using testkit::GlUp;
using testkit::Px;

void Steps(int n) {
  for (int i = 0; i < n; ++i) {
    wndRoot()->Update(kStepMs);
    wndCollectGarbage();
  }
}

std::vector<uint8_t> Frame(int& w) {
  int h = 0;
  return testkit::DrawnFrame(0xFF000000u, [] { wndRoot()->Draw(); }, w, h);
}

// Pixels of a rectangle darker than `level` in every channel (the ink of a text).
int Dark(const std::vector<uint8_t>& f, int w, int x0, int y0, int x1, int y1, int level) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const Px p = At(f, w, x, y);
      n += p.r < level && p.g < level && p.b < level;
    }
  return n;
}

TEST(StoryScreensGl, TheIntroPageTheScoreTableAndTheBook) {
  if (!GlUp()) MM_SKIP_WITHOUT_GL("no OpenGL offscreen context");
  const fs::path home = fs::current_path();
  if (testkit::EnterDemoCopy("story_screens_gl").empty()) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  // A user folder of its own.
  std::string ini = testkit::readFile("game.ini");
  const size_t at = ini.find("path=Meadowmark");
  ASSERT_NE(at, std::string::npos);
  ini.replace(at, 15, "path=MeadowmarkStoryGl");
  testkit::writeFile("game.ini", ini);
  iniFreeAll();
  fileInitPaths();
  fs::remove_all(fileUserFolder());
  fs::create_directories(fileUserFolder());
  fileInitUserFiles();
  testSettingsLoad("none.ini");
  ASSERT_TRUE(Core::animManager().LoadAnimationCatalogue());
  playersClear();
  ASSERT_TRUE(playerAdd(u"Robin"));
  ASSERT_TRUE(playerSelect(0));
  PlayerProgress* p = playerProgress();
  p->sl[p->mode][0] = 14000;
  p->sl[p->mode][1] = 11000;
  p->achN[p->mode][0] = 1;
  p->achN[p->mode][4] = 2;
  wndSetRoot(new UIWnd());
  int w = 0;

  // The intro, three seconds in: the first page's text half typed.
  ASSERT_TRUE(Menu::ShowComics(1));
  auto* comics = dynamic_cast<Menu::UIComics*>(wndRoot()->Child(0));
  ASSERT_NE(comics, nullptr);
  Steps(120);
  EXPECT_EQ(comics->Page(), 1);
  std::vector<uint8_t> f = Frame(w);
  ASSERT_EQ(w, kLogicalWidth);
  imgSavePNG((home / "story_comic.png").c_str(), f.data(), w, kLogicalHeight);
  const Px band = At(f, w, 900, 680), sky = At(f, w, 500, 60), wood = At(f, w, 12, 300);
  EXPECT_GT(band.r, 200) << "the parchment band under the text";
  EXPECT_GT(band.g, 180);
  EXPECT_GT(sky.b, sky.r) << "the day's sky of the first page";
  EXPECT_GT(sky.b, 200);
  EXPECT_GT(wood.r, wood.b + 30) << "the frame's wood";
  EXPECT_GT(Dark(f, w, 90, 610, 934, 686, 110), 200) << "some of the text has typed itself";

  // The table from the main menu: the player's total of 25000 among the villagers.
  Menu::ShowMainMenu(false);
  Steps(45);
  auto* menu = dynamic_cast<Menu::UIMainMenu*>(wndRoot()->Child(0));
  ASSERT_NE(menu, nullptr);
  menu->OnCommand(menu->FindChild("Scores"));
  Steps(30);
  auto* scores = dynamic_cast<Menu::UIScores*>(menu->Modal().Dialog());
  ASSERT_NE(scores, nullptr);
  ASSERT_EQ(scores->Table().EnteredAt(), 4) << "below 30000, above 24000";
  f = Frame(w);
  imgSavePNG((home / "story_scores.png").c_str(), f.data(), w, kLogicalHeight);
  const UIWnd* name = scores->NameWindow(6);
  EXPECT_GT(Dark(f, w, name->X(), name->Y(), name->X() + 120, name->Y() + name->Height(), 120), 20)
      << "the player's name in its row";
  const Px mat = At(f, w, 320, 600);
  EXPECT_GT(mat.r, 180) << "the parchment under the rows";

  // The book: the two achievements earned stand first, with their gold medals.
  wndOfferKeyDown(VK_RETURN_, 1);
  wndOfferKeyUp(VK_RETURN_, 1);
  Steps(30);
  menu->OnCommand(menu->FindChild("Achievements"));
  Steps(30);
  auto* book = dynamic_cast<Menu::UIBook*>(menu->Modal().Dialog());
  ASSERT_NE(book, nullptr);
  EXPECT_EQ(book->IndexAt(0), 4);
  EXPECT_EQ(book->IndexAt(1), 0);
  f = Frame(w);
  imgSavePNG((home / "story_book.png").c_str(), f.data(), w, kLogicalHeight);
  EXPECT_EQ(book->FindChild("Count")->Caption(), u"2/58");
  for (int row = 0; row < 3; ++row) {
    // Inside the medal, clear of its tick.
    const Px medal = At(f, w, 214 + 22, 196 + 21 + row * 50);
    if (row < 2) {
      EXPECT_GT(medal.r, 200) << "row " << row << ": an earned medal";
      EXPECT_LT(medal.b, 120) << "row " << row;
    } else {
      EXPECT_LT(std::abs(int(medal.r) - int(medal.b)), 40) << "a grey pad: still to come";
    }
  }

  // The game's last page closed: the credits rise over the dark while the menu's sign comes down.
  ASSERT_TRUE(Menu::ShowComics(5));
  comics = dynamic_cast<Menu::UIComics*>(wndRoot()->Child(0));
  Steps(41);
  comics->KeyDown(VK_ESCAPE_, 0);
  Steps(40 + 60);
  ASSERT_EQ(comics->ComicsState(), Menu::UIComics::kCreditsWait);
  f = Frame(w);
  imgSavePNG((home / "story_credits.png").c_str(), f.data(), w, kLogicalHeight);
  const UIWnd* credits = comics->Credits();
  ASSERT_NE(credits, nullptr);
  int lit = 0;
  for (int y = credits->Y(); y < credits->Y() + 200; ++y)
    for (int x = credits->X(); x < credits->X() + credits->Width(); ++x) lit += At(f, w, x, y).r > 150;
  EXPECT_GT(lit, 300) << "the credits' first lines, bright on the dark";
  EXPECT_LT(At(f, w, 60, 700).r, 10) << "the rest of the screen is black";

  UIWnd* root = wndRoot();
  wndSetRoot(nullptr);
  delete root;
  wndCollectGarbage();
  playersClear();
  fs::current_path(home);
  iniFreeAll();
}

}  // namespace
