// The closing screens.
#include "game/menus/last_screen.h"

#include "game/core/game_main.h"
#include "game/menus/screens.h"
#include "ui/wnd_create.h"

namespace Menu {

UILast* UILast::Create(bool second) {
  auto* screen = new UILast(second);
  screen->Load(second ? kSecondFile : kFirstFile, "Main");
  return screen;
}

void UILast::Load(const char* file, const char* section) {
  UIMenuWithFade::Load(file, section);
  UIWnd* back = wndCreate(file, "Back", this);
  bool picture = false;
  for (int i = UIWnd::Ignore; back && i <= UIWnd::Press; ++i) picture = picture || back->Image(i);
  // Nothing to show: no reason to keep the player five seconds in the dark.
  if (!picture) done_ = true;
  timer_.SetPeriod(kShowMs);
  timer_.Stop();
}

void UILast::OnFadeInDone() {
  UIMenuWithFade::OnFadeInDone();
  if (!done_) timer_.Restart();
}

void UILast::OnFadeOutDone() { done_ = true; }

void UILast::Leave() {
  timer_.Stop();
  if (fadeState_ != kClosing) Close();
}

int UILast::KeyDown(int, int) {
  if (!timer_.IsStopped()) Leave();
  return 1;
}

int UILast::Update(int dt) {
  if (done_) {
    if (!second_) {
      ShowScreen(Create(true));
    } else {
      // The last screen takes the window tree with it, and the program ends after this pass.
      ShowScreen(nullptr);
      gameRequestExit();
    }
    return 1;
  }
  if (timer_.Advance(dt)) Leave();
  return UIMenuWithFade::Update(dt);
}

void ShowClosingScreens() { ShowScreen(UILast::Create(false)); }

}  // namespace Menu
