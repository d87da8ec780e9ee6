// Float text conversions: the standard library's where it has them, else the C library's.
#include "base/float_text.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

std::to_chars_result baseFloatToCharsC(char* first, char* last, float v, bool fixed) {
  // The fewest digits that read back as the same float; nine always do.
  char buf[128];
  int n = 0;
  for (int digits = fixed ? 0 : 1; digits <= (fixed ? 60 : 9); ++digits) {
    n = std::snprintf(buf, sizeof buf, fixed ? "%.*f" : "%.*g", digits, double(v));
    if (n <= 0 || n >= int(sizeof buf)) return {last, std::errc::value_too_large};
    if (std::strtof(buf, nullptr) == v || v != v) break;
  }
  if (last - first < n) return {last, std::errc::value_too_large};
  std::memcpy(first, buf, size_t(n));
  return {first + n, std::errc()};
}

std::from_chars_result baseFloatFromCharsC(const char* first, const char* last, float& v) {
  // What strtof takes beyond a plain number (leading space, a plus sign, hexadecimal) is no number
  // to from_chars.
  const char* p = first;
  if (p < last && *p == '-') ++p;
  if (p == last || !(std::isdigit(static_cast<unsigned char>(*p)) || *p == '.' || *p == 'i' || *p == 'I' ||
                     *p == 'n' || *p == 'N'))
    return {first, std::errc::invalid_argument};
  if (last - p >= 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    v = p > first ? -0.0f : 0.0f;  // "0x1" reads as the 0 before the x
    return {p + 1, std::errc()};
  }
  const std::string text(first, last);  // strtof wants its end marked
  char* end = nullptr;
  errno = 0;
  const float r = std::strtof(text.c_str(), &end);
  if (end == text.c_str()) return {first, std::errc::invalid_argument};
  const char* stop = first + (end - text.c_str());
  // Too large, or so small that nothing of it is left; a tiny number that keeps some digits is one.
  if (errno == ERANGE && (r == 0.0f || std::isinf(r))) return {stop, std::errc::result_out_of_range};
  v = r;
  return {stop, std::errc()};
}

#if defined(__cpp_lib_to_chars)
std::to_chars_result baseFloatToChars(char* first, char* last, float v) { return std::to_chars(first, last, v); }
std::to_chars_result baseFloatToCharsFixed(char* first, char* last, float v) {
  return std::to_chars(first, last, v, std::chars_format::fixed);
}
std::from_chars_result baseFloatFromChars(const char* first, const char* last, float& v) {
  return std::from_chars(first, last, v);
}
#else
std::to_chars_result baseFloatToChars(char* first, char* last, float v) { return baseFloatToCharsC(first, last, v, false); }
std::to_chars_result baseFloatToCharsFixed(char* first, char* last, float v) {
  return baseFloatToCharsC(first, last, v, true);
}
std::from_chars_result baseFloatFromChars(const char* first, const char* last, float& v) {
  return baseFloatFromCharsC(first, last, v);
}
#endif
