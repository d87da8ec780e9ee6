// Fixture of the pixel tests through real OpenGL: skipped (or failed where GL is required) on a
// machine whose frames cannot be read back. A test draws into the frame SetUp began; Read() ends
// it and keeps its pixels for At().
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gfx/render.h"
#include "support/gl_pixels.h"
#include "support/gl_required.h"

namespace rendertest {

class GlFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!grIsReady()) MM_SKIP_WITHOUT_GL("no renderer");
    grBeginScene();
    std::vector<uint8_t> probe;
    int w = 0, h = 0;
    if (!grReadFrame(probe, w, h)) {
      grFlip(nullptr, nullptr);
      MM_SKIP_WITHOUT_GL("no OpenGL pixels on this machine");
    }
  }
  // Ends the frame and keeps its pixels.
  void Read() {
    ASSERT_TRUE(grReadFrame(frame_, w_, h_));
    grFlip(nullptr, nullptr);
  }
  testkit::Px At(int x, int y) const { return testkit::At(frame_, w_, x, y); }

  std::vector<uint8_t> frame_;
  int w_ = 0, h_ = 0;
};

}  // namespace rendertest
