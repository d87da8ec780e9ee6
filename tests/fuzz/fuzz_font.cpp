// Fuzz target of font glyph files ("fh"): any bytes beside a font picture must give a font whose
// glyph table answers every code, lays out and draws text of every kind (Latin, Cyrillic in both
// code forms, soft hyphens, unknown codes) and measures it without reading outside the table.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_util.h"
#include "gfx/font.h"
#include "gfx/render_device.h"

namespace {
bool Setup() {
  static const bool ok = fuzzkit::NullRenderer() && platMakeDirs("fuzz") &&
                         fuzzkit::WriteCheckerPng("fuzz/font.png", 512, 64);
  return ok;
}

// A lone surrogate and control codes cannot be written as a literal.
const char16_t kOdd[] = {0xFFFF, 0xD800, 0x0001, u'\t', u' ', u' ', 0};
const char16_t* const kTexts[] = {
    u"Hello, meadow!", u"\u0416\u0438\u0432\u0430\u044f \u0401\u0436", u"\u00C0\u00FF\u00A8\u00B8 \u00AD-",
    kOdd, u"",
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The table reader alone, on exactly the bytes given.
  {
    std::vector<char> exact(data, data + size);
    CGraphFont f("fuzz/alone.png", "");
    if (f.ParseGlyphs(exact.data(), exact.size(), "fuzz/alone.fh")) {
      if (f.glyphCount < 0 || size_t(f.glyphCount) != f.glyphs.size() || f.glyphs.size() != f.glyphPositions.size())
        __builtin_trap();
      for (uint32_t code : {0u, 32u, 65u, 168u, 192u, 1025u, 1040u, 65535u, 0xFFFFFFFFu}) {
        f.HasGlyph(code);
        f.Advance(code);
      }
      f.UpdateVariants();
      if (f.variants < 1) __builtin_trap();
    }
  }
  if (!Setup() || !fuzzkit::WriteFile("fuzz/font.fh", data, size)) return 0;
  const int spritesBefore = fuzzkit::LiveSprites();
  CSprite* font = sprGetFont("fuzz/font.png");
  if (!font) return 0;
  grBeginScene();
  std::vector<GlyphPlacement> out;
  for (const char16_t* text : kTexts) {
    fontTextWidth(font, text);
    fontTextWidth(font, text, 3);
    for (int style : {0, 1, 7, -1})
      for (int align : {-1, 0, 1}) {
        fontLayout(font, 1.0f, 1.0f, 512, 384, text, style, align, align, out);
        fontLayout(font, 0.25f, 3.0f, 0, 0, text, style, align, -align, out);
        fontDrawText(kModeAuto, 15, 1.5f, 1.5f, font, 20, 20, text, style, align, align, 0xFFFFFFFFu);
      }
  }
  fontDrawTextUtf8(kModeAuto, 15, 1, 1, font, 0, 700, "caf\xC3\xA9 \xD0\x81\xFF\xC3", 2, -1, 1, 0xFF00FF00u);
  fontLineHeight(font);
  fontSpaceWidth(font);
  grFlip(nullptr, nullptr);
  sprRelease(font);
  if (fuzzkit::LiveSprites() != spritesBefore) __builtin_trap();
  return 0;
}
