// Screen changes: a screen replaces every child of the root window; the start-up screens hand over
// to each other through these.
#pragma once

class UIWnd;

namespace Menu {
// Removes (and so destroys, after the step) every child of the root window, the first one first,
// and adds `screen`.
void ShowScreen(UIWnd* screen);
// Escape that no window took: on the menu it asks whether to leave the game. True when asked.
bool OfferEscape();
// The first screen after start-up: logos, unless the menus are skipped.
void ShowStartScreens();
// The application loading screen (after the logos).
void ShowAppLoading();
// The screen that follows loading (the main menu); `showScores` after the game's last story.
void ShowMainMenu(bool showScores = false);
// Registers the window types of the menus with the window factory.
void RegisterTypes();
}  // namespace Menu
