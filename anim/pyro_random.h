// The particle library's own random numbers: a small PCG generator per emitter, seeded by the
// caller, so effects look the same on every run and never touch the game's logged generator.
#pragma once
#include <cstdint>

namespace Pyro {

class Random {
 public:
  explicit Random(uint32_t seed = 1) { Seed(seed); }
  void Seed(uint32_t seed) {
    state_ = 0;
    Next();
    state_ += 0x853C49E6748FEA9Bull ^ seed;
    Next();
  }
  uint32_t Next() {
    const uint64_t old = state_;
    state_ = old * 6364136223846793005ull + 1442695040888963407ull;
    const uint32_t xs = uint32_t(((old >> 18) ^ old) >> 27);
    const uint32_t rot = uint32_t(old >> 59);
    return (xs >> rot) | (xs << ((32 - rot) & 31));
  }
  // 0 <= x < 1 with 24 bits.
  float Unit() { return float(Next() >> 8) * (1.0f / 16777216.0f); }
  float Between(float lo, float hi) { return lo + (hi - lo) * Unit(); }

 private:
  uint64_t state_ = 0;
};

// Mixes two numbers into a seed (the finaliser of MurmurHash3).
inline uint32_t MixSeed(uint32_t a, uint32_t b) {
  uint32_t h = a ^ (b * 0x9E3779B9u);
  h ^= h >> 16;
  h *= 0x85EBCA6Bu;
  h ^= h >> 13;
  h *= 0xC2B2AE35u;
  h ^= h >> 16;
  return h;
}

}  // namespace Pyro
