// The volume curve: A(v) = round(10000 log10(1 + 9/8 log2(n + 1))) - 10000 with n = round(255 v),
// rounding halves to even; v = 1 gives 0 and v = 0 gives -10000.
#include "sound/snd_volume.h"

#include <algorithm>
#include <cmath>

int sndAttenuation(float volume) {
  double v = std::clamp(static_cast<double>(volume), 0.0, 1.0);
  double n = std::nearbyint(255.0 * v);  // the default rounding mode sends halves to even
  double db = 10000.0 * std::log10(1.0 + 9.0 / 8.0 * std::log2(n + 1.0));
  return static_cast<int>(std::nearbyint(db)) - 10000;
}

float sndVolumeFromAttenuation(int hundredthsDb) {
  if (hundredthsDb <= -10000) return 0.0f;
  if (hundredthsDb >= 0) return 1.0f;
  double l = (std::pow(10.0, (hundredthsDb + 10000) / 10000.0) - 1.0) * 8.0 / 9.0;
  double n = std::exp2(l) - 1.0;
  return static_cast<float>(std::clamp(std::nearbyint(n), 0.0, 255.0) / 255.0);
}

int sndPanValue(float pan) {
  float p = std::clamp(pan, -1.0f, 1.0f);
  if (p == 0.0f) return 0;
  int a = sndAttenuation(1.0f - std::fabs(p));
  return p > 0 ? -a : a;
}
