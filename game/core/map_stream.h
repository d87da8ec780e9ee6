// The binary map file held whole in memory and read front to back: little-endian numbers and the
// length-prefixed strings of map.bin. Every read is bounded: the first read past the end (or any
// other fault found by a caller) marks the stream failed, writes one gerr.log line naming the file
// and the offset, and from then on reads return 0 or an empty string.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Layout constants of map.bin.
constexpr int kGridColumns = 1024 / 10 + 1;  // 103
constexpr int kGridRows = 768 / 10 + 1;      // 77
constexpr int kFogColumns = 1024 / 10 + 2;   // 104
constexpr int kFogRows = 768 / 10 + 2;       // 78
constexpr size_t kGridBytes = size_t(kGridColumns) * kGridRows * 4;  // 31724
constexpr size_t kFogBytes = size_t(kFogColumns) * kFogRows * 8;     // 64896
constexpr size_t kMapTailBytes = kGridBytes + kFogBytes;             // 96620
constexpr int kMapStringMax = 127;
// The smallest object record: empty strings, no class extension.
constexpr size_t kMinObjectRecordBytes = 357;

class MapStream {
 public:
  MapStream() = default;
  ~MapStream() { Close(); }
  MapStream(const MapStream&) = delete;
  MapStream& operator=(const MapStream&) = delete;

  // Reads the whole file (archive first, then loose); false when it is missing or empty.
  bool Open(const char* path);
  // Reads from bytes the caller keeps alive (tests, fuzzing, the map compiler).
  void OpenMemory(const void* data, size_t size, const char* name);
  void Close();
  bool IsOpen() const { return m_open; }

  int32_t ReadInt32();
  float ReadFloat32();
  int8_t ReadInt8();
  // A signed length L, then L bytes and one more when L > 0; empty when L <= 0. The text lives in
  // the stream's scratch buffer until the next string read.
  const char* ReadString();

  // Position = size - 96620; fails when the file is shorter than the grid and fog.
  bool SeekTail();
  // True when `n` more bytes can be read; otherwise fails with `what`.
  bool Need(size_t n, const char* what);
  // Marks the stream failed with one gerr.log line "<file>: <what> at offset <position>".
  void Fail(const char* what);

  bool Failed() const { return m_failed; }
  size_t Position() const { return m_pos; }
  size_t Size() const { return m_size; }
  size_t Remaining() const { return m_size - m_pos; }
  const std::string& Name() const { return m_name; }
  const std::string& Error() const { return m_error; }  // the gerr.log line of the failure

 private:
  struct Free {
    void operator()(void* p) const;
  };
  std::unique_ptr<void, Free> m_owned;  // the file buffer when the stream loaded it
  const uint8_t* m_data = nullptr;
  size_t m_size = 0;
  size_t m_pos = 0;
  bool m_open = false;
  bool m_failed = false;
  std::string m_name;
  std::string m_error;
  char m_scratch[256] = {};
};
