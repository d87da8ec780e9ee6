// The main loop's frame pace: without a display that makes presenting wait, frames are capped
// to a rate and the loop sleeps out the rest of each frame instead of spinning.
#pragma once
#include <cstdint>

class FramePacer {
 public:
  // Frames per second allowed: `maxFps` when nothing waits for the display (0 = no cap); with
  // vsync the display sets the pace, and the cap only guards against a driver that accepts vsync
  // and then does not wait (twice the refresh rate, 240 when the rate is unknown).
  static float PeriodMs(bool vsync, int refreshHz, int maxFps);

  // Called once per frame, when it has been presented at `nowMs`: how long to sleep before the
  // next frame may start. Slightly late frames keep the average rate; a frame more than a period
  // late starts the schedule afresh, so a stall is never made up by a burst.
  uint32_t Next(uint32_t nowMs, float periodMs);
  void Reset() { started_ = false; }

 private:
  bool started_ = false;
  double due_ = 0.0;
};
