// Placeholder so the engine links before sprites exist; the sprite files replace it.
#include "gfx/sprite.h"
CSprite* sprGet(const char*, const char*) { return nullptr; }
CSprite* sprGetFont(const char*, const char*) { return nullptr; }
void sprAddRef(CSprite*) {}
void sprRelease(CSprite*) {}
int sprWidth(const CSprite*) { return 0; }
int sprHeight(const CSprite*) { return 0; }
