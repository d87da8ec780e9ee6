// The animated software cursor that replaces the system cursor over the picture: five slots, each
// playing a named animation ("Cursor_Normal" by default), one of them current, drawn last in
// every frame with its hot spot 7 pixels right of the picture's left edge.
#pragma once

void cursorCreate();   // takes the slots' animations and hides the system cursor
void cursorDestroy();  // the system cursor shows again
bool cursorExists();
void cursorSetSlot(int slot);  // 0..4; others are ignored
int cursorSlot();
void cursorSetSlotAnimation(int slot, const char* name);
void cursorAdvance(int ms);       // one update step of the current slot's animation
void cursorMoveTo(int x, int y);  // logical position
void cursorPosition(int& x, int& y);
void cursorDraw();
// Hidden by the game (the system cursor takes over), and the player's option.
void cursorHide(bool hidden);
void cursorSetEnabled(bool on);
// True when the system cursor should be visible now.
bool cursorSystemShown();
