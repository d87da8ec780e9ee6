// Fuzz target of the map reader: any bytes, as a whole map.bin, as one with a well-sized tail after
// them, and as a bare run of object records, must fail cleanly or read within the buffer; whatever
// reads must dump and serialise again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "game/core/map_compile.h"
#include "game/core/map_level.h"
#include "game/core/map_record.h"
#include "game/core/map_stream.h"

namespace {
void readWhole(const uint8_t* data, size_t size) {
  MapStream s;
  s.OpenMemory(data, size, "fuzz/map.bin");
  MapFile map;
  if (!mapParse(s, map)) return;
  std::string out;
  mapSerialise(map, out, nullptr);
  mapDumpIni(map, {"idle"}, nullptr);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Exactly the bytes given, so every read near the end is checked by the sanitizer.
  std::vector<uint8_t> exact(data, data + size);
  readWhole(exact.data(), exact.size());

  // The same bytes followed by a zero grid and fog, so counts and records get past the size check.
  std::vector<uint8_t> padded(exact);
  padded.resize(size + kMapTailBytes, 0);
  readWhole(padded.data(), padded.size());

  // Records back to back with no count and no tail.
  MapStream s;
  s.OpenMemory(exact.data(), exact.size(), "fuzz/records");
  MapObjectRecord r;
  for (int i = 0; i < 64 && mapReadObject(s, r); ++i) mapRecordToIni(r);

  // INI mode: only the tail is read, from size - 96620.
  MapStream t;
  t.OpenMemory(padded.data(), padded.size(), "fuzz/tail");
  MapGrid grid;
  MapFog fog;
  if (mapSeekGrid(t, false)) {
    mapReadGrid(t, grid);
    mapReadFog(t, fog);
  }
  return 0;
}
