// Measures what mixing 32 voices costs: ten seconds of output, in the device's block size, with
// voices of every format the mixer takes (8/16 bit, mono/stereo, resampled, panned, looping).
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "sound/snd_mixer.h"

namespace {
std::unique_ptr<CSndBuffer> makeVoice(int i) {
  SndFormat f;
  f.channels = uint16_t(1 + i % 2);
  f.bitsPerSample = uint16_t(i % 3 == 0 ? 8 : 16);
  f.samplesPerSec = i % 4 == 0 ? 22050 : 44100;
  f.blockAlign = uint16_t(f.channels * f.bitsPerSample / 8);
  f.avgBytesPerSec = f.samplesPerSec * f.blockAlign;
  uint32_t frames = f.samplesPerSec;  // one second, looped
  std::vector<uint8_t> data(size_t(frames) * f.blockAlign);
  for (uint32_t n = 0; n < frames; ++n) {
    double v = std::sin(2 * 3.14159265 * (110.0 + 20 * i) * n / f.samplesPerSec) * 0.2;
    for (int c = 0; c < f.channels; ++c) {
      uint8_t* p = data.data() + size_t(n) * f.blockAlign + size_t(c) * f.bitsPerSample / 8;
      if (f.bitsPerSample == 8) {
        *p = uint8_t(128 + int(v * 127));
      } else {
        int16_t s = int16_t(v * 32767);
        p[0] = uint8_t(s & 255);
        p[1] = uint8_t((s >> 8) & 255);
      }
    }
  }
  auto b = CSndBuffer::CreateStatic(f, std::move(data));
  b->SetVolume(-600 - 50 * i);
  b->SetPan(-8000 + 500 * i);
  if (i % 5 == 0) b->SetFrequency(f.samplesPerSec * 3 / 2);
  b->Play(true);
  return b;
}
}  // namespace

int main() {
  std::vector<std::unique_ptr<CSndBuffer>> voices;
  for (int i = 0; i < 32; ++i) voices.push_back(makeVoice(i));
  constexpr int kBlock = 1024;
  constexpr int kSeconds = 10;
  std::vector<int16_t> out(kBlock * 2);
  auto t0 = std::chrono::steady_clock::now();
  for (int done = 0; done < kSndMixRate * kSeconds; done += kBlock) sndMix(out.data(), kBlock);
  double spent = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("voices playing: %d\n", sndMixVoiceCount());
  std::printf("mixed %d s of 44100 Hz stereo in %.3f s: %.2f%% of one core\n", kSeconds, spent,
              100.0 * spent / kSeconds);
  return 0;
}
