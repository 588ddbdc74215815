// Built only by its test, with the include folders of the settings dialogs:
// they see their own folder, and the engine only through the recorder
// widget, never by its headers.
#include "settings/RecorderOwner.h"

#include "engine/FramePicture.h"
