// Fuzz target of picture-description files: any bytes beside a picture must be parsed or refused
// (the picture is then used plainly), and whatever composes frames must keep every tile's texel
// rectangle inside its texture, draw, reload and give its references back.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_util.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"
#include "gfx/sprite_xml.h"

namespace {
// The sprite's own picture, its numbered second picture ("1") and one in a sub-folder ("@sub/b.png").
bool Setup() {
  static const bool ok = fuzzkit::NullRenderer() && platMakeDirs("fuzz/sub") &&
                         fuzzkit::WriteCheckerPng("fuzz/pic.png", 32, 32) &&
                         fuzzkit::WriteCheckerPng("fuzz/pic_01.png", 24, 40) &&
                         fuzzkit::WriteCheckerPng("fuzz/sub/b.png", 600, 16);  // wider than a page
  return ok;
}

void CheckTiles(const CBaseSprite& s) {
  for (const std::vector<SpriteTile>& row : s.frames)
    for (const SpriteTile& t : row) {
      if (!t.texture) continue;
      if (t.left < 0 || t.top < 0 || t.left > t.right || t.top > t.bottom || t.right > t.texture->width ||
          t.bottom > t.texture->height)
        __builtin_trap();
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The parser alone on exactly the bytes given: no terminator to lean on.
  {
    std::vector<char> exact(data, data + size);
    gXmlNode root;
    size_t offset = 0;
    const char* why = nullptr;
    if (!xmlParse(exact.data(), exact.size(), root, offset, why) && (offset > size || !why)) __builtin_trap();
  }
  if (!Setup() || !fuzzkit::WriteFile("fuzz/pic.xml", data, size)) return 0;
  const int spritesBefore = fuzzkit::LiveSprites();
  CSprite* s = sprGet("fuzz/pic.png");
  if (!s) {
    if (fuzzkit::LiveSprites() != spritesBefore) __builtin_trap();
    return 0;
  }
  auto* b = dynamic_cast<CBaseSprite*>(s);
  CheckTiles(*b);
  grBeginScene();
  const int steps = sprAnimationSteps(s) > 0 ? sprAnimationSteps(s) : 1;
  for (int f : {0, 1, steps - 1, steps, -1, 1 << 20}) {
    grDrawSprite(kModeAuto, 15, 10, 10, sprWidth(s), sprHeight(s), s, 0, 0, 0xFFFFFFFFu, f);
    grDrawSprite(kModeAuto, 15, 10, 10, -sprWidth(s), sprHeight(s) * 2, s, 1, 1, 0x80FFFFFFu, f);
    sprDrawRotated(kModeAuto, 15, 200, 200, 0.3f, -1.5f, 2.0f, s, 0xFFFFFFFFu, f);
  }
  grFlip(nullptr, nullptr);
  // A device reset drops and rebuilds every texture: the composed frames must come back the same.
  const int rows = b->Rows();
  sprReleaseAllTextures();
  sprReloadAll();
  if (b->Rows() != rows) __builtin_trap();
  CheckTiles(*b);
  sprRelease(s);
  if (fuzzkit::LiveSprites() != spritesBefore) __builtin_trap();
  return 0;
}
