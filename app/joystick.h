// The game pad as extra keys: buttons 1-4 are keys 10, 11, 14, 15, the X axis keys 59 (left) and
// 58 (right), the Y axis keys 60 (up) and 61 (down), pressed and released by the axis rules below.
#pragma once
#include <functional>

// Sends (message 256 or 257, key code) for one axis moving from `oldOffset` to `newOffset` (offsets
// from the axis's own centre): the negative key is held as soon as the axis leaves the centre on
// that side, the positive one only from 32 units off centre.
void joyAxisKeys(int oldOffset, int newOffset, int negativeKey, int positiveKey,
                 const std::function<void(int message, int key)>& send);
// Each axis's centre from its own range.
int joyAxisCentre(int minimum, int maximum);

// Pad state fed from window events; key messages go to the game through appSendInput.
void joyOnAxis(int axis, int value);
void joyOnButton(int button, bool down);
void joyReset();  // the pad was pulled out or the program ends: nothing is held any more
