// The offer and the child script the quest objects share.
#include "game/objects/quest_subject.h"

#include "game/core/map_record.h"
#include "game/objects/object_level.h"
#include "game/objects/quest_heart_common.h"

namespace Map {

bool cQuestSubject::GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const {
  (void)gains;
  (void)nextGains;
  return objCostOffer(*this, int32_t(OperationKind::GetResource), costs);
}

void cQuestSubject::FillRecord(MapObjectRecord& r) const {
  cSubjectObject::FillRecord(r);
  r.childScript = kQuestIcons;
}

void cQuestSubject::SaveChildScript(std::string& out) const { mapWriteString(out, kQuestIcons, nullptr); }
}  // namespace Map
