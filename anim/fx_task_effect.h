// cTaskEffect: up to five flares ("TaskFlare" effects) that fly from a place on the map to the
// task panel when a goal counts something, at half speed.
#pragma once
#include <memory>

#include "anim/fx_bezier_pyro.h"

namespace FxManager {

class cTaskEffect {
 public:
  static constexpr int kFlares = 5;
  static constexpr const char* kFlareEffect = "TaskFlare";
  static constexpr float kTimeScale = 2000;  // flares advance by 1000 / this of the elapsed time

  void Load();
  // The first flare at rest flies from the source to the target; false when all five are busy.
  bool Send(float sx, float sy, float tx, float ty);
  // True when no flare is flying.
  bool Update(float ms);
  void Render();
  const cBezierPyro* Flare(int i) const { return i >= 0 && i < kFlares ? flares_[i].get() : nullptr; }

 private:
  std::unique_ptr<cBezierPyro> flares_[kFlares];
  float source_[kFlares][2] = {}, target_[kFlares][2] = {};
};

}  // namespace FxManager
