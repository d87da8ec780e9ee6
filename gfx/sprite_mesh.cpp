// Sprite meshes: each triangle is clipped (Sutherland-Hodgman, in picture coordinates) to every tile
// of the frame it overlaps; positions and colours are interpolated along the cut edges, which is
// exact because both are linear over a triangle.
#include "gfx/sprite_mesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "gfx/render_device.h"
#include "gfx/render_state.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"

namespace {

struct Corner {
  float x, y, u, v;
  float c[4];  // the colour's bytes from the low one up
};

Corner Make(float x, float y, float u, float v, uint32_t argb) {
  Corner k{x, y, u, v, {}};
  for (int i = 0; i < 4; ++i) k.c[i] = float((argb >> (8 * i)) & 255u);
  return k;
}

Corner Lerp(const Corner& a, const Corner& b, float t) {
  Corner k{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.u + (b.u - a.u) * t, a.v + (b.v - a.v) * t, {}};
  for (int i = 0; i < 4; ++i) k.c[i] = a.c[i] + (b.c[i] - a.c[i]) * t;
  return k;
}

uint32_t Pack(const Corner& k) {
  uint32_t out = 0;
  for (int i = 0; i < 4; ++i) out |= uint32_t(std::clamp(int(std::lround(k.c[i])), 0, 255)) << (8 * i);
  return out;
}

// A convex polygon small enough for a triangle cut by four edges (3 + 4 corners at most).
struct Polygon {
  std::array<Corner, 8> p;
  int n = 0;
};

// Keeps the part where sign * (coordinate - edge) >= 0; axis 0 is u, 1 is v.
Polygon ClipEdge(const Polygon& in, int axis, float edge, float sign) {
  Polygon out;
  auto side = [&](const Corner& k) { return sign * ((axis == 0 ? k.u : k.v) - edge); };
  for (int i = 0; i < in.n; ++i) {
    const Corner& a = in.p[size_t(i)];
    const Corner& b = in.p[size_t((i + 1) % in.n)];
    const float sa = side(a), sb = side(b);
    if (sa >= 0 && out.n < 8) out.p[size_t(out.n++)] = a;
    if ((sa >= 0) != (sb >= 0) && out.n < 8) out.p[size_t(out.n++)] = Lerp(a, b, sa / (sa - sb));
  }
  return out;
}

// Texel of a picture coordinate inside a tile, honouring a tile stored mirrored.
float TexelU(const SpriteTile& t, float u) { return t.mirrorX ? t.right - (u - t.x) : t.left + (u - t.x); }
float TexelV(const SpriteTile& t, float v) { return t.mirrorY ? t.bottom - (v - t.y) : t.top + (v - t.y); }

bool Usable(CBaseSprite* s, int frame, int& row) {
  if (!s) return false;
  if (!s->loaded && !s->Load()) return false;
  if (!s->loaded || s->frames.empty()) return false;
  row = s->FrameRow(frame);
  return row >= 0 && row < s->Rows();
}

}  // namespace

bool sprBuildMesh(CBaseSprite* s, int frame, int n, const float* xy, const uint32_t* colors, const float* uv,
                  int triangles, const uint16_t* indices, std::vector<SpriteMeshPiece>& out) {
  out.clear();
  if (n < 3 || !xy || !uv || !indices || triangles <= 0) return false;
  for (int i = 0; i < triangles * 3; ++i)
    if (indices[i] >= n) return false;
  for (int i = 0; i < 2 * n; ++i)
    if (!std::isfinite(xy[i]) || !std::isfinite(uv[i])) return false;
  int row = 0;
  if (!Usable(s, frame, row)) return false;
  const auto& tiles = s->frames[size_t(row)];
  std::vector<size_t> pieceOf(tiles.size(), SIZE_MAX);
  for (int t = 0; t < triangles; ++t) {
    Polygon tri;
    float u0 = 1e30f, u1 = -1e30f, v0 = 1e30f, v1 = -1e30f;
    for (int k = 0; k < 3; ++k) {
      const int i = indices[3 * t + k];
      tri.p[size_t(k)] = Make(xy[2 * i], xy[2 * i + 1], uv[2 * i], uv[2 * i + 1], colors ? colors[i] : 0xFFFFFFFFu);
      u0 = std::min(u0, uv[2 * i]);
      u1 = std::max(u1, uv[2 * i]);
      v0 = std::min(v0, uv[2 * i + 1]);
      v1 = std::max(v1, uv[2 * i + 1]);
    }
    tri.n = 3;
    for (size_t ti = 0; ti < tiles.size(); ++ti) {
      const SpriteTile& tile = tiles[ti];
      if (!tile.texture || !tile.texture->width || !tile.texture->height) continue;
      const float x0 = tile.x, x1 = float(tile.x + (tile.right - tile.left));
      const float y0 = tile.y, y1 = float(tile.y + (tile.bottom - tile.top));
      if (u1 <= x0 || u0 >= x1 || v1 <= y0 || v0 >= y1) continue;
      Polygon p = ClipEdge(tri, 0, x0, 1.0f);
      p = ClipEdge(p, 0, x1, -1.0f);
      p = ClipEdge(p, 1, y0, 1.0f);
      p = ClipEdge(p, 1, y1, -1.0f);
      if (p.n < 3) continue;
      if (pieceOf[ti] == SIZE_MAX) {
        pieceOf[ti] = out.size();
        out.push_back(SpriteMeshPiece{tile.texture, {}});
      }
      std::vector<GpuVertex>& v = out[pieceOf[ti]].v;
      const float iw = 1.0f / float(tile.texture->width), ih = 1.0f / float(tile.texture->height);
      auto vertex = [&](const Corner& k) {
        return GpuVertex{k.x, k.y, 0.5f, Pack(k), 0u, TexelU(tile, k.u) * iw, TexelV(tile, k.v) * ih, 0.f, 0.f};
      };
      for (int k = 1; k + 1 < p.n; ++k) {
        v.push_back(vertex(p.p[0]));
        v.push_back(vertex(p.p[size_t(k)]));
        v.push_back(vertex(p.p[size_t(k + 1)]));
      }
    }
  }
  return true;
}

void grDrawSpriteMesh(uint32_t mode, uint8_t mask, CSprite* sprite, int frame, int n, const float* xy,
                      const uint32_t* colors, const float* uv, int triangles, const uint16_t* indices) {
  CBaseSprite* s = dynamic_cast<CBaseSprite*>(sprite);
  std::vector<SpriteMeshPiece> pieces;
  if (!sprBuildMesh(s, frame, n, xy, colors, uv, triangles, indices, pieces)) return;
  const GrRenderMode m{sprResolveMode(s, mode, mask), mask};
  // Handed over in chunks that fit one batch; sequential indices let the chunks join.
  constexpr int kChunkTriangles = 300;
  std::vector<uint16_t> seq(size_t(kChunkTriangles) * 3);
  for (size_t i = 0; i < seq.size(); ++i) seq[i] = uint16_t(i);
  for (const SpriteMeshPiece& piece : pieces) {
    const int count = int(piece.v.size()) / 3;
    for (int first = 0; first < count; first += kChunkTriangles) {
      const int tris = std::min(kChunkTriangles, count - first);
      grAppend(BatchKind::TriangleList, m, piece.texture, piece.v.data() + size_t(first) * 3, tris * 3, tris,
               seq.data(), tris * 3);
    }
  }
}
