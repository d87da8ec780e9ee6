// Text conversion between UTF-8, UTF-16 and code page 1251, with replacement of bad sequences.
#include "files/text.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {
void putUtf16(std::u16string& out, uint32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out.push_back(char16_t(0xD800 + (cp >> 10)));
    out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(char16_t(cp));
  }
}

void putUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(char(cp));
  } else if (cp < 0x800) {
    out.push_back(char(0xC0 | (cp >> 6)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(char(0xE0 | (cp >> 12)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(char(0xF0 | (cp >> 18)));
    out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  }
}

// Upper half of code page 1251 (0x80..0xFF); 0x98 is unassigned.
const char16_t kCp1251[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457};
}  // namespace

std::u16string textUtf8ToUtf16(std::string_view s) {
  static const uint32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
  std::u16string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    uint8_t c = uint8_t(s[i]);
    size_t extra;
    uint32_t cp;
    if (c < 0x80) extra = 0, cp = c;
    else if ((c & 0xE0) == 0xC0) extra = 1, cp = c & 0x1F;
    else if ((c & 0xF0) == 0xE0) extra = 2, cp = c & 0x0F;
    else if ((c & 0xF8) == 0xF0) extra = 3, cp = c & 0x07;
    else extra = 9, cp = 0;
    bool ok = extra <= 3 && extra <= s.size() - i - 1;
    for (size_t k = 1; ok && k <= extra; ++k) {
      uint8_t d = uint8_t(s[i + k]);
      if ((d & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if (!ok || cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
      out.push_back(0xFFFD);  // one replacement per bad lead byte, then resynchronise
      ++i;
      continue;
    }
    putUtf16(out, cp);
    i += extra + 1;
  }
  return out;
}

std::string textUtf16ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t c = s[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;  // a lone surrogate has no UTF-8 form
    }
    putUtf8(out, c);
  }
  return out;
}

std::u16string textCp1251ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (char ch : s) {
    uint8_t c = uint8_t(ch);
    if (c < 0x80) out.push_back(c);
    else if (c >= 0xC0) out.push_back(char16_t(0x0410 + (c - 0xC0)));
    else out.push_back(kCp1251[c - 0x80]);
  }
  return out;
}

bool textUtf16ToCp1251(std::u16string_view s, std::string& out) {
  out.clear();
  out.reserve(s.size());
  for (char16_t c : s) {
    if (c < 0x80) {
      out.push_back(char(c));
    } else if (c >= 0x0410 && c <= 0x044F) {
      out.push_back(char(0xC0 + (c - 0x0410)));
    } else {
      const char16_t* hit = std::find(std::begin(kCp1251), std::end(kCp1251), c);
      if (c == 0xFFFD || hit == std::end(kCp1251)) return false;
      out.push_back(char(0x80 + (hit - std::begin(kCp1251))));
    }
  }
  return true;
}

bool textIsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    uint8_t c = uint8_t(s[i]);
    size_t extra;
    if (c < 0x80) extra = 0;
    else if ((c & 0xE0) == 0xC0) extra = 1;
    else if ((c & 0xF0) == 0xE0) extra = 2;
    else if ((c & 0xF8) == 0xF0) extra = 3;
    else if ((c & 0xFE) == 0xF8) extra = 4;
    else return false;
    if (extra > s.size() - i - 1) return false;
    for (size_t k = 1; k <= extra; ++k)
      if ((uint8_t(s[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

size_t textWLen(const char16_t* s) {
  size_t n = 0;
  if (s)
    while (s[n]) ++n;
  return n;
}

bool textEqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}
