// The "z" compressed file format: 8 ignored bytes, the uncompressed size in decimal, a zlib stream.
#include "files/file.h"
#include "base/diag.h"

#include <zlib.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
constexpr size_t kHeader = 16;
// Deflate cannot expand data more than about 1032 to 1; a declared size beyond that (or beyond
// 1 GiB) is a lie and is refused before anything is allocated for it.
constexpr uint64_t kMaxRatio = 1100;
constexpr uint64_t kMaxSize = 1ull << 30;
// Writers of the format may round the declared size down: a stream may run this far past it.
constexpr uint64_t kSlack = 256;

// Logs the refusal and hands its reason to a caller that wants to show it itself.
void refuse(std::string* why, const char* format, ...) __attribute__((format(printf, 2, 3)));
void refuse(std::string* why, const char* format, ...) {
  char line[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  errorLog("%s", line);
  if (why) {
    *why = line;
    while (!why->empty() && why->back() == '\n') why->pop_back();
  }
}
}  // namespace

size_t fileInflateZ(const void* data, size_t size, void** out, const char* what, std::string* why) {
  if (!what) what = "?";
  if (why) why->clear();
  if (!data || size < kHeader) {
    refuse(why, "Compressed file %s is too short (%zu bytes)\n", what, size);
    return 0;
  }
  const auto* bytes = static_cast<const uint8_t*>(data);
  // The size field is read the way the C library reads a number: leading blanks and a sign are
  // allowed (some writers right-align it), then decimal digits up to the first non-digit. The
  // field is 8 bytes, so the value cannot overflow.
  size_t i = 8;
  while (i < kHeader && (bytes[i] == ' ' || (bytes[i] >= '\t' && bytes[i] <= '\r'))) ++i;
  bool negative = i < kHeader && bytes[i] == '-';
  if (i < kHeader && (bytes[i] == '-' || bytes[i] == '+')) ++i;
  uint64_t declared = 0;
  size_t digits = 0;
  for (; i < kHeader && bytes[i] >= '0' && bytes[i] <= '9'; ++i, ++digits)
    declared = declared * 10 + (bytes[i] - '0');
  uint64_t packed = size - kHeader;
  if (negative || digits == 0 || declared == 0 || declared > kMaxSize || declared > (packed + 1) * kMaxRatio) {
    // The field is shown with anything unprintable as "?", so the log stays one readable line.
    char field[9] = {};
    for (size_t k = 0; k < 8; ++k) field[k] = bytes[8 + k] >= 0x20 && bytes[8 + k] < 0x7F ? char(bytes[8 + k]) : '?';
    refuse(why, "Compressed file %s declares an implausible size (%s)\n", what, field);
    return 0;
  }
  auto* buf = static_cast<uint8_t*>(std::malloc(size_t(declared + kSlack)));
  if (!buf) {
    refuse(why, "Out of memory inflating %s\n", what);
    return 0;
  }
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) {
    refuse(why, "Cannot inflate %s (zlib cannot start)\n", what);
    std::free(buf);
    return 0;
  }
  zs.next_in = const_cast<Bytef*>(bytes + kHeader);
  zs.avail_in = uInt(packed);
  zs.next_out = buf;
  zs.avail_out = uInt(declared + kSlack);
  int rc = inflate(&zs, Z_FINISH);
  size_t produced = zs.total_out;
  inflateEnd(&zs);
  if (rc != Z_STREAM_END && produced == declared + kSlack) {
    refuse(why, "Compressed file %s inflates past its declared size %llu\n", what, (unsigned long long)declared);
    std::free(buf);
    return 0;
  }
  if (rc != Z_STREAM_END) {
    refuse(why, "Compressed file %s is damaged (zlib %d after %zu bytes)\n", what, rc, produced);
    std::free(buf);
    return 0;
  }
  *out = buf;
  return produced;
}

std::string fileDeflateZ(std::string_view raw) {
  uLongf bound = compressBound(uLong(raw.size()));
  std::string out(kHeader + bound, '\0');
  std::memcpy(out.data(), "MMPACKZ1", 8);
  char digits[9];
  std::snprintf(digits, sizeof digits, "%-8zu", raw.size());
  std::memcpy(out.data() + 8, digits, 8);
  uLongf written = bound;
  compress2(reinterpret_cast<Bytef*>(out.data() + kHeader), &written,
            reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()), 9);
  out.resize(kHeader + written);
  return out;
}
