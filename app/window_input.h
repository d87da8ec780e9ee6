// The main window's event handling: window events become the engine's input messages (0, 256,
// 257, 258, 512, 522) with Win32 key codes and packed logical positions.
#pragma once
#include "platform/platform.h"

void windowInputInit();
void windowInputDone();
void windowInputHandle(const PlatEvent& e);
// The window is going away: remember its place for the user's settings.
void windowInputOnDestroy();
// A position on the logical screen packed as x in the low and y in the high 16 bits, both clamped
// to the logical screen so bars around the picture never yield out-of-screen positions.
int windowPackLogical(int clientX, int clientY);
// One typed character into the history of typed words; true when it completed a debug word (its
// action has run and the character must not reach the game).
bool windowTypedChar(int code);
// Text input as UTF-8 turned into character codes (UTF-16 units); each carries the key data of
// the key pressed last.
void windowInputText(const char* utf8);
// The wheel message's code: the delta (notches x 120) in the high and the key state bits (1 left,
// 2 right, 4 Shift, 8 Ctrl, 16 middle) in the low 16 bits.
int windowWheelCode(int delta, int keyState);
// Ends a frame with no pictures (the renderer's present with no border images), when the
// renderer is up and no frame is open.
void windowPresentEmptyFrame();
