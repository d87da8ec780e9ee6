// Fixture of the game tests that read or play the bundled demo: a clean slate, a fresh copy of the
// demo entered with its animation catalogue loaded, and the previous folder back afterwards.
#pragma once
#include <filesystem>

#include <gtest/gtest.h>

#include "anim/anim_catalogue.h"
#include "game_test_util.h"
#include "support/demo_copy.h"

namespace gametest {
struct DemoCopySlate : CleanSlate {
  // The copy's folder under the test's scratch folder.
  virtual const char* CopyName() const = 0;
  // Skipped when the sources are not known; a test that adds to SetUp checks IsSkipped() and
  // HasFatalFailure() first.
  void SetUp() override {
    CleanSlate::SetUp();
    home = std::filesystem::current_path();
    run = testkit::EnterDemoCopy(CopyName());
    if (run.empty()) GTEST_SKIP() << "MM_SOURCE_DIR not set";
    ASSERT_TRUE(Core::animManager().LoadAnimationCatalogue());
  }
  void TearDown() override {
    Core::animManager().Clear();
    if (!home.empty()) std::filesystem::current_path(home);
    CleanSlate::TearDown();
  }
  std::filesystem::path home, run;
};
}  // namespace gametest
