// Inside the particle library: what a loaded effect file shares with the emitters made from it,
// and the device with its vertex buffers, shared by the library, its files and their emitters.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "anim/pyro_format.h"
#include "anim/pyro_library.h"

namespace Pyro {

struct DeviceContext {
  PyroGraphics::IDevice* device = nullptr;
  std::unique_ptr<PyroGraphics::CVertexBuffer> raw;
  std::unique_ptr<PyroGraphics::IVertexBuffer> quads;
  uint32_t seed = 1;     // the library's seed
  uint32_t created = 0;  // emitters made so far; each one's seed mixes this in

  // The appending buffer, made through the device on first use; null without a device.
  PyroGraphics::IVertexBuffer* Quads();
  void SetDevice(PyroGraphics::IDevice* d);
};

class EmitterDesc final : public IEmitterDesc {
 public:
  explicit EmitterDesc(const EmitterDef* s) : def(s) {}
  const char* Sprite() const override { return def->sprite.c_str(); }
  bool IsAdditive() const override { return def->additive; }
  float Rate() const override { return def->rate; }
  int Burst() const override { return def->burst; }
  int MaxParticles() const override { return def->maxParticles; }
  float Delay() const override { return def->delay; }
  float Duration() const override { return def->duration; }
  const char* Id() const override { return def->id.c_str(); }
  const EmitterDef* def;
};

struct EffectData {
  std::string file;
  EffectDef def;
  std::vector<EmitterDesc> descs;  // one per emitter, pointing into def
  // Per emitter: its texture (emitters naming one picture share it; null draws nothing) and the
  // picture's height over its width.
  std::vector<std::shared_ptr<PyroGraphics::ITexture>> textures;
  std::vector<float> aspect;
};

// A new emitter of emitter `index` of an effect.
IEmitter* pyroNewEmitter(std::shared_ptr<const EffectData> data, int index, std::shared_ptr<DeviceContext> ctx);

}  // namespace Pyro
