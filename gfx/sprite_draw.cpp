// Drawing sprite frames: source rectangles scaled onto screen rectangles (mirrored by negative
// sizes), per-corner colours mixed bilinearly, free quads, and the automatic render mode.
#include <algorithm>
#include <cmath>
#include <utility>

#include "gfx/render.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"

namespace {

CBaseSprite* Base(CSprite* s) { return dynamic_cast<CBaseSprite*>(s); }

int Weight(float t) { return std::clamp(int(std::lround(t * 256.0f)), 0, 256); }

// The four corner colours (top-left, top-right, bottom-right, bottom-left) mixed at weights wx, wy
// out of 256, per channel, the sum shifted right by 16.
uint32_t Mix(const uint32_t c[4], int wx, int wy) {
  if (c[0] == c[1] && c[1] == c[2] && c[2] == c[3]) return c[0];
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t tl = (c[0] >> shift) & 255, tr = (c[1] >> shift) & 255, br = (c[2] >> shift) & 255,
                   bl = (c[3] >> shift) & 255;
    const uint32_t v = (tl * uint32_t(256 - wx) * uint32_t(256 - wy) + tr * uint32_t(wx) * uint32_t(256 - wy) +
                        br * uint32_t(wx) * uint32_t(wy) + bl * uint32_t(256 - wx) * uint32_t(wy)) >>
                       16;
    out |= std::min<uint32_t>(v, 255) << shift;
  }
  return out;
}

const uint32_t kWhite[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
const uint32_t kNone[4] = {0, 0, 0, 0};

// Texel edge for a frame edge c of a tile, honouring a tile whose texels are mirrored.
float TexelX(const SpriteTile& t, float c) { return t.mirrorX ? t.right - (c - t.x) : t.left + (c - t.x); }
float TexelY(const SpriteTile& t, float c) { return t.mirrorY ? t.bottom - (c - t.y) : t.top + (c - t.y); }

bool Ready(CBaseSprite* s, int frame, int& row) {
  if (!s) return false;
  if (!s->loaded && !s->Load()) return false;
  if (!s->loaded || s->frames.empty()) return false;
  row = s->FrameRow(frame);
  return row >= 0 && row < s->Rows();
}

void Submit(uint32_t mode, uint8_t mask, const std::vector<SpriteQuad>& quads) {
  for (const SpriteQuad& q : quads) grDrawQuads(GrRenderMode{mode, mask}, q.texture, q.v, 1);
}

}  // namespace

uint32_t sprResolveMode(CBaseSprite* s, uint32_t mode, uint8_t& mask) {
  // Only the whole automatic word lets the sprite choose: a caller that asks for another blend
  // (additive, say) with the same first bytes keeps it.
  if (mode != kModeAuto) return mode;
  mask = 15;
  return grModeWord(s && s->FirstTextureHasAlpha() ? 2 : 1, 2, 1, 6, 5);
}

bool sprBuildQuads(CBaseSprite* s, float x, float y, float w, float h, float sx, float sy, float sw, float sh,
                   const uint32_t colors[4], const uint32_t added[4], int frame, std::vector<SpriteQuad>& out) {
  out.clear();
  if (!s || w == 0 || h == 0 || !(sw > 0) || !(sh > 0)) return false;
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(w) || !std::isfinite(h)) return false;
  int row = 0;
  if (!Ready(s, frame, row)) return false;
  // The source rectangle must lie inside the frame.
  if (sx < 0 || sy < 0 || sx + sw > s->width || sy + sh > s->height) return false;
  if (!colors) colors = kWhite;
  if (!added) added = kNone;
  const float kx = w / sw, ky = h / sh;
  const float aw = std::fabs(w), ah = std::fabs(h);
  const float ox = x + (w < 0 ? aw : 0) - sx * kx, oy = y + (h < 0 ? ah : 0) - sy * ky;
  for (const SpriteTile& t : s->frames[size_t(row)]) {
    if (!t.texture || !t.texture->width || !t.texture->height) continue;
    const float tw = float(t.right - t.left), th = float(t.bottom - t.top);
    const float cx0 = std::max<float>(t.x, sx), cx1 = std::min<float>(t.x + tw, sx + sw);
    const float cy0 = std::max<float>(t.y, sy), cy1 = std::min<float>(t.y + th, sy + sh);
    if (cx0 >= cx1 || cy0 >= cy1) continue;
    float X0 = ox + kx * cx0, X1 = ox + kx * cx1, Y0 = oy + ky * cy0, Y1 = oy + ky * cy1;
    float u0 = TexelX(t, cx0), u1 = TexelX(t, cx1), v0 = TexelY(t, cy0), v1 = TexelY(t, cy1);
    // A negative scale puts the later source edge on the left (top): exchange so the picture shows
    // mirrored while the vertices stay in screen order.
    if (X0 > X1) {
      std::swap(X0, X1);
      std::swap(u0, u1);
    }
    if (Y0 > Y1) {
      std::swap(Y0, Y1);
      std::swap(v0, v1);
    }
    const float iw = 1.0f / t.texture->width, ih = 1.0f / t.texture->height;
    SpriteQuad q;
    q.texture = t.texture;
    const float px[4] = {X0, X1, X0, X1}, py[4] = {Y0, Y0, Y1, Y1};
    const float pu[4] = {u0, u1, u0, u1}, pv[4] = {v0, v0, v1, v1};
    for (int i = 0; i < 4; ++i) {
      const int wx = Weight((px[i] - x) / aw), wy = Weight((py[i] - y) / ah);
      q.v[i] = GpuVertex{px[i], py[i], 0.5f, Mix(colors, wx, wy), Mix(added, wx, wy), pu[i] * iw, pv[i] * ih, 0, 0};
    }
    out.push_back(q);
  }
  return true;
}

bool sprBuildQuadsOnQuad(CBaseSprite* s, const float xy[8], const float src[8], const uint32_t colors[4],
                         const uint32_t added[4], int frame, std::vector<SpriteQuad>& out) {
  out.clear();
  if (!s || !xy || !src) return false;
  // The source points must be an axis-aligned rectangle: top-left, top-right, bottom-right, bottom-left.
  if (src[1] != src[3] || src[2] != src[4] || src[5] != src[7] || src[6] != src[0]) return false;
  float x0 = src[0], x1 = src[2], y0 = src[1], y1 = src[5];
  if (x0 == x1 || y0 == y1) return false;
  // Corners in the order top-left, top-right, bottom-right, bottom-left; a source given right to
  // left (or bottom to top) is turned round together with its destination corners.
  float P[4][2] = {{xy[0], xy[1]}, {xy[2], xy[3]}, {xy[4], xy[5]}, {xy[6], xy[7]}};
  uint32_t C[4], A[4];
  for (int i = 0; i < 4; ++i) {
    C[i] = colors ? colors[i] : 0xFFFFFFFFu;
    A[i] = added ? added[i] : 0;
  }
  auto swapCorners = [&](int a, int b) {
    std::swap(P[a][0], P[b][0]);
    std::swap(P[a][1], P[b][1]);
    std::swap(C[a], C[b]);
    std::swap(A[a], A[b]);
  };
  if (x1 < x0) {
    std::swap(x0, x1);
    swapCorners(0, 1);
    swapCorners(3, 2);
  }
  if (y1 < y0) {
    std::swap(y0, y1);
    swapCorners(0, 3);
    swapCorners(1, 2);
  }
  for (const auto& p : P)
    if (!std::isfinite(p[0]) || !std::isfinite(p[1])) return false;
  int row = 0;
  if (!Ready(s, frame, row)) return false;
  if (x0 < 0 || y0 < 0 || x1 > s->width || y1 > s->height) return false;
  const float iw0 = 1.0f / (x1 - x0), ih0 = 1.0f / (y1 - y0);
  for (const SpriteTile& t : s->frames[size_t(row)]) {
    if (!t.texture || !t.texture->width || !t.texture->height) continue;
    const float tw = float(t.right - t.left), th = float(t.bottom - t.top);
    const float cx0 = std::max<float>(t.x, x0), cx1 = std::min<float>(t.x + tw, x1);
    const float cy0 = std::max<float>(t.y, y0), cy1 = std::min<float>(t.y + th, y1);
    if (cx0 >= cx1 || cy0 >= cy1) continue;
    // Parameters of the overlap's edges inside the source rectangle; the destination corners move
    // along the quad's edges in the same proportion.
    const float us[4] = {(cx0 - x0) * iw0, (cx1 - x0) * iw0, (cx0 - x0) * iw0, (cx1 - x0) * iw0};
    const float vs[4] = {(cy0 - y0) * ih0, (cy0 - y0) * ih0, (cy1 - y0) * ih0, (cy1 - y0) * ih0};
    const float tu[4] = {TexelX(t, cx0), TexelX(t, cx1), TexelX(t, cx0), TexelX(t, cx1)};
    const float tv[4] = {TexelY(t, cy0), TexelY(t, cy0), TexelY(t, cy1), TexelY(t, cy1)};
    SpriteQuad q;
    q.texture = t.texture;
    for (int i = 0; i < 4; ++i) {
      const float u = us[i], v = vs[i];
      const float a = (1 - u) * (1 - v), b = u * (1 - v), c = u * v, d = (1 - u) * v;
      const float px = a * P[0][0] + b * P[1][0] + c * P[2][0] + d * P[3][0];
      const float py = a * P[0][1] + b * P[1][1] + c * P[2][1] + d * P[3][1];
      const int wx = Weight(u), wy = Weight(v);
      q.v[i] = GpuVertex{px, py, 0.5f, Mix(C, wx, wy), Mix(A, wx, wy), tu[i] / t.texture->width,
                         tv[i] / t.texture->height, 0, 0};
    }
    out.push_back(q);
  }
  return true;
}

void grDrawSpriteEx(uint32_t mode, uint8_t mask, float x, float y, float w, float h, CSprite* sprite, float sx,
                    float sy, float sw, float sh, const uint32_t colors[4], const uint32_t added[4], int frame) {
  if (!grInScene()) return;
  CBaseSprite* s = Base(sprite);
  static std::vector<SpriteQuad> quads;  // kept between calls: text draws one glyph per call
  if (!sprBuildQuads(s, x, y, w, h, sx, sy, sw, sh, colors, added, frame, quads)) return;
  mode = sprResolveMode(s, mode, mask);
  Submit(mode, mask, quads);
}

void grDrawSpriteEx(uint32_t mode, uint8_t mask, int x, int y, int w, int h, CSprite* sprite, int sx, int sy,
                    int sw, int sh, uint32_t argb, int frame) {
  const uint32_t c[4] = {argb, argb, argb, argb};
  grDrawSpriteEx(mode, mask, float(x), float(y), float(w), float(h), sprite, float(sx), float(sy), float(sw),
                 float(sh), c, nullptr, frame);
}

void grDrawSprite(uint32_t mode, uint8_t mask, int x, int y, int w, int h, CSprite* sprite, int sx, int sy,
                  uint32_t argb, int frame) {
  grDrawSpriteEx(mode, mask, x, y, w, h, sprite, sx, sy, std::abs(w), std::abs(h), argb, frame);
}

void grDrawSpriteQuad(uint32_t mode, uint8_t mask, const float xy[8], CSprite* sprite, const float src[8],
                      const uint32_t colors[4], const uint32_t added[4], int frame) {
  if (!grInScene()) return;
  CBaseSprite* s = Base(sprite);
  static std::vector<SpriteQuad> quads;
  if (!sprBuildQuadsOnQuad(s, xy, src, colors, added, frame, quads)) return;
  mode = sprResolveMode(s, mode, mask);
  Submit(mode, mask, quads);
}

void sprDrawRotated(uint32_t mode, uint8_t mask, float cx, float cy, float angle, float scaleX, float scaleY,
                    CSprite* sprite, uint32_t argb, int frame) {
  CBaseSprite* s = Base(sprite);
  if (!s || (!s->loaded && !s->Load())) return;
  const float w = s->width * scaleX, h = s->height * scaleY;
  const float ca = std::cos(angle), sa = std::sin(angle);
  const float dx[4] = {-w / 2, w / 2, w / 2, -w / 2}, dy[4] = {-h / 2, -h / 2, h / 2, h / 2};
  float xy[8];
  for (int i = 0; i < 4; ++i) {
    xy[2 * i] = cx + dx[i] * ca + dy[i] * sa;
    xy[2 * i + 1] = cy + dy[i] * ca - dx[i] * sa;
  }
  const float sw = s->width, sh = s->height;
  const float src[8] = {0, 0, sw, 0, sw, sh, 0, sh};
  const uint32_t c[4] = {argb, argb, argb, argb};
  grDrawSpriteQuad(mode, mask, xy, sprite, src, c, nullptr, frame);
}

void sprDrawStretched(CSprite* sprite, int x1, int y1, int x2, int y2, uint32_t modeWord, bool mirrorX,
                      uint32_t argb) {
  CBaseSprite* s = Base(sprite);
  if (!s || (!s->loaded && !s->Load()) || s->width <= 0 || s->height <= 0) return;
  const uint32_t c[4] = {argb, argb, argb, argb};
  const float w = float(x2 - x1);
  grDrawSpriteEx(modeWord, 15, float(x1), float(y1), mirrorX ? -w : w, float(y2 - y1), sprite, 0.0f, 0.0f,
                 float(s->width), float(s->height), c, nullptr, 0);
}

const SpriteTile* sprSingleTile(CSprite* sprite) {
  CBaseSprite* s = Base(sprite);
  if (!s || s->frames.size() != 1 || s->frames[0].size() != 1) return nullptr;
  return &s->frames[0][0];
}
