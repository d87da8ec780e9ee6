// The RIFF WAVE reader. The whole file sits in memory, so every chunk is checked against the
// bytes really present; a damaged file yields the part that is whole, or nothing.
#include <algorithm>
#include <cstring>

#include "base/diag.h"
#include "sound/snd_file.h"

namespace {
uint32_t le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

constexpr uint32_t kMinRate = 100;     // what a buffer can play at all
constexpr uint32_t kMaxRate = 100000;
}  // namespace

int CFileWAV::Parse() {
  const uint8_t* b = bytes_.Data();
  size_t size = bytes_.Size();
  auto refuse = [&](const char* why) {
    errorLog("Sound: \"%s\" is not a usable WAV file (%s)\n", name_.c_str(), why);
    Close();
    return SND_OPEN_DAMAGED;
  };
  if (size < 12 || std::memcmp(b, "RIFF", 4) != 0 || std::memcmp(b + 8, "WAVE", 4) != 0)
    return refuse("no RIFF WAVE header");
  size_t end = size;
  uint64_t riffEnd = uint64_t(le32(b + 4)) + 8;
  bool damaged = false;
  if (riffEnd < end) end = static_cast<size_t>(riffEnd);  // trailing bytes are not ours
  else if (riffEnd > end) damaged = true;

  bool haveFmt = false, haveData = false;
  size_t dataOff = 0, dataLen = 0;
  size_t pos = 12;
  while (pos + 8 <= end && !(haveFmt && haveData)) {
    const uint8_t* id = b + pos;
    uint64_t len = le32(b + pos + 4);
    size_t body = pos + 8;
    if (body + len > end) {
      damaged = true;
      len = end - body;
    }
    if (!haveFmt && std::memcmp(id, "fmt ", 4) == 0) {
      if (len < 16) return refuse("short format chunk");
      const uint8_t* f = b + body;
      format_.formatTag = le16(f);
      format_.channels = le16(f + 2);
      format_.samplesPerSec = le32(f + 4);
      format_.bitsPerSample = le16(f + 14);
      // The extensible layout names its real encoding in the first bytes of a sub-format GUID.
      if (format_.formatTag == 0xFFFE && len >= 40) format_.formatTag = le16(f + 24);
      haveFmt = true;
    } else if (!haveData && std::memcmp(id, "data", 4) == 0) {
      dataOff = body;
      dataLen = static_cast<size_t>(len);
      haveData = true;
    }
    pos = body + static_cast<size_t>(len) + (len & 1);
  }
  if (!haveFmt) return refuse("no format chunk");
  if (!haveData) return refuse("no data chunk");
  if (format_.formatTag != 1) return refuse("not PCM");
  if (format_.channels != 1 && format_.channels != 2) return refuse("not mono or stereo");
  if (format_.bitsPerSample != 8 && format_.bitsPerSample != 16) return refuse("not 8 or 16 bits");
  if (format_.samplesPerSec < kMinRate || format_.samplesPerSec > kMaxRate)
    return refuse("sample rate out of range");
  // Derived fields are computed, never trusted from the file.
  format_.blockAlign = static_cast<uint16_t>(format_.channels * format_.bitsPerSample / 8);
  format_.avgBytesPerSec = format_.samplesPerSec * format_.blockAlign;
  format_.extraSize = 0;
  dataLen -= dataLen % format_.blockAlign;  // a cut frame would shift every later sample
  if (dataLen > 0x7FFFFFFF) dataLen = 0x7FFFFFFF - (0x7FFFFFFF % format_.blockAlign);
  if (damaged)
    errorLog("Sound: \"%s\" is truncated; %u bytes of sound data remain\n", name_.c_str(),
             static_cast<unsigned>(dataLen));
  dataOffset_ = dataOff;
  dataSize_ = static_cast<uint32_t>(dataLen);
  position_ = 0;
  return SND_OPEN_OK;
}

size_t CFileWAV::Read(void* buffer, size_t length, bool loop) {
  auto* out = static_cast<uint8_t*>(buffer);
  // Unsigned 8-bit silence is 128: zero bytes there would be a full-scale step.
  const uint8_t silence = format_.bitsPerSample == 8 ? 0x80 : 0x00;
  size_t done = 0, fromFile = 0;
  while (done < length) {
    if (position_ >= dataSize_) {
      if (!loop || dataSize_ == 0) break;
      Rewind();
    }
    size_t n = std::min<size_t>(length - done, dataSize_ - position_);
    std::memcpy(out + done, bytes_.Data() + dataOffset_ + position_, n);
    position_ += static_cast<uint32_t>(n);
    done += n;
    fromFile += n;
  }
  if (done < length) std::memset(out + done, silence, length - done);
  return fromFile;
}

void CFileWAV::Close() {
  bytes_.Reset();
  dataOffset_ = 0;
  dataSize_ = 0;
  position_ = 0;
  format_ = SndFormat{};
}
