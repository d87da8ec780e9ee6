// The sprite calls animations need: cutting a sprite into frame rows and drawing one row onto a
// quad, with the quads also available to tests that check the geometry.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/gpu.h"

class CSprite;
class CBaseTexture;

// Records the animation steps (the period the frame numbers count in) and cuts `rows` rows.
void animSpriteSetFrames(CSprite* sprite, int steps, int rows);
int animSpriteSteps(const CSprite* sprite);  // 0 when none were set
// Draws row `row` onto the quad xy (x, y pairs: top-left, top-right, bottom-right, bottom-left of
// the frame). The quad must be a parallelogram (any turn, scale or mirror of a rectangle).
void animSpriteDrawQuad(uint32_t modeWord, uint8_t mask, const float xy[8], CSprite* sprite, int row,
                        uint32_t argb, uint32_t added);

// One quad of a drawn row, vertices as the sprite layer orders them, with its resolved mode.
struct AnimSpriteQuad {
  CBaseTexture* texture = nullptr;
  uint32_t modeWord = 0;
  uint8_t mask = 15;
  GpuVertex v[4];
};
// The quads animSpriteDrawQuad would send; false when nothing would be drawn.
bool animSpriteBuildQuads(uint32_t modeWord, uint8_t mask, const float xy[8], CSprite* sprite, int row,
                          uint32_t argb, uint32_t added, std::vector<AnimSpriteQuad>& out);
// While a sink is set, drawing appends its quads there instead of drawing (tests check geometry).
void animSpriteCaptureInto(std::vector<AnimSpriteQuad>* sink);
