// The living meadow behind the demo screen: a turning windmill, a waving flag, birds crossing the
// sky, smoke from a far chimney and sparkles that follow the mouse, drawn from the animation
// catalogue and the particle library.
#pragma once
#include <memory>
#include <vector>

#include "anim/animation.h"
#include "ui/wnd.h"

namespace Pyro {
class ILibrary;
class IEffectFile;
class IEmitter;
}  // namespace Pyro
namespace PyroParticles {
class CPyroGraphics;
}

namespace Menu {

class UIDemoScene : public UIWnd {
 public:
  UIDemoScene();
  ~UIDemoScene() override;
  int Update(int dt) override;
  int Draw() override;
  // Live particles of every emitter (tests).
  int ParticleCount() const;

 private:
  struct Bird {
    AnimationState anim;
    float x, y, speed;
  };
  AnimationState windmill_, flag_;
  std::vector<Bird> birds_;
  std::unique_ptr<PyroParticles::CPyroGraphics> device_;
  Pyro::ILibrary* library_ = nullptr;
  std::vector<Pyro::IEffectFile*> files_;
  std::vector<Pyro::IEmitter*> smoke_, sparkles_;
  float time_ = 0;
  int lastX_ = -1, lastY_ = -1;
};

}  // namespace Menu
