// The loading screens.
#include "game/menus/loading.h"

#include <strings.h>

#include "files/ini.h"
#include "game/core/app_init.h"
#include "game/menus/screens.h"
#include "sound/sound.h"
#include "ui/wnd_create.h"

namespace Menu {

int UILoadingMenu::Update(int dt) {
  if (fadeState_ == kOpen) {
    if (stepState_ == kLoading) {
      if (Step()) OnLoaded();
    } else if (stepState_ == kWaiting) {
      if (wait_.Advance(dt)) Leave();
    }
  }
  return UIWndSprite::Update(dt);
}

void UILoadingMenu::OnLoaded() {
  if (UIWnd* any = FindChild("PressAnyKey")) any->SetHidden(false);
  else wait_.Restart();
  stepState_ = kWaiting;
}

int UILoadingMenu::KeyDown(int code, int value) {
  if (stepState_ == kWaiting) {
    sndPlay("menu_click");
    Leave();
  }
  return UIWndSprite::KeyDown(code, value);
}

void UILoadingMenu::Leave() {
  if (UIWnd* fade = FindChild("Fade")) fade->Start(0, 1, 0);
  stepState_ = kLeaving;
  fadeState_ = kClosing;
}

int UILoadingMenu::OnCommand(UIWnd* source) {
  if (stepState_ == kLeaving && source && strcasecmp(source->Name(), "Fade") == 0) {
    OnLeft();
    return 1;
  }
  return UIMenuWithFade::OnCommand(source);
}

bool UILoadingMenu::Step() {
  if (UIWnd* bar = FindChild("Bar")) bar->SetValue(steps_ > 0 ? float(counter_) / float(steps_) : 1.0f);
  return counter_ == steps_;
}

int UILoadingMenu::MouseMove(int buttons, int value) {
  TrackMouse(value);
  if (UIWnd* a = ActiveChild()) return a->MouseMove(buttons, value);
  return 0;
}

UIGameLoading::UIGameLoading() { steps_ = kAppInitStages; }

void UIGameLoading::Load(const char* file, const char* section) {
  UIWndSprite::Load(file, section);
  for (const char* child : {"PressAnyKey", "Bar", "board", "Back"}) wndCreate(file, child, this);
  if (UIWnd* any = FindChild("PressAnyKey")) any->SetHidden(true);
  wait_ = PeriodTimer(iniGetInt(file, section, "waitPeriod", 0), PeriodTimer::kStopped);
  // The fade comes last so that it covers the screen while it opens.
  UIMenuWithFade::AddFade();
}

int UIGameLoading::Draw() {
  drawn_ = true;
  return UIWndSprite::Draw();
}

bool UIGameLoading::Step() {
  // A stage runs only after the screen has been seen once, so the player sees it while waiting.
  if (drawn_ && counter_ < steps_) {
    const int before = counter_;
    gameAppInitStage(counter_++);
    if (UIWnd* bar = FindChild("Bar")) bar->SetValue(float(before) / float(steps_ - 1));
  }
  return counter_ >= steps_;
}

void UIGameLoading::OnLeft() {
  sndPlayMusic("menu", 1, 1, nullptr);
  ShowMainMenu();
}

}  // namespace Menu
