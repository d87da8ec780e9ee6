// Reading back what real OpenGL drew: whether a real device is up, and one pixel of a frame read
// back as RGBA rows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/render.h"
#include "gfx/render_device.h"

namespace testkit {

inline bool GlUp() { return grIsReady() && grDevice() && grDevice()->IsReal(); }

struct Px {
  int r, g, b;
};

// The colour at (x, y) of a frame `w` pixels wide.
inline Px At(const std::vector<uint8_t>& f, int w, int x, int y) {
  const uint8_t* p = &f[(size_t(y) * w + x) * 4];
  return {p[0], p[1], p[2]};
}

}  // namespace testkit
