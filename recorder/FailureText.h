#pragma once

#include <QString>

#include "engine/RecorderTypes.h"

// The message box's first line for a failure: the kind of failure, so that
// a full disk or a source that stopped does not read as a compressor fault;
// CEncorda::CAPTURE_FAILURE_HEADLINE for compressor and file-opening ones.
QString FailureHeadline(EFailure eCause);

// What a person reads when a recording does not start or ends by itself:
// the cause in plain words and, where there is an obvious one, the remedy.
// strReason is the engine's own account, kept in the words where no plainer
// ones fit; strFileName is the file recorded to (empty for a preview);
// bAviFile says the compressors came from the AVI profile.
QString ExplainFailure(EFailure eCause, const QString& strReason, const QString& strFileName, bool bAviFile);
