// The settings lookup: the shipped game.ini, its per-platform keys, then the user's profgame.ini.
#include "files/cfg.h"
#include "files/file.h"
#include "files/ini.h"

#include <string>

namespace {
const char* kGameIni = "game.ini";

std::string platformKey(const char* key, const char* suffix) { return std::string(key) + suffix; }
}  // namespace

int cfgGetInt(const char* section, const char* key, int def) {
  int v = iniGetInt(kGameIni, section, key, def);
  // "_win" is what shipped data may already use; "_linux" lets a data folder set values for this
  // port alone, and comes after so it wins over "_win".
  v = iniGetInt(kGameIni, section, platformKey(key, "_win").c_str(), v);
  v = iniGetInt(kGameIni, section, platformKey(key, "_linux").c_str(), v);
  const std::string& prof = fileProfgamePath();
  if (!prof.empty()) v = iniGetInt(prof, section, key, v);
  return v;
}

bool cfgGetBool(const char* section, const char* key, bool def) {
  return cfgGetInt(section, key, def ? 1 : 0) != 0;
}

std::string cfgGetString(const char* section, const char* key, const char* def) {
  constexpr size_t kMax = 65533;
  // Each step copies before the next accessor call: results live in rotating buffers.
  std::string v = iniGetString(kGameIni, section, key, def ? def : "");
  v = iniGetString(kGameIni, section, platformKey(key, "_win").c_str(), v.c_str());
  v = iniGetString(kGameIni, section, platformKey(key, "_linux").c_str(), v.c_str());
  const std::string& prof = fileProfgamePath();
  if (!prof.empty()) v = iniGetString(prof, section, key, v.c_str());
  if (v.size() > kMax) v.resize(kMax);
  return v;
}

void cfgSetInt(const char* section, const char* key, int value) {
  const std::string& prof = fileProfgamePath();
  if (!prof.empty()) iniSetInt(prof, section, key, value, true);
}

void cfgSetString(const char* section, const char* key, const char* value) {
  const std::string& prof = fileProfgamePath();
  if (!prof.empty()) iniSetString(prof, section, key, value, true);
}
