// The effects gallery: a screen that shows the effects manager at work (a fireworks show, a comet
// flying a curved path, sparks rising on a fading wave), built from "data/menu/fx_gallery.ini".
// The window type "fxGallery" is the show itself and may sit on any screen.
#pragma once
#include <functional>

class UIWnd;

// Registers the window type "fxGallery" with the window factory (more than once is harmless).
void fxRegisterGalleryType();
// The whole gallery screen: the background and windows of the definition's section "Main", the
// windows its keys "1", "2", ... name, and the show. `onClose` runs when the player presses the
// button named "Back" or Escape. Null (and a gerr.log line) when the definition is missing.
UIWnd* fxCreateGallery(std::function<void()> onClose);
