// Helpers of the file-layer tests: archives built byte by byte, files written and read back whole,
// and the text of gerr.log.
#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/diag.h"
#include "files/file.h"
#include "support/test_files.h"

namespace filetest {
struct Entry {
  std::string name;
  std::string data;
};

// Builds archive bytes by hand, so the tests check the format itself and not our writer.
inline std::string makeArchive(uint8_t version, const std::vector<Entry>& entries) {
  std::string out(1, char(version));
  for (const Entry& e : entries) {
    uint32_t n = uint32_t(e.data.size());
    for (int i = 0; i < 4; ++i) out.push_back(char((n >> (8 * i)) & 255));
    out += e.name;
    out.push_back('\0');
    if (version >= 2 && (out.size() & 1)) out.push_back('\xAA');
    out += e.data;
  }
  return out;
}

inline void writeFile(const std::string& path, const std::string& bytes) { testkit::writeFile(path, bytes); }
inline std::string readFile(const std::string& path) { return testkit::readFile(path); }

// Loads through the file layer and gives the buffer back at once.
inline std::string load(const gFileName& name) {
  void* p = nullptr;
  size_t n = fileLoad(name, &p);
  std::string s(static_cast<const char*>(p ? p : ""), n);
  if (n) memFree(p);
  return s;
}

inline std::string gerrText() {
  errorLogClose();
  return readFile("gerr.log");
}

inline void clearGerr() {
  errorLogClose();
  std::filesystem::remove("gerr.log");
}
}  // namespace filetest
