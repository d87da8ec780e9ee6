// Level path builders.
#include "game/core/level_files.h"

#include <cstdio>

namespace {
constexpr int kPathSize = 64;  // the longest, "dataTest/maps/-2147483648/balance.ini", fits

const char* root(int32_t n) { return n > 99 ? "dataTest/maps/" : "data/maps/"; }
}  // namespace

const char* levelFolder(int32_t n) {
  static char buf[kPathSize];
  std::snprintf(buf, sizeof buf, "%s%d", root(n), int(n));
  return buf;
}

const char* levelMapPath(int32_t n, bool binary) {
  static char buf[kPathSize];
  std::snprintf(buf, sizeof buf, "%s%d/map%s", root(n), int(n), binary ? ".bin" : ".ini");
  return buf;
}

const char* levelBalancePath(int32_t n) {
  static char buf[kPathSize];
  std::snprintf(buf, sizeof buf, "%s%d/balance.ini", root(n), int(n));
  return buf;
}

const char* levelTaskPath(int32_t n) {
  static char buf[kPathSize];
  std::snprintf(buf, sizeof buf, "%s%d/task.ini", root(n), int(n));
  return buf;
}

const char* levelTestPath(int32_t n) {
  static char buf[kPathSize];
  std::snprintf(buf, sizeof buf, "%s%d/test.ini", root(n), int(n));
  return buf;
}

const char* levelSoundsPath(int32_t n) {
  static char buf[kPathSize];
  std::snprintf(buf, sizeof buf, "data/maps/%d/sounds.ini", int(n));
  return buf;
}

const char* levelGrayPath(int32_t n) {
  static char buf[kPathSize];
  std::snprintf(buf, sizeof buf, "data/maps/%d/backgray.jpg", int(n));
  return buf;
}

const char* levelGrayAlphaPath(int32_t n) {
  static char buf[kPathSize];
  std::snprintf(buf, sizeof buf, "data/maps/%d/_backgray.png", int(n));
  return buf;
}
