// The mushroom: a worker picks it for the red hood. Once picked it tells the level (event 88 with
// the picker, whom the red hood then calls over), takes out of play only the objects it names
// itself, and fades away.
#include "base/diag.h"
#include "files/name_hash.h"
#include "game/core/map.h"
#include "game/core/map_record.h"
#include "game/core/person.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"
#include "game/objects/quest_berry.h"
#include "game/objects/quest_heart_common.h"

namespace Map {
namespace {
constexpr const char* kSoundFile = "data/obstacles/sounds.ini";
constexpr size_t kSoundKey = 0, kRemovesTags = 1;

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}
}  // namespace

void cMushroom::ParseRemovedTags() {
  m_removedTags.clear();
  m_removedNames.clear();
  std::string_view rest = removesTags;
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    const std::string_view one = trimmed(rest.substr(0, comma));
    if (!one.empty()) {
      m_removedNames.emplace_back(one);
      m_removedTags.push_back(NameHash(one));
    }
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
}

void cMushroom::ApplyRecord(const MapObjectRecord& r) {
  cQuestSubject::ApplyRecord(r);
  const size_t at = objSubjectItems();
  soundKey = extString(r, at + kSoundKey);
  removesTags = extString(r, at + kRemovesTags);
  ParseRemovedTags();
  sounds = Core::cObjectSoundTrack();
  if (!soundKey.empty()) sounds.Load(kSoundFile, soundKey.c_str());
}

void cMushroom::FillRecord(MapObjectRecord& r) const {
  cQuestSubject::FillRecord(r);
  const size_t at = objSubjectItems();
  setExtString(r, at + kSoundKey, soundKey);
  setExtString(r, at + kRemovesTags, removesTags);
}

void cMushroom::CopyFrom(const cObject& from) {
  cQuestSubject::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cMushroom*>(&from)) {
    soundKey = o->soundKey;
    removesTags = o->removesTags;
    m_removedNames = o->m_removedNames;
    m_removedTags = o->m_removedTags;
    sounds = o->sounds;
  }
}

void cMushroom::ResolveParent(const cMap& map) {
  cQuestSubject::ResolveParent(map);
  // Told while the level loads, not when the mushroom is picked: the author sees the slip at once.
  for (const std::string& n : m_removedNames)
    if (!map.FindByTag(NameHash(n)))
      errorLog("Mushroom \"%s\": \"removesTags\" names an object this level does not have (\"%s\")\n",
               name.c_str(), n.c_str());
}

void cMushroom::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  questTakeLabels(*this, OperationKind::GetResource, gainLabel, costLabel, nextGainLabel);
}

int cMushroom::TryStartOperation(bool byPlayer) {
  const int r = cQuestSubject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  if (picked || !CanAfford(OperationKind::GetResource)) return 1;
  operation.walkVisibleState = 2;
  operation.workVisibleState = 12;  // chop
  operation.homeVisibleState = 1;   // stay: the red hood calls the picker over
  return StartOperation(OperationKind::GetResource) ? 0 : 1;
}

bool cMushroom::OnPersonArrived(int32_t personId) {
  const bool ok = cQuestSubject::OnPersonArrived(personId);
  if (!ok || operation.state != OperationState::Started) return ok;
  for (int32_t pid : operation.persons)
    if (cPerson* p = OperationPerson(pid)) p->SetCarriedItem(subtypeHash);
  sounds.StartSlot(0, int32_t(x), operation.duration);
  // For the picking's length: the catalogue's glow would never end by itself.
  SpawnMapEffect("ResourceCollecting", layer + 1, operation.duration, x, y);
  pickerId = personId;
  return ok;
}

void cMushroom::OnOperationFinished() {
  if (picked || operation.kind != OperationKind::GetResource) {
    cQuestSubject::OnOperationFinished();
    return;
  }
  picked = 1;
  // Only what this mushroom names leaves play: a level without such objects loses nothing.
  for (uint32_t t : m_removedTags) {
    if (cMap* m = objMap(); m && !m->FindByTag(t)) continue;  // reported when the level loaded
    GameEvent e;
    MakeEvent(e, Game::Event::TakeOutOfPlay);
    e.tag = int32_t(t);
    objPost(e);
  }
  GameEvent e;
  MakeEvent(e, Game::Event::MushroomPicked);
  e.objectId = id;
  e.otherId = pickerId;
  e.typeHash = int32_t(typeHash);
  e.subtypeHash = int32_t(subtypeHash);
  e.x = int32_t(x);
  e.y = int32_t(y);
  objPost(e);
  fadeOut.Start(kFadeMs);
  questWithdraw(*this);
  objClearObstacle(*this);
  Set(kFlagClickable, false);
}

bool cMushroom::UpdateTimers(int32_t ms) {
  sounds.Update(ms);
  return cQuestSubject::UpdateTimers(ms);
}
}  // namespace Map
