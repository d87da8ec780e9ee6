// The particle library: effect files of our own text format (docs/particles.md), their emitters and
// the simulation, drawn through the device the program hands in (anim/pyro_graphics.h).
#pragma once
#include <cstddef>
#include <cstdint>

#include "anim/pyro_graphics.h"

namespace Pyro {

// Version and flags the library is created with; other versions are refused.
constexpr int kLibraryVersion = 65806;

struct Particle {
  float x, y;          // where it is (relative to the emitter when the emitter keeps them attached)
  float vx, vy;        // pixels per second
  float age, life;     // seconds
  float angle, spin;   // radians, radians per second
  float sizeFactor;    // random factor on the size curve
};

class IEmitter;

// What an effect file says about one emitter.
class IEmitterDesc {
 public:
  virtual const char* Sprite() const = 0;  // 0; empty for the built-in dot
  virtual bool IsAdditive() const = 0;     // 1
  virtual float Rate() const = 0;          // 2: particles per second
  virtual int Burst() const = 0;           // 3
  virtual int MaxParticles() const = 0;    // 4
  virtual float Delay() const = 0;         // 5: seconds
  virtual float Duration() const = 0;      // 6: seconds of emission, 0 for endless
  virtual const char* Id() const = 0;      // 7

 protected:
  virtual ~IEmitterDesc() = default;  // owned by its effect file
};

// One effect file. The operations keep a fixed order, as the program was built against it.
class IEffectFile {
 public:
  // 0: makes the textures of every emitter through the device; false without a device.
  virtual bool Prepare() = 0;
  // 1: drops the textures (emitters then draw nothing until Prepare runs again).
  virtual void ReleaseResources() = 0;
  // 2: a new emitter of the given id, owned by the caller (Delete); null for an unknown id.
  virtual IEmitter* CreateEmitter(const char* id) = 0;
  // 3
  virtual int EmitterCount() const = 0;
  // 4: the file name the effect was loaded from.
  virtual const char* Name() const = 0;
  // 5: null past the end.
  virtual const IEmitterDesc* Emitter(int index) const = 0;
  // 6: true once Prepare has made the textures.
  virtual bool IsPrepared() const = 0;
  // 7: deletes the file; emitters made from it stay usable.
  virtual void Delete() = 0;

 protected:
  virtual ~IEffectFile() = default;
};

// A running emitter. Times are seconds; "time" is the time since the effect started.
class IEmitter {
 public:
  // 0: no particles, emission starts again from the beginning.
  virtual void Restart() = 0;
  // 1
  virtual const char* Id() const = 0;
  // 2: draws the live particles through the device.
  virtual void Render() = 0;
  // 3: moves the emitter to (x, y) over the last `elapsed` seconds, emitting along the way when
  // `emit` is set and the emission window is open.
  virtual void Move(float time, float elapsed, float x, float y, float z, bool emit) = 0;
  // 4: `count` particles at once at the emitter.
  virtual void Emit(int count) = 0;
  // 5: ages and moves the particles by `elapsed` seconds; the dead are dropped.
  virtual void Update(float time, float elapsed) = 0;
  // 6
  virtual int ParticleCount() const = 0;
  // 7: null past the end; valid until the next change.
  virtual const Particle* ParticleAt(int index) const = 0;
  // 8
  virtual void GetPosition(float& x, float& y, float& z) const = 0;
  // 9: the random stream starts again from this seed.
  virtual void SetSeed(uint32_t seed) = 0;
  // 10
  virtual uint32_t Seed() const = 0;
  // 11, 12: a factor on every particle's size.
  virtual void SetScale(float scale) = 0;
  virtual float Scale() const = 0;
  // 13, 14: an ARGB colour every particle is multiplied with.
  virtual void SetTint(uint32_t argb) = 0;
  virtual uint32_t Tint() const = 0;
  // 15: particles born since the last restart.
  virtual int BornCount() const = 0;
  // 16: false once the emitter has nothing left to show: no live particles and no more to emit
  // (see 27), or the last move asked for no emission.
  virtual bool IsAlive() const = 0;
  // 17: the window of emission is open at the last move's time.
  virtual bool IsEmitting() const = 0;
  // 18: the colour and size a particle shows now (its curves at its age, the tint and scale).
  virtual uint32_t ColorOf(const Particle& p) const = 0;
  // 19
  virtual void SetPosition(float x, float y, float z) = 0;
  // 20
  virtual float SizeOf(const Particle& p) const = 0;
  // 21: every particle dies at once; emission goes on.
  virtual void Clear() = 0;
  // 22, 23: a factor on the emission rate.
  virtual void SetRateScale(float scale) = 0;
  virtual float RateScale() const = 0;
  // 24
  virtual const IEmitterDesc* Description() const = 0;
  // 25: quads the last Render drew.
  virtual int DrawnCount() const = 0;
  // 26: the time of the last move or update.
  virtual float Time() const = 0;
  // 27: true once nothing more will be emitted (a finite window has closed, or a burst without a
  // rate is out) and every particle has died.
  virtual bool IsFinished() const = 0;
  // 28: deletes the emitter.
  virtual void Delete() = 0;

 protected:
  virtual ~IEmitter() = default;
};

// The library object: loads effect files and knows the device.
class ILibrary {
 public:
  // 0: the seed every emitter's own random stream is derived from (with its creation number).
  virtual void SetSeed(uint32_t seed) = 0;
  // 1: an effect file by data path, owned by the caller (Delete); null when it is missing or
  // damaged, with a gerr.log line naming the file and line.
  virtual IEffectFile* LoadEffectFile(const char* file) = 0;
  // 2: the device every effect draws through (not owned; may be null).
  virtual void SetDevice(PyroGraphics::IDevice* device) = 0;
  // 3: the same from text held in memory (`name` names it in errors and anchors its pictures).
  virtual IEffectFile* LoadEffectText(const char* name, const char* text, size_t length) = 0;
  virtual ~ILibrary() = default;
};

}  // namespace Pyro

// A new library object for `version` (kLibraryVersion) and `flags`; null for another version.
Pyro::ILibrary* pyroCreateLibrary(int version, int flags);
