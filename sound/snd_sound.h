// Inside the sound system: the sound objects, the library that owns them and the helpers the
// sound files share. Everything here runs under the library lock.
#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sound/snd_file.h"
#include "sound/snd_mixer.h"
#include "sound/sound.h"

// Flag bits of CSound::flags.
enum : uint32_t {
  SNDF_PLAYING = 1u << 0,
  SNDF_LOOP = 1u << 1,
  SNDF_CATEGORY_SHIFT = 2, SNDF_CATEGORY_MASK = 3u << 2,
  SNDF_UPDATE = 1u << 4,   // streaming or fading
  SNDF_AUTO = 1u << 5,     // collect when stopped
  SNDF_FADE_SHIFT = 6, SNDF_FADE_MASK = 63u << 6,
  SNDF_VARIANT_SHIFT = 12, SNDF_VARIANT_MASK = 15u << 12,
  SNDF_COUNT_SHIFT = 16, SNDF_COUNT_MASK = 15u << 16,
  SNDF_PAUSED = 1u << 20,  // stopped because the application lost focus
  SNDF_ONCE = 1u << 21,
};

constexpr uint32_t kSndStreamThreshold = 1048576;  // larger effects stream
constexpr uint32_t kSndRingSize = 131072;
constexpr int kSndMaxVariants = 8;

struct CSoundVariant {
  int radius = 0;  // squared
  std::string file;
  float minVolume = 0, maxVolume = 0, minFrequency = 1, maxFrequency = 1, pan = 0;
  std::unique_ptr<CSndBuffer> buffer;
  std::unique_ptr<CFileSND> reader;  // streaming variants only
  SndFormat format;                  // kept after a static variant closes its reader
  uint32_t dataSize = 0;
  int64_t bytesWritten = 0, bytesPlayed = 0;
  uint32_t lastCursor = 0;
  bool opened = false;  // tried already; a missing file is reported once

  bool Streams() const { return reader != nullptr; }
  uint32_t DataSize() const { return reader ? reader->DataSize() : dataSize; }
};

class CSound {
 public:
  uint32_t flags = 0;
  float volume = 1.0f;
  std::string name;
  int fadeLeft = 0;
  SndCallback callback = nullptr;
  std::vector<CSoundVariant> variants;

  // Kept beyond the classic fields:
  float fadeGain = 1.0f;        // what the running fade leaves of the volume
  float pan = 0.0f;             // requested, re-applied when the variant changes
  float frequency = 1.0f;       // factor of the file's own rate
  int holders = 0;              // sndHold count; a held sound is never deleted
  bool isTemplate = false;      // made by a script, copied by sndGet
  bool retired = false;         // its script was freed: no longer found by name
  bool internalCallback = false;  // the music player's own: runs in place
  std::string script;           // folded name of the script that made a template

  int Category() const { return int((flags & SNDF_CATEGORY_MASK) >> SNDF_CATEGORY_SHIFT); }
  void SetCategory(int c) { flags = (flags & ~SNDF_CATEGORY_MASK) | (uint32_t(c & 3) << SNDF_CATEGORY_SHIFT); }
  int Fade() const { return int((flags & SNDF_FADE_MASK) >> SNDF_FADE_SHIFT); }
  void SetFade(int f) { flags = (flags & ~SNDF_FADE_MASK) | (uint32_t(f & 63) << SNDF_FADE_SHIFT); }
  int VariantIndex() const { return int((flags & SNDF_VARIANT_MASK) >> SNDF_VARIANT_SHIFT); }
  void SetVariantIndex(int i) { flags = (flags & ~SNDF_VARIANT_MASK) | (uint32_t(i & 15) << SNDF_VARIANT_SHIFT); }
  void SyncCount() {
    flags = (flags & ~SNDF_COUNT_MASK) | (uint32_t(variants.size() & 15) << SNDF_COUNT_SHIFT);
  }
  bool Has(uint32_t f) const { return (flags & f) != 0; }
  void Set(uint32_t f, bool on) { flags = on ? (flags | f) : (flags & ~f); }
  CSoundVariant* Current() {
    int i = VariantIndex();
    return i < int(variants.size()) ? &variants[size_t(i)] : nullptr;
  }
};

// The shared state of the sound system.
struct SndState {
  std::recursive_mutex lock;
  bool on = false;                  // buffers are made only while on
  SndOutput output = SndOutput::Manual;
  std::vector<CSound*> library;     // empty slots are reused
  std::vector<CSound*> orphans;     // held sounds that outlived sndDone
  float master[3] = {1.0f, 1.0f, 1.0f};
  int fadeTime = 1000;
  uint32_t random = 0;
  uint32_t lastUpdate = 0;
  uint32_t lastPump = 0;
  int64_t pumpCarry = 0;
  // Callbacks due on the UI thread, each with a hold on its sound.
  std::vector<std::pair<CSound*, SndCallback>> due;
};
SndState& snd();
using SndLock = std::lock_guard<std::recursive_mutex>;

// Library (snd_library.cpp).
int sndRandom(int count);
void sndRegister(CSound* s);
bool sndOwns(CSound* s);            // in the library or an orphan
void sndDelete(CSound* s);          // removes from the library and frees, unless held
void sndCollect();
CSound* sndFind(const std::string& name);
CSound* sndCopyInstance(CSound* from, int category);
CSound* sndFromFile(const std::string& file, int category);
void sndOpenVariant(CSound* s, CSoundVariant& v);
void sndPickVariant(CSound* s);
bool sndNamesEqual(const std::string& a, const std::string& b);

// Playback (snd_control.cpp).
void sndApplyVolume(CSound* s);
void sndApplyPan(CSound* s);
void sndApplyFrequency(CSound* s);
void sndStartLocked(CSound* s, int loop);
void sndStopLocked(CSound* s);
bool sndIsPlayingLocked(CSound* s);
void sndFillRing(CSound* s, CSoundVariant& v);
void sndRefill(CSound* s, CSoundVariant& v);

// Fades and updates (snd_update.cpp).
void sndFadeLocked(CSound* s, int flags, SndCallback callback, bool internal);
void sndControlStep(CSound* s, int elapsed);
void sndFinish(CSound* s);
void sndDeliverCallbacks();

// The start listener (snd_system.cpp): tells it of a sound just started.
void sndNotifyStarted(CSound* s);

// The music player (snd_music.cpp).
void sndMusicReset();
// Script sections (snd_script.cpp).
CSound* sndTemplateFromSection(const std::string& file, const std::string& section);
