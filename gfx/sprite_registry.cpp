// The sprite registry (shared sprites found by name, reference counted), the sprite library file
// with its quality entries, and the device-loss hooks the renderer calls.
#include <algorithm>
#include <memory>
#include <utility>

#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "gfx/font.h"
#include "gfx/sprite.h"

namespace {

// Never destroyed: sprites held by other objects with static lifetimes (templates of child
// objects, caches) are released while the program exits, possibly after this file's statics
// would have gone.
std::vector<CBaseSprite*>& Registry() {
  static auto* reg = new std::vector<CBaseSprite*>;
  return *reg;
}

std::vector<std::pair<uint32_t, int>>& Qualities() {
  static std::vector<std::pair<uint32_t, int>> q;
  return q;
}

std::string Lower(const char* s) {
  std::string r = s ? s : "";
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return r;
}

CBaseSprite* Base(const CSprite* s) { return const_cast<CBaseSprite*>(dynamic_cast<const CBaseSprite*>(s)); }

// Same slot reuse as the texture library: the first empty slot, else appended.
void Register(CBaseSprite* s) {
  auto& reg = Registry();
  auto slot = std::find(reg.begin(), reg.end(), nullptr);
  if (slot != reg.end()) *slot = s;
  else reg.push_back(s);
}

void Unregister(CBaseSprite* s) {
  for (auto& e : Registry())
    if (e == s) e = nullptr;
}

// A sprite named by file (no library name) matches only with the same alpha file too.
CBaseSprite* Lookup(const std::string& name, const std::string& alpha) {
  const uint32_t hash = fileNameHash(name);
  const std::string folded = fileFoldName(name);
  for (CBaseSprite* s : Registry()) {
    if (!s || s->nameHash != hash) continue;
    if (!s->libraryName.empty()) {
      if (fileFoldName(s->libraryName) == folded) return s;
    } else if (fileFoldName(s->fileName) == folded && fileFoldName(s->alphaFileName) == fileFoldName(alpha)) {
      return s;
    }
  }
  return nullptr;
}

int GlobalQuality() { return iniGetInt("game.ini", "main", "SpriteQuality", 0); }

CSprite* Get(const char* file, const char* alphaFile, bool font) {
  if (!file || !*file) return nullptr;
  const std::string name = Lower(file), alpha = Lower(alphaFile);
  if (CBaseSprite* hit = Lookup(name, alpha)) {
    ++hit->refs;
    return hit;
  }
  std::unique_ptr<CBaseSprite> s;
  if (font) s = std::make_unique<CGraphFont>(name, alpha);
  else s = std::make_unique<CBaseSprite>(name, alpha);
  Register(s.get());
  s->ReleaseTextures();
  s->LoadQuality(GlobalQuality());
  if (s->width == 0 || s->height == 0) {
    Unregister(s.get());
    return nullptr;  // the load has told gerr.log which file failed
  }
  return s.release();
}

}  // namespace

CSprite* sprGet(const char* file, const char* alphaFile) { return Get(file, alphaFile, false); }
CSprite* sprGetFont(const char* file, const char* alphaFile) { return Get(file, alphaFile, true); }

CSprite* sprCreateBlank(int width, int height) {
  if (width <= 0 || height <= 0 || width > 32767 || height > 32767) return nullptr;
  auto s = std::make_unique<CBaseSprite>("", "");
  s->blank = true;
  s->width = s->pictureWidth = int16_t(width);
  s->height = s->pictureHeight = int16_t(height);
  s->LoadQuality(0);
  Register(s.get());
  return s.release();
}

void sprAddRef(CSprite* s) {
  if (CBaseSprite* b = Base(s)) ++b->refs;
}

void sprRelease(CSprite* s) {
  CBaseSprite* b = Base(s);
  if (!b || --b->refs > 0) return;
  Unregister(b);
  delete b;
}

int sprWidth(const CSprite* s) {
  const CBaseSprite* b = Base(s);
  return b ? b->width : 0;
}

int sprHeight(const CSprite* s) {
  const CBaseSprite* b = Base(s);
  return b ? b->height : 0;
}

int sprRefCount(const CSprite* s) {
  const CBaseSprite* b = Base(s);
  return b ? b->refs : 0;
}

void sprSetAnimation(CSprite* s, int steps, int count) {
  if (CBaseSprite* b = Base(s)) b->SetAnimation(steps, count);
}

int sprAnimationSteps(const CSprite* s) {
  const CBaseSprite* b = Base(s);
  return b && b->animationSteps > 0 ? b->animationSteps : 0;
}

int sprRegistrySize() { return int(Registry().size()); }
CBaseSprite* sprRegistryAt(int i) { return i >= 0 && i < sprRegistrySize() ? Registry()[size_t(i)] : nullptr; }

CBaseSprite* sprFind(const char* name) {
  if (!name || !*name) return nullptr;
  const std::string n = Lower(name);
  const uint32_t hash = fileNameHash(n);
  const std::string folded = fileFoldName(n);
  for (CBaseSprite* s : Registry()) {
    if (!s || s->nameHash != hash) continue;
    if (fileFoldName(s->libraryName.empty() ? s->fileName : s->libraryName) == folded) return s;
  }
  return nullptr;
}

// ---- The sprite library ----------------------------------------------------------------------

int sprQualityFor(uint32_t hash, int def) {
  for (const auto& [h, q] : Qualities())
    if (h == hash) return q;
  return def;
}

void sprClearQualities() { Qualities().clear(); }

void sprLoadLibrary(const char* file) {
  if (!file || !*file) return;
  if (!fileExists(file)) {
    errorLog("Sprite library \"%s\": file not found\n", file);
    return;
  }
  for (const std::string& section : iniSectionList(file)) {
    const char* sec = section.c_str();
    const std::string picture = iniString(file, sec, "name");
    const std::string alpha = iniString(file, sec, "alpha");
    const int font = iniGetInt(file, sec, "font", 0);
    const int quality = iniGetInt(file, sec, "quality", 0);
    if (font == 2) {
      const uint32_t hash = fileNameHash(Lower(sec));
      auto& q = Qualities();
      auto it = std::find_if(q.begin(), q.end(), [&](const auto& e) { return e.first == hash; });
      if (it != q.end()) it->second = quality;
      else q.emplace_back(hash, quality);
      continue;
    }
    if (picture.empty()) {
      errorLog("Sprite library \"%s\": section [%s] names no picture\n", file, sec);
      continue;
    }
    const int length = iniGetInt(file, sec, "length", 0);
    const int time = iniGetInt(file, sec, "time", 0);
    std::unique_ptr<CBaseSprite> s;
    if (font != 0) s = std::make_unique<CGraphFont>(Lower(picture.c_str()), Lower(alpha.c_str()));
    else s = std::make_unique<CBaseSprite>(Lower(picture.c_str()), Lower(alpha.c_str()));
    s->libraryName = section;
    s->nameHash = fileNameHash(Lower(sec));
    CBaseSprite* sprite = s.release();
    Register(sprite);
    if (sprite->LoadQuality(quality) && length != 0 && time != 0) sprite->SetAnimation(time, length);
  }
}

void sprReleaseLibrary(const char* file) {
  if (!file || !*file) return;
  for (const std::string& section : iniSectionList(file)) {
    if (iniGetInt(file, section.c_str(), "font", 0) == 2) continue;
    const std::string folded = fileFoldName(Lower(section.c_str()));
    for (CBaseSprite* s : Registry()) {
      if (s && !s->libraryName.empty() && fileFoldName(Lower(s->libraryName.c_str())) == folded) {
        sprRelease(s);
        break;
      }
    }
  }
}

// ---- Device loss -----------------------------------------------------------------------------

void sprReleaseAllTextures() {
  for (CBaseSprite* s : Registry())
    if (s) s->ReleaseTextures();
}

void sprReloadAll() {
  for (size_t i = 0; i < Registry().size(); ++i)
    if (CBaseSprite* s = Registry()[i]; s && !s->loaded) s->Load();
}

void sprDeleteAll() {
  // Deleting may not reach back into the registry, so it is emptied first.
  std::vector<CBaseSprite*> all;
  all.swap(Registry());
  for (CBaseSprite* s : all) delete s;
}
