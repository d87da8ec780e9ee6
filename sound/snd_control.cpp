// Playback of single sounds: start, stop, release, volume, pan, frequency, categories, focus,
// and keeping a stream's ring ahead of its play cursor.
#include <algorithm>
#include <cmath>

#include "sound/snd_sound.h"
#include "sound/snd_volume.h"

namespace {
int clampCategory(int c) { return std::clamp(c, 0, 2); }
}  // namespace

// ---- Applying settings to the current buffer -------------------------------------------------

void sndApplyVolume(CSound* s) {
  CSoundVariant* v = s->Current();
  if (!v || !v->buffer) return;
  float req = std::clamp(s->volume, 0.0f, 1.0f);
  float base = v->minVolume + (v->maxVolume - v->minVolume) * req;
  // The fade scales what is heard, so a fade-out reaches silence whatever the volume range.
  float heard = base * snd().master[s->Category()] * std::clamp(s->fadeGain, 0.0f, 1.0f);
  v->buffer->SetVolume(sndAttenuation(heard));
}

void sndApplyPan(CSound* s) {
  CSoundVariant* v = s->Current();
  if (!v || !v->buffer) return;
  v->buffer->SetPan(sndPanValue(std::clamp(s->pan, -1.0f, 1.0f) * v->pan));
}

void sndApplyFrequency(CSound* s) {
  CSoundVariant* v = s->Current();
  if (!v || !v->buffer) return;
  // The factor scales the file's own rate: a 22050 Hz sound at 1 plays at 22050 Hz.
  double hz = std::nearbyint(double(std::max(s->frequency, 0.0f)) * v->format.samplesPerSec);
  hz = std::clamp(hz, double(kSndMinFrequency), double(kSndMaxFrequency));
  v->buffer->SetFrequency(static_cast<uint32_t>(hz));
}

// ---- Streams ---------------------------------------------------------------------------------

void sndFillRing(CSound* s, CSoundVariant& v) {
  if (!v.reader || !v.buffer) return;
  std::vector<uint8_t> block(v.buffer->Size());
  v.reader->Rewind();
  v.reader->Read(block.data(), block.size(), s->Has(SNDF_LOOP));
  v.buffer->Write(0, block.data(), static_cast<uint32_t>(block.size()));
  v.buffer->SetPosition(0);
  v.bytesWritten = static_cast<int64_t>(block.size());
  v.bytesPlayed = 0;
  v.lastCursor = 0;
}

// Counts what the cursor passed since last time and, for a stream, writes that much new data
// behind it, so the ring always holds the next 128 KB.
void sndRefill(CSound* s, CSoundVariant& v) {
  if (!v.buffer) return;
  uint32_t size = v.buffer->Size();
  if (size == 0) return;
  uint32_t cursor = v.buffer->GetPosition();
  uint32_t passed = (cursor + size - v.lastCursor) % size;
  v.lastCursor = cursor;
  v.bytesPlayed += passed;
  if (!v.reader) return;
  uint32_t writePos = static_cast<uint32_t>(v.bytesWritten % size);
  uint32_t room = (cursor + size - writePos) % size;
  if (room == 0) return;
  std::vector<uint8_t> block(room);
  v.reader->Read(block.data(), room, s->Has(SNDF_LOOP));
  v.buffer->Write(writePos, block.data(), room);
  v.bytesWritten += room;
}

// ---- Start and stop --------------------------------------------------------------------------

bool sndIsPlayingLocked(CSound* s) {
  CSoundVariant* v = s->Current();
  bool playing = v && v->buffer && v->buffer->IsPlaying();
  s->Set(SNDF_PLAYING, playing);
  return playing;
}

void sndStartLocked(CSound* s, int loop) {
  if (loop != -1) s->Set(SNDF_LOOP, loop != 0);
  s->Set(SNDF_PAUSED, false);
  CSoundVariant* v = s->Current();
  if (!v || !v->buffer) return;  // nothing to play: a missing file stays silent
  sndApplyVolume(s);
  sndApplyPan(s);
  sndApplyFrequency(s);
  if (v->Streams()) {
    // A ring filled for the other loop mode would end (or repeat) wrongly on a short stream.
    if (v->bytesPlayed == 0 && v->buffer->GetPosition() == 0 && !v->buffer->IsPlaying())
      sndFillRing(s, *v);
    s->Set(SNDF_UPDATE, true);
    sndRefill(s, *v);
  }
  v->buffer->Play(s->Has(SNDF_LOOP) || v->Streams());
  s->Set(SNDF_PLAYING, true);
}

void sndStopLocked(CSound* s) {
  s->Set(SNDF_UPDATE, false);
  s->Set(SNDF_PAUSED, false);
  CSoundVariant* v = s->Current();
  if (v && v->buffer) {
    bool moved = v->buffer->IsPlaying() || v->buffer->GetPosition() != 0 || v->bytesPlayed != 0;
    v->buffer->Stop();
    v->buffer->SetPosition(0);
    if (v->Streams() && moved) sndFillRing(s, *v);
    v->bytesPlayed = 0;
    v->lastCursor = 0;
  }
  s->Set(SNDF_PLAYING, false);
}

void sndStart(CSound* s, int loop) {
  SndLock l(snd().lock);
  if (sndOwns(s)) sndStartLocked(s, loop);
}

void sndStop(CSound* s) {
  SndLock l(snd().lock);
  if (sndOwns(s)) sndStopLocked(s);
}

bool sndIsPlaying(CSound* s) {
  SndLock l(snd().lock);
  return sndOwns(s) && sndIsPlayingLocked(s);
}

void sndRelease(CSound* s) {
  SndLock l(snd().lock);
  if (!sndOwns(s)) return;
  sndStopLocked(s);
  if (!s->Has(SNDF_ONCE)) s->Set(SNDF_AUTO, true);
  sndCollect();
}

CSound* sndPlay(const char* name, int category) { return sndPlayEx(name, category, -1.0f, 0.0f, -1.0f); }

CSound* sndPlayEx(const char* name, int category, float volume, float pan, float frequency) {
  SndLock l(snd().lock);
  sndCollect();
  category = clampCategory(category);
  if (!name || !*name || snd().master[category] < 0.01f) return nullptr;
  CSound* s = sndGet(name, category);
  if (!s) return nullptr;
  if (!s->Has(SNDF_ONCE)) s->Set(SNDF_AUTO, true);
  if (volume >= 0.0f) s->volume = std::clamp(volume, 0.0f, 1.0f);
  if (frequency >= 0.0f) s->frequency = frequency;
  s->pan = std::clamp(pan, -1.0f, 1.0f);
  sndStartLocked(s, 0);
  sndNotifyStarted(s);
  return s;
}

// ---- Settings --------------------------------------------------------------------------------

void sndStopCategory(int category) {
  SndLock l(snd().lock);
  for (CSound* s : snd().library)
    if (s && s->Category() == category && sndIsPlayingLocked(s)) sndStopLocked(s);
}

void sndSetCategoryVolume(float volume, int category) {
  SndLock l(snd().lock);
  category = clampCategory(category);
  snd().master[category] = std::clamp(volume, 0.0f, 1.0f);
  for (CSound* s : snd().library)
    if (s && s->Category() == category) sndApplyVolume(s);
}

float sndGetCategoryVolume(int category) {
  SndLock l(snd().lock);
  return snd().master[clampCategory(category)];
}

void sndSetFadeTime(int ms) {
  SndLock l(snd().lock);
  int t = ms / 50 * 50;
  snd().fadeTime = t > 0 ? t : 1000;
}

int sndGetFadeTime() {
  SndLock l(snd().lock);
  return snd().fadeTime;
}

void sndSetVolume(CSound* s, float volume) {
  SndLock l(snd().lock);
  if (!sndOwns(s)) return;
  s->volume = std::clamp(volume, 0.0f, 1.0f);
  sndApplyVolume(s);
}

float sndGetVolume(CSound* s) {
  SndLock l(snd().lock);
  if (!sndOwns(s)) return 0.0f;
  float master = snd().master[s->Category()];
  if (master <= 0.0f) return 0.0f;  // sound off: nothing is heard, and nothing to divide by
  CSoundVariant* v = s->Current();
  if (!v) return 0.0f;
  if (!v->buffer) {
    float req = std::clamp(s->volume, 0.0f, 1.0f);
    return (v->minVolume + (v->maxVolume - v->minVolume) * req) * s->fadeGain;
  }
  return std::clamp(sndVolumeFromAttenuation(v->buffer->GetVolume()) / master, 0.0f, 1.0f);
}

void sndSetPan(CSound* s, float pan) {
  SndLock l(snd().lock);
  if (!sndOwns(s)) return;
  s->pan = std::clamp(pan, -1.0f, 1.0f);
  sndApplyPan(s);
}

void sndSetFrequency(CSound* s, float factor) {
  SndLock l(snd().lock);
  if (!sndOwns(s)) return;
  s->frequency = std::max(factor, 0.0f);
  sndApplyFrequency(s);
}

float sndGetLength(CSound* s) {
  SndLock l(snd().lock);
  if (!sndOwns(s)) return 0.0f;
  CSoundVariant* v = s->Current();
  if (!v || v->format.avgBytesPerSec == 0) return 0.0f;
  return static_cast<float>(double(v->DataSize()) / v->format.avgBytesPerSec);
}

const char* sndGetName(CSound* s) {
  SndLock l(snd().lock);
  return sndOwns(s) ? s->name.c_str() : "";
}

// ---- Focus -----------------------------------------------------------------------------------

void sndActivate(bool active) {
  SndLock l(snd().lock);
  for (CSound* s : snd().library) {
    if (!s) continue;
    if (!active) {
      if (!sndIsPlayingLocked(s)) continue;
      s->Set(SNDF_PAUSED, true);
      s->Current()->buffer->Stop();  // keeps its place, to resume there
    } else if (s->Has(SNDF_PAUSED)) {
      sndStartLocked(s, -1);
    }
  }
}
