// The tail of map.bin: the path grid (77 rows of 103 cells, 4 bytes each, only the low 7 bits of the
// first byte used) and the fog opacities (78 rows of 104 cells, two float32 each).
#pragma once
#include <cstdint>
#include <string>

#include "game/core/map_stream.h"

struct MapGrid {
  uint8_t cells[kGridRows][kGridColumns] = {};  // passability flags, bit 0 the static obstacle
};

struct MapFog {
  // Per cell the opacity (0 clear to 1 full fog) at the upper and the lower vertex of its column.
  float alpha[kFogRows][kFogColumns][2];
  MapFog() { Fill(1.0f); }
  void Fill(float value);
};

// Read at the stream's position; false when the stream failed. Fog values outside 0..1 (or not
// numbers) are clamped, with one gerr.log line for the file.
bool mapReadGrid(MapStream& s, MapGrid& grid);
bool mapReadFog(MapStream& s, MapFog& fog);

void mapWriteGrid(std::string& out, const MapGrid& grid);
void mapWriteFog(std::string& out, const MapFog& fog);
