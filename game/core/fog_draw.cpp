// Drawing the fog: each row of the grid is a strip of quads between its upper and lower vertices,
// over the runs of columns that still hold some fog, textured with the grey copy of the background
// laid 1:1 over the map, and shaded by the vertex opacities.
#include <vector>

#include "game/core/fog.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"
#include "gfx/sprite_mesh.h"

namespace Map {

void cFog::Draw(const DrawContext& dc) {
  const float mapW = float(kLogicalWidth), mapH = float(kLogicalHeight);
  const float spriteW = m_grey ? float(sprWidth(m_grey)) : 0.0f, spriteH = m_grey ? float(sprHeight(m_grey)) : 0.0f;
  const bool textured = m_grey && spriteW > 0 && spriteH > 0;
  std::vector<float> xy, uv;
  std::vector<uint32_t> colours;
  std::vector<uint16_t> indices;
  for (int r = 0; r < kRows; ++r) {
    const auto runs = Runs(r);
    if (runs.empty()) continue;
    xy.clear();
    uv.clear();
    colours.clear();
    indices.clear();
    for (const auto& [first, last] : runs) {
      const uint16_t base = uint16_t(xy.size() / 2);
      for (int c = first; c <= last + 1; ++c)
        for (int lower = 0; lower < 2; ++lower) {
          const float px = float(c * kFogCell), py = float(r * kFogCell + lower * kFogCell);
          xy.push_back(px + dc.offsetX);
          xy.push_back(py + dc.offsetY);
          uv.push_back(px / mapW * spriteW);
          uv.push_back(py / mapH * spriteH);
          const uint32_t a = uint32_t(Alpha(r, c, lower != 0)) * dc.alpha / 255u;
          colours.push_back((m_lower.empty() ? 0u : (lower ? m_lower : m_upper)[size_t(r) * kColumns + size_t(c)] &
                                                        0x00FFFFFFu) |
                            (a << 24));
        }
      // Vertex 2k is the upper and 2k + 1 the lower vertex of the run's k-th column.
      for (int k = 0; k <= last - first; ++k) {
        const uint16_t u0 = uint16_t(base + 2 * k), l0 = uint16_t(u0 + 1), u1 = uint16_t(u0 + 2), l1 = uint16_t(u0 + 3);
        indices.insert(indices.end(), {u0, u1, l0, u1, l1, l0});
      }
    }
    const int n = int(xy.size() / 2), triangles = int(indices.size() / 3);
    if (textured)
      grDrawSpriteMesh(kModeTintFade, 15, m_grey, 0, n, xy.data(), colours.data(), uv.data(), triangles,
                       indices.data());
    else
      grDrawMesh(grModeWord(3, 3, 1, 6, 5), n, xy.data(), colours.data(), triangles, indices.data());
  }
}

}  // namespace Map
