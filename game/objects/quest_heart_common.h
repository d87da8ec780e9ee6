// What the quest objects share: the curve their flights follow, moving an object with its
// children, handing an item to the persons of an operation, sounds at a map x, ordering a subject's
// next operation without a click, leaving the pointer's reach, the take of a freed heart, and
// drawing one picture under another that fades.
#pragma once
#include <cstdint>
#include <string>

#include "game/objects/subject_object.h"

namespace Map {

struct QuestPoint {
  float x = 0.0f, y = 0.0f;
};

// The point at t (0 to 1) on the quadratic curve from `from` through `control` to `to`:
// (1 - t)^2 from + 2t(1 - t) control + t^2 to.
QuestPoint questCurvePoint(QuestPoint from, QuestPoint control, QuestPoint to, float t);

// Moves `o` to (x, y) and every object whose parent it is by the same step.
void questMoveWithChildren(cObject& o, float x, float y);

// Every person of the subject's operation still on the map carries the named item home.
void questCarryItem(const cSubjectObject& s, const char* item);

// A catalogue sound at a map x, at full volume (nothing without a sound system).
void questPlaySound(const char* name, float x);

// Puts the subject's order into the operations queue (front or back) unless it is there already.
void questEnqueue(int32_t subjectId, bool front);

// Lets the persons of the operation go (standing, or home when they carry something or the
// operation says so) and makes the subject free for a new operation.
void questReleaseAll(cSubjectObject& s);

// Orders `kind` on the subject's own record without the player's click: `durationMs` (0: the
// kind's own), any person, state Ordered. With `charge` the kind's costs are taken, and only when
// the stock can pay them: false, and nothing ordered, when it cannot. Without `charge` the order
// is free (its price was paid with the click that began the work).
bool questOrderDirectly(cSubjectObject& s, OperationKind kind, int32_t durationMs, bool charge);

// The hint labels of work that takes something home: "get", and "spend" when `kind` costs
// anything; no gains after it.
void questTakeLabels(const cSubjectObject& s, OperationKind kind, std::string& gainLabel, std::string& costLabel,
                     std::string& nextGainLabel);

// The persons of the operation walk there, take it up and carry it home, where they are sent
// once the work is done.
void questTakeHome(cSubjectOperation& op);

// The first work that freed something is over: its persons go, and the take is ordered on its own
// without a charge (the click that began the work paid for it), `takeMs` long, the taker carrying
// it home. True when ordered; the caller queues it.
bool questOrderTake(cSubjectObject& s, int32_t takeMs);

// The persons have reached what they take: the collecting glow for the work's length, and the
// item in their hands.
void questStartCarrying(cSubjectObject& s, const char* item);

// Out of the pointer's reach (withdrawn), its child objects (the hint's icons) hidden unless it
// already was.
void questWithdraw(cSubjectObject& s);

// The heart is free: the level is told, it can no longer be clicked, `fade` runs for `fadeMs`
// and work effect `effect` (0 or 1) stops.
void questHeartFreed(cSubjectObject& s, WorkTimer& fade, int32_t fadeMs, int effect);

// A timer's run as a fraction, 0 at its start and 1 when run out (1 too when it never ran).
inline float questFraction(const WorkTimer& t) { return t.total > 0 ? t.Progress() : 1.0f; }

// Draws animation slot `slot` of the object at its anchor with `alpha` (0 to 255).
void questDrawSlot(cObject& o, int slot, const DrawContext& dc, int alpha);

// The object's own picture at `alpha` (0 to 1 of the context's) over animation slot `under` drawn
// in full (no slot when negative), and its signs and work effects on top, unfaded.
void questDrawFading(cSubjectObject& s, const DrawContext& dc, int under, float alpha);

// The play length of an animation slot (its period), 0 when the slot is empty.
int32_t questSlotLength(const cObject& o, int slot);

// The child script the quest objects are saved with.
constexpr const char* kQuestIcons = "data/bonus/icons.ini";
constexpr const char* kQuestSounds = "data/obstacles/sounds.ini";
}  // namespace Map
