// Whether this run insists on real OpenGL.
#include "gl_required.h"

#include <cstdlib>
#include <cstring>

namespace testkit {

bool GlRequired() {
  const char* v = std::getenv("MEADOWMARK_REQUIRE_GL");
  return v && *v && std::strcmp(v, "0") != 0;
}

}  // namespace testkit
