// The particle device on the renderer: blend bytes from the library's blend factors, bitmaps and
// textures on particle atlas pages, and quads converted into renderer vertices.
#include "anim/pyro_device.h"

#include <algorithm>

#include "anim/pyro_atlas.h"

namespace PyroParticles {

void CPyroGraphics::SetBlend(int source, int destination) {
  // Factors are numbered from 0 here and from 1 in a render mode's blend nibbles.
  source = std::clamp(source, 0, 14);
  destination = std::clamp(destination, 0, 14);
  blend_ = uint8_t((destination + 1) * 16 + (source + 1));
}

PyroGraphics::IVertexBuffer* CPyroGraphics::CreateVertexBuffer2(PyroGraphics::CVertexBuffer* buffer) {
  return buffer ? new PyroGraphics::CVertexBuffer2Adaptor(buffer) : nullptr;
}

PyroGraphics::CBitmap* CPyroGraphics::CreateBitmap(int width, int height, int format, const void* pixels) {
  if (format != PyroGraphics::kBitmapARGB32 || !pixels || width <= 0 || height <= 0 || width > 4096 || height > 4096)
    return nullptr;
  return new PyroGraphics::CBitmap(width, height, static_cast<const uint32_t*>(pixels));
}

PyroGraphics::ITexture* CPyroGraphics::CreateTexture(const PyroGraphics::CBitmap* bitmap) {
  if (!bitmap || bitmap->Width() <= 0 || bitmap->Height() <= 0) return nullptr;
  return new CPyroTexture(*bitmap);
}

void CPyroGraphics::SetTexture(PyroGraphics::ITexture* texture) {
  // Only textures this device made can be drawn with.
  texture_ = dynamic_cast<CPyroTexture*>(texture);
}

void CPyroGraphics::DrawQuads(PyroGraphics::CVertexBuffer* buffer, int first, int count) {
  scratch_.clear();
  lastPage_ = nullptr;
  if (!buffer || !texture_ || first < 0 || count <= 0 || count > buffer->QuadCapacity() - first) return;
  const SpriteTile* tile = texture_->Sprite()->Tile();
  if (!tile || !tile->texture || tile->texture->width == 0 || tile->texture->height == 0) return;
  const auto* src = static_cast<const PyroGraphics::Vertex*>(buffer->Lock());
  if (!src) return;
  src += size_t(first) * 4;
  const float pw = tile->texture->width, ph = tile->texture->height;
  const float u0 = tile->left / pw, v0 = tile->top / ph;
  const float us = (tile->right - tile->left) / pw, vs = (tile->bottom - tile->top) / ph;
  scratch_.resize(size_t(count) * 4);
  for (size_t i = 0; i < scratch_.size(); ++i) {
    const PyroGraphics::Vertex& s = src[i];
    scratch_[i] = GpuVertex{s.x, s.y, 0.5f, s.color, 0u, u0 + s.u * us, v0 + s.v * vs, 0.f, 0.f};
  }
  buffer->Unlock();
  lastPage_ = tile->texture;
  grDrawQuads(Mode(), tile->texture, scratch_.data(), count);
}

void CPyroGraphics::DrawQuads(PyroGraphics::IVertexBuffer* buffer) {
  if (buffer) DrawQuads(buffer->Buffer(), 0, buffer->QuadCount());
}

}  // namespace PyroParticles
