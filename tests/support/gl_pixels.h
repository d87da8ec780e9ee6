// Reading back what real OpenGL drew: whether a real device is up, a frame drawn over a filled
// screen and read back as RGBA rows, and one pixel of such a frame.
#pragma once
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
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

// What `draw` puts over a screen filled with `back`, read back (`w` x `h` pixels) before the frame
// is shown.
inline std::vector<uint8_t> DrawnFrame(uint32_t back, const std::function<void()>& draw, int& w, int& h) {
  grBeginScene();
  grFillRect(0, 0, kLogicalWidth, kLogicalHeight, back);
  draw();
  std::vector<uint8_t> f;
  EXPECT_TRUE(grReadFrame(f, w, h));
  grFlip(nullptr, nullptr);
  return f;
}

}  // namespace testkit
