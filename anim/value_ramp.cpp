// The value ramp: setting it up, moving it with its timer, and the wave output.
#include "anim/value_ramp.h"

#include <cmath>

void ValueRamp::Set(int32_t p, float a, float b, Form f) {
  form = f;
  if (p < 0) {
    timer.SetPeriod(-p);
    start = b;
    target = a;
  } else {
    timer.SetPeriod(p);
    start = a;
    target = b;
  }
  // A zero period has no per-millisecond step: the value jumps to its target when it ends.
  const int32_t period = timer.Period();
  step = period > 0 ? (target - start) / float(period) : 0.0f;
  Restart();
}

void ValueRamp::SetWave(int32_t p, float amp) {
  amplitude = amp;
  Set(p, 0.0f, kWaveEnd, Form::Wave);
}

void ValueRamp::Restart() {
  timer.Restart();
  value = start;
}

bool ValueRamp::Advance(int32_t ms) {
  if (timer.IsStopped() || timer.Has(PeriodTimer::kPaused)) return false;
  if (ms > 0) value += step * float(ms);
  if (!timer.Advance(ms)) return false;
  if (form == Form::OneShot) {
    value = target;
    timer.Stop();
  } else if (timer.IsStopped()) {
    Restart();
  } else {
    // A wrapping timer kept the time past the end; the value follows it rather than jumping back.
    const int32_t t = timer.IsBackwards() ? timer.Period() - timer.Time() : timer.Time();
    value = start + step * float(t);
  }
  return true;
}

float ValueRamp::WaveValue() const { return amplitude * std::sin(value); }
