// The keyframe animation library (one for the whole run): animations found or loaded by file
// name, read through the file layer, and the playing state a viewer keeps of its own so that two
// viewers of one animation never share time, place or sounds.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "anim/kf_matrix.h"
#include "anim/kf_types.h"

class CSound;

// What one viewer's last evaluation of one object gave.
struct C_ObjectState {
  float cachedTime = -1.0f;  // -1: not evaluated
  float soundTime = -1.0f;   // sound keys up to this time have played
  unsigned serial = 0;        // changes with each evaluation, so children see a parent's change
  unsigned parentSerial = 0;  // the parent's serial this evaluation used
  float globalScale = 1.0f, globalRotation = 0.0f, offsetX = 0.0f, offsetY = 0.0f;
  Matrix3f world, inverse;
  bool invertible = false;  // false for a singular world matrix (scale 0): `inverse` is stale
  float uniformScale = 1.0f, alpha = 1.0f, width = 0.0f, height = 0.0f;
  int red = 255, green = 255, blue = 255;
  float phase = 0.0f;
};

class C_AnimationPlayback {
 public:
  C_AnimationPlayback() = default;
  ~C_AnimationPlayback();
  C_AnimationPlayback(const C_AnimationPlayback&) = delete;
  C_AnimationPlayback& operator=(const C_AnimationPlayback&) = delete;

  float time = 0.0f;   // seconds
  float time2 = 0.0f;  // reset together with `time`
  float previousTime = -1.0f;
  std::vector<C_ObjectState> objects;  // by C_AnimationObject::index
  unsigned serials = 0;

  struct Held {
    int object = 0;
    float keyTime = 0.0f;
    CSound* sound = nullptr;
  };
  std::vector<Held> held;  // "long_" sounds still playing

  // Back to time 0 with nothing evaluated and every sound key ready to play again.
  void Restart();
  // Stops and lets go of every held sound.
  void StopSounds();
  // Sizes the object states for `a` (after a reload changed its objects, everything restarts).
  void Bind(const C_Animation& a);
};

class C_AnimationList {
 public:
  // Position of the animation (loading it on first request); names match in any letter case.
  int FindOrLoad(std::string_view name);
  // Null for an index outside the library.
  C_Animation* Get(int index);
  C_Animation* Get(std::string_view name) { return Get(FindOrLoad(name)); }
  size_t Size() const { return anims_.size(); }
  // Every animation read again from its file, with its resources, sound keys and markers.
  void ReloadAll();
  // Drops pictures, masks and fonts; keys stay.
  void ReleaseAll();
  // Forgets every animation (tests; nobody may hold one afterwards).
  void Clear();

 private:
  std::vector<std::unique_ptr<C_Animation>> anims_;  // load order; stable addresses
  std::vector<int> index_;                            // positions sorted by folded name
};

C_AnimationList& kfLibrary();

// Reads `a.name` through the file layer (pack archive or loose file, "z" files inflated) into
// sorted tracks, flat list, sound keys and markers. A missing file leaves it empty; a damaged one
// leaves it empty with a gerr.log line naming the file and the offset. False unless read.
bool kfLoadFile(C_Animation& a);
// The same from bytes in memory; `what` names them in gerr.log.
bool kfLoadBytes(C_Animation& a, const void* data, size_t size, const char* what);
// Pictures, masks, fonts and laid-out texts of every object.
void kfLoadResources(C_Animation& a);

// time += ms / 1000, limited to the animation's length.
void kfAdvance(const C_Animation& a, C_AnimationPlayback& p, int ms);
// Draws at time t with an alpha multiplier, scale and rotation for the top-level objects, placed
// at (x, y). A loop marker reached sends t back to its start. Returns the time drawn, which the
// caller keeps as its time so that loops go on looping.
float kfDraw(const C_Animation& a, C_AnimationPlayback& p, float t, float alpha, float scale, float rotation, float x,
             float y);
// Evaluates one object (its parents first) for a viewer at time t, as a draw would.
const C_ObjectState& kfEvaluate(const C_AnimationObject& o, C_AnimationPlayback& p, float t);
// Sees every sound key as it is played (name and pan), besides the sound system; null to stop.
using KfSoundObserver = void (*)(const char* name, float pan);
void kfSetSoundObserver(KfSoundObserver observer);
// Lays `text` out in the object's text box with `font` (lines and fit scale).
void kfLayoutText(C_AnimationObject& o, const std::u16string& text);
