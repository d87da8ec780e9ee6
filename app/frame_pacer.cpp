// The frame cap of the main loop.
#include "app/frame_pacer.h"

float FramePacer::PeriodMs(bool vsync, int refreshHz, int maxFps) {
  if (vsync) return 1000.0f / float(refreshHz > 0 ? 2 * refreshHz : 240);
  return maxFps > 0 ? 1000.0f / float(maxFps) : 0.0f;
}

uint32_t FramePacer::Next(uint32_t nowMs, float periodMs) {
  if (periodMs <= 0.0f) {
    started_ = false;
    return 0;
  }
  const double now = double(nowMs);
  if (!started_) {
    started_ = true;
    due_ = now;
  }
  double start = due_;  // when the next frame starts
  double wait = 0.0;
  if (now < due_) {
    wait = due_ - now;
  } else if (now - due_ > periodMs) {
    start = now;  // far behind: keep no debt
  }
  due_ = start + periodMs;
  return uint32_t(wait + 0.5);
}
