// Operation subjects: loading and saving of the subject's items, its name, the offer questions
// (persons, path, costs), hints and status texts, hover, signs, effects and drawing. The work
// itself (orders, persons, timers, cancelling) lives in subject_work.cpp.
#include "game/objects/subject_object.h"

#include <algorithm>

#include "anim/anim_catalogue.h"
#include "anim/fx_simple_pyro.h"
#include "base/diag.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "files/text.h"
#include "game/core/level_context.h"
#include "game/core/map.h"
#include "game/core/map_family.h"
#include "game/core/person.h"
#include "game/core/workers.h"

namespace Map {
namespace {
static_assert(kOperationKinds == kMapSubjectDurations, "one duration key per operation kind");
// Items of the subject block: worker type, 8 durations, 7 x 3 costs, visible state, name, delete
// flag, cursor.
constexpr size_t kItemWorkerType = 0, kItemDurations = 1, kItemCosts = 9, kItemVisibleState = 30, kItemName = 31,
                 kItemDelete = 32, kItemCursor = 33, kSubjectItems = 34;
constexpr int32_t kVisibleStates = 17;  // the persons' visible states 0 to 16

// Where the subject block starts in a family's record extension; npos when it has none.
size_t subjectBlockAt(uint32_t typeHash, uint32_t subtypeHash) {
  const MapFamily& f = mapFamilyOf(typeHash, subtypeHash);
  size_t at = 0;
  for (const MapExtension* b : f.blocks) {
    if (b == &mapSubjectBlock()) return at;
    at += b->items.size();
  }
  return std::string::npos;
}

const uint32_t kWarriorHash = NameHash("Warrior");
const uint32_t kExorcistHash = NameHash("Exorcist");

Game::cWorkersController* workers() {
  Game::LevelContext* c = Game::levelContext();
  return c ? c->workers.get() : nullptr;
}
}  // namespace

const char* operationDurationKey(int32_t kind) { return mapSubjectDurationKey(kind); }

bool WorkTimer::Advance(int32_t ms) {
  if (!running) return false;
  remaining -= ms;
  if (remaining > 0) return false;
  remaining = 0;
  running = false;
  return true;
}

cSubjectObject::cSubjectObject() { std::fill(std::begin(durations), std::end(durations), kDefaultDurationMs); }

cSubjectObject::~cSubjectObject() = default;

void cSubjectObject::GetHintProgress(bool& show, float&, bool&) const { show = false; }

bool cSubjectObject::GetOperationOffer(ResourceVector&, ResourceVector&, ResourceVector&) const { return true; }

void cSubjectObject::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  gainLabel.clear();
  costLabel.clear();
  nextGainLabel.clear();
}

bool cSubjectObject::HasEnoughPersons(bool includeBusy) const {
  Game::cWorkersController* w = workers();
  const int have = !w ? 0 : includeBusy ? w->CountKind(personKind) : w->CountFree(personKind, false);
  return have >= personsNeeded;
}

bool cSubjectObject::HasPathForPersons(int32_t, int32_t) const {
  Game::cWorkersController* w = workers();
  return w && w->CanReach(*this, personKind);
}

bool cSubjectObject::IsUnaffordable() const {
  ResourceVector gains{}, cost{}, next{};
  return !GetOperationOffer(gains, cost, next);
}

std::string cSubjectObject::GetStatusText() const {
  if (!selected) return {};
  Game::cWorkersController* w = workers();
  if (HasOperationOffer()) {
    if (!HasEnoughPersons(true)) {
      if (personKind == kWarriorHash) return "#OBJECT_HINT_YOUNEEDWARRIORHUT";
      if (personKind == kExorcistHash) return "#OBJECT_HINT_YOUNEEDEXORCISTHUT";
      return "#OBJECT_HINT_NOTENOUGHWORKERS";
    }
    if (!HasPathForPersons()) return "#OBJECT_HINT_NOPATH";
    const bool noneFree = !w || w->CountFree(personKind, false) == 0;
    if (noneFree && !IsUnaffordable()) {
      if (personKind == kWarriorHash) return "#OBJECT_HINT_WARRIORISBUSY";
      if (personKind == kExorcistHash) return "#OBJECT_HINT_EXORCISTISBUSY";
      return "#OBJECT_HINT_NOFREEWORKER";
    }
    return {};
  }
  return HasPathForPersons() ? std::string() : std::string("#OBJECT_HINT_NOPATH");
}

int32_t cSubjectObject::GetOrderState() const {
  const OperationState s = operation.state;
  if (s != OperationState::Idle && s != OperationState::Ordered) return 4;
  if (!HasPathForPersons() || IsUnaffordable()) return 3;
  Game::cWorkersController* w = workers();
  if (s == OperationState::Ordered || !w || w->CountFree(personKind, false) == 0) return 1;
  return 0;
}

// ---- Costs and durations ------------------------------------------------------------------

ResourceVector cSubjectObject::Cost(OperationKind kind) const {
  const int32_t k = int32_t(kind);
  return k >= 0 && k < kOperationKinds ? costs[k] : ResourceVector{};
}

int32_t cSubjectObject::Duration(OperationKind kind) const {
  const int32_t k = int32_t(kind);
  if (k < 0 || k >= kOperationKinds) return 0;
  return durations[k] > 0 ? durations[k] : kShortDurationMs;
}

bool cSubjectObject::CanAfford(OperationKind kind) const {
  const ResourceVector c = Cost(kind);
  Game::LevelContext* level = Game::levelContext();
  const Game::PlayerStock* stock = level ? level->stock.get() : nullptr;
  for (int r = Game::kFood; r <= Game::kGold; ++r) {
    if (c[r] <= 0) continue;
    if (!stock || stock->Amount(r) < c[r]) return false;
  }
  return true;
}

// ---- Loading and saving --------------------------------------------------------------------

void cSubjectObject::ApplySubjectItems(const std::vector<MapExtValue>& ext, size_t at) {
  if (at == std::string::npos || ext.size() < at + kSubjectItems) return;
  auto item = [&](size_t i) -> const MapExtValue& { return ext[at + i]; };
  workerTypeText = item(kItemWorkerType).s;
  for (int k = 0; k < kOperationKinds; ++k) durations[k] = item(kItemDurations + size_t(k)).i;
  for (int k = 0; k < kOperationKinds; ++k) costs[k] = ResourceVector{};
  for (int k = 1; k < kOperationKinds; ++k)
    for (int r = 1; r <= 3; ++r) {
      int32_t v = item(kItemCosts + size_t((k - 1) * 3 + (r - 1))).i;
      // A negative cost would pay the player for ordering; it counts as free.
      if (v < 0) {
        errorLog("Object \"%s\": cost \"%s_%s\" %d is negative; 0 is used\n", name.c_str(), operationDurationKey(k),
                 mapResourceName(r), int(v));
        v = 0;
      }
      costs[k][r] = v;
    }
  personVisibleState = item(kItemVisibleState).i;
  if (personVisibleState < 0 || personVisibleState >= kVisibleStates) {
    errorLog("Object \"%s\": \"personVisibleState\" %d names no visible state of a person; 9 is used\n", name.c_str(),
             int(personVisibleState + 1));
    personVisibleState = 8;
  }
  nameKey = item(kItemName).s;
  deleteOnGamePlayFinished = item(kItemDelete).i != 0 ? 1 : 0;
  cursor = item(kItemCursor).i;
  personKind = workerTypeText.empty() ? 0 : NameHash(workerTypeText);
  RebuildDisplayNameBase();
  // One sound for both loaders, so a map.ini object equals its compiled twin.
  refusalSound = "CantDoOperation";
}

void cSubjectObject::FillSubjectItems(std::vector<MapExtValue>& ext, size_t at) const {
  if (at == std::string::npos || ext.size() < at + kSubjectItems) return;
  auto item = [&](size_t i) -> MapExtValue& { return ext[at + i]; };
  item(kItemWorkerType).s = workerTypeText;
  for (int k = 0; k < kOperationKinds; ++k) item(kItemDurations + size_t(k)).i = durations[k];
  for (int k = 1; k < kOperationKinds; ++k)
    for (int r = 1; r <= 3; ++r) item(kItemCosts + size_t((k - 1) * 3 + (r - 1))).i = costs[k][r];
  item(kItemVisibleState).i = personVisibleState;
  item(kItemName).s = nameKey;
  item(kItemDelete).i = deleteOnGamePlayFinished;
  item(kItemCursor).i = int8_t(cursor);
}

void cSubjectObject::ApplyRecord(const MapObjectRecord& record) {
  cObject::ApplyRecord(record);
  ApplySubjectItems(record.extension, subjectBlockAt(typeHash, subtypeHash));
}

void cSubjectObject::FillRecord(MapObjectRecord& record) const {
  cObject::FillRecord(record);
  FillSubjectItems(record.extension, subjectBlockAt(typeHash, subtypeHash));
}

bool cSubjectObject::LoadIni(const gFileName& file, const char* section) {
  const bool ok = cObject::LoadIni(file, section);
  if (!ok || subjectBlockAt(typeHash, subtypeHash) != std::string::npos) return ok;
  // A definition whose family carries no subject block in its record (persons read from their
  // own definition file) still has the subject's keys in its section.
  const MapExtension& block = mapSubjectBlock();
  std::vector<MapExtValue> ext(block.items.size());
  for (size_t i = 0; i < block.items.size(); ++i) {
    const MapExtItem& it = block.items[i];
    if (it.kind == MapItem::String) {
      ext[i].s = iniString(file, section, it.key, "");
    } else {
      int32_t v = iniGetInt(file, section, it.key, 0);
      if (it.form == MapIniForm::StoredMinusOne) v = v > 0 ? v - 1 : 8;
      ext[i].i = it.kind == MapItem::Int8 ? int8_t(v) : v;
    }
  }
  ApplySubjectItems(ext, 0);
  return ok;
}

void cSubjectObject::CopyFrom(const cObject& from) {
  cObject::CopyFrom(from);
  const auto* s = dynamic_cast<const cSubjectObject*>(&from);
  if (!s) return;
  std::copy(std::begin(s->durations), std::end(s->durations), durations);
  std::copy(std::begin(s->costs), std::end(s->costs), costs);
  personVisibleState = s->personVisibleState;
  displayName = s->displayName;
  nameKey = s->nameKey;
  personKind = s->personKind;
  workerTypeText = s->workerTypeText;
  personsNeeded = s->personsNeeded;
  hideHintWhileWorking = s->hideHintWhileWorking;
  hintOnHover = s->hintOnHover;
  refusalSound = s->refusalSound;
  deleteOnGamePlayFinished = s->deleteOnGamePlayFinished;
  cursor = s->cursor;
}

void cSubjectObject::ResolveParent(const cMap& map) {
  cObject::ResolveParent(map);
  personKind = workerTypeText.empty() ? 0 : NameHash(workerTypeText);
}

void cSubjectObject::RebuildDisplayNameBase() {
  displayName.clear();
  if (nameKey.empty()) return;
  if (nameKey[0] == '#') {
    const char16_t* t = iniGetWString(gFileName("data/translation.ini"), nullptr, nameKey.c_str(), nullptr);
    // An untranslated key is shown as itself, which is at least a clue for the translator.
    displayName = t ? std::u16string(t) : textUtf8ToUtf16(nameKey);
  } else {
    displayName = textUtf8ToUtf16(nameKey);
  }
}

// ---- Children, hover, signs, effects, drawing ---------------------------------------------

void cSubjectObject::ShowChild(std::string_view subtype, bool show) {
  Game::LevelContext* level = Game::levelContext();
  if (!level || !level->map) return;
  if (cObject* c = FindChild(*level->map, subtype)) c->SetHidden(!show);
}

bool cSubjectObject::HoverEnter() {
  if (withdrawn) return false;
  const OperationState s = operation.state;
  if (s != OperationState::Ordered && s != OperationState::Gathering) {
    const bool working = s == OperationState::Working || s == OperationState::Started;
    if (!(working && hideHintWhileWorking)) ShowChild(GetHintChildSubtype(), true);
    if (HasOperationOffer()) ShowChild("focusMarker", true);
    SetSelected(false);
  }
  return true;
}

void cSubjectObject::HoverLeave() {
  // A refused hint closes the same way as any other until the hint icons have their own close.
  if (hintOnHover || ordersRefused > 0) ShowChild(GetHintChildSubtype(), false);
  ShowChild("focusMarker", false);
  ordersRefused = 0;
}

void cSubjectObject::OnOperationFinished() {
  if (Has(kFlagPointerOver) && !withdrawn) ShowChild(GetHintChildSubtype(), true);
}

void cSubjectObject::RestartYesSign() {
  if (!yesSign.IsValid()) yesSign = Core::animManager().GetAnimation("Object_Sign_Yes");
  signShowsYes = 1;
  if (yesSign.IsValid()) yesSign.Start(0);
}

void cSubjectObject::RestartNoSign() {
  if (!noSign.IsValid()) noSign = Core::animManager().GetAnimation("Object_Sign_No");
  signShowsYes = 0;
  noSignFade.Stop();
  if (noSign.IsValid()) {
    noSign.Start(0);
    m_noSignWasRunning = true;
  }
}

void cSubjectObject::StopSigns() {
  if (yesSign.IsValid()) yesSign.Stop();
  if (noSign.IsValid()) noSign.Stop();
  noSignFade.Stop();
  m_noSignWasRunning = false;
  signShowsYes = 0;
}

void cSubjectObject::StartWorkEffect(int which) {
  FxManager::cSimplePyro* fx = which == 0 ? workEffect0.get() : which == 1 ? workEffect1.get() : nullptr;
  if (!fx) return;
  fx->SetPosition(x, y);
  fx->Start();
}

void cSubjectObject::StopWorkEffect(int which) {
  FxManager::cSimplePyro* fx = which == 0 ? workEffect0.get() : which == 1 ? workEffect1.get() : nullptr;
  if (fx) fx->Stop(false);
}

void cSubjectObject::UpdateAnimation(int32_t ms) {
  cObject::UpdateAnimation(ms);
  for (AnimationState* a : {&yesSign, &noSign})
    if (a->IsValid() && !a->IsStopped() && a->Advance(ms) && !a->Has(AnimationState::kLoop)) a->Stop();
  if (m_noSignWasRunning && (!noSign.IsValid() || noSign.IsStopped())) {
    m_noSignWasRunning = false;
    noSignFade.Start(kNoSignFadeMs);
  } else {
    noSignFade.Advance(ms);
  }
  if (workEffect0) workEffect0->Update(float(ms));
  if (workEffect1) workEffect1->Update(float(ms));
  if (fadeOut.Advance(ms)) m_fadeOutDone = true;
}

void cSubjectObject::Draw(const DrawContext& dc) {
  DrawContext faded = dc;
  if (fadeOut.running && fadeOut.total > 0) {
    const float left = float(fadeOut.remaining) / float(fadeOut.total);  // 1 - elapsed / 500
    faded.alpha = uint8_t(float(dc.alpha) * left);
  } else if (m_fadeOutDone) {
    faded.alpha = 0;
  }
  if (faded.alpha > 0) cObject::Draw(faded);
  DrawSignsAndEffects(dc);
}

void cSubjectObject::DrawSignsAndEffects(const DrawContext& dc) {
  const float ax = x + dc.offsetX, ay = y + dc.offsetY;
  if (signShowsYes && yesSign.IsValid() && !yesSign.IsStopped()) {
    yesSign.DrawCurrent(ax, ay);
  } else if (noSign.IsValid() && !noSign.IsStopped()) {
    noSign.DrawCurrent(ax, ay);
  } else if (!signShowsYes && noSign.IsValid() && noSignFade.running && noSignFade.total > 0) {
    // The No sign's last picture fades out after it ended.
    const int alpha = int(255.0f * float(noSignFade.remaining) / float(noSignFade.total));
    noSign.DrawFaded(ax, ay, alpha, 1.0f, 1.0f);
  }
  if (workEffect0) workEffect0->Render();
  if (workEffect1) workEffect1->Render();
}

void cSubjectObject::Destroy(bool free) {
  // The effects' emitters go back to the particle library before the object's memory does.
  workEffect0.reset();
  workEffect1.reset();
  cObject::Destroy(free);
}

cPerson* cSubjectObject::OperationPerson(int32_t personId) const {
  Game::LevelContext* level = Game::levelContext();
  if (!level || !level->map) return nullptr;
  cObject* o = level->map->FindById(personId);
  if (!o || o->Has(kFlagRemoved)) return nullptr;
  return dynamic_cast<cPerson*>(o);
}
}  // namespace Map
