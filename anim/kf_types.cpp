// Keyframe objects and animations: resources, the flat object list, length, markers and sound keys.
#include "anim/kf_types.h"

#include <algorithm>

#include "gfx/sprite.h"

C_AnimationObject::~C_AnimationObject() { ReleaseResources(); }

void C_AnimationObject::ReleaseResources() {
  if (picture) sprRelease(picture);
  if (font) sprRelease(font);
  picture = font = nullptr;
  mask.clear();
  lines.clear();
  fitScale = 1.0f;
}

namespace {

void Flatten(std::vector<std::unique_ptr<C_AnimationObject>>& list, std::vector<C_AnimationObject*>& flat) {
  for (auto& o : list) {
    o->index = int(flat.size());
    flat.push_back(o.get());
    Flatten(o->children, flat);
  }
}

// Calls f(key) for every key of every track of the object.
template <class F>
void EachKey(const C_AnimationObject& o, F f) {
  for (const auto& k : o.position) f(k);
  for (const auto& k : o.size) f(k);
  for (const auto& k : o.scale) f(k);
  for (const auto& k : o.alpha) f(k);
  for (const auto& k : o.rotation) f(k);
  for (const auto& k : o.phase) f(k);
  for (const auto& k : o.colour) f(k);
}

template <class Key>
void AddMarkers(const std::vector<Key>& keys, std::vector<C_StopKey>& out) {
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].markerType <= 0) continue;
    C_StopKey m;
    m.markerType = keys[i].markerType;
    m.time = keys[i].time;
    m.endTime = m.markerType == 2 && i + 1 < keys.size() ? keys[i + 1].time : keys[i].time;
    out.push_back(m);
  }
}

}  // namespace

void C_Animation::Index() {
  flat.clear();
  Flatten(objects, flat);
}

float C_Animation::Length() const {
  float len = 0;
  for (const C_AnimationObject* o : flat) EachKey(*o, [&](const C_KeyBase& k) { len = std::max(len, k.time); });
  return len;
}

void C_Animation::RebuildMarkers() {
  markers.clear();
  for (const C_AnimationObject* o : flat) {
    AddMarkers(o->position, markers);
    AddMarkers(o->size, markers);
    AddMarkers(o->scale, markers);
    AddMarkers(o->alpha, markers);
    AddMarkers(o->rotation, markers);
    AddMarkers(o->phase, markers);
    AddMarkers(o->colour, markers);
  }
  std::stable_sort(markers.begin(), markers.end(), [](const C_StopKey& a, const C_StopKey& b) { return a.time < b.time; });
}

void C_Animation::BuildSoundKeys() {
  for (C_AnimationObject* o : flat) {
    o->sounds.clear();
    EachKey(*o, [&](const C_KeyBase& k) {
      if (k.soundName.empty()) return;
      C_SoundKey s;
      s.name = k.soundName;
      s.time = k.time;
      s.keep = k.soundName.find("long_") != std::string::npos;
      o->sounds.push_back(std::move(s));
    });
    std::stable_sort(o->sounds.begin(), o->sounds.end(),
                     [](const C_SoundKey& a, const C_SoundKey& b) { return a.time < b.time; });
  }
}
