// Fixture of the tests that look through real OpenGL at a demo level in its game view: a fresh
// copy of the demo with its animation catalogue; afterwards the level and the run's object factory
// go while the sprites they hold can still be let go, and the previous folder comes back.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "anim/anim_catalogue.h"
#include "files/ini.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/core/map_factory.h"
#include "support/demo_copy.h"
#include "support/gl_pixels.h"
#include "support/gl_required.h"

namespace rendertest {

class DemoLevelGl : public ::testing::Test {
 protected:
  // The copy's folder under the test's scratch folder.
  virtual const char* CopyName() const = 0;

  void SetUp() override {
    if (!testkit::GlUp()) MM_SKIP_WITHOUT_GL("no OpenGL offscreen context");
    m_home = std::filesystem::current_path();
    if (testkit::EnterDemoCopy(CopyName()).empty()) GTEST_SKIP() << "MM_SOURCE_DIR not set";
    m_entered = true;
    testSettingsLoad("none.ini");
    ASSERT_TRUE(Core::animManager().LoadAnimationCatalogue());
  }
  void TearDown() override {
    if (!m_entered) return;
    Game::EndLevel();
    Map::objectFactoryDestroy();
    Core::animManager().Clear();
    std::filesystem::current_path(m_home);
    iniFreeAll();
  }

  // The frame the view draws over a black screen.
  static std::vector<uint8_t> Frame(Game::cGameView& view, int& w) {
    int h = 0;
    return testkit::DrawnFrame(0xFF000000u, [&view] { view.Draw(); }, w, h);
  }

 private:
  std::filesystem::path m_home;
  bool m_entered = false;
};

}  // namespace rendertest
