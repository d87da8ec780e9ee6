// INI documents: a tolerant parser, a process-wide cache keyed by folded file name, typed
// accessors with defaults, and write-back of the whole document as UTF-8 with a signature.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>
#include "files/file.h"

// Text results live in four rotating 2048-byte buffers: copy them if kept. A null section searches
// the whole document; an empty one means the keys before the first header.
const char* iniGetString(const gFileName& file, const char* section, const char* key, const char* def);
const char16_t* iniGetWString(const gFileName& file, const char* section, const char* key, const char16_t* def);
int iniGetInt(const gFileName& file, const char* section, const char* key, int def);
float iniGetFloat(const gFileName& file, const char* section, const char* key, float def);

// The same lookups returning text of their own, with no length limit: for values that are kept
// or passed on.
std::string iniString(const gFileName& file, const char* section, const char* key, std::string_view def = {});
std::u16string iniWString(const gFileName& file, const char* section, const char* key, std::u16string_view def = {});

// Translating accessors: a value beginning with "#" is a key of "data/translation.ini".
const char* iniGetText(const gFileName& file, const char* section, const char* key, const char* def);
const char16_t* iniGetWText(const gFileName& file, const char* section, const char* key, const char16_t* def);
const char16_t* iniFindWString(const gFileName& file, const char* key);
std::string iniText(const gFileName& file, const char* section, const char* key, std::string_view def = {});
std::u16string iniWText(const gFileName& file, const char* section, const char* key, std::u16string_view def = {});
// Composed display texts, valid until the next call of the same function: the title of level n
// (every sixteenth level is a bonus level and is not counted), and the name of game mode 0
// "Normal", 1 "Multiclick" or 2 "NoTime" (empty for others) alone or followed by "#MODE"'s text.
const char16_t* levelTitle(int n);
const char16_t* modeName(int mode);
const char16_t* modeLabel(int mode);

void iniSetString(const gFileName& file, const char* section, const char* key, const char* value, bool save);
void iniSetWString(const gFileName& file, const char* section, const char* key, const char16_t* value, bool save);
void iniSetInt(const gFileName& file, const char* section, const char* key, int value, bool save);
void iniSetFloat(const gFileName& file, const char* section, const char* key, float value, bool save);

bool iniHasKey(const gFileName& file, const char* section, const char* key);
void iniDeleteSection(const gFileName& file, const char* section);
// Writes the section names, each followed by a zero byte, and a final zero, into at most `size`
// bytes; returns the bytes written (names that do not fit are left out).
size_t iniSectionNames(const gFileName& file, char* buffer, size_t size);
std::vector<std::string> iniSectionList(const gFileName& file);
std::vector<std::string> iniKeyList(const gFileName& file, const char* section);
bool iniSave(const gFileName& file);
void iniFreeAll();
// The players' language ("ru"; empty or "en" for English): "data/translation_<language>.ini" is
// read over "data/translation.ini", so its texts win and the ones it lacks stay English.
void iniSetLanguage(std::string_view language);
const std::string& iniLanguage();
