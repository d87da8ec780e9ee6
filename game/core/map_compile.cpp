// Compiling INI maps to binary maps and back.
#include "game/core/map_compile.h"

#include <set>
#include <unordered_map>

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/map_mask.h"

bool mapCompile(const MapCompileInput& in, MapFile& out, std::string* error, std::vector<std::string>* notes) {
  out = MapFile{};
  if (!fileExists(in.iniPath.c_str())) {
    if (error) *error = in.iniPath + ": missing";
    return false;
  }
  MapSectionList sections;
  sections.Build(in.iniPath.c_str());
  std::set<std::string> seen;
  while (const char* name = sections.Next()) {
    MapObjectRecord r;
    MapIniRead read = mapReadIniRecord(in.iniPath.c_str(), name, r);
    if (read == MapIniRead::NoObject) continue;
    if (read == MapIniRead::Refused) {
      if (error) *error = in.iniPath + " [" + name + "]: " + mapFamilyOf(r.type, r.subtype).className +
                          " objects have keys not known to this compiler";
      return false;
    }
    if (!seen.insert(fileFoldName(name)).second && notes)
      notes->push_back(std::string("section \"") + name + "\" is listed twice; both objects read the first section's keys");
    std::string why;
    std::string bytes;
    if (!mapWriteObject(bytes, r, &why)) {
      if (error) *error = in.iniPath + " [" + name + "]: " + why;
      return false;
    }
    out.objects.push_back(std::move(r));
  }
  if (!in.gridPath.empty() && !mapGridFromPng(in.gridPath, out.grid, error)) return false;
  out.fog.Fill(in.fogValue);
  if (!in.fogPath.empty() && !mapFogFromPng(in.fogPath, out.fog, error)) return false;
  return true;
}

std::string mapDumpIni(const MapFile& map, const std::vector<std::string>& animNames, std::vector<std::string>* notes) {
  std::unordered_map<uint32_t, std::string> names;
  for (const std::string& n : animNames)
    if (!n.empty()) names.emplace(NameHash(n), n);
  auto lookup = [](uint32_t hash, void* context) -> const char* {
    auto* table = static_cast<std::unordered_map<uint32_t, std::string>*>(context);
    auto it = table->find(hash);
    return it == table->end() ? nullptr : it->second.c_str();
  };
  std::string text = "; " + std::to_string(map.objects.size()) + " objects\n";
  std::set<std::string> seen;
  for (const MapObjectRecord& r : map.objects) {
    if (notes) {
      if (r.name.empty()) notes->push_back("an object of type \"" + r.type + "\" has no name");
      else if (!seen.insert(fileFoldName(r.name)).second)
        notes->push_back("two objects are named \"" + r.name + "\"; as INI both would read the first section");
      if (r.name.find_first_of("[]\r\n") != std::string::npos)
        notes->push_back("object name \"" + r.name + "\" cannot be an INI section name");
    }
    text += "\n" + mapRecordToIni(r, lookup, &names);
  }
  return text;
}
