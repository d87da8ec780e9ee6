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

std::string iniText(const gFileName& file, const char* section, const char* key, std::string_view def) {
  std::string v = iniString(file, section, key, "#UNK");
  if (v.empty()) return std::string(def);
  if (v[0] == '#') return iniString(kTranslation, nullptr, v.c_str(), def);
  return v;
}

std::u16string iniWText(const gFileName& file, const char* section, const char* key, std::u16string_view def) {
  std::string v = iniString(file, section, key, "#UNK");
  if (v.empty()) return std::u16string(def);
  if (v[0] == '#') return iniWString(kTranslation, nullptr, v.c_str(), def);
  return textUtf8ToUtf16(v);
}

namespace {
const char* ModeKey(int mode) {
  static const char* const kModes[3] = {"Normal", "Multiclick", "NoTime"};
  return mode >= 0 && mode < 3 ? kModes[mode] : nullptr;
}

std::u16string Translated(const char* key) { return iniFindWString(kTranslation, key); }
}  // namespace

const char16_t* levelTitle(int n) {
  static std::u16string title;
  if (n > 0 && n % 16 == 0) title = Translated("#BONUS_LEVEL");
  else title = Translated("#LEVEL") + u" " + textUtf8ToUtf16(std::to_string(n - n / 16));
  return title.c_str();
}

const char16_t* modeName(int mode) {
  static std::u16string name;
  const char* m = ModeKey(mode);
  name = m ? Translated((std::string("#GAMEMODE_") + m).c_str()) : u"";
  return name.c_str();
}

const char16_t* modeLabel(int mode) {
  static std::u16string label;
  label = std::u16string(modeName(mode)) + u" " + Translated("#MODE");
  return label.c_str();
}
