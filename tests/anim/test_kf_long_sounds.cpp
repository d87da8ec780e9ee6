// Held ("long_") sound keys through the real sound system on the manual clock: a later held key
// ends the earlier held sound, a held key played again stops its old instance first, and a viewer
// that goes away stops what it holds. Voices are counted by what the mixer hears: the sounds are
// a constant level, so two voices sum to twice one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "kf_test_util.h"
#include "sound/snd_test_util.h"

using namespace kftest;

namespace {

class KfLongSounds : public sndtest::SoundTest {
 protected:
  void SetUp() override {
    sndtest::SoundTest::SetUp();
    // Two seconds of a constant level: still playing whenever the tests listen.
    sndtest::writeFile("kfsnd/hum.wav", sndtest::makeWav(16, 1, 22050, std::vector<int>(44100, 6000)));
    sndtest::writeText("kfsnd/sounds.ini",
                       "[main]\nmaxvolume=1\n[long_hum]\nname=kfsnd/hum.wav\n[long_buzz]\nname=kfsnd/hum.wav\n");
    sndLoadScript("kfsnd/sounds.ini");
    auto o = object("drone");
    o->scale = {fkey(0, 1), fkey(1, 1), fkey(2, 1)};
    o->scale[0].soundName = "long_hum";
    o->scale[1].soundName = "long_buzz";
    anim = animationOf(listOf(std::move(o)));
  }
  void TearDown() override {
    anim.reset();
    sndFreeScript("kfsnd/sounds.ini");
    sndtest::SoundTest::TearDown();
  }
  // The level of one mixed frame, in units of one voice.
  double Voices() {
    const int level = std::abs(int(sndtest::mix(1)[0]));
    if (one == 0) one = level;
    return one ? double(level) / one : 0.0;
  }
  std::unique_ptr<C_Animation> anim;
  int one = 0;
};

TEST_F(KfLongSounds, ALaterHeldKeyEndsTheEarlierHeldSound) {
  C_AnimationPlayback p;
  kfDraw(*anim, p, 0, 1, 1, 0, 0, 0);
  ASSERT_EQ(p.held.size(), 1u);
  ASSERT_GT(Voices(), 0.0);
  kfDraw(*anim, p, 0.5f, 1, 1, 0, 0, 0);
  EXPECT_NEAR(Voices(), 1.0, 0.01) << "nothing new held yet";
  kfDraw(*anim, p, 1.0f, 1, 1, 0, 0, 0);
  EXPECT_NEAR(Voices(), 1.0, 0.01) << "the buzz instead of the hum, not both";
  ASSERT_EQ(p.held.size(), 1u);
  EXPECT_FLOAT_EQ(p.held[0].keyTime, 1.0f);
  EXPECT_TRUE(sndIsPlaying(p.held[0].sound));
}

TEST_F(KfLongSounds, AHeldKeyPlayedAgainStopsItsOldInstanceFirst) {
  C_AnimationPlayback p;
  kfDraw(*anim, p, 0, 1, 1, 0, 0, 0);
  ASSERT_EQ(p.held.size(), 1u);
  ASSERT_GT(Voices(), 0.0);
  kfDraw(*anim, p, 0.5f, 1, 1, 0, 0, 0);
  p.Restart();
  kfDraw(*anim, p, 0, 1, 1, 0, 0, 0);
  ASSERT_EQ(p.held.size(), 1u) << "one instance per key, never two";
  EXPECT_NEAR(Voices(), 1.0, 0.01) << "the replaced instance does not play on unheld";
  p.StopSounds();
  EXPECT_TRUE(p.held.empty());
  EXPECT_EQ(Voices(), 0.0) << "a viewer that stops holds nothing playing";
}

}  // namespace
