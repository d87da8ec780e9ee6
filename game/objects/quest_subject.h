// Map::cQuestSubject: the base of the quest objects whose work is priced as their take: the
// hearts, the chest, the caves, the berry bush and the mushrooms. Their records name the bonus
// icons as their child script.
#pragma once
#include <string>

#include "game/objects/subject_object.h"

namespace Map {

class cQuestSubject : public cSubjectObject {
 public:
  // The costs of the take (GetResource) as the hint shows them; true when the stock can pay them.
  bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const override;
  void FillRecord(MapObjectRecord& record) const override;
  void SaveChildScript(std::string& out) const override;
};
}  // namespace Map
