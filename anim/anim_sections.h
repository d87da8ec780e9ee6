// The section list of an INI document followed by the sections of the files its "Include" section
// names: child scripts and level maps walk it in this order. It grows as needed, so no name is
// ever dropped, and each name remembers the file it came from.
#pragma once
#include <string>
#include <vector>

namespace Core {

struct SectionRef {
  std::string name;  // the section name as written
  std::string file;  // the document that holds it (the main file or one of its includes)
};

// The section names of `file` in file order, then, for the keys "0" ... "8" of its section
// "Include" (up to the first empty one), the section names of each named file in its order. A file
// named twice, or naming the main file, is listed once. Missing files add nothing.
std::vector<SectionRef> animSectionList(const char* file);

// The document of `list` that holds `section` (compared without regard to ASCII case), else
// `fallback`.
const std::string& animSectionFile(const std::vector<SectionRef>& list, const char* section,
                                   const std::string& fallback);

}  // namespace Core
