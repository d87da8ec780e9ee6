// Name hashes: MurmurHash2 (seed 12345) over a name's bytes. Types, tags and animation names are
// compared by it, so it is case-sensitive; file names are folded first (fileNameHash).
#pragma once
#include <cstdint>
#include <string_view>

uint32_t NameHash(std::string_view name);  // 0 for an empty name
inline uint32_t NameHash(const char* name) { return name ? NameHash(std::string_view(name)) : 0; }

// The hash of a file name after lower-casing ASCII letters and turning "/" into "\", so that the
// same file asked for with different spellings finds the same library entry.
uint32_t fileNameHash(std::string_view name);
