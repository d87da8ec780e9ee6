// Fades over the clock, fade callbacks on the UI thread, end-of-data callbacks, streams that
// refill without a seam, and the music player's cross-fades.
#include "snd_test_util.h"
#include "sound/snd_volume.h"

using namespace sndtest;

namespace {
std::vector<CSound*> g_called;
void remember(CSound* s) { g_called.push_back(s); }

int level(CSound* s) { return s->Current()->buffer->GetVolume(); }
}  // namespace

class SoundFades : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    g_called.clear();
    // Two seconds of a constant level: long enough to watch fades on.
    writeFile("sndtest/long.wav", makeWav(16, 1, 22050, std::vector<int>(44100, 10000)));
    writeText("sndtest/fades.ini", "[main]\nmaxvolume=1\n[long]\nname=sndtest/long.wav\n");
    sndLoadScript("sndtest/fades.ini");
  }
};

TEST_F(SoundFades, FadeOutNowLowersThenStopsAndCallsBackOnTheUiThread) {
  CSound* s = sndPlay("long");
  sndHold(s);
  sndFade(s, SND_FADE_OUT_NOW | SND_FADE_FINISH, remember);
  EXPECT_EQ(sndGetFade(s), SND_FADE_OUT_NOW | SND_FADE_FINISH);
  tick(250);
  EXPECT_EQ(level(s), sndAttenuation(0.75f));
  tick(500);
  EXPECT_EQ(level(s), sndAttenuation(0.25f));
  EXPECT_TRUE(g_called.empty());
  tick(250);
  EXPECT_FALSE(sndIsPlaying(s));
  EXPECT_EQ(level(s), 0);  // full volume again for the next start
  ASSERT_EQ(g_called.size(), 1u);
  EXPECT_EQ(g_called[0], s);
  EXPECT_EQ(sndGetFade(s), 0);
  sndUnhold(s);
}

TEST_F(SoundFades, FadeInNowRisesFromSilence) {
  CSound* s = sndPlay("long");
  sndFade(s, SND_FADE_IN_NOW, remember);
  EXPECT_EQ(level(s), -10000);
  EXPECT_EQ(mix(1)[0], 0);
  tick(500);
  EXPECT_EQ(level(s), sndAttenuation(0.5f));
  tick(500);
  EXPECT_EQ(level(s), 0);
  EXPECT_EQ(g_called.size(), 1u);
  EXPECT_EQ(sndGetFade(s), 0);
}

TEST_F(SoundFades, FadeInAndOutFollowThePositionInTheData) {
  sndSetFadeTime(500);
  CSound* s = sndPlay("long");
  sndFade(s, SND_FADE_IN_START | SND_FADE_OUT_END, nullptr);
  EXPECT_EQ(level(s), -10000);
  auto first = play(250);  // 250 ms into the data: half of the fade-in
  EXPECT_EQ(first[0], 0);
  EXPECT_NEAR(sndGetVolume(s), 0.5f, 0.01f);  // the cursor moves in whole frames of the file
  play(500);
  EXPECT_EQ(level(s), 0);
  play(1000);  // 1750 ms: 250 ms before the end
  EXPECT_NEAR(sndGetVolume(s), 0.5f, 0.01f);
  play(300);
  EXPECT_FALSE(sndIsPlaying(s));
}

TEST_F(SoundFades, CallbackWhenTheDataEnds) {
  CSound* s = sndPlay("long");
  sndHold(s);
  sndFade(s, SND_FADE_CALL_AT_END, remember);
  play(1950);
  EXPECT_TRUE(g_called.empty());
  play(150);
  ASSERT_EQ(g_called.size(), 1u);
  EXPECT_FALSE(sndIsPlaying(s));
  sndUnhold(s);
}

TEST_F(SoundFades, DataEndingDuringAFadeStillFinishesIt) {
  CSound* s = sndPlay("long");
  play(1800);
  sndFade(s, SND_FADE_OUT_NOW | SND_FADE_FINISH, remember);
  play(400);
  EXPECT_FALSE(sndIsPlaying(s));
  EXPECT_EQ(g_called.size(), 1u);  // the data ended first; the callback still came
}

TEST_F(SoundFades, StreamedSoundIsHeardWithoutASeam) {
  // 1.2 MB of a known ramp: streamed through the 128 KB ring, refilled as the cursor moves.
  std::vector<int> ramp(600000);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = int(i % 20000) - 10000;
  writeFile("sndtest/big.wav", makeWav(16, 1, 44100, ramp));
  CSound* s = sndPlay("sndtest/big.wav");
  ASSERT_TRUE(s);
  ASSERT_TRUE(s->Current()->Streams());
  auto heard = play(14000);
  for (size_t i = 0; i < ramp.size(); ++i) ASSERT_EQ(heard[2 * i], ramp[i]) << i;
  for (size_t i = ramp.size(); i < heard.size() / 2; ++i) ASSERT_EQ(heard[2 * i], 0) << i;
  EXPECT_FALSE(sndIsPlaying(s));
}

TEST_F(SoundFades, LoopingStreamWrapsToItsStart) {
  std::vector<int> ramp(300000);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = int(i % 3000);
  writeFile("sndtest/music.wav", makeWav(16, 1, 44100, ramp));
  writeText("sndtest/loop.ini", "[main]\nmaxvolume=1\n[m]\nmusic=sndtest/music.wav\nmode=1\nloop=1\n");
  sndLoadScript("sndtest/loop.ini");
  CSound* s = sndGet("m", SND_MUSIC);
  sndStart(s, -1);
  auto heard = play(8000);
  for (size_t i = 0; i < heard.size() / 2; ++i) ASSERT_EQ(heard[2 * i], ramp[i % ramp.size()]) << i;
  sndStop(s);
  EXPECT_EQ(mix(1)[0], 0);
  sndStart(s, -1);  // rewound: from the start again
  EXPECT_EQ(mix(2)[2], 1);
  sndRelease(s);
}

class SoundMusic : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    writeFile("sndtest/m1.wav", makeWav(16, 1, 22050, std::vector<int>(22050 * 3, 4000)));
    writeFile("sndtest/m2.wav", makeWav(16, 1, 22050, std::vector<int>(22050 * 3, -4000)));
    writeText("sndtest/music.ini", "[main]\nmode=1\nloop=1\nmaxvolume=1\n[one]\nmusic=sndtest/m1.wav\n[two]\nmusic=sndtest/m2.wav\n");
    sndLoadScript("sndtest/music.ini");
  }
};

TEST_F(SoundMusic, CrossFadeWaitsForTheOldTrackToFadeOut) {
  sndPlayMusic("one", 0, 1, nullptr);
  ASSERT_TRUE(sndIsMusicPlaying());
  CSound* one = sndCurrentMusic();
  EXPECT_EQ(mix(1)[0], 4000);
  sndPlayMusic("two", SND_MUSIC_FADE, 1, nullptr);
  EXPECT_EQ(sndCurrentMusic(), one);  // the new track waits
  play(500);
  EXPECT_EQ(level(one), sndAttenuation(0.5f));
  play(550);
  CSound* two = sndCurrentMusic();
  ASSERT_NE(two, one);
  EXPECT_STREQ(sndGetName(two), "two");
  EXPECT_TRUE(sndIsMusicPlaying());
  // The new track fades in from silence over the first second of its data.
  EXPECT_LT(level(two), 0);
  play(1100);
  EXPECT_EQ(level(two), 0);
  EXPECT_EQ(mix(1)[0], -4000);  // only the new track is heard
}

TEST_F(SoundMusic, AskingForTheFadingTrackAgainFadesItBackIn) {
  sndPlayMusic("one", 0, 1, nullptr);
  CSound* one = sndCurrentMusic();
  sndPlayMusic("two", SND_MUSIC_FADE, 1, nullptr);
  play(300);
  sndPlayMusic("one", SND_MUSIC_FADE, 1, nullptr);
  EXPECT_EQ(sndGetFade(one), SND_FADE_IN_NOW);
  play(1100);
  EXPECT_EQ(sndCurrentMusic(), one);  // the pending request was dropped
  EXPECT_EQ(level(one), 0);
  sndPlayMusic("", 0, 1, nullptr);  // the current track plays: nothing happens
  EXPECT_EQ(sndCurrentMusic(), one);
}

TEST_F(SoundMusic, StoppingWithAndWithoutFade) {
  sndPlayMusic("one", 0, 1, nullptr);
  sndStopMusic(SND_MUSIC_STOP_FADE);
  EXPECT_TRUE(sndIsMusicPlaying());
  play(1100);
  EXPECT_FALSE(sndIsMusicPlaying());
  EXPECT_EQ(sndCurrentMusic(), nullptr);
  sndPlayMusic("two", 0, 1, nullptr);
  sndPlayMusic("one", 0, 1, nullptr);  // without a fade: switched at once
  EXPECT_STREQ(sndGetName(sndCurrentMusic()), "one");
  EXPECT_EQ(mix(1)[0], 4000);
  sndStopMusicNow();
  EXPECT_FALSE(sndIsMusicPlaying());
  EXPECT_EQ(mix(1)[0], 0);
  play(100);
  EXPECT_EQ(sndLibrarySize(), 2);  // only the two templates remain
}
