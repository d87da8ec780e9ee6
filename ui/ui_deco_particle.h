// "particleWnd": a particle effect of the effects catalogue playing at the window's place, and
// following the window wherever it is moved (relative placement, scrolling, the editor).
#pragma once
#include <memory>

#include "ui/widget_sprite.h"

namespace FxManager {
class cSimplePyro;
}

namespace Core {

class UIParticleWnd : public UIWndSprite {
 public:
  UIParticleWnd();
  ~UIParticleWnd() override;
  void Load(const char* file, const char* section) override;
  // a non-zero starts the effect; 0 stops it, at once with b non-zero, else letting it die out.
  int Start(int a, int b, int c) override;
  int Update(int dt) override;
  int Draw() override;
  void MoveBy(int dx, int dy) override;
  void SetPos(int x, int y) override;
  FxManager::cSimplePyro* Effect() const { return effect_.get(); }

 private:
  std::unique_ptr<FxManager::cSimplePyro> effect_;
};

}  // namespace Core
