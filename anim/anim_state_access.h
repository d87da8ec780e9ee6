// What only the catalogue may do to an AnimationState: name a template and hand out a counted copy.
#pragma once
#include "anim/animation.h"
#include "gfx/sprite.h"

class AnimationStateAccess {
 public:
  static void SetName(AnimationState& s, uint32_t hash) { s.nameHash_ = hash; }
  // A user's copy of a template: the sprite (may be null) and one count on the entry.
  static AnimationState CountedCopy(const AnimationState& templ, CSprite* sprite) {
    AnimationState s(templ);  // templates are never counted, so this takes nothing
    s.sprite_ = sprite;
    s.counted_ = true;
    s.TakeReferences();
    return s;
  }
};
