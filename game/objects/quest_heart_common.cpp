// Helpers of the quest objects.
#include "game/objects/quest_heart_common.h"

#include <algorithm>

#include "files/name_hash.h"
#include "game/core/level_context.h"
#include "game/core/map.h"
#include "game/core/person.h"
#include "game/core/workers.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"
#include "sound/sound.h"

namespace Map {

QuestPoint questCurvePoint(QuestPoint a, QuestPoint c, QuestPoint b, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  const float u = 1.0f - t;
  return {u * u * a.x + 2.0f * t * u * c.x + t * t * b.x, u * u * a.y + 2.0f * t * u * c.y + t * t * b.y};
}

void questMoveWithChildren(cObject& o, float nx, float ny) {
  const float dx = nx - o.x, dy = ny - o.y;
  o.SetAnchorF(nx, ny);
  cMap* m = objMap();
  if (!m || (dx == 0.0f && dy == 0.0f)) return;
  size_t cursor = 0;
  while (cObject* c = m->IterateChildren(o.id, cursor)) {
    if (c != &o) c->SetAnchorF(c->x + dx, c->y + dy);
  }
}

void questCarryItem(const cSubjectObject& s, const char* item) {
  const uint32_t h = NameHash(item);
  for (int32_t pid : s.operation.persons)
    if (cPerson* p = s.OperationPerson(pid)) p->SetCarriedItem(h);
}

void questPlaySound(const char* name, float x) {
  if (sndIsInit()) sndPlayEx(name, SND_SOUND, -1.0f, sndScreenPan(int(x + 0.5f)), 1.0f);
}

void questEnqueue(int32_t subjectId, bool front) {
  Game::LevelContext* c = Game::levelContext();
  if (!c || !c->queue || c->queue->Contains(subjectId)) return;
  c->queue->Enqueue(subjectId, front);
}

void questReleaseAll(cSubjectObject& s) {
  const std::vector<int32_t> persons = s.operation.persons;
  for (int32_t pid : persons) s.ReleasePerson(pid);
  s.operation.persons.clear();
  s.operation.personsArrived = 0;
  s.operation.workTimer.Stop();
  s.operation.partTimer.Stop();
  s.operation.state = OperationState::Idle;
}

bool questOrderDirectly(cSubjectObject& s, OperationKind kind, int32_t durationMs, bool charge) {
  const int32_t k = int32_t(kind);
  if (k <= 0 || k >= kOperationKinds) return false;
  const int32_t keptDuration = s.durations[k];
  const ResourceVector keptCosts = s.costs[k];
  if (durationMs > 0) s.durations[k] = durationMs;
  if (!charge) s.costs[k] = ResourceVector{};
  // StartOperation refuses what the stock cannot pay, so nothing is taken twice or overdrawn.
  const bool started = s.StartOperation(kind);
  s.costs[k] = keptCosts;
  if (durationMs > 0 && !started) s.durations[k] = keptDuration;
  return started;
}

void questTakeLabels(const cSubjectObject& s, OperationKind kind, std::string& gainLabel, std::string& costLabel,
                     std::string& nextGainLabel) {
  gainLabel = "#OBJECT_HINT_GET";
  nextGainLabel.clear();
  costLabel.clear();
  for (int32_t v : s.Cost(kind))
    if (v > 0) costLabel = "#OBJECT_HINT_SPEND";
}

void questTakeHome(cSubjectOperation& op) {
  op.walkVisibleState = 2;
  op.workVisibleState = 8;
  op.homeVisibleState = 3;
  op.sendHomeAfterWork = 1;
}

bool questOrderTake(cSubjectObject& s, int32_t takeMs) {
  questReleaseAll(s);
  s.operation.keepPersons = 0;
  questTakeHome(s.operation);
  return questOrderDirectly(s, OperationKind::GetResource, takeMs, false);
}

void questStartCarrying(cSubjectObject& s, const char* item) {
  SpawnMapEffect("ResourceCollecting", s.layer + 1, s.operation.duration, s.x, s.y);
  questCarryItem(s, item);
}

void questWithdraw(cSubjectObject& s) {
  if (!s.withdrawn)
    if (cMap* m = objMap()) s.HideChildren(*m);
  s.withdrawn = 1;
}

void questHeartFreed(cSubjectObject& s, WorkTimer& fade, int32_t fadeMs, int effect) {
  GameEvent e = objEvent(Game::Event::HeartFreed, s);
  objPost(e);
  s.Set(kFlagClickable, false);
  fade.Start(fadeMs);
  s.StopWorkEffect(effect);
}

void questDrawFading(cSubjectObject& s, const DrawContext& dc, int under, float alpha) {
  if (under >= 0) questDrawSlot(s, under, dc, 255);
  DrawContext faded = dc;
  faded.alpha = uint8_t(float(dc.alpha) * alpha);
  if (faded.alpha > 0) s.cObject::Draw(faded);
  s.DrawSignsAndEffects(dc);
}

void questDrawSlot(cObject& o, int slot, const DrawContext& dc, int alpha) {
  if (slot < 0 || slot >= kAnimationSlots) return;
  const AnimationState& a = o.anims[slot];
  if (!a.IsValid() || alpha <= 0) return;
  const int total = std::clamp(alpha, 0, 255) * dc.alpha / 255;
  const IntPoint off = o.animOffsets[slot];
  a.DrawFaded(o.x + float(off.x) + dc.offsetX, o.y + float(off.y) + dc.offsetY, total, o.scale, o.scale);
}

int32_t questSlotLength(const cObject& o, int slot) {
  if (slot < 0 || slot >= kAnimationSlots || !o.anims[slot].IsValid()) return 0;
  return o.anims[slot].Period();
}
}  // namespace Map
