// Floats to text and back as std::to_chars and std::from_chars do it (the shortest text that reads
// back as the same float; a number only when the whole text is one), also with a C++ library that
// has only their integer forms (the web toolchain's), where the same results come from the C
// library's printf and strtof.
#pragma once
#include <charconv>

std::to_chars_result baseFloatToChars(char* first, char* last, float v);
// Fixed notation (no exponent), as std::chars_format::fixed.
std::to_chars_result baseFloatToCharsFixed(char* first, char* last, float v);
std::from_chars_result baseFloatFromChars(const char* first, const char* last, float& v);

// The C-library forms themselves, on every system, so they can be checked against the standard.
std::to_chars_result baseFloatToCharsC(char* first, char* last, float v, bool fixed);
std::from_chars_result baseFloatFromCharsC(const char* first, const char* last, float& v);
