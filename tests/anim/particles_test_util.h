// Helpers of the particle tests: a device that records what the library asks of it (no renderer
// needed), owners that delete library objects, and a driver that runs an emitter like the effects do.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "anim/pyro_library.h"

namespace ptest {

struct LibraryDeleter {
  void operator()(Pyro::ILibrary* l) const { delete l; }
};
struct FileDeleter {
  void operator()(Pyro::IEffectFile* f) const {
    if (f) f->Delete();
  }
};
struct EmitterDeleter {
  void operator()(Pyro::IEmitter* e) const {
    if (e) e->Delete();
  }
};
using Library = std::unique_ptr<Pyro::ILibrary, LibraryDeleter>;
using File = std::unique_ptr<Pyro::IEffectFile, FileDeleter>;
using Emitter = std::unique_ptr<Pyro::IEmitter, EmitterDeleter>;

inline Library NewLibrary(uint32_t seed = 7) {
  Library lib(pyroCreateLibrary(Pyro::kLibraryVersion, 2));
  if (lib) lib->SetSeed(seed);
  return lib;
}

inline File Load(Pyro::ILibrary& lib, const std::string& text, const char* name = "fx/test.pfx") {
  return File(lib.LoadEffectText(name, text.data(), text.size()));
}

// The first emitter of a file.
inline Emitter First(Pyro::IEffectFile& f) {
  const Pyro::IEmitterDesc* d = f.Emitter(0);
  return Emitter(d ? f.CreateEmitter(d->Id()) : nullptr);
}

// Runs an emitter from `from` to `to` seconds in steps of `step` the way an effect does: update,
// then move and emit, at a fixed place.
inline void RunFor(Pyro::IEmitter& e, float from, float to, float step, float x = 0, float y = 0, bool emit = true) {
  for (int k = 1;; ++k) {
    const float t = std::min(from + float(k) * step, to);
    const float dt = t - std::max(from + float(k - 1) * step, from);
    e.Update(t, dt);
    e.Move(t, dt, x, y, 0, emit);
    if (t >= to) break;
  }
}

// Records the library's calls.
class RecordingDevice : public PyroGraphics::IDevice {
 public:
  struct Texture : PyroGraphics::ITexture {
    int w, h;
    std::vector<uint32_t> pixels;
    int Width() const override { return w; }
    int Height() const override { return h; }
  };
  class Buffer : public PyroGraphics::CVertexBuffer {
   public:
    explicit Buffer(int quads) : v_(size_t(quads) * 4) {}
    int SizeBytes() const override { return int(v_.size() * sizeof(PyroGraphics::Vertex)); }
    void* Lock() override { return v_.data(); }
    void Unlock() override {}

   private:
    std::vector<PyroGraphics::Vertex> v_;
  };
  struct Draw {
    int source, destination;
    const PyroGraphics::ITexture* texture;
    std::vector<PyroGraphics::Vertex> vertices;
  };

  explicit RecordingDevice(int bufferQuads = 512) : bufferQuads_(bufferQuads) {}

  int Init() override { return 0; }
  void SetBlend(int s, int d) override {
    source_ = s;
    destination_ = d;
  }
  PyroGraphics::CVertexBuffer* CreateVertexBuffer() override { return new Buffer(bufferQuads_); }
  PyroGraphics::IVertexBuffer* CreateVertexBuffer2(PyroGraphics::CVertexBuffer* b) override {
    return new PyroGraphics::CVertexBuffer2Adaptor(b);
  }
  int CreateIndexBuffer() override { return -1; }
  PyroGraphics::ITexture* CreateTexture(const PyroGraphics::CBitmap* b) override {
    auto* t = new Texture;
    t->w = b->Width();
    t->h = b->Height();
    t->pixels.assign(b->Pixels(), b->Pixels() + size_t(t->w) * t->h);
    ++texturesMade;
    return t;
  }
  PyroGraphics::CBitmap* CreateBitmap(int w, int h, int format, const void* px) override {
    if (format != PyroGraphics::kBitmapARGB32) return nullptr;
    return new PyroGraphics::CBitmap(w, h, static_cast<const uint32_t*>(px));
  }
  int SetRenderState(int, int) override { return 0; }
  void SetTexture(PyroGraphics::ITexture* t) override { texture_ = t; }
  void DrawQuads(PyroGraphics::CVertexBuffer* b, int first, int count) override {
    const auto* v = static_cast<const PyroGraphics::Vertex*>(b->Lock()) + size_t(first) * 4;
    draws.push_back(Draw{source_, destination_, texture_, std::vector<PyroGraphics::Vertex>(v, v + size_t(count) * 4)});
  }
  void DrawQuads(PyroGraphics::IVertexBuffer* b) override { DrawQuads(b->Buffer(), 0, b->QuadCount()); }
  int Flush() override { return 0; }

  std::vector<Draw> draws;
  int texturesMade = 0;

 private:
  int bufferQuads_;
  int source_ = -1, destination_ = -1;
  PyroGraphics::ITexture* texture_ = nullptr;
};

}  // namespace ptest
