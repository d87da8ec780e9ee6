// The frame cap of the main loop.
#include "app/frame_pacer.h"

float FramePacer::PeriodMs(bool vsync, int refreshHz, int maxFps) {
  if (maxFps <= 0) return 0.0f;
  if (!vsync) return 1000.0f / float(maxFps);
  // A tenth above the display's rate, so the cap never makes a frame miss its refresh.
  const int fps = refreshHz > maxFps ? refreshHz : maxFps;
  return 1000.0f / (float(fps) * 1.1f);
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
