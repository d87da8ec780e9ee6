// Fuzz target of the Ogg Vorbis reader reached the way the game reaches it: the bytes are a loose
// file, the reader is chosen by its extension and loads it through the file layer. Whatever opens
// must decode, loop and rewind inside the caller's buffer, and stop within a bounded amount.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_util.h"
#include "sound/snd_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!fuzzkit::WriteFile("fuzz.ogg", data, size)) return 0;
  std::unique_ptr<CFileSND> r = sndOpenReader("fuzz.ogg");
  if (!r) return 0;
  const SndFormat& f = r->Format();
  if (f.blockAlign == 0 || r->DataSize() % f.blockAlign != 0) __builtin_trap();
  // Odd lengths and a guard byte at the end: a reader writing past `length` changes the guard.
  std::vector<uint8_t> out(4099 + 1, 0xA5);
  size_t total = 0;
  for (int i = 0; i < 4 && total < (1u << 18); ++i) total += r->Read(out.data(), 4099, false);
  if (out[4099] != 0xA5) __builtin_trap();
  r->Rewind();
  r->Read(out.data(), 3, true);
  // Looping past the end of a short sound starts over rather than padding with silence.
  for (int i = 0; i < 8; ++i) r->Read(out.data(), 4099, true);
  if (out[4099] != 0xA5) __builtin_trap();
  if (r->Position() > r->DataSize()) __builtin_trap();
  r->Close();
  return 0;
}
