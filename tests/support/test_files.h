// Whole files for tests: written byte for byte with the folders they need, read back whole, and a
// picture of one colour. Every test area's small file helpers call these.
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

// An uncompressed 32-bit TGA of one colour, top row first.
inline bool writeTga(const std::filesystem::path& path, int w, int h, uint32_t argb) {
  std::string bytes(18, '\0');
  bytes[2] = 2;
  bytes[12] = char(w & 255);
  bytes[13] = char(w >> 8);
  bytes[14] = char(h & 255);
  bytes[15] = char(h >> 8);
  bytes[16] = 32;
  bytes[17] = 0x28;
  for (int i = 0; i < w * h; ++i) {
    bytes.push_back(char(argb & 255));
    bytes.push_back(char((argb >> 8) & 255));
    bytes.push_back(char((argb >> 16) & 255));
    bytes.push_back(char(argb >> 24));
  }
  return writeFile(path, bytes);
}

}  // namespace testkit
