// Keyframe animations as loaded from their binary files: objects with a picture or a text block,
// their keyed tracks with per-segment easing, sound keys and loop markers. Plain data only; the
// playing state of a viewer lives in C_AnimationPlayback (anim/kf_library.h).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "anim/kf_matrix.h"

class CSprite;

// Easing of one channel of one key segment (the segment that ends at the key holding it).
struct C_FilterDesc {
  enum Type : int32_t { kLinear = 0, kHold = 1 };  // any other value: the eased curve
  int32_t type = kLinear;
  float a = 1.0f;   // slope of the time curve at the end
  float m1 = 0.0f;  // value tangent at the end
  float b = 1.0f;   // slope of the time curve at the start
  float m0 = 0.0f;  // value tangent at the start
  bool operator==(const C_FilterDesc&) const = default;
};

// Fields every key shares.
struct C_KeyBase {
  virtual ~C_KeyBase() = default;
  int32_t markerType = 0;  // 1 a marker, 2 a loop from this key to the next
  std::string soundName;   // empty: none
  float time = 0.0f;       // seconds
};

struct C_FloatKey : C_KeyBase {
  int32_t wrap = 0;
  float value = 0.0f;
  C_FilterDesc filter;
};

struct C_VectorKey : C_KeyBase {
  float x = 0.0f, y = 0.0f;
  C_FilterDesc filterX, filterY;
};

struct C_ColorKey : C_KeyBase {
  uint8_t red = 255, green = 255, blue = 255, unused = 0;
  C_FilterDesc filterRed, filterGreen, filterBlue;
};

// A key that starts a sound; one per key of any track that names a sound.
struct C_SoundKey {
  virtual ~C_SoundKey() = default;
  std::string name;
  float time = 0.0f;
  bool keep = false;  // a "long_" sound: held until a later held sound key replaces it
};

// A loop marker: type 2 plays from `time` to `endTime` and back again.
struct C_StopKey {
  virtual ~C_StopKey() = default;
  int32_t flag = 0;
  int32_t markerType = 0;
  float time = 0.0f;
  float endTime = 0.0f;
};

class C_AnimationObject {
 public:
  virtual ~C_AnimationObject();

  std::string name;
  int32_t normalBlend = 1;          // 1 alpha blending, 0 additive
  int32_t valueA = 0, valueB = 0;   // kept for the file's sake; playback ignores them
  std::string pictureName;          // as stored (a leading "\" is dropped when loading)
  int32_t frameCount = 1;
  std::string maskName;
  std::string textKey;              // key of section "Comics" of the translation document
  int32_t textNormalBlend = 1;
  float textBoxWidth = 10.0f, textBoxHeight = 10.0f;
  std::string fontName;
  int32_t textHAlign = 0, textVAlign = 0;  // -1, 0, 1

  C_AnimationObject* parent = nullptr;
  std::vector<std::unique_ptr<C_AnimationObject>> children;

  std::vector<C_VectorKey> position, size;
  std::vector<C_FloatKey> scale, alpha, rotation, phase;
  std::vector<C_ColorKey> colour;
  std::vector<C_SoundKey> sounds;  // built after loading, sorted by time

  // Resources, loaded by the library (null when missing).
  CSprite* picture = nullptr;
  std::vector<uint8_t> mask;
  CSprite* font = nullptr;
  std::vector<std::u16string> lines;  // the text laid out into lines
  float fitScale = 1.0f;

  // Position in the animation's flat list (parents before children); indexes a viewer's state.
  int index = 0;

  void ReleaseResources();
};

class C_Animation {
 public:
  std::string name;  // the file name as asked for
  std::vector<std::unique_ptr<C_AnimationObject>> objects;
  std::vector<C_AnimationObject*> flat;  // every object, parents before their children
  std::vector<C_StopKey> markers;
  bool damaged = false;  // the file was refused

  // Rebuilds the flat list and each object's index after the tree changed.
  void Index();
  // The largest key time of every track of every object; 0 without objects.
  float Length() const;
  // Markers collected again from the keys (type above 0), in time order.
  void RebuildMarkers();
  // Sound keys of every object collected again from its tracks.
  void BuildSoundKeys();
};
