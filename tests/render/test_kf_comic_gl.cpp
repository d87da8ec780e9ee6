// Through real OpenGL: the demo's keyframe comic page builds from its definition and plays: the
// sun has risen to the top left, the bee sways over the flower inside its loop, and the caption
// has faded in; Escape leaves the page.
#include <gtest/gtest.h>

#include "support/gl_required.h"

#include <cstdlib>
#include <filesystem>

#include "anim/kf_library.h"
#include "files/ini.h"
#include "gfx/image.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"
#include "ui/ui_kf_anim.h"
#include "ui/ui_kf_comic.h"
#include "ui/wnd.h"
#include "platform/platform.h"
#include "support/gl_pixels.h"

namespace fs = std::filesystem;

namespace {

using testkit::At;
using testkit::GlUp;
using testkit::Px;


TEST(KeyframeComicGl, ThePagePlaysItsObjectsAndLoops) {
  if (!GlUp()) MM_SKIP_WITHOUT_GL("no OpenGL offscreen context");
  const char* src = std::getenv("MM_SOURCE_DIR");
  if (!src) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  const fs::path home = fs::current_path(), run = home / "comic_run";
  fs::remove_all(run);
  for (const char* part : {"data/menu", "data/fonts", "data/comic"}) {
    fs::create_directories(run / part);
    fs::copy(fs::path(src) / "demo" / part, run / part, fs::copy_options::recursive);
  }
  fs::copy_file(fs::path(src) / "demo/data/translation.ini", run / "data/translation.ini");
  fs::current_path(run);
  iniFreeAll();
  kfLibrary().Clear();
  {
    bool closed = false;
    UIWnd* page = kfCreateComicPage([&] { closed = true; });
    ASSERT_NE(page, nullptr);
    auto* comic = dynamic_cast<Core::UINewAnimWnd*>(page->FindChild("Comic"));
    ASSERT_NE(comic, nullptr);
    ASSERT_NE(comic->Animation(), nullptr);
    ASSERT_EQ(comic->Animation()->flat.size(), 4u);
    for (const C_AnimationObject* o : comic->Animation()->flat)
      if (!o->pictureName.empty()) EXPECT_NE(o->picture, nullptr) << o->pictureName;
    const C_AnimationObject* caption = comic->Animation()->flat.back();
    EXPECT_NE(caption->font, nullptr);
    EXPECT_FALSE(caption->lines.empty()) << "the caption found in [Comics] and laid out";

    std::vector<uint8_t> f;
    int w = 0, h = 0;
    auto frame = [&] {
      grBeginScene();
      page->Draw();
      ASSERT_TRUE(grReadFrame(f, w, h));
      grFlip(nullptr, nullptr);
    };
    // A full-screen frame costs software GL some time: draw every tenth step only.
    auto play = [&](int steps) {
      for (int i = 1; i <= steps; ++i) {
        page->Update(25);
        if (i % 10 == 0) {
          grBeginScene();
          page->Draw();
          grFlip(nullptr, nullptr);
          ASSERT_GE(comic->Time(), 0.0f);
          ASSERT_LT(comic->Time(), 5.0f);
        }
      }
    };
    frame();  // the first draw starts the clock at 0
    play(140);  // 3.5 s: through the loop's start at 2 s
    EXPECT_GE(comic->Time(), 2.0f);
    EXPECT_LT(comic->Time(), 5.0f);
    frame();
    imgSavePNG((home / "comic_page.png").c_str(), f.data(), w, h);
    const Px sun = At(f, w, 180, 170);
    EXPECT_GT(sun.r, 230) << "the sun's middle, risen";
    EXPECT_GT(sun.g, 150);
    // The bee's body lies right of the flower's heart, half way out of its sway.
    const C_ObjectState& bee = comic->Playback().objects.at(2);
    EXPECT_GT(bee.world.m[2][0], 600.0f);
    EXPECT_LT(bee.world.m[2][1], 410.0f);
    // Many more seconds never leave the loop.
    play(400);
    EXPECT_GE(comic->Time(), 2.0f) << "still inside the loop";
    page->KeyDown(VK_ESCAPE_, 0);
    EXPECT_TRUE(closed) << "Escape leaves the page";
    delete page;
  }
  kfLibrary().ReleaseAll();
  kfLibrary().Clear();
  iniFreeAll();
  fs::current_path(home);
}

}  // namespace
