// The section list that follows "Include" sections.
#include "anim/anim_sections.h"

#include "files/file.h"
#include "files/ini.h"
#include "files/text.h"

namespace Core {

namespace {
constexpr int kMaxIncludes = 9;  // keys "0" ... "8"

void Append(std::vector<SectionRef>& out, const std::string& file) {
  for (std::string& name : iniSectionList(file.c_str())) out.push_back(SectionRef{std::move(name), file});
}
}  // namespace

std::vector<SectionRef> animSectionList(const char* file) {
  std::vector<SectionRef> out;
  if (!file || !*file) return out;
  const std::string main = file;
  Append(out, main);
  std::vector<std::string> seen{main};
  for (int i = 0; i < kMaxIncludes; ++i) {
    const std::string key = std::to_string(i);
    const std::string inc = iniGetString(main.c_str(), "Include", key.c_str(), "");
    if (inc.empty()) break;
    bool dup = false;
    for (const std::string& s : seen) dup = dup || gFileName(s) == gFileName(inc);
    if (dup) continue;
    seen.push_back(inc);
    Append(out, inc);
  }
  return out;
}

const std::string& animSectionFile(const std::vector<SectionRef>& list, const char* section,
                                   const std::string& fallback) {
  if (!section) return fallback;
  for (const SectionRef& r : list)
    if (textEqualNoCase(r.name, section)) return r.file;
  return fallback;
}

}  // namespace Core
