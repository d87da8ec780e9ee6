// Makes the object factory build the icon classes that subjects show over themselves.
#include "game/interface/icons_register.h"

#include "game/core/map_factory.h"
#include "game/interface/icon_base.h"
#include "game/interface/icon_focus_marker.h"
#include "game/interface/icon_hint_marker.h"
#include "game/interface/icon_object_info.h"
#include "game/interface/icon_operation_bar.h"
#include "game/interface/icon_upgrade.h"

namespace Icon {
void iconsRegisterClasses(Map::cObjectFactory& f) {
  f.RegisterClassOnce<Map::cIcon>("Map::cIcon");
  f.RegisterClassOnce<Map::cFloatingIcon>("Map::cFloatingIcon");
  f.RegisterClassOnce<cOperationBar>("Icon::cOperationBar");
  f.RegisterClassOnce<cFocusMarker>("Icon::cFocusMarker");
  f.RegisterClassOnce<cObjectHintMarker>("Icon::cObjectHintMarker");
  f.RegisterClassOnce<cObjectInfo>("Icon::cObjectInfo");
  f.RegisterClassOnce<cUpgradeInfo>("Icon::cUpgradeInfo");
  f.RegisterClassOnce<cUpgradeLevel>("Icon::cUpgradeLevel");
  f.RegisterClassOnce<cUpgradeTrumpets>("Icon::cUpgradeTrumpets");
}
}  // namespace Icon
