// The small XML reader of picture-description files: elements with their attributes kept by
// position (names are not needed), read with bounds on size, depth and counts.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct gXmlNode {
  std::string name;
  std::vector<std::string> attributes;  // values in the order written
  std::vector<gXmlNode> children;
  // Attribute at 1-based position `pos` as a number; `def` when absent or not a number.
  int Int(size_t pos, int def = 0) const;
  const std::string* Attr(size_t pos) const;
};

// Parses `length` bytes (no terminator needed) into the single root element. On failure answers
// false and sets `errorOffset` to the byte offset where reading stopped and `why` to the reason.
// Declarations, comments, processing instructions and text between elements are skipped.
bool xmlParse(const char* data, size_t length, gXmlNode& root, size_t& errorOffset, const char*& why);
