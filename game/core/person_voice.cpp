// Persons' voices and work sounds: the kind's voice now and then when a person is given work, the
// gather sound while it gathers, and the persons' sound script loaded while persons use it.
#include <algorithm>

#include "files/file.h"
#include "files/name_hash.h"
#include "game/core/person.h"
#include "game/core/random.h"
#include "sound/sound.h"

namespace Map {
namespace {
bool g_voicesOn = true;

// The person sound script is loaded while some person speaks with it, and freed with the last one,
// so a level's persons never load it twice.
int g_soundUsers = 0;
bool g_soundsLoaded = false;
void soundsAcquire() {
  if (g_soundUsers++ > 0) return;
  if (sndIsInit() && fileExists(kPersonSoundsFile)) {
    sndLoadScript(kPersonSoundsFile);
    g_soundsLoaded = true;
  }
}
void soundsRelease() {
  if (g_soundUsers <= 0 || --g_soundUsers > 0) return;
  if (g_soundsLoaded && sndIsInit()) sndFreeScript(kPersonSoundsFile);
  g_soundsLoaded = false;
}

const uint32_t kWarriorHash = NameHash("Warrior");
const uint32_t kExorcistHash = NameHash("Exorcist");
const uint32_t kWorkerHash = NameHash("Worker");
}  // namespace

void personSetVoicesOn(bool on) { g_voicesOn = on; }
bool personVoicesOn() { return g_voicesOn; }

void cPerson::SetKind(uint32_t k) {
  kind = k;
  voice = k == kExorcistHash ? "Exorcist" : k == kWarriorHash ? "Warrior" : "Worker";
  if (k == kWorkerHash) voiceCountdown = 1;
  if (!m_soundsBound) {
    m_soundsBound = true;
    soundsAcquire();
  }
}

void cPerson::PlayVoice() {
  if (!g_voicesOn || voiceCountdown >= 1) {
    --voiceCountdown;
    return;
  }
  if (!voice.empty()) sndPlayEx(voice.c_str(), SND_SOUND, -1.0f, sndScreenPan(int(x)), -1.0f);
  ++voicesPlayed;
  voiceCountdown = RandomInt(kVoiceRestMax + 1);
}

void cPerson::StartGatherSound(float volume) {
  StopGatherSound();
  m_gatherOn = true;
  ++gatherSoundsStarted;
  if (gatherSound.empty()) return;
  if ((m_gather = sndGet(gatherSound.c_str(), SND_SOUND))) {
    sndSetVolume(m_gather, std::clamp(volume, 0.0f, 1.0f));
    sndSetPan(m_gather, sndScreenPan(int(x)));
    sndStart(m_gather, -1);
  }
}

void cPerson::StopGatherSound() {
  m_gatherOn = false;
  if (!m_gather) return;
  if (sndIsInit()) sndRelease(m_gather);
  m_gather = nullptr;
}

void cPerson::ReleaseSounds() {
  StopGatherSound();
  if (m_soundsBound) soundsRelease();
  m_soundsBound = false;
}
}  // namespace Map
