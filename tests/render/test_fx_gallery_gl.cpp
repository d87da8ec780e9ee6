// Through real OpenGL: the effects gallery of the bundled demo builds from its definition, and after
// a few seconds of its show fireworks, the comet and the rising wave have lit the night sky.
#include <gtest/gtest.h>

#include "support/gl_required.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ui/fx_gallery.h"
#include "anim/fx_manager.h"
#include "anim/fx_pyro_manager.h"
#include "files/file.h"
#include "files/ini.h"
#include "gfx/image.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "ui/wnd.h"
#include "platform/platform.h"
#include "support/gl_pixels.h"

namespace fs = std::filesystem;

namespace {

using testkit::GlUp;

int Brightness(const std::vector<uint8_t>& f, int w, int x, int y) {
  const uint8_t* p = &f[(size_t(y) * w + x) * 4];
  return p[0] + p[1] + p[2];
}

TEST(FxGalleryGl, TheShowLightsTheNightSky) {
  if (!GlUp()) MM_SKIP_WITHOUT_GL("no OpenGL offscreen context");
  const char* src = std::getenv("MM_SOURCE_DIR");
  if (!src) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  const fs::path home = fs::current_path(), run = home / "fx_gallery_run";
  fs::remove_all(run);
  for (const char* part : {"data/menu", "data/fonts", "data/fx"}) {
    fs::create_directories(run / part);
    fs::copy(fs::path(src) / "demo" / part, run / part, fs::copy_options::recursive);
  }
  fs::current_path(run);
  iniFreeAll();
  {
    fxInit();
    bool closed = false;
    UIWnd* screen = fxCreateGallery([&] { closed = true; });
    ASSERT_NE(screen, nullptr);
    EXPECT_NE(screen->FindChild("Show"), nullptr);
    EXPECT_NE(screen->FindChild("Back"), nullptr);
    EXPECT_EQ(FxManager::pyroManager().FilesLoaded(), 4) << "rockets, flares, comet and wave: each file loaded once";

    // The sky before the show, and after 2.5 s of it (the first rockets have burst by 1.2 s).
    auto frame = [&](std::vector<uint8_t>& f, int& w, int& h) {
      grBeginScene();
      screen->Draw();
      ASSERT_TRUE(grReadFrame(f, w, h));
      grFlip(nullptr, nullptr);
    };
    std::vector<uint8_t> before, after;
    int w = 0, h = 0;
    frame(before, w, h);
    for (int i = 0; i < 100; ++i) screen->Update(25);
    frame(after, w, h);
    ASSERT_EQ(after.size(), before.size());
    int lit = 0;
    for (int y = 100; y < 700; y += 2)
      for (int x = 0; x < w; x += 2) lit += Brightness(after, w, x, y) > Brightness(before, w, x, y) + 120;
    EXPECT_GT(lit, 400) << "bright sparks over the dark sky";
    // Kept for people to look at (the test's scratch folder), with a later moment of the show.
    imgSavePNG((home / "fx_gallery.png").c_str(), after.data(), w, h);
    for (int i = 0; i < 60; ++i) screen->Update(25);
    frame(after, w, h);
    imgSavePNG((home / "fx_gallery_later.png").c_str(), after.data(), w, h);

    screen->KeyDown(VK_ESCAPE_, 0);
    EXPECT_TRUE(closed) << "Escape leaves the gallery";
    delete screen;
    fxDone();
  }
  iniFreeAll();
  fs::current_path(home);
}

}  // namespace
