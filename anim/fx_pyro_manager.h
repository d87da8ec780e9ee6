// The effects catalogue of "data/fx/pyroeffects.ini": each section names a particle effect file,
// loaded through the particle library once, on first use. It also owns the library, the device
// effects draw through and the effects' own random numbers.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Pyro {
class ILibrary;
class IEffectFile;
}  // namespace Pyro
namespace PyroGraphics {
class IDevice;
}

namespace FxManager {

class cSimplePyro;

struct CParticleDesc {
  std::string section;  // catalogue section
  std::string file;     // particle effect file
  Pyro::IEffectFile* loaded = nullptr;  // none until first use
  bool failed = false;  // the file could not be loaded: not tried again
};

class cPyroManager {
 public:
  static constexpr const char* kCatalogueFile = "data/fx/pyroeffects.ini";
  static constexpr uint32_t kLibrarySeed = 12345;

  cPyroManager();
  ~cPyroManager();
  cPyroManager(const cPyroManager&) = delete;
  cPyroManager& operator=(const cPyroManager&) = delete;

  // Creates the particle library and reads the catalogue (forgetting what was there). Effects draw
  // through `device` when given (not owned), else through the renderer. Without a library (it
  // refused the version) the catalogue is still read but no file is ever loaded.
  bool Init(PyroGraphics::IDevice* device = nullptr, const char* catalogue = kCatalogueFile);
  // Deletes the loaded effect files and the library; effects still alive keep their particles but
  // draw nothing.
  void Done();
  bool IsInit() const { return init_; }

  // The loaded effect file of a catalogue section, else of a catalogue entry whose effect file
  // has that name; loaded (and its textures made) on first use. Null for a name not in the
  // catalogue or a file the library cannot load. Reads the catalogue first when nobody has.
  Pyro::IEffectFile* FindEffectFile(std::string_view name);
  // The catalogue entry (by section name only), or null.
  const CParticleDesc* Find(std::string_view section) const;
  // A new effect of a catalogue section, loaded but not started.
  std::unique_ptr<cSimplePyro> CreateEffect(const char* section);

  const std::string& CatalogueFile() const { return catalogue_; }
  size_t Size() const { return descs_.size(); }
  int FilesLoaded() const { return filesLoaded_; }

  // The effects' own random numbers: state x 214013 + 2531011, bits 16-30 of the new state.
  int Random();
  void SeedRandom(uint32_t seed) { random_ = seed; }

 private:
  void Clear();
  CParticleDesc* FindDesc(std::string_view section);

  std::unique_ptr<Pyro::ILibrary> library_;
  std::unique_ptr<PyroGraphics::IDevice> ownDevice_;
  std::vector<CParticleDesc> descs_;  // sorted by section name, byte by byte
  std::string catalogue_ = kCatalogueFile;
  uint32_t random_ = 1;
  int filesLoaded_ = 0;
  bool init_ = false;
};

cPyroManager& pyroManager();

}  // namespace FxManager
