// The drawing device under the renderer: OpenGL through SDL, or a null device that accepts every
// call and draws nothing (headless runs keep all renderer logic without a GPU). The renderer owns
// batching, state caching and coordinates; a device only carries out what it is told.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

// One vertex of the shared stream: position, diffuse and specular ARGB, two texture coordinates.
struct GpuVertex {
  float x, y, z;
  uint32_t diffuse, specular;
  float u, v, u2, v2;
};

enum class GpuPrim : uint8_t { LineList, LineStrip, TriangleList, TriangleStrip };

// The fixed-function state a render mode selects.
struct GpuState {
  uint8_t alphaOp = 4, colorOp = 4;  // texture-stage operations: 1 off, 2 texture, 3 vertex, 4 mul, 7 add
  uint8_t srcBlend = 5, dstBlend = 6;
  bool blend = false, alphaTest = false;
  uint8_t writeMask = 15;  // bit 0 red, 1 green, 2 blue, 3 alpha
};

using GpuTexture = uint32_t;  // 0 = none

class PlatGpu {
 public:
  virtual ~PlatGpu() = default;
  virtual bool IsReal() const = 0;
  // Device-loss check: false while the device cannot draw (the window is minimised, say).
  virtual bool IsUsable() = 0;
  virtual int MaxTextureSize() const = 0;
  // Size of what is presented, in device pixels (the window's drawable area).
  virtual void DrawableSize(int& w, int& h) = 0;
  virtual void BeginFrame() = 0;
  virtual void Clear(uint32_t argb) = 0;
  // Device pixels, origin top-left.
  virtual void SetViewport(int x, int y, int w, int h) = 0;
  // Row-vector matrix taking logical coordinates to clip space.
  virtual void SetMatrix(const float m[16]) = 0;
  virtual void SetState(const GpuState& s) = 0;
  virtual void SetTexture(GpuTexture t) = 0;
  virtual void Draw(GpuPrim prim, const GpuVertex* v, int count, const uint16_t* indices, int indexCount) = 0;
  virtual void Present() = 0;
  // Textures hold 8-bit RGBA texels; Upload replaces a rectangle (rows of w RGBA texels).
  virtual GpuTexture CreateTexture(int w, int h) = 0;
  virtual void UploadTexture(GpuTexture t, int x, int y, int w, int h, const uint8_t* rgba) = 0;
  virtual void DeleteTexture(GpuTexture t) = 0;
  // The last drawn frame (before Present) as top-down RGBA rows; empty when there is nothing.
  virtual bool ReadPixels(int x, int y, int w, int h, std::vector<uint8_t>& rgba) = 0;
};

// The OpenGL device for the game window (null when no GL context can be made there), and the null
// device, which draws nothing.
std::unique_ptr<PlatGpu> platGpuCreateGL();
std::unique_ptr<PlatGpu> platGpuCreateNull(int width, int height);
