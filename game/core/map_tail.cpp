// Reading and writing the path grid and the fog block of map.bin.
#include "game/core/map_tail.h"

#include <cmath>

#include "base/diag.h"
#include "game/core/map_record.h"

void MapFog::Fill(float value) {
  for (auto& row : alpha)
    for (auto& cell : row) cell[0] = cell[1] = value;
}

bool mapReadGrid(MapStream& s, MapGrid& grid) {
  if (!s.Need(kGridBytes, "path grid past the end of the file")) return false;
  for (auto& row : grid.cells)
    for (uint8_t& cell : row) {
      cell = uint8_t(s.ReadInt8()) & 0x7F;
      s.ReadInt8();
      s.ReadInt8();
      s.ReadInt8();
    }
  return !s.Failed();
}

bool mapReadFog(MapStream& s, MapFog& fog) {
  if (!s.Need(kFogBytes, "fog block past the end of the file")) return false;
  int clamped = 0;
  for (auto& row : fog.alpha)
    for (auto& cell : row)
      for (float& a : cell) {
        float v = s.ReadFloat32();
        if (!(v >= 0.0f && v <= 1.0f)) {
          ++clamped;
          v = v < 0.0f ? 0.0f : 1.0f;  // not-a-number counts as full fog
        }
        a = v;
      }
  if (clamped) errorLog("%s: %d fog opacities outside 0..1 were clamped\n", s.Name().c_str(), clamped);
  return !s.Failed();
}

void mapWriteGrid(std::string& out, const MapGrid& grid) {
  for (const auto& row : grid.cells)
    for (uint8_t cell : row) {
      out.push_back(char(cell & 0x7F));
      out.append(3, '\0');
    }
}

void mapWriteFog(std::string& out, const MapFog& fog) {
  for (const auto& row : fog.alpha)
    for (const auto& cell : row)
      for (float a : cell) mapWriteFloat32(out, a);
}
