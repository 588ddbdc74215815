// Built only by its test, with the include folders of the engine: it knows
// nothing of Qt or D-Bus, and learns of the desktop portal only through the
// question the program hands it.
#include "engine/DeviceCatalog.h"

#include "portal/ScreenCastPortal.h"
