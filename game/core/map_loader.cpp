// Staged loading of a level's map.
#include "game/core/map_loader.h"

#include "base/diag.h"
#include "files/file.h"
#include "game/core/fog_picture.h"
#include "game/core/map.h"
#include "game/core/map_factory.h"
#include "game/core/path_finder.h"

cMapLoader::cMapLoader() : m_fog(std::make_unique<MapFog>()) {}
cMapLoader::~cMapLoader() = default;

bool cMapLoader::Begin(const std::string& folder, bool binary, Map::cMap& map, cPathFinder& pathFinder,
                       Map::cObjectFactory& factory) {
  m_map = &map;
  m_pathFinder = &pathFinder;
  m_factory = &factory;
  m_binary = binary;
  m_failed = false;
  m_hasFog = false;
  m_path = folder + "/map.bin";
  m_iniPath = folder + "/map.ini";
  m_stream.Close();
  m_stream.Open(m_path.c_str());
  map.SetPathFinder(&pathFinder);
  m_steps = mapObjectCount(m_stream, binary, m_iniPath.c_str(), m_sections);
  if (m_steps < 0) {
    m_failed = true;
    m_steps = 0;
    return false;
  }
  return true;
}

bool cMapLoader::Step(int i) {
  if (m_failed || i < 0 || i >= m_steps) return false;
  const int n = m_steps - 3;
  if (i < n) {
    std::vector<Map::cObject*> made;
    bool ok = m_binary ? m_factory->LoadFromBinary(m_stream, {0, 0}, made)
                       : m_factory->LoadFromIni(m_iniPath.c_str(), m_sections.At(size_t(i)).c_str(), {0, 0}, made);
    for (Map::cObject* o : made) m_map->Add(o);
    if (!ok && m_binary) {
      errorLog("%s: object %d of %d cannot be read; the level does not load\n", m_path.c_str(), i + 1, n);
      m_failed = true;
    }
    return !m_failed;
  }
  if (i == n) {
    if (!m_stream.IsOpen()) return true;  // every cell stays passable
    if (!mapSeekGrid(m_stream, m_binary) || !mapReadGrid(m_stream, m_grid)) {
      m_failed = true;
      return false;
    }
    m_pathFinder->LoadGrid(m_grid);
    return true;
  }
  if (i == n + 1) return true;
  if (m_stream.IsOpen()) {
    if (!mapReadFog(m_stream, *m_fog)) {
      m_failed = true;
      return false;
    }
    m_hasFog = true;
  } else if (!m_binary) {
    // A level kept as map.ini alone takes its starting fog from the picture mapc would compile.
    const std::string picture = m_iniPath.substr(0, m_iniPath.size() - 7) + "fog.png";
    if (fileExists(picture.c_str())) m_hasFog = fogReadPicture(picture, *m_fog);
  }
  if (m_onFogRead) m_onFogRead(m_hasFog ? m_fog.get() : nullptr);
  m_map->OnLoaded();
  return true;
}

bool cMapLoader::LoadAll() {
  for (int i = 0; i < m_steps; ++i)
    if (!Step(i)) return false;
  return !m_failed;
}
