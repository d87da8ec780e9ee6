// Placeholder so the engine links before the renderer exists; the renderer's own files replace it.
#include "gfx/render.h"
#include "gfx/sprite.h"
int grInit(int, int, int, bool, int) { return 0; }
void grDone(bool) {}
bool grIsReady() { return false; }
void grKillFocus() {}
void grRestore() {}
void grBeginScene() {}
void grFlip(CSprite*, CSprite*) {}
void grSetClip(int, int, int, int) {}
void grGetClip(int& a, int& b, int& c, int& d) { a = b = 0; c = kLogicalWidth; d = kLogicalHeight; }
void grFillRect(int, int, int, int, uint32_t) {}
void grFrameRect(int, int, int, int, uint32_t) {}
void grLine(int, int, int, int, uint32_t) {}
void grTextOut(int, int, const char*, uint32_t) {}
void grPushTransform(const float*) {}
void grPopTransform() {}
int grScreenToLogicalX(int p) { return p; }
int grScreenToLogicalY(int p) { return p; }
void grDBGOut() {}
