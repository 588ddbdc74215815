#pragma once

#include <QString>

#include "engine/RecorderTypes.h"

// What a person reads when a recording does not start or ends by itself:
// the cause in plain words and, where there is an obvious one, the remedy.
// strReason is the engine's own account, kept in the words where no plainer
// ones fit; strFileName is the file recorded to (empty for a preview).
QString ExplainFailure(EFailure eCause, const QString& strReason, const QString& strFileName);
