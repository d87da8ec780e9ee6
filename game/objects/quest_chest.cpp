// The chest heart: without the key a person only finds it locked; with the key delivered the
// chest opens, rests, and the heart inside is taken home.
#include "anim/fx_simple_pyro.h"
#include "game/core/level_context.h"
#include "game/core/map.h"
#include "game/core/workers.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"
#include "game/objects/quest_cave.h"
#include "game/objects/quest_heart_common.h"

namespace Map {

namespace {
constexpr size_t kSoundKey = 0;
}

cChestHeart::cChestHeart() = default;
cChestHeart::~cChestHeart() = default;

bool cChestHeart::GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const {
  (void)gains;
  (void)nextGains;
  return objCostOffer(*this, int32_t(OperationKind::GetResource), costs);
}

void cChestHeart::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  gainLabel = "#OBJECT_HINT_GET";
  nextGainLabel.clear();
  costLabel.clear();
  for (int32_t v : Cost(OperationKind::GetResource))
    if (v > 0) costLabel = "#OBJECT_HINT_SPEND";
}

std::string cChestHeart::GetStatusText() const {
  if (!selected) return {};
  if (!HasOperationOffer()) return HasPathForPersons() ? std::string() : std::string("#OBJECT_HINT_NOPATH");
  if (!HasEnoughPersons(true)) return "#OBJECT_HINT_NOTENOUGHWORKERS";
  if (!HasPathForPersons()) return "#OBJECT_HINT_NOPATH";
  const Game::LevelContext* c = Game::levelContext();
  const bool noneFree = !c || !c->workers || c->workers->CountFree(personKind, false) == 0;
  return noneFree && !IsUnaffordable() ? "#OBJECT_HINT_NOFREEWORKER" : "";
}

int cChestHeart::TryStartOperation(bool byPlayer) {
  const int r = cSubjectObject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  if (!closed) return 1;
  // The answer is what really happened: an order the stock cannot pay is refused, never reported
  // as accepted.
  if (keyDelivered) {
    if (!CanAfford(OperationKind::GetResource)) return 1;
    operation.keepPersons = 1;
    return StartOperation(OperationKind::GetResource) ? 0 : 1;
  }
  operation.keepPersons = 0;
  return StartOperation(OperationKind::Repair) ? 0 : 1;
}

bool cChestHeart::StartOperation(OperationKind kind) {
  if (!cSubjectObject::StartOperation(kind)) return false;
  sounds.StartSlot(1, int32_t(x), 0);
  return true;
}

bool cChestHeart::OnPersonArrived(int32_t personId) {
  if (!cSubjectObject::OnPersonArrived(personId)) return false;
  if (operation.kind == OperationKind::Repair) {
    GameEvent e = objEvent(Game::Event::ChestWithoutKey, *this);
    objPost(e);
    return true;
  }
  if (operation.kind != OperationKind::GetResource) return true;
  if (closed) {
    SetAnimation(1, false);
    SpawnMapEffect("Heart", layer + 1, kHeartGlowMs, x, y);
    opening.Start(questSlotLength(*this, 1));
    questPlaySound("ChestOpening", x);
  } else {
    SpawnMapEffect("ResourceCollecting", layer + 1, operation.duration, x, y);
    questCarryItem(*this, "heart");
  }
  return true;
}

void cChestHeart::OnOperationFinished() {
  if (!closed && picking && operation.kind == OperationKind::GetResource && !fading) {
    GameEvent e = objEvent(Game::Event::HeartFreed, *this);
    objPost(e);
    Set(kFlagClickable, false);
    fade.Start(kFadeMs);
    fading = 1;
    StopWorkEffect(1);
  }
  cSubjectObject::OnOperationFinished();
}

bool cChestHeart::UpdateTimers(int32_t ms) {
  const bool remove = cSubjectObject::UpdateTimers(ms);
  sounds.Update(ms);
  if (opening.Advance(ms)) {
    if (closed) {
      closed = 0;
      SetAnimation(2, false);
      objClearObstacle(*this);
      StopWorkEffect(0);
      sounds.StartSlot(0, int32_t(x), Duration(OperationKind::GetResource));
      opening.Start(kOpenRestMs);
    } else {
      m_restDone = true;
    }
  }
  // The opening work and the rest may end in either order: the heart is taken once both have.
  if (m_restDone && !picking && operation.state == OperationState::Held) {
    questReleaseAll(*this);
    operation.keepPersons = 0;
    operation.walkVisibleState = 2;
    operation.workVisibleState = 8;
    operation.homeVisibleState = 3;
    operation.sendHomeAfterWork = 1;
    // The click that opened the chest paid for its heart: taking it costs nothing more.
    if (questOrderDirectly(*this, OperationKind::GetResource, kTakeMs, false)) {
      picking = 1;
      questEnqueue(id, true);
    }
  }
  if (fade.Advance(ms)) SetAnimation(3, false);
  return remove;
}

void cChestHeart::Draw(const DrawContext& dc) {
  if (fading && fade.running) {
    questDrawSlot(*this, 3, dc, 255);
    DrawContext faded = dc;
    faded.alpha = uint8_t(float(dc.alpha) * (1.0f - questFraction(fade)));
    if (faded.alpha > 0) cObject::Draw(faded);
    DrawSignsAndEffects(dc);
    return;
  }
  cSubjectObject::Draw(dc);
}

void cChestHeart::ResolveParent(const cMap& map) {
  cSubjectObject::ResolveParent(map);
  if (!soundKey.empty()) sounds.Load(kQuestSounds, soundKey.c_str());
}

void cChestHeart::RegisterEvents(Game::cEventDispatcher* d) {
  cSubjectObject::RegisterEvents(d);
  Register(Game::Event::KeyDelivered, d, this);
}

void cChestHeart::OnEvent(GameEvent& e) {
  cSubjectObject::OnEvent(e);
  if (e.code == Game::Code(Game::Event::KeyDelivered)) keyDelivered = 1;
}

void cChestHeart::ApplyRecord(const MapObjectRecord& r) {
  cSubjectObject::ApplyRecord(r);
  soundKey = extString(r, objSubjectItems() + kSoundKey);
}

void cChestHeart::FillRecord(MapObjectRecord& r) const {
  cSubjectObject::FillRecord(r);
  r.childScript = kQuestIcons;
  setExtString(r, objSubjectItems() + kSoundKey, soundKey);
}

void cChestHeart::CopyFrom(const cObject& from) {
  cSubjectObject::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cChestHeart*>(&from)) soundKey = o->soundKey;
}

void cChestHeart::SaveChildScript(std::string& out) const { mapWriteString(out, kQuestIcons, nullptr); }
}  // namespace Map
