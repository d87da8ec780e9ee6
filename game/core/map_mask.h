// Pictures of a level map for content authors: the path-grid mask (obstacle cells painted dark) and
// the fog picture (white is full fog, black or transparent is clear), read and written as PNG.
#pragma once
#include <string>

#include "game/core/map_tail.h"

// The mask is either grid-sized (103 x 77, one pixel per cell) or any other size laid over the
// 1024 x 768 map, each cell taking the pixel under its centre. An opaque (alpha >= 128) pixel darker
// than mid grey sets the cell's static obstacle bit (bit 0).
bool mapGridFromPng(const std::string& path, MapGrid& grid, std::string* error);
// A grid-sized mask: black where bit 0 is set, white elsewhere. Other flag bits are not pictured.
bool mapGridToPng(const MapGrid& grid, const std::string& path, std::string* error);

// The fog picture holds vertex opacities: 104 x 79 pixels, pixel (c, r) the vertex at map point
// (10c, 10r); a picture of another size is laid over the 1024 x 768 map and sampled at the vertices.
// Opacity = grey level x alpha. A cell's upper value is vertex (c, r), its lower value (c, r + 1).
bool mapFogFromPng(const std::string& path, MapFog& fog, std::string* error);
bool mapFogToPng(const MapFog& fog, const std::string& path, std::string* error);
