// Windows that play an animation of the catalogue ("anim") or a particle effect of the effects
// catalogue ("particleWnd") at their place.
#pragma once
#include <memory>

#include "anim/animation.h"
#include "ui/widget_sprite.h"

namespace Core {

// "anim": plays the catalogue animation named by "anim" once from Refresh, then hides itself (a
// looping one is rewound first, ready for the next Refresh).
class UIAnimWnd : public UIWndSprite {
 public:
  void Load(const char* file, const char* section) override;
  // Plays the animation from its start (and shows the window).
  void Refresh() override;
  int Update(int dt) override;
  int Draw() override;
  const AnimationState& Animation() const { return anim_; }

 private:
  AnimationState anim_;
};

}  // namespace Core
