// A level's map as the staged loader consumes it: the object count, the section list of an INI map
// (with its included files), and the way to the grid and fog tail.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "files/file.h"
#include "game/core/map_record.h"
#include "game/core/map_tail.h"

class MapStream;

// The names of an INI map's sections in file order, then for i = 0 to 8 the sections of the file
// that key i of its "Include" section names. The list grows as needed: no name is dropped.
class MapSectionList {
 public:
  void Build(const gFileName& iniPath);
  void Clear();
  size_t Count() const { return m_names.size(); }
  const std::string& At(size_t i) const { return m_names[i]; }
  const char* Next();  // the next name, or null after the last
  void Rewind() { m_next = 0; }

 private:
  std::vector<std::string> m_names;
  size_t m_next = 0;
};

// The number of map load steps, N + 3 (N objects, the grid, an idle step, the fog). In binary mode
// N is read from the stream and checked against the file's size; in INI mode the section list of
// `iniPath` is built and N is its length. -1 when the level cannot load (reported in gerr.log).
int32_t mapObjectCount(MapStream& s, bool binary, const gFileName& iniPath, MapSectionList& sections);

// Moves to the path grid: in INI mode to size - 96620; in binary mode the objects must have ended
// exactly there, otherwise a record's length was misread and the map fails to load.
bool mapSeekGrid(MapStream& s, bool binary);

// A whole binary map read in one go (map compiler, tests, fuzzing).
struct MapFile {
  std::vector<MapObjectRecord> objects;
  MapGrid grid;
  MapFog fog;
};
bool mapParse(MapStream& s, MapFile& out);
// Serialises a binary map; false with `error` set when a text does not fit.
bool mapSerialise(const MapFile& map, std::string& out, std::string* error);
