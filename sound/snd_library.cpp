// The sound library: slots of sounds, holders, collection of finished instances, lookup by name
// and the copies that every play of a template makes.
#include <algorithm>

#include "base/diag.h"
#include "files/file.h"
#include "sound/snd_sound.h"

SndState& snd() {
  static SndState* s = new SndState;  // outlives static destruction; the device may still pull
  return *s;
}

int sndRandom(int count) {
  SndState& st = snd();
  st.random = st.random * 214013u + 2531011u;
  int r = int((st.random >> 16) & 0x7FFF);
  return count > 0 ? r * count / 32768 : 0;
}

void sndSeedRandom(uint32_t seed) {
  SndLock l(snd().lock);
  snd().random = seed;
}

bool sndNamesEqual(const std::string& a, const std::string& b) {
  return gFileName(a) == gFileName(b);
}

void sndRegister(CSound* s) {
  auto& lib = snd().library;
  auto slot = std::find(lib.begin(), lib.end(), nullptr);
  if (slot != lib.end()) *slot = s;
  else {
    if (lib.size() == lib.capacity()) lib.reserve(lib.size() + lib.size() / 2 + 8);
    lib.push_back(s);
  }
}

bool sndOwns(CSound* s) {
  if (!s) return false;
  SndState& st = snd();
  return std::find(st.library.begin(), st.library.end(), s) != st.library.end() ||
         std::find(st.orphans.begin(), st.orphans.end(), s) != st.orphans.end();
}

int sndLibrarySize() {
  SndLock l(snd().lock);
  auto& lib = snd().library;
  return static_cast<int>(lib.size() - std::count(lib.begin(), lib.end(), nullptr));
}

void sndDelete(CSound* s) {
  if (!s) return;
  if (s->holders > 0) {
    // Someone still holds it: it stays (silent, unfindable) until the last holder lets go.
    s->retired = true;
    s->Set(SNDF_AUTO, true);
    return;
  }
  SndState& st = snd();
  std::replace(st.library.begin(), st.library.end(), s, static_cast<CSound*>(nullptr));
  st.orphans.erase(std::remove(st.orphans.begin(), st.orphans.end(), s), st.orphans.end());
  delete s;
}

void sndCollect() {
  for (CSound*& s : snd().library) {
    if (s && s->Has(SNDF_AUTO) && !s->Has(SNDF_PAUSED) && s->holders == 0 && !sndIsPlayingLocked(s)) {
      delete s;
      s = nullptr;
    }
  }
}

void sndHold(CSound* s) {
  SndLock l(snd().lock);
  if (sndOwns(s)) ++s->holders;
}

void sndUnhold(CSound* s) {
  SndLock l(snd().lock);
  if (!sndOwns(s) || s->holders <= 0) return;
  if (--s->holders > 0) return;
  SndState& st = snd();
  bool orphan = std::find(st.orphans.begin(), st.orphans.end(), s) != st.orphans.end();
  bool done = (s->retired || s->Has(SNDF_AUTO)) && !s->Has(SNDF_PAUSED) && !sndIsPlayingLocked(s);
  if (orphan || done) sndDelete(s);
}

CSound* sndFind(const std::string& name) {
  CSound* any = nullptr;
  for (CSound* s : snd().library) {
    if (!s || s->retired || !sndNamesEqual(s->name, name)) continue;
    if (s->isTemplate) return s;
    if (!any) any = s;
  }
  return any;
}

void sndPickVariant(CSound* s) {
  int n = static_cast<int>(s->variants.size());
  s->SetVariantIndex(n > 1 ? sndRandom(n) : 0);
  for (CSoundVariant& v : s->variants) {
    v.bytesPlayed = 0;
    v.lastCursor = v.buffer ? v.buffer->GetPosition() : 0;
  }
}

// Whole effects up to 1 MB sit in one buffer; longer ones and every music stream through a ring.
void sndOpenVariant(CSound* s, CSoundVariant& v) {
  if (!snd().on || v.buffer || v.opened) return;
  v.opened = true;
  if (v.file.empty()) return;
  std::unique_ptr<CFileSND> reader = sndOpenReader(v.file);
  if (!reader) return;
  if (reader->DataSize() == 0) {
    errorLog("Sound: \"%s\" holds no sound data\n", v.file.c_str());
    return;
  }
  v.format = reader->Format();
  if (reader->DataSize() > kSndStreamThreshold || s->Category() == SND_MUSIC) {
    v.buffer = CSndBuffer::CreateStream(v.format, kSndRingSize);
    if (!v.buffer) return;
    v.reader = std::move(reader);
    sndFillRing(s, v);
    return;
  }
  std::vector<uint8_t> data(reader->DataSize());
  size_t got = reader->Read(data.data(), data.size(), false);
  data.resize(got);  // a damaged file gives the part that is whole
  v.dataSize = static_cast<uint32_t>(got);
  v.buffer = CSndBuffer::CreateStatic(v.format, std::move(data));
  if (!v.buffer) v.dataSize = 0;
}

CSound* sndCopyInstance(CSound* from, int category) {
  auto* s = new CSound;
  s->SetCategory(category);
  s->Set(SNDF_LOOP, from->Has(SNDF_LOOP));
  s->Set(SNDF_ONCE, from->Has(SNDF_ONCE));
  s->volume = from->volume;
  s->name = from->name;
  s->variants.resize(from->variants.size());
  for (size_t i = 0; i < from->variants.size(); ++i) {
    CSoundVariant& src = from->variants[i];
    CSoundVariant& dst = s->variants[i];
    dst.radius = src.radius;
    dst.file = src.file;
    dst.minVolume = src.minVolume;
    dst.maxVolume = src.maxVolume;
    dst.minFrequency = src.minFrequency;
    dst.maxFrequency = src.maxFrequency;
    dst.pan = src.pan;
    if (!src.opened) sndOpenVariant(from, src);  // scripts read before sound was on
    if (src.buffer && !src.Streams() && category != SND_MUSIC) {
      dst.buffer = src.buffer->Duplicate();
      dst.format = src.format;
      dst.dataSize = src.dataSize;
      dst.opened = true;
    } else if (src.buffer) {
      sndOpenVariant(s, dst);  // a stream needs a reader and ring of its own
    } else {
      dst.opened = true;  // the template could not open it; do not try (and log) again
    }
  }
  s->SyncCount();
  sndRegister(s);
  sndPickVariant(s);
  return s;
}

CSound* sndFromFile(const std::string& file, int category) {
  auto* s = new CSound;
  s->name = file;
  s->SetCategory(category);
  s->variants.resize(1);
  s->variants[0].file = file;
  s->variants[0].minVolume = 0.0f;
  s->variants[0].maxVolume = 1.0f;
  s->SyncCount();
  sndOpenVariant(s, s->variants[0]);
  sndRegister(s);
  return s;
}

CSound* sndGet(const char* name, int category) {
  SndLock l(snd().lock);
  if (!name || !*name) return nullptr;
  category = std::clamp(category, 0, 2);
  std::string n = name;
  if (CSound* s = sndFind(n)) {
    if (!s->Has(SNDF_ONCE)) return sndCopyInstance(s, category);
    return sndIsPlayingLocked(s) ? nullptr : s;
  }
  if (sndIsSoundFileName(n)) return sndFromFile(n, category);
  return nullptr;
}
