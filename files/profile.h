// Per-player values in profile.ini under the current prefix, and the high-score table in
// scores.ini. Every per-player key is "prefix_key" inside the section [prefix].
#pragma once
#include <cstddef>
#include <string>

// Makes `prefix` current and writes its "main_name" key; false for an empty prefix. With `save`
// false the change waits for the next save (a caller writing many keys saves once at the end).
bool profileSelect(const char* prefix, bool save = true);
// profileSelect, then a section whose "version" is not 0 is wiped and begun again; true when
// the section is ready.
bool profileOpen(const char* prefix, bool save = true);
// Deletes the section [prefix]; when it was current, no prefix is current any more.
void profileDelete(const char* prefix);
const std::string& profilePrefix();
void profileClearPrefix();

// The readers leave `out` alone when no prefix is set. A value outside [min, max], or one that is
// not a number at all (named in gerr.log with its file and line), gives `def`.
void profileGetInt(const char* key, int& out, int min, int max, int def);
void profileGetFloat(const char* key, float& out, float min, float max, float def);
// Up to size - 1 bytes, never a broken UTF-8 character; an absent key gives an empty text.
void profileGetString(const char* key, char* buffer, size_t size);
std::string profileString(const char* key);
bool profileHasKey(const char* key);

void profileSetInt(const char* key, int value, bool save);
void profileSetFloat(const char* key, float value, bool save);
void profileSetString(const char* key, const char* text, bool save);
// False, with a gerr.log line, when profile.ini could not be written.
bool profileSave();

// The high-score table: sections "Score0" to "Score7" with "name" and "value". While the player's
// table has no first name, the shipped "data/menu/default_scores.ini" is read instead; the first
// write copies that whole table over, so one new entry never leaves seven empty ones.
constexpr int kScoreEntries = 8;
const char16_t* scoresGetWString(const char* section, const char* key, char16_t* buffer, size_t size,
                                 const char16_t* def);
void scoresGetInt(const char* section, const char* key, int& out, int def);
void scoresSetWString(const char* section, const char* key, const char16_t* text, bool save);
void scoresSetInt(const char* section, const char* key, int value, bool save);
bool scoresSave();
