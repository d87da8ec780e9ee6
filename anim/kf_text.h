// The readable text form of keyframe files (docs/keyframe.md), for content authors and the kfc
// tool: objects with their fields, children and tracks of keys. Writing the text of parsed bytes
// and compiling that text gives the same bytes back.
#pragma once
#include <string>
#include <string_view>

#include "anim/kf_file.h"

// The text of the objects, in the order of the binary file.
std::string kfToText(const KfObjects& objects);
// Objects from text; false with `error` as "line N: reason" on the first fault.
bool kfFromText(std::string_view text, KfObjects& out, std::string& error);
