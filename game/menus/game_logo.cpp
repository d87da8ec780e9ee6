// The game logo ornament.
#include "game/menus/game_logo.h"

#include "ui/wnd_create.h"

namespace Menu {

void UIGameLogo::Load(const char* file, const char* section) {
  UIWnd::Load(file, section);
  UIWnd* front = nullptr;
  for (const char* name : {"Glow1", "Glow2", "Front"}) {
    UIWnd* w = wndCreate(kFile, name, this, true);
    if (w && name[0] == 'F') front = w;
  }
  if (front) SetSize(front->Width(), front->Height());
  // A reload reads the logo's own document, where its parts are described.
  defFile_ = kFile;
}

}  // namespace Menu
