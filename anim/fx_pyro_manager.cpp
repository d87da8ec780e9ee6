// The effects catalogue: reading "data/fx/pyroeffects.ini", loading effect files on first use.
#include "anim/fx_pyro_manager.h"

#include <algorithm>

#include "anim/fx_simple_pyro.h"
#include "anim/pyro_device.h"
#include "anim/pyro_library.h"
#include "base/diag.h"
#include "files/ini.h"

namespace FxManager {

cPyroManager::cPyroManager() = default;
cPyroManager::~cPyroManager() { Done(); }

void cPyroManager::Clear() {
  for (CParticleDesc& d : descs_)
    if (d.loaded) d.loaded->Delete();
  descs_.clear();
  filesLoaded_ = 0;
}

void cPyroManager::Done() {
  Clear();
  // Emitters that outlive the library keep its device context: leave them nothing to draw on.
  if (library_) library_->SetDevice(nullptr);
  library_.reset();
  ownDevice_.reset();
  init_ = false;
}

bool cPyroManager::Init(PyroGraphics::IDevice* device, const char* catalogue) {
  Done();
  init_ = true;
  catalogue_ = catalogue && *catalogue ? catalogue : kCatalogueFile;
  library_.reset(pyroCreateLibrary(Pyro::kLibraryVersion, 2));
  if (library_) {
    library_->SetSeed(kLibrarySeed);
    if (!device) {
      ownDevice_ = std::make_unique<PyroParticles::CPyroGraphics>();
      device = ownDevice_.get();
    }
    library_->SetDevice(device);
  }
  const char* cat = catalogue_.c_str();
  for (const std::string& section : iniSectionList(cat)) {
    if (gFileName(section) == gFileName("main")) continue;
    std::string file = iniGetString(cat, section.c_str(), "name", "");
    if (file.empty()) continue;
    descs_.push_back(CParticleDesc{section, std::move(file)});
  }
  std::stable_sort(descs_.begin(), descs_.end(),
                   [](const CParticleDesc& a, const CParticleDesc& b) { return a.section < b.section; });
  return library_ != nullptr;
}

CParticleDesc* cPyroManager::FindDesc(std::string_view section) {
  auto it = std::lower_bound(descs_.begin(), descs_.end(), section,
                             [](const CParticleDesc& d, std::string_view s) { return std::string_view(d.section) < s; });
  return it != descs_.end() && it->section == section ? &*it : nullptr;
}

const CParticleDesc* cPyroManager::Find(std::string_view section) const {
  return const_cast<cPyroManager*>(this)->FindDesc(section);
}

Pyro::IEffectFile* cPyroManager::FindEffectFile(std::string_view name) {
  if (!init_) Init();
  if (name.empty()) return nullptr;
  CParticleDesc* d = FindDesc(name);
  if (!d)
    for (CParticleDesc& e : descs_)
      if (gFileName(e.file) == gFileName(std::string(name))) {
        d = &e;
        break;
      }
  if (!d) {
    errorLog("%s: no effect \"%.*s\"\n", catalogue_.c_str(), int(name.size()), name.data());
    return nullptr;
  }
  if (!d->loaded && !d->failed && library_) {
    d->loaded = library_->LoadEffectFile(d->file.c_str());  // the library names the fault itself
    d->failed = d->loaded == nullptr;
    if (d->loaded) {
      d->loaded->Prepare();
      ++filesLoaded_;
    }
  }
  return d->loaded;
}

std::unique_ptr<cSimplePyro> cPyroManager::CreateEffect(const char* section) {
  auto fx = std::make_unique<cSimplePyro>();
  fx->Load(section);
  return fx;
}

int cPyroManager::Random() {
  random_ = random_ * 214013u + 2531011u;
  return int((random_ >> 16) & 0x7FFF);
}

cPyroManager& pyroManager() {
  static cPyroManager m;
  return m;
}

}  // namespace FxManager
