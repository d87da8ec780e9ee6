// The period timer's advance: wrapping, stopping and holding at either end.
#include "anim/period_timer.h"

#include <cstdint>

bool PeriodTimer::Advance(int32_t ms) {
  if (flags_ & (kStopped | kPaused)) return false;
  if (ms < 0) ms = 0;
  // 64-bit sums: a long pause followed by one big step cannot overflow the time.
  if (flags_ & kBackwards) {
    int64_t t = int64_t(time_) - ms;
    if (t > 0) {
      time_ = int32_t(t);
      return false;
    }
    if (flags_ & kWrap) {
      // Wrapping keeps the time inside (0, period] however long the step was.
      if (period_ > 0) {
        t %= period_;
        time_ = int32_t(t + period_);
      } else {
        time_ = 0;
      }
    } else {
      flags_ |= kStopped;
      time_ = (flags_ & kHoldAtEnd) ? 0 : period_;
    }
    return true;
  }
  int64_t t = int64_t(time_) + ms;
  if (t < period_) {
    time_ = int32_t(t);
    return false;
  }
  if (flags_ & kWrap) {
    time_ = period_ > 0 ? int32_t(t % period_) : 0;
  } else {
    flags_ |= kStopped;
    time_ = (flags_ & kHoldAtEnd) ? period_ : 0;
  }
  return true;
}

void PeriodTimer::Restart() {
  time_ = (flags_ & kBackwards) ? period_ : 0;
  flags_ &= uint8_t(~kStopped);
}

float PeriodTimer::Fraction() const {
  if (period_ <= 0) return 0.0f;
  const float f = float(time_) / float(period_);
  return f < 0.0f ? 0.0f : (f > 1.0f ? 1.0f : f);
}
