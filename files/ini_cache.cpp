// The process-wide INI cache and the typed accessors with their rotating result buffers.
#include "files/ini.h"
#include "base/diag.h"
#include "files/file.h"
#include "files/ini_doc.h"
#include "files/text.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace {
// Keyed by the folded name, so "data/x.ini" and "data\x.ini" are one document and a save through
// either spelling keeps the other's changes.
std::unordered_map<std::string, std::unique_ptr<IniDoc>> g_docs;
IniDoc* g_recent = nullptr;
std::string g_recentKey;

// The translation document of another language is read over the English one: its keys come
// first, so they win, and a key it lacks still shows the English text.
constexpr const char* kTranslationKey = "data/translation.ini";
std::string g_language;

std::string loadText(const gFileName& file, const std::string& name, IniEncoding* encoding) {
  void* data = nullptr;
  size_t size = fileLoad(file, &data);
  if (!size) {
    consoleMessage(0, "Cannot load ini from file (%s)\n", name.c_str());
    return {};
  }
  std::string text = iniDecode(static_cast<const unsigned char*>(data), size, name.c_str(), encoding);
  memFree(data);
  return text;
}

char g_buf[4][2048];
char16_t g_wbuf[4][1024];
int g_next = 0;

IniDoc* load(const gFileName& file) {
  if (file.IsEmpty()) return nullptr;
  std::string name = file.Utf8();
  std::string key = fileFoldName(name);
  if (g_recent && key == g_recentKey) return g_recent;
  auto it = g_docs.find(key);
  if (it == g_docs.end()) {
    auto doc = std::make_unique<IniDoc>();
    doc->fileName = name;
    std::string text = loadText(file, name, &doc->encoding);
    if (!g_language.empty() && key == fileFoldName(kTranslationKey)) {
      const std::string other = "data/translation_" + g_language + ".ini";
      IniEncoding encoding{};
      if (fileExists(other.c_str())) text = loadText(gFileName(other.c_str()), other, &encoding) + "\n" + text;
    }
    if (!text.empty()) iniParseText(text, doc->nodes, &doc->trailing);
    it = g_docs.emplace(key, std::move(doc)).first;
  }
  g_recent = it->second.get();
  g_recentKey = key;
  return g_recent;
}

const IniNode* findValue(const gFileName& file, const char* section, const char* key) {
  IniDoc* doc = load(file);
  if (!doc || !key) return nullptr;
  int k = doc->FindKey(section, key);
  return k < 0 ? nullptr : &doc->nodes[k];
}

// Copies into the next rotating buffer, cut at a character boundary when too long.
const char* toBuffer(std::string_view s) {
  char* b = g_buf[g_next];
  g_next = (g_next + 1) & 3;
  size_t n = std::min(s.size(), sizeof g_buf[0] - 1);
  if (n < s.size())
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  std::memcpy(b, s.data(), n);
  b[n] = 0;
  return b;
}

const char16_t* toWBuffer(std::u16string_view s) {
  char16_t* b = g_wbuf[g_next];
  g_next = (g_next + 1) & 3;
  size_t n = std::min(s.size(), size_t(1023));
  if (n < s.size() && n > 0 && s[n] >= 0xDC00 && s[n] < 0xE000) --n;  // keep surrogate pairs whole
  std::memcpy(b, s.data(), n * sizeof(char16_t));
  b[n] = 0;
  return b;
}
}  // namespace

const char* iniGetString(const gFileName& file, const char* section, const char* key, const char* def) {
  const IniNode* n = findValue(file, section, key);
  return n ? toBuffer(iniUnquote(n->value)) : def;
}

const char16_t* iniGetWString(const gFileName& file, const char* section, const char* key, const char16_t* def) {
  if (!key || !*key) return def;
  const IniNode* n = findValue(file, section, key);
  return n ? toWBuffer(textUtf8ToUtf16(iniUnquote(n->value))) : def;
}

std::string iniString(const gFileName& file, const char* section, const char* key, std::string_view def) {
  const IniNode* n = findValue(file, section, key);
  return std::string(n ? iniUnquote(n->value) : def);
}

std::u16string iniWString(const gFileName& file, const char* section, const char* key, std::u16string_view def) {
  if (!key || !*key) return std::u16string(def);
  const IniNode* n = findValue(file, section, key);
  return n ? textUtf8ToUtf16(iniUnquote(n->value)) : std::u16string(def);
}

int iniGetInt(const gFileName& file, const char* section, const char* key, int def) {
  const IniNode* n = findValue(file, section, key);
  return n ? iniParseInt(n->value) : def;
}

float iniGetFloat(const gFileName& file, const char* section, const char* key, float def) {
  const IniNode* n = findValue(file, section, key);
  return n ? iniParseFloat(n->value) : def;
}

bool iniHasKey(const gFileName& file, const char* section, const char* key) {
  return findValue(file, section, key) != nullptr;
}

bool iniSave(const gFileName& file) {
  if (file.IsEmpty()) return false;
  auto it = g_docs.find(fileFoldName(file.Utf8()));
  if (it == g_docs.end()) return false;
  IniDoc& doc = *it->second;
  std::string text = doc.Serialise();
  std::string path = fileResolve(doc.fileName);
  if (!platWriteFileAtomic(path, text.data(), text.size())) {
    errorLog("Cannot save %s\n", doc.fileName.c_str());
    return false;
  }
  doc.dirty = false;
  return true;
}

void iniSetString(const gFileName& file, const char* section, const char* key, const char* value, bool save) {
  IniDoc* doc = load(file);
  if (!doc || !key) return;
  doc->Set(section, key, value ? value : "");
  if (save) iniSave(file);
}

void iniSetWString(const gFileName& file, const char* section, const char* key, const char16_t* value, bool save) {
  std::string v = value ? textUtf16ToUtf8(std::u16string_view(value, textWLen(value))) : std::string();
  iniSetString(file, section, key, v.c_str(), save);
}

void iniSetInt(const gFileName& file, const char* section, const char* key, int value, bool save) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  iniSetString(file, section, key, text, save);
}

void iniSetFloat(const gFileName& file, const char* section, const char* key, float value, bool save) {
  char text[64];
  std::snprintf(text, sizeof text, "%f", double(value));
  iniSetString(file, section, key, text, save);
}

void iniDeleteSection(const gFileName& file, const char* section) {
  IniDoc* doc = load(file);
  if (!doc) return;
  doc->DeleteSection(section);
  iniSave(file);
}

size_t iniSectionNames(const gFileName& file, char* buffer, size_t size) {
  if (!buffer || size == 0) return 0;
  size_t used = 0;
  if (IniDoc* doc = load(file)) {
    for (const IniNode& n : doc->nodes) {
      if (!n.section) continue;
      size_t len = std::min(n.name.size(), size_t(65534));
      if (used + len + 2 > size) break;  // the name, its zero and the final zero must fit
      std::memcpy(buffer + used, n.name.data(), len);
      used += len;
      buffer[used++] = 0;
    }
  }
  buffer[used++] = 0;
  return used;
}

std::vector<std::string> iniSectionList(const gFileName& file) {
  std::vector<std::string> out;
  if (IniDoc* doc = load(file))
    for (const IniNode& n : doc->nodes)
      if (n.section) out.push_back(n.name);
  return out;
}

std::vector<std::string> iniKeyList(const gFileName& file, const char* section) {
  std::vector<std::string> out;
  IniDoc* doc = load(file);
  if (!doc) return out;
  bool inside = !section || !*section;
  for (const IniNode& n : doc->nodes) {
    if (n.section) {
      if (!section) continue;
      if (*section && iniNameEquals(n.name, section)) {
        inside = true;
      } else if (inside) {
        break;
      }
    } else if (inside) {
      out.push_back(n.name);
    }
  }
  return out;
}

void iniSetLanguage(std::string_view language) {
  std::string lang;
  // A language is a short lower-case tag; anything else means the game's own (English) texts.
  for (char c : language.substr(0, 8)) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c < 'a' || c > 'z') return iniSetLanguage({});
    lang += c;
  }
  if (lang == "en") lang.clear();
  if (lang == g_language) return;
  g_language = lang;
  g_docs.erase(fileFoldName(kTranslationKey));
  g_recent = nullptr;
  g_recentKey.clear();
}

const std::string& iniLanguage() { return g_language; }

void iniFreeAll() {
  g_docs.clear();
  g_recent = nullptr;
  g_recentKey.clear();
}
