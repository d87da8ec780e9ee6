// Bounded reading of the in-memory map file.
#include "game/core/map_stream.h"

#include <cstring>

#include "base/diag.h"
#include "files/file.h"

void MapStream::Free::operator()(void* p) const { memFree(p); }

bool MapStream::Open(const char* path) {
  Close();
  void* data = nullptr;
  size_t size = fileLoad(path, &data);
  if (!size || !data) return false;
  m_owned.reset(data);
  m_data = static_cast<const uint8_t*>(data);
  m_size = size;
  m_name = path;
  m_open = true;
  return true;
}

void MapStream::OpenMemory(const void* data, size_t size, const char* name) {
  Close();
  m_data = static_cast<const uint8_t*>(data);
  m_size = data ? size : 0;
  m_name = name ? name : "";
  m_open = true;
}

void MapStream::Close() {
  m_owned.reset();
  m_data = nullptr;
  m_size = m_pos = 0;
  m_open = m_failed = false;
  m_error.clear();
  m_scratch[0] = '\0';
}

void MapStream::Fail(const char* what) {
  if (m_failed) return;  // the first fault is the one worth reading
  m_failed = true;
  m_error = m_name + ": " + what + " at offset " + std::to_string(m_pos) + " (file size " + std::to_string(m_size) + ")";
  errorLog("%s\n", m_error.c_str());
}

bool MapStream::Need(size_t n, const char* what) {
  if (m_failed) return false;
  if (n <= m_size - m_pos) return true;
  Fail(what);
  return false;
}

int32_t MapStream::ReadInt32() {
  if (!Need(4, "int32 past the end of the file")) return 0;
  const uint8_t* p = m_data + m_pos;
  m_pos += 4;
  return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

float MapStream::ReadFloat32() {
  uint32_t bits = uint32_t(ReadInt32());
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}

int8_t MapStream::ReadInt8() {
  if (!Need(1, "int8 past the end of the file")) return 0;
  return int8_t(m_data[m_pos++]);
}

const char* MapStream::ReadString() {
  m_scratch[0] = '\0';
  int len = ReadInt8();
  if (len <= 0) return m_scratch;
  // The text, then the byte written as its terminator.
  if (!Need(size_t(len) + 1, "string past the end of the file")) return m_scratch;
  std::memcpy(m_scratch, m_data + m_pos, size_t(len));
  m_scratch[len] = '\0';
  m_pos += size_t(len) + 1;
  return m_scratch;
}

bool MapStream::SeekTail() {
  if (m_failed) return false;
  if (m_size < kMapTailBytes) {
    Fail("file too short for the path grid and fog (96620 bytes)");
    return false;
  }
  m_pos = m_size - kMapTailBytes;
  return true;
}
