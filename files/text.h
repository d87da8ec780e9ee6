// Text conversion between UTF-8, UTF-16 and code page 1251.
#pragma once
#include <string>
#include <string_view>

std::u16string textUtf8ToUtf16(std::string_view s);  // invalid sequences become U+FFFD
std::string textUtf16ToUtf8(std::u16string_view s);
std::u16string textCp1251ToUtf16(std::string_view s);
// Code page 1251 bytes of the text; false (and `out` unspecified) when a character has none.
bool textUtf16ToCp1251(std::u16string_view s, std::string& out);
bool textIsValidUtf8(std::string_view s);  // the lenient check of the INI loader (leads up to 1111100x)
size_t textWLen(const char16_t* s);
// Equal but for the case of ASCII letters (names, keywords and file names of the data).
bool textEqualNoCase(std::string_view a, std::string_view b);
