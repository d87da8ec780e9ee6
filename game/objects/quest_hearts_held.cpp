// The hearts held fast: the one in the magic cage (two evil stones removed break the cage) and the
// one a witch froze in ice (the workers break the ice, then take the heart).
#include <algorithm>

#include "anim/fx_simple_pyro.h"
#include "files/name_hash.h"
#include "game/core/map.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"
#include "game/objects/quest_hearts.h"

namespace Map {

namespace {
constexpr size_t kSoundKey = 0;

// The cage answers to the evil stones by their type, on every event it hears.
bool isEvilStone(const GameEvent& e) {
  static const uint32_t kStone = NameHash("evilstone");
  return uint32_t(e.typeHash) == kStone;
}

void makeEffect(std::unique_ptr<FxManager::cSimplePyro>& fx, const char* name, float x, float y) {
  if (!fx) {
    fx = std::make_unique<FxManager::cSimplePyro>();
    fx->Load(name);
  }
  fx->SetPosition(x, y);
}
}  // namespace

// ---- Cage heart --------------------------------------------------------------------------------

cCageHeart::cCageHeart() = default;
cCageHeart::~cCageHeart() = default;

int cCageHeart::TryStartOperation(bool byPlayer) {
  const int r = cQuestSubject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  if (stage == 0 || stage == 2) {
    operation.sendHomeAfterWork = 0;
    operation.walkVisibleState = 2;
    operation.workVisibleState = 9;
    operation.homeVisibleState = 1;
    return StartOperation(OperationKind::Repair) ? 0 : 1;
  }
  if (stage == 4 && CanAfford(OperationKind::GetResource)) {
    questTakeHome(operation);
    return StartOperation(OperationKind::GetResource) ? 0 : 1;
  }
  return r;
}

bool cCageHeart::OnPersonArrived(int32_t personId) {
  if (!cQuestSubject::OnPersonArrived(personId)) return false;
  if (operation.kind == OperationKind::GetResource && operation.state == OperationState::Started) {
    questCarryItem(*this, "heart");
    stage = 5;
    stageTimer.Start(kTakeMs);
    Set(kFlagClickable, false);
  }
  return true;
}

void cCageHeart::OnOperationFinished() {
  if (operation.kind == OperationKind::Repair) {
    GameEvent e = objEvent(Game::Event::CageHacked, *this);
    objPost(e);
  } else {
    StopWorkEffect(0);
  }
  // The hint comes back under the pointer as for any subject.
  cQuestSubject::OnOperationFinished();
}

void cCageHeart::LaunchSparkle(QuestPoint from) {
  const cEffect* fx = SpawnMapEffect("CageMagicSparkle", layer + 1, kSparkleMs, from.x, from.y);
  sparkleId = fx ? fx->id : kNoId;
  sparkleStart = from;
  stageTimer.Start(kSparkleMs);
}

void cCageHeart::StageEnded() {
  auto explode = [this](const char* sound) {
    SpawnMapEffect("CageMagicExplosion", layer + 1, -1, x, y);
    sparkleId = kNoId;
    questPlaySound(sound, x);
  };
  switch (stage) {
    case 0:
      stage = 1;
      stageTimer.Start(questSlotLength(*this, 1));
      SetAnimation(1, false);
      explode("EvilClawsFall");
      break;
    case 1:
      stage = 2;
      SetAnimation(2, false);
      // The next stone restarts the timer; one that finished during the shaking goes now.
      if (m_stonePending) {
        m_stonePending = false;
        LaunchSparkle(m_pendingFrom);
      }
      break;
    case 2:
      stage = 3;
      stageTimer.Start(questSlotLength(*this, 3));
      SetAnimation(3, false);
      explode("CageDestroy");
      break;
    case 3:
      stage = 4;
      withdrawn = 0;
      SetAnimation(4, false);
      StartWorkEffect(0);
      break;
    case 5:
      stage = 6;
      SetAnimation(6, false);
      questWithdraw(*this);
      break;
    default:
      break;
  }
}

bool cCageHeart::UpdateTimers(int32_t ms) {
  const bool ended = stageTimer.Advance(ms);
  if (sparkleId != kNoId && !ended) {
    cMap* m = objMap();
    cObject* fx = m ? m->FindById(sparkleId) : nullptr;
    if (!fx || fx->Has(kFlagRemoved)) {
      sparkleId = kNoId;
    } else {
      const QuestPoint p = questCurvePoint(sparkleStart, {sparkleStart.x, y / 2.0f}, {x, y}, questFraction(stageTimer));
      fx->SetAnchorF(p.x, p.y);
    }
  }
  if (ended) StageEnded();
  return cQuestSubject::UpdateTimers(ms);
}

void cCageHeart::Draw(const DrawContext& dc) {
  if (stage == 5 && stageTimer.running) {
    questDrawFading(*this, dc, 6, 1.0f - questFraction(stageTimer));
    return;
  }
  cQuestSubject::Draw(dc);
}

void cCageHeart::RegisterEvents(Game::cEventDispatcher* d) {
  cQuestSubject::RegisterEvents(d);
  Register(Game::Event::OperationFinished, d, this);
  Register(Game::Event::SubjectClicked, d, this);
}

void cCageHeart::OnEvent(GameEvent& e) {
  cQuestSubject::OnEvent(e);
  if (!isEvilStone(e)) return;
  if (e.code == Game::Code(Game::Event::OperationFinished)) {
    const QuestPoint from{float(e.x), float(e.y)};
    if (stage == 1 || (stageTimer.running && (stage == 0 || stage == 2))) {
      // The cage is still answering the last stone: this one's sparkle flies when it is done.
      m_stonePending = true;
      m_pendingFrom = from;
    } else if (stage == 0 || stage == 2) {
      LaunchSparkle(from);
    }
  } else if (e.code == Game::Code(Game::Event::SubjectClicked)) {
    if (++stoneClicks == kStonesToWithdraw) questWithdraw(*this);
  }
}

void cCageHeart::ApplyRecord(const MapObjectRecord& r) {
  cQuestSubject::ApplyRecord(r);
  makeEffect(workEffect0, "Heart", x, y);
}

// ---- Ice heart ---------------------------------------------------------------------------------

cIceHeart::cIceHeart() = default;
cIceHeart::~cIceHeart() = default;

void cIceHeart::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  questTakeLabels(*this, OperationKind::GetResource, gainLabel, costLabel, nextGainLabel);
}

int cIceHeart::TryStartOperation(bool byPlayer) {
  const int r = cQuestSubject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  if (!frozen || !CanAfford(OperationKind::GetResource)) return 1;
  operation.walkVisibleState = 2;
  operation.workVisibleState = 10;
  operation.homeVisibleState = 1;
  operation.keepPersons = 1;
  return StartOperation(OperationKind::GetResource) ? 0 : 1;
}

bool cIceHeart::OnPersonArrived(int32_t personId) {
  if (!cQuestSubject::OnPersonArrived(personId)) return false;
  if (operation.state != OperationState::Started) return true;
  if (frozen) {
    blow.Start(kBlowMs);
    StartWorkEffect(1);
    sounds.StartSlot(0, int32_t(x), operation.duration);
  } else {
    questStartCarrying(*this, "heart");
  }
  return true;
}

void cIceHeart::BreakIce() {
  if (iceBroken) return;
  iceBroken = 1;
  blow.Stop();
  SetAnimation(1, false);
  objClearObstacle(*this);
  StopWorkEffect(0);
  sounds.StartSlot(1, int32_t(x), 0);
  SpawnMapEffect("IceHeart_blow", layer + 1, -1, x, y);
}

void cIceHeart::OnOperationFinished() {
  if (frozen) {
    frozen = 0;
    // Work shorter than the blow still breaks the ice before the heart is taken out of it.
    BreakIce();
    take.Start(kTakeWaitMs);
  } else if (taking && !fading) {
    questHeartFreed(*this, finalFade, kFinalFadeMs, 1);
    fading = 1;
    questWithdraw(*this);
  }
  cQuestSubject::OnOperationFinished();
}

bool cIceHeart::UpdateTimers(int32_t ms) {
  const bool remove = cQuestSubject::UpdateTimers(ms);
  sounds.Update(ms);
  if (blow.Advance(ms)) BreakIce();
  // The thaw's wait may end before the breaking work does: the heart is taken once both have.
  if (take.Advance(ms) || (!frozen && !taking && !take.running && operation.state == OperationState::Held)) {
    if (operation.state == OperationState::Held) {
      // Breaking the ice was the order the player paid for; taking the heart costs nothing more.
      if (questOrderTake(*this, kTakeMs)) {
        taking = 1;
        questEnqueue(id, false);
      }
    }
  }
  if (finalFade.Advance(ms)) Kill();
  if (freezeFade.Advance(ms)) freezeFading = 0;
  return remove;
}

void cIceHeart::Draw(const DrawContext& dc) {
  if (fading) {
    questDrawFading(*this, dc, -1, 1.0f - questFraction(finalFade));
    return;
  }
  // The frozen picture comes up over the heart as it was.
  if (freezeFading && freezeFade.running) {
    questDrawFading(*this, dc, 1, questFraction(freezeFade));
    return;
  }
  cQuestSubject::Draw(dc);
}

void cIceHeart::ResolveParent(const cMap& map) {
  cQuestSubject::ResolveParent(map);
  SetAnimation(1, false);
  sounds.Load(kQuestSounds, name.c_str());
}

void cIceHeart::RegisterEvents(Game::cEventDispatcher* d) {
  cQuestSubject::RegisterEvents(d);
  Register(Game::Event::WitchNamesObject, d, this);
}

void cIceHeart::OnEvent(GameEvent& e) {
  cQuestSubject::OnEvent(e);
  if (e.code != Game::Code(Game::Event::WitchNamesObject) || tag == 0 || uint32_t(e.tag) != tag) return;
  freezeFade.Start(kFreezeFadeMs);
  SpawnMapEffect("HeartFreezing", layer + 1, -1, x, y);
  sounds.StartSlot(2, int32_t(x), 0);
  SetAnimation(0, false);
}

void cIceHeart::ApplyRecord(const MapObjectRecord& r) {
  cQuestSubject::ApplyRecord(r);
  soundKey = extString(r, objSubjectItems() + kSoundKey);
  makeEffect(workEffect0, "IceHeart", x, y);
  makeEffect(workEffect1, "Heart", x, y);
  workEffect0->Start();
}

void cIceHeart::FillRecord(MapObjectRecord& r) const {
  cQuestSubject::FillRecord(r);
  setExtString(r, objSubjectItems() + kSoundKey, soundKey);
}

void cIceHeart::CopyFrom(const cObject& from) {
  cQuestSubject::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cIceHeart*>(&from)) soundKey = o->soundKey;
}
}  // namespace Map
