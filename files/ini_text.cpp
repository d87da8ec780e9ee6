// Translated display text: values beginning with "#" are keys of the translation document.
#include "files/ini.h"
#include "files/text.h"

namespace {
const char* const kTranslation = "data\\translation.ini";
}

const char* iniGetText(const gFileName& file, const char* section, const char* key, const char* def) {
  const char* v = iniGetString(file, section, key, "#UNK");
  if (!v || !*v) return def;
  if (v[0] == '#') return iniGetString(kTranslation, nullptr, v, def);
  return v;
}

const char16_t* iniGetWText(const gFileName& file, const char* section, const char* key, const char16_t* def) {
  const char* v = iniGetString(file, section, key, "#UNK");
  if (!v || !*v) return def;
  if (v[0] == '#') return iniGetWString(kTranslation, nullptr, v, def);
  // Through the accessor's own buffers, so the result lives as long as any other.
  static thread_local std::u16string held[4];
  static int next = 0;
  std::u16string& h = held[next];
  next = (next + 1) & 3;
  h = textUtf8ToUtf16(v);
  return h.c_str();
}

const char16_t* iniFindWString(const gFileName& file, const char* key) {
  return iniGetWString(file, nullptr, key, u"");
}
