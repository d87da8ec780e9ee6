// Readers of sound files: one small interface over RIFF WAVE (PCM 8/16-bit) and Ogg Vorbis
// (decoded to 16-bit), both able to rewind and to loop by themselves.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The sample format, laid out like a WAVEFORMATEX with no extra bytes.
struct SndFormat {
  uint16_t formatTag = 1;        // 1 = PCM
  uint16_t channels = 0;         // 1 or 2
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;       // bytes per frame
  uint16_t bitsPerSample = 0;    // 8 (unsigned) or 16 (signed little-endian)
  uint16_t extraSize = 0;
};

// Results of Open.
enum : int { SND_OPEN_OK = 0, SND_OPEN_MISSING = 1, SND_OPEN_UNDECODABLE = 2, SND_OPEN_DAMAGED = 3 };

// Bytes of a whole file: either a buffer from fileLoad (given back with memFree) or a copy.
class SndBytes {
 public:
  SndBytes() = default;
  SndBytes(const SndBytes&) = delete;
  SndBytes& operator=(const SndBytes&) = delete;
  ~SndBytes() { Reset(); }
  bool Load(const std::string& name);
  void Copy(const void* data, size_t size);
  void Reset();
  const uint8_t* Data() const { return loaded_ ? loaded_ : copy_.data(); }
  size_t Size() const { return loaded_ ? loadedSize_ : copy_.size(); }

 private:
  uint8_t* loaded_ = nullptr;
  size_t loadedSize_ = 0;
  std::vector<uint8_t> copy_;
};

class CFileSND {
 public:
  virtual ~CFileSND() = default;
  // Reads the file through the file layer (archive, then loose files). 0 on success.
  virtual int Open(const std::string& name);
  // The same for a whole file held in memory (tests, fuzzing); `label` names it in gerr.log.
  int OpenMemory(const void* data, size_t size, const std::string& label);
  // Back to the first data byte.
  virtual void Rewind() = 0;
  // Delivers up to `length` bytes in the reader's format. At the end of the data it starts over
  // with `loop`; without, it pads with silence. Answers the bytes that came from the file.
  virtual size_t Read(void* buffer, size_t length, bool loop) = 0;
  virtual void Close() = 0;

  const SndFormat& Format() const { return format_; }
  uint32_t DataSize() const { return dataSize_; }
  uint32_t Position() const { return position_; }
  const std::string& Name() const { return name_; }

 protected:
  SndFormat format_;
  uint32_t dataSize_ = 0;
  uint32_t position_ = 0;
  std::string name_;
  SndBytes bytes_;
  // Reads the header of the bytes in `bytes_`: the format, the data size, ready to read.
  virtual int Parse() = 0;
};

class CFileWAV : public CFileSND {
 public:
  ~CFileWAV() override { Close(); }
  void Rewind() override { position_ = 0; }
  size_t Read(void* buffer, size_t length, bool loop) override;
  void Close() override;

 protected:
  int Parse() override;

 private:
  size_t dataOffset_ = 0;
};

struct OggVorbis_File;
class CFileOGG : public CFileSND {
 public:
  CFileOGG();
  ~CFileOGG() override;
  void Rewind() override;
  size_t Read(void* buffer, size_t length, bool loop) override;
  void Close() override;

  // Read state of the in-memory stream, used by the decoder's callbacks.
  struct Source {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t pos = 0;
  };

 protected:
  int Parse() override;

 private:
  size_t Decode(uint8_t* out, size_t length);
  Source source_;
  std::unique_ptr<OggVorbis_File> vf_;
  bool open_ = false;
  bool damaged_ = false;  // reported once per file
};

// A reader chosen by the file's extension ("wav" or "ogg"), opened; none when the extension is
// unknown or the file cannot be read (gerr.log names it).
std::unique_ptr<CFileSND> sndOpenReader(const std::string& name);
// True when the name ends in "wav" or "ogg" (any letter case).
bool sndIsSoundFileName(const std::string& name);
