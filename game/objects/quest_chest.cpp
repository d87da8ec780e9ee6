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

void cChestHeart::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  questTakeLabels(*this, OperationKind::GetResource, gainLabel, costLabel, nextGainLabel);
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
  const int r = cQuestSubject::TryStartOperation(byPlayer);
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
  if (!cQuestSubject::StartOperation(kind)) return false;
  sounds.StartSlot(1, int32_t(x), 0);
  return true;
}

bool cChestHeart::OnPersonArrived(int32_t personId) {
  if (!cQuestSubject::OnPersonArrived(personId)) return false;
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
    questStartCarrying(*this, "heart");
  }
  return true;
}

void cChestHeart::OnOperationFinished() {
  if (!closed && picking && operation.kind == OperationKind::GetResource && !fading) {
    questHeartFreed(*this, fade, kFadeMs, 1);
    fading = 1;
  }
  cQuestSubject::OnOperationFinished();
}

bool cChestHeart::UpdateTimers(int32_t ms) {
  const bool remove = cQuestSubject::UpdateTimers(ms);
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
    // The click that opened the chest paid for its heart: taking it costs nothing more.
    if (questOrderTake(*this, kTakeMs)) {
      picking = 1;
      questEnqueue(id, true);
    }
  }
  if (fade.Advance(ms)) SetAnimation(3, false);
  return remove;
}

void cChestHeart::Draw(const DrawContext& dc) {
  if (fading && fade.running) {
    questDrawFading(*this, dc, 3, 1.0f - questFraction(fade));
    return;
  }
  cQuestSubject::Draw(dc);
}

void cChestHeart::ResolveParent(const cMap& map) {
  cQuestSubject::ResolveParent(map);
  if (!soundKey.empty()) sounds.Load(kQuestSounds, soundKey.c_str());
}

void cChestHeart::RegisterEvents(Game::cEventDispatcher* d) {
  cQuestSubject::RegisterEvents(d);
  Register(Game::Event::KeyDelivered, d, this);
}

void cChestHeart::OnEvent(GameEvent& e) {
  cQuestSubject::OnEvent(e);
  if (e.code == Game::Code(Game::Event::KeyDelivered)) keyDelivered = 1;
}

void cChestHeart::ApplyRecord(const MapObjectRecord& r) {
  cQuestSubject::ApplyRecord(r);
  soundKey = extString(r, objSubjectItems() + kSoundKey);
}

void cChestHeart::FillRecord(MapObjectRecord& r) const {
  cQuestSubject::FillRecord(r);
  setExtString(r, objSubjectItems() + kSoundKey, soundKey);
}

void cChestHeart::CopyFrom(const cObject& from) {
  cQuestSubject::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cChestHeart*>(&from)) soundKey = o->soundKey;
}
}  // namespace Map
