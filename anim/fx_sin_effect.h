// cDecreaseSinEffect: an effect that rises across the screen in one second from a random place at
// the bottom to a random place at the top, swinging sideways on a wave that dies away.
#pragma once
#include "anim/fx_simple_pyro.h"

namespace FxManager {

class cDecreaseSinEffect : public cSimplePyro {
 public:
  ~cDecreaseSinEffect() override = default;
  // Also reads "amplitude" and "frequency" from the catalogue section.
  void Load(const char* section) override;
  bool Update(float ms) override;
  // Starts a flight (ignored while one is under way) with four draws of the effects' numbers.
  virtual void Launch();
  // Ends the flight where it is and stops emitting.
  virtual void StopFlight();
  // A flight between two given points (the gallery and tests choose their own).
  void LaunchBetween(float sx, float sy, float ex, float ey);

  bool IsFlying() const { return flying_; }
  float Amplitude() const { return amplitude_; }
  float Frequency() const { return frequency_; }
  float Travelled() const { return travelled_; }
  float Sideways() const { return sideways_; }

 private:
  float amplitude_ = 0, frequency_ = 0;
  float sx_ = 0, sy_ = 0, ex_ = 0, ey_ = 0;
  float distance_ = 0, angle_ = 0;
  float travelled_ = 0, sideways_ = 0;
  bool flying_ = false;
};

}  // namespace FxManager
