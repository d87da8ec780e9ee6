// The effects start-up and cFxManager, which owns the end-of-level fireworks and the task flares.
#pragma once
#include "anim/fx_fireworks.h"
#include "anim/fx_task_effect.h"

namespace PyroGraphics {
class IDevice;
}

namespace FxManager {

class cFxManager {
 public:
  static constexpr const char* kEffectsFile = "data/fx/effects.ini";

  // Fireworks from "data/fx/effects.ini" section "fireWorks", and the flares.
  void Init(const char* effectsFile = kEffectsFile);
  void Done();

  bool SendFlare(float sx, float sy, float tx, float ty) { return flares_.Send(sx, sy, tx, ty); }
  bool UpdateFlares(float ms) { return flares_.Update(ms); }
  void RenderFlares() { flares_.Render(); }

  void StartFireWorks() { fireWorks_.Start(); }
  void StopFireWorks(bool immediately) { fireWorks_.Stop(immediately); }
  void UpdateFireWorks(float ms) { fireWorks_.Update(ms); }
  void RenderFireWorks() { fireWorks_.Render(); }
  bool FireWorksRunning() const { return fireWorks_.IsRunning(); }

  cFireWorks& FireWorks() { return fireWorks_; }
  cTaskEffect& Flares() { return flares_; }

 private:
  cFireWorks fireWorks_;
  cTaskEffect flares_;
};

cFxManager& fxManager();

}  // namespace FxManager

// Effects start-up: the particle library, the catalogue, the fireworks and the flares. Effects draw
// through `device` when given (tests), else through the renderer. False without a library.
bool fxInit(PyroGraphics::IDevice* device = nullptr);
// Shutdown: the fireworks, flares, loaded effect files and the library.
void fxDone();
