// Helpers of the animation tests: the null renderer, scratch files (catalogues and frame strips
// written into the working folder), gerr.log capture and vertex counts of what was drawn.
#pragma once
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "anim/anim_catalogue.h"
#include "base/diag.h"
#include "gfx/image.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "support/test_files.h"

namespace animtest {

inline void writeText(const std::string& path, const std::string& text) { testkit::writeFile(path, text); }
inline std::string readText(const std::string& path) { return testkit::readFile(path); }

// A strip of `rows` frames of w x h pixels, each row a different grey.
inline void writeStrip(const std::string& path, int w, int h, int rows) {
  auto slash = path.rfind('/');
  if (slash != std::string::npos) platMakeDirs(path.substr(0, slash));
  std::vector<uint8_t> rgba(size_t(w) * h * rows * 4);
  for (int r = 0; r < rows; ++r)
    for (size_t i = size_t(r) * w * h * 4; i < size_t(r + 1) * w * h * 4; i += 4) {
      rgba[i] = rgba[i + 1] = rgba[i + 2] = uint8_t(40 * r);
      rgba[i + 3] = 255;
    }
  ASSERT_TRUE(imgSavePNG(path.c_str(), rgba.data(), w, h * rows));
}

// gerr.log written between construction and Text().
class ErrorCapture {
 public:
  ErrorCapture() {
    errorLogClose();
    platRemoveFile("gerr.log");
  }
  std::string Text() {
    errorLogClose();
    return readText("gerr.log");
  }
};

// Vertices sent to the device by `draw` inside one frame.
template <class F>
int verticesDrawnBy(F draw) {
  grBeginScene();
  grSetClip(0, 0, kLogicalWidth, kLogicalHeight);  // flushes what came before
  const int before = grStatistic(kStatVertices);
  draw();
  grSetClip(0, 0, kLogicalWidth, kLogicalHeight);
  const int n = grStatistic(kStatVertices) - before;
  grFlip(nullptr, nullptr);
  return n;
}

}  // namespace animtest
