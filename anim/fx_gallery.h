// Forwarding header: the effects gallery is a window type and moved to ui/.
#include "ui/fx_gallery.h"
