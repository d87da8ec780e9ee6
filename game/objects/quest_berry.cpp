// The berry bush: hidden until the red hood has her mushrooms, it grows into view; its berries
// fade in when the drums' rain has passed, and a worker picks them and carries them home.
#include "game/objects/quest_berry.h"

#include <algorithm>
#include <memory>

#include "anim/fx_simple_pyro.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/map.h"
#include "game/core/map_record.h"
#include "game/core/person.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"
#include "game/objects/quest_heart_common.h"

namespace Map {
namespace {
constexpr const char* kSoundFile = "data/obstacles/sounds.ini";
constexpr size_t kBushAppear = 0, kBerriesAppear = 1, kSoundKey = 2;
const uint32_t kBerryItem = NameHash("berry");
}  // namespace

std::string questTranslate(const char* key) { return iniString("data/translation.ini", nullptr, key, key); }

std::string questFormatCount(const std::string& pattern, int n) {
  const size_t at = pattern.find("%d");
  if (at == std::string::npos) return pattern;
  return pattern.substr(0, at) + std::to_string(n) + pattern.substr(at + 2);
}

cBerry::cBerry() = default;
cBerry::~cBerry() = default;

void cBerry::LoadLook() {
  sounds = Core::cObjectSoundTrack();
  if (!soundKey.empty()) sounds.Load(kSoundFile, soundKey.c_str());
  workEffect0 = std::make_unique<FxManager::cSimplePyro>();
  workEffect0->Load("Berry");
  workEffect0->SetPosition(x, y);
  state = berriesAppear ? Waiting : Present;
}

void cBerry::ApplyRecord(const MapObjectRecord& r) {
  cQuestSubject::ApplyRecord(r);
  const size_t at = objSubjectItems();
  bushAppear = extInt(r, at + kBushAppear);
  berriesAppear = extInt(r, at + kBerriesAppear);
  soundKey = extString(r, at + kSoundKey);
  LoadLook();
}

void cBerry::FillRecord(MapObjectRecord& r) const {
  cQuestSubject::FillRecord(r);
  const size_t at = objSubjectItems();
  setExtInt(r, at + kBushAppear, bushAppear);
  setExtInt(r, at + kBerriesAppear, berriesAppear);
  setExtString(r, at + kSoundKey, soundKey);
}

void cBerry::CopyFrom(const cObject& from) {
  cQuestSubject::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cBerry*>(&from)) {
    bushAppear = o->bushAppear;
    berriesAppear = o->berriesAppear;
    soundKey = o->soundKey;
    LoadLook();
  }
}

void cBerry::ResolveParent(const cMap& map) {
  cQuestSubject::ResolveParent(map);
  if (bushAppear) {
    SetHidden(true);
  } else if (state == Present) {
    StartWorkEffect(0);
  }
  ShowChild(GetHintChildSubtype(), false);
}

void cBerry::RegisterEvents(Game::cEventDispatcher* d) {
  cQuestSubject::RegisterEvents(d);
  Register(Game::Event::RedHoodHasMushrooms, d, this);
  Register(Game::Event::BerriesAppear, d, this);
}

void cBerry::OnEvent(GameEvent& e) {
  cQuestSubject::OnEvent(e);
  if (e.code == Game::Code(Game::Event::RedHoodHasMushrooms)) {
    // Only a hidden bush grows: a second red hood's thanks must not make a grown bush shrink.
    if (!bushAppear || !Has(kFlagHidden)) return;
    StartWorkEffect(0);
    SetHidden(false);
    grow.Start(kGrowMs);
    growing = true;
  } else if (e.code == Game::Code(Game::Event::BerriesAppear)) {
    if (state != Waiting) return;
    StartWorkEffect(0);
    fade.Start(kFadeInMs);
    state = Appearing;
  }
}

bool cBerry::HasOperationOffer() const { return state == Present && !Has(kFlagHidden) && !withdrawn; }

void cBerry::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  questTakeLabels(*this, OperationKind::GetResource, gainLabel, costLabel, nextGainLabel);
}

int cBerry::TryStartOperation(bool byPlayer) {
  const int r = cQuestSubject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  // Nothing to pick before the berries are there (or after they were taken).
  if (!HasOperationOffer() || !CanAfford(OperationKind::GetResource)) return 1;
  operation.walkVisibleState = 2;
  operation.workVisibleState = personVisibleState;
  operation.homeVisibleState = 3;
  // The picker carries the berries home, where they count; left standing it would keep them.
  operation.sendHomeAfterWork = 1;
  return StartOperation(OperationKind::GetResource) ? 0 : 1;
}

bool cBerry::OnPersonArrived(int32_t personId) {
  const bool ok = cQuestSubject::OnPersonArrived(personId);
  if (!ok || operation.state != OperationState::Started) return ok;
  for (int32_t pid : operation.persons)
    if (cPerson* p = OperationPerson(pid)) p->SetCarriedItem(kBerryItem);
  fade.Start(operation.duration);
  state = Picking;
  sounds.StartSlot(0, int32_t(x), operation.duration);
  StopWorkEffect(0);
  return ok;
}

void cBerry::OnOperationFinished() {
  if (state == Picking) {
    state = Gone;
    fade.Stop();
    // Timed like the picking: the catalogue's glow would never end by itself over the bare bush.
    SpawnMapEffect("ResourceCollecting", layer + 1, Duration(OperationKind::GetResource), x, y);
    GameEvent e = objEvent(Game::Event::BerryPicked, *this);
    objPost(e);
    ShowChild(GetHintChildSubtype(), false);
    objClearObstacle(*this);
    Set(kFlagClickable, false);
    withdrawn = 1;
    return;
  }
  cQuestSubject::OnOperationFinished();
}

void cBerry::UpdateAnimation(int32_t ms) {
  cQuestSubject::UpdateAnimation(ms);
  // The berries are a second picture over the bush and play beside it.
  if (currentAnimation != kBerriesSlot) {
    AnimationState& a = Anim(kBerriesSlot);
    if (a.IsValid()) {
      if (a.IsStopped() && state >= Appearing && state <= Picking) a.Start(0);
      if (!a.IsStopped() && a.Advance(ms) && !a.Has(AnimationState::kLoop)) a.Stop();
    }
  }
}

bool cBerry::UpdateTimers(int32_t ms) {
  if (grow.Advance(ms)) growing = false;
  if (fade.Advance(ms) && state == Appearing) state = Present;
  // A cancelled pick leaves the berries where they were.
  if (state == Picking && operation.state == OperationState::Idle) {
    fade.Stop();
    state = Present;
    StartWorkEffect(0);
  }
  sounds.Update(ms);
  return cQuestSubject::UpdateTimers(ms);
}

float cBerry::GrowthScale() const { return growing ? std::clamp(grow.Progress(), 0.0f, 1.0f) : 1.0f; }

int cBerry::BerriesAlpha() const {
  const float p = std::clamp(fade.running ? fade.Progress() : 1.0f, 0.0f, 1.0f);
  switch (state) {
    case Appearing: return int(p * 255.0f);
    case Present: return 255;
    case Picking: return int((1.0f - p) * 255.0f);
    default: return 0;
  }
}

void cBerry::Draw(const DrawContext& dc) {
  const float fade = objFadeOutFactor(*this);
  const uint32_t colour = CurrentColour();
  const uint32_t alpha = uint32_t(float((colour >> 24) * dc.alpha / 255u) * fade);
  const float grown = GrowthScale();
  const AnimationState& bush = anims[0];
  if (bush.IsValid() && grown > 0.0f) {
    const IntPoint o = animOffsets[0];
    bush.DrawRotated(x + float(o.x) + dc.offsetX, y + float(o.y) + dc.offsetY, 0.0f, 0x100, 15,
                     (colour & 0x00FFFFFFu) | (alpha << 24), scale * grown, 0, -1);
  }
  const AnimationState& berries = anims[kBerriesSlot];
  const int berryAlpha = BerriesAlpha();
  if (berries.IsValid() && berryAlpha > 0 && grown > 0.0f) {
    const IntPoint o = animOffsets[kBerriesSlot];
    const uint32_t a = alpha * uint32_t(berryAlpha) / 255u;
    berries.DrawRotated(x + float(o.x) + dc.offsetX, y + float(o.y) + dc.offsetY, 0.0f, 0x100, 15,
                        (colour & 0x00FFFFFFu) | (a << 24), scale * grown, 0, -1);
  }
  DrawSignsAndEffects(dc);
}
}  // namespace Map
