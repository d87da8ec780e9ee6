// The binary keyframe file: a bounded reader that refuses damaged data with the offset of the
// fault, and the writer that produces the same bytes from the same objects.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "anim/kf_types.h"

constexpr size_t kKfMaxText = 4096;  // bytes of one name or text
constexpr int kKfMaxDepth = 48;      // objects inside objects

using KfObjects = std::vector<std::unique_ptr<C_AnimationObject>>;

struct KfReadError {
  size_t offset = 0;
  std::string reason;
  size_t trailing = 0;  // bytes after the last object (read successfully all the same)
};

// Reads the objects of a file's bytes as stored (keys in file order, names untouched). False with
// `out` empty and `error` set when the data is damaged: a count or text longer than the bytes
// left, a negative count, a key time that is not a finite number, or nesting deeper than
// kKfMaxDepth.
bool kfParse(const uint8_t* data, size_t size, KfObjects& out, KfReadError& error);
// The bytes kfParse reads back into the same objects (empty texts are written with length 0).
std::string kfSerialize(const KfObjects& objects);
