// The options' values: snapping, the switches' comeback volumes, OK and Cancel.
#include "game/menus/options_values.h"

#include "app/app.h"
#include "app/soft_cursor.h"
#include "game/core/game_main.h"
#include "gfx/render.h"
#include "sound/sound.h"

namespace Menu {

namespace {
constexpr float kSnapLow = 0.03f;
constexpr float kSnapHigh = 0.97f;

void engineSetVolume(float volume, int category) {
  // A run without sound keeps the sound system silent whatever the player chose.
  if (!testSetting(TestSwitch::Game_No_Sound)) sndSetCategoryVolume(volume, category);
}
float engineVolume(int category) { return sndGetCategoryVolume(category); }
bool engineFullScreen() { return grIsFullScreen(); }
void engineToggle() { appRequestFullScreenToggle(); }
void engineCursor(bool on) {
  if (cursorExists()) cursorSetEnabled(on);
}
void engineClick() { sndPlay("menu_click", SND_SOUND); }
}  // namespace

OptionsHost optionsEngineHost() {
  OptionsHost h;
  h.setVolume = engineSetVolume;
  h.volume = engineVolume;
  h.fullScreen = engineFullScreen;
  h.requestFullScreenToggle = engineToggle;
  h.setCursor = engineCursor;
  h.playClick = engineClick;
  return h;
}

float optionsSnap(float value) {
  if (!(value >= kSnapLow)) return 0.0f;  // NaN too
  if (value > kSnapHigh) return 1.0f;
  return value;
}

cOptionsValues::cOptionsValues(PlayerProgress* record, const OptionsHost& host) : m_player(record), m_host(host) {
  if (m_player) {
    m_record = m_player;
  } else {
    m_record = &m_scratch;
    if (m_host.volume) {
      m_scratch.music = m_host.volume(SND_MUSIC);
      m_scratch.sound = m_host.volume(SND_SOUND);
      m_scratch.musicOn = m_scratch.music > 0.0f;
      m_scratch.soundOn = m_scratch.sound > 0.0f;
    }
  }
  const PlayerProgress& r = *m_record;
  m_keptMusic = r.music;
  m_keptSound = r.sound;
  m_keptMusicOn = r.musicOn;
  m_keptSoundOn = r.soundOn;
  m_keptTips = r.tipsOn;
  m_keptCursor = r.cursorOn;
  m_keptVoices = r.voicesOn;
  m_keptFullScreen = fullScreen();
}

bool cOptionsValues::fullScreen() const { return m_host.fullScreen && m_host.fullScreen(); }

void cOptionsValues::ApplyVolumes() const {
  if (!m_host.setVolume) return;
  m_host.setVolume(m_record->musicOn ? m_record->music : 0.0f, SND_MUSIC);
  m_host.setVolume(m_record->soundOn ? m_record->sound : 0.0f, SND_SOUND);
}

float cOptionsValues::MusicMoved(float value) {
  value = optionsSnap(value);
  m_record->music = value;
  if (m_host.setVolume) m_host.setVolume(value, SND_MUSIC);
  SetMusicOn(value > 0.0f);
  // Coming back from silence the volume is 0.7 whatever the first step was: the slider shows
  // what is heard.
  return m_record->music;
}

float cOptionsValues::SoundMoved(float value, int message) {
  value = optionsSnap(value);
  if (message != 0 && m_host.playClick) m_host.playClick();
  m_record->sound = value;
  if (m_host.setVolume) m_host.setVolume(value, SND_SOUND);
  SetSoundOn(value > 0.0f);
  return m_record->sound;
}

void cOptionsValues::SetMusicOn(bool on) {
  if (on && !m_record->musicOn) m_record->music = kMusicComesBack;
  m_record->musicOn = on;
  if (!on) m_record->music = 0.0f;
  if (m_host.setVolume) m_host.setVolume(m_record->music, SND_MUSIC);
}

void cOptionsValues::SetSoundOn(bool on) {
  if (on && !m_record->soundOn) m_record->sound = kSoundComesBack;
  m_record->soundOn = on;
  if (!on) m_record->sound = 0.0f;
  if (m_host.setVolume) m_host.setVolume(m_record->sound, SND_SOUND);
}

void cOptionsValues::SetTips(bool on) { m_record->tipsOn = on; }

void cOptionsValues::SetCursor(bool on) {
  m_record->cursorOn = on;
  if (m_host.setCursor) m_host.setCursor(on);
}

void cOptionsValues::SetVoices(bool on) { m_record->voicesOn = on; }

void cOptionsValues::ToggleFullScreen() {
  if (m_host.requestFullScreenToggle) m_host.requestFullScreenToggle();
}

bool cOptionsValues::Ok() {
  ApplyVolumes();
  if (m_host.setCursor) m_host.setCursor(m_record->cursorOn);
  // "Game_Open_All_Levels" opens every level on the level map for as long as it is set; it is
  // not written into the player's progress, which would keep the levels open after it is gone.
  if (!m_player) return true;
  return progressSave(*m_player, ProgressPart::Options);
}

void cOptionsValues::Cancel() {
  PlayerProgress& r = *m_record;
  r.music = m_keptMusic;
  r.sound = m_keptSound;
  r.musicOn = m_keptMusicOn;
  r.soundOn = m_keptSoundOn;
  r.tipsOn = m_keptTips;
  r.cursorOn = m_keptCursor;
  r.voicesOn = m_keptVoices;
  ApplyVolumes();
  if (m_host.setCursor) m_host.setCursor(r.cursorOn);
  if (fullScreen() != m_keptFullScreen) ToggleFullScreen();
}

}  // namespace Menu
