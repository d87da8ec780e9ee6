// Level path builders.
#include "game/core/level_files.h"

namespace {
std::string root(int32_t n) { return (n > 99 ? "dataTest/maps/" : "data/maps/") + std::to_string(n); }
std::string game(int32_t n) { return "data/maps/" + std::to_string(n); }
}  // namespace

std::string levelFolder(int32_t n) { return root(n); }
std::string levelMapPath(int32_t n, bool binary) { return root(n) + (binary ? "/map.bin" : "/map.ini"); }
std::string levelBalancePath(int32_t n) { return root(n) + "/balance.ini"; }
std::string levelTaskPath(int32_t n) { return root(n) + "/task.ini"; }
std::string levelTestPath(int32_t n) { return root(n) + "/test.ini"; }
std::string levelSoundsPath(int32_t n) { return game(n) + "/sounds.ini"; }
std::string levelGrayPath(int32_t n) { return game(n) + "/backgray.jpg"; }
std::string levelGrayAlphaPath(int32_t n) { return game(n) + "/_backgray.png"; }
