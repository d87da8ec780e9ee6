// What the key quest and the hearts share: the curve their flights follow, moving an object with
// its children, handing an item to the persons of an operation, sounds at a map x, ordering a
// subject's next operation without a click, and drawing one picture under another that fades.
#pragma once
#include <cstdint>

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

// A timer's run as a fraction, 0 at its start and 1 when run out (1 too when it never ran).
inline float questFraction(const WorkTimer& t) { return t.total > 0 ? t.Progress() : 1.0f; }

// Draws animation slot `slot` of the object at its anchor with `alpha` (0 to 255).
void questDrawSlot(cObject& o, int slot, const DrawContext& dc, int alpha);

// The play length of an animation slot (its period), 0 when the slot is empty.
int32_t questSlotLength(const cObject& o, int slot);

// The child script the quest objects are saved with.
constexpr const char* kQuestIcons = "data/bonus/icons.ini";
constexpr const char* kQuestSounds = "data/obstacles/sounds.ini";
}  // namespace Map
