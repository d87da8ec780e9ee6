// Reading "data/animations.xml": every "Animation" element becomes a catalogue entry; faults are
// reported in gerr.log with the file name and line, and a bad attribute takes its default.
#include <tinyxml.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "anim/anim_catalogue.h"
#include "anim/anim_state_access.h"
#include "base/diag.h"
#include "files/file.h"
#include "files/name_hash.h"

namespace Core {

namespace {

bool IsAnimationElement(const TiXmlElement& e) {
  const std::string& n = e.ValueStr();
  if (n.size() != 9) return false;
  return std::equal(n.begin(), n.end(), "animation",
                    [](char a, char b) { return (a >= 'A' && a <= 'Z' ? char(a - 'A' + 'a') : a) == b; });
}

class CatalogueReader {
 public:
  CatalogueReader(const char* file, std::vector<cAnimationManager::Entry>& out) : file_(file), out_(out) {}

  void Walk(const TiXmlNode& node) {
    for (const TiXmlElement* e = node.FirstChildElement(); e; e = e->NextSiblingElement()) {
      if (IsAnimationElement(*e)) Read(*e);
      Walk(*e);  // animations may sit at any depth
    }
  }

 private:
  // An int attribute, `def` when missing; text that is not a whole number is reported.
  int Int(const TiXmlElement& e, const char* name, int def) {
    const char* text = e.Attribute(name);
    if (!text) return def;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    while (end && (*end == ' ' || *end == '\t')) ++end;
    if (end == text || !end || *end || errno == ERANGE || v < INT_MIN || v > INT_MAX) {
      errorLog("%s: line %d: attribute \"%s\" = \"%s\" is not a number\n", file_, e.Row(), name, text);
      return def;
    }
    return int(v);
  }

  // A text attribute, empty when missing or `maxLength` characters long or longer than that.
  std::string Text(const TiXmlElement& e, const char* name, size_t maxLength) {
    const char* text = e.Attribute(name);
    if (!text) return {};
    std::string s(text);
    if (s.size() > maxLength) {
      errorLog("%s: line %d: attribute \"%s\" is longer than %d characters and is ignored\n", file_, e.Row(), name,
               int(maxLength));
      return {};
    }
    return s;
  }

  void Read(const TiXmlElement& x) {
    cAnimationManager::Entry e;
    e.id = Text(x, "id", cAnimationManager::kMaxIdLength);
    if (e.id.empty()) {
      errorLog("%s: line %d: animation without a usable \"id\" is skipped\n", file_, x.Row());
      return;
    }
    e.idHash = NameHash(e.id);
    e.group = Text(x, "group", cAnimationManager::kMaxGroupLength);
    e.groupHash = NameHash(e.group);
    e.path = Text(x, "path", cAnimationManager::kMaxPathLength);
    e.alpha = Text(x, "alpha", cAnimationManager::kMaxAlphaLength);

    AnimationState& s = e.state;
    AnimationStateAccess::SetName(s, e.idHash);
    const int period = Int(x, "period", 1000);
    s.SetPeriod(period == 0 ? 1000 : period);
    s.SetFrameCount(Int(x, "frames", 1));
    s.SetFlag(AnimationState::kAdditive, Int(x, "isAdd", 0) != 0);
    s.SetFlag(AnimationState::kLoop, Int(x, "isLoop", 0) != 0);
    s.SetFlag(AnimationState::kFlipX, Int(x, "isFlipX", 0) != 0);
    s.SetFlag(AnimationState::kFlipY, Int(x, "isFlipY", 0) != 0);
    s.SetFlag(AnimationState::kCentred, Int(x, "isNoCenter", 0) == 0);
    s.SetFlag(AnimationState::kReverse, Int(x, "isReverse", 0) != 0);
    s.SetFlag(AnimationState::kScaledFrames, false);
    s.SetFlag(AnimationState::kHoldOnEnd, Int(x, "StickOnEnd", 0) != 0);
    out_.push_back(std::move(e));
  }

  const char* file_;
  std::vector<cAnimationManager::Entry>& out_;
};

}  // namespace

bool cAnimationManager::LoadAnimationCatalogue(const char* file) {
  profEnter("ANIM_LOAD");
  Clear();
  void* bytes = nullptr;
  const size_t size = fileLoad(file, &bytes);
  if (size == 0) {
    errorLog("%s: cannot be read\n", file);
    profLeave();
    return false;
  }
  // The loaded bytes carry no terminator.
  const std::string text(static_cast<const char*>(bytes), size);
  memFree(bytes);
  read_ = true;

  TiXmlDocument doc;
  doc.Parse(text.c_str());
  const bool ok = !doc.Error();
  if (!ok) errorLog("%s: line %d: %s\n", file, doc.ErrorRow(), doc.ErrorDesc());
  CatalogueReader(file, entries_).Walk(doc);

  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const Entry& a, const Entry& b) { return a.idHash < b.idHash; });
  for (size_t i = 1; i < entries_.size(); ++i)
    if (entries_[i].idHash == entries_[i - 1].idHash)
      errorLog("%s: animations \"%s\" and \"%s\" share a name hash; only one can be found\n", file,
               entries_[i - 1].id.c_str(), entries_[i].id.c_str());
  profLeave();
  return ok;
}

}  // namespace Core
