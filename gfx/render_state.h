// The renderer's one global state, shared by the renderer's own files (frame and modes, batching,
// debug output). Nothing outside gfx/render*.cpp includes this.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "gfx/render.h"
#include "gfx/render_device.h"

enum class BatchKind : uint8_t { None, Quads, LineList, LineStrip, TriangleList, TriangleStrip };

struct GrBatch {
  BatchKind kind = BatchKind::None;
  GrRenderMode mode;
  CBaseTexture* tex0 = nullptr;
  CBaseTexture* tex1 = nullptr;
  bool indexed = false;
  int vertices = 0;
  int primitives = 0;
  int first = 0;  // first vertex in the ring
};

constexpr int kRingVertices = 2048;
constexpr int kMaxBatchPrimitives = 1024;
constexpr int kDynamicIndices = 3072;  // 6144 bytes of 16-bit indices

struct GrState {
  std::unique_ptr<PlatGpu> gpu;
  int logicalW = 0, logicalH = 0;
  float scaleX = 1, scaleY = 1;
  int offsetX = 0, offsetY = 0;
  bool fullScreen = false;
  int bits = 0;
  int sceneState = -1;  // -1 before the first frame, 1 inside one, 0 otherwise
  bool everBegun = false;
  int backW = 0, backH = 0;
  int maxTexture = 0;
  TexturePixelFormat colorFormat, alphaFormat, maskFormat;
  int clipX = 0, clipY = 0, clipW = 0, clipH = 0;
  bool backBuffer = false;
  int spriteQuality = 0;

  // Cache of what the device was last told; `valid` false forces every value to be sent.
  struct Cache {
    bool valid = false;
    GpuState state;
    GrRenderMode mode;
    GpuTexture texture = 0;
  } cache;
  std::array<int, kStatCount> stats{};

  GrBatch batch;
  std::vector<GpuVertex> ring = std::vector<GpuVertex>(kRingVertices);
  int ringPos = 0;
  std::vector<uint16_t> indices;  // the open indexed batch
  std::vector<uint16_t> quadIndices;

  std::vector<std::array<float, 16>> transforms;  // saved world transforms
  std::array<float, 16> world{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  std::string pendingShot;
};

GrState& grState();
void grFlush();
// Applies the clip rectangle to the device (viewport and projection) without clamping.
void grApplyClip();
// Recomputes scale and offsets from the device's drawable size.
void grUpdateScaling();
// Appends vertices for one primitive, flushing first when it cannot join the open batch. Returns
// the index of the first vertex written in the ring, or -1 outside a frame.
int grAppend(BatchKind kind, GrRenderMode mode, CBaseTexture* tex, const GpuVertex* v, int count, int primitives,
             const uint16_t* indices = nullptr, int indexCount = 0);
// The render mode of untextured primitives for a colour.
GrRenderMode grUntexturedMode(uint32_t argb);
