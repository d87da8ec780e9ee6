// The run mode: a real window, or headless with or without OpenGL, chosen by MEADOWMARK_HEADLESS.
#include "platform/platform.h"

#include <cstdlib>
#include <cstring>

namespace {
bool g_modeSet = false;
PlatMode g_mode = PlatMode::Window;
}  // namespace

PlatMode platMode() {
  if (!g_modeSet) {
    const char* v = std::getenv("MEADOWMARK_HEADLESS");
    if (!v || !*v || std::strcmp(v, "0") == 0) g_mode = PlatMode::Window;
    else if (std::strcmp(v, "null") == 0) g_mode = PlatMode::HeadlessNull;
    else g_mode = PlatMode::HeadlessGL;
    g_modeSet = true;
  }
  return g_mode;
}

bool platIsHeadless() { return platMode() != PlatMode::Window; }

void platSetMode(PlatMode m) {
  g_mode = m;
  g_modeSet = true;
}
