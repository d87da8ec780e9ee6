// Sound scripts, instances and the library: defaults from "main", variants, clamped values,
// once sounds, collection, holders, and the volume rules applied to buffers.
#include "snd_test_util.h"
#include "sound/snd_volume.h"

using namespace sndtest;

namespace {
// Two short 16-bit effects at different rates and one 8-bit stereo one.
void writeEffects() {
  writeFile("sndtest/a.wav", makeWav(16, 1, 22050, std::vector<int>(2205, 8000)));   // 100 ms
  writeFile("sndtest/b.wav", makeWav(16, 1, 44100, std::vector<int>(4410, -8000)));  // 100 ms
  writeFile("sndtest/c.wav", makeWav(8, 2, 11025, std::vector<int>(2 * 1103, 200)));
}

CSoundVariant& cur(CSound* s) { return *s->Current(); }
}  // namespace

class SoundScripts : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    writeEffects();
  }
};

TEST_F(SoundScripts, KeysFallBackToMainAndValuesAreClamped) {
  writeText("sndtest/keys.ini",
            "[main]\nminvolume=0.25\nmaxvolume=1\n"
            "[plain]\nname=sndtest/a.wav\n"
            "[over]\nname=sndtest/a.wav\nsound=sndtest/b.wav\nmaxvolume=3\npan=-4\nr=10\n"
            "[music]\nmusic=sndtest/b.wav\nsound=sndtest/a.wav\nmode=1\nloop=1\nminfrq=0.5\nmaxfrq=2\n");
  ErrorCapture log;
  sndLoadScript("sndtest/keys.ini");
  CSound* plain = sndGet("plain", SND_SOUND);
  ASSERT_TRUE(plain);
  EXPECT_FLOAT_EQ(cur(plain).minVolume, 0.25f);
  EXPECT_FLOAT_EQ(cur(plain).maxVolume, 1.0f);
  EXPECT_FLOAT_EQ(cur(plain).minFrequency, 1.0f);  // "maxfrq" 0 sets both to 1
  CSound* over = sndGet("OVER", SND_SOUND);        // names ignore letter case
  ASSERT_TRUE(over);
  EXPECT_EQ(cur(over).file, "sndtest/b.wav");
  EXPECT_FLOAT_EQ(cur(over).maxVolume, 1.0f);
  EXPECT_FLOAT_EQ(cur(over).pan, -1.0f);
  EXPECT_EQ(cur(over).radius, 100);
  CSound* music = sndGet("music", SND_MUSIC);
  ASSERT_TRUE(music);
  EXPECT_EQ(cur(music).file, "sndtest/b.wav");
  EXPECT_TRUE(cur(music).Streams());  // music always streams
  EXPECT_TRUE(music->Has(SNDF_LOOP));
  EXPECT_FLOAT_EQ(cur(music).maxFrequency, 2.0f);
  std::string text = log.Text();
  EXPECT_NE(text.find("maxVolume>1"), std::string::npos);
  EXPECT_NE(text.find("pan<-1"), std::string::npos);
  for (CSound* s : {plain, over, music}) sndRelease(s);
}

TEST_F(SoundScripts, VolumePanAndFrequencyReachTheBuffer) {
  writeText("sndtest/vol.ini", "[main]\nmaxvolume=1\n[a]\nname=sndtest/a.wav\npan=0.5\n[b]\nname=sndtest/b.wav\n");
  sndLoadScript("sndtest/vol.ini");
  CSound* a = sndPlayEx("a", SND_SOUND, 0.5f, 1.0f, -1.0f);
  ASSERT_TRUE(a);
  EXPECT_EQ(cur(a).buffer->GetVolume(), -512);
  EXPECT_NEAR(sndGetVolume(a), 0.5f, 0.004f);
  EXPECT_EQ(cur(a).buffer->GetPan(), -sndAttenuation(0.5f));  // pan 1 × the script's 0.5
  sndSetPan(a, -9.0f);
  EXPECT_EQ(cur(a).buffer->GetPan(), sndAttenuation(0.5f));
  // The factor scales the file's own rate, so a 22050 Hz sound at 1 is not an octave high.
  EXPECT_EQ(cur(a).buffer->GetFrequency(), 22050u);
  sndSetFrequency(a, 2.0f);
  EXPECT_EQ(cur(a).buffer->GetFrequency(), 44100u);
  sndSetFrequency(a, 100.0f);
  EXPECT_EQ(cur(a).buffer->GetFrequency(), 100000u);
  EXPECT_NEAR(sndGetLength(a), 0.1f, 1e-4);

  sndSetCategoryVolume(0.5f, SND_SOUND);
  EXPECT_EQ(cur(a).buffer->GetVolume(), sndAttenuation(0.25f));
  sndSetCategoryVolume(0.0f, SND_SOUND);
  EXPECT_EQ(sndGetVolume(a), 0.0f);  // sound off reads as silent, not as a division by zero
  EXPECT_EQ(sndPlay("b"), nullptr);  // and plays nothing new
  sndSetCategoryVolume(1.0f, SND_SOUND);
  EXPECT_NE(sndPlay("b"), nullptr);

  sndSetFadeTime(120);
  EXPECT_EQ(sndGetFadeTime(), 100);
  sndSetFadeTime(30);
  EXPECT_EQ(sndGetFadeTime(), 1000);
}

TEST_F(SoundScripts, InstancesOverlapAndAreCollectedOnceFinished) {
  writeText("sndtest/overlap.ini", "[main]\nmaxvolume=1\n[b]\nname=sndtest/b.wav\n[once]\nname=sndtest/a.wav\nonce=1\n");
  sndLoadScript("sndtest/overlap.ini");
  const int base = sndLibrarySize();
  CSound* x = sndPlay("b");
  CSound* y = sndPlay("b");
  CSound* z = sndPlay("b");
  ASSERT_TRUE(x && y && z);
  EXPECT_TRUE(x != y && y != z);
  EXPECT_EQ(sndLibrarySize(), base + 3);
  EXPECT_EQ(mix(1)[0], -24000);  // three voices heard at once
  play(150);
  EXPECT_FALSE(sndIsPlaying(x));
  EXPECT_EQ(sndPlay("nothing-such"), nullptr);  // the next play collects the three
  EXPECT_EQ(sndLibrarySize(), base);

  CSound* once = sndPlay("once");
  ASSERT_TRUE(once);
  EXPECT_EQ(sndPlay("once"), nullptr);  // asked for while it plays: none
  play(250);
  EXPECT_EQ(sndPlay("once"), once);     // the same object again once it has finished
  sndRelease(once);                     // a once sound stays in the library
  EXPECT_EQ(sndGet("once", SND_SOUND), once);
}

TEST_F(SoundScripts, VariantsArePickedAtRandom) {
  writeText("sndtest/var.ini",
            "[main]\nmaxvolume=1\n[hit]\nevent0=hit_a\nname1=hit_b\nevent2=\nname3=hit_a\n"
            "[hit_a]\nname=sndtest/a.wav\n[hit_b]\nname=sndtest/b.wav\nmaxvolume=0.5\n");
  sndLoadScript("sndtest/var.ini");
  int seen[2] = {0, 0};
  for (int i = 0; i < 40; ++i) {
    CSound* s = sndPlay("hit");
    ASSERT_TRUE(s);
    ASSERT_EQ(s->variants.size(), 2u);  // the list ends at the first empty entry
    EXPECT_FLOAT_EQ(s->variants[1].maxVolume, 0.5f);
    ++seen[s->VariantIndex()];
    double expected = s->VariantIndex() == 0 ? 8000.0 : -8000.0 * std::pow(10.0, -512 / 2000.0);
    EXPECT_NEAR(mix(1)[0], expected, 1.0);  // the chosen file is the one heard, at its volume
    sndStop(s);
  }
  EXPECT_GT(seen[0], 5);
  EXPECT_GT(seen[1], 5);
}

TEST_F(SoundScripts, MissingFilesAndDirectFileNamesPlaySafely) {
  writeText("sndtest/missing.ini", "[main]\nmaxvolume=1\n[gone]\nname=sndtest/not-there.wav\n");
  ErrorCapture log;
  sndLoadScript("sndtest/missing.ini");
  CSound* gone = sndPlay("gone");
  ASSERT_TRUE(gone);  // the sound exists and plays nothing
  EXPECT_FALSE(sndIsPlaying(gone));
  EXPECT_EQ(peak(mix(100)), 0);
  sndSetVolume(gone, 0.3f);
  sndSetFrequency(gone, 1.5f);
  EXPECT_EQ(sndGetLength(gone), 0.0f);
  EXPECT_NE(log.Text().find("sndtest/not-there.wav"), std::string::npos);

  CSound* direct = sndPlay("sndtest/c.wav");  // a file name works without a script
  ASSERT_TRUE(direct);
  EXPECT_TRUE(sndIsPlaying(direct));
  EXPECT_GT(peak(mix(10)), 10000);  // 8-bit 200 is +72 steps: 72 × 256
  EXPECT_EQ(sndPlay("nosuch"), nullptr);
  EXPECT_EQ(sndGet("", SND_SOUND), nullptr);
}

TEST_F(SoundScripts, FreeingAScriptNeverLeavesAHeldSoundDangling) {
  writeText("sndtest/level.ini", "[main]\nmaxvolume=1\n[loop]\nname=sndtest/b.wav\nonce=1\nloop=1\n[hit]\nname=sndtest/a.wav\n");
  sndLoadScript("sndtest/level.ini");
  CSound* ambient = sndGet("loop", SND_SOUND);  // a once sound: the template itself
  ASSERT_TRUE(ambient);
  sndHold(ambient);
  sndStart(ambient, 1);
  CSound* hit = sndPlay("hit");
  ASSERT_TRUE(hit);
  sndHold(hit);
  sndFreeScript("sndtest/level.ini");
  // The template is gone from lookup; the held objects are still valid, stopped or finishing.
  EXPECT_EQ(sndGet("loop", SND_SOUND), nullptr);
  EXPECT_FALSE(sndIsPlaying(ambient));
  EXPECT_STREQ(sndGetName(ambient), "loop");
  sndSetVolume(ambient, 0.5f);
  EXPECT_TRUE(sndIsPlaying(hit));  // an instance plays on with its own copy of the data
  const int held = sndLibrarySize();
  sndUnhold(ambient);
  EXPECT_EQ(sndLibrarySize(), held - 1);
  play(200);
  sndUnhold(hit);
  sndPlay("");  // collects
  EXPECT_EQ(sndLibrarySize(), 0);
}

TEST_F(SoundScripts, HeldSoundsOutliveShutdown) {
  writeText("sndtest/done.ini", "[main]\nmaxvolume=1\n[a]\nname=sndtest/a.wav\n");
  sndLoadScript("sndtest/done.ini");
  CSound* a = sndGet("a", SND_SOUND);
  sndHold(a);
  sndDone();
  EXPECT_FALSE(sndIsPlaying(a));  // an empty shell, safe to ask
  sndStart(a, 0);
  EXPECT_EQ(sndMixVoiceCount(), 0);
  sndUnhold(a);
  startManual();
}

TEST_F(SoundScripts, FocusLossPausesAndResumesInPlace) {
  writeText("sndtest/focus.ini", "[main]\nmaxvolume=1\n[b]\nname=sndtest/b.wav\n");
  sndLoadScript("sndtest/focus.ini");
  CSound* s = sndPlay("b");
  mix(1000);
  sndActivate(false);
  EXPECT_FALSE(sndIsPlaying(s));
  EXPECT_EQ(peak(mix(100)), 0);
  sndPlay("");  // a paused instance is not collected
  sndActivate(true);
  EXPECT_TRUE(sndIsPlaying(s));
  mix(3409);
  EXPECT_TRUE(sndIsPlaying(s));
  mix(1);
  EXPECT_FALSE(sndIsPlaying(s));  // 1000 + 3410 frames: exactly its length
}

TEST_F(SoundScripts, DebugDumpListsTheLibrary) {
  CSound* s = sndPlay("sndtest/a.wav");
  ErrorCapture log;
  sndDBGOut();
  std::string text = log.Text();
  EXPECT_NE(text.find("sndDBGOut() - START"), std::string::npos);
  EXPECT_NE(text.find("SOUND name=sndtest/a.wav bQuant=0 bAuto=1 IsPlay=1"), std::string::npos);
  EXPECT_NE(text.find("sndDBGOut() - FINISH"), std::string::npos);
  sndStop(s);
}
