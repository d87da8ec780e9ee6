// Reading child scripts: the "isList" sections of a file and its includes, and the templates each
// list names.
#include "anim/anim_child_script.h"

#include "anim/anim_sections.h"
#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"

namespace Core {

std::vector<ChildListDesc> childReadScript(const char* file) {
  std::vector<ChildListDesc> out;
  if (!file || !*file) return out;
  if (!fileExists(file)) {
    errorLog("%s: child script not found\n", file);
    return out;
  }
  const std::vector<SectionRef> sections = animSectionList(file);
  const uint32_t fileHash = childScriptHash(file);
  for (const SectionRef& list : sections) {
    if (iniGetInt(list.file.c_str(), list.name.c_str(), "isList", 0) != 1) continue;
    ChildListDesc d;
    d.name = list.name;
    d.fileHash = fileHash;
    d.listHash = NameHash(list.name);
    for (int k = 1; k <= kMaxChildTemplates; ++k) {
      const std::string key = std::to_string(k);
      const std::string section = iniGetString(list.file.c_str(), list.name.c_str(), key.c_str(), "");
      if (section.empty()) break;
      // A template may sit in the list's own document or in any other file of the script.
      const std::string& where = animSectionFile(sections, section.c_str(), list.file);
      ChildTemplateRef ref;
      ref.section = section;
      ref.file = where;
      ref.type = iniGetString(where.c_str(), section.c_str(), "type", "");
      ref.subType = iniGetString(where.c_str(), section.c_str(), "subType", "");
      if (ref.type.empty()) {
        errorLog("%s: list \"%s\" names \"%s\", a section without a \"type\" (or none at all)\n", where.c_str(),
                 list.name.c_str(), section.c_str());
        continue;
      }
      d.templates.push_back(std::move(ref));
    }
    out.push_back(std::move(d));
  }
  return out;
}

}  // namespace Core
