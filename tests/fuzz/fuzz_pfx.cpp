// Fuzz target of particle effect files: any bytes as a ".pfx" file must be read or refused with a
// line naming the file; whatever reads must prepare its pictures, run every emitter through moves,
// bursts and updates within its particle limit, draw through the game's device and be deleted.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "anim/pyro_device.h"
#include "anim/pyro_format.h"
#include "anim/pyro_library.h"
#include "fuzz_util.h"

namespace {
struct Kit {
  PyroParticles::CPyroGraphics device;
  Pyro::ILibrary* library = nullptr;
};

Kit* Setup() {
  static Kit* kit = [] {
    if (!fuzzkit::NullRenderer() || !platMakeDirs("fuzz/pics") || !fuzzkit::WriteCheckerPng("fuzz/pics/p.png", 16, 16))
      return static_cast<Kit*>(nullptr);
    auto* k = new Kit;
    k->library = pyroCreateLibrary(Pyro::kLibraryVersion, 2);
    if (!k->library) return static_cast<Kit*>(nullptr);
    k->library->SetDevice(&k->device);
    return k;
  }();
  return kit;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The text reader on its own, exactly the bytes given.
  {
    std::vector<char> exact(data, data + size);
    Pyro::EffectDef def;
    std::string error;
    if (!Pyro::pyroParseEffect(std::string_view(exact.data(), exact.size()), "fuzz.pfx", def, error) &&
        error.empty())
      __builtin_trap();
  }
  Kit* kit = Setup();
  if (!kit || !fuzzkit::WriteFile("fuzz/effect.pfx", data, size)) return 0;
  kit->library->SetSeed(uint32_t(size));
  Pyro::IEffectFile* file = kit->library->LoadEffectFile("fuzz/effect.pfx");
  if (!file) return 0;
  file->Prepare();
  std::vector<Pyro::IEmitter*> emitters;
  for (int i = 0; i < file->EmitterCount(); ++i) {
    const Pyro::IEmitterDesc* d = file->Emitter(i);
    if (!d) __builtin_trap();
    if (Pyro::IEmitter* e = file->CreateEmitter(d->Id())) emitters.push_back(e);
  }
  if (file->Emitter(file->EmitterCount()) != nullptr) __builtin_trap();
  grBeginScene();
  float time = 0;
  for (int step = 0; step < 12; ++step) {
    const float dt = step == 5 ? 2.5f : 0.1f;  // one long pause, as when a window was dragged
    time += dt;
    for (Pyro::IEmitter* e : emitters) {
      e->Move(time, dt, 100.0f + float(step) * 40, 300.0f - float(step) * 10, 0, step < 9);
      if (step == 3) e->Emit(50);
      e->Update(time, dt);
      const int n = e->ParticleCount();
      const int limit = e->Description()->MaxParticles();
      if (n < 0 || n > (limit > 0 ? limit : 0)) __builtin_trap();
      for (int k = 0; k < n; k += 7) {
        const Pyro::Particle* p = e->ParticleAt(k);
        if (!p) __builtin_trap();
        e->ColorOf(*p);
        if (std::isnan(e->SizeOf(*p))) __builtin_trap();
      }
      if (e->ParticleAt(n) != nullptr) __builtin_trap();
      e->Render();
    }
  }
  grFlip(nullptr, nullptr);
  file->ReleaseResources();
  for (Pyro::IEmitter* e : emitters) e->Delete();
  file->Delete();
  return 0;
}
