// cBezierPyro: an effect that flies along a chain of quadratic curves over a set duration (rockets,
// flares, a witch's fireball), and stops emitting when it arrives.
#pragma once
#include <vector>

#include "anim/fx_simple_pyro.h"

namespace FxManager {

// Control point, then anchor: a segment runs from the previous point's anchor through this
// point's control to this point's anchor.
struct BezierPoint {
  float cx = 0, cy = 0;
  float ax = 0, ay = 0;
};

class cBezierPyro : public cSimplePyro {
 public:
  static constexpr float kDefaultDuration = 1000;

  // Flies on while the path lasts, then the effect itself steps; true once the flight is over.
  bool Update(float ms) override;
  // Starts the effect at the path's first anchor and flies.
  void Start() override;

  void SetPath(const BezierPoint* points, int count);
  // Starts at `p` (the first point's anchor) and flies.
  void StartAt(const BezierPoint& p);
  // A duration of 0 or less ends the flight on the next step.
  void SetDuration(float ms) { duration_ = ms; }
  float GetDuration() const { return duration_; }

  bool IsFlying() const { return flying_; }
  float Progress() const { return progress_; }
  // The place at progress t (0..1): the last anchor from 1 on; the only anchor of a one-point
  // path; (0, 0) without a path.
  void PathPoint(float t, float& x, float& y) const;
  const std::vector<BezierPoint>& Path() const { return path_; }

 private:
  std::vector<BezierPoint> path_;
  float duration_ = kDefaultDuration;
  float progress_ = 0;
  double flownMs_ = 0;
  bool flying_ = false;
};

}  // namespace FxManager
