// The object families of a level: which class a type and subtype select, whether its objects come
// from the level arena and offer work to the player, and the blocks of items the class appends to
// its record in map.bin and map.ini. Families register their blocks here; a family whose class has
// items that nobody registered is refused by the map readers instead of being misread.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The encoding of one item of a class block.
enum class MapItem : uint8_t { Int32, Int8, Float32, String };

// How the INI form spells an item whose binary value differs from the key's text.
enum class MapIniForm : uint8_t {
  Plain,
  ZeroIsOne,      // float: 0 is read as 1.0 (the binary value is taken as stored)
  ResourceName,   // "Worker", "Food", "Ore", "Gold"; anything else is 4 (none)
  StoredMinusOne,  // a value above 0 is stored minus one, otherwise 8; written back plus one
  ClampedByte      // a one-byte item of 0..255: read unsigned, an INI value outside is taken at its end
};

struct MapExtItem {
  MapItem kind;
  const char* key;  // INI key; null for an item the INI form does not have (read as 0)
  MapIniForm form = MapIniForm::Plain;
};

// One block of items, in binary order.
struct MapExtension {
  const char* name;
  std::vector<MapExtItem> items;
};

struct MapFamily {
  const char* className;
  bool arena = false;   // carved from the level arena
  bool offersWork = false;  // an operation subject the player can order: clickable from creation
  bool itemsKnown = true;   // false: the class has record items no block describes yet
  std::vector<const MapExtension*> blocks;  // base class blocks first
  size_t ItemCount() const;
};

// The family of a type and subtype (by NameHash, so case-sensitive); a type or subtype the table
// does not know gives the plain object family, which has no items.
const MapFamily& mapFamilyOf(std::string_view type, std::string_view subtype);
const MapFamily& mapFamilyOf(uint32_t typeHash, uint32_t subtypeHash);
const MapFamily& mapPlainFamily();
// Every family of the table (the plain one first), for tools and tests.
std::vector<const MapFamily*> mapFamilies();

// A family's class block becomes known (a later family's own items); `blocks` replaces what the
// table held, base blocks first. With `known` false the family's items are unknown again. False
// when no family has that class name.
bool mapRegisterBlocks(std::string_view className, std::vector<const MapExtension*> blocks, bool known = true);

// The blocks this game core knows, for families that build on them.
const MapExtension& mapSubjectBlock();
const MapExtension& mapBuildingBlock();

// The subject block's duration keys by operation kind, 0 ("none") to 7; null outside that range.
constexpr int kMapSubjectDurations = 8;
const char* mapSubjectDurationKey(int32_t kind);

// Resource names of the INI form, 0 to 3, and 4 for none.
int32_t mapResourceIndex(std::string_view name);
const char* mapResourceName(int32_t index);  // "" for none
