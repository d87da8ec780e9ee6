// The level's sounds: game events turned into the named sounds of "data/snd/gameSounds.ini", and
// the ambient sounds of the level's own "sounds.ini" played at random intervals.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/core/events.h"

namespace Game {

// One ambient sound of the level: a sound entry played plainly each time its countdown runs out,
// after which a new interval between periodMin and periodMax is drawn.
struct AmbientSound {
  std::string sound;
  std::string section;  // where it was written, for the messages about it
  int32_t periodMin = 0;
  int32_t periodMax = 0;
  int32_t timer = 0;    // milliseconds left
  bool off = false;     // no sound named, or no interval: it never plays
};

class cSoundsController : public cObserver {
 public:
  explicit cSoundsController(cEventDispatcher* dispatcher);
  ~cSoundsController() override;

  // Appends one entry per section of `path` and of the files its "Include" section names (keys
  // "0" to "8"); the "Include" section itself is not a sound. A missing file adds nothing.
  void LoadAmbient(const std::string& path);
  // Registers for the events that have a sound, in the level's fixed order.
  void RegisterEvents();
  void OnEvent(GameEvent& event) override;
  // Every step of the level, in every phase: advances the ambient countdowns.
  void Update(int32_t ms);

  void SetEnabled(bool on) { m_enabled = on ? 1 : 0; }
  bool enabled() const { return m_enabled != 0; }
  const std::vector<AmbientSound>& ambient() const { return m_ambient; }

  // The codes the controller listens to, in registration order.
  static const std::vector<int32_t>& EventCodes();

 private:
  void Play(const char* name);
  void PlayAt(const char* name, int32_t x);
  void Restart(AmbientSound& a);
  void AddSections(const std::string& file, const std::string& from);

  cEventDispatcher* m_dispatcher;
  uint8_t m_enabled = 1;
  bool m_lost = false;  // game over was posted: the result that follows is no win
  std::vector<AmbientSound> m_ambient;
};

}  // namespace Game
