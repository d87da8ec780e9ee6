// cDecreaseSinEffect: launch and the fading wave.
#include "anim/fx_sin_effect.h"

#include <cmath>

#include "anim/fx_pyro_manager.h"
#include "files/ini.h"

namespace FxManager {

void cDecreaseSinEffect::Load(const char* section) {
  cSimplePyro::Load(section);
  const char* cat = pyroManager().CatalogueFile().c_str();
  amplitude_ = iniGetFloat(cat, name_.c_str(), "amplitude", 0);
  frequency_ = iniGetFloat(cat, name_.c_str(), "frequency", 0);
}

void cDecreaseSinEffect::Launch() {
  if (flying_) return;
  cPyroManager& pm = pyroManager();
  const float r1 = float(pm.Random()), r2 = float(pm.Random()), r3 = float(pm.Random()), r4 = float(pm.Random());
  LaunchBetween(50 + r2 * 924 / 32768, 718 - r1 * 275 / 32768, 50 + r4 * 924 / 32768, 50 + r3 * 275 / 32768);
}

void cDecreaseSinEffect::LaunchBetween(float sx, float sy, float ex, float ey) {
  if (flying_) return;
  sx_ = sx;
  sy_ = sy;
  ex_ = ex;
  ey_ = ey;
  const float dx = ex - sx, dy = ey - sy;
  distance_ = std::sqrt(dx * dx + dy * dy);
  // The random flights always rise, where this equals -arccos(dx / distance); atan2 also serves
  // flights that fall.
  angle_ = distance_ > 0 ? std::atan2(dy, dx) : 0;
  travelled_ = sideways_ = 0;
  SetPosition(sx, sy);
  Start();
  flying_ = true;
}

void cDecreaseSinEffect::StopFlight() {
  flying_ = false;
  Stop(false);
}

bool cDecreaseSinEffect::Update(float ms) {
  const bool answer = cSimplePyro::Update(ms);
  if (!flying_) return answer;
  const float d = distance_;
  travelled_ += ms / 1000.0f * d;  // the flight lasts one second
  if (travelled_ >= d) travelled_ = d;
  sideways_ = d > 0 ? std::sin(travelled_ * frequency_ / d * 3.141592f) * (1 - travelled_ / d) * amplitude_ : 0;
  if (travelled_ >= d) flying_ = false;
  const float c = std::cos(angle_), s = std::sin(angle_);
  SetPosition(sx_ + travelled_ * c - sideways_ * s, sy_ + sideways_ * c + travelled_ * s);
  return answer;
}

}  // namespace FxManager
