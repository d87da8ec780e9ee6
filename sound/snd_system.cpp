// Start-up and shutdown of the sound system, the output it mixes into, the sound thread, and the
// small global helpers (screen pan, default volumes, the debug dump).
//
// The guard: one recursive lock around the whole library, taken by every sndXxx call and by the
// sound thread's update. The thread must keep refilling streams while the UI thread is busy for
// seconds (loading a level), which rules out doing every update on the UI thread; the UI thread's
// calls are short, so the thread never waits long. The mixer has its own lock, always taken after
// the library's, never before, so the two cannot deadlock. Fade callbacks are queued and called
// by the UI thread's sndUpdate(false), so game code never runs on the sound thread.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <thread>
#include <utility>

#include "base/diag.h"
#include "files/ini.h"
#include "platform/audio_device.h"
#include "platform/platform.h"
#include "sound/snd_sound.h"

namespace {
struct SoundThread {
  std::thread thread;
  std::mutex lock;
  std::condition_variable wake;
  bool stop = false;
};
SoundThread& worker() {
  static SoundThread t;
  return t;
}

void threadMain() {
  SoundThread& t = worker();
  // A plain priority suffices: a ring holds at least 0.7 s, seven times the refill period.
  for (;;) {
    {
      std::unique_lock l(t.lock);
      if (t.wake.wait_for(l, std::chrono::milliseconds(100), [&] { return t.stop; })) return;
    }
    sndUpdate(true);
  }
}

void pull(void*, int16_t* out, int frames) { sndMix(out, frames); }

bool g_panFactorRead = false;
float g_panFactor = 0.0f;
SndStartListener g_startListener;
}  // namespace

void sndSetStartListener(SndStartListener listener) {
  SndLock l(snd().lock);
  g_startListener = std::move(listener);
}

void sndNotifyStarted(CSound* s) {
  if (!g_startListener || !s) return;
  const CSoundVariant* v = s->Current();
  g_startListener(SndStarted{s->name.c_str(), s->Category(), s->volume, s->pan, v && v->buffer != nullptr});
}

bool sndInit() { return sndInit(SndConfig{}); }

bool sndInit(const SndConfig& config) {
  {
    SndLock l(snd().lock);
    SndState& st = snd();
    if (st.on) return true;
    SndOutput out = config.output;
    if (out == SndOutput::Auto) out = platIsManualClock() ? SndOutput::Clock : SndOutput::Device;
    if (out == SndOutput::Device && !platAudioOpen(pull, nullptr)) {
      consoleMessage(1, "Sound: no audio device; mixing by the clock\n");
      out = SndOutput::Clock;
    } else if (out == SndOutput::Device && platAudioFellBack()) {
      // The devices were tried quietly; this one line is all the console hears of it.
      consoleMessage(0, "Sound: no sound device works (%s); the game runs silent\n", platAudioError().c_str());
    }
    st.output = out;
    st.on = true;
    st.lastUpdate = st.lastPump = platTicks();
    st.pumpCarry = 0;
  }
  // Under the manual clock, time moves only when a test moves it, and so does the sound. A browser
  // page has no threads: there the main loop's sndUpdate refills the streams.
#ifdef __EMSCRIPTEN__
  const bool thread = false;
#else
  const bool thread = config.thread;
#endif
  if (thread && !platIsManualClock()) {
    SoundThread& t = worker();
    t.stop = false;
    t.thread = std::thread(threadMain);
  }
  return true;
}

void sndDone() {
  SoundThread& t = worker();
  if (t.thread.joinable()) {
    {
      std::lock_guard l(t.lock);
      t.stop = true;
    }
    t.wake.notify_all();
    t.thread.join();  // before taking the library lock, which the thread's update needs
  }
  platAudioClose();
  SndLock l(snd().lock);
  SndState& st = snd();
  sndMusicReset();
  for (auto& d : st.due) --d.first->holders;
  st.due.clear();
  for (CSound*& s : st.library) {
    if (!s) continue;
    if (s->holders > 0) {
      // Its holder may still call it: it stays an empty shell until let go.
      for (CSoundVariant& v : s->variants) {
        v.buffer.reset();
        v.reader.reset();
      }
      s->flags &= ~(SNDF_PLAYING | SNDF_UPDATE | SNDF_PAUSED);
      st.orphans.push_back(s);
    } else {
      delete s;
    }
    s = nullptr;
  }
  st.library.clear();
  st.on = false;
  st.output = SndOutput::Manual;
  std::fill(std::begin(st.master), std::end(st.master), 1.0f);
  st.fadeTime = 1000;
  g_panFactorRead = false;
}

bool sndIsInit() {
  SndLock l(snd().lock);
  return snd().on;
}

SndOutput sndOutput() {
  SndLock l(snd().lock);
  return snd().output;
}

float sndScreenPan(int x) {
  SndLock l(snd().lock);
  if (!g_panFactorRead) {
    g_panFactor = iniGetFloat(gFileName("data/snd/sounds.ini"), "main", "pan_factor", 0.0f);
    g_panFactorRead = true;
  }
  return std::clamp((x - 512) / 512.0f * g_panFactor, -1.0f, 1.0f);
}

void sndApplyDefaultVolumes(bool mute) {
  const gFileName f("data/snd/sounds.ini");
  sndSetCategoryVolume(mute ? 0.0f : iniGetFloat(f, "main", "defaultSoundVolume", 1.0f), SND_SOUND);
  sndSetCategoryVolume(mute ? 0.0f : iniGetFloat(f, "main", "defaultMusicVolume", 1.0f), SND_MUSIC);
}

void sndDBGOut() {
  SndLock l(snd().lock);
  errorLog("--------------- sndDBGOut() - START -------------\n");
  const auto& lib = snd().library;
  for (size_t i = 0; i < lib.size(); ++i) {
    CSound* s = lib[i];
    if (!s) continue;
    errorLog("SoundLib[%d]: %sname=%s bQuant=%d bAuto=%d IsPlay=%d\n", static_cast<int>(i),
             s->Category() == SND_MUSIC ? "MUSIC " : "SOUND ", s->name.c_str(), s->Has(SNDF_UPDATE) ? 1 : 0,
             s->Has(SNDF_AUTO) ? 1 : 0, sndIsPlayingLocked(s) ? 1 : 0);
  }
  errorLog("--------------- sndDBGOut() - FINISH -------------\n");
}
