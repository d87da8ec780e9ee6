// The graphics device the game hands to the particle library: vertex buffers in memory, textures
// on particle atlas pages, and quads drawn through the renderer's batch.
#pragma once
#include <cstdint>
#include <vector>

#include "anim/pyro_graphics.h"
#include "gfx/render_device.h"
#include "platform/gpu.h"

namespace PyroParticles {

class CPyroTexture;

// A raw vertex buffer of 49152 bytes (512 quads).
class CPyroVertexBuffer : public PyroGraphics::CVertexBuffer {
 public:
  static constexpr int kBytes = 49152;
  CPyroVertexBuffer() : bytes_(kBytes / sizeof(PyroGraphics::Vertex)) {}
  int SizeBytes() const override { return kBytes; }
  void* Lock() override { return bytes_.data(); }
  void Unlock() override {}

 private:
  std::vector<PyroGraphics::Vertex> bytes_;
};

class CPyroGraphics : public PyroGraphics::IDevice {
 public:
  int Init() override { return 0; }
  // Render-mode blend byte = (destination + 1) x 16 + (source + 1).
  void SetBlend(int source, int destination) override;
  PyroGraphics::CVertexBuffer* CreateVertexBuffer() override { return new CPyroVertexBuffer; }
  PyroGraphics::IVertexBuffer* CreateVertexBuffer2(PyroGraphics::CVertexBuffer* buffer) override;
  int CreateIndexBuffer() override { return -1; }
  PyroGraphics::ITexture* CreateTexture(const PyroGraphics::CBitmap* bitmap) override;
  PyroGraphics::CBitmap* CreateBitmap(int width, int height, int format, const void* pixels) override;
  int SetRenderState(int, int) override { return 0; }
  void SetTexture(PyroGraphics::ITexture* texture) override;
  // The quads become renderer vertices at z 0.5 with u, v mapped into the texture's tile, sent as
  // one batch in render mode 4, 4, 1 with the blend byte, mask 15, on the tile's page.
  void DrawQuads(PyroGraphics::CVertexBuffer* buffer, int first, int count) override;
  void DrawQuads(PyroGraphics::IVertexBuffer* buffer) override;
  int Flush() override { return 0; }
  ~CPyroGraphics() override = default;

  // The render mode of the next draw (tests).
  GrRenderMode Mode() const { return GrRenderMode{grModeWord(4, 4, 1, 0, 0) | uint32_t(blend_) << 24, 15}; }
  // The renderer vertices of the last draw (tests).
  const std::vector<GpuVertex>& LastVertices() const { return scratch_; }
  CBaseTexture* LastPage() const { return lastPage_; }

 private:
  uint8_t blend_ = 0x65;  // source alpha, inverse source alpha
  CPyroTexture* texture_ = nullptr;
  std::vector<GpuVertex> scratch_;
  CBaseTexture* lastPage_ = nullptr;
};

}  // namespace PyroParticles
