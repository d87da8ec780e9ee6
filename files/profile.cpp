// Per-player values of profile.ini and the high-score table of scores.ini.
#include "files/profile.h"

#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/ini_doc.h"
#include "files/text.h"
#include "files/user_files.h"

#include <cstdio>
#include <cstring>

namespace {
std::string g_prefix;
const char* kDefaultScores = "data/menu/default_scores.ini";

std::string fullKey(const char* key) { return g_prefix + "_" + (key ? key : ""); }

// Blank-trimmed text of digits with an optional sign, and for fractions one point: anything else
// is not a value we wrote.
bool looksNumeric(std::string_view s, bool fraction) {
  size_t i = 0, n = s.size();
  while (i < n && (s[i] == ' ' || s[i] == '\t')) ++i;
  while (n > i && (s[n - 1] == ' ' || s[n - 1] == '\t')) --n;
  if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
  bool digits = false, point = false;
  for (; i < n; ++i) {
    if (s[i] >= '0' && s[i] <= '9') {
      digits = true;
    } else if (fraction && s[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

void reportBad(const std::string& key, const std::string& value) {
  const std::string& path = fileProfilePath();
  errorLog("%s line %d: %s has \"%s\", which is not a number; its default is used\n", fileBaseName(path).c_str(),
           fileUserFileLine(path, g_prefix, key), key.c_str(), value.c_str());
}

// The stored text when the key is present and numeric; false otherwise.
bool numericValue(const char* key, bool fraction, std::string& text) {
  const std::string& path = fileProfilePath();
  const std::string k = fullKey(key);
  if (!iniHasKey(path, g_prefix.c_str(), k.c_str())) return false;
  text = iniString(path, g_prefix.c_str(), k.c_str());
  if (looksNumeric(text, fraction)) return true;
  reportBad(k, text);
  return false;
}

bool active() { return !g_prefix.empty() && !fileProfilePath().empty(); }

const std::string& scoresPath() { return fileScoresPath(); }

// The document the table is read from: the player's own once it has a first entry.
std::string scoresSource() {
  if (iniString(scoresPath(), "Score0", "name").empty()) return kDefaultScores;
  return scoresPath();
}

void adoptDefaultScores() {
  if (!iniString(scoresPath(), "Score0", "name").empty()) return;
  char section[16];
  for (int i = 0; i < kScoreEntries; ++i) {
    std::snprintf(section, sizeof section, "Score%d", i);
    std::string name = iniString(kDefaultScores, section, "name");
    int value = iniGetInt(kDefaultScores, section, "value", 0);
    iniSetString(scoresPath(), section, "name", name.c_str(), false);
    iniSetInt(scoresPath(), section, "value", value, false);
  }
}
}  // namespace

const std::string& profilePrefix() { return g_prefix; }
void profileClearPrefix() { g_prefix.clear(); }

bool profileSelect(const char* prefix, bool save) {
  if (!prefix || !*prefix) return false;
  g_prefix = prefix;
  iniSetString(fileProfilePath(), prefix, "main_name", prefix, false);
  if (save) profileSave();
  return true;
}

bool profileOpen(const char* prefix, bool save) {
  if (!profileSelect(prefix, save)) return false;
  int version = 0;
  profileGetInt("version", version, -1048575, 1048575, 0);
  if (version != 0) {
    // Data of another layout: start the section afresh rather than misread it.
    const std::string keep = g_prefix;
    profileDelete(keep.c_str());
    profileSelect(keep.c_str(), save);
  }
  profileSetInt("version", 0, save);
  return true;
}

void profileDelete(const char* prefix) {
  if (!prefix || !*prefix || fileProfilePath().empty()) return;
  fileBackupUserFile(fileProfilePath());
  iniDeleteSection(fileProfilePath(), prefix);  // saves the document itself
  if (iniNameEquals(g_prefix, prefix)) g_prefix.clear();
}

void profileGetInt(const char* key, int& out, int min, int max, int def) {
  if (!active()) return;
  std::string text;
  if (!numericValue(key, false, text)) {
    out = def;
    return;
  }
  int v = iniParseInt(text);
  out = v >= min && v <= max ? v : def;
}

void profileGetFloat(const char* key, float& out, float min, float max, float def) {
  if (!active()) return;
  std::string text;
  if (!numericValue(key, true, text)) {
    out = def;
    return;
  }
  float v = iniParseFloat(text);
  out = v >= min && v <= max ? v : def;
}

std::string profileString(const char* key) {
  if (!active()) return {};
  return iniString(fileProfilePath(), g_prefix.c_str(), fullKey(key).c_str());
}

void profileGetString(const char* key, char* buffer, size_t size) {
  if (!buffer || size == 0 || !active()) return;
  std::string v = profileString(key);
  size_t n = std::min(v.size(), size - 1);
  if (n < v.size())
    while (n > 0 && (static_cast<unsigned char>(v[n]) & 0xC0) == 0x80) --n;
  std::memcpy(buffer, v.data(), n);
  buffer[n] = 0;
}

bool profileHasKey(const char* key) {
  return active() && iniHasKey(fileProfilePath(), g_prefix.c_str(), fullKey(key).c_str());
}

void profileSetInt(const char* key, int value, bool save) {
  if (!active()) return;
  iniSetInt(fileProfilePath(), g_prefix.c_str(), fullKey(key).c_str(), value, false);
  if (save) profileSave();
}

void profileSetFloat(const char* key, float value, bool save) {
  if (!active()) return;
  iniSetFloat(fileProfilePath(), g_prefix.c_str(), fullKey(key).c_str(), value, false);
  if (save) profileSave();
}

void profileSetString(const char* key, const char* text, bool save) {
  if (!active()) return;
  iniSetString(fileProfilePath(), g_prefix.c_str(), fullKey(key).c_str(), text ? text : "", false);
  if (save) profileSave();
}

bool profileSave() { return fileSaveUserFile(fileProfilePath()); }

const char16_t* scoresGetWString(const char* section, const char* key, char16_t* buffer, size_t size,
                                 const char16_t* def) {
  if (!buffer || size == 0) return def;
  std::u16string v = def ? std::u16string(def) : std::u16string();
  if (!scoresPath().empty()) v = iniWString(scoresSource(), section, key, v);
  size_t n = std::min(v.size(), size - 1);
  if (n < v.size() && n > 0 && v[n] >= 0xDC00 && v[n] < 0xE000) --n;  // keep a surrogate pair whole
  std::memcpy(buffer, v.data(), n * sizeof(char16_t));
  buffer[n] = 0;
  return buffer;
}

void scoresGetInt(const char* section, const char* key, int& out, int def) {
  out = scoresPath().empty() ? def : iniGetInt(scoresSource(), section, key, def);
}

void scoresSetWString(const char* section, const char* key, const char16_t* text, bool save) {
  if (scoresPath().empty()) return;
  adoptDefaultScores();
  iniSetWString(scoresPath(), section, key, text ? text : u"", false);
  if (save) scoresSave();
}

void scoresSetInt(const char* section, const char* key, int value, bool save) {
  if (scoresPath().empty()) return;
  adoptDefaultScores();
  iniSetInt(scoresPath(), section, key, value, false);
  if (save) scoresSave();
}

bool scoresSave() { return fileSaveUserFile(scoresPath()); }
