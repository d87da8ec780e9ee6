// Where a level's files live: level numbers up to 99 under "data/maps/", test levels above 99 under
// "dataTest/maps/" (their sounds and grey background stay under "data/maps/").
#pragma once
#include <cstdint>
#include <string>

// Each builder returns its own text, so two paths can be held at once.
std::string levelFolder(int32_t n);                // "data/maps/1", "dataTest/maps/100"
std::string levelMapPath(int32_t n, bool binary);  // folder + "/map.bin" or "/map.ini"
std::string levelBalancePath(int32_t n);           // folder + "/balance.ini"
std::string levelTaskPath(int32_t n);              // folder + "/task.ini"
std::string levelTestPath(int32_t n);              // folder + "/test.ini"
std::string levelSoundsPath(int32_t n);            // "data/maps/" + n + "/sounds.ini"
std::string levelGrayPath(int32_t n);              // "data/maps/" + n + "/backgray.jpg"
std::string levelGrayAlphaPath(int32_t n);         // "data/maps/" + n + "/_backgray.png"
