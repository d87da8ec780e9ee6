// One map object as stored in map.bin or described by a section of map.ini: the base items every
// object has, the class extension of the classes whose items are known here, and the child script.
// The reading rules (scale 0 is 1.0, no support points is one, ...) are applied on both paths, so a
// record read from map.ini equals the same record compiled and read back from map.bin.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "files/file.h"
#include "game/core/map_family.h"

class MapStream;

constexpr int kAnimSlots = 21;

struct MapAnimSlot {
  uint32_t hash = 0;  // NameHash of the animation name; 0 for an empty slot
  int32_t dx = 0, dy = 0;
  bool operator==(const MapAnimSlot&) const = default;
};

// One value of a class extension; which member counts follows the item's encoding.
struct MapExtValue {
  int32_t i = 0;
  float f = 0.0f;
  std::string s;
  bool operator==(const MapExtValue&) const = default;
};

struct MapObjectRecord {
  std::string type, subtype, name;
  int32_t x = 0, y = 0;
  float scale = 1.0f;
  int32_t flipped = 0;
  int32_t layer = 0;
  int32_t boundX = 0, boundY = 0, boundXS = 0, boundYS = 0;
  int32_t supportCount = 1;  // 1 to 3
  int32_t support[3][2] = {};
  int32_t isObstacle = 0;
  int32_t obstacleX = 0, obstacleY = 0, obstacleXS = 0, obstacleYS = 0;
  int32_t isFogArea = 0;
  int32_t fogAreaDeltaX = 0, fogAreaDeltaY = 0;
  uint16_t fogRadiusX = 0, fogRadiusY = 0;
  uint32_t parentTag = 0;
  std::string childsKey;
  MapAnimSlot anims[kAnimSlots];
  int32_t currentAnimation = 0;
  std::vector<MapExtValue> extension;  // in the order of the class's binary items
  std::string childScript;

  bool operator==(const MapObjectRecord&) const = default;
};

// Binary reading. ReadBase reads the items from the name to the animation block (the object's own
// part of a record, after type and subtype); ReadExtension the blocks of the record's family;
// ReadObject a whole record. False once the stream failed; values out of range are corrected with a
// gerr.log line. A family whose items are not known fails the stream with a line naming the file
// and the object: its record's length is unknown, so nothing after it can be read.
bool mapReadBase(MapStream& s, MapObjectRecord& r);
bool mapReadExtension(MapStream& s, MapObjectRecord& r);
bool mapReadObject(MapStream& s, MapObjectRecord& r);

// Reads a section of an INI map. NoObject when the section's "type" is empty; Refused (with a
// gerr.log line naming the file and the section) when the family's items are not known and
// `refuseUnknown` is set. Templates of child scripts, read by key, take only the known keys.
enum class MapIniRead { Ok, NoObject, Refused };
MapIniRead mapReadIniRecord(const gFileName& file, const char* section, MapObjectRecord& r, bool refuseUnknown = true);
// The same, true only for Ok.
bool mapRecordFromIni(const gFileName& file, const char* section, MapObjectRecord& r);

// Binary writing: the whole record, or one string. False (with `error` set) when a text does not
// fit a length byte.
bool mapWriteString(std::string& out, std::string_view text, std::string* error);
bool mapWriteObject(std::string& out, const MapObjectRecord& r, std::string* error);
void mapWriteInt32(std::string& out, int32_t v);
void mapWriteFloat32(std::string& out, float v);

// The record as an INI section that mapRecordFromIni reads back to the same record. Animation
// names come from `animName` when it knows the hash, else the raw hash is written as "0x" + 8 hex
// digits, which the INI reader takes as a hash.
using MapAnimNameFn = const char* (*)(uint32_t hash, void* context);
std::string mapRecordToIni(const MapObjectRecord& r, MapAnimNameFn animName = nullptr, void* context = nullptr);

// The hash of an animation slot's INI value: 0 for empty or "null" (any case), the hash written as
// "0x" + 8 hex digits, else the name's NameHash.
uint32_t mapAnimHash(std::string_view value);
