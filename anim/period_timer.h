// A millisecond timer over one period that can run backwards, restart by itself, hold at its end
// and pause; advancing it tells when a period has ended. Most timed behaviour is built on it.
#pragma once
#include <cstdint>

class PeriodTimer {
 public:
  enum Flag : uint8_t {
    kStopped = 1 << 0,
    kWrap = 1 << 1,       // restarts by itself at the end of a period
    kBackwards = 1 << 2,  // time counts down from the period to 0
    kHoldAtEnd = 1 << 3,  // a timer that stops keeps its end time instead of returning to the start
    kPaused = 1 << 4,
  };

  PeriodTimer() = default;
  PeriodTimer(int32_t period, uint8_t flags) : period_(Clamp(period)), flags_(flags) {}

  // Advances by `ms` (negative counts as 0); true when a period ended during this step.
  bool Advance(int32_t ms);
  // Back to the beginning of a period (the period itself when running backwards) and running.
  void Restart();

  int32_t Time() const { return time_; }
  void SetTime(int32_t t) { time_ = t; }
  int32_t Period() const { return period_; }
  // A negative period counts as 0; a timer with period 0 ends a period on every advance.
  void SetPeriod(int32_t p) { period_ = Clamp(p); }
  // Share of the period that has passed, 0..1 (0 for a zero period).
  float Fraction() const;

  uint8_t Flags() const { return flags_; }
  void SetFlags(uint8_t f) { flags_ = f; }
  bool Has(Flag f) const { return (flags_ & f) != 0; }
  void Set(Flag f, bool on) { flags_ = on ? uint8_t(flags_ | f) : uint8_t(flags_ & ~f); }
  bool IsStopped() const { return Has(kStopped); }
  bool IsBackwards() const { return Has(kBackwards); }
  void Stop() { Set(kStopped, true); }
  void Pause(bool on) { Set(kPaused, on); }

 private:
  static int32_t Clamp(int32_t p) { return p < 0 ? 0 : p; }

  int32_t time_ = 0;
  int32_t period_ = 0;
  uint8_t flags_ = 0;
};
