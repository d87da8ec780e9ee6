// Bitmap fonts: a sprite whose picture holds one row of glyphs per colour variant, with a glyph
// table read from a text file next to it ("fh"), and text measured and drawn with it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/sprite.h"

struct GlyphMetrics {
  int16_t width = 0;
  float before = 0, after = 0;
  bool Empty() const { return width == 0 && before == 0 && after == 0; }
};

class CGraphFont : public CBaseSprite {
 public:
  CGraphFont(std::string file, std::string alphaFile);
  ~CGraphFont() override;
  // The picture as a sprite, then the glyph file; the variants become the animation steps.
  bool LoadQuality(int quality) override;
  void ReleaseTextures() override;

  // Reads a glyph file's text (`name` for gerr.log). False when it has no usable header.
  bool ParseGlyphs(const char* data, size_t length, const char* name);
  // Number of colour variants from the picture height, line height and largest glyph y (>= 1).
  void UpdateVariants();
  bool HasGlyph(uint32_t code) const;
  // How far a character moves the pen (unscaled): 0 for a soft hyphen and unknown codes.
  float Advance(uint32_t code) const;

  int glyphCount = 0;  // table size: every code stored, aliases included
  int glyphLines = 0;
  int16_t spaceAdvance = 0;
  int16_t lineHeight = 0;
  int widthLimit = 0;
  int maxGlyphY = 0;
  int variants = 1;
  std::vector<std::pair<uint16_t, uint16_t>> glyphPositions;  // by code
  std::vector<GlyphMetrics> glyphs;                           // by code
};

// Where one glyph of a line of text goes: screen rectangle and the picture rectangle it shows.
struct GlyphPlacement {
  uint32_t code = 0;
  int x = 0, y = 0, w = 0, h = 0;
  int sx = 0, sy = 0, sw = 0, sh = 0;
};

// Sum of advances of the first `maxChars` characters (all when negative), to the nearest integer.
int fontTextWidth(CSprite* font, const char16_t* text, int maxChars = -1);
int fontTextWidthUtf8(CSprite* font, const char* text, int maxChars = -1);
int fontLineHeight(CSprite* font);
// The glyph width of code 32 when the font has one, else the space advance.
int fontSpaceWidth(CSprite* font);
// The colour variant a style selects with V variants.
int fontVariant(int style, int variants);
// Lays a line of text out as `fontDrawText` draws it; false when nothing would be drawn.
// Alignment: negative left (top), 0 centre, positive right (bottom).
bool fontLayout(CSprite* font, float scaleX, float scaleY, float x, int y, const char16_t* text, int style,
                int hAlign, int vAlign, std::vector<GlyphPlacement>& out);
void fontDrawText(uint32_t mode, uint8_t mask, float scaleX, float scaleY, CSprite* font, float x, int y,
                  const char16_t* text, int style, int hAlign, int vAlign, uint32_t argb);
void fontDrawTextUtf8(uint32_t mode, uint8_t mask, float scaleX, float scaleY, CSprite* font, float x, int y,
                      const char* text, int style, int hAlign, int vAlign, uint32_t argb);
// Texture colour and alpha (no alpha for a font without alpha bits), scale 1.
void fontDrawTextAuto(CSprite* font, float x, int y, const char* text, int style, int hAlign, int vAlign);
