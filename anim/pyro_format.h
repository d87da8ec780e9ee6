// Effect files of the particle library: what one says (emitters with their rates, lives, motion,
// curves over life and picture) and the bounded reader of the hand-written text format.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Pyro {

constexpr int kMaxCurveKeys = 8;
constexpr int kMaxEmitters = 16;
constexpr int kMaxParticlesPerEmitter = 10000;
constexpr size_t kMaxFileBytes = 64 * 1024;
constexpr size_t kMaxLineBytes = 512;

// A value over a particle's life (0 at birth, 1 at death), linear between keys and held flat
// before the first and after the last.
struct Curve {
  int count = 0;
  float t[kMaxCurveKeys] = {};
  float v[kMaxCurveKeys] = {};

  static Curve Constant(float value);
  float At(float x) const;
};

// The same for colours: red, green, blue and alpha as 0..1.
struct ColorCurve {
  int count = 0;
  float t[kMaxCurveKeys] = {};
  float c[kMaxCurveKeys][4] = {};

  static ColorCurve Constant(float r, float g, float b, float a);
  void At(float x, float out[4]) const;
};

struct EmitterDef {
  std::string id;
  std::string sprite;  // picture path relative to the effect file's folder; empty: the built-in dot
  bool additive = false;
  float rate = 10;  // particles per second
  int burst = 0;    // particles at the moment emission starts
  int maxParticles = 500;
  float delay = 0, duration = 0;  // seconds; duration 0 emits for ever
  float lifeMin = 1, lifeMax = 1;
  float speedMin = 0, speedMax = 0;
  float direction = -1.5707964f, spread = 0;  // radians; 0 points right, -pi/2 up the screen
  float gravityX = 0, gravityY = 0;           // pixels per second squared
  float drag = 0;                             // share of the speed lost per second
  float areaWidth = 0, areaHeight = 0;        // where particles are born around the emitter
  bool round = false;                         // the area is an ellipse instead of a box
  float angleMin = 0, angleMax = 0;           // radians at birth
  float spinMin = 0, spinMax = 0;             // radians per second
  float sizeVariation = 0;                    // each particle's size is the curve times 1 +- this
  bool attached = false;                      // particles move along with the emitter
  Curve size = Curve::Constant(16);           // pixels across
  Curve alpha = Curve::Constant(1);
  ColorCurve color = ColorCurve::Constant(1, 1, 1, 1);
};

struct EffectDef {
  std::string title;
  std::vector<EmitterDef> emitters;
};

// Reads an effect file's text. On failure answers false with `error` holding "<name>(<line>):
// <why>" (line 0 for faults of the whole file) and `out` untouched.
bool pyroParseEffect(std::string_view text, std::string_view name, EffectDef& out, std::string& error);

}  // namespace Pyro
