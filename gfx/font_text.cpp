// Text with bitmap fonts: advances and widths, colour variants chosen by style, alignment, and
// each glyph drawn as a sprite region.
#include <cmath>

#include "base/diag.h"
#include "files/text.h"
#include "gfx/font.h"
#include "gfx/render_device.h"

namespace {

CGraphFont* Font(CSprite* s) {
  CGraphFont* f = dynamic_cast<CGraphFont*>(s);
  // The glyph table comes with the load; without a device the load reads the sizes only.
  if (f && !f->loaded && f->glyphs.empty()) f->Load();
  return f;
}

float Width(const CGraphFont* f, const char16_t* text, int maxChars) {
  float w = 0;
  for (int i = 0; text[i] && (maxChars < 0 || i < maxChars); ++i) w += f->Advance(text[i]);
  return w;
}

}  // namespace

int fontTextWidth(CSprite* font, const char16_t* text, int maxChars) {
  CGraphFont* f = Font(font);
  if (!f || !text) return 0;
  return int(std::lround(Width(f, text, maxChars)));
}

int fontTextWidthUtf8(CSprite* font, const char* text, int maxChars) {
  if (!text) return 0;
  const std::u16string w = textUtf8ToUtf16(text);
  return fontTextWidth(font, w.c_str(), maxChars);
}

int fontLineHeight(CSprite* font) {
  CGraphFont* f = Font(font);
  return f ? f->lineHeight : 0;
}

int fontSpaceWidth(CSprite* font) {
  CGraphFont* f = Font(font);
  if (!f) return 0;
  return f->HasGlyph(32) ? f->glyphs[32].width : f->spaceAdvance;
}

int fontVariant(int style, int variants) {
  const int t = style & 3;
  if (variants <= 1) return 0;
  if (variants == 2) return (style >> 1) & 1;
  if (variants == 3) return t > 0 ? t - 1 : 0;
  return t;
}

bool fontLayout(CSprite* font, float scaleX, float scaleY, float x, int yIn, const char16_t* text, int style,
                int hAlign, int vAlign, std::vector<GlyphPlacement>& out) {
  out.clear();
  CGraphFont* f = Font(font);
  if (!f || !text || scaleX == 0 || scaleY == 0 || !std::isfinite(scaleX) || !std::isfinite(scaleY)) return false;
  const int t = style & 3;
  const int variant = fontVariant(style, f->variants);
  const float textWidth = float(std::lround(Width(f, text, -1)));
  if (hAlign == 0) x -= scaleX * textWidth * 0.5f;
  else if (hAlign > 0) x -= scaleX * textWidth;
  const float H = scaleY * f->lineHeight;
  float y = float(yIn);
  if (t == 3) y += 1;
  if (vAlign == 0) y -= float(int(std::lround(H)) / 2);
  else if (vAlign > 0) y -= H;
  for (const char16_t* p = text; *p; ++p) {
    const uint32_t c = *p;
    if (c == 173) continue;
    if (c < 32 || (c == 32 && !f->HasGlyph(32))) {
      x += scaleX * f->Advance(c);
      continue;
    }
    if (c >= uint32_t(f->glyphCount) || f->glyphs[c].Empty()) {
      consoleMessage(2, "Glyph was not found for code %d\n", int(c));
      continue;
    }
    const GlyphMetrics& g = f->glyphs[c];
    GlyphPlacement gp;
    gp.code = c;
    gp.x = int(std::lround(x + scaleX * g.before));
    gp.y = int(std::lround(y));
    gp.w = int(std::lround(scaleX * g.width));
    gp.h = int(std::lround(H));
    gp.sx = f->glyphPositions[c].first;
    gp.sy = variant * f->lineHeight + f->glyphPositions[c].second;
    gp.sw = g.width;
    gp.sh = f->lineHeight;
    out.push_back(gp);
    x += scaleX * (g.before + g.width + g.after);
  }
  return true;
}

void fontDrawText(uint32_t mode, uint8_t mask, float scaleX, float scaleY, CSprite* font, float x, int y,
                  const char16_t* text, int style, int hAlign, int vAlign, uint32_t argb) {
  static std::vector<GlyphPlacement> glyphs;  // reused: text is drawn every frame
  if (!fontLayout(font, scaleX, scaleY, x, y, text, style, hAlign, vAlign, glyphs)) return;
  for (const GlyphPlacement& g : glyphs)
    grDrawSpriteEx(mode, mask, g.x, g.y, g.w, g.h, font, g.sx, g.sy, g.sw, g.sh, argb, 0);
}

void fontDrawTextUtf8(uint32_t mode, uint8_t mask, float scaleX, float scaleY, CSprite* font, float x, int y,
                      const char* text, int style, int hAlign, int vAlign, uint32_t argb) {
  if (!text) return;
  const std::u16string w = textUtf8ToUtf16(text);
  fontDrawText(mode, mask, scaleX, scaleY, font, x, y, w.c_str(), style, hAlign, vAlign, argb);
}

void fontDrawTextAuto(CSprite* font, float x, int y, const char* text, int style, int hAlign, int vAlign) {
  CGraphFont* f = Font(font);
  if (!f || !text) return;
  if (!f->loaded) f->Load();
  const uint32_t mode = grModeWord(f->FirstTextureHasAlpha() ? 2 : 1, 2, 1, 6, 5);
  fontDrawTextUtf8(mode, 15, 1.0f, 1.0f, font, x, y, text, style, hAlign, vAlign, 0);
}
