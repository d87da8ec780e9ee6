// The animation catalogue's entries: lookup by hash, sprites loaded on demand or by group, user
// counts, the dump, and the start-up and shutdown of the animation library.
#include "anim/anim_catalogue.h"

#include <algorithm>
#include <utility>

#include "anim/anim_sprite.h"
#include "anim/anim_state_access.h"
#include "base/diag.h"
#include "files/name_hash.h"
#include "gfx/sprite.h"

namespace Core {

namespace {
// Copies destroyed after the catalogue (static objects at exit) must not reach into it.
bool g_managerAlive = false;
}  // namespace

cAnimationManager::cAnimationManager() {
  entries_.reserve(2000);
  g_managerAlive = true;
}

cAnimationManager::~cAnimationManager() {
  Clear();
  g_managerAlive = false;
}

cAnimationManager& animManager() {
  static cAnimationManager manager;
  return manager;
}

void cAnimationManager::Clear() {
  for (Entry& e : entries_) ReleaseSprite(e);
  entries_.clear();
  read_ = false;
}

cAnimationManager::Entry* cAnimationManager::Find(uint32_t hash) {
  if (hash == 0) return nullptr;
  auto it = std::lower_bound(entries_.begin(), entries_.end(), hash,
                             [](const Entry& e, uint32_t h) { return e.idHash < h; });
  return it != entries_.end() && it->idHash == hash ? &*it : nullptr;
}

const cAnimationManager::Entry* cAnimationManager::Find(uint32_t hash) const {
  return const_cast<cAnimationManager*>(this)->Find(hash);
}

bool cAnimationManager::LoadSprite(Entry& e) {
  if (e.sprite) return true;
  if (e.loadFailed || e.path.empty()) return false;
  e.sprite = sprGet(e.path.c_str(), e.alpha.empty() ? nullptr : e.alpha.c_str());
  if (!e.sprite) {
    e.loadFailed = true;
    errorLog("%s: animation \"%s\": picture \"%s\" cannot be loaded\n", kCatalogueFile, e.id.c_str(),
             e.path.c_str());
    return false;
  }
  animSpriteSetFrames(e.sprite, e.state.Period(), e.state.FrameCount());
  return true;
}

void cAnimationManager::ReleaseSprite(Entry& e) {
  if (CSprite* s = std::exchange(e.sprite, nullptr)) sprRelease(s);
}

AnimationState cAnimationManager::GetAnimation(std::string_view id) {
  if (id.empty()) return {};
  return GetAnimationByHash(NameHash(id));
}

AnimationState cAnimationManager::GetAnimationByHash(uint32_t hash) {
  Entry* e = Find(hash);
  if (!e) return {};
  if (!e->sprite && dumpOnDemand_)
    gameLog("[cAnimationManager] %s loaded on demand refNum : %d\n", e->id.c_str(), e->refs);
  LoadSprite(*e);
  return AnimationStateAccess::CountedCopy(e->state, e->sprite);
}

void cAnimationManager::LoadAnimationGroup(std::string_view group) {
  const uint32_t g = NameHash(group);
  if (g == 0) return;
  for (Entry& e : entries_) {
    if (e.groupHash != g) continue;
    LoadSprite(e);
    ++e.refs;
  }
}

void cAnimationManager::UnloadAnimationGroup(std::string_view group) {
  const uint32_t g = NameHash(group);
  if (g == 0) return;
  for (Entry& e : entries_)
    if (e.groupHash == g) DropUser(e.idHash);
}

void cAnimationManager::AddUser(uint32_t hash) {
  if (!g_managerAlive) return;
  if (Entry* e = Find(hash)) ++e->refs;
}

void cAnimationManager::DropUser(uint32_t hash) {
  if (!g_managerAlive) return;
  Entry* e = Find(hash);
  // A count already at 0 stays there: an unbalanced group unload cannot take the sprite from
  // users counted later.
  if (!e || e->refs <= 0) return;
  if (--e->refs == 0) ReleaseSprite(*e);
}

const char* cAnimationManager::AnimationNameOf(uint32_t hash) const {
  const Entry* e = Find(hash);
  return e ? e->id.c_str() : nullptr;
}

void cAnimationManager::DumpAnimations() const {
  const char* rule = "[cAnimationManager::Dump]------------------------------------\n";
  gameLog("%s", rule);
  int loaded = 0;
  for (const Entry& e : entries_) {
    if (!e.sprite) continue;
    ++loaded;
    gameLog("[cAnimationManager] %s - refNum: %d\n", e.id.c_str(), e.refs);
  }
  gameLog("[cAnimationManager] loaded %d\n", loaded);
  gameLog("[cAnimationManager] total %d\n", int(entries_.size()));
  gameLog("%s", rule);
}

}  // namespace Core

bool animInit(bool delayLoad, bool dump) {
  Core::cAnimationManager& m = Core::animManager();
  m.SetDumpOnDemand(dump);
  const bool ok = m.IsRead() || m.LoadAnimationCatalogue();
  if (dump) m.DumpAnimations();
  if (!delayLoad) m.LoadAnimationGroup("always");
  if (dump) m.DumpAnimations();
  return ok;
}

void animDone() { Core::animManager().Clear(); }
