// Sound scripts: INI files whose sections declare sounds (a file, or up to eight variant
// sections), each key falling back to section "main". Loading makes templates; freeing retires
// them without touching instances in use.
#include <algorithm>
#include <cstdio>

#include "base/diag.h"
#include "files/ini.h"
#include "platform/platform.h"
#include "sound/snd_sound.h"

namespace {
struct Script {
  const std::string& file;

  std::string Str(const std::string& section, const char* key, const char* def) const {
    std::string fallback = iniGetString(gFileName(file), "main", key, def);
    return iniGetString(gFileName(file), section.c_str(), key, fallback.c_str());
  }
  int Int(const std::string& section, const char* key, int def) const {
    int fallback = iniGetInt(gFileName(file), "main", key, def);
    return iniGetInt(gFileName(file), section.c_str(), key, fallback);
  }
  float Float(const std::string& section, const char* key, float def) const {
    float fallback = iniGetFloat(gFileName(file), "main", key, def);
    return iniGetFloat(gFileName(file), section.c_str(), key, fallback);
  }
  // "music" overrides "sound", which overrides "name".
  std::string FileOf(const std::string& section) const {
    std::string name = Str(section, "name", "");
    std::string sound = Str(section, "sound", name.c_str());
    return Str(section, "music", sound.c_str());
  }
  void Warn(const std::string& section, const char* text) const {
    errorLog("Sound script \"%s\" [%s]: %s\n", file.c_str(), section.c_str(), text);
    platMessageBox(text, "Warning");
  }

  void ReadVariant(const std::string& section, CSoundVariant& v) const {
    int r = std::clamp(Int(section, "r", 0), -46340, 46340);  // its square fits
    v.radius = r * r;
    v.minVolume = std::clamp(Float(section, "minvolume", 0.0f), 0.0f, 1.0f);
    v.maxVolume = Float(section, "maxvolume", 0.0f);
    if (v.maxVolume > 1.0f) {
      Warn(section, "Sounds script: maxVolume>1");
      v.maxVolume = 1.0f;
    }
    v.maxVolume = std::max(v.maxVolume, 0.0f);
    v.pan = Float(section, "pan", 0.0f);
    if (v.pan > 1.0f) {
      Warn(section, "Sounds script: pan>1");
      v.pan = 1.0f;
    } else if (v.pan < -1.0f) {
      Warn(section, "Sounds script: pan<-1");
      v.pan = -1.0f;
    }
    v.minFrequency = Float(section, "minfrq", 0.0f);
    v.maxFrequency = Float(section, "maxfrq", 0.0f);
    if (v.maxFrequency == 0.0f) v.minFrequency = v.maxFrequency = 1.0f;
  }

  void ReadModes(const std::string& section, CSound* s) const {
    int mode = Int(section, "mode", 0);
    s->SetCategory(mode >= 0 && mode <= 2 ? mode : 0);
    s->Set(SNDF_LOOP, Int(section, "loop", 0) != 0);
    s->Set(SNDF_ONCE, Int(section, "once", 0) != 0);
  }
};

bool sectionExists(const std::string& file, const std::string& section) {
  for (const std::string& s : iniSectionList(gFileName(file)))
    if (sndNamesEqual(s, section)) return true;
  return false;
}

CSound* findSameFile(const std::string& section, const std::string& fileName) {
  for (CSound* s : snd().library)
    if (s && !s->retired && s->isTemplate && s->variants.size() == 1 && sndNamesEqual(s->name, section) &&
        sndNamesEqual(s->variants[0].file, fileName))
      return s;
  return nullptr;
}
}  // namespace

CSound* sndTemplateFromSection(const std::string& file, const std::string& section) {
  if (section.empty() || !sectionExists(file, section)) return nullptr;
  Script sc{file};
  std::string fileName = sc.FileOf(section);
  CSound* t = nullptr;
  if (!fileName.empty()) {
    if (CSound* same = findSameFile(section, fileName)) {
      t = sndCopyInstance(same, same->Category());  // shares the samples already loaded
      t->name = section;
    } else {
      t = new CSound;
      t->name = section;
      t->variants.resize(1);
      sndRegister(t);
    }
    sc.ReadModes(section, t);
    CSoundVariant& v = t->variants[0];
    sc.ReadVariant(section, v);
    v.file = fileName;
    t->SetVariantIndex(0);
  } else {
    std::vector<CSoundVariant> variants;
    for (int n = 0; n < kSndMaxVariants; ++n) {
      char nameKey[16], eventKey[16];
      std::snprintf(nameKey, sizeof nameKey, "name%d", n);
      std::snprintf(eventKey, sizeof eventKey, "event%d", n);
      std::string named = sc.Str(section, nameKey, "");
      std::string sub = sc.Str(section, eventKey, named.c_str());
      if (sub.empty()) break;
      CSoundVariant v;
      v.file = sc.FileOf(sub);
      sc.ReadVariant(sub, v);
      if (v.file.empty())
        errorLog("Sound script \"%s\" [%s]: variant section \"%s\" names no file\n", file.c_str(),
                 section.c_str(), sub.c_str());
      variants.push_back(std::move(v));
    }
    if (variants.empty()) return nullptr;  // a section of settings, not a sound
    t = new CSound;
    t->name = section;
    t->variants = std::move(variants);
    sc.ReadModes(section, t);
    sndRegister(t);
  }
  t->isTemplate = true;
  t->script = fileFoldName(file);
  t->SyncCount();
  for (CSoundVariant& v : t->variants) sndOpenVariant(t, v);
  sndPickVariant(t);
  return t;
}

void sndLoadScript(const char* file) {
  SndLock l(snd().lock);
  if (!file || !*file) return;
  std::string f = file;
  std::vector<std::string> sections = iniSectionList(gFileName(f));
  if (sections.empty()) errorLog("Sound script \"%s\" is missing or empty\n", file);
  for (const std::string& section : sections)
    if (!sndNamesEqual(section, "main")) sndTemplateFromSection(f, section);
}

void sndFreeScript(const char* file) {
  SndLock l(snd().lock);
  if (!file || !*file) return;
  std::string folded = fileFoldName(file);
  std::vector<std::string> sections = iniSectionList(gFileName(std::string(file)));
  std::vector<CSound*> doomed;
  for (CSound* s : snd().library) {
    if (!s || !s->isTemplate || s->retired || s->script != folded) continue;
    if (std::any_of(sections.begin(), sections.end(), [&](const std::string& n) { return sndNamesEqual(n, s->name); }))
      doomed.push_back(s);
  }
  // Only the script's own templates go; instances copied from them own their data and finish
  // playing. A template someone holds stops and waits for its last holder.
  for (CSound* s : doomed) {
    sndStopLocked(s);
    s->retired = true;
    s->Set(SNDF_AUTO, true);
    sndDelete(s);
  }
}
