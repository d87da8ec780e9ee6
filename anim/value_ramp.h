// A float that moves linearly from a start to a target value over a timer's period: once, over and
// over, or as a wave whose output is a sine of the value. Fades, waves and weather use it.
#pragma once
#include <cstdint>

#include "anim/period_timer.h"

class ValueRamp {
 public:
  enum class Form : uint8_t { OneShot, Repeat, Wave };
  // A wave runs its value over this range (the constant, not 2 pi, as the data was tuned to it).
  static constexpr float kWaveEnd = 6.28f;

  ValueRamp() { timer.Stop(); }

  // Period p ms from a to b; a negative p runs the period -p from b to a. Restarts.
  void Set(int32_t p, float a, float b, Form form = Form::OneShot);
  // A wave of the given period and amplitude over 0..kWaveEnd. Restarts.
  void SetWave(int32_t p, float amplitude);
  void Restart();
  // Moves the value by the step for `ms` and advances the timer; true when a period ended.
  bool Advance(int32_t ms);

  float Value() const { return value; }
  // amplitude x sin(value): the output of a wave.
  float WaveValue() const;
  bool IsStopped() const { return timer.IsStopped(); }

  PeriodTimer timer;
  float value = 0.0f;
  float start = 0.0f, target = 0.0f;
  float step = 0.0f;  // per millisecond
  float amplitude = 1.0f;
  Form form = Form::OneShot;
};
