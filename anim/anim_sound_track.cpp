// Object sound tracks: reading the ten slots and playing them at phases of the owner's cycle.
#include "anim/anim_sound_track.h"

#include <cmath>

#include "files/file.h"
#include "files/ini.h"
#include "sound/sound.h"

namespace Core {

namespace {
std::string Key(const char* base, int n) { return base + std::to_string(n); }
int32_t Ms(double v) { return int32_t(std::lround(v)); }
}  // namespace

bool cObjectSoundTrack::Load(const char* file, const char* section) {
  for (Slot& s : slots_) s = Slot{};
  loaded_ = false;
  if (!file || !*file || !section || !*section || !fileExists(file)) return false;
  bool any = false;
  for (int n = 0; n < kSlots; ++n) {
    Slot& s = slots_[n];
    s.sound = iniGetString(file, section, Key("sound", n).c_str(), "");
    s.phase = iniGetFloat(file, section, Key("phase", n).c_str(), 0);
    s.period = iniGetFloat(file, section, Key("period", n).c_str(), 0);
    s.cycle = iniGetInt(file, section, Key("isCycle", n).c_str(), 0) != 0;
    s.repeat = iniGetInt(file, section, Key("isRepeat", n).c_str(), 0) != 0;
    s.absoluteTime = iniGetInt(file, section, Key("absoluteTime", n).c_str(), 0) != 0;
    any = any || !s.sound.empty();
  }
  loaded_ = any;
  return any;
}

void cObjectSoundTrack::StartSlot(int slot, int32_t soundX, int32_t ownerCycle) {
  if (slot < 0 || slot >= kSlots) return;
  Slot& s = slots_[slot];
  if (s.sound.empty()) return;
  soundX_ = soundX;
  if (ownerCycle > 0) {
    s.cycleTimer = PeriodTimer(ownerCycle, 0);
    s.phaseTimer = PeriodTimer(s.absoluteTime ? Ms(s.phase) : Ms(double(s.phase) * ownerCycle), 0);
  } else {
    const int32_t phase = Ms(double(s.phase) * 1000.0);
    s.phaseTimer = PeriodTimer(phase, 0);
    s.cycleTimer = PeriodTimer(phase + 1000, 0);
  }
  s.repeatTimer = PeriodTimer(s.absoluteTime ? Ms(s.period) : Ms(double(s.period) * ownerCycle), PeriodTimer::kStopped);
}

void cObjectSoundTrack::StopAll() {
  for (Slot& s : slots_) {
    s.cycleTimer.Stop();
    s.phaseTimer.Stop();
    s.repeatTimer.Stop();
  }
}

void cObjectSoundTrack::Update(int32_t ms) {
  if (fading_) {
    volume_ -= 0.01f;
    if (volume_ < 0) volume_ = 0;
  }
  for (Slot& s : slots_) {
    if (!s.cycleTimer.IsStopped() && s.cycleTimer.Advance(ms)) {
      s.phaseTimer.Stop();
      s.repeatTimer.Stop();
    }
    if (s.repeatTimer.Advance(ms)) {
      s.repeatTimer.Restart();
      PlaySlot(s);
    }
    if (s.phaseTimer.Advance(ms)) {
      // A repeat of no length would play the sound on every step: such a slot plays once.
      if (s.repeat && s.repeatTimer.Period() > 0) s.repeatTimer.Restart();
      PlaySlot(s);
    }
  }
}

void cObjectSoundTrack::PlaySlot(const Slot& s) {
  if (listener_) listener_(s.sound.c_str());
  const float pan = soundX_ == kNoSoundPosition ? 0.f : sndScreenPan(soundX_);
  sndPlayEx(s.sound.c_str(), SND_SOUND, volume_, pan, -1.0f);
}

}  // namespace Core
