// The main loop's frame pace: without a display that makes presenting wait, frames are capped
// to a rate and the loop sleeps out the rest of each frame instead of spinning.
#pragma once
#include <cstdint>

class FramePacer {
 public:
  // The shortest frame: 1000 / `maxFps` ms when nothing waits for the display, none for a
  // `maxFps` of 0. With vsync the display sets the pace and the cap sits a tenth above the
  // refresh rate (or `maxFps` when that is higher or the rate unknown): it never delays a frame
  // the display waits for, yet holds a driver that accepts vsync and then does not wait (the
  // offscreen one) near the rate asked for.
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
