// cFireWorks: rounds of rockets, their random paths and the booms.
#include "anim/fx_fireworks.h"

#include "anim/fx_pyro_manager.h"
#include "files/ini.h"
#include "sound/sound.h"

namespace FxManager {

void cFireWorks::Load(const char* file, const char* section) {
  Stop(true);
  rockets_.clear();
  boundX_ = iniGetFloat(file, section, "boundX", 0);
  boundY_ = iniGetFloat(file, section, "boundY", 0);
  const int count = iniGetInt(file, section, "rocketsCount", 0);
  iterations_ = iniGetInt(file, section, "iterationsCount", 0);
  delay_ = iniGetFloat(file, section, "delay", 0);
  for (int i = 0; i < count && i < 64; ++i) {
    auto r = std::make_unique<cBezierPyro>();
    r->Load(kRocketEffect);
    rockets_.push_back(std::move(r));
  }
}

void cFireWorks::Start() {
  if (state_ != kIdle || rockets_.empty()) return;
  state_ = kRunning;
  next_ = cycles_ = 0;
  sinceLaunch_ = 0;
  launches_ = 0;
  Launch(0);
  boomTimer_ = PeriodTimer(kFirstBoomDelay, 0);
}

void cFireWorks::Stop(bool immediately) {
  for (auto& r : rockets_) r->Stop(immediately);
  boomTimer_ = PeriodTimer(kFirstBoomDelay, PeriodTimer::kStopped);
  next_ = cycles_ = 0;
  sinceLaunch_ = 0;
  state_ = immediately ? kIdle : kStopping;
  if (state_ == kStopping && rockets_.empty()) state_ = kIdle;
}

void cFireWorks::Update(float ms) {
  if (state_ == kIdle) return;
  sinceLaunch_ += ms;
  boomTimer_.Advance(int32_t(ms));
  for (auto& r : rockets_) r->Update(ms);
  if (state_ == kStopping) {
    bool all = true;
    for (auto& r : rockets_) all = all && r->IsStopped(true);
    if (all) state_ = kIdle;
    return;
  }
  if (sinceLaunch_ < delay_ * 1000.0f) return;
  next_ = (next_ + 1) % int(rockets_.size());
  if (next_ == 0 && ++cycles_ >= iterations_) {
    // The last round is up: no more launches, and the rockets in the air fly on and burn out.
    state_ = kStopping;
    return;
  }
  if (boomTimer_.IsStopped()) {
    float x, y;
    rockets_[size_t(next_)]->GetPosition(x, y);
    sndPlayEx(kBoomSound, SND_SOUND, -1.0f, sndScreenPan(int(x)), -1.0f);
  }
  Launch(next_);
}

void cFireWorks::Launch(int i) {
  cPyroManager& pm = pyroManager();
  const float r1 = float(pm.Random()), r2 = float(pm.Random()), r3 = float(pm.Random()), r4 = float(pm.Random());
  const float width = 1024 - 2 * boundX_;
  const float sy = 768 - boundY_ - r1 * 275 / 32768, sx = boundX_ + r2 * width / 32768;
  const float ty = boundY_ + r3 * 275 / 32768, tx = boundX_ + r4 * width / 32768;
  const BezierPoint path[3] = {{0, 0, sx, sy}, {tx + 0.4f * (sx - tx), ty, tx, ty}, {tx, ty, tx, ty}};
  cBezierPyro& r = *rockets_[size_t(i)];
  r.SetPath(path, 3);
  r.SetDuration(kRocketFlight);
  r.Start();
  sinceLaunch_ = 0;
  ++launches_;
}

void cFireWorks::Render() {
  for (auto& r : rockets_) r->Render();
}

}  // namespace FxManager
