// The map compiler's work, shared with the tests: an INI map (with its included section lists), a
// grid mask and a fog picture become a binary map, and a binary map becomes an INI map again.
#pragma once
#include <string>
#include <vector>

#include "game/core/map_level.h"

struct MapCompileInput {
  std::string iniPath;   // map.ini
  std::string gridPath;  // grid mask PNG; empty: every cell passable
  std::string fogPath;   // fog picture PNG; empty: every vertex at fogValue
  float fogValue = 1.0f;
};

// Reads the objects the way the game does in INI mode (sections of map.ini, then those of the files
// named by "Include" keys 0 to 8, keys always read from map.ini; a section without "type" makes no
// object), then the grid and the fog. False with `error` set on unreadable pictures or values that
// do not fit the binary form. `notes` collects warnings worth showing to the author.
bool mapCompile(const MapCompileInput& in, MapFile& out, std::string* error, std::vector<std::string>* notes);

// The objects as an INI map that mapCompile reads back to the same records. Animation names listed
// in `animNames` are written by name, other hashes as "0x" + 8 hex digits.
std::string mapDumpIni(const MapFile& map, const std::vector<std::string>& animNames, std::vector<std::string>* notes);
