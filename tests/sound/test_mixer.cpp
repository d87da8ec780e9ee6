// What would be heard: the mixed samples of known sounds through volume, pan, rate and format.
#include <cmath>

#include "snd_test_util.h"
#include "sound/snd_volume.h"

using namespace sndtest;

namespace {
SndFormat format(int bits, int channels, uint32_t rate) {
  SndFormat f;
  f.channels = uint16_t(channels);
  f.bitsPerSample = uint16_t(bits);
  f.samplesPerSec = rate;
  f.blockAlign = uint16_t(channels * bits / 8);
  f.avgBytesPerSec = rate * f.blockAlign;
  return f;
}

std::vector<uint8_t> pcm16(const std::vector<int>& s) {
  std::vector<uint8_t> b;
  for (int v : s) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(uint16_t(v) >> 8));
  }
  return b;
}

int peakOf(const std::vector<int16_t>& s) {
  int p = 0;
  for (int16_t v : s) p = std::max(p, std::abs(int(v)));
  return p;
}
}  // namespace

TEST(SoundVolume, AttenuationCurveAndItsInverse) {
  EXPECT_EQ(sndAttenuation(1.0f), 0);
  EXPECT_EQ(sndAttenuation(0.0f), -10000);
  EXPECT_EQ(sndAttenuation(0.5f), -512);  // 127.5 goes to the even 128
  EXPECT_EQ(sndAttenuation(2.0f), 0);
  EXPECT_EQ(sndAttenuation(-1.0f), -10000);
  int prev = -10001;
  for (int n = 0; n <= 255; ++n) {
    int a = sndAttenuation(n / 255.0f);
    EXPECT_GT(a, prev);
    prev = a;
    EXPECT_FLOAT_EQ(sndVolumeFromAttenuation(a), n / 255.0f) << n;
  }
  EXPECT_EQ(sndPanValue(0.0f), 0);
  EXPECT_EQ(sndPanValue(1.0f), 10000);    // right: the left side silenced
  EXPECT_EQ(sndPanValue(-0.5f), -512);
  EXPECT_EQ(sndPanValue(-7.0f), -10000);  // clamped at both ends
  EXPECT_EQ(sndPanValue(7.0f), 10000);
}

TEST(SoundMixer, SineAtHalfVolumeComesOutScaledOnBothSides) {
  auto wave = sine(1000, 44100, 4410, 20000);
  auto b = CSndBuffer::CreateStatic(format(16, 1, 44100), pcm16(wave));
  b->SetVolume(sndAttenuation(0.5f));
  b->Play(false);
  auto out = mix(4410);
  const double gain = std::pow(10.0, -512 / 2000.0);  // about 0.555
  for (int i = 0; i < 4410; ++i) {
    ASSERT_NEAR(out[2 * size_t(i)], wave[size_t(i)] * gain, 1.0) << i;
    ASSERT_EQ(out[2 * size_t(i)], out[2 * size_t(i) + 1]);
  }
  EXPECT_FALSE(b->IsPlaying());  // the last frame was mixed: finished and rewound
  EXPECT_EQ(b->GetPosition(), 0u);
  EXPECT_EQ(peakOf(mix(100)), 0);
}

TEST(SoundMixer, PanSilencesTheFarSideAndStereoKeepsItsSides) {
  auto b = CSndBuffer::CreateStatic(format(16, 2, 44100), pcm16({1000, -2000, 1000, -2000, 1000, -2000}));
  b->Play(true);
  auto out = mix(3);
  EXPECT_EQ(out[0], 1000);
  EXPECT_EQ(out[1], -2000);
  b->SetPan(sndPanValue(1.0f));
  out = mix(3);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], -2000);
  b->SetPan(sndPanValue(-0.5f));
  out = mix(1);
  EXPECT_EQ(out[0], 1000);
  EXPECT_NEAR(out[1], -2000 * std::pow(10.0, -512 / 2000.0), 1.0);
}

TEST(SoundMixer, EightBitMatchesSixteenBitWithinItsStep) {
  std::vector<int> s8;
  std::vector<int> s16;
  for (int i = 0; i < 64; ++i) {
    int v = int(std::lround(100 * std::sin(i * 0.3)));
    s8.push_back(128 + v);
    s16.push_back(v * 256);
  }
  std::vector<uint8_t> bytes8(s8.begin(), s8.end());
  auto a = CSndBuffer::CreateStatic(format(8, 1, 44100), bytes8);
  a->Play(false);
  auto out8 = mix(64);
  auto b = CSndBuffer::CreateStatic(format(16, 1, 44100), pcm16(s16));
  b->Play(false);
  auto out16 = mix(64);
  for (size_t i = 0; i < out8.size(); ++i) ASSERT_EQ(out8[i], out16[i]) << i;
  EXPECT_NE(peakOf(out8), 0);
}

TEST(SoundMixer, RateDecidesHowLongASoundLasts) {
  // 2205 frames at 22050 Hz are 100 ms: 4410 output frames.
  auto b = CSndBuffer::CreateStatic(format(16, 1, 22050), pcm16(std::vector<int>(2205, 3000)));
  b->Play(false);
  auto out = mix(4409);
  EXPECT_TRUE(b->IsPlaying());
  EXPECT_EQ(out[2 * 4408], 3000);
  mix(1);
  EXPECT_FALSE(b->IsPlaying());
  b->SetFrequency(44100);
  b->Play(false);
  mix(2204);
  EXPECT_TRUE(b->IsPlaying());
  mix(1);
  EXPECT_FALSE(b->IsPlaying());
  b->SetFrequency(5);
  EXPECT_EQ(b->GetFrequency(), kSndMinFrequency);
  b->SetFrequency(900000);
  EXPECT_EQ(b->GetFrequency(), kSndMaxFrequency);
}

TEST(SoundMixer, DuplicatesShareSamplesAndPlayApart) {
  auto a = CSndBuffer::CreateStatic(format(16, 1, 44100), pcm16(std::vector<int>(100, 1000)));
  auto b = a->Duplicate();
  ASSERT_TRUE(b);
  a->Play(false);
  b->Play(false);
  EXPECT_EQ(mix(1)[0], 2000);  // two voices add
  b.reset();                   // a voice deleted while playing simply leaves the mix
  EXPECT_EQ(mix(1)[0], 1000);
  auto ring = CSndBuffer::CreateStream(format(16, 1, 44100), 1000);
  EXPECT_FALSE(ring->Duplicate());
  EXPECT_EQ(ring->Size(), 1000u);
  auto loud = CSndBuffer::CreateStatic(format(16, 1, 44100), pcm16(std::vector<int>(10, 30000)));
  auto louder = loud->Duplicate();
  loud->Play(false);
  louder->Play(false);
  auto clipped = mix(1);
  EXPECT_EQ(clipped[0], 32767);  // 61000 is clamped, not wrapped
  EXPECT_GE(sndMixStats().clipped, 1u);
}
