// Helpers shared by the window framework's own files; not for use outside ui/.
#pragma once

class UIWnd;

// A window being destroyed leaves the hook list, the root and the destruction queue.
void wndForget(UIWnd* w);
// Queues a removed window for destruction after the current step; a rescued one leaves the queue.
void wndDefer(UIWnd* w);
void wndRescue(UIWnd* w);
// Bookkeeping of the effect transforms set on the renderer.
void wndTransformPushed();
void wndTransformPopped();

// The signed x and y packed in the low and high 16 bits of an input value.
inline int wndUnpackX(int value) { return static_cast<short>(value & 0xFFFF); }
inline int wndUnpackY(int value) { return static_cast<short>((static_cast<unsigned>(value) >> 16) & 0xFFFF); }
