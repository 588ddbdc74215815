// Built only by its test, with the include folders of skinrec_skin: the
// skinned window sees the controls and the skin description, and the
// notifier popup, which the main window loads with each skin, is out of its
// reach.
#include "controls/SkinParent.h"
#include "skin/IniFile.h"

#include "auxiliary/TaskNotifierDlg.h"
