// The starting fog of a level drawn as a picture ("fog.png" beside map.ini): white is full fog,
// black or transparent is clear. Read the same way the map compiler reads it into map.bin, so a
// level loaded from map.ini starts with the fog its compiled twin has.
#pragma once
#include <string>

struct MapFog;

// Fills `fog` from the picture: 104 x 79 pixels are the vertices themselves, any other size is laid
// over the 1024 x 768 map. False (fog untouched, one gerr.log line naming the file) when it cannot
// be read.
bool fogReadPicture(const std::string& path, MapFog& fog);
