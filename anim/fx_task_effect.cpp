// cTaskEffect: sending, stepping and drawing the flares.
#include "anim/fx_task_effect.h"

namespace FxManager {

void cTaskEffect::Load() {
  for (auto& f : flares_) {
    f = std::make_unique<cBezierPyro>();
    f->Load(kFlareEffect);
  }
}

bool cTaskEffect::Send(float sx, float sy, float tx, float ty) {
  for (int i = 0; i < kFlares; ++i) {
    cBezierPyro* f = flares_[i].get();
    if (!f || f->GetState() != cSimplePyro::kStopped) continue;
    source_[i][0] = sx;
    source_[i][1] = sy;
    target_[i][0] = tx;
    target_[i][1] = ty;
    // To the panel on a curve drawn towards the top-left corner, then a swing out to the right edge
    // at the panel's height and back.
    const BezierPoint path[3] = {{0, 0, sx, sy}, {0, 0, tx, ty}, {1100, ty, tx, ty}};
    f->SetPath(path, 3);
    f->Start();
    return true;
  }
  return false;
}

bool cTaskEffect::Update(float ms) {
  bool none = true;
  for (auto& f : flares_) {
    if (!f) continue;
    f->Update(ms * 1000.0f / kTimeScale);
    none = none && !f->IsFlying();
  }
  return none;
}

void cTaskEffect::Render() {
  for (auto& f : flares_)
    if (f) f->Render();
}

}  // namespace FxManager
