// The window's icon from a picture file of the data (PNG, TGA or JPEG).
#pragma once
#include <cstdint>
#include <vector>

// The picture as top-down RGBA rows; false (with the reader's gerr.log line) when it cannot be
// read or is larger than an icon may be (256 x 256).
bool appIconPixels(const char* file, std::vector<uint8_t>& rgba, int& width, int& height);
// Gives the window the picture as its icon; false when there is no window or no picture.
bool appSetWindowIcon(const char* file);
