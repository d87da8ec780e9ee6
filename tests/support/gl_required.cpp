// Whether this run insists on real OpenGL, and the check at the end of a binary of GL tests that
// none of them skipped by another road (a plain GTEST_SKIP).
#include "gl_required.h"

#include <cstdlib>
#include <cstring>

namespace testkit {

bool GlRequired() {
  const char* v = std::getenv("MEADOWMARK_REQUIRE_GL");
  return v && *v && std::strcmp(v, "0") != 0;
}

namespace {
class NoSkipsWhenGlRequired : public ::testing::Environment {
 public:
  void TearDown() override {
    const int skipped = ::testing::UnitTest::GetInstance()->skipped_test_count();
    if (GlRequired() && skipped > 0)
      ADD_FAILURE() << skipped << " test(s) of real OpenGL skipped although MEADOWMARK_REQUIRE_GL asks for "
                    << "every one to run";
  }
};
const auto* g_noSkips = ::testing::AddGlobalTestEnvironment(new NoSkipsWhenGlRequired);
}  // namespace

}  // namespace testkit
