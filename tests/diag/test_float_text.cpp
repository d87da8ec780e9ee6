// Float text conversions: the C-library forms, which the web build uses for want of the standard
// ones, give what the standard ones give, checked here against them.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "base/float_text.h"

namespace {

std::string cText(float v, bool fixed) {
  char b[128];
  auto r = baseFloatToCharsC(b, b + sizeof b, v, fixed);
  EXPECT_EQ(r.ec, std::errc());
  return std::string(b, r.ptr);
}

std::string stdText(float v, bool fixed) {
  char b[128];
  auto r = fixed ? std::to_chars(b, b + sizeof b, v, std::chars_format::fixed) : std::to_chars(b, b + sizeof b, v);
  return std::string(b, r.ptr);
}

// Significant digits of a number's text, leading and trailing zeros aside.
int digits(const std::string& s) {
  std::string m = s.substr(0, s.find_first_of("eE"));
  std::string d;
  for (char c : m)
    if (c >= '0' && c <= '9') d += c;
  const size_t a = d.find_first_not_of('0');
  if (a == std::string::npos) return 1;
  const size_t b = d.find_last_not_of('0');
  return int(b - a + 1);
}

std::vector<float> samples() {
  std::vector<float> v = {0.0f, -0.0f, 1.0f, -1.0f, 0.1f, 0.5f, 100.0f, 1e-5f, 123456.789f, 3.14159265f,
                          1e10f, 1e20f, 16777216.0f, 16777217.0f, std::numeric_limits<float>::max(),
                          std::numeric_limits<float>::min(), std::numeric_limits<float>::denorm_min(),
                          std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};
  std::mt19937 rng(20261210);
  std::uniform_int_distribution<uint32_t> bits;
  while (v.size() < 3000) {
    uint32_t b = bits(rng);
    float f;
    std::memcpy(&f, &b, 4);
    if (!std::isnan(f)) v.push_back(f);
  }
  // Values as map files and effect files hold them: a few decimals.
  for (int i = -2000; i <= 2000; i += 7) v.push_back(float(i) / 100.0f);
  return v;
}

}  // namespace

TEST(FloatText, ShortestTextReadsBackAsTheSameFloatWithNoMoreDigitsThanTheStandardOne) {
  for (float v : samples()) {
    const std::string c = cText(v, false), s = stdText(v, false);
    float back = 0;
    auto r = std::from_chars(c.data(), c.data() + c.size(), back);
    ASSERT_EQ(r.ec, std::errc()) << c;
    ASSERT_EQ(r.ptr, c.data() + c.size()) << c;
    ASSERT_TRUE(back == v && std::signbit(back) == std::signbit(v)) << c << " for " << s;
    ASSERT_LE(digits(c), digits(s)) << c << " for " << s;
  }
}

TEST(FloatText, FixedTextIsTheStandardOnesToTheLetter) {
  for (float v : samples()) {
    if (std::isinf(v)) continue;
    ASSERT_EQ(cText(v, true), stdText(v, true)) << "for the float with bits " << std::hex << [&] {
      uint32_t b;
      std::memcpy(&b, &v, 4);
      return b;
    }();
  }
}

TEST(FloatText, ReadingTakesAndRefusesWhatTheStandardDoes) {
  const char* cases[] = {"1", "-2.5", "0.1", "1e3", "1E-3", "  1", "+1", "", "-", ".", ".5", "5.", "1e", "1e+",
                         "0x10", "-0x1p3", "inf", "-infinity", "nan", "abc", "1.5x", "3.4e38", "1e39", "-1e39",
                         "1e-50", "12345678901234567890", "0.000001", "7,5"};
  for (const char* text : cases) {
    const char* end = text + std::strlen(text);
    float a = 42.0f, b = 42.0f;
    auto ra = baseFloatFromCharsC(text, end, a);
    auto rb = std::from_chars(text, end, b);
    EXPECT_EQ(ra.ec, rb.ec) << '"' << text << '"';
    if (rb.ec == std::errc() || rb.ec == std::errc::result_out_of_range) {
      EXPECT_EQ(ra.ptr - text, rb.ptr - text) << '"' << text << '"';
    }
    if (rb.ec == std::errc()) {
      EXPECT_TRUE((std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b))) << '"' << text << '"';
    } else {
      EXPECT_EQ(a, 42.0f) << "a refused text leaves the value alone: \"" << text << '"';
    }
  }
  // Every printed sample reads back through both alike.
  for (float v : samples()) {
    const std::string t = stdText(v, false);
    float a = 0, b = 0;
    baseFloatFromCharsC(t.data(), t.data() + t.size(), a);
    std::from_chars(t.data(), t.data() + t.size(), b);
    ASSERT_TRUE(a == b && std::signbit(a) == std::signbit(b)) << t;
  }
}

TEST(FloatText, ASmallBufferIsRefusedNotOverrun) {
  char b[4] = {'#', '#', '#', '#'};
  auto r = baseFloatToCharsC(b, b + 3, 123456.0f, false);
  EXPECT_EQ(r.ec, std::errc::value_too_large);
  EXPECT_EQ(b[3], '#');
  r = baseFloatToCharsC(b, b + 3, 1.5f, false);
  EXPECT_EQ(r.ec, std::errc());
  EXPECT_EQ(std::string(b, r.ptr), "1.5");
}
