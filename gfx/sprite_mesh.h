// Triangle meshes textured with a sprite frame of any size: a picture wider or taller than one
// texture is stored as several tiles, so every triangle is cut along the tile edges it crosses and
// each piece is drawn with its own tile's texture.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/gpu.h"

class CSprite;
class CBaseSprite;
class CBaseTexture;

// Triangles (a list, three vertices each) that share one texture.
struct SpriteMeshPiece {
  CBaseTexture* texture = nullptr;
  std::vector<GpuVertex> v;
};

// Cuts the mesh into pieces per tile of the frame. Positions are x, y pairs, colours one ARGB per
// vertex (null: white), `uv` x, y pairs in pixels of the frame (0 .. frame width and height), and
// `indices` three per triangle. Parts of a triangle outside the frame are left out. False (and
// nothing in `out`) for a sprite that cannot draw, fewer than three vertices, or an index past the
// vertices.
bool sprBuildMesh(CBaseSprite* sprite, int frame, int vertexCount, const float* xy, const uint32_t* colors,
                  const float* uv, int triangleCount, const uint16_t* indices, std::vector<SpriteMeshPiece>& out);

// Builds the pieces and draws them with the render mode (kModeAuto lets the sprite choose).
void grDrawSpriteMesh(uint32_t mode, uint8_t mask, CSprite* sprite, int frame, int vertexCount, const float* xy,
                      const uint32_t* colors, const float* uv, int triangleCount, const uint16_t* indices);
