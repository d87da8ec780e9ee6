// The options screen's values apart from its windows: the player's record, what the sound system,
// the window and the cursor are given at once, and the values kept so Cancel can put them back.
#pragma once
#include "files/players.h"

namespace Menu {

// What changing an option reaches outside the record. The defaults talk to the engine; tests put
// their own in.
struct OptionsHost {
  void (*setVolume)(float volume, int category) = nullptr;  // category 0 effects, 1 music
  float (*volume)(int category) = nullptr;
  bool (*fullScreen)() = nullptr;
  void (*requestFullScreenToggle)() = nullptr;
  void (*setCursor)(bool on) = nullptr;
  void (*playClick)() = nullptr;
};
OptionsHost optionsEngineHost();

// A slider value this close to an end snaps to it, so the ends can be reached with the mouse.
float optionsSnap(float value);

class cOptionsValues {
 public:
  static constexpr float kMusicComesBack = 0.7f;
  static constexpr float kSoundComesBack = 1.0f;

  // `record` may be null (no player): the options then work on a scratch record that starts from
  // the volumes playing now, for this session only; nothing is saved.
  explicit cOptionsValues(PlayerProgress* record, const OptionsHost& host = optionsEngineHost());

  const PlayerProgress& record() const { return *m_record; }
  bool hasPlayer() const { return m_player != nullptr; }
  // The full-screen state at opening (the switch shows it).
  bool keptFullScreen() const { return m_keptFullScreen; }
  bool fullScreen() const;

  // A slider moved to `value`: answers the value the slider must show, the one now in force
  // (snapped at the ends, or the comeback volume).
  // `message` is the slider's notification; any but a plain drag (0) clicks on the sound slider.
  float MusicMoved(float value);
  float SoundMoved(float value, int message);
  // Music (sound) switched on or off: coming back on starts from 0.7 (1.0), not from silence.
  void SetMusicOn(bool on);
  void SetSoundOn(bool on);
  void SetTips(bool on);
  void SetCursor(bool on);
  void SetVoices(bool on);
  void ToggleFullScreen();

  // OK: everything applied once more from the record, the options saved. False when the save
  // failed (the players store has said why in gerr.log); the values stay applied either way.
  bool Ok();
  // Cancel: the record, the volumes, the cursor and the full screen as they were at opening.
  void Cancel();

 private:
  void ApplyVolumes() const;

  PlayerProgress* m_player = nullptr;
  PlayerProgress m_scratch;
  PlayerProgress* m_record = nullptr;
  OptionsHost m_host;
  // The option fields of the record at opening.
  float m_keptMusic = 0.7f, m_keptSound = 1.0f;
  bool m_keptMusicOn = true, m_keptSoundOn = true, m_keptTips = true, m_keptCursor = true, m_keptVoices = true;
  bool m_keptFullScreen = false;
};

}  // namespace Menu
