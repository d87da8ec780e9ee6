// The demo's own sounds: every script section loads without a complaint and is heard headless,
// through the clock-driven mixer, and through the audio device with the sound thread running.
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include "files/ini.h"
#include "snd_test_util.h"

using namespace sndtest;

namespace {
// The demo's "data" folder seen from the test's working folder.
void linkDemoData() {
  if (platFileExists("data/snd/sounds.ini")) return;
  const char* src = std::getenv("MM_SOURCE_DIR");
  std::string target = std::string(src ? src : "../../..") + "/demo/data";
  ASSERT_EQ(symlink(target.c_str(), "data"), 0) << target;
}
}  // namespace

TEST(SoundDemo, EverySoundLoadsAndIsHeard) {
  linkDemoData();
  platUseManualClock(true, 5000);
  ASSERT_TRUE(sndInit());
  EXPECT_EQ(sndOutput(), SndOutput::Clock);  // the manual clock drives the mixer
  ErrorCapture log;
  sndLoadScript("data/snd/sounds.ini");
  sndLoadScript("data/snd/music.ini");
  EXPECT_EQ(log.Text(), "");
  sndApplyDefaultVolumes(false);
  EXPECT_FLOAT_EQ(sndGetCategoryVolume(SND_MUSIC), 0.7f);
  EXPECT_FLOAT_EQ(sndScreenPan(1024), 0.6f);

  for (const std::string& section : iniSectionList(gFileName("data/snd/sounds.ini"))) {
    if (section == "main") continue;
    sndMixResetStats();
    CSound* s = sndPlay(section.c_str());
    ASSERT_TRUE(s) << section;
    EXPECT_GT(sndGetLength(s), 0.02f) << section;
    platAdvanceClock(400);
    sndUpdate(false);
    EXPECT_GT(sndMixStats().peak, 3000) << section;
    EXPECT_EQ(sndMixStats().frames, 17640u) << section;  // 400 ms at 44100 Hz
  }
  sndMixResetStats();
  sndPlayMusic("menu", 0, 1, nullptr);
  for (int i = 0; i < 30; ++i) {  // 15 s: past the end of the 10 s loop
    platAdvanceClock(500);
    sndUpdate(false);
  }
  EXPECT_TRUE(sndIsMusicPlaying());
  EXPECT_GT(sndMixStats().peak, 8000);
  sndPlayMusic("level", SND_MUSIC_FADE, 1, nullptr);
  for (int i = 0; i < 30; ++i) {
    platAdvanceClock(100);
    sndUpdate(false);
  }
  EXPECT_STREQ(sndGetName(sndCurrentMusic()), "level");
  sndStopMusicNow();
  sndFreeScript("data/snd/sounds.ini");
  sndFreeScript("data/snd/music.ini");
  EXPECT_EQ(log.Text(), "");
  sndDone();
  platUseManualClock(false);
}

TEST(SoundDemo, DeviceAndThreadRunAlongsideTheUiThread) {
  linkDemoData();
  ASSERT_TRUE(sndInit());  // the real clock: the audio device (dummy here) and the sound thread
  EXPECT_EQ(sndOutput(), SndOutput::Device);
  sndLoadScript("data/snd/sounds.ini");
  sndLoadScript("data/snd/music.ini");
  sndMixResetStats();
  sndPlayMusic("menu", 0, 1, nullptr);
  const char* effects[] = {"click", "confirm", "build", "coin", "harvest", "worker_yes"};
  // The UI thread plays, fades and frees while the device pulls and the thread refills.
  for (int i = 0; i < 40; ++i) {
    CSound* s = sndPlay(effects[i % 6]);
    if (i % 7 == 0 && s) sndFade(s, SND_FADE_OUT_NOW | SND_FADE_FINISH, nullptr);
    if (i == 20) sndPlayMusic("level", SND_MUSIC_FADE, 1, nullptr);
    sndUpdate(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
  }
  sndFreeScript("data/snd/sounds.ini");
  EXPECT_GT(sndMixStats().frames, 10000u);  // the device really pulled
  EXPECT_GT(sndMixStats().peak, 1000);
  sndDone();
  EXPECT_FALSE(sndIsInit());
}
