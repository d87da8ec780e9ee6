// Whole files for tests: written byte for byte with the folders they need, read back whole.
// Every test area's small file helpers call these.
#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace testkit {

// Writes `bytes` to `path`, creating missing parent folders; false when the file cannot be made.
inline bool writeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(f);
}

inline bool writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  return writeFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// The whole file; empty when it is missing.
inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

inline std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
  const std::string s = readFile(path);
  return std::vector<uint8_t>(s.begin(), s.end());
}

}  // namespace testkit
