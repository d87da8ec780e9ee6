// The parts of the device contract that are the same for every device: bitmaps and the appending
// vertex buffer over a raw one.
#include "anim/pyro_graphics.h"

#include <algorithm>
#include <cstring>

namespace PyroGraphics {

CBitmap::CBitmap(int width, int height, const uint32_t* argb) {
  if (width <= 0 || height <= 0 || !argb) return;
  width_ = width;
  height_ = height;
  pixels_.assign(argb, argb + size_t(width) * size_t(height));
}

CVertexBuffer2Adaptor::~CVertexBuffer2Adaptor() { Clear(); }

Vertex* CVertexBuffer2Adaptor::Append(int quads) {
  if (!buffer_ || quads <= 0 || quads > QuadCapacity() - count_) return nullptr;
  if (!locked_) locked_ = static_cast<Vertex*>(buffer_->Lock());
  if (!locked_) return nullptr;
  Vertex* out = locked_ + size_t(count_) * 4;
  count_ += quads;
  return out;
}

void CVertexBuffer2Adaptor::Clear() {
  if (locked_ && buffer_) buffer_->Unlock();
  locked_ = nullptr;
  count_ = 0;
}

}  // namespace PyroGraphics
