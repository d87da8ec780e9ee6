// The Ogg Vorbis reader: libvorbisfile decoding 16-bit samples from the file's bytes in memory,
// a block at a time, so music streams without being decoded whole.
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

#include "base/diag.h"
#include "sound/snd_file.h"

namespace {
using Source = CFileOGG::Source;

size_t srcRead(void* ptr, size_t size, size_t nmemb, void* user) {
  auto* s = static_cast<Source*>(user);
  if (size == 0) return 0;
  size_t n = std::min(nmemb, (s->size - s->pos) / size);
  std::memcpy(ptr, s->data + s->pos, n * size);
  s->pos += n * size;
  return n;
}

int srcSeek(void* user, ogg_int64_t offset, int whence) {
  auto* s = static_cast<Source*>(user);
  ogg_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? ogg_int64_t(s->pos) : ogg_int64_t(s->size);
  ogg_int64_t p = base + offset;
  if (p < 0 || p > ogg_int64_t(s->size)) return -1;
  s->pos = static_cast<size_t>(p);
  return 0;
}

long srcTell(void* user) { return static_cast<long>(static_cast<Source*>(user)->pos); }

constexpr ov_callbacks kCallbacks = {srcRead, srcSeek, nullptr, srcTell};
constexpr uint32_t kMaxData = 0x7FFFFFFF;
}  // namespace

CFileOGG::CFileOGG() : vf_(std::make_unique<OggVorbis_File>()) {}
CFileOGG::~CFileOGG() { Close(); }

int CFileOGG::Parse() {
  source_ = Source{bytes_.Data(), bytes_.Size(), 0};
  auto refuse = [&](const char* why) {
    errorLog("Sound: \"%s\" cannot be decoded (%s)\n", name_.c_str(), why);
    Close();
    return SND_OPEN_UNDECODABLE;
  };
  if (ov_open_callbacks(&source_, vf_.get(), nullptr, 0, kCallbacks) != 0)
    return refuse("not an Ogg Vorbis stream");
  open_ = true;
  vorbis_info* info = ov_info(vf_.get(), -1);
  if (!info) return refuse("no stream information");
  if (info->channels != 1 && info->channels != 2) return refuse("not mono or stereo");
  if (info->rate < 100 || info->rate > 100000) return refuse("sample rate out of range");
  format_.formatTag = 1;
  format_.channels = static_cast<uint16_t>(info->channels);
  format_.samplesPerSec = static_cast<uint32_t>(info->rate);
  format_.bitsPerSample = 16;
  format_.blockAlign = static_cast<uint16_t>(2 * info->channels);
  format_.avgBytesPerSec = format_.samplesPerSec * format_.blockAlign;
  ogg_int64_t total = ov_pcm_total(vf_.get(), -1);
  // A negative total is the library's error code, not a length.
  if (total < 0) return refuse("no length");
  if (total > ogg_int64_t(kMaxData / format_.blockAlign)) return refuse("too long");
  dataSize_ = static_cast<uint32_t>(total) * format_.blockAlign;
  position_ = 0;
  return SND_OPEN_OK;
}

void CFileOGG::Rewind() {
  position_ = 0;
  if (open_) ov_raw_seek(vf_.get(), 0);
}

// Decodes until `length` bytes are produced or the data ends. When the decoder fails or the
// stream stops early, the length shrinks to what was really decoded, so the sound ends there.
size_t CFileOGG::Decode(uint8_t* out, size_t length) {
  size_t done = 0;
  while (done < length && position_ < dataSize_) {
    size_t want = std::min<size_t>({length - done, dataSize_ - position_, 4096});
    int section = 0;
    long got = ov_read(vf_.get(), reinterpret_cast<char*>(out + done), static_cast<int>(want), 0, 2, 1,
                       &section);
    bool bad = got < 0;
    if (!bad && got > 0) {
      vorbis_info* info = ov_info(vf_.get(), section);
      bad = !info || info->channels != format_.channels;  // a chained stream of another layout
    }
    if (bad || got == 0) {
      if (!damaged_)
        errorLog("Sound: \"%s\" ends early at byte %u of %u\n", name_.c_str(),
                 static_cast<unsigned>(position_), static_cast<unsigned>(dataSize_));
      damaged_ = true;
      dataSize_ = position_ - position_ % format_.blockAlign;
      position_ = dataSize_;
      break;
    }
    done += static_cast<size_t>(got);
    position_ += static_cast<uint32_t>(got);
  }
  return done;
}

size_t CFileOGG::Read(void* buffer, size_t length, bool loop) {
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  if (open_) {
    while (done < length) {
      if (position_ >= dataSize_) {
        if (!loop || dataSize_ == 0) break;
        Rewind();
      }
      size_t n = Decode(out + done, length - done);
      done += n;
      if (n == 0 && dataSize_ == 0) break;
    }
  }
  if (done < length) std::memset(out + done, 0, length - done);
  return done;
}

void CFileOGG::Close() {
  if (open_) ov_clear(vf_.get());
  open_ = false;
  bytes_.Reset();
  source_ = Source{};
  dataSize_ = 0;
  position_ = 0;
  format_ = SndFormat{};
}
