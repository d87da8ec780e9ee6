// The library object and effect files: loading through the file layer (faults go to gerr.log with
// their line), pictures read into bitmaps and handed to the device, emitters made by id.
#include <algorithm>
#include <cmath>
#include <map>

#include "anim/pyro_effect.h"
#include "base/diag.h"
#include "files/file.h"
#include "gfx/image.h"
#include "gfx/pixel_format.h"

namespace Pyro {

// ---- Device and buffers -----------------------------------------------------------------------

PyroGraphics::IVertexBuffer* DeviceContext::Quads() {
  if (!device) return nullptr;
  if (!quads) {
    raw.reset(device->CreateVertexBuffer());
    if (!raw) return nullptr;
    quads.reset(device->CreateVertexBuffer2(raw.get()));
  }
  return quads.get();
}

void DeviceContext::SetDevice(PyroGraphics::IDevice* d) {
  quads.reset();  // the adaptor goes first: it may still hold the raw buffer locked
  raw.reset();
  device = d;
}

namespace {

constexpr int kMaxPictureSide = 256;
constexpr int kDotSide = 32;

// The picture of emitters that name none: a soft round dot, white, its alpha falling off outwards.
std::vector<uint32_t> Dot() {
  std::vector<uint32_t> px(size_t(kDotSide) * kDotSide);
  const float c = (kDotSide - 1) * 0.5f;
  for (int y = 0; y < kDotSide; ++y)
    for (int x = 0; x < kDotSide; ++x) {
      const float d = std::hypot(float(x) - c, float(y) - c) / (c + 0.5f);
      const float a = d >= 1.f ? 0.f : (1.f - d) * (1.f - d);
      px[size_t(y) * kDotSide + size_t(x)] = uint32_t(a * 255.f + 0.5f) << 24 | 0xFFFFFFu;
    }
  return px;
}

// A picture as 32-bit ARGB. One without alpha of its own takes its brightness as alpha, so sparks
// painted on black work in both blend modes.
bool ReadPicture(const std::string& path, std::vector<uint32_t>& px, int& w, int& h) {
  auto reader = imgReaderFor(path);
  if (!reader) {
    errorLog("%s: particle picture of an unknown kind\n", path.c_str());
    return false;
  }
  if (reader->Load(path.c_str()) != 0) return false;  // the reader has named the file
  w = reader->Width();
  h = reader->Height();
  if (w <= 0 || h <= 0 || w > kMaxPictureSide || h > kMaxPictureSide) {
    errorLog("%s: particle picture of %d x %d, larger than %d x %d\n", path.c_str(), w, h, kMaxPictureSide,
             kMaxPictureSide);
    return false;
  }
  const TexturePixelFormat* argb = grPixelFormatByCode(21);
  if (!argb) return false;
  px.assign(size_t(w) * size_t(h), 0);
  TexelTarget dst{reinterpret_cast<uint8_t*>(px.data()), w * 4, argb};
  reader->WriteColor(0, 0, w, h, dst);
  // A 32-bit picture's alpha came with its colours; palette pictures may mark black as clear.
  if (reader->FlagsAnd(cFileImage::kOwnTransparency)) {
    reader->WriteOwnAlpha(0, 0, w, h, dst);
  } else if (reader->BitsPerPixel() != 32) {
    for (uint32_t& p : px) {
      const uint32_t r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
      const uint32_t a = std::max({r, g, b});
      p = a == 0 ? 0 : a << 24 | (r * 255 / a) << 16 | (g * 255 / a) << 8 | (b * 255 / a);
    }
  }
  return true;
}

std::string Folder(const std::string& file) {
  const size_t slash = file.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

class CEffectFile final : public IEffectFile {
 public:
  CEffectFile(std::shared_ptr<EffectData> data, std::shared_ptr<DeviceContext> ctx)
      : data_(std::move(data)), ctx_(std::move(ctx)) {}

  bool Prepare() override;
  void ReleaseResources() override {
    for (auto& t : data_->textures) t.reset();
    prepared_ = false;
  }
  IEmitter* CreateEmitter(const char* id) override {
    if (!id) return nullptr;
    const std::string_view want(id);
    for (size_t i = 0; i < data_->def.emitters.size(); ++i)
      if (data_->def.emitters[i].id == want) return pyroNewEmitter(data_, int(i), ctx_);
    errorLog("%s: no emitter \"%s\"\n", data_->file.c_str(), id);
    return nullptr;
  }
  int EmitterCount() const override { return int(data_->descs.size()); }
  const char* Name() const override { return data_->file.c_str(); }
  const IEmitterDesc* Emitter(int i) const override {
    return i >= 0 && i < EmitterCount() ? &data_->descs[size_t(i)] : nullptr;
  }
  bool IsPrepared() const override { return prepared_; }
  void Delete() override { delete this; }

 private:
  std::shared_ptr<EffectData> data_;
  std::shared_ptr<DeviceContext> ctx_;
  bool prepared_ = false;
};

bool CEffectFile::Prepare() {
  PyroGraphics::IDevice* dev = ctx_->device;
  if (!dev) return false;
  const size_t n = data_->def.emitters.size();
  data_->textures.assign(n, nullptr);
  data_->aspect.assign(n, 1.f);
  // One texture per picture, shared by the emitters that name it (the dot is the name "").
  std::map<std::string, std::pair<std::shared_ptr<PyroGraphics::ITexture>, float>> made;
  const std::string folder = Folder(data_->file);
  for (size_t i = 0; i < n; ++i) {
    const std::string& sprite = data_->def.emitters[i].sprite;
    const std::string key = sprite.empty() ? std::string() : fileFoldName(folder + sprite);
    auto hit = made.find(key);
    if (hit == made.end()) {
      std::vector<uint32_t> px;
      int w = kDotSide, h = kDotSide;
      bool ok = true;
      if (sprite.empty()) {
        px = Dot();
      } else {
        ok = ReadPicture(fileResolve(folder + sprite), px, w, h);
        if (!ok)
          errorLog("%s: emitter \"%s\" draws nothing: its picture \"%s\" cannot be used\n", data_->file.c_str(),
                   data_->def.emitters[i].id.c_str(), sprite.c_str());
      }
      std::shared_ptr<PyroGraphics::ITexture> tex;
      if (ok) {
        std::unique_ptr<PyroGraphics::CBitmap> bmp(dev->CreateBitmap(w, h, PyroGraphics::kBitmapARGB32, px.data()));
        if (bmp) tex.reset(dev->CreateTexture(bmp.get()));
      }
      hit = made.emplace(key, std::make_pair(tex, float(h) / float(w))).first;
    }
    data_->textures[i] = hit->second.first;
    data_->aspect[i] = hit->second.second;
  }
  prepared_ = true;
  return true;
}

class CLibrary final : public ILibrary {
 public:
  CLibrary() : ctx_(std::make_shared<DeviceContext>()) {}
  void SetSeed(uint32_t seed) override {
    ctx_->seed = seed;
    ctx_->created = 0;
  }
  IEffectFile* LoadEffectFile(const char* file) override {
    if (!file || !*file) {
      errorLog("particle effect without a file name\n");
      return nullptr;
    }
    void* buf = nullptr;
    const size_t n = fileLoad(file, &buf);
    if (n == 0) {
      errorLog("%s: particle effect file not found (or empty)\n", file);
      return nullptr;
    }
    IEffectFile* f = n > kMaxFileBytes ? nullptr : LoadEffectText(file, static_cast<const char*>(buf), n);
    if (n > kMaxFileBytes) errorLog("%s: particle effect file of %zu bytes, more than %zu\n", file, n, kMaxFileBytes);
    memFree(buf);
    return f;
  }
  void SetDevice(PyroGraphics::IDevice* device) override { ctx_->SetDevice(device); }
  IEffectFile* LoadEffectText(const char* name, const char* text, size_t length) override {
    auto data = std::make_shared<EffectData>();
    data->file = name ? name : "";
    std::string error;
    if (!text || !pyroParseEffect(std::string_view(text, length), data->file, data->def, error)) {
      errorLog("%s\n", error.empty() ? data->file.c_str() : error.c_str());
      return nullptr;
    }
    for (const EmitterDef& e : data->def.emitters) data->descs.emplace_back(&e);
    return new CEffectFile(std::move(data), ctx_);
  }

 private:
  std::shared_ptr<DeviceContext> ctx_;
};

}  // namespace
}  // namespace Pyro

Pyro::ILibrary* pyroCreateLibrary(int version, int flags) {
  (void)flags;  // no options yet
  if (version != Pyro::kLibraryVersion) {
    errorLog("particle library version %d asked for, %d offered\n", version, Pyro::kLibraryVersion);
    return nullptr;
  }
  return new Pyro::CLibrary;
}
