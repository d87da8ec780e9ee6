// Tests through real OpenGL skip on a machine that has none. CI sets MEADOWMARK_REQUIRE_GL=1,
// which turns such skips into failures, so a broken GL path can never pass unseen.
#pragma once
#include <gtest/gtest.h>

namespace testkit {
// True when MEADOWMARK_REQUIRE_GL is set to anything but "" or "0".
bool GlRequired();
}  // namespace testkit

// Skips the test for want of OpenGL, or fails it when GL is required. Use where GTEST_SKIP would
// stand (a test body or SetUp). A binary that uses it also fails at its end, when GL is required,
// if any of its tests skipped some other way.
#define MM_SKIP_WITHOUT_GL(why)                                                \
  do {                                                                         \
    if (::testkit::GlRequired())                                               \
      GTEST_FAIL() << (why) << " (MEADOWMARK_REQUIRE_GL asks for real OpenGL)"; \
    else                                                                       \
      GTEST_SKIP() << (why);                                                   \
  } while (0)
