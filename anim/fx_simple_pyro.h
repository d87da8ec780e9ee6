// cSimplePyro: one named effect of the catalogue with its start delay, placement offsets and four
// states, stepped with the frame time and drawn through the particle library.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace Pyro {
class IEmitter;
}

namespace FxManager {

class cSimplePyro {
 public:
  enum State : int32_t { kStopped = 0, kIdle = 1, kStopping = 2, kRunning = 3 };
  static constexpr size_t kMaxNameBytes = 127;   // names of 128 bytes or more are refused
  static constexpr float kBurnOutSeconds = 2.0f;  // no emitter counts as done before this

  cSimplePyro() = default;
  virtual ~cSimplePyro();
  cSimplePyro(const cSimplePyro&) = delete;
  cSimplePyro& operator=(const cSimplePyro&) = delete;

  // A step of `ms` milliseconds; false while stopped or idle.
  virtual bool Update(float ms);
  virtual void Render();
  // Takes the catalogue section's effect file, "startTimeout" and offsets. A section not in the
  // catalogue, a name of 128 bytes or more, or a file the library cannot load gives an effect
  // without emitters (it runs and draws nothing).
  virtual void Load(const char* section);
  // The section's "name" key of `file` names the catalogue section.
  virtual void LoadFrom(const char* file, const char* section);
  virtual void Start();
  virtual void Stop(bool immediately);
  // strict: only a full stop counts; otherwise a stopping effect counts as stopped too.
  virtual bool IsStopped(bool strict) const;
  virtual void SetPosition(float x, float y);
  virtual void GetPosition(float& x, float& y) const;
  virtual const char* GetName() const { return name_.c_str(); }

  int32_t GetState() const { return state_; }
  float Time() const { return time_; }
  float StartDelay() const { return delay_; }
  int EmitterCount() const { return int(emitters_.size()); }
  Pyro::IEmitter* Emitter(int i) const { return i >= 0 && i < EmitterCount() ? emitters_[size_t(i)] : nullptr; }
  int ParticleCount() const;

 protected:
  void ReleaseEmitters();

  struct Offset {
    int32_t x = 0, y = 0;
  };
  std::vector<Pyro::IEmitter*> emitters_;  // owned (deleted through the library)
  std::string name_;
  float time_ = 0;  // seconds since start
  double elapsedMs_ = 0;
  float delay_ = 0;
  float x_ = 0, y_ = 0;
  Offset base_;
  std::vector<Offset> offsets_;  // one per emitter
  int32_t state_ = kStopped;
};

}  // namespace FxManager
