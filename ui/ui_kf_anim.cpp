// The keyframe animation window.
#include "ui/ui_kf_anim.h"

#include <string>

#include "files/ini.h"

namespace Core {

void UINewAnimWnd::Load(const char* file, const char* section) {
  UIWndSprite::Load(file, section);
  const std::string name = iniGetString(file, section, "anim", "");
  anim_ = name.empty() ? nullptr : kfLibrary().Get(kfLibrary().FindOrLoad(name));
  playback_.StopSounds();
  playback_.Restart();
}

int UINewAnimWnd::Update(int dt) {
  if (anim_) kfAdvance(*anim_, playback_, dt);
  return UIWndSprite::Update(dt);
}

int UINewAnimWnd::Draw() {
  if (Hidden()) return 0;
  float m[16];
  const bool pushed = BeginDraw(m);
  if (anim_) {
    const float alpha = float(Colour() >> 24) / 255.0f;
    // The time drawn becomes the window's time: a loop marker sends it back, and it loops on.
    const float shown = kfDraw(*anim_, playback_, playback_.time, alpha, 1.0f, 0.0f, float(x_), float(y_));
    playback_.time = shown;
    if (shown >= anim_->Length()) Refresh();
  }
  DrawBounds();
  const int stop = DrawChildrenForward();
  EndDraw(pushed);
  return stop;
}

void UINewAnimWnd::Refresh() {
  playback_.Restart();
  if (anim_) anim_->RebuildMarkers();
}

}  // namespace Core
