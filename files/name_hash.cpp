// MurmurHash2, 32-bit, as published; little-endian block reads so the value is the same anywhere.
#include "files/name_hash.h"

#include <string>

uint32_t NameHash(std::string_view name) {
  if (name.empty()) return 0;
  constexpr uint32_t m = 0x5bd1e995;
  constexpr int r = 24;
  const auto* p = reinterpret_cast<const unsigned char*>(name.data());
  size_t len = name.size();
  uint32_t h = 12345u ^ uint32_t(len);
  while (len >= 4) {
    uint32_t k = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    k *= m;
    k ^= k >> r;
    k *= m;
    h *= m;
    h ^= k;
    p += 4;
    len -= 4;
  }
  switch (len) {
    case 3: h ^= uint32_t(p[2]) << 16; [[fallthrough]];
    case 2: h ^= uint32_t(p[1]) << 8; [[fallthrough]];
    case 1: h ^= uint32_t(p[0]); h *= m;
  }
  h ^= h >> 13;
  h *= m;
  h ^= h >> 15;
  return h;
}

uint32_t fileNameHash(std::string_view name) {
  // Any length is fine: the folded copy grows with the name.
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    else if (c == '/') c = '\\';
  }
  return NameHash(folded);
}
