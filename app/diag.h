// Forwarding header: the diagnostics moved to base/ (and their drawing to gfx/).
#include "base/diag.h"
#include "gfx/diag_draw.h"
