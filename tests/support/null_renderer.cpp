// The null renderer for tests.
#include "null_renderer.h"

#include "gfx/render.h"
#include "platform/platform.h"

namespace testkit {

bool StartNullRenderer(const char* title) {
  if (grIsReady()) return true;
  platSetMode(PlatMode::HeadlessNull);
  return platVideoInit() && platWindowCreate(title, 0, 0, 1024, 768, false) &&
         grInit(kLogicalWidth, kLogicalHeight, 32, false) == 0;
}

void StopNullRenderer() {
  grDone(false);
  platWindowDestroy();
  platVideoDone();
}

}  // namespace testkit
