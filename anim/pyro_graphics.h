// The graphics device the particle library draws through: the program implements these interfaces
// on its renderer and hands the device to the library, which never touches the renderer itself.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace PyroGraphics {

// One vertex as the library writes it: six 32-bit values. Quads are four vertices in the order
// top-left, top-right, bottom-left, bottom-right; u and v run 0..1 over the whole texture.
struct Vertex {
  float x, y, z;
  uint32_t color;  // ARGB
  float u, v;
};
static_assert(sizeof(Vertex) == 24, "the vertex layout is six 32-bit values");

// Blend factors of IDevice::SetBlend, numbered from 0.
enum Blend : int {
  kBlendZero = 0,
  kBlendOne = 1,
  kBlendSrcColor = 2,
  kBlendInvSrcColor = 3,
  kBlendSrcAlpha = 4,
  kBlendInvSrcAlpha = 5,
  kBlendDstAlpha = 6,
  kBlendInvDstAlpha = 7,
  kBlendDstColor = 8,
  kBlendInvDstColor = 9,
};

// Pixel layouts of CreateBitmap.
enum BitmapFormat : int { kBitmapARGB32 = 0 };

// Pixels handed from the library to the device: 32-bit ARGB rows, top-down, copied on creation.
class CBitmap {
 public:
  CBitmap(int width, int height, const uint32_t* argb);
  int Width() const { return width_; }
  int Height() const { return height_; }
  const uint32_t* Pixels() const { return pixels_.data(); }

 private:
  int width_ = 0, height_ = 0;
  std::vector<uint32_t> pixels_;
};

// A picture the device can draw with.
class ITexture {
 public:
  virtual ~ITexture() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

// A device vertex buffer of raw bytes (the first style): the library writes vertices through Lock.
class CVertexBuffer {
 public:
  virtual ~CVertexBuffer() = default;
  virtual int SizeBytes() const = 0;
  virtual void* Lock() = 0;
  virtual void Unlock() = 0;
  int QuadCapacity() const { return SizeBytes() / int(4 * sizeof(Vertex)); }
};

// The second style: quads appended to a buffer and drawn in one call.
class IVertexBuffer {
 public:
  virtual ~IVertexBuffer() = default;
  virtual int QuadCapacity() const = 0;
  virtual int QuadCount() const = 0;
  // Room for `quads` more quads (4 vertices each) to write now; null when they do not fit.
  virtual Vertex* Append(int quads) = 0;
  virtual void Clear() = 0;
  // The buffer underneath and the first quad written into it.
  virtual CVertexBuffer* Buffer() = 0;
};

// Wraps a device buffer from CreateVertexBuffer as an appending buffer; does not own it.
class CVertexBuffer2Adaptor : public IVertexBuffer {
 public:
  explicit CVertexBuffer2Adaptor(CVertexBuffer* buffer) : buffer_(buffer) {}
  ~CVertexBuffer2Adaptor() override;
  int QuadCapacity() const override { return buffer_ ? buffer_->QuadCapacity() : 0; }
  int QuadCount() const override { return count_; }
  Vertex* Append(int quads) override;
  void Clear() override;
  CVertexBuffer* Buffer() override { return buffer_; }

 private:
  CVertexBuffer* buffer_;
  Vertex* locked_ = nullptr;
  int count_ = 0;
};

// The device. The operations keep a fixed order, as the library was built against it.
class IDevice {
 public:
  // 0: accepted, nothing to prepare.
  virtual int Init() = 0;
  // 1: the blend of following draws.
  virtual void SetBlend(int source, int destination) = 0;
  // 2: a raw vertex buffer owned by the caller.
  virtual CVertexBuffer* CreateVertexBuffer() = 0;
  // 3: an appending buffer over one from CreateVertexBuffer (which stays the caller's).
  virtual IVertexBuffer* CreateVertexBuffer2(CVertexBuffer* buffer) = 0;
  // 4: index buffers are not offered (-1).
  virtual int CreateIndexBuffer() = 0;
  // 5: a texture holding a bitmap's pixels, owned by the caller; null when it cannot be made.
  virtual ITexture* CreateTexture(const CBitmap* bitmap) = 0;
  // 6: a bitmap owned by the caller; null for an unknown format or a bad size.
  virtual CBitmap* CreateBitmap(int width, int height, int format, const void* pixels) = 0;
  // 7: accepted, nothing to change.
  virtual int SetRenderState(int state, int value) = 0;
  // 8: the texture of following draws (null: draws show nothing).
  virtual void SetTexture(ITexture* texture) = 0;
  // 9: `count` quads starting with quad `first` of a raw buffer.
  virtual void DrawQuads(CVertexBuffer* buffer, int first, int count) = 0;
  // 10: every quad appended to an appending buffer.
  virtual void DrawQuads(IVertexBuffer* buffer) = 0;
  // 11: accepted, nothing to flush.
  virtual int Flush() = 0;
  // 12
  virtual ~IDevice() = default;
};

}  // namespace PyroGraphics
