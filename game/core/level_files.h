// Where a level's files live: level numbers up to 99 under "data/maps/", test levels above 99 under
// "dataTest/maps/" (their sounds and grey background stay under "data/maps/").
#pragma once
#include <cstdint>

// Each builder returns text in a buffer of its own, valid until the same builder runs again.
const char* levelFolder(int32_t n);                 // "data/maps/1", "dataTest/maps/100"
const char* levelMapPath(int32_t n, bool binary);   // folder + "/map.bin" or "/map.ini"
const char* levelBalancePath(int32_t n);            // folder + "/balance.ini"
const char* levelTaskPath(int32_t n);               // folder + "/task.ini"
const char* levelTestPath(int32_t n);               // folder + "/test.ini"
const char* levelSoundsPath(int32_t n);             // "data/maps/" + n + "/sounds.ini"
const char* levelGrayPath(int32_t n);               // "data/maps/" + n + "/backgray.jpg"
const char* levelGrayAlphaPath(int32_t n);          // "data/maps/" + n + "/_backgray.png"
