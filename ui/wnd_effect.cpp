// The appearance effect of a window: the gate that holds input back and the scale, rotation and
// move applied while the window and its children draw.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "ui/wnd.h"

namespace {
// A period of 0 or less has no time to run in: the effect is over from the start (and nothing is
// divided by it).
bool effectRunning(const UIEffect& e, int32_t age) { return e.period > 0 && age - e.start <= e.period; }
}  // namespace

bool UIWnd::EffectBlocksInput() const {
  if (!effect_) return false;
  if (effect_->type == 0) return true;
  return effect_->type % 2 == 0 && !effectRunning(*effect_, age_);
}

bool UIWnd::EffectTransform(float m[16]) const {
  if (!effect_ || effect_->type == 0) return false;
  const UIEffect& e = *effect_;
  bool odd = e.type % 2 == 1;
  bool running = effectRunning(e, age_);
  if (!running && !odd) return false;
  float t = running ? std::clamp(float(age_ - e.start) / float(e.period), 0.0f, 1.0f) : 1.0f;
  float f = odd ? t : 1.0f - t;
  float g = e.type > 3 ? f * f : f;
  float s = (e.scale - 1.0f) * f + 1.0f;
  float r = f * e.rotate;
  float cx = float(x_ + xs_ / 2), cy = float(y_ + ys_ / 2);
  float dx = (float(e.x) - cx) * g, dy = (float(e.y) - cy) * g;
  float c = std::cos(r) * s, sn = std::sin(r) * s;
  // Row vectors: p' = (p - centre) * scale * rotation + centre + offset.
  float tx = -cx * c + cy * sn + cx + dx;
  float ty = -cx * sn - cy * c + cy + dy;
  const float out[16] = {c, sn, 0, 0, -sn, c, 0, 0, 0, 0, 1, 0, tx, ty, 0, 1};
  std::memcpy(m, out, sizeof out);
  return true;
}
