// Object count, section list and the way to the tail of a level map.
#include "game/core/map_level.h"

#include <string>

#include "base/diag.h"
#include "files/ini.h"
#include "game/core/map_stream.h"

void MapSectionList::Clear() {
  m_names.clear();
  m_next = 0;
}

void MapSectionList::Build(const gFileName& iniPath) {
  Clear();
  m_names = iniSectionList(iniPath);
  for (int i = 0; i < 9; ++i) {
    std::string include = iniGetString(iniPath, "Include", std::to_string(i).c_str(), "");
    if (include.empty()) continue;
    if (!fileExists(include.c_str())) {
      errorLog("%s: included map \"%s\" (Include key %d) is missing\n", iniPath.Utf8().c_str(), include.c_str(), i);
      continue;
    }
    for (std::string& name : iniSectionList(include.c_str())) m_names.push_back(std::move(name));
  }
}

const char* MapSectionList::Next() { return m_next < m_names.size() ? m_names[m_next++].c_str() : nullptr; }

int32_t mapObjectCount(MapStream& s, bool binary, const gFileName& iniPath, MapSectionList& sections) {
  sections.Clear();
  if (!binary) {
    sections.Build(iniPath);
    return int32_t(sections.Count()) + 3;
  }
  if (!s.IsOpen()) {
    errorLog("Level map: no binary map was opened (binary mode needs map.bin beside %s)\n", iniPath.Utf8().c_str());
    return -1;
  }
  int32_t n = s.ReadInt32();
  if (s.Failed()) return -1;
  if (n < 0) {
    s.Fail(("negative object count " + std::to_string(n)).c_str());
    return -1;
  }
  if (s.Remaining() < kMapTailBytes) {
    s.Fail("file too short for the path grid and fog (96620 bytes)");
    return -1;
  }
  size_t room = (s.Remaining() - kMapTailBytes) / kMinObjectRecordBytes;
  if (size_t(n) > room) {
    s.Fail(("object count " + std::to_string(n) + " does not fit the file (room for " + std::to_string(room) +
            ")").c_str());
    return -1;
  }
  return n + 3;
}

bool mapSeekGrid(MapStream& s, bool binary) {
  if (s.Failed()) return false;
  if (!binary) return s.SeekTail();
  if (s.Size() < kMapTailBytes || s.Position() != s.Size() - kMapTailBytes) {
    std::string what = "object records end where the path grid does not start (expected at offset " +
                       (s.Size() < kMapTailBytes ? std::string("none") : std::to_string(s.Size() - kMapTailBytes)) +
                       ")";
    s.Fail(what.c_str());
    return false;
  }
  return true;
}

bool mapParse(MapStream& s, MapFile& out) {
  out.objects.clear();
  MapSectionList unused;
  int32_t steps = mapObjectCount(s, true, s.Name().c_str(), unused);
  if (steps < 0) return false;
  out.objects.resize(size_t(steps - 3));
  for (MapObjectRecord& r : out.objects)
    if (!mapReadObject(s, r)) return false;
  return mapSeekGrid(s, true) && mapReadGrid(s, out.grid) && mapReadFog(s, out.fog);
}

bool mapSerialise(const MapFile& map, std::string& out, std::string* error) {
  out.clear();
  mapWriteInt32(out, int32_t(map.objects.size()));
  for (const MapObjectRecord& r : map.objects) {
    if (!mapWriteObject(out, r, error)) {
      if (error) *error = "object \"" + r.name + "\": " + *error;
      return false;
    }
  }
  mapWriteGrid(out, map.grid);
  mapWriteFog(out, map.fog);
  return true;
}
