// Fuzz target of the animation catalogue reader: any bytes as the catalogue file must be read or
// refused with the animations before the fault kept; every entry read must hand out playing copies
// whose frames stay in range as time passes, draw, and give back every sprite reference it took.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "anim/anim_catalogue.h"
#include "fuzz_util.h"
#include "gfx/sprite.h"

namespace {
// A picture the entries may name ("fuzz/anim.png"), so the fuzzer can reach sprite loading.
bool Setup() {
  static const bool ok = fuzzkit::NullRenderer() && platMakeDirs("fuzz") &&
                         fuzzkit::WriteCheckerPng("fuzz/anim.png", 32, 96);
  return ok;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!Setup() || !fuzzkit::WriteFile("fuzz/animations.xml", data, size)) return 0;
  Core::cAnimationManager& m = Core::animManager();
  const int spritesBefore = fuzzkit::LiveSprites();
  m.LoadAnimationCatalogue("fuzz/animations.xml");
  // Sorted by hash, as lookups assume.
  for (size_t i = 1; i < m.Size(); ++i)
    if (m.At(i - 1).idHash > m.At(i).idHash) __builtin_trap();
  {
    std::vector<AnimationState> playing;
    grBeginScene();
    for (size_t i = 0; i < m.Size() && i < 32; ++i) {
      const Core::cAnimationManager::Entry& e = m.At(i);
      if (m.Find(e.idHash) == nullptr) __builtin_trap();
      AnimationState s = m.GetAnimation(e.id);
      s.Start(int32_t(i) * 7);
      for (int32_t ms : {0, 1, 25, 333, 1000, 65536}) {
        s.Advance(ms);
        const int row = s.CurrentRow();
        if (row < 0 || row >= (s.FrameCount() > 0 ? s.FrameCount() : 1)) __builtin_trap();
        s.DrawCurrent(100, 100);
        s.DrawFaded(10.5f, 20.5f, 128, 1.5f, 0.5f);
        s.DrawRotated(50, 50, 0.7f, 0x100, 15, 0xFFFFFFFFu, 2.0f, 0, -1);
      }
      s.TimeOfFrame(s.FrameCount());
      s.FrameOfTime(-1);
      playing.push_back(s);  // a second user of the same entry
      m.LoadAnimationGroup(e.group);
    }
    grFlip(nullptr, nullptr);
    for (size_t i = 0; i < m.Size() && i < 32; ++i) m.UnloadAnimationGroup(m.At(i).group);
  }
  m.Clear();
  // Every reference taken by the copies and groups was given back.
  if (fuzzkit::LiveSprites() != spritesBefore) __builtin_trap();
  return 0;
}
