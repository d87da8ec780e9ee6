// cBezierPyro: the flight along the path.
#include "anim/fx_bezier_pyro.h"

namespace FxManager {

void cBezierPyro::SetPath(const BezierPoint* points, int count) {
  path_.clear();
  if (points && count > 0) path_.assign(points, points + count);
}

void cBezierPyro::PathPoint(float t, float& x, float& y) const {
  const size_t n = path_.size();
  if (n == 0) {
    x = y = 0;
    return;
  }
  if (t >= 1 || n == 1) {
    x = path_.back().ax;
    y = path_.back().ay;
    return;
  }
  if (t < 0) t = 0;
  const float f = t * float(n - 1);
  size_t k = size_t(f);
  if (k > n - 2) k = n - 2;
  const float u = f - float(k);
  const BezierPoint &a = path_[k], &b = path_[k + 1];
  const float p = (1 - u) * (1 - u), q = 2 * u * (1 - u), r = u * u;
  x = p * a.ax + q * b.cx + r * b.ax;
  y = p * a.ay + q * b.cy + r * b.ay;
}

void cBezierPyro::Start() {
  progress_ = 0;
  flownMs_ = 0;
  flying_ = true;
  if (!path_.empty()) SetPosition(path_.front().ax, path_.front().ay);
  cSimplePyro::Start();
}

void cBezierPyro::StartAt(const BezierPoint& p) {
  if (path_.empty()) {
    path_.push_back(p);
  } else {
    path_.front() = p;
  }
  Start();
}

bool cBezierPyro::Update(float ms) {
  if (flying_) {
    // Summed in milliseconds: adding ms / duration each step would drift below 1 and end the flight a
    // step late.
    flownMs_ += double(ms);
    progress_ = duration_ > 0 ? float(flownMs_ / double(duration_)) : 1.0f;
    float x, y;
    PathPoint(progress_, x, y);
    if (!path_.empty()) SetPosition(x, y);
    if (progress_ >= 1) {
      flying_ = false;
      Stop(false);
    }
  }
  cSimplePyro::Update(ms);
  return !flying_;
}

}  // namespace FxManager
