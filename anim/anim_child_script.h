// Child scripts: INI files whose "isList" sections list template objects that are cloned as the
// children of map objects. The engine reads the lists and keeps the templates; what a template is
// (the game's map object) stays the game's business, so the registry is a template over its type
// and the game hands in the factory that builds one from its section.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "files/name_hash.h"

namespace Core {

// A list names at most this many templates, under the keys "1" ... "30".
constexpr int kMaxChildTemplates = 30;

// One template named by a list: its section and the document that holds it (the child script or
// one of its includes), with the section's "type" and "subType".
struct ChildTemplateRef {
  std::string section;
  std::string file;
  std::string type, subType;
};

// One "isList" section of a child script.
struct ChildListDesc {
  std::string name;
  uint32_t fileHash = 0;  // childScriptHash of the script's file name
  uint32_t listHash = 0;  // NameHash of the list section's name
  std::vector<ChildTemplateRef> templates;  // in key order; the list ends at the first empty key
};

// The hash a child script's file name is known by. File names are folded first (letter case and
// slash direction do not matter), as data may spell one file several ways.
inline uint32_t childScriptHash(std::string_view file) { return fileNameHash(file); }

// Reads the lists of a child script and of the files its "Include" section names. A missing file
// gives no lists and a gerr.log line; a list key naming a missing section, or a section without a
// "type", is skipped with a gerr.log line naming the file and both sections.
std::vector<ChildListDesc> childReadScript(const char* file);

// The child registry: entries keyed by (file hash, list hash), each holding its templates in order.
template <class T>
class cChildRegistry {
 public:
  // Builds the template object of one list entry (it reads its own keys from ref.file, section
  // ref.section); null leaves the entry out.
  using Factory = std::function<std::unique_ptr<T>(const ChildTemplateRef& ref)>;
  using Templates = std::vector<std::unique_ptr<T>>;

  // Adds the lists of a child script. A script already loaded is not read again. Returns the lists
  // added.
  int LoadChildScript(const char* file, const Factory& make) {
    if (!file || !*file || !make) return 0;
    const uint32_t fh = childScriptHash(file);
    for (uint32_t h : files_)
      if (h == fh) return 0;
    files_.push_back(fh);
    int added = 0;
    for (ChildListDesc& d : childReadScript(file)) {
      Entry e{d.fileHash, d.listHash, {}};
      for (const ChildTemplateRef& ref : d.templates)
        if (std::unique_ptr<T> t = make(ref)) e.templates.push_back(std::move(t));
      if (Entry* old = FindEntry(e.fileHash, e.listHash)) {
        *old = std::move(e);  // a list named twice: the later one wins
      } else {
        entries_.push_back(std::move(e));
      }
      ++added;
    }
    return added;
  }

  // The templates of a list; null when there is no such list.
  const Templates* Find(uint32_t fileHash, uint32_t listHash) const {
    const Entry* e = const_cast<cChildRegistry*>(this)->FindEntry(fileHash, listHash);
    return e ? &e->templates : nullptr;
  }
  const Templates* Find(std::string_view file, std::string_view list) const {
    return Find(childScriptHash(file), NameHash(list));
  }
  // Template `index` of a list; null past its end or for an unknown list.
  T* FindChild(uint32_t fileHash, uint32_t listHash, int index) const {
    const Templates* t = Find(fileHash, listHash);
    return t && index >= 0 && size_t(index) < t->size() ? (*t)[size_t(index)].get() : nullptr;
  }
  bool IsLoaded(std::string_view file) const {
    const uint32_t fh = childScriptHash(file);
    for (uint32_t h : files_)
      if (h == fh) return true;
    return false;
  }
  size_t ListCount() const { return entries_.size(); }
  void Clear() {
    entries_.clear();
    files_.clear();
  }

 private:
  struct Entry {
    uint32_t fileHash, listHash;
    Templates templates;
  };
  Entry* FindEntry(uint32_t fh, uint32_t lh) {
    for (Entry& e : entries_)
      if (e.fileHash == fh && e.listHash == lh) return &e;
    return nullptr;
  }

  std::vector<Entry> entries_;
  std::vector<uint32_t> files_;
};

}  // namespace Core
