// Built only by its test, with the include folders of the base library: the
// engine links it, so it sees no Qt header.
#include "base/ProgramFolders.h"

#include <QString>
