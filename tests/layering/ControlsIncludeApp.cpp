// Built only by its test, with the include folders of skinrec_controls: the
// controls see their own folder and the skin description's colour type, and
// the main window's header is out of their reach.
#include "controls/ScrollBarOwner.h"
#include "skin/ColorRef.h"

#include "app/ConverterDlg.h"
