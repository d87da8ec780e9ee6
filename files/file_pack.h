// The pack archive's entry table, shared by the file loads and the buffer release.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include "files/file.h"

struct PackEntry {
  std::string name;       // slashes, at most 254 characters
  void* data = nullptr;   // loaded bytes, or null
  size_t archive = 0;     // index of the archive file it lives in
  uint64_t offset = 0;
  size_t size = 0;
  uint32_t useCount = 0;
};

PackEntry* packFind(const gFileName& name);
// Loads the entry (or shares its loaded bytes) and counts the use; returns its size, 0 on failure.
size_t packAcquire(PackEntry& e, void** data);
// Gives back the raw bytes of an entry that was only loaded to be inflated.
void packDropRaw(PackEntry& e);
// Claims a pointer inside a loaded entry: counts the use down and frees at zero. False when the
// pointer is not an archive buffer.
bool packRelease(void* p);
