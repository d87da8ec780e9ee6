// The effects start-up and the fireworks and flares it owns.
#include "anim/fx_manager.h"

#include "anim/fx_pyro_manager.h"

namespace FxManager {

void cFxManager::Init(const char* effectsFile) {
  fireWorks_.Load(effectsFile, "fireWorks");
  flares_.Load();
}

void cFxManager::Done() {
  fireWorks_ = cFireWorks{};
  flares_ = cTaskEffect{};
}

cFxManager& fxManager() {
  static cFxManager m;
  return m;
}

}  // namespace FxManager

bool fxInit(PyroGraphics::IDevice* device) {
  FxManager::fxManager().Done();
  const bool ok = FxManager::pyroManager().Init(device);
  FxManager::fxManager().Init();
  return ok;
}

void fxDone() {
  FxManager::fxManager().Done();
  FxManager::pyroManager().Done();
}
