// The keyframe animation library: lookup by name, loading through the file layer, resources.
#include "anim/kf_library.h"

#include <algorithm>
#include <cstring>

#include "anim/kf_file.h"
#include "anim/kf_track.h"
#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "gfx/sprite.h"
#include "sound/sound.h"

namespace {

char Fold(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

int CompareFolded(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const unsigned char x = Fold(a[i]), y = Fold(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

std::string WithoutLeadingBackslash(const std::string& s) { return !s.empty() && s[0] == '\\' ? s.substr(1) : s; }

void LoadObjectResources(C_AnimationObject& o) {
  o.ReleaseResources();
  const std::string picture = WithoutLeadingBackslash(o.pictureName);
  if (!picture.empty()) {
    o.picture = sprGet(picture.c_str());
    if (o.picture && o.frameCount > 1) sprSetAnimation(o.picture, 1000, o.frameCount);
  }
  const std::string mask = WithoutLeadingBackslash(o.maskName);
  if (!mask.empty() && o.picture) {
    void* data = nullptr;
    const size_t n = fileLoad(gFileName(mask.c_str()), &data);
    const size_t want =
        size_t(std::max(0, sprWidth(o.picture))) * size_t(std::max(0, sprHeight(o.picture))) * size_t(std::max(1, o.frameCount));
    if (n > 0 && n == want) o.mask.assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + n);
    else if (n > 0) errorLog("Keyframe mask \"%s\": %zu bytes where the picture needs %zu\n", mask.c_str(), n, want);
    if (data) memFree(data);
  }
  const std::string font = WithoutLeadingBackslash(o.fontName);
  if (!font.empty()) o.font = sprGetFont(font.c_str());
  if (o.font && !o.textKey.empty()) {
    const char16_t* t = iniGetWString(gFileName("data\\translation.ini"), "Comics", o.textKey.c_str(), u"");
    const std::u16string text = t ? t : u"";  // the accessor's buffer rotates
    if (!text.empty()) kfLayoutText(o, text);
  }
  for (auto& c : o.children) LoadObjectResources(*c);
}

void Prepare(C_Animation& a) {
  a.Index();
  for (C_AnimationObject* o : a.flat) kfSortKeys(*o);
  a.BuildSoundKeys();
  a.RebuildMarkers();
}

}  // namespace

C_AnimationPlayback::~C_AnimationPlayback() { StopSounds(); }

void C_AnimationPlayback::StopSounds() {
  for (Held& h : held) {
    sndStop(h.sound);
    sndUnhold(h.sound);
  }
  held.clear();
}

void C_AnimationPlayback::Restart() {
  time = time2 = 0.0f;
  previousTime = -1.0f;
  for (C_ObjectState& s : objects) s = C_ObjectState();
}

void C_AnimationPlayback::Bind(const C_Animation& a) {
  if (objects.size() == a.flat.size()) return;
  StopSounds();
  objects.assign(a.flat.size(), C_ObjectState());
  previousTime = -1.0f;
}

bool kfLoadBytes(C_Animation& a, const void* data, size_t size, const char* what) {
  a.objects.clear();
  a.damaged = false;
  KfReadError err;
  KfObjects objects;
  if (!kfParse(static_cast<const uint8_t*>(data), size, objects, err)) {
    errorLog("Keyframe file \"%s\": %s at offset %zu; the animation stays empty\n", what, err.reason.c_str(),
             err.offset);
    a.damaged = true;
    Prepare(a);
    return false;
  }
  if (err.trailing > 0) errorLog("Keyframe file \"%s\": %zu bytes after the last object are ignored\n", what, err.trailing);
  a.objects = std::move(objects);
  Prepare(a);
  return true;
}

bool kfLoadFile(C_Animation& a) {
  void* data = nullptr;
  const size_t n = fileLoad(gFileName(a.name.c_str()), &data);
  if (n == 0) {
    a.objects.clear();
    a.damaged = false;
    Prepare(a);
    return false;
  }
  const bool ok = kfLoadBytes(a, data, n, a.name.c_str());
  memFree(data);
  return ok;
}

void kfLoadResources(C_Animation& a) {
  for (auto& o : a.objects) LoadObjectResources(*o);
}

int C_AnimationList::FindOrLoad(std::string_view name) {
  auto it = std::lower_bound(index_.begin(), index_.end(), name,
                             [&](int i, std::string_view n) { return CompareFolded(anims_[size_t(i)]->name, n) < 0; });
  if (it != index_.end() && CompareFolded(anims_[size_t(*it)]->name, name) == 0) return *it;
  auto a = std::make_unique<C_Animation>();
  a->name = std::string(name);
  kfLoadFile(*a);
  kfLoadResources(*a);
  const int pos = int(anims_.size());
  anims_.push_back(std::move(a));
  index_.insert(it, pos);
  return pos;
}

C_Animation* C_AnimationList::Get(int index) {
  return index >= 0 && size_t(index) < anims_.size() ? anims_[size_t(index)].get() : nullptr;
}

void C_AnimationList::ReloadAll() {
  for (auto& a : anims_) {
    kfLoadFile(*a);
    kfLoadResources(*a);
  }
}

void C_AnimationList::ReleaseAll() {
  for (auto& a : anims_)
    for (C_AnimationObject* o : a->flat) o->ReleaseResources();
}

void C_AnimationList::Clear() {
  anims_.clear();
  index_.clear();
}

C_AnimationList& kfLibrary() {
  // Never destroyed: its sprites must not be released after the renderer at process exit.
  static C_AnimationList* list = new C_AnimationList();
  return *list;
}
