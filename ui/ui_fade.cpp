// The fade window and the fading menu screen.
#include "ui/ui_fade.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>

#include "files/file.h"
#include "files/ini.h"
#include "gfx/render.h"

namespace Core {

UIFade::UIFade() {
  InitState(Ignore);
  ramp_.Set(1000, 255, 0);
  ramp_.timer.Stop();
}

void UIFade::Setup(int period, int start, int fin, bool freeze) {
  start_ = start;
  fin_ = fin;
  freeze_ = freeze;
  period_ = period;
  ramp_.Set(period, float(start), float(fin));
  ramp_.timer.Set(PeriodTimer::kHoldAtEnd, freeze);
  ramp_.timer.Stop();
}

void UIFade::Load(const char* file, const char* section) {
  // A missing definition leaves the constructed fade, which never starts by itself.
  if (!file || !section || !*section || !fileExists(file)) return;
  UIWnd::Load(file, section);
  start_ = iniGetInt(file, section, "start", 0);
  fin_ = iniGetInt(file, section, "fin", 0);
  freeze_ = iniGetInt(file, section, "isFreeze", 0) != 0;
  period_ = iniGetInt(file, section, "period", 0);
  ramp_.Set(period_, float(start_), float(fin_));
  ramp_.timer.Stop();
  const bool fadeIn = iniGetInt(file, section, "isFadeIn", 0) != 0;
  if (iniGetInt(file, section, "isStart", 0)) Start(fadeIn, freeze_, 0);
}

int UIFade::Start(int a, int b, int) {
  // The signed period: a negative one keeps running the other way on every start.
  if (a) ramp_.Set(period_, float(start_), float(fin_));
  else ramp_.Set(period_, float(fin_), float(start_));
  freeze_ = b != 0;
  ramp_.timer.Set(PeriodTimer::kHoldAtEnd, freeze_);
  ramp_.Restart();
  return 0;
}

int UIFade::Update(int dt) {
  if (ramp_.IsStopped()) return 0;
  if (ramp_.Advance(dt)) {
    ramp_.value = ramp_.target;
    ramp_.timer.Stop();
    // The parent may replace the whole screen in its handler: nothing else updates this step.
    if (parent_) parent_->OnCommand(this);
    return 1;
  }
  return 0;
}

int UIFade::Draw() {
  if (Hidden()) return 0;
  float v;
  if (!ramp_.IsStopped()) v = ramp_.Value();
  else if (freeze_) v = ramp_.target;
  else return 0;
  const int alpha = std::min(255, std::max(0, int(std::lround(v))));
  if (ramp_.IsStopped() && alpha <= 5) return 0;
  // "xs" and "ys" are the right and bottom edges here, not a size.
  grFillRect(x_, y_, xs_, ys_, grColor(0, 0, 0, alpha));
  return 0;
}

void UIMenuWithFade::Load(const char* file, const char* section) {
  UIWndSprite::Load(file, section);
  AddFade();
}

void UIMenuWithFade::AddFade() {
  auto* fade = new UIFade();
  fade->SetName("Fade");
  fade->SetPos(0, 0);
  fade->SetSize(kLogicalWidth, kLogicalHeight);
  fade->Setup(1000, 255, 0, true);
  fade->Start(1, 1, 0);
  AddChild(fade);
}

int UIMenuWithFade::OnCommand(UIWnd* source) {
  if (source && strcasecmp(source->Name(), "Fade") == 0) {
    if (fadeState_ == kOpening) {
      OnFadeInDone();
      return UIWndSprite::OnCommand(source);
    }
    if (fadeState_ == kClosing) {
      OnFadeOutDone();
      return 1;
    }
  }
  return UIWndSprite::OnCommand(source);
}

void UIMenuWithFade::Close() {
  if (UIWnd* fade = FindChild("Fade")) fade->Start(0, 1, 0);
  fadeState_ = kClosing;
}

}  // namespace Core
