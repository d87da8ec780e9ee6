// Test support: the renderer on its null device behind a headless window, so sprites, fonts and
// textures load and batches count without a GPU.
#pragma once

namespace testkit {
// Brings it up unless it is up already; false when a step fails.
bool StartNullRenderer(const char* title);
void StopNullRenderer();
}  // namespace testkit
