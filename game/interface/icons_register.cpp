// Makes the object factory build the icon classes that subjects show over themselves.
#include "game/interface/icons_register.h"

#include "game/core/map_factory.h"
#include "game/interface/icon_focus_marker.h"
#include "game/interface/icon_hint_marker.h"
#include "game/interface/icon_operation_bar.h"

namespace Icon {
void iconsRegisterClasses(Map::cObjectFactory& f) {
  f.RegisterClassOnce<cOperationBar>("Icon::cOperationBar");
  f.RegisterClassOnce<cFocusMarker>("Icon::cFocusMarker");
  f.RegisterClassOnce<cObjectHintMarker>("Icon::cObjectHintMarker");
}
}  // namespace Icon
