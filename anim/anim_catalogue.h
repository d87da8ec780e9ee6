// The animation catalogue: every named animation of "data/animations.xml", sorted by name hash,
// with sprites loaded on first request or by group and released when the last user lets go.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "anim/animation.h"

namespace Core {

class cAnimationManager {
 public:
  static constexpr const char* kCatalogueFile = "data/animations.xml";
  static constexpr size_t kMaxIdLength = 49, kMaxGroupLength = 9, kMaxPathLength = 99, kMaxAlphaLength = 254;

  struct Entry {
    std::string id, group, path, alpha;
    uint32_t idHash = 0, groupHash = 0;
    AnimationState state;      // the template: never counted, never holds the sprite
    CSprite* sprite = nullptr;  // one reference while loaded
    int refs = 0;
    bool loadFailed = false;    // a missing picture is reported once, not on every request
  };

  cAnimationManager();
  ~cAnimationManager();
  cAnimationManager(const cAnimationManager&) = delete;
  cAnimationManager& operator=(const cAnimationManager&) = delete;

  // Reads the catalogue (replacing what was read before) and sorts it. False when the file is
  // missing or not well-formed XML; the reason goes to gerr.log with the line number, and the
  // animations read before the fault are kept.
  bool LoadAnimationCatalogue(const char* file = kCatalogueFile);
  // A playing copy of the animation with its sprite loaded; a fresh state (IsValid() false) for an
  // empty id or one not in the catalogue. The copy counts as a user of the entry.
  AnimationState GetAnimation(std::string_view id);
  AnimationState GetAnimationByHash(uint32_t hash);
  // Group users: + 1 on every entry of the group (loading its sprite), or - 1 (releasing at 0).
  void LoadAnimationGroup(std::string_view group);
  void UnloadAnimationGroup(std::string_view group);
  const char* AnimationNameOf(uint32_t hash) const;
  void DumpAnimations() const;
  // "Game_Dump_Animations": on-demand loads are written to the game log.
  void SetDumpOnDemand(bool on) { dumpOnDemand_ = on; }
  // Releases every sprite and forgets every entry (shutdown and tests).
  void Clear();
  // True once the catalogue file was read (even with faults), until Clear.
  bool IsRead() const { return read_; }

  const Entry* Find(uint32_t hash) const;
  Entry* Find(uint32_t hash);
  size_t Size() const { return entries_.size(); }
  const Entry& At(size_t i) const { return entries_[i]; }

  // Entry counts as users take and drop copies.
  void AddUser(uint32_t hash);
  void DropUser(uint32_t hash);

 private:
  bool LoadSprite(Entry& e);
  void ReleaseSprite(Entry& e);

  std::vector<Entry> entries_;
  bool dumpOnDemand_ = false;
  bool read_ = false;
};

cAnimationManager& animManager();

}  // namespace Core

// Start-up, the only place that loads the group "always": reads the catalogue unless a start-up
// stage read it already, then, unless `delayLoad` ("Game_Delay_Load_Animations"), loads the group;
// with `dump` ("Game_Dump_Animations") the catalogue is dumped before and after and on-demand
// loads are logged. False when the catalogue could not be read.
bool animInit(bool delayLoad = false, bool dump = false);
// Shutdown: forgets the catalogue and releases every sprite it still holds (copies still in use
// keep their own sprite references).
void animDone();
