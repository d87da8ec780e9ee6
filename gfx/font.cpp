// Bitmap fonts: loading the glyph picture as a sprite and reading its glyph file ("fh"), whose
// numbers are read leniently, into a table sized for every code it stores.
#include "gfx/font.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/diag.h"
#include "files/file.h"

namespace {

constexpr long kMaxCode = 0xFFFF;  // text is 16-bit

bool NumberChar(char c) { return (c >= '0' && c <= '9') || c == '.' || c == '-'; }

// The numbers of one line; anything that is not a digit, '.' or '-' separates them. A run that
// holds no number (a lone '-') is skipped.
void LineNumbers(const char* p, const char* end, std::vector<double>& out) {
  out.clear();
  while (p < end) {
    while (p < end && !NumberChar(*p)) ++p;
    const char* s = p;
    while (p < end && NumberChar(*p)) ++p;
    if (s == p) break;
    const std::string token(s, p);
    char* stop = nullptr;
    const double v = std::strtod(token.c_str(), &stop);
    if (stop != token.c_str() && std::isfinite(v)) out.push_back(v);
  }
}

int RoundInt(double v, int lo, int hi) { return int(std::clamp<double>(std::lround(std::clamp(v, -1e9, 1e9)), lo, hi)); }

struct Entry {
  long code;
  int x, y, width;
  float before, after;
};

}  // namespace

CGraphFont::CGraphFont(std::string file, std::string alpha) : CBaseSprite(std::move(file), std::move(alpha)) {}

CGraphFont::~CGraphFont() { CGraphFont::ReleaseTextures(); }

void CGraphFont::ReleaseTextures() { CBaseSprite::ReleaseTextures(); }

bool CGraphFont::LoadQuality(int q) {
  if (!CBaseSprite::LoadQuality(q)) return false;
  if (glyphs.empty()) {
    const std::string name = fileChangeExt(fileName, "fh");
    void* data = nullptr;
    const size_t n = fileLoad(name, &data);
    if (!n || !data) {
      errorLog("Font \"%s\": glyph file not found\n", name.c_str());
    } else {
      ParseGlyphs(static_cast<const char*>(data), n, name.c_str());
      memFree(data);
    }
  }
  UpdateVariants();
  // The variants are the animation steps of a one-frame picture.
  animationSteps = variants;
  frameCount = 1;
  lookupSteps = uint16_t(std::clamp(variants, 0, 65535));
  if (loaded && !composed) SplitFrames(1);
  return true;
}

bool CGraphFont::ParseGlyphs(const char* data, size_t length, const char* name) {
  glyphs.clear();
  glyphPositions.clear();
  glyphCount = glyphLines = 0;
  lineHeight = spaceAdvance = 0;
  widthLimit = maxGlyphY = 0;
  if (!data) return false;
  const char* p = data;
  const char* end = data + length;
  std::vector<double> nums, header;
  std::vector<Entry> entries;
  int lineNo = 0;
  bool reported = false;
  auto complain = [&](const char* what) {
    if (!reported) errorLog("Font \"%s\": line %d: %s\n", name, lineNo, what);
    reported = true;
  };
  long wanted = -1;
  while (p < end) {
    const char* eol = p;
    while (eol < end && *eol != '\n' && *eol != '\r') ++eol;
    ++lineNo;
    LineNumbers(p, eol, nums);
    p = eol;
    while (p < end && (*p == '\n' || *p == '\r')) {
      if (*p == '\n') {
        ++p;
        break;
      }
      ++p;
    }
    if (nums.empty()) continue;
    if (wanted < 0) {
      for (double v : nums)
        if (header.size() < 3) header.push_back(v);
      if (header.size() < 3) continue;
      widthLimit = RoundInt(header[0], 0, 1 << 20);
      lineHeight = int16_t(RoundInt(header[1], 0, 32767));
      wanted = RoundInt(header[2], 0, 1 << 20);
      glyphLines = int(wanted);
      continue;
    }
    if (long(entries.size()) >= wanted) break;
    if (nums.size() < 3) {
      complain("a glyph needs a code, x and y");
      entries.push_back(Entry{-1, 0, 0, 0, 0, 0});
      continue;
    }
    Entry e{};
    e.code = nums[0] >= 0 && nums[0] <= kMaxCode ? long(nums[0]) : -1;
    if (e.code < 0) complain("character code out of range");
    e.x = RoundInt(nums[1], -1, 65535);
    e.y = RoundInt(nums[2], -1, 65535);
    if (nums.size() >= 6) {
      e.before = float(nums[3]);
      e.width = RoundInt(nums[4], -32768, 32767);
      e.after = float(nums[5]);
    } else if (nums.size() >= 4) {
      e.width = RoundInt(nums[3], -32768, 32767);
    }
    // A glyph outside the picture is cleared.
    if (e.x < 0 || e.y < 0 || e.width < 0 || long(e.x) + e.width > widthLimit) {
      e.x = e.y = e.width = 0;
      e.before = e.after = 0;
    }
    entries.push_back(e);
  }
  if (wanted < 0) {
    errorLog("Font \"%s\": no header (picture width, line height, glyph lines)\n", name);
    return false;
  }
  if (long(entries.size()) < wanted && !reported)
    errorLog("Font \"%s\": %ld glyph lines announced, %zu found\n", name, wanted, entries.size());
  // The table holds every code written, also the Unicode aliases of the single-byte Cyrillic
  // letters: 192..255 at code + 848 (А..я) and 168 at 1025 (Ё).
  long top = -1;
  for (const Entry& e : entries) {
    if (e.code < 0) continue;
    top = std::max(top, e.code);
    if (e.code >= 192 && e.code <= 255) top = std::max(top, e.code + 848);
    if (e.code == 168) top = std::max(top, 1025L);
  }
  glyphCount = int(top + 1);
  glyphs.assign(size_t(glyphCount), GlyphMetrics{});
  glyphPositions.assign(size_t(glyphCount), {0, 0});
  auto store = [&](long code, const Entry& e) {
    glyphs[size_t(code)] = GlyphMetrics{int16_t(e.width), e.before, e.after};
    glyphPositions[size_t(code)] = {uint16_t(e.x), uint16_t(e.y)};
  };
  for (const Entry& e : entries) {
    if (e.code < 0) continue;
    store(e.code, e);
    if (e.code >= 192 && e.code <= 255) store(e.code + 848, e);
    if (e.code == 168) store(1025, e);
    maxGlyphY = std::max(maxGlyphY, e.y);
  }
  spaceAdvance = int16_t(lineHeight / 2);
  return true;
}

void CGraphFont::UpdateVariants() {
  // Variants = picture height / (line height + largest glyph y), to the nearest integer; a header
  // that gives no height still leaves one variant.
  const int block = lineHeight + maxGlyphY;
  variants = block > 0 ? int(std::lround(double(pictureHeight) / block)) : 1;
  variants = std::max(variants, 1);
}

bool CGraphFont::HasGlyph(uint32_t code) const {
  return code < uint32_t(glyphCount) && code < glyphs.size() && !glyphs[code].Empty();
}

float CGraphFont::Advance(uint32_t code) const {
  if (code == 173) return 0;  // soft hyphen
  if (code < 32 || (code == 32 && !HasGlyph(32))) return spaceAdvance;
  if (code >= uint32_t(glyphCount) || code >= glyphs.size()) return 0;
  const GlyphMetrics& g = glyphs[code];
  return g.width + g.before + g.after;
}
