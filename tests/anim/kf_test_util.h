// Helpers of the keyframe tests: keys and objects built in code, and animations made from them as
// the library would after reading a file.
#pragma once
#include <memory>
#include <string>

#include "anim/kf_file.h"
#include "anim/kf_library.h"

namespace kftest {

inline C_FloatKey fkey(float t, float v, int type = 0, float a = 1, float m1 = 0, float b = 1, float m0 = 0) {
  C_FloatKey k;
  k.time = t;
  k.value = v;
  k.filter = {type, a, m1, b, m0};
  return k;
}

inline C_VectorKey vkey(float t, float x, float y, int type = 0) {
  C_VectorKey k;
  k.time = t;
  k.x = x;
  k.y = y;
  k.filterX.type = k.filterY.type = type;
  return k;
}

inline C_ColorKey ckey(float t, int r, int g, int b) {
  C_ColorKey k;
  k.time = t;
  k.red = uint8_t(r);
  k.green = uint8_t(g);
  k.blue = uint8_t(b);
  return k;
}

inline std::unique_ptr<C_AnimationObject> object(const char* name) {
  auto o = std::make_unique<C_AnimationObject>();
  o->name = name;
  return o;
}

inline C_AnimationObject* addChild(C_AnimationObject& parent, std::unique_ptr<C_AnimationObject> c) {
  c->parent = &parent;
  parent.children.push_back(std::move(c));
  return parent.children.back().get();
}

// An animation made of these objects as if read from a file (serialised and parsed back, so the
// library's own preparation runs: sorted keys, sound keys, markers).
inline std::unique_ptr<C_Animation> animationOf(KfObjects objects, const char* name = "test.kf") {
  const std::string bytes = kfSerialize(objects);
  auto a = std::make_unique<C_Animation>();
  a->name = name;
  kfLoadBytes(*a, bytes.data(), bytes.size(), name);
  return a;
}

inline KfObjects listOf(std::unique_ptr<C_AnimationObject> o) {
  KfObjects l;
  l.push_back(std::move(o));
  return l;
}

}  // namespace kftest
