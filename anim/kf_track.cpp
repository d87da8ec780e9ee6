// Keyframe track evaluation and easing.
#include "anim/kf_track.h"

#include <algorithm>
#include <cmath>

namespace {

// Real roots of c3 s^3 + c2 s^2 + c1 s + c0 (c3 not 0), by the trigonometric or Cardano form.
int CubicRoots(double c3, double c2, double c1, double c0, double out[3]) {
  const double a = c2 / c3, b = c1 / c3, c = c0 / c3;
  const double q = (a * a - 3 * b) / 9, r = (2 * a * a * a - 9 * a * b + 27 * c) / 54;
  const double q3 = q * q * q;
  if (r * r < q3) {
    const double th = std::acos(std::clamp(r / std::sqrt(q3), -1.0, 1.0));
    const double k = -2 * std::sqrt(q);
    out[0] = k * std::cos(th / 3) - a / 3;
    out[1] = k * std::cos((th + 2 * M_PI) / 3) - a / 3;
    out[2] = k * std::cos((th - 2 * M_PI) / 3) - a / 3;
    return 3;
  }
  double e = -std::cbrt(std::fabs(r) + std::sqrt(r * r - q3));
  if (r < 0) e = -e;
  const double f = e == 0 ? 0 : q / e;
  out[0] = e + f - a / 3;
  return 1;
}

// Roots of c2 s^2 + c1 s + c0 (either leading coefficient may vanish).
int QuadraticRoots(double c2, double c1, double c0, double out[2]) {
  if (std::fabs(c2) < 1e-12) {
    if (std::fabs(c1) < 1e-12) return 0;
    out[0] = -c0 / c1;
    return 1;
  }
  const double d = c1 * c1 - 4 * c2 * c0;
  if (d < 0) return 0;
  const double sd = std::sqrt(d);
  out[0] = (-c1 + sd) / (2 * c2);
  out[1] = (-c1 - sd) / (2 * c2);
  return 2;
}

template <class Key>
size_t FindKey(const std::vector<Key>& keys, float t) {
  // The last key whose time is at most t; 0 when t lies before every key.
  auto it = std::upper_bound(keys.begin(), keys.end(), t, [](float v, const Key& k) { return v < k.time; });
  return it == keys.begin() ? 0 : size_t(it - keys.begin()) - 1;
}

// Calls seg(P, Q, u) for the segment t falls in, or single(K) when t sits on or outside a key.
template <class Key, class Seg, class Single>
void Locate(const std::vector<Key>& keys, float t, Seg seg, Single single) {
  const size_t i = FindKey(keys, t);
  const Key& k = keys[i];
  if (t > k.time && i + 1 < keys.size()) {
    const Key& q = keys[i + 1];
    const float len = q.time - k.time;
    // Keys sharing a time: the later one's value holds from that time on.
    if (!(len > 0)) return single(q);
    return seg(k, q, (t - k.time) / len);
  }
  single(k);
}

float Finite(float v, float fallback) { return std::isfinite(v) ? v : fallback; }

}  // namespace

float kfWarpTime(float u, float a, float b) {
  const double f = double(a) + b - 2.0;
  const double c2 = 3.0 - 2.0 * b - a;
  double roots[3];
  int n;
  // With a + b = 2 the cubic term vanishes and the curve is a parabola (still not u itself
  // unless both slopes are 1), so it is solved as such.
  if (std::fabs(f) > 0.00001) n = CubicRoots(f, c2, b, -double(u), roots);
  else n = QuadraticRoots(c2, b, -double(u), roots);
  double best = u;
  double bestDist = 2.0;
  for (int i = 0; i < n; ++i) {
    const double s = roots[i];
    if (!std::isfinite(s) || s < -1e-6 || s > 1 + 1e-6) continue;
    const double d = std::fabs(s - u);
    if (d < bestDist) {
      bestDist = d;
      best = std::clamp(s, 0.0, 1.0);
    }
  }
  return float(best);
}

float kfEase(float from, float to, float u, const C_FilterDesc& f) {
  if (!(u > 0)) return from;
  if (u >= 1) return to;
  const double s = kfWarpTime(u, f.a, f.b);
  const double s2 = s * s, s3 = s2 * s;
  return float((2 * s3 - 3 * s2 + 1) * from + (3 * s2 - 2 * s3) * to + (s3 - 2 * s2 + s) * f.m0 + (s3 - s2) * f.m1);
}

float kfSegment(float from, float to, float u, const C_FilterDesc& f) {
  switch (f.type) {
    case C_FilterDesc::kLinear: return from + u * (to - from);
    case C_FilterDesc::kHold: return from;
    default: return kfEase(from, to, u, f);
  }
}

float kfEvalFloat(const std::vector<C_FloatKey>& keys, float t, float neutral) {
  if (keys.empty()) return neutral;
  float v = neutral;
  Locate(
      keys, t, [&](const C_FloatKey& p, const C_FloatKey& q, float u) { v = kfSegment(p.value, q.value, u, q.filter); },
      [&](const C_FloatKey& k) { v = k.value; });
  return Finite(v, neutral);
}

void kfEvalVector(const std::vector<C_VectorKey>& keys, float t, float& x, float& y) {
  x = y = 0;
  if (keys.empty()) return;
  Locate(
      keys, t,
      [&](const C_VectorKey& p, const C_VectorKey& q, float u) {
        x = kfSegment(p.x, q.x, u, q.filterX);
        y = kfSegment(p.y, q.y, u, q.filterY);
      },
      [&](const C_VectorKey& k) {
        x = k.x;
        y = k.y;
      });
  x = Finite(x, 0);
  y = Finite(y, 0);
}

void kfEvalColour(const std::vector<C_ColorKey>& keys, float t, int& r, int& g, int& b) {
  r = g = b = 255;
  if (keys.empty()) return;
  float fr = 255, fg = 255, fb = 255;
  Locate(
      keys, t,
      [&](const C_ColorKey& p, const C_ColorKey& q, float u) {
        fr = kfSegment(p.red, q.red, u, q.filterRed);
        fg = kfSegment(p.green, q.green, u, q.filterGreen);
        fb = kfSegment(p.blue, q.blue, u, q.filterBlue);
      },
      [&](const C_ColorKey& k) {
        fr = k.red;
        fg = k.green;
        fb = k.blue;
      });
  auto channel = [](float v) { return std::isfinite(v) ? int(std::clamp(v, 0.0f, 255.0f)) : 0; };
  r = channel(fr);
  g = channel(fg);
  b = channel(fb);
}

void kfSortKeys(C_AnimationObject& o) {
  auto byTime = [](const auto& x, const auto& y) { return x.time < y.time; };
  std::stable_sort(o.position.begin(), o.position.end(), byTime);
  std::stable_sort(o.size.begin(), o.size.end(), byTime);
  std::stable_sort(o.scale.begin(), o.scale.end(), byTime);
  std::stable_sort(o.alpha.begin(), o.alpha.end(), byTime);
  std::stable_sort(o.rotation.begin(), o.rotation.end(), byTime);
  std::stable_sort(o.phase.begin(), o.phase.end(), byTime);
  std::stable_sort(o.colour.begin(), o.colour.end(), byTime);
}
