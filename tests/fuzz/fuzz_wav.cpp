// Fuzz target of the WAV reader: any bytes must parse or be refused without reading outside the
// file, and reads of every kind must stay inside the caller's buffer.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound/snd_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CFileWAV w;
  if (w.OpenMemory(data, size, "fuzz.wav") != SND_OPEN_OK) return 0;
  std::vector<uint8_t> out(4099);
  w.Read(out.data(), out.size(), false);
  w.Read(out.data(), out.size(), true);
  w.Rewind();
  w.Read(out.data(), 1, true);
  w.Read(out.data(), out.size(), true);
  return 0;
}
