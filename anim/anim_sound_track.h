// Object sound tracks: up to ten sounds an object plays at phases of its own cycle (a mill's creak
// at a quarter turn, a cave's echo every two seconds while work goes on), read from one section
// of a file such as "data/obstacles/sounds.ini".
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "anim/anim_script.h"
#include "anim/period_timer.h"

namespace Core {

class cObjectSoundTrack {
 public:
  static constexpr int kSlots = 10;

  struct Slot {
    std::string sound;
    float phase = 0, period = 0;
    bool cycle = false, repeat = false, absoluteTime = false;
    PeriodTimer cycleTimer{0, PeriodTimer::kStopped};   // the owner's cycle
    PeriodTimer phaseTimer{0, PeriodTimer::kStopped};   // until the first play
    PeriodTimer repeatTimer{0, PeriodTimer::kStopped};  // between repeats
  };

  // Fills the ten slots from the keys "sound", "phase", "period", "isCycle", "isRepeat" and
  // "absoluteTime" followed by the slot number. False, and the slots left empty, when the file does
  // not exist or has no such section.
  bool Load(const char* file, const char* section);
  // Starts a slot (a slot without a sound does nothing). `soundX` is the screen x the sound is
  // panned from (kNoSoundPosition: unpanned); `ownerCycle` the owner's cycle in ms, 0 for none.
  void StartSlot(int slot, int32_t soundX, int32_t ownerCycle);
  // Stops every slot.
  void StopAll();
  void Update(int32_t ms);

  void SetVolume(float v) { volume_ = v < 0 ? 0 : v > 1 ? 1 : v; }
  float Volume() const { return volume_; }
  void SetFading(bool on) { fading_ = on; }
  const Slot& At(int slot) const { return slots_[slot < 0 || slot >= kSlots ? 0 : slot]; }
  bool IsLoaded() const { return loaded_; }

  // Called with the sound name each time a slot plays (game log, tests).
  void SetPlayListener(std::function<void(const char* sound)> f) { listener_ = std::move(f); }

 private:
  void PlaySlot(const Slot& s);

  Slot slots_[kSlots];
  float volume_ = 1.0f;
  bool fading_ = false;
  bool loaded_ = false;
  int32_t soundX_ = kNoSoundPosition;
  std::function<void(const char*)> listener_;
};

}  // namespace Core
