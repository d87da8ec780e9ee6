// The animation window.
#include "ui/ui_deco_anim.h"

#include <string>

#include "anim/anim_catalogue.h"
#include "files/ini.h"

namespace Core {

void UIAnimWnd::Load(const char* file, const char* section) {
  UIWndSprite::Load(file, section);
  const std::string name = iniGetString(file, section, "anim", "");
  anim_ = name.empty() ? AnimationState() : animManager().GetAnimation(name);
}

void UIAnimWnd::Refresh() {
  anim_.Start();
  SetHidden(false);
}

int UIAnimWnd::Update(int dt) {
  // A looping animation rewinds itself as its period ends; either way the window has played.
  if (anim_.Advance(dt)) SetHidden(true);
  return UIWndSprite::Update(dt);
}

int UIAnimWnd::Draw() {
  if (Hidden()) return 0;
  const int w = anim_.Width(), h = anim_.Height();
  const float sx = imageW_ && w ? float(imageW_) / float(w) : 1.0f;
  const float sy = imageH_ && h ? float(imageH_) / float(h) : 1.0f;
  anim_.DrawFaded(x_, y_, int(colour_ >> 24), sx, sy);
  return 0;
}

}  // namespace Core
