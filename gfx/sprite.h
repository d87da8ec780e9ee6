// Sprites: reference-counted pictures split into frames, kept in a registry keyed by the folded
// names of the picture and its alpha picture.
#pragma once

class CSprite;

// A registry hit adds a reference; otherwise the sprite is created and loaded. Null for an empty
// name or a picture of zero size.
CSprite* sprGet(const char* file, const char* alphaFile = nullptr);
CSprite* sprGetFont(const char* file, const char* alphaFile = nullptr);
void sprAddRef(CSprite* s);
void sprRelease(CSprite* s);
int sprWidth(const CSprite* s);
int sprHeight(const CSprite* s);
