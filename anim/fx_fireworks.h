// cFireWorks: the end-of-level celebration. Rockets ("FireWork" effects flying on curves) go up one
// after another from random places at the bottom to random places near the top, for a set number
// of rounds, and burn out.
#pragma once
#include <memory>
#include <vector>

#include "anim/fx_bezier_pyro.h"
#include "anim/period_timer.h"

namespace FxManager {

class cFireWorks {
 public:
  enum State : int { kIdle = 0, kStopping = 2, kRunning = 3 };
  static constexpr const char* kRocketEffect = "FireWork";
  static constexpr const char* kBoomSound = "FireWorksBoom";
  static constexpr float kRocketFlight = 2400;  // ms; the target is reached at half time
  static constexpr int32_t kFirstBoomDelay = 1500;

  // Reads "boundX", "boundY", "rocketsCount", "iterationsCount" and "delay" of `section` and makes
  // one rocket per count. A missing, zero or negative count makes no rockets: the fireworks never
  // start.
  void Load(const char* file = "data/fx/effects.ini", const char* section = "fireWorks");
  // Starts when idle: launches the first rocket.
  void Start();
  void Stop(bool immediately);
  void Update(float ms);
  void Render();
  bool IsRunning() const { return state_ != kIdle; }

  int State() const { return state_; }
  int RocketCount() const { return int(rockets_.size()); }
  const cBezierPyro* Rocket(int i) const { return i >= 0 && i < RocketCount() ? rockets_[size_t(i)].get() : nullptr; }
  int Launches() const { return launches_; }  // since the last Start
  float BoundX() const { return boundX_; }
  float BoundY() const { return boundY_; }
  float Delay() const { return delay_; }

 private:
  void Launch(int i);

  std::vector<std::unique_ptr<cBezierPyro>> rockets_;
  float boundX_ = 0, boundY_ = 0;
  int iterations_ = 0;
  float delay_ = 0;  // seconds between rockets
  int next_ = 0;
  int cycles_ = 0;
  float sinceLaunch_ = 0;  // ms
  int state_ = kIdle;
  int launches_ = 0;
  PeriodTimer boomTimer_{kFirstBoomDelay, PeriodTimer::kStopped};
};

}  // namespace FxManager
