// Helpers of the sound tests: WAV files built in memory, scratch files, gerr.log capture, the sound
// system started with the mixer driven by hand, and a fixture that runs it on the manual clock.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/diag.h"
#include "platform/platform.h"
#include "sound/snd_sound.h"
#include "support/test_files.h"

namespace sndtest {

// A RIFF WAVE file; `frames` are sample values in the file's own encoding (0..255 for 8-bit).
inline std::vector<uint8_t> makeWav(int bits, int channels, uint32_t rate, const std::vector<int>& samples,
                                    bool withData = true, bool withFmt = true) {
  std::vector<uint8_t> b;
  auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i))); };
  auto u16 = [&](uint16_t v) { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); };
  auto tag = [&](const char* t) { b.insert(b.end(), t, t + 4); };
  uint32_t dataBytes = uint32_t(samples.size()) * uint32_t(bits / 8);
  tag("RIFF");
  u32(0);
  tag("WAVE");
  if (withFmt) {
    tag("fmt ");
    u32(16);
    u16(1);
    u16(uint16_t(channels));
    u32(rate);
    u32(rate * channels * bits / 8);
    u16(uint16_t(channels * bits / 8));
    u16(uint16_t(bits));
  }
  if (withData) {
    tag("data");
    u32(dataBytes);
    for (int s : samples) {
      if (bits == 8) b.push_back(uint8_t(s));
      else u16(uint16_t(int16_t(s)));
    }
  }
  uint32_t riff = uint32_t(b.size() - 8);
  for (int i = 0; i < 4; ++i) b[4 + i] = uint8_t(riff >> (8 * i));
  return b;
}

// A sine of `freq` Hz at `rate`, 16-bit values of amplitude `amp`.
inline std::vector<int> sine(double freq, uint32_t rate, int frames, double amp, int channels = 1) {
  std::vector<int> v;
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) v.push_back(int(std::lround(amp * std::sin(2 * M_PI * freq * i / rate))));
  return v;
}

inline void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) { testkit::writeFile(path, bytes); }
inline void writeText(const std::string& path, const std::string& text) { testkit::writeFile(path, text); }
inline std::vector<uint8_t> readFile(const std::string& path) { return testkit::readBytes(path); }

// gerr.log written between construction and Text().
class ErrorCapture {
 public:
  ErrorCapture() { errorLogClose(); platRemoveFile("gerr.log"); }
  std::string Text() {
    errorLogClose();
    auto b = readFile("gerr.log");
    return std::string(b.begin(), b.end());
  }
};

// Starts the sound system with nothing but its mixer, which only a test moves: no device, no thread.
inline bool startManual() {
  SndConfig c;
  c.output = SndOutput::Manual;
  c.thread = false;
  return sndInit(c);
}

inline std::vector<int16_t> mix(int frames) {
  std::vector<int16_t> out(size_t(frames) * 2);
  sndMix(out.data(), frames);
  return out;
}

// The sound system on the manual clock; the mixer moves only when a test mixes.
class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platUseManualClock(true, 10000);
    ASSERT_TRUE(startManual());
    sndSeedRandom(7);
  }
  void TearDown() override {
    sndDone();
    platUseManualClock(false);
  }
  // Advances the clock and updates, as the main loop would.
  void tick(uint32_t ms) {
    platAdvanceClock(ms);
    sndUpdate(false);
  }
  // Mixes `ms` of sound in 50 ms steps, updating after each, and returns the samples.
  std::vector<int16_t> play(uint32_t ms) {
    std::vector<int16_t> all;
    for (uint32_t t = 0; t < ms; t += 50) {
      auto part = mix(2205);
      all.insert(all.end(), part.begin(), part.end());
      tick(50);
    }
    return all;
  }
  static int peak(const std::vector<int16_t>& s) {
    int p = 0;
    for (int16_t v : s) p = std::max(p, std::abs(int(v)));
    return p;
  }
};

}  // namespace sndtest
