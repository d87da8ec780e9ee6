// The settings lookup: the shipped game.ini, its per-platform keys, then the user's profgame.ini.
#pragma once
#include <string>

// game.ini [S] K, then K + "_win", then K + "_linux", then the user's profgame.ini [S] K, each
// taking the previous value as its default.
int cfgGetInt(const char* section, const char* key, int def);
bool cfgGetBool(const char* section, const char* key, bool def);
std::string cfgGetString(const char* section, const char* key, const char* def);
// Writes go to profgame.ini, so a user's choices win over the shipped game.ini.
void cfgSetInt(const char* section, const char* key, int value);
void cfgSetString(const char* section, const char* key, const char* value);
