// Reading a fog picture through the file layer (loose files or the pack archive).
#include "game/core/fog_picture.h"

#include <algorithm>

#include "base/diag.h"
#include "gfx/image.h"
#include "game/core/map_tail.h"

bool fogReadPicture(const std::string& path, MapFog& fog) {
  cPNGImage img;
  const bool read = img.Load(path.c_str()) == 0 && !img.Empty();
  const int w = read ? img.Width() : 0, h = read ? img.Height() : 0, step = read ? img.BitsPerPixel() / 8 : 0;
  if (w <= 0 || h <= 0 || (step != 3 && step != 4)) {
    errorLog("%s: cannot be read as a PNG picture of the starting fog; the level starts under full fog\n",
             path.c_str());
    return false;
  }
  const bool vertexSized = w == kFogColumns && h == kFogRows + 1;
  // Opacity of the vertex at column c, row r (0 to 78): luma times the picture's alpha.
  auto vertex = [&](int c, int r) {
    int px = vertexSized ? c : 10 * c * w / 1024, py = vertexSized ? r : 10 * r * h / 768;
    px = std::clamp(px, 0, w - 1);
    py = std::clamp(py, 0, h - 1);
    const uint8_t* p = img.Row(py) + size_t(px) * size_t(step);  // blue, green, red (, alpha)
    const int a = step == 4 ? p[3] : 255;
    const int grey = (p[2] * 299 + p[1] * 587 + p[0] * 114 + 500) / 1000;
    return float(grey * a / 255) / 255.0f;
  };
  for (int r = 0; r < kFogRows; ++r)
    for (int c = 0; c < kFogColumns; ++c) {
      fog.alpha[r][c][0] = vertex(c, r);
      fog.alpha[r][c][1] = vertex(c, r + 1);
    }
  return true;
}
