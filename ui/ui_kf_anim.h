// The "newAnim" window: plays a keyframe animation of the library at its place, with its own
// time, loop and sounds, so two windows showing one animation never disturb each other.
#pragma once
#include "anim/kf_library.h"
#include "ui/widget_sprite.h"

namespace Core {

class UINewAnimWnd : public UIWndSprite {
 public:
  void Load(const char* file, const char* section) override;
  int Update(int dt) override;
  int Draw() override;
  // Back to the start, markers rebuilt and sound keys ready to play again.
  void Refresh() override;

  const C_Animation* Animation() const { return anim_; }
  const C_AnimationPlayback& Playback() const { return playback_; }
  float Time() const { return playback_.time; }

 private:
  C_Animation* anim_ = nullptr;  // owned by the library, outlives the window
  C_AnimationPlayback playback_;
};

}  // namespace Core
