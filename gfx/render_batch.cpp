// Batching: every primitive is appended to one vertex ring and drawn together with its neighbours
// when they share type, render mode and textures; render states go to the device only when they
// change. Rectangles, lines and meshes are built here.
#include <algorithm>
#include <cstring>

#include "gfx/render_state.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"

namespace {

GpuState StateFor(GrRenderMode m) {
  GpuState s;
  const uint8_t b0 = uint8_t(m.word), b1 = uint8_t(m.word >> 8), b3 = uint8_t(m.word >> 24);
  s.alphaOp = b0;
  s.colorOp = b1;
  s.srcBlend = b3 & 15;
  s.dstBlend = b3 >> 4;
  // Alpha test and blending go together: on for an alpha operation, or for factors other than the
  // usual source-alpha pair.
  s.blend = s.alphaTest = b0 > 1 || (s.srcBlend != 5 && s.dstBlend != 6);
  s.writeMask = m.mask;
  return s;
}

void ApplyState(GrState& g) {
  const GrRenderMode mode = g.batch.mode;
  GpuTexture tex = g.batch.tex0 ? g.batch.tex0->Device() : 0;
  auto& c = g.cache;
  if (!c.valid || !(c.mode == mode)) {
    const GpuState s = StateFor(mode);
    const GpuState& o = c.state;
    if (!c.valid) {
      g.stats[kStatStageState] += 3;
      g.stats[kStatRenderState] += 5;
    } else {
      g.stats[kStatStageState] += (uint8_t(mode.word >> 16) != uint8_t(c.mode.word >> 16)) + (s.colorOp != o.colorOp) +
                                  (s.alphaOp != o.alphaOp);
      g.stats[kStatRenderState] += 2 * (s.blend != o.blend) + (s.srcBlend != o.srcBlend) + (s.dstBlend != o.dstBlend) +
                                   (s.writeMask != o.writeMask);
    }
    g.gpu->SetState(s);
    c.state = s;
    c.mode = mode;
  }
  if (!c.valid || c.texture != tex) {
    g.gpu->SetTexture(tex);
    c.texture = tex;
    ++g.stats[kStatTexture];
  }
  if (!c.valid) ++g.stats[kStatShader];
  c.valid = true;
}

bool SameBatch(const GrBatch& b, BatchKind kind, GrRenderMode mode, CBaseTexture* tex, bool indexed) {
  return b.kind == kind && b.mode == mode && b.tex0 == tex && b.tex1 == nullptr && b.indexed == indexed;
}

}  // namespace

GrRenderMode grUntexturedMode(uint32_t argb) {
  GrRenderMode m;
  m.word = grModeWord((argb >> 24) < 255 ? 3 : 1, 3, 1, 6, 5);
  return m;
}

void grFlush() {
  GrState& g = grState();
  GrBatch& b = g.batch;
  if (b.kind == BatchKind::None || b.vertices == 0 || !g.gpu) {
    b.kind = BatchKind::None;
    b.vertices = b.primitives = 0;
    b.first = g.ringPos;
    g.indices.clear();
    return;
  }
  if (g.gpu->IsUsable()) {
    ApplyState(g);
    const GpuVertex* v = &g.ring[size_t(b.first)];
    switch (b.kind) {
      case BatchKind::Quads:
        if (b.vertices > 4) g.gpu->Draw(GpuPrim::TriangleList, v, b.vertices, g.quadIndices.data(), b.vertices / 4 * 6);
        else g.gpu->Draw(GpuPrim::TriangleStrip, v, 4, nullptr, 0);
        break;
      case BatchKind::TriangleList:
        g.gpu->Draw(GpuPrim::TriangleList, v, b.vertices, b.indexed ? g.indices.data() : nullptr,
                    b.indexed ? int(g.indices.size()) : 0);
        break;
      case BatchKind::TriangleStrip: g.gpu->Draw(GpuPrim::TriangleStrip, v, b.vertices, nullptr, 0); break;
      case BatchKind::LineList: g.gpu->Draw(GpuPrim::LineList, v, b.vertices, nullptr, 0); break;
      case BatchKind::LineStrip: g.gpu->Draw(GpuPrim::LineStrip, v, b.vertices, nullptr, 0); break;
      case BatchKind::None: break;
    }
    ++g.stats[kStatDrawPrimitive];
    g.stats[kStatPolygons] += b.primitives;
    g.stats[kStatVertices] += b.vertices;
  }
  b.kind = BatchKind::None;
  b.vertices = b.primitives = 0;
  b.first = g.ringPos;
  g.indices.clear();
}

int grAppend(BatchKind kind, GrRenderMode mode, CBaseTexture* tex, const GpuVertex* v, int count, int primitives,
             const uint16_t* indices, int indexCount) {
  GrState& g = grState();
  if (g.sceneState != 1 || !g.gpu || count <= 0 || count > kRingVertices) return -1;
  GrBatch& b = g.batch;
  const bool indexed = indices != nullptr;
  // Strips cannot be joined; lists and quads can, while the batch stays below its limits.
  const bool joinable = kind == BatchKind::Quads || kind == BatchKind::LineList ||
                        (kind == BatchKind::TriangleList && indexed);
  if (!(joinable && SameBatch(b, kind, mode, tex, indexed) && b.vertices + count < kRingVertices &&
        b.primitives + primitives < kMaxBatchPrimitives && g.ringPos + count < kRingVertices &&
        int(g.indices.size()) + indexCount <= kDynamicIndices))
    grFlush();
  if (g.ringPos + count >= kRingVertices) {
    g.ringPos = 0;  // the write would reach the end of the ring: start over (a discarding lock)
    b.first = 0;
  }
  if (b.kind == BatchKind::None) {
    b.kind = kind;
    b.mode = mode;
    b.tex0 = tex;
    b.tex1 = nullptr;
    b.indexed = indexed;
    b.first = g.ringPos;
  }
  const int base = b.vertices;
  std::memcpy(&g.ring[size_t(g.ringPos)], v, size_t(count) * sizeof(GpuVertex));
  for (int i = 0; i < indexCount; ++i) g.indices.push_back(uint16_t(indices[i] + base));
  g.ringPos += count;
  b.vertices += count;
  b.primitives += primitives;
  return g.ringPos - count;
}

namespace {

GpuVertex Vtx(float x, float y, uint32_t c, float u = 0, float v = 0) {
  return GpuVertex{x, y, 0.5f, c, 0u, u, v, 0.f, 0.f};
}

}  // namespace

void grFillRect(int x1, int y1, int x2, int y2, uint32_t argb) {
  const GpuVertex v[4] = {Vtx(float(x1), float(y1), argb), Vtx(float(x2), float(y1), argb),
                          Vtx(float(x1), float(y2), argb), Vtx(float(x2), float(y2), argb)};
  grAppend(BatchKind::Quads, grUntexturedMode(argb), nullptr, v, 4, 2);
}

// Lines run through pixel centres so that a line at integer coordinates lights those pixels.
void grFrameRect(int x1, int y1, int x2, int y2, uint32_t argb) {
  const float a = float(x1) + 0.5f, b = float(y1) + 0.5f, c = float(x2) + 0.5f, d = float(y2) + 0.5f;
  const GpuVertex v[5] = {Vtx(a, b, argb), Vtx(c, b, argb), Vtx(c, d, argb), Vtx(a, d, argb), Vtx(a, b, argb)};
  if (grAppend(BatchKind::LineStrip, grUntexturedMode(argb), nullptr, v, 5, 4) >= 0) grFlush();
}

void grLine(int x1, int y1, int x2, int y2, uint32_t argb) {
  const GpuVertex v[2] = {Vtx(float(x1) + 0.5f, float(y1) + 0.5f, argb), Vtx(float(x2) + 0.5f, float(y2) + 0.5f, argb)};
  grAppend(BatchKind::LineList, grUntexturedMode(argb), nullptr, v, 2, 1);
}

void grDrawQuads(GrRenderMode mode, CBaseTexture* texture, const GpuVertex* v, int quads) {
  for (int q = 0; q < quads; ++q) grAppend(BatchKind::Quads, mode, texture, v + 4 * q, 4, 2);
}

namespace {

void Mesh(uint32_t word, uint8_t mask, CBaseTexture* tex, int n, const float* xy, const uint32_t* colors,
          const float* uv, float u0, float v0, float us, float vs, int triangles, const uint16_t* indices) {
  if (n < 3 || n > kRingVertices || !xy) return;
  if (indices) {
    if (triangles <= 0 || triangles > kMaxBatchPrimitives) return;
    for (int i = 0; i < triangles * 3; ++i)
      if (indices[i] >= n) return;
  }
  std::vector<GpuVertex> v(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const float u = uv ? u0 + uv[2 * i] * us : 0.f, w = uv ? v0 + uv[2 * i + 1] * vs : 0.f;
    v[size_t(i)] = Vtx(xy[2 * i], xy[2 * i + 1], colors ? colors[i] : 0xFFFFFFFFu, u, w);
  }
  GrRenderMode mode{word, mask};
  int at = indices ? grAppend(BatchKind::TriangleList, mode, tex, v.data(), n, triangles, indices, triangles * 3)
                   : grAppend(BatchKind::TriangleStrip, mode, tex, v.data(), n, n - 2);
  if (at >= 0) grFlush();
}

}  // namespace

void grDrawMesh(uint32_t mode, int n, const float* xy, const uint32_t* colors, int triangles,
                const uint16_t* indices, uint8_t mask) {
  Mesh(mode, mask, nullptr, n, xy, colors, nullptr, 0, 0, 0, 0, triangles, indices);
}

void grDrawTextureMesh(uint32_t mode, CBaseTexture* texture, int n, const float* xy, const uint32_t* colors,
                       const float* uv, int triangles, const uint16_t* indices, uint8_t mask) {
  Mesh(mode, mask, texture, n, xy, colors, uv, 0, 0, 1, 1, triangles, indices);
}

void grDrawTexturedMesh(uint32_t mode, CSprite* sprite, int n, const float* xy, const uint32_t* colors,
                        const float* uv, int triangles, const uint16_t* indices, uint8_t mask) {
  const SpriteTile* tile = sprSingleTile(sprite);
  if (!tile || !tile->texture || tile->texture->width == 0 || tile->texture->height == 0) return;
  // The sprite's 0..1 maps onto its tile's texel rectangle.
  const float tw = tile->texture->width, th = tile->texture->height;
  Mesh(mode, mask, tile->texture, n, xy, colors, uv, tile->left / tw, tile->top / th, (tile->right - tile->left) / tw,
       (tile->bottom - tile->top) / th, triangles, indices);
}
